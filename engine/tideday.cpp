#include "engine/tideday.h"

#include <limits>

#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"

namespace engine {

namespace {

constexpr int kRows = 149, kSummerRows = 152;
constexpr double kTenMinutes = 1.0 / 6;
constexpr double kNoHeight = std::numeric_limits<double>::quiet_NaN();

// A day that cannot be computed: the rows keep their times, with no heights.
void fillRefused(TideDay& day) {
    day.Rows = kRows;
    for (int r = 1; r <= kRows; ++r) {
        const double t = (r - 1) * kTenMinutes;
        day.Curve(1, r) = t;
        day.Curve(2, r) = kNoHeight;
        for (auto& l : day.Layers) {
            l(1, r) = t;
            l(2, r) = kNoHeight;
        }
    }
    day.MeanLevel = kNoHeight;
}

}  // namespace

FileResult ComputeTideDay(const PortRecord& Record, double Date, bool SummerTime,
                          std::optional<double> ChartedDepth, TideDay& Day) {
    Day.Curve.clear();
    for (auto& l : Day.Layers) l.clear();
    Day.Waters = {};
    auto& L = Day.Layers;
    const FileResult r = DayTideTable(Record, DateYear(Date), DateMonth(Date), DayOfYear(Date), SummerTime,
                                      ChartedDepth.value_or(0), ChartedDepth.has_value(), Day.Curve,
                                      {&L[0], &L[1], &L[2], &L[3], &L[4], &L[5], &L[6]}, Day.MeanLevel);
    if (!r.ok()) {
        fillRefused(Day);
        return r;
    }
    Day.Rows = SummerTime ? kSummerRows : kRows;
    Day.Waters = DayHighLowWaters(Day.Curve);
    return {};
}

}  // namespace engine
