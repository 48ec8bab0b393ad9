// The harmonic constants editor as a user meets it, in a copy of the program folder: an
// untouched value comes back exactly, every refusal says what is wrong and leaves the file, and
// the main window follows the ports the editor inserted or deleted.
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/areafile.h"
#include "engine/cp1252.h"
#include "engine/numtext.h"
#include "engine/records.h"
#include "maintenance/frmharmedit.h"
#include "mainwindow/frmoutoptions.h"
#include "platform/controls.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::ReadAll;
namespace fs = std::filesystem;

namespace {
constexpr long kDover = 77;
constexpr size_t kZoneOffset = 48, kZ0Offset = 49;

PortRecord recordOf(const std::string& bytes, long n) {
    return testing_support::RecordIn(bytes, n, DecodePortRecord);
}
// Where two files' bytes differ.
std::vector<size_t> differences(const std::string& a, const std::string& b) {
    std::vector<size_t> at;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) at.push_back(i);
    return at;
}
std::vector<size_t> range(size_t from, size_t count) {
    std::vector<size_t> r;
    for (size_t i = 0; i < count; ++i) r.push_back(from + i);
    return r;
}
}  // namespace

class HarmEdit : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        useAreaCopies(folder);
    }
    std::string area(const std::string& name = "UK.hc") const { return folder.file(name); }

    // Starts the program, ticks the settings' check box and opens the editor from its menu;
    // `user` acts on it and must close it.
    void edit(const std::function<void(frmharmedit&)>& user) {
        frmtidewyn& main = mainWindow();
        if (!main.mnumaintenance.Visible()) {
            withModal<frmoutoptions>(main.mnuoutputoptions, [](frmoutoptions& d) {
                d.Check1->SetValue(1);
                d.Command1->click();
            });
        }
        ASSERT_TRUE(main.mnumaintenance.Visible() && main.mnumaintainfile.Visible());
        withModal<frmharmedit>(main.mnumaintainfile, user);
    }
    static void choose(frmharmedit& e, const std::string& name) {
        const auto found = e.fileList->findItems(QString::fromStdString(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        e.fileList->SetListIndex(e.fileList->row(found.front()));
    }
    static void load(frmharmedit& e, const std::string& name, long port) {
        choose(e, name);
        e.portlist->SetListIndex(static_cast<int>(port - 1));
    }

    testing_support::TempDir folder;
};

// Accepting a port writes back exactly what was loaded, but for what the user changed: in a
// decimal-comma locale too, where a typed "1.5" is still one and a half.
TEST_F(HarmEdit, AcceptWritesBackOnlyWhatTheUserChanged) {
    UseLocale("de_DE");
    const std::string before = ReadAll(area());
    const size_t dover = (kDover - 1) * PortRecord::kSize;
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", kDover);
        EXPECT_EQ(e.txtportname->Text(), RTrim(recordOf(before, kDover).PortName));
        EXPECT_EQ(e.txtZ0->Text(), frmharmedit::NumberText(recordOf(before, kDover).Z0));
        e.chartok->click();
        EXPECT_EQ(ReadAll(area()), before);

        e.txtZ0->SetText("1.5");
        e.chartok->click();
        const std::string changed = ReadAll(area());
        EXPECT_EQ(differences(before, changed), range(dover + kZ0Offset, 4));
        EXPECT_EQ(recordOf(changed, kDover).Z0, 1.5f);

        e.txtTimeZone->SetText("-7");
        e.chartok->click();
        const std::string zoned = ReadAll(area());
        EXPECT_EQ(differences(changed, zoned), std::vector<size_t>{dover + kZoneOffset});
        EXPECT_EQ(zoned[dover + kZoneOffset], 'S');
        EXPECT_TRUE(dialogs->messages.empty());
        e.Command2->click();
    });
}

