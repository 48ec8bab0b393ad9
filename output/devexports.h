#pragma once
// The files of the developer tables, written into the program folder: the yearly high-water
// times and the tables of angles and factors. Numbers in the default text of a double, fields
// separated by "," and, under a decimal comma, quoted.

#include <string>
#include <vector>

#include "engine/devtables.h"
#include "engine/records.h"
#include "output/textfile.h"

namespace output {

// The port's name (cut at a NUL, trimmed, "/" as "_") and "-HWTimes.csv" in the folder.
std::string HWTimesPath(const std::string& folder, const std::string& portName);
// The header and one line per day, numbered from 1.
TextFile HWTimesFile(const std::vector<engine::HWYearRow>& rows);

// The two forms of the table of angles and factors: with a line index from 0 and rate names in
// lower case, or without the index and with the rate names of the orbital constants.
enum class FactorsForm { Indexed, Orbital };
// The first year and "Factors.csv" in the folder.
std::string FactorsPath(const std::string& folder, int firstYear);
TextFile FactorsFile(const std::vector<engine::FactorsRow>& table, FactorsForm form);

}  // namespace output
