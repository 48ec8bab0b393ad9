#pragma once
// The developer tables: each day's range and first two high waters over two years, for checking
// the high waters against other tables, and the daily angles, factors and rates of the four main
// constituents.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/recordfile.h"
#include "engine/records.h"

namespace engine {

// One day of the yearly high-water export. Julian dates of the high waters; -1 for a high water
// the day does not have.
struct HWYearRow {
    int16_t DayNo = 0;  // day of the year, 1 for 1 January
    int16_t YearNo = 0;
    double Range = 0;  // metres, from the one-minute search
    double FirstHW = -1;
    double SecondHW = -1;
};

// Every day of Year and of the year after it for record RecordNo of the area file, from the
// one-minute heights without the user depth. Rows is emptied first and filled only when every
// day was computed; the record unreadable or damaged, or a year the engine does not compute,
// leaves it empty and returns why.
FileResult YearHighWaters(const std::string& AreaFile, int16_t RecordNo, int16_t Year,
                          std::vector<HWYearRow>& Rows);

// The table of angles and factors from 1 January of FirstYear to 31 December of the year after:
// one row a day, whose values are those of the day before it for the first row and of the day
// itself for the others; the rates come from the next day. FirstYear lies in 1001 to 2999.
std::vector<FactorsRow> FactorsTableFrom(int FirstYear);

}  // namespace engine
