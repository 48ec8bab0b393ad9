#include "maintenance/frmharmedit.h"

#include <QMenuBar>
#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/areafile.h"
#include "engine/boxnumber.h"
#include "engine/cp1252.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "engine/timetext.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/mainface.h"

using namespace engine;
using namespace platform;

namespace {

constexpr const char* kTitle = "Tidewyn";
constexpr const char* kMonthLabels[12] = {"Jan.", "Feb.", "Mar.", "Apr.", "May",  "Jun.",
                                          "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."};
constexpr const char* kDeltaZ0Heading = "Delta Z0";
constexpr const char* kMonthlyM2Heading = "MHm2 Monthly Values";

// The labels of the 13 constants, in record order (kPortConstants).
constexpr const char* kConstantLabels[13] = {"Z0",  "M2g",  "M2hm", "S2g", "S2hm", "K1g", "K1hm",
                                             "O1g", "O1hm", "f4",   "F4",  "f6",   "F6"};
constexpr const char* kNoArea = "Select an existing area from the File -> Area Select Menu!!";
constexpr const char* kNoPort = "Error - No port selected";
// PortName's width in an area file, in Windows-1252 bytes.
constexpr size_t kNameWidth = 35;

// The boxes of the 13 constants in record order, and of the two monthly columns.
using BoxMember = TextBox* frmharmedit::*;
using H = frmharmedit;
constexpr BoxMember kConstantBoxes[13] = {&H::txtZ0,  &H::txtM2g,  &H::txtM2Hm, &H::txtS2g,  &H::txtS2Hm,
                                          &H::txtK1g, &H::txtK1Hm, &H::txtO1g,  &H::txtO1Hm, &H::txtsf4,
                                          &H::txtLF4, &H::txtsf6,  &H::txtLF6};
constexpr BoxMember kMonthDZ0Boxes[12] = {&H::txtjandz0, &H::txtfebdz0, &H::txtmardz0, &H::txtaprdz0,
                                          &H::txtmaydz0, &H::txtjundz0, &H::txtjuldz0, &H::txtaugdz0,
                                          &H::txtsepdz0, &H::txtoctdz0, &H::txtnovdz0, &H::txtdecdz0};
constexpr BoxMember kMonthM2Boxes[12] = {&H::txtjanm2, &H::txtfebm2, &H::txtmarm2, &H::txtaprm2,
                                         &H::txtmaym2, &H::txtjunm2, &H::txtjulm2, &H::txtaugm2,
                                         &H::txtsepm2, &H::txtoctm2, &H::txtnovm2, &H::txtdecm2};

template <size_t N>
std::array<TextBox*, N> boxesOf(const frmharmedit& window, const BoxMember (&members)[N]) {
    std::array<TextBox*, N> out;
    for (size_t i = 0; i < N; ++i) out[i] = window.*members[i];
    return out;
}

// A record number as the current port.
int16_t portNumber(long k) {
    return static_cast<int16_t>(std::min<long>(k, std::numeric_limits<int16_t>::max()));
}

}  // namespace

