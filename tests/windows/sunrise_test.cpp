// The sunrise tool from the Calculate menu: its key filters and checks, the month sun table it
// computes, the results window that shows it a day at a time, and the CSV file it saves.
#include <QScrollBar>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/calendar.h"
#include "engine/moon.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/sun.h"
#include "engine/suntable.h"
#include "engine/timetext.h"
#include "output/frmriseresults.h"
#include "output/frmsunrise.h"
#include "output/suncsv.h"
#include "output/textfile.h"
#include "print_support.h"

using namespace engine;
using namespace platform;
using testing_support::linesOf;
using testing_support::ReadAll;
using testing_support::textsOf;

class SunriseTool : public testing_support::PrintTest {
protected:
    Frmsunrise& openTool(frmtidewyn& main) {
        main.mnusunrise.Click();
        EXPECT_TRUE(IsLoaded<Frmsunrise>());
        Frmsunrise& tool = Get<Frmsunrise>();
        EXPECT_TRUE(tool.Visible());
        EXPECT_FALSE(tool.IsModal());
        return tool;
    }
    // Types the position (when given) and presses Calculate; the results window, when it opens,
    // is shown to `look` and then closed with Exit. Tells whether it opened.
    bool calculate(Frmsunrise& tool, const std::string& lat = "", const std::string& lon = "",
                   const std::function<void(Frmriseresults&)>& look = {}) {
        if (!lat.empty()) tool.latitude->SetText(lat);
        if (!lon.empty()) tool.longitude->SetText(lon);
        bool shown = false;
        SetModalRunner([&](Form& f) {
            shown = true;
            auto& results = dynamic_cast<Frmriseresults&>(f);
            EXPECT_TRUE(results.IsModal());
            if (look) look(results);
            if (IsLoaded<Frmriseresults>()) results.cancel->click();
        });
        tool.ok->click();
        SetModalRunner({});
        return shown;
    }
    // The CSV file saved from the results window as `name` in the text output folder.
    std::string saveCsv(Frmriseresults& results, const std::string& name = "sun") {
        const std::string path = State().TextOutputFolder + "/" + name;
        dialogs->fileAnswers = {path};
        results.Command1->click();
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(output::SunCsvPath(path), bytes).ok());
        return bytes;
    }
    // An area of two ports: one on the meridian, one with a comma in its name.
    void useTwoPortArea(int current) {
        PortRecord dover;
        ASSERT_TRUE(ReadPortRecord(programFolder() + "/UK.hc", 77, dover).ok());
        PortRecord greenwich = dover;
        greenwich.PortName = "Greenwich";
        greenwich.Latitude = 51.5f;
        greenwich.Longitude = 0;
        dover.PortName = "Dover, Eastern Arm";
        std::string contents;
        for (const PortRecord& p : {greenwich, dover}) {
            Bytes b = EncodePortRecord(p);
            contents.append(b.begin(), b.end());
        }
        const std::string area = home.file("Two.hc");
        std::ofstream(area, std::ios::binary) << contents;
        storeSettings([&](SettingsRecord& r) {
            r.AreaPath = area;
            r.PortIndex = static_cast<float>(current);
        });
    }
};

