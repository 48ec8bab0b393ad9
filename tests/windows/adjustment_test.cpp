// The harmonic adjustment window: Port 1 (the main window's port), Port 2 (the record after it)
// and the location between them, their pictures and read-outs, "Calculate" and the day steps;
// and the main window found as it was after the window has been used.
#include "engine/adjustment.h"

#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

#include "adjustment/frmharmadjust.h"
#include "adjustment_support.h"
#include "engine/numtext.h"
#include "engine/port_fixture.h"
#include "engine/records.h"
#include "engine/test_support.h"

using namespace engine;
using namespace platform;
using testing_support::SameDrawing;
using testing_support::SameTable;

namespace fs = std::filesystem;

namespace {

constexpr int kDover = 77, kHastings = 78;
// The spinners' Value per unit of each constant, in record order.
constexpr double kSpinnerUnits[13] = {100, 1, 100, 1, 100, 1, 100, 1, 100, 1, 1000, 1, 1000};

int countOf(const PictureBox& pic, DrawKind kind, OleColor color) {
    const auto& list = pic.PersistentCommands();
    return static_cast<int>(std::count_if(
        list.begin(), list.end(), [&](const DrawCommand& c) { return c.kind == kind && c.color == color; }));
}

// A site's picture: the curve and six layers joined row to row, K1 and Z0 as points, the hour
// grid, and the metre lines up to the top above the highest height, which is labelled.
void expectSitePicture(const PictureBox& pic, const CurveTable& curve, const std::string& site) {
    constexpr int segments = 148 - 2;
    double highest = 0;
    for (int r = 1; r <= 147; ++r) highest = std::max(highest, curve(2, r));
    const double top = std::floor(highest) + 1;
    EXPECT_EQ(countOf(pic, DrawKind::Line, kBlue), segments) << site;             // M2
    EXPECT_EQ(countOf(pic, DrawKind::Line, kRed), segments) << site;              // S2
    EXPECT_EQ(countOf(pic, DrawKind::Point, kBlack), segments) << site;           // K1
    EXPECT_EQ(countOf(pic, DrawKind::Line, Rgb(255, 255, 0)), segments) << site;  // O1
    EXPECT_EQ(countOf(pic, DrawKind::Line, kGreen), segments) << site;            // f4
    EXPECT_EQ(countOf(pic, DrawKind::Line, Rgb(255, 0, 255)), segments) << site;  // f6
    EXPECT_EQ(countOf(pic, DrawKind::Point, kRed), segments) << site;             // Z0
    const auto& list = pic.PersistentCommands();
    const int verticals = static_cast<int>(std::count_if(list.begin(), list.end(), [&](const DrawCommand& c) {
        return c.kind == DrawKind::Line && c.x1 == c.x2 && c.y1 == top && c.y2 == -2;
    }));
    EXPECT_EQ(verticals, 8) << site;
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.back().kind, DrawKind::Text) << site;
    EXPECT_EQ(list.back().text, std::to_string(static_cast<int>(top)) + " Metres") << site;
    EXPECT_EQ(list.back().y1, top) << site;
}

std::vector<std::string> readouts(const frmHarmAdjust& a) {
    std::vector<std::string> texts;
    for (int site = 0; site < 3; ++site)
        for (const Label* l : a.ReadoutLabels(site)) texts.push_back(l->Caption());
    return texts;
}

// The read-outs of every site at a row: each term, and the site's mean level in place of the Z0
// layer.
void expectReadoutsAtRow(const frmHarmAdjust& a, int row, const std::string& when) {
    const SharedState& s = State();
    const std::pair<const LayerSet*, double> sites[3] = {{&s.AdjLayersPort1, s.AdjMeanPort1},
                                                         {&s.AdjLayersMid, s.AdjMeanMid},
                                                         {&s.AdjLayersPort2, s.AdjMeanPort2}};
    for (int site = 0; site < 3; ++site) {
        const auto labels = a.ReadoutLabels(site);
        const LayerSet& layers = *sites[site].first;
        double total = sites[site].second;
        EXPECT_EQ(labels[0]->Caption(), CStr(sites[site].second)) << when;
        for (size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(labels[i + 1]->Caption(), Format(layers[i](2, row), "0.00"))
                << site << " " << i << when;
            total += layers[i](2, row);
        }
        EXPECT_EQ(labels[7]->Caption(), Format(total, "0.00")) << site << when;
    }
}

