// The main window's read-outs: the clock time's height, the mouse cursor, the freeze, the title
// clock and the first-draw timer.
#include <cmath>
#include <memory>

#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/dayview.h"
#include "engine/environment.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/timetext.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"

using namespace engine;
using namespace platform;

void frmtidewyn::ShowHeightNow() {
    SharedState& s = State();
    double t = s.TimeNowHours;
    int row = RowOfTime(t);
    lblrate->SetCaption("");
    s.ReadoutHeight = s.DayCurve(2, row);
    s.ReadoutTime = s.DayCurve(1, row);
    timeval->SetCaption(HoursToHHMM(s.DayCurve(1, row)));
    hiteval->SetCaption(Format(s.DayCurve(2, row), "#,#0.0;;;"));
    // The now-line only on the moment's own day.
    if (ShowsDayOf(MomentOf(s.TimeNowInstant))) Picture1->Line(t, s.ScaleTop, t, s.ScaleBottom, kRed);
}

void frmtidewyn::TakeClockTime() { State().TimeNowInstant = UtcNow(); }

void frmtidewyn::Picture1_MouseMove(int, int, double x, double) {
    SharedState& s = State();
    if (s.ReadoutFrozen != 0) return;
    x = std::clamp(x, 0.0, 24.0);
    RiseFall rf = RiseFallAt(s.DayCurve, s.CurvePoints, x);
    s.ReadoutTime = s.DayCurve(1, rf.Previous);
    s.ReadoutHeight = s.DayCurve(2, rf.Previous);
    timeval->SetCaption(HoursToHHMM(s.DayCurve(1, rf.Row)));
    if (s.LayersMode == 0) {
        hiteval->SetCaption(Format(s.DayCurve(2, rf.Row), "#,#0.0;;;"));
        if (!rf.HasRate) return;
        Picture1->Cls();
        // A day without heights has no rate either: nothing to say.
        lblrate->SetCaption(!std::isfinite(rf.Rate)
                                ? ""
                                : std::string("(") + (rf.Rising ? "Rising" : "Falling") + " @ " +
                                      Format(rf.Rate, "0.00") + " Mtrs/Hr " + s.DepthNote + ")");
        Picture1->Line(x, s.ScaleTop, x, s.ScaleBottom, kRed);
        return;
    }
    if (!rf.HasRate) return;
    Picture1->Cls();
    Picture1->Line(x, s.ScaleTop, x, s.ScaleBottom, kRed);
    const int r = rf.Row;
    // The mean level is the record's Z0 plus the month's correction, both single precision: shown
    // with a single's seven digits, not the fifteen of their sum in double precision.
    lblHtZ0->SetCaption(CStrSingle(static_cast<float>(s.DayMeanLevel)));
    lblHtM2->SetCaption(Format(s.LayerM2(2, r), "0.00"));
    lblHtS2->SetCaption(Format(s.LayerS2(2, r), "0.00"));
    lblHtO1->SetCaption(Format(s.LayerO1(2, r), "0.00"));
    lblHtK1->SetCaption(Format(s.LayerK1(2, r), "0.00"));
    lblHtf4->SetCaption(Format(s.LayerF4(2, r), "0.00"));
    lblHtf6->SetCaption(Format(s.LayerF6(2, r), "0.00"));
    double sum = s.DayMeanLevel + s.LayerM2(2, r) + s.LayerS2(2, r) + s.LayerO1(2, r) + s.LayerK1(2, r) +
                 s.LayerF4(2, r) + s.LayerF6(2, r);
    lblSumHt->SetCaption(Format(sum, "0.00"));
    hiteval->SetCaption(Format(sum, "0.00"));
}

void frmtidewyn::Picture1_MouseDown(int, int, double, double) {
    SharedState& s = State();
    if (s.ReadoutFrozen == 0) {
        s.ReadoutFrozen = 1;
        lblmousestatus->SetCaption("(Click mouse to unfreeze)");
    } else {
        s.ReadoutFrozen = 0;
        lblmousestatus->SetCaption("(Click mouse to freeze)");
    }
}

void frmtidewyn::Timer1_Timer() {
    ++TimerTicks;
    if (TimerTicks == 2) {
        // The curve view's redraw draws the sun marks and labels itself: once, not twice over.
        // The layers view has none of its own.
        ShowHeightNow();
        DrawTideCurve();
        if (State().LayersMode == 1) DrawSunTimes();
    }
    if (TimerTicks == 10000) TimerTicks = 3;
}

void frmtidewyn::Timer2_Timer() {
    SharedState& s = State();
    // The clock's moment on the port's tables, its day as well as its time: read on the
    // displayed day's curve when that is its day, else on its own day's curve, which leaves the
    // displayed day's tables alone.
    const TableMoment now = MomentOf(UtcNow());
    const double t = now.Minutes / 60.0;
    const CurveTable* curve = &s.DayCurve;
    int points = s.CurvePoints;
    std::unique_ptr<CurveTable> ownDay;
    if (!ShowsDayOf(now)) {
        ownDay = std::make_unique<CurveTable>();
        // A day that cannot be computed has no heights, so the title says "n/a"; the reason is
        // told by the recompute when the user shows that day.
        (void)PortDayCurve(now.Date, s.ApplySummerTime && IsSummerTime(now.Date), *ownDay);
        curve = ownDay.get();
        points = kDayTideCurvePoints;
    }
    RiseFall rf = RiseFallAt(*curve, points, t);
    s.ReadoutHeight = (*curve)(2, rf.Previous);
    if (!rf.HasRate) return;
    const std::string start =
        std::string(kProgramCaption) + kVersionText + "     [Time Now " + HoursToHHMM(t) + " : Height = ";
    const double height = (*curve)(2, rf.Row);
    if (!std::isfinite(height) || !std::isfinite(rf.Rate)) {
        SetCaption(start + "n/a]");  // a day that could not be computed
        return;
    }
    SetCaption(start + Format(height, "#,#0.0;;;") + "M. : " + (rf.Rising ? "Rising" : "Falling") + " @ " +
               Format(rf.Rate, "0.0") + " Mtrs/Hr]");
}

void frmtidewyn::hitelabel_Click() {
    Nextday->setVisible(true);
    Previousday->setVisible(true);
    EnableMainMenus();
}

void frmtidewyn::hiteval_Click() { hitelabel_Click(); }
