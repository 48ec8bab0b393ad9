#include "adjustment/frmselectheightfile.h"

#include "adjustment/arealists.h"
#include "adjustment/frmharmadjust.h"
#include "engine/environment.h"
#include "engine/heightfile.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

frmSelectHeightFile::frmSelectHeightFile() : Form("Select Height File") {
    SetBorderStyle(BorderStyle::Fixed);
    QWidget* c = Client();
    Label2 = new Label(c, "Select a height file name and press OK");
    File1 = new FileListBox(c);
    Label3 = new Label(c, "Selected File");
    lblselectedfile = new Label(c);
    lblselectedfile->SetBoxed();
    cmdOK = new CommandButton(c, "OK");
    cmdCancel = new CommandButton(c, "Cancel");
    SetCancelButton(cmdCancel);

    constexpr int m = 8, width = 300, listHeight = 180, button = 26;
    PlacePixels(Label2, m, 8, width, 18);
    PlacePixels(File1, m, 30, width, listHeight);
    PlacePixels(Label3, m, 30 + listHeight + 12, 100, 18);
    PlacePixels(lblselectedfile, m + 100, 30 + listHeight + 9, width - 100, 24);
    const int buttons = 30 + listHeight + 45;
    PlacePixels(cmdOK, m + width - 2 * 90 - 8, buttons, 90, button);
    PlacePixels(cmdCancel, m + width - 90, buttons, 90, button);
    SetWidth(ToTwips(width + 2 * m));
    SetHeight(ToTwips(buttons + button + m));

    connect(File1, &ListBox::Click, this, Handler([this] { File1_Click(); }));
    connect(cmdOK, &QPushButton::clicked, this, Handler([this] { cmdOK_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, Handler([this] { cmdCancel_Click(); }));
}

void frmSelectHeightFile::Form_Load() {
    PlaceOverAdjustment(*this);
    File1->SetPattern(kHeightFilePattern);
    File1->SetPath(Env().programFolder);
}

void frmSelectHeightFile::File1_Click() {
    const std::string name = File1->FileName();
    if (name.empty()) return;
    lblselectedfile->SetCaption(HeightFileBase(name));
    const NamedFile file = HeightFileFor(name);
    if (file.fault.empty()) State().HeightFilePath = file.path;
}

void frmSelectHeightFile::cmdOK_Click() {
    const std::string chosen = Trim(lblselectedfile->Caption());
    if (chosen.empty()) {
        MsgBox("Select a file");
        return;
    }
    const NamedFile file = HeightFileFor(chosen);
    if (!file.fault.empty()) {
        MsgBox(file.fault);
        return;
    }
    State().HeightFilePath = file.path;
    Unload();
    if (!IsLoaded<frmHarmAdjust>()) return;
    frmHarmAdjust& a = Get<frmHarmAdjust>();
    a.WithSites([&a] { a.DrawAdjustCurveIntermediate(); });
}

void frmSelectHeightFile::cmdCancel_Click() {
    State().HeightFilePath.clear();
    Unload();
}
