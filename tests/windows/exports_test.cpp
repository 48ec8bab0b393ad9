// The Clipboard menu's four copies and File, Save's three text files: their texts and bytes,
// the month computed when it is missing or stale, the refusals, Cancel and failed writes.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/calendar.h"
#include "engine/cp1252.h"
#include "engine/currentport.h"
#include "engine/folders.h"
#include "engine/recordfile.h"
#include "engine/sun.h"
#include "engine/suntable.h"
#include "engine/timetext.h"
#include "platform/clipboard.h"
#include "print_support.h"

using namespace engine;
using namespace platform;
using testing_support::csvFields;
using testing_support::linesOf;
using testing_support::ReadAll;
using testing_support::textsOf;

namespace {

std::string hhmmss(const SunEvent& e) { return e.Occurs ? HoursToHHMMSS(e.Hours) : "None"; }

}  // namespace

class Exports : public testing_support::PrintTest {
protected:
    frmtidewyn& openOn(int year, int month, int day, bool summer = false) {
        now = DateSerial(year, month, day) + TimeSerial(13, 47, 0);
        storeSettings([&](SettingsRecord& r) { r.SummerTime = summer ? -1 : 0; });
        return open();
    }
    // What the menu entry leaves on the clipboard ("before" when it leaves it alone).
    std::string copied(MenuItem& menu) {
        ClipboardSetText("before");
        menu.Click();
        return ClipboardText();
    }
    std::string outputPath(const std::string& name) { return State().TextOutputFolder + "/" + name; }
    // The bytes of the file that the menu entry saves as `name` in the text output folder.
    std::string saved(MenuItem& menu, const std::string& name) {
        dialogs->fileAnswers = {outputPath(name)};
        menu.Click();
        return ReadAll(outputPath(name));
    }
    // A one-port area of Dover's constants at another place, current from the start.
    void useOnePortArea(const std::string& name, float latitude, float longitude,
                        const std::function<void(PortRecord&)>& change = {}) {
        PortRecord port;
        ASSERT_TRUE(ReadPortRecord(programFolder() + "/UK.hc", 77, port).ok());
        port.PortName = name;
        port.Latitude = latitude;
        port.Longitude = longitude;
        if (change) change(port);
        const Bytes b = EncodePortRecord(port);
        const std::string area = home.file("One.hc");
        std::ofstream(area, std::ios::binary) << std::string(b.begin(), b.end());
        storeSettings([&](SettingsRecord& r) {
            r.AreaPath = area;
            r.PortIndex = 1;
        });
    }
    // The month view's rows replaced by a small month.
    static void useMonthRows(const std::vector<std::pair<std::string, std::string>>& rows) {
        SharedState& s = State();
        s.MonthRowsA.clear();
        s.MonthRowsB.clear();
        for (const auto& [a, b] : rows) {
            s.MonthRowsA.push_back(a);
            s.MonthRowsB.push_back(b);
        }
    }
};

