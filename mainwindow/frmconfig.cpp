#include "mainwindow/frmconfig.h"

#include <QEvent>
#include <QString>
#include <algorithm>

#include "engine/cp1252.h"
#include "engine/currentport.h"
#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

namespace {
constexpr int kDesignWidth = 8400, kDesignHeight = 6450;

// The sort key: the whole 35-character field in Windows-1252, lower case, so trailing blanks
// and the codes below the letters take part in the order.
std::string sortKey(const PortRecord& p) {
    std::string key = Utf8ToCp1252(p.PortName);
    key.resize(35, ' ');
    return LowerCp1252(key);
}

bool nameContains(const std::string& name, const QString& upperText) {
    return !name.empty() && QString::fromStdString(name).toUpper().contains(upperText);
}
}  // namespace

frmconfig::frmconfig() : Form("Select Port") {
    // The design size is the least: the user may make the dialog larger for a longer list.
    SetWidth(kDesignWidth);
    SetHeight(kDesignHeight);
    setMinimumSize(size());
    QWidget* c = Client();
    Label1 = new Label(c);
    Label1->setWordWrap(true);
    txtSearch = new TextBox(c);
    Place(txtSearch, 120, 900, 4200, 330);
    cmdSearch = new CommandButton(c, "Search");
    portlist2 = new ListBox(c);

    Frame1 = new QGroupBox("Sort", c);
    optSortGeog = new OptionButton(Frame1, "Sort geographically");
    Place(optSortGeog, 180, 300, 3400, 300);
    optSortbyName = new OptionButton(Frame1, "Sort by name");
    Place(optSortbyName, 180, 630, 3400, 300);
    cmdSort = new CommandButton(Frame1, "Sort");
    Place(cmdSort, 180, 1020, 1100, 375);

    confselectedport = new Label(c, "Selected Port");
    // A name of 35 characters in bold may take two lines.
    portconfigbox = new Label(c);
    portconfigbox->setWordWrap(true);
    portconfigbox->SetFontBold(true);
    portconfigok = new CommandButton(c, "OK");
    portconfigcancel = new CommandButton(c, "Cancel");
    lblhint = new Label(c);
    lblhint->setWordWrap(true);
    ArrangeControls();

    // Enter in the search box searches; elsewhere it is OK.
    SetCancelButton(portconfigcancel);
    SetDefaultButton(portconfigok);
    SetEnterButton(txtSearch, cmdSearch);

    connect(txtSearch, &TextBox::Change, this, Handler([this] { txtSearch_Change(); }));
    connect(cmdSearch, &QPushButton::clicked, this, Handler([this] { cmdSearch_Click(); }));
    connect(cmdSort, &QPushButton::clicked, this, Handler([this] { cmdSort_Click(); }));
    connect(portlist2, &ListBox::Click, this, Handler([this] { portlist2_Click(); }));
    connect(portlist2, &ListBox::DblClick, this, Handler([this] { portlist2_DblClick(); }));
    connect(portconfigok, &QPushButton::clicked, this, Handler([this] { portconfigok_Click(); }));
    connect(portconfigcancel, &QPushButton::clicked, this, Handler([this] { portconfigcancel_Click(); }));
    connect(optSortbyName, &OptionButton::Click, this, Handler([this] { optSortbyName_Click(); }));
    connect(optSortGeog, &OptionButton::Click, this, Handler([this] { optSortGeog_Click(); }));
}

// The list takes what the dialog has grown by; the controls right of it and below it keep
// their places beside its edges.
void frmconfig::ArrangeControls() {
    const int dw = std::max(0, WidthOf(Client()) - kDesignWidth);
    const int dh = std::max(0, HeightOf(Client()) - kDesignHeight);
    Place(Label1, 120, 90, 8160 + dw, 720);
    Place(txtSearch, 120, TopOf(txtSearch), 4200 + dw, HeightOf(txtSearch));
    Place(cmdSearch, 4440 + dw, TopOf(txtSearch), 1100, HeightOf(txtSearch));
    Place(portlist2, 120, 1350, 4200 + dw, 3900 + dh);
    Place(Frame1, 4560 + dw, 1290, 3720, 1560);
    Place(confselectedport, 4560 + dw, 3000, 3720, 270);
    Place(portconfigbox, 4560 + dw, 3300, 3720, 600);
    Place(portconfigok, 4560 + dw, 4875 + dh, 1200, 375);
    Place(portconfigcancel, 5940 + dw, 4875 + dh, 1200, 375);
    Place(lblhint, 120, 5400 + dh, 8160 + dw, 720);
}

void frmconfig::Form_Resize() { ArrangeControls(); }

void frmconfig::Form_Load() {
    ListPorts.clear();
    if (IsLoaded<frmtidewyn>()) CentreOn(Get<frmtidewyn>());
    SetTopOf(cmdSearch, TopOf(txtSearch));
    SetHeightOf(cmdSearch, HeightOf(txtSearch));
    Label1->SetCaption(
        "Double click on an entry or select a port from the list and click OK.\r\n"
        "Enter part of the ports name and click the Search button.\r\n"
        "Press Search again for the next occurance.");
    lblhint->SetCaption(
        "Highlight any item and press a letter on the keyboard to jump to the letter group.\r\n"
        "(e.g. repetitive presses of letter P will scroll through all ports beginning with P).");
    portlist2->Clear();
    LoadPortList();
    if (State().Settings.SortByName == -1) {
        optSortbyName->SetValue(true);
        SortPortsByName();
    } else {
        optSortGeog->SetValue(true);
    }
    if (FilePortCount > kLastUsablePort)
        MsgBox(Trim(State().ChosenAreaFile) + " holds " +
                   Format(static_cast<double>(FilePortCount), "#,##0") + " ports: the list shows the first " +
                   Format(kLastUsablePort, "#,##0") + ", as the program can use no more.",
               kOkOnly | kInformation);
    SelectedPortNo = 0;
    LastFoundIndex = 0;
}

