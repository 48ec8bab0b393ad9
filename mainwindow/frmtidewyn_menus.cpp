// The main window's menu handlers that open the windows of other parts of the program, and
// Exit.
#include <algorithm>

#include "engine/currentport.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "output/frmriseresults.h"
#include "output/frmsunrise.h"

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
    // HARMONIC EDITOR: show frmharmedit here, modal; what follows runs once it has closed.
    ReloadCurrentPort();
}

void frmtidewyn::mnucopyconstants_Click() {
    // PORTS COPY UTILITY: show frmHCcopy here, modal; what follows runs once it has closed.
    ReloadCurrentPort();
}

void frmtidewyn::mnuCopyDiamonds_Click() {
    // TIDAL DIAMONDS EDITOR: show frmTidalDiamondsCopy here, modeless, centred on the screen.
}

// An editor may have changed the current port's record, or the number of ports, in the area
// file: the port is read again and the day recomputed from it.
void frmtidewyn::ReloadCurrentPort() {
    SharedState& s = State();
    s.CurrentPort = PortWithin(s.CurrentPort, PortCount(s.AreaFilePath));
    if (LoadCurrentPort(s.AreaFilePath, true).recordRead()) portbox->SetCaption("Port    : " + s.PortName);
    RecomputeDay();
}
