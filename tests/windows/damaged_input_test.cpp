// Damaged files and absurd values met by the main window: told once, never shown as results,
// never written back, and the user can go on.
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/settingsfile.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::ReadAll;

namespace {

// Lines of the day's curve: segments one 10-minute step long (the grid's lines are horizontal
// or vertical, the sun marks vertical).
int curveSegments(const PictureBox& pic) {
    int n = 0;
    for (const DrawCommand& c : pic.PersistentCommands())
        if (c.kind == DrawKind::Line && c.x2 - c.x1 > 0 && c.x2 - c.x1 < 1) ++n;
    return n;
}

class DamagedInput : public testing_support::WindowTest {
protected:
    void TearDown() override {
        SetWriteFault({});
        WindowTest::TearDown();
    }
    // A copy of the shipped UK.hc with record 77 (Dover, the default port) changed, made the
    // area of the settings file.
    std::string useDamagedDover(const std::function<void(PortRecord&)>& damage) {
        const std::string area = home.file("UK.hc");
        std::filesystem::copy_file(programFolder() + "/UK.hc", area);
        PortRecord dover;
        EXPECT_TRUE(ReadPortRecord(area, 77, dover).ok());
        damage(dover);
        EXPECT_TRUE(WriteRecord(area, PortRecord::kSize, 77, EncodePortRecord(dover)).ok());
        storeSettings([&](SettingsRecord& r) { r.AreaPath = area; });
        return area;
    }
    void writeDepthFile(float doverDepth) {
        std::filesystem::create_directories(home.file("Documents/TidewynTides/UserDepths"));
        std::string bytes;
        for (int k = 1; k <= PortCount(programFolder() + "/UK.hc"); ++k) {
            DepthRecord d;
            d.PortIndex = static_cast<int16_t>(k);
            d.ChartedDepth = k == 77 ? doverDepth : 0.0f;
            const Bytes b = EncodeDepthRecord(d);
            bytes.append(b.begin(), b.end());
        }
        ASSERT_TRUE(ReplaceFile(depthPath(), bytes).ok());
    }
};

}  // namespace

// Every field group with the values a damaged file holds: the window opens on the port, says
// which record and field, shows no heights, rewrites nothing, and the next port works.
TEST_F(DamagedInput, DamagedPortRecordIsToldAndShowsNoHeights) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    struct Field {
        const char* name;
        std::function<float&(PortRecord&)> of;
    };
    const Field fields[] = {
        {"Latitude", [](PortRecord& r) -> float& { return r.Latitude; }},
        {"Z0", [](PortRecord& r) -> float& { return r.Z0; }},
        {"M2g", [](PortRecord& r) -> float& { return r.M2g; }},
        {"LF6", [](PortRecord& r) -> float& { return r.LF6; }},
        {"MonthDZ0 of month 3", [](PortRecord& r) -> float& { return r.MonthDZ0[2]; }},
    };
    struct Case {
        const Field* field;
        float value;
        std::string fault = "";  // what is told after the record's name; the field's name when empty
    };
    std::vector<Case> cases;
    for (const Field& f : fields)
        for (float v : {kNaN, kInf, -kInf, 1e30f, 3.4e38f}) cases.push_back({&f, v});
    const Field latitude = fields[0];
    const Field longitude = {"Longitude", [](PortRecord& r) -> float& { return r.Longitude; }};
    cases.push_back({&latitude, 91});
    cases.push_back({&longitude, 1e30f});
    // Within its range, but high waters of kilometres.
    const Field s2 = {"S2Hm", [](PortRecord& r) -> float& { return r.S2Hm; }};
    cases.push_back({&s2, 90, "the constants can give heights of "});

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field->name) + " = " + std::to_string(c.value));
        dialogs->messages.clear();
        const std::string area = useDamagedDover([&](PortRecord& r) { c.field->of(r) = c.value; });
        const std::string areaBefore = ReadAll(area);
        frmtidewyn& w = open();

        EXPECT_EQ(w.portbox->Caption(), "Port    : Dover");
        ASSERT_EQ(dialogs->messages.size(), 1u);
        const std::string& told = dialogs->messages[0].prompt;
        const std::string fault = c.fault.empty() ? std::string(c.field->name) + " is " : c.fault;
        EXPECT_NE(told.find("Record 77 of UK.hc is damaged: " + fault), std::string::npos) << told;
        EXPECT_EQ(curveSegments(*w.Picture1), 0);
        EXPECT_EQ(w.daystide1->Caption(), "  Predictions\r\n   (Range n/a)\r\n\r\n   Time    Ht.\r\n");
        EXPECT_EQ(w.hiteval->Caption(), "n/a");
        EXPECT_NE(w.Caption().find("Height = n/a]"), std::string::npos) << w.Caption();
        EXPECT_EQ(ReadAll(area), areaBefore);

        // The next port is computed as ever, without a word.
        w.mnuNextPort.Click();
        EXPECT_EQ(State().CurrentPort, 78);
        EXPECT_GT(curveSegments(*w.Picture1), 100);
        EXPECT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(ReadAll(area), areaBefore);

        restart();
        std::filesystem::remove(area);
        std::filesystem::remove(settingsPath());
        std::filesystem::remove(depthPath());
    }
}

