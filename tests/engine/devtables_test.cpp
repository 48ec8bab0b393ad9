// The developer tables: each day's range and first two high waters over two years, and the
// daily angles, factors and rates of the four main constituents.

#include "engine/devtables.h"

#include <functional>

#include "engine/astro.h"
#include "engine/curve.h"
#include "engine/highlow.h"
#include "port_fixture.h"

namespace {

using engine::HWYearRow;
using engine::JulianDay;

class DevTables : public testing_support::PortTest {};

// Ports whose days show each case of the high-water columns.
engine::PortRecord doubleHighWaters() {
    engine::PortRecord r = testing_support::MadeUpPort();
    r.sf4 = 180;  // the quarter-diurnal term dips the top of every tide: two peaks each
    r.LF4 = 0.5f;
    return r;
}
engine::PortRecord onlyO1() {
    engine::PortRecord r = testing_support::EmptyPort();
    r.Z0 = 3;
    r.O1g = 50;
    r.O1Hm = 1;
    return r;
}

// The day a row stands for, counted on the date values' own calendar.
struct RowDay {
    int year, dayOfYear;
    double julian;  // 0 h
};
RowDay rowDay(int firstYear, size_t i) {
    const double date = engine::DateSerial(firstYear, 1, 1) + static_cast<double>(i);
    const engine::DateParts p = engine::SplitDate(date);
    return {p.year, engine::DayOfYear(date), JulianDay(p.day, p.month, p.year, 0, 0, 0)};
}

// Rows from 1 January of the first year to 31 December of the next, each labelled with its
// own day, its high waters within it, also where a century year has no 29 February.
TEST_F(DevTables, YearHighWatersHaveARowForEveryDayOfTwoYears) {
    UsePort(testing_support::MadeUpPort());
    for (auto [year, days] : {std::pair{2024, 731}, {1799, 730}, {2099, 730}, {2101, 730}}) {
        std::vector<HWYearRow> rows;
        ASSERT_TRUE(
            engine::YearHighWaters(engine::State().AreaFilePath, 1, static_cast<int16_t>(year), rows).ok());
        ASSERT_EQ(rows.size(), static_cast<size_t>(days)) << year;
        for (size_t i = 0; i < rows.size(); ++i) {
            const RowDay d = rowDay(year, i);
            ASSERT_EQ(rows[i].YearNo, d.year) << year << " row " << i;
            ASSERT_EQ(rows[i].DayNo, d.dayOfYear) << year << " row " << i;
            ASSERT_GE(rows[i].FirstHW, d.julian) << year << " row " << i;
            ASSERT_LT(rows[i].FirstHW, d.julian + 1) << year << " row " << i;
        }
    }
}

// A row is the one-minute search of its day: the range it returns, its first two high waters as
// Julian dates, -1 for each one missing. The first two months and the turn of the year.
TEST_F(DevTables, YearHighWatersAreTheOneMinuteSearchOfEachDay) {
    struct Case {
        const char* name;
        engine::PortRecord port;
        std::function<bool(size_t)> shown;  // a count of high waters some day must have
    } cases[] = {
        {"one high water on some days", testing_support::MadeUpPort(), [](size_t n) { return n == 1; }},
        {"none on some days of a diurnal tide", onlyO1(), [](size_t n) { return n == 0; }},
        {"three or more kept to two", doubleHighWaters(), [](size_t n) { return n >= 3; }},
    };
    std::vector<size_t> days;
    for (size_t i = 0; i < 60; ++i) days.push_back(i);
    days.insert(days.end(), {363, 364, 365, 366, 729});
    for (const auto& c : cases) {
        UsePort(c.port);
        std::vector<HWYearRow> rows;
        ASSERT_TRUE(engine::YearHighWaters(engine::State().AreaFilePath, 1, 2025, rows).ok()) << c.name;
        ASSERT_EQ(rows.size(), 730u) << c.name;
        int shownDays = 0;
        for (size_t i : days) {
            const double day = rowDay(2025, i).julian;
            engine::TimeHeightSeries series;
            ASSERT_TRUE(engine::CalcDayTideMinutes(1, day, series).ok());
            double range = 0;
            const auto highs = engine::DayRangeAndHighWaters(series, range);
            shownDays += c.shown(highs.size());
            const HWYearRow& r = rows[i];
            ASSERT_EQ(r.Range, range) << c.name << i;
            ASSERT_EQ(r.FirstHW, highs.empty() ? -1 : day + highs[0].Time / 24) << c.name << i;
            ASSERT_EQ(r.SecondHW, highs.size() < 2 ? -1 : day + highs[1].Time / 24) << c.name << i;
        }
        EXPECT_GT(shownDays, 0) << c.name;
    }
}

TEST_F(DevTables, YearHighWatersThatCannotBeComputedLeaveNoRows) {
    UsePort(testing_support::MadeUpPort());
    const struct {
        int16_t record, year;
        engine::FileStatus status;
    } cases[] = {{2, 2024, engine::FileStatus::PastEnd},
                 {1, 3000, engine::FileStatus::Refused},
                 {1, 999, engine::FileStatus::Refused}};
    for (const auto& c : cases) {
        std::vector<HWYearRow> rows(3);
        EXPECT_EQ(engine::YearHighWaters(engine::State().AreaFilePath, c.record, c.year, rows).status,
                  c.status);
        EXPECT_TRUE(rows.empty());
    }
}

// Which days' angles and factors a line takes: its base day's values, the rates from there to
// the next day.
TEST_F(DevTables, FactorsLinesTakeTheirBaseDayAndTheNextDay) {
    struct Case {
        const char* name;
        int firstYear;
        size_t line;
        int day, year;
        int baseYear, baseDay, nextYear, nextDay;
    } cases[] = {
        {"1 January from 31 December", 2016, 0, 1, 2016, 2015, 365, 2016, 1},
        {"2 January from itself", 2016, 1, 2, 2016, 2016, 2, 2016, 3},
        {"31 December of a leap year", 2016, 365, 366, 2016, 2016, 366, 2016, 367},
        {"1 January of the second year from itself", 2016, 366, 1, 2017, 2017, 1, 2017, 2},
        {"the last line's next day is 366", 2016, 730, 365, 2017, 2017, 365, 2017, 366},
        {"the first line after a leap year", 2017, 0, 1, 2017, 2016, 366, 2017, 1},
        {"the last line of the last table", 2018, 729, 365, 2019, 2019, 365, 2019, 366},
    };
    for (const auto& c : cases) {
        const std::vector<engine::FactorsRow> table = engine::FactorsTableFrom(c.firstYear);
        ASSERT_EQ(table.size(), c.firstYear == 2016 ? 731u : 730u) << c.name;
        const engine::FactorsRow& r = table[c.line];
        EXPECT_EQ(r.Julian, JulianDay(1, 1, c.firstYear, 0, 0, 0) + static_cast<double>(c.line)) << c.name;
        EXPECT_EQ(r.Day, c.day) << c.name;
        EXPECT_EQ(r.Year, c.year) << c.name;
        const engine::AnglesAndFactors a = engine::CalcAnglesAndFactors(c.baseYear, c.baseDay);
        const engine::AnglesAndFactors b = engine::CalcAnglesAndFactors(c.nextYear, c.nextDay);
        auto speed = [](int angle, int next, int limit) {
            return engine::SpeedFromDailyChange(angle - next, limit).omega;
        };
        const double expected[] = {double(a.M2Angle),
                                   a.M2Factor,
                                   double(a.S2Angle),
                                   a.S2Factor,
                                   double(a.K1Angle),
                                   a.K1Factor,
                                   double(a.O1Angle),
                                   a.O1Factor,
                                   speed(a.M2Angle, b.M2Angle, 600),
                                   speed(a.S2Angle, b.S2Angle, 600),
                                   speed(a.K1Angle, b.K1Angle, 300),
                                   speed(a.O1Angle, b.O1Angle, 300),
                                   (b.M2Factor - a.M2Factor) / 24,
                                   (b.S2Factor - a.S2Factor) / 24,
                                   (b.K1Factor - a.K1Factor) / 24,
                                   (b.O1Factor - a.O1Factor) / 24};
        const double got[] = {r.ma,  r.mf,  r.sa,  r.sf,  r.ka,  r.kf,  r.oa,  r.of,
                              r.dam, r.das, r.dak, r.dao, r.dfm, r.dfs, r.dfk, r.dfo};
        for (size_t k = 0; k < std::size(got); ++k)
            EXPECT_EQ(got[k], expected[k]) << c.name << " value " << k;
    }
}

}  // namespace
