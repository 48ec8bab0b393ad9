#include "engine/settingsfile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <limits>

#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/timetext.h"
#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;
using testing_support::ReadAll;
using testing_support::TempDir;

class SettingsFile : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Env().programFolder = "/opt/tidewyn";
        State().AppDataFolder = dir.path();
        State().DocumentsFolder = dir.file("docs");
        MakeAppDataFolder();
        MakeUserDepthsFolder();
    }
    TempDir dir;
};

TEST_F(SettingsFile, MissingFileGetsTheDefaultsAndTheyLoad) {
    ASSERT_TRUE(LoadSettings().ok());
    const SharedState& s = State();
    EXPECT_EQ(s.CurrentPort, 77);
    EXPECT_EQ(s.AreaFilePath, "/opt/tidewyn/UK.hc");
    EXPECT_EQ(s.OutputOption, 3.0f);
    EXPECT_FALSE(s.ApplySummerTime);
    EXPECT_EQ(s.SpareSetting, 1);
    EXPECT_EQ(FileLength(BuildSettingsFilePath()), 1307);
}

TEST_F(SettingsFile, PortIndexRoundsHalfToEven) {
    struct Case {
        float index;
        int port;
    } cases[] = {{77.5f, 78}, {76.5f, 76}, {3.2f, 3}};
    for (auto c : cases) {
        SettingsRecord r = DefaultSettingsRecord();
        r.PortIndex = c.index;
        ASSERT_TRUE(WriteSettingsFile(r).ok());
        ASSERT_TRUE(LoadSettings().ok());
        EXPECT_EQ(State().CurrentPort, c.port) << c.index;
    }
}

TEST_F(SettingsFile, AWriterChangesOnlyItsOwnBytes) {
    SettingsRecord r = DefaultSettingsRecord();
    r.SpareText1 = "someone else's text";
    r.Reserved2 = 12345;
    ASSERT_TRUE(WriteSettingsFile(r).ok());
    std::string before = ReadAll(BuildSettingsFilePath());
    ASSERT_TRUE(UpdateSettingsFile([](SettingsRecord& rec) { rec.PortIndex = 12; }).ok());
    std::string after = ReadAll(BuildSettingsFilePath());
    ASSERT_EQ(after.size(), 1307u);
    for (size_t i = 0; i < after.size(); ++i) {
        if (i < 1275 || i >= 1279) {
            EXPECT_EQ(before[i], after[i]) << "byte " << i;
        }
    }
    EXPECT_NE(before.substr(1275, 4), after.substr(1275, 4));
}

TEST_F(SettingsFile, AShortOrMissingFileIsNeverRewrittenWithAnEmptyAreaPath) {
    std::ofstream(BuildSettingsFilePath()) << "short";
    State().Settings = DefaultSettingsRecord();
    State().Settings.AreaPath = "/data/France.hc";
    ASSERT_TRUE(UpdateSettingsFile([](SettingsRecord& rec) { rec.PortIndex = 5; }).ok());
    SettingsRecord back;
    ASSERT_TRUE(ReadSettingsFile(back).ok());
    EXPECT_EQ(Trim(back.AreaPath), "/data/France.hc");
    EXPECT_EQ(back.PortIndex, 5.0f);
}

TEST_F(SettingsFile, PathsThatDoNotFitAreRefused) {
    SettingsRecord r = DefaultSettingsRecord();
    ASSERT_TRUE(WriteSettingsFile(r).ok());
    std::string before = ReadAll(BuildSettingsFilePath());
    for (std::string bad : {std::string(256, 'a'), std::string("/home/ł/UK.hc")}) {
        r.AreaPath = bad;
        FileResult result = WriteSettingsFile(r);
        EXPECT_FALSE(result.ok());
        EXPECT_FALSE(result.message.empty());
    }
    EXPECT_EQ(ReadAll(BuildSettingsFilePath()), before);
}

TEST_F(SettingsFile, DepthFileNames) {
    struct Case {
        const char* area;
        const char* name;
    } cases[] = {
        {"/opt/tidewyn/UK.hc", "UK.DEP"},
        {"/home/u/charts/Channel.Islands.hc", "Channel.DEP"},
        {"/home/u/area", "area.DEP"},
    };
    for (auto c : cases) EXPECT_EQ(DepthFileNameFor(c.area), c.name);
}

