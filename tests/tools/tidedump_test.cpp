// tidedump as its callers run it: what it refuses, and how it writes text into CSV.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/moon.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "tidedump_run.h"

namespace tool_tests {
namespace {

using testing_support::TempDir;
// The moon lines are compared with the engine's own, computed in this process.
using TidedumpCsv = testing_support::EngineTest;

TEST(TidedumpDamagedRecord, EveryComputingCommandRefusesWithTheReadersMessage) {
    const engine::Bytes dover = ShippedRecord(kDover);
    ASSERT_EQ(engine::RTrim(engine::DecodePortRecord(dover).PortName), "Dover");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* field;
        size_t offset;
        float value;
    };
    std::vector<Case> cases = {{"Latitude", kLatitudeOffset, 91}, {"Longitude", kLongitudeOffset, 1e30f}};
    // One field of each group: position, level, phase, shallow-water factor, month value.
    const std::pair<const char*, size_t> fields[] = {
        {"Latitude", kLatitudeOffset},
        {"M2Hm", kConstantsOffset + 4 * 2},
        {"K1g", kConstantsOffset + 4 * 5},
        {"LF4", kConstantsOffset + 4 * 10},
        {"MonthDZ0 of month 7", kMonthDZ0Offset + 4 * 6},
    };
    for (const auto& [field, offset] : fields)
        for (const float v : {nan, inf, -inf, 1e30f, 3.4e38f}) cases.push_back({field, offset, v});

