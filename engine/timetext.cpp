#include "engine/timetext.h"

#include <cmath>

#include "engine/numtext.h"
#include "engine/state.h"

namespace engine {

namespace {

// Str form without its leading blank.
std::string plain(double value) { return LTrim(Str(value)); }

// "0" in front of a text shorter than two characters.
std::string twoDigits(std::string text) { return text.size() < 2 ? "0" + text : text; }

// 0 to 99 as two digits.
std::string twoDigits(long n) {
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

double parsePosition(std::string_view text, char negativeLetter) {
    size_t point = text.find('.');
    double degrees = 0, minutes = 0;
    if (point == std::string_view::npos) {
        minutes = Val(text);
    } else {
        degrees = Val(text.substr(0, point + 1));
        minutes = Val(text.substr(point + 1));
    }
    double value = degrees + minutes / 60;
    for (char c : text)
        if (c == negativeLetter) value = value * -1;
    return value;
}

// " D.mm" with the minutes rounded to hundredths and the carry at 60 minutes.
std::string degreesAndMinutes(double Degrees) {
    double d = Fix(Degrees);
    double whole = std::fabs(d);
    double fraction = std::fabs(Degrees - d);
    double minutes = CInt(fraction * 60 * 100) / 100.0;
    if (minutes >= 60) {
        minutes -= 60;
        whole += 1;
    }
    std::string minuteText = plain(minutes);
    if (minutes < 10) minuteText = "0" + minuteText;
    return Str(whole) + "." + minuteText.substr(0, 5);
}

// "D.mm.hh" from whole degrees and minutes: the minutes rounded to hundredths as the "00.00"
// format rounds them, a carry at 60, and "." as separator whatever the locale.
std::string degreesMinutesHundredths(double whole, double minutes, std::string_view degreesPattern) {
    int hundredths = 0;
    for (char c : Format(minutes, "00.00"))
        if (c >= '0' && c <= '9') hundredths = hundredths * 10 + (c - '0');
    if (hundredths >= 6000) {
        hundredths -= 6000;
        whole += 1;
    }
    return Format(whole, degreesPattern) + "." + twoDigits(hundredths / 100L) + "." +
           twoDigits(hundredths % 100L);
}

}  // namespace

std::string HoursToHHMM(double Hours) {
    double h = Int(Hours);
    int m = CInt((Hours - h) * 60);
    if (m >= 60) {
        m = 0;
        h = h + 1;
    }
    if (h == 24) h = 0;
    return twoDigits(plain(h)) + ":" + twoDigits(plain(m));
}

std::string HoursToHHMMSS(double Hours) {
    if (!std::isfinite(Hours)) return "00:00:00";
    const double h = Int(Hours);
    const double seconds = h * 3600 + RoundHalfEven((Hours - h) * 3600);
    const long day = 24L * 3600;
    long s = static_cast<long>(std::fmod(seconds, static_cast<double>(day)));
    if (s < 0) s += day;
    return twoDigits(s / 3600) + ":" + twoDigits(s / 60 % 60) + ":" + twoDigits(s % 60);
}

std::string FormatHoursMins(double Hours) {
    double h = Int(Hours + 0.0001);
    double f = Hours - h;  // slightly negative just below a whole hour
    double hundredthsOfHour = CInt(f * 100) / 100.0;
    int m = CInt(hundredthsOfHour * 60);
    if (m >= 60) {
        h = h + 1;
        m = m - 60;
    }
    std::string hourText = h == 0 ? "00" : (h >= 1 && h <= 9) ? "0" + plain(h) : plain(h);
    std::string minuteText = plain(m).substr(0, 2);
    if (m < 10) minuteText = "0" + minuteText;
    return hourText + ":" + minuteText;
}

std::string FormatHourLabel(double Hour) {
    std::string text = Trim(Str(Hour));
    return (text.size() == 1 ? "0" + text : text) + ":00";
}

OffsetTime ApplyTimeOffset(double Hour, double Day) {
    double t = Hour + State().PortZoneHours;
    if (t < 0) return {t + 24, Day - 1};
    if (t >= 24) return {t - 24, Day + 1};
    return {t, Day};
}

double ParseLongitude(std::string_view Text) { return parsePosition(Text, 'W'); }

double ParseLatitude(std::string_view Text) { return parsePosition(Text, 'S'); }

std::string FormatLongitude(double Degrees) {
    if (!std::isfinite(Degrees)) return "n/a";
    std::string text = degreesAndMinutes(Degrees);
    if (Degrees < 0) return text + "W";
    if (Degrees > 0) return text + "E";
    return text;
}

std::string FormatLatitude(double Degrees) {
    if (!std::isfinite(Degrees)) return "n/a";
    return degreesAndMinutes(Degrees) + (Degrees < 0 ? "S" : "N");
}

std::string FormatLongitudeDMS(double Degrees) {
    if (!std::isfinite(Degrees)) return "n/a";
    // 0.00001 lifts values a hair below a whole degree (5.999995) to that degree.
    double d = Degrees < 0 ? Fix(Degrees) : Int(Degrees + 0.00001);
    double minutes = std::fabs(Degrees - d) * 60;
    return degreesMinutesHundredths(std::fabs(d), minutes, "000") + (Degrees < 0 ? "W" : "E");
}

std::string FormatLatitudeDMS(double Degrees) {
    if (!std::isfinite(Degrees)) return "n/a";
    double d = Fix(Degrees);
    double minutes = (std::fabs(Degrees - d) + 0.00000001) * 60;
    return degreesMinutesHundredths(std::fabs(d), minutes, "00") + (Degrees < 0 ? "S" : "N");
}

}  // namespace engine