// What the user sees of the three sites: each picture's drawing and the read-outs.
struct Shown {
    std::vector<DrawCommand> pictures[3];
    std::vector<std::string> readouts;
    std::string date;
};
Shown shownBy(const frmHarmAdjust& a) {
    return {{a.Picture1->PersistentCommands(), a.Picture2->PersistentCommands(),
             a.Picture3->PersistentCommands()},
            readouts(a),
            a.tidedatebox->Caption()};
}
void expectSame(const Shown& x, const Shown& y, const std::string& when) {
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(SameDrawing(x.pictures[i], y.pictures[i])) << "picture " << i + 1 << when;
    EXPECT_EQ(x.readouts, y.readouts) << when;
    EXPECT_EQ(x.date, y.date) << when;
}

// Every file under a folder with its bytes.
std::map<std::string, std::string> filesUnder(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().string()] = testing_support::ReadAll(e.path().string());
    return files;
}

}  // namespace

class Adjustment : public testing_support::AdjustmentWindowTest {};

// Dover at 13:00 BST on 15 July 2026: Port 1 Dover, Port 2 Hastings, the location between
// them at their mean, the sites' clock in UTC, each site drawn whole, the read-outs at 12:00.
TEST_F(Adjustment, OpensOnTheMainWindowsPortAndTheNextWithTheirMean) {
    now = DateSerial(2026, 7, 15) + TimeSerial(12, 0, 0);
    Env().localOffsetHours = [](double) { return 1.0; };
    frmtidewyn& main = open();
    frmHarmAdjust& a = openAdjustment(main);
    SharedState& s = State();

    EXPECT_TRUE(a.Visible());
    EXPECT_EQ(a.Caption(), "Tidewyn Vizoz");
    EXPECT_FALSE(main.Timer1->Enabled());
    EXPECT_EQ(a.portbox->Caption(), "Dover");
    EXPECT_EQ(a.lblportname1->Caption(), "Dover");
    EXPECT_EQ(a.Portbox3->Caption(), "Hastings");
    EXPECT_EQ(a.lblPortName3->Caption(), "Hastings");
    const PortRecord dover = record(kDover), hastings = record(kHastings);
    const std::array<float, 13> mean = MeanConstants(dover, hastings);
    for (size_t i = 0; i < 13; ++i) {
        const auto field = kPortConstants[i].field;
        EXPECT_EQ(a.Port1Labels()[i]->Caption(), TypedText(dover.*field)) << kPortConstants[i].name;
        EXPECT_EQ(a.Port2Labels()[i]->Caption(), TypedText(hastings.*field)) << kPortConstants[i].name;
        // The mean to the step of its spinner: a centimetre, a degree or a thousandth.
        EXPECT_NEAR(Val(a.IntermediateBoxes()[i]->Text()), mean[i], 0.5 / kSpinnerUnits[i] + 1e-9)
            << kPortConstants[i].name;
    }
    EXPECT_EQ(a.txtZ0->Text(), "3.91");
    EXPECT_EQ(a.txtM2g->Text(), "328");
    EXPECT_EQ(a.txtLF6->Text(), "0.004");
    EXPECT_EQ(a.timeval->Caption(), "12:00");
    EXPECT_EQ(a.tidedatebox->Caption(), "Date   : 15 July 2026 (Wednesday)");
    EXPECT_EQ(a.SiteDayOfYear(), 196);

    expectSitePicture(*a.Picture1, s.AdjCurvePort1, "Port 1");
    expectSitePicture(*a.Picture2, s.AdjCurveMid, "intermediate");
    expectSitePicture(*a.Picture3, s.AdjCurvePort2, "Port 2");
    // The intermediate location is computed from its boxes: its mean level is their Z0.
    EXPECT_EQ(s.AdjMeanMid, Val(a.txtZ0->Text()));
    EXPECT_EQ(s.AdjMeanPort2, Val(a.P2Z0->Caption()));

    // 12:00 is row 73.
    expectReadoutsAtRow(a, 73, "at the opening");
    for (const LayerSet* layers : {&s.AdjLayersPort1, &s.AdjLayersMid, &s.AdjLayersPort2})
        EXPECT_NEAR((*layers)[0](1, 73), 12.0, 1e-9);
    EXPECT_EQ(a.lblp3Z0->Caption(), "4.054");
    EXPECT_TRUE(dialogs->messages.empty());
}