void frmconfig::LoadPortList() {
    const SharedState& s = State();
    const std::string area = Trim(s.ChosenAreaFile);
    ListPorts.clear();
    FilePortCount = 0;
    portconfigbox->SetCaption("");
    std::vector<PortRecord> ports;
    FileResult r = ReadAllPortRecords(area, ports);
    if (!r.ok()) {
        portlist2->Clear();
        MsgBox("The ports of the sea area cannot be read: " + r.message + ". Choose another with Sea Area.",
               kOkOnly | kExclamation);
        return;
    }
    FilePortCount = static_cast<long>(ports.size());
    const long count = std::min(FilePortCount, kLastUsablePort);
    // The port in use, or in a newly chosen area the port with its number, kept within the file.
    if (count > 0)
        portconfigbox->SetCaption(
            ShownText(ports[static_cast<size_t>(PortWithin(s.CurrentPort, count) - 1)].PortName));
    for (long k = 1; k <= count; ++k) ListPorts.push_back({k, ports[static_cast<size_t>(k - 1)]});
    FillList();
}

void frmconfig::SortPortsByName() {
    std::vector<std::pair<std::string, ListedPort>> keyed;
    keyed.reserve(ListPorts.size());
    for (ListedPort& p : ListPorts) keyed.emplace_back(sortKey(p.port), std::move(p));
    // Equal keys keep their order, so ports of the same name stay in file order.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ListPorts.clear();
    for (auto& [key, p] : keyed) ListPorts.push_back(std::move(p));
    FillList();
}

void frmconfig::FillList() {
    portlist2->Clear();
    for (size_t i = 0; i < ListPorts.size(); ++i) {
        portlist2->AddItem(ShownText(ListPorts[i].port.PortName));
        portlist2->SetItemData(static_cast<int>(i), ListPorts[i].record);
    }
}

// The first entry from `start` whose name holds the search text, ignoring case; -1 when none.
int frmconfig::FindFrom(int start) const {
    const QString text = QString::fromStdString(txtSearch->Text()).toUpper();
    for (int i = std::max(start, 0); i < portlist2->ListCount(); ++i)
        if (nameContains(portlist2->List(i), text)) return i;
    return -1;
}

void frmconfig::txtSearch_Change() {
    int i = FindFrom(0);
    if (i < 0) return;
    portlist2->SetListIndex(i);
    LastFoundIndex = i;
}

void frmconfig::cmdSearch_Click() {
    int i = FindFrom(LastFoundIndex + 1);
    if (i < 0) {
        LastFoundIndex = -1;  // the next press starts again at the top
        return;
    }
    portlist2->SetListIndex(i);
    LastFoundIndex = i;
}

void frmconfig::cmdSort_Click() {
    if (optSortbyName->Value()) SortPortsByName();
    else LoadPortList();
}

void frmconfig::portlist2_Click() {
    int i = portlist2->ListIndex();
    if (i < 0) return;
    std::string text = portlist2->Text();
    size_t tab = text.find('\t');
    text = tab == std::string::npos ? Trim(text) : text.substr(tab + 1);
    SelectedPortNo = static_cast<int16_t>(portlist2->ItemData(i));
    portconfigbox->SetCaption(text);
}

void frmconfig::portlist2_DblClick() { portconfigok_Click(); }

void frmconfig::portconfigok_Click() {
    SharedState& s = State();
    if (portlist2->ListIndex() < 0) {
        MsgBox("Select a port", kOkOnly, "Tidewyn");
        return;
    }
    // Everything is checked before anything is written: the area file may have changed since
    // the list was read.
    const std::string area = Trim(s.ChosenAreaFile);
    const long count = PortCount(area);
    if (SelectedPortNo < 1 || SelectedPortNo > count) {
        MsgBox("Error in Port selection, Port number greater than the number of records in the file",
               kOkOnly | kExclamation);
        return;
    }
    PortRecord port;
    FileResult r = ReadPortRecord(area, SelectedPortNo, port);
    if (!r.ok()) {
        MsgBox("The port cannot be read: " + r.message, kOkOnly | kExclamation);
        return;
    }
    const int16_t sortFlag = optSortbyName->Value() ? -1 : 0;
    FileResult w = UpdateSettingsFile([&](SettingsRecord& rec) {
        rec.PortIndex = static_cast<float>(SelectedPortNo);
        rec.AreaPath = area;
        rec.SortByName = sortFlag;
    });
    // Saved also when only the folder's sync failed: the program goes on with what the file holds.
    if (!TellSave(w, "The settings cannot be saved: ")) return;

    s.CurrentPort = SelectedPortNo;
    s.AreaFilePath = area;
    FileResult d = EnsureUserDepthFile();
    if (!d.ok())
        MsgBox(
            UsableDepthFile(d) ? d.message : "The user depths of this sea area cannot be kept: " + d.message,
            kOkOnly | kExclamation);

    frmtidewyn& main = Get<frmtidewyn>();
    main.TakeClockTime();
    main.ShowPort(port, true);
    Unload();
}

void frmconfig::portconfigcancel_Click() {
    SettingsRecord stored;
    ReloadSettingsCopies(stored);
    Unload();
}
