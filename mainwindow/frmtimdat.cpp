#include "mainwindow/frmtimdat.h"

#include <QFrame>

#include "engine/calendar.h"
#include "engine/currentport.h"
#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/suntable.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"

using namespace engine;
using namespace platform;

namespace {
// The number an entry begins with, blanks skipped: " 5  " is 5.
int entryNumber(const std::string& entry) { return static_cast<int>(Val(entry)); }

std::string weekdayText(double date) { return "(" + FormatDate(date, "dddd") + ")"; }

TextBox* readOut(QWidget* parent, int left, int top, int width, int height, const std::string& text = "") {
    auto* t = new TextBox(parent, text);
    Place(t, left, top, width, height);
    t->SetLocked(true);
    t->setFocusPolicy(Qt::ClickFocus);  // the keyboard starts in the lists
    return t;
}

// One of the three lists, under the column heading.
ListBox* list(QWidget* parent, int left, int width) {
    auto* l = new ListBox(parent);
    Place(l, left, 1080, width, 2370);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return l;
}

CommandButton* button(QWidget* parent, const std::string& caption, int left, int top, int width, int height) {
    auto* b = new CommandButton(parent, caption);
    Place(b, left, top, width, height);
    return b;
}
}  // namespace

Frmtimdat::Frmtimdat() : Form("Date Entry") {
    // The list group, then the picker group below it; the window is tall enough for both.
    SetBorderStyle(BorderStyle::Fixed);
    SetWidth(4800);
    SetHeight(7140);
    QWidget* c = Client();
    selectedday = readOut(c, 360, 240, 420, 285);
    selectedmonth = readOut(c, 840, 240, 1320, 285);
    selectedyear = readOut(c, 2220, 240, 780, 285);
    PredictedDay = readOut(c, 3060, 240, 1380, 285);
    Text3 = readOut(c, 360, 720, 4080, 285, "Day         Month               Year");
    daylist = list(c, 360, 840);
    monthlist = list(c, 1320, 1620);
    yearlist = list(c, 3060, 1380);
    Command1 = button(c, "Cancel", 360, 3840, 1440, 375);
    date1ok = button(c, " O.K.", 3000, 3840, 1440, 375);

    auto* rule = new QFrame(c);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    Place(rule, 240, 4410, 4320, 30);

    Label1 = new Label(c, "Selected a date by clicking on the down arrow.");
    Place(Label1, 360, 4560, 4080, 720);
    DTPicker = new DatePicker(c);
    Place(DTPicker, 360, 5340, 2520, 375);
    DTPicker->SetRange(DateSerial(kFirstYear, 1, 1), DateSerial(kLastYear, 12, 31));
    txtDayName = readOut(c, 3060, 5340, 1380, 375);
    cmdReset = button(c, "Reset to Today", 1620, 5880, 1575, 375);
    datecancel = button(c, "Cancel", 360, 6480, 1440, 375);
    cmdOk = button(c, "OK", 3000, 6480, 1440, 375);

    // Esc cancels; Enter takes the list date, or in the picker the picker's date.
    SetCancelButton(datecancel);
    SetDefaultButton(date1ok);
    SetEnterButton(DTPicker, cmdOk);

    connect(daylist, &ListBox::Click, this, Handler([this] { daylist_Click(); }));
    connect(monthlist, &ListBox::Click, this, Handler([this] { monthlist_Click(); }));
    connect(yearlist, &ListBox::Click, this, Handler([this] { yearlist_Click(); }));
    connect(date1ok, &QPushButton::clicked, this, Handler([this] { date1ok_Click(); }));
    connect(Command1, &QPushButton::clicked, this, Handler([this] { Command1_Click(); }));
    connect(DTPicker, &DatePicker::CloseUp, this, Handler([this] { DTPicker_CloseUp(); }));
    connect(DTPicker, &DatePicker::Change, this, Handler([this] { DTPicker_Change(); }));
    connect(cmdReset, &QPushButton::clicked, this, Handler([this] { cmdReset_Click(); }));
    connect(cmdOk, &QPushButton::clicked, this, Handler([this] { cmdOk_Click(); }));
    connect(datecancel, &QPushButton::clicked, this, Handler([this] { datecancel_Click(); }));
}