// "Calculate" computes again what the opening computed; a comma is the decimal point, and text
// that is not wholly a number, or a value no area file may hold, is refused before anything is
// computed.
TEST_F(Adjustment, CalculateRepeatsTheOpeningAndChecksTheBoxes) {
    frmHarmAdjust& a = openAdjustment(open());
    const Shown opened = shownBy(a);
    a.cmdCalc->click();
    expectSame(opened, shownBy(a), " after Calculate");
    a.cmdCalc->click();
    expectSame(opened, shownBy(a), " after a second Calculate");

    a.txtM2Hm->SetText("0");
    a.cmdCalc->click();
    const LayerTable& m2 = State().AdjLayersMid[0];
    for (int r = 1; r <= 147; ++r) ASSERT_EQ(m2(2, r), 0.0) << r;
    EXPECT_EQ(a.lblP2M2->Caption(), "0.00");
    EXPECT_NE(a.lblP1M2->Caption(), "0.00");
    a.txtM2Hm->SetText("2,55");
    a.cmdCalc->click();
    const Shown withComma = shownBy(a);
    a.txtM2Hm->SetText("2.55");
    a.cmdCalc->click();
    expectSame(withComma, shownBy(a), " with 2.55 for 2,55");
    EXPECT_TRUE(dialogs->messages.empty());

    const Shown beforeRefusal = shownBy(a);
    const struct {
        const char* text;
        const char* told;
    } refused[] = {
        {"1000", "M2Hm must lie between -100 and 100"},
        {"abc", "M2Hm must be a number such as 2.5 or -1,5"},
        {"2.5.3", "M2Hm must be a number such as 2.5 or -1,5"},
        {"1,234.5", "M2Hm must be a number such as 2.5 or -1,5"},
        {"", "M2Hm must be a number such as 2.5 or -1,5"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.text);
        dialogs->messages.clear();
        a.txtM2Hm->SetText(c.text);
        a.cmdCalc->click();
        a.Nextday->click();
        ASSERT_EQ(dialogs->messages.size(), 2u);
        EXPECT_EQ(dialogs->messages[0].prompt, c.told);
        expectSame(beforeRefusal, shownBy(a), " after the refusals");
    }
}

// The sites open on the day of the clock's moment in their zone, never adjusted for summer
// time, whatever day the computer's calendar shows or the main window's option says.
TEST_F(Adjustment, OpensOnTheSitesDayOfTheClocksMoment) {
    const struct {
        const char* zone;
        const char* area;
        int port;
        bool summerTime;
        double utc;
        const char* date;
        const char* time;
        int dayOfYear;
    } cases[] = {
        // 00:30 BST and 00:30 in Paris on 16 July are 15 July at Dover.
        {"Europe/London", "UK.hc", kDover, false, DateSerial(2026, 7, 15) + TimeSerial(23, 30, 0),
         "Date   : 15 July 2026 (Wednesday)", "23:30", 196},
        {"Europe/Paris", "UK.hc", kDover, false, DateSerial(2026, 7, 15) + TimeSerial(22, 30, 0),
         "Date   : 15 July 2026 (Wednesday)", "22:30", 196},
        // 23:30 UTC on 15 July is 00:30 on 16 July at a French port (UTC+1), not 01:30.
        {"UTC", "France.hc", 13, true, DateSerial(2026, 7, 15) + TimeSerial(23, 30, 0),
         "Date   : 16 July 2026 (Thursday)", "00:30", 197},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zone << " " << c.area << " " << c.date);
        now = c.utc;
        Env().localOffsetHours = ZoneOffsetHours(c.zone);
        storeSettings([&](SettingsRecord& r) {
            r.AreaPath = programFolder() + "/" + c.area;
            r.PortIndex = static_cast<float>(c.port);
            r.SummerTime = c.summerTime ? -1 : 0;
        });
        frmHarmAdjust& a = openAdjustment(open());
        EXPECT_EQ(a.tidedatebox->Caption(), c.date);
        EXPECT_EQ(a.timeval->Caption(), c.time);
        EXPECT_EQ(a.SiteYear(), 2026);
        EXPECT_EQ(a.SiteDayOfYear(), c.dayOfYear);
        EXPECT_TRUE(dialogs->messages.empty());
        restart();
    }
}

