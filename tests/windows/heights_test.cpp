// Observed heights: composed in the entry dialog and written to a height file, chosen in the
// selection dialog and drawn as a green line over the intermediate location's curve; and the
// shipped sample drawn between Saint Nazaire and Donges.
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "adjustment/frmheightenter.h"
#include "adjustment/frmselectheightfile.h"
#include "adjustment_support.h"
#include "engine/heightfile.h"
#include "engine/port_fixture.h"

using namespace engine;
using namespace platform;
using testing_support::ClickLine;
using testing_support::HeightFileBytes;
using testing_support::ListLines;
using testing_support::PickFile;
using testing_support::ReadAll;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

// n observations, the first three out of time order.
std::vector<ObsHeightRecord> observations(int n) {
    std::vector<ObsHeightRecord> out;
    for (int k = 0; k < n; ++k) {
        const int slot = k < 3 ? 2 - k : k;
        out.push_back({static_cast<float>(slot * 1.5 + 0.25), static_cast<float>(1 + 0.25 * k)});
    }
    return out;
}

// The green segments drawn between the site's layers (which end with the Z0 points) and the
// grid, in the order drawn. The f4 layer is green too.
std::vector<DrawCommand> observedLine(const PictureBox& pic) {
    const auto& list = pic.PersistentCommands();
    auto lastLayer = std::find_if(list.rbegin(), list.rend(), [](const DrawCommand& c) {
        return c.kind == DrawKind::Point && c.color == kRed;
    });
    std::vector<DrawCommand> out;
    for (auto it = lastLayer.base(); it != list.end() && it->kind == DrawKind::Line && it->color == kGreen;
         ++it)
        out.push_back(*it);
    return out;
}

void expectLineThrough(const PictureBox& pic, const std::vector<ObsHeightRecord>& heights) {
    const std::vector<DrawCommand> line = observedLine(pic);
    ASSERT_EQ(line.size(), heights.size() - 1);
    for (size_t k = 0; k + 1 < heights.size(); ++k) {
        EXPECT_EQ(line[k].x1, heights[k].ObsTime) << k;
        EXPECT_EQ(line[k].y1, heights[k].ObsHeight) << k;
        EXPECT_EQ(line[k].x2, heights[k + 1].ObsTime) << k;
        EXPECT_EQ(line[k].y2, heights[k + 1].ObsHeight) << k;
    }
}

}  // namespace

class ObservedHeights : public testing_support::AdjustmentWindowTest {
protected:
    void SetUp() override {
        AdjustmentWindowTest::SetUp();
        useAreaCopies(folder);
        fs::copy_file(programFolder() + "/Montoir.ht", folder.file("Montoir.ht"));
    }
    std::vector<std::string> prompts() const {
        std::vector<std::string> out;
        for (const AskedMessage& m : dialogs->messages) out.push_back(m.prompt);
        return out;
    }
    frmHeightEnter& openEntry(frmHarmAdjust& a) {
        a.mnuObsEnterData.Click();
        return Get<frmHeightEnter>();
    }
    // Chooses a file in the selection dialog and presses "OK".
    void select(frmHarmAdjust& a, const std::string& name) {
        a.mnuDataHeightSelect.Click();
        auto& d = Get<frmSelectHeightFile>();
        PickFile(d.File1, name);
        d.cmdOK->click();
    }
    testing_support::TempDir folder;
};