TEST_F(SettingsFile, UserDepthFileIsCreatedOnceAndOnlyForAReadableArea) {
    State().AreaFilePath = testing_support::SourceDir() + "/data/France.hc";
    ASSERT_TRUE(EnsureUserDepthFile().ok());
    long ports = PortCount(State().AreaFilePath);
    EXPECT_EQ(State().DepthFilePath, dir.file("docs/TidewynTides/UserDepths/France.DEP"));
    EXPECT_EQ(FileLength(State().DepthFilePath), ports * 305);
    DepthRecord d;
    ASSERT_TRUE(ReadDepthRecord(State().DepthFilePath, 17, d).ok());
    EXPECT_EQ(d.PortIndex, 17);
    PortRecord p;
    ASSERT_TRUE(ReadPortRecord(State().AreaFilePath, 17, p).ok());
    EXPECT_EQ(d.PortName, p.PortName);
    EXPECT_EQ(Trim(d.Notes), "Position" + FormatLatitude(p.Latitude) + "  " + FormatLongitude(p.Longitude));

    // An existing file is not touched.
    d.ChartedDepth = 2.5f;
    ASSERT_TRUE(WriteRecord(State().DepthFilePath, DepthRecord::kSize, 17, EncodeDepthRecord(d)).ok());
    ASSERT_TRUE(EnsureUserDepthFile().ok());
    ASSERT_TRUE(ReadDepthRecord(State().DepthFilePath, 17, d).ok());
    EXPECT_EQ(d.ChartedDepth, 2.5f);

    State().AreaFilePath = dir.file("missing.hc");
    EXPECT_FALSE(EnsureUserDepthFile().ok());
    EXPECT_FALSE(std::filesystem::exists(dir.file("docs/TidewynTides/UserDepths/missing.DEP")));
}

// Files that are there but cannot be read hold the user's depths and settings: they are
// never written over, and the failure comes back.
TEST_F(SettingsFile, UnreadableFilesAreNeverReplaced) {
    State().AreaFilePath = testing_support::SourceDir() + "/data/UK.hc";
    ASSERT_TRUE(EnsureUserDepthFile().ok());
    ASSERT_TRUE(LoadSettings().ok());
    const std::string depths = ReadAll(State().DepthFilePath);
    const std::string settings = ReadAll(BuildSettingsFilePath());
    SetReadFault([](const std::string&) { return EIO; });
    const FileResult d = EnsureUserDepthFile();
    const FileResult u = UpdateSettingsFile([](SettingsRecord& rec) { rec.PortIndex = 3; });
    SetReadFault({});
    EXPECT_EQ(d.status, FileStatus::ReadFailed) << d.message;
    EXPECT_EQ(u.status, FileStatus::ReadFailed) << u.message;
    EXPECT_EQ(ReadAll(State().DepthFilePath), depths);
    EXPECT_EQ(ReadAll(BuildSettingsFilePath()), settings);

    // A folder in the depth file's place is told as a folder and left there.
    std::filesystem::remove(State().DepthFilePath);
    std::filesystem::create_directory(State().DepthFilePath);
    const FileResult f = EnsureUserDepthFile();
    EXPECT_EQ(f.status, FileStatus::ReadFailed);
    EXPECT_NE(f.message.find("it is a folder"), std::string::npos) << f.message;
    EXPECT_TRUE(std::filesystem::is_directory(State().DepthFilePath));
}

// A settings file too short to hold the record may be only damaged at its end: it is kept
// beside the defaults that replace it, and the result says so.
TEST_F(SettingsFile, IncompleteFileIsKeptAsBak) {
    const std::string path = BuildSettingsFilePath();
    ASSERT_TRUE(ReplaceFile(path, std::string(1306, 'x')).ok());
    const FileResult r = LoadSettings();
    EXPECT_EQ(r.status, FileStatus::Damaged);
    EXPECT_NE(r.message.find("(1306 of 1307 bytes). It is kept as " + path + ".bak"), std::string::npos)
        << r.message;
    EXPECT_EQ(ReadAll(path + ".bak"), std::string(1306, 'x'));
    EXPECT_EQ(FileLength(path), 1307);
    EXPECT_EQ(State().CurrentPort, 77);
    EXPECT_TRUE(LoadSettings().ok());  // said once
}