// The day steps cross the year's end and come back to the same curves; "Calculate" keeps the
// day the steps reached.
TEST_F(Adjustment, DayStepsAcrossTheYearsEnd) {
    now = DateSerial(2024, 12, 31) + TimeSerial(12, 0, 0);
    frmHarmAdjust& a = openAdjustment(open());
    const Shown opened = shownBy(a);
    a.Nextday->click();
    EXPECT_EQ(a.tidedatebox->Caption(), "Date   : 1 January 2025 (Wednesday)");
    EXPECT_EQ(a.SiteYear(), 2025);
    EXPECT_EQ(a.SiteDayOfYear(), 1);
    a.Previousday->click();
    expectSame(opened, shownBy(a), " after a step forward and back");

    a.Nextday->click();
    a.Nextday->click();
    const Shown twoAhead = shownBy(a);
    EXPECT_EQ(twoAhead.date, "Date   : 2 January 2025 (Thursday)");
    a.cmdCalc->click();
    expectSame(twoAhead, shownBy(a), " after Calculate two days ahead");

    restart();
    now = DateSerial(2025, 1, 1) + TimeSerial(12, 0, 0);
    frmHarmAdjust& b = openAdjustment(open());
    b.Previousday->click();
    EXPECT_EQ(b.tidedatebox->Caption(), "Date   : 31 December 2024 (Tuesday)");
    EXPECT_EQ(b.SiteDayOfYear(), 366);
}

// The date line orders its parts as the short-date pattern does, at the opening and after.
TEST_F(Adjustment, DateLineInEveryShortDateOrder) {
    const struct {
        const char* format;
        const char* date;
    } cases[] = {
        {"MM/DD/YYYY", "March 5 2026"},
        {"DD.MM.YYYY", "5 March 2026"},
        {"YYYY-MM-DD", "2026 March 5"},
        {"YYYY/DD/MM", "2026 5 March"},
    };
    now = DateSerial(2026, 3, 5) + TimeSerial(12, 0, 0);
    for (const auto& c : cases) {
        frmtidewyn& main = open();
        State().ShortDateFormat = c.format;
        frmHarmAdjust& a = openAdjustment(main);
        const std::string line = std::string("Date   : ") + c.date + " (Thursday)";
        EXPECT_EQ(a.tidedatebox->Caption(), line) << c.format;
        a.cmdCalc->click();
        EXPECT_EQ(a.tidedatebox->Caption(), line) << c.format;
        restart();
    }
}

