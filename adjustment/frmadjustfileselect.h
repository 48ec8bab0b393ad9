#pragma once
// Loads the constants of any port of any area file of the program folder into one of the
// adjustment window's sites: Port 1, Port 2 or the intermediate location. It reads area files
// only; "Close " recomputes the adjustment window.

#include <string>

#include "engine/records.h"
#include "platform/controls.h"
#include "platform/forms.h"

class FrmAdjustfileselect : public platform::Form {
    Q_OBJECT
public:
    FrmAdjustfileselect();

    void File1_Click();
    void List1_Click();
    void cmdPort1_Click();
    void cmdPort2_Click();
    void cmdLoad_Click();
    void cmdCancel_Click();

    platform::Label *Label1, *Label2, *Label3, *lblselectedport;
    platform::FileListBox* File1;
    platform::ListBox* List1;
    platform::CommandButton *cmdPort1, *cmdPort2, *cmdLoad, *cmdCancel;

protected:
    void Form_Load() override;

private:
    // The highlighted location of the chosen area file; false, and told, when there is none or
    // it cannot be read.
    bool location(engine::PortRecord& out);
    // The highlighted location as Port 1 (site 0) or Port 2 (site 2) of the adjustment window.
    void loadPort(int site);

    std::string chosenArea_;
};