// A zone byte that is no letter, name bytes that are no character and values that no text of
// seven digits gives back are written back as they were.
TEST_F(HarmEdit, UntouchedOddBytesAndLongValuesStay) {
    PortRecord odd;
    ASSERT_TRUE(ReadPortRecord(area(), 3, odd).ok());
    odd.ZoneLetter = "l";
    odd.Z0 = std::nextafter(2.0f, 3.0f);
    odd.MonthM2Hm[5] = 1.0f / 3.0f;
    ASSERT_TRUE(WritePortRecord(area(), 3, odd).ok());
    // A zone byte of 0, and bytes that name no character in the name.
    std::string bytes = ReadAll(area());
    bytes[2 * PortRecord::kSize + kZoneOffset] = '\0';
    bytes.replace(2 * PortRecord::kSize + 5, 7, "Odd\x81\x8D\x90\x9D");
    { std::ofstream(area(), std::ios::binary | std::ios::trunc) << bytes; }
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", 3);
        EXPECT_EQ(e.txtTimeZone->Text(), "0");
        e.chartok->click();
        EXPECT_EQ(ReadAll(area()), bytes);
        e.Command2->click();
    });
}

// "Add Port" appends, "Insert Port" puts the port in front of the selected one and lists the
// ports numbered; the user depths move with their ports, and the main window opens the
// inserted port, as the settings do after a restart.
TEST_F(HarmEdit, AddAndInsertRenumberTheDepthsAndTheMainWindowFollows) {
    std::string port3Name;
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", kDover);
        e.txtportname->SetText("Dover Strait");
        e.cmdAdd->click();
        EXPECT_EQ(PortCount(area()), 82);
        EXPECT_EQ(e.portlist->ListCount(), 82);
        EXPECT_EQ(e.portlist->List(81), "Dover Strait");
        EXPECT_EQ(e.portlist->ListIndex(), -1);

        port3Name = Trim(recordOf(ReadAll(area()), 3).PortName);
        e.portlist->SetListIndex(2);
        e.txtportname->SetText("Inserted Haven");
        e.cmdInsert->click();
        EXPECT_EQ(PortCount(area()), 83);
        EXPECT_EQ(e.portlist->List(2), "3  " + recordOf(ReadAll(area()), 3).PortName);
        EXPECT_EQ(Trim(e.portlist->List(2)), "3  Inserted Haven");
        EXPECT_EQ(Trim(e.portlist->List(3)), "4  " + port3Name);
        e.Command2->click();
    });
    EXPECT_TRUE(dialogs->messages.empty());
    // The depth file (one record for each of the 81 ports when the program started) follows.
    DepthRecord d3, d4;
    ASSERT_TRUE(ReadDepthRecord(depthPath(), 3, d3).ok());
    ASSERT_TRUE(ReadDepthRecord(depthPath(), 4, d4).ok());
    EXPECT_EQ(Trim(d3.PortName), "Inserted Haven");
    EXPECT_EQ(Trim(d4.PortName), port3Name);
    EXPECT_EQ(d4.PortIndex, 4);
    EXPECT_EQ(RecordCount(depthPath(), DepthRecord::kSize), 82);

    frmtidewyn& main = Get<frmtidewyn>();
    EXPECT_EQ(State().CurrentPort, 3);
    EXPECT_EQ(main.portbox->Caption(), "Port    : Inserted Haven");
    SettingsRecord settings;
    ASSERT_TRUE(ReadSettingsFile(settings).ok());
    EXPECT_EQ(settings.PortIndex, 3.0f);
    restart();
    EXPECT_EQ(open().portbox->Caption(), "Port    : Inserted Haven");
}

// Deleting the last port leaves the current port within the file; editing another area than
// the one in use leaves the current port and the settings alone.
TEST_F(HarmEdit, DeleteKeepsTheCurrentPortWithinTheAreaInUse) {
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", 81);
        EXPECT_EQ(State().CurrentPort, 81);
        e.cmdDelete->click();
        EXPECT_EQ(PortCount(area()), 80);
        EXPECT_EQ(e.portlist->ListCount(), 80);
        e.Command2->click();
    });
    EXPECT_EQ(State().CurrentPort, 80);
    const std::string settings = ReadAll(settingsPath());
    const std::string france = ReadAll(area("France.hc"));
    edit([&](frmharmedit& e) {
        load(e, "France.hc", 5);
        e.cmdDelete->click();
        e.Command2->click();
    });
    EXPECT_EQ(PortCount(area("France.hc")), 47);
    EXPECT_EQ(ReadAll(area("France.hc")),
              france.substr(0, 4 * PortRecord::kSize) + france.substr(5 * PortRecord::kSize));
    EXPECT_EQ(State().CurrentPort, 80);
    EXPECT_EQ(ReadAll(settingsPath()), settings);
    EXPECT_TRUE(dialogs->messages.empty());
}

