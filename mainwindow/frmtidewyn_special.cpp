// The main window's hidden Special menu: the developer tables written into the program folder.
#include <string>
#include <vector>

#include "engine/devtables.h"
#include "engine/environment.h"
#include "engine/state.h"
#include "mainwindow/frmtidewyn.h"
#include "output/devexports.h"
#include "output/textfile.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

void frmtidewyn::WriteFactorsTables(bool indexed) {
    const auto form = indexed ? output::FactorsForm::Indexed : output::FactorsForm::Orbital;
    for (int year : {2016, 2017, 2018}) {
        SetPointer(Pointer::Hourglass);
        State().FactorsTable = FactorsTableFrom(year);
        const output::TextFile file = output::FactorsFile(State().FactorsTable, form);
        SetPointer(Pointer::Idle);
        if (!output::SaveTextFile(file, output::FactorsPath(Env().programFolder, year))) return;
    }
}

void frmtidewyn::mnuAnglesAndFactors_Click() { WriteFactorsTables(true); }

void frmtidewyn::mnuCalcOrbitalConst_Click() { WriteFactorsTables(false); }

// Two years of the current port's ranges and high waters, from 1 January of the displayed year.
void frmtidewyn::mnuYears_Click() {
    const SharedState& s = State();
    SetPointer(Pointer::Hourglass);
    std::vector<HWYearRow> rows;
    const FileResult computed =
        YearHighWaters(s.AreaFilePath, s.CurrentPort, static_cast<int16_t>(s.SelectedYear), rows);
    SetPointer(Pointer::Idle);
    if (!computed.ok()) {
        MsgBox("The high-water times have not been written.\r" + computed.message, kOkOnly | kExclamation);
        return;
    }
    const std::string path = output::HWTimesPath(Env().programFolder, s.PortName);
    if (!output::SaveTextFile(output::HWTimesFile(rows), path)) return;
    MsgBox("Year " + std::to_string(s.SelectedYear) + "  HW times written to " + path, kOkOnly);
}