TEST_F(SunriseTool, KeysAreFilteredSilentlyAndNameTheUsersEntry) {
    frmtidewyn& main = open();
    Frmsunrise& tool = openTool(main);
    EXPECT_EQ(tool.Caption(), "Sunrise and Sunset");
    EXPECT_EQ(tool.port->Caption(), "Dover");
    EXPECT_EQ(tool.latitude->Text(), " 51.06.86N");
    EXPECT_EQ(tool.longitude->Text(), " 1.19.35E");

    struct Case {
        TextBox* Frmsunrise::*box;
        const char* typed;
        const char* shown;
    } cases[] = {
        {&Frmsunrise::latitude, "50.30s", "50.30S"},  {&Frmsunrise::latitude, "5x0.3e0n", "50.30N"},
        {&Frmsunrise::latitude, "50.31\bS", "50.3S"}, {&Frmsunrise::longitude, "1.30w", "1.30W"},
        {&Frmsunrise::longitude, "1.30nE", "1.30E"},  {&Frmsunrise::longitude, "179.59\b\b\bE", "179E"},
    };
    const int beeps = BeepCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        tool.port->SetCaption("Dover");
        (tool.*c.box)->SetText("");
        (tool.*c.box)->TypeText(c.typed);
        EXPECT_EQ((tool.*c.box)->Text(), c.shown);
        EXPECT_EQ(tool.port->Caption(), "User entry");
    }
    // A dropped key alone still names the user's entry, and so does an edit without a
    // character.
    tool.port->SetCaption("Dover");
    tool.latitude->TypeText("x");
    EXPECT_EQ(tool.port->Caption(), "User entry");
    EXPECT_EQ(BeepCount(), beeps);
    for (const int key : {int(Qt::Key_Delete), int(Qt::Key_Backspace)}) {
        tool.port->SetCaption("Dover");
        tool.latitude->SetText("50.30N");
        tool.latitude->setCursorPosition(2);
        PressKey(*tool.latitude, key);
        EXPECT_EQ(tool.latitude->Text().size(), 5u);
        EXPECT_EQ(tool.port->Caption(), "User entry") << key;
    }

    // The tool opened again starts from the port.
    Frmsunrise& reopened = openTool(main);
    EXPECT_EQ(reopened.port->Caption(), "Dover");
    EXPECT_EQ(reopened.latitude->Text(), " 51.06.86N");

    // Esc is Cancel and Enter is Calculate; neither reaches a filter.
    PressKey(*reopened.latitude, Qt::Key_Escape);
    EXPECT_FALSE(IsLoaded<Frmsunrise>());
    Frmsunrise& again = openTool(main);
    bool calculated = false;
    SetModalRunner([&](Form& f) {
        calculated = true;
        EXPECT_EQ(dynamic_cast<Frmriseresults&>(f).port->Caption(), "Dover");
        f.Unload();
    });
    PressKey(*again.longitude, Qt::Key_Return);
    SetModalRunner({});
    EXPECT_TRUE(calculated);
    EXPECT_FALSE(IsLoaded<Frmsunrise>());
}

TEST_F(SunriseTool, PositionsAreCheckedBeforeTheMonthIsComputed) {
    const char* const kLatitudeForm =
        "Latitude must be degrees, a point and minutes with N or S at the end, such as 50.45.00N.";
    const char* const kLongitudeForm =
        "Longitude must be degrees, a point and minutes with E or W at the end, such as 001.23.00W.";
    struct Case {
        const char *lat, *lon;
        bool accepted;
        const char* told = "";
    } cases[] = {
        {"50.30N", "179.59W", true},
        {" 50.30N ", "001.30.00W", true},  // a 10-character longitude
        {"50,30n", "1,19e", true},         // commas for the points, small letters
        {"N50.30", "1.19E", false, kLatitudeForm},
        {"50.30", "1.19E", false, kLatitudeForm},
        {"051.07.00N", "1.19E", false, kLatitudeForm},  // a 10-character latitude
        {"50.75N", "1.19E", false, kLatitudeForm},      // 75 minutes
        {"90.00S", "1.19E", false, "Latitude must lie below 90 degrees."},
        {"50.30N", "180.00W", false, "Longitude must lie below 180 degrees."},
        {"50.30N", "0001.30.00W", false, kLongitudeForm},  // 11 characters
        {"50.30N", "E1.19", false, kLongitudeForm},
        {"50.30N", "", false, kLongitudeForm},
    };
    frmtidewyn& main = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lat) + " " + c.lon);
        Frmsunrise& tool = openTool(main);
        testing_support::FillSunTable(2024, 3);
        dialogs->messages.clear();
        tool.longitude->SetText(c.lon);
        EXPECT_EQ(calculate(tool, c.lat), c.accepted);
        // A refusal names the box and what it takes.
        ASSERT_EQ(dialogs->messages.size(), c.accepted ? 0u : 1u);
        if (!c.accepted) {
            EXPECT_EQ(dialogs->messages[0].prompt, c.told);
        }
        EXPECT_EQ(IsLoaded<Frmsunrise>(), !c.accepted);
        const SharedState& s = State();
        if (c.accepted) {
            EXPECT_EQ(s.SunLatText, Trim(c.lat));
            EXPECT_EQ(s.SunLongText, c.lon);
            EXPECT_EQ(s.SunTable(1, 31), " 31Mar  2024");
        } else {
            // The table is cleared: nothing to print until a position is accepted.
            EXPECT_TRUE(tool.Visible());
            EXPECT_EQ(s.SunTable(1, 1), "");
            EXPECT_EQ(s.SunTable(4, 15), "");
            EXPECT_EQ(s.SunTableMonth, 0);
            tool.cancel->click();
        }
    }
}

