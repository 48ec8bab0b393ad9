// The port picker: a click shows the port, "O.K." makes it the main window's current port
// without writing the settings, "Cancel" changes nothing.
#include <QPointer>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "adjustment/frmselectport.h"
#include "engine/port_fixture.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "mainwindow/frmtidewyn.h"
#include "portpicker_support.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::ClickLine;
using testing_support::OpenPortPicker;
using testing_support::ReadAll;

class PortPicker : public testing_support::WindowTest {
protected:
    // The main window with its menus switched off, as an opener of the picker leaves them.
    frmtidewyn& openWithMenusOff() {
        frmtidewyn& w = open();
        for (MenuItem* m : {&w.mnutides, &w.mnuCalc, &w.mnuconfig}) m->SetEnabled(false);
        return w;
    }
    static bool menusOn(frmtidewyn& w) {
        return w.mnutides.Enabled() && w.mnuCalc.Enabled() && w.mnuconfig.Enabled();
    }
    static PortRecord record(long n) {
        PortRecord p;
        EXPECT_TRUE(ReadPortRecord(State().AreaFilePath, n, p).ok()) << n;
        return p;
    }
    // What the main window shows of its port and day.
    struct Shown {
        int16_t port;
        std::string portbox, days, title;
        bool operator==(const Shown&) const = default;
        friend void PrintTo(const Shown& v, std::ostream* os) {
            *os << v.port << " | " << v.portbox << " | " << v.title << " |\n" << v.days;
        }
    };
    static Shown shown(frmtidewyn& w) {
        return {State().CurrentPort, w.portbox->Caption(), w.daystide1->Caption(), w.Caption()};
    }
};

