// High and low waters, the day's range and the day list.

#include "engine/highlow.h"

#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using engine::CurveTable;

class HighLowTest : public testing_support::EngineTest {};

// Heights of rows 1, 2, ... with times (r - 1) / 6; rows after them are zero.
void fillCurve(CurveTable& curve, const std::vector<double>& heights) {
    curve.clear();
    for (size_t i = 0; i < heights.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        curve(1, r) = (r - 1) / 6.0;
        curve(2, r) = heights[i];
    }
}

// Rising by 1 cm a row over n rows, then shaped by the edits (row, height).
std::vector<double> rising(int n, const std::vector<std::pair<int, double>>& edits = {}) {
    std::vector<double> h(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) h[static_cast<size_t>(i)] = 0.01 * (i + 1);
    for (const auto& [row, height] : edits) h[static_cast<size_t>(row - 1)] = height;
    return h;
}

// 149 rows that rise by 1 cm a row to a top at row peak, stay there for width rows and then
// fall by 1 cm a row; with a negative sign, a valley.
std::vector<double> tent(int peak, int width, double sign = 1) {
    std::vector<double> h;
    for (int r = 1; r <= 149; ++r) {
        const int top = peak + width - 1;
        const int level = r < peak ? r : r <= top ? peak : peak - (r - top);
        h.push_back(sign * 0.01 * level);
    }
    return h;
}

struct Event {
    double time, height;
};

// ---------------------------------------------------------------------------------------------
// FindHighLowWaters on the day curve

struct TurnCase {
    const char* name;
    std::vector<double> heights;
    std::vector<int> rows;  // rows of the events found
};

TEST_F(HighLowTest, TurningPointsAreStrictOnBothSides) {
    // 149 rows, as CalcDayTide leaves them.
    const TurnCase cases[] = {
        {"rising all day", rising(149), {}},
        {"a high", tent(60, 1), {60}},
        {"a plateau of two", tent(60, 2), {}},
        {"a low", tent(40, 1, -1), {40}},
        {"a flat bottom", tent(40, 3, -1), {}},
        {"on row 2", tent(2, 1), {2}},
        {"on row 145 (24:00)", tent(145, 1), {145}},
        {"on row 146, not searched", tent(146, 1), {}},
        {"a high and the low after it", rising(149, {{60, 5}}), {60, 61}},
    };
    auto& s = engine::State();
    for (const auto& c : cases) {
        fillCurve(s.DayCurve, c.heights);
        int points = 0;
        int16_t count = -1;
        engine::FindHighLowWaters(points, count);
        ASSERT_EQ(count, static_cast<int16_t>(c.rows.size())) << c.name;
        EXPECT_EQ(s.EventCount, count) << c.name;
        for (size_t k = 0; k < c.rows.size(); ++k) {
            EXPECT_EQ(s.DayEvents(1, static_cast<int>(k) + 1), (c.rows[k] - 1) / 6.0) << c.name;
            EXPECT_EQ(s.DayEvents(2, static_cast<int>(k) + 1), c.heights[static_cast<size_t>(c.rows[k] - 1)])
                << c.name;
        }
    }
}

TEST_F(HighLowTest, PointsBecome146WhateverTheCallerPassed) {
    fillCurve(engine::State().DayCurve, rising(149));
    for (int passed : {0, 147, 302, 7}) {
        int points = passed;
        int16_t count = 0;
        engine::FindHighLowWaters(points, count);
        EXPECT_EQ(points, 146) << passed;
    }
}

TEST_F(HighLowTest, RangeIsTakenFromRows1To145) {
    auto& s = engine::State();
    struct Case {
        const char* name;
        std::vector<double> heights;
        double range;
    };
    const Case cases[] = {
        {"lowest on row 1", rising(149, {{1, -2}, {145, 3}}), 5},
        {"row 146 left out", rising(149, {{146, 9}}), 1.45 - 0.01},
        {"row 0 left out", rising(149), 1.45 - 0.01},
    };
    for (const auto& c : cases) {
        fillCurve(s.DayCurve, c.heights);
        s.DayCurve(2, 0) = -50;
        int points = 0;
        int16_t count = 0;
        engine::FindHighLowWaters(points, count);
        EXPECT_NEAR(s.DayRange, c.range, 1e-12) << c.name;
    }
}

