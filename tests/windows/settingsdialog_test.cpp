// The program-settings dialog: what it shows, what "O.K." stores and recomputes, what
// "Cancel" and the close box leave alone, its refusals and the maintenance menu check box.
#include <QCoreApplication>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

#include "engine/curve.h"
#include "engine/numtext.h"
#include "engine/settingsfile.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using testing_support::ReadAll;
using namespace platform;

namespace {
// Bytes 1279 to 1296: OutputOption, Draught, KeelClearance, SpareValue and SummerTime.
constexpr size_t kOwnedFirst = 1279, kOwnedEnd = 1297;

std::vector<double> dotHeights(const PictureBox& pic) {
    std::vector<double> y;
    for (const DrawCommand& c : pic.PersistentCommands())
        if (c.kind == DrawKind::Point) y.push_back(c.y1);
    return y;
}
std::string secondLine(const std::string& note) { return note.substr(note.find("\r\n") + 2); }
}  // namespace

class SettingsDialog : public testing_support::WindowTest {
protected:
    // Opens the dialog from its menu; `user` acts on it and must close it.
    void withDialog(frmtidewyn& main, const std::function<void(frmoutoptions&)>& user) {
        withModal<frmoutoptions>(main.mnuoutputoptions, user);
    }
    SettingsRecord stored() {
        SettingsRecord r;
        EXPECT_TRUE(ReadSettingsFile(r).ok());
        return r;
    }
};

struct StoredCase {
    float draught, clearance, option;
    int16_t summer;
    const char *draughtText, *clearanceText;
    int optionShown;  // 1, 2 or 3
};

TEST_F(SettingsDialog, OpensOnTheStoredValues) {
    const StoredCase cases[] = {
        {0.5f, 0.5f, 3.0f, 0, "0.5", "0.5", 3},
        {0.0f, 1.25f, 2.0f, -1, "0.0", "1.25", 2},
        {-0.5f, 0.1f, 1.5f, 0, "-0.5", "0.1", 3},  // an option that is not 1, 2 or 3: the default in use
        {12.0f, 0.0f, 1.0f, -1, "12", "0.0", 1},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.draughtText);
        storeSettings([&](SettingsRecord& r) {
            r.Draught = c.draught;
            r.KeelClearance = c.clearance;
            r.OutputOption = c.option;
            r.SummerTime = c.summer;
        });
        frmtidewyn& main = open();
        withDialog(main, [&](frmoutoptions& d) {
            EXPECT_EQ(d.Caption(), "Program Settings");
            EXPECT_TRUE(d.Visible());
            EXPECT_EQ(d.draughttext->Text(), c.draughtText);
            EXPECT_EQ(d.ukctext->Text(), c.clearanceText);
            EXPECT_EQ(d.Option1->Value(), c.optionShown == 1);
            EXPECT_EQ(d.Option2->Value(), c.optionShown == 2);
            EXPECT_EQ(d.Option3->Value(), c.optionShown == 3);
            EXPECT_EQ(d.optDaylightSavings->Value(), c.summer == -1);
            EXPECT_EQ(d.optNonDaylightsavings->Value(), c.summer == 0);
            EXPECT_EQ(d.Check1->Value(), 0);
            d.Command1->click();
        });
        restart();
    }
}

// A damaged output option is told once at the start, and option 3 is used throughout: in the
// curve, in this dialog and in Show Configuration; reading the settings again does not bring
// the damaged value back, and "O.K." stores the option shown.
TEST_F(SettingsDialog, ADamagedOptionIsToldOnceAndOption3IsUsed) {
    const float damaged[] = {0.0f, 2.5f, std::numeric_limits<float>::quiet_NaN(), 4.0f, -1.0f};
    for (float option : damaged) {
        SCOPED_TRACE(option);
        storeSettings([&](SettingsRecord& r) { r.OutputOption = option; });
        dialogs->messages.clear();
        frmtidewyn& main = open();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        const std::string& told = dialogs->messages[0].prompt;
        EXPECT_EQ(told.rfind("Record 1 of TdwTidesv9.cfg is damaged: OutputOption is ", 0), 0u) << told;
        EXPECT_NE(told.find(", the program uses the default output option 3 "), std::string::npos) << told;
        EXPECT_EQ(State().OutputOption, 3.0f);
        EXPECT_FALSE(dotHeights(*main.Picture1).empty());

        withModal<frmshowconf>(main.Mnushowconfig, [](frmshowconf& w) {
            EXPECT_EQ(w.confoutputoption->Caption(), " Charted depth, draught and prog.ukc");
            w.Confexit->click();
        });
        withModal<frmconfig>(main.mnuPortList, [](frmconfig& d) { d.portconfigcancel->click(); });
        EXPECT_EQ(State().OutputOption, 3.0f);
        withDialog(main, [](frmoutoptions& d) {
            EXPECT_FALSE(d.Option1->Value());
            EXPECT_FALSE(d.Option2->Value());
            EXPECT_TRUE(d.Option3->Value());
            d.optionsok->click();
        });
        EXPECT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(State().OutputOption, 3.0f);
        EXPECT_EQ(stored().OutputOption, 3.0f);
        restart();
    }
}