frmharmedit::frmharmedit() : Form("Harmonic Constants") {
    QWidget* c = Client();
    lblfileList = new Label(c, "Choose the area to edit");
    fileList = new FileListBox(c);
    portlist = new ListBox(c);
    lblportname = new Label(c, "Port Name");
    txtportname = new TextBox(c);
    lblTimeZone = new Label(c, "Timezone");
    txtTimeZone = new TextBox(c);
    lblZoneSign = new Label(c, "Hours to add to get UTC (-1 for UTC+1)");
    lblZoneSign->setWordWrap(true);
    lblportno = new Label(c, "Port No");
    txtportno = new TextBox(c);
    lblportlat = new Label(c, "Lat.");
    txtportlat = new TextBox(c);
    lblportlong = new Label(c, "Long.");
    txtportlong = new TextBox(c);
    lblCoordinates = new Label(c, "Enter coordinates as  50.45.00N   001.23.00W");

    for (size_t i = 0; i < 13; ++i) {
        lblConstants[i] = new Label(c, kConstantLabels[i]);
        this->*kConstantBoxes[i] = new TextBox(c);
    }
    lblDeltaZ0 = new Label(c, kDeltaZ0Heading);
    lblMonthlyM2 = new Label(c, kMonthlyM2Heading);
    lblMonthlyM2->setWordWrap(true);
    for (size_t m = 0; m < 12; ++m) {
        lblMonths[m] = new Label(c, kMonthLabels[m]);
        this->*kMonthDZ0Boxes[m] = new TextBox(c);
    }
    for (BoxMember box : kMonthM2Boxes) this->*box = new TextBox(c);

    chartok = new CommandButton(c, "Accept Changes");
    cmdAdd = new CommandButton(c, "Add Port");
    cmdInsert = new CommandButton(c, "Insert Port");
    cmdDelete = new CommandButton(c, "Delete Port");
    cmdClear = new CommandButton(c, "Clear Data");
    Command2 = new CommandButton(c, "Exit");
    SetCancelButton(Command2);

    mnuharmFile = AddTopMenu(menuBar(), "File");
    mnuharmFileExit = AddMenuItem(mnuharmFile, "Exit", [this] { mnuharmFileExit_Click(); });

    // Every filtered box hears Enter and the Ctrl keys, so that they beep like other keys.
    const std::pair<TextBox*, void (frmharmedit::*)(int&)> filtered[] = {
        {txtportlat, &frmharmedit::txtportlat_KeyPress},   {txtportlong, &frmharmedit::txtportlong_KeyPress},
        {txtTimeZone, &frmharmedit::txtTimeZone_KeyPress}, {txtZ0, &frmharmedit::txtZ0_KeyPress},
        {txtM2g, &frmharmedit::txtM2g_KeyPress},           {txtM2Hm, &frmharmedit::txtM2Hm_KeyPress},
        {txtS2g, &frmharmedit::txtS2g_KeyPress},           {txtS2Hm, &frmharmedit::txtS2Hm_KeyPress},
        {txtK1g, &frmharmedit::txtK1g_KeyPress},           {txtK1Hm, &frmharmedit::txtK1Hm_KeyPress},
        {txtO1g, &frmharmedit::txtO1g_KeyPress},           {txtO1Hm, &frmharmedit::txtO1Hm_KeyPress},
        {txtsf4, &frmharmedit::txtsf4_KeyPress},           {txtLF4, &frmharmedit::txtLF4_KeyPress},
        {txtsf6, &frmharmedit::txtsf6_KeyPress},           {txtLF6, &frmharmedit::txtLF6_KeyPress},
        {txtjandz0, &frmharmedit::txtjandz0_KeyPress},     {txtfebdz0, &frmharmedit::txtfebdz0_KeyPress},
        {txtmardz0, &frmharmedit::txtmardz0_KeyPress},     {txtaprdz0, &frmharmedit::txtaprdz0_KeyPress},
        {txtmaydz0, &frmharmedit::txtmaydz0_KeyPress},     {txtjundz0, &frmharmedit::txtjundz0_KeyPress},
        {txtjuldz0, &frmharmedit::txtjuldz0_KeyPress},     {txtaugdz0, &frmharmedit::txtaugdz0_KeyPress},
        {txtsepdz0, &frmharmedit::txtsepdz0_KeyPress},     {txtoctdz0, &frmharmedit::txtoctdz0_KeyPress},
        {txtnovdz0, &frmharmedit::txtnovdz0_KeyPress},     {txtdecdz0, &frmharmedit::txtdecdz0_KeyPress},
        {txtjanm2, &frmharmedit::txtjanm2_KeyPress},       {txtfebm2, &frmharmedit::txtfebm2_KeyPress},
        {txtmarm2, &frmharmedit::txtmarm2_KeyPress},       {txtaprm2, &frmharmedit::txtaprm2_KeyPress},
        {txtmaym2, &frmharmedit::txtmaym2_KeyPress},       {txtjunm2, &frmharmedit::txtjunm2_KeyPress},
        {txtjulm2, &frmharmedit::txtjulm2_KeyPress},       {txtaugm2, &frmharmedit::txtaugm2_KeyPress},
        {txtsepm2, &frmharmedit::txtsepm2_KeyPress},       {txtoctm2, &frmharmedit::txtoctm2_KeyPress},
        {txtnovm2, &frmharmedit::txtnovm2_KeyPress},       {txtdecm2, &frmharmedit::txtdecm2_KeyPress},
    };
    for (const auto& [box, handler] : filtered) {
        box->SetControlKeys(true);
        box->SetKeyPress([this, h = handler](int& key) { (this->*h)(key); });
    }

    connect(fileList, &ListBox::Click, this, Handler([this] { fileList_Click(); }));
    connect(portlist, &ListBox::Click, this, Handler([this] { portlist_Click(); }));
    connect(chartok, &QPushButton::clicked, this, Handler([this] { chartok_Click(); }));
    connect(cmdAdd, &QPushButton::clicked, this, Handler([this] { cmdAdd_Click(); }));
    connect(cmdInsert, &QPushButton::clicked, this, Handler([this] { cmdInsert_Click(); }));
    connect(cmdDelete, &QPushButton::clicked, this, Handler([this] { cmdDelete_Click(); }));
    connect(cmdClear, &QPushButton::clicked, this, Handler([this] { cmdClear_Click(); }));
    connect(Command2, &QPushButton::clicked, this, Handler([this] { Command2_Click(); }));
    connect(txtM2Hm, &TextBox::LostFocus, this, Handler([this] { txtM2Hm_LostFocus(); }));
    connect(txtjanm2, &TextBox::LostFocus, this, Handler([this] { txtjanm2_LostFocus(); }));

    // Lies exactly over the main window.
    LayOverMainWindow(*this);
    arrangeControls();
}

