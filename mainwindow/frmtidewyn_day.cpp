// The main window's recompute of the displayed day and its day and port steps.
#include <algorithm>
#include <cmath>

#include "engine/calendar.h"
#include "engine/currentport.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/dayview.h"
#include "engine/highlow.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "engine/sun.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmtidewyn.h"
#include "output/notes.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

bool frmtidewyn::SummerFlag() const {
    const SharedState& s = State();
    return s.ApplySummerTime && IsSummerTime(s.SelectedDate);
}

TableMoment frmtidewyn::MomentOf(double utcInstant) const {
    const SharedState& s = State();
    return TableMomentOf(utcInstant, s.PortZoneHours, s.ApplySummerTime);
}

bool frmtidewyn::ShowsDayOf(const TableMoment& moment) const {
    return Int(State().SelectedDate) == moment.Date;
}

void frmtidewyn::CalcSunTimesForDay(bool summer) {
    SharedState& s = State();
    if (!std::isfinite(s.PortLatitude) || !std::isfinite(s.PortLongitude)) {
        // A damaged position: no sun times, no marks.
        sunriseOccurs_ = sunsetOccurs_ = false;
        return;
    }
    SunTimes t = CalcSunTimes(s.PortLatitude, s.PortLongitude, s.SelectedDay, s.SelectedMonth, s.SelectedYear,
                              s.PortZoneHours, summer);
    s.SunriseTime = t.Sunrise.Hours;
    s.SunsetTime = t.Sunset.Hours;
    sunriseOccurs_ = t.Sunrise.Occurs;
    sunsetOccurs_ = t.Sunset.Occurs;
}

void frmtidewyn::RecomputeDay() {
    SharedState& s = State();
    bool summer = SummerFlag();
    // The clock's moment on this table: its own time on its own day; on another day the
    // instant in that day's basis (the port's zone, an hour later when its times are adjusted).
    const TableMoment now = MomentOf(s.TimeNowInstant);
    s.TimeNowHours =
        (ShowsDayOf(now) ? now.Minutes : TableClockMinutes(s.TimeNowInstant, s.PortZoneHours, summer)) / 60.0;
    int16_t record = 0;
    int points = 0;
    // Once for each change that meets a day it cannot compute: the curve, the day list and the
    // read-outs then show no heights.
    TellFailure("The tide cannot be computed", CalcDayTide(record, s.SelectedDayOfYear, points, summer));
    int eventPoints = 0;
    int16_t count = 0;
    FindHighLowWaters(eventPoints, count);
    daystide1->SetCaption(ShowDayTides(count));
    // The sun times first, so that the marks DrawTideCurve draws into the picture are the new
    // day's; drawing them a second time as temporary marks would add nothing.
    CalcSunTimesForDay(summer);
    DrawTideCurve();
    ShowHeightNow();
}

void frmtidewyn::WriteSummerTimeNote(NoteWording wording) {
    bool longForm =
        wording == NoteWording::Long || (wording == NoteWording::BySetting && State().UseSummerTime);
    std::string second = output::TimesLine(longForm, SummerFlag());
    disclaimer->SetCaption(
        "Heights in Metres, all data are derived and should therefore be considered as approximate"
        "\r\n" +
        second);
}

void frmtidewyn::EnableMainMenus() {
    mnutides.SetEnabled(true);
    mnuCalc.SetEnabled(true);
    mnuconfig.SetEnabled(true);
}

void frmtidewyn::ShowDateCaption() {
    tidedatebox->SetCaption("Date   : " + FormatDate(State().SelectedDate, "dd mmmm yyyy (dddd)"));
}

void frmtidewyn::StepDay(int days) {
    SharedState& s = State();
    SetSelectedDate(s.SelectedDate + days);
    ShowDateCaption();
    RecomputeDay();
    WriteSummerTimeNote();
    Timer2_Timer();
}

void frmtidewyn::Nextday_Click() {
    EnableMainMenus();
    StepDay(1);
}

void frmtidewyn::Previousday_Click() {
    daystide1->SetCaption("");
    StepDay(-1);
}

// The new port becomes current only once its record was read and the settings file holds it:
// a failed step leaves the window, the state and the settings file as they were.
void frmtidewyn::StepPort(int step) {
    SharedState& s = State();
    SettingsRecord settings;
    FileResult read = ReadSettingsFile(settings);
    // A settings file gone since the load: the settings in use, written back by the step.
    if (read.status == FileStatus::Missing) settings = s.Settings;
    else if (!read.recordRead()) {
        TellFailure("The port cannot be changed", read);
        return;
    }
    const std::string area = Trim(settings.AreaPath);
    const long n = PortCount(area);
    const int16_t port = PortWithin(s.CurrentPort + step, n);
    PortRecord record;
    // An empty area file has nothing to step through; a missing one says why.
    FileResult r = n < 1 && FileLength(area) == 0 ? FileResult{FileStatus::PastEnd, area + " holds no ports"}
                                                  : ReadPortRecord(area, port, record);
    if (!r.recordRead()) {
        TellFailure("The port cannot be changed", r);
        return;
    }
    FileResult w = UpdateSettingsFile([&](SettingsRecord& rec) { rec.PortIndex = static_cast<float>(port); });
    if (!w.saved()) {
        TellFailure("The port cannot be changed, as the settings cannot be saved", w);
        return;
    }
    // Saved, with only the folder's sync failed: the program goes on with what the file holds.
    TellFailure("", w);
    s.ChosenAreaFile = area;
    s.CurrentPort = port;
    // A damaged record still names its port; the recompute tells what is wrong with it.
    ShowPort(record, false);  // the name as stored, 35 characters
    UnloadIfLoaded<frmconfig>();
}

void frmtidewyn::ShowPort(const PortRecord& port, bool trimName) {
    TakePortRecord(port, trimName);
    portbox->SetCaption("Port    : " + State().PortName);
    RecomputeDay();
    ForgetMonthView();
    Timer2_Timer();
}

void frmtidewyn::mnuNextPort_Click() { StepPort(1); }

void frmtidewyn::mnuPrevPort_Click() { StepPort(-1); }
