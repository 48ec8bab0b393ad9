#pragma once
// The current configuration (port, sea area, draught, clearance, output option) and, for every
// port of the area in use, the user's charted depth and notes. Read-only: the window keeps
// what it reads to itself and writes no file.

#include <string>

#include "mainwindow/notices.h"
#include "platform/controls.h"
#include "platform/forms.h"

class frmshowconf : public platform::Form {
    Q_OBJECT
public:
    frmshowconf();

    void confportlist_Click();
    void Confexit_Click();

    platform::Label *Label1, *portnolabel, *Label3, *confportnamebox, *Label5, *sealabel;
    platform::Label *Label7, *confdraughtbox, *Label9, *confukcbox, *Label8, *Label2, *confoutputoption;
    platform::Label *Label4, *depth, *Label6;
    platform::TextArea* Text1;
    platform::ListBox* confportlist;
    platform::CommandButton* Confexit;

    // The output line for a stored option: empty for a value other than 1, 2 or 3.
    static std::string OutputOptionText(float option);

protected:
    void Form_Load() override;

private:
    void ShowPort(long k);
    std::string areaPath_;   // the settings' area file
    std::string depthPath_;  // its user-depth file
    FailureNotices notices_;
};
