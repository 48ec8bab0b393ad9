#include "engine/numtext.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "engine/boxnumber.h"
#include "engine/environment.h"

namespace engine {

float ToSingle(double value) {
    constexpr float infinite = std::numeric_limits<float>::infinity();
    if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
        return value > 0 ? infinite : -infinite;
    return static_cast<float>(value);
}

double RoundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return std::nearbyint(value);
}

int16_t CInt(double value) {
    double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0)) throw std::range_error("Overflow converting to a 16-bit integer");
    return static_cast<int16_t>(r);
}

int32_t CLng(double value) {
    double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw std::range_error("Overflow converting to a 32-bit integer");
    return static_cast<int32_t>(r);
}

double Int(double value) { return std::floor(value); }

double Fix(double value) { return std::trunc(value); }

namespace {

// Number text that never passes through the C library's locale: "." whatever the desktop.
std::string charsOf(double value, std::chars_format format, int precision) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, format, precision);
    if (ec != std::errc{}) return {};
    return std::string(buf, end);
}

// Sign, digits and one "." (or an exponent, where the format allows it) to a double; from_chars
// takes no "+". Digits beyond the double's range give infinity, below it 0, as strtod does.
std::optional<double> readChars(std::string_view text, std::chars_format format) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, format);
    if (end != text.data() + text.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        const size_t e = text.find_first_of("eE");
        const std::string_view whole = text.substr(0, text.find('.'));
        const bool large = e != std::string_view::npos
                               ? e + 1 < text.size() && text[e + 1] != '-'
                               : whole.find_first_not_of('0') != std::string_view::npos;
        v = large ? HUGE_VAL : 0.0;
    } else if (ec != std::errc{}) {
        return std::nullopt;
    }
    return negative ? -v : v;
}

// Plain form with the given number of significant digits.
std::string plainForm(double value, int digits) {
    if (value == 0.0) return " 0";
    std::string s = charsOf(value, std::chars_format::general, digits);
    // Exponent form: mantissa "E" sign two-digit exponent ("1E-05").
    auto e = s.find('e');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        std::string ex = s.substr(e + 1);
        char sign = '+';
        if (!ex.empty() && (ex[0] == '+' || ex[0] == '-')) {
            sign = ex[0];
            ex.erase(0, 1);
        }
        while (ex.size() > 2 && ex[0] == '0') ex.erase(0, 1);
        while (ex.size() < 2) ex.insert(0, "0");
        s = mant + "E" + sign + ex;
    } else {
        // No "0" before the point of a number below 1.
        if (s.rfind("0.", 0) == 0) s.erase(0, 1);
        else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
    }
    if (s[0] != '-') s.insert(0, " ");
    return s;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Decimal digits of |value| rounded half away from zero to `decimals` places, computed from
// the value's 15 significant digits. Returns the digit string of the whole part and the
// fraction part.
void roundedDigits(double value, int decimals, std::string& whole, std::string& fraction) {
    double a = std::fabs(value);
    whole.clear();
    fraction.clear();
    std::vector<int> digits;  // digits[i] has weight 10^(exp - i)
    int exp = 0;
    if (a != 0.0 && std::isfinite(a)) {
        const std::string s = charsOf(a, std::chars_format::scientific, 14);
        const auto e = s.find('e');
        const bool negativeExp = s[e + 1] == '-';
        for (size_t i = e + 2; i < s.size(); ++i) exp = exp * 10 + (s[i] - '0');
        if (negativeExp) exp = -exp;
        for (size_t i = 0; i < e; ++i)
            if (s[i] >= '0' && s[i] <= '9') digits.push_back(s[i] - '0');
    }
    // Positions: the whole part has weights exp..0, the fraction -1..-decimals.
    int top = std::max(exp, 0);
    int count = top + 1 + decimals;  // digits from weight `top` down to -decimals
    std::vector<int> out(static_cast<size_t>(count), 0);
    int roundDigit = 0;
    for (size_t i = 0; i < digits.size(); ++i) {
        int weight = exp - static_cast<int>(i);
        int pos = top - weight;
        if (pos >= 0 && pos < count) out[static_cast<size_t>(pos)] = digits[i];
        else if (pos == count) roundDigit = digits[i];
    }
    if (roundDigit >= 5) {
        int i = count - 1;
        while (i >= 0) {
            if (++out[static_cast<size_t>(i)] < 10) break;
            out[static_cast<size_t>(i)] = 0;
            --i;
        }
        if (i < 0) out.insert(out.begin(), 1);
    }
    size_t wholeCount = out.size() - static_cast<size_t>(decimals);
    for (size_t i = 0; i < wholeCount; ++i) whole.push_back(static_cast<char>('0' + out[i]));
    for (size_t i = wholeCount; i < out.size(); ++i) fraction.push_back(static_cast<char>('0' + out[i]));
    // Drop leading zeros of the whole part (kept as "" for zero).
    size_t nz = whole.find_first_not_of('0');
    whole = nz == std::string::npos ? "" : whole.substr(nz);
}