// Picks compose the time and the height; "Add" lists them, "Finished" writes them to the named
// file and chooses it for drawing, "Open" lists a file's entries after those there; the menu
// shows the one dialog again as it was; "Cancel" forgets the file and the dialog.
TEST_F(ObservedHeights, EntriesComposedListedAndWritten) {
    frmHarmAdjust& a = openAdjustment(open());
    frmHeightEnter& d = openEntry(a);
    ASSERT_TRUE(d.Visible());
    EXPECT_EQ(d.Caption(), "Enter Observed Heights");
    EXPECT_EQ(ListLines(*d.lstHours).front(), "00");
    EXPECT_EQ(ListLines(*d.lstHours).back(), "23");
    EXPECT_EQ(ListLines(*d.lstMins).back(), "55");
    EXPECT_EQ(d.lstMins->ListCount(), 12);
    EXPECT_EQ(ListLines(*d.lstMetres).back(), "20");
    EXPECT_EQ(d.lstMMs->ListCount(), 10);

    d.cmdAdd->click();
    ClickLine(d.lstCms, 5);
    EXPECT_EQ(d.lblHeight->Caption(), "0.5");
    d.cmdAdd->click();
    ClickLine(d.lstMetres, 2);
    EXPECT_EQ(d.lblHeight->Caption(), "2.5");
    ClickLine(d.lstHours, 0);
    EXPECT_EQ(d.lblTime->Caption(), "00:00");
    d.cmdAdd->click();
    ClickLine(d.lstHours, 7);
    ClickLine(d.lstMins, 7);
    ClickLine(d.lstCms, 3);
    ClickLine(d.lstMMs, 7);
    EXPECT_EQ(d.lblTime->Caption(), "07:35");
    EXPECT_EQ(d.lblHeight->Caption(), "2.37");
    d.cmdAdd->click();
    EXPECT_EQ(ListLines(*d.List1), (std::vector<std::string>{"00:00, 2.5", "07:35, 2.37"}));
    EXPECT_EQ(prompts(), (std::vector<std::string>{"No time selected", "No time selected"}));
    EXPECT_EQ(dialogs->messages[0].style, kOkOnly);

    d.txtFileName->TypeText(" Harbour.old ");
    d.Command2->click();
    const std::string harbour = folder.file("Harbour.ht");
    EXPECT_EQ(State().HeightFilePath, harbour);
    EXPECT_EQ(ReadAll(harbour), HeightFileBytes({{0, 2.5f}, {static_cast<float>(7 + 35 / 60.0), 2.37f}}));
    EXPECT_EQ(d.List1->ListIndex(), 1);
    d.cmdOpen->click();
    EXPECT_EQ(ListLines(*d.List1),
              (std::vector<std::string>{"00:00, 2.5", "07:35, 2.37", "00:00, 2.5", "07:35, 2.37"}));

    a.mnuObsEnterData.Click();
    EXPECT_EQ(&Get<frmHeightEnter>(), &d);
    EXPECT_EQ(d.List1->ListCount(), 4);
    EXPECT_EQ(d.lblTime->Caption(), "07:35");

    d.cmdCancel->click();
    EXPECT_EQ(State().HeightFilePath, "");
    EXPECT_FALSE(IsLoaded<frmHeightEnter>());
    frmHeightEnter& again = openEntry(a);
    EXPECT_EQ(again.List1->ListCount(), 0);
    EXPECT_EQ(again.lblTime->Caption(), "");
    EXPECT_EQ(ListLines(*again.File1), (std::vector<std::string>{"Harbour.ht", "Montoir.ht"}));
    ClickLine(again.lstHours, 3);
    again.cmdAdd->click();
    EXPECT_EQ(prompts().back(), "No height entered");
    EXPECT_EQ(ReadAll(harbour).size(), 2 * ObsHeightRecord::kSize);
}

// A listed name in another case is that file; the file becomes the list, whatever it held; a
// name with no base or with a folder in it is refused; a new name is made empty; a write that
// fails leaves the file and the chosen file as they were, and says why.
TEST_F(ObservedHeights, FilesNamedOpenedAndWritten) {
    const std::string listed = folder.file("HARBOUR.HT");
    WriteBytes(listed, HeightFileBytes(observations(5)));
    frmHarmAdjust& a = openAdjustment(open());
    frmHeightEnter& d = openEntry(a);
    PickFile(d.File1, "HARBOUR.HT");
    EXPECT_EQ(d.txtFileName->Text(), "HARBOUR");
    d.txtFileName->SetText("harbour");
    d.cmdOpen->click();
    ASSERT_EQ(d.List1->ListCount(), 5);
    for (int i = 4; i >= 2; --i) d.List1->RemoveItem(i);
    d.Command2->click();
    EXPECT_EQ(State().HeightFilePath, listed);
    EXPECT_EQ(ReadAll(listed), HeightFileBytes({observations(5)[0], observations(5)[1]}));

    for (const char* typed : {"  .ht", "", "notes/harbour", "notes\\harbour"}) {
        d.txtFileName->SetText(typed);
        d.Command2->click();
        d.cmdOpen->click();
    }
    EXPECT_EQ(
        prompts(),
        (std::vector<std::string>{
            "No filename chosen", "No filename chosen", "No filename chosen", "No filename chosen",
            "A name cannot contain a slash or a backslash", "A name cannot contain a slash or a backslash",
            "A name cannot contain a slash or a backslash", "A name cannot contain a slash or a backslash"}));
    dialogs->messages.clear();

    d.txtFileName->SetText("Fresh");
    d.cmdOpen->click();
    EXPECT_EQ(d.List1->ListCount(), 2);
    EXPECT_TRUE(fs::exists(folder.file("Fresh.ht")));
    EXPECT_EQ(fs::file_size(folder.file("Fresh.ht")), 0u);
    std::vector<std::string> heightFiles;
    for (const auto& e : fs::directory_iterator(folder.path()))
        if (e.path().extension() == ".ht" || e.path().extension() == ".HT")
            heightFiles.push_back(e.path().filename().string());
    std::sort(heightFiles.begin(), heightFiles.end());
    EXPECT_EQ(heightFiles, (std::vector<std::string>{"Fresh.ht", "HARBOUR.HT", "Montoir.ht"}));

    const std::string kept = ReadAll(listed);
    State().HeightFilePath = folder.file("Montoir.ht");
    d.txtFileName->SetText("HARBOUR");
    SetFileStepFault([](FileStep step, const std::string&) { return step == FileStep::Write ? ENOSPC : 0; });
    d.List1->AddItem("12:30, 1.75");
    d.Command2->click();
    SetFileStepFault({});
    EXPECT_EQ(ReadAll(listed), kept);
    EXPECT_EQ(State().HeightFilePath, folder.file("Montoir.ht"));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_NE(dialogs->messages[0].prompt.find(listed), std::string::npos) << dialogs->messages[0].prompt;
    EXPECT_NE(dialogs->messages[0].prompt.find(std::strerror(ENOSPC)), std::string::npos);
}

