#include "engine/sun.h"

#include <cmath>
#include <limits>
#include <string>

#include "engine/records.h"
#include "engine/state.h"
#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;

namespace {

// Reference times in hours of UT from astronomy-engine (rise and set with its standard
// refraction and semidiameter, twilights as geometric altitudes -6, -12, -18 degrees). The
// method is good to a few minutes: 0.05 h is 3 minutes.
constexpr double kMethodTolerance = 0.05;

double hoursApart(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 24.0);
    return d > 12 ? 24 - d : d;
}

}  // namespace

class SunTimesTest : public EngineTest {};

TEST_F(SunTimesTest, WorkedExampleOfTheAlmanacMethod) {
    // 25 June 1990 at 40.9 N 74.3 W: sunrise 9.441 UT, 5.441 in a zone 4 hours behind UT.
    auto s = CalcSunTimes(40.9, -74.3, 25, 6, 1990, 4, false);
    EXPECT_TRUE(s.Sunrise.Occurs);
    EXPECT_NEAR(s.Sunrise.Hours, 5.441, 0.001);
}

TEST_F(SunTimesTest, AgreesWithReferenceTimes) {
    struct Case {
        double lat, lon;
        int day, month, year;
        double sunrise, sunset, nauticalDusk;  // hours of UT
    } cases[] = {
        // Right ascension quadrant just past a quarter turn of L: a 12-hour slip when the
        // quadrant was chosen at 1.5708 / 4.71239 instead of pi/2 / 3 pi/2.
        {55, 11.40, 20, 6, 2024, 2.5818, 19.9551, -1},        // evening pass: sunset came out 07:57
        {50, 18.77, 21, 12, 2024, 6.6830, 14.7566, 16.0916},  // morning pass: sunrise came out 18:41
        {52, 0, 21, 6, 2024, 3.6654, 20.3983, 22.5227},
        {48.5, 0, 15, 6, 2024, 3.9600, 20.0634, 21.7500},
    };
    for (const auto& c : cases) {
        auto s = CalcSunTimes(c.lat, c.lon, c.day, c.month, c.year, 0, false);
        std::string where = std::to_string(c.lat) + " " + std::to_string(c.lon) + " " +
                            std::to_string(c.day) + "/" + std::to_string(c.month);
        EXPECT_LT(hoursApart(s.Sunrise.Hours, c.sunrise), kMethodTolerance)
            << where << " " << s.Sunrise.Hours;
        EXPECT_LT(hoursApart(s.Sunset.Hours, c.sunset), kMethodTolerance) << where << " " << s.Sunset.Hours;
        if (c.nauticalDusk >= 0)
            EXPECT_LT(hoursApart(s.NauticalDusk.Hours, c.nauticalDusk), kMethodTolerance) << where;
        else EXPECT_FALSE(s.NauticalDusk.Occurs) << where;
    }
}

TEST_F(SunTimesTest, EventsComeInDayOrder) {
    auto e = CalcSunTimes(50, 18.77, 21, 12, 2024, 0, false).Events();
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(e[i].Occurs);
        EXPECT_LT(e[i].Hours, e[i + 1].Hours) << i;
    }
}

TEST_F(SunTimesTest, EventsThatDoNotHappenAreFlaggedWithTimeZero) {
    struct Case {
        const char* what;
        double lat;
        int day, month;
        bool occurs[8];  // astro, nautical, civil dawn, sunrise, sunset, civil, nautical, astro dusk
    } cases[] = {
        // The sun stays above -18 degrees: no astronomical night at 52 N.
        {"52 N midsummer", 52, 21, 6, {false, true, true, true, true, true, true, false}},
        // Lowest altitude about -11.6 degrees at 55 N: no nautical twilight either.
        {"55 N midsummer", 55, 20, 6, {false, false, true, true, true, true, false, false}},
        {"polar day 78 N", 78, 21, 6, {false, false, false, false, false, false, false, false}},
        // Highest altitude about -11.4 degrees: nautical and astronomical twilight only.
        {"polar night 78 N", 78, 21, 12, {true, true, false, false, false, false, true, true}},
        {"polar night 85 N", 85, 21, 12, {false, false, false, false, false, false, false, false}},
        {"southern winter 78 S", -78, 21, 6, {true, true, false, false, false, false, true, true}},
    };
    for (const auto& c : cases) {
        // A zone and the summer hour must not turn "none" into a time.
        auto e = CalcSunTimes(c.lat, 15, c.day, c.month, 2024, -1, true).Events();
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(e[i].Occurs, c.occurs[i]) << c.what << " event " << i;
            if (!c.occurs[i]) {
                EXPECT_EQ(e[i].Hours, 0) << c.what << " event " << i;
            }
        }
    }
}

TEST_F(SunTimesTest, ZoneLetterShiftsEveryTime) {
    // Zone letter "M" is one hour ahead of "L": every local time one hour later, wrapped into
    // 0..24 (the astronomical dusk at 23.67 UT becomes 0.67).
    State().PortZoneHours = 0;
    auto zone0 = CalcSunTimes(48.5, 0, 15, 6, 2024, State().PortZoneHours, false).Events();
    State().PortZoneHours = ZoneHours("M");
    ASSERT_EQ(State().PortZoneHours, -1);
    auto zoneM = CalcSunTimes(48.5, 0, 15, 6, 2024, State().PortZoneHours, false).Events();
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(zone0[i].Occurs) << i;
        double expected = zone0[i].Hours + 1;
        if (expected > 24) expected -= 24;
        EXPECT_NEAR(zoneM[i].Hours, expected, 1e-12) << i;
    }
    EXPECT_LT(zoneM[7].Hours, 1);

    State().PortZoneHours = ZoneHours("K");  // one hour behind
    auto zoneK = CalcSunTimes(48.5, 0, 15, 6, 2024, State().PortZoneHours, false).Events();
    EXPECT_NEAR(zoneK[3].Hours, zone0[3].Hours - 1, 1e-12);
}

