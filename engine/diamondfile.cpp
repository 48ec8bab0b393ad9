#include "engine/diamondfile.h"

#include "engine/environment.h"

namespace engine {

namespace {

constexpr size_t kSize = TidalDiamondRecord::kSize;

FileResult notInFile(const std::string& path, long k) {
    return {FileStatus::PastEnd, "Diamond " + std::to_string(k) + " is not in " + path};
}

}  // namespace

std::string ScratchDiamondFilePath() { return Env().programFolder + "/" + kScratchDiamondFileName; }

long DiamondCount(const std::string& path) { return RecordCount(path, kSize); }

FileResult ReadAllDiamondRecords(const std::string& path, std::vector<TidalDiamondRecord>& out) {
    if (FileResult r = ReadAllRecords(path, DecodeDiamondRecord, out); !r.ok()) return r;
    for (size_t i = 0; i < out.size(); ++i)
        if (auto fault = DiamondRecordFault(out[i]))
            return DamagedRecord(path, static_cast<long>(i + 1), *fault);
    return {};
}

FileResult ReadDiamondRecord(const std::string& path, long k, TidalDiamondRecord& out) {
    out = {};
    Bytes bytes;
    FileResult r = ReadRecord(path, kSize, k, bytes);
    if (r.status == FileStatus::PastEnd) return notInFile(path, k);
    if (!r.ok()) return r;
    out = DecodeDiamondRecord(bytes);
    if (auto fault = DiamondRecordFault(out)) return DamagedRecord(path, k, *fault);
    return {};
}

FileResult WriteDiamondRecord(const std::string& path, long k, const TidalDiamondRecord& record) {
    FileResult r = ReplaceRecordInFile(path, kSize, k, EncodeDiamondRecord(record));
    return r.status == FileStatus::PastEnd ? notInFile(path, k) : r;
}

FileResult AppendDiamondRecord(const std::string& path, const TidalDiamondRecord& record) {
    return AppendRecordsToFile(path, kSize, AsString(EncodeDiamondRecord(record)));
}

FileResult RemoveDiamondRecord(const std::string& path, long k) {
    std::string bytes;
    if (FileResult r = ReadWholeRecords(path, kSize, bytes); !r.ok()) return r;
    if (k < 1 || k > WholeRecords(bytes, kSize)) return notInFile(path, k);
    if (FileResult r = RemoveWorkFile(ScratchDiamondFilePath()); !r.ok()) {
        r.message += ". " + path + " was not changed";
        return r;
    }
    bytes.erase(RecordStart(k, kSize), kSize);
    return ReplaceFile(path, bytes);
}

}  // namespace engine
