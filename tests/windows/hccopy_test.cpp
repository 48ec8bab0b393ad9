// The ports copy utility as a user meets it, in a copy of the program folder: the destination
// receives exactly the ports clicked, in click order, behind its own; a refused name or a failed
// write leaves every file as it was.
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/areafile.h"
#include "engine/records.h"
#include "maintenance/frmhccopy.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::ClickLine;
using testing_support::ListLines;
using testing_support::PickFile;
using testing_support::ReadAll;
namespace fs = std::filesystem;

namespace {
constexpr auto recordBytes = &testing_support::RecordBytes<PortRecord>;
// The names and sizes of the folder's files, by name.
std::vector<std::pair<std::string, uintmax_t>> listing(const std::string& folder) {
    std::vector<std::pair<std::string, uintmax_t>> out;
    for (const std::string& name : testing_support::FileNames(folder))
        out.emplace_back(name, fs::file_size(folder + "/" + name));
    return out;
}
}  // namespace

class HCCopy : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        useAreaCopies(folder);
        uk = ReadAll(folder.file("UK.hc"));
        france = ReadAll(folder.file("France.hc"));
    }

    // Opens the utility through its menu handler (its menu entry stays hidden); `user` acts on
    // it and must close it. False when the window never showed.
    bool copy(const std::function<void(frmHCcopy&)>& user) {
        frmtidewyn& main = mainWindow();
        bool shown = false;
        SetModalRunner([&](Form& f) {
            shown = true;
            auto& w = dynamic_cast<frmHCcopy&>(f);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
            user(w);
        });
        main.mnucopyconstants_Click();
        SetModalRunner({});
        EXPECT_FALSE(IsLoaded<frmHCcopy>());
        return shown;
    }
    std::string scratch() const { return folder.file("scratch.hc"); }

    testing_support::TempDir folder;
    std::string uk, france;
};

// Ports clicked in two sources, one of them twice, become a new file's records in click order;
// a destination picked after the clicks lists its own ports but still receives the queue.
TEST_F(HCCopy, QueuedPortsFromTwoSourcesMakeANewFile) {
    EXPECT_TRUE(copy([&](frmHCcopy& w) {
        EXPECT_EQ(w.Caption(), "Tidewyn Ports Copy Utility");
        EXPECT_EQ(ListLines(*w.fillist), (std::vector<std::string>{"France.hc", "UK.hc"}));
        EXPECT_EQ(ListLines(*w.fileDestName), ListLines(*w.fillist));
        PickFile(w.fillist, "UK.hc");
        EXPECT_EQ(State().EditAreaFileName, "UK.hc");
        EXPECT_EQ(State().CopySourcePath, folder.file("UK.hc"));
        ASSERT_EQ(w.List1->ListCount(), 81);
        EXPECT_EQ(w.List1->List(76), "Dover");
        std::vector<std::string> queued;
        for (int row : {76, 76, 2}) {
            ClickLine(w.List1, row);
            queued.push_back(w.List1->List(row));
        }
        PickFile(w.fillist, "France.hc");
        ASSERT_EQ(w.List1->ListCount(), 48);
        ClickLine(w.List1, 4);
        queued.push_back(w.List1->List(4));
        EXPECT_EQ(ListLines(*w.List2), queued);

        PickFile(w.fileDestName, "France.hc");
        EXPECT_EQ(w.txtname->Text(), "France");
        EXPECT_EQ(ListLines(*w.List2), ListLines(*w.List1));
        // The extension is always added.
        w.txtname->SetText("  Mine.hc ");
        w.cmdCopy->click();
    }));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_FALSE(fs::exists(folder.file("Mine.hc")));
    const std::string mine = ReadAll(folder.file("Mine.hc.hc"));
    EXPECT_EQ(mine, recordBytes(uk, 77) + recordBytes(uk, 77) + recordBytes(uk, 3) + recordBytes(france, 5));
    EXPECT_EQ(State().CopyDestPath, folder.file("Mine.hc.hc"));
    EXPECT_EQ(ReadAll(folder.file("France.hc")), france);
    EXPECT_EQ(ReadAll(folder.file("UK.hc")), uk);
}

