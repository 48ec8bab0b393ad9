#include "adjustment/frmharmadjust.h"

#include <QMenuBar>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "adjustment/frmadjustfileselect.h"
#include "adjustment/frmadjustsave.h"
#include "adjustment/frmheightenter.h"
#include "adjustment/frmselectheightfile.h"
#include "engine/adjustment.h"
#include "engine/boxnumber.h"
#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/dayview.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/heightfile.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "engine/timetext.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/layersview.h"
#include "platform/mainface.h"

using namespace engine;
using namespace platform;

namespace {

using A = frmHarmAdjust;
using LabelMember = Label* frmHarmAdjust::*;
using BoxMember = TextBox* frmHarmAdjust::*;

// Each site's constants in record order (kPortConstants).
constexpr LabelMember kPort1Labels[13] = {&A::P1Z0,  &A::P1M2g,  &A::P1M2Hm, &A::P1S2g,  &A::P1S2Hm,
                                          &A::P1K1g, &A::P1K1Hm, &A::P1O1g,  &A::P1O1hm, &A::P1sf4,
                                          &A::P1LF4, &A::P1sf6,  &A::P1LF6};
constexpr BoxMember kIntermediateBoxes[13] = {&A::txtZ0,  &A::txtM2g,  &A::txtM2Hm, &A::txtS2g,  &A::txtS2Hm,
                                              &A::txtK1g, &A::txtK1Hm, &A::txtO1g,  &A::txtO1Hm, &A::txtsf4,
                                              &A::txtLF4, &A::txtsf6,  &A::txtLF6};
constexpr LabelMember kPort2Labels[13] = {&A::P2Z0,  &A::P2M2g,  &A::P2M2Hm, &A::P2S2g,  &A::P2S2Hm,
                                          &A::P2K1g, &A::P2K1Hm, &A::P2O1g,  &A::P2O1hm, &A::P2sf4,
                                          &A::P2LF4, &A::P2sf6,  &A::P2LF6};
// The spinner beside each intermediate box, in the same order: the constant times `factor` is
// its whole Value, stepped by one within min..max.
struct Spinner {
    UpDown* frmHarmAdjust::*control;
    void (frmHarmAdjust::*change)();
    int factor;
    int32_t min, max;
};
constexpr Spinner kSpinners[13] = {
    {&A::UpDnZ0, &A::UpDnZ0_Change, 100, -2000, 2000}, {&A::UpDnM2g, &A::UpDnM2g_Change, 1, 0, 359},
    {&A::UpDnM2Hm, &A::UpDnM2Hm_Change, 100, 0, 600},  {&A::UpDnS2g, &A::UpDnS2g_Change, 1, 0, 359},
    {&A::UpDnS2Hm, &A::UpDnS2Hm_Change, 100, 0, 600},  {&A::UpDnK1g, &A::UpDnK1g_Change, 1, 0, 359},
    {&A::UpDnK1Hm, &A::UpDnK1Hm_Change, 100, 0, 500},  {&A::UpDnO1g, &A::UpDnO1g_Change, 1, 0, 359},
    {&A::UpDnO1Hm, &A::UpDnO1Hm_Change, 100, 0, 600},  {&A::UpDnsf4, &A::UpDnsf4_Change, 1, 0, 359},
    {&A::UpDnLF4, &A::UpDnLF4_Change, 1000, 0, 1000},  {&A::UpDnsf6, &A::UpDnsf6_Change, 1, 0, 359},
    {&A::UpDnLF6, &A::UpDnLF6_Change, 1000, 0, 1000},
};
// The read-outs of each site: Z0, M2, S2, K1, O1, f4, f6, total.
constexpr LabelMember kReadouts[3][8] = {
    {&A::lblP1Z0, &A::lblP1M2, &A::lblP1S2, &A::lblP1K1, &A::lblP1O1, &A::lblP1f4, &A::lblP1f6,
     &A::lblheight1},
    {&A::lblP2Z0, &A::lblP2M2, &A::lblP2S2, &A::lblP2K1, &A::lblP2O1, &A::lblP2f4, &A::lblP2f6,
     &A::lblheight2},
    {&A::lblp3Z0, &A::lblP3M2, &A::lblP3S2, &A::lblP3K1, &A::lblP3O1, &A::lblP3f4, &A::lblP3f6,
     &A::lblheight3},
};
// The rows of constants: Z0 alone, then each constituent's phase and amplitude (or factor).
constexpr LabelMember kConstantRows[7] = {&A::Label1, &A::Label2,  &A::Label4, &A::Label6,
                                          &A::Label8, &A::Label10, &A::Label12};
constexpr const char* kConstantRowCaptions[7] = {"Z0",        "M2g, M2Hm", "S2g, S2Hm", "K1g, K1Hm",
                                                 "O1g, O1Hm", "f4, F4",    "f6,    F6"};
// The legend, in the order of the read-out rows: Z0, M2, S2, K1, O1, f4, f6.
constexpr LabelMember kLegend[7] = {&A::Label13, &A::Label14, &A::Label15, &A::Label16,
                                    &A::Label17, &A::Label18, &A::Label19};
constexpr const char* kLegendCaptions[7] = {"Z0 (Dotted Red)",    "M2 (Blue)",    "S2 (Red)",
                                            "K1 (Dotted Black)",  "O1 ( Yellow)", "1/4 Diurnal(Green)",
                                            "1/6Diurnal(Magenta)"};

template <typename T, size_t N>
std::array<T*, N> controlsOf(const frmHarmAdjust& w, T* frmHarmAdjust::*const (&members)[N]) {
    std::array<T*, N> out;
    for (size_t i = 0; i < N; ++i) out[i] = w.*members[i];
    return out;
}

template <typename T, size_t N>
ConstantTexts textsOf(const std::array<T*, N>& controls) {
    ConstantTexts texts;
    for (size_t i = 0; i < N; ++i) {
        if constexpr (std::is_same_v<T, TextBox>) texts[i] = controls[i]->Text();
        else texts[i] = controls[i]->Caption();
    }
    return texts;
}

std::array<const LayerTable*, 7> layersOf(const LayerSet& set) {
    return {&set[0], &set[1], &set[2], &set[3], &set[4], &set[5], &set[6]};
}

// A name as the site's heading shows it.

// The design size in pixels: 12000 by 9000 twips.
constexpr int kDesignWidthPx = 800, kDesignHeightPx = 600;

// The layout, in pixels: the column of captions on the left, then a column per site; the rows
// of constants and of read-outs; names on two lines.
constexpr int kMargin = 6, kCaptions = 214, kGap = 6, kButton = 84, kButtonHeight = 26;
constexpr int kHeading = 18, kNames = 36, kRow = 23, kBox = 21, kSpinner = 17, kReadout = 17;
constexpr int kReadoutHeight = kHeading + 4 + 8 * kReadout;
constexpr int kPicturesTop = kMargin + kButtonHeight + kNames + 2 + 7 * kRow + 4 + kNames + 2;
constexpr int kLeastPicture = 60;
// The least room for the layout: a constant of eleven characters in each half of a site's
// column, and the pictures at their least height.
constexpr int kLeastColumn = 2 * 86 + 4;
constexpr int kLeastClientWidth = 2 * kMargin + kCaptions + 2 * kGap + 3 * kLeastColumn;
constexpr int kLeastClientHeight = kPicturesTop + kLeastPicture + 6 + kReadoutHeight + kMargin;

}  // namespace

