// The PDF view and the print back ends.
#include "platform/pdfview.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <fstream>

#include "engine/test_support.h"
#include "pdf_support.h"
#include "platform/dialogs.h"
#include "platform/printer.h"

using namespace platform;
using testing_support::BandMiddle;
using testing_support::BandPositions;
using testing_support::TempDir;
using testing_support::WriteTestPdf;

class PdfViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteTestPdf(five, 5));
        ASSERT_TRUE(WriteTestPdf(three, 3));
        std::ofstream(notPdf) << "this is not a PDF document\n";
        view.resize(600, 500);
    }
    void TearDown() override { SetChosenPrinter(""); }

    TempDir dir;
    std::string five = dir.file("five.pdf"), three = dir.file("three.pdf"), notPdf = dir.file("notes.pdf");
    PdfView view;
};

TEST_F(PdfViewTest, OpensOnTheFirstPageAndPagesWithinTheDocument) {
    ASSERT_EQ(view.Open(five), PdfView::kOpened);
    EXPECT_EQ(view.PageCount(), 5);
    EXPECT_EQ(view.CurrentPage(), 1);

    struct Step {
        void (PdfView::*op)();
        int page;
    } steps[] = {
        {&PdfView::PreviousPage, 1},  // stays at the first page
        {&PdfView::NextPage, 2},     {&PdfView::NextPage, 3},
        {&PdfView::LastPage, 5},     {&PdfView::NextPage, 5},  // stays at the last page
        {&PdfView::PreviousPage, 4}, {&PdfView::FirstPage, 1},
    };
    QSignalSpy changes(&view, &PdfView::PageChanged);
    for (const Step& s : steps) {
        (view.*s.op)();
        EXPECT_EQ(view.CurrentPage(), s.page);
    }
    ASSERT_FALSE(changes.isEmpty());
    EXPECT_EQ(changes.last().at(0).toInt(), 1);
}

TEST_F(PdfViewTest, AFileThatCannotBeOpenedLeavesTheDocumentShown) {
    ASSERT_EQ(view.Open(five), PdfView::kOpened);
    view.GoToPage(4);
    struct Case {
        std::string path;
        int status;
    } cases[] = {{dir.file("missing.pdf"), PdfView::kFileNotFound}, {notPdf, PdfView::kInvalidFile}};
    for (const Case& c : cases) {
        EXPECT_EQ(view.Open(c.path), c.status) << c.path;
        EXPECT_EQ(view.LastStatus(), c.status);
        EXPECT_EQ(view.FilePath(), five);
        EXPECT_EQ(view.PageCount(), 5);
        EXPECT_EQ(view.CurrentPage(), 4);
    }
    ASSERT_EQ(view.Open(three), PdfView::kOpened);
    EXPECT_EQ(view.PageCount(), 3);
    EXPECT_EQ(view.CurrentPage(), 1);
}

TEST_F(PdfViewTest, WithoutADocumentThereIsNoPage) {
    EXPECT_EQ(view.Open(dir.file("missing.pdf")), PdfView::kFileNotFound);
    EXPECT_FALSE(view.HasDocument());
    EXPECT_EQ(view.PageCount(), 0);
    EXPECT_EQ(view.CurrentPage(), 0);
    view.NextPage();
    view.LastPage();
    EXPECT_EQ(view.CurrentPage(), 0);
    std::string error;
    PdfFileBackend pdf(dir.file("out.pdf"));
    EXPECT_FALSE(view.Print(pdf, "", 1, 1, error));
    EXPECT_EQ(error, "There is no document to print.");
    EXPECT_TRUE(pdf.Requests().empty());
}

TEST_F(PdfViewTest, ZoomStepsAndStaysWithinBounds) {
    ASSERT_EQ(view.Open(five), PdfView::kOpened);
    double start = view.Zoom();
    view.ZoomIn();
    EXPECT_NEAR(view.Zoom(), start * 1.25, 1e-9);
    view.ZoomOut();
    view.ZoomOut();
    EXPECT_NEAR(view.Zoom(), start / 1.25, 1e-9);
    for (int i = 0; i < 40; ++i) view.ZoomOut();
    EXPECT_NEAR(view.Zoom(), 0.25, 1e-9);
    for (int i = 0; i < 40; ++i) view.ZoomIn();
    EXPECT_NEAR(view.Zoom(), 6.0, 1e-9);
}

