// The month view: the list's lines, the month rows and text table the month outputs read, the
// summer-time flag of each day, and the main window left on the selected day.
#include <algorithm>
#include <regex>

#include "adjustment/frmselectport.h"
#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/highlow.h"
#include "engine/numtext.h"
#include "engine/sun.h"
#include "engine/timetext.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"
#include "portpicker_support.h"
#include "window_support.h"

using namespace engine;
using namespace platform;

namespace {
// One day of the list: its day line and its event lines.
struct MonthDay {
    std::string dayLine;
    std::vector<std::string> events;
};

// The days after the five heading lines: each a spacer, the day line, then its events.
std::vector<MonthDay> daysOf(const std::vector<std::string>& lines) {
    std::vector<MonthDay> days;
    for (size_t i = 5; i < lines.size(); ++i) {
        if (lines[i] == "  ") {
            days.push_back({i + 1 < lines.size() ? lines[i + 1] : "", {}});
            ++i;
        } else if (!days.empty()) {
            days.back().events.push_back(lines[i]);
        }
    }
    return days;
}

// The day view's events, as the month writes them.
std::vector<std::string> dayViewEvents() {
    const SharedState& s = State();
    std::vector<std::string> events;
    for (int k = 1; k <= s.EventCount; ++k)
        events.push_back(LTrim(HoursToHHMM(s.DayEvents(1, k))) + "   " + Format(s.DayEvents(2, k), "0.00"));
    return events;
}

}  // namespace

class MonthView : public testing_support::WindowTest {
protected:
    frmtidewyn& open(int year, int month, int day) {
        now = DateSerial(year, month, day) + TimeSerial(13, 47, 0);
        return WindowTest::open();
    }
    static void summerTime(bool on) {
        State().UseSummerTime = on;
        State().ApplySummerTime = on;
    }
};

TEST_F(MonthView, JulyListRowsAndTableInTheirLineForms) {
    frmtidewyn& w = open(2024, 7, 5);
    SharedState& s = State();
    w.mnumonth.Click();
    ASSERT_TRUE(w.monthspredictions->isVisibleTo(&w));
    std::vector<std::string> lines = testing_support::ListLines(*w.monthspredictions);
    ASSERT_GT(lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{" Months", "Prediction ", "Dover", " 7/ 2024", "(Standard Times)"}));

    std::vector<MonthDay> days = daysOf(lines);
    ASSERT_EQ(days.size(), 31u);
    // 1 July 2024 is a Monday.
    static const char* const week[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const std::regex event(R"(\d\d:\d\d   \d\.\d\d)");
    size_t events = 0;
    for (int n = 1; n <= 31; ++n) {
        const MonthDay& d = days[static_cast<size_t>(n - 1)];
        EXPECT_EQ(d.dayLine, std::to_string(n) + " Jul (" + week[(n - 1) % 7] + ")");
        EXPECT_TRUE(d.events.size() == 3 || d.events.size() == 4) << d.dayLine;
        for (size_t k = 0; k < d.events.size(); ++k) {
            const std::string& e = d.events[k];
            EXPECT_TRUE(std::regex_match(e, event)) << e;
            if (k > 0) {
                EXPECT_LT(d.events[k - 1].substr(0, 5), e.substr(0, 5)) << d.dayLine;
            }
            EXPECT_EQ(s.MonthText(n, 1, static_cast<int>(k) + 1), e.substr(0, 5));
            EXPECT_EQ(s.MonthText(n, 2, static_cast<int>(k) + 1), e.substr(8));
        }
        EXPECT_EQ(s.MonthText(n, 3, 1), " " + std::to_string(d.events.size()));
        EXPECT_EQ(s.MonthText(n, 3, 2), "");
        events += d.events.size();
    }
    EXPECT_EQ(days[4].dayLine, "5 Jul (Fri)");
    EXPECT_EQ(lines.size(), 5 + 2 * 31 + events);

    // The rows: the heading pair, then one pair per list line from the first spacer on.
    ASSERT_EQ(s.MonthRowsA.size(), 2 * 31 + events + 1);
    ASSERT_EQ(s.MonthRowsB.size(), s.MonthRowsA.size());
    EXPECT_EQ(s.MonthRowsA[0], "Dover");
    EXPECT_EQ(s.MonthRowsB[0], "July 2024");
    EXPECT_EQ(s.MonthRowsA[1], "");
    EXPECT_EQ(s.MonthRowsB[1], "");
    EXPECT_EQ(s.MonthRowsA[2], "1 Jul");
    EXPECT_EQ(s.MonthRowsB[2], "(Mon)");
    for (size_t i = 1; i < s.MonthRowsA.size(); ++i) {
        const std::string& line = lines[i + 4];
        if (line == "  ") {
            EXPECT_EQ(s.MonthRowsA[i] + s.MonthRowsB[i], "");
        } else if (std::regex_match(line, event)) {
            EXPECT_EQ(s.MonthRowsA[i] + "   " + s.MonthRowsB[i], line);
        } else {
            EXPECT_EQ(s.MonthRowsA[i] + " " + s.MonthRowsB[i], line);
        }
    }
    EXPECT_EQ(s.MonthText(32, 1, 1), "");
}

