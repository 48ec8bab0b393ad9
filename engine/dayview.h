#pragma once
// What the day picture and its read-outs compute from the day's tables: the vertical scale,
// the springs/neaps lag, the row of a time and the rate of rise or fall.

#include <optional>
#include <vector>

#include "engine/tables.h"

namespace engine {

// Lowest heights lowered to a whole metre in four bands (-1 to -4 m); 0 and anything below
// -4 m stay as they are.
double LowerToWholeMetre(double lowest);

// The highest height of `drawn` and the lowest of `day` over rows 1 to curvePoints - 1, both
// starting from 0; heights that are not finite are passed over.
struct HeightRange {
    double Highest = 0, Lowest = 0;
};
HeightRange DayHeightRange(const CurveTable& drawn, const CurveTable& day, int curvePoints);

// Columns 1 and 2 of rows 1 to 500 of the day copied into the output curve.
void FillOutputCurve(const CurveTable& day, CurveTable& output);

struct CurveScale {
    double Top = 0;     // Int(highest) + 1
    double Bottom = 0;  // the lowest height after the bands
};
// The curve view's scale: highest of `drawn` and lowest of `day` over rows 1 to
// curvePoints - 1, both starting from 0; heights that are not finite are passed over.
CurveScale TideCurveScale(const CurveTable& drawn, const CurveTable& day, int curvePoints);
// The layers view's scale: the top from the day's highest height, the bottom fixed at -2 m.
CurveScale LayersScale(const CurveTable& day, int curvePoints);

// The heights of the grid's lines from -1 m to `top`: every metre, or, when lines a metre apart
// would stand closer than `minSpacing` metres (or more than 100 would be drawn), every 2, 5, 10,
// 20, 50 ... metres, with the top line always last.
std::vector<double> GridHeights(double top, double bottom, double minSpacing);

// Rows from the reference S2 high to the first M2 high after it (among the first four M2
// peaks), or nothing when no M2 high qualifies. Peaks are those of the absolute
// contributions over rows 1 to curvePoints - 2.
std::optional<int> SpringNeapRows(const LayerTable& m2, const LayerTable& s2, int curvePoints);

// A moment on a port's day tables: the table's day and the time on it.
struct TableMoment {
    double Date = 0;  // a whole date value
    int Minutes = 0;  // whole minutes from that day's midnight, 0 to 1439
    bool operator==(const TableMoment&) const = default;
};

// The moment of a UTC instant on a port's day tables: the port's standard time (UTC less its
// zone hours), one hour later when applySummerTime is set and IsSummerTime holds for the
// standard-time date (as a day's table is adjusted as a whole), carried into the day before or
// after across midnight. Seconds are dropped, as a clock's "hh:mm" drops them.
TableMoment TableMomentOf(double utcInstant, int zoneHours, bool applySummerTime);

// The time of day of a UTC instant on the table of a day whose times are (summerTime) or are
// not adjusted for summer time, in whole minutes from midnight: the minutes of TableMomentOf
// with the adjustment given, whatever the day.
int TableClockMinutes(double utcInstant, int zoneHours, bool summerTime);

// The row of a 10-minute table that holds time T: CInt(T / (1/6)) + 1.
int RowOfTime(double T);

struct RiseFall {
    int Row = 1, Next = 1, Previous = 1;  // the rows read
    bool Rising = true;                   // a level step counts as rising
    bool HasRate = false;                 // false when the two rows have the same time
    double Rate = 0;                      // metres per hour, not signed
};
// Direction and rate at time T (clamped to 0..24 h): the direction from rows Row and Row + 1,
// the rate from the heights of rows Row - 1 and Row + 2 (fewer rows at the ends of the day).
RiseFall RiseFallAt(const CurveTable& curve, int curvePoints, double T);

}  // namespace engine
