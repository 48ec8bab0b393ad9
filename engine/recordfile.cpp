#include "engine/recordfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <utility>

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
FileStepFault gStepFault;

// The error a write to path is made to fail with by the test seam, or 0.
int injectedFault(const std::string& path) { return gWriteFault ? gWriteFault(path) : 0; }
int injectedReadFault(const std::string& path) { return gReadFault ? gReadFault(path) : 0; }

// Runs one step of a writer: the error number the seam or the step failed with, or 0.
template <class Op>
int runStep(FileStep step, const std::string& path, Op op) {
    if (gStepFault)
        if (int err = gStepFault(step, path)) return err;
    errno = 0;
    if (op()) return 0;
    return errno != 0 ? errno : EIO;
}

struct StreamCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// A descriptor closed when it goes out of scope, as the system closes it when a program dies.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    void reset(int fd) { fd_ = fd; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

bool writeAll(int fd, const std::string& contents) {
    const char* p = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Removes a file that is there; a missing one is no error and no step.
int removeIfThere(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    return runStep(FileStep::Remove, path, [&] { return ::unlink(path.c_str()) == 0 || errno == ENOENT; });
}

// A new file at path holding contents, synced when asked; its mode made `mode` when given.
// `created` (when given) tells whether the file could be made, whatever failed after.
int writeNewFile(const std::string& path, const std::string& target, const std::string& contents, bool sync,
                 std::optional<mode_t> mode, bool* created = nullptr) {
    if (created) *created = false;
    if (int err = removeIfThere(path)) return err;
    Descriptor fd;
    if (int err = runStep(FileStep::Open, path, [&] {
            fd.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            return fd.get() >= 0;
        }))
        return err;
    if (created) *created = true;
    int err = 0;
    if (mode)
        err = runStep(FileStep::Mode, path, [&] {
            struct stat st;
            if (::fstat(fd.get(), &st) != 0) return false;
            if ((st.st_mode & 0777) == *mode || ::fchmod(fd.get(), *mode) == 0) return true;
            // A file system without Unix modes keeps its own.
            return errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP;
        });
    if (err == 0) err = injectedFault(target);
    if (err == 0) err = runStep(FileStep::Write, path, [&] { return writeAll(fd.get(), contents); });
    if (err == 0 && sync) err = runStep(FileStep::Sync, path, [&] { return ::fsync(fd.get()) == 0; });
    // The descriptor is gone after close, whether or not close succeeded.
    int closeErr = runStep(FileStep::Close, path, [&] { return ::close(fd.release()) == 0; });
    if (err == 0) err = closeErr;
    if (err != 0) (void)removeIfThere(path);
    return err;
}

// Syncs the folder of path, so that a rename in it is on the disk. A folder that may be written
// but not read, or a file system that cannot sync a folder, leaves nothing more to do: only a
// failing sync is a failure.
int syncFolder(const std::string& path) {
    std::string folder = fs::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    return runStep(FileStep::FolderSync, folder, [&] {
        Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (fd.get() < 0) return true;
        return ::fsync(fd.get()) == 0 || errno == EINVAL || errno == ENOTSUP || errno == EOPNOTSUPP ||
               errno == ENOSYS;
    });
}

FileResult writeFailed(const std::string& path, int err) {
    return {FileStatus::WriteFailed, reason("Cannot write", path, err), err};
}

// The temporary file beside `path` could not be made: the folder is named, not the file, which
// may well be writable. A missing folder is told as the file's, with why it is missing.
FileResult stagingFailed(const std::string& path, int err) {
    if (err == ENOENT || err == ENOTDIR) return writeFailed(path, err);
    std::string folder = fs::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    return {FileStatus::WriteFailed,
            "Cannot create a temporary file in " + folder + ": " + std::strerror(err), err};
}

bool validRecordNumber(long n) { return n >= 1 && n <= kMaxRecordNumber; }

// Byte offset of record n; n is a valid record number, so the product stays far inside 64 bits.
off_t recordOffset(long n, size_t recordLength) {
    return static_cast<off_t>(n - 1) * static_cast<off_t>(recordLength);
}
}  // namespace