// Whatever the adjustment window did, the main window computes, draws and stores as in a run
// without it.
TEST_F(Adjustment, MainWindowIsLeftAsItWas) {
    struct Seen {
        std::vector<std::string> captions;
        std::vector<DrawCommand> picture;
        std::string settings;
    };
    auto useMain = [&](frmtidewyn& main) {
        main.Nextday->click();
        main.mnuNextPort.Click();
        main.Picture1_MouseMove(0, 0, 14.5, 0);
        return Seen{
            {main.Caption(), main.portbox->Caption(), main.tidedatebox->Caption(), main.daystide1->Caption(),
             main.hiteval->Caption(), main.timeval->Caption(), main.lblrate->Caption()},
            main.Picture1->PersistentCommands(),
            testing_support::ReadAll(settingsPath())};
    };

    frmtidewyn& plain = open();
    plain.Label1_DblClick();
    const Seen without = useMain(plain);
    restart();
    fs::remove(settingsPath());  // the same start: the port that "Next Port" stored is forgotten

    frmtidewyn& main = open();
    const SharedState before = State();
    frmHarmAdjust& a = openAdjustment(main);
    // The settings changed behind the main window's back: another area, option, draught and
    // clearance for the window's computations, and then the file as it was.
    const std::string settings = testing_support::ReadAll(settingsPath());
    storeSettings([&](SettingsRecord& r) {
        r.AreaPath = programFolder() + "/France.hc";
        r.PortIndex = 18;
        r.OutputOption = 1;
        r.Draught = 2;
        r.KeelClearance = 1;
    });
    a.cmdCalc->click();
    a.Nextday->click();
    EXPECT_EQ(State().OutputOption, before.OutputOption);
    testing_support::WriteBytes(settingsPath(), settings);
    a.Nextday->click();
    const SharedState& s = State();
    EXPECT_EQ(s.CurrentPort, before.CurrentPort);
    EXPECT_EQ(s.PortName, before.PortName);
    EXPECT_EQ(s.SelectedYear, before.SelectedYear);
    EXPECT_EQ(s.SelectedMonth, before.SelectedMonth);
    EXPECT_EQ(s.SelectedDay, before.SelectedDay);
    EXPECT_EQ(s.SelectedDayOfYear, before.SelectedDayOfYear);
    EXPECT_EQ(s.TimeNowHours, before.TimeNowHours);
    EXPECT_TRUE(SameTable(s.DayCurve, before.DayCurve));
    EXPECT_TRUE(SameTable(s.LayerM2, before.LayerM2));
    EXPECT_TRUE(SameTable(s.LayerZ0, before.LayerZ0));
    EXPECT_TRUE(SameTable(s.DayEvents, before.DayEvents));
    EXPECT_EQ(s.DayMeanLevel, before.DayMeanLevel);
    EXPECT_EQ(s.CurvePoints, before.CurvePoints);
    EXPECT_EQ(s.UserDepth, before.UserDepth);
    EXPECT_EQ(s.ScaleTop, before.ScaleTop);
    EXPECT_EQ(s.ScaleBottom, before.ScaleBottom);
    EXPECT_EQ(s.OutputOption, before.OutputOption);
    EXPECT_EQ(s.Draught, before.Draught);
    EXPECT_EQ(s.KeelClearance, before.KeelClearance);
    EXPECT_EQ(s.AreaFilePath, before.AreaFilePath);
    EXPECT_EQ(s.DepthFilePath, before.DepthFilePath);
    EXPECT_EQ(s.DepthFileName, before.DepthFileName);

    const Seen with = useMain(main);
    EXPECT_EQ(with.captions, without.captions);
    EXPECT_TRUE(SameDrawing(with.picture, without.picture));
    EXPECT_EQ(with.settings, without.settings);
    EXPECT_TRUE(dialogs->messages.empty());
}

// A site whose record lies past the end of the area shows a blank name and zeros without a
// word; a damaged record is named and shown the same way.
TEST_F(Adjustment, SitesWithoutARecord) {
    testing_support::TempDir folder;
    useAreaCopies(folder);
    const PortRecord last = record(81);
    storeSettings([&](SettingsRecord& r) {
        r.AreaPath = folder.file("UK.hc");
        r.PortIndex = 81;
    });
    frmHarmAdjust& a = openAdjustment(open());
    EXPECT_EQ(a.portbox->Caption(), Trim(last.PortName));
    EXPECT_EQ(a.Portbox3->Caption(), "");
    for (Label* l : a.Port2Labels()) EXPECT_EQ(l->Caption(), "0");
    EXPECT_EQ(a.txtZ0->Text(), TypedText(RoundHalfEven(last.Z0 / 2 * 100) / 100));
    EXPECT_EQ(State().AdjCurvePort2(2, 73), 0.0);
    EXPECT_TRUE(dialogs->messages.empty());
    restart();

    std::ofstream(folder.file("Empty.hc"), std::ios::binary).flush();
    storeSettings([&](SettingsRecord& r) { r.AreaPath = folder.file("Empty.hc"); });
    frmtidewyn& emptyArea = open();
    dialogs->messages.clear();  // what the main window says of an empty area
    frmHarmAdjust& e = openAdjustment(emptyArea);
    EXPECT_EQ(e.portbox->Caption(), "");
    EXPECT_EQ(e.Portbox3->Caption(), "");
    for (Label* l : e.Port1Labels()) EXPECT_EQ(l->Caption(), "0");
    for (TextBox* box : e.IntermediateBoxes()) EXPECT_EQ(box->Text(), "0");
    EXPECT_TRUE(dialogs->messages.empty());
    restart();

    // Hastings' Z0 (at byte 49 of its record) not a number.
    std::string uk = testing_support::ReadAll(folder.file("UK.hc"));
    const float nan = std::nanf("");
    uk.replace(RecordStart(kHastings, PortRecord::kSize) + 49, 4, reinterpret_cast<const char*>(&nan), 4);
    testing_support::WriteBytes(folder.file("UK.hc"), uk);
    storeSettings([&](SettingsRecord& r) { r.AreaPath = folder.file("UK.hc"); });
    frmHarmAdjust& d = openAdjustment(open());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_NE(dialogs->messages[0].prompt.find("78"), std::string::npos) << dialogs->messages[0].prompt;
    EXPECT_NE(dialogs->messages[0].prompt.find("UK.hc"), std::string::npos) << dialogs->messages[0].prompt;
    EXPECT_EQ(d.portbox->Caption(), "Dover");
    EXPECT_EQ(d.Portbox3->Caption(), "");
    for (Label* l : d.Port2Labels()) EXPECT_EQ(l->Caption(), "0");
    restart();

    // An area file that is not there is told once, not once for each port.
    storeSettings([&](SettingsRecord& r) { r.AreaPath = folder.file("Gone.hc"); });
    frmtidewyn& gone = open();
    dialogs->messages.clear();
    openAdjustment(gone);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_NE(dialogs->messages[0].prompt.find("Gone.hc"), std::string::npos) << dialogs->messages[0].prompt;
}

