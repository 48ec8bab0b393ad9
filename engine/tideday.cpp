#include "engine/tideday.h"

#include <limits>

#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"

namespace engine {

namespace {

constexpr int kRows = 149, kSummerRows = 152;
constexpr double kNoHeight = std::numeric_limits<double>::quiet_NaN();

}  // namespace

FileResult ComputeTideDay(const PortRecord& Record, double Date, bool SummerTime,
                          std::optional<double> ChartedDepth, TideDay& Day) {
    Day.Curve.clear();
    for (auto& l : Day.Layers) l.clear();
    Day.Waters = {};
    auto& L = Day.Layers;
    const std::array<LayerTable*, 7> layers = {&L[0], &L[1], &L[2], &L[3], &L[4], &L[5], &L[6]};
    const FileResult r =
        DayTideTable(Record, DateYear(Date), DateMonth(Date), DayOfYear(Date), SummerTime,
                     ChartedDepth.value_or(0), ChartedDepth.has_value(), Day.Curve, layers, Day.MeanLevel);
    if (!r.ok()) {
        FillUncomputable(Day.Curve, layers, kRows);
        Day.Rows = kRows;
        Day.MeanLevel = kNoHeight;
        return r;
    }
    Day.Rows = SummerTime ? kSummerRows : kRows;
    Day.Waters = DayHighLowWaters(Day.Curve);
    return {};
}

}  // namespace engine
