#pragma once
// The height file whose observations the adjustment window draws as a green line over the
// intermediate location's curve.

#include "platform/controls.h"
#include "platform/forms.h"

class frmSelectHeightFile : public platform::Form {
    Q_OBJECT
public:
    frmSelectHeightFile();

    void File1_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    platform::Label *Label2, *Label3, *lblselectedfile;
    platform::FileListBox* File1;
    platform::CommandButton *cmdOK, *cmdCancel;

protected:
    void Form_Load() override;
};