// Leaving M2hm after a change fills the twelve monthly values with it, by a press of the mouse
// on a button too (before the button's own click); leaving January's fills M2hm alone.
TEST_F(HarmEdit, LeavingTheM2AmplitudeFillsTheMonths) {
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", kDover);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&e));  // focus moves in the active window only
        // Passing through the box as loaded copies nothing: monthly values of their own stay.
        e.txtfebm2->SetText("1.1");
        e.txtM2Hm->setFocus();
        e.txtZ0->setFocus();
        EXPECT_EQ(e.txtfebm2->Text(), "1.1");
        e.txtM2Hm->setFocus();
        e.txtM2Hm->SetText("1.35");
        QTest::mouseClick(e.chartok, Qt::LeftButton);
        for (TextBox* m : e.MonthM2Boxes()) EXPECT_EQ(m->Text(), "1.35");
        const PortRecord written = recordOf(ReadAll(area()), kDover);
        for (float v : written.MonthM2Hm) EXPECT_EQ(v, 1.35f);

        e.txtjanm2->setFocus();
        e.txtjanm2->SetText("1.40");
        e.txtfebm2->setFocus();
        EXPECT_EQ(e.txtM2Hm->Text(), "1.40");
        EXPECT_EQ(e.txtfebm2->Text(), "1.35");
        e.Command2->click();
    });
}

// The area list: every "*.hc" file by its own name, whatever its case, without the rebuild's
// work file, which the sea-area choice refuses too; Esc closes the editor.
TEST_F(HarmEdit, AreaListAndEscape) {
    fs::copy_file(area(), folder.file("NORTH.HC"));
    fs::copy_file(area(), folder.file("scratch.hc"));
    std::string before = ReadAll(folder.file("NORTH.HC"));
    edit([&](frmharmedit& e) {
        EXPECT_EQ(testing_support::ListLines(*e.fileList),
                  (std::vector<std::string>{"France.hc", "NORTH.HC", "UK.hc"}));
        load(e, "NORTH.HC", 2);
        EXPECT_EQ(State().EditAreaFileName, "NORTH.HC");
        EXPECT_EQ(State().EditAreaFilePath, folder.file("NORTH.HC"));
        EXPECT_EQ(State().CurrentPort, kDover);  // not the area in use
        e.txtZ0->SetText("2");
        e.chartok->click();
        EXPECT_EQ(recordOf(ReadAll(folder.file("NORTH.HC")), 2).Z0, 2.0f);
        const int beeps = BeepCount();
        PressKey(e, Qt::Key_Escape);
        EXPECT_EQ(BeepCount(), beeps);
    });
    frmtidewyn& main = Get<frmtidewyn>();
    dialogs->fileAnswers.push_back(folder.file("scratch.hc"));
    main.mnuArea.Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt, "File name not recognised- you should click on a sea area.");
    EXPECT_EQ(State().AreaFilePath, area());
}

// The name loads without its padding, so that a letter typed at its end is stored; a name of
// 35 characters is stored whole, counted as the file stores them, one byte a character.
TEST_F(HarmEdit, TypedNameIsStoredWhole) {
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", kDover);
        EXPECT_EQ(e.txtportname->Text(), "Dover");
        e.txtportname->setFocus();
        e.txtportname->setCursorPosition(0);
        PressKey(*e.txtportname, Qt::Key_End);
        PressKey(*e.txtportname, Qt::Key_X, Qt::ShiftModifier);
        e.chartok->click();
        EXPECT_EQ(RTrim(recordOf(ReadAll(area()), kDover).PortName), "DoverX");

        const std::string accented = "Île-Tudy, Rivière de Pont-l'Abbé SE";
        e.txtportname->SetText(accented);
        e.chartok->click();
        const std::string stored = ReadAll(area()).substr((kDover - 1) * PortRecord::kSize + 5, 35);
        EXPECT_EQ(Cp1252ToUtf8(stored), accented);
        EXPECT_TRUE(dialogs->messages.empty());
        e.Command2->click();
    });
}

