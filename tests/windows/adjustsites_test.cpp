// The adjustment window's sites loaded from any port of any area file, and its intermediate
// location saved as a port of an area file: added after the last port or written over one, the
// other bytes kept, and found by the main window like any other port.
#include <QTest>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <map>

#include "adjustment/frmadjustfileselect.h"
#include "adjustment/frmadjustsave.h"
#include "adjustment_support.h"
#include "engine/adjustment.h"
#include "engine/numtext.h"
#include "engine/port_fixture.h"
#include "mainwindow/frmconfig.h"

using namespace engine;
using namespace platform;
using testing_support::ClickLine;
using testing_support::ListLines;
using testing_support::PickFile;
using testing_support::ReadAll;
using testing_support::RecordBytes;
using testing_support::RecordIn;
using testing_support::SameDrawing;
using testing_support::SameTable;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> captions(const std::array<Label*, 13>& labels) {
    std::vector<std::string> out;
    for (const Label* l : labels) out.push_back(l->Caption());
    return out;
}
std::vector<std::string> texts(const std::array<TextBox*, 13>& boxes) {
    std::vector<std::string> out;
    for (const TextBox* b : boxes) out.push_back(b->Text());
    return out;
}
// A record's constants as the window shows them.
std::vector<std::string> constantTexts(const PortRecord& r) {
    std::vector<std::string> out;
    for (const PortConstant& c : kPortConstants) out.push_back(TypedText(r.*c.field));
    return out;
}
std::map<std::string, std::string> filesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder))
        files[e.path().string()] = ReadAll(e.path().string());
    return files;
}

}  // namespace

class SitesAndAreaFiles : public testing_support::AdjustmentWindowTest {
protected:
    void SetUp() override {
        AdjustmentWindowTest::SetUp();
        useAreaCopies(folder);
    }
    FrmAdjustfileselect& openLoad(frmHarmAdjust& a) {
        a.mnuDataLoad.Click();
        return Get<FrmAdjustfileselect>();
    }
    frmAdjustSave& openSave(frmHarmAdjust& a) {
        a.MnuFileSave.Click();
        return Get<frmAdjustSave>();
    }
    std::vector<std::string> prompts() const {
        std::vector<std::string> out;
        for (const AskedMessage& m : dialogs->messages) out.push_back(m.prompt);
        return out;
    }
    // The names of an area file's ports, as the lists show them.
    std::vector<std::string> names(const std::string& area) {
        std::vector<PortRecord> ports;
        EXPECT_TRUE(ReadAllPortRecords(folder.file(area), ports).ok());
        std::vector<std::string> out;
        for (const PortRecord& p : ports) out.push_back(Trim(p.PortName));
        return out;
    }
    testing_support::TempDir folder;
};

// A location loaded as Port 1 or Port 2 fills that column only; one location as both fills them
// alike. Nothing is computed until "Close ", which computes both sites from what they show.
TEST_F(SitesAndAreaFiles, PortsLoadedAndComputedOnClose) {
    frmHarmAdjust& a = openAdjustment(open());
    const std::vector<DrawCommand> port1Drawn = a.Picture1->PersistentCommands();
    FrmAdjustfileselect& d = openLoad(a);
    ASSERT_TRUE(d.Visible());
    EXPECT_EQ(d.Caption(), "Select Port");

    PickFile(d.File1, "France.hc");
    EXPECT_EQ(ListLines(*d.List1), names("France.hc"));
    ClickLine(d.List1, 3);
    d.cmdPort2->click();
    const PortRecord fourth = record(4, "France.hc");
    EXPECT_EQ(captions(a.Port2Labels()), constantTexts(fourth));
    EXPECT_EQ(a.lblPortName3->Caption(), Trim(fourth.PortName));
    ClickLine(d.List1, 2);
    const PortRecord third = record(3, "France.hc");
    EXPECT_EQ(d.lblselectedport->Caption(), Trim(third.PortName));
    d.cmdPort1->click();
    EXPECT_EQ(captions(a.Port1Labels()), constantTexts(third));
    EXPECT_EQ(captions(a.Port2Labels()), constantTexts(fourth));
    d.cmdPort2->click();
    EXPECT_EQ(captions(a.Port1Labels()), constantTexts(third));
    EXPECT_EQ(captions(a.Port2Labels()), constantTexts(third));
    for (const Label* name : {a.portbox, a.lblportname1, a.Portbox3, a.lblPortName3})
        EXPECT_EQ(name->Caption(), Trim(third.PortName));
    EXPECT_TRUE(SameDrawing(a.Picture1->PersistentCommands(), port1Drawn));

    d.cmdCancel->click();
    EXPECT_FALSE(IsLoaded<FrmAdjustfileselect>());
    EXPECT_FALSE(SameDrawing(a.Picture1->PersistentCommands(), port1Drawn));
    EXPECT_TRUE(SameTable(State().AdjCurvePort1, State().AdjCurvePort2));
    EXPECT_TRUE(dialogs->messages.empty());
}

