#pragma once
// A printed document drawn as a picture box is drawn: a Canvas in twips on a job of the
// installed print back end, for the printer chosen for the run. Every document starts at the
// printer's own scale (origin at the printable area's top left), line width 1, 9 pt, bold off,
// black. A page is begun by the first thing drawn on it, so a new page that nothing is drawn
// on adds no blank sheet.

#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/printer.h"

namespace platform {

class PrinterPage : public Canvas {
public:
    // Opens a document named `title` on Printing() for ChosenPrinter(); nothing, with the
    // status and the reason, when it cannot be started.
    static std::unique_ptr<PrinterPage> Open(const std::string& title, PrintStatus& status,
                                             std::string& reason);
    ~PrinterPage() override;

    // The whole sheet's width in twips (ScaleWidth and ScaleHeight give the printable area).
    double PageWidth() const;
    // Moves the origin: the scale's left and top edges, its size kept.
    void SetScaleLeft(double left);
    void SetScaleTop(double top);
    // Lines break at CR LF, a lone CR or a lone LF; lines after the first start at the scale's
    // left edge. A tab moves to the next stop, every 8 average character widths from where the
    // line starts.
    void Print(const std::string& text) override;
    // Ends the page; what follows is written from the next page's top left.
    void NewPage();
    // Ends the document: Failed, with the reason, when a page or the job failed.
    [[nodiscard]] PrintStatus EndDoc(std::string& reason);

protected:
    double deviceWidth() const override;
    double deviceHeight() const override;
    double deviceUnitsPerTwip() const override;
    void paintCommand(const DrawCommand& c) override;
    void record(const DrawCommand& c) override;
    QFontMetricsF fontMetrics(const QFont& f) const override;
    // One unit of DrawWidth is a dot of a 600-dpi printer.
    double penScale() const override;

private:
    explicit PrinterPage(std::unique_ptr<PrintJob> job);
    std::unique_ptr<PrintJob> job_;
    bool drawn_ = false;      // something is on the current page
    bool pageEnded_ = false;  // NewPage ended the page; the next drawing begins another
    std::string failure_;
};

}  // namespace platform