    TempDir dir;
    for (const auto& c : cases) {
        // The damaged record follows a good one, so the message must name the right record.
        engine::Bytes damaged = dover;
        PutFloat(damaged, c.offset, c.value);
        const std::string area = WriteArea(dir, "Damaged.hc", {dover, damaged});
        for (const std::vector<std::string>& args : {std::vector<std::string>{"port", area, "2"},
                                                     {"day", area, "2", "2024-03-05"},
                                                     {"minutes", area, "2", "2024-03-05"}}) {
            SCOPED_TRACE(args[0] + " with " + c.field + " = " + std::to_string(c.value));
            const ToolRun run = RunTidedump(args);
            EXPECT_TRUE(run.exited()) << run.describe();
            EXPECT_EQ(run.exitCode, 1) << run.describe();
            EXPECT_NE(run.err.find("Record 2 of Damaged.hc is damaged: " + std::string(c.field) + " "),
                      std::string::npos)
                << run.err;
            EXPECT_EQ(run.out, "");
        }
    }
}

// Dover with S2Hm 90, within its range: high waters of kilometres, were it computed.
TEST(TidedumpDamagedRecord, ConstantsBeyondAnySeasTideAreRefused) {
    const engine::Bytes dover = ShippedRecord(kDover);
    engine::Bytes absurd = dover;
    PutFloat(absurd, kConstantsOffset + 4 * 4, 90);
    TempDir dir;
    const std::string area = WriteArea(dir, "Damaged.hc", {dover, absurd});
    for (const std::vector<std::string>& args : {std::vector<std::string>{"port", area, "2"},
                                                 {"day", area, "2", "2024-03-05"},
                                                 {"minutes", area, "2", "2024-03-05"}}) {
        SCOPED_TRACE(args[0]);
        const ToolRun run = RunTidedump(args);
        EXPECT_EQ(run.exitCode, 1) << run.describe();
        EXPECT_NE(
            run.err.find("tidedump: Record 2 of Damaged.hc is damaged: the constants can give heights of "),
            std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(" m, more than any sea's tide (25 m)"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // Dover itself is computed.
    EXPECT_EQ(RunTidedump({"day", area, "1", "2024-03-05"}).exitCode, 0);
}

TEST(TidedumpRefusals, ArgumentsOutsideWhatCanBeComputedPrintNothing) {
    const std::string uk = ShippedArea();
    const std::string pastLast = std::to_string(engine::PortCount(uk) + 1);
    TempDir dir;
    const std::string missing = dir.file("Missing.hc");
    const std::string empty = WriteArea(dir, "Empty.hc", {});
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    std::vector<Case> cases = {
        {{"jd", "2023-02-29", "10:00"}, 2},
        {{"jd", "0999-12-31", "10:00"}, 2},
        {{"jd", "3001-01-01", "00:00"}, 2},
        {{"summer", "999"}, 2},
        {{"summer", "3001"}, 2},
        {{"angles", "999", "1"}, 2},
        {{"angles", "3001", "1"}, 2},
        {{"sun", "51", "1", "2023-02-29", "0"}, 2},
        {{"sun", "51", "1", "0999-06-21", "0"}, 2},
        {{"sun", "51", "1", "3001-06-21", "0"}, 2},
        {{"moon", "999", "1"}, 2},
        {{"moon", "3001", "12"}, 2},
    };
    auto portCase = [](const std::string& command, const std::string& area, const std::string& port,
                       const std::string& date, int exitCode) {
        std::vector<std::string> args = {command, area, port};
        if (command != "port") args.push_back(date);
        return Case{args, exitCode};
    };
    for (const std::string command : {"port", "day", "minutes"}) {
        // 65613 is 77 in 16 bits.
        for (const std::string port : {"0", pastLast.c_str(), "65613"})
            cases.push_back(portCase(command, uk, port, "2024-03-05", 2));
        cases.push_back(portCase(command, missing, "1", "2024-03-05", 1));
        cases.push_back(portCase(command, empty, "1", "2024-03-05", 1));
        if (command != "port")
            for (const std::string date : {"2023-02-29", "0999-12-31", "3001-01-01"})
                cases.push_back(portCase(command, uk, "77", date, 2));
    }
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& a : c.args) shown += " " + a;
        SCOPED_TRACE("tidedump" + shown);
        const ToolRun run = RunTidedump(c.args);
        EXPECT_TRUE(run.exited()) << run.describe();
        EXPECT_EQ(run.exitCode, c.exitCode) << run.describe();
        EXPECT_EQ(run.err.rfind("tidedump: ", 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(TidedumpRefusals, TheEdgesOfEachRangeAreComputed) {
    const std::string uk = ShippedArea();
    const std::string last = std::to_string(engine::PortCount(uk));
    const std::vector<std::vector<std::string>> cases = {
        {"jd", "1000-01-01", "00:00"},
        {"jd", "3000-12-31", "23:59"},
        {"summer", "1000"},
        {"summer", "3000"},
        {"angles", "1000", "1"},
        {"angles", "3000", "365"},
        {"sun", "51", "1", "1000-01-01", "0"},
        {"moon", "3000", "12"},
        {"port", uk, "1"},
        {"port", uk, last},
        {"day", uk, last, "1000-01-01"},
        {"day", uk, "1", "3000-12-31", "--summer", "--option", "2", "--depth", "1000"},
        {"minutes", uk, last, "2024-03-05"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0] + " " + args[args.size() - 1]);
        const ToolRun run = RunTidedump(args);
        EXPECT_TRUE(run.exited()) << run.describe();
        EXPECT_EQ(run.exitCode, 0) << run.describe();
        EXPECT_EQ(run.err, "");
        EXPECT_GT(ParseCsv(run.out).size(), 1u);
        EXPECT_FALSE(HasNonFiniteField(run.out)) << run.out;
    }
}

TEST_F(TidedumpCsv, TextFieldsAreOneFieldWhateverTheyHold) {
    struct Case {
        std::string portNo, name;
    };
    const Case cases[] = {
        {"A,1", "Quay \"North\", Dock"},
        {"\"Q\"", "Pier\nHead"},
        {"B 2", "St Peter Port\r"},
        {"UK077", "Dover"},
    };
    std::vector<engine::Bytes> records;
    for (const auto& c : cases) {
        engine::PortRecord r = engine::DecodePortRecord(ShippedRecord(kDover));
        r.PortNo = c.portNo;
        r.PortName = c.name;
        r.ZoneLetter = ",";
        records.push_back(engine::EncodePortRecord(r));
    }
    TempDir dir;
    const std::string area = WriteArea(dir, "Names.hc", records);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        const ToolRun run = RunTidedump({"port", area, std::to_string(i + 1)});
        EXPECT_EQ(run.exitCode, 0) << run.describe();
        const auto rows = ParseCsv(run.out);
        EXPECT_EQ(rows.size(), 43u);
        if (rows.size() < 6) continue;
        for (const auto& row : rows) EXPECT_EQ(row.size(), 2u) << row[0];
        EXPECT_EQ(rows[1], (std::vector<std::string>{"PortNo", cases[i].portNo}));
        EXPECT_EQ(rows[2], (std::vector<std::string>{"PortName", cases[i].name}));
        EXPECT_EQ(rows[5], (std::vector<std::string>{"ZoneLetter", ","}));
    }
    // A plain name stays as it is.
    EXPECT_NE(RunTidedump({"port", area, "4"}).out.find("\nPortName,Dover\n"), std::string::npos);
}

TEST_F(TidedumpCsv, MoonLinesKeepTheirBlanksInOneField) {
    const ToolRun run = RunTidedump({"moon", "2024", "6"});
    ASSERT_EQ(run.exitCode, 0) << run.describe();
    auto& s = engine::State();
    s.SelectedYear = 2024;
    s.SelectedMonth = 6;
    engine::CalcMoonPhases();
    const auto rows = ParseCsv(run.out);
    ASSERT_EQ(rows.size(), static_cast<size_t>(s.MoonPhaseCount) + 1);
    for (int i = 1; i <= s.MoonPhaseCount; ++i) {
        ASSERT_EQ(rows[i].size(), 2u);
        EXPECT_EQ(rows[i][1], s.MoonPhaseList[i]);
        EXPECT_EQ(rows[i][1].front(), ' ');  // padded, so quoted
    }
}

}  // namespace
}  // namespace tool_tests
