// The main window's month view: every high and low water of the selected date's month, in the
// list monthspredictions and in the month tables that the month outputs read.
#include <QFontMetrics>
#include <QScrollBar>
#include <QString>
#include <algorithm>

#include "engine/calendar.h"
#include "engine/currentport.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/highlow.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/tidemonth.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "output/frmriseresults.h"
#include "output/frmsunrise.h"

using namespace engine;
using namespace platform;

namespace {
// The list's lines are longer than the designed column is wide at today's screen fonts: the
// list takes the free width up to the window's edge, and its font is made smaller, down to
// 7 points, until the longest line fits.
void fitToLines(ListBox& list, int designWidth, int rightEdge) {
    SetWidthOf(&list, std::max(designWidth, rightEdge - LeftOf(&list)));
    QFont font = list.parentWidget()->font();
    const int room = list.width() - 2 * list.frameWidth() - list.verticalScrollBar()->sizeHint().width() - 6;
    auto widest = [&](const QFont& f) {
        QFontMetrics m(f);
        int w = 0;
        for (int i = 0; i < list.ListCount(); ++i)
            w = std::max(w, m.horizontalAdvance(QString::fromStdString(list.List(i))));
        return w;
    };
    while (widest(font) > room && font.pointSizeF() > 7.0) font.setPointSizeF(font.pointSizeF() - 0.5);
    list.setFont(font);
    list.setHorizontalScrollBarPolicy(widest(font) <= room ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void appendRow(SharedState& s, const std::string& a, const std::string& b) {
    s.MonthRowsA.push_back(a);
    s.MonthRowsB.push_back(b);
}
}  // namespace

// Again at every new size of the window: from the design width to the window's new edge.
void frmtidewyn::FitMonthList() {
    fitToLines(*monthspredictions, kMonthListWidth, WidthOf(Client()) - 3 * kTwipsPerPixel);
}

void frmtidewyn::mnumonth_Click() {
    SharedState& s = State();
    platform::UnloadIfLoaded<Frmsunrise>();
    platform::UnloadIfLoaded<Frmriseresults>();
    platform::UnloadIfLoaded<frmshowconf>();
    Picture1->SetBackColor(kWhite);
    monthspredictions->setVisible(false);
    SetHeightOf(monthspredictions,
                TopOf(Picture1) + HeightOf(Picture1) - TopOf(monthspredictions) + HeightOf(Nextday) / 2);
    ClearMonthTable();
    s.MonthRowsA.assign(1, "");
    s.MonthRowsB.assign(1, "");
    mnuLayersShow.SetChecked(false);
    s.LayersMode = 0;
    HideLevelControls();

    const int year = s.SelectedYear, month = s.SelectedMonth;
    monthspredictions->Clear();
    monthspredictions->AddItem(" Months");
    monthspredictions->AddItem("Prediction ");
    monthspredictions->AddItem(LeftChars(s.PortName, 10));
    monthspredictions->AddItem(Str(month) + "/" + Str(year));
    const bool summerMonth = MonthTimeBasis(year, month, s.UseSummerTime != 0).FirstDayAdjusted;
    monthspredictions->AddItem(summerMonth ? "(Summer Times)" : "(Standard Times)");

    SetSelectedDate(s.SelectedDate);
    const std::string monthName = MonthInfo(s.SelectedYear, s.SelectedMonth).MonthName;
    s.MonthRowsA[0] = LineText(s.PortName);  // the name's row of the month's copy and save
    s.MonthRowsB[0] = monthName + " " + std::to_string(s.SelectedYear);

    // Each day with its own summer-time flag, by the day view's rule, so that a month with a
    // change of clock shows every day as the day view does. A month that cannot be computed is
    // told by the selected day's recompute below.
    PortRecord record;
    std::optional<double> depth;
    MonthTides tides;
    const bool computed =
        ReadCurrentPortDay(s.SelectedYear, record, depth).ok() &&
        ComputeMonthTides(record, s.SelectedYear, s.SelectedMonth, s.ApplySummerTime, depth, tides).ok();
    if (computed) {
        const std::vector<MonthDayTexts> days = MonthTideTexts(tides);
        for (int n = 1; n <= static_cast<int>(days.size()); ++n) {
            const MonthDayTexts& day = days[static_cast<size_t>(n - 1)];
            appendRow(s, "", "");
            appendRow(s, day.Day, day.Weekday);
            int k = 0;
            for (const auto& [time, height] : day.Tides) {
                ++k;
                s.MonthText(n, 1, k) = time;
                s.MonthText(n, 2, k) = height;
                appendRow(s, time, height);
            }
            s.MonthText(n, 3, 1) = Str(k);
        }
        for (const std::string& line : MonthTideLines(s.MonthRowsA, s.MonthRowsB))
            monthspredictions->AddItem(line);
    }

    // The selected day again: curve, day list, sun marks and the read-out of the clock time.
    TakeClockTime();
    RecomputeDay();

    if (!computed) {
        // Half a month is no month: nothing shown, nothing kept for the outputs.
        monthspredictions->Clear();
        ClearMonthTable();
        s.MonthRowsA.assign(1, "");
        s.MonthRowsB.assign(1, "");
        return;
    }
    s.MonthView = CurrentMonthViewKey();
    FitMonthList();
    SetMousePointer(MousePointer::Default);
    platform::SetPointer(Picture1, MousePointer::Cross);
    monthspredictions->setVisible(true);
    WriteSummerTimeNote(NoteWording::Long);
}
