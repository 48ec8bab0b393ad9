// Every caption, option, read-out and list line of the dialogs shows its whole text, and each
// title its own: measured with each control's own font against the room its style leaves for
// text, with the longest port names, every month and weekday name, in English and German (run
// again at 1.5 times the scale by CTest).
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "adjustment/frmadjustfileselect.h"
#include "adjustment/frmadjustsave.h"
#include "adjustment/frmharmadjust.h"
#include "adjustment/frmheightenter.h"
#include "adjustment/frmselectheightfile.h"
#include "adjustment/frmselectport.h"
#include "engine/recordfile.h"
#include "maintenance/frmharmedit.h"
#include "maintenance/frmhccopy.h"
#include "maintenance/frmimport.h"
#include "maintenance/frmtidaldiamondscopy.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"
#include "output/frmriseresults.h"
#include "output/frmsunrise.h"
#include "platform/dialogs.h"
#include "portpicker_support.h"
#include "text_fit.h"
#include "window_support.h"

using namespace engine;
using namespace platform;

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += "\n  " + l;
    return out;
}

// The longest name a port record holds (35 characters) among the longest shipped ones, far
// enough down an area for the lists to scroll and to number their lines with two digits.
const char* const kLongNames[] = {"Aranmore Island Leabgarrow", "Kinlochbervie Harbour Outer Anchors",
                                  "Saint Jean-de-Luz Socoa", "Liverpool Gladstone Dock"};
constexpr int kPortsBefore = 40;
constexpr int kLongestPort = kPortsBefore + 2;  // record number of the 35-character name
}  // namespace

class DialogText : public testing_support::WindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseLocale(GetParam());
        // An area of long port names, the longest of them current.
        PortRecord dover;
        ASSERT_TRUE(ReadPortRecord(programFolder() + "/UK.hc", 77, dover).ok());
        std::vector<std::string> names;
        for (int k = 1; k <= kPortsBefore; ++k) names.push_back("Port " + std::to_string(k));
        names.insert(names.end(), std::begin(kLongNames), std::end(kLongNames));
        std::string contents;
        for (const std::string& name : names) {
            dover.PortName = name;
            Bytes b = EncodePortRecord(dover);
            contents.append(b.begin(), b.end());
        }
        const std::string area = home.file("Long.hc");
        std::ofstream(area, std::ios::binary) << contents;
        storeSettings([&](SettingsRecord& r) {
            r.AreaPath = area;
            r.PortIndex = kLongestPort;
            r.Draught = 12.25f;
            r.KeelClearance = 10.125f;
        });
    }
    // Opens dialog T from `menu`, lets `look` check it, and closes it by its close box.
    template <typename T>
    void look(MenuItem& menu, const std::function<void(T&)>& check) {
        withModal<T>(menu, [&](T& d) {
            check(d);
            d.close();
        });
    }
    void expectFits(QWidget& window, const std::string& when = "") {
        const std::string title = window.windowTitle().toStdString();
        EXPECT_EQ(joined(testing_support::TextsCutOff(window)), "") << title << when;
        EXPECT_GE(window.width(), TitleBarWidth(title)) << title;
    }
};

TEST_P(DialogText, ConditionsWindowAndManualViewer) {
    frmCopyright& start = Get<frmCopyright>();
    expectFits(start);
    // The conditions are read without scrolling, and the buttons stand below them.
    EXPECT_LE(start.List1->count() * start.List1->sizeHintForRow(0), start.List1->viewport()->height());
    EXPECT_GT(TopOf(start.ConditionsOK), TopOf(start.List1) + HeightOf(start.List1));
    frmtidewyn& main = open();
    main.mnuHelp.Click();
    expectFits(Get<frmPDFReader>());
}