// An existing destination keeps its records and takes the queue behind them in one replacement;
// with nothing queued it stays as it is, and a new name becomes an empty area.
TEST_F(HCCopy, AnExistingFileTakesTheQueueInOneReplacement) {
    int renames = 0;
    SetFileStepFault([&](FileStep step, const std::string& path) {
        if (step == FileStep::Rename && path.find("/UK.hc") != std::string::npos) ++renames;
        return 0;
    });
    copy([&](frmHCcopy& w) {
        PickFile(w.fillist, "France.hc");
        for (int row : {0, 47}) ClickLine(w.List1, row);
        PickFile(w.fileDestName, "UK.hc");
        EXPECT_EQ(w.txtname->Text(), "UK");
        w.cmdCopy->click();
    });
    EXPECT_EQ(renames, 1);
    EXPECT_EQ(ReadAll(folder.file("UK.hc")), uk + recordBytes(france, 1) + recordBytes(france, 48));
    // The main window's area grew behind its current port.
    EXPECT_EQ(State().CurrentPort, 77);

    renames = 0;
    for (const char* name : {"UK", "Empty"}) {
        copy([&](frmHCcopy& w) {
            w.txtname->SetText(name);
            w.cmdCopy->click();
        });
    }
    EXPECT_EQ(renames, 0);
    EXPECT_EQ(PortCount(folder.file("UK.hc")), 83);
    EXPECT_EQ(FileLength(folder.file("Empty.hc")), 0);
    EXPECT_TRUE(dialogs->messages.empty());
}

// A name that is empty, reaches out of the program folder or names the queue is refused: the
// window stays, and nothing is written.
TEST_F(HCCopy, RefusedNamesWriteNothing) {
    const struct {
        const char* typed;
        const char* message;
    } cases[] = {
        {"   ", "No file name"},
        {"scratch", "Type a file name without a folder; \"scratch\" is the program's work file."},
        {"../x", "Type a file name without a folder; \"scratch\" is the program's work file."},
        {"a\\b", "Type a file name without a folder; \"scratch\" is the program's work file."},
    };
    copy([&](frmHCcopy& w) {
        PickFile(w.fillist, "UK.hc");
        ClickLine(w.List1, 0);
        const auto before = listing(folder.path());
        for (const auto& c : cases) {
            dialogs->messages.clear();
            w.txtname->SetText(c.typed);
            w.cmdCopy->click();
            ASSERT_EQ(dialogs->messages.size(), 1u) << c.typed;
            EXPECT_EQ(dialogs->messages[0].prompt, c.message);
            EXPECT_EQ(dialogs->messages[0].title, "Tidewyn Vizoz");
            EXPECT_TRUE(w.isVisible()) << c.typed;
            EXPECT_EQ(listing(folder.path()), before) << c.typed;
            EXPECT_FALSE(fs::exists(fs::path(folder.path()).parent_path() / "x.hc"));
        }
        w.cmdCancel->click();
    });
}

