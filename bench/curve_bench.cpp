// The day computation as the program runs it: file reads included, shipped data, Dover.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/devtables.h"
#include "engine/highlow.h"
#include "engine/recordfile.h"
#include "engine/state.h"

namespace {

constexpr int16_t kDover = 77;

// A benchmark on a file that could not be read measures nothing: stop with the reason.
void mustSucceed(const engine::FileResult& r) {
    if (r.ok()) return;
    std::fprintf(stderr, "%s\n", r.message.c_str());
    std::exit(1);
}

// The current port Dover of data/UK.hc with a user-depth file of one record per port.
class DoverSetup {
public:
    DoverSetup() {
        depthPath_ = (std::filesystem::temp_directory_path() / "tidewyn-bench-UK.DEP").string();
        engine::DepthRecord d;
        d.ChartedDepth = 1.5f;
        for (int16_t n = 1; n <= kDover; ++n)
            mustSucceed(
                engine::WriteRecord(depthPath_, engine::DepthRecord::kSize, n, engine::EncodeDepthRecord(d)));
        engine::ResetState();
        auto& s = engine::State();
        s.AreaFilePath = std::string(TIDEWYN_SOURCE_DIR) + "/data/UK.hc";
        s.DepthFilePath = depthPath_;
        s.CurrentPort = kDover;
        s.OutputOption = 3;
        s.SelectedDate = engine::DateSerial(2025, 6, 15);
        s.SelectedYear = 2025;
        s.SelectedMonth = 6;
        s.SelectedDay = 15;
        s.SelectedDayOfYear = engine::DayOfYear(s.SelectedDate);
    }
    ~DoverSetup() {
        std::error_code ec;
        std::filesystem::remove(depthPath_, ec);
    }

private:
    std::string depthPath_;
};

void dayAndEvents(int dayOfYear) {
    int16_t record = 0, count = 0;
    int points = 0, searchPoints = 0;
    mustSucceed(engine::CalcDayTide(record, dayOfYear, points, false));
    engine::FindHighLowWaters(searchPoints, count);
    benchmark::DoNotOptimize(count);
}

void BM_Day(benchmark::State& state) {
    DoverSetup setup;
    for (auto _ : state) dayAndEvents(engine::State().SelectedDayOfYear);
}
BENCHMARK(BM_Day)->Unit(benchmark::kMicrosecond);

// The month view: every day of a 31-day month.
void BM_MonthView(benchmark::State& state) {
    DoverSetup setup;
    const int first = engine::DayOfYear(engine::DateSerial(2025, 7, 1));
    for (auto _ : state)
        for (int i = first; i < first + 31; ++i) dayAndEvents(i);
}
BENCHMARK(BM_MonthView)->Unit(benchmark::kMillisecond);

// The yearly high-water export's core: two years of Dover, the record read once.
void BM_TwoYearHighWaterExport(benchmark::State& state) {
    DoverSetup setup;
    std::vector<engine::HWYearRow> rows;
    for (auto _ : state) {
        mustSucceed(engine::YearHighWaters(engine::State().AreaFilePath, kDover, 2025, rows));
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_TwoYearHighWaterExport)->Unit(benchmark::kMillisecond);

// The same two years by the full search: every minute of every day's 50 hours summed in full.
void BM_TwoYearFullMinuteSearch(benchmark::State& state) {
    DoverSetup setup;
    engine::PortRecord record;
    mustSucceed(engine::ReadPortRecord(engine::State().AreaFilePath, kDover, record));
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
