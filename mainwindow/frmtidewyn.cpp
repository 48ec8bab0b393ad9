#include "mainwindow/frmtidewyn.h"

#include <QFrame>
#include <QMenuBar>
#include <algorithm>
#include <cmath>
#include <optional>

#include "adjustment/frmharmadjust.h"
#include "engine/calendar.h"
#include "engine/currentport.h"
#include "engine/dates.h"
#include "engine/dayview.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "engine/suntable.h"
#include "engine/timetext.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/layersview.h"

using namespace engine;
using namespace platform;

namespace {
Label* makeLabel(QWidget* parent, const std::string& caption, int left, int top, int width, int height) {
    auto* l = new Label(parent, caption);
    Place(l, left, top, width, height);
    return l;
}

// What the user is told when the settings' port is past the end of the area file of `count`
// ports, or past the 16-bit port numbers, and the current port stands in: nothing otherwise.
std::optional<std::string> storedPortNotice(float portIndex, long count) {
    const SharedState& s = State();
    const double stored = RoundHalfEven(portIndex), ports = static_cast<double>(count);
    if (!std::isfinite(stored) || count < 1 ||
        stored <= static_cast<double>(std::min(count, kLastUsablePort)))
        return std::nullopt;
    const std::string port = "The stored port " + Format(stored, "0");
    const std::string shown =
        "port " + std::to_string(s.CurrentPort) + ", " + s.PortName + ", is shown instead.";
    if (stored > ports)
        return port + " is past the end of " + s.AreaFilePath + ", which holds " + Format(ports, "#,##0") +
               " ports: " + shown;
    return port + " of " + s.AreaFilePath + " is past the " + Format(kLastUsablePort, "#,##0") +
           " ports the program can use: " + shown;
}
}  // namespace

frmtidewyn::frmtidewyn() : Form(kProgramCaption) {
    BuildControls();
    BuildMenus();
    SetDayTideView(this);
}

frmtidewyn::~frmtidewyn() { SetDayTideView(nullptr); }

// Runs one step of the load: a step that fails is told with its reason, and the load goes on
// with the next, so that the window always opens.
template <typename F>
void frmtidewyn::LoadStep(const char* what, F f) {
    try {
        f();
    } catch (const std::exception& e) {
        loadNotices_->Tell(what, e.what());
    }
}

void frmtidewyn::TellFailure(const std::string& what, const FileResult& r, const std::string& advice) {
    if (loadNotices_) loadNotices_->Tell(what, r, advice);
    else FailureNotices().Tell(what, r, advice);
}

// A program folder that was moved leaves the settings naming an area file that is gone: the
// program folder's file of that name is used, kept in the settings and told once.
void frmtidewyn::FollowMovedAreaFile() {
    SharedState& s = State();
    const std::optional<std::string> moved = AreaFileInProgramFolder(s.AreaFilePath);
    if (!moved) return;
    const std::string gone = s.AreaFilePath;
    s.AreaFilePath = *moved;
    FileResult w = UpdateSettingsFile([&](SettingsRecord& r) { r.AreaPath = *moved; });
    MsgBox("The sea area file " + gone +
               " is no longer there. The file of that name in the program folder, " + *moved + ", is used " +
               (w.saved() ? "in its place from now on." + (w.ok() ? std::string() : " " + w.message + ".")
                          : "for this run only, as the settings cannot be saved: " + w.message + "."),
           kOkOnly | kInformation);
}

