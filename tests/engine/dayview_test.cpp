#include "engine/dayview.h"

#include <cmath>
#include <limits>
#include <vector>

#include "engine/dates.h"
#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;

class DayView : public EngineTest {};

TEST_F(DayView, LowestHeightsAreLoweredToAWholeMetreInFourBands) {
    struct Case {
        double lowest, bottom;
    } cases[] = {
        {0, 0},
        {-0.0000001, -1},
        {-0.3, -1},
        {-1, -1},
        {-1.2, -2},
        {-2, -2},
        {-2.5, -3},
        {-3.5, -4},
        {-4, -4},
        {-4.5, -4.5},
        {-0.00000001, -0.00000001},
    };
    for (auto c : cases) EXPECT_EQ(LowerToWholeMetre(c.lowest), c.bottom) << c.lowest;
}

TEST_F(DayView, ScalesFromTheDaysHighestAndLowest) {
    struct Case {
        double highest, lowest, top, bottom;
    } cases[] = {
        {3.99, 0.5, 4, 0},
        {4.0, 0.5, 5, 0},
        {5.2, -0.3, 6, -1},
        {-0.5, -1.2, 1, -2},
    };
    for (auto c : cases) {
        CurveTable day;
        for (int r = 1; r <= 146; ++r) day(2, r) = c.lowest;
        day(2, 70) = c.highest;
        day(2, 147) = 99;  // the last row is not looked at
        CurveScale s = TideCurveScale(day, day, 147);
        EXPECT_EQ(s.Top, c.top) << c.highest;
        EXPECT_EQ(s.Bottom, c.bottom) << c.lowest;
        CurveScale layers = LayersScale(day, 147);
        EXPECT_EQ(layers.Top, c.top);
        EXPECT_EQ(layers.Bottom, -2);
    }
}

namespace {
// Contributions of a term with its highs `period` rows apart, the first high at row `first`.
LayerTable wave(int first, double period, double amplitude) {
    LayerTable t;
    for (int r = 1; r <= 200; ++r) t(2, r) = amplitude * std::cos(2 * M_PI * (r - first) / period);
    return t;
}
}  // namespace

TEST_F(DayView, SpringNeapLagFromTheS2HighToTheNextM2High) {
    // Peaks are listed by the row before them; S2 highs every 72 rows, M2 highs every 74.
    struct Case {
        int s2High, m2High, rows;
    } cases[] = {
        {20, 30, 10},
        {20, 56, 36},
        {20, 21, 1},
        {40, 30, 64},
    };
    for (auto c : cases) {
        LayerTable s2 = wave(c.s2High, 72, 0.7);
        LayerTable m2 = wave(c.m2High, 74, 2.2);
        std::optional<int> lag = SpringNeapRows(m2, s2, 147);
        ASSERT_TRUE(lag.has_value()) << c.s2High << " " << c.m2High;
        EXPECT_EQ(*lag, c.rows) << c.s2High << " " << c.m2High;
    }
    LayerTable flat;
    EXPECT_FALSE(SpringNeapRows(flat, wave(20, 72, 0.7), 147).has_value());
}

TEST_F(DayView, RowsDirectionAndRate) {
    CurveTable c;
    for (int r = 1; r <= 148; ++r) {
        c(1, r) = (r - 1) / 6.0;
        c(2, r) = 0.1 * r;  // rising 0.6 m/h
    }
    RiseFall start = RiseFallAt(c, 147, 0);
    EXPECT_EQ(start.Row, 1);
    EXPECT_EQ(start.Previous, 1);
    EXPECT_EQ(start.Next, 3);
    EXPECT_TRUE(start.Rising);
    EXPECT_NEAR(start.Rate, 0.6, 1e-12);
    EXPECT_EQ(RowOfTime(12.0), 73);
    EXPECT_EQ(RowOfTime(13 + 47 / 60.0), 84);
    RiseFall end = RiseFallAt(c, 147, 24);
    EXPECT_EQ(end.Row, 145);
    EXPECT_EQ(end.Next, 145);                    // no two rows ahead at the end of the day
    EXPECT_EQ(RiseFallAt(c, 147, 30).Row, 145);  // clamped to the day
    c(2, 74) = c(2, 73);                         // a level step counts as rising
    EXPECT_TRUE(RiseFallAt(c, 147, 12).Rising);
    c(2, 74) = c(2, 73) - 0.01;
    EXPECT_FALSE(RiseFallAt(c, 147, 12).Rising);
    CurveTable empty;  // no times: no rate
    EXPECT_FALSE(RiseFallAt(empty, 147, 12).HasRate);
}

// The clock's instant on a port's table: UK ports keep UTC, French ports UTC+1 ("M", -1), an
// hour more on a day adjusted for summer time; the time of day wraps, the date does not count.
TEST_F(DayView, TheClocksInstantOnAPortsTable) {
    const double noonJuly = DateSerial(2025, 7, 1) + TimeSerial(12, 0, 0);
    struct Case {
        double utc;
        int zone;
        bool summer;
        int minutes;
    } cases[] = {
        {noonJuly, 0, false, 12 * 60},
        {noonJuly, 0, true, 13 * 60},
        {noonJuly, -1, false, 13 * 60},
        {noonJuly, -1, true, 14 * 60},
        {noonJuly, 5, false, 7 * 60},                                                // "G", UTC-5
        {DateSerial(2025, 1, 15) + TimeSerial(23, 30, 0), -1, false, 30},            // past midnight
        {DateSerial(2025, 1, 15) + TimeSerial(0, 20, 0), 1, false, 23 * 60 + 20},    // before it
        {DateSerial(2025, 1, 15) + TimeSerial(13, 47, 59), 0, false, 13 * 60 + 47},  // whole minutes
        {DateSerial(2025, 1, 15) + TimeSerial(13, 47, 59) + 0.6 / 86400, 0, false, 13 * 60 + 47},
        {DateSerial(1890, 3, 1) + TimeSerial(6, 0, 0), 0, false, 6 * 60},  // a negative date value
        {noonJuly, -46, false, (12 + 46) % 24 * 60},                       // a damaged letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.utc << " zone " << c.zone << " summer " << c.summer);
        EXPECT_EQ(TableClockMinutes(c.utc, c.zone, c.summer), c.minutes);
    }
}

