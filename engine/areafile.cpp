#include "engine/areafile.h"

#include <cstring>
#include <filesystem>
#include <optional>

#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/settingsfile.h"

namespace engine {

namespace fs = std::filesystem;

namespace {

constexpr size_t kPortSize = PortRecord::kSize;

bool isAreaFileName(const std::string& name) {
    if (name.size() < 3) return false;
    const std::string ext = name.substr(name.size() - 3);
    return ext[0] == '.' && (ext[1] == 'h' || ext[1] == 'H') && (ext[2] == 'c' || ext[2] == 'C');
}

// The first other area file of the same folder (by name) whose user-depth file is this one's,
// in `other`; a folder that cannot be listed is a failure, as nothing is known then.
FileResult areaSharingDepthFile(const std::string& areaPath, std::optional<std::string>& other) {
    other.reset();
    const fs::path own(areaPath);
    const std::string depthName = DepthFileNameFor(areaPath);
    const fs::path folder = own.parent_path().empty() ? fs::path(".") : own.parent_path();
    std::optional<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        const std::string name = p.filename().string();
        if (name == own.filename().string() || !isAreaFileName(name) || DepthFileNameFor(name) != depthName)
            continue;
        if (!found || p.filename() < found->filename()) found = p;
    }
    if (ec)
        return {FileStatus::ReadFailed, "Cannot list " + folder.string() + ": " + ec.message(), ec.value()};
    if (found) other = found->string();
    return {};
}

// The user-depth records renumbered as the area's: a new record at k for an insert, or record
// k dropped for a delete; every record behind k carries its new number. Whole records only.
std::string depthsInStep(const std::string& old, long k, const std::optional<DepthRecord>& inserted) {
    constexpr size_t size = DepthRecord::kSize;
    const long count = WholeRecords(old, size);
    std::string out = old.substr(0, RecordStart(k, size));
    if (inserted) out += AsString(EncodeDepthRecord(*inserted));
    const long shift = inserted ? 1 : -1;
    for (long j = inserted ? k : k + 1; j <= count; ++j) {
        std::string record = old.substr(RecordStart(j, size), size);
        const auto number = static_cast<uint16_t>(j + shift);
        record[DepthRecord::kPortIndexOffset] = static_cast<char>(number & 0xFF);
        record[DepthRecord::kPortIndexOffset + 1] = static_cast<char>(number >> 8);
        out += record;
    }
    return out;
}

// Writes the rebuilt records of an insert (`inserted` set) or a delete at k: to the scratch
// file, then over the area file and, in step, over its user-depth file.
FileResult rebuild(const std::string& areaPath, const std::string& records, long k,
                   const std::optional<PortRecord>& inserted) {
    const std::string depthPath = DepthFilePathFor(areaPath);
    const std::string from = "From port " + std::to_string(k) + " on, ";
    std::string oldDepths;
    FileResult read = ReadWholeFile(depthPath, oldDepths);
    const std::string unchanged =
        areaPath + " was not changed, so that its user depths stay with their ports.";
    if (!read.ok() && read.status != FileStatus::Missing)
        return {read.status, read.message + ". " + unchanged};
    std::optional<std::string> depths;
    std::string notice;
    if (read.ok() && WholeRecords(oldDepths, DepthRecord::kSize) >= k) {
        std::optional<std::string> other;
        if (FileResult r = areaSharingDepthFile(areaPath, other); !r.ok())
            return {r.status, r.message + ". " + unchanged, r.error};
        if (other) {
            notice = depthPath + " also holds the user depths of " + *other +
                     " and was not renumbered: from port " + std::to_string(k) +
                     " on, the depths and notes of " + areaPath + " belong to other ports.";
        } else {
            std::optional<DepthRecord> added;
            if (inserted) added = NewDepthRecord(*inserted, static_cast<int>(k));
            depths = depthsInStep(oldDepths, k, added);
        }
    }

    // The scratch file holds the new records, unless it is the area file itself: the rebuild then
    // leaves it to the replacement, which never removes it.
    const std::string scratch = ScratchAreaFilePath();
    if (!SameFile(areaPath, scratch))
        if (FileResult r = WriteWorkFile(scratch, records); !r.ok()) return r;
    StagedFile area, depth;
    if (FileResult r = StageReplacement(areaPath, records, area); !r.ok()) return r;
    if (depths) {
        if (FileResult r = StageReplacement(depthPath, *depths, depth); !r.ok()) {
            DiscardReplacement(area);
            return r;
        }
    }
    // The area file first: once it is in place it is the truth, and the depths follow it.
    bool placed = false;
    FileResult result = CommitReplacement(area, &placed);
    if (!placed) {
        if (depths) DiscardReplacement(depth);
        return result;
    }
    if (depths) {
        FileResult r = CommitReplacement(depth, &placed);
        if (!placed)
            return {FileStatus::WriteFailed,
                    areaPath + " was changed, but " + depthPath + " could not be renumbered: " +
                        std::strerror(r.error) + ". " + from + "its depths and notes belong to other ports.",
                    r.error, true};
        // Only the folders' syncs can have failed here: each is told.
        if (result.ok()) result = r;
        else if (!r.ok()) result.message += ". " + r.message;
    }
    if (result.ok()) return {FileStatus::Ok, notice, 0, true};
    if (!notice.empty()) result.message += ". " + notice;
    result.replaced = true;
    return result;
}

}  // namespace