std::array<TextBox*, 13> frmharmedit::ConstantBoxes() const { return boxesOf(*this, kConstantBoxes); }
std::array<TextBox*, 12> frmharmedit::MonthDZ0Boxes() const { return boxesOf(*this, kMonthDZ0Boxes); }
std::array<TextBox*, 12> frmharmedit::MonthM2Boxes() const { return boxesOf(*this, kMonthM2Boxes); }

// The lists on the left, the port's fields on the right: its name, zone, number and position
// above, the constants below them, the monthly values beside the constants. The port list
// takes the window's extra height.
void frmharmedit::arrangeControls() {
    const int H = ToPixels(HeightOf(Client()));
    constexpr int listLeft = 8, listWidth = 280, x0 = 296, row = 23, box = 22, number = 88;
    PlacePixels(lblfileList, listLeft, 6, listWidth, 18);
    PlacePixels(fileList, listLeft, 24, listWidth, 96);
    const int buttonsTop = H - 8 - 2 * 30 - 26;
    PlacePixels(portlist, listLeft, 126, listWidth, buttonsTop - 8 - 126);
    CommandButton* buttons[] = {chartok, cmdAdd, cmdInsert, cmdDelete, cmdClear, Command2};
    for (int i = 0; i < 6; ++i)
        PlacePixels(buttons[i], listLeft + (i % 2) * 143, buttonsTop + (i / 2) * 30, 137, 26);

    auto field = [&](Label* label, TextBox* text, int left, int top, int labelWidth, int boxWidth) {
        PlacePixels(label, left, top + 3, labelWidth, 18);
        PlacePixels(text, left + labelWidth, top, boxWidth, box);
    };
    field(lblportname, txtportname, x0, 6, 66, 278);
    field(lblTimeZone, txtTimeZone, x0, 33, 66, 44);
    PlacePixels(lblZoneSign, x0 + 116, 31, 150, 34);
    field(lblportno, txtportno, x0, 66, 66, 60);
    field(lblportlat, txtportlat, x0, 93, 66, 100);
    field(lblportlong, txtportlong, x0 + 172, 93, 42, 122);
    PlacePixels(lblCoordinates, x0, 121, 344, 18);

    constexpr int grid = 144;
    const auto constants = ConstantBoxes();
    for (size_t i = 0; i < 13; ++i)
        field(lblConstants[i], constants[i], x0, grid + static_cast<int>(i) * row, 38, number);
    PlacePixels(lblDeltaZ0, x0 + 162, grid, number, 34);
    PlacePixels(lblMonthlyM2, x0 + 254, grid, 96, 34);
    const auto dz0 = MonthDZ0Boxes(), m2 = MonthM2Boxes();
    for (size_t m = 0; m < 12; ++m) {
        const int top = grid + 34 + static_cast<int>(m) * row;
        field(lblMonths[m], dz0[m], x0 + 132, top, 30, number);
        PlacePixels(m2[m], x0 + 254, top, number, box);
    }
}

