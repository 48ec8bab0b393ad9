#include "engine/dates.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "engine/environment.h"
#include "engine/numtext.h"

namespace engine {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long daysFromCivil(long y, long m, long d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// Day 0 of date values is 1899-12-30.
const long kEpoch = daysFromCivil(1899, 12, 30);

std::string twoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

// Exactly as many fields between the separators as there are outputs, each of 1 to `width`
// digits.
bool readFields(std::string_view text, char separator,
                std::initializer_list<std::pair<int*, size_t>> fields) {
    size_t i = 0;
    for (auto [out, width] : fields) {
        if (i++ > 0) {
            if (text.empty() || text[0] != separator) return false;
            text.remove_prefix(1);
        }
        const std::string_view field = text.substr(0, std::min(text.find(separator), text.size()));
        if (field.empty() || field.size() > width ||
            field.find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        *out = static_cast<int>(ReadWholeNumber(field).value_or(0));
        text.remove_prefix(field.size());
    }
    return text.empty();
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

double DateSerial(int year, int month, int day) {
    long m0 = month - 1;
    long y = year + (m0 >= 0 ? m0 / 12 : -((11 - m0) / 12));
    long m = m0 - (y - year) * 12 + 1;
    return static_cast<double>(daysFromCivil(y, m, 1) - kEpoch + (day - 1));
}

double TimeSerial(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

DateParts SplitDate(double date) {
    DateParts p;
    double whole = std::floor(date);
    long secs = std::lround((date - whole) * 86400.0);
    long days = static_cast<long>(whole);
    if (secs >= 86400) {
        secs -= 86400;
        ++days;
    }
    civilFromDays(days + kEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    return p;
}

int DateYear(double date) { return SplitDate(date).year; }
int DateMonth(double date) { return SplitDate(date).month; }
int DateDay(double date) { return SplitDate(date).day; }

int Weekday(double date) {
    long days = static_cast<long>(std::floor(date));
    long w = (days + 6) % 7;
    if (w < 0) w += 7;
    return static_cast<int>(w) + 1;
}

std::string FormatDate(double date, std::string_view pattern) {
    const auto& loc = Env().locale;
    DateParts p = SplitDate(date);
    std::string out;
    size_t i = 0;
    while (i < pattern.size()) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
        size_t n = 1;
        while (i + n < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + n])) == c) ++n;
        switch (c) {
            case 'd':
                if (n == 1) out += std::to_string(p.day);
                else if (n == 2) out += twoDigits(p.day);
                else if (n == 3) out += loc.dayAbbrevs[static_cast<size_t>(Weekday(date) - 1)];
                else out += loc.dayNames[static_cast<size_t>(Weekday(date) - 1)];
                break;
            case 'm':
                if (n == 1) out += std::to_string(p.month);
                else if (n == 2) out += twoDigits(p.month);
                else if (n == 3) out += loc.monthAbbrevs[static_cast<size_t>(p.month - 1)];
                else out += loc.monthNames[static_cast<size_t>(p.month - 1)];
                break;
            case 'y':
                if (n <= 2) out += twoDigits(p.year % 100);
                else out += std::to_string(p.year);
                break;
            case 'h': out += n == 1 ? std::to_string(p.hour) : twoDigits(p.hour); break;
            case 'n': out += n == 1 ? std::to_string(p.minute) : twoDigits(p.minute); break;
            case 's': out += n == 1 ? std::to_string(p.second) : twoDigits(p.second); break;
            default: out.append(pattern.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::optional<DateParts> ReadIsoDate(std::string_view text) {
    DateParts p;
    if (!readFields(text, '-', {{&p.year, 4}, {&p.month, 2}, {&p.day, 2}})) return std::nullopt;
    if (p.year < 1 || p.month < 1 || p.month > 12 || p.day < 1) return std::nullopt;
    if (DateDay(DateSerial(p.year, p.month, p.day)) != p.day) return std::nullopt;  // 31 April
    return p;
}

std::optional<DateParts> ReadClockTime(std::string_view text) {
    DateParts p;
    if (!readFields(text, ':', {{&p.hour, 2}, {&p.minute, 2}})) return std::nullopt;
    if (p.hour > 23 || p.minute > 59) return std::nullopt;
    return p;
}

}  // namespace engine
