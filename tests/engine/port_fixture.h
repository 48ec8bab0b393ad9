#pragma once
// Small area, user-depth and height files made in the test, and the date and port settings that the
// day computations read.

#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/state.h"
#include "test_support.h"

namespace testing_support {

// A made-up port with plain values: Z0 3 m, M2 2 m at 120 degrees, S2 0.75 m at 160, K1 0.125 m
// at 200, O1 0.0625 m at 50, no shallow-water terms; the month values change nothing.
inline engine::PortRecord MadeUpPort() {
    engine::PortRecord r;
    r.PortNo = "T0001";
    r.PortName = "Testhaven";
    r.Latitude = 50.5f;
    r.Longitude = -1.25f;
    r.ZoneLetter = "L";
    r.Z0 = 3.0f;
    r.M2g = 120;
    r.M2Hm = 2.0f;
    r.S2g = 160;
    r.S2Hm = 0.75f;
    r.K1g = 200;
    r.K1Hm = 0.125f;
    r.O1g = 50;
    r.O1Hm = 0.0625f;
    r.MonthM2Hm.fill(r.M2Hm);
    return r;
}

// A record with every constant 0.
inline engine::PortRecord EmptyPort() {
    engine::PortRecord r;
    r.PortName = "Nothing";
    return r;
}

// A port where one constituent does everything.
inline engine::PortRecord OnlyS2(float g, float H) {
    engine::PortRecord r = EmptyPort();
    r.S2g = g;
    r.S2Hm = H;
    return r;
}

// The bytes of an area file holding these ports.
inline std::string AreaFileBytes(const std::vector<engine::PortRecord>& ports) {
    std::string bytes;
    for (const auto& p : ports) {
        const auto b = engine::EncodePortRecord(p);
        bytes.append(b.begin(), b.end());
    }
    return bytes;
}

// The bytes of a user-depth file holding these records.
inline std::string DepthFileBytes(const std::vector<engine::DepthRecord>& depths) {
    std::string bytes;
    for (const auto& d : depths) {
        const auto b = engine::EncodeDepthRecord(d);
        bytes.append(b.begin(), b.end());
    }
    return bytes;
}

// The bytes of a height file holding these observations.
inline std::string HeightFileBytes(const std::vector<engine::ObsHeightRecord>& heights) {
    std::string bytes;
    for (const auto& h : heights) bytes += engine::AsString(engine::EncodeObsHeightRecord(h));
    return bytes;
}

inline void WriteAreaFile(const std::string& path, const std::vector<engine::PortRecord>& ports) {
    ASSERT_TRUE(engine::ReplaceFile(path, AreaFileBytes(ports)).ok()) << path;
}

inline void WriteDepthFile(const std::string& path, const std::vector<float>& depths) {
    std::vector<engine::DepthRecord> records(depths.size());
    for (size_t i = 0; i < depths.size(); ++i) {
        records[i].PortIndex = static_cast<int16_t>(i + 1);
        records[i].ChartedDepth = depths[i];
    }
    ASSERT_TRUE(engine::ReplaceFile(path, DepthFileBytes(records)).ok()) << path;
}

// The displayed date as the main window sets it.
inline void SelectDate(int year, int month, int day) {
    auto& s = engine::State();
    s.SelectedDate = engine::DateSerial(year, month, day);
    s.SelectedYear = year;
    s.SelectedMonth = month;
    s.SelectedDay = day;
    s.SelectedDayOfYear = engine::DayOfYear(s.SelectedDate);
}

// Engine test with an area file and a user-depth file in a temporary folder.
class PortTest : public EngineTest {
protected:
    // Ports 1.. of the area; the current port is the first unless chosen after.
    void UsePorts(const std::vector<engine::PortRecord>& ports, const std::vector<float>& depths = {}) {
        auto& s = engine::State();
        s.AreaFilePath = dir.file("Test.hc");
        s.DepthFilePath = dir.file("Test.DEP");
        WriteAreaFile(s.AreaFilePath, ports);
        WriteDepthFile(s.DepthFilePath, depths.empty() ? std::vector<float>(ports.size(), 0.0f) : depths);
        s.CurrentPort = 1;
        s.OutputOption = 1;
    }
    void UsePort(const engine::PortRecord& port, float depth = 0) { UsePorts({port}, {depth}); }

    TempDir dir;
};

}  // namespace testing_support
