// The main window's Configure menu: depth and notes, program settings, the configuration.
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmtidewyn.h"

void frmtidewyn::mnuchartdepth_Click() {
    platform::UnloadIfLoaded<frmChartdepth>();
    frmChartdepth& dialog = platform::Get<frmChartdepth>();
    dialog.ShowPorts();
    dialog.ShowModal();
    platform::UnloadIfLoaded<frmChartdepth>();
    DrawTideCurve();
}
void frmtidewyn::mnuoutputoptions_Click() {}
void frmtidewyn::Mnushowconfig_Click() {}