void frmharmedit::Form_Resize() { arrangeControls(); }

void frmharmedit::Form_Load() {
    SharedState& s = State();
    s.EditAreaFileName.clear();
    s.EditAreaFilePath.clear();
    // The rebuild's work file is no area.
    fileList->SetHidden({kScratchAreaFileName});
    fileList->SetPattern("*.hc");
    fileList->SetPath(Env().programFolder);
}

std::string frmharmedit::NumberText(float value) { return TypedText(value); }

std::optional<float> frmharmedit::BoxNumber(const std::string& text) {
    const std::optional<double> v = ReadBoxNumber(text, NumberForm::Decimal, 0);
    if (!v) return std::nullopt;
    return ToSingle(*v);
}

bool frmharmedit::areaChosen() const {
    if (!State().EditAreaFilePath.empty()) return true;
    MsgBox(kNoArea, kOkOnly, kNoTitle);
    return false;
}

void frmharmedit::refuse(const std::string& prompt) { MsgBox(prompt, kOkOnly | kExclamation, kTitle); }

bool frmharmedit::editingActiveArea() const {
    const SharedState& s = State();
    return SameFile(s.EditAreaFilePath, s.AreaFilePath);
}

void frmharmedit::listPorts(bool numbered) {
    const SharedState& s = State();
    portlist->Clear();
    std::vector<PortRecord> ports;
    FileResult r = ReadAllPortRecords(s.EditAreaFilePath, ports);
    if (!r.ok()) {
        refuse("The ports cannot be listed: " + r.message);
        return;
    }
    for (size_t i = 0; i < ports.size(); ++i) {
        const std::string& name = ports[i].PortName;
        portlist->AddItem(numbered ? std::to_string(i + 1) + "  " + name : ShownText(name));
    }
}

void frmharmedit::fileList_Click() {
    SharedState& s = State();
    const std::string name = Trim(fileList->FileName());
    if (name.empty()) return;
    s.EditAreaFileName = name;
    s.EditAreaFilePath = fileList->FilePath();
    listPorts(false);
}

