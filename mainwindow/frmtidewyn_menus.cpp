// The main window's menu handlers that open the windows of other parts of the program, and
// Exit.
#include <algorithm>

#include "engine/currentport.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "maintenance/frmharmedit.h"
#include "maintenance/frmhccopy.h"
#include "maintenance/frmtidaldiamondscopy.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "output/frmriseresults.h"
#include "output/frmsunrise.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

// The main window's unload ends the program.
void frmtidewyn::mnuExit_Click() { Unload(); }

void frmtidewyn::mnuHelp_Click() { frmPDFReader::OpenManual(); }

// The moon phases are those of the month sun table, filled with it by Calculate.
void frmtidewyn::mnusunrise_Click() {
    platform::UnloadIfLoaded<Frmsunrise>();
    platform::UnloadIfLoaded<Frmriseresults>();
    platform::UnloadIfLoaded<frmshowconf>();
    DrawTideCurve();
    Get<Frmsunrise>().Show();
}

void frmtidewyn::mnumaintainfile_Click() {
    Get<frmharmedit>().ShowModal(this);
    ReloadCurrentPort();
}

void frmtidewyn::mnucopyconstants_Click() {
    // The utility closes in its load, unshown, when it cannot empty its queue.
    Get<frmHCcopy>().ShowModal(this);
    ReloadCurrentPort();
}

void frmtidewyn::mnuCopyDiamonds_Click() {
    frmTidalDiamondsCopy& editor = Get<frmTidalDiamondsCopy>();
    editor.CentreOnScreen();
    editor.Show();
}

// An editor may have changed the current port, its record or the number of ports in the area
// file: the port is read again, kept in the settings so that a restart opens it, and the day
// recomputed from it; the month view, which may be of a changed record, is emptied.
void frmtidewyn::ReloadCurrentPort() {
    SharedState& s = State();
    s.CurrentPort = PortWithin(s.CurrentPort, PortCount(s.AreaFilePath));
    SettingsRecord stored;
    const bool kept = ReadSettingsFile(stored).recordRead() && PortOfIndex(stored.PortIndex) == s.CurrentPort;
    if (!kept) {
        FileResult w = UpdateSettingsFile(
            [&](SettingsRecord& rec) { rec.PortIndex = static_cast<float>(s.CurrentPort); });
        (void)TellSave(w, "The settings cannot be saved: ");
    }
    if (LoadCurrentPort(s.AreaFilePath, true).recordRead()) portbox->SetCaption("Port    : " + s.PortName);
    ForgetMonthView();
    RecomputeDay();
}
