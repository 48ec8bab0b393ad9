#pragma once
// Random-access files of fixed-length records numbered from 1, without header.
// Readers open files read-only and never create them.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/records.h"

namespace engine {

enum class FileStatus {
    Ok,
    Missing,     // there is no file at the path
    PastEnd,     // the record lies (partly) beyond the end of the file: a zero record is returned
    ReadFailed,  // the file is there but cannot be opened or read (a folder, no permission, a bad disk)
    WriteFailed,
    Damaged,  // the record was read, but a value lies outside its range: nothing is computed from it
    Refused,  // the request itself is outside what can be computed (a year, a record number)
};

struct [[nodiscard]] FileResult {
    FileStatus status = FileStatus::Ok;
    std::string message;  // path and reason, for the user; on Ok, a notice or nothing
    int error = 0;        // the system's error number where a write step failed
    // ReplaceFile: the new contents took the old file's place, also when a later step (the
    // folder's sync) failed.
    bool replaced = false;
    bool ok() const { return status == FileStatus::Ok; }
    // The new contents are in place: Ok, or replaced with only the folder's sync failed (the
    // message then says so, and the program goes on with what the file now holds).
    bool saved() const { return ok() || replaced; }
    // The record was read: Ok, or Damaged (its values can be shown, not computed with).
    bool recordRead() const { return ok() || status == FileStatus::Damaged; }
    // Nothing there to read: no file, or no such record in it. Not a failure where a missing
    // record has a meaning of its own (a user depth of 0).
    bool absent() const { return status == FileStatus::Missing || status == FileStatus::PastEnd; }
};

// Whole records in the file: its length divided by the record length, rounded down.
// 0 for a missing file.
long RecordCount(const std::string& path, size_t recordLength);
long FileLength(const std::string& path);  // -1 when missing

// Record numbers run from 1 to kMaxRecordNumber; others are refused without touching the file.
inline constexpr long kMaxRecordNumber = 2147483648L;

// The PastEnd result for record n: "Record n is not in <path>".
FileResult RecordNotInFile(const std::string& path, long n);

// A file's contents as its writers rebuild them: the whole records, counted as RecordCount counts
// them, and where record n starts among them.
long WholeRecords(const std::string& bytes, size_t recordLength);
inline size_t RecordStart(long n, size_t recordLength) { return static_cast<size_t>(n - 1) * recordLength; }
// The file's bytes without a partial record at their end; Missing when there is no file.
FileResult ReadWholeRecords(const std::string& path, size_t recordLength, std::string& bytes);

// Rewrites record n of a file of records through ReplaceFile: every other byte, a partial tail
// included, stays. A number outside 1 to the count of whole records is refused (PastEnd).
FileResult ReplaceRecordInFile(const std::string& path, size_t recordLength, long n, const Bytes& record);
// Writes records after the last whole one through ReplaceFile, dropping a partial tail; a
// missing file is created. Appending none to a file that is there leaves it as it is.
FileResult AppendRecordsToFile(const std::string& path, size_t recordLength, const std::string& records);

// Every whole record of a file, decoded in file order, not checked.
template <typename Record>
FileResult ReadAllRecords(const std::string& path, Record (*decode)(std::span<const uint8_t>),
                          std::vector<Record>& out);

// Reads record n (from 1). A record past the end reads as zero bytes with status PastEnd.
FileResult ReadRecord(const std::string& path, size_t recordLength, long n, Bytes& out);
// Writes record n in place, creating the file only when it does not exist; a gap before it is
// zero-filled.
FileResult WriteRecord(const std::string& path, size_t recordLength, long n, const Bytes& record);

// Replaces the whole file: the two stages below, one after the other. An existing file that
// may not be written is refused; the new file keeps the old one's permissions. A symbolic link
// stays one: the file it points to is replaced.
FileResult ReplaceFile(const std::string& path, const std::string& contents);

// Copies a file: reads the source whole, then replaces the target through ReplaceFile, so that
// a failure leaves the target as it was, and a file copied onto itself stays whole. Missing when
// there is no source.
FileResult CopyWholeFile(const std::string& source, const std::string& target);

// A replacement written and synced beside its file, not yet in its place.
inline constexpr std::string_view kStagingSuffix = ".tmp~";
struct StagedFile {
    std::string path;  // the file it replaces
    std::string temp;  // path + kStagingSuffix, which no "*.ext" pattern of path matches
};
// Where a replacement of `path` is staged: beside the file, or beside the file a symbolic link
// points to, which is the file replaced.
StagedFile StagingFor(const std::string& path);
// Stage one: refuses an existing file that may not be written, then writes `contents` to the
// temporary file with the old file's permissions and syncs it. A failure removes the temporary
// file; a leftover of an earlier run is removed first. A temporary file that cannot be made (a
// folder that may not be written) is told as "Cannot create a temporary file in <folder>".
FileResult StageReplacement(const std::string& path, const std::string& contents, StagedFile& out);
// Stage two: renames the temporary file over the old one and syncs the folder. `placed` tells
// whether the new file took the old one's place, which it has also when only the folder sync
// failed; a failed rename removes the temporary file and leaves the old one.
FileResult CommitReplacement(const StagedFile& staged, bool* placed = nullptr);
// Or, instead of stage two: removes the temporary file.
void DiscardReplacement(const StagedFile& staged);

// A work file whose contents matter only until its next use: removes any file at the path and
// writes `contents` to a new one, without syncing it.
FileResult WriteWorkFile(const std::string& path, const std::string& contents);
// Removes a work file; a missing one is no error.
FileResult RemoveWorkFile(const std::string& path);

// Test seam: when set, every write to a file (WriteRecord, ReplaceFile, WriteWorkFile) asks it
// once the file is open, just before the bytes go out, and fails with the error number it
// returns, as a full disk (ENOSPC) would; 0 lets the write go on.
using WriteFault = std::function<int(const std::string& path)>;
void SetWriteFault(WriteFault fault);

// The steps of the writers above, each of which the step seam can fail.
enum class FileStep { Check, Open, Mode, Write, Sync, Close, Rename, FolderSync, Remove };
const char* FileStepName(FileStep step);
// Test seam: asked before every step of every writer with the file (or folder) the step acts
// on. A nonzero error number fails the step as the system would fail it: ENOSPC as a full disk,
// EROFS as a read-only one, EACCES as a denied file, also where the tests run as root. A seam
// that throws stops the writer there as if the program had died: the files stay as they are.
using FileStepFault = std::function<int(FileStep step, const std::string& path)>;
void SetFileStepFault(FileStepFault fault);
// Test seam: the same for every read (ReadRecord, ReadWholeFile and the readers over them),
// asked once the file is open, as a failing disk (EIO) would fail it.
using ReadFault = std::function<int(const std::string& path)>;
void SetReadFault(ReadFault fault);

// The most a whole-file read takes in, in bytes: far beyond any file the program reads whole
// (an area file of 70,000 ports is 13.8 MB), and small enough to be held in memory.
inline constexpr long kMaxWholeFileLength = 256L * 1024 * 1024;

// The whole file, checked: Missing or ReadFailed when it cannot be read entirely. A file longer
// than kMaxWholeFileLength, or one there is no memory for, is ReadFailed before it is read:
// "<path> is too large to be read (8,000,000,000 bytes)".
FileResult ReadWholeFile(const std::string& path, std::string& out);

// Area files.
long PortCount(const std::string& areaPath);
// Every whole record of an area file, read at once and not checked: for lists of names.
FileResult ReadAllPortRecords(const std::string& areaPath, std::vector<PortRecord>& out);
// Record n, checked: a value outside its range gives Damaged with a message naming the file,
// the record and the field ("Record 77 of UK.hc is damaged: Z0 is not a number"); `out` then
// holds the record as read.
FileResult ReadPortRecord(const std::string& areaPath, long n, PortRecord& out);

// Record n for its position alone: Ok when it was read and its latitude and longitude lie in
// range, whatever its other fields hold; otherwise what is wrong.
FileResult ReadPortPosition(const std::string& areaPath, long n, PortRecord& out);

// User-depth files: record n, checked as ReadPortRecord checks.
FileResult ReadDepthRecord(const std::string& depthPath, long n, DepthRecord& out);

// The Damaged result for record n of a file.
FileResult DamagedRecord(const std::string& path, long n, const std::string& fault);

template <typename Record>
FileResult ReadAllRecords(const std::string& path, Record (*decode)(std::span<const uint8_t>),
                          std::vector<Record>& out) {
    out.clear();
    std::string bytes;
    if (FileResult r = ReadWholeFile(path, bytes); !r.ok()) return r;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const long count = WholeRecords(bytes, Record::kSize);
    out.reserve(static_cast<size_t>(count));
    for (long n = 1; n <= count; ++n)
        out.push_back(decode(std::span(data + RecordStart(n, Record::kSize), Record::kSize)));
    return {};
}

}  // namespace engine
