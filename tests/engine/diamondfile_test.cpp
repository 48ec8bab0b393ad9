#include "engine/diamondfile.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <set>

#include "engine/environment.h"
#include "test_support.h"

using namespace engine;
using testing_support::NamedInFailure;
using testing_support::ReadAll;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

void putFloat(Bytes& b, size_t at, float v) { std::memcpy(b.data() + at, &v, 4); }

// Values that differ from field to field and from hour to hour.
float direction(size_t h) { return 5.0f + 20.0f * static_cast<float>(h); }
float springRate(size_t h) { return 0.25f * static_cast<float>(h + 1); }
float neapRate(size_t h) { return 0.125f * static_cast<float>(h + 1) + 4.0f; }

// A diamond written byte by byte at the offsets of the diamond-file layout.
Bytes handMadeDiamond(uint8_t ref) {
    Bytes b(165, 0xAA);
    putFloat(b, 0, 50.6833f);
    putFloat(b, 4, -1.0667f);
    b[8] = ref;
    for (size_t h = 0; h < 13; ++h) {
        putFloat(b, 9 + 12 * h, direction(h));
        putFloat(b, 13 + 12 * h, springRate(h));
        putFloat(b, 17 + 12 * h, neapRate(h));
    }
    return b;
}

TidalDiamondRecord Diamond(int k) {
    TidalDiamondRecord d;
    d.Latitude = 50.5f + static_cast<float>(k) / 16;
    d.Longitude = -1.0f + static_cast<float>(k) / 8;
    d.DiamondRef = std::string(1, static_cast<char>('A' + k - 1));
    for (size_t h = 0; h < 13; ++h)
        d.HourStreams[h] = {static_cast<float>(k * 10) + direction(h), springRate(h) + static_cast<float>(k),
                            neapRate(h)};
    return d;
}

std::string FileBytes(std::initializer_list<int> diamonds) {
    std::string out;
    for (int k : diamonds) {
        const Bytes b = EncodeDiamondRecord(Diamond(k));
        out.append(b.begin(), b.end());
    }
    return out;
}

const std::string kTail(40, 'x');

// A program folder holding the diamond file Channel.l20.
class DiamondFile : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Env().programFolder = dir.file("program");
        fs::create_directories(Env().programFolder);
        path = Env().programFolder + "/Channel.l20";
    }

    TempDir dir;
    std::string path;
};

}  // namespace

TEST(DiamondRecord, FieldsSitAtTheirOffsets) {
    const Bytes bytes = handMadeDiamond('C');
    TidalDiamondRecord expected;
    expected.Latitude = 50.6833f;
    expected.Longitude = -1.0667f;
    expected.DiamondRef = "C";
    for (size_t h = 0; h < 13; ++h) expected.HourStreams[h] = {direction(h), springRate(h), neapRate(h)};

    EXPECT_EQ(EncodeDiamondRecord(expected), bytes);
    const TidalDiamondRecord r = DecodeDiamondRecord(bytes);
    EXPECT_EQ(r.Latitude, expected.Latitude);
    EXPECT_EQ(r.Longitude, expected.Longitude);
    EXPECT_EQ(r.DiamondRef, "C");
    for (size_t h = 0; h < 13; ++h) {
        EXPECT_EQ(r.HourStreams[h].Direction, direction(h)) << h;
        EXPECT_EQ(r.HourStreams[h].SpringRate, springRate(h)) << h;
        EXPECT_EQ(r.HourStreams[h].NeapRate, neapRate(h)) << h;
    }
}

