// The depth-and-notes dialog: its key filter, "Enter" and its refusals, "Exit", and what the
// files keep across a restart.
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/areafile.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using testing_support::ReadAll;
using namespace platform;
namespace fs = std::filesystem;

namespace {
DepthRecord depthRecord(const std::string& path, long k) {
    DepthRecord d;
    EXPECT_TRUE(ReadDepthRecord(path, k, d).ok()) << k;
    return d;
}
std::vector<double> heights() {
    std::vector<double> h;
    for (int r = 1; r <= State().CurvePoints; ++r) h.push_back(State().DayCurve(2, r));
    return h;
}
}  // namespace

class DepthDialog : public testing_support::WindowTest {
protected:
    // Runs `act` on the dialog when the menu shows it; `act` ends it (Exit, or the close box).
    void onDialog(std::function<void(frmChartdepth&)> act) {
        SetModalRunner([this, act](Form& f) {
            ++shown;
            auto* d = dynamic_cast<frmChartdepth*>(&f);
            ASSERT_NE(d, nullptr);
            act(*d);
        });
    }
    // Shows port k, types depth and notes and presses "Enter".
    static void enter(frmChartdepth& d, int k, const std::string& depth, const std::string& notes) {
        d.List1->SetListIndex(k - 1);
        d.depth->SetText(depth);
        d.usernotes->SetText(notes);
        d.cdok->click();
    }
    void setOption(float option) {
        ASSERT_TRUE(UpdateSettingsFile([&](SettingsRecord& r) { r.OutputOption = option; }).ok());
        State().OutputOption = option;
    }
    int shown = 0;
};

