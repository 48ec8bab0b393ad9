#include "mainwindow/frmtidewyn.h"

#include <QMenuBar>

#include "engine/settingsfile.h"
#include "engine/state.h"
#include "platform/app.h"

using namespace engine;
using namespace platform;

frmtidewyn::frmtidewyn() : Form(kProgramCaption) {
    mnufile = AddTopMenu(menuBar(), " &File");
    mnuexit = AddMenuItem(mnufile, "E&xit", [] { EndProgram(); });
    mnumaintenance = AddTopMenu(menuBar(), "&Maintenance");
}

void frmtidewyn::Form_Load() {
    mnumaintenance.SetVisible(false);
    SetCaption(std::string(kProgramCaption) + kVersionText);
    SetHeight(7400);
    SetWidth(9720);
    CentreOnScreen();
    LoadSettings();
    EnsureUserDepthFile();
}

void frmtidewyn::Form_Unload(bool&) { EndProgram(); }
