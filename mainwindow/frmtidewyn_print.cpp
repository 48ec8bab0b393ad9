// The main window's File, Print entries: the displayed day and its month.
#include "engine/state.h"
#include "engine/suntable.h"
#include "mainwindow/frmtidewyn.h"
#include "output/daypages.h"
#include "output/monthpages.h"
#include "platform/dialogs.h"
#include "platform/printerpage.h"

using namespace engine;
using namespace platform;

void frmtidewyn::PrintDayPage(const std::string& question, const std::string& title,
                              const std::function<void(PrinterPage&)>& page) {
    if (MsgBox(question, kYesNo) != kYes) return;
    PrintDocument(title, page);
}

void frmtidewyn::PrintDocument(const std::string& title, const std::function<void(PrinterPage&)>& page) {
    SetPointer(Pointer::Hourglass);
    PrintStatus status = PrintStatus::Ok;
    std::string reason;
    if (std::unique_ptr<PrinterPage> printer = PrinterPage::Open(title, status, reason)) {
        page(*printer);
        status = printer->EndDoc(reason);
    }
    SetPointer(Pointer::Idle);
    DrawTideCurve();
    if (status == PrintStatus::NoPrinter) MsgBox(reason, kOkOnly | kExclamation);
    else if (status == PrintStatus::Failed)
        MsgBox("The document could not be printed:\r\n" + reason, kOkOnly | kExclamation);
}

namespace {
output::DayCaptions captionsOf(const frmtidewyn& w) {
    return {w.portbox->Caption(), w.tidedatebox->Caption(), w.daystide1->Caption(), w.SummerFlag()};
}
}  // namespace

void frmtidewyn::mnudayprint_Click() {
    PrintDayPage("              Print curve?", "Tidewyn Vizoz curve",
                 [this](PrinterPage& page) { output::PrintTideCurve(page, captionsOf(*this)); });
}

void frmtidewyn::mnuhrprint_Click() {
    PrintDayPage("Print rise at 10 minute intervals?", "Tidewyn Vizoz hourly details",
                 [this](PrinterPage& page) { output::PrintHourlyTable(page, captionsOf(*this)); });
}

void frmtidewyn::mnumonthprint_Click() {
    const bool ready = EnsureMonthView();
    if (MsgBox("Print Months Tide Table?", kYesNo) != kYes) return;
    const int count = monthspredictions->ListCount();
    if (!ready) {
        MsgBox(kNoMonthTides, kOkOnly);
        return;
    }
    std::vector<std::string> lines;
    for (int i = 5; i < count; ++i) lines.push_back(monthspredictions->List(i));
    monthspredictions->SetListIndex(count - 1);
    const MonthViewKey month = State().MonthView;
    PrintDocument("Tidewyn Vizoz month table",
                  [&](PrinterPage& page) { output::PrintMonthTable(page, lines, month.Year, month.Month); });
}

void frmtidewyn::mnusunprint_Click() {
    if (!EnsureSunTable()) return;
    if (MsgBox("Print Sun and Lunar times?", kYesNo) != kYes) return;
    PrintDocument("Tidewyn Vizoz sun times", [](PrinterPage& page) { output::PrintSunTable(page); });
}