TEST_F(Exports, DayTidesCopyTheDayListItsTimeBasisAndTheSpringsNeapsWording) {
    // 4 March 2024 has four tides.
    frmtidewyn& w = openOn(2024, 3, 4);
    SharedState& s = State();
    EXPECT_EQ(s.DayTextCount, 8);
    EXPECT_EQ(
        copied(w.mnuCopyDaysTides),
        "Port : Dover\r\nDate : 4/3/2024\r\n\r\n04:30   5.4\r\n11:30   2.2\r\n17:00   5.1\r\n23:50   2.3\r\n"
        "\r\n(Standard Time)\r\nNeaps -1days\r\n");
    EXPECT_TRUE(dialogs->messages.empty());

    // Each boundary belongs to the row above it; outside 0 to 14 h, or with no lag, no wording.
    struct Case {
        double lag;
        const char* label;
    } cases[] = {
        {0, "Springs"},
        {0.3, "Springs"},
        {0.31, "Springs +1 day"},
        {1.4, "Springs +1 day"},
        {1.41, "Springs +2 days"},
        {1.9, "Springs +2 days"},
        {1.91, "Springs +3 days"},
        {2.5, "Springs +3 days"},
        {2.51, "Neaps -3 days"},
        {3.3, "Neaps -3 days"},
        {3.31, "Neaps -2 days"},
        {4.3, "Neaps -2 days"},
        {4.31, "Neaps -1days"},
        {5.2, "Neaps -1days"},
        {5.21, "Neaps"},
        {6.8, "Neaps"},
        {6.81, "Neaps +1 day"},
        {7.7, "Neaps +1 day"},
        {7.71, "Neaps +2 days"},
        {8.5, "Neaps +2 days"},
        {8.51, "Neaps +3 days"},
        {9.3, "Neaps +3 days"},
        {9.31, "Springs -3 days"},
        {10.2, "Springs -3 days"},
        {10.21, "Springs -2 days"},
        {10.9, "Springs -2 days"},
        {10.91, "Springs -1 day"},
        {14, "Springs -1 day"},
        {14.0001, ""},
        {-0.0001, ""},
        {std::nan(""), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lag);
        s.SpringNeapLag = c.lag;
        const std::vector<std::string> lines = linesOf(copied(w.mnuCopyDaysTides));
        ASSERT_EQ(lines.size(), 10u);
        EXPECT_EQ(lines[8], "(Standard Time)");
        EXPECT_EQ(lines[9], c.label);
    }

    // Summer time on: the day's own basis, not that of its month's first day.
    for (const auto& [day, basis] : {std::pair{DateSerial(2024, 6, 12), "(Summer Time)"},
                                     std::pair{DateSerial(2024, 3, 31), "(Summer Time)"},
                                     std::pair{DateSerial(2024, 10, 28), "(Standard Time)"}}) {
        restart();
        frmtidewyn& summer = openOn(DateYear(day), DateMonth(day), DateDay(day), true);
        const std::vector<std::string> lines = linesOf(copied(summer.mnuCopyDaysTides));
        ASSERT_EQ(lines.size(), static_cast<size_t>(State().DayTextCount + 2));
        EXPECT_EQ(lines[1], "Date : " + NumericDate(DateYear(day), DateMonth(day), DateDay(day)));
        EXPECT_EQ(lines[lines.size() - 2], basis);
    }

    // A day that cannot be computed has no springs/neaps wording, on the bar or in the copy.
    restart();
    useOnePortArea("Damaged", 51, 1, [](PortRecord& p) { p.M2Hm = 500; });
    frmtidewyn& damaged = open();
    EXPECT_EQ(damaged.lblSprings->Caption(), "");
    const std::vector<std::string> lines = linesOf(copied(damaged.mnuCopyDaysTides));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "(Standard Time)");
    EXPECT_EQ(lines[5], "");
}

TEST_F(Exports, MonthTidesCopyTheMonthShownOrComputeItFirst) {
    frmtidewyn& w = openOn(2024, 3, 5, true);
    SharedState& s = State();
    ListBox& list = *w.monthspredictions;
    EXPECT_EQ(list.ListCount(), 0);
    std::vector<std::string> lines = linesOf(copied(w.mnuCopyMonth));
    EXPECT_GT(list.ListCount(), 10);
    EXPECT_TRUE(MonthViewIsCurrent());
    ASSERT_EQ(lines.size(), s.MonthRowsA.size() + 2);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8),
              (std::vector<std::string>{"Dover\tMarch 2024", "\t", "1 Mar\t(Fri)", "02:10\t6.28",
                                        "09:20\t1.29", "14:30\t5.96", "21:30\t1.56", "\t"}));
    // March with summer time: the month starts on standard time and changes on the 31st.
    EXPECT_EQ(lines[lines.size() - 2], "Times are for :\tStandard Time");
    EXPECT_EQ(lines.back(), "From 31 Mar :\tSummer Time");
    EXPECT_TRUE(dialogs->messages.empty());

    // Fields are trimmed of blanks, and of what follows a NUL.
    s.MonthRowsA[0] = std::string(" Dover  \0junk", 13);
    s.MonthRowsB[0] = " March 2024 ";
    EXPECT_EQ(linesOf(copied(w.mnuCopyMonth)).at(0), "Dover\tMarch 2024");

    // The list emptied (as the date window empties it for another day) while its month is still
    // the current one: the month is computed again.
    list.Clear();
    ASSERT_TRUE(MonthViewIsCurrent());
    EXPECT_EQ(linesOf(copied(w.mnuCopyMonth)).at(0), "Dover\tMarch 2024");
    EXPECT_GT(list.ListCount(), 10);

    // An editor made another record the current port and left the view of the first.
    s.CurrentPort = static_cast<int16_t>(s.CurrentPort + 1);
    ASSERT_TRUE(LoadCurrentPort(s.AreaFilePath, true).recordRead());
    const std::string other = Trim(s.PortName);
    lines = linesOf(copied(w.mnuCopyMonth));
    EXPECT_EQ(lines.at(0), other + "\tMarch 2024");
    EXPECT_EQ(list.List(2), LeftChars(s.PortName, 10));

    // A view of ten items is refused and the clipboard left alone.
    while (list.ListCount() > 10) list.RemoveItem(list.ListCount() - 1);
    dialogs->messages.clear();
    EXPECT_EQ(copied(w.mnuCopyMonth), "before");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt, "Calculate a months tides\rbefore choosing this option");
    EXPECT_EQ(dialogs->messages[0].style, kOkOnly);
    EXPECT_EQ(dialogs->messages[0].title, "Tidewyn Vizoz");
}