// A write whose folder alone cannot be synced has put the file in place: "Finished" chooses it
// and "Open" has made it, as after a clean write; the warning is told once, not a failure.
TEST_F(ObservedHeights, WritesWhoseFolderSyncFailsAreTakenAsWritten) {
    frmHarmAdjust& a = openAdjustment(open());
    frmHeightEnter& d = openEntry(a);
    const struct {
        const char* name;
        CommandButton* button;
        std::string bytes;
        std::string chosen;  // State().HeightFilePath after the click
    } cases[] = {
        {"Fresh", d.cmdOpen, "", folder.file("Montoir.ht")},
        {"Harbour", d.Command2, HeightFileBytes({{12.5f, 1.75f}}), folder.file("Harbour.ht")},
    };
    d.List1->AddItem("12:30, 1.75");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file(std::string(c.name) + ".ht");
        State().HeightFilePath = folder.file("Montoir.ht");
        dialogs->messages.clear();
        d.txtFileName->SetText(c.name);
        SetFileStepFault(
            [](FileStep step, const std::string&) { return step == FileStep::FolderSync ? EIO : 0; });
        c.button->click();
        SetFileStepFault({});
        EXPECT_EQ(ReadAll(path), c.bytes);
        EXPECT_EQ(State().HeightFilePath, c.chosen);
        EXPECT_EQ(prompts(),
                  std::vector<std::string>{
                      path + " was written, but its folder could not be synced: " + std::strerror(EIO)});
        EXPECT_EQ(dialogs->messages[0].style, kExclamation);
    }
}