// A draught or clearance that is not a number of metres is never used, and the file keeps it
// until the user sets another.
TEST_F(SettingsFile, DamagedDraughtOrClearanceLoadsTheDefault) {
    const struct {
        float draught, clearance;
        const char* fault;
    } cases[] = {
        {std::numeric_limits<float>::quiet_NaN(), 0.5f, "Draught is not a number"},
        {1e8f, 0.5f, "Draught is 1E+08, outside 0 to 100"},
        {1.5f, -0.5f, "KeelClearance is -0.5, outside 0 to 100"},
    };
    for (const auto& c : cases) {
        SettingsRecord stored = DefaultSettingsRecord();
        stored.Draught = c.draught;
        stored.KeelClearance = c.clearance;
        stored.PortIndex = 12;
        ASSERT_TRUE(WriteSettingsFile(stored).ok());
        const std::string before = ReadAll(BuildSettingsFilePath());
        const FileResult r = LoadSettings();
        EXPECT_EQ(r.status, FileStatus::Damaged) << c.fault;
        EXPECT_NE(r.message.find(std::string("Record 1 of TdwTidesv9.cfg is damaged: ") + c.fault),
                  std::string::npos)
            << r.message;
        EXPECT_TRUE(kVesselRange.holds(State().Draught)) << c.fault;
        EXPECT_TRUE(kVesselRange.holds(State().KeelClearance)) << c.fault;
        EXPECT_EQ(State().CurrentPort, 12);
        EXPECT_EQ(ReadAll(BuildSettingsFilePath()), before);
        // Another writer changes its own field and leaves the damaged one as it stands.
        ASSERT_TRUE(UpdateSettingsFile([](SettingsRecord& rec) { rec.PortIndex = 13; }).ok());
        SettingsRecord back;
        EXPECT_EQ(ReadSettingsFile(back).status, FileStatus::Damaged);
        EXPECT_EQ(back.PortIndex, 13.0f);
    }
}

TEST_F(SettingsFile, FullDiskLeavesTheOldSettingsWhole) {
    // The first write finds the disk full: no empty settings file is left to be read later.
    SetWriteFault([](const std::string&) { return ENOSPC; });
    EXPECT_EQ(LoadSettings().status, FileStatus::WriteFailed);
    SetWriteFault({});
    EXPECT_FALSE(std::filesystem::exists(BuildSettingsFilePath()));
    EXPECT_EQ(State().CurrentPort, 77);  // the run goes on with the defaults

    ASSERT_TRUE(LoadSettings().ok());
    const std::string before = ReadAll(BuildSettingsFilePath());
    SetWriteFault([](const std::string&) { return ENOSPC; });
    const FileResult r = UpdateSettingsFile([](SettingsRecord& rec) { rec.PortIndex = 3; });
    SetWriteFault({});
    EXPECT_EQ(r.status, FileStatus::WriteFailed);
    EXPECT_EQ(ReadAll(BuildSettingsFilePath()), before);
    EXPECT_EQ(State().Settings.PortIndex, 77.0f);
}

// A damaged position gives that port empty notes and the rest of the area its depth file; a
// damaged depth is mended by storing a good one, and an absurd one is refused.
TEST_F(SettingsFile, DamagedRecordsNeverDisableTheDepthFile) {
    PortRecord good, lost;
    good.PortName = "Good";
    good.Latitude = 50.5f;
    good.Longitude = -1.25f;
    lost.PortName = "Lost";
    lost.Latitude = std::numeric_limits<float>::quiet_NaN();
    lost.Longitude = 1e30f;
    std::string area;
    for (const PortRecord& p : {good, lost}) {
        const Bytes b = EncodePortRecord(p);
        area.append(b.begin(), b.end());
    }
    SharedState& s = State();
    s.AreaFilePath = dir.file("Two.hc");
    ASSERT_TRUE(ReplaceFile(s.AreaFilePath, area).ok());
    ASSERT_TRUE(EnsureUserDepthFile().ok());
    DepthRecord d;
    ASSERT_TRUE(ReadDepthRecord(s.DepthFilePath, 1, d).ok());
    EXPECT_EQ(Trim(d.Notes), "Position 50.30N   1.15W");
    ASSERT_TRUE(ReadDepthRecord(s.DepthFilePath, 2, d).ok());
    EXPECT_EQ(Trim(d.Notes), "");
    EXPECT_EQ(Trim(d.PortName), "Lost");

    d.ChartedDepth = 1e8f;
    ASSERT_TRUE(WriteRecord(s.DepthFilePath, DepthRecord::kSize, 2, EncodeDepthRecord(d)).ok());
    EXPECT_EQ(ReadDepthRecord(s.DepthFilePath, 2, d).status, FileStatus::Damaged);
    EXPECT_EQ(StoreDepthAndNotes(2, 1e8f, "again").status, FileStatus::Refused);
    ASSERT_TRUE(StoreDepthAndNotes(2, 3.5f, "mended").ok());
    ASSERT_TRUE(ReadDepthRecord(s.DepthFilePath, 2, d).ok());
    EXPECT_EQ(d.ChartedDepth, 3.5f);
    EXPECT_EQ(Trim(d.Notes), "mended");
}
