#pragma once
// Tidal diamond files: records of TidalDiamondRecord::kSize bytes, numbered from 1, no header.
// Every write replaces the whole file through a synced temporary file, so a failure at any step
// leaves the old bytes and says what went wrong. Records are counted as RecordCount counts them:
// a partial tail is no diamond.

#include <string>
#include <vector>

#include "engine/recordfile.h"
#include "engine/records.h"

namespace engine {

// The work file of removals, in the program folder; none is left after a removal.
inline constexpr const char* kScratchDiamondFileName = "~scratch.~20";
std::string ScratchDiamondFilePath();

long DiamondCount(const std::string& path);
// Every whole record, in file order. A record with a damaged value (DiamondRecordFault) gives
// Damaged, naming the file, the first such record and its field ("Record 3 of Sample.l20 is
// damaged: Spring rate at HW -3 is not a number"); `out` then still holds every record as read.
FileResult ReadAllDiamondRecords(const std::string& path, std::vector<TidalDiamondRecord>& out);
// Record k, checked as above: Damaged, with `out` holding the record as read. A number outside
// 1 to the count (the file changed since it was listed) is refused.
FileResult ReadDiamondRecord(const std::string& path, long k, TidalDiamondRecord& out);
// Writes record k in place: every other byte of the file, a partial tail included, stays.
// A number outside 1 to the count is refused.
FileResult WriteDiamondRecord(const std::string& path, long k, const TidalDiamondRecord& record);
// Writes the record after the last whole one, dropping a partial tail; a missing file is created.
FileResult AppendDiamondRecord(const std::string& path, const TidalDiamondRecord& record);
// Removes record k, moving the records behind it up and dropping a partial tail. A leftover
// scratch file is removed first.
FileResult RemoveDiamondRecord(const std::string& path, long k);

}  // namespace engine
