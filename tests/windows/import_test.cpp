// The chart import dialog on folders of its own: each index file's companions arrive whole in a
// temporary program folder, a failed copy is told and leaves its target as it was, and a volume
// that cannot be read falls back to "/" once.
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include "engine/records.h"
#include "maintenance/frmimport.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::FileNames;
using testing_support::ReadAll;
using testing_support::TempDir;
using testing_support::WithoutSuffix;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

class Import : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Env().programFolder = program.path();
        SetVolumeSource([this] { return volumes; });
    }
    void TearDown() override {
        SetVolumeSource({});
        WindowTest::TearDown();
    }
    // The dialog pointed at the source folder.
    frmimport& dialogOn(const std::string& folder) {
        auto& d = Get<frmimport>();
        d.dirDirectories->SetPath(folder);
        return d;
    }
    // "Import Files", then what the messages said.
    std::vector<AskedMessage> import(frmimport& d) {
        d.cmdimport->click();
        EXPECT_EQ(d.CurrentPointer(), MousePointer::Default);
        EXPECT_FALSE(IsLoaded<frmimport>());
        return dialogs->messages;
    }
    void expectCount(const AskedMessage& m, const std::string& prompt) {
        EXPECT_EQ(m.prompt, prompt);
        EXPECT_EQ(m.style, kOkOnly);
        EXPECT_EQ(m.title, "Tidewyn");
    }

    TempDir program, source;
    std::vector<Volume> volumes{{"/", true}};
};

