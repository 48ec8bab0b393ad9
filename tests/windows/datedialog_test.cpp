// The date dialog "Date Entry": its lists and picker, both accept buttons, both cancels, and
// the main window's day after each.
#include <QApplication>
#include <algorithm>
#include <functional>

#include "engine/calendar.h"
#include "engine/sun.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"
#include "window_support.h"

using namespace engine;
using namespace platform;

namespace {

const char* const kAdjusted = "Times are from midnight local time - ADJUSTED FOR SUMMER TIME";
const char* const kWithout = "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION";
// The picker's OK words the note by the setting: the long form while summer time is on.
const char* const kWithoutLong = "Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION";

std::string secondLine(const Label& l) { return l.Caption().substr(l.Caption().find("\r\n") + 2); }

// A date chosen in the lists, by the indexes a user clicks: year 0 is the current year.
struct ListChoice {
    int year, month, day;
};
void choose(Frmtimdat& d, ListChoice c) {
    d.yearlist->SetListIndex(c.year);
    d.monthlist->SetListIndex(c.month);
    d.daylist->SetListIndex(c.day);
}

std::function<void(Frmtimdat&)> listOk(ListChoice c) {
    return [c](Frmtimdat& d) {
        choose(d, c);
        d.date1ok->click();
    };
}

std::function<void(Frmtimdat&)> pickerOk(double date) {
    return [date](Frmtimdat& d) {
        d.DTPicker->Pick(date);
        d.cmdOk->click();
    };
}
}  // namespace

// Today is Tuesday 5 March 2024, 13:47.
class DateDialog : public testing_support::WindowTest {
protected:
    // Opens the dialog from the Date menu and acts in it as the user; the act closes it.
    void runDialog(frmtidewyn& w, std::function<void(Frmtimdat&)> act) {
        SetModalRunner([act](Form& f) {
            auto& d = static_cast<Frmtimdat&>(f);
            ASSERT_TRUE(d.isVisible());
            act(d);
        });
        w.mnutidedate.Click();
        SetModalRunner({});
    }
};

TEST_F(DateDialog, OpensOnTodayWhateverDateIsShown) {
    frmtidewyn& w = open();
    for (int i = 0; i < 40; ++i) w.Nextday->click();
    runDialog(w, [](Frmtimdat& d) {
        EXPECT_EQ(d.Caption(), "Date Entry");
        EXPECT_EQ(d.daylist->ListCount(), 31);
        EXPECT_EQ(d.daylist->ListIndex(), 4);
        EXPECT_EQ(d.daylist->Text(), " 5  ");
        ASSERT_EQ(d.monthlist->ListCount(), 12);
        EXPECT_EQ(d.monthlist->List(0), "January");
        EXPECT_EQ(d.monthlist->List(11), "December");
        EXPECT_EQ(d.monthlist->ListIndex(), 2);
        ASSERT_EQ(d.yearlist->ListCount(), 51);
        EXPECT_EQ(d.yearlist->List(0), " 2024  ");
        EXPECT_EQ(d.yearlist->List(50), " 2074  ");
        EXPECT_EQ(d.yearlist->ListIndex(), 0);

        EXPECT_EQ(d.selectedday->Text(), "5");
        EXPECT_EQ(d.selectedmonth->Text(), "March");
        EXPECT_EQ(d.selectedyear->Text(), "2024");
        EXPECT_EQ(d.PredictedDay->Text(), "(Tuesday)");
        EXPECT_EQ(d.Text3->Text(), "Day         Month               Year");
        EXPECT_EQ(d.DTPicker->Value(), DateSerial(2024, 3, 5));
        EXPECT_EQ(d.txtDayName->Text(), "(Tuesday)");
        EXPECT_EQ(d.Label1->Caption(),
                  "Selected a date by selecting the down arrow.\r\n"
                  "then clicking on a date.\r\nChange months ");
        for (TextBox* box :
             {d.selectedday, d.selectedmonth, d.selectedyear, d.PredictedDay, d.txtDayName, d.Text3})
            EXPECT_TRUE(box->isReadOnly());
        EXPECT_TRUE(d.DTPicker->isVisibleTo(&d));
        EXPECT_GE(d.Height(), TopOf(d.cmdOk) + HeightOf(d.cmdOk));
        d.datecancel->click();
    });
}

