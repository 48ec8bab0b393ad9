// The main window's port and sea-area menus.
#include "engine/areafile.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

namespace {
// The port dialog, loaded afresh, modal on the main window; unloaded however it was closed.
void showPortDialog(frmtidewyn& owner) {
    UnloadIfLoaded<frmconfig>();
    Get<frmconfig>().ShowModal(&owner);
    UnloadIfLoaded<frmconfig>();
}
}  // namespace

void frmtidewyn::mnuPortList_Click() {
    SettingsRecord stored;
    ReloadSettingsCopies(stored);  // when the file cannot be read the copies stay as they are
    State().ChosenAreaFile = State().AreaFilePath;
    showPortDialog(*this);
    DrawTideCurve();
}

void frmtidewyn::mnuArea_Click() {
    FileDialogRequest request;
    request.title = "Select Sea Area";
    request.initialFolder = Env().programFolder;
    request.filter = "Harmonics (*.HC)|*.hc";
    std::optional<std::string> chosen = FileDialog(request);
    if (!chosen || Trim(*chosen).empty()) return;
    const std::string name = Trim(*chosen);
    // The rebuild's work file holds no area of its own.
    if (!FileExists(name) || SameFile(name, ScratchAreaFilePath())) {
        MsgBox("File name not recognised- you should click on a sea area.");
        return;
    }
    // The area in use and the settings file stay as they are until OK in the port dialog.
    State().ChosenAreaFile = name;
    showPortDialog(*this);
    EnableMainMenus();
    DrawTideCurve();
}