TEST_F(PortPicker, ClickShowsThePortAndCancelKeepsTheCurrentOne) {
    frmtidewyn& w = openWithMenusOff();
    const Shown before = shown(w);
    QPointer<frmselectport> d = &OpenPortPicker();
    EXPECT_EQ(d->Caption(), "Select Port");
    EXPECT_EQ(d->selportno->Caption(), " ");
    EXPECT_EQ(d->selportname->Caption(), "");
    // Centred on the main window.
    EXPECT_NEAR(d->Left() + d->Width() / 2, w.Left() + w.Width() / 2, ToTwips(2));
    EXPECT_NEAR(d->Top() + d->Height() / 2, w.Top() + w.Height() / 2, ToTwips(2));

    ClickLine(d->portlist, 11);
    const std::string name = record(12).PortName;
    ASSERT_EQ(name.size(), 35u);
    EXPECT_EQ(d->selportname->Caption(), name);  // trailing blanks kept
    EXPECT_EQ(d->selportno->Caption(), " 12");
    EXPECT_EQ(shown(w), before);  // the port changes only on "O.K."

    d->Selportcancel->click();
    EXPECT_FALSE(IsLoaded<frmselectport>());
    ASSERT_TRUE(d);  // deleted later, by the event loop
    EXPECT_EQ(d->portlist->ListCount(), 0);
    EXPECT_EQ(shown(w), before);
    EXPECT_TRUE(menusOn(w));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(PortPicker, OkTakesTheLastClickedLine) {
    struct Case {
        std::vector<int> lines;
        int16_t port;
    } cases[] = {{{2}, 3}, {{5, 1}, 2}, {{0, 80}, 81}, {{6, 6}, 7}};
    frmtidewyn& w = open();
    for (const Case& c : cases) {
        frmselectport& d = OpenPortPicker();
        for (int line : c.lines) ClickLine(d.portlist, line);
        d.selportok->click();
        EXPECT_FALSE(IsLoaded<frmselectport>());
        EXPECT_EQ(State().CurrentPort, c.port);
        EXPECT_EQ(w.portbox->Caption(), "Port    : " + record(c.port).PortName) << c.port;
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

// The main window shows record 3 as when it steps to it, and the settings file still names
// Dover.
TEST_F(PortPicker, OkMakesTheThirdRecordCurrentWithoutWritingTheSettings) {
    frmtidewyn& w = openWithMenusOff();
    SharedState& s = State();
    const std::string settings = ReadAll(settingsPath());
    const Shown dover = shown(w);
    QPointer<frmselectport> d = &OpenPortPicker();
    ClickLine(d->portlist, 2);
    EXPECT_EQ(d->selportno->Caption(), " 3");
    d->selportok->click();

    EXPECT_FALSE(IsLoaded<frmselectport>());
    ASSERT_TRUE(d);  // deleted later, by the event loop
    EXPECT_EQ(d->portlist->ListCount(), 0);
    EXPECT_TRUE(menusOn(w));
    const PortRecord skerries = record(3);
    EXPECT_EQ(s.CurrentPort, 3);
    EXPECT_EQ(s.PortName, skerries.PortName);
    EXPECT_EQ(s.PortLatitude, skerries.Latitude);
    EXPECT_EQ(s.PortLongitude, skerries.Longitude);
    EXPECT_EQ(w.portbox->Caption(), "Port    : " + skerries.PortName);
    ASSERT_EQ(w.portbox->Caption().size(), 10u + 35u);
    const Shown picked = shown(w);
    EXPECT_NE(picked.days, dover.days);
    EXPECT_NE(picked.title, dover.title);
    EXPECT_GE(testing_support::DashesAt(w.Picture1->PersistentCommands(), s.SunriseTime), 25);
    EXPECT_EQ(ReadAll(settingsPath()), settings);

    // Stepping away and back recomputes record 3 the main window's own way.
    const double sunrise = s.SunriseTime, sunset = s.SunsetTime;
    w.mnuNextPort.Click();
    w.mnuPrevPort.Click();
    EXPECT_EQ(shown(w), picked);
    EXPECT_EQ(s.SunriseTime, sunrise);
    EXPECT_EQ(s.SunsetTime, sunset);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(PortPicker, OkWithoutAClickOnlyEmptiesTheMonthView) {
    frmtidewyn& w = open();
    SharedState& s = State();
    w.mnumonth.Click();
    ASSERT_TRUE(w.monthspredictions->isVisibleTo(&w));
    ASSERT_GT(w.monthspredictions->ListCount(), 0);
    ASSERT_TRUE(MonthViewIsCurrent());
    ASSERT_NE(s.MonthText(1, 1, 1), "");
    for (MenuItem* m : {&w.mnutides, &w.mnuCalc, &w.mnuconfig}) m->SetEnabled(false);
    const std::string settings = ReadAll(settingsPath());
    const Shown before = shown(w);

    OpenPortPicker().selportok->click();
    EXPECT_FALSE(IsLoaded<frmselectport>());
    EXPECT_EQ(w.monthspredictions->ListCount(), 0);
    EXPECT_FALSE(w.monthspredictions->isVisibleTo(&w));
    EXPECT_FALSE(MonthViewIsCurrent());
    EXPECT_EQ(s.MonthText(1, 1, 1), "");
    EXPECT_EQ(shown(w), before);
    EXPECT_TRUE(menusOn(w));
    EXPECT_EQ(ReadAll(settingsPath()), settings);
    EXPECT_TRUE(dialogs->messages.empty());
}

// An area of three ports, the third damaged, cut to one after the list was filled: what
// cannot be read or is damaged is told with the file's name, and nothing changes.
TEST_F(PortPicker, RecordsThatCannotBeTakenAreToldAndChangeNothing) {
    std::vector<PortRecord> ports;
    ASSERT_TRUE(ReadAllPortRecords(programFolder() + "/UK.hc", ports).ok());
    ports.resize(3);
    ports[2].Latitude = 999.0f;
    const std::string area = home.file("Three.hc");
    testing_support::WriteAreaFile(area, ports);
    storeSettings([&](SettingsRecord& r) {
        r.AreaPath = area;
        r.PortIndex = 1;
    });
    frmtidewyn& w = open();
    const Shown before = shown(w);
    frmselectport& d = OpenPortPicker();
    auto toldOnce = [&](const std::string& what) {
        ASSERT_EQ(dialogs->messages.size(), 1u) << what;
        EXPECT_NE(dialogs->messages[0].prompt.find("Three.hc"), std::string::npos)
            << dialogs->messages[0].prompt;
        dialogs->messages.clear();
        EXPECT_TRUE(IsLoaded<frmselectport>()) << what;
        EXPECT_EQ(shown(w), before) << what;
    };

    // The damaged record still names its port, but "O.K." refuses it.
    ClickLine(d.portlist, 2);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(Trim(d.selportname->Caption()), Trim(ports[2].PortName));
    EXPECT_EQ(d.selportno->Caption(), " 3");
    d.selportok->click();
    toldOnce("damaged");

    testing_support::WriteAreaFile(area, {ports[0]});
    ClickLine(d.portlist, 1);
    toldOnce("click past the end");
    EXPECT_EQ(d.selportno->Caption(), " 3");
    d.selportok->click();
    toldOnce("O.K. past the end");

    d.Selportcancel->click();
    EXPECT_EQ(shown(w), before);
}