TEST_F(DateDialog, DayListFollowsTheMonthAndYear) {
    struct Step {
        const char* what;
        ListBox* Frmtimdat::*list;
        int index;
        int days, dayIndex;
        const char *selectedday, *selectedyear, *weekday;
    } steps[] = {
        {"31 March", &Frmtimdat::daylist, 30, 31, 30, "31", "2024", "(Sunday)"},
        {"February 2024", &Frmtimdat::monthlist, 1, 29, 28, " 29  ", "2024", "(Thursday)"},
        {"2025", &Frmtimdat::yearlist, 1, 28, 27, " 28  ", " 2025  ", "(Friday)"},
        {"2028", &Frmtimdat::yearlist, 4, 29, 27, " 28  ", " 2028  ", "(Monday)"},
        {"day 29", &Frmtimdat::daylist, 28, 29, 28, "29", " 2028  ", "(Tuesday)"},
        {"April", &Frmtimdat::monthlist, 3, 30, 28, " 29  ", " 2028  ", "(Saturday)"},
    };
    frmtidewyn& w = open();
    runDialog(w, [&](Frmtimdat& d) {
        for (const Step& s : steps) {
            SCOPED_TRACE(s.what);
            (d.*s.list)->SetListIndex(s.index);
            EXPECT_EQ(d.daylist->ListCount(), s.days);
            EXPECT_EQ(d.daylist->ListIndex(), s.dayIndex);
            EXPECT_EQ(d.selectedday->Text(), s.selectedday);
            EXPECT_EQ(d.selectedyear->Text(), s.selectedyear);
            EXPECT_EQ(d.PredictedDay->Text(), s.weekday);
        }
        d.Command1->click();
    });
}

TEST_F(DateDialog, ListOkMakesTheDateTheMainWindowsDay) {
    struct Case {
        ListChoice choice;
        double date;
        int dayOfYear;
        const char* caption;
    } cases[] = {
        {{1, 0, 0}, DateSerial(2025, 1, 1), 1, "Date   : 01 January 2025 (Wednesday)"},
        {{4, 11, 30}, DateSerial(2028, 12, 31), 366, "Date   : 31 December 2028 (Sunday)"},
        {{0, 1, 28}, DateSerial(2024, 2, 29), 60, "Date   : 29 February 2024 (Thursday)"},
    };
    frmtidewyn& w = open();
    SharedState& s = State();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        runDialog(w, [&](Frmtimdat& d) {
            choose(d, c.choice);
            d.selectedyear->SetText("1999");  // the year comes from the list, not the box
            d.date1ok->click();
        });
        EXPECT_FALSE(IsLoaded<Frmtimdat>());
        EXPECT_EQ(s.SelectedDate, c.date);
        EXPECT_EQ(s.SelectedDayOfYear, c.dayOfYear);
        const DateParts p = SplitDate(c.date);
        EXPECT_EQ(s.SelectedYear, p.year);
        EXPECT_EQ(s.SelectedMonth, p.month);
        EXPECT_EQ(s.SelectedDay, p.day);
        EXPECT_EQ(w.tidedatebox->Caption(), c.caption);
        EXPECT_EQ(s.DayText[2], "Date : " + std::to_string(p.day) + "/" + std::to_string(p.month) + "/" +
                                    std::to_string(p.year));
        EXPECT_EQ(w.daystide1->Caption().substr(0, 13), "  Predictions");
        // The sun marks drawn are the new date's.
        SunTimes sun =
            CalcSunTimes(s.PortLatitude, s.PortLongitude, p.day, p.month, p.year, s.PortZoneHours, false);
        EXPECT_EQ(s.SunriseTime, sun.Sunrise.Hours);
        EXPECT_EQ(testing_support::DashesAt(w.Picture1->PersistentCommands(), sun.Sunrise.Hours), 25);
        EXPECT_EQ(testing_support::DashesAt(w.Picture1->PersistentCommands(), sun.Sunset.Hours), 25);
    }
}

// Both OKs empty the month's sun tables (rows and columns from 1) and the month view.
TEST_F(DateDialog, BothOksClearTheSunTablesAndTheMonthView) {
    const std::function<void(Frmtimdat&)> oks[] = {listOk({0, 7, 0}), pickerOk(DateSerial(2024, 8, 1))};
    frmtidewyn& w = open();
    SharedState& s = State();
    for (const auto& ok : oks) {
        for (int day = 0; day <= 31; ++day)
            for (int col = 0; col <= 8; ++col) {
                s.SunTable(col, day) = "x";
                s.SunValues(col, day) = 1;
            }
        s.SunTableYear = 2024;
        s.SunTableMonth = 3;
        w.mnumonth.Click();
        ASSERT_GT(w.monthspredictions->ListCount(), 10);
        runDialog(w, ok);
        EXPECT_FALSE(w.monthspredictions->isVisibleTo(&w));
        EXPECT_EQ(w.monthspredictions->ListCount(), 0);
        for (int day = 0; day <= 31; ++day)
            for (int col = 0; col <= 8; ++col) {
                const bool kept = day == 0 || col == 0;
                EXPECT_EQ(s.SunTable(col, day), kept ? "x" : "") << col << "," << day;
                EXPECT_EQ(s.SunValues(col, day), kept ? 1 : 0) << col << "," << day;
            }
        EXPECT_EQ(s.SunTableYear, 0);
        EXPECT_EQ(s.SunTableMonth, 0);
    }
}