// The pointer over any picture reads the 10-minute step under it at every site, under a red
// line across each picture, whatever its scale; a position off the day changes nothing.
TEST_F(Adjustment, ReadOutFollowsThePointerOnEveryPicture) {
    frmHarmAdjust& a = openAdjustment(open());
    a.txtZ0->SetText("5");  // the location's scale above the ports'
    a.cmdCalc->click();
    ASSERT_GT(a.Picture2->ScaleTop(), a.Picture1->ScaleTop());
    using Move = void (frmHarmAdjust::*)(int, int, double, double);
    const std::pair<Move, const char*> pictures[] = {{&frmHarmAdjust::Picture1_MouseMove, " over Picture1"},
                                                     {&frmHarmAdjust::Picture2_MouseMove, " over Picture2"},
                                                     {&frmHarmAdjust::Picture3_MouseMove, " over Picture3"}};
    const struct {
        double x;
        int row;
        const char* time;
    } cases[] = {{6.0, 37, "06:00"},
                 {0.0833, 1, "00:00"},
                 {0.25, 3, "00:20"},
                 {0.75, 5, "00:40"},
                 {23.9, 144, "23:50"}};
    for (const auto& [move, over] : pictures)
        for (const auto& c : cases) {
            const std::string when = over + (" at " + std::to_string(c.x));
            (a.*move)(0, 0, c.x, 0);
            EXPECT_EQ(a.timeval->Caption(), c.time) << when;
            expectReadoutsAtRow(a, c.row, when);
            for (const PictureBox* pic : {a.Picture1, a.Picture2, a.Picture3}) {
                const auto& cursor = pic->TemporaryCommands();
                ASSERT_EQ(cursor.size(), 1u) << when;
                EXPECT_EQ(cursor[0].color, kRed) << when;
                EXPECT_EQ(cursor[0].x1, c.x) << when;
                EXPECT_EQ(cursor[0].x2, c.x) << when;
                EXPECT_EQ(cursor[0].y1, pic->ScaleTop()) << when;
                EXPECT_EQ(cursor[0].y2, pic->ScaleTop() + pic->ScaleHeight()) << when;
            }
        }

    // Off the day: what a drag that leaves a picture reports.
    a.Picture2_MouseMove(0, 0, 6.0, 0);
    const Shown at6 = shownBy(a);
    const auto cursor = a.Picture1->TemporaryCommands();
    for (double x : {-1.0, 25.0}) {
        a.Picture1_MouseMove(1, 0, x, 0);
        expectSame(at6, shownBy(a), " at " + std::to_string(x));
        EXPECT_EQ(a.timeval->Caption(), "06:00");
        EXPECT_TRUE(SameDrawing(a.Picture1->TemporaryCommands(), cursor));
    }

    // Rows of the picture's own curve with one time: past the end of its day. Only the time
    // is written; the other pictures' curves still read.
    State().AdjCurveMid(1, 72) = State().AdjCurveMid(1, 75);
    a.Picture2_MouseMove(0, 0, 12.0, 0);
    EXPECT_EQ(a.timeval->Caption(), "12:00");
    expectSame(at6, shownBy(a), " past the end of the day");
    EXPECT_TRUE(SameDrawing(a.Picture1->TemporaryCommands(), cursor));
    a.Picture1_MouseMove(0, 0, 12.0, 0);
    expectReadoutsAtRow(a, 73, " over Picture1 at 12:00");

    // The pointer itself, over Port 2's picture.
    QTest::mouseMove(a.Picture3, a.Picture3->ToPixel({12.0, 0}).toPoint());
    EXPECT_EQ(a.timeval->Caption(), "12:00");
    expectReadoutsAtRow(a, 73, " under the pointer");

    // The mean level as plain text, a term to the centimetre.
    State().AdjMeanMid = 2.5;
    State().AdjLayersMid[0](2, 37) = -0.456;
    a.Picture3_MouseMove(0, 0, 6.0, 0);
    EXPECT_EQ(a.lblP2Z0->Caption(), "2.5");
    EXPECT_EQ(a.lblP2M2->Caption(), "-0.46");
}