// A port on the meridian has no hemisphere letter until the user types one.
TEST_F(SunriseTool, AMeridianPortNeedsItsLetterTyped) {
    useTwoPortArea(1);
    frmtidewyn& main = open();
    Frmsunrise& tool = openTool(main);
    EXPECT_EQ(tool.port->Caption(), "Greenwich");
    EXPECT_EQ(tool.longitude->Text(), " 0.00");
    EXPECT_FALSE(calculate(tool));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt.rfind("Longitude must be degrees", 0), 0u);
    tool.longitude->TypeText("E");
    EXPECT_EQ(tool.port->Caption(), "User entry");
    EXPECT_TRUE(calculate(tool));
    EXPECT_EQ(State().SunPlace, "User entry");
}

// A position that cannot be read, or is damaged, is told, and the boxes are left for the user
// to type.
TEST_F(SunriseTool, AnUnreadablePortIsToldAndThePositionLeftToType) {
    frmtidewyn& main = open();
    const std::string area = home.file("Damaged.hc");
    std::filesystem::copy_file(programFolder() + "/UK.hc", area);
    const struct Case {
        const char* what;
        std::function<void()> spoil, mend;
        const char* told;
    } cases[] = {
        {"unreadable",
         [] { SetReadFault([](const std::string& path) { return path.ends_with("UK.hc") ? EIO : 0; }); },
         [] { SetReadFault({}); }, "UK.hc"},
        {"damaged",
         [&] {
             State().AreaFilePath = area;
             PortRecord port;
             ASSERT_TRUE(ReadPortRecord(area, 77, port).ok());
             port.Latitude = 95;
             ASSERT_TRUE(WriteRecord(area, PortRecord::kSize, 77, EncodePortRecord(port)).ok());
         },
         [] {}, "Record 77 of Damaged.hc is damaged: Latitude is 95"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs->messages.clear();
        c.spoil();
        Frmsunrise& tool = openTool(main);
        c.mend();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].style, kOkOnly | kExclamation);
        EXPECT_NE(dialogs->messages[0].prompt.find(c.told), std::string::npos) << dialogs->messages[0].prompt;
        EXPECT_EQ(tool.latitude->Text(), "");
        EXPECT_EQ(tool.longitude->Text(), "");
        tool.latitude->TypeText("51.07n");
        tool.longitude->TypeText("1.19e");
        EXPECT_TRUE(calculate(tool));
    }
}