// The summer-time note says what the recompute did, in both groups alike; only the wording of
// the unadjusted line differs between them.
TEST_F(DateDialog, SummerNoteByTheOneRule) {
    struct Case {
        const char* what;
        bool summer;
        std::function<void(Frmtimdat&)> act;
        const char* note;
    } cases[] = {
        {"list, 15 June", true, listOk({0, 5, 14}), kAdjusted},
        {"list, 15 January 2025", true, listOk({1, 0, 14}), kWithout},
        {"picker, 31 March", true, pickerOk(DateSerial(2024, 3, 31)), kAdjusted},
        {"picker, 30 March", true, pickerOk(DateSerial(2024, 3, 30)), kWithoutLong},
        {"picker, 27 October", true, pickerOk(DateSerial(2024, 10, 27)), kWithoutLong},
        {"picker, 15 June, summer time off", false, pickerOk(DateSerial(2024, 6, 15)), kWithout},
    };
    frmtidewyn& w = open();
    SharedState& s = State();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s.UseSummerTime = c.summer;
        s.ApplySummerTime = c.summer;
        runDialog(w, c.act);
        EXPECT_EQ(secondLine(*w.disclaimer), c.note);
        EXPECT_EQ(w.SummerFlag(), std::string(c.note) == kAdjusted);
        // The sun times carry the summer hour exactly when the note says so.
        const DateParts p = SplitDate(s.SelectedDate);
        const bool adjusted = std::string(c.note) == kAdjusted;
        SunTimes sun =
            CalcSunTimes(s.PortLatitude, s.PortLongitude, p.day, p.month, p.year, s.PortZoneHours, adjusted);
        EXPECT_EQ(s.SunriseTime, sun.Sunrise.Hours);
    }
}

TEST_F(DateDialog, CancelKeepsTheDateAndStillRedraws) {
    struct Case {
        const char* what;
        std::function<void(Frmtimdat&)> close;
    } cases[] = {
        {"list group's Cancel", [](Frmtimdat& d) { d.Command1->click(); }},
        {"picker group's Cancel", [](Frmtimdat& d) { d.datecancel->click(); }},
        {"close box", [](Frmtimdat& d) { d.close(); }},
    };
    frmtidewyn& w = open();
    SharedState& s = State();
    w.Nextday->click();
    const double shown = s.SelectedDate;
    const std::string caption = w.tidedatebox->Caption();
    const SunTimes sun = CalcSunTimes(s.PortLatitude, s.PortLongitude, 6, 3, 2024, s.PortZoneHours, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s.SunriseTime = 0;
        w.Picture1->Cls();
        runDialog(w, [&](Frmtimdat& d) {
            choose(d, {2, 6, 9});
            d.DTPicker->Pick(DateSerial(2030, 1, 1));
            c.close(d);
        });
        EXPECT_FALSE(IsLoaded<Frmtimdat>());
        EXPECT_EQ(s.SelectedDate, shown);
        EXPECT_EQ(s.SelectedDay, 6);
        EXPECT_EQ(w.tidedatebox->Caption(), caption);
        EXPECT_EQ(s.SunriseTime, sun.Sunrise.Hours);
        EXPECT_EQ(testing_support::DashesAt(w.Picture1->PersistentCommands(), sun.Sunrise.Hours), 25);
    }
}

TEST_F(DateDialog, PickerTracksItsDateAndResetsToToday) {
    frmtidewyn& w = open();
    SharedState& s = State();
    runDialog(w, [](Frmtimdat& d) {
        d.DTPicker->Pick(DateSerial(2024, 6, 15));
        EXPECT_EQ(d.txtDayName->Text(), "(Saturday)");
        EXPECT_EQ(d.DialogDate, DateSerial(2024, 6, 15));
        EXPECT_EQ(d.DialogYearStart, DateSerial(2024, 1, 1));
        d.DTPicker->SetValue(DateSerial(2025, 12, 25));  // typed
        EXPECT_EQ(d.txtDayName->Text(), "(Thursday)");
        d.cmdReset->click();
        EXPECT_EQ(d.DTPicker->Value(), DateSerial(2024, 3, 5));
        EXPECT_EQ(d.txtDayName->Text(), "(Tuesday)");
        d.DTPicker->Pick(DateSerial(2024, 2, 29));
        d.cmdOk->click();
    });
    EXPECT_EQ(s.SelectedDate, DateSerial(2024, 2, 29));
    EXPECT_EQ(s.SelectedDayOfYear, 60);
    EXPECT_EQ(s.SelectedDay, 29);
    EXPECT_EQ(s.SelectedMonth, 2);
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 29 February 2024 (Thursday)");
}

TEST_F(DateDialog, PickerOffersTheYearsTheEngineHandles) {
    frmtidewyn& w = open();
    SharedState& s = State();
    runDialog(w, [](Frmtimdat& d) {
        EXPECT_EQ(d.DTPicker->MinDate(), DateSerial(1901, 1, 1));
        EXPECT_EQ(d.DTPicker->MaxDate(), DateSerial(2099, 12, 31));
        d.DTPicker->Pick(DateSerial(2150, 7, 1));
        EXPECT_EQ(d.DTPicker->Value(), DateSerial(2099, 12, 31));
        d.cmdOk->click();
    });
    EXPECT_EQ(s.SelectedYear, 2099);
    EXPECT_EQ(s.SelectedDayOfYear, 365);
    EXPECT_TRUE(dialogs->messages.empty());
}