frmHarmAdjust::frmHarmAdjust() : Form("Adjust Harmonics") {
    QWidget* c = Client();
    auto label = [c](const std::string& caption = "") { return new Label(c, caption); };
    portbox = label();
    lblportname1 = label();
    Portbox3 = label();
    lblPortName3 = label();
    Label7 = label("Intermediate Location");
    Label20 = label("Intermediate Port");
    // A name of 35 characters takes two lines; a short one stands on the lower.
    for (Label* name : {portbox, lblportname1, Portbox3, lblPortName3, Label7, Label20}) {
        name->setWordWrap(true);
        name->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    }
    for (size_t i = 0; i < 13; ++i) {
        this->*kPort1Labels[i] = label();
        this->*kIntermediateBoxes[i] = new TextBox(c);
        const Spinner& k = kSpinners[i];
        this->*k.control = new UpDown(c, k.min, k.max);
        connect(this->*k.control, &UpDown::Change, this,
                Handler([this, change = k.change] { (this->*change)(); }));
        this->*kPort2Labels[i] = label();
    }
    for (size_t i = 0; i < 7; ++i) this->*kConstantRows[i] = label(kConstantRowCaptions[i]);
    tidedatebox = label();
    timeval = label();
    cmdCalc = new CommandButton(c, "Calculate");
    Previousday = new CommandButton(c, "Day <<");
    Nextday = new CommandButton(c, "Day >>");
    Picture1 = new PictureBox(c);
    Picture2 = new PictureBox(c);
    Picture3 = new PictureBox(c);
    for (PictureBox* pic : {Picture1, Picture2, Picture3}) pic->SetBackColor(kLayersBackColor);
    Label3 = label("Time");
    Label11 = label("Tide Raising Constituent");
    Label9 = label("Constituents contribution to height");
    Label5 = label("Arithmitic Total of constituients");
    for (size_t i = 0; i < 7; ++i) this->*kLegend[i] = label(kLegendCaptions[i]);
    for (const auto& site : kReadouts)
        for (LabelMember m : site) {
            this->*m = label();
            (this->*m)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }

    mnuFile = AddTopMenu(menuBar(), "&File");
    mnuDataLoad = AddMenuItem(mnuFile, "Load Port Constants", [this] { mnuDataLoad_Click(); });
    MnuFileSave = AddMenuItem(mnuFile, "Save Intermediate Port to file", [this] { MnuFileSave_Click(); });
    MnuFileExit = AddMenuItem(mnuFile, "&Exit", [this] { MnuFileExit_Click(); });
    mnuData = AddTopMenu(menuBar(), "Data");
    mnuObsEnterData = AddMenuItem(mnuData, "Enter Observed Heights", [this] { mnuObsEnterData_Click(); });
    mnuDataHeightSelect =
        AddMenuItem(mnuData, "Select a height file to display", [this] { mnuDataHeightSelect_Click(); });

    connect(cmdCalc, &QPushButton::clicked, this, Handler([this] { cmdCalc_Click(); }));
    connect(Previousday, &QPushButton::clicked, this, Handler([this] { Previousday_Click(); }));
    connect(Nextday, &QPushButton::clicked, this, Handler([this] { Nextday_Click(); }));
    connect(txtO1Hm, &TextBox::Change, this, Handler([this] { txtO1Hm_Change(); }));
    using Mouse = void (frmHarmAdjust::*)(int, int, double, double);
    const std::tuple<PictureBox*, Mouse, Mouse> mice[] = {
        {Picture1, &A::Picture1_MouseMove, &A::Picture1_MouseDown},
        {Picture2, &A::Picture2_MouseMove, &A::Picture2_MouseDown},
        {Picture3, &A::Picture3_MouseMove, &A::Picture3_MouseDown},
    };
    for (const auto& [pic, move, down] : mice) {
        connect(pic, &PictureBox::MouseMove, this, [this, move](int b, int k, double x, double y) {
            Run([=, this] { (this->*move)(b, k, x, y); });
        });
        connect(pic, &PictureBox::MouseDown, this, [this, down](int b, int k, double x, double y) {
            Run([=, this] { (this->*down)(b, k, x, y); });
        });
    }

    setMinimumSize(kLeastClientWidth, kLeastClientHeight + menuBar()->sizeHint().height());
    SetWidth(ToTwips(kDesignWidthPx));
    SetHeight(ToTwips(kDesignHeightPx));
    arrangeControls();
    SetAdjustmentSites(this);
}