void frmharmedit::portlist_Click() {
    SharedState& s = State();
    const int i = portlist->ListIndex();
    if (i < 0 || s.EditAreaFilePath.empty()) return;
    const long k = i + 1;
    PortRecord rec;
    FileResult r = ReadPortRecord(s.EditAreaFilePath, k, rec);
    if (!r.recordRead()) {
        refuse("The port cannot be read: " + r.message);
        // The boxes still hold the port loaded before: no button may write it here.
        const QSignalBlocker quiet(portlist);
        portlist->setCurrentRow(-1);
        return;
    }
    // A damaged record is shown all the same, to be corrected here.
    if (r.status == FileStatus::Damaged)
        refuse(r.message + ". Correct it here and press \"Accept Changes\".");
    if (editingActiveArea()) {
        s.CurrentPort = portNumber(k);
        s.PortName = rec.PortName;
    }

    Loaded loaded{rec, {}};
    auto show = [&](TextBox* b, const std::string& text) {
        b->SetText(text);
        b->setCursorPosition(0);  // a number too long for its box shows its first digits
        loaded.texts.emplace_back(b, b->Text());
    };
    // Without its padding, so that what is typed at its end is not cut.
    show(txtportname, RTrim(rec.PortName));
    show(txtportno, rec.PortNo);
    show(txtportlat, FormatLatitudeDMS(rec.Latitude));
    show(txtportlong, FormatLongitudeDMS(rec.Longitude));
    const auto constants = ConstantBoxes();
    for (size_t c = 0; c < 13; ++c) show(constants[c], NumberText(rec.*kPortConstants[c].field));
    const auto dz0 = MonthDZ0Boxes(), m2 = MonthM2Boxes();
    for (size_t m = 0; m < 12; ++m) {
        show(dz0[m], NumberText(rec.MonthDZ0[m]));
        show(m2[m], NumberText(rec.MonthM2Hm[m]));
    }
    show(txtTimeZone, std::to_string(ZoneHours(rec.ZoneLetter)));
    loaded_ = std::move(loaded);
}

bool frmharmedit::untouched(const TextBox* box) const {
    if (!loaded_) return false;
    for (const auto& [b, text] : loaded_->texts)
        if (b == box) return box->Text() == text;
    return false;
}

std::optional<float> frmharmedit::numberOf(TextBox* box, const std::string& label, float stored) {
    if (untouched(box)) return stored;
    const std::optional<float> v = BoxNumber(box->Text());
    if (!v) {
        refuse(NumberFormFault(label, NumberForm::Decimal) + ".");
        box->setFocus();
    }
    return v;
}

std::optional<double> frmharmedit::positionOf(TextBox* box, NumberForm form, double stored) {
    if (untouched(box)) return stored;
    const std::optional<double> v = ReadBoxNumber(box->Text(), form, 0);
    if (!v) {
        refuse(NumberFormFault(form == NumberForm::Latitude ? "Lat." : "Long.", form) + ".");
        box->setFocus();
    }
    return v;
}

