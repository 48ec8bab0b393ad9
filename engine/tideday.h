#pragma once
// One day of a port's tides from its inputs: the 10-minute curve with its layers and mean level,
// and the day's high and low waters, as the main window's day view shows them.

#include <optional>

#include "engine/highlow.h"
#include "engine/recordfile.h"
#include "engine/state.h"

namespace engine {

struct TideDay {
    int Rows = 0;          // 149, or 152 in summer time
    CurveTable Curve;      // rows 1 to Rows: (1, r) (r - 1) / 6 h on the day's clock, (2, r) height
    LayerSet Layers;       // M2, S2, K1, O1, F4, F6, Z0 over the same rows
    double MeanLevel = 0;  // Z0 with the month's correction
    HighLowWaters Waters;
};

// The day of Date (a date value) of a port record: with SummerTime the rows run from 23:00 of
// the day before (00:00 on the summer clock); ChartedDepth, when given, is added to every height.
// Rows and layers past Rows are 0. A year outside 1000 to 3000 is refused: the day then holds 149
// rows with their times and heights that are not a number, and no high or low waters.
// CalcDayTide with FindHighLowWaters give the same for the displayed day, in the shared state.
FileResult ComputeTideDay(const PortRecord& Record, double Date, bool SummerTime,
                          std::optional<double> ChartedDepth, TideDay& Day);

}  // namespace engine
