// The adjustment window's arithmetic: the intermediate location's starting constants, its day
// steps and read-outs, and the shared inputs given back after its computations.
#include "engine/adjustment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "engine/calendar.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/test_support.h"

using namespace engine;

class Adjustment : public testing_support::EngineTest {};

// Phases are averaged the short way round; 180 apart they keep the plain mean.
TEST_F(Adjustment, PhasesAreAveragedTheShortWayRound) {
    const struct {
        float a, b, mean;
    } cases[] = {
        {350, 10, 0},    {10, 350, 0},
        {10, 20, 15},    {0, 180, 90},
        {180, 0, 90},    {300, 100, 20},
        {359, 359, 359}, {95.56393f, 351.6438f, 43.60386f},  // f6 of Saint Nazaire and Donges
    };
    for (const auto& c : cases) {
        const float mean = MeanPhase(c.a, c.b);
        EXPECT_NEAR(mean, c.mean, 1e-4) << c.a << " and " << c.b;
        EXPECT_TRUE(mean >= 0 && mean < 360) << c.a << " and " << c.b;
    }
}

// Every constant of the two records: phases the short way, the others their plain mean in
// single precision; a mean below 0.0001 is shown without an exponent.
TEST_F(Adjustment, MeanConstantsOfTwoPorts) {
    PortRecord a, b;
    ASSERT_TRUE(ReadPortRecord(testing_support::SourceDir() + "/data/France.hc", 18, a).ok());
    ASSERT_TRUE(ReadPortRecord(testing_support::SourceDir() + "/data/France.hc", 19, b).ok());
    const std::array<float, 13> mean = MeanConstants(a, b);
    for (size_t i = 0; i < 13; ++i) {
        const float x = a.*kPortConstants[i].field, y = b.*kPortConstants[i].field;
        EXPECT_EQ(mean[i], IsPhaseConstant(i) ? MeanPhase(x, y) : (x + y) / 2.0f) << kPortConstants[i].name;
    }
    EXPECT_EQ(mean[1], (a.M2g + b.M2g) / 2.0f);  // close phases keep the plain mean
    EXPECT_NEAR(mean[11], 43.6, 0.01);           // f6: 95.6 and 351.6

    a.LF6 = 0.00001f;
    b.LF6 = 0.00011f;
    const std::string text = TypedText(MeanConstants(a, b)[12]);
    EXPECT_EQ(text, "0.00006");
    EXPECT_FLOAT_EQ(static_cast<float>(Val(text)), 0.00006f);
}

// The stored location, field by field: zero bytes where it has no port number or position, its
// zone letter, its name cut after 35 characters, M2Hm in every month and no monthly Z0
// corrections.
TEST_F(Adjustment, LocationRecordBytes) {
    std::array<float, 13> constants{};
    for (size_t i = 0; i < 13; ++i) constants[i] = 0.5f + static_cast<float>(i);
    constants[2] = 1.85f;  // M2Hm
    const Bytes b =
        EncodePortRecord(LocationRecord("  Between Donges and Saint Nazaire, mid  ", constants, "M"));
    ASSERT_EQ(b.size(), 197u);
    const auto single = [&b](size_t at) {
        float v;
        std::memcpy(&v, b.data() + at, 4);
        return v;
    };
    EXPECT_EQ(std::string(b.begin(), b.begin() + 5), std::string(5, '\0'));
    EXPECT_EQ(std::string(b.begin() + 5, b.begin() + 40), "Between Donges and Saint Nazaire, m");
    EXPECT_EQ(std::string(b.begin() + 40, b.begin() + 48), std::string(8, '\0'));  // position
    EXPECT_EQ(b[48], 'M');
    for (size_t i = 0; i < 13; ++i) EXPECT_EQ(single(49 + 4 * i), constants[i]) << kPortConstants[i].name;
    for (size_t m = 0; m < 12; ++m) {
        EXPECT_EQ(single(101 + 4 * m), 0.0f) << m;
        EXPECT_EQ(single(149 + 4 * m), 1.85f) << m;
    }
    EXPECT_EQ(LocationRecord("", constants, "L").PortName, "");  // stored as 35 blanks
}

