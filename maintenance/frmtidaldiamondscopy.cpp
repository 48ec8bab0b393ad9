#include "maintenance/frmtidaldiamondscopy.h"

#include <cmath>
#include <filesystem>
#include <vector>

#include "engine/boxnumber.h"
#include "engine/cp1252.h"
#include "engine/diamondfile.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/timetext.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

namespace {

using F = frmTidalDiamondsCopy;
using BoxMember = TextBox* F::*;

// The hour rows: label, the source and destination boxes (direction, springs, neaps) and the
// double-click handlers of the two direction boxes.
struct HourRow {
    const char* label;
    BoxMember source[3], dest[3];
    void (F::*sourceDblClick)();
    void (F::*destDblClick)();
};
// clang-format off
const HourRow kHourRows[TidalDiamondRecord::kHours] = {
    {"HW -6", {&F::txtdirm6, &F::txtspratem6, &F::txtnpratem6},
              {&F::txtDestdirm6, &F::txtDestspratem6, &F::txtDestnpratem6},
              &F::txtdirm6_DblClick, &F::txtDestdirm6_DblClick},
    {"HW -5", {&F::txtdirm5, &F::txtspratem5, &F::txtnpratem5},
              {&F::txtDestdirm5, &F::txtDestspratem5, &F::txtDestnpratem5},
              &F::txtdirm5_DblClick, &F::txtDestdirm5_DblClick},
    {"HW -4", {&F::txtdirm4, &F::txtspratem4, &F::txtnpratem4},
              {&F::txtDestdirm4, &F::txtDestspratem4, &F::txtDestnpratem4},
              &F::txtdirm4_DblClick, &F::txtDestdirm4_DblClick},
    {"HW -3", {&F::txtdirm3, &F::txtspratem3, &F::txtnpratem3},
              {&F::txtDestdirm3, &F::txtDestspratem3, &F::txtDestnpratem3},
              &F::txtdirm3_DblClick, &F::txtDestdirm3_DblClick},
    {"HW -2", {&F::txtdirm2, &F::txtspratem2, &F::txtnpratem2},
              {&F::txtDestdirm2, &F::txtDestspratem2, &F::txtDestnpratem2},
              &F::txtdirm2_DblClick, &F::txtDestdirm2_DblClick},
    {"HW -1", {&F::txtdirm1, &F::txtspratem1, &F::txtnpratem1},
              {&F::txtDestdirm1, &F::txtDestspratem1, &F::txtDestnpratem1},
              &F::txtdirm1_DblClick, &F::txtDestdirm1_DblClick},
    {"HW",    {&F::txtdirhw, &F::txtspratehw, &F::txtnpratehw},
              {&F::txtDestdirhw, &F::txtDestspratehw, &F::txtDestnpratehw},
              &F::txtdirhw_DblClick, &F::txtDestdirhw_DblClick},
    {"HW +1", {&F::txtdirp1, &F::txtspratep1, &F::txtnpratep1},
              {&F::txtDestdirp1, &F::txtDestspratep1, &F::txtDestnpratep1},
              &F::txtdirp1_DblClick, &F::txtDestdirp1_DblClick},
    {"HW +2", {&F::txtdirp2, &F::txtspratep2, &F::txtnpratep2},
              {&F::txtDestdirp2, &F::txtDestspratep2, &F::txtDestnpratep2},
              &F::txtdirp2_DblClick, &F::txtDestdirp2_DblClick},
    {"HW +3", {&F::txtdirp3, &F::txtspratep3, &F::txtnpratep3},
              {&F::txtDestdirp3, &F::txtDestspratep3, &F::txtDestnpratep3},
              &F::txtdirp3_DblClick, &F::txtDestdirp3_DblClick},
    {"HW +4", {&F::txtdirp4, &F::txtspratep4, &F::txtnpratep4},
              {&F::txtDestdirp4, &F::txtDestspratep4, &F::txtDestnpratep4},
              &F::txtdirp4_DblClick, &F::txtDestdirp4_DblClick},
    {"HW +5", {&F::txtdirp5, &F::txtspratep5, &F::txtnpratep5},
              {&F::txtDestdirp5, &F::txtDestspratep5, &F::txtDestnpratep5},
              &F::txtdirp5_DblClick, &F::txtDestdirp5_DblClick},
    {"HW +6", {&F::txtdirp6, &F::txtspratep6, &F::txtnpratep6},
              {&F::txtDestdirp6, &F::txtDestspratep6, &F::txtDestnpratep6},
              &F::txtdirp6_DblClick, &F::txtDestdirp6_DblClick},
};
// clang-format on
const char* const kColumns[3] = {"Dir.", "Springs", "Neaps"};

// Design size in pixels: the least, the lists taking what the user adds.
constexpr int kDesignWidthPx = 976, kDesignHeightPx = 578;

// The window's refusals under the program's title, and its failures under "Tidewyn".
void tell(const std::string& text) { MsgBox(text); }
void failure(const std::string& text) { MsgBox(text, kOkOnly, "Tidewyn"); }

// A write told as a failure is; one whose folder alone could not be synced is a write.
bool written(const FileResult& r, const std::string& failed) {
    return TellSave(r, failed, kOkOnly, "Tidewyn");
}

// An entry row: reference, position in listing form (degrees, minutes and hundredths) or in the
// form the boxes are typed in. A damaged diamond is marked in place of its position.
enum class RowForm { Listing, Edit };
std::string entryRow(const TidalDiamondRecord& d, RowForm form) {
    if (DiamondRecordFault(d)) return TrimAtNull(d.DiamondRef) + "  damaged";
    const bool listing = form == RowForm::Listing;
    const std::string lat = listing ? FormatLatitudeDMS(d.Latitude) : FormatLatitude(d.Latitude);
    const std::string lon = listing ? FormatLongitudeDMS(d.Longitude) : FormatLongitude(d.Longitude);
    return TrimAtNull(d.DiamondRef) + "  " + lat + "  " + lon;
}

// Fills a list with a file's diamonds; false, and said so, when they cannot be read. Damaged
// diamonds keep their rows, so that row k stays record k; `tellDamaged` names the first.
bool listDiamonds(ListBox* list, const std::string& path, RowForm form, bool tellDamaged = false) {
    list->Clear();
    std::vector<TidalDiamondRecord> diamonds;
    const FileResult r = ReadAllDiamondRecords(path, diamonds);
    if (!r.recordRead()) {
        failure("The diamonds cannot be listed: " + r.message);
        return false;
    }
    for (const TidalDiamondRecord& d : diamonds) list->AddItem(entryRow(d, form));
    if (!r.ok() && tellDamaged)
        failure(r.message + ". Damaged diamonds are listed as \"damaged\" and the file stays as it is; " +
                "to mend one, click it in the source list, type its values and click Amend.");
    return true;
}

// A name the program's own work files take: the replacement of another file.
bool isWorkFileName(const std::string& name) { return name.ends_with(kStagingSuffix); }

}  // namespace

