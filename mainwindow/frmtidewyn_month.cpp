// The main window's month view.
#include "mainwindow/frmtidewyn.h"

void frmtidewyn::mnumonth_Click() {}