std::string ScratchAreaFilePath() { return Env().programFolder + "/" + kScratchAreaFileName; }

NamedFile AreaFileFor(const std::string& typed) {
    const std::string area = Trim(typed);
    const std::string base = area.substr(0, area.find('.'));
    if (base.empty()) return {"", "Area must have a name"};
    if (base.find_first_of("/\\") != std::string::npos) return {"", kSlashInName};
    const std::string folder = Env().programFolder;
    const std::string path = InFolder(folder, NameForBase(folder, base, ".hc"));
    if (SameIgnoringCase(base, "scratch") || SameFile(path, ScratchAreaFilePath()))
        return {"", "scratch is the editors' work file: choose another area name"};
    return {path, ""};
}

FileResult WritePortRecord(const std::string& areaPath, long n, const PortRecord& record) {
    return ReplaceRecordInFile(areaPath, kPortSize, n, EncodePortRecord(record));
}

FileResult AppendPortRecord(const std::string& areaPath, const PortRecord& record) {
    return AppendPortRecords(areaPath, {record});
}

FileResult AppendPortRecords(const std::string& areaPath, const std::vector<PortRecord>& records) {
    std::string bytes;
    for (const PortRecord& record : records) bytes += AsString(EncodePortRecord(record));
    return AppendRecordsToFile(areaPath, kPortSize, bytes);
}

FileResult InsertPortRecord(const std::string& areaPath, long k, const PortRecord& record) {
    std::string bytes;
    if (FileResult r = ReadWholeRecords(areaPath, kPortSize, bytes); !r.ok()) return r;
    if (k < 1 || k > WholeRecords(bytes, kPortSize)) return RecordNotInFile(areaPath, k);
    bytes.insert(RecordStart(k, kPortSize), AsString(EncodePortRecord(record)));
    return rebuild(areaPath, bytes, k, record);
}

FileResult DeletePortRecord(const std::string& areaPath, long k) {
    std::string bytes;
    if (FileResult r = ReadWholeRecords(areaPath, kPortSize, bytes); !r.ok()) return r;
    if (k < 1 || k > WholeRecords(bytes, kPortSize)) return RecordNotInFile(areaPath, k);
    bytes.erase(RecordStart(k, kPortSize), kPortSize);
    return rebuild(areaPath, bytes, k, std::nullopt);
}

namespace {

bool nothingAt(const std::string& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() == fs::file_type::not_found;
}

// A staged depth file written for the area file as it stands: staged after the area file's own
// replacement (whose rename keeps its time), not left over from before a later change of it.
bool stagedSince(const std::string& staged, const std::string& areaPath) {
    std::error_code ec, ec2;
    const fs::file_time_type stagedAt = fs::last_write_time(staged, ec);
    const fs::file_time_type areaAt = fs::last_write_time(areaPath, ec2);
    return !ec && !ec2 && stagedAt >= areaAt;
}

std::string counted(long n, const std::string& what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

}  // namespace

FileResult FinishDepthRenumbering(const std::string& areaPath, const std::string& depthPath) {
    const long areaLength = FileLength(areaPath), depthLength = FileLength(depthPath);
    if (areaLength < 0 || depthLength < 0) return {};
    const long ports = areaLength / static_cast<long>(kPortSize);
    const long records = depthLength / static_cast<long>(DepthRecord::kSize);
    if (records == ports) return {};
    const std::string outOfStep = depthPath + " holds the user depths of " + counted(records, "port") +
                                  ", but " + areaPath + " has " + counted(ports, "port") + ": ";
    const StagedFile staged = StagingFor(depthPath);
    std::string bytes;
    if (FileLength(staged.temp) == ports * static_cast<long>(DepthRecord::kSize) &&
        nothingAt(StagingFor(areaPath).temp) && stagedSince(staged.temp, areaPath) &&
        ReadWholeFile(staged.temp, bytes).ok()) {
        bool placed = false;
        FileResult r = CommitReplacement(staged, &placed);
        if (placed) {
            std::string told = "An insert or delete of a port in " + areaPath + " stopped before " +
                               depthPath +
                               " was renumbered. The renumbering was completed, so that the depths and "
                               "notes are on their ports again.";
            if (!r.ok()) told += " " + r.message + ".";
            return {FileStatus::Damaged, told, r.error, true};
        }
        // The failed rename took the renumbered file away: it is put back for the next start.
        StagedFile again;
        const bool kept = StageReplacement(depthPath, bytes, again).ok();
        return {FileStatus::Damaged,
                outOfStep + "the renumbered depths in " + staged.temp + " could not take its place: " +
                    std::strerror(r.error) + "." + (kept ? " They stay there for the next start." : "") +
                    " From some port on, the depths and notes may belong to other ports.",
                r.error};
    }
    // Fewer records: ports were appended after the file was made, and have none yet. A file
    // shared with another area file holds that one's ports: it was left alone on purpose.
    if (records < ports) return {};
    std::optional<std::string> other;
    if (areaSharingDepthFile(areaPath, other).ok() && other) return {};
    std::string told = outOfStep +
                       "an insert or delete of a port may have stopped before the depths were "
                       "renumbered, and the depths and notes from some port on may belong to other ports. "
                       "Both files are kept as they are.";
    if (!nothingAt(staged.temp)) told += " " + staged.temp + ", left beside it, was not used.";
    return {FileStatus::Damaged, told};
}

}  // namespace engine
