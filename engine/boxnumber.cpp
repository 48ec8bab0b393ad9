#include "engine/boxnumber.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace engine {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && isBlank(t.front())) t.remove_prefix(1);
    while (!t.empty() && isBlank(t.back())) t.remove_suffix(1);
    return t;
}

bool allDigits(std::string_view t) {
    if (t.empty()) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<double> decimal(std::string_view t) {
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    std::string digits;
    bool point = false, anyDigit = false;
    for (char c : t) {
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
            anyDigit = true;
        } else if ((c == '.' || c == ',') && !point) {
            digits.push_back('.');
            point = true;
        } else {
            return std::nullopt;  // a second point or comma, or any other character
        }
    }
    if (!anyDigit) return std::nullopt;
    double v = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), v, std::chars_format::fixed);
    if (ec != std::errc{} || end != digits.data() + digits.size() || !std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

std::optional<double> whole(std::string_view t) {
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    if (!allDigits(t) || t.size() > 15) return std::nullopt;
    double v = 0;
    for (char c : t) v = v * 10 + (c - '0');
    return negative ? -v : v;
}

// "D.M[.m]" and the letter; `negative` is the south or west letter.
std::optional<double> position(std::string_view t, char positive, char negative) {
    if (t.empty()) return std::nullopt;
    const char letter = static_cast<char>(t.back() >= 'a' && t.back() <= 'z' ? t.back() - 32 : t.back());
    if (letter != positive && letter != negative) return std::nullopt;
    t.remove_suffix(1);
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= t.size(); ++i) {
        if (i == t.size() || t[i] == '.' || t[i] == ',') {
            parts.push_back(t.substr(start, i - start));
            start = i + 1;
        }
    }
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    for (std::string_view p : parts)
        if (!allDigits(p)) return std::nullopt;
    if (parts[0].size() > 3 || parts[1].size() > 2) return std::nullopt;
    double minutes = 0;
    for (char c : parts[1]) minutes = minutes * 10 + (c - '0');
    if (minutes >= 60) return std::nullopt;
    if (parts.size() == 3) {
        double scale = 0.1;
        for (char c : parts[2]) {
            minutes += (c - '0') * scale;
            scale /= 10;
        }
    }
    double degrees = 0;
    for (char c : parts[0]) degrees = degrees * 10 + (c - '0');
    const double value = degrees + minutes / 60;
    return letter == negative ? -value : value;
}

}  // namespace

std::optional<double> ReadBoxNumber(std::string_view text, NumberForm form) {
    const std::string_view t = trimmed(text);
    switch (form) {
        case NumberForm::Decimal: return decimal(t);
        case NumberForm::Whole: return whole(t);
        case NumberForm::Latitude: return position(t, 'N', 'S');
        case NumberForm::Longitude: return position(t, 'E', 'W');
    }
    return std::nullopt;
}

std::optional<double> ReadBoxNumber(std::string_view text, NumberForm form, double empty) {
    if (trimmed(text).empty()) return empty;
    return ReadBoxNumber(text, form);
}

std::string NumberFormText(NumberForm form) {
    switch (form) {
        case NumberForm::Decimal: return "a number such as 2.5 or -1,5";
        case NumberForm::Whole: return "a whole number such as 1 or -1";
        case NumberForm::Latitude:
            return "degrees, a point and minutes with N or S at the end, such as 50.45.00N";
        case NumberForm::Longitude:
            return "degrees, a point and minutes with E or W at the end, such as 001.23.00W";
    }
    return {};
}

std::string NumberFormFault(std::string_view box, NumberForm form) {
    return std::string(box) + " must be " + NumberFormText(form);
}

}  // namespace engine
