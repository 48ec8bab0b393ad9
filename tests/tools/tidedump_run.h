#pragma once
// The tools run as programs, and the area files the tidedump tests feed it.

#include <chrono>
#include <string>
#include <vector>

#include "engine/records.h"
#include "engine/test_support.h"

namespace tool_tests {

struct ToolRun {
    std::string out, err;
    int exitCode = -1;  // when the process exited
    int signal = 0;     // when a signal ended it
    bool timedOut = false;
    bool exited() const { return exitCode >= 0 && !timedOut; }
    // For failure messages: how it ended and what it said on stderr.
    std::string describe() const;
};

// Runs the program at path (or found on PATH) with args; a run still going after `guard` is
// killed and marked timedOut.
ToolRun RunTool(const std::string& path, const std::vector<std::string>& args,
                std::chrono::seconds guard = std::chrono::seconds(30));
// RunTool for tidedump.
ToolRun RunTidedump(const std::vector<std::string>& args,
                    std::chrono::seconds guard = std::chrono::seconds(30));

// RFC 4180 rows: fields split at commas, quoted fields with doubled quotes and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);
// Whether a field is "nan", "inf" or "-inf", as tidedump would write a number that is not finite.
bool HasNonFiniteField(const std::string& csv);

// The shipped UK.hc and Dover, its record 77.
std::string ShippedArea(const std::string& name = "UK.hc");
inline constexpr long kDover = 77;
engine::Bytes ShippedRecord(long n, const std::string& area = "UK.hc");

// Float fields of an area record: Latitude and Longitude, the 13 constants, the 24 month values.
inline constexpr size_t kLatitudeOffset = 40, kLongitudeOffset = 44;
inline constexpr size_t kConstantsOffset = 49, kMonthDZ0Offset = 101;  // MonthM2Hm follows MonthDZ0
std::vector<size_t> FloatOffsets();
void PutFloat(engine::Bytes& record, size_t offset, float v);  // little-endian

// An area file of the records in dir; returns its path.
std::string WriteArea(const testing_support::TempDir& dir, const std::string& name,
                      const std::vector<engine::Bytes>& records);

}  // namespace tool_tests