TEST_F(MonthView, EveryDayOfTheMonthAndNoMore) {
    struct Case {
        int year, month, days;
        const char* lastDay;
        const char* heading;
    } cases[] = {
        {2024, 2, 29, "29 Feb (Thu)", " 2/ 2024"},
        {2023, 2, 28, "28 Feb (Tue)", " 2/ 2023"},
        {2024, 4, 30, "30 Apr (Tue)", " 4/ 2024"},
        {2024, 12, 31, "31 Dec (Tue)", " 12/ 2024"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastDay);
        frmtidewyn& w = open(c.year, c.month, 10);
        w.mnumonth.Click();
        std::vector<std::string> lines = testing_support::ListLines(*w.monthspredictions);
        std::vector<MonthDay> days = daysOf(lines);
        ASSERT_EQ(days.size(), static_cast<size_t>(c.days));
        EXPECT_EQ(lines[3], c.heading);
        EXPECT_EQ(days.back().dayLine, c.lastDay);
        size_t events = 0;
        for (const MonthDay& d : days) events += d.events.size();
        EXPECT_EQ(lines.size(), 5 + 2 * static_cast<size_t>(c.days) + events);
        EXPECT_EQ(State().MonthRowsA.size(), 2 * static_cast<size_t>(c.days) + events + 1);
        restart();
    }
}

TEST_F(MonthView, TimeBasisLineByMonthAndSetting) {
    struct Case {
        int month;
        bool summer;
        const char* line;
    } cases[] = {
        {1, true, "(Standard Times)"},  {3, true, "(Standard Times)"},  {4, true, "(Summer Times)"},
        {10, true, "(Summer Times)"},   {11, true, "(Standard Times)"}, {12, true, "(Standard Times)"},
        {7, false, "(Standard Times)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.month);
        frmtidewyn& w = open(2024, c.month, 15);
        summerTime(c.summer);
        w.mnumonth.Click();
        EXPECT_EQ(w.monthspredictions->List(4), c.line);
        restart();
    }
}

// Each day with its own summer-time flag: a day of a month with a change of clock reads as
// the day view of that day, whichever day was selected.
TEST_F(MonthView, DaysAcrossAChangeOfClockMatchTheDayView) {
    struct Case {
        int month, selected, day;
        bool summerDay;
    } cases[] = {
        {3, 5, 30, false},   // the selected day and 30 March without summer time
        {3, 5, 31, true},    // 31 March, the first summer-time day
        {10, 30, 10, true},  // before the change back, selected after it
        {10, 30, 27, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.day));
        frmtidewyn& w = open(2024, c.month, c.selected);
        summerTime(true);
        w.RecomputeDay();
        w.mnumonth.Click();
        EXPECT_EQ(w.monthspredictions->List(4), c.month == 3 ? "(Standard Times)" : "(Summer Times)");
        std::vector<MonthDay> days = daysOf(testing_support::ListLines(*w.monthspredictions));
        ASSERT_GE(days.size(), static_cast<size_t>(c.day));
        const std::vector<std::string> inMonth = days[static_cast<size_t>(c.day - 1)].events;

        // Without the summer hour the day's tides come out otherwise, so the case tells.
        SharedState& s = State();
        int16_t record = 0;
        int points = 0;
        int16_t count = 0;
        const int dayOfYear = DayOfYear(DateSerial(2024, c.month, c.day));
        ASSERT_TRUE(CalcDayTide(record, dayOfYear, points, !c.summerDay).ok());
        FindHighLowWaters(points, count);
        EXPECT_NE(dayViewEvents(), inMonth);

        for (int step = c.selected; step < c.day; ++step) w.Nextday->click();
        for (int step = c.selected; step > c.day; --step) w.Previousday->click();
        ASSERT_EQ(s.SelectedDay, c.day);
        EXPECT_EQ(w.SummerFlag(), c.summerDay);
        EXPECT_EQ(dayViewEvents(), inMonth);
        restart();
    }
}

