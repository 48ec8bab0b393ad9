#include "mainwindow/frmoutoptions.h"

#include <cfloat>
#include <cmath>
#include <optional>

#include "engine/numtext.h"
#include "engine/records.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

namespace {
QGroupBox* makeFrame(QWidget* parent, const char* caption, int left, int top, int width, int height) {
    auto* f = new QGroupBox(QString::fromUtf8(caption), parent);
    Place(f, left, top, width, height);
    return f;
}

template <typename T>
T* placed(T* control, int left, int top, int width, int height) {
    Place(control, left, top, width, height);
    return control;
}
}  // namespace

frmoutoptions::frmoutoptions() : Form("Program Settings") {
    SetBorderStyle(BorderStyle::Fixed);
    SetWidth(7380);
    SetHeight(5280);
    QWidget* c = Client();

    Frame1 = makeFrame(c, "Display Options", 120, 60, 7140, 1560);
    Option1 = placed(new OptionButton(Frame1, "Heights to chart datum only"), 240, 300, 6720, 285);
    Option2 = placed(new OptionButton(Frame1, "Heights to include users charted depth"), 240, 600, 6720, 285);
    Option3 =
        placed(new OptionButton(Frame1, "As above with allowance for Draught and Under Keel clearance  "),
               240, 900, 6720, 285);
    Label2 = placed(new Label(Frame1, "(Second dotted curve)"), 540, 1185, 3000, 255);

    Frame3 = makeFrame(c, "Draft && Underkeel Clearance", 120, 1740, 7140, 1110);
    Label3 = placed(new Label(Frame3, "Vessel Draft"), 240, 345, 2400, 255);
    draughttext = placed(new TextBox(Frame3), 2700, 300, 1200, 330);
    draftlabel = placed(new Label(Frame3, "Under Keel Clearance"), 240, 735, 2400, 255);
    ukctext = placed(new TextBox(Frame3), 2700, 690, 1200, 330);

    Frame2 = makeFrame(c, "Daylight Savings", 120, 2970, 7140, 960);
    optDaylightSavings =
        placed(new OptionButton(Frame2, "Results Adjusted for Summer Time "), 240, 300, 6720, 285);
    optNonDaylightsavings =
        placed(new OptionButton(Frame2, "Results Displayed for Standard Time"), 240, 600, 6720, 285);

    Check1 = placed(new CheckBox(c, "Enable Harmonic Correction Menu"), 240, 4050, 6720, 285);
    optionsok = placed(new CommandButton(c, "O.K."), 2190, 4560, 1215, 420);
    Command1 = placed(new CommandButton(c, "Cancel"), 3975, 4560, 1215, 420);
    SetCancelButton(Command1);
    SetDefaultButton(optionsok);

    connect(Check1, &CheckBox::Click, this, Handler([this] { Check1_Click(); }));
    connect(optionsok, &QPushButton::clicked, this, Handler([this] { optionsok_Click(); }));
    connect(Command1, &QPushButton::clicked, this, Handler([this] { Command1_Click(); }));
}

std::string frmoutoptions::MetresText(float value) {
    std::string t = TypedText(value);
    return t == "0" ? "0.0" : t;
}

// Shows what the settings file holds; the shared settings change only on "O.K.".
void frmoutoptions::Form_Load() {
    if (IsLoaded<frmtidewyn>()) CentreOn(Get<frmtidewyn>());
    SettingsRecord record;
    // A damaged record is shown as read: a value out of range stands in its box to be mended,
    // one that is not a number leaves the box empty.
    FileResult read = ReadSettingsFile(record);
    if (!read.recordRead()) {
        record = State().Settings;
        MsgBox("The settings in use are shown, as the settings file cannot be read: " + read.message,
               kOkOnly | kExclamation);
    }

    if (record.SummerTime == -1) optDaylightSavings->SetValue(true);
    else if (record.SummerTime == 0) optNonDaylightsavings->SetValue(true);
    draughttext->SetText(MetresText(record.Draught));
    ukctext->SetText(MetresText(record.KeelClearance));
    // A damaged option is shown as the default the program uses in its place.
    const float option = OutputOptionInUse(record.OutputOption);
    if (option == 2.0f) Option2->SetValue(true);
    else if (option == 3.0f) Option3->SetValue(true);
    else Option1->SetValue(true);

    // The menus stay visible for the run once shown: the box says so when it opens again.
    if (IsLoaded<frmtidewyn>() && Get<frmtidewyn>().mnumaintenance.Visible()) Check1->SetValue(1);
}

// Ticking or unticking: the maintenance menus are shown for the rest of the run.
void frmoutoptions::Check1_Click() {
    frmtidewyn& main = Get<frmtidewyn>();
    main.mnumaintenance.SetVisible(true);
    main.mnumaintainfile.SetVisible(true);
}

void frmoutoptions::optionsok_Click() {
    SharedState& s = State();
    std::optional<float> draught = ReadTypedNumber(draughttext->Text(), kVesselRange);
    std::optional<float> clearance = ReadTypedNumber(ukctext->Text(), kVesselRange);
    auto refuse = [](TextBox* box, const std::string& what) {
        MsgBox(what + " must be a number of metres from 0 to 100, such as 1.5 or 1,5.",
               kOkOnly | kExclamation);
        box->setFocus();
        box->selectAll();
    };
    if (!draught) return refuse(draughttext, "The vessel draft");
    if (!clearance) return refuse(ukctext, "The under keel clearance");

    const bool summer = optDaylightSavings->Value();
    float option = 1.0f;
    if (Option1->Value()) option = 1.0f;
    else if (Option2->Value()) option = 2.0f;
    else if (Option3->Value()) option = 3.0f;

    // Only this dialog's fields are written; nothing changes when they cannot be saved.
    FileResult w = UpdateSettingsFile([&](SettingsRecord& rec) {
        rec.OutputOption = option;
        rec.KeelClearance = *clearance;
        rec.SpareValue = static_cast<float>(s.SpareSetting);
        rec.Draught = *draught;
        rec.SummerTime = summer ? -1 : 0;
    });
    // Saved also when only the folder's sync failed: the program goes on with what the file holds.
    if (!TellSave(w, "The settings cannot be saved: ")) return;
    s.UseSummerTime = summer;
    s.ApplySummerTime = summer;
    s.OutputOption = option;
    s.Draught = *draught;
    s.KeelClearance = *clearance;

    frmtidewyn& main = Get<frmtidewyn>();
    main.ForgetMonthView();
    main.portbox->SetCaption("Port    : " + s.PortName);
    main.daystide1->SetCaption("");
    main.EnableMainMenus();
    main.repaint();
    main.RecomputeDay();
    main.WriteSummerTimeNote(frmtidewyn::NoteWording::Long);
    Unload();
}

void frmoutoptions::Command1_Click() { Unload(); }
