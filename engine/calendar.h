#pragma once
// Calendar routines: month lengths and names, the Julian Day and back, today's date in words,
// and the summer-time rule (last Sunday of March to the Saturday before the last Sunday of
// October). Month names come from the environment's locale.

#include <optional>
#include <string>

namespace engine {

struct MonthFacts {
    int Days = 0;        // length of the month
    int DaysBefore = 0;  // total length of the months before it in that year
    std::string MonthName;
};

// Month 1 to 12; for another month Days and MonthName stay empty and DaysBefore counts the
// months 1 to Month - 1 that exist.
MonthFacts MonthInfo(int year, int month);

// Month name and day of the month of SelectedDayOfYear in SelectedYear. Returns false, writing
// nothing, for a day outside the year.
bool DayOfYearToDate(std::string& monthName, int& dayOfMonth);

// Length of SelectedMonth of SelectedYear.
int DaysInCurrentMonth();
// Length of the month (December through month 13 rolling into the next year).
int DaysInMonth(int year, int month);

// Julian Day of a date and time (a year below 1000 has 1900 added); the inverse of
// JulianDayToDate, Gregorian from 15 October 1582 and Julian before.
double JulianDay(int day, int month, int year, int hour, int minute, int second);

struct JulianDate {
    int Hour = 0, Minute = 0, Second = 0, Day = 0, Month = 0, Year = 0;
};
// Calendar date and time of a Julian Day, to the nearest second (Julian calendar before
// JD 2299160.5).
JulianDate JulianDayToDate(double jd);

// Year, month and day texts joined by one blank in the order of a short-date pattern: month,
// day, year for "MM/DD/YYYY" (and its "-" and "." forms); day, month, year for "DD/MM/YYYY";
// year, month, day for "YYYY/MM/DD"; year, day, month for "YYYY/DD/MM". Nothing for a pattern
// outside the twelve.
std::optional<std::string> InShortDateOrder(const std::string& pattern, const std::string& year,
                                            const std::string& month, const std::string& day);

// A day view's date line: "Date   : ", the date's text and its weekday's name in brackets.
std::string DateLine(const std::string& dateText, double date);

// A date as day, month name and year in the order of ShortDateFormat; nothing for a pattern
// outside the twelve.
std::optional<std::string> LongDateText(double date);
// Today's date (the computer's) as LongDateText; text is left unchanged for a pattern outside
// the twelve.
void TodayLongText(std::string& text);

// The day before the last Sunday of March, at 00:00.
double SummerTimeStart(int year);
// The last Sunday of October, at 00:00.
double SummerTimeEnd(int year);
// Whether the calendar day of the date lies in summer time: strictly between start and end.
bool IsSummerTime(double date);

// Day of the year of a date value, 1 = 1 January.
int DayOfYear(double date);

// The time basis of a month's days, each day adjusted for summer time when the setting is on
// and IsSummerTime holds for it: that of the first day, and the day (0: none) from which the
// other basis holds, the last Sunday of March or of October.
struct MonthBasis {
    bool FirstDayAdjusted = false;
    int ChangeDay = 0;
    bool operator==(const MonthBasis&) const = default;
};
MonthBasis MonthTimeBasis(int year, int month, bool summerSetting);

// "Jan" to "Dec" for month 1 to 12, whatever the locale.
std::string EnglishMonthAbbrev(int month);
// The first three letters of the month's name in the locale, as the month view writes its days.
std::string MonthAbbrev(int year, int month);

// "From 31 Mar": the day a month's time basis changes, as the month texts name it.
std::string ChangeDayText(int year, int month, int changeDay);
// "From 31 Mar: ": the start of a line or field that names that day.
std::string ChangeDayLead(int year, int month, int changeDay);

// "5/3/2024": day, month and year as plain numbers.
std::string NumericDate(int year, int month, int day);

}  // namespace engine
