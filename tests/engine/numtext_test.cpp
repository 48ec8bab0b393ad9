#include "engine/numtext.h"

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;

class NumText : public EngineTest {};

TEST_F(NumText, CIntRoundsHalvesToEvenAndChecksRange) {
    struct Case {
        double in;
        int out;
    } cases[] = {
        {0.5, 0},   {1.5, 2},     {2.5, 2},    {-0.5, 0},        {-1.5, -2},         {76.5, 76},
        {77.5, 78}, {359.7, 360}, {2.4999, 2}, {32767.4, 32767}, {-32768.4, -32768},
    };
    for (auto c : cases) EXPECT_EQ(CInt(c.in), c.out) << c.in;
    EXPECT_THROW(CInt(32767.5), std::range_error);
    EXPECT_THROW(CInt(-32769), std::range_error);
    EXPECT_THROW(CInt(std::numeric_limits<double>::quiet_NaN()), std::range_error);
}

TEST_F(NumText, IntIsFloorAndFixTruncates) {
    EXPECT_EQ(Int(-1.5), -2);
    EXPECT_EQ(Fix(-1.5), -1);
    EXPECT_EQ(Int(1.5), 1);
    EXPECT_EQ(Fix(1.5), 1);
}

TEST_F(NumText, StrPlainForm) {
    struct Case {
        double in;
        const char* out;
    } cases[] = {
        {0, " 0"},           {12, " 12"},         {-12, "-12"},       {0.5, " .5"},
        {-0.5, "-.5"},       {1.5083, " 1.5083"}, {30.5, " 30.5"},    {0.0001, " .0001"},
        {0.00001, " 1E-05"}, {1e15, " 1E+15"},    {0.1 + 0.2, " .3"}, {2024, " 2024"},
    };
    for (auto c : cases) EXPECT_EQ(Str(c.in), c.out) << c.in;
    EXPECT_EQ(StrSingle(0.1f), " .1");
    EXPECT_EQ(StrSingle(50.5075f), " 50.5075");
}

TEST_F(NumText, ValReadsTheLeadingNumberWithAPoint) {
    struct Case {
        const char* in;
        double out;
    } cases[] = {
        {"50.30S", 50.30}, {" 1 2.5", 12.5}, {"-1.25", -1.25},  {"+3", 3},  {"abc", 0}, {"", 0},  {".5", 0.5},
        {"1.2.3", 1.2},    {"50.", 50},      {"30.45N", 30.45}, {"N50", 0}, {"2,5", 2}, {"-", 0}, {"1-2", 1},
    };
    for (auto c : cases) EXPECT_DOUBLE_EQ(Val(c.in), c.out) << c.in;
}

// Val stops at an "E"; the reading with an exponent takes it, blanks ignored there too.
TEST_F(NumText, ValWithExponentReadsAnExponentAfterTheDigits) {
    struct Case {
        const char* in;
        double val, withExponent;
    } cases[] = {
        {"1.5E3", 1.5, 1500}, {"2e-4", 2, 0.0002}, {" -1 . 5 e + 2", -1.5, -150},
        {"5.e1", 5, 50},      {"1E", 1, 1},        {"1E+", 1, 1},
        {"1E-x", 1, 1},       {"E5", 0, 0},        {"3.25", 3.25, 3.25},
        {"2,5E1", 2, 2},      {"1e2e3", 1, 100},   {"", 0, 0},
    };
    for (auto c : cases) {
        EXPECT_DOUBLE_EQ(Val(c.in), c.val) << c.in;
        EXPECT_DOUBLE_EQ(ValWithExponent(c.in), c.withExponent) << c.in;
    }
    EXPECT_EQ(ValWithExponent("1e999"), HUGE_VAL);
    EXPECT_EQ(ValWithExponent("-1e999"), -HUGE_VAL);
    EXPECT_EQ(ValWithExponent("1e-999"), 0.0);
}

