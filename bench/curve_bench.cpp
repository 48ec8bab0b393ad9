// The day computation as the program runs it: file reads included, shipped data, Dover.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/devtables.h"
#include "engine/highlow.h"
#include "engine/recordfile.h"
#include "engine/tideday.h"
#include "engine/tidemonth.h"

namespace {

constexpr int16_t kDover = 77;

// A benchmark on a file that could not be read measures nothing: stop with the reason.
void mustSucceed(const engine::FileResult& r) {
    if (r.ok()) return;
    std::fprintf(stderr, "%s\n", r.message.c_str());
    std::exit(1);
}

std::string doverArea() { return std::string(TIDEWYN_SOURCE_DIR) + "/data/UK.hc"; }

// The charted depth of 1.5 m, added to the heights as under output option 3.
const std::optional<double> kDepth = 1.5;

// Dover's day of Date as the program computes it, its record read from the file.
void dayAndEvents(double date, engine::TideDay& day) {
    engine::PortRecord record;
    mustSucceed(engine::ReadPortRecord(doverArea(), kDover, record));
    mustSucceed(engine::ComputeTideDay(record, date, false, kDepth, day));
    benchmark::DoNotOptimize(day.Waters.Count);
}

void BM_Day(benchmark::State& state) {
    const auto day = std::make_unique<engine::TideDay>();
    const double date = engine::DateSerial(2025, 6, 15);
    for (auto _ : state) dayAndEvents(date, *day);
}
BENCHMARK(BM_Day)->Unit(benchmark::kMicrosecond);

// The month view: every day of a 31-day month, the record read once.
void BM_MonthView(benchmark::State& state) {
    engine::MonthTides month;
    for (auto _ : state) {
        engine::PortRecord record;
        mustSucceed(engine::ReadPortRecord(doverArea(), kDover, record));
        mustSucceed(engine::ComputeMonthTides(record, 2025, 7, false, kDepth, month));
        benchmark::DoNotOptimize(month.Days.data());
    }
}
BENCHMARK(BM_MonthView)->Unit(benchmark::kMillisecond);

// The yearly high-water export's core: two years of Dover, the record read once.
void BM_TwoYearHighWaterExport(benchmark::State& state) {
    std::vector<engine::HWYearRow> rows;
    for (auto _ : state) {
        mustSucceed(engine::YearHighWaters(doverArea(), kDover, 2025, rows));
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_TwoYearHighWaterExport)->Unit(benchmark::kMillisecond);

// The same two years by the full search: every minute of every day's 50 hours summed in full.
void BM_TwoYearFullMinuteSearch(benchmark::State& state) {
    engine::PortRecord record;
    mustSucceed(engine::ReadPortRecord(doverArea(), kDover, record));
    const double first = engine::JulianDay(1, 1, 2025, 0, 0, 0);
    engine::TimeHeightSeries series;
    for (auto _ : state) {
        double range = 0;
        for (int i = 0; i < 730; ++i) {
            mustSucceed(engine::DayTideMinutes(record, first + i, series));
            auto highs = engine::DayRangeAndHighWaters(series, range);
            benchmark::DoNotOptimize(highs.data());
        }
    }
}
BENCHMARK(BM_TwoYearFullMinuteSearch)->Unit(benchmark::kMillisecond);

}  // namespace
