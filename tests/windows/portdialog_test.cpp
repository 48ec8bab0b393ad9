// The port dialog: its lists and searches, OK and Cancel, and the sea-area menu.
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/sun.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using testing_support::ReadAll;
using namespace platform;
namespace fs = std::filesystem;

namespace {

// Byte offsets of the settings record that differ between two images of the file.
std::set<size_t> changedBytes(const std::string& a, const std::string& b) {
    std::set<size_t> out;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) out.insert(i);
    return out;
}
bool within(const std::set<size_t>& changed, std::initializer_list<std::pair<size_t, size_t>> fields) {
    return std::all_of(changed.begin(), changed.end(), [&](size_t i) {
        return std::any_of(fields.begin(), fields.end(),
                           [&](auto f) { return i >= f.first && i < f.second; });
    });
}

std::vector<long> records(const ListBox& list) {
    std::vector<long> out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.ItemData(i));
    return out;
}
std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

class PortDialog : public testing_support::WindowTest {
protected:
    std::string uk() const { return programFolder() + "/UK.hc"; }
    std::string france() const { return programFolder() + "/France.hc"; }

    // An area file of Dover's constants under other names, each port a little further east.
    std::string makeArea(const std::string& fileName, const std::vector<std::string>& names) {
        PortRecord dover;
        EXPECT_TRUE(ReadPortRecord(uk(), 77, dover).ok());
        std::string contents;
        for (size_t i = 0; i < names.size(); ++i) {
            PortRecord r = dover;
            r.PortName = names[i];
            r.Longitude = static_cast<float>(-4.0 + static_cast<double>(i));
            Bytes b = EncodePortRecord(r);
            contents.append(b.begin(), b.end());
        }
        std::string path = home.file(fileName);
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    // Runs `act` on the port dialog when the menu shows it; `act` ends it with OK or Cancel.
    void onDialog(std::function<void(frmconfig&)> act) {
        SetModalRunner([this, act](Form& f) {
            ++dialogsShown;
            auto* d = dynamic_cast<frmconfig*>(&f);
            ASSERT_NE(d, nullptr);
            act(*d);
        });
    }
    void chooseArea(const std::string& path) { dialogs->fileAnswers.push_back(path); }
    int dialogsShown = 0;
};

TEST_F(PortDialog, ListsEveryPortByNameAndInFileOrder) {
    frmtidewyn& w = open();
    const long n = PortCount(uk());
    onDialog([&](frmconfig& d) {
        EXPECT_EQ(d.Caption(), "Select Port");
        EXPECT_EQ(d.Label1->Caption(),
                  "Double click on an entry or select a port from the list and click OK.\r\n"
                  "Enter part of the ports name and click the Search button.\r\n"
                  "Press Search again for the next occurance.");
        EXPECT_EQ(d.lblhint->Caption().substr(0, 40), "Highlight any item and press a letter on");
        EXPECT_EQ(d.portconfigbox->Caption(), "Dover");
        EXPECT_EQ(d.portlist2->ListIndex(), -1);

        // Stored order: by name. Every port once, in name order.
        EXPECT_TRUE(d.optSortbyName->Value());
        std::vector<std::string> byName = testing_support::ListLines(*d.portlist2);
        ASSERT_EQ(static_cast<long>(byName.size()), n);
        EXPECT_EQ(byName.front(), "Aberdeen");
        EXPECT_EQ(byName.back(), "Workington");
        EXPECT_TRUE(
            std::is_sorted(byName.begin(), byName.end(),
                           [](const std::string& a, const std::string& b) { return lower(a) < lower(b); }));
        std::vector<long> recs = records(*d.portlist2);
        std::sort(recs.begin(), recs.end());
        for (long k = 1; k <= n; ++k) EXPECT_EQ(recs[static_cast<size_t>(k - 1)], k);

        // File order: line i is port i + 1.
        d.optSortGeog->SetValue(true);
        d.cmdSort->click();
        ASSERT_EQ(d.portlist2->ListCount(), n);
        for (int i = 0; i < n; ++i) {
            PortRecord p;
            ASSERT_TRUE(ReadPortRecord(uk(), i + 1, p).ok());
            EXPECT_EQ(d.portlist2->List(i), Trim(p.PortName));
            EXPECT_EQ(d.portlist2->ItemData(i), i + 1);
        }

        // By name again: still every port.
        d.optSortbyName->SetValue(true);
        d.cmdSort->click();
        EXPECT_EQ(testing_support::ListLines(*d.portlist2), byName);
        d.cmdSort->click();
        EXPECT_EQ(testing_support::ListLines(*d.portlist2), byName);
        d.portconfigcancel->click();
    });
    w.mnuPortList.Click();
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_FALSE(IsLoaded<frmconfig>());
}

TEST_F(PortDialog, SameNamesKeepFileOrderAndTheClickedOneIsChosen) {
    frmtidewyn& w = open();
    std::string area =
        makeArea("Areas/Twins.hc", {"Charlie", "Alpha", "Bravo", "alpha", "Alpha Bay", "Alpha", "3 Rivers"});
    struct Case {
        int line;
        bool doubleClick;
        int16_t port;
    } cases[] = {{1, false, 2}, {2, true, 4}, {3, false, 6}, {4, true, 5}};
    for (const Case& c : cases) {
        chooseArea(area);
        onDialog([&](frmconfig& d) {
            EXPECT_EQ(testing_support::ListLines(*d.portlist2),
                      (std::vector<std::string>{"3 Rivers", "Alpha", "alpha", "Alpha", "Alpha Bay", "Bravo",
                                                "Charlie"}));
            EXPECT_EQ(records(*d.portlist2), (std::vector<long>{7, 2, 4, 6, 5, 3, 1}));
            d.portlist2->SetListIndex(c.line);
            EXPECT_EQ(d.SelectedPortNo, c.port);
            if (c.doubleClick) d.portlist2_DblClick();
            else d.portconfigok->click();
        });
        w.mnuArea.Click();
        EXPECT_EQ(State().CurrentPort, c.port) << c.line;
        SettingsRecord r;
        ASSERT_TRUE(ReadSettingsFile(r).ok());
        EXPECT_EQ(r.PortIndex, static_cast<float>(c.port));
        EXPECT_EQ(Trim(r.AreaPath), area);
        // The sun times are the chosen port's: each port lies one degree further east.
        SunTimes sun =
            CalcSunTimes(State().PortLatitude, -4.0 + (c.port - 1), State().SelectedDay,
                         State().SelectedMonth, State().SelectedYear, State().PortZoneHours, false);
        EXPECT_NEAR(State().SunriseTime, sun.Sunrise.Hours, 1e-9);
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(PortDialog, TypedSearchAndSearchButton) {
    frmtidewyn& w = open();
    std::string area =
        makeArea("Search.hc", {"Portsmouth", "Dover", "Port Ellen", "Newport", "Poole", "Southport", ""});
    chooseArea(area);
    onDialog([&](frmconfig& d) {
        d.optSortGeog->SetValue(true);
        d.cmdSort->click();

        // Nothing typed: the first press starts at line 1 (the empty text matches any name).
        d.cmdSearch->click();
        EXPECT_EQ(d.portlist2->ListIndex(), 1);

        // Typing selects the first line holding the text, in any case.
        d.txtSearch->TypeText("PORT");
        EXPECT_EQ(d.portlist2->ListIndex(), 0);
        EXPECT_EQ(d.portconfigbox->Caption(), "Portsmouth");

        // "Search" steps through the others, misses once at the end, then starts at the top.
        int expected[] = {2, 3, 5, 5, 0, 2};
        for (int line : expected) {
            d.cmdSearch->click();
            EXPECT_EQ(d.portlist2->ListIndex(), line);
        }
        EXPECT_EQ(d.portconfigbox->Caption(), "Port Ellen");
        EXPECT_EQ(d.SelectedPortNo, 3);

        // A text found nowhere leaves the selection, typed or searched.
        d.txtSearch->SetText("zzz");
        EXPECT_EQ(d.portlist2->ListIndex(), 2);
        d.cmdSearch->click();
        EXPECT_EQ(d.portlist2->ListIndex(), 2);
        EXPECT_EQ(d.LastFoundIndex, -1);
        d.portconfigcancel->click();
    });
    w.mnuArea.Click();
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(PortDialog, OkWithoutASelectionAsksForAPort) {
    frmtidewyn& w = open();
    std::string before = ReadAll(settingsPath());
    onDialog([&](frmconfig& d) {
        d.portconfigok->click();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt, "Select a port");
        EXPECT_EQ(dialogs->messages[0].title, "Tidewyn");
        EXPECT_EQ(dialogs->messages[0].style, kOkOnly);
        EXPECT_TRUE(d.Visible());
        EXPECT_TRUE(IsLoaded<frmconfig>());
        d.portconfigcancel->click();
    });
    w.mnuPortList.Click();
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(ReadAll(settingsPath()), before);
    EXPECT_EQ(State().CurrentPort, 77);
}

TEST_F(PortDialog, OkWritesOnlyPortAreaAndSortOrderAndRecomputes) {
    frmtidewyn& w = open();
    SharedState& s = State();
    w.monthspredictions->AddItem("a month line");
    w.monthspredictions->setVisible(true);
    const std::string doverList = w.daystide1->Caption();
    std::string before = ReadAll(settingsPath());
    onDialog([&](frmconfig& d) {
        d.optSortGeog->SetValue(true);
        d.cmdSort->click();
        d.portlist2->SetListIndex(9);
        EXPECT_EQ(d.portconfigbox->Caption(), "Ballycotton");
        d.portconfigok->click();
    });
    w.mnuPortList.Click();
    EXPECT_FALSE(IsLoaded<frmconfig>());

    std::string after = ReadAll(settingsPath());
    ASSERT_EQ(after.size(), 1307u);
    std::set<size_t> changed = changedBytes(before, after);
    EXPECT_TRUE(within(changed, {{0, 255}, {1275, 1279}, {1297, 1299}}));
    EXPECT_TRUE(changed.count(1275) || changed.count(1276) || changed.count(1277) || changed.count(1278));
    EXPECT_TRUE(changed.count(1297));
    SettingsRecord r;
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    EXPECT_EQ(r.PortIndex, 10.0f);
    EXPECT_EQ(r.SortByName, 0);
    EXPECT_EQ(Trim(r.AreaPath), uk());

    EXPECT_EQ(s.CurrentPort, 10);
    EXPECT_EQ(w.portbox->Caption(), "Port    : Ballycotton");
    PortRecord p;
    ASSERT_TRUE(ReadPortRecord(uk(), 10, p).ok());
    EXPECT_EQ(s.PortLatitude, p.Latitude);
    EXPECT_EQ(s.PortLongitude, p.Longitude);
    EXPECT_EQ(s.DayText[1], "Port : Ballycotton");
    EXPECT_NE(w.daystide1->Caption(), doverList);
    EXPECT_EQ(w.monthspredictions->ListCount(), 0);
    EXPECT_FALSE(w.monthspredictions->isVisibleTo(&w));
    // The marks in the picture are at the new port's sun times.
    SunTimes sun = CalcSunTimes(p.Latitude, p.Longitude, s.SelectedDay, s.SelectedMonth, s.SelectedYear,
                                s.PortZoneHours, false);
    EXPECT_NEAR(s.SunriseTime, sun.Sunrise.Hours, 1e-12);
    EXPECT_GE(testing_support::DashesAt(w.Picture1->PersistentCommands(), s.SunriseTime), 25);

    // The sort order is kept for the next opening.
    onDialog([&](frmconfig& d) {
        EXPECT_TRUE(d.optSortGeog->Value());
        EXPECT_EQ(d.portlist2->List(0), "Malin Head");
        EXPECT_EQ(d.portconfigbox->Caption(), "Ballycotton");
        d.portconfigcancel->click();
    });
    w.mnuPortList.Click();
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(PortDialog, CancelWritesAndRecomputesNothing) {
    frmtidewyn& w = open();
    std::string settings = ReadAll(settingsPath());
    std::string depths = ReadAll(depthPath());
    double height = State().DayCurve(2, 40);
    std::string list = w.daystide1->Caption();
    for (bool newArea : {false, true}) {
        if (newArea) chooseArea(france());
        onDialog([&](frmconfig& d) {
            d.portlist2->SetListIndex(3);
            d.portconfigcancel->click();
        });
        if (newArea) w.mnuArea.Click();
        else w.mnuPortList.Click();
        EXPECT_EQ(ReadAll(settingsPath()), settings);
        EXPECT_EQ(ReadAll(depthPath()), depths);
        EXPECT_FALSE(fs::exists(depthPath("France.DEP")));
        EXPECT_EQ(State().CurrentPort, 77);
        EXPECT_EQ(State().AreaFilePath, uk());
        EXPECT_EQ(State().DayCurve(2, 40), height);
        EXPECT_EQ(w.daystide1->Caption(), list);
        EXPECT_EQ(w.portbox->Caption(), "Port    : Dover");
    }
    EXPECT_EQ(dialogsShown, 2);
}

TEST_F(PortDialog, SeaAreaSwitchesToFranceWithItsOwnUserDepthFile) {
    frmtidewyn& w = open();
    std::string ukDepths = ReadAll(depthPath());
    chooseArea(france());
    onDialog([&](frmconfig& d) {
        // Port 77 is beyond France's 48 ports: the last port's name stands in.
        EXPECT_EQ(d.portconfigbox->Caption(), "Saint Jean-de-Luz");
        EXPECT_EQ(d.portlist2->ListCount(), 48);
        d.txtSearch->TypeText("brest");
        d.portconfigok->click();
    });
    w.mnuArea.Click();

    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    const FileDialogRequest& q = dialogs->fileRequests[0];
    EXPECT_EQ(q.title, "Select Sea Area");
    EXPECT_EQ(q.filter, "Harmonics (*.HC)|*.hc");
    EXPECT_EQ(q.initialFolder, programFolder());
    EXPECT_FALSE(q.save);

    SharedState& s = State();
    EXPECT_EQ(s.CurrentPort, 13);
    EXPECT_EQ(s.AreaFilePath, france());
    EXPECT_EQ(w.portbox->Caption(), "Port    : Brest");
    SettingsRecord r;
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    EXPECT_EQ(Trim(r.AreaPath), france());
    EXPECT_EQ(r.PortIndex, 13.0f);

    // France.DEP: one 305-byte record per port, depth 0 and the position note.
    EXPECT_EQ(s.DepthFilePath, depthPath("France.DEP"));
    EXPECT_EQ(fs::file_size(depthPath("France.DEP")), 48u * 305u);
    for (long k : {1L, 13L, 48L}) {
        DepthRecord d;
        ASSERT_TRUE(ReadDepthRecord(depthPath("France.DEP"), k, d).ok());
        PortRecord p;
        ASSERT_TRUE(ReadPortRecord(france(), k, p).ok());
        EXPECT_EQ(d.PortName, p.PortName);
        EXPECT_EQ(d.PortIndex, k);
        EXPECT_EQ(d.ChartedDepth, 0.0f);
        EXPECT_EQ(Trim(d.Notes).rfind("Position", 0), 0u);
    }
    EXPECT_EQ(ReadAll(depthPath()), ukDepths);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(PortDialog, UserDepthFileIsNamedAfterTheAreaFileWhereverItLives) {
    frmtidewyn& w = open();
    std::string area = makeArea("Elsewhere/North.coast.HC", {"Alnmouth", "Amble", "Blyth"});
    chooseArea(area);
    onDialog([&](frmconfig& d) {
        EXPECT_EQ(d.portconfigbox->Caption(), "Blyth");  // port 77 brought within the 3 ports
        d.portlist2->SetListIndex(1);
        d.portconfigok->click();
    });
    w.mnuArea.Click();
    EXPECT_EQ(State().CurrentPort, 2);
    EXPECT_EQ(State().DepthFilePath, depthPath("North.DEP"));
    EXPECT_EQ(fs::file_size(depthPath("North.DEP")), 3u * 305u);
}

TEST_F(PortDialog, PortBeyondTheAreaFileIsRefusedBeforeAnythingIsWritten) {
    frmtidewyn& w = open();
    std::string area = makeArea("Short.hc", {"One", "Two", "Three"});
    std::string before = ReadAll(settingsPath());
    chooseArea(area);
    onDialog([&](frmconfig& d) {
        d.optSortGeog->SetValue(true);
        d.cmdSort->click();
        d.portlist2->SetListIndex(2);
        fs::resize_file(area, 2 * 197);  // the file loses its last port while the dialog is open
        d.portconfigok->click();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt,
                  "Error in Port selection, Port number greater than the number of records in the file");
        EXPECT_TRUE(d.Visible());
        d.portconfigcancel->click();
    });
    w.mnuArea.Click();
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(ReadAll(settingsPath()), before);
    EXPECT_EQ(State().CurrentPort, 77);
    EXPECT_EQ(State().AreaFilePath, uk());
    EXPECT_FALSE(fs::exists(depthPath("Short.DEP")));
}

// An area whose path the settings field cannot hold (longer than its 255 bytes, characters
// outside Windows-1252) is kept all the same, and the next start opens on it.
TEST_F(PortDialog, AnAreaPathTheFieldCannotHoldIsKeptForTheNextStart) {
    const std::string cases[] = {
        std::string(120, 'a') + "/" + std::string(120, 'b') + "/Long.hc",
        "Kaart \xe6\xb5\xb7\xe5\x9b\xb3/Kaart.hc",
    };
    for (const std::string& name : cases) {
        SCOPED_TRACE(name);
        frmtidewyn& w = open();
        dialogs->messages.clear();
        const std::string area = makeArea(name, {"Alpha", "Bravo"});
        chooseArea(area);
        onDialog([&](frmconfig& d) {
            d.portlist2->SetListIndex(1);
            d.portconfigok->click();
        });
        w.mnuArea.Click();
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().prompt;
        EXPECT_EQ(State().AreaFilePath, area);
        EXPECT_EQ(State().CurrentPort, 2);
        EXPECT_EQ(w.portbox->Caption(), "Port    : Bravo");
        restart();

        frmtidewyn& again = open();
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().prompt;
        EXPECT_EQ(State().AreaFilePath, area);
        EXPECT_EQ(State().CurrentPort, 2);
        EXPECT_EQ(again.portbox->Caption(), "Port    : Bravo");
        restart();
    }
}

TEST_F(PortDialog, SeaAreaCancelledOrNotAFile) {
    frmtidewyn& w = open();
    onDialog([&](frmconfig& d) { d.portconfigcancel->click(); });
    std::optional<std::string> answers[] = {std::nullopt, "   ", home.file("missing.hc"), home.path()};
    for (const auto& a : answers) dialogs->fileAnswers.push_back(a);
    for (size_t i = 0; i < std::size(answers); ++i) w.mnuArea.Click();
    EXPECT_EQ(dialogsShown, 0);
    ASSERT_EQ(dialogs->messages.size(), 2u);
    for (const AskedMessage& m : dialogs->messages)
        EXPECT_EQ(m.prompt, "File name not recognised- you should click on a sea area.");
    EXPECT_EQ(State().AreaFilePath, uk());
}

// An area of 70,000 ports: only the first 32,767, which a port number of the program can hold,
// are offered, and the user is told so each time the dialog opens. No other port is ever opened.
TEST_F(PortDialog, AnAreaOfMorePortsThanTheProgramNumbersOffersTheFirst32767) {
    frmtidewyn& w = open();
    PortRecord port;
    ASSERT_TRUE(ReadPortRecord(uk(), 77, port).ok());
    std::string bytes;
    for (int k = 1; k <= 70000; ++k) {
        port.PortName = "P" + std::to_string(k);
        bytes += AsString(EncodePortRecord(port));
    }
    const std::string area = home.file("Big.hc");
    testing_support::WriteBytes(area, bytes);
    const std::string told =
        area + " holds 70,000 ports: the list shows the first 32,767, as the program can use no more.";

    chooseArea(area);
    onDialog([&](frmconfig& d) {
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt, told);
        ASSERT_EQ(d.portlist2->ListCount(), 32767);
        const std::vector<long> recs = records(*d.portlist2);
        EXPECT_EQ(*std::max_element(recs.begin(), recs.end()), 32767);
        // Ports past the list are not found: OK then asks for a port.
        for (const char* name : {"P65538", "P40001"}) {
            d.txtSearch->SetText(name);
            d.cmdSearch->click();
            EXPECT_EQ(d.portlist2->ListIndex(), -1) << name;
            d.portconfigok->click();
            EXPECT_EQ(dialogs->messages.back().prompt, "Select a port") << name;
        }
        EXPECT_EQ(dialogs->messages.size(), 3u);
        d.portconfigcancel->click();
    });
    w.mnuArea.Click();
    EXPECT_EQ(State().CurrentPort, 77);
    EXPECT_EQ(State().AreaFilePath, uk());

    chooseArea(area);
    onDialog([&](frmconfig& d) {
        EXPECT_EQ(dialogs->messages.back().prompt, told);
        d.txtSearch->TypeText("P32767");
        EXPECT_EQ(d.portconfigbox->Caption(), "P32767");
        d.portconfigok->click();
    });
    w.mnuArea.Click();
    EXPECT_EQ(dialogsShown, 2);
    EXPECT_EQ(dialogs->messages.size(), 4u);
    EXPECT_EQ(State().CurrentPort, 32767);
    EXPECT_EQ(w.portbox->Caption(), "Port    : P32767");
    SettingsRecord r;
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    EXPECT_EQ(r.PortIndex, 32767.0f);

    // Next Port stays on the last port the program can number; Previous Port goes back one.
    w.mnuNextPort.Click();
    EXPECT_EQ(State().CurrentPort, 32767);
    EXPECT_EQ(w.portbox->Caption().substr(0, 16), "Port    : P32767");
    w.mnuPrevPort.Click();
    EXPECT_EQ(State().CurrentPort, 32766);
    EXPECT_EQ(Trim(w.portbox->Caption()), "Port    : P32766");
    ASSERT_TRUE(ReadSettingsFile(r).ok());
    EXPECT_EQ(r.PortIndex, 32766.0f);
    EXPECT_EQ(dialogs->messages.size(), 4u);
}

TEST_F(PortDialog, PortStepsUnloadTheDialog) {
    frmtidewyn& w = open();
    State().ChosenAreaFile = State().AreaFilePath;
    Get<frmconfig>();
    ASSERT_TRUE(IsLoaded<frmconfig>());
    w.mnuNextPort.Click();
    EXPECT_FALSE(IsLoaded<frmconfig>());
}