// The location's zone: the ports' when they share one, however each is written, otherwise Port
// 1's; a port not read does not count.
TEST_F(Adjustment, LocationZoneOfTwoPorts) {
    const struct {
        std::string port1, port2;
        std::string letter;
        bool shared;
    } cases[] = {
        {"M", "M", "M", true},
        {"m", "M", "M", true},
        {std::string(1, '\0'), "L", "L", true},  // a saved location's zero byte is 0 hours
        {"M", "L", "M", false},
        {"L", "K", "L", false},
        {"M", "", "M", true},
        {"", "K", "K", true},
    };
    for (const auto& c : cases) {
        const LocationZone zone = LocationZoneOf(c.port1, c.port2);
        EXPECT_EQ(zone.Letter, c.letter) << c.port1 << "/" << c.port2;
        EXPECT_EQ(zone.Shared, c.shared) << c.port1 << "/" << c.port2;
    }
}

TEST_F(Adjustment, DayStepsCrossTheEndsOfTheYear) {
    const struct {
        YearDay from;
        int step;
        YearDay to;
    } cases[] = {
        {{2025, 1}, -1, {2024, 366}}, {{2024, 1}, -1, {2023, 365}}, {{2001, 1}, -1, {2000, 366}},
        {{1901, 1}, -1, {1900, 365}}, {{2023, 365}, 1, {2024, 1}},  {{2024, 365}, 1, {2024, 366}},
        {{2024, 366}, 1, {2025, 1}},  {{2024, 60}, 1, {2024, 61}},  {{2024, 61}, -1, {2024, 60}},
    };
    for (const auto& c : cases) {
        const YearDay got = StepYearDay(c.from, c.step);
        EXPECT_EQ(got, c.to) << c.from.Year << " day " << c.from.DayOfYear << " step " << c.step << ": "
                             << got.Year << " day " << got.DayOfYear;
    }
}

// The read-out's time and what each term adds at that row: the mean level in place of the Z0
// layer.
TEST_F(Adjustment, ReadoutOfARow) {
    EXPECT_EQ(ClockTextHours("12:00"), 12.0);
    EXPECT_EQ(ClockTextHours("09:30"), 9.5);
    EXPECT_EQ(ClockTextHours("00:00"), 0.0);
    EXPECT_EQ(ClockTextHours("abc"), 0.0);
    // Halves to even, counted on hours × 6 and not on hours / (1/6), which differ at 00:25.
    const std::pair<double, int> rows[] = {{0, 1},    {0.0833, 1},   {0.25, 3},
                                           {0.75, 5}, {5.0 / 12, 3}, {ClockTextHours("00:25"), 3},
                                           {12, 73},  {24, 145}};
    for (const auto& [hours, row] : rows) EXPECT_EQ(ReadoutRow(hours), row) << hours;

    LayerSet layers;
    for (size_t i = 0; i < 7; ++i) layers[i](2, 73) = static_cast<double>(i + 1) / 10;
    const Contributions c = ContributionsAt(layers, 3.5, 73);
    EXPECT_EQ(c.Mean, 3.5);
    EXPECT_EQ(c.Terms, (std::array<double, 6>{0.1, 0.2, 0.3, 0.4, 0.5, 0.6}));
    EXPECT_DOUBLE_EQ(c.Total, 3.5 + 2.1);  // the Z0 layer (0.7) is not added
}

