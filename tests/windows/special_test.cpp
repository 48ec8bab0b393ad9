// The hidden Special menu: the yearly high-water times and the tables of angles and factors,
// written into the program folder.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

#include "engine/calendar.h"
#include "engine/cp1252.h"
#include "engine/port_fixture.h"
#include "print_support.h"
#include "window_support.h"

using namespace engine;
using namespace platform;
using testing_support::csvFields;
using testing_support::linesOf;
using testing_support::ReadAll;
using testing_support::SameCurve;
using testing_support::SameDrawing;

namespace {

const char* const kIndexedHeader =
    "id,Julian,Day,Year,ma,mf,sa,sf,ka,kf,oa,of,dam,dfm,das,dfs,dak,dfk ,dao,dfo";
const char* const kOrbitalHeader = "Julian,Day,Year,ma,mf,sa,sf,ka,kf,oa,of,dAm,dFm,dAs,dfs,dAk,dfk ,dAo,dfo";

}  // namespace

class SpecialMenu : public testing_support::WindowTest {
protected:
    // The program on a date, with an area file of the test's own whose first port is current;
    // the tables go into a program folder of the test's own.
    frmtidewyn& openOn(int year, int month, int day, const std::vector<PortRecord>& ports = {}) {
        now = DateSerial(year, month, day) + TimeSerial(13, 47, 0);
        storeSettings([&](SettingsRecord& r) {
            if (ports.empty()) return;
            testing_support::WriteAreaFile(home.file("Test.hc"), ports);
            r.AreaPath = home.file("Test.hc");
            r.PortIndex = 1;
        });
        frmtidewyn& w = open();
        Env().programFolder = folder();
        std::filesystem::create_directories(folder());
        return w;
    }
    std::string folder() const { return home.file("program"); }
    std::string written(const std::string& name) const { return ReadAll(folder() + "/" + name); }
    std::vector<std::string> files() const { return testing_support::FileNames(folder()); }
};

TEST_F(SpecialMenu, YearlyHighWatersCoverTheShownYearAndTheNextFromTheirFirstDay) {
    const struct {
        int year, month, day;
        size_t rows;
        int lastDay;
    } cases[] = {{2024, 7, 15, 731, 365}, {2023, 12, 31, 731, 366}, {2025, 1, 1, 730, 365}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        restart();
        dialogs->messages.clear();
        frmtidewyn& w = openOn(c.year, c.month, c.day, {testing_support::MadeUpPort()});
        w.mnuYears.Click();
        const std::string path = folder() + "/Testhaven-HWTimes.csv";
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt,
                  "Year " + std::to_string(c.year) + "  HW times written to " + path);
        EXPECT_EQ(dialogs->messages[0].style, kOkOnly);
        EXPECT_EQ(dialogs->messages[0].title, "Tidewyn Vizoz");
        dialogs->messages.clear();

        const std::string bytes = ReadAll(path);
        EXPECT_EQ(
            bytes.rfind("id,YearNo,DayNo,Range,FirstHW,SecondHW\r\n1," + std::to_string(c.year) + ",1,", 0),
            0u);
        const std::vector<std::string> lines = linesOf(bytes);
        ASSERT_EQ(lines.size(), c.rows + 1);
        EXPECT_EQ(lines.back().rfind(std::to_string(c.rows) + "," + std::to_string(c.year + 1) + "," +
                                         std::to_string(c.lastDay) + ",",
                                     0),
                  0u);
        if (c.year == 2024) {
            EXPECT_EQ(lines[367].rfind("367,2025,1,", 0), 0u);
        }

        // Julian dates: seven digits, the separator, up to eight; -1 for a high water the day
        // does not have.
        const std::regex julian(R"(\d{7}(\.\d{1,8})?|-1)");
        int oneHighWater = 0;
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> f = csvFields(lines[i]);
            ASSERT_EQ(f.size(), 6u) << lines[i];
            EXPECT_TRUE(std::regex_match(f[4], julian) && f[4] != "-1") << lines[i];
            EXPECT_TRUE(std::regex_match(f[5], julian)) << lines[i];
            oneHighWater += f[5] == "-1";
        }
        EXPECT_GT(oneHighWater, 0);

        // Written again: replaced, the same message.
        if (c.year != 2024) continue;
        w.mnuYears.Click();
        EXPECT_EQ(ReadAll(path), bytes);
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt,
                  "Year " + std::to_string(c.year) + "  HW times written to " + path);
    }
}

