#include "adjustment/frmheightenter.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "adjustment/frmharmadjust.h"
#include "engine/environment.h"
#include "engine/heightfile.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

namespace {

// A pick list's choice: its position, 0 when nothing is picked.
int picked(const ListBox* list) { return std::max(0, list->ListIndex()); }

void fill(ListBox* list, int count, int step, bool twoDigits) {
    list->Clear();
    for (int i = 0; i < count; ++i) {
        const int n = i * step;
        list->AddItem((twoDigits && n < 10 ? "0" : "") + std::to_string(n));
    }
}

}  // namespace

frmHeightEnter::frmHeightEnter() : Form("Enter Observed Heights") {
    SetBorderStyle(BorderStyle::Fixed);
    QWidget* c = Client();
    auto label = [c](const std::string& caption) { return new Label(c, caption); };
    lblSelect = label("Select existing height file");
    File1 = new FileListBox(c);
    lblNewName = label("OR Enter new file name");
    txtFileName = new TextBox(c);
    cmdOpen = new CommandButton(c, "Open");
    lblHours = label("Hours");
    lstHours = new ListBox(c);
    lblMins = label("Minutes");
    lstMins = new ListBox(c);
    lblMetres = label("Metres    (X . XX)");
    lstMetres = new ListBox(c);
    lstCms = new ListBox(c);
    lstMMs = new ListBox(c);
    lblTimeCaption = label("Time");
    lblTime = label("");
    lblHeightCaption = label("Height (metres)");
    lblHeight = label("");
    for (Label* field : {lblTime, lblHeight}) field->SetBoxed();
    cmdAdd = new CommandButton(c, "Add");
    lblEntries = label("Double click an entry to edit");
    List1 = new ListBox(c);
    cmdChange = new CommandButton(c, "Change");
    Command2 = new CommandButton(c, "Finished");
    cmdCancel = new CommandButton(c, "Cancel");
    SetCancelButton(cmdCancel);

    // Three columns: the file, the pickers of time and height, the list of entries.
    constexpr int m = 8, listTop = 28, listHeight = 172, fieldTop = 230, buttonTop = 262, button = 26;
    PlacePixels(lblSelect, m, 8, 190, 18);
    PlacePixels(File1, m, listTop, 190, listHeight);
    PlacePixels(lblNewName, m, fieldTop - 24, 190, 18);
    PlacePixels(txtFileName, m, fieldTop, 190, 24);
    PlacePixels(cmdOpen, m, buttonTop, 90, button);
    PlacePixels(lblHours, 214, 8, 56, 18);
    PlacePixels(lstHours, 214, listTop, 48, listHeight);
    PlacePixels(lblMins, 270, 8, 64, 18);
    PlacePixels(lstMins, 270, listTop, 48, listHeight);
    PlacePixels(lblMetres, 334, 8, 140, 18);
    PlacePixels(lstMetres, 334, listTop, 44, listHeight);
    PlacePixels(lstCms, 382, listTop, 44, listHeight);
    PlacePixels(lstMMs, 430, listTop, 44, listHeight);
    PlacePixels(lblTimeCaption, 214, fieldTop - 24, 104, 18);
    PlacePixels(lblTime, 214, fieldTop, 104, 24);
    PlacePixels(lblHeightCaption, 334, fieldTop - 24, 140, 18);
    PlacePixels(lblHeight, 334, fieldTop, 140, 24);
    PlacePixels(cmdAdd, 214, buttonTop, 90, button);
    PlacePixels(lblEntries, 490, 8, 200, 18);
    PlacePixels(List1, 490, listTop, 200, fieldTop + 24 - listTop);
    PlacePixels(cmdChange, 490, buttonTop, 90, button);
    PlacePixels(Command2, m, buttonTop + button + 16, 90, button);
    PlacePixels(cmdCancel, 600, buttonTop + button + 16, 90, button);
    SetWidth(ToTwips(698));
    SetHeight(ToTwips(buttonTop + 2 * button + 16 + m));

    connect(File1, &ListBox::Click, this, Handler([this] { File1_Click(); }));
    connect(lstHours, &ListBox::Click, this, Handler([this] { lstHours_Click(); }));
    connect(lstMins, &ListBox::Click, this, Handler([this] { lstMins_Click(); }));
    connect(lstMetres, &ListBox::Click, this, Handler([this] { lstMetres_Click(); }));
    connect(lstCms, &ListBox::Click, this, Handler([this] { lstCms_Click(); }));
    connect(lstMMs, &ListBox::Click, this, Handler([this] { lstMMs_Click(); }));
    connect(List1, &ListBox::DblClick, this, Handler([this] { List1_DblClick(); }));
    connect(cmdOpen, &QPushButton::clicked, this, Handler([this] { cmdOpen_Click(); }));
    connect(cmdAdd, &QPushButton::clicked, this, Handler([this] { cmdAdd_Click(); }));
    connect(cmdChange, &QPushButton::clicked, this, Handler([this] { cmdChange_Click(); }));
    connect(Command2, &QPushButton::clicked, this, Handler([this] { Command2_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, Handler([this] { cmdCancel_Click(); }));
}

void frmHeightEnter::Form_Load() {
    if (IsLoaded<frmHarmAdjust>()) CentreOn(Get<frmHarmAdjust>());
    File1->SetPattern(kHeightFilePattern);
    File1->SetPath(Env().programFolder);
    fill(lstHours, 24, 1, true);
    fill(lstMins, 12, 5, false);
    fill(lstMetres, 21, 1, false);
    fill(lstCms, 10, 1, false);
    fill(lstMMs, 10, 1, false);
}

void frmHeightEnter::File1_Click() {
    const std::string name = File1->FileName();
    if (!name.empty()) txtFileName->SetText(HeightFileBase(name));
}

void frmHeightEnter::lstHours_Click() { pickTime(); }
void frmHeightEnter::lstMins_Click() { pickTime(); }
void frmHeightEnter::lstMetres_Click() { pickHeight(); }
void frmHeightEnter::lstCms_Click() { pickHeight(); }
void frmHeightEnter::lstMMs_Click() { pickHeight(); }

void frmHeightEnter::pickTime() { lblTime->SetCaption(ObsTimeText(picked(lstHours), 5 * picked(lstMins))); }

// In "." form whatever the locale, as "Finished" reads it back.
void frmHeightEnter::pickHeight() {
    lblHeight->SetCaption(TypedText(picked(lstMetres) + picked(lstCms) / 10.0 + picked(lstMMs) / 100.0));
}

void frmHeightEnter::cmdAdd_Click() {
    if (lblTime->Caption().empty()) {
        MsgBox("No time selected");
        return;
    }
    if (lblHeight->Caption().empty()) {
        MsgBox("No height entered");
        return;
    }
    List1->AddItem(lblTime->Caption() + ", " + lblHeight->Caption());
}

void frmHeightEnter::cmdOpen_Click() {
    const NamedFile file = HeightFileFor(txtFileName->Text());
    if (!file.fault.empty()) {
        MsgBox(file.fault);
        return;
    }
    std::vector<ObsHeightRecord> heights;
    const FileResult r = ReadHeightFile(file.path, heights);
    if (r.status == FileStatus::Missing) {
        // A new name: its file is made, empty; made also when only the folder's sync failed,
        // which the message says.
        (void)TellSave(WriteHeightFile(file.path, {}), "The height file cannot be made: ", kExclamation);
        return;
    }
    if (!r.ok()) {
        MsgBox("The height file cannot be opened: " + r.message, kExclamation);
        return;
    }
    for (const ObsHeightRecord& h : heights) List1->AddItem(ObsEntryText(h));
    opened_[file.path] = static_cast<long>(heights.size());
}

bool frmHeightEnter::mayReplace(const std::string& path, long entries) {
    const long held = RecordCount(path, ObsHeightRecord::kSize);
    // No entries leave the file as it is; a list as long holds as many records.
    if (entries == 0 || entries >= held) return true;
    if (const auto seen = opened_.find(path); seen != opened_.end() && seen->second >= held) return true;
    const std::string name = std::filesystem::path(path).filename().string();
    return MsgBox(name + " holds " + std::to_string(held) + " observations; replace them with these " +
                      std::to_string(entries) + "?",
                  kYesNo | kQuestion) == kYes;
}

void frmHeightEnter::Command2_Click() {
    const int n = List1->ListCount();
    const NamedFile file = HeightFileFor(txtFileName->Text());
    if (!file.fault.empty()) {
        MsgBox(file.fault);
        return;
    }
    if (!mayReplace(file.path, n)) return;
    std::vector<ObsHeightRecord> heights;
    for (int i = 0; i < n; ++i) {
        List1->SetListIndex(i);
        heights.push_back(ObsFromEntry(List1->List(i)));
    }
    // Saved also when only the folder's sync failed, which the message says.
    if (!TellSave(WriteHeightFile(file.path, heights), "The heights cannot be saved: ", kExclamation)) return;
    State().HeightFilePath = file.path;
}

void frmHeightEnter::cmdCancel_Click() {
    State().HeightFilePath.clear();
    Unload();
}
