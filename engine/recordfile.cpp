#include "engine/recordfile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "engine/folders.h"

namespace engine {

namespace fs = std::filesystem;

namespace {
// A file missing because its folder could not be made says so.
std::string reason(const std::string& what, const std::string& path, int err) {
    if (err == ENOENT || err == ENOTDIR)
        if (std::string folder = FolderFault(path); !folder.empty()) return what + " " + path + ": " + folder;
    return what + " " + path + ": " + std::strerror(err);
}

// Why a path that is not a regular file cannot be read: Missing only when nothing is there.
FileResult notAFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    // A folder on the way that is not one: nothing can be at the path.
    if (ec == std::errc::not_a_directory) return {FileStatus::Missing, reason("Cannot open", path, ENOTDIR)};
    if (ec && ec != std::errc::no_such_file_or_directory)
        return {FileStatus::ReadFailed, "Cannot open " + path + ": " + ec.message()};
    if (fs::is_directory(st)) return {FileStatus::ReadFailed, "Cannot open " + path + ": it is a folder"};
    if (fs::exists(st)) return {FileStatus::ReadFailed, "Cannot open " + path + ": it is not a file"};
    return {FileStatus::Missing, reason("Cannot open", path, ENOENT)};
}

// A file that is there but cannot be opened is not a missing one.
FileResult openFailed(const std::string& path, int err) {
    const bool absent = err == ENOENT || err == ENOTDIR;
    return {absent ? FileStatus::Missing : FileStatus::ReadFailed, reason("Cannot open", path, err)};
}

WriteFault gWriteFault;
ReadFault gReadFault;

// The error a write to path is made to fail with by the test seam, or 0.
int injectedFault(const std::string& path) { return gWriteFault ? gWriteFault(path) : 0; }
int injectedReadFault(const std::string& path) { return gReadFault ? gReadFault(path) : 0; }

bool validRecordNumber(long n) { return n >= 1 && n <= kMaxRecordNumber; }

// Byte offset of record n; n is a valid record number, so the product stays far inside 64 bits.
off_t recordOffset(long n, size_t recordLength) {
    return static_cast<off_t>(n - 1) * static_cast<off_t>(recordLength);
}
}  // namespace

void SetWriteFault(WriteFault fault) { gWriteFault = std::move(fault); }
void SetReadFault(ReadFault fault) { gReadFault = std::move(fault); }

FileResult DamagedRecord(const std::string& path, long n, const std::string& fault) {
    return {FileStatus::Damaged, "Record " + std::to_string(n) + " of " + fs::path(path).filename().string() +
                                     " is damaged: " + fault};
}

long FileLength(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return -1;
    auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<long>(size);
}

long RecordCount(const std::string& path, size_t recordLength) {
    long len = FileLength(path);
    return len <= 0 ? 0 : len / static_cast<long>(recordLength);
}

FileResult ReadRecord(const std::string& path, size_t recordLength, long n, Bytes& out) {
    out.assign(recordLength, 0);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return notAFile(path);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return openFailed(path, errno);
    FileResult result;
    if (int err = injectedReadFault(path)) {
        result = {FileStatus::ReadFailed, reason("Cannot read", path, err)};
    } else if (!validRecordNumber(n) || fseeko(f, recordOffset(n, recordLength), SEEK_SET) != 0) {
        result = {FileStatus::PastEnd, "Record " + std::to_string(n) + " is not in " + path};
    } else {
        size_t got = std::fread(out.data(), 1, recordLength, f);
        if (got != recordLength) {
            if (std::ferror(f)) result = {FileStatus::ReadFailed, reason("Cannot read", path, errno)};
            else result = {FileStatus::PastEnd, "Record " + std::to_string(n) + " is not in " + path};
            out.assign(recordLength, 0);
        }
    }
    std::fclose(f);
    return result;
}

