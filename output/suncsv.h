#pragma once
// The month sun table (SunTable, SunValues, its month and place) as text: the sunrise tool's
// CSV file, the clipboard copies of the month's sun times and the text save.

#include <string>
#include <vector>

#include "output/textfile.h"

namespace output {

// The heading fields of the table's month: the place, the time basis of its first day ("Time
// Zone = Summer Time" or "Time Zone = Standard Time"), in a month whose clock changes the day
// from which the other basis holds ("From 31 Mar: Summer Time"), then the position texts.
// ApplySummer is the summer setting the table was computed with.
std::vector<std::string> SunHeadingFields(const std::string& place, const std::string& latitude,
                                          const std::string& longitude, bool ApplySummer);
// "Date", "Sunrise", "Sunset", "Civil Dawn", "Civil Dusk", "Nautical Dawn", "Nautical Dusk".
std::vector<std::string> SunColumnNames();
// A day of the table under those names: the date as day/month/year and the six times as
// "hh:mm:ss", "None" for an event that does not happen.
std::vector<std::string> SunDayFields(int day);

// The CSV file: the heading, the column line, a line a day, then one more line end.
TextFile SunCsvFile(bool ApplySummer);

// The file a chosen name is saved as: the name (after the last "/") cut at its first "." and
// given ".csv", or ".csv" appended to a name without "."; the folders stay as chosen. Empty
// when the name is blank.
std::string SunCsvPath(const std::string& chosen);

// The text save: the place and position; the column names; a line a day with the table's cells
// as they stand; TAB before every field.
TextFile SunTextFile();

}  // namespace output
