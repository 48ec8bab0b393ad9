#pragma once
// Observed heights entered by picking the digits of a time and a height, collected in a list,
// added to from a height file and written to one, which the adjustment window then draws over
// the intermediate location's curve.

#include <map>
#include <string>

#include "platform/controls.h"
#include "platform/forms.h"

class frmHeightEnter : public platform::Form {
    Q_OBJECT
public:
    frmHeightEnter();

    void File1_Click();
    void lstHours_Click();
    void lstMins_Click();
    void lstMetres_Click();
    void lstCms_Click();
    void lstMMs_Click();
    void cmdAdd_Click();
    void cmdOpen_Click();
    void Command2_Click();
    void cmdCancel_Click();
    // Editing an entry is not offered.
    void cmdChange_Click() {}
    void List1_DblClick() {}

    platform::FileListBox* File1;
    platform::TextBox* txtFileName;
    platform::ListBox *lstHours, *lstMins, *lstMetres, *lstCms, *lstMMs, *List1;
    platform::Label *lblTime, *lblHeight;
    platform::CommandButton *cmdOpen, *cmdAdd, *cmdChange, *Command2, *cmdCancel;
    platform::Label *lblSelect, *lblNewName, *lblHours, *lblMins, *lblMetres, *lblTimeCaption,
        *lblHeightCaption, *lblEntries;

protected:
    void Form_Load() override;

private:
    void pickTime();
    void pickHeight();
    // Whether "Finished" may write the list over the named file: it may when that loses no
    // record the user has not seen in the list, otherwise the user is asked.
    bool mayReplace(const std::string& path, long entries);

    // The files "Open" put into the list, with the records each held then.
    std::map<std::string, long> opened_;
};
