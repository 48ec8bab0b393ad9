#pragma once
// The date dialog "Date Entry": a date chosen from day, month and year lists (" O.K.") or with
// the date picker ("OK") becomes the main window's date; either Cancel restores it. Modal,
// opened by the main window's Date menu; each opening starts from today.

#include "mainwindow/frmtidewyn.h"
#include "platform/controls.h"
#include "platform/datepicker.h"
#include "platform/forms.h"

class Frmtimdat : public platform::Form {
    Q_OBJECT
public:
    // The years the picker offers: those the engine's Julian day handles.
    static constexpr int kFirstYear = 1901;
    static constexpr int kLastYear = 2099;
    static constexpr int kYearsListed = 51;  // the current year and the 50 after it

    Frmtimdat();

    void daylist_Click();
    void monthlist_Click();
    void yearlist_Click();
    void date1ok_Click();
    void Command1_Click();
    void DTPicker_CloseUp();
    void DTPicker_Change();
    void cmdReset_Click();
    void cmdOk_Click();
    void datecancel_Click();

    // The list group.
    platform::TextBox *selectedday, *selectedmonth, *selectedyear, *PredictedDay, *Text3;
    platform::ListBox *daylist, *monthlist, *yearlist;
    platform::CommandButton *Command1, *date1ok;
    // The picker group.
    platform::Label* Label1;
    platform::DatePicker* DTPicker;
    platform::TextBox* txtDayName;
    platform::CommandButton *cmdReset, *datecancel, *cmdOk;

    double DialogDate = 0;
    double DialogYearStart = 0;
    double DateAtLoad = 0;

protected:
    void Form_Load() override;

private:
    void monthOrYearClick(bool year);
    void fillDayList(int days);
    void setPickerToToday();
    void trackPicker();
    // Makes (year, month, day) the main window's date, recomputes and draws it, and closes.
    void accept(int year, int month, int day, frmtidewyn::NoteWording wording);
};
