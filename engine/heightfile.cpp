#include "engine/heightfile.h"

#include <filesystem>

#include "engine/boxnumber.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/timetext.h"

namespace engine {

namespace fs = std::filesystem;

std::string HeightFileBase(const std::string& name) {
    const std::string trimmed = Trim(name);
    return trimmed.substr(0, trimmed.find('.'));
}

NamedFile HeightFileFor(const std::string& name) {
    const std::string base = HeightFileBase(name);
    if (base.empty()) return {"", "No filename chosen"};
    if (base.find_first_of("/\\") != std::string::npos) return {"", kSlashInName};
    const std::string folder = Env().programFolder;
    return {InFolder(folder, NameForBase(folder, base, ".ht")), ""};
}

FileResult ReadHeightFile(const std::string& path, std::vector<ObsHeightRecord>& out) {
    if (FileResult r = ReadAllRecords(path, DecodeObsHeightRecord, out); !r.ok()) return r;
    for (size_t i = 0; i < out.size(); ++i) {
        if (auto fault = ObsHeightRecordFault(out[i])) {
            out.clear();
            return DamagedRecord(path, static_cast<long>(i + 1), *fault);
        }
    }
    return {};
}

FileResult WriteHeightFile(const std::string& path, const std::vector<ObsHeightRecord>& records) {
    if (records.empty() && FileLength(path) >= 0) return {};
    std::string bytes;
    bytes.reserve(records.size() * ObsHeightRecord::kSize);
    for (const ObsHeightRecord& r : records) bytes += AsString(EncodeObsHeightRecord(r));
    return ReplaceFile(path, bytes);
}

std::string ObsTimeText(int hours, int minutes) {
    auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    return two(hours) + ":" + two(minutes);
}

std::string ObsEntryText(const ObsHeightRecord& r) {
    return HoursToHHMM(r.ObsTime) + ", " + TypedText(r.ObsHeight);
}

ObsHeightRecord ObsFromEntry(const std::string& entry) {
    const size_t comma = entry.find(',');
    const std::string time = entry.substr(0, comma);
    const size_t colon = time.find(':');
    const double hours = Val(time.substr(0, colon));
    const double minutes = colon == std::string::npos ? 0 : Val(time.substr(colon + 1));
    ObsHeightRecord r;
    r.ObsTime = static_cast<float>(hours + minutes / 60);
    // The height as a box's number: "1,25" after the separator is 1.25, not 1.
    const std::optional<double> height = comma == std::string::npos
                                             ? std::nullopt
                                             : ReadBoxNumber(entry.substr(comma + 1), NumberForm::Decimal);
    r.ObsHeight = static_cast<float>(height.value_or(0.0));
    return r;
}

}  // namespace engine
