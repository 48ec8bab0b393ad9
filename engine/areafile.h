#pragma once
// Writing the ports of an area file. Every write replaces the whole file through a synced
// temporary file, so a failure at any step leaves the old bytes and says what went wrong.
// Records are counted as PortCount counts them: a partial tail is no port.

#include <string>
#include <vector>

#include "engine/folders.h"
#include "engine/recordfile.h"
#include "engine/records.h"

namespace engine {

// The work file of inserts and deletes, in the program folder; it holds the rebuilt records
// afterwards and stays there.
inline constexpr const char* kScratchAreaFileName = "scratch.hc";
std::string ScratchAreaFilePath();

// The area file of the program folder that a typed area name saves to: blanks around it
// removed, cut before its first ".", with ".hc" ("Channel.xyz" gives Channel.hc); a file whose
// name differs only in case is taken under its own name. Refused: no name, a slash or a
// backslash, and the work file.
NamedFile AreaFileFor(const std::string& typed);

// Corrects record n in place: every other byte of the file, a partial tail included, stays.
// A record number outside 1 to the count (the file changed since it was listed) is refused.
FileResult WritePortRecord(const std::string& areaPath, long n, const PortRecord& record);
// Writes the record after the last whole one; a missing file is created.
FileResult AppendPortRecord(const std::string& areaPath, const PortRecord& record);
// The same for several records, in one replacement. Appending none creates a missing file,
// empty, and leaves an existing one as it is.
FileResult AppendPortRecords(const std::string& areaPath, const std::vector<PortRecord>& records);

// Inserting in front of record k, or deleting record k, renumbers the ports behind it; their
// user depths and notes are renumbered with them. The area's user-depth file is rebuilt in
// step when it holds k records or more, unless another area file of the folder shares it: it
// is then left alone and the result, Ok, carries a notice for the user. Both files are written
// and synced before either takes its old one's place; should the depth file's rename then fail,
// the area file stays changed and the result says so. `replaced` is set once the area file has
// taken its old one's place, whatever failed after.
FileResult InsertPortRecord(const std::string& areaPath, long k, const PortRecord& record);
FileResult DeletePortRecord(const std::string& areaPath, long k);

// An insert or delete stopped between its two renames leaves the area file new, its user-depth
// file old and the renumbered one beside it, staged (depthPath + kStagingSuffix). Whenever the
// depth file's record count differs from the area's port count, this finishes such a step: a
// staged file of exactly one record per port, while the area file's own staged file is gone
// (the area's rename was taken) and not older than the area file, takes the depth file's place;
// the result, Damaged, tells it. Otherwise a depth file with more records than the area has
// ports, which an interrupted step leaves, is told (Damaged) and nothing is changed, unless
// another area file of the folder shares it; fewer is a file made before ports were appended:
// Ok. Ok also when the counts agree or either file is not there. Damaged always leaves
// a depth file to be used, and its message is for the user.
FileResult FinishDepthRenumbering(const std::string& areaPath, const std::string& depthPath);

}  // namespace engine
