// tidedump day / minutes
#include <filesystem>
#include <random>

#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/highlow.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "tidedump.h"

namespace tidedump {

namespace {

// A user-depth file holding Depth at record Port, removed again on destruction.
class TempDepthFile {
public:
    TempDepthFile(int16_t Port, float Depth) {
        std::random_device rd;
        path_ =
            (std::filesystem::temp_directory_path() / ("tidedump-" + std::to_string(rd()) + ".DEP")).string();
        engine::DepthRecord d;
        d.PortIndex = Port;
        d.ChartedDepth = Depth;
        result_ = engine::WriteRecord(path_, engine::DepthRecord::kSize, Port, engine::EncodeDepthRecord(d));
    }
    ~TempDepthFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    const std::string& path() const { return path_; }
    const engine::FileResult& result() const { return result_; }

private:
    std::string path_;
    engine::FileResult result_;
};

// The arguments that are neither flags nor option values.
size_t positionalCount(const Args& args) {
    size_t n = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--summer") continue;
        if (args[i] == "--option" || args[i] == "--depth") {
            ++i;
            continue;
        }
        ++n;
    }
    return n;
}

}  // namespace

int cmdDay(const Args& args) {
    if (positionalCount(args) != 3) return usageOf("day");
    long port = 0;
    if (const int refused = portArg(args[0], args[1], "day", port)) return refused;
    const auto date = dateArg(args[2]);
    const auto outputOption = numberArg(option(args, "--option", "1"), 1, 3);
    const auto userDepth =
        numberArg(option(args, "--depth", "0"), engine::kDepthRange.lo, engine::kDepthRange.hi);
    if (!date) return usage("day: YYYY-MM-DD must be a calendar day of the years " + computedYears());
    if (!outputOption) return usage("day: --option must be a number from 1 to 3");
    if (!userDepth)
        return usage("day: --depth must be a number of metres from " + num(engine::kDepthRange.lo) + " to " +
                     num(engine::kDepthRange.hi));
    const bool summer = flag(args, "--summer");
    auto& s = engine::State();
    s.AreaFilePath = args[0];
    s.CurrentPort = static_cast<int16_t>(port);
    s.OutputOption = static_cast<float>(*outputOption);
    const TempDepthFile depth(s.CurrentPort, static_cast<float>(*userDepth));
    if (!depth.result().ok()) return failed(depth.result());
    s.DepthFilePath = depth.path();
    s.SelectedDate = engine::DateSerial(date->year, date->month, date->day);
    s.SelectedYear = date->year;
    s.SelectedMonth = date->month;
    s.SelectedDay = date->day;
    s.SelectedDayOfYear = engine::DayOfYear(s.SelectedDate);

    int16_t record = 0;
    int points = 0;
    const auto result = engine::CalcDayTide(record, s.SelectedDayOfYear, points, summer);
    if (!result.ok()) return failed(result);
    int searchPoints = 0;
    int16_t count = 0;
    engine::FindHighLowWaters(searchPoints, count);

    Csv csv;
    csv.line("row", "time", "height", "M2", "S2", "K1", "O1", "F4", "F6", "Z0");
    const int rows = summer ? 152 : 149;
    const auto layers = s.DayLayers();
    for (int r = 1; r <= rows; ++r) {
        csv.field(r).field(s.DayCurve(1, r)).field(s.DayCurve(2, r));
        for (const auto* layer : layers) csv.field((*layer)(2, r));
        csv.end();
    }
    csv.line("event", "time", "height");
    for (int k = 1; k <= count; ++k) csv.line(k, s.DayEvents(1, k), s.DayEvents(2, k));
    csv.line("range", s.DayRange);
    return csv.print();
}

int cmdMinutes(const Args& args) {
    if (args.size() != 3) return usageOf("minutes");
    long port = 0;
    if (const int refused = portArg(args[0], args[1], "minutes", port)) return refused;
    const auto date = dateArg(args[2]);
    if (!date) return usage("minutes: YYYY-MM-DD must be a calendar day of the years " + computedYears());
    engine::State().AreaFilePath = args[0];
    engine::TimeHeightSeries series;
    const auto result = engine::CalcDayTideMinutes(
        static_cast<int16_t>(port), engine::JulianDay(date->day, date->month, date->year, 0, 0, 0), series);
    if (!result.ok()) return failed(result);
    double range = 0;
    const auto highs = engine::DayRangeAndHighWaters(series, range);
    Csv csv;
    csv.line("time", "height");
    for (const auto& p : series) csv.line(p.Time, p.Height);
    csv.line("range", range);
    csv.field("hw");
    for (const auto& h : highs) csv.field(h.Time);
    csv.end();
    return csv.print();
}

}  // namespace tidedump
