#pragma once
// The start-up window: finds the folders, checks the date format and shows the conditions of
// use. "Accept" opens the main window, "Decline" ends the program.

#include "platform/controls.h"
#include "platform/forms.h"

class frmCopyright : public platform::Form {
    Q_OBJECT
public:
    frmCopyright();

    void ConditionsOK_Click();
    void cmdDecline_Click();
    void mnuRestoreDefaults_Click();
    void mnuHTMLHelp_Click();
    void Form_DblClick() override {}  // a double-click on the window does nothing

    platform::ListBox* List1;
    platform::CommandButton* ConditionsOK;
    platform::CommandButton* cmdDecline;
    platform::MenuItem mnuMain, mnuRestoreDefaults, mnuHelp, mnuHTMLHelp;

    // The conditions of use, one line per item after an empty first item.
    static const char* const kConditions[25];

protected:
    void Form_Load() override;
    // Closing the window other than by "Accept" ends the program, as "Decline" does.
    void Form_Unload(bool& cancel) override;

private:
    bool accepted_ = false;
};
