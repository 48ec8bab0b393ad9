#include "platform/printerpage.h"

#include <cmath>

namespace platform {

namespace {
constexpr double kTwipsPerInch = 1440;
}

std::unique_ptr<PrinterPage> PrinterPage::Open(const std::string& title, PrintStatus& status,
                                               std::string& reason) {
    status = PrintStatus::Ok;
    std::unique_ptr<PrintJob> job = Printing().BeginDoc(ChosenPrinter(), title, status, reason);
    if (!job) {
        if (status == PrintStatus::Ok) status = PrintStatus::Failed;
        return nullptr;
    }
    return std::unique_ptr<PrinterPage>(new PrinterPage(std::move(job)));
}

PrinterPage::PrinterPage(std::unique_ptr<PrintJob> job) : job_(std::move(job)) {
    SetFontSize(9);
    SetFontBold(false);
    ForeColor = kBlack;
    DrawWidth = 1;
}

PrinterPage::~PrinterPage() = default;

double PrinterPage::deviceWidth() const { return job_->PageRect().width(); }
double PrinterPage::deviceHeight() const { return job_->PageRect().height(); }
double PrinterPage::deviceUnitsPerTwip() const { return job_->Resolution() / kTwipsPerInch; }
double PrinterPage::penScale() const { return job_->Resolution() / 600.0; }

QFontMetricsF PrinterPage::fontMetrics(const QFont& f) const {
    return QFontMetricsF(f, job_->Painter().device());
}

double PrinterPage::PageWidth() const { return job_->PaperWidth() / deviceUnitsPerTwip(); }

void PrinterPage::SetScaleLeft(double left) {
    const double width = ScaleWidth(), height = ScaleHeight(), top = ScaleTop();
    Scale(left, top, left + width, top + height);
}

void PrinterPage::SetScaleTop(double top) {
    const double width = ScaleWidth(), height = ScaleHeight(), left = ScaleLeft();
    Scale(left, top, left + width, top + height);
}

void PrinterPage::Print(const std::string& text) {
    const double tab = 8 * fontMetrics(font()).averageCharWidth() * ScaleWidth() / deviceWidth();
    size_t start = 0;
    bool first = true;
    while (true) {
        size_t end = text.find_first_of("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const double lineLeft = first ? CurrentX : ScaleLeft();
        const double y = CurrentY;
        double x = lineLeft;
        size_t from = 0;
        while (true) {
            size_t t = line.find('\t', from);
            std::string piece = line.substr(from, t == std::string::npos ? std::string::npos : t - from);
            CurrentX = x;
            CurrentY = y;
            Canvas::Print(piece);
            if (t == std::string::npos) break;
            x += TextWidth(piece);
            if (tab > 0) x = lineLeft + (std::floor((x - lineLeft) / tab) + 1) * tab;
            from = t + 1;
        }
        first = false;
        if (end == std::string::npos) break;
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    CurrentX = ScaleLeft();
}

void PrinterPage::NewPage() {
    CurrentX = ScaleLeft();  // the next page is written from its top
    CurrentY = ScaleTop();
    if (!drawn_) return;
    job_->PageDrawn(commands_);
    commands_.clear();
    drawn_ = false;
    pageEnded_ = true;
}

void PrinterPage::record(const DrawCommand& c) {
    if (pageEnded_) {
        if (!job_->NewPage() && failure_.empty()) failure_ = "A new page could not be started.";
        pageEnded_ = false;
    }
    commands_.push_back(c);
    drawn_ = true;
}

void PrinterPage::paintCommand(const DrawCommand& c) { paintWith(job_->Painter(), c); }

PrintStatus PrinterPage::EndDoc(std::string& reason) {
    if (drawn_) {
        job_->PageDrawn(commands_);
        commands_.clear();
        drawn_ = false;
    }
    PrintStatus status = job_->EndDoc(reason);
    if (status == PrintStatus::Ok && !failure_.empty()) {
        reason = failure_;
        status = PrintStatus::Failed;
    }
    return status;
}

}  // namespace platform