std::optional<PortRecord> frmharmedit::checkedRecord(bool needsSelection) {
    if (!areaChosen()) return std::nullopt;
    const PortRecord stored = loaded_ ? loaded_->record : PortRecord{};
    PortRecord r;
    const std::optional<double> typedLatitude = positionOf(txtportlat, NumberForm::Latitude, stored.Latitude);
    if (!typedLatitude) return std::nullopt;
    const double latitude = *typedLatitude;
    if (latitude == 0) {
        refuse("Error - Latitude entry");
        return std::nullopt;
    }
    if ((needsSelection && portlist->ListIndex() < 0) || Trim(txtportname->Text()).empty()) {
        refuse(kNoPort);
        return std::nullopt;
    }
    const std::optional<double> longitude = positionOf(txtportlong, NumberForm::Longitude, stored.Longitude);
    if (!longitude) return std::nullopt;

    r.PortName = untouched(txtportname) ? stored.PortName : txtportname->Text();
    r.PortNo = untouched(txtportno) ? stored.PortNo : txtportno->Text();
    const std::pair<TextBox*, const char*> texts[] = {{txtportname, "port name"}, {txtportno, "port number"}};
    for (const auto& [b, what] : texts) {
        if (!untouched(b) && !FitsCp1252(b->Text())) {
            refuse(std::string("The ") + what +
                   " holds characters that cannot be stored in the area file. Please remove them.");
            b->setFocus();
            return std::nullopt;
        }
    }
    // Trailing blanks are the padding; anything else beyond the field would be cut.
    if (const size_t length = Utf8ToCp1252(RTrim(txtportname->Text())).size();
        !untouched(txtportname) && length > kNameWidth) {
        refuse("The port name has " + std::to_string(length) + " characters; an area file holds " +
               std::to_string(kNameWidth) + " at most. Please shorten it.");
        txtportname->setFocus();
        return std::nullopt;
    }
    if (untouched(txtTimeZone)) {
        r.ZoneLetter = stored.ZoneLetter;
    } else {
        // Whole hours from -11 to 11; an empty box is 0. Anything else is refused, not taken as 0.
        const std::optional<double> hours = ReadBoxNumber(txtTimeZone->Text(), NumberForm::Whole, 0);
        if (!hours || std::fabs(*hours) > 11) {
            refuse(hours ? "Timezone must lie between -11 and 11."
                         : NumberFormFault("Timezone", NumberForm::Whole) + ".");
            txtTimeZone->setFocus();
            return std::nullopt;
        }
        r.ZoneLetter = ZoneLetterForHours(*hours);
    }
    r.Latitude = ToSingle(latitude);
    r.Longitude = ToSingle(*longitude);
    const auto constants = ConstantBoxes();
    for (size_t c = 0; c < 13; ++c) {
        const auto v = numberOf(constants[c], kConstantLabels[c], stored.*kPortConstants[c].field);
        if (!v) return std::nullopt;
        r.*kPortConstants[c].field = *v;
    }
    const auto dz0 = MonthDZ0Boxes(), m2 = MonthM2Boxes();
    for (size_t m = 0; m < 12; ++m) {
        const auto v =
            numberOf(dz0[m], std::string(kDeltaZ0Heading) + " " + kMonthLabels[m], stored.MonthDZ0[m]);
        if (!v) return std::nullopt;
        r.MonthDZ0[m] = *v;
    }
    for (size_t m = 0; m < 12; ++m) {
        const auto v =
            numberOf(m2[m], std::string(kMonthlyM2Heading) + " " + kMonthLabels[m], stored.MonthM2Hm[m]);
        if (!v) return std::nullopt;
        r.MonthM2Hm[m] = *v;
    }

    // What the reader would call damaged is never written, whether typed or loaded.
    struct Checked {
        TextBox* box;
        std::string label;
        float value;
        ValueRange range;
    };
    std::vector<Checked> checks = {{txtportlat, "Lat.", r.Latitude, kLatitudeRange},
                                   {txtportlong, "Long.", r.Longitude, kLongitudeRange}};
    for (size_t c = 0; c < 13; ++c)
        checks.push_back(
            {constants[c], kConstantLabels[c], r.*kPortConstants[c].field, kPortConstants[c].range});
    for (size_t m = 0; m < 12; ++m)
        checks.push_back(
            {dz0[m], std::string(kDeltaZ0Heading) + " " + kMonthLabels[m], r.MonthDZ0[m], kLevelRange});
    for (size_t m = 0; m < 12; ++m)
        checks.push_back(
            {m2[m], std::string(kMonthlyM2Heading) + " " + kMonthLabels[m], r.MonthM2Hm[m], kLevelRange});
    for (const Checked& c : checks) {
        if (!c.range.holds(c.value)) {
            refuse(c.label + " must lie between " + RangeEndText(c.range.lo) + " and " +
                   RangeEndText(c.range.hi) + ".");
            c.box->setFocus();
            return std::nullopt;
        }
    }
    // Nor are constants in range that together give heights no sea has.
    if (std::optional<std::string> fault = HeightsFault(r, true)) {
        refuse("T" + fault->substr(1) + ".");  // "The constants can give heights of ..."
        constants[0]->setFocus();
        return std::nullopt;
    }
    return r;
}

void frmharmedit::takePosition(const PortRecord& written, long k) {
    SharedState& s = State();
    if (!editingActiveArea() || s.CurrentPort != k) return;
    s.PortLatitude = written.Latitude;
    s.PortLongitude = written.Longitude;
}

