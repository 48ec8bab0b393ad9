#include "maintenance/frmimport.h"

#include <string>
#include <vector>

#include "engine/chartimport.h"
#include "engine/environment.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

namespace {

constexpr int kDesignWidthPx = 600, kDesignHeightPx = 440;
constexpr const char* kRootFolder = "/";
constexpr const char* kTitle = "Tidewyn";

// The failed copies, one line each; a long list is cut short so that the box fits the screen.
std::string failureText(const std::vector<std::string>& failures) {
    constexpr size_t kMostLines = 12;
    std::string text = "These files could not be copied:";
    for (size_t i = 0; i < failures.size() && i < kMostLines; ++i) text += "\r\n" + failures[i];
    if (failures.size() > kMostLines)
        text += "\r\n... and " + std::to_string(failures.size() - kMostLines) + " more";
    return text;
}

}  // namespace

frmimport::frmimport() : Form("Import Charts") {
    QWidget* c = Client();
    const std::string start = Env().programFolder;
    lblDrives = new Label(c, "Select drive containing the charts disk (eg. A:)");
    drvDrives = new DriveListBox(c, start);
    lblDirectories = new Label(c, "Double Click the folder containing Tidal Stream Atlas ");
    dirDirectories = new DirListBox(c, start);
    Frame1 = new QGroupBox(QStringLiteral("Files"), c);
    lblFiles = new Label(Frame1, "Area to be imported");
    filFilenames = new FileListBox(Frame1);
    filFilenames->SetPattern("*.cha");
    filFilenames->SetPath(dirDirectories->Path());
    cmdimport = new CommandButton(c, "Import Files");
    Cmdfinished = new CommandButton(c, "Exit");
    SetCancelButton(Cmdfinished);

    connect(drvDrives, &DriveListBox::Change, this, Handler([this] { drvDrives_Change(); }));
    connect(dirDirectories, &DirListBox::Change, this, Handler([this] { dirDirectories_Change(); }));
    connect(cmdimport, &QPushButton::clicked, this, Handler([this] { cmdimport_Click(); }));
    connect(Cmdfinished, &QPushButton::clicked, this, Handler([this] { Cmdfinished_Click(); }));

    setMinimumSize(kDesignWidthPx * 3 / 4, kDesignHeightPx * 3 / 4);
    SetWidth(ToTwips(kDesignWidthPx));
    SetHeight(ToTwips(kDesignHeightPx));
    arrangeControls();
}

// The headings across the window; below them the folders on the left and the frame of files on
// the right, each taking half the extra width; the buttons at the foot.
void frmimport::arrangeControls() {
    const int W = ToPixels(WidthOf(Client())), H = ToPixels(HeightOf(Client()));
    constexpr int margin = 10, gap = 14, buttonWidth = 110, buttonHeight = 28;
    const int column = (W - 2 * margin - gap) / 2, right = margin + column + gap;
    const int buttonsTop = H - margin - buttonHeight, listsBottom = buttonsTop - 12;

    PlacePixels(lblDrives, margin, 10, W - 2 * margin, 20);
    PlacePixels(drvDrives, margin, 32, column, 26);
    PlacePixels(lblDirectories, margin, 70, W - 2 * margin, 20);
    PlacePixels(dirDirectories, margin, 94, column, listsBottom - 94);
    PlacePixels(Frame1, right, 86, column, listsBottom - 86);
    PlacePixels(lblFiles, 10, 24, column - 20, 20);
    PlacePixels(filFilenames, 10, 48, column - 20, listsBottom - 86 - 48 - 10);
    PlacePixels(cmdimport, W - margin - 2 * buttonWidth - 10, buttonsTop, buttonWidth, buttonHeight);
    PlacePixels(Cmdfinished, W - margin - buttonWidth, buttonsTop, buttonWidth, buttonHeight);
}

void frmimport::Form_Resize() { arrangeControls(); }

void frmimport::Form_Load() { CentreOnScreen(); }

void frmimport::drvDrives_Change() {
    BusyPointer wait(*this);
    const bool fallback = fallingBack_;
    fallingBack_ = false;
    if (drvDrives->DriveReady() && dirDirectories->SetPath(drvDrives->Drive())) return;
    // Going back to "/" is tried once: when it cannot be read either, the lists stay empty.
    if (fallback || drvDrives->Drive() == kRootFolder) {
        dirDirectories->SetPath("");
        if (fallback) return;
    }
    MsgBox("Drive not ready\rOR a defective copy of charts disk", kOkOnly, kTitle);
    if (drvDrives->Drive() == kRootFolder) return;
    fallingBack_ = true;
    if (!drvDrives->SetDrive(kRootFolder)) {
        fallingBack_ = false;
        dirDirectories->SetPath("");
    }
}

void frmimport::dirDirectories_Change() { filFilenames->SetPath(dirDirectories->Path()); }

void frmimport::cmdimport_Click() {
    BusyPointer wait(*this);
    const int count = filFilenames->ListCount();
    if (count == 0) {
        MsgBox("Nothing to import", kOkOnly, kTitle);
    } else {
        std::vector<std::string> failures;
        for (int i = 0; i < count; ++i)
            for (std::string& f :
                 ImportChartSet(dirDirectories->Path(), filFilenames->List(i), Env().programFolder))
                failures.push_back(std::move(f));
        if (!failures.empty()) MsgBox(failureText(failures), kOkOnly | kExclamation, kTitle);
    }
    MsgBox(" " + std::to_string(count) + " files transferred", kOkOnly, kTitle);
    Hide();
    Unload();
}

void frmimport::Cmdfinished_Click() {
    Hide();
    Unload();
}

void frmimport::CloseImportForm() {
    Hide();
    Unload();
}
