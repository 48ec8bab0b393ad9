#pragma once
// Every day of a month of a port's tides, as the main window's month view lists them, and the
// texts and lines of that list.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/highlow.h"
#include "engine/recordfile.h"

namespace engine {

struct MonthDayTides {
    double Date = 0;          // the day's date value
    bool SummerTime = false;  // its times on the summer clock
    HighLowWaters Waters;
};

struct MonthTides {
    int Year = 0, Month = 0;
    std::vector<MonthDayTides> Days;  // day n of the month at n - 1
};

// The high and low waters of every day of Month of Year of a port record, each day as the day
// view computes it (ComputeTideDay) with its own clock: summer time when ApplySummerTime is set
// and IsSummerTime holds for the day. A year outside 1000 to 3000 is refused with no days.
FileResult ComputeMonthTides(const PortRecord& Record, int Year, int Month, bool ApplySummerTime,
                             std::optional<double> ChartedDepth, MonthTides& Tides);

// The month view's texts of one day: "5 Jul", "(Fri)" (the locale's names) and each tide's
// time "3:12" and height "4.56".
struct MonthDayTexts {
    std::string Day, Weekday;
    std::vector<std::pair<std::string, std::string>> Tides;
};
std::vector<MonthDayTexts> MonthTideTexts(const MonthTides& Tides);

// The month list's lines from the month view's rows after its first (the port's): each day is a
// row of two empty texts ("  "), its heading row (Day + " " + Weekday), then a row for each
// tide (time + "   " + height).
std::vector<std::string> MonthTideLines(const std::vector<std::string>& RowsA,
                                        const std::vector<std::string>& RowsB);

}  // namespace engine
