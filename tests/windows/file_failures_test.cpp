// File operations that fail under the main window and its dialogs: each failure is told with
// the path and the reason, and the window, the state and the files stay as they were.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::ReadAll;

namespace {

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class FileFailures : public testing_support::WindowTest {
protected:
    std::string area() const { return programFolder() + "/UK.hc"; }
    // Every read of the area file fails from now on, as a failing disk would.
    static void failAreaReads() {
        SetReadFault([](const std::string& path) { return path.ends_with("UK.hc") ? EIO : 0; });
    }
    // The one message shown since the last clear.
    std::string onlyMessage() const {
        EXPECT_EQ(dialogs->messages.size(), 1u);
        for (size_t i = 1; i < dialogs->messages.size(); ++i)
            ADD_FAILURE() << "also: " << dialogs->messages[i].prompt;
        return dialogs->messages.empty() ? "" : dialogs->messages[0].prompt;
    }
    // Makes a file where a folder of the program should be.
    void blockFolder(const std::string& folder) {
        std::filesystem::create_directories(std::filesystem::path(folder).parent_path());
        std::ofstream(folder) << "not a folder";
    }
};

// The system's words, in the locale the test runs in.
std::string ioError() { return std::strerror(EIO); }

// A port step that fails leaves the port, its captions and the settings file as they were:
// the depth dialog then opens on the port the main window shows.
TEST_F(FileFailures, FailedPortStepChangesNothing) {
    struct Case {
        const char* what;
        std::function<void()> fault;
        std::string reason;
    } cases[] = {
        {"area file unreadable", [] { failAreaReads(); }, ioError()},
        {"settings unreadable",
         [] { SetReadFault([](const std::string& p) { return p.ends_with("TdwTidesv9.cfg") ? EIO : 0; }); },
         ioError()},
        {"settings cannot be written",
         [] {
             SetWriteFault([](const std::string& p) { return p.ends_with("TdwTidesv9.cfg") ? ENOSPC : 0; });
         },
         std::strerror(ENOSPC)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmtidewyn& w = open();
        const int16_t port = State().CurrentPort;
        const std::string name = State().PortName;
        const std::string caption = w.portbox->Caption();
        const std::string dayList = w.daystide1->Caption();
        const std::string settings = ReadAll(settingsPath());
        c.fault();
        for (MenuItem* step : {&w.mnuNextPort, &w.mnuPrevPort}) {
            dialogs->messages.clear();
            step->Click();
            EXPECT_TRUE(holds(onlyMessage(), "The port cannot be changed")) << onlyMessage();
            EXPECT_TRUE(holds(onlyMessage(), c.reason)) << onlyMessage();
            EXPECT_EQ(State().CurrentPort, port);
            EXPECT_EQ(State().PortName, name);
            EXPECT_EQ(w.portbox->Caption(), caption);
            EXPECT_EQ(w.daystide1->Caption(), dayList);
            EXPECT_EQ(ReadAll(settingsPath()), settings);
        }

        SetReadFault({});
        SetWriteFault({});
        withModal<frmChartdepth>(w.mnuchartdepth, [&](frmChartdepth& d) {
            EXPECT_EQ(d.portlabel->Caption(), "Dover");
            d.cdclose->click();
        });
        restart();
    }
}

// An empty area file has no port to step to, and says so; a settings file gone since the
// start is written again from the settings in use.
TEST_F(FileFailures, PortStepOnAnEmptyAreaOrWithoutASettingsFile) {
    const std::string empty = home.file("Empty.hc");
    std::ofstream(empty).close();
    storeSettings([&](SettingsRecord& r) { r.AreaPath = empty; });
    frmtidewyn& w = open();
    dialogs->messages.clear();
    w.mnuNextPort.Click();
    EXPECT_TRUE(holds(onlyMessage(), "The port cannot be changed: " + empty + " holds no ports"))
        << onlyMessage();
    restart();

    std::filesystem::remove(settingsPath());
    frmtidewyn& again = open();
    std::filesystem::remove(settingsPath());
    dialogs->messages.clear();
    again.mnuNextPort.Click();
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().prompt;
    EXPECT_EQ(State().CurrentPort, 78);
    SettingsRecord r;
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    EXPECT_EQ(r.PortIndex, 78.0f);
}

// The load tells each failure once, with its reason, and still opens the window: an area file
// that cannot be read is told as the port's failure, whether or not the user-depth file has
// yet to be made from it; a second failure with its own reason is told as well.
TEST_F(FileFailures, LoadTellsEachFailureOnceAndOpens) {
    const std::string portFailure = "The port cannot be read: Cannot read " + area() + ": " + ioError();
    struct Case {
        const char* what;
        bool depthFileMade;
        bool settingsFolderBlocked;
    } cases[] = {{"user-depth file there", true, false},
                 {"user-depth file to be made", false, false},
                 {"and the settings folder blocked", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open();
        restart();
        if (!c.depthFileMade) std::filesystem::remove(depthPath());
        if (c.settingsFolderBlocked) {
            std::filesystem::remove_all(home.file(".local/share/TidewynTides"));
            blockFolder(home.file(".local/share/TidewynTides"));
        }
        dialogs->messages.clear();
        failAreaReads();
        frmtidewyn& w = open();
        if (c.settingsFolderBlocked) {
            ASSERT_EQ(dialogs->messages.size(), 2u);
            EXPECT_TRUE(holds(dialogs->messages[0].prompt, "The default settings are used"))
                << dialogs->messages[0].prompt;
            EXPECT_TRUE(holds(dialogs->messages[1].prompt, portFailure)) << dialogs->messages[1].prompt;
        } else {
            EXPECT_TRUE(holds(onlyMessage(), portFailure)) << onlyMessage();
        }
        EXPECT_TRUE(w.Visible());
        EXPECT_EQ(w.portbox->Caption(), "Port    : ");
        EXPECT_TRUE(holds(w.daystide1->Caption(), "Range n/a")) << w.daystide1->Caption();
        SetReadFault({});
        restart();
    }
}

// The program's folders could not be made at the start: the write that needs one names that
// folder and its reason, not the file inside it.
TEST_F(FileFailures, FolderThatCouldNotBeMadeIsNamedWithItsReason) {
    struct Case {
        const char* what;
        std::string blocked;
        std::string told;
    } cases[] = {
        {"settings folder", home.file(".local/share/TidewynTides"),
         "The default settings are used: Cannot write "},
        {"user depths folder", home.file("Documents/TidewynTides"),
         "The user depths of this sea area cannot be kept: Cannot write "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(home.file("Documents"));
        std::filesystem::remove_all(home.file(".local"));
        blockFolder(c.blocked);
        frmtidewyn& w = open();
        const std::string m = onlyMessage();
        EXPECT_TRUE(holds(m, c.told)) << m;
        EXPECT_TRUE(
            holds(m, "the folder " + c.blocked + " could not be made: a file of that name is in its place"))
            << m;
        EXPECT_EQ(w.portbox->Caption(), "Port    : Dover");  // the defaults, computed
        restart();
        dialogs->messages.clear();
    }
}

// A folder given as the area file is told as a folder, once.
TEST_F(FileFailures, FolderAsTheAreaFileIsToldAsAFolder) {
    std::filesystem::create_directories(home.file("charts"));
    storeSettings([&](SettingsRecord& r) { r.AreaPath = home.file("charts"); });
    open();
    EXPECT_TRUE(holds(onlyMessage(), "Cannot open " + home.file("charts") + ": it is a folder"))
        << onlyMessage();
}

// An area file far larger than any real one (sparse here) is named and told as too large,
// before memory is taken for it, and the window opens.
TEST_F(FileFailures, AnAreaFileTooLargeToReadIsNamed) {
    const std::string huge = home.file("charts/Huge.hc");
    std::filesystem::create_directories(home.file("charts"));
    { std::ofstream(huge, std::ios::binary); }
    std::filesystem::resize_file(huge, 8'000'000'000);
    storeSettings([&](SettingsRecord& r) { r.AreaPath = huge; });
    frmtidewyn& w = open();
    int named = 0;
    for (const AskedMessage& m : dialogs->messages) {
        EXPECT_FALSE(holds(m.prompt, "bad_alloc")) << m.prompt;
        named += holds(m.prompt, huge + " is too large to be read (8,000,000,000 bytes)");
    }
    EXPECT_EQ(named, 1);
    EXPECT_TRUE(w.Visible());
}

// A user-depth file that cannot be read is not a depth of 0 where the depth is added; where it
// is not (option 1), the day is computed.
TEST_F(FileFailures, UnreadableUserDepthIsNotTakenAsZero) {
    for (float option : {3.0f, 2.0f, 1.0f}) {
        SCOPED_TRACE(option);
        storeSettings([&](SettingsRecord& r) { r.OutputOption = option; });
        frmtidewyn& w = open();
        dialogs->messages.clear();
        SetReadFault([](const std::string& path) { return path.ends_with("UK.DEP") ? EIO : 0; });
        w.Nextday->click();
        if (option == 1.0f) {
            EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().prompt;
            EXPECT_FALSE(holds(w.daystide1->Caption(), "Range n/a")) << w.daystide1->Caption();
        } else {
            EXPECT_TRUE(holds(onlyMessage(),
                              "The tide cannot be computed: Cannot read " + depthPath() + ": " + ioError()))
                << onlyMessage();
            EXPECT_TRUE(holds(w.daystide1->Caption(), "Range n/a")) << w.daystide1->Caption();
        }
        SetReadFault({});
        restart();
    }
}

// The depth-and-notes dialog meets an area file it cannot read: told once, nothing shown as
// read, nothing written.
TEST_F(FileFailures, DepthDialogTellsAnUnreadableAreaFile) {
    frmtidewyn& w = open();
    const std::string depths = ReadAll(depthPath());
    dialogs->messages.clear();

    // At its load: no port list.
    failAreaReads();
    withModal<frmChartdepth>(w.mnuchartdepth, [&](frmChartdepth& d) {
        EXPECT_TRUE(
            holds(onlyMessage(), "The ports of this sea area cannot be listed: Cannot read " + area()))
            << onlyMessage();
        EXPECT_EQ(d.List1->ListCount(), 0);
        EXPECT_EQ(d.portlabel->Caption(), "");
        d.cdclose->click();
    });

    // A settings file that names another port than the one shown: the port cannot be read.
    SetReadFault({});
    dialogs->messages.clear();
    storeSettings([](SettingsRecord& r) { r.PortIndex = 12; });
    failAreaReads();
    withModal<frmChartdepth>(w.mnuchartdepth, [&](frmChartdepth& d) {
        EXPECT_TRUE(holds(onlyMessage(), "The port cannot be read: Cannot read " + area() + ": " + ioError()))
            << onlyMessage();
        d.cdclose->click();
    });
    // The port stays the one the window shows.
    EXPECT_EQ(State().CurrentPort, 77);
    EXPECT_EQ(State().PortName, "Dover");
    EXPECT_EQ(ReadAll(depthPath()), depths);
}

// A click on a port whose record cannot be read, and on one past the end of a short user-depth
// file whose port cannot be read.
TEST_F(FileFailures, DepthDialogClickOnAnUnreadablePort) {
    frmtidewyn& w = open();
    // A user-depth file of 10 records for the area's ports.
    std::filesystem::resize_file(depthPath(), 10 * DepthRecord::kSize);
    const std::string depths = ReadAll(depthPath());
    dialogs->messages.clear();
    withModal<frmChartdepth>(w.mnuchartdepth, [&](frmChartdepth& d) {
        ASSERT_GT(d.List1->ListCount(), 20);
        failAreaReads();
        d.List1->SetListIndex(4);  // port 5: its depth record is read, its name is not
        EXPECT_TRUE(holds(onlyMessage(), "The port cannot be read: Cannot read " + area())) << onlyMessage();
        EXPECT_EQ(d.portlabel->Caption(), "");
        EXPECT_EQ(d.portnolabel->Caption(), " 5");
        d.cdclose->click();
    });

    int reads = 0;
    // Port 20 has no depth record: the new record would come from its port record, whose
    // second read fails. (A reason is told once while the dialog is open: a new one.)
    SetReadFault({});
    withModal<frmChartdepth>(w.mnuchartdepth, [&](frmChartdepth& d) {
        dialogs->messages.clear();
        SetReadFault(
            [&](const std::string& path) { return path.ends_with("UK.hc") && ++reads == 2 ? EIO : 0; });
        d.List1->SetListIndex(19);
        EXPECT_TRUE(holds(onlyMessage(), "The user depth of this port cannot be read: Cannot read " + area()))
            << onlyMessage();
        EXPECT_EQ(d.depth->Text(), "");
        EXPECT_EQ(d.usernotes->Text(), "");
        d.cdclose->click();
    });
    EXPECT_EQ(ReadAll(depthPath()), depths);
}

TEST_F(FileFailures, ShowConfigurationTellsAnUnreadableAreaFile) {
    frmtidewyn& w = open();
    dialogs->messages.clear();
    failAreaReads();
    withModal<frmshowconf>(w.Mnushowconfig, [&](frmshowconf& c) {
        EXPECT_TRUE(
            holds(onlyMessage(), "The ports of this sea area cannot be listed: Cannot read " + area()))
            << onlyMessage();
        EXPECT_EQ(c.confportlist->ListCount(), 0);
        EXPECT_EQ(c.sealabel->Caption(), "UK");  // the settings are still shown
        c.Confexit->click();
    });
}

// Restore Defaults that cannot delete the settings file says so: the user must not think the
// defaults are back.
TEST_F(FileFailures, RestoreDefaultsThatCannotDeleteSaysSo) {
    frmCopyright& start = Get<frmCopyright>();
    std::filesystem::create_directories(settingsPath() + "/in the way");
    start.mnuRestoreDefaults.Click();
    EXPECT_TRUE(holds(onlyMessage(),
                      "The settings cannot be restored to their defaults: Cannot delete " + settingsPath()))
        << onlyMessage();

    // No file at all is no error.
    std::filesystem::remove_all(settingsPath());
    dialogs->messages.clear();
    start.mnuRestoreDefaults.Click();
    EXPECT_TRUE(dialogs->messages.empty());
}

}  // namespace