// Each day has its own summer hour: March 2024 shown on its 31st gives days 1 to 30 in
// standard time.
TEST_F(SunriseTool, EachDayOfTheTableHasItsOwnTimeBasis) {
    now = DateSerial(2024, 3, 31) + TimeSerial(12, 0, 0);
    storeSettings([](SettingsRecord& r) { r.SummerTime = -1; });
    frmtidewyn& main = open();
    ASSERT_TRUE(calculate(openTool(main), "51.07N", "1.19E"));
    const SharedState& s = State();
    const double lat = ParseLatitude("51.07N"), lon = ParseLongitude("1.19E");
    for (int d = 1; d <= 31; ++d) {
        SCOPED_TRACE(d);
        const SunTimes t = CalcSunTimes(lat, lon, d, 3, 2024, State().PortZoneHours, d == 31);
        const SunEvent kept[6] = {t.NauticalDawn, t.CivilDawn, t.Sunrise,
                                  t.Sunset,       t.CivilDusk, t.NauticalDusk};
        EXPECT_EQ(s.SunTable(1, d), Str(d) + "Mar  2024");
        EXPECT_EQ(s.SunValues(1, d), d);
        for (int col = 2; col <= 7; ++col) {
            ASSERT_TRUE(kept[col - 2].Occurs);
            EXPECT_EQ(s.SunValues(col, d), kept[col - 2].Hours) << col;
            EXPECT_EQ(s.SunTable(col, d), HoursToHHMM(kept[col - 2].Hours)) << col;
        }
    }
    EXPECT_LT(s.SunValues(4, 30), 7.0);  // sunrise before seven in standard time
    EXPECT_GT(s.SunValues(4, 31), 6.5);  // and after half past six in summer time
    EXPECT_EQ(s.SunTableYear, 2024);
    EXPECT_EQ(s.SunTableMonth, 3);
}

// No nautical darkness at 58 N in June: the table, the results window and the CSV say "None".
TEST_F(SunriseTool, AnEventThatDoesNotHappenIsNone) {
    now = DateSerial(2024, 6, 20) + TimeSerial(12, 0, 0);
    frmtidewyn& main = open();
    std::string csv;
    ASSERT_TRUE(calculate(openTool(main), "58.00N", "5.00W", [&](Frmriseresults& r) {
        EXPECT_EQ(r.nautdusk->Caption(), "None");
        EXPECT_EQ(r.nautdawn->Caption(), "None");
        EXPECT_NE(r.daylighthours->Caption(), "");
        csv = saveCsv(r);
    }));
    EXPECT_EQ(State().SunTable(7, 20), "None");
    EXPECT_EQ(State().SunValues(7, 20), 0);
    const std::vector<std::string> lines = linesOf(csv);
    ASSERT_EQ(lines.size(), 2u + 30 + 1);
    EXPECT_TRUE(lines[2 + 19].starts_with("20/6/2024,")) << lines[2 + 19];
    EXPECT_TRUE(lines[2 + 19].ends_with(",None,None")) << lines[2 + 19];
}