// The twelve short-date patterns in their four orders; nothing for another pattern.
TEST_F(Adjustment, DatePartsInTheShortDateOrder) {
    const struct {
        const char* pattern;
        const char* text;
    } cases[] = {
        {"MM/DD/YYYY", "March 5 2026"}, {"MM-DD-YYYY", "March 5 2026"}, {"MM.DD.YYYY", "March 5 2026"},
        {"DD/MM/YYYY", "5 March 2026"}, {"DD-MM-YYYY", "5 March 2026"}, {"DD.MM.YYYY", "5 March 2026"},
        {"YYYY/MM/DD", "2026 March 5"}, {"YYYY-MM-DD", "2026 March 5"}, {"YYYY.MM.DD", "2026 March 5"},
        {"YYYY/DD/MM", "2026 5 March"}, {"YYYY-DD-MM", "2026 5 March"}, {"YYYY.DD.MM", "2026 5 March"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InShortDateOrder(c.pattern, "2026", "March", "5"), c.text) << c.pattern;
    EXPECT_EQ(InShortDateOrder("d MMM yyyy", "2026", "March", "5"), std::nullopt);
}

// Every shared input of a day's computation, set to values of its own for each k.
void setInputs(SharedState& s, int k) {
    const double x = k;
    s.CurrentPort = static_cast<int16_t>(70 + k);
    s.PortName = "Port " + std::to_string(k);
    s.SelectedYear = 2020 + k;
    s.SelectedMonth = k;
    s.SelectedDay = 10 + k;
    s.SelectedDayOfYear = 100 + k;
    s.TimeNowHours = x / 4;
    s.DayCurve(2, 73) = x;
    for (LayerTable* l : s.DayLayers()) (*l)(2, 10) = x / 2;
    s.DayMeanLevel = x / 8;
    s.CurvePoints = 140 + k;
    s.DayEvents(1, 3) = x;
    s.UserDepth = static_cast<float>(k);
    s.ScaleTop = x;
    s.ScaleBottom = -x;
    s.Draught = static_cast<float>(k) / 2;
    s.KeelClearance = static_cast<float>(k) / 4;
    s.OutputOption = static_cast<float>(k);
    s.AreaFilePath = "/area" + std::to_string(k);
    s.DepthFileName = "D" + std::to_string(k);
    s.DepthFilePath = "/depths/D" + std::to_string(k);
}

void expectInputs(const SharedState& s, int k, const std::string& when) {
    SharedState expected;
    setInputs(expected, k);
    EXPECT_EQ(s.CurrentPort, expected.CurrentPort) << when;
    EXPECT_EQ(s.PortName, expected.PortName) << when;
    EXPECT_EQ(s.SelectedYear, expected.SelectedYear) << when;
    EXPECT_EQ(s.SelectedMonth, expected.SelectedMonth) << when;
    EXPECT_EQ(s.SelectedDay, expected.SelectedDay) << when;
    EXPECT_EQ(s.SelectedDayOfYear, expected.SelectedDayOfYear) << when;
    EXPECT_EQ(s.TimeNowHours, expected.TimeNowHours) << when;
    EXPECT_EQ(s.DayCurve(2, 73), expected.DayCurve(2, 73)) << when;
    const auto layers = const_cast<SharedState&>(s).DayLayers();
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ((*layers[i])(2, 10), expected.LayerM2(2, 10)) << when << i;
    EXPECT_EQ(s.DayMeanLevel, expected.DayMeanLevel) << when;
    EXPECT_EQ(s.CurvePoints, expected.CurvePoints) << when;
    EXPECT_EQ(s.DayEvents(1, 3), expected.DayEvents(1, 3)) << when;
    EXPECT_EQ(s.UserDepth, expected.UserDepth) << when;
    EXPECT_EQ(s.ScaleTop, expected.ScaleTop) << when;
    EXPECT_EQ(s.ScaleBottom, expected.ScaleBottom) << when;
    EXPECT_EQ(s.Draught, expected.Draught) << when;
    EXPECT_EQ(s.KeelClearance, expected.KeelClearance) << when;
    EXPECT_EQ(s.OutputOption, expected.OutputOption) << when;
    EXPECT_EQ(s.AreaFilePath, expected.AreaFilePath) << when;
    EXPECT_EQ(s.DepthFileName, expected.DepthFileName) << when;
    EXPECT_EQ(s.DepthFilePath, expected.DepthFilePath) << when;
}

// Every shared input comes back after a computation, also when it ends in an exception; the
// sites' own tables stay as computed.
TEST_F(Adjustment, SharedInputsComeBackOnEveryWayOut) {
    SharedState& s = State();
    setInputs(s, 1);
    {
        SavedDayInputs saved;
        setInputs(s, 2);
        s.AdjMeanMid = 4;
    }
    expectInputs(s, 1, "after a computation");
    try {
        SavedDayInputs saved;
        setInputs(s, 3);
        throw std::runtime_error("stopped");
    } catch (const std::runtime_error&) {
    }
    expectInputs(s, 1, "after an exception");
    EXPECT_EQ(s.AdjMeanMid, 4);
}
