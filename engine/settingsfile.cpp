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
    if (r.ok()) out = DecodeSettingsRecord(bytes);
    return r;
}

std::optional<std::string> UnstorablePathReason(const std::string& path) {
    bool lossless = false;
    std::string bytes = Utf8ToCp1252(path, &lossless);
    if (!lossless) return "The path " + path + " holds characters that the settings file cannot store.";
    if (bytes.size() > 255) return "The path " + path + " is longer than the 255 characters the settings file can store.";
    return std::nullopt;
}

FileResult WriteSettingsFile(const SettingsRecord& record) {
    State().SettingsFilePath = BuildSettingsFilePath();
    if (auto why = UnstorablePathReason(record.AreaPath)) return {FileStatus::WriteFailed, *why};
    return WriteRecord(State().SettingsFilePath, SettingsRecord::kSize, 1, EncodeSettingsRecord(record));
}

FileResult WriteDefaultSettings() {
    SettingsRecord defaults = DefaultSettingsRecord();
    FileResult r = WriteSettingsFile(defaults);
    if (r.ok()) State().Settings = defaults;
    return r;
}

FileResult UpdateSettingsFile(const std::function<void(SettingsRecord&)>& change) {
    SettingsRecord record;
    if (!ReadSettingsFile(record).ok()) record = State().Settings;
    change(record);
    FileResult r = WriteSettingsFile(record);
    if (r.ok()) State().Settings = record;
    return r;
}

FileResult LoadSettings() {
    SharedState& s = State();
    SettingsRecord record;
    FileResult r = ReadSettingsFile(record);
    if (!r.ok()) {
        r = WriteDefaultSettings();
        if (r.ok()) r = ReadSettingsFile(record);
        if (!r.ok()) record = DefaultSettingsRecord();  // run on the defaults, as they would be read
    }
    s.Settings = record;
    s.Draught = record.Draught;
    // A damaged record must not stop the load: a port outside 16 bits reads as 0, which the
    // main window brings into range.
    s.CurrentPort = PortOfIndex(record.PortIndex);
    s.AreaFilePath = Trim(record.AreaPath);
    s.KeelClearance = record.KeelClearance;
    s.OutputOption = record.OutputOption;
    try {
        s.SpareSetting = CInt(record.SpareValue);
    } catch (const std::range_error&) {
        s.SpareSetting = 0;
    }
    s.UseSummerTime = record.SummerTime != 0;
    s.ApplySummerTime = record.SummerTime != 0;
    return r;
}

bool ReloadSettingsCopies(SettingsRecord& record) {
    SharedState& s = State();
    if (!ReadSettingsFile(record).ok()) return false;
    s.Draught = record.Draught;
    s.KeelClearance = record.KeelClearance;
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

void FormDepthFilePath() {
    SharedState& s = State();
    s.DepthFileName = DepthFileNameFor(s.AreaFilePath);
    s.DepthFilePath = s.DocumentsFolder + "/" + kProgramDataFolderName + "/UserDepths/" + s.DepthFileName;
}

DepthRecord NewDepthRecord(const PortRecord& port, int k) {
    DepthRecord d;
    d.PortName = port.PortName;
    d.PortIndex = static_cast<int16_t>(k);
    d.Notes = "Position" + FormatLatitude(port.Latitude) + "  " + FormatLongitude(port.Longitude);
    return d;
}

FileResult EnsureUserDepthFile() {
    FormDepthFilePath();
    const SharedState& s = State();
    if (FileExists(s.DepthFilePath)) return {};
    if (!FileExists(s.AreaFilePath))
        return {FileStatus::Missing, "The area file " + s.AreaFilePath + " cannot be read"};
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
    if (n <= have) {
        DepthRecord d;
        FileResult r = ReadDepthRecord(path, n, d);
        if (!r.ok()) return r;
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