TEST_P(DialogText, DateDialogWithEveryMonthAndWeekday) {
    frmtidewyn& main = open();
    look<Frmtimdat>(main.mnutidedate, [&](Frmtimdat& d) {
        for (int m = 0; m < 12; ++m) {
            d.monthlist->SetListIndex(m);
            expectFits(d, " in month " + std::to_string(m + 1));
        }
        for (int day = 0; day < 7; ++day) {
            d.daylist->SetListIndex(day);
            d.DTPicker->Pick(DateSerial(2024, 9, 23 + day));
            expectFits(d, " on day " + std::to_string(day + 1));
        }
    });
}

TEST_P(DialogText, PortDepthSettingsAndConfigurationDialogs) {
    frmtidewyn& main = open();
    look<frmconfig>(main.mnuPortList, [&](frmconfig& d) {
        d.txtSearch->TypeText("Kinlochbervie");
        expectFits(d);
    });
    look<frmChartdepth>(main.mnuchartdepth, [&](frmChartdepth& d) { expectFits(d); });
    look<frmoutoptions>(main.mnuoutputoptions, [&](frmoutoptions& d) { expectFits(d); });
    look<frmshowconf>(main.Mnushowconfig, [&](frmshowconf& d) { expectFits(d); });
}

// The port picker with the longest name clicked.
TEST_P(DialogText, PortPicker) {
    open();
    frmselectport& d = testing_support::OpenPortPicker();
    testing_support::ClickLine(d.portlist, kLongestPort - 1);
    ASSERT_EQ(Trim(d.selportname->Caption()), kLongNames[1]);
    EXPECT_EQ(d.selportname->Caption().size(), 35u);
    expectFits(d);
}

// The editor with the longest name loaded, and its port list numbered after a delete.
TEST_P(DialogText, HarmonicConstantsEditor) {
    Env().programFolder = home.path();  // where Long.hc is
    frmtidewyn& main = open();
    look<frmharmedit>(main.mnumaintainfile, [&](frmharmedit& d) {
        ASSERT_GE(d.fileList->ListCount(), 1);
        d.fileList->SetListIndex(0);
        d.portlist->SetListIndex(kLongestPort - 1);
        ASSERT_EQ(Trim(d.txtportname->Text()), kLongNames[1]);
        expectFits(d);
        d.portlist->SetListIndex(0);
        d.cmdDelete->click();
        expectFits(d, " with numbered ports");
    });
}

// The copy utility with the longest name queued, and listed as the destination's.
TEST_P(DialogText, PortsCopyUtility) {
    Env().programFolder = home.path();  // where Long.hc is
    frmtidewyn& main = open();
    look<frmHCcopy>(main.mnucopyconstants, [&](frmHCcopy& d) {
        ASSERT_GE(d.fillist->ListCount(), 1);
        d.fillist->SetListIndex(0);
        d.List1->SetListIndex(kLongestPort - 1);
        ASSERT_EQ(d.List2->List(0), kLongNames[1]);
        expectFits(d);
        d.fileDestName->SetListIndex(0);
        expectFits(d, " with the destination's ports");
    });
}

// The diamonds editor with the sample's diamond shown in both panes and the file's path above
// each.
TEST_P(DialogText, TidalDiamondsEditor) {
    Env().programFolder = home.path();
    std::filesystem::copy_file(programFolder() + "/Sample.l20", home.file("Sample.l20"));
    open().mnuCopyDiamonds_Click();
    auto& d = Get<frmTidalDiamondsCopy>();
    d.fileSource->SetListIndex(0);
    d.fileDest->SetListIndex(0);
    d.List1->SetListIndex(1);
    d.cmdCopy->click();
    ASSERT_EQ(d.txtspratehw->Text(), "3.0");
    expectFits(d);
}

// The chart import on its starting folder, with an index file listed.
TEST_P(DialogText, ChartImport) {
    Env().programFolder = home.path();
    std::ofstream(home.file("Channel Approaches West.cha")) << "index";
    auto& d = Get<frmimport>();
    d.Show();
    ASSERT_EQ(d.filFilenames->ListCount(), 1);
    expectFits(d);
}

