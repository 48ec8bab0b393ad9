// The main window's Help, Exit, sunrise and port data editor menus, and Help of the
// conditions window.
#include <QAction>
#include <filesystem>

#include "engine/moon.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmtidewyn.h"
#include "output/frmsunrise.h"
#include "pdf_support.h"
#include "platform/pdfview.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
namespace fs = std::filesystem;

// A program folder of the test's own: the shipped UK.hc, which the test may change, and a
// 12-page manual.
class MainWindowMenus : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        fs::create_directories(folder.file("PDF"));
        ASSERT_TRUE(testing_support::WriteTestPdf(folder.file("PDF/Tidewyn Vizoz Manual.pdf"), 12));
        fs::copy_file(programFolder() + "/UK.hc", area);
        Env().programFolder = folder.path();
    }
    static void next(frmPDFReader& viewer) { viewer.ToolbarButton("NEXT")->trigger(); }

    testing_support::TempDir folder;
    std::string area = folder.file("UK.hc");
};

TEST_F(MainWindowMenus, HelpOpensOneViewerAndBringsItForward) {
    frmtidewyn& main = open();
    main.mnuHelp.Click();
    ASSERT_TRUE(IsLoaded<frmPDFReader>());
    frmPDFReader& viewer = Get<frmPDFReader>();
    EXPECT_TRUE(viewer.Visible());
    EXPECT_EQ(State().PdfFileName, "Tidewyn Vizoz Manual.pdf");
    EXPECT_EQ(viewer.lblPage->Caption(), "Page 1 of 12");
    next(viewer);
    viewer.showMinimized();
    main.mnuHelp.Click();
    EXPECT_EQ(&Get<frmPDFReader>(), &viewer);
    EXPECT_FALSE(viewer.isMinimized());
    EXPECT_EQ(viewer.lblPage->Caption(), "Page 2 of 12");  // the same document, not opened again
    EXPECT_TRUE(main.Visible());
}

TEST_F(MainWindowMenus, HelpOfTheConditionsWindowOpensTheViewerAndAcceptStillWorks) {
    frmCopyright& start = Get<frmCopyright>();
    start.mnuHTMLHelp.Click();
    ASSERT_TRUE(IsLoaded<frmPDFReader>());
    frmPDFReader& viewer = Get<frmPDFReader>();
    EXPECT_TRUE(viewer.Visible());
    EXPECT_EQ(viewer.Caption(), "Read Manual");
    EXPECT_TRUE(start.Visible());
    next(viewer);
    next(viewer);

    start.ConditionsOK->click();
    ASSERT_TRUE(IsLoaded<frmtidewyn>());
    EXPECT_FALSE(IsLoaded<frmCopyright>());
    Get<frmtidewyn>().mnuHelp.Click();
    EXPECT_EQ(&Get<frmPDFReader>(), &viewer);
    EXPECT_EQ(viewer.lblPage->Caption(), "Page 3 of 12");
}

TEST_F(MainWindowMenus, ExitUnloadsTheMainWindowAndEndsTheProgram) {
    frmtidewyn& main = open();
    main.mnuHelp.Click();
    main.mnuexit.Click();
    EXPECT_TRUE(ProgramEnding());
}

// The sunrise tool opens modeless; the moon phases are left to its Calculate, which fills them
// with the month's sun table.
TEST_F(MainWindowMenus, SunriseMenuOpensTheToolAndLeavesTheMoonPhases) {
    frmtidewyn& main = open();
    FillMoonPhases(2023, 7);
    const std::string phases = State().MoonPhaseText;
    main.Nextday->click();  // 6 March 2024
    main.mnusunrise.Click();
    ASSERT_TRUE(IsLoaded<Frmsunrise>());
    EXPECT_TRUE(Get<Frmsunrise>().Visible());
    EXPECT_EQ(State().MoonPhaseText, phases);
}

// After an editor has changed the area file, the main window shows the port as it now is.
TEST_F(MainWindowMenus, PortDataEditorsReadTheCurrentPortAgain) {
    struct Case {
        const char* name;
        MenuItem frmtidewyn::*item;
    } cases[] = {{"Correct Port Constants", &frmtidewyn::mnumaintainfile},
                 {"Copy ports", &frmtidewyn::mnucopyconstants}};
    SetModalRunner([](Form& editor) { editor.Unload(); });  // closed at once
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmtidewyn& main = open();
        const SharedState& s = State();
        ASSERT_EQ(s.CurrentPort, 77);
        const double before = s.DayCurve(2, 40);

        Bytes bytes;
        ASSERT_TRUE(ReadRecord(area, PortRecord::kSize, 77, bytes).ok());
        PortRecord port = DecodePortRecord(bytes);
        port.PortName = "Dover Eastern Arm";
        port.Z0 += 1.0f;
        ASSERT_TRUE(WriteRecord(area, PortRecord::kSize, 77, EncodePortRecord(port)).ok());

        (main.*c.item).Click();
        EXPECT_EQ(main.portbox->Caption(), "Port    : Dover Eastern Arm");
        EXPECT_NEAR(s.DayCurve(2, 40), before + 1.0, 1e-4);

        // The record back as it was, for the next case.
        port.PortName = "Dover";
        port.Z0 -= 1.0f;
        ASSERT_TRUE(WriteRecord(area, PortRecord::kSize, 77, EncodePortRecord(port)).ok());
        restart();
    }
}

TEST_F(MainWindowMenus, AnAreaFileThatLostTheCurrentPortGivesItsLastPort) {
    frmtidewyn& main = open();
    fs::resize_file(area, 50 * PortRecord::kSize);
    PortRecord last;
    ASSERT_TRUE(ReadPortRecord(area, 50, last).ok());
    SetModalRunner([](Form& editor) { editor.Unload(); });
    main.mnumaintainfile.Click();
    EXPECT_EQ(State().CurrentPort, 50);
    EXPECT_EQ(main.portbox->Caption(), "Port    : " + Trim(last.PortName));
    EXPECT_TRUE(dialogs->messages.empty());
}
