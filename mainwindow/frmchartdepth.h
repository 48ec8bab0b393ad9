#pragma once
// The depth-and-notes dialog: the user's charted depth and notes for each port of the area in
// use, kept in the area's user-depth file. "Enter" stores those of the port shown; "Exit"
// recomputes the main window's day with the current port's depth.

#include <string>

#include "mainwindow/notices.h"
#include "platform/controls.h"
#include "platform/forms.h"

class frmChartdepth : public platform::Form {
    Q_OBJECT
public:
    frmChartdepth();

    // The menu's part before the dialog is shown: the port shown is the current port, the
    // list holds every port of the area file with its number.
    void ShowPorts();

    void List1_Click();
    void List1_DblClick();
    void depth_KeyPress(int& KeyAscii);
    void cdok_Click();
    void cdclose_Click();

    // Shows port k's depth and notes as stored (a port beyond the end of a short file as a new
    // record would hold them).
    void ShowDepthRecord(long k);

    // The depth as text in the "." form it is read back in: "2.5", "0.5", "-0.25".
    static std::string DepthText(float metres);

    platform::ListBox* List1;
    platform::Label *Label2, *portnolabel, *portlabel, *Label1, *Label3;
    platform::TextBox* depth;
    platform::TextArea* usernotes;
    platform::CommandButton *cdok, *cdclose;

    static constexpr int kNotesLength = 256;

protected:
    void Form_Load() override;

private:
    FailureNotices notices_;  // each failure once while the dialog is open
};