frmHarmAdjust::~frmHarmAdjust() { SetAdjustmentSites(nullptr); }

std::array<Label*, 13> frmHarmAdjust::Port1Labels() const { return controlsOf(*this, kPort1Labels); }
std::array<TextBox*, 13> frmHarmAdjust::IntermediateBoxes() const {
    return controlsOf(*this, kIntermediateBoxes);
}
std::array<Label*, 13> frmHarmAdjust::Port2Labels() const { return controlsOf(*this, kPort2Labels); }
std::array<UpDown*, 13> frmHarmAdjust::Spinners() const {
    std::array<UpDown*, 13> out;
    for (size_t i = 0; i < 13; ++i) out[i] = this->*kSpinners[i].control;
    return out;
}
std::array<Label*, 8> frmHarmAdjust::ReadoutLabels(int site) const {
    return controlsOf(*this, kReadouts[std::clamp(site, 0, 2)]);
}

ConstantTexts frmHarmAdjust::Port1() const { return textsOf(Port1Labels()); }
// The boxes' numbers in the "." form the engine reads ("2,55" as "2.55"); a text that is not a
// number as it stands (the window refuses it before computing).
ConstantTexts frmHarmAdjust::Intermediate() const {
    ConstantTexts texts = textsOf(IntermediateBoxes());
    for (std::string& t : texts)
        if (const std::optional<double> v = ReadBoxNumber(t, NumberForm::Decimal)) t = TypedText(*v);
    return texts;
}
ConstantTexts frmHarmAdjust::Port2() const { return textsOf(Port2Labels()); }

