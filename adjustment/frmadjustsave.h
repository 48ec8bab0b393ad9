#pragma once
// Stores the adjustment window's intermediate location as a port of an area file of the program
// folder: added after its last port, or written over a location highlighted in its list.

#include <string>

#include "platform/controls.h"
#include "platform/forms.h"

class frmAdjustSave : public platform::Form {
    Q_OBJECT
public:
    frmAdjustSave();

    void File1_Click();
    void List1_Click();
    void cmdSave_Click();
    void cmdExit_Click();

    platform::FileListBox* File1;
    platform::ListBox* List1;
    platform::Label *Label1, *Label3, *Label2;
    platform::TextBox *txtAreaName, *Text1;
    platform::OptionButton *Option2, *Option1;
    platform::CommandButton *cmdSave, *cmdExit;

protected:
    void Form_Load() override;

private:
    std::string listedArea_;
    std::string listedBase_;  // what a click in File1 put in txtAreaName
};