// The window opens on the day shown; the bar's arrows step a day, its page a week.
TEST_F(SunriseTool, TheResultsOpenOnTheDayShown) {
    now = DateSerial(2024, 3, 1) + TimeSerial(12, 0, 0);
    frmtidewyn& main = open();
    for (int d = 1; d <= 31; ++d) {
        SCOPED_TRACE(d);
        ASSERT_EQ(State().SelectedDay, d);
        ASSERT_TRUE(calculate(openTool(main), "", "", [&](Frmriseresults& r) {
            EXPECT_EQ(r.VScroll1->value(), d);
            EXPECT_EQ(r.risedate->Caption(), State().SunTable(1, d));
            EXPECT_EQ(r.risetime->Caption(), State().SunTable(4, d));
            EXPECT_EQ(r.port->Caption(), "Dover");
            EXPECT_EQ(r.latitude->Text(), " 51.06.86N");
        }));
        main.Nextday->click();
    }

    ASSERT_TRUE(calculate(openTool(main), "", "", [&](Frmriseresults& r) {
        const SharedState& s = State();
        ASSERT_EQ(r.VScroll1->value(), 1);  // 1 April
        const std::pair<QAbstractSlider::SliderAction, int> steps[] = {
            {QAbstractSlider::SliderSingleStepAdd, 2}, {QAbstractSlider::SliderPageStepAdd, 9},
            {QAbstractSlider::SliderToMaximum, 30},    {QAbstractSlider::SliderSingleStepAdd, 30},
            {QAbstractSlider::SliderPageStepSub, 23},  {QAbstractSlider::SliderToMinimum, 1}};
        const std::pair<Label*, int> cells[] = {{r.risedate, 1}, {r.nautdawn, 2}, {r.civildawn, 3},
                                                {r.risetime, 4}, {r.settime, 5},  {r.civildusk, 6},
                                                {r.nautdusk, 7}};
        for (const auto& [action, day] : steps) {
            r.VScroll1->triggerAction(action);
            for (const auto& [label, col] : cells) EXPECT_EQ(label->Caption(), s.SunTable(col, day)) << day;
            EXPECT_EQ(r.daylighthours->Caption(), HoursToHHMM(s.SunValues(5, day) - s.SunValues(4, day)));
            EXPECT_EQ(r.twilighthours->Caption(),
                      "(" + HoursToHHMM(s.SunValues(6, day) - s.SunValues(3, day)));
            EXPECT_EQ(r.Label2->Caption(), s.MoonPhaseText);
        }
    }));
}

// A day past the table's end (the 31st with a 30-day table, which the menu never gives: the
// window is loaded here by hand) shows its last day; the shown date stays as it is.
TEST_F(SunriseTool, ADayPastTheTablesEndShowsItsLastDay) {
    now = DateSerial(2024, 4, 30) + TimeSerial(12, 0, 0);
    frmtidewyn& main = open();
    ASSERT_TRUE(calculate(openTool(main)));
    State().SelectedDay = 31;
    Frmriseresults& r = Get<Frmriseresults>();
    EXPECT_EQ(r.VScroll1->value(), 30);
    EXPECT_EQ(r.VScroll1->maximum(), 30);
    EXPECT_EQ(r.risedate->Caption(), " 30Apr  2024");
    EXPECT_EQ(State().SelectedDay, 31);
    r.cancel->click();
}

// Polar night at 70 N: no sunrise, so no daylight, but civil twilight at noon.
TEST_F(SunriseTool, NoDaylightWithoutASunrise) {
    now = DateSerial(2024, 12, 21) + TimeSerial(12, 0, 0);
    frmtidewyn& main = open();
    ASSERT_TRUE(calculate(openTool(main), "70.00N", "19.00E", [&](Frmriseresults& r) {
        EXPECT_EQ(r.risetime->Caption(), "None");
        EXPECT_EQ(r.settime->Caption(), "None");
        EXPECT_EQ(r.Label1->Caption(), "");
        EXPECT_EQ(r.daylighthours->Caption(), "");
        EXPECT_NE(r.civildawn->Caption(), "None");
        EXPECT_EQ(r.Label4->Caption(), "incl. civil twilight)");
    }));
}

