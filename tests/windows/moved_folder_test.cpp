// A program folder that was moved: the settings still name the area file where it was.
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "engine/recordfile.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
namespace fs = std::filesystem;

class MovedFolder : public testing_support::WindowTest {
protected:
    // A copy of the program folder's area files at `folder`, made the program folder.
    void installAt(const std::string& folder) {
        fs::create_directories(folder);
        for (const char* area : {"UK.hc", "France.hc"})
            fs::copy_file(programFolder() + "/" + area, folder + "/" + area);
        Env().programFolder = folder;
    }
    // Moves the installed program folder, as a user moving the program does.
    void moveTo(const std::string& from, const std::string& to) {
        fs::create_directories(fs::path(to).parent_path());
        fs::rename(from, to);
        Env().programFolder = to;
    }
    std::string storedArea() {
        SettingsRecord r;
        EXPECT_TRUE(ReadSettingsFile(r).ok());
        return Trim(r.AreaPath);
    }
    // The settings file as an older version wrote it, naming the area file by its full path.
    void keepFullAreaPath() {
        SettingsRecord r;
        ASSERT_TRUE(ReadSettingsFile(r).ok());
        testing_support::WriteBytes(settingsPath(), AsString(EncodeSettingsRecord(r)));
    }
    // A program folder installed at `first` whose settings an older version wrote, then moved to
    // `moved`.
    void moveOlderInstall(const std::string& first, const std::string& moved) {
        installAt(first);
        open();
        keepFullAreaPath();
        restart();
        moveTo(first, moved);
    }
    std::string syncWarning() const {
        return settingsPath() + " was written, but its folder could not be synced: " + std::strerror(EIO);
    }
};

// A program folder under a name that the settings file's fields cannot hold: the settings are
// kept all the same, and they follow the folder when it moves.
TEST_F(MovedFolder, AProgramFolderUnderACyrillicNameKeepsItsSettings) {
    const std::string first = home.file("Пользователь/tidewyn");
    const std::string moved = home.file("Программы/tidewyn");
    installAt(first);
    frmtidewyn& w = open();
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().prompt;
    w.mnuNextPort.Click();
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().prompt;
    EXPECT_EQ(State().CurrentPort, 78);
    const std::string port = Trim(State().PortName);
    restart();

    for (const std::string& folder : {first, moved}) {
        SCOPED_TRACE(folder);
        if (folder == moved) moveTo(first, moved);
        frmtidewyn& again = open();
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().prompt;
        EXPECT_EQ(State().CurrentPort, 78);
        EXPECT_EQ(State().AreaFilePath, folder + "/UK.hc");
        EXPECT_EQ(again.portbox->Caption(), "Port    : " + port);
        restart();
    }
}

// The same port and curve as before the move, one message naming the file now used, and the
// settings holding its path: the next start says nothing.
TEST_F(MovedFolder, TheAreaFileOfTheSameNameIsUsedAndKept) {
    const std::string first = home.file("Programs/tidewyn");
    const std::string moved = home.file("Apps/tidewyn");
    installAt(first);
    open().mnuNextPort.Click();  // port 78, so that the settings' port is seen to stay
    const SharedState& s = State();
    const std::string port = Trim(s.PortName);
    const CurveTable curve = s.DayCurve;
    ASSERT_EQ(storedArea(), first + "/UK.hc");
    keepFullAreaPath();
    restart();

    moveTo(first, moved);
    dialogs->messages.clear();
    frmtidewyn& w = open();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt,
              "The sea area file " + first +
                  "/UK.hc is no longer there. The file of that name in the program "
                  "folder, " +
                  moved + "/UK.hc, is used in its place from now on.");
    EXPECT_EQ(s.CurrentPort, 78);
    EXPECT_EQ(s.PortName, port);  // trimmed by the load
    EXPECT_EQ(w.portbox->Caption(), "Port    : " + port);
    for (int r = 1; r <= s.CurvePoints; ++r) ASSERT_EQ(s.DayCurve(2, r), curve(2, r)) << "row " << r;
    EXPECT_EQ(s.AreaFilePath, moved + "/UK.hc");
    EXPECT_EQ(storedArea(), moved + "/UK.hc");
    EXPECT_TRUE(fs::exists(depthPath()));  // the same user depths: UK.DEP
    restart();

    dialogs->messages.clear();
    open();
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().prompt;
}

// Settings that cannot be saved: the file is still used, for this run, and the message says so.
TEST_F(MovedFolder, SettingsThatCannotBeSavedKeepTheMoveForThisRun) {
    const std::string first = home.file("Programs/tidewyn");
    const std::string moved = home.file("Apps/tidewyn");
    moveOlderInstall(first, moved);
    SetWriteFault([](const std::string&) { return ENOSPC; });
    dialogs->messages.clear();
    open();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    const std::string& text = dialogs->messages[0].prompt;
    EXPECT_NE(
        text.find(", " + moved + "/UK.hc, is used for this run only, as the settings cannot be saved: "),
        std::string::npos)
        << text;
    EXPECT_NE(text.find(std::strerror(ENOSPC)), std::string::npos) << text;
    EXPECT_EQ(Trim(State().PortName), "Dover");
    EXPECT_EQ(storedArea(), first + "/UK.hc");
}

// Only the folder's sync failed: the move is kept, and the message says so once.
TEST_F(MovedFolder, AMoveSavedWithoutTheFolderSyncIsKept) {
    const std::string first = home.file("Programs/tidewyn");
    const std::string moved = home.file("Apps/tidewyn");
    moveOlderInstall(first, moved);
    const std::string settingsFolder = fs::path(settingsPath()).parent_path().string();
    SetFileStepFault([&](FileStep step, const std::string& path) {
        return step == FileStep::FolderSync && path == settingsFolder ? EIO : 0;
    });
    dialogs->messages.clear();
    open();
    SetFileStepFault({});
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt,
              "The sea area file " + first + "/UK.hc is no longer there. The file of that name in the " +
                  "program folder, " + moved + "/UK.hc, is used in its place from now on. " + syncWarning() +
                  ".");
    EXPECT_EQ(State().AreaFilePath, moved + "/UK.hc");
    EXPECT_EQ(State().Settings.AreaPath, moved + "/UK.hc");
    EXPECT_EQ(storedArea(), moved + "/UK.hc");
}

// Neither the stored file nor one of its name in the program folder: the load's message says
// where the way out is, once.
TEST_F(MovedFolder, NoSuchFileAnywhereSaysToChooseASeaArea) {
    const std::string gone = home.file("Gone/Solent.hc");
    storeSettings([&](SettingsRecord& r) { r.AreaPath = gone; });
    open();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt, "The port cannot be read: Cannot open " + gone + ": " +
                                               std::strerror(ENOENT) +
                                               ". Choose a sea area with Select Port, Sea Area.");
    EXPECT_EQ(State().AreaFilePath, gone);
}
