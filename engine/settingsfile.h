#pragma once
// The settings file (one SettingsRecord per user) and the user-depth files (one DepthRecord per
// port of an area file).

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/recordfile.h"
#include "engine/records.h"

namespace engine {

inline constexpr const char* kOwnerText = "Tidewyn Vizoz tide predictions - for passage planning only";

// The defaults: the program folder's UK.hc, port 77, option 3, draught and clearance 0.5,
// spare value 1, summer time off, sort by name on.
SettingsRecord DefaultSettingsRecord();
// The output option the program uses for a stored one: itself when it is 1, 2 or 3, otherwise
// the default's 3.
float OutputOptionInUse(float stored);

// How the paths are stored. In the program a record's AreaPath and WaypointFile are full paths;
// in the file's 255-byte Windows-1252 fields a file of the program folder is stored by its name
// alone (a field without "/" names the program folder's file), another path as it is when the
// field holds it whole, and an AreaPath that it cannot hold (a character outside Windows-1252,
// more than 255 bytes) leaves the field blank: the path is then the one line of the companion
// file beside the settings file, "TdwTidesv9.cfg.area", in UTF-8.
std::string SettingsCompanionPath();

// Reads record 1 of the settings file at SettingsFilePath (rebuilt first), its paths made full.
// A missing file, or one shorter than a whole record, reads as Missing; a draught or clearance
// outside its range or an output option other than 1, 2 or 3 gives Damaged, with `out` holding
// the record as read. A blank AreaPath whose companion file is missing or cannot be read also
// gives Damaged: AreaPath is then the default's, and the message says so.
FileResult ReadSettingsFile(SettingsRecord& out);
// Writes the whole record by replacing the file, so a failed write leaves the old file whole.
// An AreaPath for the companion file is written there first (and put back when the record
// cannot be written); a record whose AreaPath the field holds leaves a companion as it is, unread.
FileResult WriteSettingsFile(const SettingsRecord& record);
// Writes `defaults` when the settings file is missing or shorter than a record. A short file is
// first kept beside it as "TdwTidesv9.cfg.bak", and the result is then Damaged with a notice
// that says so; Ok when nothing needed doing or the defaults were written. The one routine for
// every place that writes defaults.
FileResult EnsureSettingsFile(const SettingsRecord& defaults);

// Read-modify-write: starts from the file's record (or from the in-memory Settings when there
// is no file), lets `change` alter its own fields, writes the whole record back and keeps it in
// Settings whenever it is saved() (also when only the folder's sync failed: the message then
// says so). A file that is there but cannot be read is left alone and its failure returned.
FileResult UpdateSettingsFile(const std::function<void(SettingsRecord&)>& change);

// The main window's settings step: EnsureSettingsFile with the defaults, then reads the file and
// loads Draught, CurrentPort, AreaFilePath, KeelClearance, OutputOption, SpareSetting,
// UseSummerTime and ApplySummerTime. A damaged draught, clearance or output option loads as its
// default, and the result, Damaged, says in one message what was wrong and what is used; so
// does a companion file that cannot be read, and a short file kept as ".bak".
FileResult LoadSettings();

// Reads the settings file into `record` and sets Draught, KeelClearance, OutputOption (each only
// when it is not damaged), AreaFilePath and CurrentPort from it; a stored port outside the area
// file is brought into its range, as the main window's load does. False when the file cannot
// be read: the copies then stay as they are.
bool ReloadSettingsCopies(SettingsRecord& record);

// The program folder's file of the same name as an area file that is not there (the program
// folder was moved); nothing when the area file is there, its state cannot be known, or the
// program folder holds no such file.
std::optional<std::string> AreaFileInProgramFolder(const std::string& areaPath);

// The user-depth file's name for an area file: its file name up to the first "." and ".DEP"
// (the whole name when it has no ".").
std::string DepthFileNameFor(const std::string& areaPath);
// The user-depth file of an area file: DepthFileNameFor in the user-depths folder.
std::string DepthFilePathFor(const std::string& areaPath);
// Sets DepthFileName and DepthFilePath from AreaFilePath.
void FormDepthFilePath();
// Creates the user-depth file of AreaFilePath with one record per port when it is missing; an
// existing file is not touched, and none is created for an area file that cannot be read.
// An existing file out of step with its area file goes through FinishDepthRenumbering: a
// renumbering completed, or a file with more records than the area has ports, gives Damaged
// with a message for the user, the first time a run meets it; the file is used all the same.
FileResult EnsureUserDepthFile();
// After EnsureUserDepthFile: the user-depth file is there to be used, saved() (perhaps with its
// folder not synced) or Damaged (with a notice); the message, if any, is told as it stands.
inline bool UsableDepthFile(const FileResult& r) { return r.saved() || r.status == FileStatus::Damaged; }
// Stores the charted depth and notes of port n in the user-depth file DepthFilePath; the
// record's other fields keep their values, also when its stored depth was damaged. A depth
// outside kDepthRange is refused. A file shorter than n records (ports added to the
// area since it was made) is first filled up with the records a new file holds.
FileResult StoreDepthAndNotes(long n, float metres, const std::string& notes);
// The DepthRecord a new user-depth file holds for port k; its notes give the position, or are
// empty when the position is damaged.
DepthRecord NewDepthRecord(const PortRecord& port, int k);

}  // namespace engine