void frmtidewyn::BuildControls() {
    // Sizes the layout leaves open are chosen for the longest text each control holds: the
    // read-out line with draught, clearance and user depth, a day list with a range of 10 m and
    // more, the constants of a port with amplitudes of 10 m and more.
    QWidget* c = Client();
    portbox = makeLabel(c, "Port    : ", 0, 60, 5400, 255);
    tidedatebox = makeLabel(c, "Date   : ", 0, 330, 6000, 255);
    timelabel = makeLabel(c, "Time   :", 0, 660, 800, 255);
    timeval = makeLabel(c, "", 0, 660, 700, 255);
    lblmousestatus = makeLabel(c, "(Click curve to change)", 0, 660, 2600, 255);
    hitelabel = makeLabel(c, "Height :", 0, 930, 800, 255);
    hiteval = makeLabel(c, "", 0, 930, 700, 255);
    lblrate = makeLabel(c, "", 0, 930, 7800, 255);  // its width reaches the window's edge
    daystide1 = makeLabel(c, "Predicted Vizoz      ", 0, kPictureTop, 1650, kPictureHeight);

    Picture1 = new PictureBox(c);
    Place(Picture1, 0, kPictureTop, 5883, kPictureHeight);
    Picture1->SetBackColor(kWhite);
    platform::SetPointer(Picture1, MousePointer::Cross);

    // Under the picture, moved down by as much as the picture grows.
    pctSpringsStatus = new PictureBox(c);
    Place(pctSpringsStatus, 0, 5000, 5883, 180);
    pctSpringsStatus->SetBackColor(0xE0E0E0);
    lblSprings = makeLabel(c, "Springs", 0, 5200, 900, 255);
    lblNeap = makeLabel(c, "Neaps", 0, 5200, 900, 255);
    lblNeap->setAlignment(Qt::AlignRight | Qt::AlignTop);

    Nextday = new CommandButton(c, "Next day");
    Place(Nextday, 0, 4800, 1000, 375);
    Previousday = new CommandButton(c, "Prev day");
    Place(Previousday, 0, 5250, 1000, 375);
    disclaimer = makeLabel(c, "", 0, 5750, 9400, 480);
    SetLeftOf(disclaimer, 97);
    for (QWidget* w : std::initializer_list<QWidget*>{pctSpringsStatus, lblSprings, lblNeap, Nextday,
                                                      Previousday, disclaimer})
        belowPicture_.push_back({w, TopOf(w)});

    monthspredictions = new ListBox(c);
    Place(monthspredictions, 0, 330, kMonthListWidth, 4385);

    // The constituent panel: two headings over the column right of the picture, then one row
    // per term with its contribution and a line of the port's constants under it. The column
    // is narrow at the window's design width, so the headings take a smaller font and three
    // lines each.
    Label1 = makeLabel(c, "Tide Raising Constituent", 0, 0, 1000, 0);
    Label3 = makeLabel(c, "Contribution to Height (M)", 0, 0, 1050, 0);
    for (Label* heading : {Label1, Label3}) {
        QFont f = heading->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        heading->setFont(f);
        heading->setWordWrap(true);
        heading->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    }
    const int headingHeight =
        std::max(Label1->heightForWidth(Label1->width()), Label3->heightForWidth(Label3->width())) + 2;
    SetHeightOf(Label1, ToTwips(headingHeight));
    SetHeightOf(Label3, ToTwips(headingHeight));
    struct Row {
        CheckBox** check;
        const char* caption;
        Label** height;
        Label** harm;
    } rows[] = {
        {&chkZ0, "Z0", &lblHtZ0, &lblZ0harm}, {&chkM2, "M2", &lblHtM2, &lblm2Harm},
        {&chkS2, "S2", &lblHtS2, &lblS2Harm}, {&chkK1, "K1", &lblHtK1, &lblK1Harm},
        {&chkO1, "O1", &lblHtO1, &lblO1Harm}, {&chkf4, "f4", &lblHtf4, &lblf4Harm},
        {&chkf6, "f6", &lblHtf6, &lblf6Harm},
    };
    int top = kPictureTop;
    for (const Row& r : rows) {
        *r.check = new CheckBox(c, r.caption);
        Place(*r.check, 0, top, 650, 240);
        *r.height = makeLabel(c, "", 0, top + 15, 700, 240);
        *r.harm = makeLabel(c, "", 0, top + 225, 1860, 225);
        top += 450;
    }
    // Z0's contribution is a plain number of up to seven digits ("6.80449"); its width with the
    // box's makes the width of the constants' lines.
    SetWidthOf(lblHtZ0, 1210);
    Line1 = new QFrame(c);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Place(Line1, 0, top + 20, 1350, 15);
    lblSum = makeLabel(c, "Sum", 0, top + 60, 650, 240);
    lblSumHt = makeLabel(c, "", 0, top + 60, 700, 240);

    Timer1 = new Timer(this, 300, [this] { Timer1_Timer(); });
    Timer2 = new Timer(this, 60000, [this] { Timer2_Timer(); });

    connect(Nextday, &QPushButton::clicked, this, Handler([this] { Nextday_Click(); }));
    connect(Previousday, &QPushButton::clicked, this, Handler([this] { Previousday_Click(); }));
    connect(Label1, &Label::DblClick, this, Handler([this] { Label1_DblClick(); }));
    connect(hitelabel, &Label::Click, this, Handler([this] { hitelabel_Click(); }));
    connect(hiteval, &Label::Click, this, Handler([this] { hiteval_Click(); }));
    connect(Picture1, &PictureBox::MouseMove, this,
            [this](int b, int s, double x, double y) { Run([=, this] { Picture1_MouseMove(b, s, x, y); }); });
    connect(Picture1, &PictureBox::MouseDown, this,
            [this](int b, int s, double x, double y) { Run([=, this] { Picture1_MouseDown(b, s, x, y); }); });
    connect(chkZ0, &CheckBox::Click, this, Handler([this] { chkZ0_Click(); }));
    connect(chkM2, &CheckBox::Click, this, Handler([this] { chkM2_Click(); }));
    connect(chkS2, &CheckBox::Click, this, Handler([this] { chkS2_Click(); }));
    connect(chkK1, &CheckBox::Click, this, Handler([this] { chkK1_Click(); }));
    connect(chkO1, &CheckBox::Click, this, Handler([this] { chkO1_Click(); }));
    connect(chkf4, &CheckBox::Click, this, Handler([this] { chkf4_Click(); }));
    connect(chkf6, &CheckBox::Click, this, Handler([this] { chkf6_Click(); }));
}