// Every refusal says what is wrong, with its title and icon, and leaves the file as it was.
TEST_F(HarmEdit, RefusalsLeaveTheFile) {
    const std::string noArea = "Select an existing area from the File -> Area Select Menu!!";
    const int warning = kOkOnly | kExclamation;
    // 36 characters in 39 bytes of UTF-8.
    const std::string longName = "Île-Tudy, Rivière de Pont-l'Abbé Sud";
    const std::string nameTooLong =
        "The port name has 36 characters; an area file holds 35 at most. Please shorten it.";
    const std::string tooHigh =
        "The constants can give heights of 14,331 m, more than any sea's tide (25 m).";
    // Dover loaded, then `text` typed into `box`.
    const auto afterTyping = [](TextBox* frmharmedit::*box, std::string text) {
        return [box, text](frmharmedit& e) {
            load(e, "UK.hc", kDover);
            (e.*box)->SetText(text);
        };
    };
    struct Case {
        const char* name;
        std::function<void(frmharmedit&)> setUp;
        CommandButton* frmharmedit::*button;
        std::string prompt;
        int style;
        std::string title;
    } cases[] = {
        {"no area: accept", [](frmharmedit&) {}, &frmharmedit::chartok, noArea, kOkOnly, " "},
        {"no area: insert", [](frmharmedit&) {}, &frmharmedit::cmdInsert, noArea, kOkOnly, " "},
        {"no area: delete", [](frmharmedit&) {}, &frmharmedit::cmdDelete, noArea, kOkOnly, " "},
        {"no port: accept",
         [](frmharmedit& e) {
             choose(e, "UK.hc");
             e.txtportname->SetText("X");
             e.txtportlat->SetText("50.00.00N");
         },
         &frmharmedit::chartok, "Error - No port selected", warning, "Tidewyn"},
        {"no port: insert",
         [](frmharmedit& e) {
             choose(e, "UK.hc");
             e.txtportname->SetText("X");
             e.txtportlat->SetText("50.00.00N");
         },
         &frmharmedit::cmdInsert, "Error - No port selected", warning, "Tidewyn"},
        {"no port: delete", [](frmharmedit& e) { choose(e, "UK.hc"); }, &frmharmedit::cmdDelete,
         "Error - No port selected", warning, "Tidewyn"},
        {"empty latitude", afterTyping(&frmharmedit::txtportlat, ""), &frmharmedit::chartok,
         "Error - Latitude entry", warning, "Tidewyn"},
        {"latitude 0 on add", afterTyping(&frmharmedit::txtportlat, "0.00.00N"), &frmharmedit::cmdAdd,
         "Error - Latitude entry", warning, "Tidewyn"},
        {"blank name", afterTyping(&frmharmedit::txtportname, "   "), &frmharmedit::cmdAdd,
         "Error - No port selected", warning, "Tidewyn"},
        {"name beyond the code page", afterTyping(&frmharmedit::txtportname, "Ωmega"), &frmharmedit::chartok,
         "The port name holds characters that cannot be stored in the area file. Please remove them.",
         warning, "Tidewyn"},
        {"number beyond the code page", afterTyping(&frmharmedit::txtportno, "★1"), &frmharmedit::cmdInsert,
         "The port number holds characters that cannot be stored in the area file. Please remove them.",
         warning, "Tidewyn"},
        {"name too long: accept", afterTyping(&frmharmedit::txtportname, longName), &frmharmedit::chartok,
         nameTooLong, warning, "Tidewyn"},
        {"name too long: add", afterTyping(&frmharmedit::txtportname, longName), &frmharmedit::cmdAdd,
         nameTooLong, warning, "Tidewyn"},
        {"name too long: insert", afterTyping(&frmharmedit::txtportname, longName), &frmharmedit::cmdInsert,
         nameTooLong, warning, "Tidewyn"},
        {"latitude beyond the pole", afterTyping(&frmharmedit::txtportlat, "95.00.00N"),
         &frmharmedit::chartok, "Lat. must lie between -90 and 90.", warning, "Tidewyn"},
        {"Z0 too high", afterTyping(&frmharmedit::txtZ0, "150"), &frmharmedit::chartok,
         "Z0 must lie between -100 and 100.", warning, "Tidewyn"},
        {"phase too large", afterTyping(&frmharmedit::txtM2g, "-4000"), &frmharmedit::cmdAdd,
         "M2g must lie between -3600 and 3600.", warning, "Tidewyn"},
        {"F6 with an exponent", afterTyping(&frmharmedit::txtLF6, "1E39"), &frmharmedit::chartok,
         "F6 must be a number such as 2.5 or -1,5.", warning, "Tidewyn"},
        {"month of forty digits", afterTyping(&frmharmedit::txtfebdz0, "1" + std::string(40, '0')),
         &frmharmedit::cmdInsert, "Delta Z0 Feb. must lie between -100 and 100.", warning, "Tidewyn"},
        {"monthly M2", afterTyping(&frmharmedit::txtdecm2, "-101"), &frmharmedit::chartok,
         "MHm2 Monthly Values Dec. must lie between -100 and 100.", warning, "Tidewyn"},
        // Dover's other constants with S2 at 90 m, within its range: high waters of kilometres.
        {"S2 beyond any sea: accept", afterTyping(&frmharmedit::txtS2Hm, "90"), &frmharmedit::chartok,
         tooHigh, warning, "Tidewyn"},
        {"S2 beyond any sea: add", afterTyping(&frmharmedit::txtS2Hm, "90"), &frmharmedit::cmdAdd, tooHigh,
         warning, "Tidewyn"},
        {"S2 beyond any sea: insert", afterTyping(&frmharmedit::txtS2Hm, "90"), &frmharmedit::cmdInsert,
         tooHigh, warning, "Tidewyn"},
    };
    const std::string before = ReadAll(area());
    edit([&](frmharmedit& e) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            // Each case starts with no area chosen, as the editor opens.
            State().EditAreaFilePath.clear();
            e.fileList->setCurrentRow(-1);
            e.portlist->Clear();
            c.setUp(e);
            const int16_t port = State().CurrentPort;
            dialogs->messages.clear();
            (e.*c.button)->click();
            ASSERT_EQ(dialogs->messages.size(), 1u);
            EXPECT_EQ(dialogs->messages[0].prompt, c.prompt);
            EXPECT_EQ(dialogs->messages[0].style, c.style);
            EXPECT_EQ(dialogs->messages[0].title, c.title);
            EXPECT_EQ(ReadAll(area()), before);
            EXPECT_EQ(State().CurrentPort, port);
            EXPECT_FALSE(fs::exists(folder.file("scratch.hc")));
        }
        e.Command2->click();
    });
}