TEST_F(SunTimesTest, SummerHourIsAddedAfterTheWrap) {
    // The astronomical dusk at 48.5 N falls at 23.67 UT; the summer hour takes it to 24.67.
    auto plain = CalcSunTimes(48.5, 0, 15, 6, 2024, 0, false);
    auto summer = CalcSunTimes(48.5, 0, 15, 6, 2024, 0, true);
    EXPECT_GT(plain.AstroDusk.Hours, 23.5);
    EXPECT_NEAR(summer.AstroDusk.Hours, plain.AstroDusk.Hours + 1, 1e-12);
    EXPECT_NEAR(summer.Sunrise.Hours, plain.Sunrise.Hours + 1, 1e-12);
}

TEST_F(SunTimesTest, LocalTimeWrapsOnceEachWayAndNotAtExactly24) {
    struct Case {
        double ut;
        int zone;
        bool addHour;
        double local;
    } cases[] = {
        {10.25, 0, false, 10.25},   // zone 0: the UT itself
        {10.25, -2, false, 12.25},  // two hours ahead of UT
        {10.25, 5, false, 5.25},    // five hours behind
        {23.0, -1, false, 24.0},    // exactly 24 is not wrapped
        {23.5, -1, false, 0.5},     // above 24: less 24
        {0.5, 1, false, 23.5},      // below 0: plus 24
        {23.6, 0, true, 24.6},      // the summer hour is not wrapped again
        {23.5, -1, true, 1.5},      // wrapped first, then the summer hour
        {0.0, 0, true, 1.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(SunLocalTime(c.ut, c.zone, c.addHour), c.local) << c.ut << " " << c.zone;
}

TEST_F(SunTimesTest, DayOfYearUsesTheFourYearRuleOnly) {
    struct Case {
        int day, month, year, n;
    } cases[] =
        {
            {1, 1, 2023, 1},     {31, 1, 2023, 31},   {28, 2, 2023, 59},
            {1, 3, 2023, 60},    {31, 12, 2023, 365}, {1, 3, 2024, 61},
            {31, 12, 2024, 366}, {1, 3, 2100, 61},    {31, 12, 2100, 366},  // 2100 counts as a leap year here
            {1, 3, 2000, 61},    {1, 3, 1900, 61},
        };
    for (const auto& c : cases)
        EXPECT_EQ(SunDayOfYear(c.day, c.month, c.year), c.n) << c.day << "/" << c.month << "/" << c.year;
}

TEST_F(SunTimesTest, TimesDependOnTheYearOnlyThroughTheLeapRule) {
    // 1 March 2100 is day 61 as in 2024, not day 60 as in 2023.
    auto y2100 = CalcSunTimes(50, -4, 1, 3, 2100, 0, false);
    auto y2024 = CalcSunTimes(50, -4, 1, 3, 2024, 0, false);
    auto y2023 = CalcSunTimes(50, -4, 1, 3, 2023, 0, false);
    auto y2023next = CalcSunTimes(50, -4, 2, 3, 2023, 0, false);
    EXPECT_EQ(y2100.Sunrise.Hours, y2024.Sunrise.Hours);
    EXPECT_EQ(y2100.Sunset.Hours, y2023next.Sunset.Hours);
    EXPECT_NE(y2100.Sunrise.Hours, y2023.Sunrise.Hours);
}

TEST_F(SunTimesTest, EventTimeReportsUnreachableZenith) {
    // Declination 0 at the equator: cos H = CosZenith, so -0.0145439 gives H just over a quarter
    // turn and a cosine below -1 cannot be reached.
    auto evening = SunEventTime(-0.0145439, 0, 0, 0, 1.5708, 1, 6.28319, 0, 0, 0);
    ASSERT_TRUE(evening.has_value());
    // H = 1.5708 + asin(0.0145439) = 1.585345 rad; less 1.73364 and brought into 0..6.28319.
    EXPECT_NEAR(*evening, (1.585345 - 1.73364 + 6.28319) * 3.81972, 1e-4);
    auto morning = SunEventTime(-0.0145439, 0, 0, 0, 1.5708, 0, 6.28319, 0, 0, 0);
    ASSERT_TRUE(morning.has_value());
    EXPECT_NEAR(*morning, (6.28319 - 1.585345 - 1.73364) * 3.81972, 1e-4);
    EXPECT_FALSE(SunEventTime(-1.2, 0, 0, 0, 1.5708, 1, 6.28319, 0, 0, 0).has_value());
}

// A longitude far out of range (or not a number) must not step a turn at a time for ever.
TEST_F(SunTimesTest, AbsurdPositionsEndWithoutHanging) {
    for (double lon :
         {1e30, -1e30, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        const auto events = CalcSunTimes(50, lon, 21, 6, 2024, 0, false).Events();
        EXPECT_EQ(events.size(), 8u) << lon;
    }
}