// "Finished" asks before a shorter list replaces a file whose records the list does not hold:
// a file clicked (which only names it), or another file named after "Open". "No" writes
// nothing and keeps the chosen file; "Yes", a file opened first or a list as long writes it.
TEST_F(ObservedHeights, ReplacingRecordsNotInTheListAsksFirst) {
    const std::string montoir = folder.file("Montoir.ht"), other = folder.file("Other.ht");
    const std::string sample = ReadAll(montoir);
    ASSERT_EQ(sample.size(), 144 * ObsHeightRecord::kSize);
    const std::string question = "Montoir.ht holds 144 observations; replace them with these ";
    const auto addOne = [](frmHeightEnter& d) {
        ClickLine(d.lstHours, 12);
        ClickLine(d.lstMetres, 1);
        d.cmdAdd->click();
    };
    const struct {
        const char* name;
        std::function<void(frmHeightEnter&)> fill;
        std::string asked;  // "" when nothing is asked
        int answer;
        std::string written;  // the file after "Finished"; "" when it is kept
    } cases[] = {
        {"clicked, No",
         [&](frmHeightEnter& d) {
             PickFile(d.File1, "Montoir.ht");
             addOne(d);
         },
         question + "1?", kNo, ""},
        {"clicked, Yes",
         [&](frmHeightEnter& d) {
             PickFile(d.File1, "Montoir.ht");
             addOne(d);
         },
         question + "1?", kYes, HeightFileBytes({{12, 1}})},
        {"another file opened",
         [&](frmHeightEnter& d) {
             WriteBytes(folder.file("Five.ht"), HeightFileBytes(observations(5)));
             d.txtFileName->SetText("Five");
             d.cmdOpen->click();
             PickFile(d.File1, "Montoir.ht");
         },
         question + "5?", kNo, ""},
        {"opened first",
         [&](frmHeightEnter& d) {
             d.txtFileName->SetText("Montoir");
             d.cmdOpen->click();
             while (d.List1->ListCount() > 3) d.List1->RemoveItem(3);
         },
         "", kNo, sample.substr(0, 3 * ObsHeightRecord::kSize)},
        {"list as long",
         [&](frmHeightEnter& d) {
             PickFile(d.File1, "Montoir.ht");
             for (int i = 0; i < 144; ++i) addOne(d);
         },
         "", kNo, HeightFileBytes(std::vector<ObsHeightRecord>(144, {12, 1}))},
    };
    frmHarmAdjust& a = openAdjustment(open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(montoir, sample);
        frmHeightEnter& d = openEntry(a);
        c.fill(d);
        State().HeightFilePath = other;
        dialogs->messages.clear();
        dialogs->messageAnswers = {c.answer};
        d.Command2->click();
        if (c.asked.empty()) {
            EXPECT_TRUE(prompts().empty()) << prompts().front();
        } else {
            EXPECT_EQ(prompts(), std::vector<std::string>{c.asked});
            EXPECT_EQ(dialogs->messages[0].style, kYesNo | kQuestion);
        }
        EXPECT_TRUE(ReadAll(montoir) == (c.written.empty() ? sample : c.written));
        EXPECT_EQ(State().HeightFilePath, c.written.empty() ? other : montoir);
        d.cmdCancel->click();
    }
}

// Under a German desktop the height is shown and stored with its point.
TEST_F(ObservedHeights, GermanLocaleKeepsThePoint) {
    UseLocale("de_DE");
    frmHeightEnter& d = openEntry(openAdjustment(open()));
    ClickLine(d.lstHours, 9);
    ClickLine(d.lstMetres, 2);
    ClickLine(d.lstCms, 5);
    EXPECT_EQ(d.lblHeight->Caption(), "2.5");
    d.cmdAdd->click();
    d.txtFileName->SetText("Harbour");
    d.Command2->click();
    EXPECT_EQ(ReadAll(folder.file("Harbour.ht")), HeightFileBytes({{9, 2.5f}}));
}

// The chosen file's observations in file order, in green between the layers and the grid, from
// ten of them; kept by "Calculate", gone after a day step; "Cancel" lets the next recompute drop
// them; a missing file is not made, a damaged record is named.
TEST_F(ObservedHeights, ChosenFileDrawnOverTheIntermediateCurve) {
    WriteBytes(folder.file("Nine.ht"), HeightFileBytes(observations(9)));
    WriteBytes(folder.file("Ten.ht"), HeightFileBytes(observations(10)));
    frmtidewyn& main = open();
    frmHarmAdjust& a = openAdjustment(main);
    const SharedState before = State();

    a.mnuDataHeightSelect.Click();
    auto& d = Get<frmSelectHeightFile>();
    EXPECT_EQ(d.Caption(), "Select Height File");
    d.cmdOK->click();
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Select a file"}));
    EXPECT_EQ(State().HeightFilePath, "");
    EXPECT_TRUE(d.Visible());
    PickFile(d.File1, "Nine.ht");
    EXPECT_EQ(d.lblselectedfile->Caption(), "Nine");
    EXPECT_EQ(State().HeightFilePath, folder.file("Nine.ht"));
    d.cmdOK->click();
    EXPECT_FALSE(IsLoaded<frmSelectHeightFile>());
    EXPECT_EQ(prompts().back(), "Not enough data to draw in a curve");
    EXPECT_EQ(dialogs->messages.back().style, kOkOnly);
    EXPECT_TRUE(observedLine(*a.Picture2).empty());
    // Sizing the window draws the pictures again without a word.
    a.resize(a.width() + 40, a.height() + 20);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs->messages.size(), 2u);

    select(a, "Ten.ht");
    expectLineThrough(*a.Picture2, observations(10));
    a.resize(a.width() - 40, a.height() - 20);
    QCoreApplication::processEvents();
    expectLineThrough(*a.Picture2, observations(10));
    EXPECT_TRUE(observedLine(*a.Picture1).empty());
    EXPECT_EQ(State().CurrentPort, before.CurrentPort);
    EXPECT_EQ(State().ScaleTop, before.ScaleTop);
    EXPECT_EQ(State().CurvePoints, before.CurvePoints);
    a.cmdCalc->click();
    expectLineThrough(*a.Picture2, observations(10));
    a.Nextday->click();
    EXPECT_EQ(State().HeightFilePath, "");
    EXPECT_TRUE(observedLine(*a.Picture2).empty());

    select(a, "Ten.ht");
    a.mnuDataHeightSelect.Click();
    Get<frmSelectHeightFile>().cmdCancel->click();
    EXPECT_EQ(State().HeightFilePath, "");
    expectLineThrough(*a.Picture2, observations(10));
    a.cmdCalc->click();
    EXPECT_TRUE(observedLine(*a.Picture2).empty());

    dialogs->messages.clear();
    select(a, "Nine.ht");
    fs::remove(folder.file("Nine.ht"));
    a.cmdCalc->click();
    EXPECT_FALSE(fs::exists(folder.file("Nine.ht")));
    std::vector<ObsHeightRecord> damaged = observations(10);
    damaged[3].ObsTime = 30;
    WriteBytes(folder.file("Ten.ht"), HeightFileBytes(damaged));
    select(a, "Ten.ht");
    EXPECT_TRUE(observedLine(*a.Picture2).empty());
    EXPECT_EQ(prompts(), (std::vector<std::string>{
                             "Not enough data to draw in a curve", "Not enough data to draw in a curve",
                             "Record 4 of Ten.ht is damaged: ObsTime is 30, outside 0 to 24"}));
}

