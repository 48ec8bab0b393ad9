#include "maintenance/frmhccopy.h"

#include <QString>
#include <vector>

#include "engine/areafile.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/mainface.h"

using namespace engine;
using namespace platform;

namespace {

constexpr const char* kScratchBase = "scratch";

void failure(const std::string& text) { MsgBox(text, kOkOnly | kExclamation); }

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// An area file's name without its final ".hc", in any case.
std::string baseName(const std::string& file) {
    const size_t n = file.size();
    if (n > 3 && sameIgnoringCase(file.substr(n - 3), ".hc")) return file.substr(0, n - 3);
    return file;
}

// Fills a list with the port names of an area file; false, and said so, when it cannot be read.
bool listPorts(ListBox* list, const std::string& areaPath) {
    list->Clear();
    std::vector<PortRecord> ports;
    if (FileResult r = ReadAllPortRecords(areaPath, ports); !r.ok()) {
        failure("The ports cannot be listed: " + r.message);
        return false;
    }
    for (const PortRecord& p : ports) list->AddItem(ShownText(p.PortName));
    return true;
}

}  // namespace

frmHCcopy::frmHCcopy() : Form("Ports Copy Utility") {
    QWidget* c = Client();
    lblSource = new Label(c, "Click on flename to display location names");
    fillist = new FileListBox(c);
    lblPorts = new Label(c, "Click on an entry to copy to destination file");
    List1 = new ListBox(c);
    lblDest = new Label(
        c,
        "Click on a filename to which ports will be added or type a new file name (omit the .HC extension)");
    lblDest->setWordWrap(true);
    fileDestName = new FileListBox(c);
    lblSaveAs = new Label(c, "Save as file name");
    txtname = new TextBox(c);
    List2 = new ListBox(c);
    lblEdit = new Label(c, "To Edit entries use Maintenance -> Correct menu");
    lblEdit->setWordWrap(true);
    cmdCopy = new CommandButton(c, "Save");
    cmdCancel = new CommandButton(c, "Cancel");
    SetCancelButton(cmdCancel);

    connect(fillist, &ListBox::Click, this, Handler([this] { fillist_Click(); }));
    connect(List1, &ListBox::Click, this, Handler([this] { List1_Click(); }));
    connect(fileDestName, &ListBox::Click, this, Handler([this] { fileDestName_Click(); }));
    connect(List2, &ListBox::DblClick, this, Handler([this] { List2_DblClick(); }));
    connect(cmdCopy, &QPushButton::clicked, this, Handler([this] { cmdCopy_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, Handler([this] { cmdCancel_Click(); }));

    // Lies exactly over the main window.
    LayOverMainWindow(*this);
    arrangeControls();
}

// The source on the left: its files, then its ports. The destination on the right: its files,
// its name, its ports and the queued ones, the buttons at the foot. The port lists take the
// window's extra height, and each side half its extra width.
void frmHCcopy::arrangeControls() {
    const int W = ToPixels(WidthOf(Client())), H = ToPixels(HeightOf(Client()));
    constexpr int margin = 8, gap = 16, filesTop = 48, filesHeight = 120, portsTop = 202;
    const int column = (W - 2 * margin - gap) / 2, right = margin + column + gap;

    PlacePixels(lblSource, margin, filesTop - 20, column, 18);
    PlacePixels(fillist, margin, filesTop, column, filesHeight);
    PlacePixels(lblPorts, margin, portsTop - 20, column, 18);
    PlacePixels(List1, margin, portsTop, column, H - margin - portsTop);

    PlacePixels(lblDest, right, 6, column, 38);
    PlacePixels(fileDestName, right, filesTop, column, filesHeight);
    PlacePixels(lblSaveAs, right, filesTop + filesHeight + 10, 120, 18);
    PlacePixels(txtname, right + 120, filesTop + filesHeight + 7, column - 120, 22);
    const int buttonsTop = H - margin - 26;
    const int noteTop = buttonsTop - 8 - 36;
    PlacePixels(List2, right, portsTop, column, noteTop - 6 - portsTop);
    PlacePixels(lblEdit, right, noteTop, column, 36);
    PlacePixels(cmdCopy, right + column - 2 * 100 - 8, buttonsTop, 100, 26);
    PlacePixels(cmdCancel, right + column - 100, buttonsTop, 100, 26);
}

void frmHCcopy::Form_Resize() { arrangeControls(); }

void frmHCcopy::Form_Load() {
    SetCaption("Tidewyn Ports Copy Utility");
    // The queue starts empty. A leftover queue that stays would have "Save" copy ports nobody
    // chose here, so the window does not open over one.
    if (FileResult r = RemoveWorkFile(ScratchAreaFilePath()); !r.ok()) {
        failure("The work file left by an earlier run cannot be removed: " + r.message +
                ". The copy utility closes.");
        Unload();
        return;
    }
    // The queue is no area file.
    for (FileListBox* files : {fileDestName, fillist}) {
        files->SetHidden({kScratchAreaFileName});
        files->SetPattern("*.hc");
        files->SetPath(Env().programFolder);
    }
}

void frmHCcopy::fillist_Click() {
    SharedState& s = State();
    const std::string name = fillist->FileName();
    if (name.empty()) return;
    s.EditAreaFileName = Trim(name);
    s.CopySourcePath = fillist->FilePath();
    listPorts(List1, s.CopySourcePath);
}

void frmHCcopy::List1_Click() {
    const int i = List1->ListIndex();
    if (i < 0) {
        MsgBox("No data");
        return;
    }
    const SharedState& s = State();
    PortRecord port;
    FileResult r = ReadPortRecord(s.CopySourcePath, i + 1, port);
    // A damaged port is copied as it stands, to be corrected in the editor.
    if (!r.recordRead()) {
        failure("The port cannot be read: " + r.message);
        return;
    }
    if (FileResult w = AppendPortRecord(ScratchAreaFilePath(), port); !w.ok()) {
        failure("The port cannot be queued for copying: " + w.message);
        return;
    }
    List2->AddItem(ShownText(port.PortName));
}

void frmHCcopy::fileDestName_Click() {
    const std::string name = fileDestName->FileName();
    if (name.empty()) return;
    txtname->SetText(baseName(Trim(name)));
    listPorts(List2, fileDestName->FilePath());
}

std::string frmHCcopy::destination() {
    const std::string typed = Trim(txtname->Text());
    if (typed.empty()) {
        MsgBox("No file name");
        return {};
    }
    const std::string folder = Env().programFolder + "/";
    std::string file = typed + ".hc";
    // The file picked while its name stands in the box; else a listed file whose name differs
    // from the typed one only in case, rather than a new file beside it.
    const std::string picked = fileDestName->FileName();
    if (!picked.empty() && baseName(Trim(picked)) == typed) {
        file = picked;
    } else if (FileLength(folder + file) < 0) {
        for (int i = 0; i < fileDestName->ListCount(); ++i) {
            if (sameIgnoringCase(fileDestName->List(i), file)) {
                file = fileDestName->List(i);
                break;
            }
        }
    }
    const std::string path = folder + file;
    if (typed.find_first_of("/\\") != std::string::npos || typed == kScratchBase ||
        SameFile(path, ScratchAreaFilePath())) {
        MsgBox("Type a file name without a folder; \"scratch\" is the program's work file.");
        return {};
    }
    return path;
}

void frmHCcopy::cmdCopy_Click() {
    const std::string dest = destination();
    if (dest.empty()) return;
    SharedState& s = State();
    s.CopyDestPath = dest;
    std::vector<PortRecord> queued;
    FileResult r = ReadAllPortRecords(ScratchAreaFilePath(), queued);
    if (!r.ok() && r.status != FileStatus::Missing) {
        failure("The ports to copy cannot be read: " + r.message);
        return;
    }
    if (FileResult w = AppendPortRecords(dest, queued); !w.ok()) {
        failure("The ports cannot be saved: " + w.message);
        return;
    }
    Unload();
}

void frmHCcopy::cmdCancel_Click() { Unload(); }