void frmharmedit::chartok_Click() {
    const std::optional<PortRecord> r = checkedRecord(true);
    if (!r) return;
    const long k = portlist->ListIndex() + 1;
    FileResult w = WritePortRecord(State().EditAreaFilePath, k, *r);
    if (!TellSave(w, "The port cannot be stored: ", kOkOnly | kExclamation, kTitle)) return;
    takePosition(*r, k);
}

void frmharmedit::cmdAdd_Click() {
    const std::optional<PortRecord> r = checkedRecord(false);
    if (!r) return;
    FileResult w = AppendPortRecord(State().EditAreaFilePath, *r);
    (void)TellSave(w, "The port cannot be added: ", kOkOnly | kExclamation, kTitle);
    listPorts(false);
}

void frmharmedit::cmdInsert_Click() {
    const std::optional<PortRecord> r = checkedRecord(true);
    if (!r) return;
    const long k = portlist->ListIndex() + 1;
    if (rebuilt(InsertPortRecord(State().EditAreaFilePath, k, *r), k, "The port cannot be inserted: "))
        takePosition(*r, k);
}

void frmharmedit::cmdDelete_Click() {
    if (!areaChosen()) return;
    if (portlist->ListIndex() < 0) {
        refuse(kNoPort);
        return;
    }
    const long k = portlist->ListIndex() + 1;
    rebuilt(DeletePortRecord(State().EditAreaFilePath, k), k, "The port cannot be deleted: ");
}

bool frmharmedit::rebuilt(const FileResult& w, long k, const std::string& failure) {
    // Saved once the area file took its old one's place: what failed after (a folder's sync,
    // the depths' renumbering) is told as it stands.
    if (w.saved()) {
        if (editingActiveArea()) State().CurrentPort = portNumber(k);
        if (!w.message.empty()) refuse(w.message);
    } else {
        refuse(failure + w.message);
    }
    listPorts(true);
    return w.saved();
}

void frmharmedit::cmdClear_Click() {
    for (TextBox* b : {txtportname, txtportno, txtportlat, txtportlong}) b->SetText("");
    for (TextBox* b : ConstantBoxes()) b->SetText("");
    for (TextBox* b : MonthDZ0Boxes()) b->SetText("");
    for (TextBox* b : MonthM2Boxes()) b->SetText("");
}

// Only a value the user changed is copied: passing through a box loaded with the stored value
// would flatten monthly values that differ from it.
void frmharmedit::txtM2Hm_LostFocus() {
    if (untouched(txtM2Hm)) return;
    for (TextBox* b : MonthM2Boxes()) b->SetText(txtM2Hm->Text());
}

void frmharmedit::txtjanm2_LostFocus() {
    if (untouched(txtjanm2)) return;
    txtM2Hm->SetText(txtjanm2->Text());
}

void frmharmedit::Command2_Click() { Unload(); }

void frmharmedit::mnuharmFileExit_Click() { Unload(); }

// A comma is taken as the decimal point, as a German desktop writes it.
void frmharmedit::NumericKeyFilter(int& KeyAscii) {
    const bool passes = (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == '.' || KeyAscii == ',' ||
                        KeyAscii == '-' || KeyAscii == '+' || KeyAscii == 8;
    if (!passes) KeyAscii = 0;
}

namespace {
// Digits, the point (or a comma for it), Backspace and a pair of hemisphere letters, small letters
// made capitals.
void positionKeyFilter(int& KeyAscii, char first, char second) {
    if (KeyAscii == first + 32 || KeyAscii == second + 32) KeyAscii -= 32;
    const bool passes = (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == '.' || KeyAscii == ',' ||
                        KeyAscii == first || KeyAscii == second || KeyAscii == 8;
    if (!passes) KeyAscii = 0;
}
}  // namespace

void frmharmedit::LatitudeKeyFilter(int& KeyAscii) { positionKeyFilter(KeyAscii, 'N', 'S'); }

void frmharmedit::LongitudeKeyFilter(int& KeyAscii) { positionKeyFilter(KeyAscii, 'E', 'W'); }
