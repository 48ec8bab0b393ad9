#include "platform/pdfview.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "platform/printer.h"

namespace platform {

namespace {
constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.25, kMaxZoom = 6.0;
// Pages are printed from images of at most this resolution.
constexpr int kMaxPrintDpi = 300;

// A rendered page has a transparent background; paper is white.
QImage onWhite(const QImage& page) {
    QImage out(page.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, page);
    return out;
}

int virtualKey(const QKeyEvent& e) {
    switch (e.key()) {
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        default: break;
    }
    if ((e.key() >= Qt::Key_0 && e.key() <= Qt::Key_9) || (e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z))
        return e.key();
    return 0;
}
}  // namespace

std::string PdfView::StatusText(int status) {
    switch (status) {
        case kOpened: return "The file was opened.";
        case kNotYetAvailable: return "The file could not be read completely.";
        case kFileNotFound: return "The file was not found.";
        case kInvalidFile: return "The file is not a PDF document or is damaged.";
        case kPasswordRequired: return "The document is protected by a password.";
        case kUnsupportedSecurity: return "The document's protection is not supported.";
        default: return "The file could not be opened.";
    }
}

PdfView::PdfView(QWidget* parent) : QPdfView(parent) {
    setPageMode(PageMode::SinglePage);
    setZoomMode(ZoomMode::Custom);
    setZoomFactor(1.0);
    setFocusPolicy(Qt::StrongFocus);
    connect(pageNavigator(), &QPdfPageNavigator::currentPageChanged, this,
            [this](int) { emit PageChanged(CurrentPage()); });
}

PdfView::~PdfView() { setDocument(nullptr); }

int PdfView::Open(const std::string& path) {
    auto doc = std::make_unique<QPdfDocument>();
    QPdfDocument::Error e = doc->load(QString::fromStdString(path));
    if (e == QPdfDocument::Error::None && doc->status() != QPdfDocument::Status::Ready)
        e = QPdfDocument::Error::Unknown;
    status_ = static_cast<int>(e);
    if (status_ != kOpened) return status_;
    setDocument(doc.get());
    document_ = std::move(doc);  // the old document goes only now
    path_ = path;
    userZoomed_ = false;
    setZoomFactor(fittingZoom());
    GoToPage(1);
    SetScrollPosition(0);
    emit PageChanged(CurrentPage());
    return status_;
}

int PdfView::PageCount() const { return document_ ? document_->pageCount() : 0; }

int PdfView::CurrentPage() const { return document_ ? pageNavigator()->currentPage() + 1 : 0; }

void PdfView::GoToPage(int page) {
    if (!document_ || PageCount() == 0) return;
    page = std::clamp(page, 1, PageCount());
    pageNavigator()->jump(page - 1, QPointF(0, 0), zoomFactor());
}

void PdfView::FirstPage() { GoToPage(1); }
void PdfView::PreviousPage() { GoToPage(CurrentPage() - 1); }
void PdfView::NextPage() { GoToPage(CurrentPage() + 1); }
void PdfView::LastPage() { GoToPage(PageCount()); }

void PdfView::ZoomIn() {
    userZoomed_ = true;
    setZoomFactor(std::min(kMaxZoom, zoomFactor() * kZoomStep));
}

void PdfView::ZoomOut() {
    userZoomed_ = true;
    setZoomFactor(std::max(kMinZoom, zoomFactor() / kZoomStep));
}

double PdfView::fittingZoom() const {
    if (!document_ || PageCount() == 0) return 1.0;
    const QMargins m = documentMargins();
    const double room = viewport()->width() - m.left() - m.right() - verticalScrollBar()->sizeHint().width();
    const double page =
        document_->pagePointSize(std::max(0, CurrentPage() - 1)).width() * logicalDpiX() / 72.0;
    if (page <= 0 || room <= 0 || room >= page) return 1.0;
    return std::max(kMinZoom, room / page);
}

void PdfView::resizeEvent(QResizeEvent* e) {
    QPdfView::resizeEvent(e);
    if (!userZoomed_) setZoomFactor(fittingZoom());
}

int PdfView::ScrollPosition() const { return verticalScrollBar()->value(); }
void PdfView::SetScrollPosition(int position) { verticalScrollBar()->setValue(position); }

bool PdfView::Print(PrintBackend& backend, const std::string& printer, int first, int last,
                    std::string& error) {
    if (!document_ || PageCount() == 0) {
        error = "There is no document to print.";
        return false;
    }
    first = std::max(first, 1);
    last = std::min(last, PageCount());
    if (first > last) {
        error = "There are no pages to print.";
        return false;
    }
    std::string title = path_.substr(path_.find_last_of('/') + 1);
    PrintStatus status = PrintStatus::Ok;
    std::unique_ptr<PrintJob> job = backend.BeginDoc(printer, title, status, error);
    if (!job) return false;
    const QRect area = job->PageRect();
    const double dpi = std::min(job->Resolution(), kMaxPrintDpi);
    for (int page = first; page <= last; ++page) {
        if (page > first && !job->NewPage()) {
            error = "A new page could not be started.";
            return false;
        }
        // The page at its own size, smaller when it does not fit the printed page.
        QSizeF points = document_->pagePointSize(page - 1);
        QSizeF size = points * (job->Resolution() / 72.0);
        if (size.width() > area.width() || size.height() > area.height())
            size.scale(area.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(area.left() + (area.width() - size.width()) / 2, area.top()), size);
        QSize pixels = (size * (dpi / job->Resolution())).toSize();
        job->Painter().drawImage(target,
                                 onWhite(document_->render(page - 1, pixels.expandedTo(QSize(1, 1)))));
    }
    return job->EndDoc(error) == PrintStatus::Ok;
}

void PdfView::keyPressEvent(QKeyEvent* e) {
    int code = virtualKey(*e);
    if (code == 0) {
        QPdfView::keyPressEvent(e);
        return;
    }
    e->accept();
    emit KeyDown(code);
}

}  // namespace platform