// The reference is one Windows-1252 byte, cut or blank-filled; nothing behind it moves.
TEST(DiamondRecord, ReferenceIsOneWindows1252Byte) {
    const struct {
        const char* given;
        uint8_t stored;
        const char* read;
    } cases[] = {{"é", 0xE9, "é"}, {"", 0x20, " "}, {"AB", 'A', "A"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        TidalDiamondRecord r = DecodeDiamondRecord(handMadeDiamond('C'));
        r.DiamondRef = c.given;
        const Bytes b = EncodeDiamondRecord(r);
        EXPECT_EQ(b, handMadeDiamond(c.stored));
        EXPECT_EQ(DecodeDiamondRecord(b).DiamondRef, c.read);
    }
}

// Appends and removals take whole records only; an amend changes record k's bytes alone.
TEST_F(DiamondFile, EditsRewriteWholeRecords) {
    const struct {
        const char* name;
        std::optional<std::string> before;  // none: no file
        std::function<FileResult(const std::string&)> edit;
        std::string after;
    } cases[] = {
        {"append to an empty file", "", [](auto& p) { return AppendDiamondRecord(p, Diamond(9)); },
         FileBytes({9})},
        {"append to a missing file", std::nullopt, [](auto& p) { return AppendDiamondRecord(p, Diamond(9)); },
         FileBytes({9})},
        {"remove 3 of 5", FileBytes({1, 2, 3, 4, 5}), [](auto& p) { return RemoveDiamondRecord(p, 3); },
         FileBytes({1, 2, 4, 5})},
        {"remove the only one", FileBytes({1}), [](auto& p) { return RemoveDiamondRecord(p, 1); }, ""},
        {"amend 3 of 5", FileBytes({1, 2, 3, 4, 5}),
         [](auto& p) { return WriteDiamondRecord(p, 3, Diamond(9)); }, FileBytes({1, 2, 9, 4, 5})},
        {"append behind a tail", FileBytes({1, 2}) + kTail,
         [](auto& p) { return AppendDiamondRecord(p, Diamond(9)); }, FileBytes({1, 2, 9})},
        {"remove before a tail", FileBytes({1, 2}) + kTail, [](auto& p) { return RemoveDiamondRecord(p, 1); },
         FileBytes({2})},
        {"amend before a tail", FileBytes({1, 2}) + kTail,
         [](auto& p) { return WriteDiamondRecord(p, 2, Diamond(9)); }, FileBytes({1, 9}) + kTail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path);
        if (c.before) WriteBytes(path, *c.before);
        WriteBytes(ScratchDiamondFilePath(), "left by an earlier run");
        const bool removal = std::string(c.name).starts_with("remove");
        FileResult r = c.edit(path);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_TRUE(ReadAll(path) == c.after);
        EXPECT_EQ(FileLength(path), static_cast<long>(c.after.size()));
        if (removal) {
            EXPECT_FALSE(fs::exists(ScratchDiamondFilePath()));
        }
        EXPECT_FALSE(fs::exists(path + ".tmp~"));
    }
}

// Two diamonds and 40 bytes: the tail is not listed, and numbers outside 1 to 2 are refused.
TEST_F(DiamondFile, APartialTailIsNoDiamond) {
    const std::string before = FileBytes({1, 2}) + kTail;
    WriteBytes(path, before);
    EXPECT_EQ(DiamondCount(path), 2);
    std::vector<TidalDiamondRecord> all;
    ASSERT_TRUE(ReadAllDiamondRecords(path, all).ok());
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(EncodeDiamondRecord(all[1]), EncodeDiamondRecord(Diamond(2)));
    TidalDiamondRecord one;
    ASSERT_TRUE(ReadDiamondRecord(path, 2, one).ok());
    EXPECT_EQ(EncodeDiamondRecord(one), EncodeDiamondRecord(Diamond(2)));

    for (long k : {0L, 3L}) {
        SCOPED_TRACE(k);
        const std::string message = "Diamond " + std::to_string(k) + " is not in " + path;
        for (FileResult r : {ReadDiamondRecord(path, k, one), WriteDiamondRecord(path, k, Diamond(9)),
                             RemoveDiamondRecord(path, k)}) {
            EXPECT_EQ(r.status, FileStatus::PastEnd);
            EXPECT_EQ(r.message, message);
        }
        EXPECT_TRUE(ReadAll(path) == before);
    }
}

// A value that is not a finite number, or a position outside its range, makes the diamond
// Damaged, named by record and field; it is read as it stands, and every record with it.
TEST_F(DiamondFile, DamagedValuesAreNamed) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const struct {
        const char* field;
        void (*set)(TidalDiamondRecord&, float);
        const char* range;  // told after an infinite value
    } fields[] = {
        {"Latitude", [](TidalDiamondRecord& d, float v) { d.Latitude = v; }, ", outside -90 to 90"},
        {"Longitude", [](TidalDiamondRecord& d, float v) { d.Longitude = v; }, ", outside -180 to 180"},
        {"Direction at HW -6", [](TidalDiamondRecord& d, float v) { d.HourStreams[0].Direction = v; }, ""},
        {"Spring rate at HW -3", [](TidalDiamondRecord& d, float v) { d.HourStreams[3].SpringRate = v; }, ""},
        {"Neap rate at HW", [](TidalDiamondRecord& d, float v) { d.HourStreams[6].NeapRate = v; }, ""},
        {"Direction at HW +6", [](TidalDiamondRecord& d, float v) { d.HourStreams[12].Direction = v; }, ""},
    };
    const struct {
        float value;
        const char* said;
    } values[] = {{kNaN, " is not a number"}, {kInf, " is infinite"}, {-kInf, " is minus infinite"}};
    for (const auto& f : fields) {
        for (const auto& v : values) {
            SCOPED_TRACE(std::string(f.field) + v.said);
            TidalDiamondRecord damaged = Diamond(2);
            f.set(damaged, v.value);
            const std::string bytes = AsString(EncodeDiamondRecord(damaged));
            WriteBytes(path, FileBytes({1}) + bytes + FileBytes({3}));
            const std::string message = "Record 2 of Channel.l20 is damaged: " + std::string(f.field) +
                                        v.said + (std::isnan(v.value) ? "" : f.range);
            TidalDiamondRecord one;
            FileResult r = ReadDiamondRecord(path, 2, one);
            EXPECT_EQ(r.status, FileStatus::Damaged);
            EXPECT_EQ(r.message, message);
            EXPECT_EQ(AsString(EncodeDiamondRecord(one)), bytes);
            EXPECT_TRUE(ReadDiamondRecord(path, 3, one).ok());
            std::vector<TidalDiamondRecord> all;
            r = ReadAllDiamondRecords(path, all);
            EXPECT_EQ(r.status, FileStatus::Damaged);
            EXPECT_EQ(r.message, message);
            ASSERT_EQ(all.size(), 3u);
            EXPECT_EQ(AsString(EncodeDiamondRecord(all[1])), bytes);
        }
    }
    // A position just outside its range is damaged, its ends and large rates are not; of two
    // damaged diamonds the first is named.
    TidalDiamondRecord d = Diamond(1);
    d.Latitude = -90;
    d.Longitude = 180;
    d.HourStreams[5].SpringRate = 3e38f;
    EXPECT_EQ(DiamondRecordFault(d), std::nullopt);
    d.Longitude = 180.5f;
    EXPECT_EQ(DiamondRecordFault(d), "Longitude is 180.5, outside -180 to 180");
    TidalDiamondRecord nan = Diamond(2);
    nan.HourStreams[1].NeapRate = kNaN;
    WriteBytes(path, FileBytes({3}) + AsString(EncodeDiamondRecord(d)) + AsString(EncodeDiamondRecord(nan)));
    std::vector<TidalDiamondRecord> all;
    EXPECT_EQ(ReadAllDiamondRecords(path, all).message,
              "Record 2 of Channel.l20 is damaged: Longitude is 180.5, outside -180 to 180");
    EXPECT_EQ(all.size(), 3u);
}