// Each box redraws the layers view, whichever view is shown.
void frmtidewyn::chkZ0_Click() { DrawConstituentLayers(); }
void frmtidewyn::chkM2_Click() { DrawConstituentLayers(); }
void frmtidewyn::chkS2_Click() { DrawConstituentLayers(); }
void frmtidewyn::chkK1_Click() { DrawConstituentLayers(); }
void frmtidewyn::chkO1_Click() { DrawConstituentLayers(); }
void frmtidewyn::chkf4_Click() { DrawConstituentLayers(); }
void frmtidewyn::chkf6_Click() { DrawConstituentLayers(); }

void frmtidewyn::BuildMenus() {
    QMenuBar* bar = menuBar();
    mnufile = AddTopMenu(bar, " &File");
    mnuS = AddSubmenu(mnufile, "&Save");
    mnusavmonth = AddMenuItem(mnuS, "&Months Table", [this] { mnusavmonth_Click(); });
    mnusaveday = AddMenuItem(mnuS, "&Hourly Details", [this] { mnusaveday_Click(); });
    mnusavesun = AddMenuItem(mnuS, "&Sun times/Lunar Phases", [this] { mnusavesun_Click(); });
    mnuprint = AddSubmenu(mnufile, "&Print");
    mnumonthprint = AddMenuItem(mnuprint, "&Months Table", [this] { mnumonthprint_Click(); });
    mnuhrprint = AddMenuItem(mnuprint, "&Hourly Details", [this] { mnuhrprint_Click(); });
    mnudayprint = AddMenuItem(mnuprint, "&Curve", [this] { mnudayprint_Click(); });
    mnusunprint = AddMenuItem(mnuprint, "&Sun Times/Lunar Phases", [this] { mnusunprint_Click(); });
    mnuexit = AddMenuItem(mnufile, "E&xit", [this] { mnuExit_Click(); });

    mnuDatemenu = AddTopMenu(bar, "&Date");
    mnutidedate = AddMenuItem(mnuDatemenu, "&Select Date", [this] { mnutidedate_Click(); });

    mnutides = AddTopMenu(bar, "  &Select Port ", [this] { mnutides_Click(); });
    mnuPortList = AddMenuItem(mnutides, "Port by &Name", [this] { mnuPortList_Click(); });
    mnusep1 = AddMenuItem(mnutides, "-");
    mnuNextPort = AddMenuItem(mnutides, "Next Port ", [this] { mnuNextPort_Click(); });
    mnuPrevPort = AddMenuItem(mnutides, "Prev Port", [this] { mnuPrevPort_Click(); });
    mnusep0 = AddMenuItem(mnutides, "-");
    mnuArea = AddMenuItem(mnutides, "Sea &Area", [this] { mnuArea_Click(); });

    mnuCalc = AddTopMenu(bar, "&Calculate  ");
    mnumonth = AddMenuItem(mnuCalc, "&Months Tide", [this] { mnumonth_Click(); });
    mnusunrise = AddMenuItem(mnuCalc, "&Sunrise/Lunar phases", [this] { mnusunrise_Click(); });

    mnuCopy = AddTopMenu(bar, "Clip&board");
    mnuCopyDaysTides = AddMenuItem(mnuCopy, "C&opy Days Vizoz", [this] { mnuCopyDaysTides_Click(); });
    mnuCopyMonth = AddMenuItem(mnuCopy, "Copy &Months Vizoz", [this] { mnuCopyMonth_Click(); });
    mnuCopySunTimes =
        AddMenuItem(mnuCopy, "Copy &Days Sunrise && Sunset Times", [this] { mnuCopySunTimes_Click(); });
    mnuCopyMonthSunTimes = AddMenuItem(mnuCopy, "Copy Months Su&nrise && Sunset Times",
                                       [this] { mnuCopyMonthSunTimes_Click(); });

    mnuconfig = AddTopMenu(bar, "C&onfigure");
    mnuoutputoptions = AddMenuItem(mnuconfig, "&Program Options", [this] { mnuoutputoptions_Click(); });
    mnusep2 = AddMenuItem(mnuconfig, "-");
    mnuchartdepth = AddMenuItem(mnuconfig, "Port &Notes", [this] { mnuchartdepth_Click(); });
    mnusep3 = AddMenuItem(mnuconfig, "-");
    Mnushowconfig = AddMenuItem(mnuconfig, "Show &Configuration/Notes", [this] { Mnushowconfig_Click(); });

    mnumaintenance = AddTopMenu(bar, "&Maintenance");
    mnumaintainfile =
        AddMenuItem(mnumaintenance, "&Correct Port Constants", [this] { mnumaintainfile_Click(); });
    mnucopyconstants = AddMenuItem(mnumaintenance, "&Copy ports", [this] { mnucopyconstants_Click(); });
    mnuCopyDiamonds =
        AddMenuItem(mnumaintenance, "Copy &Tidal Diamonds", [this] { mnuCopyDiamonds_Click(); });

    mnuAdvanced = AddTopMenu(bar, " &Advanced");
    mnuLayersShow = AddMenuItem(mnuAdvanced, "&Show Vizoz Constituents", [this] { mnuLayersShow_Click(); });
    mnuAdjustLoad = AddMenuItem(mnuAdvanced, "&Interpolate Between Ports", [this] { mnuAdjustLoad_Click(); });

    mnuHelpTop = AddTopMenu(bar, "Help");
    mnuHelp = AddMenuItem(mnuHelpTop, "Help", [this] { mnuHelp_Click(); });

    mnuSpecial = AddTopMenu(bar, "Special");
    mnuAnglesAndFactors =
        AddMenuItem(mnuSpecial, "Angles and Factors", [this] { mnuAnglesAndFactors_Click(); });
    mnuYears = AddMenuItem(mnuSpecial, "Calculate Years Vizoz", [this] { mnuYears_Click(); });
    mnuCalcOrbitalConst =
        AddMenuItem(mnuSpecial, "Calc Orbital Constants", [this] { mnuCalcOrbitalConst_Click(); });
}