// The file: the table's place, time basis and position, the columns, a line a day, and one
// more line end; then the table's dates read as in the file.
TEST_F(SunriseTool, TheCsvFileHoldsTheTableAsShown) {
    now = DateSerial(2024, 3, 5) + TimeSerial(12, 0, 0);
    storeSettings([](SettingsRecord& r) { r.SummerTime = -1; });
    frmtidewyn& main = open();
    std::string csv;
    ASSERT_TRUE(calculate(openTool(main), "", "", [&](Frmriseresults& r) {
        csv = saveCsv(r, "sun.times.txt");
        EXPECT_EQ(r.risedate->Caption(), "5/3/2024");
    }));
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    const FileDialogRequest& asked = dialogs->fileRequests[0];
    EXPECT_TRUE(asked.save);
    EXPECT_EQ(asked.initialFolder, State().TextOutputFolder);
    EXPECT_EQ(asked.filter, "CSV file | *csv");
    EXPECT_FALSE(asked.promptOverwrite);
    EXPECT_TRUE(dialogs->messages.empty());

    const std::vector<std::string> lines = linesOf(csv);
    ASSERT_EQ(lines.size(), 2u + 31 + 1);
    EXPECT_EQ(lines[0], "Dover,Time Zone = Standard Time,From 31 Mar: Summer Time,51.06.86N,1.19.35E");
    EXPECT_EQ(lines[1], "Date,Sunrise,Sunset,Civil Dawn,Civil Dusk,Nautical Dawn,Nautical Dusk");
    EXPECT_EQ(lines[2], "1/3/2024,06:38:16,17:36:42,06:05:03,18:09:53,05:26:47,18:48:09");
    EXPECT_EQ(lines[3], "2/3/2024,06:36:07,17:38:26,06:02:57,18:11:35,05:24:42,18:49:50");
    EXPECT_EQ(lines[32], "31/3/2024,06:31:24,19:27:01,05:57:48,20:00:40,05:17:23,20:41:09");  // summer time
    EXPECT_EQ(lines[33], "");
    EXPECT_TRUE(csv.ends_with("\r\n\r\n"));

    const SharedState& s = State();
    EXPECT_EQ(s.SunTable(1, 1), "1/3/2024");
    EXPECT_EQ(s.SunTable(1, 31), "31/3/2024");
}

// After a step to another port, whose stored name is padded with blanks, the tool, its results
// and the place they keep name the port without them.
TEST_F(SunriseTool, AStepToAnotherPortNamesItWithoutPadding) {
    frmtidewyn& main = open();
    main.mnuNextPort.Click();
    const std::string name = Trim(State().PortName);
    ASSERT_FALSE(name.empty());
    Frmsunrise& tool = openTool(main);
    EXPECT_EQ(tool.port->Caption(), name);
    ASSERT_TRUE(calculate(tool, "", "", [&](Frmriseresults& r) { EXPECT_EQ(r.port->Caption(), name); }));
    EXPECT_EQ(State().SunPlace, name);
}

// The heading's time basis: that of the table's first day, and the day the clock changes.
TEST_F(SunriseTool, TheCsvHeadingGivesTheTablesTimeBasis) {
    open();
    struct Case {
        int month;
        bool summer;
        const char* zone;
    } cases[] = {{3, true, "Time Zone = Standard Time,From 31 Mar: Summer Time"},
                 {7, true, "Time Zone = Summer Time"},
                 {10, true, "Time Zone = Summer Time,From 27 Oct: Standard Time"},
                 {3, false, "Time Zone = Standard Time"},
                 {7, false, "Time Zone = Standard Time"}};
    SharedState& s = State();
    s.SunPlace = "Dover";
    s.SunLatText = "51.07N";
    s.SunLongText = "1.19E";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + (c.summer ? " summer" : ""));
        ComputeSunTable(51.1, 1.3, 2024, c.month, c.summer);
        const std::vector<std::string> lines = linesOf(output::SunCsvFile(c.summer).Text());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], "Dover," + std::string(c.zone) + ",51.07N,1.19E");
    }
}

// February of a leap year, a place with a comma, a name given no extension.
TEST_F(SunriseTool, TheCsvFileOfAShortMonthAndAPlaceWithAComma) {
    now = DateSerial(2024, 2, 10) + TimeSerial(12, 0, 0);
    useTwoPortArea(2);
    frmtidewyn& main = open();
    std::string csv;
    ASSERT_TRUE(calculate(openTool(main), "", "", [&](Frmriseresults& r) { csv = saveCsv(r, "sun"); }));
    const std::vector<std::string> lines = linesOf(csv);
    ASSERT_EQ(lines.size(), 2u + 29 + 1);
    EXPECT_EQ(lines[0], "\"Dover, Eastern Arm\",Time Zone = Standard Time,51.06.86N,1.19.35E");
    EXPECT_TRUE(lines[30].starts_with("29/2/2024,"));
}