TEST_F(SettingsDialog, UntouchedOkTakesBackWhatItShowed) {
    frmtidewyn& main = open();
    const std::string before = ReadAll(settingsPath());
    withDialog(main, [](frmoutoptions& d) {
        EXPECT_EQ(d.draughttext->Text(), "0.5");
        d.optionsok->click();
    });
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(ReadAll(settingsPath()), before);
    EXPECT_EQ(State().Draught, 0.5f);
    EXPECT_EQ(State().KeelClearance, 0.5f);
}

TEST_F(SettingsDialog, OkStoresOnlyItsOwnFieldsAndRecomputes) {
    storeSettings([](SettingsRecord& r) { r.SpareValue = 2.4f; });  // loaded as 2, written back as 2.0
    frmtidewyn& main = open();
    SharedState& s = State();
    const std::string before = ReadAll(settingsPath());
    const std::string depthBefore = ReadAll(depthPath());
    s.MonthText(1, 1, 1) = "14:05";
    main.monthspredictions->AddItem("a month line");
    main.monthspredictions->setVisible(true);

    withDialog(main, [](frmoutoptions& d) {
        d.Option1->SetValue(true);
        d.draughttext->SetText("1.2");
        d.ukctext->SetText(" 0,3 ");  // a comma is the decimal point too
        d.optDaylightSavings->SetValue(true);
        d.optionsok->click();
    });

    const std::string after = ReadAll(settingsPath());
    ASSERT_EQ(after.size(), SettingsRecord::kSize);
    for (size_t i = 0; i < after.size(); ++i)
        if (i < kOwnedFirst || i >= kOwnedEnd) {
            ASSERT_EQ(before[i], after[i]) << "byte " << i;
        }
    SettingsRecord r = stored();
    EXPECT_EQ(r.OutputOption, 1.0f);
    EXPECT_EQ(r.Draught, 1.2f);
    EXPECT_EQ(r.KeelClearance, 0.3f);
    EXPECT_EQ(r.SpareValue, 2.0f);
    EXPECT_EQ(r.SummerTime, -1);
    EXPECT_EQ(ReadAll(depthPath()), depthBefore);

    EXPECT_EQ(s.OutputOption, 1.0f);
    EXPECT_EQ(s.Draught, 1.2f);
    EXPECT_EQ(s.KeelClearance, 0.3f);
    EXPECT_TRUE(s.UseSummerTime);
    EXPECT_TRUE(s.ApplySummerTime);
    // The month view is gone; the day is drawn again on option 1, without the dotted curve.
    EXPECT_EQ(s.MonthText(1, 1, 1), "");
    EXPECT_EQ(main.monthspredictions->ListCount(), 0);
    EXPECT_FALSE(main.monthspredictions->isVisibleTo(&main));
    EXPECT_EQ(main.portbox->Caption(), "Port    : Dover");
    EXPECT_EQ(main.daystide1->Caption().substr(0, 15), "  Predictions\r\n");
    EXPECT_EQ(s.DepthNote, "Depths to Chart Datum");
    EXPECT_TRUE(dotHeights(*main.Picture1).empty());
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(SettingsDialog, CancelAndTheCloseBoxChangeNothing) {
    const std::function<void(frmoutoptions&)> closers[] = {
        [](frmoutoptions& d) { d.Command1->click(); },
        [](frmoutoptions& d) { d.close(); },
    };
    frmtidewyn& main = open();
    SharedState& s = State();
    const std::string before = ReadAll(settingsPath());
    const size_t dots = dotHeights(*main.Picture1).size();
    for (const auto& close : closers) {
        s.MonthText(2, 1, 1) = "H";
        withDialog(main, [&](frmoutoptions& d) {
            d.Option2->SetValue(true);
            EXPECT_EQ(s.OutputOption, 3.0f);  // nothing is taken before "O.K."
            d.draughttext->SetText("2");
            d.optDaylightSavings->SetValue(true);
            d.Check1->SetValue(1);
            close(d);
        });
        EXPECT_EQ(ReadAll(settingsPath()), before);
        EXPECT_EQ(s.OutputOption, 3.0f);
        EXPECT_EQ(s.Draught, 0.5f);
        EXPECT_FALSE(s.ApplySummerTime);
        EXPECT_FALSE(s.UseSummerTime);
        EXPECT_EQ(s.MonthText(2, 1, 1), "");  // the menu clears the month table by any path
        main.Nextday->click();
        EXPECT_EQ(dotHeights(*main.Picture1).size(), dots);  // still drawn as option 3
    }
}

TEST_F(SettingsDialog, RefusesDraughtOrClearanceThatIsNotANumberOfMetresItCanUse) {
    struct Case {
        const char *draught, *clearance, *message;
    };
    const Case cases[] = {
        {"abc", "0.5", "The vessel draft must be a number"},
        {"", "0.5", "The vessel draft must be a number"},
        {"-", "0.5", "The vessel draft must be a number"},
        {"1.2.3", "0.5", "The vessel draft must be a number"},
        {"2m", "0.5", "The vessel draft must be a number"},
        {"0.5", "1,234.5", "The under keel clearance must be a number"},
        {"0.5", ".", "The under keel clearance must be a number"},
        {"0.5", "1000000000000000000000000000000000000000000", "The under keel clearance must be a number"},
        {"-0.5", "0.5", "The vessel draft must be a number of metres from 0 to 100"},
        {"100.5", "0.5", "The vessel draft must be a number of metres from 0 to 100"},
        {"0.5", "1e12", "The under keel clearance must be a number"},
        {"0.5", "1000000000000", "The under keel clearance must be a number of metres from 0 to 100"},
    };
    frmtidewyn& main = open();
    const std::string before = ReadAll(settingsPath());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.draught) + " / " + c.clearance);
        dialogs->messages.clear();
        withDialog(main, [&](frmoutoptions& d) {
            d.Option1->SetValue(true);
            d.draughttext->SetText(c.draught);
            d.ukctext->SetText(c.clearance);
            d.optionsok->click();
            EXPECT_TRUE(IsLoaded<frmoutoptions>());
            EXPECT_TRUE(d.Visible());
            ASSERT_EQ(dialogs->messages.size(), 1u);
            EXPECT_EQ(dialogs->messages[0].prompt.rfind(c.message, 0), 0u) << dialogs->messages[0].prompt;
            EXPECT_EQ(d.draughttext->Text(), c.draught);
            EXPECT_EQ(d.ukctext->Text(), c.clearance);
            d.Command1->click();
        });
        EXPECT_EQ(ReadAll(settingsPath()), before);
        EXPECT_EQ(State().OutputOption, 3.0f);
        EXPECT_EQ(State().Draught, 0.5f);
    }
}