// The intermediate boxes take the record's constants; each spinner keeps its Value and steps
// from it. The close box computes nothing.
TEST_F(SitesAndAreaFiles, IntermediateLoadKeepsTheSpinners) {
    PortRecord odd = testing_support::MadeUpPort();
    odd.M2Hm = 1.234f;
    testing_support::WriteAreaFile(folder.file("Odd.hc"), {odd});
    frmHarmAdjust& a = openAdjustment(open());
    a.UpDnM2Hm->SetValue(120);
    const std::vector<DrawCommand> drawn = a.Picture2->PersistentCommands();

    FrmAdjustfileselect& d = openLoad(a);
    PickFile(d.File1, "Odd.hc");
    ClickLine(d.List1, 0);
    d.cmdLoad->click();
    EXPECT_EQ(texts(a.IntermediateBoxes()), constantTexts(odd));
    EXPECT_EQ(a.txtM2Hm->Text(), "1.234");
    QTest::mouseClick(a.UpDnM2Hm->UpArrow(), Qt::LeftButton);
    EXPECT_EQ(a.txtM2Hm->Text(), "1.21");

    d.close();
    EXPECT_FALSE(IsLoaded<FrmAdjustfileselect>());
    EXPECT_TRUE(SameDrawing(a.Picture2->PersistentCommands(), drawn));

    // Esc is "Close ", which computes.
    FrmAdjustfileselect& again = openLoad(a);
    PressKey(*again.File1, Qt::Key_Escape);
    EXPECT_FALSE(IsLoaded<FrmAdjustfileselect>());
    EXPECT_FALSE(SameDrawing(a.Picture2->PersistentCommands(), drawn));
}

// A second file lists its own locations only, an empty file none; a load with no location
// highlighted, or a file that cannot be read, is told and changes nothing.
TEST_F(SitesAndAreaFiles, ListsAndWhatCannotBeLoaded) {
    WriteBytes(folder.file("Empty.hc"), "");
    WriteBytes(folder.file("scratch.hc"), ReadAll(folder.file("UK.hc")));
    frmHarmAdjust& a = openAdjustment(open());
    const std::vector<std::string> port1 = captions(a.Port1Labels());
    FrmAdjustfileselect& d = openLoad(a);
    EXPECT_EQ(ListLines(*d.File1), (std::vector<std::string>{"Empty.hc", "France.hc", "UK.hc"}));

    d.cmdPort1->click();
    PickFile(d.File1, "UK.hc");
    d.cmdPort1->click();
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Select a location", "Select a location"}));
    EXPECT_EQ(captions(a.Port1Labels()), port1);

    ClickLine(d.List1, 3);
    const std::string fourth = Trim(record(4).PortName);
    EXPECT_EQ(d.lblselectedport->Caption(), fourth);
    SetReadFault([this](const std::string& path) { return path == folder.file("France.hc") ? EIO : 0; });
    PickFile(d.File1, "France.hc");
    SetReadFault({});
    ASSERT_EQ(dialogs->messages.size(), 3u);
    EXPECT_NE(dialogs->messages[2].prompt.find(folder.file("France.hc")), std::string::npos);
    EXPECT_EQ(ListLines(*d.List1), names("UK.hc"));
    EXPECT_EQ(d.lblselectedport->Caption(), fourth);
    EXPECT_EQ(d.File1->FileName(), "UK.hc");  // the file whose locations stand there

    PickFile(d.File1, "Empty.hc");
    EXPECT_EQ(d.List1->ListCount(), 0);
    EXPECT_EQ(d.lblselectedport->Caption(), "");
}