std::vector<QWidget*> frmtidewyn::LevelControls() const {
    return {Line1,    Label1,    Label3,    lblSum,    lblHtZ0,   lblHtM2,   lblHtS2,   lblHtK1,  lblHtO1,
            lblHtf4,  lblHtf6,   chkZ0,     chkM2,     chkS2,     chkK1,     chkO1,     chkf4,    chkf6,
            lblSumHt, lblZ0harm, lblm2Harm, lblS2Harm, lblK1Harm, lblO1Harm, lblf4Harm, lblf6Harm};
}

void frmtidewyn::HideLevelControls() {
    for (QWidget* w : LevelControls()) w->setVisible(false);
}

void frmtidewyn::showlevelcontrols() {
    for (QWidget* w : LevelControls()) w->setVisible(true);
}

// Positions and sizes the controls for the window's width; run by the load and again whenever
// the window's size changes. Above its design height the window gives its extra height to the
// picture, and what stands under the picture moves down with it.
void frmtidewyn::ArrangeControls() {
    const int W = Width();
    const int m1 = W / 100, m2 = W / 50;
    const int growth = ToTwips(std::max(0, height() - ToPixels(kDesignHeight)));
    for (QWidget* w : std::initializer_list<QWidget*>{portbox, tidedatebox, timelabel, hitelabel, daystide1,
                                                      Nextday, Previousday})
        SetLeftOf(w, m1);
    SetLeftOf(timeval, m1 + WidthOf(timelabel));
    SetLeftOf(lblmousestatus, LeftOf(timeval) + WidthOf(timeval) + 2 * m1);
    SetLeftOf(lblrate, LeftOf(lblmousestatus));
    SetWidthOf(lblrate, W - LeftOf(lblrate) - m1);
    SetLeftOf(hiteval, LeftOf(hitelabel) + WidthOf(hitelabel));
    SetLeftOf(Picture1, LeftOf(daystide1) + WidthOf(daystide1));
    SetHeightOf(Picture1, kPictureHeight + growth);
    SetWidthOf(Picture1, static_cast<int>(Int(W * 115.0 / 190.0)));
    const int R = LeftOf(Picture1) + WidthOf(Picture1);
    for (const auto& [w, designTop] : belowPicture_) SetTopOf(w, designTop + growth);
    Place(monthspredictions, R + m2, TopOf(tidedatebox), kMonthListWidth,
          TopOf(Picture1) + HeightOf(Picture1) - TopOf(tidedatebox));
    if (monthspredictions->ListCount() > 0) FitMonthList();  // a month on show keeps to the edge
    SetTopOf(Label1, TopOf(Picture1) - HeightOf(Label1));
    SetLeftOf(Label1, R);
    SetTopOf(Label3, TopOf(Label1));
    SetLeftOf(Label3, LeftOf(Label1) + WidthOf(Label1));
    for (QWidget* w :
         std::initializer_list<QWidget*>{chkZ0, chkM2, chkS2, chkK1, chkO1, chkf4, chkf6, lblSum})
        SetLeftOf(w, R + m2);
    SetLeftOf(lblHtZ0, LeftOf(chkZ0) + WidthOf(chkZ0));
    SetLeftOf(lblHtM2, LeftOf(chkM2) + WidthOf(chkM2));
    for (QWidget* w : std::initializer_list<QWidget*>{lblHtS2, lblHtK1, lblHtO1, lblHtf4, lblHtf6, lblSumHt})
        SetLeftOf(w, LeftOf(lblHtM2));
    for (QWidget* w : std::initializer_list<QWidget*>{lblZ0harm, lblm2Harm, lblS2Harm, lblK1Harm, lblO1Harm,
                                                      lblf4Harm, lblf6Harm})
        SetLeftOf(w, R + m2);
    SetWidthOf(lblZ0harm, WidthOf(lblHtZ0) + WidthOf(chkZ0));
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblm2Harm, lblS2Harm, lblK1Harm, lblO1Harm, lblf4Harm, lblf6Harm})
        SetWidthOf(w, WidthOf(lblZ0harm));
    SetWidthOf(lblSum, WidthOf(chkf6));
    SetWidthOf(lblSumHt, WidthOf(lblHtf6));
    SetLeftOf(Line1, R + m2);
    SetLeftOf(pctSpringsStatus, LeftOf(Picture1));
    SetWidthOf(pctSpringsStatus, WidthOf(Picture1));
    SetLeftOf(lblSprings, LeftOf(Picture1));
    SetLeftOf(lblNeap, R - WidthOf(lblNeap));
}

