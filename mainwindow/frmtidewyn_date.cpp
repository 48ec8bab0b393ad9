// The main window's Date menu.
#include "mainwindow/frmtidewyn.h"

void frmtidewyn::mnutidedate_Click() {}
