// Damaged area records made at random: tidedump must refuse or compute them, never crash, hang or
// print numbers that are not finite.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tidedump_run.h"

namespace tool_tests {
namespace {

// Bytes that differ from the original, for a failure message.
std::string changes(const engine::Bytes& original, const engine::Bytes& mutated) {
    std::string text;
    for (size_t k = 0; k < original.size(); ++k)
        if (original[k] != mutated[k])
            text += " [" + std::to_string(k) + "]=" + std::to_string(static_cast<int>(mutated[k]));
    return text;
}

TEST(TidedumpFuzz, MutatedRecordsAreRefusedOrComputedWithFiniteNumbers) {
    constexpr int kRecords = 200;
    const engine::Bytes dover = ShippedRecord(kDover);
    ASSERT_EQ(dover.size(), engine::PortRecord::kSize);
    const std::vector<size_t> floats = FloatOffsets();
    const float special[] = {std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::max(),
                             std::numeric_limits<float>::denorm_min(),
                             -0.0f,
                             1e30f,
                             100,
                             -100,
                             100.0001f,
                             3600,
                             -3600,
                             90,
                             -180};
    std::mt19937 random(20240305);
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };

    testing_support::TempDir dir;
    int refused = 0;
    for (int i = 0; i < kRecords; ++i) {
        engine::Bytes record = dover;
        for (size_t m = 1 + pick(3); m > 0; --m) {
            switch (pick(3)) {
                case 0: record[pick(record.size())] = static_cast<uint8_t>(pick(256)); break;
                case 1:
                    PutFloat(record, floats[pick(floats.size())],
                             std::bit_cast<float>(static_cast<uint32_t>(random())));
                    break;
                default: PutFloat(record, floats[pick(floats.size())], special[pick(std::size(special))]);
            }
        }
        const std::string area = WriteArea(dir, "Fuzz.hc", {record});
        const std::string date = std::to_string(1000 + pick(2001)) + "-0" + std::to_string(1 + pick(9)) +
                                 "-1" + std::to_string(pick(10));
        std::vector<std::vector<std::string>> runs = {{"port", area, "1"}, {"day", area, "1", date}};
        if (i % 3 == 0) runs.push_back({"minutes", area, "1", date});
        for (const auto& args : runs) {
            const ToolRun run = RunTidedump(args);
            const std::string where = "record " + std::to_string(i) + ", " + args[0] + " " + args.back() +
                                      ", changed bytes:" + changes(dover, record) + "; " + run.describe();
            ASSERT_TRUE(run.exited()) << where;
            ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << where;
            ASSERT_EQ(run.err.find("runtime error"), std::string::npos) << where;
            ASSERT_EQ(run.err.find("Sanitizer"), std::string::npos) << where;
            if (run.exitCode != 0) {
                ++refused;
                continue;
            }
            ASSERT_FALSE(HasNonFiniteField(run.out)) << where << "\n" << run.out;
        }
    }
    // The mutations reach both the refusals and the computations.
    EXPECT_GT(refused, 0);
    EXPECT_LT(refused, 2 * kRecords);
}

}  // namespace
}  // namespace tool_tests