// Only the final ".hc" of a picked name is dropped; the file picked is the one appended to,
// and a listed file whose name differs from the typed one only in case is appended to, never
// doubled by a new file.
TEST_F(HCCopy, TheDestinationIsTheFileMeant) {
    const struct {
        const char* listed;
        const char* picked;  // or nothing: typed
        const char* typed;
        const char* beside;  // another file, left alone
    } cases[] = {
        {"UK.old.hc", "UK.old.hc", nullptr, nullptr},  {"NORTH.HC", "NORTH.HC", nullptr, nullptr},
        {"NORTH.HC", nullptr, "NORTH", nullptr},       {"NORTH.HC", nullptr, "north", nullptr},
        {"NORTH.HC", "NORTH.HC", nullptr, "NORTH.hc"},
    };
    for (const auto& c : cases) {
        const std::string listed = folder.file(c.listed);
        fs::copy_file(folder.file("France.hc"), listed, fs::copy_options::overwrite_existing);
        if (c.beside) fs::copy_file(folder.file("France.hc"), folder.file(c.beside));
        copy([&](frmHCcopy& w) {
            PickFile(w.fillist, "UK.hc");
            ClickLine(w.List1, 76);
            if (c.picked) {
                PickFile(w.fileDestName, c.picked);
                EXPECT_EQ(w.txtname->Text(), fs::path(c.listed).stem().string());
            } else {
                w.txtname->SetText(c.typed);
            }
            w.cmdCopy->click();
        });
        EXPECT_EQ(ReadAll(listed), france + recordBytes(uk, 77)) << c.listed;
        EXPECT_EQ(State().CopyDestPath, listed);
        EXPECT_EQ(ReadAll(folder.file("UK.hc")), uk);
        if (c.beside) {
            EXPECT_EQ(ReadAll(folder.file(c.beside)), france);
            fs::remove(folder.file(c.beside));
        }
        for (const char* other : {"NORTH.hc", "north.hc"})
            EXPECT_FALSE(fs::exists(folder.file(other))) << other;
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

// A full disk while a port is queued or the queue saved is told with the path and the reason;
// the window, the queue and the destination stay as they were, and a second try saves.
TEST_F(HCCopy, AFailedWriteKeepsTheWindowTheQueueAndTheDestination) {
    copy([&](frmHCcopy& w) {
        PickFile(w.fillist, "UK.hc");
        ClickLine(w.List1, 76);
        const std::string queue = ReadAll(scratch());
        SetFileStepFault([&](FileStep step, const std::string& path) {
            return step == FileStep::Write && path.find("scratch.hc") != std::string::npos ? ENOSPC : 0;
        });
        ClickLine(w.List1, 5);
        EXPECT_EQ(ListLines(*w.List2), std::vector<std::string>{"Dover"});
        EXPECT_EQ(ReadAll(scratch()), queue);

        SetFileStepFault([&](FileStep step, const std::string& path) {
            return step == FileStep::Rename && path.find("France.hc") != std::string::npos ? ENOSPC : 0;
        });
        PickFile(w.fileDestName, "France.hc");
        w.cmdCopy->click();
        ASSERT_EQ(dialogs->messages.size(), 2u);
        for (const AskedMessage& m : dialogs->messages) {
            EXPECT_NE(m.prompt.find(folder.path()), std::string::npos) << m.prompt;
            EXPECT_NE(m.prompt.find(std::strerror(ENOSPC)), std::string::npos) << m.prompt;
        }
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(ReadAll(folder.file("France.hc")), france);
        EXPECT_EQ(ReadAll(scratch()), queue);
        EXPECT_EQ(listing(folder.path()).size(), 3u);  // no temporary file left

        SetFileStepFault({});
        w.cmdCopy->click();
    });
    EXPECT_EQ(ReadAll(folder.file("France.hc")), france + recordBytes(uk, 77));
}

// The queue starts empty over one left by an earlier run; a leftover that cannot be removed is
// told, and the window does not open, so that no port is copied that was not chosen.
TEST_F(HCCopy, ALeftoverQueueIsEmptiedOrTheWindowCloses) {
    std::ofstream(scratch(), std::ios::binary) << uk.substr(0, 2 * PortRecord::kSize);
    copy([&](frmHCcopy& w) {
        EXPECT_FALSE(fs::exists(scratch()));
        PickFile(w.fillist, "France.hc");
        ClickLine(w.List1, 0);
        w.txtname->SetText("One");
        w.cmdCopy->click();
    });
    EXPECT_EQ(ReadAll(folder.file("One.hc")), recordBytes(france, 1));

    std::ofstream(scratch(), std::ios::binary) << uk.substr(0, 2 * PortRecord::kSize);
    SetFileStepFault([](FileStep step, const std::string&) { return step == FileStep::Remove ? EACCES : 0; });
    EXPECT_FALSE(copy([](frmHCcopy&) { ADD_FAILURE() << "shown over a leftover queue"; }));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    const AskedMessage& m = dialogs->messages[0];
    EXPECT_NE(m.prompt.find(scratch()), std::string::npos) << m.prompt;
    EXPECT_NE(m.prompt.find(std::strerror(EACCES)), std::string::npos) << m.prompt;
    EXPECT_EQ(m.title, "Tidewyn Vizoz");
    EXPECT_EQ(FileLength(scratch()), static_cast<long>(2 * PortRecord::kSize));
}

// "No data" when no port is selected; Esc closes the window and copies nothing.
TEST_F(HCCopy, NoDataAndEscape) {
    copy([&](frmHCcopy& w) {
        w.List1_Click();
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt, "No data");
        EXPECT_EQ(dialogs->messages[0].title, "Tidewyn Vizoz");
        PickFile(w.fillist, "UK.hc");
        ClickLine(w.List1, 76);
        PickFile(w.fileDestName, "France.hc");
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_EQ(ReadAll(folder.file("France.hc")), france);
    EXPECT_EQ(listing(folder.path()).size(), 3u);  // the two areas and the queue
}