// A depth typed as 100000000 before the depth dialog checked it: the program opens, says the
// depth record is damaged, and the dialog mends it.
TEST_F(DamagedInput, StoredAbsurdDepthIsToldAndCanBeMended) {
    writeDepthFile(1e8f);
    frmtidewyn& w = open();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_NE(
        dialogs->messages[0].prompt.find("Record 77 of UK.DEP is damaged: ChartedDepth is 1E+08, outside "
                                         "-100 to 1000"),
        std::string::npos)
        << dialogs->messages[0].prompt;
    EXPECT_EQ(curveSegments(*w.Picture1), 0);

    withModal<frmChartdepth>(w.mnuchartdepth, [&](frmChartdepth& d) {
        EXPECT_EQ(d.depth->Text(), "100000000");  // as digits, which the box can read back
        d.depth->SetText("2");
        d.cdok->click();
        d.cdclose->click();
    });
    EXPECT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(State().UserDepth, 2.0f);
    EXPECT_GT(curveSegments(*w.Picture1), 100);
}

// A settings file cut short is kept beside the new one, and the user is told once.
TEST_F(DamagedInput, IncompleteSettingsFileIsKeptAndReported) {
    storeSettings([](SettingsRecord& r) { r.PortIndex = 12; });
    std::string bytes = ReadAll(settingsPath());
    bytes.pop_back();
    {
        std::ofstream out(settingsPath(), std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    frmtidewyn& w = open();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_NE(dialogs->messages[0].prompt.find("was incomplete (1306 of 1307 bytes). It is kept as " +
                                               settingsPath() + ".bak"),
              std::string::npos)
        << dialogs->messages[0].prompt;
    EXPECT_EQ(ReadAll(settingsPath() + ".bak"), bytes);
    EXPECT_EQ(std::filesystem::file_size(settingsPath()), SettingsRecord::kSize);
    EXPECT_EQ(State().CurrentPort, 77);
    EXPECT_EQ(w.portbox->Caption(), "Port    : Dover");

    // The next start finds a whole file and says nothing.
    restart();
    dialogs->messages.clear();
    open();
    EXPECT_TRUE(dialogs->messages.empty());
}

// A full disk while the settings are written: the old file stays whole, and the user is told.
TEST_F(DamagedInput, FullDiskLeavesTheSettingsFileWhole) {
    frmtidewyn& w = open();
    const std::string before = ReadAll(settingsPath());
    SetWriteFault([](const std::string& path) { return path.ends_with("TdwTidesv9.cfg") ? ENOSPC : 0; });
    w.mnuNextPort.Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_NE(dialogs->messages[0].prompt.find(std::strerror(ENOSPC)), std::string::npos)
        << dialogs->messages[0].prompt;
    EXPECT_EQ(ReadAll(settingsPath()), before);
    EXPECT_FALSE(std::filesystem::exists(settingsPath() + ".tmp~"));
}

// The month view meets the damaged record on every day, and says so once.
TEST_F(DamagedInput, MonthOfADamagedPortIsToldOnce) {
    useDamagedDover([](PortRecord& r) { r.Z0 = std::numeric_limits<float>::quiet_NaN(); });
    frmtidewyn& w = open();
    dialogs->messages.clear();
    w.mnumonth.Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_NE(dialogs->messages[0].prompt.find("Record 77 of UK.hc is damaged: Z0 is not a number"),
              std::string::npos);
    EXPECT_EQ(w.monthspredictions->ListCount(), 0);
    EXPECT_FALSE(MonthViewIsCurrent());
}