frmTidalDiamondsCopy::frmTidalDiamondsCopy() : Form("Copy Tidal Diamonds") {
    QWidget* c = Client();
    lblInstructions = new Label(c);
    lblInstructions->setWordWrap(true);

    lblSourcefiles = new Label(c, "Source Files");
    fileSource = new FileListBox(c);
    lblSourceFile = new Label(c);
    lblSourceFile->SetElideMiddle(true);
    List1 = new ListBox(c);
    lblEntryNo = new Label(c, "This entry no. =");
    Lbldiamno = new Label(c);
    txtid = new TextBox(c);
    txtlat = new TextBox(c);
    txtlong = new TextBox(c);
    cmdAmend = new CommandButton(c, "Amend");
    cmdAddtoFile = new CommandButton(c, "Add to End");
    cmdDelete = new CommandButton(c, "Delete");
    cmdCopy = new CommandButton(c, "Copy");

    lblDestFiles = new Label(c, "Existing Files");
    fileDest = new FileListBox(c);
    lblDestFile = new Label(c, "Destination File");
    txtDestFile = new TextBox(c);
    List2 = new ListBox(c);
    lblDestEntryNo = new Label(c, "This entry no. =");
    lblDestDiamno = new Label(c);
    txtDestID = new TextBox(c);
    txtDestLat = new TextBox(c);
    txtDestLong = new TextBox(c);
    cmdAdd = new CommandButton(c, "Add");

    for (int p = 0; p < 2; ++p) {
        lblRef[p] = new Label(c, "Diamond Ref.");
        lblLat[p] = new Label(c, "Latitude");
        lblLong[p] = new Label(c, "Longitude");
        for (int col = 0; col < 3; ++col) {
            lblColumn[p][col] = new Label(c, kColumns[col]);
            lblColumn[p][col]->setAlignment(Qt::AlignCenter);
        }
        for (size_t h = 0; h < TidalDiamondRecord::kHours; ++h)
            lblHour[p][h] = new Label(c, kHourRows[h].label);
    }
    for (const HourRow& row : kHourRows) {
        for (int col = 0; col < 3; ++col) {
            this->*row.source[col] = new TextBox(c);
            this->*row.dest[col] = new TextBox(c);
        }
        connect(this->*row.source[0], &TextBox::DblClick, this,
                Handler([this, &row] { (this->*row.sourceDblClick)(); }));
        connect(this->*row.dest[0], &TextBox::DblClick, this,
                Handler([this, &row] { (this->*row.destDblClick)(); }));
    }

    connect(fileSource, &ListBox::Click, this, Handler([this] { fileSource_Click(); }));
    connect(fileDest, &ListBox::Click, this, Handler([this] { fileDest_Click(); }));
    connect(List1, &ListBox::Click, this, Handler([this] { List1_Click(); }));
    connect(cmdAmend, &QPushButton::clicked, this, Handler([this] { cmdAmend_Click(); }));
    connect(cmdAddtoFile, &QPushButton::clicked, this, Handler([this] { cmdAddtoFile_Click(); }));
    connect(cmdDelete, &QPushButton::clicked, this, Handler([this] { cmdDelete_Click(); }));
    connect(cmdCopy, &QPushButton::clicked, this, Handler([this] { cmdCopy_Click(); }));
    connect(cmdAdd, &QPushButton::clicked, this, Handler([this] { cmdAdd_Click(); }));

    setMinimumSize(kDesignWidthPx, kDesignHeightPx);
    SetWidth(ToTwips(kDesignWidthPx));
    SetHeight(ToTwips(kDesignHeightPx));
    arrangeControls();
}