namespace {

const struct {
    const char* name;
    std::function<FileResult(const std::string&)> run;
} kWriters[] = {
    {"amend", [](const std::string& p) { return WriteDiamondRecord(p, 2, Diamond(9)); }},
    {"append", [](const std::string& p) { return AppendDiamondRecord(p, Diamond(9)); }},
    {"remove", [](const std::string& p) { return RemoveDiamondRecord(p, 2); }},
};

using Step = testing_support::TakenStep;

}  // namespace

// Each step of each writer fails in turn. The file keeps its old bytes until its rename, a
// failing folder sync after it leaves the new ones; the message names the file (the scratch file
// being removed, the folder where the temporary file cannot be made) and the reason; no
// temporary file stays.
TEST_F(DiamondFile, EveryStepFailingKeepsTheFile) {
    const std::string before = FileBytes({1, 2, 3});
    const auto reset = [&] {
        WriteBytes(path, before);
        WriteBytes(ScratchDiamondFilePath(), "left by an earlier run");
    };
    for (const auto& op : kWriters) {
        reset();
        std::vector<Step> steps;
        testing_support::RecordFileSteps(steps);
        ASSERT_TRUE(op.run(path).ok()) << op.name;
        SetFileStepFault({});
        const std::string after = ReadAll(path);
        std::set<FileStep> taken;
        for (const Step& s : steps) taken.insert(s.step);
        for (FileStep s : {FileStep::Check, FileStep::Open, FileStep::Mode, FileStep::Write, FileStep::Sync,
                           FileStep::Close, FileStep::Rename, FileStep::FolderSync})
            EXPECT_TRUE(taken.contains(s)) << op.name << ": " << FileStepName(s);
        EXPECT_EQ(taken.contains(FileStep::Remove), std::string(op.name) == "remove") << op.name;

        for (size_t failing = 0; failing < steps.size(); ++failing) {
            for (int err : {ENOSPC, EACCES, EROFS}) {
                reset();
                size_t asked = 0;
                SetFileStepFault([&](FileStep, const std::string&) { return asked++ == failing ? err : 0; });
                FileResult r = op.run(path);
                SetFileStepFault({});
                const Step& at = steps[failing];
                SCOPED_TRACE(std::string(op.name) + ", " + FileStepName(at.step) + " of " + at.path + ", " +
                             std::strerror(err));
                EXPECT_FALSE(r.ok());
                EXPECT_EQ(r.error, err);
                EXPECT_NE(r.message.find(NamedInFailure(at)), std::string::npos) << r.message;
                EXPECT_NE(r.message.find(std::strerror(err)), std::string::npos) << r.message;
                EXPECT_TRUE(ReadAll(path) == (at.step == FileStep::FolderSync ? after : before));
                EXPECT_EQ(r.replaced, at.step == FileStep::FolderSync);
                EXPECT_FALSE(fs::exists(path + ".tmp~"));
            }
        }
    }
}

// A file that cannot be read is neither listed nor rewritten, nor taken for a missing one.
TEST_F(DiamondFile, ReadFaultIsReported) {
    const std::string before = FileBytes({1, 2});
    WriteBytes(path, before);
    SetReadFault([this](const std::string& p) { return p == path ? EIO : 0; });
    std::vector<TidalDiamondRecord> all;
    TidalDiamondRecord one;
    FileResult results[] = {ReadAllDiamondRecords(path, all), ReadDiamondRecord(path, 1, one),
                            WriteDiamondRecord(path, 1, Diamond(9)), AppendDiamondRecord(path, Diamond(9)),
                            RemoveDiamondRecord(path, 1)};
    SetReadFault({});
    for (const FileResult& r : results) {
        EXPECT_EQ(r.status, FileStatus::ReadFailed);
        EXPECT_EQ(r.message, "Cannot read " + path + ": " + std::strerror(EIO));
    }
    EXPECT_TRUE(all.empty());
    EXPECT_TRUE(ReadAll(path) == before);
}
