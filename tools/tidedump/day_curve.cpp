// tidedump day / minutes
#include <cstdio>
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

int fail(const engine::FileResult& r) {
    std::fprintf(stderr, "tidedump: %s\n", r.message.c_str());
    return 1;
}

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
    int y, m, d;
    if (positionalCount(args) != 3 || !parseIsoDate(args[2], y, m, d))
        return usage("usage: tidedump day AREAFILE N YYYY-MM-DD [--summer] [--option X] [--depth D]");
    const auto port = wholeArg(args[1], 1, 32767);
    const auto outputOption = numberArg(option(args, "--option", "1"), 1, 3);
    const auto userDepth = numberArg(option(args, "--depth", "0"), -1e6, 1e6);
    if (!port) return usage("day: N must be a port number from 1 to 32767");
    if (!outputOption) return usage("day: --option must be a number from 1 to 3");
    if (!userDepth) return usage("day: --depth must be a number of metres");
    const bool summer = flag(args, "--summer");
    auto& s = engine::State();
    s.AreaFilePath = args[0];
    s.CurrentPort = static_cast<int16_t>(*port);
    s.OutputOption = static_cast<float>(*outputOption);
    const TempDepthFile depth(s.CurrentPort, static_cast<float>(*userDepth));
    if (!depth.result().ok()) return fail(depth.result());
    s.DepthFilePath = depth.path();
    s.SelectedDate = engine::DateSerial(y, m, d);
    s.SelectedYear = y;
    s.SelectedMonth = m;
    s.SelectedDay = d;
    s.SelectedDayOfYear = engine::DayOfYear(s.SelectedDate);

    int16_t record = 0;
    int points = 0;
    auto result = engine::CalcDayTide(record, s.SelectedDayOfYear, points, summer);
    if (!result.ok()) return fail(result);
    int searchPoints = 0;
    int16_t count = 0;
    engine::FindHighLowWaters(searchPoints, count);

    std::printf("row,time,height,M2,S2,K1,O1,F4,F6,Z0\n");
    const int rows = summer ? 152 : 149;
    const auto layers = s.DayLayers();
    for (int r = 1; r <= rows; ++r) {
        std::printf("%d,%s,%s", r, num(s.DayCurve(1, r)).c_str(), num(s.DayCurve(2, r)).c_str());
        for (const auto* layer : layers) std::printf(",%s", num((*layer)(2, r)).c_str());
        std::printf("\n");
    }
    std::printf("event,time,height\n");
    for (int k = 1; k <= count; ++k)
        std::printf("%d,%s,%s\n", k, num(s.DayEvents(1, k)).c_str(), num(s.DayEvents(2, k)).c_str());
    std::printf("range,%s\n", num(s.DayRange).c_str());
    return 0;
}

int cmdMinutes(const Args& args) {
    int y, m, d;
    if (args.size() != 3 || !parseIsoDate(args[2], y, m, d))
        return usage("usage: tidedump minutes AREAFILE N YYYY-MM-DD");
    const auto port = wholeArg(args[1], 1, 32767);
    if (!port) return usage("minutes: N must be a port number from 1 to 32767");
    auto& s = engine::State();
    s.AreaFilePath = args[0];
    const auto record = static_cast<int16_t>(*port);
    engine::TimeHeightSeries series;
    auto result = engine::CalcDayTideMinutes(record, engine::JulianDay(d, m, y, 0, 0, 0), series);
    if (!result.ok()) return fail(result);
    double range = 0;
    const auto highs = engine::DayRangeAndHighWaters(series, range);
    std::printf("time,height\n");
    for (const auto& p : series) std::printf("%s,%s\n", num(p.Time).c_str(), num(p.Height).c_str());
    std::printf("range,%s\n", num(range).c_str());
    std::printf("hw");
    for (const auto& h : highs) std::printf(",%s", num(h.Time).c_str());
    std::printf("\n");
    return 0;
}

}  // namespace tidedump
