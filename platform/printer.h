#pragma once
// Printing: the printer chosen for the run, and the back ends that printed documents go to.
// A back end opens a document on a paged device and hands back a job to paint its pages
// with a QPainter; the program prints on the system printer, tests install a back end that
// writes PDF files or records the pages. A missing printer is an error the caller shows,
// never ignored.

#include <QIODevice>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace platform {

// How a print step went: a caller tells a missing printer from other failures by this, and
// shows the reason that comes beside it.
enum class PrintStatus { Ok, NoPrinter, Failed };

// The printer chosen with SelectPrinter for this run; empty: the system's default printer.
const std::string& ChosenPrinter();
void SetChosenPrinter(const std::string& name);
// Asks for a printer (ChoosePrinter) and keeps the choice. False when the user cancelled.
bool SelectPrinter();

// One document being printed: a painter on the current page, in device units.
class PrintJob {
public:
    // `output`, when given, is where the device writes; it is kept until the device is gone.
    explicit PrintJob(std::unique_ptr<QPagedPaintDevice> device, std::unique_ptr<QIODevice> output = nullptr);
    virtual ~PrintJob();  // ends a document that is still open
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // Starts painting; false with the reason when the device cannot be painted on.
    bool Begin(std::string& error);
    QPainter& Painter() { return painter_; }
    // The printable area of a page, with its origin at the painter's origin.
    QRect PageRect() const;
    // The whole sheet's width in device units.
    int PaperWidth() const;
    int Resolution() const;  // device units per inch
    virtual bool NewPage();
    // A page of a PrinterPage is finished: what was drawn on it (kept by recording jobs).
    virtual void PageDrawn(const std::vector<DrawCommand>& commands) { (void)commands; }
    // Finishes the document; Failed, with the reason, when the device reports a failure.
    [[nodiscard]] virtual PrintStatus EndDoc(std::string& error);

private:
    std::unique_ptr<QIODevice> output_;
    std::unique_ptr<QPagedPaintDevice> device_;
    QPainter painter_;
};

class PrintBackend {
public:
    virtual ~PrintBackend() = default;
    // Opens a document named title on the printer (empty: the default printer), ready to
    // paint its first page; nothing, with the status and the reason in error, when it cannot
    // be done.
    virtual std::unique_ptr<PrintJob> BeginDoc(const std::string& printer, const std::string& title,
                                               PrintStatus& status, std::string& error) = 0;
};

// The system's printers through Qt Print Support. The printer list can be replaced (tests).
class SystemPrinterBackend : public PrintBackend {
public:
    using PrinterList = std::function<QStringList()>;
    explicit SystemPrinterBackend(PrinterList list = {});
    std::unique_ptr<PrintJob> BeginDoc(const std::string& printer, const std::string& title,
                                       PrintStatus& status, std::string& error) override;

private:
    PrinterList list_;
};

// Writes every document to a PDF file (A4) instead of a printer, and notes what was asked.
class PdfFileBackend : public PrintBackend {
public:
    explicit PdfFileBackend(std::string path) : path_(std::move(path)) {}
    std::unique_ptr<PrintJob> BeginDoc(const std::string& printer, const std::string& title,
                                       PrintStatus& status, std::string& error) override;
    const std::string& Path() const { return path_; }
    struct Request {
        std::string printer, title;
    };
    const std::vector<Request>& Requests() const { return requests_; }

private:
    std::string path_;
    std::vector<Request> requests_;
};

// Keeps every document's pages as display lists (tests): the pages are painted as well, on a
// PDF in memory of the given page size, so that painting is exercised too.
class RecordingPrintBackend : public PrintBackend {
public:
    struct Document {
        std::string printer, title;
        std::vector<std::vector<DrawCommand>> pages;
        int sheets = 1;  // pages begun on the device
        bool ended = false;
    };
    std::unique_ptr<PrintJob> BeginDoc(const std::string& printer, const std::string& title,
                                       PrintStatus& status, std::string& error) override;

    QPageSize pageSize{QPageSize::A4};
    QMarginsF marginsMm{6.35, 6.35, 6.35, 6.35};  // a laser printer's unprintable edges
    int resolution = 600;
    std::string endFailure;  // when not empty, every document fails at its end with this reason
    std::vector<Document> documents;
};

// Where printed documents go: the system printer unless another back end is installed.
PrintBackend& Printing();
void SetPrintBackend(PrintBackend* backend);  // nullptr: the system printer again

}  // namespace platform
