// The main window's Configure menu: depth and notes, program settings, the configuration.
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"

void frmtidewyn::mnuchartdepth_Click() {}
// A dialog hidden rather than unloaded is unloaded too, so that the next opening reads the
// settings afresh.
void frmtidewyn::mnuoutputoptions_Click() {
    platform::Get<frmoutoptions>().ShowModal();
    platform::UnloadIfLoaded<frmoutoptions>();
    engine::ClearMonthTable();
}
void frmtidewyn::Mnushowconfig_Click() {
    platform::Get<frmshowconf>().ShowModal();
    platform::UnloadIfLoaded<frmshowconf>();
    DrawTideCurve();
}