// A record the reader calls damaged loads after its message, for the user to correct; as long
// as the damaged value stands, it is not written.
TEST_F(HarmEdit, ADamagedRecordLoadsToBeCorrected) {
    PortRecord dover;
    ASSERT_TRUE(ReadPortRecord(area(), kDover, dover).ok());
    dover.K1g = std::nanf("");
    ASSERT_TRUE(WritePortRecord(area(), kDover, dover).ok());
    const std::string before = ReadAll(area());
    edit([&](frmharmedit& e) {
        dialogs->messages.clear();
        load(e, "UK.hc", kDover);
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_NE(dialogs->messages[0].prompt.find("K1g is not a number"), std::string::npos);
        EXPECT_EQ(e.txtK1g->Text(), "");
        e.chartok->click();
        ASSERT_EQ(dialogs->messages.size(), 2u);
        EXPECT_EQ(dialogs->messages[1].prompt, "K1g must lie between -3600 and 3600.");
        EXPECT_EQ(ReadAll(area()), before);
        e.txtK1g->SetText("12.5");
        e.chartok->click();
        EXPECT_EQ(recordOf(ReadAll(area()), kDover).K1g, 12.5f);
        e.Command2->click();
    });
}

// A write that fails says where and why, the area file keeps its bytes and the current port
// stays.
TEST_F(HarmEdit, AFailedWriteIsToldAndLeavesTheFile) {
    const std::string before = ReadAll(area());
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", kDover);
        e.txtZ0->SetText("3");
        SetFileStepFault(
            [](FileStep step, const std::string&) { return step == FileStep::Write ? ENOSPC : 0; });
        for (CommandButton* b : {e.chartok, e.cmdAdd, e.cmdInsert, e.cmdDelete}) {
            dialogs->messages.clear();
            e.portlist->SetListIndex(kDover - 1);
            State().CurrentPort = 5;  // not changed by a failure
            b->click();
            EXPECT_EQ(State().CurrentPort, 5);
            ASSERT_EQ(dialogs->messages.size(), 1u) << b->Caption();
            const AskedMessage& m = dialogs->messages[0];
            EXPECT_NE(m.prompt.find(folder.path()), std::string::npos) << m.prompt;
            EXPECT_NE(m.prompt.find(std::strerror(ENOSPC)), std::string::npos) << m.prompt;
            EXPECT_EQ(m.style, kOkOnly | kExclamation);
            EXPECT_EQ(m.title, "Tidewyn");
            EXPECT_EQ(ReadAll(area()), before);
        }
        SetFileStepFault({});
        e.Command2->click();
    });
}