// The export reads the port's own minutes: the displayed day's tables and picture stay as they
// were.
TEST_F(SpecialMenu, YearlyHighWatersLeaveTheDisplayedDayAlone) {
    frmtidewyn& w = openOn(2024, 3, 5);
    const SharedState& s = State();
    const CurveTable day = s.DayCurve, output = s.OutputCurve;
    const int points = s.CurvePoints, dayOfYear = s.SelectedDayOfYear;
    const std::vector<DrawCommand> picture = w.Picture1->PersistentCommands();
    w.mnuYears.Click();
    EXPECT_TRUE(SameCurve(s.DayCurve, day));
    EXPECT_TRUE(SameCurve(s.OutputCurve, output));
    EXPECT_EQ(s.CurvePoints, points);
    EXPECT_EQ(s.SelectedDayOfYear, dayOfYear);
    EXPECT_TRUE(SameDrawing(w.Picture1->PersistentCommands(), picture));
    EXPECT_EQ(files(), std::vector<std::string>{"Dover-HWTimes.csv"});
}

TEST_F(SpecialMenu, YearlyHighWatersWithADecimalCommaAreQuotedAndAPortNameMakesNoFolder) {
    UseLocale("de_DE");
    PortRecord port = testing_support::MadeUpPort();
    port.PortName = " Bay/North ";
    frmtidewyn& w = openOn(2024, 3, 5, {port});
    w.mnuYears.Click();
    const std::string bytes = written("Bay_North-HWTimes.csv");
    const std::vector<std::string> lines = linesOf(Cp1252ToUtf8(bytes));
    ASSERT_EQ(lines.size(), 732u);
    EXPECT_EQ(lines[0], "id,YearNo,DayNo,Range,FirstHW,SecondHW");
    // 1 January 2024 at 0 h is 2460310.5.
    EXPECT_TRUE(std::regex_match(
        lines[1], std::regex(R"re(1,2024,1,"\d+,\d+","246031[01],\d+",("246031[01],\d+"|-1))re")))
        << lines[1];
    for (size_t i = 1; i < lines.size(); ++i) ASSERT_EQ(csvFields(lines[i]).size(), 6u) << lines[i];
}

TEST_F(SpecialMenu, YearlyHighWatersThatCannotBeWrittenOrComputedAreTold) {
    frmtidewyn& w = openOn(2024, 3, 5);
    const std::string path = folder() + "/Dover-HWTimes.csv";
    std::ofstream(path, std::ios::binary) << "old bytes";
    SetWriteFault([](const std::string&) { return EROFS; });
    w.mnuYears.Click();
    SetWriteFault({});
    EXPECT_EQ(files(), std::vector<std::string>{"Dover-HWTimes.csv"});  // no half-written file beside it
    EXPECT_EQ(ReadAll(path), "old bytes");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].style, kOkOnly | kExclamation);
    EXPECT_NE(dialogs->messages[0].prompt.find(path), std::string::npos);
    EXPECT_NE(dialogs->messages[0].prompt.find(std::strerror(EROFS)), std::string::npos);

    // The port's record cannot be read: nothing written, the reason told.
    dialogs->messages.clear();
    SetReadFault([](const std::string&) { return EIO; });
    w.mnuYears.Click();
    SetReadFault({});
    EXPECT_EQ(ReadAll(path), "old bytes");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].prompt.rfind("The high-water times have not been written.\r", 0), 0u);
    EXPECT_NE(dialogs->messages[0].prompt.find(std::strerror(EIO)), std::string::npos);
}

// Tables whose folder alone cannot be synced are written: each warning told once, the yearly
// times' notice after it, and every table of angles and factors written.
TEST_F(SpecialMenu, TablesWhoseFolderSyncFailsAreWritten) {
    frmtidewyn& w = openOn(2024, 3, 5);
    SetFileStepFault(
        [](FileStep step, const std::string&) { return step == FileStep::FolderSync ? EIO : 0; });
    w.mnuYears.Click();
    w.mnuAnglesAndFactors.Click();
    SetFileStepFault({});
    const std::string warning =
        std::string(" was written, but its folder could not be synced: ") + std::strerror(EIO);
    const std::string hw = folder() + "/Dover-HWTimes.csv";
    std::vector<std::string> prompts;
    for (const AskedMessage& m : dialogs->messages) prompts.push_back(m.prompt);
    EXPECT_EQ(prompts, (std::vector<std::string>{hw + warning, "Year 2024  HW times written to " + hw,
                                                 folder() + "/2016Factors.csv" + warning,
                                                 folder() + "/2017Factors.csv" + warning,
                                                 folder() + "/2018Factors.csv" + warning}));
    EXPECT_EQ(written("Dover-HWTimes.csv").rfind("id,YearNo,DayNo,Range,FirstHW,SecondHW\r\n1,2024,1,", 0),
              0u);
    for (const char* table : {"2016Factors.csv", "2017Factors.csv", "2018Factors.csv"})
        EXPECT_EQ(written(table).rfind(std::string(kIndexedHeader) + "\r\n0,", 0), 0u) << table;
}

