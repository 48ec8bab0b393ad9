#include "platform/printer.h"

#include <QBuffer>
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

PrintJob::PrintJob(std::unique_ptr<QPagedPaintDevice> device, std::unique_ptr<QIODevice> output)
    : output_(std::move(output)), device_(std::move(device)) {}

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

int PrintJob::PaperWidth() const { return device_->pageLayout().fullRectPixels(Resolution()).width(); }

int PrintJob::Resolution() const { return device_->logicalDpiY(); }

bool PrintJob::NewPage() { return device_->newPage(); }

PrintStatus PrintJob::EndDoc(std::string& error) {
    if (!painter_.isActive()) return PrintStatus::Ok;
    if (!painter_.end()) {
        error = "The document could not be finished.";
        return PrintStatus::Failed;
    }
    if (auto* printer = dynamic_cast<QPrinter*>(device_.get());
        printer && printer->printerState() == QPrinter::Error) {
        error = "The printer reported an error.";
        return PrintStatus::Failed;
    }
    return PrintStatus::Ok;
}

SystemPrinterBackend::SystemPrinterBackend(PrinterList list) : list_(std::move(list)) {
    if (!list_) list_ = [] { return QPrinterInfo::availablePrinterNames(); };
}

std::unique_ptr<PrintJob> SystemPrinterBackend::BeginDoc(const std::string& printer, const std::string& title,
                                                         PrintStatus& status, std::string& error) {
    status = PrintStatus::Failed;
    QStringList names = list_();
    if (names.isEmpty()) {
        status = PrintStatus::NoPrinter;
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
    status = PrintStatus::Ok;
    return job;
}

std::unique_ptr<PrintJob> PdfFileBackend::BeginDoc(const std::string& printer, const std::string& title,
                                                   PrintStatus& status, std::string& error) {
    status = PrintStatus::Failed;
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
    status = PrintStatus::Ok;
    return job;
}

namespace {
class RecordingJob : public PrintJob {
public:
    RecordingJob(std::unique_ptr<QPagedPaintDevice> device, std::unique_ptr<QIODevice> output,
                 RecordingPrintBackend& backend, size_t document)
        : PrintJob(std::move(device), std::move(output)), backend_(backend), document_(document) {}
    bool NewPage() override {
        ++backend_.documents.at(document_).sheets;
        return PrintJob::NewPage();
    }
    void PageDrawn(const std::vector<DrawCommand>& commands) override {
        backend_.documents.at(document_).pages.push_back(commands);
    }
    PrintStatus EndDoc(std::string& error) override {
        PrintStatus status = PrintJob::EndDoc(error);
        if (status == PrintStatus::Ok && !backend_.endFailure.empty()) {
            error = backend_.endFailure;
            status = PrintStatus::Failed;
        }
        backend_.documents.at(document_).ended = status == PrintStatus::Ok;
        return status;
    }

private:
    RecordingPrintBackend& backend_;
    size_t document_;
};
}  // namespace

std::unique_ptr<PrintJob> RecordingPrintBackend::BeginDoc(const std::string& printer,
                                                          const std::string& title, PrintStatus& status,
                                                          std::string& error) {
    status = PrintStatus::Failed;
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    auto device = std::make_unique<QPdfWriter>(buffer.get());
    device->setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, marginsMm, QPageLayout::Millimeter));
    device->setResolution(resolution);
    documents.push_back({printer, title, {}, 1, false});
    auto job =
        std::make_unique<RecordingJob>(std::move(device), std::move(buffer), *this, documents.size() - 1);
    if (!job->Begin(error)) return nullptr;
    status = PrintStatus::Ok;
    return job;
}

PrintBackend& Printing() {
    static SystemPrinterBackend system;
    return installedBackend ? *installedBackend : system;
}

void SetPrintBackend(PrintBackend* backend) { installedBackend = backend; }

}  // namespace platform
