// The main window's port and sea-area menus.
#include "mainwindow/frmtidewyn.h"

void frmtidewyn::mnuPortList_Click() {}
void frmtidewyn::mnuArea_Click() {}
