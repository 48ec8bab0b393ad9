// The main window's File, Print entries for the displayed day.
#include "mainwindow/frmtidewyn.h"
#include "output/daypages.h"
#include "platform/dialogs.h"
#include "platform/printerpage.h"

using namespace platform;

void frmtidewyn::PrintDayPage(const std::string& question, const std::string& title,
                              const std::function<void(PrinterPage&)>& page) {
    if (MsgBox(question, kYesNo) != kYes) return;
    SetMousePointer(MousePointer::Hourglass);
    platform::SetPointer(Picture1, MousePointer::Hourglass);
    PrintStatus status = PrintStatus::Ok;
    std::string reason;
    if (std::unique_ptr<PrinterPage> printer = PrinterPage::Open(title, status, reason)) {
        page(*printer);
        status = printer->EndDoc(reason);
    }
    SetMousePointer(MousePointer::Default);
    platform::SetPointer(Picture1, MousePointer::Cross);
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
