#include "mainwindow/frmshowconf.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "engine/currentport.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"

using namespace engine;
using namespace platform;

namespace {
Label* makeLabel(QWidget* parent, const std::string& caption, int left, int top, int width) {
    auto* l = new Label(parent, caption);
    Place(l, left, top, width, 255);
    return l;
}
}  // namespace

frmshowconf::frmshowconf() : Form("Current Configuration and User Notes") {
    SetBorderStyle(BorderStyle::Fixed);
    SetWidth(10140);
    SetHeight(5400);
    QWidget* c = Client();
    const int value = 1560;  // left of the value column
    Label1 = makeLabel(c, "Port No.", 120, 120, 1380);
    portnolabel = makeLabel(c, "", value, 120, 3900);
    Label3 = makeLabel(c, "Port", 120, 420, 1380);
    confportnamebox = makeLabel(c, "", value, 420, 3900);
    Label5 = makeLabel(c, "Sea Area", 120, 720, 1380);
    sealabel = makeLabel(c, "", value, 720, 3900);
    Label7 = makeLabel(c, "Draught", 120, 1020, 1380);
    confdraughtbox = makeLabel(c, "", value, 1020, 3900);
    Label9 = makeLabel(c, "UKC", 120, 1320, 1380);
    confukcbox = makeLabel(c, "", value, 1320, 900);
    Label8 = makeLabel(c, "(Under Keel Clearance)", value + 900, 1320, 3000);
    Label2 = makeLabel(c, "Output", 120, 1620, 1380);
    confoutputoption = makeLabel(c, "", value, 1620, 3900);
    Label4 = makeLabel(c, "User Depth", 120, 1920, 1380);
    depth = makeLabel(c, "", value, 1920, 3900);
    Label6 = makeLabel(c, "USER NOTES", 120, 2280, 3000);
    Text1 = new TextArea(c);
    Place(Text1, 120, 2580, 5340, 2040);
    Text1->setReadOnly(true);

    // Wide enough for a three-digit port number and a name of 35 characters.
    confportlist = new ListBox(c);
    Place(confportlist, 5640, 120, 4380, 4500);
    Confexit = new CommandButton(c, "Exit");
    Place(Confexit, 8805, 4800, 1215, 420);

    // A window to read: Esc and Enter both close it.
    SetCancelButton(Confexit);
    SetDefaultButton(Confexit);

    connect(confportlist, &ListBox::Click, this, Handler([this] { confportlist_Click(); }));
    connect(Confexit, &QPushButton::clicked, this, Handler([this] { Confexit_Click(); }));
}

std::string frmshowconf::OutputOptionText(float option) {
    if (option == 1.0f) return " From chart datum only";
    if (option == 2.0f) return " Includes charted depth";
    if (option == 3.0f) return " Charted depth, draught and prog.ukc";
    return "";
}

// Shows the settings file as it stands; the program's own state is left alone.
void frmshowconf::Form_Load() {
    if (IsLoaded<frmtidewyn>()) CentreOn(Get<frmtidewyn>());
    SettingsRecord record;
    FileResult read = ReadSettingsFile(record);
    if (!read.recordRead()) {
        record = State().Settings;
        notices_.Tell("The settings in use are shown, as the settings file cannot be read", read);
    }
    areaPath_ = Trim(record.AreaPath);
    depthPath_ = DepthFilePathFor(areaPath_);

    confdraughtbox->SetCaption(CStrSingle(record.Draught));
    confukcbox->SetCaption(CStrSingle(record.KeelClearance));
    // A damaged option is shown as the default the program uses in its place.
    confoutputoption->SetCaption(OutputOptionText(OutputOptionInUse(record.OutputOption)));
    std::string sea = std::filesystem::path(areaPath_).filename().string();
    sealabel->SetCaption(sea.substr(0, sea.find('.')));

    std::vector<PortRecord> ports;
    notices_.Tell("The ports of this sea area cannot be listed", ReadAllPortRecords(areaPath_, ports));
    const long count = static_cast<long>(ports.size());
    for (long k = 1; k <= count; ++k)
        confportlist->AddItem(std::to_string(k) + "  " +
                              TrimAtNull(ports[static_cast<size_t>(k - 1)].PortName));

    // The current port as the main window holds it: a stored number outside the area file
    // is brought into range the same way.
    const long current = PortWithin(PortOfIndex(record.PortIndex), count);
    if (current >= 1 && current <= count) confportlist->SetListIndex(static_cast<int>(current - 1));
    else ShowPort(current);
}

// Another port's data, without making it current.
void frmshowconf::confportlist_Click() {
    if (confportlist->ListIndex() >= 0) ShowPort(confportlist->ListIndex() + 1);
}

void frmshowconf::ShowPort(long k) {
    PortRecord port;
    // A damaged record still names its port.
    const bool known = ReadPortRecord(areaPath_, k, port).recordRead();
    portnolabel->SetCaption(std::to_string(k));
    confportnamebox->SetCaption(known ? TrimAtNull(port.PortName) : "");
    DepthRecord d;
    FileResult r = ReadDepthRecord(depthPath_, k, d);
    // No user-depth file yet, or none for this port: nothing to show, nothing wrong.
    if (!r.absent()) notices_.Tell("The user depth of this port cannot be read", r);
    if (r.ok()) {
        depth->SetCaption(CStrSingle(d.ChartedDepth));
        Text1->SetText(ShownText(d.Notes));
    } else {
        depth->SetCaption("");
        Text1->SetText("");
    }
}

void frmshowconf::Confexit_Click() { Unload(); }