TEST_F(Exports, MonthSunCopyFillsTheTableThatIsThenPrinted) {
    frmtidewyn& w = openOn(2024, 2, 10);
    SharedState& s = State();
    const std::vector<std::string> lines = linesOf(copied(w.mnuCopyMonthSunTimes));
    ASSERT_EQ(lines.size(), 2u + 29u);
    EXPECT_EQ(lines[0], "Dover\tTime Zone = Standard Time\t 51.06.86N\t 1.19.35E");
    EXPECT_EQ(lines[1], "Date\tSunrise\tSunset\tCivil Dawn\tCivil Dusk\tNautical Dawn\tNautical Dusk");
    for (int d : {1, 15, 29}) {
        // At the position as the sunrise tool shows it.
        const SunTimes t = CalcSunTimes(ParseLatitude(" 51.06.86N"), ParseLongitude(" 1.19.35E"), d, 2, 2024,
                                        State().PortZoneHours, false);
        EXPECT_EQ(lines[static_cast<size_t>(d + 1)],
                  NumericDate(2024, 2, d) + "\t" + hhmmss(t.Sunrise) + "\t" + hhmmss(t.Sunset) + "\t" +
                      hhmmss(t.CivilDawn) + "\t" + hhmmss(t.CivilDusk) + "\t" + hhmmss(t.NauticalDawn) +
                      "\t" + hhmmss(t.NauticalDusk));
    }
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt,
              "Months sunrise and sunset times have been copied to the clipboard");
    EXPECT_EQ(dialogs->messages[0].style, kOkOnly);
    EXPECT_EQ(dialogs->messages[0].title, "Tidewyn");

    // The table it leaves is the port's whole month, which the sun print then shows.
    EXPECT_EQ(SunTableDays(), 29);
    EXPECT_EQ(s.SunPlace, "Dover");
    EXPECT_EQ(s.SunLatText, "51.06.86N");
    EXPECT_EQ(s.SunLongText, "1.19.35E");
    EXPECT_EQ(s.SunTable(1, 29), "29/2/2024");
    ASSERT_GT(s.MoonPhaseCount, 2);
    dialogs->messages.clear();
    w.mnusunprint.Click();
    std::vector<std::string> printed;
    for (const DrawCommand* t : textsOf(onlyPage(0))) printed.push_back(t->text);
    for (const std::string& text :
         {std::string("Dover"), std::string("29/2/2024"), s.SunTable(4, 29), s.MoonPhaseList[1]})
        EXPECT_NE(std::find(printed.begin(), printed.end(), text), printed.end()) << text;

    // A month whose clock changes: the day it does so, as the sunrise tool's file names it.
    restart();
    frmtidewyn& march = openOn(2024, 3, 5, true);
    EXPECT_EQ(linesOf(copied(march.mnuCopyMonthSunTimes)).at(0),
              "Dover\tTime Zone = Standard Time\tFrom 31 Mar: Summer Time\t 51.06.86N\t 1.19.35E");
    const SunTimes march31 = CalcSunTimes(ParseLatitude(" 51.06.86N"), ParseLongitude(" 1.19.35E"), 31, 3,
                                          2024, State().PortZoneHours, true);
    EXPECT_EQ(State().SunTable(4, 31), HoursToHHMM(march31.Sunrise.Hours));

    // A record that cannot be read, or a damaged position, is told; clipboard and table stay as
    // they were, and the day's copy is refused too.
    struct Fault {
        const char* what;
        std::function<void()> make;
        const char* told;
    } faults[] = {
        {"unreadable",
         [] { SetReadFault([](const std::string& path) { return path.ends_with("UK.hc") ? EIO : 0; }); },
         "UK.hc"},
        {"damaged",
         [this] {
             restart();
             useOnePortArea("Damaged", 95, 1);
             open();
         },
         "Record 1 of One.hc is damaged: Latitude is 95"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        f.make();
        frmtidewyn& main = Get<frmtidewyn>();
        testing_support::FillSunTable(2024, 1);
        dialogs->messages.clear();
        EXPECT_EQ(copied(main.mnuCopyMonthSunTimes), "before");
        EXPECT_EQ(copied(main.mnuCopySunTimes), "before");
        SetReadFault({});
        ASSERT_EQ(dialogs->messages.size(), 2u);
        EXPECT_EQ(dialogs->messages[0].prompt.substr(0, 41), "The month's sun times cannot be computed.");
        EXPECT_EQ(dialogs->messages[1].prompt.substr(0, 37), "The day's sun times cannot be copied.");
        for (const AskedMessage& m : dialogs->messages) {
            EXPECT_EQ(m.style, kOkOnly | kExclamation);
            EXPECT_NE(m.prompt.find(f.told), std::string::npos) << m.prompt;
        }
        EXPECT_EQ(State().SunTableMonth, 1);
        EXPECT_EQ(State().SunPlace, "Dover");
        EXPECT_EQ(State().SunLatText, "51.07N");
    }
}

