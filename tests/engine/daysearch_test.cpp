// The quick search of a day's range and high waters against the full one: every minute of the
// 50 hours summed in full and searched.

#include "engine/daysearch.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/highlow.h"
#include "port_fixture.h"

namespace {

using engine::PortRecord;
using engine::TimeHeightSeries;

// How the quick search went over a span of days.
struct Tally {
    int fullSearches = 0;      // days whose quick heights were refused
    int mostSummedInFull = 0;  // the most minutes of one day that the full sum gave
};

// The quick search's answer for the day at Julian date Day, beside the full search's.
testing::AssertionResult sameAsFullSearch(const PortRecord& r, double Day, Tally& tally) {
    TimeHeightSeries series, quick;
    double fullRange = -1, quickRange = -1;
    const engine::FileResult full = engine::DayTideMinutes(r, Day, series);
    const TimeHeightSeries highs = engine::DayRangeAndHighWaters(series, fullRange);
    engine::DaySearchCount count;
    const engine::FileResult fast = engine::QuickDayRangeAndHighWaters(r, Day, quickRange, quick, &count);
    tally.fullSearches += count.fullSearch;
    tally.mostSummedInFull = std::max(tally.mostSummedInFull, count.minutesSummedInFull);
    const engine::JulianDate d = engine::JulianDayToDate(Day);
    const std::string day =
        std::to_string(d.Year) + "-" + std::to_string(d.Month) + "-" + std::to_string(d.Day);
    if (full.status != fast.status) return testing::AssertionFailure() << day << ": status differs";
    if (!full.ok()) return testing::AssertionSuccess();
    // Every height given is the full sum's own, so heights and ranges are equal to the last bit.
    if (quickRange != fullRange)
        return testing::AssertionFailure()
               << day << ": range " << quickRange << ", full search " << fullRange;
    if (quick.size() != highs.size())
        return testing::AssertionFailure()
               << day << ": " << quick.size() << " high waters, full search " << highs.size();
    for (size_t i = 0; i < highs.size(); ++i) {
        if (quick[i].Time != highs[i].Time || quick[i].Height != highs[i].Height)
            return testing::AssertionFailure()
                   << day << ": high water " << i + 1 << " at " << quick[i].Time << " h, " << quick[i].Height
                   << " m; full search " << highs[i].Time << " h, " << highs[i].Height << " m";
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult sameOverDays(const PortRecord& r, int year, int days, Tally& tally) {
    const double first = engine::JulianDay(1, 1, static_cast<int16_t>(year), 0, 0, 0);
    for (int i = 0; i < days; ++i)
        if (testing::AssertionResult same = sameAsFullSearch(r, first + i, tally); !same) return same;
    return testing::AssertionSuccess();
}

// Made-up ports for the cases the shipped ones may lack.
PortRecord m2Only() {
    PortRecord r = testing_support::EmptyPort();
    r.Z0 = 3;
    r.M2g = 120;
    r.M2Hm = 2;
    r.MonthM2Hm.fill(r.M2Hm);
    return r;
}
// The quarter- and sixth-diurnal terms just flatten the top of the tide into two peaks a few
// minutes apart, with a dip of a millimetre between them.
PortRecord closeDoubleHighWaters() {
    PortRecord r = m2Only();
    r.sf4 = 180;
    r.LF4 = 0.0926f;
    r.sf6 = 180;
    r.LF6 = 0.004f;
    return r;
}
PortRecord onlyDiurnal() {
    PortRecord r = testing_support::EmptyPort();
    r.Z0 = 2;
    r.K1g = 200;
    r.K1Hm = 0.5f;
    r.O1g = 50;
    r.O1Hm = 0.4f;
    return r;
}
// Heights far beyond any tide: the quick sum leaves them to the full search.
PortRecord hugeShallowWater() {
    PortRecord r = testing_support::MadeUpPort();
    r.LF6 = 1e6f;
    return r;
}

TEST(QuickDaySearch, CloseDoubleHighWatersAreFoundOnTheirMinutes) {
    const PortRecord r = closeDoubleHighWaters();
    // The fixture's point: some day has two high waters within ten minutes of each other.
    double closest = 99;
    const double june = engine::JulianDay(1, 6, 2024, 0, 0, 0);
    for (int i = 0; i < 30; ++i) {
        TimeHeightSeries series;
        double range = 0;
        ASSERT_TRUE(engine::DayTideMinutes(r, june + i, series).ok());
        const TimeHeightSeries highs = engine::DayRangeAndHighWaters(series, range);
        for (size_t k = 1; k < highs.size(); ++k)
            closest = std::min(closest, highs[k].Time - highs[k - 1].Time);
    }
    ASSERT_LE(closest * 60, 10);
    Tally tally;
    EXPECT_TRUE(sameOverDays(r, 2024, 731, tally));
    EXPECT_EQ(tally.fullSearches, 0);
}

TEST(QuickDaySearch, MadeUpPortsGiveTheFullSearchResults) {
    const struct {
        const char* what;
        PortRecord port;
        int fullSearches;  // of the 731 days
    } cases[] = {
        {"plain", testing_support::MadeUpPort(), 0},
        {"M2 only", m2Only(), 0},
        {"diurnal, days without a high water", onlyDiurnal(), 0},
        {"level water, no turning point", testing_support::EmptyPort(), 0},
        {"heights beyond any tide", hugeShallowWater(), 731},
    };
    for (const auto& c : cases) {
        Tally tally;
        EXPECT_TRUE(sameOverDays(c.port, 2024, 731, tally)) << c.what;
        EXPECT_EQ(tally.fullSearches, c.fullSearches) << c.what;
    }
}

TEST(QuickDaySearch, FailsAsTheFullSearchForAYearNotComputed) {
    double range = 5;
    TimeHeightSeries highs(2);
    const engine::FileResult r = engine::QuickDayRangeAndHighWaters(
        testing_support::MadeUpPort(), engine::JulianDay(1, 1, 3001, 0, 0, 0), range, highs);
    EXPECT_EQ(r.status, engine::FileStatus::Refused);
    EXPECT_EQ(range, 0);
    EXPECT_TRUE(highs.empty());
    Tally tally;
    EXPECT_TRUE(
        sameAsFullSearch(testing_support::MadeUpPort(), engine::JulianDay(31, 12, 3000, 0, 0, 0), tally));
}

// Every shipped port over a whole year. The sanitizer build, several times slower, takes four or
// five ports over the first quarter of the year.
struct ShippedSpan {
    const char* area;
    int year;
};

void PrintTo(const ShippedSpan& span, std::ostream* os) { *os << span.area << " " << span.year; }

class QuickDaySearchShipped : public testing::TestWithParam<ShippedSpan> {};

TEST_P(QuickDaySearchShipped, EveryPortEveryDayAsTheFullSearch) {
    std::vector<PortRecord> ports;
    ASSERT_TRUE(
        engine::ReadAllPortRecords(testing_support::SourceDir() + "/data/" + GetParam().area, ports).ok());
    ASSERT_GT(ports.size(), 40u);
#ifdef TIDEWYN_SANITIZED
    const size_t portStep = ports.size() / 4;
    const int days = 90;
#else
    const size_t portStep = 1;
    const int days = engine::IsLeapYear(GetParam().year) ? 366 : 365;
#endif
    for (size_t i = 0; i < ports.size(); i += portStep) {
        Tally tally;
        EXPECT_TRUE(sameOverDays(ports[i], GetParam().year, days, tally))
            << GetParam().area << " port " << i + 1;
        // The quick heights carried every day: the full sum gave only the checks at the ends of
        // their blocks, the turning points and the minutes they left in doubt.
        EXPECT_EQ(tally.fullSearches, 0) << GetParam().area << " port " << i + 1;
        EXPECT_LE(tally.mostSummedInFull, 60) << GetParam().area << " port " << i + 1;
    }
}

std::string spanName(const testing::TestParamInfo<ShippedSpan>& span) {
    const std::string area = span.param.area;
    return area.substr(0, area.find('.')) + std::to_string(span.param.year);
}

INSTANTIATE_TEST_SUITE_P(Years, QuickDaySearchShipped,
                         testing::Values(ShippedSpan{"UK.hc", 2024}, ShippedSpan{"UK.hc", 2025},
                                         ShippedSpan{"France.hc", 2024}, ShippedSpan{"France.hc", 2025}),
                         spanName);

}  // namespace
