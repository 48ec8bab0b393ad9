#pragma once
// A day's range and high waters from the one-minute heights, found quickly: the yearly export
// searches 730 days at a time on the user-interface thread.

#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/state.h"

namespace engine {

// How a day was searched: whether the quick heights were refused and the day searched in full,
// and otherwise how many minutes the full harmonic sum gave.
struct DaySearchCount {
    bool fullSearch = false;
    int minutesSummedInFull = 0;
};

// What DayTideMinutes followed by DayRangeAndHighWaters give for the day that starts at Julian
// date Date: the same high waters on the same minutes with the same heights, and the same
// range. Heights are summed quickly over the minutes the search reads, and the full harmonic
// sum decides every minute whose rise or fall they leave in doubt and gives every height
// returned; Count, when given, tells how the day went. Fails only as DayTideMinutes does,
// leaving Range 0 and HighWaters empty.
FileResult QuickDayRangeAndHighWaters(const PortRecord& Record, double Date, double& Range,
                                      TimeHeightSeries& HighWaters, DaySearchCount* Count = nullptr);

}  // namespace engine