// The shipped sample between Saint Nazaire and Donges on its own day: a line through the day's
// 144 heights, the main window's port and day as they were.
TEST_F(ObservedHeights, SampleDrawnBetweenSaintNazaireAndDonges) {
    storeSettings([&](SettingsRecord& r) {
        r.AreaPath = folder.file("France.hc");
        r.PortIndex = 18;
    });
    now = DateSerial(2026, 3, 21) + TimeSerial(9, 0, 0);
    frmtidewyn& main = open();
    const SharedState before = State();
    const std::vector<DrawCommand> mainPicture = main.Picture1->PersistentCommands();
    frmHarmAdjust& a = openAdjustment(main);
    EXPECT_EQ(a.portbox->Caption(), "Saint Nazaire");
    EXPECT_EQ(a.Portbox3->Caption(), "Donges");
    EXPECT_EQ(a.tidedatebox->Caption(), "Date   : 21 March 2026 (Saturday)");

    select(a, "Montoir.ht");
    std::vector<ObsHeightRecord> sample;
    ASSERT_TRUE(ReadHeightFile(folder.file("Montoir.ht"), sample).ok());
    expectLineThrough(*a.Picture2, sample);
    EXPECT_EQ(observedLine(*a.Picture2).size(), 143u);
    const SharedState& s = State();
    EXPECT_EQ(s.CurrentPort, before.CurrentPort);
    EXPECT_EQ(s.SelectedDayOfYear, before.SelectedDayOfYear);
    EXPECT_EQ(s.ScaleTop, before.ScaleTop);
    EXPECT_EQ(s.CurvePoints, before.CurvePoints);
    EXPECT_TRUE(testing_support::SameDrawing(main.Picture1->PersistentCommands(), mainPicture));
    EXPECT_TRUE(dialogs->messages.empty());
}

// Esc is "Cancel" in both dialogs: the chosen file is forgotten.
TEST_F(ObservedHeights, EscIsCancel) {
    frmHarmAdjust& a = openAdjustment(open());
    frmHeightEnter& entry = openEntry(a);
    entry.txtFileName->SetText("Montoir");
    entry.Command2->click();
    ASSERT_EQ(State().HeightFilePath, folder.file("Montoir.ht"));
    PressKey(*entry.txtFileName, Qt::Key_Escape);
    EXPECT_FALSE(IsLoaded<frmHeightEnter>());
    EXPECT_EQ(State().HeightFilePath, "");

    a.mnuDataHeightSelect.Click();
    auto& select = Get<frmSelectHeightFile>();
    PickFile(select.File1, "Montoir.ht");
    ASSERT_EQ(State().HeightFilePath, folder.file("Montoir.ht"));
    PressKey(*select.File1, Qt::Key_Escape);
    EXPECT_FALSE(IsLoaded<frmSelectHeightFile>());
    EXPECT_EQ(State().HeightFilePath, "");
}
