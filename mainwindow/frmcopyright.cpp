#include "mainwindow/frmcopyright.h"

#include <QMenuBar>
#include <filesystem>

#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/localecheck.h"
#include "engine/state.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

const char* const frmCopyright::kConditions[25] = {
    "                This program is a passage planning and secondary navigation aid. If it used as a "
    "primary",
    "                navigation tool, then this is done at the users own risk.",
    "",
    "                The authors accept no responsibility or liability whatsoever from the use of this "
    "program",
    "                neither do they accept any responsibility for the results.",
    "",
    "                The program results are derived from certain published constants and predicted orbital",
    "                elements, the results are therefore to be considered as approximate only.",
    "",
    "                Harmonic constants derived from TICON-4 (CC BY 4.0) are used as source data and no "
    "claims",
    "                are made on calculation accuracy, tide time or height.",
    "",
    "                Heights are in metres above the chart datum of each port. Charted depths, draught and",
    "                clearance entered by the user are added or taken off as the program options say.",
    "                Times are local times of the port's time zone, adjusted for summer time only when",
    "                that is switched on in the program options.",
    "",
    "                Always check the predictions against official tide tables and the charts in use, and",
    "                allow for the weather, which can change times and heights considerably.",
    "                The program does not replace a proper lookout or the seamanship of the user.",
    "                By pressing Accept you agree to these conditions of use.",
    "",
    "                The publishers of the harmonic constants (TICON-4, GESLA-4 and the Neaps tide database)",
    "                have not verified the data derived from them for this program and accept no liability",
    "                for its use, its reproduction here or any later modification of it.",
};

frmCopyright::frmCopyright() : Form(kProgramCaption) {
    // Tall enough to show every line of the conditions without scrolling; the buttons stand
    // below the list at a fifth of the height from the foot (the load places them).
    SetBorderStyle(BorderStyle::Fixed);
    SetWidth(10800);
    SetHeight(7800);
    QWidget* c = Client();
    List1 = new ListBox(c);
    Place(List1, 0, 120, 10500, 5820);
    ConditionsOK = new CommandButton(c, "Accept");
    cmdDecline = new CommandButton(c, "Decline");
    Place(ConditionsOK, 3600, 6240, 1500, 420);
    Place(cmdDecline, 5700, 6240, 1500, 420);
    ConditionsOK->setVisible(false);
    connect(ConditionsOK, &QPushButton::clicked, this, Handler([this] { ConditionsOK_Click(); }));
    connect(cmdDecline, &QPushButton::clicked, this, Handler([this] { cmdDecline_Click(); }));

    mnuMain = AddTopMenu(menuBar(), "Menu");
    mnuRestoreDefaults = AddMenuItem(mnuMain, "Restore Defaults", [this] { mnuRestoreDefaults_Click(); });
    mnuHelp = AddTopMenu(menuBar(), "Help");
    mnuHTMLHelp = AddMenuItem(mnuHelp, "Help", [this] { mnuHTMLHelp_Click(); });
}

void frmCopyright::Form_Load() {
    SharedState& s = State();
    CentreOnScreen();
    SetLeftOf(List1, (Width() - WidthOf(List1)) / 2);

    // The desktop layer found the folders (the home folder when one could not be found).
    s.DocumentsFolder = Env().documentsFolder;
    s.AppDataFolder = GetLocalAppDataPath();
    MakeAppDataFolder();
    MakeUserDepthsFolder();
    MakeTextOutputFolder();

    List1->Clear();
    SetCaption(std::string(kProgramCaption) + kVersionText);

    DateFormatCheck check = CheckDateFormat();
    s.ShortDateFormat = check.FormatText;
    if (s.ShortDateFormat.empty()) {
        const char* lines[] = {"TIDEWYN CANNOT DETECT THE REQUIRED TIME AND DATE SETTINGS",
                               "To setup use the Control Panel -> Regional Settings -> Date Tab",
                               "Set as follows :",
                               "      Short date Style dd/MM/yyyy",
                               "      Date separator = /",
                               "      Long Date style = dd MMMM yyyy",
                               "      PLEASE CONTACT US IF YOU REQUIRE ANY SUPPORT"};
        std::string text;
        for (const char* line : lines) text += (text.empty() ? "" : "\r\n\r\n") + std::string(line);
        MsgBox(text, kOkOnly, "Apologies !!");
        EndProgram();
    }

    SetTopOf(ConditionsOK, static_cast<int>(Height() / 1.25));
    SetTopOf(cmdDecline, static_cast<int>(Height() / 1.25));
    ConditionsOK->setVisible(true);
    Show();

    List1->AddItem("");
    for (const char* line : kConditions) List1->AddItem(line);
}

void frmCopyright::ConditionsOK_Click() {
    frmtidewyn& main = Get<frmtidewyn>();
    main.mnumaintenance.SetVisible(false);
    main.Show();
    accepted_ = true;
    Unload();
}

void frmCopyright::Form_Unload(bool&) {
    if (!accepted_) EndProgram();
}

void frmCopyright::cmdDecline_Click() { EndProgram(); }

void frmCopyright::mnuRestoreDefaults_Click() {
    State().SettingsFilePath = BuildSettingsFilePath();
    // No file is no error; a file that stays is told, or the user would think the defaults back.
    std::error_code ec;
    std::filesystem::remove(State().SettingsFilePath, ec);
    if (ec)
        MsgBox("The settings cannot be restored to their defaults: Cannot delete " +
                   State().SettingsFilePath + ": " + ec.message(),
               kOkOnly | kExclamation);
}

void frmCopyright::mnuHTMLHelp_Click() { frmPDFReader::OpenManual(); }