// The date and the buttons across the top; below them a column of captions on the left and one
// column per site (Port 1, the intermediate location, Port 2): its name, its constants (phase
// and amplitude side by side), its picture and its read-outs. The pictures take the extra size.
void frmHarmAdjust::arrangeControls() {
    const int W = ToPixels(WidthOf(Client())), H = ToPixels(HeightOf(Client()));
    const int column = (W - 2 * kMargin - kCaptions - 2 * kGap) / 3;
    auto left = [&](int site) { return kMargin + kCaptions + site * (column + kGap); };

    PlacePixels(tidedatebox, kMargin, kMargin + 4, W - 2 * kMargin - 3 * (kButton + kGap), kHeading);
    CommandButton* buttons[] = {Previousday, Nextday, cmdCalc};
    for (int i = 0; i < 3; ++i)
        PlacePixels(buttons[i], W - kMargin - (3 - i) * kButton - (2 - i) * kGap, kMargin, kButton,
                    kButtonHeight);

    int y = kMargin + kButtonHeight;
    Label* headings[] = {portbox, Label7, Portbox3};
    for (int site = 0; site < 3; ++site) PlacePixels(headings[site], left(site), y, column, kNames);
    y += kNames + 2;
    const auto p1 = Port1Labels(), p2 = Port2Labels();
    const auto boxes = IntermediateBoxes();
    const auto spinners = Spinners();
    const int half = (column - 4) / 2;
    for (int r = 0; r < 7; ++r) {
        const int top = y + r * kRow;
        PlacePixels(this->*kConstantRows[r], kMargin, top + 2, kCaptions - 8, kHeading);
        // Row 0 holds Z0 alone; row r > 0 the phase (2r - 1) and the amplitude (2r).
        for (int cell = 0; cell < (r == 0 ? 1 : 2); ++cell) {
            const size_t i = r == 0 ? 0 : static_cast<size_t>(2 * r - 1 + cell);
            const int x = cell * (half + 4);
            PlacePixels(p1[i], left(0) + x, top + 2, half, kHeading);
            PlacePixels(boxes[i], left(1) + x, top, half - kSpinner, kBox);
            PlacePixels(spinners[i], left(1) + x + half - kSpinner, top, kSpinner, kBox);
            PlacePixels(p2[i], left(2) + x, top + 2, half, kHeading);
        }
    }
    y += 7 * kRow + 4;
    Label* pictureNames[] = {lblportname1, Label20, lblPortName3};
    for (int site = 0; site < 3; ++site) PlacePixels(pictureNames[site], left(site), y, column, kNames);
    y += kNames + 2;

    const int pictureHeight = std::max(kLeastPicture, H - kMargin - kReadoutHeight - 6 - y);
    PictureBox* pictures[] = {Picture1, Picture2, Picture3};
    for (int site = 0; site < 3; ++site) PlacePixels(pictures[site], left(site), y, column, pictureHeight);
    y += pictureHeight + 6;

    PlacePixels(Label11, kMargin, y, kCaptions - 8, kHeading);
    PlacePixels(Label9, left(0), y, 2 * column + kGap, kHeading);
    PlacePixels(Label3, left(2), y, column / 2, kHeading);
    PlacePixels(timeval, left(2) + column / 2, y, column - column / 2, kHeading);
    y += kHeading + 4;
    for (int r = 0; r < 8; ++r) {
        const int top = y + r * kReadout;
        PlacePixels(r < 7 ? this->*kLegend[r] : Label5, kMargin, top, kCaptions - 8, kReadout);
        for (int site = 0; site < 3; ++site)
            PlacePixels(this->*kReadouts[site][r], left(site), top, column / 2, kReadout);
    }
}

