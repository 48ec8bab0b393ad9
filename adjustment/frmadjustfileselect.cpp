#include "adjustment/frmadjustfileselect.h"

#include "adjustment/arealists.h"
#include "adjustment/frmharmadjust.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

FrmAdjustfileselect::FrmAdjustfileselect() : Form("Select Port") {
    SetBorderStyle(BorderStyle::Fixed);
    QWidget* c = Client();
    Label1 = new Label(c, "Area Files");
    File1 = new FileListBox(c);
    Label2 = new Label(c, "Locations");
    List1 = new ListBox(c);
    Label3 = new Label(c, "Selected Location");
    lblselectedport = new Label(c);
    lblselectedport->SetBoxed();
    cmdPort1 = new CommandButton(c, "Load as Port 1");
    cmdPort2 = new CommandButton(c, "Load as Port 2");
    cmdLoad = new CommandButton(c, "Load as Intermediate Location");
    cmdCancel = new CommandButton(c, "Close ");
    SetCancelButton(cmdCancel);

    // The files, the locations, the name under them; the buttons in a column on the right.
    constexpr int m = 8, files = 170, ports = 270, lists = 240, buttons = 220, button = 26;
    const int portsLeft = m + files + m, buttonsLeft = portsLeft + ports + 2 * m;
    PlacePixels(Label1, m, 8, files, 18);
    PlacePixels(File1, m, 30, files, lists);
    PlacePixels(Label2, portsLeft, 8, ports, 18);
    PlacePixels(List1, portsLeft, 30, ports, lists);
    const int nameTop = 30 + lists + 12;
    PlacePixels(Label3, m, nameTop + 3, files, 18);
    PlacePixels(lblselectedport, portsLeft, nameTop, ports, 24);
    PlacePixels(cmdPort1, buttonsLeft, 30, buttons, button);
    PlacePixels(cmdPort2, buttonsLeft, 30 + button + m, buttons, button);
    PlacePixels(cmdLoad, buttonsLeft, 30 + 2 * (button + m), buttons, button);
    PlacePixels(cmdCancel, buttonsLeft, nameTop - 1, buttons, button);
    SetWidth(ToTwips(buttonsLeft + buttons + m));
    SetHeight(ToTwips(nameTop + button + m + 4));

    connect(File1, &ListBox::Click, this, Handler([this] { File1_Click(); }));
    connect(List1, &ListBox::Click, this, Handler([this] { List1_Click(); }));
    connect(cmdPort1, &QPushButton::clicked, this, Handler([this] { cmdPort1_Click(); }));
    connect(cmdPort2, &QPushButton::clicked, this, Handler([this] { cmdPort2_Click(); }));
    connect(cmdLoad, &QPushButton::clicked, this, Handler([this] { cmdLoad_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, Handler([this] { cmdCancel_Click(); }));
}

void FrmAdjustfileselect::Form_Load() {
    ListAreaFiles(*File1);
    PlaceOverAdjustment(*this);
}

void FrmAdjustfileselect::File1_Click() {
    if (File1->FileName().empty()) return;
    const std::string path = File1->FilePath();
    if (!ListLocations(path, *List1)) {
        ReselectFile(*File1, chosenArea_);
        return;
    }
    lblselectedport->SetCaption("");
    chosenArea_ = path;
}

void FrmAdjustfileselect::List1_Click() {
    const int k = List1->ListIndex();
    if (chosenArea_.empty() || k < 0) return;
    if (const auto name = LocationName(chosenArea_, k + 1)) lblselectedport->SetCaption(*name);
}

bool FrmAdjustfileselect::location(PortRecord& out) {
    const int k = List1->ListIndex();
    if (chosenArea_.empty() || k < 0) {
        MsgBox("Select a location");
        return false;
    }
    FileResult r = ReadPortRecord(chosenArea_, k + 1, out);
    // Only the constants are loaded: a damaged position or monthly value does not matter here.
    if (r.status == FileStatus::Damaged) {
        const auto fault = PortConstantsFault(out);
        r = fault ? DamagedRecord(chosenArea_, k + 1, *fault) : FileResult{};
    }
    if (!r.ok()) {
        MsgBox("The location cannot be loaded: " + r.message, kExclamation);
        return false;
    }
    return true;
}

void FrmAdjustfileselect::loadPort(int site) {
    PortRecord port;
    if (!location(port) || !IsLoaded<frmHarmAdjust>()) return;
    Get<frmHarmAdjust>().ShowPortSite(site, port);
}

void FrmAdjustfileselect::cmdPort1_Click() { loadPort(0); }
void FrmAdjustfileselect::cmdPort2_Click() { loadPort(2); }

// The spinners keep their Values: their next step starts from those, not from the box.
void FrmAdjustfileselect::cmdLoad_Click() {
    PortRecord port;
    if (!location(port) || !IsLoaded<frmHarmAdjust>()) return;
    const auto boxes = Get<frmHarmAdjust>().IntermediateBoxes();
    for (size_t i = 0; i < 13; ++i) boxes[i]->SetText(TypedText(port.*kPortConstants[i].field));
}

void FrmAdjustfileselect::cmdCancel_Click() {
    Unload();
    if (IsLoaded<frmHarmAdjust>()) Get<frmHarmAdjust>().updatecalc();
}