// September's abbreviation is the longest in German ("Sept."); the place is the longest name.
TEST_P(DialogText, SunriseToolAndItsResultsOnEveryDay) {
    now = DateSerial(2024, 9, 14) + TimeSerial(12, 0, 0);
    frmtidewyn& main = open();
    main.mnusunrise.Click();
    Frmsunrise& tool = Get<Frmsunrise>();
    expectFits(tool);
    bool shown = false;
    SetModalRunner([&](Form& f) {
        shown = true;
        auto& results = dynamic_cast<Frmriseresults&>(f);
        for (int d = 1; d <= 30; ++d) {
            results.VScroll1->setValue(d);
            expectFits(results, " on day " + std::to_string(d));
        }
        results.cancel->click();
    });
    tool.ok->click();
    SetModalRunner({});
    EXPECT_TRUE(shown);
}

// The adjustment window on the longest name and the one after it, on the day whose date line
// is the longest in German (Donnerstag, 26. September).
TEST_P(DialogText, AdjustmentWindow) {
    now = DateSerial(2024, 9, 26) + TimeSerial(12, 0, 0);
    frmtidewyn& main = open();
    main.Label1_DblClick();
    main.mnuAdjustLoad.Click();
    auto& a = Get<frmHarmAdjust>();
    ASSERT_EQ(a.portbox->Caption(), kLongNames[1]);
    ASSERT_EQ(a.Portbox3->Caption(), kLongNames[2]);
    expectFits(a);
}

// The adjustment window's height dialogs with the longest time and height composed and a file
// chosen.
TEST_P(DialogText, ObservedHeightDialogs) {
    frmtidewyn& main = open();
    main.Label1_DblClick();
    main.mnuAdjustLoad.Click();
    auto& a = Get<frmHarmAdjust>();
    a.mnuObsEnterData.Click();
    auto& entry = Get<frmHeightEnter>();
    for (ListBox* list : {entry.lstHours, entry.lstMins, entry.lstMetres, entry.lstCms, entry.lstMMs})
        list->SetListIndex(list->ListCount() - 1);
    ASSERT_EQ(entry.lblTime->Caption(), "23:55");
    ASSERT_EQ(entry.lblHeight->Caption(), "20.99");
    entry.cmdAdd->click();
    testing_support::PickFile(entry.File1, "Montoir.ht");
    expectFits(entry);
    a.mnuDataHeightSelect.Click();
    auto& select = Get<frmSelectHeightFile>();
    testing_support::PickFile(select.File1, "Montoir.ht");
    expectFits(select);
    EXPECT_TRUE(dialogs->messages.empty());
}

// The load and save dialogs with the area of long names listed and its longest name chosen.
TEST_P(DialogText, SitesDialogs) {
    frmtidewyn& main = open();
    main.Label1_DblClick();
    main.mnuAdjustLoad.Click();
    auto& a = Get<frmHarmAdjust>();
    Env().programFolder = home.path();  // where Long.hc is
    a.mnuDataLoad.Click();
    auto& load = Get<FrmAdjustfileselect>();
    testing_support::PickFile(load.File1, "Long.hc");
    testing_support::ClickLine(load.List1, kLongestPort - 1);
    ASSERT_EQ(load.lblselectedport->Caption(), kLongNames[1]);
    expectFits(load);
    a.MnuFileSave.Click();
    auto& save = Get<frmAdjustSave>();
    testing_support::PickFile(save.File1, "Long.hc");
    testing_support::ClickLine(save.List1, kLongestPort - 1);
    ASSERT_EQ(save.Text1->Text(), kLongNames[1]);
    expectFits(save);
    EXPECT_TRUE(dialogs->messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Locales, DialogText, ::testing::Values("en_GB", "de_DE"),
                         [](const auto& p) { return std::string(p.param); });
