#pragma once
// Times in decimal hours to clock texts, and positions in signed decimal degrees (north and
// east positive) to and from degree-and-minute texts.
//
// Position texts put the hemisphere letter after the number: " 50.30N", " 1.30.5W". The digits
// after the first "." are minutes, not a decimal fraction (" 50.3N" is 50 degrees 3 minutes).
// Every text here is the same in all locales, so the program reads its own positions back.

#include <string>
#include <string_view>

namespace engine {

// "hh:mm": whole hours rounded down, minutes rounded half to even; 60 minutes carry into the
// hour and 24 h wraps to 00 (23.995 gives "00:00").
std::string HoursToHHMM(double Hours);

// "hh:mm:ss": whole hours rounded down and the rest as seconds rounded half to even, carried
// into minutes and hours, the time of day wrapped at 24 h (24.5 gives "00:30:00").
std::string HoursToHHMMSS(double Hours);

// "hh:mm" from the fraction first rounded to hundredths of an hour (5.4 gives "05:24"). At least
// two digits of hours and no wrap at 24 ("24:30"). Times within 0.0001 h below a whole hour
// count as that hour.
std::string FormatHoursMins(double Hours);

// A whole hour as "07:00", "12:00".
std::string FormatHourLabel(double Hour);

struct OffsetTime {
    double HourOut = 0;  // 0 <= HourOut < 24
    double DayOut = 0;   // Day moved by the wrap
};

// Hour + the current port's PortZoneHours, brought into 0 to 24 with the day moved by one.
OffsetTime ApplyTimeOffset(double Hour, double Day);

// Degrees "." minutes: the number up to the first "." is degrees, the number after it minutes
// (" 1.30.5W" is 1 degree 30.5 minutes). Each capital "W" (longitude) or "S" (latitude) negates
// the result; lower-case letters do not. A text without "." is read as minutes only, and a
// letter in front of the number makes the degrees 0.
double ParseLongitude(std::string_view Text);
double ParseLatitude(std::string_view Text);

// Blank, whole degrees, ".", minutes to hundredths without trailing zeros (at least two digits
// before their point), letter: " 50.30N", " 12.05.25E", " 1.30.5W". Longitude 0 has no letter;
// latitude 0 is " 0.00N". Minutes that round to 60 carry into the degrees.
std::string FormatLongitude(double Degrees);
std::string FormatLatitude(double Degrees);

// Fixed-width degrees, minutes and hundredths of a minute, "." between them, then the letter:
// "005.30.45E" and "50.30.45N". Minutes are rounded to hundredths and carry at 60.
std::string FormatLongitudeDMS(double Degrees);
std::string FormatLatitudeDMS(double Degrees);
// All four give "n/a" for a value that is not finite.

}  // namespace engine
