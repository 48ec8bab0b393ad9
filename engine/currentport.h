#pragma once
// The current port and the selected date, as every window sets them.

#include <cstdint>
#include <string>

#include "engine/recordfile.h"
#include "engine/records.h"

namespace engine {

// The last port the program can number: port numbers, and a user depth's PortIndex, are 16-bit.
inline constexpr long kLastUsablePort = INT16_MAX;

// A port number brought into 1 .. count, and no further than kLastUsablePort; unchanged when the
// area file has no ports.
int16_t PortWithin(long port, long count);
// The settings' PortIndex as a port number (nearest, halves to even); 0 when it does not fit.
int16_t PortOfIndex(float portIndex);

// Makes a port record the current port's position, time zone and name (trimmed, or the stored
// 35-character field when trimName is false). A damaged position is taken as not a number.
void TakePortRecord(const PortRecord& port, bool trimName);
// Reads record CurrentPort of areaPath and takes it, also when it is damaged (its name still
// names the port); the state stays as it was when the record cannot be read.
FileResult LoadCurrentPort(const std::string& areaPath, bool trimName);

// SelectedDate and its parts: year, month, day of the month and day of the year.
void SetSelectedDate(double date);

}  // namespace engine
