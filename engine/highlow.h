#pragma once
// High and low waters of a computed curve, the day's range and the day list.

#include <cstdint>
#include <string>

#include "engine/state.h"

namespace engine {

// The high and low waters of a displayed day's curve.
struct HighLowWaters {
    EventTable Events;  // (1, k) time, (2, k) height of the turning points found, k = 1 to Found
    int16_t Found = 0;  // at most 15
    int16_t Count = 0;  // the day's: Found, less a last one after 24.0844 h
    double Range = 0;   // highest less lowest height of rows 1 to 145
};

// The turning points of rows 1 to 146 of a displayed day's curve (strict on both sides) and the
// day's range. A curve whose heights are not all finite (a day that could not be computed) has
// none and a range of 0.
HighLowWaters DayHighLowWaters(const CurveTable& Curve);

// DayHighLowWaters of DayCurve: the rows found into DayEvents, DayRange and EventCount. Points
// is set to 146. A day that could not be computed leaves DayEvents as it was.
void FindHighLowWaters(int& Points, int16_t& Count);
// The same on the adjustment sites' curves; Points is lowered by one. No range is kept.
void FindHighLowWatersIntermediate(int& Points, int16_t& Count);
void FindHighLowWatersPort1(int& Points, int16_t& Count);
void FindHighLowWatersPort2(int& Points, int16_t& Count);

// Writes DayEventText, DayText and DayTextCount from DayEvents, DayRange, PortName and the
// date, and returns the caption of the day list.
std::string ShowDayTides(int Count);

// The high waters of the second day of a one-minute series (times less 24) and the range of
// its turning points from 24 h on; a range of 0 and no high waters when the series has no
// turning point or a height that is not finite. The series ends with a spare pair, which is
// never a neighbour.
TimeHeightSeries DayRangeAndHighWaters(const TimeHeightSeries& Series, double& Range);

}  // namespace engine
