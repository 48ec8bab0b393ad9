#pragma once
// Height files: heights observed at a place during one day, each with its time of day, in the
// program folder as "<base>.ht". Records of ObsHeightRecord::kSize bytes numbered from 1, no
// header, in the order of the list they were written from; the file holds no date. Readers open
// the file read-only and create nothing; every write replaces the whole file through a synced
// temporary file.

#include <string>
#include <vector>

#include "engine/folders.h"
#include "engine/recordfile.h"
#include "engine/records.h"

namespace engine {

inline constexpr const char* kHeightFilePattern = "*.ht";

// The base name of a typed or listed name: blanks around it removed, cut before its first ".".
// " Harbour.old " gives "Harbour".
std::string HeightFileBase(const std::string& name);

// The height file of a typed or listed name in the program folder, or what is wrong with the
// name (no base, or a slash or backslash in it). A file whose name differs only in the case of
// its letters is taken under its own name, rather than a second file beside it.
NamedFile HeightFileFor(const std::string& name);

// Every whole record in file order, each checked: a time outside the day or a height outside
// kLevelRange gives Damaged, naming the file and the record, and no records. Missing, with no
// records, when there is no file.
FileResult ReadHeightFile(const std::string& path, std::vector<ObsHeightRecord>& out);

// The records as the whole file: nothing of a longer old file stays. No records leave an existing
// file as it is and create a missing one empty.
FileResult WriteHeightFile(const std::string& path, const std::vector<ObsHeightRecord>& records);

// The entry dialog's texts. A time of whole hours and minutes: "07:35".
std::string ObsTimeText(int hours, int minutes);
// A list entry: the time, ", " and the height ("07:35, 2.4").
std::string ObsEntryText(const ObsHeightRecord& r);
// The record of a list entry: the time before the first ",", hours before its ":" and minutes
// after it; the height after the first ",", wholly a number with "." or "," as its decimal point
// (0 when it is not one).
ObsHeightRecord ObsFromEntry(const std::string& entry);

}  // namespace engine
