#pragma once
// Random-access files of fixed-length records numbered from 1, without header.
// Readers open files read-only and never create them.

#include <functional>
#include <string>
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
    std::string message;  // path and reason, for the user
    bool ok() const { return status == FileStatus::Ok; }
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

// Reads record n (from 1). A record past the end reads as zero bytes with status PastEnd.
FileResult ReadRecord(const std::string& path, size_t recordLength, long n, Bytes& out);
// Writes record n in place, creating the file only when it does not exist; a gap before it is
// zero-filled.
FileResult WriteRecord(const std::string& path, size_t recordLength, long n, const Bytes& record);
// Replaces the whole file through a temporary file beside it, renamed over the old one.
FileResult ReplaceFile(const std::string& path, const std::string& contents);

// Test seam: when set, every write to a file (WriteRecord, ReplaceFile) asks it once the file
// is open, just before the bytes go out, and fails with the error number it returns, as a full
// disk (ENOSPC) would; 0 lets the write go on.
using WriteFault = std::function<int(const std::string& path)>;
void SetWriteFault(WriteFault fault);
// Test seam: the same for every read (ReadRecord, ReadWholeFile and the readers over them),
// asked once the file is open, as a failing disk (EIO) would fail it.
using ReadFault = std::function<int(const std::string& path)>;
void SetReadFault(ReadFault fault);

// The whole file, checked: Missing or ReadFailed when it cannot be read entirely.
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

}  // namespace engine