// A save whose folder cannot be synced once the new file took its place is a save: the warning
// is told once, never as a failure, and the list and the current port follow the file.
TEST_F(HarmEdit, ASaveWhoseFolderCannotBeSyncedIsASave) {
    const std::string original = ReadAll(area());
    const std::string depthFolder = fs::path(depthPath()).parent_path().string();
    struct Case {
        const char* name;
        CommandButton* frmharmedit::*button;
        std::string unsynced;   // the folder whose sync fails
        long ports;             // in the area file afterwards
        long typedAt;           // the record that holds the typed latitude; 0: none
        int16_t before, after;  // the current port
    } cases[] = {
        {"accept", &frmharmedit::chartok, folder.path(), 81, kDover, kDover, kDover},
        {"add", &frmharmedit::cmdAdd, folder.path(), 82, 82, 5, 5},
        {"insert", &frmharmedit::cmdInsert, folder.path(), 82, kDover, 5, kDover},
        {"delete", &frmharmedit::cmdDelete, folder.path(), 80, 0, 5, kDover},
        {"insert, the depths' folder", &frmharmedit::cmdInsert, depthFolder, 82, kDover, 5, kDover},
    };
    edit([&](frmharmedit& e) {
        const std::string depths = ReadAll(depthPath());
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            testing_support::WriteBytes(area(), original);
            testing_support::WriteBytes(depthPath(), depths);
            e.fileList->setCurrentRow(-1);
            load(e, "UK.hc", kDover);
            e.txtportlat->SetText("51.00.00N");
            State().CurrentPort = c.before;
            dialogs->messages.clear();
            SetFileStepFault([&](FileStep step, const std::string& path) {
                return step == FileStep::FolderSync && path == c.unsynced ? EIO : 0;
            });
            (e.*c.button)->click();
            SetFileStepFault({});
            ASSERT_EQ(dialogs->messages.size(), 1u);
            EXPECT_EQ(dialogs->messages[0].prompt,
                      (c.unsynced == depthFolder ? depthPath() : area()) +
                          " was written, but its folder could not be synced: " + std::strerror(EIO));
            const std::string saved = ReadAll(area());
            EXPECT_EQ(PortCount(area()), c.ports);
            EXPECT_EQ(e.portlist->ListCount(), c.ports);
            if (c.typedAt) {
                EXPECT_EQ(recordOf(saved, c.typedAt).Latitude, 51.0f);
            } else {
                EXPECT_EQ(saved, original.substr(0, (kDover - 1) * PortRecord::kSize) +
                                     original.substr(kDover * PortRecord::kSize));
            }
            EXPECT_EQ(State().CurrentPort, c.after);
            if (c.button == &frmharmedit::chartok) {
                EXPECT_EQ(State().PortLatitude, 51.0);
            }
            // The depths follow the ports they belong to.
            if (c.button == &frmharmedit::cmdInsert || c.button == &frmharmedit::cmdDelete) {
                EXPECT_EQ(RecordCount(depthPath(), DepthRecord::kSize), c.ports);
            }
        }
        e.Command2->click();
    });
}

