// The sample diamond file and the generator that writes it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/diamondfile.h"
#include "tidedump_run.h"

namespace tool_tests {
namespace {

using testing_support::ReadAll;
using testing_support::TempDir;

std::string ShippedSample() { return testing_support::SourceDir() + "/data/Sample.l20"; }

TEST(DiamondSample, ShippedFileIsTheGeneratorsOutput) {
    TempDir dir;
    const std::string out = dir.file("Sample.l20");
    const ToolRun run = RunTool(DIAMONDSAMPLE_PATH, {out});
    ASSERT_TRUE(run.exited() && run.exitCode == 0) << run.describe();
    const std::string shipped = ReadAll(ShippedSample());
    ASSERT_EQ(shipped.size(), 4 * engine::TidalDiamondRecord::kSize);
    EXPECT_TRUE(ReadAll(out) == shipped) << "data/Sample.l20 is not what tidewyn-diamondsample writes";
}

// Four diamonds A to D at sea off the Isle of Wight; the stream runs east and west in turn,
// neaps no faster than springs.
TEST(DiamondSample, HoldsFourPlausibleDiamonds) {
    std::vector<engine::TidalDiamondRecord> all;
    ASSERT_TRUE(engine::ReadAllDiamondRecords(ShippedSample(), all).ok());
    ASSERT_EQ(all.size(), 4u);
    for (size_t k = 0; k < all.size(); ++k) {
        const engine::TidalDiamondRecord& d = all[k];
        SCOPED_TRACE(d.DiamondRef);
        EXPECT_EQ(d.DiamondRef, std::string(1, static_cast<char>('A' + k)));
        EXPECT_TRUE(d.Latitude > 50.4f && d.Latitude < 50.75f) << d.Latitude;
        EXPECT_TRUE(d.Longitude > -1.4f && d.Longitude < -0.4f) << d.Longitude;
        bool east = false, west = false;
        for (const engine::HourStream& h : d.HourStreams) {
            EXPECT_TRUE(h.Direction >= 0 && h.Direction < 360 && std::floor(h.Direction) == h.Direction)
                << h.Direction;
            EXPECT_TRUE(h.SpringRate >= 0 && h.SpringRate <= 3.5f) << h.SpringRate;
            EXPECT_TRUE(h.NeapRate >= 0 && h.NeapRate <= h.SpringRate) << h.NeapRate;
            east = east || (h.Direction > 45 && h.Direction < 135 && h.SpringRate >= 1);
            west = west || (h.Direction > 225 && h.Direction < 315 && h.SpringRate >= 1);
        }
        EXPECT_TRUE(east && west);
    }
}

TEST(DiamondSample, RefusesBadArgumentsAndReportsAFailedWrite) {
    TempDir dir;
    const std::string unwritable = dir.file("none/Sample.l20");
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string says;
    } cases[] = {
        {{}, 2, "usage: tidewyn-diamondsample OUTFILE"},
        {{dir.file("a.l20"), dir.file("b.l20")}, 2, "usage: tidewyn-diamondsample OUTFILE"},
        {{unwritable}, 1, "Cannot write " + unwritable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.size());
        const ToolRun run = RunTool(DIAMONDSAMPLE_PATH, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.describe();
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.l20")));
}

}  // namespace
}  // namespace tool_tests
