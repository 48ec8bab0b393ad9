#pragma once
// Date values: a 64-bit count of days since 30 December 1899 whose fraction is the time of day.
// Dates are built from year, month and day with roll-over (day 0 is the last day of the month
// before, month 13 is January of the next year).

#include <optional>
#include <string>
#include <string_view>

namespace engine {

struct DateParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

double DateSerial(int year, int month, int day);
double TimeSerial(int hour, int minute, int second);
// Calendar parts of a date value (time rounded to the nearest second).
DateParts SplitDate(double date);
int DateYear(double date);
int DateMonth(double date);
int DateDay(double date);
// 1 = Sunday ... 7 = Saturday.
int Weekday(double date);
bool IsLeapYear(int year);

// Date text by pattern, letters in either case: d, dd, ddd (weekday abbreviation), dddd
// (weekday name), m, mm, mmm (month abbreviation), mmmm (month name), yy, yyyy, h, hh, n, nn
// (minutes), s, ss. Other characters are copied. Names come from the environment's locale.
std::string FormatDate(double date, std::string_view pattern);

// "YYYY-MM-DD" of a real calendar day of the years 1 to 9999: year, month and day set.
std::optional<DateParts> ReadIsoDate(std::string_view text);
// "HH:MM" within a day (00:00 to 23:59): hour and minute set.
std::optional<DateParts> ReadClockTime(std::string_view text);

}  // namespace engine