// In a program folder that may not be written, "Add Port" names that folder, where the
// temporary file could not be made, not the area file, which may be written.
TEST_F(HarmEdit, AddInAReadOnlyFolderNamesTheFolder) {
    const std::string before = ReadAll(area());
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", kDover);
        e.txtportname->SetText("Dover West");
        dialogs->messages.clear();
        {
            const testing_support::ReadOnlyFolder readOnly(folder.path());
            e.cmdAdd->click();
        }
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt,
                  "The port cannot be added: Cannot create a temporary file in " + folder.path() + ": " +
                      std::strerror(EACCES));
        EXPECT_EQ(ReadAll(area()), before);
        e.Command2->click();
    });
}

// Closing the editor empties the month view, whose rows may be of a changed record, and a
// current port that cannot be kept in the settings is told.
TEST_F(HarmEdit, ClosingEmptiesTheMonthViewAndTellsASettingsFailure) {
    frmtidewyn& main = open();
    main.mnumonth.Click();
    ASSERT_TRUE(main.monthspredictions->isVisibleTo(&main));
    SetFileStepFault([&](FileStep step, const std::string& path) {
        return step == FileStep::Write && path.find("TdwTidesv9.cfg") != std::string::npos ? EROFS : 0;
    });
    edit([&](frmharmedit& e) {
        load(e, "UK.hc", 12);
        e.Command2->click();
    });
    SetFileStepFault({});
    EXPECT_FALSE(main.monthspredictions->isVisibleTo(&main));
    EXPECT_EQ(main.monthspredictions->ListCount(), 0);
    EXPECT_EQ(State().CurrentPort, 12);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt.rfind("The settings cannot be saved: ", 0), 0u)
        << dialogs->messages[0].prompt;
    SettingsRecord settings;
    ASSERT_TRUE(ReadSettingsFile(settings).ok());
    EXPECT_EQ(settings.PortIndex, static_cast<float>(kDover));
}

// The keys each box takes, with the beeps of what they drop. Ctrl+V pastes
// nothing into a filtered box.
TEST_F(HarmEdit, KeyFilters) {
    QApplication::clipboard()->setText("12");
    struct Key {
        int key;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    };
    auto typed = [](const std::string& text) {
        std::vector<Key> keys;
        for (char c : text) {
            const bool capital = c >= 'A' && c <= 'Z';
            keys.push_back({capital || (c >= 'a' && c <= 'z') ? Qt::Key_A + (std::toupper(c) - 'A') : c,
                            capital ? Qt::ShiftModifier : Qt::NoModifier});
        }
        return keys;
    };
    struct Case {
        const char* name;
        TextBox* frmharmedit::*box;
        std::vector<Key> keys;
        std::string text;
        int beeps;
    } cases[] = {
        {"numbers", &frmharmedit::txtZ0, typed("1.5e"), "1.5", 1},
        {"signs", &frmharmedit::txtTimeZone, typed("-+7"), "-+7", 0},
        {"a comma", &frmharmedit::txtjanm2, typed("2,5"), "2,5", 0},
        {"latitude", &frmharmedit::txtportlat, typed("50.45.00n"), "50.45.00N", 0},
        {"east in a latitude", &frmharmedit::txtportlat, typed("E"), "", 1},
        {"longitude", &frmharmedit::txtportlong, typed("001.23.00w"), "001.23.00W", 0},
        {"north in a longitude", &frmharmedit::txtportlong, typed("n"), "", 1},
        {"Enter", &frmharmedit::txtZ0, {{Qt::Key_Return}}, "", 1},
        {"Backspace", &frmharmedit::txtsf6, {{'1'}, {'2'}, {Qt::Key_Backspace}}, "1", 0},
        {"Ctrl+V", &frmharmedit::txtM2g, {{Qt::Key_V, Qt::ControlModifier}}, "", 1},
        {"no filter", &frmharmedit::txtportname, typed("Ab, c"), "Ab, c", 0},
    };
    edit([&](frmharmedit& e) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            TextBox& box = *(e.*c.box);
            box.SetText("");
            const int before = BeepCount();
            for (const Key& k : c.keys) PressKey(box, k.key, k.modifiers);
            EXPECT_EQ(box.Text(), c.text);
            EXPECT_EQ(BeepCount() - before, c.beeps);
        }
        e.Command2->click();
    });
}
