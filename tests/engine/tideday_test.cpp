// The day and month of a port's tides from their inputs, against the displayed day's routines
// that read and fill the shared state.

#include "engine/tideday.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/astro.h"
#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/highlow.h"
#include "engine/tidemonth.h"
#include "port_fixture.h"

namespace {

using namespace engine;
using testing_support::SelectDate;

// Equal to the last bit; a height that is not a number equals the same not-a-number.
bool same(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

PortRecord shippedPort(const std::string& area, int16_t n) {
    PortRecord r;
    EXPECT_TRUE(ReadPortRecord(testing_support::SourceDir() + "/data/" + area, n, r).ok())
        << area << " " << n;
    return r;
}

class TideDayTest : public testing_support::PortTest {
protected:
    // Dover and a French port with their month values and shallow-water terms, and the made-up
    // port; each with its charted depth.
    void SetUp() override {
        PortTest::SetUp();
        UsePorts({shippedPort("UK.hc", 77), shippedPort("France.hc", 1), testing_support::MadeUpPort()},
                 {1.5f, -0.7f, 2.25f});
    }
    // The depth CalcDayTide adds: the port's, under every option but exactly 1.
    static std::optional<double> depthOf(int16_t port, float option) {
        const float depths[] = {1.5f, -0.7f, 2.25f};
        return option != 1.0f ? std::optional<double>(depths[port - 1]) : std::nullopt;
    }
};

TEST_F(TideDayTest, DayIsWhatTheDisplayedDayLeavesInTheState) {
    struct Case {
        int16_t port;
        int year, month, day;
        bool summer;
        float option;
    };
    const Case cases[] = {
        {1, 2025, 6, 15, true, 3},     // depth added, summer clock: 152 rows
        {1, 2025, 6, 15, false, 1},    // the same day on chart datum
        {2, 2024, 1, 1, false, 2},     // day 1: angles from day 0
        {2, 2024, 10, 27, true, 3},    // the clock goes back
        {3, 2024, 2, 29, false, 1.5},  // a fractional option adds the depth
        {1, 3001, 1, 1, false, 3},     // a year the engine does not compute
    };
    auto& s = State();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.port) + " " + std::to_string(c.year) + "-" + std::to_string(c.month) +
                     "-" + std::to_string(c.day) + (c.summer ? " summer" : ""));
        s.CurrentPort = c.port;
        s.OutputOption = c.option;
        SelectDate(c.year, c.month, c.day);
        int16_t record = 0, count = 0;
        int points = 0;
        const FileResult old = CalcDayTide(record, s.SelectedDayOfYear, points, c.summer);
        FindHighLowWaters(points, count);

        PortRecord rec;
        ASSERT_TRUE(ReadPortRecord(s.AreaFilePath, c.port, rec).ok());
        const auto day = std::make_unique<TideDay>();
        const FileResult now = ComputeTideDay(rec, s.SelectedDate, c.summer, depthOf(c.port, c.option), *day);
        EXPECT_EQ(now.status, old.status);
        EXPECT_EQ(now.message, old.message);

        EXPECT_EQ(day->Rows, old.ok() && c.summer ? 152 : 149);
        for (int r = 0; r < CurveTable::kRows; ++r)
            for (int col = 0; col < 3; ++col)
                ASSERT_TRUE(same(day->Curve(col, r), s.DayCurve(col, r))) << "curve " << col << ", " << r;
        const auto layers = s.DayLayers();
        for (size_t i = 0; i < 7; ++i)
            for (int r = 0; r < LayerTable::kRows; ++r)
                for (int col = 0; col < 3; ++col) {
                    const double expected = r <= day->Rows ? (*layers[i])(col, r) : 0.0;
                    ASSERT_TRUE(same(day->Layers[i](col, r), expected))
                        << "layer " << i << " " << col << ", " << r;
                }
        EXPECT_TRUE(same(day->MeanLevel, s.DayMeanLevel));

        const HighLowWaters& w = day->Waters;
        EXPECT_EQ(w.Count, count);
        EXPECT_EQ(s.EventCount, count);
        EXPECT_EQ(old.ok(), count > 0);
        for (int k = 1; k <= w.Found; ++k)
            for (int col = 1; col <= 2; ++col) EXPECT_TRUE(same(w.Events(col, k), s.DayEvents(col, k))) << k;
        EXPECT_TRUE(same(w.Range, s.DayRange));
    }
}

