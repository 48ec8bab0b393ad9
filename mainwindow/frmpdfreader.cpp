#include "mainwindow/frmpdfreader.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "engine/environment.h"
#include "engine/state.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/pdfview.h"
#include "platform/printer.h"

using namespace engine;
using namespace platform;

namespace {
constexpr int kScrollStep = 20;  // pixels per arrow key

struct ToolbarButtonDef {
    const char* key;
    const char* caption;
    QStyle::StandardPixmap icon;
    const char* themeIcon;
};
const ToolbarButtonDef kButtons[] = {
    {"FIRST", "First", QStyle::SP_MediaSkipBackward, "go-first"},
    {"BACK", "Back", QStyle::SP_ArrowBack, "go-previous"},
    {"NEXT", "Next", QStyle::SP_ArrowForward, "go-next"},
    {"LAST", "Last", QStyle::SP_MediaSkipForward, "go-last"},
    {"ZOOMIN", "Zoom In", QStyle::SP_ArrowUp, "zoom-in"},
    {"ZOOMOUT", "Zoom Out", QStyle::SP_ArrowDown, "zoom-out"},
};

std::string pdfFolder() { return Env().programFolder + "/PDF"; }
}  // namespace

frmPDFReader::frmPDFReader() : Form("Read Manual") {
    QWidget* c = Client();
    Toolbar1 = new QToolBar(c);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Toolbar1->setMovable(false);
    for (const ToolbarButtonDef& b : kButtons) {
        QIcon icon = QIcon::fromTheme(b.themeIcon, style()->standardIcon(b.icon));
        QAction* a = Toolbar1->addAction(icon, b.caption);
        a->setData(QString(b.key));
        std::string key = b.key;
        connect(a, &QAction::triggered, this, Handler([this, key] { Toolbar1_ButtonClick(key); }));
    }
    GdViewer1 = new PdfView(c);
    lblPage = new Label(c, "Page 1 of N");
    lblPage->setAlignment(Qt::AlignCenter);
    Place(lblPage, 0, 0, 3000, 285);
    connect(GdViewer1, &PdfView::KeyDown, this,
            [this](int code) { Run([=, this] { GdViewer1_ScrollStep(code); }); });
    connect(GdViewer1, &PdfView::PageChanged, this, [this](int) { ShowPageLabel(); });

    mnuFile = AddTopMenu(menuBar(), "File");
    mnuOpenPDF = AddMenuItem(mnuFile, "Open PDF", [this] { mnuOpenPDF_Click(); });
    mnuSelectPrinter = AddMenuItem(mnuFile, "Select Printer", [this] { mnuSelectPrinter_Click(); });
    mnuPrint = AddMenuItem(mnuFile, "Print", [this] { mnuPrint_Click(); });
    mnuExit = AddMenuItem(mnuFile, "Exit", [this] { mnuExit_Click(); });
}

void frmPDFReader::OpenManual() {
    State().PdfFileName = kManualFileName;
    frmPDFReader& viewer = Get<frmPDFReader>();
    viewer.setWindowState(viewer.windowState() & ~Qt::WindowMinimized);
    viewer.Show();
}

void frmPDFReader::Form_Load() {
    // The whole of the screen that panels leave free; the window manager fits the frame as for
    // any maximised window.
    SetLeft(ScreenLeft());
    SetTop(ScreenTop());
    SetWidth(ScreenWidth());
    SetHeight(ScreenHeight() - 2 * ToTwips(1));
    setWindowState(windowState() | Qt::WindowMaximized);
    ArrangeControls();

    const std::string& name = State().PdfFileName;
    int status = GdViewer1->Open(pdfFolder() + "/" + name);
    if (status != PdfView::kOpened)
        SetCaption("PDF NOT FOUND STATUS = " + std::to_string(status) + " " + name);
    GdViewer1->SetScrollPosition(0);
    ShowPageLabel();
    GdViewer1->setFocus();
}

// The toolbar across the top, the page under it, the page label one label height below it.
void frmPDFReader::ArrangeControls() {
    const int px = ToTwips(1);
    const int W = WidthOf(Client()), H = HeightOf(Client());
    const int toolbarHeight = ToTwips(Toolbar1->sizeHint().height());
    Place(Toolbar1, 0, 0, W, toolbarHeight);
    int viewerHeight = static_cast<int>(H - (toolbarHeight + 1.2 * 2 * px));
    Place(GdViewer1, 0, toolbarHeight, W, viewerHeight);
    const int labelHeight = HeightOf(lblPage);
    SetLeftOf(lblPage, W / 2 - WidthOf(lblPage) / 2);
    int labelTop = viewerHeight - 3 * labelHeight;
    SetHeightOf(GdViewer1, std::max(0, labelTop));
    SetTopOf(lblPage, toolbarHeight + labelTop + labelHeight);
}

void frmPDFReader::Form_Resize() { ArrangeControls(); }

void frmPDFReader::ShowPageLabel() {
    lblPage->SetCaption("Page " + std::to_string(GdViewer1->CurrentPage()) + " of " +
                        std::to_string(GdViewer1->PageCount()));
}

QAction* frmPDFReader::ToolbarButton(const std::string& key) const {
    for (QAction* a : Toolbar1->actions())
        if (a->data().toString().toStdString() == key) return a;
    return nullptr;
}

void frmPDFReader::Toolbar1_ButtonClick(const std::string& key) {
    if (key == "FIRST") GdViewer1->FirstPage();
    else if (key == "BACK") GdViewer1->PreviousPage();
    else if (key == "NEXT") GdViewer1->NextPage();
    else if (key == "LAST") GdViewer1->LastPage();
    else if (key == "ZOOMIN") GdViewer1->ZoomIn();
    else if (key == "ZOOMOUT") GdViewer1->ZoomOut();
    ShowPageLabel();
}

void frmPDFReader::GdViewer1_ScrollStep(int keyCode) {
    switch (keyCode) {
        case 33: GdViewer1->PreviousPage(); break;
        case 34: GdViewer1->NextPage(); break;
        case 38: GdViewer1->SetScrollPosition(GdViewer1->ScrollPosition() - kScrollStep); break;
        case 40: GdViewer1->SetScrollPosition(GdViewer1->ScrollPosition() + kScrollStep); break;
        default: return;
    }
    ShowPageLabel();
}

// The document shown stays until another has been opened.
void frmPDFReader::mnuOpenPDF_Click() {
    FileDialogRequest request;
    request.title = "Open PDF";
    request.initialFolder = pdfFolder();
    request.filter = "PDF|*.pdf";
    std::optional<std::string> path = FileDialog(request);
    if (!path || path->empty()) return;
    int status = GdViewer1->Open(*path);
    if (status != PdfView::kOpened) {
        MsgBox("The file could not be opened:\r\n" + *path + "\r\n" + PdfView::StatusText(status),
               kOkOnly | kExclamation);
        return;
    }
    SetCaption("Read Manual");
    ShowPageLabel();
}

void frmPDFReader::mnuSelectPrinter_Click() { SelectPrinter(); }

void frmPDFReader::mnuPrint_Click() {
    const int pages = GdViewer1->PageCount();
    SetMousePointer(MousePointer::Hourglass);
    std::string error;
    bool printed = GdViewer1->Print(Printing(), ChosenPrinter(), 1, pages, error);
    SetMousePointer(MousePointer::Default);
    if (!printed) MsgBox("The document could not be printed:\r\n" + error, kOkOnly | kExclamation);
}

void frmPDFReader::mnuExit_Click() { Unload(); }