// Only the constants are loaded: a damaged position does not matter, a damaged constant is told
// and loads nothing.
TEST_F(SitesAndAreaFiles, DamagedLocations) {
    PortRecord offMap = testing_support::MadeUpPort(), noLevel = testing_support::MadeUpPort();
    offMap.Latitude = 200;
    offMap.M2Hm = 1.5f;
    noLevel.Z0 = std::nanf("");
    testing_support::WriteAreaFile(folder.file("Bad.hc"), {offMap, noLevel});
    frmHarmAdjust& a = openAdjustment(open());
    FrmAdjustfileselect& d = openLoad(a);
    PickFile(d.File1, "Bad.hc");
    ClickLine(d.List1, 0);
    d.cmdPort1->click();
    EXPECT_EQ(a.P1M2Hm->Caption(), "1.5");
    ClickLine(d.List1, 1);
    d.cmdLoad->click();
    const std::vector<std::string> boxes = texts(a.IntermediateBoxes());
    d.cmdPort2->click();
    EXPECT_EQ(texts(a.IntermediateBoxes()), boxes);
    EXPECT_NE(captions(a.Port2Labels()), constantTexts(noLevel));
    EXPECT_EQ(prompts(),
              std::vector<std::string>(
                  2, "The location cannot be loaded: Record 2 of Bad.hc is damaged: Z0 is not a number"));
}

// "Add location to end of file" writes one record after the last and leaves every other byte;
// "Replace highlighted location" writes the highlighted record of the listed file. The boxes
// are read with ".".
TEST_F(SitesAndAreaFiles, SavedAfterTheLastOrOverAHighlightedLocation) {
    // 120 ports: the British ones, then the first French ones.
    const std::string big = folder.file("Big.hc");
    const std::string ports = ReadAll(folder.file("UK.hc")) + ReadAll(folder.file("France.hc"));
    WriteBytes(big, ports.substr(0, 120 * PortRecord::kSize));
    frmHarmAdjust& a = openAdjustment(open());
    a.txtM2Hm->SetText("1.85");

    frmAdjustSave& d = openSave(a);
    ASSERT_TRUE(d.Visible());
    EXPECT_EQ(d.Caption(), "Save Intermediate Ports Constants");
    EXPECT_TRUE(d.Option2->Value());
    EXPECT_FALSE(d.Option1->Value());
    PickFile(d.File1, "Big.hc");
    EXPECT_EQ(d.txtAreaName->Text(), "Big");
    EXPECT_EQ(d.List1->ListCount(), 120);
    d.Text1->TypeText("  Mid channel  ");
    d.cmdSave->click();
    EXPECT_FALSE(IsLoaded<frmAdjustSave>());
    const std::string saved = ReadAll(big);
    ASSERT_EQ(saved.size(), 121 * PortRecord::kSize);
    EXPECT_EQ(saved.substr(0, 120 * PortRecord::kSize), ports.substr(0, 120 * PortRecord::kSize));
    std::array<float, 13> shown{};
    const auto boxes = a.IntermediateBoxes();
    for (size_t i = 0; i < 13; ++i) shown[i] = ToSingle(Val(boxes[i]->Text()));
    const auto expected = [&](const std::string& name) {
        return AsString(EncodePortRecord(LocationRecord(name, shown, "L")));  // Dover's zone
    };
    const std::string added = RecordBytes<PortRecord>(saved, 121);
    EXPECT_EQ(added, expected("Mid channel"));
    EXPECT_EQ(added.substr(0, 5), std::string(5, '\0'));
    EXPECT_EQ(RecordIn(saved, 121, DecodePortRecord).MonthM2Hm[11], 1.85f);

    a.txtM2Hm->SetText("1,85");
    shown[2] = 1.85f;  // the comma is the decimal point
    frmAdjustSave& again = openSave(a);
    PickFile(again.File1, "Big.hc");
    ClickLine(again.List1, 2);
    EXPECT_EQ(again.Text1->Text(), Trim(record(3).PortName));
    again.Option1->click();
    again.cmdSave->click();
    const std::string replaced = ReadAll(big);
    ASSERT_EQ(replaced.size(), saved.size());
    EXPECT_EQ(RecordBytes<PortRecord>(replaced, 3), expected(Trim(record(3).PortName)));
    EXPECT_EQ(replaced.substr(0, 2 * PortRecord::kSize), saved.substr(0, 2 * PortRecord::kSize));
    EXPECT_EQ(replaced.substr(3 * PortRecord::kSize), saved.substr(3 * PortRecord::kSize));
    EXPECT_TRUE(dialogs->messages.empty());

    // A file clicked is the file written, whatever its name; a save whose folder sync alone
    // failed is a save, and says so.
    fs::rename(big, folder.file("Loire.2024.hc"));
    frmAdjustSave& third = openSave(a);
    PickFile(third.File1, "Loire.2024.hc");
    EXPECT_EQ(third.txtAreaName->Text(), "Loire");
    SetFileStepFault(
        [](FileStep step, const std::string&) { return step == FileStep::FolderSync ? EIO : 0; });
    third.cmdSave->click();
    SetFileStepFault({});
    EXPECT_FALSE(IsLoaded<frmAdjustSave>());
    EXPECT_EQ(PortCount(folder.file("Loire.2024.hc")), 122);
    EXPECT_FALSE(fs::exists(folder.file("Loire.hc")));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt.find("cannot be saved"), std::string::npos)
        << dialogs->messages[0].prompt;
}