frmTidalDiamondsCopy::PaneBoxes frmTidalDiamondsCopy::Boxes(Pane pane) const {
    const bool source = pane == Pane::Source;
    PaneBoxes b{source ? txtid : txtDestID, source ? txtlat : txtDestLat, source ? txtlong : txtDestLong, {}};
    for (size_t h = 0; h < TidalDiamondRecord::kHours; ++h)
        for (int col = 0; col < 3; ++col)
            b.hours[h][col] = this->*(source ? kHourRows[h].source[col] : kHourRows[h].dest[col]);
    return b;
}

// Each pane: its chosen file across the top; below it the files and the entries on the left, the
// entry number, reference, position and hour grid on the right; its buttons at the foot. The
// panes share the width, the lists taking what the window has beyond its design size.
void frmTidalDiamondsCopy::arrangeControls() {
    const int W = ToPixels(WidthOf(Client())), H = ToPixels(HeightOf(Client()));
    constexpr int margin = 8, paneGap = 20, top = 58, hourW = 50, boxW = 64, cellGap = 4, rowH = 24;
    constexpr int gridW = hourW + 3 * (boxW + cellGap);
    const int paneW = (W - 2 * margin - paneGap) / 2;
    const int listW = paneW - gridW - 12;
    const int buttonsTop = H - margin - 26;
    PlacePixels(lblInstructions, margin, 6, W - 2 * margin, 46);

    for (int p = 0; p < 2; ++p) {
        const Pane pane = p == 0 ? Pane::Source : Pane::Dest;
        const int x = margin + p * (paneW + paneGap), gx = x + listW + 12, y = top + 32;
        if (p == 0) {
            PlacePixels(lblSourceFile, x, top + 3, paneW, 20);
        } else {
            PlacePixels(lblDestFile, x, top + 3, 110, 20);
            PlacePixels(txtDestFile, x + 112, top, paneW - 112, 22);
        }
        PlacePixels(p == 0 ? lblSourcefiles : lblDestFiles, x, y, listW, 18);
        PlacePixels(p == 0 ? fileSource : fileDest, x, y + 20, listW, 112);
        const int entriesTop = y + 140;
        PlacePixels(p == 0 ? List1 : List2, x, entriesTop, listW, buttonsTop - 8 - entriesTop);

        PlacePixels(p == 0 ? lblEntryNo : lblDestEntryNo, gx, y, 110, 20);
        PlacePixels(p == 0 ? Lbldiamno : lblDestDiamno, gx + 112, y, 60, 20);
        const PaneBoxes b = Boxes(pane);
        const int fieldX = gx + 92;
        PlacePixels(lblRef[p], gx, y + 28, 90, 20);
        PlacePixels(b.ref, fieldX, y + 26, 40, 22);
        PlacePixels(lblLat[p], gx, y + 54, 90, 20);
        PlacePixels(b.lat, fieldX, y + 52, 120, 22);
        PlacePixels(lblLong[p], gx, y + 80, 90, 20);
        PlacePixels(b.lon, fieldX, y + 78, 120, 22);
        const int gridTop = y + 112;
        for (int col = 0; col < 3; ++col)
            PlacePixels(lblColumn[p][col], gx + hourW + col * (boxW + cellGap), gridTop, boxW, 18);
        for (size_t h = 0; h < TidalDiamondRecord::kHours; ++h) {
            const int rowY = gridTop + 20 + static_cast<int>(h) * rowH;
            PlacePixels(lblHour[p][h], gx, rowY + 2, hourW, 18);
            for (int col = 0; col < 3; ++col)
                PlacePixels(b.hours[h][col], gx + hourW + col * (boxW + cellGap), rowY, boxW, 22);
        }
    }
    int bx = margin;
    for (CommandButton* b : {cmdAmend, cmdAddtoFile, cmdDelete, cmdCopy}) {
        PlacePixels(b, bx, buttonsTop, 100, 26);
        bx += 108;
    }
    PlacePixels(cmdAdd, margin + paneW + paneGap, buttonsTop, 100, 26);
}

