// Printed pages: the document's fresh state, text broken at line ends and tabs, pages begun by
// what is drawn on them, and the status of a job that fails.
#include "platform/printerpage.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"

using namespace platform;

namespace {
std::vector<std::string> textsOf(const std::vector<DrawCommand>& page) {
    std::vector<std::string> texts;
    for (const DrawCommand& c : page)
        if (c.kind == DrawKind::Text) texts.push_back(c.text);
    return texts;
}

class PrinterPages : public ::testing::Test {
protected:
    void SetUp() override { SetPrintBackend(&recorder); }
    void TearDown() override { SetPrintBackend(nullptr); }
    std::unique_ptr<PrinterPage> open() {
        PrintStatus status = PrintStatus::Failed;
        std::string reason;
        auto page = PrinterPage::Open("Test", status, reason);
        EXPECT_EQ(status, PrintStatus::Ok) << reason;
        return page;
    }
    RecordingPrintBackend recorder;
};
}  // namespace

TEST_F(PrinterPages, EveryDocumentStartsAtThePrintersOwnScaleAndFont) {
    for (int document = 0; document < 2; ++document) {
        auto page = open();
        ASSERT_TRUE(page);
        EXPECT_EQ(page->ScaleLeft(), 0);
        EXPECT_EQ(page->ScaleTop(), 0);
        EXPECT_EQ(page->FontSize(), 9);
        EXPECT_EQ(page->DrawWidth, 1);
        EXPECT_EQ(page->ForeColor, kBlack);
        // A4 less 6.35 mm on each side, in twips (whole dots and points); the paper's whole width.
        EXPECT_NEAR(page->ScaleWidth(), (210 - 12.7) / 25.4 * 1440, 10);
        EXPECT_NEAR(page->ScaleHeight(), (297 - 12.7) / 25.4 * 1440, 10);
        EXPECT_NEAR(page->PageWidth(), 210 / 25.4 * 1440, 10);
        // What one document leaves behind never reaches the next.
        page->SetScaleLeft(-500);
        page->SetScaleTop(-700);
        EXPECT_NEAR(page->ScaleWidth(), (210 - 12.7) / 25.4 * 1440, 10);
        page->SetFontSize(7);
        page->SetFontBold(true);
        page->DrawWidth = 5;
        page->Print("x");
        std::string reason;
        EXPECT_EQ(page->EndDoc(reason), PrintStatus::Ok) << reason;
    }
    ASSERT_EQ(recorder.documents.size(), 2u);
    const DrawCommand& c = recorder.documents[1].pages.at(0).at(0);
    EXPECT_EQ(c.scaleLeft, -500);
    EXPECT_EQ(c.fontSize, 7);
    EXPECT_TRUE(recorder.documents[1].ended);
}

TEST_F(PrinterPages, TextBreaksAtEveryKindOfLineEndAndTabsGoToTheNextStop) {
    auto page = open();
    ASSERT_TRUE(page);
    const double line = page->TextHeight();
    page->CurrentX = 1000;
    page->CurrentY = 2000;
    page->Print("one\r\ntwo\rthree\nfour\r");
    EXPECT_EQ(page->CurrentX, 0);
    std::string reason;
    ASSERT_EQ(page->EndDoc(reason), PrintStatus::Ok);
    const auto& cmds = recorder.documents.at(0).pages.at(0);
    ASSERT_EQ(textsOf(cmds), (std::vector<std::string>{"one", "two", "three", "four", ""}));
    // The first line where the position was, the others at the left edge, a line apart.
    EXPECT_EQ(cmds[0].x1, 1000);
    for (size_t k = 1; k <= 4; ++k) {
        EXPECT_EQ(cmds[k].x1, 0) << k;
        EXPECT_NEAR(cmds[k].y1, 2000 + static_cast<double>(k) * line, 1e-6) << k;
    }
}

TEST_F(PrinterPages, TabStopsStandEveryEightAverageCharactersFromWhereTheLineStarts) {
    auto page = open();
    ASSERT_TRUE(page);
    struct Case {
        double left;
        std::string text;
        int stops;  // where the last piece starts
    };
    const Case cases[] = {
        {1000, "a\tb", 1}, {1000, "\tb", 1}, {1000, "\t\tb", 2}, {333, "abc\tb", 1}, {0, "\tb", 1}};
    for (const Case& c : cases) {
        page->CurrentX = c.left;
        page->Print(c.text);
    }
    std::string reason;
    ASSERT_EQ(page->EndDoc(reason), PrintStatus::Ok);
    std::vector<const DrawCommand*> lastPieces;
    const auto& cmds = recorder.documents.at(0).pages.at(0);
    for (size_t k = 0; k < cmds.size(); ++k)
        if (k + 1 == cmds.size() || cmds[k + 1].y1 != cmds[k].y1) lastPieces.push_back(&cmds[k]);
    ASSERT_EQ(lastPieces.size(), std::size(cases));
    const double stop = lastPieces[1]->x1 - 1000;
    // Eight average characters of 9 points, as a screen of 96 dpi measures them (15 twips a
    // pixel), within the printer's finer metrics.
    const double eight = 8 * QFontMetricsF(QFont("DejaVu Sans", 9)).averageCharWidth() * 15;
    EXPECT_NEAR(stop, eight, 0.05 * eight);
    for (size_t k = 0; k < std::size(cases); ++k) {
        EXPECT_EQ(lastPieces[k]->text, "b");
        EXPECT_NEAR(lastPieces[k]->x1 - cases[k].left, cases[k].stops * stop, 1e-6) << cases[k].text;
    }
}

TEST_F(PrinterPages, ANewPageIsBegunOnlyByWhatIsDrawnOnIt) {
    auto page = open();
    ASSERT_TRUE(page);
    page->NewPage();  // nothing drawn yet: no page
    page->Print("first");
    page->Line(0, 0, 100, 100);
    page->NewPage();
    page->NewPage();  // again nothing drawn
    page->Print("last");
    page->PSet(5, 5);
    page->NewPage();  // the new page before the end adds no blank sheet
    std::string reason;
    ASSERT_EQ(page->EndDoc(reason), PrintStatus::Ok);
    const auto& pages = recorder.documents.at(0).pages;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(recorder.documents[0].sheets, 2);
    ASSERT_EQ(pages[0].size(), 2u);
    ASSERT_EQ(pages[1].size(), 2u);
    // A new page writes from its top again.
    EXPECT_EQ(pages[1][0].text, "last");
    EXPECT_EQ(pages[1][0].y1, pages[0][0].y1);
    EXPECT_EQ(pages[1][0].x1, pages[0][0].x1);
}

TEST_F(PrinterPages, AFailureAtTheEndIsTold) {
    recorder.endFailure = "The printer is out of paper.";
    auto page = open();
    ASSERT_TRUE(page);
    page->Print("x");
    std::string reason;
    EXPECT_EQ(page->EndDoc(reason), PrintStatus::Failed);
    EXPECT_EQ(reason, "The printer is out of paper.");
    EXPECT_FALSE(recorder.documents.at(0).ended);

    SystemPrinterBackend none([] { return QStringList(); });
    SetPrintBackend(&none);
    PrintStatus status = PrintStatus::Ok;
    EXPECT_EQ(PrinterPage::Open("Test", status, reason), nullptr);
    EXPECT_EQ(status, PrintStatus::NoPrinter);
    EXPECT_EQ(reason, "No printer is installed on this computer.");
}