TEST_F(SunriseTool, TheFileNameEndsInCsv) {
    struct Case {
        const char *chosen, *saved;
    } cases[] = {{"/a/sun.times.txt", "/a/sun.csv"},
                 {"/a/sun", "/a/sun.csv"},
                 {"/a/old.data/sun.txt", "/a/old.data/sun.csv"},
                 {"/a/old.data/sun", "/a/old.data/sun.csv"},
                 {"sun.csv", "sun.csv"},
                 {"/a/old.data/ ", ""}};
    for (const Case& c : cases) EXPECT_EQ(output::SunCsvPath(c.chosen), c.saved) << c.chosen;

    // In a folder with a dot in its name, through the window.
    frmtidewyn& main = open();
    std::filesystem::create_directories(State().TextOutputFolder + "/old.data");
    ASSERT_TRUE(calculate(openTool(main), "", "",
                          [&](Frmriseresults& r) { EXPECT_NE(saveCsv(r, "old.data/sun.txt"), ""); }));
    EXPECT_TRUE(std::filesystem::exists(State().TextOutputFolder + "/old.data/sun.csv"));
    EXPECT_FALSE(std::filesystem::exists(State().TextOutputFolder + "/old.csv"));
}

// Cancel writes nothing; an existing file is replaced only on Yes; a file that cannot be
// written is told and the older one stays whole.
TEST_F(SunriseTool, SavingAsksBeforeReplacingAndToldWhenItFails) {
    frmtidewyn& main = open();
    const std::string path = State().TextOutputFolder + "/sun.csv";
    const std::string old = "old contents\r\n";
    ASSERT_TRUE(calculate(openTool(main), "", "", [&](Frmriseresults& r) {
        r.Command1->click();  // cancelled
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_TRUE(dialogs->messages.empty());

        std::ofstream(path, std::ios::binary) << old;
        struct Case {
            int answer;
            bool replaced;
        } cases[] = {{kNo, false}, {kYes, true}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.answer);
            dialogs->messages.clear();
            dialogs->messageAnswers = {c.answer};
            dialogs->fileAnswers = {State().TextOutputFolder + "/sun.txt"};
            r.Command1->click();
            ASSERT_EQ(dialogs->messages.size(), 1u);
            EXPECT_EQ(dialogs->messages[0].prompt, "File exist - Overwrite?");
            EXPECT_EQ(dialogs->messages[0].style, kYesNo | kQuestion);
            EXPECT_EQ(dialogs->messages[0].title, "Tidewyn");
            EXPECT_EQ(ReadAll(path) != old, c.replaced);
        }

        std::ofstream(path, std::ios::binary) << old;
        dialogs->messages.clear();
        dialogs->messageAnswers = {kYes};
        dialogs->fileAnswers = {path};
        SetWriteFault([](const std::string&) { return ENOSPC; });
        r.Command1->click();
        SetWriteFault({});
        ASSERT_EQ(dialogs->messages.size(), 2u);
        EXPECT_EQ(dialogs->messages[1].style, kOkOnly | kExclamation);
        EXPECT_NE(dialogs->messages[1].prompt.find(path), std::string::npos);
        EXPECT_NE(dialogs->messages[1].prompt.find(std::strerror(ENOSPC)), std::string::npos);
        EXPECT_EQ(ReadAll(path), old);
        EXPECT_TRUE(IsLoaded<Frmriseresults>());
    }));
}