TEST_F(NumText, ValBeyondTheRangeOfADoubleGoesToInfinityOrZero) {
    EXPECT_EQ(Val("1" + std::string(400, '0')), HUGE_VAL);
    EXPECT_EQ(Val("-" + std::string(400, '9') + ".5"), -HUGE_VAL);
    EXPECT_EQ(Val("." + std::string(400, '0') + "1"), 0.0);
}

// The "." text a typed number is shown in reads back to the same single, and only whole
// numbers in that form are taken, with a "," for the point.
TEST_F(NumText, TypedNumbersReadBackWhatIsShown) {
    struct Shown {
        float value;
        const char* text;
    } shown[] = {
        {0.5f, "0.5"}, {-0.75f, "-0.75"}, {2.0f, "2"}, {0.0f, "0"}, {12.25f, "12.25"}, {1.8f, "1.8"},
    };
    for (auto c : shown) {
        EXPECT_EQ(TypedText(c.value), c.text);
        EXPECT_EQ(ReadTypedNumber(c.text), c.value) << c.text;
    }
    struct Typed {
        std::string text;
        std::optional<float> value;
    } typed[] = {
        {" 1.5 ", 1.5f},       {"+2", 2.0f},
        {".5", 0.5f},          {"3.", 3.0f},
        {"1,5", 1.5f},         {"1.2.3", std::nullopt},
        {"-", std::nullopt},   {"", std::nullopt},
        {"1e3", std::nullopt}, {"1" + std::string(39, '0'), std::nullopt},
    };
    for (const auto& c : typed) EXPECT_EQ(ReadTypedNumber(c.text), c.value) << c.text;
}

TEST_F(NumText, ExactTextReadsBackToTheSameBits) {
    struct Case {
        double in;
        const char* out;
    } cases[] = {
        {0.1, "0.10000000000000001"},
        {-2.5, "-2.5"},
        {1e-5, "1.0000000000000001e-05"},
        {0, "0"},
        {51.114387512207031, "51.114387512207031"},
        {HUGE_VAL, "inf"},
    };
    for (auto c : cases) {
        EXPECT_EQ(ExactText(c.in), c.out);
        if (std::isfinite(c.in)) {
            EXPECT_EQ(ReadNumber(ExactText(c.in)), c.in) << c.out;
        }
    }
}

TEST_F(NumText, ReadNumberAndReadWholeNumberTakeOnlyAWholeNumberText) {
    struct Number {
        const char* text;
        std::optional<double> value;
    } numbers[] = {
        {"1.5", 1.5},          {" -2 ", -2.0},         {"+0.25", 0.25},         {"1e-3", 0.001},
        {".5", 0.5},           {"1,5", std::nullopt},  {"1.5x", std::nullopt},  {"", std::nullopt},
        {"nan", std::nullopt}, {"inf", std::nullopt},  {"1e999", std::nullopt}, {"--1", std::nullopt},
        {"+-1", std::nullopt}, {"0x10", std::nullopt},
    };
    for (const auto& c : numbers) EXPECT_EQ(ReadNumber(c.text), c.value) << c.text;
    struct Whole {
        const char* text;
        std::optional<long> value;
    } wholes[] = {
        {"77", 77},
        {"-3", -3},
        {"+12", 12},
        {"007", 7},
        {"1.0", std::nullopt},
        {" 1", std::nullopt},
        {"", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"+-1", std::nullopt},
    };
    for (const auto& c : wholes) EXPECT_EQ(ReadWholeNumber(c.text), c.value) << c.text;
}