// A press on any picture freezes the read-out of all three, the next releases it; a day step
// after a read-out at midnight reads midnight's row.
TEST_F(Adjustment, APressFreezesTheReadOutOfEveryPicture) {
    frmHarmAdjust& a = openAdjustment(open());
    auto at = [](PictureBox* pic, double x) { return pic->ToPixel({x, 0}).toPoint(); };
    a.Picture1_MouseMove(0, 0, 6.0, 0);
    QTest::mouseClick(a.Picture3, Qt::LeftButton, {}, at(a.Picture3, 6.0));
    const Shown frozen = shownBy(a);
    const auto cursor = a.Picture2->TemporaryCommands();
    a.Picture1_MouseMove(0, 0, 12.0, 0);
    a.Picture3_MouseMove(0, 0, 18.0, 0);
    EXPECT_EQ(a.timeval->Caption(), "06:00");
    expectSame(frozen, shownBy(a), " while frozen");
    EXPECT_TRUE(SameDrawing(a.Picture2->TemporaryCommands(), cursor));

    QTest::mouseClick(a.Picture1, Qt::RightButton, {}, at(a.Picture1, 12.0));
    a.Picture1_MouseMove(0, 0, 12.0, 0);
    EXPECT_EQ(a.timeval->Caption(), "12:00");
    expectReadoutsAtRow(a, 73, " after the release");

    a.Picture2_MouseMove(0, 0, 0.0, 0);
    EXPECT_EQ(a.timeval->Caption(), "00:00");
    a.Nextday->click();
    EXPECT_TRUE(dialogs->messages.empty());
    expectReadoutsAtRow(a, 1, " after a day step");
}

// Each spinner writes its Value in its constant's unit into its box, whatever the box held, and
// changes nothing else until the sites are computed.
TEST_F(Adjustment, SpinnersStepTheirBoxes) {
    frmHarmAdjust& a = openAdjustment(open());
    const Shown before = shownBy(a);
    const struct {
        UpDown* spinner;
        TextBox* box;
        int32_t start;
        int step;
        const char* text;
    } cases[] = {
        {a.UpDnO1Hm, a.txtO1Hm, 37, 1, "0.38"}, {a.UpDnO1Hm, a.txtO1Hm, 37, -1, "0.36"},
        {a.UpDnLF4, a.txtLF4, 250, 1, "0.251"}, {a.UpDnZ0, a.txtZ0, -3, -1, "-0.04"},
        {a.UpDnK1g, a.txtK1g, 358, 1, "359"},   {a.UpDnK1g, a.txtK1g, 359, 1, "359"},
        {a.UpDnLF6, a.txtLF6, 1, -1, "0"},      {a.UpDnS2Hm, a.txtS2Hm, 99, 1, "1"},
        {a.UpDnK1Hm, a.txtK1Hm, 500, 1, "5"},
    };
    for (const auto& c : cases) {
        c.spinner->SetValue(c.start);
        if (c.step > 0) c.spinner->ClickUp();
        else c.spinner->ClickDown();
        EXPECT_EQ(c.box->Text(), c.text) << c.start << " " << c.step;
    }

    // A typed value is replaced by the spinner's own next step.
    a.UpDnM2Hm->SetValue(120);
    a.txtM2Hm->clear();
    a.txtM2Hm->TypeText("1.234");
    QTest::mouseClick(a.UpDnM2Hm->UpArrow(), Qt::LeftButton);
    EXPECT_EQ(a.txtM2Hm->Text(), "1.21");
    expectSame(before, shownBy(a), " after the spinners");
}