// A file whose folder alone cannot be synced is saved: the warning once, the window open.
TEST_F(SunriseTool, ACsvFileWhoseFolderSyncFailsIsSaved) {
    frmtidewyn& main = open();
    ASSERT_TRUE(calculate(openTool(main), "", "", [&](Frmriseresults& r) {
        const std::string clean = saveCsv(r, "clean");
        SetFileStepFault(
            [](FileStep step, const std::string&) { return step == FileStep::FolderSync ? EIO : 0; });
        EXPECT_EQ(saveCsv(r, "sun"), clean);
        SetFileStepFault({});
        const std::string path = State().TextOutputFolder + "/sun.csv";
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt,
                  path + " was written, but its folder could not be synced: " + std::strerror(EIO));
        EXPECT_EQ(dialogs->messages[0].style, kOkOnly | kExclamation);
        EXPECT_TRUE(IsLoaded<Frmriseresults>());
    }));
}

TEST(TextFile, FieldsAreQuotedOnlyWhenTheyMustBe) {
    struct Case {
        const char* field;
        char separator;
        const char* written;
    } cases[] = {{"Dover", ',', "Dover"},
                 {"Dover, Eastern Arm", ',', "\"Dover, Eastern Arm\""},
                 {"2,5", '\t', "2,5"},
                 {"say \"hi\"", ',', "\"say \"\"hi\"\"\""},
                 {"a\tb", '\t', "\"a\tb\""},
                 {"two\r\nlines", ',', "\"two\r\nlines\""},
                 {"", ',', ""}};
    for (const Case& c : cases) EXPECT_EQ(output::CsvField(c.field, c.separator), c.written) << c.field;

    testing_support::TempDir dir;
    output::TextFile file;
    file.AddFields({"Bénodet", "1,5"}, ',');
    file.AddLine("");
    ASSERT_TRUE(file.Write(dir.file("t.csv")).ok());
    EXPECT_EQ(ReadAll(dir.file("t.csv")), "B\xe9nodet,\"1,5\"\r\n\r\n");
}

// The tool's table, printed after the day has moved into the next month and the tool opened
// and cancelled again, is the month it was computed for, with that month's moon phases.
TEST_F(SunriseTool, ThePrintedTableKeepsItsMonthsPhases) {
    now = DateSerial(2024, 3, 31) + TimeSerial(12, 0, 0);
    frmtidewyn& main = open();
    ASSERT_TRUE(calculate(openTool(main)));
    EXPECT_FALSE(IsLoaded<Frmsunrise>());
    main.Nextday->click();
    ASSERT_EQ(State().SelectedMonth, 4);
    openTool(main).cancel->click();
    EXPECT_FALSE(IsLoaded<Frmsunrise>());

    main.mnusunprint.Click();
    std::vector<std::string> texts;
    for (const DrawCommand* t : textsOf(onlyPage(0))) texts.push_back(t->text);
    for (const MoonPhase& phase : MoonPhasesOfMonth(2024, 3))
        EXPECT_NE(std::find(texts.begin(), texts.end(), phase.Line), texts.end()) << phase.Line;
    EXPECT_NE(std::find(texts.begin(), texts.end(), " 31Mar  2024"), texts.end());
}

// "Print" prints the table with its own question; Esc is Exit.
TEST_F(SunriseTool, TheResultsPrintAndCloseWithEsc) {
    frmtidewyn& main = open();
    ASSERT_TRUE(calculate(openTool(main), "", "", [&](Frmriseresults& r) {
        r.cmdsunprint->click();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt, "Print Sun and Lunar times?");
        EXPECT_EQ(pagesOf(0).size(), 1u);
        EXPECT_TRUE(IsLoaded<Frmriseresults>());
        main.Nextday->setVisible(false);
        main.Previousday->setVisible(false);
        PressKey(r, Qt::Key_Escape);
        EXPECT_FALSE(IsLoaded<Frmriseresults>());
    }));
    EXPECT_TRUE(main.Nextday->isVisible());
    EXPECT_TRUE(main.Previousday->isVisible());
}

// The month view closes the tool.
TEST_F(SunriseTool, TheMonthViewClosesTheTool) {
    frmtidewyn& main = open();
    openTool(main);
    main.mnumonth.Click();
    EXPECT_FALSE(IsLoaded<Frmsunrise>());
}
