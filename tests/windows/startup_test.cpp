// The conditions window, the first run and the settings and user-depth files.
#include <filesystem>
#include <fstream>

#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
namespace fs = std::filesystem;

class Startup : public testing_support::WindowTest {};

TEST_F(Startup, FirstRunCreatesFoldersAndAcceptWritesTheFiles) {
    frmCopyright& start = Get<frmCopyright>();
    EXPECT_TRUE(fs::is_directory(home.file(".local/share/TidewynTides")));
    EXPECT_TRUE(fs::is_directory(home.file("Documents/TidewynTides/UserDepths")));
    EXPECT_TRUE(fs::is_directory(home.file("Documents/TidewynTides/TextOutput")));
    EXPECT_EQ(start.Caption(), "Tidewyn Vizoz   (v9.5.0)");
    EXPECT_TRUE(start.Visible());
    ASSERT_EQ(start.List1->ListCount(), 26);
    EXPECT_EQ(start.List1->List(0), "");
    EXPECT_EQ(start.List1->List(1).substr(0, 20), "                This");
    EXPECT_FALSE(fs::exists(settingsPath()));

    start.ConditionsOK->click();
    EXPECT_FALSE(IsLoaded<frmCopyright>());
    ASSERT_TRUE(IsLoaded<frmtidewyn>());
    EXPECT_TRUE(Get<frmtidewyn>().Visible());

    EXPECT_EQ(FileLength(settingsPath()), 1307);
    SettingsRecord s;
    ASSERT_TRUE(ReadSettingsFile(s).ok());
    EXPECT_EQ(Trim(s.AreaPath), programFolder() + "/UK.hc");
    EXPECT_EQ(s.PortIndex, 77.0f);
    EXPECT_EQ(s.OutputOption, 3.0f);
    EXPECT_EQ(s.Draught, 0.5f);
    EXPECT_EQ(s.KeelClearance, 0.5f);
    EXPECT_EQ(s.SummerTime, 0);
    EXPECT_EQ(s.SortByName, -1);

    long ports = PortCount(programFolder() + "/UK.hc");
    EXPECT_EQ(FileLength(depthPath()), ports * 305);
    DepthRecord d;
    ASSERT_TRUE(ReadDepthRecord(depthPath(), 77, d).ok());
    EXPECT_EQ(Trim(d.PortName), "Dover");
    EXPECT_EQ(d.PortIndex, 77);
    EXPECT_EQ(d.ChartedDepth, 0.0f);
    EXPECT_EQ(Trim(d.Notes).substr(0, 8), "Position");
    EXPECT_NE(d.Notes.find("N  "), std::string::npos);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(Startup, DeclineWritesNothingAndEndsTheProgram) {
    frmCopyright& start = Get<frmCopyright>();
    start.cmdDecline->click();
    EXPECT_TRUE(ProgramEnding());
    EXPECT_FALSE(IsLoaded<frmtidewyn>());
    EXPECT_FALSE(fs::exists(settingsPath()));
    EXPECT_FALSE(fs::exists(depthPath()));
}

TEST_F(Startup, ClosingTheConditionsWindowEndsTheProgram) {
    Get<frmCopyright>().close();
    EXPECT_TRUE(ProgramEnding());
    EXPECT_FALSE(IsLoaded<frmtidewyn>());
    EXPECT_FALSE(fs::exists(settingsPath()));
}

TEST_F(Startup, RestoreDefaultsDeletesTheSettingsFileAndIsSilentWithoutOne) {
    frmCopyright& start = Get<frmCopyright>();
    std::ofstream(settingsPath()) << std::string(1307, ' ');
    std::ofstream(depthPath()) << "keep";
    start.mnuRestoreDefaults.Click();
    EXPECT_FALSE(fs::exists(settingsPath()));
    start.mnuRestoreDefaults.Click();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(fs::exists(depthPath()));  // the user's depths and notes stay
}

TEST_F(Startup, UnrecognisedDateFormatApologisesAndEnds) {
    Env().locale.shortDatePattern = "d MMM yyyy";
    platform::Run([] { Get<frmCopyright>(); });
    EXPECT_TRUE(ProgramEnding());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, "Apologies !!");
    EXPECT_EQ(dialogs->messages[0].prompt.substr(0, 57),
              "TIDEWYN CANNOT DETECT THE REQUIRED TIME AND DATE SETTINGS");
    EXPECT_NE(dialogs->messages[0].prompt.find("\r\n\r\nSet as follows :\r\n\r\n"), std::string::npos);
}

TEST_F(Startup, SecondRunKeepsExistingFiles) {
    Get<frmCopyright>().ConditionsOK->click();
    auto depthBefore = fs::last_write_time(depthPath());
    restart();
    Get<frmCopyright>().ConditionsOK->click();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(fs::last_write_time(depthPath()), depthBefore);
}
