// The main window's recompute of the displayed day and its day and port steps.
#include <algorithm>
#include <cmath>

#include "engine/calendar.h"
#include "engine/currentport.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/highlow.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "engine/sun.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

bool frmtidewyn::SummerFlag() const {
    const SharedState& s = State();
    return s.ApplySummerTime && IsSummerTime(s.SelectedDate);
}

void frmtidewyn::CalcSunTimesForDay(bool summer) {
    SharedState& s = State();
    if (!std::isfinite(s.PortLatitude) || !std::isfinite(s.PortLongitude)) {
        // A damaged position: no sun times, no marks.
        sunriseOccurs_ = sunsetOccurs_ = false;
        return;
    }
    SunTimes t =
        CalcSunTimes(s.PortLatitude, s.PortLongitude, s.SelectedDay, s.SelectedMonth, s.SelectedYear, summer);
    s.SunriseTime = t.Sunrise.Hours;
    s.SunsetTime = t.Sunset.Hours;
    sunriseOccurs_ = t.Sunrise.Occurs;
    sunsetOccurs_ = t.Sunset.Occurs;
}

void frmtidewyn::RecomputeDay() {
    SharedState& s = State();
    bool summer = SummerFlag();
    int16_t record = 0;
    int points = 0;
    // Once for each change that meets a day it cannot compute: the curve, the day list and the
    // read-outs then show no heights.
    FileResult r = CalcDayTide(record, s.SelectedDayOfYear, points, summer);
    if (!r.ok()) MsgBox("The tide cannot be computed: " + r.message + ".", kOkOnly | kExclamation);
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
    std::string second = SummerFlag() ? "Times are from midnight local time - ADJUSTED FOR SUMMER TIME"
                         : longForm   ? "Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION"
                                      : "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION";
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

void frmtidewyn::StepPort(int step) {
    SharedState& s = State();
    SettingsRecord settings;
    if (!ReadSettingsFile(settings).ok()) settings = s.Settings;
    s.ChosenAreaFile = Trim(settings.AreaPath);
    long n = PortCount(s.ChosenAreaFile);
    if (n < 1) return;  // an empty or missing area file: nothing to step through
    s.CurrentPort = PortWithin(s.CurrentPort + step, n);
    LoadCurrentPort(s.ChosenAreaFile, false);  // the name as stored, 35 characters
    portbox->SetCaption("Port    : " + s.PortName);
    FileResult w =
        UpdateSettingsFile([&](SettingsRecord& rec) { rec.PortIndex = static_cast<float>(s.CurrentPort); });
    if (!w.ok()) MsgBox("The settings cannot be saved: " + w.message, kOkOnly | kExclamation);
    RecomputeDay();
    monthspredictions->Clear();
    monthspredictions->setVisible(false);
    Timer2_Timer();
    UnloadIfLoaded<frmconfig>();
}

void frmtidewyn::mnuNextPort_Click() { StepPort(1); }

void frmtidewyn::mnuPrevPort_Click() { StepPort(-1); }
