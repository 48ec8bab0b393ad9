// The manual viewer: opening the manual, paging, zoom, open, printer choice and print.
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <fstream>

#include "mainwindow/frmpdfreader.h"
#include "pdf_support.h"
#include "platform/pdfview.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::BandMiddle;
using testing_support::BandPositions;
using testing_support::WriteTestPdf;
namespace fs = std::filesystem;

class ManualViewer : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        fs::create_directories(folder.file("PDF"));
        ASSERT_TRUE(WriteTestPdf(folder.file("PDF/Tidewyn Vizoz Manual.pdf"), 12));
        ASSERT_TRUE(WriteTestPdf(three, 3));
        std::ofstream(notPdf) << "plain text, not a PDF document\n";
        Env().programFolder = folder.path();
    }
    frmPDFReader& open() {
        frmPDFReader::OpenManual();
        return Get<frmPDFReader>();
    }
    static void click(frmPDFReader& w, const std::string& key) {
        QAction* a = w.ToolbarButton(key);
        ASSERT_NE(a, nullptr) << key;
        a->trigger();
    }

    testing_support::TempDir folder;
    std::string three = folder.file("three.pdf"), notPdf = folder.file("notes.pdf");
};

TEST_F(ManualViewer, OpensTheManualOnItsFirstPage) {
    frmPDFReader& w = open();
    EXPECT_EQ(State().PdfFileName, "Tidewyn Vizoz Manual.pdf");
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Caption(), "Read Manual");
    EXPECT_EQ(w.GdViewer1->PageCount(), 12);
    EXPECT_EQ(w.lblPage->Caption(), "Page 1 of 12");
    EXPECT_EQ(w.mnuFile.Caption(), "File");
    for (MenuItem* m : {&w.mnuOpenPDF, &w.mnuSelectPrinter, &w.mnuPrint, &w.mnuExit})
        EXPECT_TRUE(m->Visible());
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(ManualViewer, ToolbarAndKeysTurnPagesAndTheLabelFollows) {
    frmPDFReader& w = open();
    struct Step {
        const char* button;  // or a key
        Qt::Key key;
        int page;
    } steps[] = {
        {"NEXT", Qt::Key_unknown, 2},  {"NEXT", Qt::Key_unknown, 3},  {nullptr, Qt::Key_PageDown, 4},
        {nullptr, Qt::Key_PageUp, 3},  {"LAST", Qt::Key_unknown, 12}, {nullptr, Qt::Key_PageDown, 12},
        {"BACK", Qt::Key_unknown, 11}, {"FIRST", Qt::Key_unknown, 1}, {nullptr, Qt::Key_PageUp, 1},
        {"BACK", Qt::Key_unknown, 1},  {nullptr, Qt::Key_Home, 1},    {"ZOOMIN", Qt::Key_unknown, 1},
    };
    for (const Step& s : steps) {
        if (s.button) click(w, s.button);
        else QTest::keyClick(w.GdViewer1, s.key);
        EXPECT_EQ(w.GdViewer1->CurrentPage(), s.page) << (s.button ? s.button : "key");
        EXPECT_EQ(w.lblPage->Caption(), "Page " + std::to_string(s.page) + " of 12");
    }
}

TEST_F(ManualViewer, ZoomButtonsAndArrowKeys) {
    frmPDFReader& w = open();
    double start = w.GdViewer1->Zoom();
    click(w, "ZOOMIN");
    click(w, "ZOOMIN");
    EXPECT_GT(w.GdViewer1->Zoom(), start);
    click(w, "ZOOMOUT");
    EXPECT_LT(w.GdViewer1->Zoom(), start * 1.25 * 1.25);
    for (int i = 0; i < 4; ++i) click(w, "ZOOMIN");  // a page taller than the view
    ASSERT_EQ(w.GdViewer1->ScrollPosition(), 0);
    QTest::keyClick(w.GdViewer1, Qt::Key_Down);
    QTest::keyClick(w.GdViewer1, Qt::Key_Down);
    EXPECT_EQ(w.GdViewer1->ScrollPosition(), 40);
    QTest::keyClick(w.GdViewer1, Qt::Key_Up);
    EXPECT_EQ(w.GdViewer1->ScrollPosition(), 20);
    EXPECT_EQ(w.lblPage->Caption(), "Page 1 of 12");
}

