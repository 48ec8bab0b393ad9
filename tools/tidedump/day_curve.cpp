// tidedump day / minutes
#include <memory>
#include <optional>

#include "engine/astro.h"
#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/highlow.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "engine/tideday.h"
#include "tidedump.h"

namespace tidedump {

namespace {

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
    // The program keeps the depth as a single and adds it under every option but exactly 1.
    const std::optional<double> depth = static_cast<float>(*outputOption) != 1.0f
                                            ? std::optional<double>(static_cast<float>(*userDepth))
                                            : std::nullopt;
    if (!engine::YearIsComputable(date->year)) return failed(engine::YearRefused(date->year));
    engine::PortRecord record;
    if (const auto read = engine::ReadPortRecord(args[0], static_cast<int16_t>(port), record); !read.ok())
        return failed(read);
    const auto day = std::make_unique<engine::TideDay>();
    const double dateValue = engine::DateSerial(date->year, date->month, date->day);
    if (const auto result = engine::ComputeTideDay(record, dateValue, summer, depth, *day); !result.ok())
        return failed(result);

    Csv csv;
    csv.line("row", "time", "height", "M2", "S2", "K1", "O1", "F4", "F6", "Z0");
    for (int r = 1; r <= day->Rows; ++r) {
        csv.field(r).field(day->Curve(1, r)).field(day->Curve(2, r));
        for (const auto& layer : day->Layers) csv.field(layer(2, r));
        csv.end();
    }
    const engine::HighLowWaters& waters = day->Waters;
    csv.line("event", "time", "height");
    for (int k = 1; k <= waters.Count; ++k) csv.line(k, waters.Events(1, k), waters.Events(2, k));
    csv.line("range", waters.Range);
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