// The location keeps the time zone of the ports it lies between; of two ports in different zones
// it takes Port 1's, and says so.
TEST_F(SitesAndAreaFiles, SavedLocationKeepsThePortsZone) {
    // Saint Nazaire, then Dover.
    testing_support::WriteAreaFile(folder.file("Mixed.hc"), {record(18, "France.hc"), record(77)});
    const struct {
        const char* area;
        float port;
        char zone;
        std::vector<std::string> told;
    } cases[] = {
        {"France", 18, 'M', {}},  // Saint Nazaire and Donges, UTC+1
        {"Mixed",
         1,
         'M',
         {"Port 1 and Port 2 lie in different time zones: the location was saved with Port 1's, Timezone -1 "
          "(UTC+1); Port 2's is Timezone 0 (UTC). The harmonic constants editor can change it."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.area);
        const std::string area = folder.file(std::string(c.area) + ".hc");
        storeSettings([&](SettingsRecord& r) {
            r.AreaPath = area;
            r.PortIndex = c.port;
        });
        frmAdjustSave& d = openSave(openAdjustment(open()));
        d.txtAreaName->TypeText(c.area);
        d.Text1->TypeText("Montoir");
        dialogs->messages.clear();
        d.cmdSave->click();
        EXPECT_FALSE(IsLoaded<frmAdjustSave>());
        const std::string saved = ReadAll(area);
        const PortRecord location = RecordIn(saved, PortCount(area), DecodePortRecord);
        EXPECT_EQ(Trim(location.PortName), "Montoir");
        EXPECT_EQ(location.ZoneLetter, std::string(1, c.zone));
        EXPECT_EQ(prompts(), c.told);
        for (const AskedMessage& m : dialogs->messages) EXPECT_EQ(m.style, kInformation);
        restart();
    }
}

// The area as typed: the text before its first "." with ".hc", a listed file in its own case;
// the name cut after 35 characters.
TEST_F(SitesAndAreaFiles, AreaNamesAsTyped) {
    testing_support::WriteAreaFile(folder.file("NORTH.HC"), {testing_support::MadeUpPort()});
    frmHarmAdjust& a = openAdjustment(open());
    const char* typed[] = {"Channel.hc", " Channel.xyz", "Channel"};
    const std::string longName = "A location whose name is longer than thirty-five characters";
    for (size_t n = 0; n < 3; ++n) {
        frmAdjustSave& d = openSave(a);
        d.txtAreaName->TypeText(typed[n]);
        d.Text1->TypeText(longName);
        d.cmdSave->click();
        EXPECT_EQ(PortCount(folder.file("Channel.hc")), static_cast<long>(n + 1)) << typed[n];
    }
    PortRecord stored;
    ASSERT_TRUE(ReadPortRecord(folder.file("Channel.hc"), 3, stored).ok());
    EXPECT_EQ(stored.PortName, longName.substr(0, 35));

    frmAdjustSave& d = openSave(a);
    PickFile(d.File1, "NORTH.HC");
    EXPECT_EQ(d.txtAreaName->Text(), "NORTH");
    d.cmdSave->click();
    EXPECT_EQ(PortCount(folder.file("NORTH.HC")), 2);
    openSave(a).txtAreaName->TypeText("north");
    Get<frmAdjustSave>().cmdSave->click();
    EXPECT_EQ(PortCount(folder.file("NORTH.HC")), 3);
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(folder.path())) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Channel.hc", "France.hc", "NORTH.HC", "UK.hc"}));
    EXPECT_TRUE(dialogs->messages.empty());
}

