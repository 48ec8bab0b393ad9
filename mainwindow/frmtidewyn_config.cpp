// The main window's Configure menu: depth and notes, program settings, the configuration.
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"

// A dialog hidden rather than unloaded is unloaded too, so that the next opening reads the
// files afresh.
void frmtidewyn::mnuchartdepth_Click() {
    platform::UnloadIfLoaded<frmChartdepth>();
    frmChartdepth& dialog = platform::Get<frmChartdepth>();
    dialog.ShowPorts();
    dialog.ShowModal();
    platform::UnloadIfLoaded<frmChartdepth>();
    DrawTideCurve();
}

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