void SetWriteFault(WriteFault fault) { gWriteFault = std::move(fault); }
void SetReadFault(ReadFault fault) { gReadFault = std::move(fault); }
void SetFileStepFault(FileStepFault fault) { gStepFault = std::move(fault); }

const char* FileStepName(FileStep step) {
    switch (step) {
        case FileStep::Check: return "check";
        case FileStep::Open: return "open";
        case FileStep::Mode: return "mode";
        case FileStep::Write: return "write";
        case FileStep::Sync: return "sync";
        case FileStep::Close: return "close";
        case FileStep::Rename: return "rename";
        case FileStep::FolderSync: return "folder sync";
        case FileStep::Remove: return "remove";
    }
    return "?";
}

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

FileResult RecordNotInFile(const std::string& path, long n) {
    return {FileStatus::PastEnd, "Record " + std::to_string(n) + " is not in " + path};
}

long WholeRecords(const std::string& bytes, size_t recordLength) {
    return static_cast<long>(bytes.size() / recordLength);
}

FileResult ReadWholeRecords(const std::string& path, size_t recordLength, std::string& bytes) {
    FileResult r = ReadWholeFile(path, bytes);
    bytes.resize(static_cast<size_t>(WholeRecords(bytes, recordLength)) * recordLength);
    return r;
}

FileResult ReplaceRecordInFile(const std::string& path, size_t recordLength, long n, const Bytes& record) {
    std::string bytes;
    if (FileResult r = ReadWholeFile(path, bytes); !r.ok()) return r;
    if (n < 1 || n > WholeRecords(bytes, recordLength)) return RecordNotInFile(path, n);
    bytes.replace(RecordStart(n, recordLength), recordLength, AsString(record));
    return ReplaceFile(path, bytes);
}

FileResult AppendRecordsToFile(const std::string& path, size_t recordLength, const std::string& records) {
    std::string bytes;
    FileResult r = ReadWholeRecords(path, recordLength, bytes);
    if (!r.ok() && r.status != FileStatus::Missing) return r;
    if (records.empty() && r.ok()) return {};
    return ReplaceFile(path, bytes + records);
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
        result = RecordNotInFile(path, n);
    } else {
        size_t got = std::fread(out.data(), 1, recordLength, f);
        if (got != recordLength) {
            if (std::ferror(f)) result = {FileStatus::ReadFailed, reason("Cannot read", path, errno)};
            else result = RecordNotInFile(path, n);
            out.assign(recordLength, 0);
        }
    }
    std::fclose(f);
    return result;
}

FileResult WriteRecord(const std::string& path, size_t recordLength, long n, const Bytes& record) {
    if (!validRecordNumber(n) || record.size() != recordLength)
        return {FileStatus::Refused, "Bad record " + std::to_string(n) + " for " + path};
    std::unique_ptr<std::FILE, StreamCloser> stream;
    if (int err = runStep(FileStep::Open, path, [&] {
            stream.reset(std::fopen(path.c_str(), "r+b"));
            // Created only when it does not exist: any other failure (a denied or busy file)
            // must not turn into a new, empty file.
            if (!stream && errno == ENOENT) stream.reset(std::fopen(path.c_str(), "w+b"));
            return stream != nullptr;
        }))
        return writeFailed(path, err);
    std::FILE* f = stream.get();
    FileResult result;
    const off_t offset = recordOffset(n, recordLength);
    off_t len = -1;
    if (fseeko(f, 0, SEEK_END) == 0) len = ftello(f);
    if (len < 0) {
        result = writeFailed(path, errno);
    } else if (len < offset) {
        // Zero-fill up to the record, so the file holds whole records only.
        if (std::fflush(f) != 0 || ftruncate(fileno(f), offset) != 0) result = writeFailed(path, errno);
    }
    if (result.ok()) {
        int err = injectedFault(path);
        if (err == 0)
            err = runStep(FileStep::Write, path, [&] {
                return fseeko(f, offset, SEEK_SET) == 0 &&
                       std::fwrite(record.data(), 1, record.size(), f) == record.size() &&
                       std::fflush(f) == 0;
            });
        if (err != 0) result = writeFailed(path, err);
    }
    // The stream is gone after fclose, whether or not it succeeded.
    const int closeErr = runStep(FileStep::Close, path, [&] { return std::fclose(stream.release()) == 0; });
    if (closeErr != 0 && result.ok()) result = writeFailed(path, closeErr);
    return result;
}

