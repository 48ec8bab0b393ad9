#include "engine/heightfile.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

#include "engine/environment.h"
#include "engine/timetext.h"
#include "port_fixture.h"
#include "test_support.h"

using namespace engine;
using testing_support::HeightFileBytes;
using testing_support::ReadAll;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

ObsHeightRecord obs(float time, float height) { return {time, height}; }

// n records at 10-minute steps from midnight, heights 1.00, 1.01, ...
std::vector<ObsHeightRecord> heights(int n, float first = 1.0f) {
    std::vector<ObsHeightRecord> out;
    for (int k = 0; k < n; ++k)
        out.push_back(obs(static_cast<float>(k / 6.0), first + static_cast<float>(k) / 100.0f));
    return out;
}

}  // namespace

class HeightFile : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Env().programFolder = dir.path();
    }
    TempDir dir;
};

// 07:35 and 2.4 m: the time as hours and minutes / 60 in single precision, twelve zero bytes,
// a remark of 35 blanks; read back as the entry it came from.
TEST_F(HeightFile, RecordLayoutAndEntryText) {
    const ObsHeightRecord r = ObsFromEntry("07:35, 2.4");
    EXPECT_EQ(r.ObsTime, static_cast<float>(7 + 35 / 60.0));
    EXPECT_EQ(r.ObsHeight, 2.4f);
    const Bytes b = EncodeObsHeightRecord(r);
    ASSERT_EQ(b.size(), 55u);
    float time = 0, height = 0;
    std::memcpy(&time, b.data(), 4);
    std::memcpy(&height, b.data() + 4, 4);
    EXPECT_EQ(time, r.ObsTime);
    EXPECT_NEAR(time, 7.583333, 1e-6);
    EXPECT_EQ(height, 2.4f);
    for (size_t i = 8; i < 20; ++i) EXPECT_EQ(b[i], 0) << i;
    for (size_t i = 20; i < 55; ++i) EXPECT_EQ(b[i], ' ') << i;
    EXPECT_EQ(ObsEntryText(DecodeObsHeightRecord(b)), "07:35, 2.4");
    const ObsHeightRecord half = ObsFromEntry("12:30, 1.75");
    EXPECT_EQ(half.ObsTime, 12.5f);
    EXPECT_EQ(half.ObsHeight, 1.75f);
    // A height written with a decimal comma after the entry's separator is read whole.
    EXPECT_EQ(ObsFromEntry("09:05, 1,25").ObsHeight, 1.25f);

    // Every time the dialog can compose comes back as it was written, 23:55 included.
    for (int h = 0; h < 24; ++h)
        for (int m = 0; m < 60; m += 5) {
            const std::string entry = ObsTimeText(h, m) + ", 0";
            EXPECT_EQ(ObsEntryText(ObsFromEntry(entry)), entry);
        }
}

// The file is the list: 12 entries make 660 bytes, 3 written over 5 records leave 165; no
// entries leave an existing file as it was and make a new name an empty file.
TEST_F(HeightFile, WritingReplacesTheWholeFile) {
    const std::string path = dir.file("Harbour.ht");
    ASSERT_TRUE(WriteHeightFile(path, heights(12)).ok());
    EXPECT_EQ(ReadAll(path), HeightFileBytes(heights(12)));
    EXPECT_EQ(ReadAll(path).size(), 660u);

    WriteBytes(path, HeightFileBytes(heights(5, 3.0f)));
    ASSERT_TRUE(WriteHeightFile(path, heights(3)).ok());
    EXPECT_EQ(ReadAll(path), HeightFileBytes(heights(3)));

    ASSERT_TRUE(WriteHeightFile(path, {}).ok());
    EXPECT_EQ(ReadAll(path), HeightFileBytes(heights(3)));
    const std::string fresh = dir.file("New.ht");
    ASSERT_TRUE(WriteHeightFile(fresh, {}).ok());
    ASSERT_TRUE(fs::exists(fresh));
    EXPECT_EQ(fs::file_size(fresh), 0u);
}