void Frmtimdat::Form_Load() {
    if (IsLoaded<frmtidewyn>()) CentreOn(Get<frmtidewyn>());
    Label1->SetCaption(
        "Selected a date by selecting the down arrow.\r\nthen clicking on a date.\r\nChange months ");
    setPickerToToday();
    DialogDate = DateSerial(DTPicker->Year(), DTPicker->Month(), DTPicker->Day());
    txtDayName->SetText(weekdayText(DialogDate));
    DateAtLoad = State().SelectedDate;

    const double today = Int(Now());
    const DateParts t = SplitDate(today);
    fillDayList(DaysInMonth(t.year, t.month));
    selectedday->SetText(std::to_string(t.day));
    selectedmonth->SetText(FormatDate(today, "mmmm"));
    selectedyear->SetText(std::to_string(t.year));
    PredictedDay->SetText(weekdayText(today));
    for (int y = t.year; y < t.year + kYearsListed; ++y) yearlist->AddItem(" " + std::to_string(y) + "  ");
    for (int m = 1; m <= 12; ++m) monthlist->AddItem(FormatDate(DateSerial(t.year, m, 1), "mmmm"));

    // Selecting runs each list's click, as the user's click would.
    daylist->SetListIndex(t.day - 1);
    monthlist->SetListIndex(t.month - 1);
    yearlist->SetListIndex(0);

    const int d = entryNumber(daylist->Text()), y = entryNumber(yearlist->Text());
    const int m = monthlist->ListIndex() + 1;
    selectedday->SetText(std::to_string(d));
    selectedyear->SetText(std::to_string(y));
    selectedmonth->SetText(monthlist->Text());
    DialogDate = DateSerial(y, m, d);
    PredictedDay->SetText(weekdayText(DialogDate));
}

void Frmtimdat::fillDayList(int days) {
    daylist->Clear();
    for (int d = 1; d <= days; ++d) daylist->AddItem(" " + std::to_string(d) + "  ");
}

void Frmtimdat::daylist_Click() {
    const int d = entryNumber(daylist->Text()), y = entryNumber(yearlist->Text());
    const int m = monthlist->ListIndex() + 1;
    selectedday->SetText(std::to_string(d));
    PredictedDay->SetText(weekdayText(DateSerial(y, m, d)));
}

void Frmtimdat::monthlist_Click() { monthOrYearClick(false); }

void Frmtimdat::yearlist_Click() { monthOrYearClick(true); }

// The day list again for the chosen month; a day past the month's end moves to its last day.
void Frmtimdat::monthOrYearClick(bool year) {
    if (year) selectedyear->SetText(yearlist->Text());
    const int y = entryNumber(yearlist->Text());
    const int m = monthlist->ListIndex() + 1;
    const int old = daylist->ListIndex();
    const int n = DaysInMonth(y, m);
    selectedmonth->SetText(monthlist->Text());
    fillDayList(n);
    daylist->SetListIndex(old >= n ? n - 1 : old);
    selectedday->SetText(daylist->Text());
    PredictedDay->SetText(weekdayText(DateSerial(y, m, daylist->ListIndex() + 1)));
}

void Frmtimdat::date1ok_Click() {
    // The year from the year list: the read-out boxes only show the choice.
    accept(entryNumber(yearlist->Text()), monthlist->ListIndex() + 1, entryNumber(daylist->Text()),
           frmtidewyn::NoteWording::Short);
}

void Frmtimdat::cmdOk_Click() {
    accept(DTPicker->Year(), DTPicker->Month(), DTPicker->Day(), frmtidewyn::NoteWording::BySetting);
}

void Frmtimdat::accept(int year, int month, int day, frmtidewyn::NoteWording wording) {
    // The month's sun tables are computed again for the new date when asked for.
    ClearSunTable();
    DialogDate = DateSerial(year, month, day);
    DialogYearStart = DateSerial(year, 1, 1);
    SetSelectedDate(DialogDate);

    frmtidewyn& main = Get<frmtidewyn>();
    main.daystide1->SetCaption("");
    main.RecomputeDay();
    main.ForgetMonthView();
    main.tidedatebox->SetCaption("Date   : " + FormatDate(DialogDate, "dd mmmm yyyy (dddd)"));
    main.WriteSummerTimeNote(wording);
    Unload();
}

void Frmtimdat::setPickerToToday() { DTPicker->SetValue(Now()); }

void Frmtimdat::trackPicker() {
    DialogDate = DateSerial(DTPicker->Year(), DTPicker->Month(), DTPicker->Day());
    txtDayName->SetText(weekdayText(DialogDate));
}

void Frmtimdat::DTPicker_CloseUp() {
    trackPicker();
    DialogYearStart = DateSerial(DTPicker->Year(), 1, 1);
}

// A date typed into the picker shows its weekday as a picked one does.
void Frmtimdat::DTPicker_Change() { DTPicker_CloseUp(); }

void Frmtimdat::cmdReset_Click() {
    setPickerToToday();
    trackPicker();
}

void Frmtimdat::datecancel_Click() {
    State().SelectedDate = DateAtLoad;
    Unload();
}

// Cancel of the list group does what the picker group's Cancel does.
void Frmtimdat::Command1_Click() { datecancel_Click(); }