TEST_F(ManualViewer, OpenPdfShowsTheChosenFile) {
    frmPDFReader& w = open();
    click(w, "LAST");
    dialogs->fileAnswers = {three};
    w.mnuOpenPDF.Click();
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    EXPECT_FALSE(dialogs->fileRequests[0].save);
    EXPECT_EQ(dialogs->fileRequests[0].filter, "PDF|*.pdf");
    EXPECT_EQ(w.GdViewer1->PageCount(), 3);
    EXPECT_EQ(w.lblPage->Caption(), "Page 1 of 3");
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(ManualViewer, OpenPdfOfAFileThatCannotBeShownKeepsTheDocumentAndSaysSo) {
    frmPDFReader& w = open();
    for (int i = 0; i < 4; ++i) click(w, "NEXT");
    struct Case {
        std::string path, reason;
    } cases[] = {{notPdf, "The file is not a PDF document or is damaged."},
                 {folder.file("gone.pdf"), "The file was not found."}};
    for (const Case& c : cases) {
        dialogs->messages.clear();
        dialogs->fileAnswers = {c.path};
        w.mnuOpenPDF.Click();
        ASSERT_EQ(dialogs->messages.size(), 1u) << c.path;
        EXPECT_EQ(dialogs->messages[0].prompt,
                  "The file could not be opened:\r\n" + c.path + "\r\n" + c.reason);
        EXPECT_EQ(dialogs->messages[0].style, kOkOnly | kExclamation);
        EXPECT_EQ(w.GdViewer1->PageCount(), 12);
        EXPECT_EQ(w.lblPage->Caption(), "Page 5 of 12");
    }
    dialogs->messages.clear();
    w.mnuOpenPDF.Click();  // cancelled
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(w.lblPage->Caption(), "Page 5 of 12");
}

TEST_F(ManualViewer, PrintSendsEveryPageToThePrinterChosenWithSelectPrinter) {
    PdfFileBackend pdf(folder.file("printed.pdf"));
    SetPrintBackend(&pdf);
    frmPDFReader& w = open();
    click(w, "LAST");
    w.mnuPrint.Click();  // no choice yet: the default printer
    dialogs->printerAnswers = {std::string("Chart Room Laser")};
    w.mnuSelectPrinter.Click();
    EXPECT_EQ(dialogs->printerRequests, 1);
    w.mnuPrint.Click();
    ASSERT_EQ(pdf.Requests().size(), 2u);
    EXPECT_EQ(pdf.Requests()[0].printer, "");
    EXPECT_EQ(pdf.Requests()[1].printer, "Chart Room Laser");
    EXPECT_EQ(pdf.Requests()[1].title, "Tidewyn Vizoz Manual.pdf");
    std::vector<double> bands = BandPositions(pdf.Path());
    ASSERT_EQ(bands.size(), 12u);
    for (int k = 1; k <= 12; ++k) EXPECT_NEAR(bands[k - 1], BandMiddle(k), 0.02) << "page " << k;
    EXPECT_TRUE(dialogs->messages.empty());

    // Cancelling the printer choice keeps the printer chosen before.
    w.mnuSelectPrinter.Click();
    w.mnuPrint.Click();
    ASSERT_EQ(pdf.Requests().size(), 3u);
    EXPECT_EQ(pdf.Requests()[2].printer, "Chart Room Laser");
}

TEST_F(ManualViewer, PrintWithoutAPrinterTellsTheUser) {
    SystemPrinterBackend none([] { return QStringList(); });
    SetPrintBackend(&none);
    frmPDFReader& w = open();
    w.mnuPrint.Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt,
              "The document could not be printed:\r\nNo printer is installed on this computer.");
    EXPECT_EQ(dialogs->messages[0].style, kOkOnly | kExclamation);
    EXPECT_EQ(w.CurrentPointer(), MousePointer::Default);
}

TEST_F(ManualViewer, AMissingManualGivesTheStatusInTheCaptionAndTheWindowStillOpens) {
    fs::remove(folder.file("PDF/Tidewyn Vizoz Manual.pdf"));
    frmPDFReader& w = open();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Caption(), "PDF NOT FOUND STATUS = 3 Tidewyn Vizoz Manual.pdf");
    EXPECT_EQ(w.lblPage->Caption(), "Page 0 of 0");
    click(w, "NEXT");
    EXPECT_EQ(w.lblPage->Caption(), "Page 0 of 0");
    w.mnuPrint.Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt,
              "The document could not be printed:\r\nThere is no document to print.");

    // Another file opened afterwards replaces the error caption.
    dialogs->fileAnswers = {three};
    w.mnuOpenPDF.Click();
    EXPECT_EQ(w.Caption(), "Read Manual");
    EXPECT_EQ(w.lblPage->Caption(), "Page 1 of 3");
}

TEST_F(ManualViewer, OneInstanceBroughtForwardAndOpenedAfreshAfterExit) {
    frmPDFReader& w = open();
    click(w, "NEXT");
    click(w, "NEXT");
    w.showMinimized();
    frmPDFReader& again = open();
    EXPECT_EQ(&again, &w);
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.lblPage->Caption(), "Page 3 of 12");  // not loaded again

    w.mnuExit.Click();
    EXPECT_FALSE(IsLoaded<frmPDFReader>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmPDFReader& fresh = open();
    EXPECT_EQ(fresh.lblPage->Caption(), "Page 1 of 12");
}

TEST_F(ManualViewer, TheLayoutStacksToolbarPageAndLabel) {
    frmPDFReader& w = open();
    QCoreApplication::processEvents();
    const QWidget* c = w.Client();
    EXPECT_EQ(w.Toolbar1->geometry().top(), 0);
    EXPECT_EQ(w.Toolbar1->width(), c->width());
    EXPECT_EQ(w.GdViewer1->geometry().top(), w.Toolbar1->geometry().bottom() + 1);
    EXPECT_EQ(w.GdViewer1->width(), c->width());
    EXPECT_GT(w.lblPage->geometry().top(), w.GdViewer1->geometry().bottom());
    EXPECT_LE(w.lblPage->geometry().bottom(), c->height());
    EXPECT_NEAR(w.lblPage->geometry().center().x(), c->width() / 2, 2);
}

TEST_F(ManualViewer, TheBuiltManualExistsAndOpensWithSeveralPages) {
    Env().programFolder = programFolder();
    ASSERT_TRUE(fs::exists(programFolder() + "/PDF/Tidewyn Vizoz Manual.pdf"));
    frmPDFReader& w = open();
    EXPECT_EQ(w.Caption(), "Read Manual");
    EXPECT_GE(w.GdViewer1->PageCount(), 8);
    EXPECT_EQ(w.lblPage->Caption(), "Page 1 of " + std::to_string(w.GdViewer1->PageCount()));
}