TEST_F(SettingsDialog, AcceptsNumbersInEveryDotForm) {
    const std::pair<const char*, float> cases[] = {{".5", 0.5f},    {"3.", 3.0f}, {" 1.5 ", 1.5f},
                                                   {"0.25", 0.25f}, {"+2", 2.0f}, {"0", 0.0f}};
    frmtidewyn& main = open();
    for (auto [text, value] : cases) {
        SCOPED_TRACE(text);
        withDialog(main, [&](frmoutoptions& d) {
            d.draughttext->SetText(text);
            d.optionsok->click();
        });
        EXPECT_EQ(stored().Draught, value);
        EXPECT_EQ(State().Draught, value);
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

// Summer time on: a winter day keeps its clock, a summer day starts at 23:00 of the day before.
TEST_F(SettingsDialog, SummerTimeShiftsOnlyASummerDay) {
    struct Case {
        double date;
        bool shifted;
        const char* note;
    };
    const Case cases[] = {
        {DateSerial(2024, 1, 16), false,
         "Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION"},
        {DateSerial(2024, 7, 16), true, "Times are from midnight local time - ADJUSTED FOR SUMMER TIME"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        now = c.date + TimeSerial(13, 47, 0);
        storeSettings([](SettingsRecord&) {});
        frmtidewyn& main = open();
        SharedState& s = State();
        EXPECT_EQ(secondLine(main.disclaimer->Caption()),
                  "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION");
        withDialog(main, [](frmoutoptions& d) {
            d.optDaylightSavings->SetValue(true);
            d.optionsok->click();
        });
        EXPECT_EQ(secondLine(main.disclaimer->Caption()), c.note);
        EXPECT_EQ(main.disclaimer->Caption().rfind("Heights in Metres, all data are derived", 0), 0u);
        const CurveTable summer = s.DayCurve;
        const double sunrise = s.SunriseTime;

        // The same day on the standard clock: in summer time its 00:00 is row 7, so row 1
        // holds 23:00 of the day before.
        int16_t record = 0;
        int points = 0;
        ASSERT_TRUE(CalcDayTide(record, s.SelectedDayOfYear, points, false).ok());
        const CurveTable plain = s.DayCurve;
        EXPECT_EQ(summer(1, 1), 0.0);
        if (c.shifted) {
            for (int r = 1; r <= 140; ++r) ASSERT_NEAR(summer(2, r + 6), plain(2, r), 1e-9) << "row " << r;
        } else {
            for (int r = 1; r <= 147; ++r) ASSERT_EQ(summer(2, r), plain(2, r)) << "row " << r;
        }
        // The sunrise mark is the new sun time of the day.
        const auto& pic = main.Picture1->PersistentCommands();
        EXPECT_TRUE(std::any_of(pic.begin(), pic.end(), [&](const DrawCommand& d) {
            return d.kind == DrawKind::Line && d.color == kGrey && d.x1 == sunrise;
        }));

        restart();
    }
}

TEST_F(SettingsDialog, CheckBoxShowsTheMaintenanceMenuForTheRun) {
    frmtidewyn& main = open();
    const std::string before = ReadAll(settingsPath());
    EXPECT_FALSE(main.mnumaintenance.Visible());
    withDialog(main, [](frmoutoptions& d) {
        d.Check1->click();  // ticked
        d.Check1->click();  // unticked again
        EXPECT_EQ(d.Check1->Value(), 0);
        d.Command1->click();
    });
    EXPECT_TRUE(main.mnumaintenance.Visible());
    EXPECT_TRUE(main.mnumaintainfile.Visible());
    EXPECT_FALSE(main.mnucopyconstants.Visible());
    EXPECT_EQ(ReadAll(settingsPath()), before);
    // Opened again, the box says the menu is on.
    withDialog(main, [](frmoutoptions& d) {
        EXPECT_EQ(d.Check1->Value(), 1);
        d.optionsok->click();
    });
    EXPECT_TRUE(main.mnumaintenance.Visible());

    // The next run starts with the menu hidden.
    restart();
    EXPECT_FALSE(open().mnumaintenance.Visible());
}

TEST_F(SettingsDialog, DraughtAndClearanceMoveTheDottedCurve) {
    frmtidewyn& main = open();
    SharedState& s = State();
    const std::vector<double> before = dotHeights(*main.Picture1);
    ASSERT_EQ(before.size(), 147u);
    withDialog(main, [](frmoutoptions& d) {
        d.draughttext->SetText("1.5");
        d.ukctext->SetText("0.25");
        d.optionsok->click();
    });
    const std::vector<double> after = dotHeights(*main.Picture1);
    ASSERT_EQ(after.size(), before.size());
    // 0.5 + 0.5 before, 1.5 + 0.25 now: every dot 0.75 m lower.
    for (size_t i = 0; i < after.size(); ++i) ASSERT_NEAR(before[i] - after[i], 0.75, 1e-6) << "dot " << i;
    EXPECT_NE(s.DepthNote.find(" : Draft=1.5M : Clearance=0.25M"), std::string::npos) << s.DepthNote;

    withDialog(main, [](frmoutoptions& d) {
        d.Option2->SetValue(true);
        d.optionsok->click();
    });
    EXPECT_TRUE(dotHeights(*main.Picture1).empty());
}

TEST_F(SettingsDialog, StoredValuesSurviveARestart) {
    frmtidewyn& main = open();
    withDialog(main, [](frmoutoptions& d) {
        d.Option2->SetValue(true);
        d.draughttext->SetText("1.8");
        d.ukctext->SetText("0.4");
        d.optDaylightSavings->SetValue(true);
        d.optionsok->click();
    });
    restart();

    frmtidewyn& again = open();
    SharedState& s = State();
    EXPECT_EQ(s.OutputOption, 2.0f);
    EXPECT_EQ(s.Draught, 1.8f);
    EXPECT_EQ(s.KeelClearance, 0.4f);
    EXPECT_TRUE(s.ApplySummerTime);
    withDialog(again, [](frmoutoptions& d) {
        EXPECT_TRUE(d.Option2->Value());
        EXPECT_EQ(d.draughttext->Text(), "1.8");
        EXPECT_EQ(d.ukctext->Text(), "0.4");
        EXPECT_TRUE(d.optDaylightSavings->Value());
        EXPECT_FALSE(d.optNonDaylightsavings->Value());
        d.Command1->click();
    });
}
