#include "engine/calendar.h"

#include <algorithm>
#include <cmath>

#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/numtext.h"
#include "engine/state.h"

namespace engine {

namespace {

constexpr int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int monthLength(int year, int month) { return month == 2 && IsLeapYear(year) ? 29 : kMonthLength[month - 1]; }

const std::string& monthName(int month) { return Env().locale.monthNames[static_cast<size_t>(month - 1)]; }

double lastSunday(int year, int month) {
    int last = 0;
    for (int d = 1; d <= 31; ++d) {
        double date = DateSerial(year, month, d);
        if (DateMonth(date) == month && Weekday(date) == 1) last = d;
    }
    return DateSerial(year, month, last);
}

}  // namespace

MonthFacts MonthInfo(int year, int month) {
    MonthFacts f;
    if (month >= 1 && month <= 12) {
        f.Days = monthLength(year, month);
        f.MonthName = monthName(month);
    }
    for (int i = 1; i < month && i <= 12; ++i) f.DaysBefore += monthLength(year, i);
    return f;
}

bool DayOfYearToDate(std::string& name, int& dayOfMonth) {
    const SharedState& s = State();
    int d = s.SelectedDayOfYear;
    int first = 1;
    for (int m = 1; m <= 12; ++m) {
        int len = monthLength(s.SelectedYear, m);
        if (d >= first && d < first + len) {
            dayOfMonth = d - (first - 1);
            name = monthName(m);
            return true;
        }
        first += len;
    }
    return false;
}

int DaysInCurrentMonth() {
    const SharedState& s = State();
    return s.SelectedMonth >= 1 && s.SelectedMonth <= 12 ? monthLength(s.SelectedYear, s.SelectedMonth) : 0;
}

int DaysInMonth(int year, int month) { return DateDay(DateSerial(year, month + 1, 1) - 1); }

namespace {
// Whole days to add to the short formula below for a date outside March 1801 to February 2100,
// where it misses the century rule: the calendar's own day count (Gregorian from 15 October
// 1582, Julian before, as JulianDayToDate reads it) less the formula's. 0 inside that span.
double centuryDays(int day, int month, double y, double formula) {
    double yy = y, mm = month;
    if (mm <= 2) {
        yy -= 1;
        mm += 12;
    }
    const bool gregorian = y * 10000 + month * 100 + day >= 15821015;
    const double b = gregorian ? 2 - Int(yy / 100) + Int(Int(yy / 100) / 4) : 0;
    return Int(365.25 * (yy + 4716)) + Int(30.6001 * (mm + 1)) + day + b - 1524.5 - formula;
}
}  // namespace

double JulianDay(int day, int month, int year, int hour, int minute, int second) {
    double y = year < 1000 ? year + 1900 : year;
    double ut = hour + minute / 60.0 + second / 3600.0;
    double sign = 100.0 * y + month - 190002.5 > 0 ? 1.0 : -1.0;
    const double midnight =
        367.0 * y - Int(7.0 * (y + Int((month + 9) / 12.0)) / 4.0) + Int(275.0 * month / 9.0) + day;
    const double jd = midnight + ut / 24.0 + 1721013.5 - 0.5 * sign + 0.5;
    return jd + centuryDays(day, month, y, midnight + 1721013.5 - 0.5 * sign + 0.5);
}

JulianDate JulianDayToDate(double jd) {
    double z = Int(jd + 0.5);
    double f = jd + 0.5 - z;
    // The time of day to the nearest second, carried into the date.
    double secs = std::round(f * 86400.0);
    if (secs >= 86400.0) {
        secs -= 86400.0;
        z += 1;
    }
    double a = z;
    if (z >= 2299161) {
        double alpha = Int((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - Int(alpha / 4);
    }
    double b = a + 1524;
    double c = Int((b - 122.1) / 365.25);
    double d = Int(365.25 * c);
    double e = Int((b - d) / 30.6001);
    JulianDate r;
    r.Day = static_cast<int>(b - d - Int(30.6001 * e));
    r.Month = static_cast<int>(e < 13.5 ? e - 1 : e - 13);
    r.Year = static_cast<int>(r.Month > 2 ? c - 4716 : c - 4715);
    long s = static_cast<long>(secs);
    r.Hour = static_cast<int>(s / 3600);
    r.Minute = static_cast<int>(s / 60 % 60);
    r.Second = static_cast<int>(s % 60);
    return r;
}

std::optional<std::string> InShortDateOrder(const std::string& pattern, const std::string& year,
                                            const std::string& month, const std::string& day) {
    auto is = [&](const char* a, const char* b, const char* c) {
        return pattern == a || pattern == b || pattern == c;
    };
    if (is("MM/DD/YYYY", "MM-DD-YYYY", "MM.DD.YYYY")) return month + " " + day + " " + year;
    if (is("DD/MM/YYYY", "DD-MM-YYYY", "DD.MM.YYYY")) return day + " " + month + " " + year;
    if (is("YYYY/DD/MM", "YYYY-DD-MM", "YYYY.DD.MM")) return year + " " + day + " " + month;
    if (is("YYYY/MM/DD", "YYYY-MM-DD", "YYYY.MM.DD")) return year + " " + month + " " + day;
    return std::nullopt;
}

std::string DateLine(const std::string& dateText, double date) {
    return "Date   : " + dateText + " (" + FormatDate(date, "dddd") + ")";
}

std::optional<std::string> LongDateText(double date) {
    return InShortDateOrder(State().ShortDateFormat, FormatDate(date, "YYYY"), FormatDate(date, "MMMM"),
                            std::to_string(DateDay(date)));
}

void TodayLongText(std::string& text) {
    if (auto t = LongDateText(Now())) text = *t;
}

double SummerTimeStart(int year) { return lastSunday(year, 3) - 1; }

double SummerTimeEnd(int year) { return lastSunday(year, 10); }

bool IsSummerTime(double date) {
    double day = Int(date);
    int year = DateYear(day);
    return SummerTimeStart(year) < day && day < SummerTimeEnd(year);
}

int DayOfYear(double date) {
    double day = Int(date);
    return static_cast<int>(day - DateSerial(DateYear(day), 1, 1)) + 1;
}

MonthBasis MonthTimeBasis(int year, int month, bool summerSetting) {
    MonthBasis basis;
    if (!summerSetting || month < 1 || month > 12) return basis;
    const double first = DateSerial(year, month, 1);
    basis.FirstDayAdjusted = IsSummerTime(first);
    for (int d = 2; d <= monthLength(year, month); ++d) {
        if (IsSummerTime(first + d - 1) != basis.FirstDayAdjusted) {
            basis.ChangeDay = d;
            break;
        }
    }
    return basis;
}

std::string EnglishMonthAbbrev(int month) {
    static constexpr const char* kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return kNames[std::clamp(month, 1, 12) - 1];
}

std::string MonthAbbrev(int year, int month) { return LeftChars(MonthInfo(year, month).MonthName, 3); }

std::string ChangeDayText(int year, int month, int changeDay) {
    return "From " + std::to_string(changeDay) + " " + MonthAbbrev(year, month);
}

std::string ChangeDayLead(int year, int month, int changeDay) {
    return ChangeDayText(year, month, changeDay) + ": ";
}

std::string NumericDate(int year, int month, int day) {
    return std::to_string(day) + "/" + std::to_string(month) + "/" + std::to_string(year);
}

}  // namespace engine
