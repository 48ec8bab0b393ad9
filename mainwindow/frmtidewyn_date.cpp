// The main window's Date menu.
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"

using namespace platform;

void frmtidewyn::mnutidedate_Click() {
    Get<Frmtimdat>().ShowModal(this);
    // Also after Cancel or the close box: the sun marks of the date now shown.
    CalcSunTimesForDay(SummerFlag());
    DrawTideCurve();
}
