// Time and position texts.

#include "engine/timetext.h"

#include <cmath>

#include "engine/state.h"
#include "test_support.h"

namespace {

class TimeTextTest : public testing_support::EngineTest {};

struct HoursCase {
    double hours;
    const char* text;
};

// ---------------------------------------------------------------------------------------------
// Times

TEST_F(TimeTextTest, HoursToHHMM) {
    // clang-format off
    const HoursCase cases[] = {
        {13.999, "14:00"},          // 59.94 minutes carry into the hour
        {23.995, "00:00"},          // 0.3 minutes before midnight
        {23.999, "00:00"},
        {7.25, "07:15"},
        {0, "00:00"},
        {9.5, "09:30"},
        {9 + 5.0 / 60, "09:05"},
        {23 + 55.0 / 60, "23:55"},
        {12.125, "12:08"},          // 7.5 minutes: half to even
        {12.375, "12:22"},          // 22.5 minutes: half to even
        {10.99, "10:59"},           // 59.4 minutes
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(engine::HoursToHHMM(c.hours), c.text) << c.hours;
}

TEST_F(TimeTextTest, HoursToHHMMSS) {
    const double justBelowAnHour = 1 - 1.0 / 16384;  // 3599.78 seconds
    // clang-format off
    const HoursCase cases[] = {
        {0, "00:00:00"},
        {13.75, "13:45:00"},
        {1 + 1.0 / 32, "01:01:52"},          // 112.5 seconds: half to even, down
        {1 + 3.0 / 32, "01:05:38"},          // 337.5 seconds: half to even, up
        {9 + justBelowAnHour, "10:00:00"},   // seconds carried into minutes and the hour
        {23 + justBelowAnHour, "00:00:00"},  // and past midnight
        {24.5, "00:30:00"},                  // a summer-time hour past midnight
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(engine::HoursToHHMMSS(c.hours), c.text) << c.hours;
}

TEST_F(TimeTextTest, FormatHoursMinsRoundsToHundredthsOfAnHour) {
    // clang-format off
    const HoursCase cases[] = {
        {5.4, "05:24"},
        {5.997, "06:00"},    // 0.997 h -> 1.00 h -> 60 minutes carry
        {24.5, "24:30"},     // no wrap at 24
        {0.004, "00:00"},
        {5.99995, "06:00"},  // within 0.0001 h below 6
        {10.125, "10:07"},   // 0.125 h -> 0.12 (half to even) -> 7.2 minutes
        {10.375, "10:23"},   // 0.375 h -> 0.38 (half to even) -> 22.8 minutes
        {12.75, "12:45"},
        {36.1, "36:06"},     // the yearly export's second day
        {9.9, "09:54"},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(engine::FormatHoursMins(c.hours), c.text) << c.hours;
}

TEST_F(TimeTextTest, FormatHourLabel) {
    const HoursCase cases[] = {{7, "07:00"}, {12, "12:00"}, {0, "00:00"}, {3, "03:00"}, {23, "23:00"}};
    for (const auto& c : cases) EXPECT_EQ(engine::FormatHourLabel(c.hours), c.text) << c.hours;
}

struct OffsetCase {
    double hour;
    int zone;
    double hourOut;
    double dayOut;  // for Day = 100
};

TEST_F(TimeTextTest, ApplyTimeOffsetMovesTheDayAtTheWrap) {
    const OffsetCase cases[] = {
        {23.5, 1, 0.5, 101}, {0.5, -1, 23.5, 99}, {24, 0, 0, 101},        {12, 0, 12, 100},
        {23, 1, 0, 101},     {1, -1, 0, 100},     {10.25, 2, 12.25, 100},
    };
    for (const auto& c : cases) {
        engine::State().PortZoneHours = c.zone;
        auto r = engine::ApplyTimeOffset(c.hour, 100);
        EXPECT_DOUBLE_EQ(r.HourOut, c.hourOut) << c.hour << " zone " << c.zone;
        EXPECT_DOUBLE_EQ(r.DayOut, c.dayOut) << c.hour << " zone " << c.zone;
    }
}

// ---------------------------------------------------------------------------------------------
// Parsing positions

struct ParseCase {
    const char* text;
    double degrees;
};

TEST_F(TimeTextTest, ParseLatitudeReadsMinutesAfterThePoint) {
    // clang-format off
    const ParseCase cases[] = {
        {"50.30S", -50.5},
        {"50.30s", 50.5},               // lower-case letter: no effect
        {"N50.30", 0.5},                // letter in front: degrees read as 0
        {"50.3", 50 + 3.0 / 60},        // 3 minutes, not 0.3 degrees
        {"50.30.5", 50 + 30.5 / 60},
        {"50", 50.0 / 60},              // no point: minutes only
        {"", 0},
        {" 50.30N", 50.5},              // the form FormatLatitude writes
        {"50.30.45N", 50.5075},         // the form FormatLatitudeDMS writes
        {" 0.00N", 0},
        {"S50.30", -0.5},
        {"50.30SS", 50.5},              // each capital S negates
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_NEAR(engine::ParseLatitude(c.text), c.degrees, 1e-12) << c.text;
}

TEST_F(TimeTextTest, ParseLongitudeNegatesForWest) {
    // clang-format off
    const ParseCase cases[] = {
        {"1.30W", -1.5},
        {" 1.30.5W", -(1 + 30.5 / 60)},
        {"1.30w", 1.5},                    // lower-case letter: no effect
        {" 12.05.25E", 12 + 5.25 / 60},
        {"005.30.45E", 5.5075},
        {"001.23.00W", -(1 + 23.0 / 60)},
        {"50.30S", 50.5},                  // S is no hemisphere of longitude
        {" 0.00", 0},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_NEAR(engine::ParseLongitude(c.text), c.degrees, 1e-12) << c.text;
}

// ---------------------------------------------------------------------------------------------
// Formatting positions, in both locales

struct FormatCase {
    double degrees;
    const char* text;
};

// clang-format off
const FormatCase kLatitudes[] = {
    {50.5, " 50.30N"},
    {51.5, " 51.30N"},
    {-50.5, " 50.30S"},
    {0, " 0.00N"},
    {1.99999, " 2.00N"},          // 59.9994 minutes round to 60 and carry
    {-1.99999, " 2.00S"},
    {-0.5, " 0.30S"},             // south although the whole degrees are 0
    {50.5075, " 50.30.45N"},      // 30.45 minutes
    {50.05, " 50.03N"},
    {10 + 0.5 / 60, " 10.0.5N"},  // half a minute: "0" and ".5"
};

const FormatCase kLongitudes[] = {
    {-1.5083, " 1.30.5W"},
    {12.0875, " 12.05.25E"},
    {0, " 0.00"},                 // no letter
    {179.99999, " 180.00E"},      // carry
    {-4.25, " 4.15W"},
    {-0.999999, " 1.00W"},
};

const FormatCase kLatitudesDMS[] = {
    {50.5075, "50.30.45N"},
    {50.75, "50.45.00N"},
    {-33.5, "33.30.00S"},
    {0, "00.00.00N"},
    {5.1, "05.06.00N"},           // two-digit degrees
    {50.99999, "51.00.00N"},      // 59.9994 minutes carry
    {-0.25, "00.15.00S"},
    {12 + 7.005 / 60, "12.07.01N"},  // hundredths rounded, not cut
};

const FormatCase kLongitudesDMS[] = {
    {5.5075, "005.30.45E"},
    {-1.38333333, "001.23.00W"},  // 22.9999998 minutes round to 23
    {0, "000.00.00E"},
    {123.25, "123.15.00E"},
    {5.999995, "006.00.00E"},     // within 0.00001 below a degree
    {5.99996, "006.00.00E"},      // 59.9976 minutes carry
    {-5.99996, "006.00.00W"},
    {-179.5, "179.30.00W"},
};
// clang-format on

void expectFormats(std::string (*format)(double), const FormatCase* begin, const FormatCase* end,
                   const char* name) {
    for (const auto* c = begin; c != end; ++c)
        EXPECT_EQ(format(c->degrees), c->text) << name << " " << c->degrees;
}

void expectAllFormats() {
    expectFormats(engine::FormatLatitude, std::begin(kLatitudes), std::end(kLatitudes), "FormatLatitude");
    expectFormats(engine::FormatLongitude, std::begin(kLongitudes), std::end(kLongitudes), "FormatLongitude");
    expectFormats(engine::FormatLatitudeDMS, std::begin(kLatitudesDMS), std::end(kLatitudesDMS),
                  "FormatLatitudeDMS");
    expectFormats(engine::FormatLongitudeDMS, std::begin(kLongitudesDMS), std::end(kLongitudesDMS),
                  "FormatLongitudeDMS");
}

TEST_F(TimeTextTest, PositionFormats) { expectAllFormats(); }

// A damaged record's position shows as such, rather than failing whatever shows it.
TEST_F(TimeTextTest, PositionFormatsOfValuesThatAreNotFinite) {
    for (double v : {std::nan(""), HUGE_VAL, -HUGE_VAL})
        for (auto format : {engine::FormatLatitude, engine::FormatLongitude, engine::FormatLatitudeDMS,
                            engine::FormatLongitudeDMS})
            EXPECT_EQ(format(v), "n/a") << v;
}

TEST_F(TimeTextTest, PositionFormatsAreTheSameUnderADecimalComma) {
    testing_support::UseDecimalCommaLocale();
    expectAllFormats();
}

TEST_F(TimeTextTest, TimeTextsAreTheSameUnderADecimalComma) {
    testing_support::UseDecimalCommaLocale();
    EXPECT_EQ(engine::HoursToHHMM(7.25), "07:15");
    EXPECT_EQ(engine::FormatHoursMins(5.4), "05:24");
    EXPECT_EQ(engine::FormatHourLabel(7), "07:00");
    EXPECT_NEAR(engine::ParseLatitude("50.30.5S"), -(50 + 30.5 / 60), 1e-12);
}

// ---------------------------------------------------------------------------------------------
// Round trips: the program reads its own positions back

const double kPositions[] = {50.5, -50.5075, 0, 1.99999, -33.8568, 89.99, 12.0875, -1.5083, 0.004, -0.75};

TEST_F(TimeTextTest, FormattedPositionsReadBackWithinHalfAHundredthOfAMinute) {
    const double tolerance = 0.005 / 60 + 1e-12;
    for (bool comma : {false, true}) {
        if (comma) testing_support::UseDecimalCommaLocale();
        for (double v : kPositions) {
            EXPECT_NEAR(engine::ParseLatitude(engine::FormatLatitude(v)), v, tolerance)
                << v << " comma " << comma;
            EXPECT_NEAR(engine::ParseLongitude(engine::FormatLongitude(v)), v, tolerance)
                << v << " comma " << comma;
            EXPECT_NEAR(engine::ParseLatitude(engine::FormatLatitudeDMS(v)), v, tolerance)
                << v << " comma " << comma;
            EXPECT_NEAR(engine::ParseLongitude(engine::FormatLongitudeDMS(v)), v, tolerance)
                << v << " comma " << comma;
        }
    }
}

}  // namespace
