#pragma once
// What the engine is told about the machine it runs on: locale facts, the clock and the
// folders. The desktop layer fills this in at start-up; tests set their own values.

#include <array>
#include <functional>
#include <string>

namespace engine {

struct LocaleFacts {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";
    std::array<std::string, 12> monthNames{"January",   "February", "March",    "April",
                                           "May",       "June",     "July",     "August",
                                           "September", "October",  "November", "December"};
    std::array<std::string, 12> monthAbbrevs{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // Sunday first, as the weekday numbers 1 to 7 count.
    std::array<std::string, 7> dayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    std::array<std::string, 7> dayAbbrevs{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    // The locale's own short-date pattern in the letters d, M and y ("dd/MM/yyyy"); empty for
    // the C and POSIX locales.
    std::string shortDatePattern = "dd/MM/yyyy";
    std::string dateSeparator = "/";
};

struct Environment {
    LocaleFacts locale;
    // The clock's instant now in UTC, as a date value (days since 30 December 1899, time as
    // fraction).
    std::function<double()> utcNow;
    // The computer's offset from UTC in hours at a UTC instant: its time zone with its own
    // summer time. None is the C library's local zone.
    std::function<double(double)> localOffsetHours;
    std::string localAppDataFolder;  // $XDG_DATA_HOME or ~/.local/share
    std::string documentsFolder;     // the XDG documents folder
    std::string programFolder;       // folder of the executable and the shipped data
};

Environment& Env();
void ResetEnvironment();

// The clock's instant in UTC; the system clock when none is set.
double UtcNow();
// The computer's local date and time of a UTC instant.
double LocalTimeOf(double utc);
// The computer's local date and time now: the date the program opens on.
double Now();

}  // namespace engine
