#include "engine/folders.h"

#include <filesystem>
#include <fstream>

#include "engine/state.h"
#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;
using testing_support::TempDir;
namespace fs = std::filesystem;

class Folders : public EngineTest {};

TEST_F(Folders, MakeFoldersCreatesTheTreeAndIsQuietWhenItExists) {
    TempDir dir;
    State().AppDataFolder = dir.file("appdata/deep");  // missing parents are made
    State().DocumentsFolder = dir.file("docs");
    for (int pass = 0; pass < 2; ++pass) {
        MakeAppDataFolder();
        MakeUserDepthsFolder();
        MakeTextOutputFolder();
    }
    EXPECT_TRUE(fs::is_directory(dir.file("appdata/deep/TidewynTides")));
    EXPECT_TRUE(fs::is_directory(dir.file("docs/TidewynTides/UserDepths")));
    EXPECT_TRUE(fs::is_directory(dir.file("docs/TidewynTides/TextOutput")));
    EXPECT_EQ(State().TextOutputFolder, dir.file("docs/TidewynTides/TextOutput"));
    EXPECT_EQ(BuildSettingsFilePath(), dir.file("appdata/deep/TidewynTides/TdwTidesv9.cfg"));
}

TEST_F(Folders, TextOutputFolderIsSetEvenWhenItCannotBeMade) {
    TempDir dir;
    std::ofstream(dir.file("plainfile")) << "x";
    State().DocumentsFolder = dir.file("plainfile");  // a file, so nothing can be made under it
    MakeTextOutputFolder();
    EXPECT_EQ(State().TextOutputFolder, dir.file("plainfile/TidewynTides/TextOutput"));
}

TEST_F(Folders, TrimAtNullAndFileExists) {
    EXPECT_EQ(TrimAtNull("Dover"), "Dover");
    EXPECT_EQ(TrimAtNull(std::string("\0abc", 4)), "");
    EXPECT_EQ(TrimAtNull(std::string("Do\0ver", 6)), "Do");

    TempDir dir;
    std::ofstream(dir.file("f.txt")) << "x";
    EXPECT_TRUE(FileExists(dir.file("f.txt")));
    EXPECT_FALSE(FileExists(dir.file("missing.txt")));
    EXPECT_FALSE(FileExists(dir.path()));  // a folder is not a file
    EXPECT_FALSE(FileExists(""));
    // One file by any of its names; a missing one is the same as nothing.
    std::filesystem::create_symlink(dir.file("f.txt"), dir.file("link.txt"));
    EXPECT_TRUE(SameFile(dir.file("f.txt"), dir.path() + "/./f.txt"));
    EXPECT_TRUE(SameFile(dir.file("link.txt"), dir.file("f.txt")));
    std::ofstream(dir.file("g.txt")) << "x";
    EXPECT_FALSE(SameFile(dir.file("f.txt"), dir.file("g.txt")));
    EXPECT_FALSE(SameFile(dir.file("missing.txt"), dir.file("missing.txt")));
    EXPECT_FALSE(SameFile("", ""));
}

TEST_F(Folders, LocalAppDataPathHasNoTrailingSeparator) {
    Env().localAppDataFolder = "/home/u/.local/share/";
    EXPECT_EQ(GetLocalAppDataPath(), "/home/u/.local/share");
}

TEST_F(Folders, NamesJoinedAndFoundInAnyCase) {
    EXPECT_EQ(InFolder("/", "a.l20"), "/a.l20");
    EXPECT_EQ(InFolder("/charts", "a.l20"), "/charts/a.l20");
    EXPECT_EQ(InFolder("/charts/", "a.l20"), "/charts/a.l20");

    TempDir dir;
    for (const char* name : {"x.L20", "X.l20", "Exact.cht"}) std::ofstream(dir.file(name)) << name;
    fs::create_directories(dir.file("FOLDER.L30"));
    struct Case {
        const char* asked;
        const char* found;
    };
    for (const Case& c : {Case{"Exact.cht", "Exact.cht"}, Case{"EXACT.CHT", "Exact.cht"},
                          Case{"X.L20", "X.l20"},  // of two, the first in byte order
                          Case{"x.L20", "x.L20"}, Case{"folder.l30", ""}, Case{"none.l40", ""}})
        EXPECT_EQ(NameIgnoringCase(dir.path(), c.asked), c.found) << c.asked;
}
