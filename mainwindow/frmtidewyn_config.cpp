// The main window's Configure menu: depth and notes, program settings, the configuration.
#include "mainwindow/frmtidewyn.h"

void frmtidewyn::mnuchartdepth_Click() {}
void frmtidewyn::mnuoutputoptions_Click() {}
void frmtidewyn::Mnushowconfig_Click() {}