TEST_F(Exports, DaySunCopyLeavesTheDayListAlone) {
    frmtidewyn& w = openOn(2024, 6, 12, true);
    const SharedState& s = State();
    const std::string dayText = s.DayText[1] + s.DayText[2];
    EXPECT_EQ(copied(w.mnuCopySunTimes),
              "Port : Dover\tTime Zone = Summer Time\r\n\r\nDate : 12/6/2024\r\n\r\n"
              "Sunrise : " +
                  HoursToHHMMSS(s.SunriseTime) + "\r\nSunset  : " + HoursToHHMMSS(s.SunsetTime) + "\r\n");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt,
              "The day's sunrise and sunset times have been copied to the clipboard");
    EXPECT_EQ(dialogs->messages[0].title, "Tidewyn");
    EXPECT_EQ(s.DayText[1] + s.DayText[2], dayText);
    EXPECT_EQ(linesOf(copied(w.mnuCopyDaysTides)).at(0), "Port : Dover");

    // A port stepped to holds its name as stored, padded to 35 characters: the copy trims it.
    w.mnuNextPort.Click();
    ASSERT_EQ(s.PortName.size(), 35u);
    EXPECT_EQ(linesOf(copied(w.mnuCopySunTimes)).at(0),
              "Port : " + Trim(s.PortName) + "\tTime Zone = Summer Time");
}

// Beyond the Arctic Circle in December the sun does not rise: "None", not a false midnight.
TEST_F(Exports, SunCopiesWriteNoneForASunThatDoesNotRise) {
    useOnePortArea("Longyearbyen", 78.22f, 15.65f);
    now = DateSerial(2024, 12, 15) + TimeSerial(12, 0, 0);
    frmtidewyn& w = open();
    const std::vector<std::string> day = linesOf(copied(w.mnuCopySunTimes));
    ASSERT_EQ(day.size(), 6u);
    EXPECT_EQ(day[4], "Sunrise : None");
    EXPECT_EQ(day[5], "Sunset  : None");
    const std::vector<std::string> month = linesOf(copied(w.mnuCopyMonthSunTimes));
    ASSERT_EQ(month.size(), 2u + 31u);
    EXPECT_EQ(month[0], "Longyearbyen\tTime Zone = Standard Time\t 78.13.2N\t 15.39E");
    EXPECT_EQ(month[16].substr(0, 21), "15/12/2024\tNone\tNone\t");
}