// A zigzag turns on every row: the table keeps the first 15 and the search stops there.
TEST_F(HighLowTest, AtMostFifteenEventsAreKept) {
    std::vector<double> zigzag;
    for (int r = 1; r <= 149; ++r) zigzag.push_back(r % 2 ? 0.0 : 1.0);
    auto& s = engine::State();
    fillCurve(s.DayCurve, zigzag);
    int points = 0;
    int16_t count = 0;
    engine::FindHighLowWaters(points, count);
    EXPECT_EQ(count, 15);
    EXPECT_EQ(s.DayEvents(1, 1), 1 / 6.0);    // row 2, a high
    EXPECT_EQ(s.DayEvents(1, 15), 15 / 6.0);  // row 16
    EXPECT_EQ(s.DayEvents(2, 15), 1.0);
    EXPECT_DOUBLE_EQ(s.DayRange, 1.0);
}

// The 24.0844 h limit looks at the last event only.
TEST_F(HighLowTest, LastEventAfter24Point0844HoursIsDropped) {
    struct Case {
        const char* name;
        double firstTime, lastTime;
        int16_t count;
    };
    // clang-format off
    const Case cases[] = {
        {"last at 24.0", 20.0, 24.0, 2},
        {"last at the limit", 20.0, 24.0844, 2},
        {"last just after", 20.0, 24.0845, 1},
        {"both after: the earlier stays", 24.1, 24.2, 1},
    };
    // clang-format on
    auto& s = engine::State();
    for (const auto& c : cases) {
        // A high on row 30 and a low on row 31; then rising again.
        fillCurve(s.DayCurve, rising(149, {{30, 5}}));
        s.DayCurve(1, 30) = c.firstTime;
        s.DayCurve(1, 31) = c.lastTime;
        int points = 0;
        int16_t count = 0;
        engine::FindHighLowWaters(points, count);
        EXPECT_EQ(count, c.count) << c.name;
        EXPECT_EQ(s.DayEvents(1, 1), c.firstTime) << c.name;
        // The dropped row stays in the table, beyond the count.
        EXPECT_EQ(s.DayEvents(1, 2), c.lastTime) << c.name;
    }
}