// Whole records only; a missing file has none and stays missing; a record whose time is not of
// the day or whose height is no height is named, and nothing is read.
TEST_F(HeightFile, ReadingChecksEveryRecord) {
    const std::string path = dir.file("Harbour.ht");
    std::vector<ObsHeightRecord> read;
    WriteBytes(path, HeightFileBytes(heights(3)) + std::string(20, 'x'));
    ASSERT_TRUE(ReadHeightFile(path, read).ok());
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[2].ObsHeight, heights(3)[2].ObsHeight);

    const std::string missing = dir.file("None.ht");
    EXPECT_EQ(ReadHeightFile(missing, read).status, FileStatus::Missing);
    EXPECT_TRUE(read.empty());
    EXPECT_FALSE(fs::exists(missing));

    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const struct {
        ObsHeightRecord bad;
        const char* fault;
    } cases[] = {
        {obs(24.5f, 1), "ObsTime is 24.5, outside 0 to 24"},
        {obs(-0.5f, 1), "ObsTime is -0.5, outside 0 to 24"},
        {obs(nan, 1), "ObsTime is not a number"},
        {obs(12, 101), "ObsHeight is 101, outside -100 to 100"},
        {obs(12, inf), "ObsHeight is infinite, outside -100 to 100"},
    };
    for (const auto& c : cases) {
        std::vector<ObsHeightRecord> records = heights(4);
        records[2] = c.bad;
        WriteBytes(path, HeightFileBytes(records));
        const FileResult r = ReadHeightFile(path, read);
        EXPECT_EQ(r.status, FileStatus::Damaged) << c.fault;
        EXPECT_EQ(r.message, std::string("Record 3 of Harbour.ht is damaged: ") + c.fault);
        EXPECT_TRUE(read.empty()) << c.fault;
    }
}

// The base name is the text before its first "." without the blanks around it; a file listed
// under another case of the same name is that file, the exact spelling first.
TEST_F(HeightFile, NamesResolveInTheProgramFolder) {
    WriteBytes(dir.file("HARBOUR.HT"), "");
    WriteBytes(dir.file("Both.ht"), "");
    WriteBytes(dir.file("BOTH.HT"), "");
    WriteBytes(dir.file("both.HT"), "");
    const struct {
        const char* typed;
        const char* file;
        const char* fault;
    } cases[] = {
        {" Harbour.old ", "HARBOUR.HT", ""},
        {"harbour", "HARBOUR.HT", ""},
        {"Both", "Both.ht", ""},
        {"both.HT", "both.HT", ""},
        {"BOTH", "BOTH.HT", ""},
        {"New.ht", "New.ht", ""},
        {"", "", "No filename chosen"},
        {"  .ht", "", "No filename chosen"},
        {"../up", "", "No filename chosen"},
        {"sub/name", "", "A name cannot contain a slash or a backslash"},
        {"sub\\name.ht", "", "A name cannot contain a slash or a backslash"},
    };
    for (const auto& c : cases) {
        const NamedFile name = HeightFileFor(c.typed);
        EXPECT_EQ(name.fault, c.fault) << c.typed;
        EXPECT_EQ(name.path, *c.file ? dir.file(c.file) : "") << c.typed;
    }
}

// The shipped sample: a day of heights every 10 minutes, the times as the entry dialog encodes
// them, the heights to the centimetre within what the dialog offers.
TEST(HeightSample, MontoirIsADayAtTenMinuteSteps) {
    const char* folder = std::getenv("TIDEWYN_PROGRAM_DIR");
    ASSERT_NE(folder, nullptr);
    std::vector<ObsHeightRecord> read;
    ASSERT_TRUE(ReadHeightFile(std::string(folder) + "/Montoir.ht", read).ok());
    ASSERT_EQ(read.size(), 144u);
    for (size_t k = 0; k < read.size(); ++k) {
        const int minutes = static_cast<int>(k) * 10;
        const ObsHeightRecord entry = ObsFromEntry(ObsTimeText(minutes / 60, minutes % 60) + ", 0");
        EXPECT_EQ(read[k].ObsTime, entry.ObsTime) << k;
        const double cm = std::round(read[k].ObsHeight * 100.0);
        EXPECT_EQ(read[k].ObsHeight, static_cast<float>(cm / 100)) << k;
        EXPECT_GE(cm, 0) << k;
        EXPECT_LE(cm, 2099) << k;
    }
}