struct NumberPattern {
    std::string prefix, suffix;
    int minWhole = 0;     // "0" places before the point
    int minDecimals = 0;  // "0" places after the point
    int maxDecimals = 0;  // "0" and "#" places after the point
    bool hasPoint = false;
    bool grouping = false;
};

NumberPattern parsePattern(std::string_view section) {
    NumberPattern p;
    size_t first = section.find_first_of("0#.,");
    size_t last = section.find_last_of("0#.,");
    if (first == std::string_view::npos) {
        p.prefix = std::string(section);
        return p;
    }
    p.prefix = std::string(section.substr(0, first));
    p.suffix = std::string(section.substr(last + 1));
    bool afterPoint = false;
    for (size_t i = first; i <= last; ++i) {
        char c = section[i];
        if (c == '.') {
            if (!afterPoint) {
                afterPoint = true;
                p.hasPoint = true;
            }
        } else if (c == ',') {
            if (!afterPoint) p.grouping = true;
        } else if (c == '0') {
            if (afterPoint) {
                ++p.minDecimals;
                ++p.maxDecimals;
            } else {
                ++p.minWhole;
            }
        } else if (c == '#') {
            if (afterPoint) ++p.maxDecimals;
        }
    }
    return p;
}

struct Separators {
    std::string decimal, group;
};

std::string applyPattern(double value, const NumberPattern& p, bool withSign, const Separators& loc) {
    std::string whole, fraction;
    roundedDigits(value, p.maxDecimals, whole, fraction);
    while (static_cast<int>(fraction.size()) > p.minDecimals && !fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    while (static_cast<int>(whole.size()) < p.minWhole) whole.insert(0, "0");
    if (p.grouping && whole.size() > 3) {
        std::string grouped;
        size_t n = whole.size();
        for (size_t i = 0; i < n; ++i) {
            grouped.push_back(whole[i]);
            size_t left = n - 1 - i;
            if (left > 0 && left % 3 == 0) grouped += loc.group;
        }
        whole = grouped;
    }
    std::string text = whole;
    if (p.hasPoint) text += loc.decimal + fraction;
    bool zero = whole.find_first_not_of('0') == std::string::npos &&
                fraction.find_first_not_of('0') == std::string::npos;
    std::string sign = (withSign && value < 0 && !zero) ? "-" : "";
    return sign + p.prefix + text + p.suffix;
}

}  // namespace

std::string Str(double value) { return plainForm(value, 15); }

std::string StrSingle(float value) { return plainForm(static_cast<double>(value), 7); }

namespace {
std::string defaultText(std::string s) {
    if (!s.empty() && s[0] == ' ') s.erase(0, 1);
    if (s.rfind(".", 0) == 0) s.insert(0, "0");
    else if (s.rfind("-.", 0) == 0) s.insert(1, "0");
    size_t point = s.find('.');
    if (point != std::string::npos) s.replace(point, 1, Env().locale.decimalSeparator);
    return s;
}
}  // namespace

std::string CStr(double value) { return std::isfinite(value) ? defaultText(Str(value)) : "n/a"; }

std::string CStrSingle(float value) { return std::isfinite(value) ? defaultText(StrSingle(value)) : "n/a"; }

std::string TypedText(float value) {
    if (!std::isfinite(value)) return {};
    std::string t = Trim(StrSingle(value));
    if (t.find('E') != std::string::npos) {
        // Never the exponent form, which the box could not read back: the shortest digits that
        // read back to the same single.
        char buf[64];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
        t = ec == std::errc{} ? std::string(buf, end) : std::string{};
    }
    if (t.rfind(".", 0) == 0) t.insert(0, "0");
    else if (t.rfind("-.", 0) == 0) t.insert(1, "0");
    return t;
}

namespace {
// A plain form written without its exponent: "1.5E-05" as "0.000015", "-2E+16" as
// "-20000000000000000".
std::string withoutExponent(const std::string& t) {
    const size_t e = t.find('E');
    if (e == std::string::npos) return t;
    int exponent = 0;
    const char* first = t.data() + e + 1;
    if (*first == '+') ++first;
    std::from_chars(first, t.data() + t.size(), exponent);
    std::string mantissa = t.substr(0, e);
    const bool negative = !mantissa.empty() && mantissa[0] == '-';
    if (negative) mantissa.erase(0, 1);
    const size_t point = mantissa.find('.');
    std::string digits = mantissa;
    if (point != std::string::npos) digits.erase(point, 1);
    const long whole = static_cast<long>(point == std::string::npos ? mantissa.size() : point) + exponent;
    const long count = static_cast<long>(digits.size());
    std::string out;
    if (whole <= 0) out = "0." + std::string(static_cast<size_t>(-whole), '0') + digits;
    else if (whole >= count) out = digits + std::string(static_cast<size_t>(whole - count), '0');
    else out = digits.substr(0, static_cast<size_t>(whole)) + "." + digits.substr(static_cast<size_t>(whole));
    return negative ? "-" + out : out;
}
}  // namespace

