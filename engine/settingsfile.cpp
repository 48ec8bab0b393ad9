#include "engine/settingsfile.h"

#include <filesystem>
#include <stdexcept>

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

FileResult ReadSettingsFile(SettingsRecord& out) {
    State().SettingsFilePath = BuildSettingsFilePath();
    const std::string& path = State().SettingsFilePath;
    if (FileLength(path) < static_cast<long>(SettingsRecord::kSize))
        return {FileStatus::Missing, "The settings file " + path + " is missing or incomplete"};
    Bytes bytes;
    FileResult r = ReadRecord(path, SettingsRecord::kSize, 1, bytes);
    if (!r.ok()) return r;
    out = DecodeSettingsRecord(bytes);
    if (auto fault = SettingsRecordFault(out)) return DamagedRecord(path, 1, *fault);
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
    if (!r.ok()) return r;
    State().Settings = defaults;
    if (!notice.empty()) return {FileStatus::Damaged, notice};
    return {};
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

std::optional<std::string> UnstorablePathReason(const std::string& path) {
    bool lossless = false;
    std::string bytes = Utf8ToCp1252(path, &lossless);
    if (!lossless) return "The path " + path + " holds characters that the settings file cannot store.";
    if (bytes.size() > 255)
        return "The path " + path + " is longer than the 255 characters the settings file can store.";
    return std::nullopt;
}

FileResult WriteSettingsFile(const SettingsRecord& record) {
    State().SettingsFilePath = BuildSettingsFilePath();
    if (auto why = UnstorablePathReason(record.AreaPath)) return {FileStatus::WriteFailed, *why};
    // One record is the whole file: replaced whole, so a failed write leaves the old one.
    const Bytes bytes = EncodeSettingsRecord(record);
    return ReplaceFile(State().SettingsFilePath, std::string(bytes.begin(), bytes.end()));
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
    if (r.ok()) State().Settings = record;
    return r;
}

FileResult LoadSettings() {
    SharedState& s = State();
    const SettingsRecord defaults = DefaultSettingsRecord();
    FileResult made = EnsureSettingsFile(defaults);
    SettingsRecord record;
    FileResult r = ReadSettingsFile(record);
    if (!r.recordRead()) record = defaults;  // run on the defaults, as they would be read
    s.Settings = record;
    // A damaged draught or clearance is not used: the defaults stand in until the user sets
    // them, and the file keeps what it holds.
    s.Draught = kVesselRange.holds(record.Draught) ? record.Draught : defaults.Draught;
    s.KeelClearance =
        kVesselRange.holds(record.KeelClearance) ? record.KeelClearance : defaults.KeelClearance;
    // A damaged record must not stop the load: a port outside 16 bits reads as 0, which the
    // main window brings into range.
    s.CurrentPort = PortOfIndex(record.PortIndex);
    s.AreaFilePath = Trim(record.AreaPath);
    s.OutputOption = record.OutputOption;
    try {
        s.SpareSetting = CInt(record.SpareValue);
    } catch (const std::range_error&) {
        s.SpareSetting = 0;
    }
    s.UseSummerTime = record.SummerTime != 0;
    s.ApplySummerTime = record.SummerTime != 0;
    if (r.status == FileStatus::Damaged)
        return {FileStatus::Damaged, r.message + ". The default of " + TypedText(defaults.Draught) +
                                         " m is used until it is set under Configure, Program Options."};
    if (!made.ok()) return made;
    return r;
}

bool ReloadSettingsCopies(SettingsRecord& record) {
    SharedState& s = State();
    if (!ReadSettingsFile(record).recordRead()) return false;
    if (kVesselRange.holds(record.Draught)) s.Draught = record.Draught;
    if (kVesselRange.holds(record.KeelClearance)) s.KeelClearance = record.KeelClearance;
    s.OutputOption = record.OutputOption;
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
        return r.status == FileStatus::PastEnd ? FileResult{} : r;
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