// ---------------------------------------------------------------------------------------------
// Angles and factors

TEST_F(SpecialMenu, AnglesAndFactorsWriteThreeTablesInEitherForm) {
    frmtidewyn& w = openOn(2024, 3, 5);
    w.mnuAnglesAndFactors.Click();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(files(), (std::vector<std::string>{"2016Factors.csv", "2017Factors.csv", "2018Factors.csv"}));
    EXPECT_EQ(State().FactorsTable.size(), 730u);  // the last table's
    EXPECT_EQ(State().FactorsTable.back().Year, 2019);

    const struct {
        const char* name;
        size_t lines;
        const char* first;  // the first data line's start
    } tables[] = {{"2016Factors.csv", 731, "0,2457388.5,1,2016,"},
                  {"2017Factors.csv", 730, "0,2457754.5,1,2017,"},
                  {"2018Factors.csv", 730, "0,2458119.5,1,2018,"}};
    std::vector<std::vector<std::string>> indexed;
    for (const auto& t : tables) {
        SCOPED_TRACE(t.name);
        const std::string bytes = written(t.name);
        EXPECT_EQ(bytes.rfind(std::string(kIndexedHeader) + "\r\n" + t.first, 0), 0u);
        const std::vector<std::string> lines = linesOf(bytes);
        ASSERT_EQ(lines.size(), t.lines + 1);
        EXPECT_EQ(lines.back().rfind(std::to_string(t.lines - 1) + ",", 0), 0u);
        // Speeds in full; the smallest factor changes in exponent form.
        const std::regex speed(R"(\d\d(\.\d{1,13})?)"), exponent(R"(-?\d(\.\d+)?E-0\d)");
        int exponents = 0;
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> f = csvFields(lines[i]);
            ASSERT_EQ(f.size(), 20u);
            EXPECT_TRUE(std::regex_match(f[12], speed)) << f[12];
            exponents += std::regex_match(f[13], exponent);
        }
        EXPECT_GT(exponents, 0);
        indexed.push_back(lines);
    }

    // The other export on another port and day: the same tables in its own form.
    restart();
    frmtidewyn& other = openOn(2025, 8, 20, {testing_support::MadeUpPort()});
    other.mnuCalcOrbitalConst.Click();
    for (size_t k = 0; k < std::size(tables); ++k) {
        const std::vector<std::string> lines = linesOf(written(tables[k].name));
        ASSERT_EQ(lines.size(), indexed[k].size());
        EXPECT_EQ(lines[0], kOrbitalHeader);
        for (size_t i = 1; i < lines.size(); ++i)
            ASSERT_EQ(lines[i], indexed[k][i].substr(indexed[k][i].find(',') + 1)) << tables[k].name << i;
    }
    other.mnuAnglesAndFactors.Click();
    EXPECT_EQ(linesOf(written("2017Factors.csv")), indexed[1]);
}

TEST_F(SpecialMenu, AnglesAndFactorsStopAtTheFirstTableThatCannotBeWritten) {
    UseLocale("de_DE");
    frmtidewyn& w = openOn(2024, 3, 5);
    std::ofstream(folder() + "/2017Factors.csv", std::ios::binary) << "old bytes";
    SetWriteFault(
        [](const std::string& path) { return path.find("2017") != std::string::npos ? ENOSPC : 0; });
    w.mnuCalcOrbitalConst.Click();
    SetWriteFault({});
    EXPECT_EQ(files(), (std::vector<std::string>{"2016Factors.csv", "2017Factors.csv"}));
    EXPECT_EQ(written("2017Factors.csv"), "old bytes");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_NE(dialogs->messages[0].prompt.find(folder() + "/2017Factors.csv"), std::string::npos);
    EXPECT_NE(dialogs->messages[0].prompt.find(std::strerror(ENOSPC)), std::string::npos);

    // The table written holds the locale's decimal comma, each such field quoted.
    const std::vector<std::string> lines = linesOf(written("2016Factors.csv"));
    ASSERT_EQ(lines.size(), 732u);
    EXPECT_EQ(lines[0], kOrbitalHeader);
    EXPECT_EQ(lines[1].rfind("\"2457388,5\",1,2016,", 0), 0u) << lines[1];
    for (size_t i = 1; i < lines.size(); ++i) ASSERT_EQ(csvFields(lines[i]).size(), 19u) << lines[i];
}