TEST_F(PdfViewTest, ScrollPositionMovesWithinTheZoomedPage) {
    ASSERT_EQ(view.Open(five), PdfView::kOpened);
    for (int i = 0; i < 4; ++i) view.ZoomIn();
    EXPECT_EQ(view.ScrollPosition(), 0);
    view.SetScrollPosition(60);
    EXPECT_EQ(view.ScrollPosition(), 60);
    view.SetScrollPosition(-5);
    EXPECT_EQ(view.ScrollPosition(), 0);
}

TEST_F(PdfViewTest, KeysReachTheOwnerAsVirtualKeyCodes) {
    ASSERT_EQ(view.Open(five), PdfView::kOpened);
    QSignalSpy keys(&view, &PdfView::KeyDown);
    struct Case {
        Qt::Key key;
        int code;
    } cases[] = {{Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_Up, 38},
                 {Qt::Key_Down, 40},   {Qt::Key_Home, 36},     {Qt::Key_A, 65}};
    for (const Case& c : cases) {
        QTest::keyClick(&view, c.key);
        ASSERT_FALSE(keys.isEmpty());
        EXPECT_EQ(keys.takeLast().at(0).toInt(), c.code);
    }
    // The view leaves paging to its owner.
    EXPECT_EQ(view.CurrentPage(), 1);
}

TEST_F(PdfViewTest, PrintsTheChosenPagesInOrderToThePrinterAsked) {
    ASSERT_EQ(view.Open(five), PdfView::kOpened);
    PdfFileBackend pdf(dir.file("printed.pdf"));
    std::string error;
    ASSERT_TRUE(view.Print(pdf, "Office Laser", 1, 5, error)) << error;
    ASSERT_EQ(pdf.Requests().size(), 1u);
    EXPECT_EQ(pdf.Requests()[0].printer, "Office Laser");
    EXPECT_EQ(pdf.Requests()[0].title, "five.pdf");
    std::vector<double> bands = BandPositions(pdf.Path());
    ASSERT_EQ(bands.size(), 5u);
    for (int k = 1; k <= 5; ++k) EXPECT_NEAR(bands[k - 1], BandMiddle(k), 0.02) << "page " << k;

    PdfFileBackend part(dir.file("part.pdf"));
    ASSERT_TRUE(view.Print(part, "", 2, 3, error)) << error;
    bands = BandPositions(part.Path());
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_NEAR(bands[0], BandMiddle(2), 0.02);
    EXPECT_NEAR(bands[1], BandMiddle(3), 0.02);
}

TEST(Printing, SystemPrinterWithoutPrintersSaysSo) {
    std::string error;
    PrintStatus status = PrintStatus::Ok;
    SystemPrinterBackend none([] { return QStringList(); });
    EXPECT_EQ(none.BeginDoc("", "Manual", status, error), nullptr);
    EXPECT_EQ(status, PrintStatus::NoPrinter);
    EXPECT_EQ(error, "No printer is installed on this computer.");

    SystemPrinterBackend other([] { return QStringList{"Office Laser"}; });
    EXPECT_EQ(other.BeginDoc("Gone Printer", "Manual", status, error), nullptr);
    EXPECT_EQ(status, PrintStatus::Failed);
    EXPECT_EQ(error, "The printer \"Gone Printer\" is not available.");
}

TEST(Printing, SelectPrinterKeepsTheChoiceAndCancelKeepsTheOldOne) {
    ScriptedDialogs dialogs;
    dialogs.printerAnswers = {std::string("Office Laser"), std::nullopt};
    EXPECT_TRUE(SelectPrinter());
    EXPECT_EQ(ChosenPrinter(), "Office Laser");
    EXPECT_FALSE(SelectPrinter());
    EXPECT_EQ(ChosenPrinter(), "Office Laser");
    EXPECT_EQ(dialogs.printerRequests, 2);
    SetChosenPrinter("");
}

TEST(Printing, ThePrinterBackEndCanBeReplaced) {
    TempDir dir;
    PdfFileBackend pdf(dir.file("x.pdf"));
    SetPrintBackend(&pdf);
    EXPECT_EQ(&Printing(), &pdf);
    SetPrintBackend(nullptr);
    EXPECT_NE(dynamic_cast<SystemPrinterBackend*>(&Printing()), nullptr);
}