void frmtidewyn::PauseClock() { Timer1->SetEnabled(false); }

void frmtidewyn::ForgetMonthView() {
    monthspredictions->Clear();
    monthspredictions->setVisible(false);
    ClearMonthTable();
}

void frmtidewyn::ShowDayButtons() {
    Nextday->setVisible(true);
    Previousday->setVisible(true);
}

void frmtidewyn::Form_Load() {
    SharedState& s = State();
    HideLevelControls();
    for (MenuItem* m : {&mnuSpecial, &mnuAdjustLoad, &mnuCopyDiamonds, &mnucopyconstants, &mnumaintenance})
        m->SetVisible(false);
    SetCaption(std::string(kProgramCaption) + kVersionText);
    SetMousePointer(MousePointer::Hourglass);
    SetHeight(kDesignHeight);
    SetWidth(kDesignWidth);
    setMinimumSize(ToPixels(kDesignWidth), ToPixels(kDesignHeight));
    CentreOnScreen();
    monthspredictions->setVisible(false);
    ArrangeControls();
    timelabel->setVisible(true);
    hitelabel->setVisible(true);
    lblmousestatus->SetCaption("(Click mouse to freeze)");
    TakeClockTime();
    pctSpringsStatus->Scale(0, 0, 39, 1);

    // Every failure of the load is told once, with its reason: a missing area file is not
    // told again by the recompute that meets it.
    loadNotices_.emplace();
    struct EndOfLoad {
        std::optional<FailureNotices>& notices;
        ~EndOfLoad() { notices.reset(); }
    } endOfLoad{loadNotices_};
    LoadStep("The settings cannot be read", [this] {
        FileResult r = LoadSettings();
        // A damaged file's message says what was kept and what is used instead; defaults written
        // with only the folder's sync failed are in use and in the file.
        TellFailure(r.status == FileStatus::Damaged || r.replaced ? "" : "The default settings are used", r);
    });

    LoadStep("The sea area cannot be found", [&] { FollowMovedAreaFile(); });

    LoadStep("The port cannot be read", [&] {
        // A port outside the area file (a shorter file, a damaged settings file) is brought
        // into range for the run, and the user told which port stands in. A damaged record is
        // taken (its name names the port) and told by the recompute.
        const long count = PortCount(s.AreaFilePath);
        s.CurrentPort = PortWithin(s.CurrentPort, count);
        FileResult r = LoadCurrentPort(s.AreaFilePath, true);
        if (!r.recordRead())
            TellFailure("The port cannot be read", r, "Choose a sea area with Select Port, Sea Area.");
        else if (const std::optional<std::string> notice = storedPortNotice(s.Settings.PortIndex, count))
            MsgBox(*notice, kOkOnly | kInformation);
    });
    portbox->SetCaption("Port    : " + s.PortName);
    // The window opens on the day of the clock's moment on the port's tables, whatever day the
    // computer's calendar shows: the port's zone and the summer-time setting decide it.
    const TableMoment now = MomentOf(s.TimeNowInstant);
    SetSelectedDate(now.Date + now.Minutes / 1440.0);
    // After the port, so that an area file that cannot be read is told as the port's failure.
    LoadStep("The user depths cannot be read", [this] {
        FileResult made = EnsureUserDepthFile();
        // A file made or put in step is in use: its notice or sync warning is told as it stands.
        TellFailure(UsableDepthFile(made) ? "" : "The user depths of this sea area cannot be kept", made);
    });
    ClearSunTable();

    tidedatebox->SetCaption(DateLine(LongDateText(s.SelectedDate).value_or(""), s.SelectedDate));

    LoadStep("The tide cannot be computed", [this] { RecomputeDay(); });
    SetMousePointer(MousePointer::Default);
    Timer2_Timer();
    WriteSummerTimeNote();
    LoadStep("The height now cannot be shown", [&] {
        int r = RowOfTime(s.TimeNowHours);
        hiteval->SetCaption(Format(s.DayCurve(2, r), "#,#0.0;;;"));
        timeval->SetCaption(HoursToHHMM(s.DayCurve(1, r)));
    });
    Timer2_Timer();
}