TEST_F(DepthDialog, OpensOnTheCurrentPortWithEveryPortListed) {
    frmtidewyn& w = open();
    onDialog([&](frmChartdepth& d) {
        EXPECT_EQ(d.Caption(), "User Depth and Notes");
        EXPECT_EQ(d.portnolabel->Caption(), " 77");
        EXPECT_EQ(d.portlabel->Caption(), "Dover");
        ASSERT_EQ(d.List1->ListCount(), 81);
        EXPECT_EQ(d.List1->List(0), "1  Malin Head");
        EXPECT_EQ(d.List1->List(76), "77  Dover");
        EXPECT_EQ(d.List1->ListIndex(), 76);
        EXPECT_EQ(d.depth->Text(), "0");
        EXPECT_EQ(d.usernotes->Text(), Trim(depthRecord(depthPath(), 77).Notes));
        EXPECT_EQ(d.usernotes->Text(), "Position 51.06.86N   1.19.35E");

        d.List1->SetListIndex(11);
        EXPECT_EQ(d.portnolabel->Caption(), " 12");
        EXPECT_EQ(d.portlabel->Caption(), "Castletownbere");
        d.List1_DblClick();
        EXPECT_EQ(d.portnolabel->Caption(), " 12");
        d.cdclose->click();
    });
    w.mnuchartdepth.Click();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(IsLoaded<frmChartdepth>());
    EXPECT_EQ(State().CurrentPort, 77);
    EXPECT_EQ(w.portbox->Caption(), "Port    : Dover");
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(DepthDialog, DepthKeyFilter) {
    open();
    frmChartdepth& d = Get<frmChartdepth>();
    struct Case {
        const char* typed;
        const char* shown;
        int beeps;
    } cases[] = {
        {"12.5", "12.5", 0}, {"-3", "-3", 0}, {"1-2..", "1-2..", 0}, {"a1b", "1", 1},
        {"1,5", "1,5", 0},   {"+4", "4", 1},  {"2 m", "2", 1},       {"12\b3", "13", 0},
    };
    for (const Case& c : cases) {
        d.depth->SetText("");
        int before = BeepCount();
        d.depth->TypeText(c.typed);
        EXPECT_EQ(d.depth->Text(), c.shown) << c.typed;
        EXPECT_EQ(BeepCount() - before > 0, c.beeps > 0) << c.typed;
    }
}

TEST_F(DepthDialog, EnterStoresDepthAndNotesOfThatRecordOnly) {
    frmtidewyn& w = open();
    struct Case {
        int port;
        const char* typed;
        float stored;
        const char* shownBack;
    } cases[] = {
        {5, "2.5", 2.5f, "2.5"}, {12, "-0.75", -0.75f, "-0.75"}, {77, "3", 3.0f, "3"},
        {80, ".5", 0.5f, "0.5"}, {1, "10.", 10.0f, "10"},        {81, "4.25", 4.25f, "4.25"},
    };
    for (const Case& c : cases) {
        const std::string before = ReadAll(depthPath());
        onDialog([&](frmChartdepth& d) {
            enter(d, c.port, c.typed, "  Anchor off the slip\nVisitors' buoys  ");
            EXPECT_TRUE(d.Visible());  // "Enter" leaves the dialog open
            d.List1->SetListIndex(c.port == 1 ? 1 : 0);
            d.List1->SetListIndex(c.port - 1);
            EXPECT_EQ(d.depth->Text(), c.shownBack);
            EXPECT_EQ(d.usernotes->Text(), "Anchor off the slip\nVisitors' buoys");
            d.cdclose->click();
        });
        w.mnuchartdepth.Click();
        const std::string after = ReadAll(depthPath());
        ASSERT_EQ(after.size(), before.size());
        const size_t record = static_cast<size_t>(c.port - 1) * 305;
        for (size_t i = 0; i < after.size(); ++i) {
            bool owned = (i >= record + 37 && i < record + 41) || (i >= record + 49 && i < record + 305);
            if (!owned) {
                ASSERT_EQ(before[i], after[i]) << c.typed << " byte " << i;
            }
        }
        DepthRecord d = depthRecord(depthPath(), c.port);
        EXPECT_EQ(d.ChartedDepth, c.stored) << c.typed;
        EXPECT_EQ(
            d.Notes,
            (std::string("  Anchor off the slip\nVisitors' buoys  ") + std::string(256, ' ')).substr(0, 256));
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(DepthDialog, DepthIsShownInTheFormItIsReadBackInEveryLocale) {
    frmtidewyn& w = open();
    testing_support::UseDecimalCommaLocale();
    ASSERT_EQ(CStrSingle(2.5f), "2,5");
    onDialog([&](frmChartdepth& d) {
        enter(d, 77, "2.5", "x");
        d.List1->SetListIndex(3);
        d.List1->SetListIndex(76);
        EXPECT_EQ(d.depth->Text(), "2.5");
        d.cdok->click();  // stored again as shown
        d.cdclose->click();
    });
    w.mnuchartdepth.Click();
    EXPECT_EQ(depthRecord(depthPath(), 77).ChartedDepth, 2.5f);
    EXPECT_EQ(State().UserDepth, 2.5f);
}

TEST_F(DepthDialog, EnterRefusesWhatCannotBeStored) {
    const char* const kNotADepth =
        "The user depth must be a number of metres from -100 to 1000, such as 2.5 or -0,8.";
    frmtidewyn& w = open();
    const std::string before = ReadAll(depthPath());
    struct Case {
        const char* depth;
        std::string notes;
        const char* message;
    } cases[] = {
        {"", "fine", kNotADepth},
        {"-", "fine", kNotADepth},
        {"1-2", "fine", kNotADepth},
        {"..", "fine", kNotADepth},
        {"1.2.3", "fine", kNotADepth},
        // Out of range: a typing slip of a few digits would otherwise stand for every day.
        {"100000000", "fine", kNotADepth},
        {"1000.5", "fine", kNotADepth},
        {"-100.01", "fine", kNotADepth},
        {"2", "Harbour \xe6\xb8\xaf",
         "The notes hold characters that cannot be stored in the user-depth file. Please remove them."},
    };
    onDialog([&](frmChartdepth& d) {
        for (const Case& c : cases) {
            dialogs->messages.clear();
            enter(d, 6, c.depth, c.notes);
            ASSERT_EQ(dialogs->messages.size(), 1u) << c.depth;
            EXPECT_EQ(dialogs->messages[0].prompt, c.message) << c.depth;
            EXPECT_EQ(d.depth->Text(), c.depth);
            EXPECT_EQ(ReadAll(depthPath()), before) << c.depth;
        }
        // A port number that is not in the area file.
        dialogs->messages.clear();
        d.portnolabel->SetCaption(" 82");
        d.depth->SetText("1");
        d.cdok->click();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt, "Choose a port from the list first.");
        EXPECT_EQ(ReadAll(depthPath()), before);

        // Notes take at most 256 characters; Windows-1252 letters are stored as they are.
        d.List1->SetListIndex(6);
        d.usernotes->SetText(std::string(300, 'x'));
        EXPECT_EQ(d.usernotes->Text(), std::string(256, 'x'));
        d.usernotes->SetText("Caf\xc3\xa9 \xe2\x82\xac");
        d.depth->SetText("1");
        dialogs->messages.clear();
        d.cdok->click();
        EXPECT_TRUE(dialogs->messages.empty());
        d.cdclose->click();
    });
    w.mnuchartdepth.Click();
    EXPECT_EQ(Trim(depthRecord(depthPath(), 7).Notes), "Caf\xc3\xa9 \xe2\x82\xac");
    EXPECT_EQ(ReadAll(depthPath()).substr(6 * 305 + 49, 6), "Caf\xe9 \x80");
}

TEST_F(DepthDialog, EnterBeyondAShortUserDepthFileFillsItUpWithProperRecords) {
    frmtidewyn& w = open();
    const std::string area = State().AreaFilePath;
    // Records kept, and the port entered; 81 is the area's last port.
    struct Case {
        long kept;
        int port;
    } cases[] = {{10, 20}, {10, 81}, {80, 81}};
    for (const Case& c : cases) {
        fs::resize_file(depthPath(), static_cast<uintmax_t>(c.kept) * 305);
        const std::string kept = ReadAll(depthPath());
        onDialog([&](frmChartdepth& d) {
            d.List1->SetListIndex(c.port - 1);
            EXPECT_EQ(d.depth->Text(), "0");
            EXPECT_EQ(d.usernotes->Text().rfind("Position", 0), 0u);
            d.depth->SetText("1.5");
            d.usernotes->SetText("Pontoon");
            d.cdok->click();
            d.cdclose->click();
        });
        w.mnuchartdepth.Click();
        const std::string after = ReadAll(depthPath());
        ASSERT_EQ(after.size(), static_cast<size_t>(c.port) * 305u) << c.port;
        EXPECT_EQ(after.substr(0, kept.size()), kept);
        for (long k = c.kept + 1; k < c.port; ++k) {
            PortRecord p;
            ASSERT_TRUE(ReadPortRecord(area, k, p).ok()) << k;
            DepthRecord d = depthRecord(depthPath(), k);
            EXPECT_EQ(d.PortName, p.PortName) << k;
            EXPECT_EQ(d.PortIndex, k);
            EXPECT_EQ(d.ChartedDepth, 0.0f);
            EXPECT_EQ(Trim(d.Notes).rfind("Position", 0), 0u) << k;
        }
        PortRecord p;
        ASSERT_TRUE(ReadPortRecord(area, c.port, p).ok()) << c.port;
        DepthRecord entered = depthRecord(depthPath(), c.port);
        EXPECT_EQ(entered.PortName, p.PortName) << c.port;
        EXPECT_EQ(entered.PortIndex, c.port);
        EXPECT_EQ(entered.ChartedDepth, 1.5f);
        EXPECT_EQ(Trim(entered.Notes), "Pontoon");
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(DepthDialog, TheCurveMovesByTheCurrentPortsDepthUnderOptions2And3) {
    frmtidewyn& w = open();
    struct Case {
        float option;
        double shift;
    } cases[] = {{1.0f, 0.0}, {2.0f, 2.0}, {3.0f, 2.0}};
    for (const Case& c : cases) {
        setOption(c.option);
        ASSERT_TRUE(WriteRecord(depthPath(), 305, 77, EncodeDepthRecord(NewDepthRecord({}, 77))).ok());
        w.RecomputeDay();
        const std::vector<double> before = heights();
        onDialog([&](frmChartdepth& d) {
            enter(d, 5, "9", "another port");  // only the current port's depth counts
            enter(d, 77, "2", "current port");
            d.cdclose->click();
        });
        w.mnuchartdepth.Click();
        EXPECT_EQ(State().UserDepth, 2.0f);
        const std::vector<double> after = heights();
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < after.size(); ++i)
            EXPECT_NEAR(after[i] - before[i], c.shift, 1e-5) << c.option;
    }
}

TEST_F(DepthDialog, ExitClearsTheMonthListAndRecomputesWithTheSunTimes) {
    frmtidewyn& w = open();
    SharedState& s = State();
    w.monthspredictions->AddItem("01 Mon  03:12  5.1");
    w.monthspredictions->setVisible(true);
    s.MonthText(1, 1, 1) = "03:12";
    w.daystide1->SetCaption("stale");
    onDialog([&](frmChartdepth& d) { d.cdclose->click(); });
    w.mnuchartdepth.Click();
    EXPECT_EQ(w.monthspredictions->ListCount(), 0);
    EXPECT_FALSE(w.monthspredictions->isVisibleTo(&w));
    EXPECT_EQ(s.MonthText(1, 1, 1), "");
    EXPECT_EQ(w.daystide1->Caption().substr(0, 13), "  Predictions");
    EXPECT_GE(testing_support::DashesAt(w.Picture1->PersistentCommands(), s.SunriseTime), 25);
}

TEST_F(DepthDialog, LoadWritesMissingFilesWithTheDefaults) {
    frmtidewyn& w = open();
    fs::remove(settingsPath());
    fs::remove(depthPath());
    onDialog([&](frmChartdepth& d) {
        EXPECT_EQ(d.portnolabel->Caption(), " 77");
        EXPECT_EQ(d.depth->Text(), "0");
        EXPECT_EQ(d.usernotes->Text().rfind("Position", 0), 0u);
        d.cdclose->click();
    });
    w.mnuchartdepth.Click();
    SettingsRecord r;
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    EXPECT_EQ(r.PortIndex, 77.0f);
    // The program folder's files are stored by name.
    SettingsRecord defaults = DefaultSettingsRecord();
    defaults.AreaPath = "UK.hc";
    defaults.WaypointFile = "Sample.way";
    EXPECT_EQ(ReadAll(settingsPath()), AsString(EncodeSettingsRecord(defaults)));
    EXPECT_EQ(fs::file_size(depthPath()), 81u * 305u);
    EXPECT_EQ(State().CurrentPort, 77);
}

TEST_F(DepthDialog, PortAreaAndDepthSurviveARestart) {
    frmtidewyn& w = open();
    dialogs->fileAnswers.push_back(programFolder() + "/France.hc");
    SetModalRunner([&](Form& f) {
        auto& d = dynamic_cast<frmconfig&>(f);
        d.txtSearch->TypeText("Calais");
        d.portconfigok->click();
    });
    w.mnuArea.Click();
    ASSERT_EQ(State().CurrentPort, 2);
    onDialog([&](frmChartdepth& d) {
        EXPECT_EQ(d.List1->ListCount(), 48);
        enter(d, 2, "1.25", "Inner harbour, lock times");
        d.cdclose->click();
    });
    w.mnuchartdepth.Click();

    restart();
    frmtidewyn& again = open();
    SharedState& s = State();
    EXPECT_EQ(s.AreaFilePath, programFolder() + "/France.hc");
    EXPECT_EQ(s.CurrentPort, 2);
    EXPECT_EQ(again.portbox->Caption(), "Port    : Calais");
    EXPECT_EQ(s.DepthFilePath, depthPath("France.DEP"));
    EXPECT_EQ(s.UserDepth, 1.25f);
    onDialog([&](frmChartdepth& d) {
        EXPECT_EQ(d.portlabel->Caption(), "Calais");
        EXPECT_EQ(d.depth->Text(), "1.25");
        EXPECT_EQ(d.usernotes->Text(), "Inner harbour, lock times");
        d.cdclose->click();
    });
    again.mnuchartdepth.Click();
    EXPECT_TRUE(dialogs->messages.empty());
}

// The program died between an insert's or a delete's two renames: the next start puts the
// renumbered depths in place and tells it once, and Dover's depth is Dover's again.
TEST_F(DepthDialog, AStepStoppedBetweenItsRenamesIsFinishedOnceAtTheNextStart) {
    struct Stopped {};
    struct Case {
        const char* name;
        std::function<FileResult(const std::string&)> run;
        long dover;         // Dover's number afterwards
        float currentPort;  // the depth of port 77 afterwards
    } cases[] = {
        {"insert", [](const std::string& a) { return InsertPortRecord(a, 5, PortRecord{}); }, 78, 7.6f},
        {"delete", [](const std::string& a) { return DeletePortRecord(a, 5); }, 76, 7.8f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir folder;
        useAreaCopies(folder);
        const std::string area = folder.file("UK.hc");
        fs::remove(depthPath());  // made afresh for this area file
        open();
        for (long k : {76L, 77L, 78L})
            ASSERT_TRUE(StoreDepthAndNotes(k, static_cast<float>(k) / 10, "Port " + std::to_string(k)).ok());
        SetFileStepFault([&](FileStep step, const std::string& path) -> int {
            if (step == FileStep::Rename && path == depthPath()) throw Stopped{};
            return 0;
        });
        EXPECT_THROW((void)c.run(area), Stopped);
        SetFileStepFault({});
        restart();
        dialogs->messages.clear();

        open();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt,
                  "An insert or delete of a port in " + area + " stopped before " + depthPath() +
                      " was renumbered. The renumbering was completed, so that the depths and notes are "
                      "on their ports again.");
        EXPECT_FALSE(fs::exists(depthPath() + ".tmp~"));
        EXPECT_EQ(RecordCount(depthPath(), DepthRecord::kSize), PortCount(area));
        const DepthRecord dover = depthRecord(depthPath(), c.dover);
        EXPECT_EQ(dover.ChartedDepth, 7.7f);
        EXPECT_EQ(Trim(dover.Notes), "Port 77");
        EXPECT_EQ(dover.PortIndex, c.dover);
        EXPECT_EQ(State().UserDepth, c.currentPort);
        // Told once: the dialog that ensures the file again says nothing.
        onDialog([&](frmChartdepth& d) {
            EXPECT_EQ(d.depth->Text(), TypedText(c.currentPort));
            d.cdclose->click();
        });
        Get<frmtidewyn>().mnuchartdepth.Click();
        EXPECT_EQ(dialogs->messages.size(), 1u);
        restart();
    }
}

// The folder of the user-depth file cannot be synced after "Enter" put the new file in place
// (or after the load made it): the warning is told once, never as a failure, and the depth in
// use is the one the file holds.
TEST_F(DepthDialog, EnterWhoseFolderCannotBeSyncedIsAStore) {
    struct Case {
        const char* name;
        std::function<void(const std::string& depths)> before;
        uintmax_t length;  // of the file afterwards
    } cases[] = {
        {"a missing file, made by the load", [](const std::string& p) { fs::remove(p); }, 81u * 305u},
        {"a short file, filled up", [](const std::string& p) { fs::resize_file(p, 10u * 305u); }, 77u * 305u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmtidewyn& w = open();
        c.before(depthPath());
        const std::string folder = fs::path(depthPath()).parent_path().string();
        SetFileStepFault([&](FileStep step, const std::string& path) {
            return step == FileStep::FolderSync && path == folder ? EIO : 0;
        });
        dialogs->messages.clear();
        onDialog([&](frmChartdepth& d) {
            enter(d, 77, "2.5", "Pontoon");
            d.cdclose->click();
        });
        w.mnuchartdepth.Click();
        SetFileStepFault({});
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt,
                  depthPath() + " was written, but its folder could not be synced: " + std::strerror(EIO));
        EXPECT_EQ(fs::file_size(depthPath()), c.length);
        const DepthRecord d = depthRecord(depthPath(), 77);
        EXPECT_EQ(d.ChartedDepth, 2.5f);
        EXPECT_EQ(Trim(d.Notes), "Pontoon");
        EXPECT_EQ(State().UserDepth, 2.5f);
        restart();
    }
}
