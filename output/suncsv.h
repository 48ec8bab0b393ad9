#pragma once
// The sunrise tool's CSV file of the month sun table.

#include <string>

#include "output/textfile.h"

namespace output {

// The file of the month sun table (SunTable, SunValues, its month and place): a heading of the
// place, the time basis of the table's days and the position; a column line; one line a day
// with the date as day/month/year and the six times as "hh:mm:ss" ("None" for an event that
// does not happen); then one more line end. ApplySummer is the summer setting the table was
// computed with.
TextFile SunCsvFile(bool ApplySummer);

// The file a chosen name is saved as: the name (after the last "/") cut at its first "." and
// given ".csv", or ".csv" appended to a name without "."; the folders stay as chosen. Empty
// when the name is blank.
std::string SunCsvPath(const std::string& chosen);

}  // namespace output