void frmtidewyn::Form_Unload(bool&) { EndProgram(); }

// A new size only moves the controls and draws again what is shown: nothing is computed.
void frmtidewyn::Form_Resize() {
    ArrangeControls();
    // The window's surface holds the hour labels and nothing else.
    if (!Surface().PersistentCommands().empty()) DrawHourLabels();
}

void frmtidewyn::Form_Activate() { Timer2_Timer(); }

// The toolkit opens the submenu; the click itself does nothing.
void frmtidewyn::mnutides_Click() {}

void frmtidewyn::Label1_DblClick() {
    mnuAdjustLoad.SetVisible(true);
    State().ShowConstants = true;
}

void frmtidewyn::mnuAdjustLoad_Click() { Get<frmHarmAdjust>().Show(); }

void frmtidewyn::mnuLayersShow_Click() {
    SharedState& s = State();
    if (s.LayersMode == 0) {
        mnuLayersShow.SetChecked(true);
        s.LayersMode = 1;
        Picture1->SetBackColor(kLayersBackColor);
        showlevelcontrols();
        monthspredictions->setVisible(false);
    } else {
        mnuLayersShow.SetChecked(false);
        s.LayersMode = 0;
        Picture1->SetBackColor(kWhite);
        HideLevelControls();
        ForgetMonthView();
    }
    // The date again from its numbers: a day of the year past the year's end is 1 January.
    int yearDays = IsLeapYear(s.SelectedYear) ? 366 : 365;
    if (s.SelectedDayOfYear > yearDays) {
        s.SelectedYear += 1;
        s.SelectedDayOfYear = 1;
    }
    std::string monthName;
    int day = 0;
    if (DayOfYearToDate(monthName, day)) s.SelectedDay = day;
    double date = DateSerial(s.SelectedYear, 1, 1) + (s.SelectedDayOfYear - 1);
    DateParts p = SplitDate(date);
    std::string y = std::to_string(p.year), m = std::to_string(p.month), d = std::to_string(p.day);
    std::string text = InShortDateOrder(s.ShortDateFormat, y, m, d).value_or(y + " " + m + " " + d);
    tidedatebox->SetCaption(DateLine(text, date));
    s.SelectedYear = p.year;
    s.SelectedDayOfYear = DayOfYear(date);
    s.SelectedMonth = p.month;
    daystide1->SetCaption("");
    RecomputeDay();
}

void frmtidewyn::SetPointer(Pointer p) {
    switch (p) {
        case Pointer::ArrowHourglass:
            SetMousePointer(MousePointer::ArrowHourglass);
            platform::SetPointer(Picture1, MousePointer::ArrowHourglass);
            break;
        case Pointer::Hourglass:
            SetMousePointer(MousePointer::Hourglass);
            platform::SetPointer(Picture1, MousePointer::Hourglass);
            break;
        case Pointer::Idle:
            SetMousePointer(MousePointer::Default);
            platform::SetPointer(Picture1, MousePointer::Cross);
            break;
    }
}

void frmtidewyn::ShowConstants(const ConstantCaptions& c) {
    lblZ0harm->SetCaption(c.lblZ0harm);
    lblm2Harm->SetCaption(c.lblm2Harm);
    lblS2Harm->SetCaption(c.lblS2Harm);
    lblK1Harm->SetCaption(c.lblK1Harm);
    lblO1Harm->SetCaption(c.lblO1Harm);
    lblf4Harm->SetCaption(c.lblf4Harm);
    lblf6Harm->SetCaption(c.lblf6Harm);
}