// The pictures drawn again for their new size, so that the grid suits it.
void frmHarmAdjust::Form_Resize() {
    arrangeControls();
    if (curvePoints_ == 0) return;  // nothing computed yet
    // The same pictures at another size: what was said at the last recompute is not said again.
    struct Quiet {
        bool& on;
        ~Quiet() { on = false; }
    } quiet{redrawOnly_ = true};
    WithSites([this] {
        DrawAdjustCurvePort1();
        DrawAdjustCurveIntermediate();
        DrawAdjustCurvePort2();
    });
}

void frmHarmAdjust::Form_Load() {
    SharedState& s = State();
    if (MainWindowFace* main = MainWindow()) main->PauseClock();
    s.HeightFilePath.clear();
    SetCaption("Tidewyn Vizoz");
    CentreOnScreen();

    WithSites([&] {
        reloadSettings();
        const PortRecord port1 = siteRecord(s.CurrentPort);
        s.AdjZoneHours = ZoneHours(port1.ZoneLetter);
        // The clock's moment in the sites' time (their zone, never summer time): its time for
        // the read-out, its day the day shown, whatever day the computer's calendar shows.
        const TableMoment now = TableMomentOf(UtcNow(), s.AdjZoneHours, false);
        s.TimeNowHours = now.Minutes / 60.0;
        timeval->SetCaption(HoursToHHMM(s.TimeNowHours));
        s.PortName = ShownText(port1.PortName);
        ShowPortSite(0, port1);

        const double today = now.Date;
        tidedatebox->SetCaption(DateLine(LongDateText(today).value_or(""), today));
        s.SelectedYear = DateYear(today);
        s.SelectedDayOfYear = DayOfYear(today);
        s.SelectedMonth = DateMonth(today);
        s.SelectedDay = DateDay(today);

        const PortRecord port2 = siteRecord(static_cast<long>(s.CurrentPort) + 1);
        s.PortName = ShownText(port2.PortName);
        ShowPortSite(2, port2);
        sourceZones_ = {port1.ZoneLetter, port2.ZoneLetter};

        // Each box the exact mean, then its spinner the mean in the spinner's unit, which writes
        // the box again unless the spinner refuses the Value.
        const std::array<float, 13> mean = MeanConstants(port1, port2);
        const auto boxes = IntermediateBoxes();
        for (size_t i = 0; i < 13; ++i) {
            boxes[i]->SetText(TypedText(mean[i]));
            // In single precision, as the mean: 0.015 is then 1.5 hundredths, which goes to 2.
            const float scaled = mean[i] * static_cast<float>(kSpinners[i].factor);
            // A mean no 32-bit Value can hold lies beyond every spinner's range anyway.
            if (std::abs(scaled) < 1e9f) (this->*kSpinners[i].control)->SetValue(CLng(scaled));
        }

        computeSites();
    });
}

void frmHarmAdjust::ShowPortSite(int site, const PortRecord& port) {
    const std::string name = ShownText(port.PortName);
    (site == 0 ? portbox : Portbox3)->SetCaption(name);
    (site == 0 ? lblportname1 : lblPortName3)->SetCaption(name);
    const auto labels = site == 0 ? Port1Labels() : Port2Labels();
    for (size_t i = 0; i < 13; ++i) labels[i]->SetCaption(TypedText(port.*kPortConstants[i].field));
}

void frmHarmAdjust::Form_Unload(bool&) { EndProgram(); }