TEST_F(Exports, DayTableSavesTheDayShownAtTenMinuteSteps) {
    frmtidewyn& w = open();
    // A day stepped in the layers view, whose drawing leaves the table of the day before.
    w.mnuLayersShow_Click();
    w.Nextday_Click();
    SharedState& s = State();
    s.DayCurve(2, 1) = 0;
    s.DayCurve(2, 2) = -0.345;
    s.DayCurve(2, 3) = 1234.5;
    EXPECT_NE(s.OutputCurve(2, 20), s.DayCurve(2, 20));
    const std::vector<std::string> lines = linesOf(saved(w.mnusaveday, "day.txt"));
    ASSERT_EQ(lines.size(), 146u);
    EXPECT_EQ(lines[0], w.portbox->Caption());
    EXPECT_EQ(lines[1], "Date   : 06 March 2024 (Wednesday)");
    EXPECT_EQ(lines[2], "\t00:00\t0.00");
    EXPECT_EQ(lines[3], "\t00:10\t-0.35");
    EXPECT_EQ(lines[4], "\t00:20\t1,234.50");
    EXPECT_EQ(lines[21], "\t03:10\t" + Format(s.DayCurve(2, 20), "0.00"));
    EXPECT_EQ(lines[145], "\t23:50\t" + Format(s.DayCurve(2, 144), "0.00"));
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    const FileDialogRequest& r = dialogs->fileRequests[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.title, "Save hourly details");
    EXPECT_EQ(r.initialFolder, s.TextOutputFolder);
    EXPECT_EQ(r.fileName, "");
    EXPECT_EQ(r.filter, "Tables (*.txt)|*.txt");
    EXPECT_TRUE(r.promptOverwrite);
    EXPECT_TRUE(dialogs->messages.empty());

    // Cancel writes nothing.
    dialogs->fileAnswers.clear();
    w.mnusaveday.Click();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(s.TextOutputFolder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(Exports, SunTableSavesTheMonthItHolds) {
    frmtidewyn& w = open();
    w.mnusavesun.Click();
    EXPECT_TRUE(dialogs->fileRequests.empty());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt, "Calculate a months suntimes\rbefore choosing this option");
    EXPECT_EQ(dialogs->messages[0].style, kOkOnly);
    EXPECT_EQ(dialogs->messages[0].title, "Tidewyn Vizoz");

    // February's table while March is shown: February's 29 days.
    testing_support::FillSunTable(2024, 2);
    const std::vector<std::string> lines = linesOf(saved(w.mnusavesun, "sun.txt"));
    ASSERT_EQ(lines.size(), 2u + 29u);
    EXPECT_EQ(lines[0], "\tDover\t51.07N\t001.19E");
    EXPECT_EQ(lines[1], "\tDate\t\tSunrise\tSunset\t      Civil Twilights\tNautical Twilights");
    EXPECT_EQ(lines[1].find("Civil"), 28u);
    EXPECT_EQ(lines[2], "\t 1Feb  2024\t07:01\t17:31\t06:16\t18:16\t05:31\t19:01");
    EXPECT_TRUE(lines[11].ends_with("\tNone\t19:10")) << lines[11];
    EXPECT_EQ(dialogs->fileRequests.at(0).title, "Save Sun's Data To Text File");
}

TEST_F(Exports, MonthTidesSaveWithTabsOrCommasByTheName) {
    frmtidewyn& w = openOn(2024, 10, 5, true);
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Dover", "October 2024"}, {"", ""}, {"1 Oct", "(Tue)"}, {"03:12", "6.05"}, {"09:40", "0.85"}};
    w.mnuCopyMonth.Click();  // a current view, so that the rows below are saved as they stand
    useMonthRows(rows);

    struct Case {
        const char* name;
        const char* bytes;
    } cases[] = {
        {"x.csv",
         "Dover,October 2024\r\n,\r\n1 Oct,(Tue)\r\n03:12,6.05\r\n09:40,0.85\r\nTimes are for :,Summer "
         "Time\r\n"
         "From 27 Oct :,Standard Time\r\n"},
        {"X.CSV",
         "Dover\tOctober 2024\r\n\t\r\n1 Oct\t(Tue)\r\n03:12\t6.05\r\n09:40\t0.85\r\nTimes are for :\tSummer "
         "Time\r\n"
         "From 27 Oct :\tStandard Time\r\n"},
        {"x.txt",
         "Dover\tOctober 2024\r\n\t\r\n1 Oct\t(Tue)\r\n03:12\t6.05\r\n09:40\t0.85\r\nTimes are for :\tSummer "
         "Time\r\n"
         "From 27 Oct :\tStandard Time\r\n"},
        {"plain",
         "Dover\tOctober 2024\r\n\t\r\n1 Oct\t(Tue)\r\n03:12\t6.05\r\n09:40\t0.85\r\nTimes are for :\tSummer "
         "Time\r\n"
         "From 27 Oct :\tStandard Time\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(saved(w.mnusavmonth, c.name), c.bytes);
    }
    EXPECT_FALSE(std::filesystem::exists(outputPath("plain.txt")));
    ASSERT_EQ(dialogs->fileRequests.size(), 4u);
    const FileDialogRequest& r = dialogs->fileRequests[0];
    EXPECT_EQ(r.title, "Save Months Vizoz To Text File");
    EXPECT_EQ(r.fileName, "Dover_Oct_2024");
    EXPECT_EQ(r.filter, "Tables (*.txt)|*.txt");
    EXPECT_TRUE(r.promptOverwrite);

    // A name outside ASCII in Windows-1252; a quote and a comma of a field quoted in a CSV file.
    useMonthRows({{"Saint-Mal\xC3\xB4", "Octobre \"24\""}, {"03:12", "6,05"}});
    EXPECT_EQ(saved(w.mnusavmonth, "y.csv"),
              "Saint-Mal\xF4,\"Octobre \"\"24\"\"\"\r\n03:12,\"6,05\"\r\nTimes are for :,Summer Time\r\n"
              "From 27 Oct :,Standard Time\r\n");
    // A TAB file writes the same fields as they stand.
    EXPECT_EQ(saved(w.mnusavmonth, "y.txt"),
              "Saint-Mal\xF4\tOctobre \"24\"\r\n03:12\t6,05\r\nTimes are for :\tSummer Time\r\n"
              "From 27 Oct :\tStandard Time\r\n");
    // The default name of a port whose name holds a "/".
    State().PortName = std::string("Calais / Dunkerque\0xx", 21);
    dialogs->fileAnswers.clear();
    w.mnusavmonth.Click();
    EXPECT_EQ(dialogs->fileRequests.back().fileName, "Calais _ Dunkerque_Oct_2024");

    // Summer time off: always standard time.
    restart();
    frmtidewyn& off = openOn(2024, 10, 5, false);
    const std::vector<std::string> lines = linesOf(saved(off.mnusavmonth, "off.txt"));
    EXPECT_EQ(lines.back(), "Times are for :\tStandard Time");
    EXPECT_EQ(lines.at(0), "Dover\tOctober 2024");
}

TEST_F(Exports, MonthTidesCsvInADecimalCommaLocaleReadsBackFieldByField) {
    UseLocale("de_DE");
    frmtidewyn& w = openOn(2024, 3, 5);
    // Windows-1252 on disk: "März" holds one byte for its "ä".
    const std::string bytes = saved(w.mnusavmonth, "de.csv");
    UseLocale("en_GB");
    EXPECT_NE(bytes.find("M\xE4rz 2024"), std::string::npos);
    const std::vector<std::string> lines = linesOf(Cp1252ToUtf8(bytes));
    const SharedState& s = State();
    ASSERT_EQ(lines.size(), s.MonthRowsA.size() + 1);
    EXPECT_EQ(lines.at(3), "02:10,\"6,28\"");
    for (size_t i = 0; i < s.MonthRowsA.size(); ++i)
        EXPECT_EQ(csvFields(lines[i]), (std::vector<std::string>{s.MonthRowsA[i], s.MonthRowsB[i]})) << i;
    EXPECT_EQ(csvFields(lines.back()), (std::vector<std::string>{"Times are for :", "Standard Time"}));
}

// A save whose folder alone cannot be synced has put the new file in place: told once with the
// warning, not as a file not saved.
TEST_F(Exports, SavesWhoseFolderSyncFailsAreToldAsSaved) {
    frmtidewyn& w = open();
    w.mnumonth_Click();
    testing_support::FillSunTable(2024, 3);
    for (MenuItem* menu : {&w.mnusaveday, &w.mnusavesun, &w.mnusavmonth}) {
        SCOPED_TRACE(menu->Caption());
        const std::string path = outputPath("synced.txt");
        std::ofstream(path, std::ios::binary) << "old bytes";
        dialogs->messages.clear();
        dialogs->fileAnswers = {path};
        SetFileStepFault(
            [](FileStep step, const std::string&) { return step == FileStep::FolderSync ? EIO : 0; });
        menu->Click();
        SetFileStepFault({});
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt,
                  path + " was written, but its folder could not be synced: " + std::strerror(EIO));
        EXPECT_EQ(dialogs->messages[0].style, kOkOnly | kExclamation);
        EXPECT_EQ(ReadAll(path), saved(*menu, "clean.txt"));
    }
}

// A port name holding a line feed and a TAB (a damaged or edited area file) is written with
// blanks: every line of the saves and copies ends with CR LF, and the name's line keeps its
// columns.
TEST_F(Exports, ControlCharactersOfANameAreWrittenAsBlanks) {
    now = DateSerial(2024, 10, 5) + TimeSerial(12, 0, 0);
    useOnePortArea("Dover\nHarbour\tEast", 51.1f, 1.3f);
    frmtidewyn& w = open();
    const std::string name = "Dover Harbour East";
    const struct {
        const char* what;
        std::function<std::string()> text;
        std::string line;  // the name's line
    } cases[] = {
        {"day table save", [&] { return saved(w.mnusaveday, "day.txt"); }, "Port    : " + name},
        {"month tides save", [&] { return saved(w.mnusavmonth, "month.txt"); }, name + "\tOctober 2024"},
        {"month tides csv", [&] { return saved(w.mnusavmonth, "month.csv"); }, name + ",October 2024"},
        {"day tides copy", [&] { return copied(w.mnuCopyDaysTides); }, "Port : " + name},
        {"month tides copy", [&] { return copied(w.mnuCopyMonth); }, name + "\tOctober 2024"},
        {"day sun copy", [&] { return copied(w.mnuCopySunTimes); },
         "Port : " + name + "\tTime Zone = Standard Time"},
        {"month sun copy", [&] { return copied(w.mnuCopyMonthSunTimes); },
         name + "\tTime Zone = Standard Time\t 51.06N\t 1.18E"},
        {"sun table save", [&] { return saved(w.mnusavesun, "sun.txt"); }, "\t" + name + "\t51.06N\t1.18E"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = c.text();
        ASSERT_TRUE(text.ends_with("\r\n"));
        std::vector<std::string> lines;
        for (size_t at = 0; at < text.size();) {
            const size_t end = text.find("\r\n", at);
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        for (const std::string& line : lines)
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        EXPECT_EQ(lines.at(0), c.line);
    }
}

TEST_F(Exports, SavesRefusedCancelledOrFailingLeaveFilesAlone) {
    frmtidewyn& w = open();
    // A month view of ten items: refused before any dialog.
    w.mnumonth_Click();
    ListBox& list = *w.monthspredictions;
    while (list.ListCount() > 10) list.RemoveItem(list.ListCount() - 1);
    w.mnusavmonth.Click();
    EXPECT_TRUE(dialogs->fileRequests.empty());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt, "Calculate a months tides\rbefore choosing this option");
    EXPECT_EQ(dialogs->messages[0].style, kOkOnly | kInformation);
    EXPECT_EQ(dialogs->messages[0].title, "Tidewyn");

    // A write that fails: the message with path and reason, the old file whole.
    w.mnumonth_Click();
    testing_support::FillSunTable(2024, 3);
    for (MenuItem* menu : {&w.mnusaveday, &w.mnusavesun, &w.mnusavmonth}) {
        SCOPED_TRACE(menu->Caption());
        const std::string path = outputPath("old.txt");
        std::ofstream(path, std::ios::binary) << "old bytes";
        dialogs->messages.clear();
        dialogs->fileAnswers = {path};
        SetWriteFault([](const std::string&) { return EACCES; });
        menu->Click();
        SetWriteFault({});
        EXPECT_EQ(ReadAll(path), "old bytes");
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].style, kOkOnly | kExclamation);
        EXPECT_NE(dialogs->messages[0].prompt.find("The file has not been saved."), std::string::npos);
        EXPECT_NE(dialogs->messages[0].prompt.find(path), std::string::npos);
        EXPECT_NE(dialogs->messages[0].prompt.find(std::strerror(EACCES)), std::string::npos);
    }
}