void frmTidalDiamondsCopy::Form_Resize() { arrangeControls(); }

void frmTidalDiamondsCopy::Form_Load() {
    for (FileListBox* files : {fileSource, fileDest}) {
        files->SetPattern("*.l20");
        files->SetPath(Env().programFolder);
    }
    lblInstructions->SetCaption(
        "Select a source file; then select the diamond required. 2 Options 1.. Amend data and write it back "
        "to "
        "the file\r\n2.. Copy button writes the data to the right hand section, the Add button here adds the "
        "diamond to the end of the selected destination file");
}

void frmTidalDiamondsCopy::fileSource_Click() {
    if (fileSource->FileName().empty()) return;
    DiamondFileName = fileSource->FilePath();
    lblSourceFile->SetCaption(DiamondFileName);
    listDiamonds(List1, DiamondFileName, RowForm::Listing, true);
    ClearSourceFields();
}

void frmTidalDiamondsCopy::fileDest_Click() {
    if (fileDest->FileName().empty()) return;
    DestDiamondFileName = fileDest->FilePath();
    txtDestFile->SetText(DestDiamondFileName);
    listDiamonds(List2, DestDiamondFileName, RowForm::Listing, true);
}

void frmTidalDiamondsCopy::List1_Click() {
    const int i = List1->ListIndex();
    if (i < 0) return;
    SavedDiamondIndex = i;
    Lbldiamno->SetCaption(std::to_string(i + 1));
    TidalDiamondRecord d;
    const FileResult r = ReadDiamondRecord(DiamondFileName, i + 1, d);
    if (!r.recordRead()) {
        // Boxes still holding another diamond would be written over this one.
        ClearSourceFields();
        failure("The diamond cannot be read: " + r.message);
        return;
    }
    // A damaged value's box stays empty, for a good value to be typed and amended.
    const PaneBoxes b = Boxes(Pane::Source);
    b.ref->SetText(TrimAtNull(d.DiamondRef));
    b.lat->SetText(kLatitudeRange.holds(d.Latitude) ? LTrim(FormatLatitudeDMS(d.Latitude)) : "");
    b.lon->SetText(kLongitudeRange.holds(d.Longitude) ? LTrim(FormatLongitudeDMS(d.Longitude)) : "");
    auto rate = [](float v) { return std::isfinite(v) ? FormatWithPoint(v, "##0.0") : ""; };
    for (size_t h = 0; h < TidalDiamondRecord::kHours; ++h) {
        const HourStream& s = d.HourStreams[h];
        b.hours[h][0]->SetText(std::isfinite(s.Direction) ? Format(s.Direction, "###000") : "");
        // Rates with "." in every locale, as they are read back.
        b.hours[h][1]->SetText(rate(s.SpringRate));
        b.hours[h][2]->SetText(rate(s.NeapRate));
    }
    if (!r.ok())
        failure(r.message + ". The boxes of its damaged values are empty: type good values and click Amend " +
                "to mend it.");
}

