#pragma once
// Random-access files of fixed-length records numbered from 1, without header.
// Readers open files read-only and never create them.

#include <string>
#include <vector>

#include "engine/records.h"

namespace engine {

enum class FileStatus {
    Ok,
    Missing,      // the file cannot be opened for reading
    PastEnd,      // the record lies (partly) beyond the end of the file: a zero record is returned
    ReadFailed,
    WriteFailed,
};

struct FileResult {
    FileStatus status = FileStatus::Ok;
    std::string message;  // path and reason, for the user
    bool ok() const { return status == FileStatus::Ok; }
};

// Whole records in the file: its length divided by the record length, rounded down.
// 0 for a missing file.
long RecordCount(const std::string& path, size_t recordLength);
long FileLength(const std::string& path);  // -1 when missing

// Reads record n (from 1). A record past the end reads as zero bytes with status PastEnd.
FileResult ReadRecord(const std::string& path, size_t recordLength, long n, Bytes& out);
// Writes record n in place, creating the file when missing; a gap before it is zero-filled.
FileResult WriteRecord(const std::string& path, size_t recordLength, long n, const Bytes& record);
// Replaces the whole file through a temporary file beside it, renamed over the old one.
FileResult ReplaceFile(const std::string& path, const std::string& contents);

// The whole file, checked: Missing or ReadFailed when it cannot be read entirely.
FileResult ReadWholeFile(const std::string& path, std::string& out);

// Area files.
long PortCount(const std::string& areaPath);
// Every whole record of an area file, read at once.
FileResult ReadAllPortRecords(const std::string& areaPath, std::vector<PortRecord>& out);
FileResult ReadPortRecord(const std::string& areaPath, long n, PortRecord& out);

// User-depth files.
FileResult ReadDepthRecord(const std::string& depthPath, long n, DepthRecord& out);

}  // namespace engine
