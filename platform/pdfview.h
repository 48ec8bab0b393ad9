#pragma once
// A PDF document on screen, one page at a time: open a file with a status, page through it,
// zoom, scroll, and print its pages through a print back end. A file that cannot be opened
// leaves the document shown before in place.

#include <QPdfView>
#include <memory>
#include <string>

class QPdfDocument;

namespace platform {

class PrintBackend;

class PdfView : public QPdfView {
    Q_OBJECT
public:
    // Status of an open: 0 opened; otherwise why not (QPdfDocument's error numbers).
    enum Status : int {
        kOpened = 0,
        kUnknownError = 1,
        kNotYetAvailable = 2,
        kFileNotFound = 3,
        kInvalidFile = 4,
        kPasswordRequired = 5,
        kUnsupportedSecurity = 6,
    };
    static std::string StatusText(int status);

    explicit PdfView(QWidget* parent = nullptr);
    ~PdfView() override;

    // Shows the file from its first page; on failure the document shown stays.
    int Open(const std::string& path);
    int LastStatus() const { return status_; }
    bool HasDocument() const { return document_ != nullptr; }
    const std::string& FilePath() const { return path_; }

    int PageCount() const;
    int CurrentPage() const;  // from 1; 0 without a document
    void GoToPage(int page);  // clamped to the document
    void FirstPage();
    void PreviousPage();
    void NextPage();
    void LastPage();

    // A document opens at its own size, or fitted to the width when the view is narrower;
    // until the user zooms, the view keeps that fit when it is resized.
    void ZoomIn();
    void ZoomOut();
    double Zoom() const { return zoomFactor(); }

    // Vertical scroll position in pixels from the top of the page.
    int ScrollPosition() const;
    void SetScrollPosition(int position);

    // Prints pages first to last (from 1), each fitted to the printed page. False, with the
    // reason, when there is nothing to print or the back end cannot print.
    bool Print(PrintBackend& backend, const std::string& printer, int first, int last, std::string& error);

signals:
    // A key pressed in the view, as a virtual-key code (33 Page Up, 34 Page Down, 35 End,
    // 36 Home, 37 to 40 the arrows left, up, right, down; letters and digits their code).
    void KeyDown(int keyCode);
    void PageChanged(int page);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    double fittingZoom() const;
    std::unique_ptr<QPdfDocument> document_;
    std::string path_;
    int status_ = kOpened;
    bool userZoomed_ = false;
};

}  // namespace platform