// The sites search the rows up to the caller's count less one.
TEST_F(HighLowTest, AdjustmentSitesSearchUpToTheirOwnPointCount) {
    auto& s = engine::State();
    struct Site {
        const char* name;
        void (*search)(int&, int16_t&);
        CurveTable* curve;
    };
    const Site sites[] = {
        {"Intermediate", engine::FindHighLowWatersIntermediate, &s.AdjCurveMid},
        {"Port1", engine::FindHighLowWatersPort1, &s.AdjCurvePort1},
        {"Port2", engine::FindHighLowWatersPort2, &s.AdjCurvePort2},
    };
    struct Case {
        int points, peakRow;
        std::vector<int> rows;
    };
    // clang-format off
    const Case cases[] = {
        {100, 98, {98}},   // rows 97, 98, 99 are examined
        {100, 99, {}},     // would need row 100
        {148, 60, {60}},
    };
    // clang-format on
    for (const auto& site : sites) {
        for (const auto& c : cases) {
            // Flat before and after the peak, so that only the peak turns.
            std::vector<double> h(200, 1.0);
            h[static_cast<size_t>(c.peakRow - 1)] = 2.0;
            fillCurve(*site.curve, h);
            s.DayRange = 7;
            s.EventCount = 7;
            int points = c.points;
            int16_t count = 0;
            site.search(points, count);
            EXPECT_EQ(points, c.points - 1) << site.name;
            ASSERT_EQ(count, static_cast<int16_t>(c.rows.size())) << site.name << " peak " << c.peakRow;
            for (size_t k = 0; k < c.rows.size(); ++k)
                EXPECT_EQ(s.DayEvents(1, static_cast<int>(k) + 1), (c.rows[k] - 1) / 6.0) << site.name;
            EXPECT_EQ(s.DayRange, 7.0) << site.name;
            EXPECT_EQ(s.EventCount, 7) << site.name;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// ShowDayTides

void setDayList(const std::vector<Event>& list, double range) {
    auto& s = engine::State();
    s.PortName = std::string("Dover  ") + '\0' + "junk";
    s.SelectedDay = 5;
    s.SelectedMonth = 6;
    s.SelectedYear = 2025;
    s.DayRange = range;
    for (size_t k = 0; k < list.size(); ++k) {
        s.DayEvents(1, static_cast<int>(k) + 1) = list[k].time;
        s.DayEvents(2, static_cast<int>(k) + 1) = list[k].height;
    }
}

TEST_F(HighLowTest, DayListCaptionAndLines) {
    auto& s = engine::State();
    setDayList({{1.3333333, 6.1381}, {8.5, 1.4196}, {13.999, -0.25}}, 4.8206);
    s.DayText[10] = "left over";
    const std::string caption = engine::ShowDayTides(3);
    EXPECT_EQ(caption,
              "  Predictions\r\n"
              "   (Range 4.8M)\r\n\r\n"
              "   Time    Ht.\r\n"
              "   01:20   6.1\r"
              "   08:30   1.4\r"
              "   14:00   -0.3\r");
    EXPECT_EQ(s.DayText[1], "Port : Dover");
    EXPECT_EQ(s.DayText[2], "Date : 5/6/2025");
    EXPECT_EQ(s.DayText[3], "");
    EXPECT_EQ(s.DayText[4], "01:20   6.1");
    EXPECT_EQ(s.DayText[6], "14:00   -0.3");
    EXPECT_EQ(s.DayText[7], "");
    EXPECT_EQ(s.DayText[10], "");
    EXPECT_EQ(s.DayTextCount, 7);
    EXPECT_EQ(s.DayEventText(1, 2), "08:30");
    EXPECT_EQ(s.DayEventText(2, 2), "1.4");
}

TEST_F(HighLowTest, DayListFollowsTheLocaleSeparators) {
    testing_support::UseDecimalCommaLocale();
    setDayList({{6.0, 1234.56}}, 12.25);
    const std::string caption = engine::ShowDayTides(1);
    EXPECT_EQ(caption, "  Predictions\r\n   (Range 12,3M)\r\n\r\n   Time    Ht.\r\n   06:00   1.234,6\r");
    EXPECT_EQ(engine::State().DayText[4], "06:00   1.234,6");
}

TEST_F(HighLowTest, DayListWithoutEventsHasFourLines) {
    auto& s = engine::State();
    setDayList({}, 0.5);
    const std::string caption = engine::ShowDayTides(0);
    EXPECT_EQ(caption, "  Predictions\r\n   (Range 0.5M)\r\n\r\n   Time    Ht.\r\n");
    EXPECT_EQ(s.DayTextCount, 4);
    EXPECT_EQ(s.DayText[1], "Port : Dover");
    EXPECT_EQ(s.DayText[4], "");
}

// ---------------------------------------------------------------------------------------------
// DayRangeAndHighWaters

struct SeriesCase {
    const char* name;
    engine::TimeHeightSeries series;
    std::vector<double> highTimes;
    double range;
};

// Each series ends at 50 h and with the spare (0, 0) element, as CalcDayTideMinutes leaves it.
TEST_F(HighLowTest, HighWatersOfTheSecondDayAndTheRangeOfItsTurns) {
    // clang-format off
    const SeriesCase cases[] = {
        {"a high at exactly 24 h counts as 00:00",
         {{0, 0}, {23.9, 1}, {24.0, 3}, {24.1, 1}, {30, 2}, {50, 1}, {0, 0}}, {0.0, 6.0}, 3 - 1},
        {"a hair short of 24 h counts too",
         {{0, 0}, {23.9, 1}, {23.9999995, 3}, {24.1, 1}, {30, 2}, {50, 1}, {0, 0}}, {-0.0000005, 6.0}, 3 - 1},
        {"two millionths short does not",
         {{0, 0}, {23.9, 1}, {23.999998, 3}, {24.1, 1}, {30, 2}, {50, 1}, {0, 0}}, {6.0}, 2 - 1},
        {"a high at 48 h does not",
         {{0, 0}, {39, 1}, {40, 2}, {47.9, 1}, {48.0, 4}, {48.1, 1}, {50, 0.5}, {0, 0}}, {16.0}, 2 - 1},
        {"nor does a hair short of 48 h",
         {{0, 0}, {39, 1}, {40, 2}, {47.9, 1}, {47.9999995, 4}, {48.1, 1}, {50, 0.5}, {0, 0}}, {16.0}, 2 - 1},
        {"lows count after 48 h, not before 24 h",
         {{0, 5}, {23.9, 1}, {23.99, 0.25}, {24.5, 6}, {26, 2}, {49, 0.5}, {49.5, 3}, {50, 2}, {0, 0}}, {0.5}, 6 - 0.5},
        {"two high waters in time order",
         {{0, 0}, {24.5, 2}, {25, 4}, {31, 1}, {37, 5}, {43, 2}, {50, 1}, {0, 0}}, {1.0, 13.0}, 5 - 1},
        {"elements 0 and 1 are never tested",
         {{0, 0}, {24.5, 5}, {25, 1}, {30, 2}, {50, 1}, {0, 0}}, {6.0}, 2 - 1},
        {"a tide still falling below datum at 50 h is no low water",
         {{0, 0}, {24.5, 2}, {25, 4}, {31, 1}, {37, 3}, {49.9, 0.2}, {50, -0.5}, {0, 0}}, {1.0, 13.0}, 4 - 1},
        {"no turning point: range 0",
         {{0, 0}, {24, 1}, {30, 2}, {40, 3}, {49, 4}, {50, 5}, {0, 0}}, {}, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        double range = -1;
        const auto highs = engine::DayRangeAndHighWaters(c.series, range);
        ASSERT_EQ(highs.size(), c.highTimes.size()) << c.name;
        for (size_t i = 0; i < highs.size(); ++i) EXPECT_NEAR(highs[i].Time, c.highTimes[i], 1e-12) << c.name;
        EXPECT_NEAR(range, c.range, 1e-12) << c.name;
    }
}

TEST_F(HighLowTest, SeriesTooShortForATurnHasNoRange) {
    for (size_t n : {0u, 1u, 2u, 3u}) {
        engine::TimeHeightSeries series(n, {24.5, 1});
        double range = -1;
        EXPECT_TRUE(engine::DayRangeAndHighWaters(series, range).empty()) << n;
        EXPECT_EQ(range, 0.0) << n;
    }
}

}  // namespace

// A day that could not be computed: no events, a range of 0, and a day list that shows no
// number as a result.
TEST_F(HighLowTest, DayWithoutHeightsHasNoEventsAndNoRange) {
    auto& s = engine::State();
    for (int r = 1; r <= 149; ++r) {
        s.DayCurve(1, r) = (r - 1) / 6.0;
        s.DayCurve(2, r) = r == 40 ? 5.0 : std::numeric_limits<double>::quiet_NaN();
    }
    int points = 0;
    int16_t count = 7;
    engine::FindHighLowWaters(points, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(s.DayRange, 0.0);
    EXPECT_EQ(s.EventCount, 0);
    EXPECT_EQ(engine::ShowDayTides(count), "  Predictions\r\n   (Range n/a)\r\n\r\n   Time    Ht.\r\n");

    engine::TimeHeightSeries series(3000, {0, std::numeric_limits<double>::quiet_NaN()});
    for (size_t i = 0; i < series.size(); ++i) series[i].Time = static_cast<double>(i) / 60;
    series[1600].Height = 3;
    double range = 9;
    EXPECT_TRUE(engine::DayRangeAndHighWaters(series, range).empty());
    EXPECT_EQ(range, 0.0);
}