void frmHarmAdjust::WithSites(const std::function<void()>& work) {
    told_.clear();  // nothing left over from a computation that did not end
    {
        SavedDayInputs saved;
        SharedState& s = State();
        s.SelectedYear = year_;
        s.SelectedMonth = month_;
        s.SelectedDay = day_;
        s.SelectedDayOfYear = dayOfYear_;
        s.TimeNowHours = timeNowHours_;
        s.CurvePoints = curvePoints_;
        s.ScaleTop = scaleTop_;
        s.ScaleBottom = scaleBottom_;
        work();
        year_ = s.SelectedYear;
        month_ = s.SelectedMonth;
        day_ = s.SelectedDay;
        dayOfYear_ = s.SelectedDayOfYear;
        timeNowHours_ = s.TimeNowHours;
        curvePoints_ = s.CurvePoints;
        scaleTop_ = s.ScaleTop;
        scaleBottom_ = s.ScaleBottom;
    }
    std::vector<std::pair<std::string, int>> told;
    told.swap(told_);
    for (const auto& [message, style] : told) MsgBox(message, style);
}

// Each message once: the two ports of an area file that cannot be read fail alike.
void frmHarmAdjust::tell(const std::string& message, int style) {
    if (redrawOnly_) return;
    if (std::none_of(told_.begin(), told_.end(), [&](const auto& m) { return m.first == message; }))
        told_.emplace_back(message, style);
}

void frmHarmAdjust::reloadSettings() {
    SettingsRecord stored;
    (void)ReloadSettingsCopies(stored);  // when the file cannot be read the copies stay as they are
    FormDepthFilePath();
}

PortRecord frmHarmAdjust::siteRecord(long n) {
    PortRecord record;
    const FileResult r = ReadPortRecord(State().AreaFilePath, n, record);
    if (r.ok()) return record;
    // A port after the last, or an empty area: nothing to show, and nothing wrong.
    if (r.status != FileStatus::PastEnd) tell(r.message);
    return PortRecord{};
}

void frmHarmAdjust::showDate() {
    SharedState& s = State();
    std::string monthName;
    int dayOfMonth = 0;
    if (DayOfYearToDate(monthName, dayOfMonth)) s.SelectedDay = dayOfMonth;
    const double date = DateSerial(s.SelectedYear, 1, 1) + (s.SelectedDayOfYear - 1);
    const DateParts p = SplitDate(date);
    const std::string y = std::to_string(p.year), d = std::to_string(p.day);
    const std::string text =
        InShortDateOrder(s.ShortDateFormat, y, monthName, d).value_or(d + " " + monthName + " " + y);
    tidedatebox->SetCaption(DateLine(text, date));
    s.SelectedYear = p.year;
    s.SelectedDayOfYear = DayOfYear(date);
    s.SelectedMonth = p.month;
    s.SelectedDay = p.day;
}

void frmHarmAdjust::computeSites() {
    SharedState& s = State();
    int16_t record = 0;
    int points = 0;
    CalcAdjustCurvePort1(record, s.SelectedDayOfYear, s.TimeNowHours, 0, 0, points);
    DrawAdjustCurvePort1();
    // Port 2 and the intermediate location take the user depth of the record after Port 1.
    if (s.CurrentPort < INT16_MAX) s.CurrentPort = static_cast<int16_t>(s.CurrentPort + 1);
    CalcAdjustCurvePort2(record, s.SelectedDayOfYear, s.TimeNowHours, 0, 0, points);
    s.AdjMeanPort2 = Val(P2Z0->Caption());
    DrawAdjustCurvePort2();
    CalcAdjustCurveIntermediate(record, s.SelectedDayOfYear, s.TimeNowHours, 0, 0, points);
    DrawAdjustCurveIntermediate();
    ShowAdjustContributions();
}

std::optional<std::array<float, 13>> frmHarmAdjust::IntermediateConstants(const std::string& refused) {
    const auto boxes = IntermediateBoxes();
    std::array<float, 13> constants{};
    for (size_t i = 0; i < 13; ++i) {
        const PortConstant& c = kPortConstants[i];
        const std::optional<double> value = ReadBoxNumber(boxes[i]->Text(), NumberForm::Decimal);
        const std::optional<std::string> fault =
            value ? ConstantFault(c, *value) : NumberFormFault(c.name, NumberForm::Decimal);
        if (fault) {
            MsgBox(*fault + refused, kExclamation);
            boxes[i]->setFocus();
            return std::nullopt;
        }
        constants[i] = ToSingle(*value);
    }
    return constants;
}