TEST_F(MonthView, SummerNoteIsTheSelectedDays) {
    struct Case {
        int month, day;
        const char* note;
    } cases[] = {
        {3, 5, "Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION"},
        {3, 31, "Times are from midnight local time - ADJUSTED FOR SUMMER TIME"},
        {10, 27, "Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION"},
    };
    for (const Case& c : cases) {
        frmtidewyn& w = open(2024, c.month, c.day);
        summerTime(true);
        w.mnumonth.Click();
        EXPECT_EQ(w.disclaimer->Caption(),
                  std::string("Heights in Metres, all data are derived and should therefore be considered as "
                              "approximate\r\n") +
                      c.note);
        restart();
    }
}

TEST_F(MonthView, PortNameCutToTenCharactersInTheListWholeInTheRows) {
    struct Case {
        const char* name;
        const char* line;
        const char* row;
    } cases[] = {
        {"Newport Burrishoole", "Newport Bu", "Newport Burrishoole"},
        {"Dover", "Dover", "Dover"},
        {"Dover                              ", "Dover     ", "Dover"},  // after a port step
        {"\xC3\x8Ele d'Ouessant", "\xC3\x8Ele d'Oues", "\xC3\x8Ele d'Ouessant"},
    };
    frmtidewyn& w = open(2024, 7, 5);
    for (const Case& c : cases) {
        State().PortName = c.name;
        w.mnumonth.Click();
        EXPECT_EQ(w.monthspredictions->List(2), c.line);
        EXPECT_EQ(State().MonthRowsA[0], c.row);
    }
}

TEST_F(MonthView, TwiceInARowGivesTheSameMonth) {
    frmtidewyn& w = open(2024, 7, 5);
    SharedState& s = State();
    w.mnumonth.Click();
    std::vector<std::string> lines = testing_support::ListLines(*w.monthspredictions);
    std::vector<std::string> a = s.MonthRowsA, b = s.MonthRowsB, table = s.MonthTextTable;
    w.mnumonth.Click();
    EXPECT_EQ(testing_support::ListLines(*w.monthspredictions), lines);
    EXPECT_EQ(s.MonthRowsA, a);
    EXPECT_EQ(s.MonthRowsB, b);
    EXPECT_EQ(s.MonthTextTable, table);
}