FileResult WriteRecord(const std::string& path, size_t recordLength, long n, const Bytes& record) {
    if (!validRecordNumber(n) || record.size() != recordLength)
        return {FileStatus::Refused, "Bad record " + std::to_string(n) + " for " + path};
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    // Created only when it does not exist: any other failure (a denied or busy file) must not
    // turn into a new, empty file.
    if (!f && errno == ENOENT) f = std::fopen(path.c_str(), "w+b");
    if (!f) return {FileStatus::WriteFailed, reason("Cannot write", path, errno)};
    FileResult result;
    const off_t offset = recordOffset(n, recordLength);
    off_t len = -1;
    if (fseeko(f, 0, SEEK_END) == 0) len = ftello(f);
    if (len < 0) {
        result = {FileStatus::WriteFailed, reason("Cannot write", path, errno)};
    } else if (len < offset) {
        // Zero-fill up to the record, so the file holds whole records only.
        if (std::fflush(f) != 0 || ftruncate(fileno(f), offset) != 0)
            result = {FileStatus::WriteFailed, reason("Cannot write", path, errno)};
    }
    if (result.ok()) {
        if (int err = injectedFault(path))
            result = {FileStatus::WriteFailed, reason("Cannot write", path, err)};
        else if (fseeko(f, offset, SEEK_SET) != 0 ||
                 std::fwrite(record.data(), 1, record.size(), f) != record.size())
            result = {FileStatus::WriteFailed, reason("Cannot write", path, errno)};
    }
    if (std::fclose(f) != 0 && result.ok())
        result = {FileStatus::WriteFailed, reason("Cannot write", path, errno)};
    return result;
}

FileResult ReplaceFile(const std::string& path, const std::string& contents) {
    std::string temp = path + ".tmp~";
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out) return {FileStatus::WriteFailed, reason("Cannot write", path, errno)};
    // The new contents are on the disk before they take the old file's place.
    int err = injectedFault(path);
    bool written = err == 0 && std::fwrite(contents.data(), 1, contents.size(), out) == contents.size() &&
                   std::fflush(out) == 0 && fsync(fileno(out)) == 0;
    if (!written && err == 0) err = errno;
    if (std::fclose(out) != 0 && written) {
        written = false;
        err = errno;
    }
    if (!written) {
        std::remove(temp.c_str());
        return {FileStatus::WriteFailed, reason("Cannot write", path, err)};
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        return {FileStatus::WriteFailed, "Cannot write " + path + ": " + ec.message()};
    }
    return {};
}

FileResult ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    long length = FileLength(path);
    if (length < 0) return notAFile(path);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return openFailed(path, errno);
    out.resize(static_cast<size_t>(length));
    int err = injectedReadFault(path);
    bool failed = err != 0;
    if (!failed) {
        size_t got = std::fread(out.data(), 1, out.size(), f);
        failed = got != out.size() || std::ferror(f);
        err = errno;
    }
    std::fclose(f);
    if (failed) {
        out.clear();
        return {FileStatus::ReadFailed, reason("Cannot read", path, err)};
    }
    return {};
}

long PortCount(const std::string& areaPath) { return RecordCount(areaPath, PortRecord::kSize); }

FileResult ReadAllPortRecords(const std::string& areaPath, std::vector<PortRecord>& out) {
    out.clear();
    std::string bytes;
    FileResult r = ReadWholeFile(areaPath, bytes);
    if (!r.ok()) return r;
    const size_t n = bytes.size() / PortRecord::kSize;
    out.reserve(n);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    for (size_t k = 0; k < n; ++k)
        out.push_back(
            DecodePortRecord(std::span<const uint8_t>(data + k * PortRecord::kSize, PortRecord::kSize)));
    return {};
}

FileResult ReadPortRecord(const std::string& areaPath, long n, PortRecord& out) {
    Bytes bytes;
    FileResult r = ReadRecord(areaPath, PortRecord::kSize, n, bytes);
    out = DecodePortRecord(bytes);
    if (r.ok())
        if (auto fault = PortRecordFault(out)) return DamagedRecord(areaPath, n, *fault);
    return r;
}

FileResult ReadPortPosition(const std::string& areaPath, long n, PortRecord& out) {
    FileResult r = ReadPortRecord(areaPath, n, out);
    if (!r.recordRead()) return r;
    if (std::optional<std::string> fault = PositionFault(out)) return DamagedRecord(areaPath, n, *fault);
    return {};
}

FileResult ReadDepthRecord(const std::string& depthPath, long n, DepthRecord& out) {
    Bytes bytes;
    FileResult r = ReadRecord(depthPath, DepthRecord::kSize, n, bytes);
    out = DecodeDepthRecord(bytes);
    if (r.ok())
        if (auto fault = DepthRecordFault(out)) return DamagedRecord(depthPath, n, *fault);
    return r;
}

}  // namespace engine