void frmHarmAdjust::cmdCalc_Click() { updatecalc(); }

void frmHarmAdjust::updatecalc() {
    if (!IntermediateConstants()) return;
    WithSites([this] {
        reloadSettings();
        showDate();
        computeSites();
    });
}

void frmHarmAdjust::stepDay(int step) {
    if (!IntermediateConstants()) return;
    WithSites([this, step] {
        SharedState& s = State();
        reloadSettings();
        s.HeightFilePath.clear();
        const YearDay next = StepYearDay({s.SelectedYear, s.SelectedDayOfYear}, step);
        s.SelectedYear = next.Year;
        s.SelectedDayOfYear = next.DayOfYear;
        showDate();
        computeSites();
    });
}

void frmHarmAdjust::Previousday_Click() { stepDay(-1); }
void frmHarmAdjust::Nextday_Click() { stepDay(1); }

void frmHarmAdjust::MnuFileExit_Click() { EndProgram(); }

// One dialog each, shown again as it was while it is open.
void frmHarmAdjust::mnuDataLoad_Click() { Get<FrmAdjustfileselect>().Show(); }
void frmHarmAdjust::MnuFileSave_Click() { Get<frmAdjustSave>().Show(); }
void frmHarmAdjust::mnuObsEnterData_Click() { Get<frmHeightEnter>().Show(); }
void frmHarmAdjust::mnuDataHeightSelect_Click() { Get<frmSelectHeightFile>().Show(); }

void frmHarmAdjust::drawSite(PictureBox& pic, const CurveTable& curve, const LayerSet& layers,
                             const std::function<void(Canvas&)>& beforeGrid) {
    SharedState& s = State();
    pic.SetAutoRedraw(true);
    pic.Cls();
    std::array<bool, 7> every;
    every.fill(true);
    const CurveScale scale = DrawLayersDay(pic, curve, layersOf(layers), s.CurvePoints, every, beforeGrid);
    s.ScaleTop = scale.Top;
    s.ScaleBottom = scale.Bottom;
    pic.SetAutoRedraw(false);
}

void frmHarmAdjust::DrawAdjustCurvePort1() {
    drawSite(*Picture1, State().AdjCurvePort1, State().AdjLayersPort1);
}
void frmHarmAdjust::DrawAdjustCurveIntermediate() {
    drawSite(*Picture2, State().AdjCurveMid, State().AdjLayersMid, [this](Canvas&) {
        if (!State().HeightFilePath.empty()) DrawHeightFileCurve();
    });
}

// The observations joined in file order, as stored: no depth or vessel applied.
void frmHarmAdjust::DrawHeightFileCurve() {
    std::vector<ObsHeightRecord> heights;
    const FileResult r = ReadHeightFile(State().HeightFilePath, heights);
    if (!r.ok() && r.status != FileStatus::Missing) {
        tell(r.status == FileStatus::Damaged ? r.message : "The height file cannot be read: " + r.message);
        return;
    }
    if (heights.size() < 10) {
        tell("Not enough data to draw in a curve", kOkOnly);
        return;
    }
    for (size_t k = 0; k + 1 < heights.size(); ++k)
        Picture2->Line(heights[k].ObsTime, heights[k].ObsHeight, heights[k + 1].ObsTime,
                       heights[k + 1].ObsHeight, kGreen);
}
void frmHarmAdjust::DrawAdjustCurvePort2() {
    drawSite(*Picture3, State().AdjCurvePort2, State().AdjLayersPort2);
}

void frmHarmAdjust::ShowAdjustContributions() {
    ShowContributionsAtRow(ReadoutRow(std::clamp(ClockTextHours(timeval->Caption()), 0.0, 24.0)));
}