TEST_F(NumText, FormatPatterns) {
    struct Case {
        double in;
        const char* pattern;
        const char* out;
    } cases[] = {
        {5.6, "000", "006"},
        {1.5, "0.00", "1.50"},
        {2.345, "0.00", "2.35"},
        {1.005, "0.00", "1.01"},
        {0.125, "0.00", "0.13"},
        {-2.25, "0.0", "-2.3"},
        {5.5, "00.00", "05.50"},
        {4.27, "#,#0.0;;;", "4.3"},
        {-0.36, "#,#0.0;;;", "-0.4"},
        {0, "#,#0.0;;;", "0.0"},
        {12345.67, "#,#0.0;;;", "12,345.7"},
        {9.96, "0.0", "10.0"},
        {3, "00", "03"},
        {123, "00", "123"},
        {0.5, "#.00", ".50"},
        {-0.04, "0.0", "0.0"},
        {359.6, "000", "360"},
    };
    for (auto c : cases) EXPECT_EQ(Format(c.in, c.pattern), c.out) << c.in << " " << c.pattern;
}

TEST_F(NumText, FormatFollowsTheLocaleSeparators) {
    testing_support::UseDecimalCommaLocale();
    EXPECT_EQ(Format(1.5, "0.00"), "1,50");
    EXPECT_EQ(Format(12345.67, "#,#0.0;;;"), "12.345,7");
    EXPECT_EQ(Str(1.5), " 1.5");  // the plain form keeps "."
    EXPECT_EQ(FormatWithPoint(12345.67, "#,#0.0"), "12345.7");
    EXPECT_EQ(FormatWithPoint(-0.04, "##0.0"), "0.0");
    EXPECT_DOUBLE_EQ(Val("2.5"), 2.5);
}

TEST_F(NumText, CStrIsTheLocaleDefaultText) {
    EXPECT_EQ(CStr(0.5), "0.5");
    EXPECT_EQ(CStr(-0.25), "-0.25");
    EXPECT_EQ(CStr(12), "12");
    EXPECT_EQ(CStrSingle(1.1f), "1.1");
    testing_support::UseDecimalCommaLocale();
    EXPECT_EQ(CStr(2.5), "2,5");
}

TEST_F(NumText, Trims) {
    EXPECT_EQ(Trim("  Dover   "), "Dover");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("    "), "");
    // Characters, not bytes.
    EXPECT_EQ(LeftChars("März", 3), "Mär");
    EXPECT_EQ(LeftChars("Brest", 10), "Brest");
    EXPECT_EQ(LeftChars("Sète", 2), "Sè");
    EXPECT_EQ(LeftChars("Mai", 0), "");
}

// Nothing that is not a number reads as one: no "0.0" for NaN, no exponent in a box that the
// program reads back.
TEST_F(NumText, ValuesThatAreNotNumbersShowAsSuch) {
    for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(Format(v, "#,#0.0;;;"), "n/a");
        EXPECT_EQ(Format(v, "0.00"), "n/a");
        EXPECT_EQ(CStr(v), "n/a");
        EXPECT_EQ(TypedText(static_cast<float>(v)), "");
    }
    const std::pair<float, const char*> typed[] = {
        {1e8f, "100000000"}, {1e-5f, "0.00001"}, {-2.5e-5f, "-0.000025"}, {1e12f, "999999995904"}};
    for (auto [v, text] : typed) {
        EXPECT_EQ(TypedText(v), text);
        EXPECT_EQ(ReadTypedNumber(TypedText(v)), v) << text;
    }
    // A 64-bit number: its 15 significant digits, read back by Val.
    const std::pair<double, const char*> typed15[] = {
        {1e-5, "0.00001"},
        {-2.5e-5, "-0.000025"},
        {1.23456789012345e-7, "0.000000123456789012345"},
        {1e20, "100000000000000000000"},
        {0.5, "0.5"},
        {1.2345678901234567, "1.23456789012346"},
        {-1234.5, "-1234.5"},
    };
    for (auto [v, text] : typed15) {
        EXPECT_EQ(TypedText(v), text);
        EXPECT_NEAR(Val(text), v, std::fabs(v) * 1e-14) << text;
    }
    EXPECT_EQ(TypedText(std::numeric_limits<double>::quiet_NaN()), "");
}
