#pragma once
// The ports copy utility: ports clicked in one area file of the program folder are queued in
// the work file "scratch.hc", then appended to another area file, new or existing, in one
// replacement of it.

#include <string>

#include "platform/controls.h"
#include "platform/forms.h"

class frmHCcopy : public platform::Form {
    Q_OBJECT
public:
    frmHCcopy();

    void fillist_Click();
    void List1_Click();
    void fileDestName_Click();
    void cmdCopy_Click();
    void cmdCancel_Click();
    void List2_DblClick() {}

    platform::FileListBox *fillist, *fileDestName;
    platform::ListBox *List1, *List2;
    platform::TextBox* txtname;
    platform::CommandButton *cmdCopy, *cmdCancel;
    platform::Label *lblSource, *lblPorts, *lblDest, *lblSaveAs, *lblEdit;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    // The area file "Save" appends to, or "" when the typed name is refused (and said so).
    std::string destination();
    void arrangeControls();
};