void frmHarmAdjust::ShowContributionsAtRow(int row) {
    const SharedState& s = State();
    row = std::clamp(row, 1, LayerTable::kRows - 1);
    const std::pair<const LayerSet*, double> sites[3] = {{&s.AdjLayersPort1, s.AdjMeanPort1},
                                                         {&s.AdjLayersMid, s.AdjMeanMid},
                                                         {&s.AdjLayersPort2, s.AdjMeanPort2}};
    for (int site = 0; site < 3; ++site) {
        const Contributions c = ContributionsAt(*sites[site].first, sites[site].second, row);
        const auto labels = ReadoutLabels(site);
        labels[0]->SetCaption(CStr(c.Mean));
        for (size_t i = 0; i < 6; ++i) labels[i + 1]->SetCaption(Format(c.Terms[i], "0.00"));
        labels[7]->SetCaption(Format(c.Total, "0.00"));
    }
}

void frmHarmAdjust::Picture1_MouseMove(int, int, double x, double) { readOut(State().AdjCurvePort1, x); }
void frmHarmAdjust::Picture2_MouseMove(int, int, double x, double) { readOut(State().AdjCurveMid, x); }
void frmHarmAdjust::Picture3_MouseMove(int, int, double x, double) { readOut(State().AdjCurvePort2, x); }
void frmHarmAdjust::Picture1_MouseDown(int, int, double, double) { toggleFreeze(); }
void frmHarmAdjust::Picture2_MouseDown(int, int, double, double) { toggleFreeze(); }
void frmHarmAdjust::Picture3_MouseDown(int, int, double, double) { toggleFreeze(); }

void frmHarmAdjust::toggleFreeze() {
    int& frozen = State().AdjReadoutFrozen;
    frozen = frozen == 0 ? 1 : 0;
}

void frmHarmAdjust::readOut(const CurveTable& curve, double x) {
    if (State().AdjReadoutFrozen != 0) return;
    // A drag that leaves a picture goes on reporting: only the day itself is read.
    if (!(x >= 0 && x <= 24)) return;
    const int r = ReadoutRow(x);
    // The row's own time: row 1 of a curve holds no time of the day.
    timeval->SetCaption(HoursToHHMM((r - 1) / 6.0));
    const int q = r > 2 ? r - 1 : r;
    const int c = r < curvePoints_ - 2 ? r + 2 : r;
    if (curve(1, q) == curve(1, c)) return;  // past the end of the computed day
    for (PictureBox* pic : {Picture2, Picture1, Picture3}) pic->Cls();
    // Each picture's line spans its own scale: the three tops differ.
    for (PictureBox* pic : {Picture3, Picture2, Picture1})
        pic->Line(x, pic->ScaleTop(), x, pic->ScaleTop() + pic->ScaleHeight(), kRed);
    ShowContributionsAtRow(r);
}

void frmHarmAdjust::spinnerChanged(size_t i) {
    const Spinner& k = kSpinners[i];
    const int32_t v = (this->*k.control)->Value();
    const std::string text = k.factor == 1 ? std::to_string(v) : TypedText(static_cast<double>(v) / k.factor);
    (this->*kIntermediateBoxes[i])->SetText(text);
}

void frmHarmAdjust::UpDnZ0_Change() { spinnerChanged(0); }
void frmHarmAdjust::UpDnM2g_Change() { spinnerChanged(1); }
void frmHarmAdjust::UpDnM2Hm_Change() { spinnerChanged(2); }
void frmHarmAdjust::UpDnS2g_Change() { spinnerChanged(3); }
void frmHarmAdjust::UpDnS2Hm_Change() { spinnerChanged(4); }
void frmHarmAdjust::UpDnK1g_Change() { spinnerChanged(5); }
void frmHarmAdjust::UpDnK1Hm_Change() { spinnerChanged(6); }
void frmHarmAdjust::UpDnO1g_Change() { spinnerChanged(7); }
void frmHarmAdjust::UpDnO1Hm_Change() { spinnerChanged(8); }
void frmHarmAdjust::UpDnsf4_Change() { spinnerChanged(9); }
void frmHarmAdjust::UpDnLF4_Change() { spinnerChanged(10); }
void frmHarmAdjust::UpDnsf6_Change() { spinnerChanged(11); }
void frmHarmAdjust::UpDnLF6_Change() { spinnerChanged(12); }

// The box's text is read only when the sites are computed.
void frmHarmAdjust::txtO1Hm_Change() {}
