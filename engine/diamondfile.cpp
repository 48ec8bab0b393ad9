#include "engine/diamondfile.h"

#include "engine/environment.h"

namespace engine {

namespace {

constexpr size_t kSize = TidalDiamondRecord::kSize;

std::string bytesOf(const Bytes& b) { return {b.begin(), b.end()}; }

size_t offsetOf(long k) { return static_cast<size_t>(k - 1) * kSize; }

long wholeRecords(const std::string& bytes) { return static_cast<long>(bytes.size() / kSize); }

FileResult notInFile(const std::string& path, long k) {
    return {FileStatus::PastEnd, "Diamond " + std::to_string(k) + " is not in " + path};
}

}  // namespace

std::string ScratchDiamondFilePath() { return Env().programFolder + "/" + kScratchDiamondFileName; }

long DiamondCount(const std::string& path) { return RecordCount(path, kSize); }

FileResult ReadAllDiamondRecords(const std::string& path, std::vector<TidalDiamondRecord>& out) {
    out.clear();
    std::string bytes;
    if (FileResult r = ReadWholeFile(path, bytes); !r.ok()) return r;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    for (long k = 1; k <= wholeRecords(bytes); ++k)
        out.push_back(DecodeDiamondRecord(std::span(data + offsetOf(k), kSize)));
    return {};
}

FileResult ReadDiamondRecord(const std::string& path, long k, TidalDiamondRecord& out) {
    out = {};
    Bytes bytes;
    FileResult r = ReadRecord(path, kSize, k, bytes);
    if (r.status == FileStatus::PastEnd) return notInFile(path, k);
    if (!r.ok()) return r;
    out = DecodeDiamondRecord(bytes);
    return {};
}

FileResult WriteDiamondRecord(const std::string& path, long k, const TidalDiamondRecord& record) {
    std::string bytes;
    if (FileResult r = ReadWholeFile(path, bytes); !r.ok()) return r;
    if (k < 1 || k > wholeRecords(bytes)) return notInFile(path, k);
    bytes.replace(offsetOf(k), kSize, bytesOf(EncodeDiamondRecord(record)));
    return ReplaceFile(path, bytes);
}

FileResult AppendDiamondRecord(const std::string& path, const TidalDiamondRecord& record) {
    std::string bytes;
    FileResult r = ReadWholeFile(path, bytes);
    if (!r.ok() && r.status != FileStatus::Missing) return r;
    bytes.resize(static_cast<size_t>(wholeRecords(bytes)) * kSize);
    return ReplaceFile(path, bytes + bytesOf(EncodeDiamondRecord(record)));
}

FileResult RemoveDiamondRecord(const std::string& path, long k) {
    std::string bytes;
    if (FileResult r = ReadWholeFile(path, bytes); !r.ok()) return r;
    if (k < 1 || k > wholeRecords(bytes)) return notInFile(path, k);
    if (FileResult r = RemoveWorkFile(ScratchDiamondFilePath()); !r.ok()) {
        r.message += ". " + path + " was not changed";
        return r;
    }
    bytes.resize(static_cast<size_t>(wholeRecords(bytes)) * kSize);
    bytes.erase(offsetOf(k), kSize);
    return ReplaceFile(path, bytes);
}

}  // namespace engine
