#pragma once
// High and low waters of a computed curve, the day's range and the day list.

#include <cstdint>
#include <string>

#include "engine/state.h"

namespace engine {

// Turning points of DayCurve into DayEvents (at most 15, a last one after 24.0844 h dropped),
// DayRange from rows 1 to 145 and EventCount. Points is set to 146. A day whose heights are not
// all finite (one that could not be computed) has no events and a range of 0.
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
