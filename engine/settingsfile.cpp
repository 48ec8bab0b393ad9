#include "engine/settingsfile.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "engine/areafile.h"
#include "engine/cp1252.h"
#include "engine/currentport.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/timetext.h"

namespace engine {

SettingsRecord DefaultSettingsRecord() {
    const std::string& program = Env().programFolder;
    SettingsRecord r;
    r.AreaPath = program + "/UK.hc";
    r.PortIndex = 77.0f;
    r.Draught = 0.5f;
    r.KeelClearance = 0.5f;
    r.OutputOption = 3.0f;
    r.SpareValue = 1.0f;
    r.SummerTime = 0;
    r.Reserved1 = 0;
    r.Reserved2 = 0;
    r.OwnerText = kOwnerText;
    r.WaypointFile = program + "/Sample.way";
    r.SortByName = -1;
    return r;
}

float OutputOptionInUse(float stored) {
    return OutputOptionFault(stored) ? DefaultSettingsRecord().OutputOption : stored;
}

std::string SettingsCompanionPath() { return BuildSettingsFilePath() + ".area"; }

namespace {

constexpr size_t kPathFieldWidth = 255;

// The full path a field without "/" stands for.
std::string InProgramFolder(const std::string& name) { return Env().programFolder + "/" + name; }

// The field reads the text back whole: Windows-1252 without loss, at most 255 bytes, and no
// blank at either end, which the padding would take.
bool FitsPathField(const std::string& text) {
    bool lossless = false;
    const std::string bytes = Utf8ToCp1252(text, &lossless);
    return lossless && bytes.size() <= kPathFieldWidth && Trim(text) == text;
}

// What a path field holds for a full path: the name alone of a file of the program folder, the
// path itself, or nothing when the field cannot hold it. An empty path is an empty field.
std::optional<std::string> StoredPath(const std::string& path) {
    if (path.empty()) return path;
    const std::string name = std::filesystem::path(path).filename().string();
    if (!name.empty() && path == InProgramFolder(name) && FitsPathField(name)) return name;
    if (path.find('/') != std::string::npos && FitsPathField(path)) return path;
    return std::nullopt;
}

// The full path a path field stands for.
std::string FullPath(const std::string& field) {
    const std::string stored = Trim(field);
    if (stored.empty() || stored.find('/') != std::string::npos) return stored;
    return InProgramFolder(stored);
}

// The area path of a blank field: the companion file's line. When there is none, the default
// area file, and `fault` says so.
std::string CompanionAreaPath(std::string& fault) {
    const std::string companion = SettingsCompanionPath();
    std::string text;
    FileResult r = ReadWholeFile(companion, text);
    if (r.ok()) {
        text.resize(std::min(text.size(), text.find('\n')));
        if (!text.empty()) return text;
        r = {FileStatus::Damaged, companion + " holds no path"};
    }
    const std::string area = DefaultSettingsRecord().AreaPath;
    fault = "The path of the sea area file in the settings cannot be read: " + r.message +
            ". The program uses " + area + " until another sea area is chosen with Select Port, Sea Area.";
    return area;
}

// Reads the record and makes its paths full, without checking its values; `areaFault` tells a
// companion file that cannot be read.
FileResult ReadStoredRecord(SettingsRecord& out, std::string& areaFault) {
    State().SettingsFilePath = BuildSettingsFilePath();
    const std::string& path = State().SettingsFilePath;
    if (FileLength(path) < static_cast<long>(SettingsRecord::kSize))
        return {FileStatus::Missing, "The settings file " + path + " is missing or incomplete"};
    Bytes bytes;
    FileResult r = ReadRecord(path, SettingsRecord::kSize, 1, bytes);
    if (!r.ok()) return r;
    out = DecodeSettingsRecord(bytes);
    out.AreaPath = Trim(out.AreaPath).empty() ? CompanionAreaPath(areaFault) : FullPath(out.AreaPath);
    out.WaypointFile = FullPath(out.WaypointFile);
    return r;
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

}  // namespace

FileResult ReadSettingsFile(SettingsRecord& out) {
    std::string areaFault;
    FileResult r = ReadStoredRecord(out, areaFault);
    if (!r.ok()) return r;
    if (auto fault = SettingsRecordFault(out)) r = DamagedRecord(State().SettingsFilePath, 1, *fault);
    if (!areaFault.empty()) r = {FileStatus::Damaged, r.ok() ? areaFault : r.message + ". " + areaFault};
    return r;
}

FileResult EnsureSettingsFile(const SettingsRecord& defaults) {
    State().SettingsFilePath = BuildSettingsFilePath();
    const std::string& path = State().SettingsFilePath;
    const long length = FileLength(path);
    if (length >= static_cast<long>(SettingsRecord::kSize)) return {};
    std::string notice;
    if (length >= 0) {
        // Too short to hold the record: kept beside the new one, for it may be only damaged at
        // its end.
        const std::string kept = path + ".bak";
        std::error_code ec;
        std::filesystem::rename(path, kept, ec);
        if (ec)
            return {FileStatus::WriteFailed,
                    "Cannot keep the incomplete settings file " + path + ": " + ec.message()};
        notice = "The settings file " + path + " was incomplete (" + std::to_string(length) + " of " +
                 std::to_string(SettingsRecord::kSize) + " bytes). It is kept as " + kept +
                 ", and the settings are back to their defaults.";
    }
    FileResult r = WriteSettingsFile(defaults);
    if (!r.saved()) return r;
    State().Settings = defaults;
    if (!notice.empty()) return {FileStatus::Damaged, r.ok() ? notice : notice + " " + r.message + "."};
    return r;
}

std::optional<std::string> AreaFileInProgramFolder(const std::string& areaPath) {
    namespace fs = std::filesystem;
    if (areaPath.empty()) return std::nullopt;
    std::error_code ec;
    // Only a file that is truly gone: a folder that cannot be searched says nothing.
    if (fs::status(areaPath, ec).type() != fs::file_type::not_found) return std::nullopt;
    const fs::path name = fs::path(areaPath).filename();
    if (name.empty()) return std::nullopt;
    const std::string candidate = (fs::path(Env().programFolder) / name).string();
    if (!fs::is_regular_file(candidate, ec)) return std::nullopt;
    return candidate;
}

FileResult WriteSettingsFile(const SettingsRecord& record) {
    State().SettingsFilePath = BuildSettingsFilePath();
    const std::string& path = State().SettingsFilePath;
    const std::string companion = SettingsCompanionPath();
    const std::optional<std::string> area = StoredPath(record.AreaPath);
    SettingsRecord stored = record;
    stored.AreaPath = area.value_or("");
    // Only the default's waypoint file is ever stored; nothing reads it.
    stored.WaypointFile = StoredPath(record.WaypointFile).value_or(record.WaypointFile);

    // The companion first, so that a blank field always finds its path; what it held is put
    // back when the record cannot be written.
    std::optional<std::string> before;
    bool wrote = false;
    if (!area) {
        const std::string line = record.AreaPath + "\n";
        std::string old;
        const FileResult had = ReadWholeFile(companion, old);
        if (!had.ok() || old != line) {
            FileResult c = ReplaceFile(companion, line);
            if (!c.saved()) return c;
            wrote = had.ok() || had.absent();
            if (had.ok()) before = old;
        }
    }
    // One record is the whole file: replaced whole, so a failed write leaves the old one.
    FileResult r = ReplaceFile(path, AsString(EncodeSettingsRecord(stored)));
    if (!r.saved()) {
        if (wrote) {
            FileResult back = before ? ReplaceFile(companion, *before) : RemoveWorkFile(companion);
            if (!back.saved()) r.message += ". " + back.message;
        }
        return r;
    }
    // A companion left over is kept: it is never read while the field holds the path, and a
    // settings file kept as ".bak" may still need it.
    return r;
}

FileResult UpdateSettingsFile(const std::function<void(SettingsRecord&)>& change) {
    SettingsRecord record;
    // A damaged record is kept as read: the caller changes only its own fields. A file that is
    // missing is written from the settings in use; one that cannot be read is not overwritten.
    FileResult read = ReadSettingsFile(record);
    if (read.status == FileStatus::Missing) record = State().Settings;
    else if (!read.recordRead()) return read;
    change(record);
    FileResult r = WriteSettingsFile(record);
    if (r.saved()) State().Settings = record;
    return r;
}

FileResult LoadSettings() {
    SharedState& s = State();
    const SettingsRecord defaults = DefaultSettingsRecord();
    FileResult made = EnsureSettingsFile(defaults);
    SettingsRecord record;
    std::string areaFault;
    FileResult r = ReadStoredRecord(record, areaFault);
    if (!r.ok()) record = defaults;  // run on the defaults, as they would be read
    s.Settings = record;
    // A damaged value is not used: the default stands in until the user sets it, and the file
    // keeps what it holds.
    std::string faults;
    std::vector<std::string> used;
    const auto damaged = [&](const std::optional<std::string>& fault, const std::string& use) {
        if (!fault) return false;
        faults += (faults.empty() ? "" : "; ") + *fault;
        used.push_back(use);
        return true;
    };
    s.Draught = damaged(ValueFault("Draught", record.Draught, kVesselRange),
                        "the default draught of " + TypedText(defaults.Draught) + " m")
                    ? defaults.Draught
                    : record.Draught;
    s.KeelClearance =
        damaged(ValueFault("KeelClearance", record.KeelClearance, kVesselRange),
                "the default under keel clearance of " + TypedText(defaults.KeelClearance) + " m")
            ? defaults.KeelClearance
            : record.KeelClearance;
    s.OutputOption = damaged(OutputOptionFault(record.OutputOption),
                             "the default output option 3 (heights with the charted depth, draught "
                             "and under keel clearance)")
                         ? defaults.OutputOption
                         : record.OutputOption;
    // A damaged record must not stop the load: a port outside 16 bits reads as 0, which the
    // main window brings into range.
    s.CurrentPort = PortOfIndex(record.PortIndex);
    s.AreaFilePath = Trim(record.AreaPath);
    try {
        s.SpareSetting = CInt(record.SpareValue);
    } catch (const std::range_error&) {
        s.SpareSetting = 0;
    }
    s.UseSummerTime = record.SummerTime != 0;
    s.ApplySummerTime = record.SummerTime != 0;
    std::string told;
    if (!faults.empty())
        told = DamagedRecord(s.SettingsFilePath, 1, faults).message + ". Until " +
               (used.size() == 1 ? "it is" : "they are") +
               " set under Configure, Program Options, the program uses " + Listed(used) + ".";
    if (!areaFault.empty()) told += (told.empty() ? "" : " ") + areaFault;
    if (!told.empty()) return {FileStatus::Damaged, told};
    if (!made.ok()) return made;
    return r;
}

bool ReloadSettingsCopies(SettingsRecord& record) {
    SharedState& s = State();
    if (!ReadSettingsFile(record).recordRead()) return false;
    if (kVesselRange.holds(record.Draught)) s.Draught = record.Draught;
    if (kVesselRange.holds(record.KeelClearance)) s.KeelClearance = record.KeelClearance;
    if (!OutputOptionFault(record.OutputOption)) s.OutputOption = record.OutputOption;
    s.AreaFilePath = Trim(record.AreaPath);
    s.CurrentPort = PortWithin(PortOfIndex(record.PortIndex), PortCount(s.AreaFilePath));
    return true;
}

std::string DepthFileNameFor(const std::string& areaPath) {
    std::string name = std::filesystem::path(areaPath).filename().string();
    size_t dot = name.find('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + ".DEP";
}

std::string DepthFilePathFor(const std::string& areaPath) {
    return State().DocumentsFolder + "/" + kProgramDataFolderName + "/UserDepths/" +
           DepthFileNameFor(areaPath);
}

void FormDepthFilePath() {
    SharedState& s = State();
    s.DepthFileName = DepthFileNameFor(s.AreaFilePath);
    s.DepthFilePath = DepthFilePathFor(s.AreaFilePath);
}

DepthRecord NewDepthRecord(const PortRecord& port, int k) {
    DepthRecord d;
    d.PortName = port.PortName;
    d.PortIndex = static_cast<int16_t>(k);
    // A damaged position is not written out: the port gets empty notes, the others theirs.
    if (!PositionFault(port))
        d.Notes = "Position" + FormatLatitude(port.Latitude) + "  " + FormatLongitude(port.Longitude);
    return d;
}

FileResult EnsureUserDepthFile() {
    FormDepthFilePath();
    const SharedState& s = State();
    std::error_code ec;
    if (std::filesystem::exists(s.DepthFilePath, ec) || ec) {
        // A file that is there is never replaced, also when it cannot be read: it holds the
        // user's depths.
        Bytes first;
        FileResult r = ReadRecord(s.DepthFilePath, DepthRecord::kSize, 1, first);
        if (!r.ok() && r.status != FileStatus::PastEnd) return r;
        // A rebuild stopped between its renames is finished or told, once a run.
        FileResult step = FinishDepthRenumbering(s.AreaFilePath, s.DepthFilePath);
        if (step.ok() || step.message == s.DepthFileNotice) return {};
        State().DepthFileNotice = step.message;
        return step;
    }
    std::vector<PortRecord> ports;
    FileResult r = ReadAllPortRecords(s.AreaFilePath, ports);
    if (!r.ok()) return r;
    std::string contents;
    contents.reserve(ports.size() * DepthRecord::kSize);
    for (size_t k = 0; k < ports.size(); ++k) {
        Bytes b = EncodeDepthRecord(NewDepthRecord(ports[k], static_cast<int>(k + 1)));
        contents.append(b.begin(), b.end());
    }
    return ReplaceFile(s.DepthFilePath, contents);
}

FileResult StoreDepthAndNotes(long n, float metres, const std::string& notes) {
    const SharedState& s = State();
    const std::string& path = s.DepthFilePath;
    const long have = RecordCount(path, DepthRecord::kSize);
    if (!kDepthRange.holds(metres))
        return {FileStatus::Refused, *ValueFault("The user depth", metres, kDepthRange)};
    if (n <= have) {
        DepthRecord d;
        // A damaged depth is what this write mends: the record's other fields are kept.
        FileResult r = ReadDepthRecord(path, n, d);
        if (!r.ok() && r.status != FileStatus::Damaged) return r;
        d.ChartedDepth = metres;
        d.Notes = notes;
        return WriteRecord(path, DepthRecord::kSize, n, EncodeDepthRecord(d));
    }
    // A short file is filled up with the records a new file holds, in one replacement; its
    // records are kept only when they could all be read.
    std::string contents;
    if (have > 0) {
        FileResult r = ReadWholeFile(path, contents);
        if (!r.ok()) return r;
    }
    contents.resize(static_cast<size_t>(have) * DepthRecord::kSize);
    std::vector<PortRecord> ports;
    FileResult r = ReadAllPortRecords(s.AreaFilePath, ports);
    if (!r.ok()) return r;
    if (static_cast<long>(ports.size()) < n)
        return {FileStatus::PastEnd, "Port " + std::to_string(n) + " is not in " + s.AreaFilePath};
    for (long k = have + 1; k <= n; ++k) {
        DepthRecord d = NewDepthRecord(ports[static_cast<size_t>(k - 1)], static_cast<int>(k));
        if (k == n) {
            d.ChartedDepth = metres;
            d.Notes = notes;
        }
        Bytes b = EncodeDepthRecord(d);
        contents.append(b.begin(), b.end());
    }
    return ReplaceFile(path, contents);
}

}  // namespace engine
