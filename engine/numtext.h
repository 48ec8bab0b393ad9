#pragma once
// Number <-> text conversions shared by the engine and the windows.
//
// Two forms of number text exist: the plain Str form (a leading blank for a number that is not
// negative, "." as decimal point in every locale, no "0" before the point of a number below 1)
// and format patterns ("0.00", "000", "#,#0.0;;;") that follow the locale's separators.
// Numbers typed by the user are read by ReadTypedNumber and the forms of boxnumber.h, "," taken
// as the decimal point in every locale; Val reads the program's own number texts.
// Nothing here depends on the C library's locale, which Qt sets from the desktop's.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// Conversion to a 16-bit integer, rounding halves to the even neighbour.
// Throws std::range_error when the result does not fit in 16 bits.
int16_t CInt(double value);
// The same for 32 bits.
int32_t CLng(double value);
// A number as a single: beyond the largest single it is infinite (never a conversion out of
// range).
float ToSingle(double value);
// Nearest whole number, halves to even (as a double).
double RoundHalfEven(double value);
// Largest whole number not above value.
double Int(double value);
// Whole part, truncated toward zero.
double Fix(double value);

// The plain form of a 64-bit number: up to 15 significant digits.
std::string Str(double value);
// The plain form of a 32-bit number: up to 7 significant digits.
std::string StrSingle(float value);

// The default text of a number: like Str without the leading blank, with "0" before the point
// of a number below 1, and the locale's decimal separator ("0.5", "-1.25", "2,5"); "n/a" for a
// value that is not finite.
std::string CStr(double value);
std::string CStrSingle(float value);

// The "." text a number typed by the user is read back from, whatever the locale: the plain
// 7-digit form, trimmed, with "0" before a leading point ("0.5", "-0.75", "2"); never in
// exponent form (100000000, 0.00001); empty for a value that is not finite.
std::string TypedText(float value);
// The same for a 64-bit number, in up to 15 significant digits ("0.00001234", "-1.25").
std::string TypedText(double value);
// A whole typed text that is a number: an optional sign and digits with at most one "." or ","
// as the decimal point (and at least one digit), fitting a single. Nothing otherwise.
std::optional<float> ReadTypedNumber(std::string_view typed);

// The values a quantity may take, both ends included.
struct ValueRange {
    double lo, hi;
    bool holds(double v) const { return v >= lo && v <= hi; }  // false for NaN
};
// The same, and nothing also for a number outside `range`.
std::optional<float> ReadTypedNumber(std::string_view typed, ValueRange range);

// The number at the start of text: blanks are skipped wherever they stand, an optional sign,
// digits with at most one "." as decimal point; reading stops at the first other character.
// 0 when the text does not start with a number.
double Val(std::string_view text);
// The same, and an exponent that follows the digits: "E" or "e", an optional sign and digits
// ("1.5E3" is 1500, "2e-4" 0.0002); an "E" without digits ends the number. Infinite when the
// number lies beyond the range of a double.
double ValWithExponent(std::string_view text);

// Number texts for tools and for programs that read them: "." and 17 significant digits, so
// that a double reads back to the same bits ("0.10000000000000001", "-2.5", "1e+20"); "nan",
// "inf" and "-inf" for values that are not finite.
std::string ExactText(double value);
// A whole text (blanks around it allowed) that is a finite number with "." as the decimal
// point and an optional exponent: "1.5", "-2", "+0.25", "1e-3". Nothing otherwise.
std::optional<double> ReadNumber(std::string_view text);
// A whole text that is a whole number fitting a long: "77", "-3", "+12". Nothing otherwise.
std::optional<long> ReadWholeNumber(std::string_view text);

// Format with a numeric pattern: "0" and "#" digit places, "." decimal point, "," grouping in
// the whole part, up to four sections "positive;negative;zero;null" (empty sections take the
// positive section's form). Rounds halves away from zero on the value's 15-digit decimal form.
// The separators come from the environment's locale. NaN and infinity give "n/a".
std::string Format(double value, std::string_view pattern);
// The same with "." as the decimal point and no grouping, whatever the locale: a number shown
// for the user to edit, read back with Val.
std::string FormatWithPoint(double value, std::string_view pattern);

std::string Trim(std::string_view text);
// The first n characters of a UTF-8 text (not bytes: names may hold accented letters).
std::string LeftChars(std::string_view text, int n);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);

}  // namespace engine
