#include "mainwindow/frmchartdepth.h"

#include <cmath>

#include "engine/cp1252.h"
#include "engine/currentport.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

frmChartdepth::frmChartdepth() : Form("User Depth and Notes") {
    // Wide enough for a three-digit port number and a name of 35 characters, in the list and
    // in bold beside it.
    SetBorderStyle(BorderStyle::Fixed);
    SetWidth(8640);
    SetHeight(5700);
    QWidget* c = Client();
    List1 = new ListBox(c);
    Place(List1, 120, 120, 4260, 5220);
    Label2 = new Label(c, "Port No");
    Place(Label2, 4560, 150, 900, 270);
    portnolabel = new Label(c);
    Place(portnolabel, 5460, 150, 900, 270);
    portlabel = new Label(c, "Port");
    Place(portlabel, 4560, 480, 3960, 270);
    portlabel->SetFontBold(true);
    Label1 = new Label(c, "User depth (Metres)?");
    Place(Label1, 4560, 915, 2400, 270);
    depth = new TextBox(c);
    Place(depth, 7320, 870, 1200, 330);
    Label3 = new Label(c, "User  Notes");
    Place(Label3, 4560, 1380, 2400, 270);
    usernotes = new TextArea(c);
    Place(usernotes, 4560, 1680, 3960, 3060);
    usernotes->SetMaxLength(kNotesLength);
    cdok = new CommandButton(c, "Enter");
    Place(cdok, 4560, 4965, 1200, 375);
    cdclose = new CommandButton(c, "Exit");
    Place(cdclose, 7320, 4965, 1200, 375);

    // Enter stores (in the notes it starts a new line); Esc is "Exit".
    SetCancelButton(cdclose);
    SetDefaultButton(cdok);

    depth->SetKeyPress([this](int& key) { depth_KeyPress(key); });
    connect(List1, &ListBox::Click, this, Handler([this] { List1_Click(); }));
    connect(List1, &ListBox::DblClick, this, Handler([this] { List1_DblClick(); }));
    connect(cdok, &QPushButton::clicked, this, Handler([this] { cdok_Click(); }));
    connect(cdclose, &QPushButton::clicked, this, Handler([this] { cdclose_Click(); }));
}

std::string frmChartdepth::DepthText(float metres) { return TypedText(metres); }

void frmChartdepth::Form_Load() {
    SharedState& s = State();
    if (IsLoaded<frmtidewyn>()) CentreOn(Get<frmtidewyn>());

    SettingsRecord stored;
    FileResult made = EnsureSettingsFile(DefaultSettingsRecord());
    notices_.Tell(made.status == FileStatus::Damaged ? "" : "The settings cannot be saved", made);
    const int16_t portBefore = s.CurrentPort;
    const std::string areaBefore = s.AreaFilePath;
    if (ReloadSettingsCopies(stored)) {
        s.Settings = stored;
        s.UseSummerTime = stored.SummerTime != 0;
    }
    // A settings file written afresh may name another port: its name and position follow it,
    // or, when it cannot be read, the port stays the one shown.
    if (s.CurrentPort != portBefore || s.AreaFilePath != areaBefore) {
        FileResult r = LoadCurrentPort(s.AreaFilePath, true);
        if (!r.recordRead()) {
            notices_.Tell("The port cannot be read", r);
            s.CurrentPort = portBefore;
            s.AreaFilePath = areaBefore;
        }
    }

    FileResult depths = EnsureUserDepthFile();
    // A file made or put in step is in use: its notice or sync warning is told as it stands.
    notices_.Tell(UsableDepthFile(depths) ? "" : "The user depths of this sea area cannot be kept", depths);
    ShowDepthRecord(s.CurrentPort);
}

void frmChartdepth::ShowPorts() {
    const SharedState& s = State();
    List1->Clear();
    cdclose->setVisible(true);
    cdok->setVisible(true);
    portnolabel->SetCaption(Str(s.CurrentPort));
    portlabel->SetCaption("");
    std::vector<PortRecord> ports;
    if (notices_.Tell("The ports of this sea area cannot be listed",
                      ReadAllPortRecords(s.AreaFilePath, ports)))
        return;
    if (s.CurrentPort >= 1 && static_cast<size_t>(s.CurrentPort) <= ports.size())
        portlabel->SetCaption(ShownText(ports[static_cast<size_t>(s.CurrentPort - 1)].PortName));
    for (size_t i = 0; i < ports.size(); ++i) {
        const long k = static_cast<long>(i) + 1;
        List1->AddItem(std::to_string(k) + "  " + ShownText(ports[i].PortName));
        List1->SetItemData(static_cast<int>(i), k);
    }
    // The current port's line is selected; its click shows what the load showed.
    if (s.CurrentPort >= 1 && s.CurrentPort <= List1->ListCount()) List1->SetListIndex(s.CurrentPort - 1);
}