StagedFile StagingFor(const std::string& givenPath) {
    // A link stays a link: the file it points to is replaced.
    std::string path = givenPath;
    std::error_code ec;
    if (fs::is_symlink(path, ec))
        if (fs::path target = fs::canonical(path, ec); !ec) path = target.string();
    return {path, path + std::string(kStagingSuffix)};
}

FileResult StageReplacement(const std::string& givenPath, const std::string& contents, StagedFile& out) {
    out = StagingFor(givenPath);
    const std::string& path = out.path;
    std::optional<mode_t> mode;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return {FileStatus::WriteFailed, "Cannot write " + path + ": it is not a file"};
        mode = st.st_mode & 0777;
        // A file that may not be written is not replaced behind the user's back.
        if (int err = runStep(FileStep::Check, path,
                              [&] { return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }))
            return writeFailed(path, err);
    } else if (errno != ENOENT) {
        return writeFailed(path, errno);
    }
    bool created = false;
    if (int err = writeNewFile(out.temp, path, contents, true, mode, &created))
        return created ? writeFailed(path, err) : stagingFailed(path, err);
    return {};
}

FileResult CommitReplacement(const StagedFile& staged, bool* placed) {
    if (placed) *placed = false;
    if (int err = runStep(FileStep::Rename, staged.path,
                          [&] { return ::rename(staged.temp.c_str(), staged.path.c_str()) == 0; })) {
        DiscardReplacement(staged);
        return writeFailed(staged.path, err);
    }
    if (placed) *placed = true;
    if (int err = syncFolder(staged.path))
        return {FileStatus::WriteFailed,
                staged.path + " was written, but its folder could not be synced: " + std::strerror(err), err};
    return {};
}

void DiscardReplacement(const StagedFile& staged) {
    // A temporary file that stays is removed by the next replacement of the same file.
    (void)removeIfThere(staged.temp);
}

FileResult ReplaceFile(const std::string& path, const std::string& contents) {
    StagedFile staged;
    FileResult r = StageReplacement(path, contents, staged);
    if (!r.ok()) return r;
    bool placed = false;
    r = CommitReplacement(staged, &placed);
    r.replaced = placed;
    return r;
}

FileResult CopyWholeFile(const std::string& source, const std::string& target) {
    std::string bytes;
    if (FileResult r = ReadWholeFile(source, bytes); !r.ok()) return r;
    return ReplaceFile(target, bytes);
}

FileResult WriteWorkFile(const std::string& path, const std::string& contents) {
    if (int err = writeNewFile(path, path, contents, false, std::nullopt)) return writeFailed(path, err);
    return {};
}

FileResult RemoveWorkFile(const std::string& path) {
    if (int err = removeIfThere(path))
        return {FileStatus::WriteFailed, reason("Cannot remove", path, err), err};
    return {};
}

namespace {
// "<path> is too large to be read (8,000,000,000 bytes)".
FileResult tooLarge(const std::string& path, long length, const std::string& why = "") {
    return {FileStatus::ReadFailed, path + " is too large to be read (" +
                                        Format(static_cast<double>(length), "#,##0") + " bytes)" + why};
}
}  // namespace

FileResult ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    long length = FileLength(path);
    if (length < 0) return notAFile(path);
    if (length > kMaxWholeFileLength) return tooLarge(path, length);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return openFailed(path, errno);
    try {
        out.resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
        std::fclose(f);
        return tooLarge(path, length, ": there is not enough memory for it");
    }
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
    return ReadAllRecords(areaPath, DecodePortRecord, out);
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
