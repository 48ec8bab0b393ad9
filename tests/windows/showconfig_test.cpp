// The show-configuration window: the settings as stored, the area's ports with their depths
// and notes, and nothing changed by looking.
#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/timetext.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using testing_support::ReadAll;
using namespace platform;

namespace {
std::string padded(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}
}  // namespace

class ShowConfiguration : public testing_support::WindowTest {
protected:
    // Opens the window from its menu; `user` looks at it and must close it.
    void withWindow(frmtidewyn& main, const std::function<void(frmshowconf&)>& user) {
        withModal<frmshowconf>(main.Mnushowconfig, user);
    }
};

TEST_F(ShowConfiguration, ShowsTheSettingsAndTheCurrentPort) {
    frmtidewyn& main = open();
    PortRecord dover;
    ASSERT_TRUE(ReadPortRecord(State().AreaFilePath, 77, dover).ok());
    withWindow(main, [&](frmshowconf& w) {
        EXPECT_EQ(w.Caption(), "Current Configuration and User Notes");
        EXPECT_TRUE(w.Visible());
        EXPECT_EQ(w.portnolabel->Caption(), "77");
        EXPECT_EQ(w.confportnamebox->Caption(), padded("Dover", 35));
        EXPECT_EQ(w.sealabel->Caption(), "UK");
        EXPECT_EQ(w.confdraughtbox->Caption(), "0.5");
        EXPECT_EQ(w.confukcbox->Caption(), "0.5");
        EXPECT_EQ(w.confoutputoption->Caption(), " Charted depth, draught and prog.ukc");
        EXPECT_EQ(w.depth->Caption(), "0");
        EXPECT_EQ(w.Text1->Text(),
                  "Position" + FormatLatitude(dover.Latitude) + "  " + FormatLongitude(dover.Longitude));
        EXPECT_TRUE(w.Text1->isReadOnly());
        ASSERT_EQ(w.confportlist->ListCount(), 81);
        EXPECT_EQ(w.confportlist->List(76), "77  " + padded("Dover", 35));
        EXPECT_EQ(w.confportlist->List(0).substr(0, 3), "1  ");
        EXPECT_EQ(w.confportlist->ListIndex(), 76);
        w.Confexit->click();
    });
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(ShowConfiguration, OutputLineForEachStoredOption) {
    const std::pair<float, const char*> cases[] = {
        {1.0f, " From chart datum only"},
        {2.0f, " Includes charted depth"},
        {3.0f, " Charted depth, draught and prog.ukc"},
        {1.5f, " Charted depth, draught and prog.ukc"},  // damaged: the default in use
        {0.0f, " Charted depth, draught and prog.ukc"},
    };
    for (auto [option, text] : cases) {
        SCOPED_TRACE(option);
        storeSettings([&](SettingsRecord& r) {
            r.OutputOption = option;
            r.Draught = 1.25f;
            r.KeelClearance = 0;
        });
        frmtidewyn& main = open();
        withWindow(main, [&](frmshowconf& w) {
            EXPECT_EQ(w.confoutputoption->Caption(), text);
            EXPECT_EQ(w.confdraughtbox->Caption(), "1.25");
            EXPECT_EQ(w.confukcbox->Caption(), "0");
            w.Confexit->click();
        });
        restart();
    }
}

// Another port's depth and notes, without making it current; the window writes nothing and
// leaves the program's state as it was, even where the file and the state differ.
TEST_F(ShowConfiguration, AnotherPortIsShownWithoutChangingAnything) {
    frmtidewyn& main = open();
    SharedState& s = State();
    DepthRecord d;
    ASSERT_TRUE(ReadDepthRecord(depthPath(), 5, d).ok());
    d.ChartedDepth = 3.25f;
    d.Notes = "   Moor at the north wall   ";
    ASSERT_TRUE(WriteRecord(depthPath(), DepthRecord::kSize, 5, EncodeDepthRecord(d)).ok());
    PortRecord port5;
    ASSERT_TRUE(ReadPortRecord(s.AreaFilePath, 5, port5).ok());
    // The file says draught 2 and port 12; the run keeps 0.5 and port 77.
    SettingsRecord r;
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    r.Draught = 2.0f;
    r.PortIndex = 12.0f;
    ASSERT_TRUE(WriteSettingsFile(r).ok());

    const std::string settingsBefore = ReadAll(settingsPath());
    const std::string depthBefore = ReadAll(depthPath());
    const SharedState before = s;
    const std::string portCaption = main.portbox->Caption();
    withWindow(main, [&](frmshowconf& w) {
        EXPECT_EQ(w.confdraughtbox->Caption(), "2");
        EXPECT_EQ(w.portnolabel->Caption(), "12");
        w.confportlist->SetListIndex(4);
        EXPECT_EQ(w.portnolabel->Caption(), "5");
        EXPECT_EQ(w.confportnamebox->Caption(), port5.PortName);
        EXPECT_EQ(w.depth->Caption(), "3.25");
        EXPECT_EQ(w.Text1->Text(), "Moor at the north wall");
        main.Picture1->Cls();  // so that the redraw after closing shows
        w.Confexit->click();
    });
    EXPECT_EQ(ReadAll(settingsPath()), settingsBefore);
    EXPECT_EQ(ReadAll(depthPath()), depthBefore);
    EXPECT_EQ(s.CurrentPort, 77);
    EXPECT_EQ(s.CurrentPort, before.CurrentPort);
    EXPECT_EQ(s.AreaFilePath, before.AreaFilePath);
    EXPECT_EQ(s.Draught, before.Draught);
    EXPECT_EQ(s.KeelClearance, before.KeelClearance);
    EXPECT_EQ(s.OutputOption, before.OutputOption);
    EXPECT_EQ(s.DepthFileName, before.DepthFileName);
    EXPECT_EQ(s.DepthFilePath, before.DepthFilePath);
    EXPECT_EQ(s.UserDepth, before.UserDepth);
    EXPECT_EQ(s.PortName, before.PortName);
    EXPECT_EQ(main.portbox->Caption(), portCaption);
    EXPECT_FALSE(main.Picture1->PersistentCommands().empty());  // the curve drawn again
}

TEST_F(ShowConfiguration, MissingUserDepthFileIsNotCreated) {
    frmtidewyn& main = open();
    ASSERT_TRUE(std::filesystem::remove(depthPath()));
    withWindow(main, [&](frmshowconf& w) {
        EXPECT_EQ(w.portnolabel->Caption(), "77");
        EXPECT_EQ(w.confportnamebox->Caption(), padded("Dover", 35));
        EXPECT_EQ(w.depth->Caption(), "");
        EXPECT_EQ(w.Text1->Text(), "");
        w.Confexit->click();
    });
    EXPECT_FALSE(std::filesystem::exists(depthPath()));
    EXPECT_TRUE(dialogs->messages.empty());
}
