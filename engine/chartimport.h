#pragma once
// Chart sets: an index file "*.cha" and its companions of the same base name, copied into the
// program folder.

#include <string>
#include <vector>

namespace engine {

// The companions of an index file, as named: its base, the name up to and including its first
// ".", followed by "cht", "l20", "l30" and "l40", in that order.
std::vector<std::string> ChartCompanions(const std::string& indexName);

// Copies the companions of one index file from `sourceFolder` into `programFolder`, each read
// whole before its target is replaced through a temporary file. Names are matched without
// regard to case: a companion spelt otherwise in either folder is found, and a target spelt
// otherwise is replaced under its own name. A companion the source folder does not have is passed
// over. Returns the copies that failed, one line each with path and reason.
std::vector<std::string> ImportChartSet(const std::string& sourceFolder, const std::string& indexName,
                                        const std::string& programFolder);

}  // namespace engine