void frmChartdepth::ShowDepthRecord(long k) {
    const SharedState& s = State();
    DepthRecord d;
    FileResult r = ReadDepthRecord(s.DepthFilePath, k, d);
    if (r.status == FileStatus::PastEnd) {
        // A port added to the area since the file was made: what "Enter" would store for it.
        PortRecord port;
        r = ReadPortRecord(s.AreaFilePath, k, port);
        if (r.recordRead()) d = NewDepthRecord(port, static_cast<int>(k));
    }
    // A damaged record is shown as read, for the user to mend (the recompute tells it).
    if (!r.recordRead()) {
        // No file at all was told when it could not be made.
        if (r.status != FileStatus::Missing) notices_.Tell("The user depth of this port cannot be read", r);
        depth->SetText("");
        usernotes->SetText("");
        return;
    }
    depth->SetText(DepthText(d.ChartedDepth));
    usernotes->SetText(ShownText(d.Notes));
}

void frmChartdepth::List1_Click() {
    int i = List1->ListIndex();
    if (i < 0) return;
    const long k = List1->ItemData(i);
    PortRecord port;
    FileResult r = ReadPortRecord(State().AreaFilePath, k, port);
    // A damaged record still names its port.
    if (!r.recordRead()) notices_.Tell("The port cannot be read", r);
    portlabel->SetCaption(r.recordRead() ? ShownText(port.PortName) : "");
    portnolabel->SetCaption(Str(static_cast<double>(k)));
    ShowDepthRecord(k);
}

void frmChartdepth::List1_DblClick() {
    List1_Click();
    depth->setFocus();
}

void frmChartdepth::depth_KeyPress(int& KeyAscii) {
    // A comma is the decimal point of a German desktop: taken as "." is.
    const bool passes = (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == '.' || KeyAscii == ',' ||
                        KeyAscii == '-' || KeyAscii == 8;
    if (!passes) KeyAscii = 0;  // the text box beeps
}

void frmChartdepth::cdok_Click() {
    SharedState& s = State();
    const double port = Val(portnolabel->Caption());
    if (port < 1 || port > static_cast<double>(PortCount(s.AreaFilePath))) {
        MsgBox("Choose a port from the list first.", kOkOnly | kExclamation);
        return;
    }
    const long n = static_cast<long>(port);
    const std::optional<float> typed = ReadTypedNumber(depth->Text(), kDepthRange);
    if (!typed) {
        // The box keeps what was typed, for the user to mend.
        MsgBox("The user depth must be a number of metres from -100 to 1000, such as 2.5 or -0,8.",
               kOkOnly | kExclamation);
        depth->setFocus();
        return;
    }
    const std::string notes = usernotes->Text();
    if (!FitsCp1252(notes)) {
        MsgBox("The notes hold characters that cannot be stored in the user-depth file. Please remove them.",
               kOkOnly | kExclamation);
        usernotes->setFocus();
        return;
    }
    FileResult made = EnsureUserDepthFile();
    FileResult r = UsableDepthFile(made) ? StoreDepthAndNotes(n, *typed, notes) : made;
    if (!r.saved()) {
        MsgBox("The depth and notes cannot be stored: " + r.message, kOkOnly | kExclamation);
        return;
    }
    // Stored: a notice or a folder that could not be synced is told, each once.
    notices_.Tell("", made);
    notices_.Tell("", r);
}

void frmChartdepth::cdclose_Click() {
    SharedState& s = State();
    frmtidewyn& main = Get<frmtidewyn>();
    main.ForgetMonthView();
    DepthRecord d;
    s.UserDepth = ReadDepthRecord(s.DepthFilePath, s.CurrentPort, d).ok() ? d.ChartedDepth : 0.0f;
    main.portbox->SetCaption("Port    : " + s.PortName);
    main.daystide1->SetCaption("");
    main.EnableMainMenus();
    Unload();
    main.update();
    main.RecomputeDay();
    main.EnableMainMenus();
}