// At the opening each spinner takes the mean in its unit, halves to even, and writes it back;
// a mean beyond the spinner's limits, or one that rounds to the spinner's 0, stays exact.
TEST_F(Adjustment, SpinnersTakeTheMeanAtTheOpening) {
    testing_support::TempDir folder;
    PortRecord one = record(kDover), two = record(kDover);
    one.M2g = 10, two.M2g = 11;
    one.S2g = 11, two.S2g = 12;
    one.M2Hm = 1.2f, two.M2Hm = 1.4f;
    one.LF4 = 0.2f, two.LF4 = 0.3f;
    one.K1Hm = two.K1Hm = 1.234f;
    one.O1Hm = 6.2f, two.O1Hm = 6.4f;
    one.S2Hm = 0.01f, two.S2Hm = 0.02f;
    one.sf6 = 0, two.sf6 = 0.8f;
    testing_support::WriteBytes(folder.file("Two.hc"), testing_support::AreaFileBytes({one, two}));
    storeSettings([&](SettingsRecord& r) {
        r.AreaPath = folder.file("Two.hc");
        r.PortIndex = 1;
    });
    frmHarmAdjust& a = openAdjustment(open());
    const struct {
        UpDown* spinner;
        TextBox* box;
        int32_t value;
        const char* text;
    } cases[] = {
        {a.UpDnM2g, a.txtM2g, 10, "10"},      {a.UpDnS2g, a.txtS2g, 12, "12"},
        {a.UpDnM2Hm, a.txtM2Hm, 130, "1.3"},  {a.UpDnLF4, a.txtLF4, 250, "0.25"},
        {a.UpDnK1Hm, a.txtK1Hm, 123, "1.23"}, {a.UpDnO1Hm, a.txtO1Hm, 0, "6.3"},
        {a.UpDnS2Hm, a.txtS2Hm, 2, "0.02"},   {a.UpDnsf6, a.txtsf6, 0, "0.4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.spinner->Value(), c.value) << c.text;
        EXPECT_EQ(c.box->Text(), c.text);
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

// The close box and "Exit" end the program and write nothing; Esc does not.
TEST_F(Adjustment, ClosingOrExitEndsTheProgramWritingNothing) {
    frmHarmAdjust& a = openAdjustment(open());
    const auto files = filesUnder(home.path());
    QTest::keyClick(&a, Qt::Key_Escape);
    EXPECT_FALSE(ProgramEnding());
    a.close();
    EXPECT_TRUE(ProgramEnding());
    EXPECT_EQ(filesUnder(home.path()), files);

    restart();
    ResetProgramEnding();
    frmHarmAdjust& b = openAdjustment(open());
    b.MnuFileExit.Click();
    EXPECT_TRUE(ProgramEnding());
    EXPECT_EQ(filesUnder(home.path()), files);
}

// A German desktop draws what an English one draws; the constants, typed or stepped, stay in
// "." form, the read-outs take the locale's comma.
TEST_F(Adjustment, GermanLocaleDrawsTheSameDay) {
    auto stepAndReadBoxes = [](const frmHarmAdjust& w) {
        w.UpDnZ0->ClickDown();
        w.UpDnLF4->ClickUp();
        std::vector<std::string> texts;
        for (const TextBox* box : w.IntermediateBoxes()) texts.push_back(box->Text());
        return texts;
    };
    const Shown english = shownBy(openAdjustment(open()));
    const std::vector<std::string> englishBoxes = stepAndReadBoxes(Get<frmHarmAdjust>());
    restart();
    UseLocale("de_DE");
    frmHarmAdjust& a = openAdjustment(open());
    const Shown german = shownBy(a);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(SameDrawing(english.pictures[i], german.pictures[i])) << i;
    EXPECT_EQ(stepAndReadBoxes(a), englishBoxes);
    EXPECT_NE(a.P1M2Hm->Caption().find('.'), std::string::npos);
    EXPECT_NE(a.lblheight1->Caption().find(','), std::string::npos);
}
