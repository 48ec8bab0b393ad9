#include "engine/settingsfile.h"

#include <filesystem>
#include <fstream>

#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/timetext.h"
#include "test_support.h"

using namespace engine;
using testing_support::ReadAll;
using testing_support::EngineTest;
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
    struct Case { float index; int port; } cases[] = {{77.5f, 78}, {76.5f, 76}, {3.2f, 3}};
    for (auto c : cases) {
        SettingsRecord r = DefaultSettingsRecord();
        r.PortIndex = c.index;
        ASSERT_TRUE(WriteSettingsFile(r).ok());
        LoadSettings();
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
    struct Case { const char* area; const char* name; } cases[] = {
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
    ReadPortRecord(State().AreaFilePath, 17, p);
    EXPECT_EQ(d.PortName, p.PortName);
    EXPECT_EQ(Trim(d.Notes), "Position" + FormatLatitude(p.Latitude) + "  " + FormatLongitude(p.Longitude));

    // An existing file is not touched.
    d.ChartedDepth = 2.5f;
    WriteRecord(State().DepthFilePath, DepthRecord::kSize, 17, EncodeDepthRecord(d));
    ASSERT_TRUE(EnsureUserDepthFile().ok());
    ReadDepthRecord(State().DepthFilePath, 17, d);
    EXPECT_EQ(d.ChartedDepth, 2.5f);

    State().AreaFilePath = dir.file("missing.hc");
    EXPECT_FALSE(EnsureUserDepthFile().ok());
    EXPECT_FALSE(std::filesystem::exists(dir.file("docs/TidewynTides/UserDepths/missing.DEP")));
}