// The moment of an instant on a port's day tables, its day as well as its time. Summer time is
// decided by the standard-time date (29 March and 24 October 2026 are the first and last days
// adjusted), and an instant an hour or a zone away from midnight falls on the day before or
// after.
TEST_F(DayView, TheClocksMomentOnAPortsTablesWithItsDay) {
    const auto at = [](int y, int mo, int d, int h, int mi) {
        return DateSerial(y, mo, d) + TimeSerial(h, mi, 0);
    };
    struct Case {
        double utc;
        int zone;
        bool summer;
        double date;
        int minutes;
    } cases[] = {
        // clang-format off
        {at(2026, 7, 15, 23, 30), 0, false, DateSerial(2026, 7, 15), 23 * 60 + 30},  // a UK port, option off
        {at(2026, 7, 15, 23, 30), 0, true, DateSerial(2026, 7, 16), 30},             // summer: the next day
        {at(2026, 7, 15, 22, 59), 0, true, DateSerial(2026, 7, 15), 23 * 60 + 59},
        {at(2026, 7, 15, 23, 30), -1, false, DateSerial(2026, 7, 16), 30},           // France, UTC+1
        {at(2026, 7, 15, 22, 30), -1, true, DateSerial(2026, 7, 16), 30},
        {at(2026, 7, 15, 21, 59), -1, true, DateSerial(2026, 7, 15), 23 * 60 + 59},
        {at(2026, 1, 15, 23, 30), -1, true, DateSerial(2026, 1, 16), 30},            // winter: no summer hour
        {at(2026, 1, 16, 3, 0), 5, false, DateSerial(2026, 1, 15), 22 * 60},         // UTC-5: the day before
        {at(2025, 12, 31, 23, 30), -1, false, DateSerial(2026, 1, 1), 30},           // into the new year
        {at(2026, 1, 1, 0, 30), 1, false, DateSerial(2025, 12, 31), 23 * 60 + 30},
        // 23:30 on 28 March is standard time; 00:30 on 29 March is an hour later.
        {at(2026, 3, 28, 23, 30), 0, true, DateSerial(2026, 3, 28), 23 * 60 + 30},
        {at(2026, 3, 28, 23, 30), -1, true, DateSerial(2026, 3, 29), 90},
        // 24 October is still adjusted, so its last hour is carried onto 25 October.
        {at(2026, 10, 24, 23, 30), 0, true, DateSerial(2026, 10, 25), 30},
        {at(2026, 10, 25, 0, 30), 0, true, DateSerial(2026, 10, 25), 30},
        {at(2026, 10, 25, 12, 0), 0, true, DateSerial(2026, 10, 25), 12 * 60},
        {at(2026, 7, 15, 23, 59) + 59.6 / 86400, 0, false, DateSerial(2026, 7, 15), 23 * 60 + 59},  // seconds dropped
        {DateSerial(2026, 7, 16) - 0.0004 / 86400, 0, false, DateSerial(2026, 7, 16), 0},  // a clock's rounding
        {at(1890, 3, 1, 0, 20), 1, false, DateSerial(1890, 2, 28), 23 * 60 + 20},          // a negative date value
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << FormatDate(c.utc, "yyyy-mm-dd hh:nn:ss") << " zone " << c.zone
                                        << " summer " << c.summer);
        const TableMoment m = TableMomentOf(c.utc, c.zone, c.summer);
        EXPECT_EQ(FormatDate(m.Date, "yyyy-mm-dd hh:nn"), FormatDate(c.date, "yyyy-mm-dd hh:nn"));
        EXPECT_EQ(m.Minutes, c.minutes);
    }
}

// Heights that are not numbers are passed over; the grid never draws more lines than the
// picture has room for, and keeps a line a metre on an ordinary day.
TEST_F(DayView, ScaleAndGridStayWithinThePicture) {
    CurveTable day;
    for (int r = 1; r <= 146; ++r) day(2, r) = std::numeric_limits<double>::quiet_NaN();
    day(2, 5) = std::numeric_limits<double>::infinity();
    day(2, 6) = 2.5;
    CurveScale s = TideCurveScale(day, day, 147);
    EXPECT_EQ(s.Top, 3);
    EXPECT_EQ(s.Bottom, 0);

    struct Case {
        double top, bottom, minSpacing;
        std::vector<double> lines;
    } cases[] = {
        {5, 0, 0.4, {-1, 0, 1, 2, 3, 4, 5}},
        {3, -2, 0.2, {-1, 0, 1, 2, 3}},
        {21, 0, 1.5, {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 21}},
        {1006, 0, 70, {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1006}},
        {1e9, 0, 0, {}},  // counted below
    };
    for (const Case& c : cases) {
        const std::vector<double> lines = GridHeights(c.top, c.bottom, c.minSpacing);
        if (!c.lines.empty()) {
            EXPECT_EQ(lines, c.lines) << c.top;
        }
        EXPECT_LE(lines.size(), 102u) << c.top;
        EXPECT_EQ(lines.back(), c.top);
    }
}