std::optional<TidalDiamondRecord> frmTidalDiamondsCopy::DiamondFrom(Pane pane) {
    const PaneBoxes b = Boxes(pane);
    if (b.lat->Text().empty()) {
        failure(" Must enter a Latitude");
        return std::nullopt;
    }
    if (b.lon->Text().empty()) {
        failure(" Must enter a Longitude");
        return std::nullopt;
    }
    TidalDiamondRecord d;
    // The reference is one character of the file's code page.
    d.DiamondRef = LeftChars(b.ref->Text(), 1);
    if (!FitsCp1252(d.DiamondRef)) {
        failure("The diamond reference holds a character that cannot be stored in the file.");
        return std::nullopt;
    }
    // Each box wholly one number in its form, or told; an empty stream box is 0.
    auto read = [](const TextBox* box, NumberForm form, const std::string& name, float& out) {
        const std::optional<double> v = form == NumberForm::Decimal ? ReadBoxNumber(box->Text(), form, 0)
                                                                    : ReadBoxNumber(box->Text(), form);
        if (!v) {
            failure(NumberFormFault(name, form) + ".");
            return false;
        }
        out = ToSingle(*v);
        if (std::isfinite(out)) return true;
        failure(name + " is too large to store.");
        return false;
    };
    if (!read(b.lat, NumberForm::Latitude, "Latitude", d.Latitude) ||
        !read(b.lon, NumberForm::Longitude, "Longitude", d.Longitude))
        return std::nullopt;
    for (size_t h = 0; h < TidalDiamondRecord::kHours; ++h) {
        HourStream& s = d.HourStreams[h];
        float* values[3] = {&s.Direction, &s.SpringRate, &s.NeapRate};
        for (int col = 0; col < 3; ++col) {
            const std::string name = std::string(kHourRows[h].label) + " " + kColumns[col];
            if (!read(b.hours[h][col], NumberForm::Decimal, name, *values[col])) return std::nullopt;
        }
    }
    return d;
}

