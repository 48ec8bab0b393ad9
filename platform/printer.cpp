#include "platform/printer.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/dialogs.h"

namespace platform {

namespace {
std::string chosenPrinter;
PrintBackend* installedBackend = nullptr;
}  // namespace

const std::string& ChosenPrinter() { return chosenPrinter; }
void SetChosenPrinter(const std::string& name) { chosenPrinter = name; }

bool SelectPrinter() {
    std::optional<std::string> name = ChoosePrinter(chosenPrinter);
    if (!name) return false;
    chosenPrinter = *name;
    return true;
}

PrintJob::PrintJob(std::unique_ptr<QPagedPaintDevice> device) : device_(std::move(device)) {}

PrintJob::~PrintJob() {
    if (painter_.isActive()) painter_.end();
}

bool PrintJob::Begin(std::string& error) {
    if (!painter_.begin(device_.get())) {
        error = "The printer could not be started.";
        return false;
    }
    return true;
}

QRect PrintJob::PageRect() const {
    return QRect(QPoint(0, 0), device_->pageLayout().paintRectPixels(Resolution()).size());
}

int PrintJob::Resolution() const { return device_->logicalDpiY(); }

bool PrintJob::NewPage() { return device_->newPage(); }

bool PrintJob::EndDoc(std::string& error) {
    if (!painter_.isActive()) return true;
    if (!painter_.end()) {
        error = "The document could not be finished.";
        return false;
    }
    if (auto* printer = dynamic_cast<QPrinter*>(device_.get());
        printer && printer->printerState() == QPrinter::Error) {
        error = "The printer reported an error.";
        return false;
    }
    return true;
}

SystemPrinterBackend::SystemPrinterBackend(PrinterList list) : list_(std::move(list)) {
    if (!list_) list_ = [] { return QPrinterInfo::availablePrinterNames(); };
}

std::unique_ptr<PrintJob> SystemPrinterBackend::BeginDoc(const std::string& printer, const std::string& title,
                                                         std::string& error) {
    QStringList names = list_();
    if (names.isEmpty()) {
        error = "No printer is installed on this computer.";
        return nullptr;
    }
    auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!printer.empty()) {
        if (!names.contains(QString::fromStdString(printer))) {
            error = "The printer \"" + printer + "\" is not available.";
            return nullptr;
        }
        device->setPrinterName(QString::fromStdString(printer));
    }
    device->setDocName(QString::fromStdString(title));
    auto job = std::make_unique<PrintJob>(std::move(device));
    if (!job->Begin(error)) return nullptr;
    return job;
}

std::unique_ptr<PrintJob> PdfFileBackend::BeginDoc(const std::string& printer, const std::string& title,
                                                   std::string& error) {
    requests_.push_back({printer, title});
    auto device = std::make_unique<QPdfWriter>(QString::fromStdString(path_));
    device->setPageSize(QPageSize(QPageSize::A4));
    device->setResolution(300);
    device->setTitle(QString::fromStdString(title));
    auto job = std::make_unique<PrintJob>(std::move(device));
    if (!job->Begin(error)) {
        error = "The file " + path_ + " could not be written.";
        return nullptr;
    }
    return job;
}

PrintBackend& Printing() {
    static SystemPrinterBackend system;
    return installedBackend ? *installedBackend : system;
}

void SetPrintBackend(PrintBackend* backend) { installedBackend = backend; }

}  // namespace platform