// What "Save" refuses writes nothing and keeps the dialog open: no area, a replacement of no
// highlighted location of the named area, a constant an area file may not hold, a write that
// fails.
TEST_F(SitesAndAreaFiles, RefusalsAndFailuresWriteNothing) {
    frmHarmAdjust& a = openAdjustment(open());
    const auto before = filesIn(folder.path());
    frmAdjustSave& d = openSave(a);
    d.txtAreaName->TypeText("   ");
    d.cmdSave->click();
    d.txtAreaName->SetText("UK");
    d.Option1->click();
    d.cmdSave->click();
    PickFile(d.File1, "UK.hc");
    ClickLine(d.List1, 2);
    d.txtAreaName->SetText("France");
    d.cmdSave->click();
    d.txtAreaName->SetText("UK");
    WriteBytes(folder.file("UK.hc"), before.at(folder.file("UK.hc")).substr(0, 2 * PortRecord::kSize));
    d.cmdSave->click();  // the file holds two ports now, not the listed ones
    WriteBytes(folder.file("UK.hc"), before.at(folder.file("UK.hc")));
    d.Option2->click();
    a.txtS2Hm->SetText("1000");
    d.cmdSave->click();
    a.txtS2Hm->SetText("90");  // within its range, but heights no sea has
    d.cmdSave->click();
    a.txtS2Hm->SetText("0.5");
    SetFileStepFault([](FileStep step, const std::string&) { return step == FileStep::Write ? ENOSPC : 0; });
    d.cmdSave->click();
    SetFileStepFault({});

    EXPECT_TRUE(IsLoaded<frmAdjustSave>());
    EXPECT_EQ(filesIn(folder.path()), before);
    const std::string highlight = "Highlight the location to replace in the list of that area";
    const std::vector<std::string> told = prompts();
    ASSERT_EQ(told.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(told.begin(), told.begin() + 5),
              (std::vector<std::string>{
                  "Area must have a name", highlight, highlight,
                  folder.file("UK.hc") + " has changed since it was listed: click it in the list again",
                  "S2Hm must lie between -100 and 100; the location is not saved"}));
    EXPECT_EQ(told[5].rfind("The constants can give heights of ", 0), 0u) << told[5];
    EXPECT_TRUE(told[5].ends_with(" m, more than any sea's tide (25 m); the location is not saved"))
        << told[5];
    const std::string failed = dialogs->messages[6].prompt;
    EXPECT_NE(failed.find(folder.file("UK.hc")), std::string::npos) << failed;

    d.cmdExit->click();
    EXPECT_FALSE(IsLoaded<frmAdjustSave>());
    PressKey(*openSave(a).txtAreaName, Qt::Key_Escape);  // Esc is "Exit"
    EXPECT_FALSE(IsLoaded<frmAdjustSave>());
    EXPECT_EQ(filesIn(folder.path()), before);
}

// A location saved to UK.hc is a port of the area: the port dialog finds it and the main window
// predicts from it the intermediate location's tide.
TEST_F(SitesAndAreaFiles, SavedLocationIsAPortOfTheArea) {
    frmtidewyn& main = open();
    frmHarmAdjust& a = openAdjustment(main);
    frmAdjustSave& d = openSave(a);
    PickFile(d.File1, "UK.hc");
    d.Text1->TypeText("Between ports");
    d.cmdSave->click();
    const long count = PortCount(folder.file("UK.hc"));
    const CurveTable intermediate = State().AdjCurveMid;

    withModal<frmconfig>(main.mnuPortList, [](frmconfig& c) {
        c.txtSearch->TypeText("Between ports");
        c.portconfigok->click();
    });
    EXPECT_EQ(State().CurrentPort, count);
    EXPECT_EQ(main.portbox->Caption(), "Port    : Between ports");
    // The same tide as the intermediate location's, within centimetres: the two windows compute
    // a day in their own ways.
    for (int row = 2; row <= 145; ++row) {
        EXPECT_NEAR(State().DayCurve(1, row), intermediate(1, row), 1e-9) << row;
        EXPECT_NEAR(State().DayCurve(2, row), intermediate(2, row), 0.1) << row;
    }
    EXPECT_FALSE(main.Picture1->PersistentCommands().empty());
    EXPECT_TRUE(dialogs->messages.empty());
}
