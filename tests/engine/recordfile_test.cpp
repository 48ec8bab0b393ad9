// The replacement of a file through a temporary file beside it, as every rewrite of the
// program's files makes it.
#include "engine/recordfile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "engine/areafile.h"
#include "engine/diamondfile.h"
#include "engine/folders.h"
#include "engine/heightfile.h"
#include "engine/settingsfile.h"
#include "port_fixture.h"
#include "test_support.h"

using namespace engine;
using testing_support::ReadAll;
using testing_support::ReadOnlyFolder;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

class Replacement : public testing_support::EngineTest {
protected:
    TempDir dir;
};

}  // namespace

// In a folder that may not be written, a writable file cannot be replaced: the message names
// the folder where the temporary file could not be made, not the file, and the file stays.
TEST_F(Replacement, ATemporaryFileThatCannotBeMadeNamesItsFolder) {
    // The settings file's folder, where the other files can lie as well.
    State().AppDataFolder = dir.path();
    const std::string folder = fs::path(BuildSettingsFilePath()).parent_path().string();
    fs::create_directories(folder);
    const auto in = [&](const std::string& name) { return folder + "/" + name; };
    testing_support::WriteAreaFile(in("UK.hc"),
                                   {testing_support::MadeUpPort(), testing_support::MadeUpPort()});
    WriteBytes(in("Montoir.ht"), testing_support::HeightFileBytes({{9, 2.5f}}));
    WriteBytes(in("Sample.l20"), "");
    WriteBytes(in("UK.DEP"), testing_support::DepthFileBytes({DepthRecord{}}));
    ASSERT_TRUE(WriteSettingsFile(DefaultSettingsRecord()).ok());
    SharedState& s = State();
    s.AreaFilePath = in("UK.hc");
    s.DepthFilePath = in("UK.DEP");
    const struct {
        const char* file;
        std::function<FileResult()> rewrite;
    } cases[] = {
        {"UK.hc", [&] { return AppendPortRecord(in("UK.hc"), testing_support::MadeUpPort()); }},
        {"Montoir.ht",
         [&] {
             return WriteHeightFile(in("Montoir.ht"), {{9, 2.5f}, {10, 3}});
         }},
        {"Sample.l20", [&] { return AppendDiamondRecord(in("Sample.l20"), TidalDiamondRecord{}); }},
        {"TdwTidesv9.cfg", [] { return WriteSettingsFile(DefaultSettingsRecord()); }},
        // Port 2 lies beyond the file's one record: the file is rewritten whole.
        {"UK.DEP", [] { return StoreDepthAndNotes(2, 1.5f, ""); }},
    };
    const std::string told = "Cannot create a temporary file in " + folder + ": " + std::strerror(EACCES);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string before = ReadAll(in(c.file));
        FileResult r;
        {
            const ReadOnlyFolder readOnly(folder);
            r = c.rewrite();
        }
        EXPECT_EQ(r.status, FileStatus::WriteFailed);
        EXPECT_EQ(r.message, told);
        EXPECT_EQ(ReadAll(in(c.file)), before);
        EXPECT_FALSE(fs::exists(in(c.file) + std::string(kStagingSuffix)));
        // Only the folder stood in the way.
        EXPECT_TRUE(c.rewrite().ok());
    }
}