TEST_F(Import, StartsOnTheProgramFoldersVolumeAndFolder) {
    volumes = {{"/", true}, {program.path(), true}, {source.path(), true}};
    WriteBytes(program.file("Own.cha"), "index");
    auto& d = Get<frmimport>();
    EXPECT_EQ(d.Caption(), "Import Charts");
    EXPECT_NEAR(d.Left() + d.Width() / 2, Form::ScreenLeft() + Form::ScreenWidth() / 2, 30 * kTwipsPerPixel);
    EXPECT_NEAR(d.Top() + d.Height() / 2, Form::ScreenTop() + Form::ScreenHeight() / 2, 30 * kTwipsPerPixel);
    EXPECT_EQ(d.lblDrives->Caption(), "Select drive containing the charts disk (eg. A:)");
    EXPECT_EQ(d.lblDirectories->Caption(), "Double Click the folder containing Tidal Stream Atlas ");
    EXPECT_EQ(d.Frame1->title().toStdString(), "Files");
    EXPECT_EQ(d.lblFiles->Caption(), "Area to be imported");
    EXPECT_EQ(d.cmdimport->Caption(), "Import Files");
    EXPECT_EQ(d.Cmdfinished->Caption(), "Exit");
    EXPECT_EQ(d.drvDrives->Drives(), (std::vector<std::string>{"/", std::min(program.path(), source.path()),
                                                               std::max(program.path(), source.path())}));
    EXPECT_EQ(d.drvDrives->Drive(), program.path());
    EXPECT_EQ(d.dirDirectories->Path(), program.path());
    EXPECT_EQ(d.filFilenames->Path(), program.path());
    EXPECT_EQ(testing_support::ListLines(*d.filFilenames), std::vector<std::string>{"Own.cha"});
    // Another volume: its root folder and its index files.
    WriteBytes(source.file("Other.CHA"), "index");
    d.drvDrives->setCurrentIndex(d.drvDrives->findText(QString::fromStdString(source.path())));
    EXPECT_EQ(d.dirDirectories->Path(), source.path());
    EXPECT_EQ(testing_support::ListLines(*d.filFilenames), std::vector<std::string>{"Other.CHA"});
    EXPECT_EQ(d.CurrentPointer(), MousePointer::Default);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(Import, CopiesTheCompanionsThereAreAndCountsTheIndexFiles) {
    WriteBytes(source.file("Solent.cha"), "index");
    const std::string diamonds(3 * TidalDiamondRecord::kSize, '\x7f');
    WriteBytes(source.file("Solent.l20"), diamonds);
    const auto messages = import(dialogOn(source.path()));
    ASSERT_EQ(messages.size(), 1u);
    expectCount(messages[0], " 1 files transferred");
    EXPECT_EQ(ReadAll(program.file("Solent.l20")), diamonds);
    EXPECT_EQ(FileNames(program.path()), std::vector<std::string>{"Solent.l20"});  // no index, no work file
}

TEST_F(Import, NothingToImport) {
    WriteBytes(source.file("Solent.l20"), "diamonds");
    const auto messages = import(dialogOn(source.path()));
    ASSERT_EQ(messages.size(), 2u);
    expectCount(messages[0], "Nothing to import");
    expectCount(messages[1], " 0 files transferred");
    EXPECT_TRUE(FileNames(program.path()).empty());
}

// A base ends at the first dot; names match in any case; a file of the program folder spelt
// otherwise is replaced under its own name.
TEST_F(Import, NamesOfTheSetAndFilesReplaced) {
    const std::vector<std::pair<std::string, std::string>> sourceFiles{
        {"A.B.cha", "index"},   {"A.cht", "chart A"},       {"A.B.l20", "not a companion"},
        {"NORTH.CHA", "index"}, {"NORTH.L20", "new north"}, {"north.l30", "north streams"}};
    for (const auto& [name, bytes] : sourceFiles) WriteBytes(source.file(name), bytes);
    WriteBytes(program.file("A.cht"), "old chart A");
    WriteBytes(program.file("NORTH.L20"), "old north");
    const auto messages = import(dialogOn(source.path()));
    ASSERT_EQ(messages.size(), 1u);
    expectCount(messages[0], " 2 files transferred");
    EXPECT_EQ(FileNames(program.path()), (std::vector<std::string>{"A.cht", "NORTH.L20", "NORTH.l30"}));
    EXPECT_EQ(ReadAll(program.file("A.cht")), "chart A");
    EXPECT_EQ(ReadAll(program.file("NORTH.L20")), "new north");
    EXPECT_EQ(ReadAll(program.file("NORTH.l30")), "north streams");
}

TEST_F(Import, FromTheProgramFolderItselfLeavesItsFilesWhole) {
    const std::vector<std::pair<std::string, std::string>> files{
        {"Set.cha", "index"},
        {"Set.cht", "chart"},
        {"Set.l20", std::string(TidalDiamondRecord::kSize, '\x01')}};
    for (const auto& [name, bytes] : files) WriteBytes(program.file(name), bytes);
    const auto messages = import(dialogOn(program.path()));
    ASSERT_EQ(messages.size(), 1u);
    expectCount(messages[0], " 1 files transferred");
    for (const auto& [name, bytes] : files) EXPECT_EQ(ReadAll(program.file(name)), bytes) << name;
    EXPECT_EQ(FileNames(program.path()).size(), files.size());
}

// A target that cannot be written, a source that cannot be read and one that cannot be opened:
// each listed on a line of its own with its path and reason, the target as it was, the others
// copied, then the count.
TEST_F(Import, FailedCopiesAreToldAndLeaveTheirTargets) {
    for (const char* name : {"Set.cha", "Set.cht", "Set.l20", "Set.l30"}) WriteBytes(source.file(name), name);
    fs::create_symlink("Set.l40", source.file("Set.l40"));  // a link to itself
    WriteBytes(program.file("Set.l20"), "old diamonds");
    const std::string target = program.file("Set.l20"), unreadable = source.file("Set.l30");
    auto& d = dialogOn(source.path());
    std::vector<MousePointer> duringCopies;
    SetFileStepFault([&](FileStep step, const std::string& path) {
        duringCopies.push_back(d.CurrentPointer());
        return step == FileStep::Write && WithoutSuffix(path, ".tmp~") == target ? ENOSPC : 0;
    });
    SetReadFault([&](const std::string& path) { return path == unreadable ? EIO : 0; });
    const auto messages = import(d);
    ASSERT_EQ(messages.size(), 2u);
    const std::string& told = messages[0].prompt;
    std::vector<std::string> lines;
    for (size_t at = 0, end; at <= told.size(); at = end + 2) {
        end = std::min(told.find("\r\n", at), told.size());
        lines.push_back(told.substr(at, end - at));
    }
    ASSERT_EQ(lines.size(), 4u) << told;
    EXPECT_EQ(lines[0], "These files could not be copied:");
    const std::pair<std::string, int> reasons[] = {
        {target, ENOSPC}, {unreadable, EIO}, {source.file("Set.l40"), ELOOP}};
    for (size_t i = 0; i < std::size(reasons); ++i) {
        EXPECT_NE(lines[i + 1].find(reasons[i].first + ": "), std::string::npos) << lines[i + 1];
        EXPECT_TRUE(lines[i + 1].ends_with(std::strerror(reasons[i].second))) << lines[i + 1];
    }
    EXPECT_EQ(messages[0].style, kOkOnly | kExclamation);
    EXPECT_EQ(messages[0].title, "Tidewyn");
    expectCount(messages[1], " 1 files transferred");
    EXPECT_EQ(ReadAll(target), "old diamonds");
    EXPECT_EQ(ReadAll(program.file("Set.cht")), "Set.cht");
    EXPECT_EQ(FileNames(program.path()), (std::vector<std::string>{"Set.cht", "Set.l20"}));
    ASSERT_FALSE(duringCopies.empty());
    EXPECT_EQ(std::set(duringCopies.begin(), duringCopies.end()), std::set{MousePointer::Hourglass});
}

TEST_F(Import, ALongListOfFailuresIsCutShort) {
    for (const char* base : {"A.", "B.", "C.", "D."}) {
        WriteBytes(source.file(std::string(base) + "cha"), "index");
        for (const char* ending : {"cht", "l20", "l30", "l40"})
            WriteBytes(source.file(base + std::string(ending)), "x");
    }
    SetReadFault([](const std::string&) { return EIO; });
    const auto messages = import(dialogOn(source.path()));
    ASSERT_EQ(messages.size(), 2u);
    const std::string& told = messages[0].prompt;
    EXPECT_NE(told.find(source.file("C.l40")), std::string::npos) << told;  // the 12th
    EXPECT_EQ(told.find(source.file("D.cht")), std::string::npos) << told;
    EXPECT_TRUE(told.ends_with("\r\n... and 4 more")) << told;
    expectCount(messages[1], " 4 files transferred");
    EXPECT_TRUE(FileNames(program.path()).empty());
}

// A volume that cannot be read: one message, the list back on "/" once; when "/" cannot be read
// either, the lists stay empty. "/" chosen when it cannot be read: the message, empty lists, and
// the next such volume is told as well.
TEST_F(Import, VolumeThatCannotBeRead) {
    struct Case {
        const char* name;
        bool rootReadable;
        bool chooseRoot;
    };
    for (const Case& c : {Case{"root readable", true, false}, Case{"root unreadable", false, false},
                          Case{"root chosen, unreadable", false, true}}) {
        SCOPED_TRACE(c.name);
        dialogs->messages.clear();
        volumes = {{"/", c.rootReadable}, {program.path(), true}, {source.path(), false}};
        auto& d = Get<frmimport>();
        std::vector<MousePointer> whileListing;
        QObject::connect(d.dirDirectories, &DirListBox::Change,
                         [&] { whileListing.push_back(d.CurrentPointer()); });
        ASSERT_TRUE(d.drvDrives->SetDrive(c.chooseRoot ? "/" : source.path()));
        ASSERT_EQ(dialogs->messages.size(), 1u);
        expectCount(dialogs->messages[0], "Drive not ready\rOR a defective copy of charts disk");
        EXPECT_EQ(d.drvDrives->Drive(), "/");
        EXPECT_EQ(d.dirDirectories->Path(), c.rootReadable ? "/" : "");
        EXPECT_EQ(d.filFilenames->Path(), d.dirDirectories->Path());
        EXPECT_EQ(d.dirDirectories->Folders().empty(), !c.rootReadable);
        EXPECT_EQ(d.filFilenames->ListCount(), 0);
        EXPECT_EQ(d.CurrentPointer(), MousePointer::Default);
        ASSERT_FALSE(whileListing.empty());
        EXPECT_EQ(std::set(whileListing.begin(), whileListing.end()), std::set{MousePointer::Hourglass});
        if (c.chooseRoot) {
            ASSERT_TRUE(d.drvDrives->SetDrive(source.path()));
            EXPECT_EQ(dialogs->messages.size(), 2u);
            EXPECT_EQ(d.drvDrives->Drive(), "/");
        }
        d.Cmdfinished->click();
        EXPECT_FALSE(IsLoaded<frmimport>());
    }
}

TEST_F(Import, DoubleClickOpensAFolderAndTheFilesFollow) {
    fs::create_directories(source.file("Atlas"));
    fs::create_directories(source.file("Other"));
    WriteBytes(source.file("Atlas/Wight.cha"), "index");
    auto& d = dialogOn(source.path());
    d.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    const auto found = d.dirDirectories->findItems("Atlas", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    QWidget* view = d.dirDirectories->viewport();
    const QPoint at = d.dirDirectories->visualItemRect(found.front()).center();
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    EXPECT_EQ(d.dirDirectories->Path(), source.path());  // one click chooses nothing
    QTest::mouseDClick(view, Qt::LeftButton, {}, at);
    EXPECT_EQ(d.dirDirectories->Path(), source.file("Atlas"));
    EXPECT_EQ(testing_support::ListLines(*d.filFilenames), std::vector<std::string>{"Wight.cha"});
    // The folders on the way, open, then the one inside none.
    const auto folders = d.dirDirectories->Folders();
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), "/");
    EXPECT_EQ(folders.back(), source.file("Atlas"));
    EXPECT_EQ(d.CurrentPointer(), MousePointer::Default);
    // Esc is "Exit".
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(IsLoaded<frmimport>());
    EXPECT_TRUE(dialogs->messages.empty());
}
