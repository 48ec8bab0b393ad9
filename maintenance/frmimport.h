#pragma once
// The chart import: for each index file "*.cha" of a chosen folder, its companions of the same
// base name are copied into the program folder.

#include <QGroupBox>

#include "platform/controls.h"
#include "platform/folderlists.h"
#include "platform/forms.h"

class frmimport : public platform::Form {
    Q_OBJECT
public:
    frmimport();

    void drvDrives_Change();
    void dirDirectories_Change();
    void cmdimport_Click();
    void Cmdfinished_Click();

    platform::DriveListBox* drvDrives;
    platform::DirListBox* dirDirectories;
    platform::FileListBox* filFilenames;
    QGroupBox* Frame1;
    platform::CommandButton *cmdimport, *Cmdfinished;
    platform::Label *lblDrives, *lblDirectories, *lblFiles;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void CloseImportForm();
    void arrangeControls();
    // Set while the drive list goes back to "/" after a drive that could not be read.
    bool fallingBack_ = false;
};