std::string TypedText(double value) {
    if (!std::isfinite(value)) return {};
    std::string t = withoutExponent(Trim(Str(value)));
    if (t.rfind(".", 0) == 0) t.insert(0, "0");
    else if (t.rfind("-.", 0) == 0) t.insert(1, "0");
    return t;
}

std::optional<float> ReadTypedNumber(std::string_view typed) {
    const std::optional<double> v = ReadBoxNumber(typed, NumberForm::Decimal);
    if (!v || std::fabs(*v) > 3.4028234663852886e38) return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<float> ReadTypedNumber(std::string_view typed, ValueRange range) {
    const std::optional<float> v = ReadTypedNumber(typed);
    if (!v || !range.holds(*v)) return std::nullopt;
    return v;
}

namespace {
// The number at the start of text as Val reads it; with `exponent`, also an "E" and its digits
// after the digits.
double leadingNumber(std::string_view text, bool exponent) {
    std::string digits;
    bool negative = false, point = false, started = false;
    size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isBlank(c)) continue;
        if (!started && digits.empty() && (c == '+' || c == '-')) {
            started = true;
            negative = c == '-';
            continue;
        }
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
            started = true;
        } else if (c == '.' && !point) {
            digits.push_back('.');
            point = true;
            started = true;
        } else {
            break;
        }
    }
    if (digits.empty() || digits == ".") return 0.0;
    if (exponent && i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::string power = "e";
        for (++i; i < text.size(); ++i) {
            const char c = text[i];
            if (isBlank(c)) continue;
            if (power.size() == 1 && (c == '+' || c == '-')) power.push_back(c);
            else if (c >= '0' && c <= '9') power.push_back(c);
            else break;
        }
        if (power.back() >= '0' && power.back() <= '9') digits += power;
    }
    const double v = readChars(digits, std::chars_format::general).value_or(0.0);
    return negative ? -v : v;
}
}  // namespace

double Val(std::string_view text) { return leadingNumber(text, false); }

double ValWithExponent(std::string_view text) { return leadingNumber(text, true); }

std::string ExactText(double value) { return charsOf(value, std::chars_format::general, 17); }

std::optional<double> ReadNumber(std::string_view text) {
    const std::string trimmed = Trim(text);
    std::optional<double> v = readChars(trimmed, std::chars_format::general);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

std::optional<long> ReadWholeNumber(std::string_view text) {
    std::string_view t = text;
    if (!t.empty() && t[0] == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t[0] == '-') return std::nullopt;
    }
    if (t.empty() || t[0] == '+') return std::nullopt;
    long v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc{} || end != t.data() + t.size()) return std::nullopt;
    return v;
}

namespace {
std::string formatWith(double value, std::string_view pattern, const Separators& separators) {
    // No digits stand for a value that is not a number: "0.0" would read as a result.
    if (!std::isfinite(value)) return "n/a";
    std::vector<std::string_view> sections;
    size_t start = 0;
    while (true) {
        size_t semi = pattern.find(';', start);
        sections.push_back(pattern.substr(start, semi == std::string_view::npos ? semi : semi - start));
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    auto section = [&](size_t i) -> std::string_view {
        return (i < sections.size() && !sections[i].empty()) ? sections[i] : std::string_view{};
    };
    if (value < 0 && !section(1).empty())
        return applyPattern(-value, parsePattern(section(1)), false, separators);
    if (value == 0 && !section(2).empty())
        return applyPattern(0.0, parsePattern(section(2)), false, separators);
    return applyPattern(value, parsePattern(sections[0]), true, separators);
}
}  // namespace

std::string Format(double value, std::string_view pattern) {
    const LocaleFacts& loc = Env().locale;
    return formatWith(value, pattern, {loc.decimalSeparator, loc.groupSeparator});
}

std::string FormatWithPoint(double value, std::string_view pattern) {
    return formatWith(value, pattern, {".", ""});
}

std::string LTrim(std::string_view text) {
    size_t i = text.find_first_not_of(' ');
    return i == std::string_view::npos ? std::string() : std::string(text.substr(i));
}

std::string RTrim(std::string_view text) {
    size_t i = text.find_last_not_of(' ');
    return i == std::string_view::npos ? std::string() : std::string(text.substr(0, i + 1));
}

std::string Trim(std::string_view text) { return RTrim(LTrim(text)); }

std::string LeftChars(std::string_view text, int n) {
    size_t end = 0;
    for (int count = 0; end < text.size(); ++end) {
        const bool continuation = (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80;
        if (!continuation && count++ == n) break;
    }
    return std::string(text.substr(0, end));
}

}  // namespace engine
