// The main window as the user sees it: load, day and port steps, the picture, read-outs and
// the layers view.
#include <QTest>
#include <algorithm>
#include <fstream>

#include "engine/calendar.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/sun.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using testing_support::ReadAll;
using namespace platform;

namespace {
int count(const std::vector<DrawCommand>& list, DrawKind kind) {
    return static_cast<int>(
        std::count_if(list.begin(), list.end(), [&](const DrawCommand& c) { return c.kind == kind; }));
}
}  // namespace

class MainWindow : public testing_support::WindowTest {
protected:
};

TEST_F(MainWindow, OpensOnPort77TodayWithCurveListAndTitle) {
    frmtidewyn& w = open();
    SharedState& s = State();
    EXPECT_EQ(s.CurrentPort, 77);
    EXPECT_EQ(w.portbox->Caption(), "Port    : Dover");
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 5 March 2024 (Tuesday)");
    EXPECT_EQ(s.SelectedDayOfYear, 65);
    EXPECT_NEAR(s.TimeNowHours, 13 + 47 / 60.0, 1e-12);
    EXPECT_EQ(w.daystide1->Caption().substr(0, 25), "  Predictions\r\n   (Range ");
    EXPECT_GE(s.EventCount, 3);
    EXPECT_EQ(w.lblmousestatus->Caption(), "(Click mouse to freeze)");

    // The title at the clock time: the program caption, then the read-out.
    std::string title = w.Caption();
    EXPECT_EQ(title.rfind("Tidewyn Vizoz   (v9.5.0)     [Time Now 13:47 : Height = ", 0), 0u) << title;
    EXPECT_NE(title.find("M. : "), std::string::npos);
    EXPECT_EQ(title.substr(title.size() - 9), " Mtrs/Hr]");

    // The picture: 146 curve segments, 147 dots of the option-3 curve, the sun marks.
    const auto& pic = w.Picture1->PersistentCommands();
    EXPECT_EQ(s.OutputOption, 3.0f);
    EXPECT_EQ(count(pic, DrawKind::Point), 147);
    EXPECT_EQ(testing_support::DashesAt(pic, s.SunriseTime), 25);
    EXPECT_EQ(testing_support::DashesAt(pic, s.SunsetTime), 25);
    EXPECT_GT(s.SunriseTime, 6);
    EXPECT_LT(s.SunriseTime, 7);
    EXPECT_EQ(w.Picture1->ScaleLeft(), 0);
    EXPECT_EQ(w.Picture1->ScaleTop(), s.ScaleTop);
    EXPECT_EQ(w.Picture1->ScaleHeight(), s.ScaleBottom - s.ScaleTop);
    double highest = 0;
    for (int r = 1; r <= s.CurvePoints - 1; ++r) highest = std::max(highest, s.DayCurve(2, r));
    EXPECT_EQ(s.ScaleTop, Int(highest) + 1);
    EXPECT_NE(s.DepthNote.find(" : Draft=0.5M : Clearance=0.5M"), std::string::npos);
    // The clock time's red line is temporary.
    ASSERT_FALSE(w.Picture1->TemporaryCommands().empty());
    EXPECT_EQ(w.Picture1->TemporaryCommands()[0].color, kRed);
    EXPECT_TRUE(w.lblSprings->Caption() == "Springs" || w.lblSprings->Caption() == "Neaps ");
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(MainWindow, DaySteps) {
    now = DateSerial(2024, 12, 31) + TimeSerial(9, 5, 0);
    frmtidewyn& w = open();
    SharedState& s = State();
    w.Nextday->click();
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 01 January 2025 (Wednesday)");
    EXPECT_EQ(s.SelectedYear, 2025);
    EXPECT_EQ(s.SelectedDayOfYear, 1);
    EXPECT_EQ(s.SelectedMonth, 1);
    EXPECT_EQ(s.SelectedDay, 1);

    // After a day step and a mouse move the sun marks are those of the new day.
    SunTimes jan1 = CalcSunTimes(s.PortLatitude, s.PortLongitude, 1, 1, 2025, s.PortZoneHours, false);
    w.Picture1_MouseMove(0, 0, 12, 0);
    EXPECT_EQ(testing_support::DashesAt(w.Picture1->PersistentCommands(), jan1.Sunrise.Hours), 25);
    EXPECT_EQ(testing_support::DashesAt(w.Picture1->TemporaryCommands(), jan1.Sunrise.Hours), 0);

    w.Previousday->click();
    w.Previousday->click();
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 30 December 2024 (Monday)");
    // The hour labels under the picture are drawn afresh, not piled up day after day.
    EXPECT_EQ(w.Surface().PersistentCommands().size(), 7u);
    EXPECT_EQ(s.SelectedDayOfYear, 365);
}

TEST_F(MainWindow, PortStepsWriteOnlyThePortIndex) {
    frmtidewyn& w = open();
    SharedState& s = State();
    std::string before = ReadAll(settingsPath());
    w.mnuNextPort.Click();
    EXPECT_EQ(s.CurrentPort, 78);
    std::string after = ReadAll(settingsPath());
    for (size_t i = 0; i < after.size(); ++i) {
        if (i < 1275 || i >= 1279) {
            ASSERT_EQ(before[i], after[i]) << "byte " << i;
        }
    }
    SettingsRecord r;
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    EXPECT_EQ(r.PortIndex, 78.0f);
    EXPECT_EQ(w.portbox->Caption().substr(0, 10), "Port    : ");

    long n = PortCount(s.AreaFilePath);
    for (long i = 0; i < n; ++i) w.mnuNextPort.Click();
    EXPECT_EQ(s.CurrentPort, n);
    s.CurrentPort = 1;
    w.mnuPrevPort.Click();
    EXPECT_EQ(s.CurrentPort, 1);
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    EXPECT_EQ(r.PortIndex, 1.0f);
}

TEST_F(MainWindow, PortOutsideTheAreaFileIsBroughtIntoRange) {
    State().AppDataFolder = home.file(".local/share");
    std::filesystem::create_directories(home.file(".local/share/TidewynTides"));
    SettingsRecord r = DefaultSettingsRecord();
    r.PortIndex = 500;
    ASSERT_TRUE(WriteSettingsFile(r).ok());
    frmtidewyn& w = open();
    EXPECT_EQ(State().CurrentPort, PortCount(State().AreaFilePath));
    EXPECT_NE(w.portbox->Caption(), "Port    : ");
}

// A stored port past the end of the area file (a UK.hc cut short) or past the ports the program
// can number: the window opens on the port that stands in and says which, once; the settings
// keep the stored port.
TEST_F(MainWindow, StoredPortPastTheAreaFileIsToldWithThePortShown) {
    const std::string uk = programFolder() + "/UK.hc";
    const std::string cut = home.file("Cut/UK.hc");
    std::filesystem::create_directories(home.file("Cut"));
    testing_support::WriteBytes(cut, ReadAll(uk).substr(0, 76 * PortRecord::kSize));
    PortRecord first;
    ASSERT_TRUE(ReadPortRecord(uk, 1, first).ok());
    const std::string big = home.file("Big.hc");
    std::string bytes(70000 * PortRecord::kSize, '\0');
    bytes.replace(0, PortRecord::kSize, AsString(EncodePortRecord(first)));
    testing_support::WriteBytes(big, bytes);
    const std::string firstName = Trim(first.PortName);

    struct Case {
        std::string area;
        float stored;
        int16_t shown;
        std::string name, told;
    } cases[] = {
        {cut, 77, 76, "Deal",
         "The stored port 77 is past the end of " + cut +
             ", which holds 76 ports: port 76, Deal, is shown instead."},
        {uk, 77, 77, "Dover", ""},
        {uk, 40001, 1, firstName,
         "The stored port 40001 is past the end of " + uk + ", which holds " + std::to_string(PortCount(uk)) +
             " ports: port 1, " + firstName + ", is shown instead."},
        {big, 40001, 1, firstName,
         "The stored port 40001 of " + big + " is past the 32,767 ports the program can use: port 1, " +
             firstName + ", is shown instead."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.area + " " + std::to_string(c.stored));
        dialogs->messages.clear();
        storeSettings([&](SettingsRecord& r) {
            r.AreaPath = c.area;
            r.PortIndex = c.stored;
        });
        frmtidewyn& w = open();
        EXPECT_EQ(State().CurrentPort, c.shown);
        EXPECT_EQ(w.portbox->Caption(), "Port    : " + c.name);
        if (c.told.empty()) {
            EXPECT_TRUE(dialogs->messages.empty());
        } else {
            ASSERT_EQ(dialogs->messages.size(), 1u);
            EXPECT_EQ(dialogs->messages[0].prompt, c.told);
        }
        SettingsRecord r;
        ASSERT_TRUE(ReadSettingsFile(r).ok());
        EXPECT_EQ(r.PortIndex, c.stored);
        restart();
        std::filesystem::remove(settingsPath());
        std::filesystem::remove(depthPath());
        std::filesystem::remove(depthPath("Big.DEP"));
    }
}

TEST_F(MainWindow, MouseReadOutFollowsThePointerAndAClickFreezesIt) {
    frmtidewyn& w = open();
    SharedState& s = State();
    w.Picture1_MouseMove(0, 0, 12.0, 0);
    EXPECT_EQ(w.timeval->Caption(), "12:00");
    EXPECT_EQ(w.hiteval->Caption(), Format(s.DayCurve(2, 73), "#,#0.0;;;"));
    const std::string& rate = w.lblrate->Caption();
    EXPECT_TRUE(rate.rfind("(Rising @ ", 0) == 0 || rate.rfind("(Falling @ ", 0) == 0) << rate;
    ASSERT_EQ(w.Picture1->TemporaryCommands().size(), 1u);  // only the cursor line
    EXPECT_EQ(w.Picture1->TemporaryCommands()[0].x1, 12.0);

    w.Picture1_MouseDown(1, 0, 12, 0);
    EXPECT_EQ(w.lblmousestatus->Caption(), "(Click mouse to unfreeze)");
    w.Picture1_MouseMove(0, 0, 3.0, 0);
    EXPECT_EQ(w.timeval->Caption(), "12:00");
    w.Picture1_MouseDown(1, 0, 3, 0);
    EXPECT_EQ(w.lblmousestatus->Caption(), "(Click mouse to freeze)");

    w.Picture1_MouseMove(1, 0, 30.0, 0);  // beyond the picture: clamped to 24 h
    EXPECT_EQ(w.timeval->Caption(), "00:00");
}

TEST_F(MainWindow, RateAcrossChartDatumUsesSignedHeights) {
    frmtidewyn& w = open();
    SharedState& s = State();
    // Rows 72 to 75 around 12:00: -0.2 m at 11:50 to +0.3 m at 12:20 is 1.0 m/h.
    s.DayCurve(2, 72) = -0.2;
    s.DayCurve(2, 73) = 0.0;
    s.DayCurve(2, 74) = 0.1;
    s.DayCurve(2, 75) = 0.3;
    w.Picture1_MouseMove(0, 0, 12.0, 0);
    EXPECT_EQ(w.lblrate->Caption().substr(0, 20), "(Rising @ 1.00 Mtrs/");
}

TEST_F(MainWindow, LayersViewDrawsTheTickedConstituents) {
    frmtidewyn& w = open();
    SharedState& s = State();
    w.mnuLayersShow.Click();
    EXPECT_TRUE(w.mnuLayersShow.Checked());
    EXPECT_TRUE(w.chkM2->isVisibleTo(&w));
    EXPECT_EQ(w.Picture1->BackColor(), Rgb(192, 192, 192));
    EXPECT_EQ(s.ScaleBottom, -2);
    auto lines = [&](OleColor c) {
        const auto& l = w.Picture1->PersistentCommands();
        return std::count_if(l.begin(), l.end(), [&](const DrawCommand& d) { return d.color == c; });
    };
    EXPECT_EQ(lines(kBlue), 0);
    w.chkM2->SetValue(1);
    EXPECT_EQ(lines(kBlue), s.CurvePoints - 2);
    w.chkZ0->SetValue(1);
    EXPECT_EQ(count(w.Picture1->PersistentCommands(), DrawKind::Point), s.CurvePoints - 2);
    w.chkZ0->SetValue(2);  // grey counts as not ticked
    EXPECT_EQ(count(w.Picture1->PersistentCommands(), DrawKind::Point), 0);

    w.Picture1_MouseMove(0, 0, 6.0, 0);
    EXPECT_EQ(w.lblHtM2->Caption(), Format(s.LayerM2(2, 37), "0.00"));
    EXPECT_EQ(w.lblSumHt->Caption(), w.hiteval->Caption());

    w.mnuLayersShow.Click();
    EXPECT_FALSE(w.chkM2->isVisibleTo(&w));
    EXPECT_EQ(w.Picture1->BackColor(), kWhite);
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 5 3 2024 (Tuesday)");
}

// The switch writes the date again from the year and day of the year, in the short-date order.
TEST_F(MainWindow, LayersSwitchKeepsTheYearsLastDayInEveryDateOrder) {
    struct Case {
        int year;
        const char* format;
        const char* caption;
    } cases[] = {
        {2023, "MM/DD/YYYY", "Date   : 12 31 2023 (Sunday)"},
        {2024, "DD/MM/YYYY", "Date   : 31 12 2024 (Tuesday)"},
        {2024, "YYYY/MM/DD", "Date   : 2024 12 31 (Tuesday)"},
        {2023, "YYYY/DD/MM", "Date   : 2023 31 12 (Sunday)"},
    };
    for (const Case& c : cases) {
        now = DateSerial(c.year, 12, 31) + TimeSerial(13, 47, 0);
        frmtidewyn& w = open();
        SharedState& s = State();
        s.ShortDateFormat = c.format;
        for (bool layers : {true, false}) {
            w.mnuLayersShow.Click();
            EXPECT_EQ(s.LayersMode, layers ? 1 : 0);
            EXPECT_EQ(s.SelectedYear, c.year) << c.format;
            EXPECT_EQ(s.SelectedMonth, 12) << c.format;
            EXPECT_EQ(s.SelectedDay, 31) << c.format;
            EXPECT_EQ(s.SelectedDayOfYear, IsLeapYear(c.year) ? 366 : 365) << c.format;
            EXPECT_EQ(w.tidedatebox->Caption(), c.caption);
        }
        restart();
    }
}

TEST_F(MainWindow, DoubleClickOnTheHeadingShowsConstantsAndTheAdjustmentMenu) {
    frmtidewyn& w = open();
    EXPECT_FALSE(w.mnuAdjustLoad.Visible());
    w.Label1_DblClick();
    EXPECT_TRUE(w.mnuAdjustLoad.Visible());
    w.Nextday->click();
    EXPECT_EQ(w.lblm2Harm->Caption().substr(0, 4), " (g ");
    EXPECT_EQ(w.lblZ0harm->Caption(), " (Z0 3.76)");
}

TEST_F(MainWindow, SummerTimeNoteFollowsTheDay) {
    frmtidewyn& w = open();
    SharedState& s = State();
    EXPECT_EQ(w.disclaimer->Caption(),
              "Heights in Metres, all data are derived and should therefore be considered as approximate\r\n"
              "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION");
    s.ApplySummerTime = true;
    s.SelectedDate = DateSerial(2024, 3, 30) + 0.9;  // Saturday before the last Sunday of March
    w.Nextday->click();
    EXPECT_NE(w.disclaimer->Caption().find("ADJUSTED FOR SUMMER TIME"), std::string::npos);
    EXPECT_EQ(State().DayCurve(1, 1), 0.0);
    w.Previousday->click();
    EXPECT_NE(w.disclaimer->Caption().find("WITHOUT SUMMER TIME CORRECTION"), std::string::npos);
}

TEST_F(MainWindow, FirstTimerDrawHappensOnceAtTheSecondTick) {
    frmtidewyn& w = open();
    w.Picture1_MouseMove(0, 0, 5, 0);
    w.Timer1->Fire();
    EXPECT_EQ(w.Picture1->TemporaryCommands().size(), 1u);  // not yet redrawn
    w.Timer1->Fire();
    // Redrawn: the cursor line is gone, and the sun marks and labels stand once in the picture,
    // not a second time over themselves.
    auto labels = [](const std::vector<DrawCommand>& list, const std::string& text) {
        return std::count_if(list.begin(), list.end(), [&](const DrawCommand& c) {
            return c.kind == DrawKind::Text && c.text == text;
        });
    };
    const auto& kept = w.Picture1->PersistentCommands();
    const auto& temporary = w.Picture1->TemporaryCommands();
    EXPECT_EQ(labels(kept, "Sunrise"), 1);
    EXPECT_EQ(labels(kept, "Sunset"), 1);
    EXPECT_EQ(testing_support::DashesAt(kept, State().SunriseTime), 25);
    EXPECT_EQ(labels(temporary, "Sunrise") + labels(temporary, "Sunset"), 0);
    EXPECT_EQ(testing_support::DashesAt(temporary, State().SunriseTime), 0);
    w.Picture1->Cls();
    for (int i = 0; i < 10010; ++i) w.Timer1->Fire();
    EXPECT_TRUE(w.Picture1->TemporaryCommands().empty());
}

TEST_F(MainWindow, OutputOptionsAndTheDottedCurve) {
    frmtidewyn& w = open();
    SharedState& s = State();
    struct Case {
        float option;
        int dots;
        const char* note;
    } cases[] = {
        {1.0f, 0, "Depths to Chart Datum"},
        {2.0f, 0, ""},
        {3.0f, 147, " : Draft=1.5M : Clearance=0.5M"},
        {7.0f, 0, ""},
    };
    s.Draught = 1.5f;
    for (auto c : cases) {
        s.OutputOption = c.option;
        w.DrawTideCurve();
        EXPECT_EQ(count(w.Picture1->PersistentCommands(), DrawKind::Point), c.dots) << c.option;
        EXPECT_EQ(s.DepthNote, c.note) << c.option;
        if (c.dots) {
            const auto& cmds = w.Picture1->PersistentCommands();
            auto dot = std::find_if(cmds.begin(), cmds.end(),
                                    [](const DrawCommand& d) { return d.kind == DrawKind::Point; });
            EXPECT_NEAR(dot->y1, s.DayCurve(2, 1) - 2.0, 1e-6);
        }
        // The curve itself is drawn for every option.
        EXPECT_NEAR(w.Picture1->PersistentCommands()[0].y1, s.DayCurve(2, 1), 1e-12);
    }
}
