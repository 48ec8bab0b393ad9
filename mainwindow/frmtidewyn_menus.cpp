// The main window's menu handlers that open the windows of other parts of the program, and
// Exit.
#include <algorithm>

#include "engine/currentport.h"
#include "engine/folders.h"
#include "engine/moon.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"

using namespace engine;
using namespace platform;

// The main window's unload ends the program.
void frmtidewyn::mnuExit_Click() { Unload(); }

void frmtidewyn::mnuHelp_Click() { frmPDFReader::OpenManual(); }

void frmtidewyn::mnusunrise_Click() {
    // The sunrise tool's windows (Frmsunrise, Frmriseresults) are closed here too, once they exist.
    platform::UnloadIfLoaded<frmshowconf>();
    CalcMoonPhases();  // the selected month's phases, for the sunrise tool and its results
    // The sunrise tool (Frmsunrise) opens here, modeless, once it exists.
    DrawTideCurve();
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