TEST_F(MonthView, MainWindowEndsOnTheSelectedDay) {
    frmtidewyn& w = open(2024, 3, 5);
    SharedState& s = State();
    const std::string dayList = w.daystide1->Caption(), date = w.tidedatebox->Caption();
    const std::vector<std::string> events = dayViewEvents();
    const double sunrise = s.SunriseTime, sunset = s.SunsetTime;
    s.TimeNowHours = 0;  // the clock time is read again
    w.mnumonth.Click();

    EXPECT_EQ(w.daystide1->Caption(), dayList);
    EXPECT_EQ(w.tidedatebox->Caption(), date);
    EXPECT_EQ(dayViewEvents(), events);
    EXPECT_EQ(s.DayText[2], "Date : 5/3/2024");
    EXPECT_EQ(s.SunriseTime, sunrise);
    EXPECT_EQ(s.SunsetTime, sunset);
    EXPECT_EQ(testing_support::DashesAt(w.Picture1->PersistentCommands(), sunrise), 25);
    EXPECT_EQ(testing_support::DashesAt(w.Picture1->PersistentCommands(), sunset), 25);
    EXPECT_EQ(w.timeval->Caption(), "13:50");
    EXPECT_EQ(s.SelectedDayOfYear, 65);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(MonthView, LeavesTheLayersView) {
    frmtidewyn& w = open(2024, 7, 5);
    w.mnuLayersShow.Click();
    ASSERT_EQ(State().LayersMode, 1);
    w.mnumonth.Click();
    EXPECT_EQ(State().LayersMode, 0);
    EXPECT_FALSE(w.mnuLayersShow.Checked());
    EXPECT_FALSE(w.chkM2->isVisibleTo(&w));
    EXPECT_EQ(w.Picture1->BackColor(), kWhite);
    EXPECT_TRUE(w.monthspredictions->isVisibleTo(&w));
    EXPECT_GT(testing_support::DashesAt(w.Picture1->PersistentCommands(), State().SunriseTime), 0);
}

// The month outputs compute the month again when it was computed for another state.
TEST_F(MonthView, KeyTellsWhetherTheMonthIsStillCurrent) {
    frmtidewyn& w = open(2024, 7, 30);
    SharedState& s = State();
    EXPECT_FALSE(MonthViewIsCurrent());
    w.mnumonth.Click();
    EXPECT_TRUE(MonthViewIsCurrent());
    EXPECT_EQ(s.MonthView.CurrentPort, 77);
    EXPECT_EQ(s.MonthView.Month, 7);

    w.Nextday->click();  // 31 July: the list stays on show, and still current
    EXPECT_TRUE(MonthViewIsCurrent());
    const int lines = w.monthspredictions->ListCount();
    w.Nextday->click();  // 1 August: the list stays, listing July
    EXPECT_FALSE(MonthViewIsCurrent());
    EXPECT_TRUE(w.monthspredictions->isVisibleTo(&w));
    EXPECT_EQ(w.monthspredictions->ListCount(), lines);
    w.Previousday->click();
    EXPECT_TRUE(MonthViewIsCurrent());

    s.ApplySummerTime = true;
    EXPECT_FALSE(MonthViewIsCurrent());
    s.ApplySummerTime = false;
    s.OutputOption = 1.0f;
    EXPECT_FALSE(MonthViewIsCurrent());
    s.OutputOption = 3.0f;
    EXPECT_TRUE(MonthViewIsCurrent());

    ClearMonthTable();
    EXPECT_FALSE(MonthViewIsCurrent());
    w.mnumonth.Click();
    w.mnuNextPort.Click();  // another port: the list is cleared
    EXPECT_FALSE(MonthViewIsCurrent());
    EXPECT_EQ(w.monthspredictions->ListCount(), 0);
}

// Every way that leaves the month it shows forgets all of it: the list emptied and hidden, and
// the month's tables that the outputs read cleared with it.
TEST_F(MonthView, EveryWayOutForgetsTheListAndTheTables) {
    struct Case {
        const char* name;
        std::function<void(frmtidewyn&)> act;
    } cases[] = {
        {"next port", [](frmtidewyn& w) { w.mnuNextPort.Click(); }},
        {"port picker",
         [](frmtidewyn&) {
             frmselectport& d = testing_support::OpenPortPicker();
             testing_support::ClickLine(d.portlist, 2);
             d.selportok->click();
         }},
        {"date dialog",
         [this](frmtidewyn& w) {
             withModal<Frmtimdat>(w.mnutidedate, [](Frmtimdat& d) {
                 d.daylist->SetListIndex(9);
                 d.date1ok->click();
             });
         }},
        {"program options",
         [this](frmtidewyn& w) {
             withModal<frmoutoptions>(w.mnuoutputoptions, [](frmoutoptions& d) { d.optionsok->click(); });
         }},
        {"port notes",
         [this](frmtidewyn& w) {
             withModal<frmChartdepth>(w.mnuchartdepth, [](frmChartdepth& d) { d.cdclose->click(); });
         }},
        {"layers on and off",
         [](frmtidewyn& w) {
             w.mnuLayersShow.Click();
             w.mnuLayersShow.Click();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmtidewyn& w = open(2024, 7, 5);
        w.mnumonth.Click();
        ASSERT_TRUE(MonthViewIsCurrent());
        ASSERT_NE(State().MonthText(1, 1, 1), "");
        c.act(w);
        EXPECT_EQ(w.monthspredictions->ListCount(), 0);
        EXPECT_FALSE(w.monthspredictions->isVisibleTo(&w));
        EXPECT_EQ(State().MonthText(1, 1, 1), "");
        EXPECT_EQ(State().MonthView.Year, 0);
        EXPECT_TRUE(dialogs->messages.empty());
        restart();
    }
}

TEST_F(MonthView, UnreadableAreaFileGivesOneMessageAndNoMonth) {
    frmtidewyn& w = open(2024, 7, 5);
    SharedState& s = State();
    s.AreaFilePath = home.file("gone.hc");
    w.mnumonth.Click();
    EXPECT_EQ(dialogs->messages.size(), 1u);
    EXPECT_FALSE(w.monthspredictions->isVisibleTo(&w));
    EXPECT_EQ(w.monthspredictions->ListCount(), 0);
    EXPECT_EQ(s.MonthRowsA.size(), 1u);
    EXPECT_EQ(s.MonthText(1, 1, 1), "");
    EXPECT_FALSE(MonthViewIsCurrent());
}