void frmTidalDiamondsCopy::cmdAmend_Click() {
    if (DiamondFileName.empty()) return tell("Select a file");
    const int i = List1->ListIndex();
    if (i < 0) return tell("Highlight a Tidal Diamond Entry");
    const std::optional<TidalDiamondRecord> d = DiamondFrom(Pane::Source);
    if (!d) return;
    if (!written(WriteDiamondRecord(DiamondFileName, i + 1, *d), "The diamond cannot be written: ")) return;
    if (listDiamonds(List1, DiamondFileName, RowForm::Edit)) List1->SetListIndex(SavedDiamondIndex);
    ClearSourceFields();
}

void frmTidalDiamondsCopy::cmdAddtoFile_Click() {
    if (DiamondFileName.empty()) return tell("Select a file");
    if (List1->ListIndex() < 0) return tell("Highlight a Tidal Diamond Entry");
    const std::optional<TidalDiamondRecord> d = DiamondFrom(Pane::Source);
    if (!d) return;
    if (!written(AppendDiamondRecord(DiamondFileName, *d), "The diamond cannot be added: ")) return;
    listDiamonds(List1, DiamondFileName, RowForm::Edit);
    ClearSourceFields();
}

void frmTidalDiamondsCopy::cmdDelete_Click() {
    if (DiamondFileName.empty()) return tell("Select a file");
    const int i = List1->ListIndex();
    if (i < 0) return tell("Highlight a Tidal Diamond Entry");
    if (!written(RemoveDiamondRecord(DiamondFileName, i + 1), "The diamond cannot be deleted: ")) return;
    if (listDiamonds(List1, DiamondFileName, RowForm::Edit) && SavedDiamondIndex < List1->ListCount())
        List1->SetListIndex(SavedDiamondIndex);
    ClearSourceFields();
}

void frmTidalDiamondsCopy::cmdCopy_Click() {
    const PaneBoxes from = Boxes(Pane::Source), to = Boxes(Pane::Dest);
    to.ref->SetText(from.ref->Text());
    to.lat->SetText(from.lat->Text());
    to.lon->SetText(from.lon->Text());
    for (size_t h = 0; h < TidalDiamondRecord::kHours; ++h)
        for (int col = 0; col < 3; ++col) to.hours[h][col]->SetText(from.hours[h][col]->Text());
}

std::string frmTidalDiamondsCopy::DestinationPath(std::string typed) {
    if (typed.find(".l20") == std::string::npos && typed.find(".L20") == std::string::npos) typed += ".l20";
    if (isWorkFileName(typed)) {
        failure("A name ending in \"" + std::string(kStagingSuffix) +
                "\" is kept for the program's work files.");
        return {};
    }
    const std::string folder = Env().programFolder;
    const std::filesystem::path path(typed);
    if (typed.find_first_of("/\\") == std::string::npos) return folder + "/" + typed;
    if (path.is_absolute() && typed.find('\\') == std::string::npos &&
        SameFile(path.parent_path().string(), folder))
        return typed;
    failure("Diamond files are kept in the program folder: type a file name without a folder.");
    return {};
}

void frmTidalDiamondsCopy::cmdAdd_Click() {
    const std::string typed = Trim(txtDestFile->Text());
    if (typed.empty()) return tell("Select a file");
    const std::optional<TidalDiamondRecord> d = DiamondFrom(Pane::Dest);
    if (!d) return;
    const std::string path = DestinationPath(typed);
    if (path.empty()) return;
    if (!written(AppendDiamondRecord(path, *d), "The diamond cannot be added: ")) return;
    DestDiamondFileName = path;
    listDiamonds(List2, DestDiamondFileName, RowForm::Edit);
}

void frmTidalDiamondsCopy::ClearSourceFields() {
    const PaneBoxes b = Boxes(Pane::Source);
    for (TextBox* box : {b.ref, b.lat, b.lon}) box->SetText("");
    for (const auto& hour : b.hours)
        for (TextBox* box : hour) box->SetText("");
}

void frmTidalDiamondsCopy::ClearHour(Pane pane, int hour) {
    const PaneBoxes b = Boxes(pane);
    for (TextBox* box : b.hours[static_cast<size_t>(hour)]) box->SetText("");
}