// The old month view: the displayed day computed for every day of the month in turn.
std::vector<HighLowWaters> dayByDay(int year, int month) {
    auto& s = State();
    std::vector<HighLowWaters> days;
    for (int n = 1; n <= DaysInMonth(year, month); ++n) {
        const double date = DateSerial(year, month, n);
        SelectDate(year, month, n);
        int16_t record = 0, count = 0;
        int points = 0;
        EXPECT_TRUE(
            CalcDayTide(record, DayOfYear(date), points, s.ApplySummerTime && IsSummerTime(date)).ok());
        FindHighLowWaters(points, count);
        HighLowWaters w;
        w.Count = count;
        for (int k = 1; k <= count; ++k) {
            w.Events(1, k) = s.DayEvents(1, k);
            w.Events(2, k) = s.DayEvents(2, k);
        }
        days.push_back(w);
    }
    return days;
}

TEST_F(TideDayTest, MonthIsEveryDayOnItsOwnClock) {
    struct Case {
        int year, month;
        bool applySummer;
    };
    // March 2024 goes onto the summer clock on the 31st, October back on the 27th.
    const Case cases[] = {{2024, 3, true}, {2024, 10, true}, {2024, 10, false}};
    auto& s = State();
    s.OutputOption = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) +
                     (c.applySummer ? " summer" : ""));
        s.ApplySummerTime = c.applySummer;
        const std::vector<HighLowWaters> old = dayByDay(c.year, c.month);

        PortRecord rec;
        ASSERT_TRUE(ReadPortRecord(s.AreaFilePath, 1, rec).ok());
        MonthTides month;
        ASSERT_TRUE(ComputeMonthTides(rec, c.year, c.month, c.applySummer, 1.5, month).ok());
        EXPECT_EQ(month.Year, c.year);
        EXPECT_EQ(month.Month, c.month);
        ASSERT_EQ(month.Days.size(), old.size());
        int summerDays = 0;
        for (size_t i = 0; i < old.size(); ++i) {
            const MonthDayTides& d = month.Days[i];
            const int n = static_cast<int>(i) + 1;
            EXPECT_EQ(d.Date, DateSerial(c.year, c.month, n));
            EXPECT_EQ(d.SummerTime, c.applySummer && IsSummerTime(d.Date)) << n;
            summerDays += d.SummerTime;
            ASSERT_EQ(d.Waters.Count, old[i].Count) << n;
            for (int k = 1; k <= d.Waters.Count; ++k)
                for (int col = 1; col <= 2; ++col)
                    EXPECT_TRUE(same(d.Waters.Events(col, k), old[i].Events(col, k))) << n << " event " << k;
        }
        // The case tells only when the clock changes within the month.
        if (c.applySummer) {
            EXPECT_GT(summerDays, 0);
            EXPECT_LT(summerDays, static_cast<int>(old.size()));
        } else {
            EXPECT_EQ(summerDays, 0);
        }
    }
}

TEST_F(TideDayTest, MonthOfAYearNotComputedIsRefusedWithNoDays) {
    const PortRecord rec = testing_support::MadeUpPort();
    MonthTides month;
    month.Days.resize(3);
    const FileResult r = ComputeMonthTides(rec, 999, 12, true, std::nullopt, month);
    EXPECT_EQ(r.status, FileStatus::Refused);
    EXPECT_EQ(r.message, YearRefused(999).message);
    EXPECT_TRUE(month.Days.empty());
}

// The list's lines from the month rows: a day is known by the empty row before its heading, so a
// day without tides and a tide row after it keep their own forms.
TEST_F(TideDayTest, MonthLinesFromTheRows) {
    const std::vector<std::string> a = {"Dover", "", "1 Jul", "", "2 Jul", "03:12", "", "3 Jul"};
    const std::vector<std::string> b = {"July 2024", "", "(Mon)", "", "(Tue)", "4.56", "", "(Wed)"};
    EXPECT_EQ(MonthTideLines(a, b), (std::vector<std::string>{"  ", "1 Jul (Mon)", "  ", "2 Jul (Tue)",
                                                              "03:12   4.56", "  ", "3 Jul (Wed)"}));
    EXPECT_TRUE(MonthTideLines({"Dover"}, {"July 2024"}).empty());
}

}  // namespace
