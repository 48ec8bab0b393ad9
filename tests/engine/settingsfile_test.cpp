#include "engine/settingsfile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

#include "engine/cp1252.h"
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

namespace {
std::string padded(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}
}  // namespace

// Every area path is kept: a file of the program folder by its name, a path that the 255-byte
// Windows-1252 field holds as it stands, as before, and any other in the companion file.
TEST_F(SettingsFile, EveryAreaPathIsSavedAndReadBack) {
    const std::string cyrillic = dir.file("Пользователь/tidewyn");
    const std::string longPath = "/" + std::string(150, 'a') + "/" + std::string(150, 'b') + "/UK.hc";
    const struct {
        std::string program, area;
        std::string field;  // what the AreaPath field holds; blank: the companion holds the path
    } cases[] = {
        {cyrillic, cyrillic + "/UK.hc", "UK.hc"},
        {cyrillic, cyrillic + "/Карта.hc", ""},
        {"/opt/tidewyn", dir.file("Карты/UK.hc"), ""},
        {"/opt/tidewyn", longPath, ""},
        {"/opt/tidewyn", "/data/France.hc", "/data/France.hc"},  // the companion left over is not read
        {"/opt/tidewyn", "/opt/tidewyn/UK.hc", "UK.hc"},
        {cyrillic, "/data/Côte d'Opale.hc", "/data/Côte d'Opale.hc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.area);
        Env().programFolder = c.program;
        SettingsRecord r = DefaultSettingsRecord();
        r.AreaPath = c.area;
        r.PortIndex = 12;
        ASSERT_TRUE(WriteSettingsFile(r).ok());
        const std::string bytes = ReadAll(BuildSettingsFilePath());
        ASSERT_EQ(bytes.size(), SettingsRecord::kSize);
        EXPECT_EQ(bytes.substr(0, 255), padded(Utf8ToCp1252(c.field), 255));
        EXPECT_EQ(bytes.substr(4 * 255, 255), padded("Sample.way", 255));
        if (c.field.empty()) {
            EXPECT_EQ(ReadAll(SettingsCompanionPath()), c.area + "\n");
        }

        SettingsRecord back;
        ASSERT_TRUE(ReadSettingsFile(back).ok());
        EXPECT_EQ(back.AreaPath, c.area);
        EXPECT_EQ(back.WaypointFile, c.program + "/Sample.way");
        EXPECT_EQ(back.PortIndex, 12.0f);
        ASSERT_TRUE(LoadSettings().ok());
        EXPECT_EQ(State().AreaFilePath, c.area);
        EXPECT_EQ(State().Settings.AreaPath, c.area);
        ASSERT_TRUE(UpdateSettingsFile([](SettingsRecord& rec) { rec.PortIndex = 13; }).ok());
        EXPECT_EQ(ReadAll(BuildSettingsFilePath()).substr(0, 255), bytes.substr(0, 255));
        ASSERT_TRUE(ReadSettingsFile(back).ok());
        EXPECT_EQ(back.AreaPath, c.area);
    }
}

// A file written before paths were stored by name holds full paths: they read as they stand.
TEST_F(SettingsFile, AnOlderFileWithFullPathsReadsAsItStands) {
    SettingsRecord old = DefaultSettingsRecord();
    old.PortIndex = 5;
    testing_support::WriteBytes(BuildSettingsFilePath(), AsString(EncodeSettingsRecord(old)));
    ASSERT_EQ(ReadAll(BuildSettingsFilePath()).substr(0, 18), "/opt/tidewyn/UK.hc");
    SettingsRecord back;
    ASSERT_TRUE(ReadSettingsFile(back).ok());
    EXPECT_EQ(back.AreaPath, "/opt/tidewyn/UK.hc");
    EXPECT_EQ(back.WaypointFile, "/opt/tidewyn/Sample.way");
    ASSERT_TRUE(LoadSettings().ok());
    EXPECT_EQ(State().AreaFilePath, "/opt/tidewyn/UK.hc");
    EXPECT_EQ(State().CurrentPort, 5);
}

// A blank field whose companion is gone, empty or unreadable: the default area is used, and
// the load says why.
TEST_F(SettingsFile, ACompanionThatCannotBeReadLeavesTheDefaultArea) {
    const std::string companion = SettingsCompanionPath();
    const struct {
        const char* what;
        std::function<void()> damage;
        std::string reason;
    } cases[] = {
        {"gone", [&] { std::filesystem::remove(companion); },
         "Cannot open " + companion + ": " + std::strerror(ENOENT)},
        {"empty", [&] { testing_support::WriteBytes(companion, ""); }, companion + " holds no path"},
        {"unreadable",
         [] { SetReadFault([](const std::string& path) { return path.ends_with(".area") ? EIO : 0; }); },
         "Cannot read " + companion + ": " + std::strerror(EIO)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsRecord r = DefaultSettingsRecord();
        r.AreaPath = dir.file("Карты/UK.hc");
        r.PortIndex = 12;
        ASSERT_TRUE(WriteSettingsFile(r).ok());
        c.damage();
        SettingsRecord back;
        EXPECT_EQ(ReadSettingsFile(back).status, FileStatus::Damaged);
        EXPECT_EQ(back.AreaPath, "/opt/tidewyn/UK.hc");
        const FileResult load = LoadSettings();
        SetReadFault({});
        EXPECT_EQ(load.status, FileStatus::Damaged);
        EXPECT_EQ(load.message, "The path of the sea area file in the settings cannot be read: " + c.reason +
                                    ". The program uses /opt/tidewyn/UK.hc until another sea area is "
                                    "chosen with Select Port, Sea Area.");
        EXPECT_EQ(State().AreaFilePath, "/opt/tidewyn/UK.hc");
        EXPECT_EQ(State().CurrentPort, 12);
    }
}

// A companion that cannot be written leaves both files as they were; so does a record that
// cannot be written after it, the companion being put back.
TEST_F(SettingsFile, AFailedSaveLeavesTheCompanionAndTheRecord) {
    SettingsRecord r = DefaultSettingsRecord();
    r.AreaPath = dir.file("Карты/One.hc");
    ASSERT_TRUE(WriteSettingsFile(r).ok());
    const std::string settings = ReadAll(BuildSettingsFilePath());
    const std::string companion = ReadAll(SettingsCompanionPath());
    const struct {
        const char* failing;
        std::string area;
    } cases[] = {
        {".cfg.area", dir.file("Карты/Two.hc")},
        {".cfg", dir.file("Карты/Two.hc")},
        {".cfg", "/data/France.hc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.failing) + " " + c.area);
        SetWriteFault([&](const std::string& path) { return path.ends_with(c.failing) ? ENOSPC : 0; });
        SettingsRecord other = r;
        other.AreaPath = c.area;
        other.PortIndex = 3;
        const FileResult w = WriteSettingsFile(other);
        SetWriteFault({});
        EXPECT_FALSE(w.saved());
        EXPECT_NE(w.message.find(std::strerror(ENOSPC)), std::string::npos) << w.message;
        EXPECT_EQ(ReadAll(BuildSettingsFilePath()), settings);
        EXPECT_EQ(ReadAll(SettingsCompanionPath()), companion);
        SettingsRecord back;
        ASSERT_TRUE(ReadSettingsFile(back).ok());
        EXPECT_EQ(back.AreaPath, r.AreaPath);
    }
}

// Only the folder's sync failed: the new record is in place, and it is the settings in use.
TEST_F(SettingsFile, AFailedFolderSyncIsASave) {
    for (const std::string& area : {std::string("/data/France.hc"), dir.file("Карты/UK.hc")}) {
        SCOPED_TRACE(area);
        State().Settings = DefaultSettingsRecord();
        State().Settings.AreaPath = area;
        ASSERT_TRUE(WriteSettingsFile(State().Settings).ok());
        SetFileStepFault(
            [](FileStep step, const std::string&) { return step == FileStep::FolderSync ? EIO : 0; });
        const FileResult u = UpdateSettingsFile([](SettingsRecord& rec) {
            rec.Draught = 1.5f;
            rec.AreaPath += ".new";
        });
        SetFileStepFault({});
        EXPECT_TRUE(u.saved());
        EXPECT_EQ(u.message, BuildSettingsFilePath() +
                                 " was written, but its folder could not be synced: " + std::strerror(EIO));
        EXPECT_EQ(State().Settings.Draught, 1.5f);
        EXPECT_EQ(State().Settings.AreaPath, area + ".new");
        SettingsRecord back;
        ASSERT_TRUE(ReadSettingsFile(back).ok());
        EXPECT_EQ(back.Draught, 1.5f);
        EXPECT_EQ(back.AreaPath, area + ".new");
    }
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

// An area file longer than any real one is refused by its length, before memory is taken for
// it (under a sanitizer a huge allocation aborts): the message names it. The file is sparse.
TEST_F(SettingsFile, AnAreaFileTooLargeToReadIsNamed) {
    const struct {
        long length;
        const char* told;
    } cases[] = {
        {8'000'000'000L, " is too large to be read (8,000,000,000 bytes)"},
        {kMaxWholeFileLength + 1, " is too large to be read (268,435,457 bytes)"},
    };
    State().AreaFilePath = dir.file("Huge.hc");
    for (const auto& c : cases) {
        { std::ofstream(State().AreaFilePath, std::ios::binary | std::ios::trunc); }
        std::filesystem::resize_file(State().AreaFilePath, static_cast<uintmax_t>(c.length));
        const FileResult r = EnsureUserDepthFile();
        EXPECT_EQ(r.status, FileStatus::ReadFailed);
        EXPECT_EQ(r.message, State().AreaFilePath + c.told);
        EXPECT_FALSE(std::filesystem::exists(State().DepthFilePath));
    }
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

// A draught, clearance or output option that is damaged is never used, the load says which
// and what stands in for it, and the file keeps it until the user sets another.
TEST_F(SettingsFile, DamagedValuesLoadTheirDefaults) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string draught = "the default draught of 0.5 m";
    const std::string option3 =
        "the default output option 3 (heights with the charted depth, draught and under keel clearance)";
    const auto told = [](const std::string& fault, const std::string& used, const std::string& it = "it is") {
        return "Record 1 of TdwTidesv9.cfg is damaged: " + fault + ". Until " + it +
               " set under Configure, Program Options, the program uses " + used + ".";
    };
    const struct {
        float draught, clearance, option;
        std::string told;
    } cases[] = {
        {nan, 0.5f, 3, told("Draught is not a number", draught)},
        {1e8f, 0.5f, 3, told("Draught is 1E+08, outside 0 to 100", draught)},
        {1.5f, -0.5f, 3,
         told("KeelClearance is -0.5, outside 0 to 100", "the default under keel clearance of 0.5 m")},
        {1.5f, 0.5f, 2.5f, told("OutputOption is 2.5, not 1, 2 or 3", option3)},
        {1.5f, 0.5f, nan, told("OutputOption is not a number", option3)},
        {nan, 0.5f, 0,
         told("Draught is not a number; OutputOption is 0, not 1, 2 or 3", draught + " and " + option3,
              "they are")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        SettingsRecord stored = DefaultSettingsRecord();
        stored.Draught = c.draught;
        stored.KeelClearance = c.clearance;
        stored.OutputOption = c.option;
        stored.PortIndex = 12;
        ASSERT_TRUE(WriteSettingsFile(stored).ok());
        const std::string before = ReadAll(BuildSettingsFilePath());
        const FileResult r = LoadSettings();
        EXPECT_EQ(r.status, FileStatus::Damaged);
        EXPECT_EQ(r.message, c.told);
        EXPECT_TRUE(kVesselRange.holds(State().Draught));
        EXPECT_TRUE(kVesselRange.holds(State().KeelClearance));
        const float option = c.option == 1 || c.option == 2 ? c.option : 3.0f;
        EXPECT_EQ(State().OutputOption, option);
        EXPECT_EQ(State().CurrentPort, 12);
        EXPECT_EQ(ReadAll(BuildSettingsFilePath()), before);
        // Reading the file again for its copies brings no damaged value back.
        SettingsRecord again;
        ASSERT_TRUE(ReloadSettingsCopies(again));
        EXPECT_TRUE(kVesselRange.holds(State().Draught));
        EXPECT_EQ(State().OutputOption, option);
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
