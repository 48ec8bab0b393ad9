// A new user's session: the date from the lists and from the calendar, a port by search and by
// sort, another sea area, a depth and notes, the program settings, the configuration, the month
// view; then a restart brings it all back from the files.
#include <QTest>
#include <deque>
#include <filesystem>
#include <functional>

#include "engine/calendar.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"
#include "platform/datepicker.h"
#include "window_support.h"

using namespace engine;
using namespace platform;

namespace {
// Each modal dialog shown takes the next of these actions, as the user would act in it.
std::deque<std::function<void(Form&)>> actions;

template <typename T>
void act(std::function<void(T&)> f) {
    actions.push_back([f](Form& form) {
        T* dialog = dynamic_cast<T*>(&form);
        ASSERT_NE(dialog, nullptr) << "another dialog opened than expected";
        f(*dialog);
    });
}
}  // namespace

class EndToEnd : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        actions.clear();
        SetModalRunner([](Form& f) {
            ASSERT_FALSE(actions.empty()) << "an unexpected dialog opened";
            auto next = actions.front();
            actions.pop_front();
            next(f);
        });
    }
};

TEST_F(EndToEnd, ANewUsersSessionSurvivesARestart) {
    frmtidewyn& w = open();
    SharedState& s = State();

    // A date from the lists: 15 July 2024.
    act<Frmtimdat>([](Frmtimdat& d) {
        d.monthlist->SetListIndex(6);
        d.daylist->SetListIndex(14);
        d.date1ok->click();
    });
    w.mnutidedate.Click();
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 15 July 2024 (Monday)");
    EXPECT_EQ(s.SelectedDayOfYear, 197);

    // A date from the calendar: 20 August 2024.
    act<Frmtimdat>([](Frmtimdat& d) {
        d.DTPicker->Pick(DateSerial(2024, 8, 20));
        d.cmdOk->click();
    });
    w.mnutidedate.Click();
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 20 August 2024 (Tuesday)");

    // A port by name search, then by file order.
    act<frmconfig>([](frmconfig& d) {
        d.txtSearch->TypeText("Newha");
        d.portconfigok->click();
    });
    w.mnuPortList.Click();
    EXPECT_EQ(Trim(s.PortName), "Newhaven");
    act<frmconfig>([](frmconfig& d) {
        d.optSortGeog->SetValue(true);
        d.cmdSort->click();
        d.portlist2->SetListIndex(76);
        d.portconfigok->click();
    });
    w.mnuPortList.Click();
    EXPECT_EQ(s.CurrentPort, 77);
    EXPECT_EQ(Trim(s.PortName), "Dover");

    // Another sea area: Brest in France.hc, local time UTC + 1.
    std::string france = programFolder() + "/France.hc";
    dialogs->fileAnswers.push_back(france);
    act<frmconfig>([](frmconfig& d) {
        d.txtSearch->TypeText("Brest");
        d.portconfigok->click();
    });
    w.mnuArea.Click();
    EXPECT_EQ(s.AreaFilePath, france);
    EXPECT_EQ(Trim(s.PortName), "Brest");
    EXPECT_EQ(s.PortZoneHours, -1);
    EXPECT_EQ(FileLength(depthPath("France.DEP")), PortCount(france) * 305);
    const int brest = s.CurrentPort;

    // A charted depth and notes: under option 3 the curve rises by the depth.
    const double before = s.DayCurve(2, 50);
    act<frmChartdepth>([](frmChartdepth& d) {
        d.depth->clear();
        d.depth->TypeText("2.5");
        d.usernotes->SetText("Mooring buoy off the fish quay");
        d.cdok->click();
        d.cdclose->click();
    });
    w.mnuchartdepth.Click();
    EXPECT_FLOAT_EQ(s.UserDepth, 2.5f);
    EXPECT_NEAR(s.DayCurve(2, 50), before + 2.5, 1e-9);

    // Option 1, a draught and summer time: heights to chart datum, an August day an hour on.
    act<frmoutoptions>([](frmoutoptions& d) {
        d.Option1->SetValue(true);
        d.draughttext->setText("1.2");
        d.optDaylightSavings->SetValue(true);
        d.optionsok->click();
    });
    w.mnuoutputoptions.Click();
    EXPECT_EQ(s.OutputOption, 1.0f);
    EXPECT_FLOAT_EQ(s.Draught, 1.2f);
    EXPECT_TRUE(s.ApplySummerTime);
    EXPECT_NE(w.disclaimer->Caption().find("ADJUSTED FOR SUMMER TIME"), std::string::npos);
    EXPECT_EQ(s.DepthNote, "Depths to Chart Datum");

    // Back to option 3: the depth again, and the dotted curve 1.7 m under it.
    act<frmoutoptions>([](frmoutoptions& d) {
        d.Option3->SetValue(true);
        d.optionsok->click();
    });
    w.mnuoutputoptions.Click();
    EXPECT_NE(s.DepthNote.find(" : Draft=1.2M"), std::string::npos);

    // The configuration shows it all and changes nothing.
    act<frmshowconf>([](frmshowconf& d) {
        EXPECT_EQ(d.sealabel->Caption(), "France");
        EXPECT_EQ(d.confoutputoption->Caption(), " Charted depth, draught and prog.ukc");
        EXPECT_EQ(Trim(d.Text1->Text()), "Mooring buoy off the fish quay");
        d.Confexit->click();
    });
    w.Mnushowconfig.Click();

    // The month view of August 2024.
    w.mnumonth.Click();
    EXPECT_TRUE(w.monthspredictions->isVisibleTo(&w));
    EXPECT_GT(w.monthspredictions->ListCount(), 5 + 2 * 31);
    EXPECT_EQ(w.monthspredictions->List(4), "(Summer Times)");
    EXPECT_TRUE(actions.empty());

    // A restart: everything comes back from the settings and user-depth files.
    restart();
    frmtidewyn& again = open();
    EXPECT_EQ(s.AreaFilePath, france);
    EXPECT_EQ(s.CurrentPort, brest);
    EXPECT_EQ(again.portbox->Caption(), "Port    : Brest");
    EXPECT_EQ(s.OutputOption, 3.0f);
    EXPECT_FLOAT_EQ(s.Draught, 1.2f);
    EXPECT_TRUE(s.ApplySummerTime);
    EXPECT_FLOAT_EQ(s.UserDepth, 2.5f);
    DepthRecord d;
    ASSERT_TRUE(ReadDepthRecord(depthPath("France.DEP"), brest, d).ok());
    EXPECT_EQ(Trim(d.Notes), "Mooring buoy off the fish quay");
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages[0].prompt;
}
