// The harmonic day curve and the height at a given time.

#include "engine/curve.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "engine/astro.h"
#include "engine/highlow.h"
#include "engine/numtext.h"
#include "port_fixture.h"

namespace {

using engine::DayTideView;
using testing_support::SelectDate;

class CurveTest : public testing_support::PortTest {
protected:
    void TearDown() override {
        engine::SetDayTideView(nullptr);
        engine::SetAdjustmentSites(nullptr);
        PortTest::TearDown();
    }
};

engine::FileResult dayTide(bool summer = false) {
    int16_t record = 0;
    int points = 0;
    return engine::CalcDayTide(record, engine::State().SelectedDayOfYear, points, summer);
}

engine::FileResult dayCurve(double lastHeight = 0) {
    int16_t record = 0;
    int points = 0;
    return engine::CalcDayCurve(record, engine::State().SelectedDayOfYear, 0, 0, lastHeight, points);
}

double heightAt(int year, int day, double time) {
    int16_t record = 0;
    double h = 0, later = 0;
    EXPECT_TRUE(engine::CalcHeightAtTime(record, year, day, time, h, later).ok()) << year << " day " << day;
    return h;
}

class RecordingView : public DayTideView {
public:
    std::vector<Pointer> pointers;
    std::vector<ConstantCaptions> captions;
    void SetPointer(Pointer p) override { pointers.push_back(p); }
    void ShowConstants(const ConstantCaptions& c) override { captions.push_back(c); }
};

class FixedSites : public engine::AdjustmentSites {
public:
    engine::ConstantTexts port1, mid, port2;
    engine::ConstantTexts Port1() const override { return port1; }
    engine::ConstantTexts Intermediate() const override { return mid; }
    engine::ConstantTexts Port2() const override { return port2; }
};

// The texts of a record's thirteen constants, with a unit after each to show that only the
// number at the start is read.
engine::ConstantTexts textsOf(const engine::PortRecord& r) {
    const float v[13] = {r.Z0,  r.M2g,  r.M2Hm, r.S2g, r.S2Hm, r.K1g, r.K1Hm,
                         r.O1g, r.O1Hm, r.sf4,  r.LF4, r.sf6,  r.LF6};
    engine::ConstantTexts t;
    for (size_t i = 0; i < 13; ++i) t[i] = " " + engine::Trim(engine::StrSingle(v[i])) + " m";
    return t;
}

// ---------------------------------------------------------------------------------------------
// Speeds from the daily change of the whole-degree angles

struct SpeedCase {
    int delta, limit;
    int n;
    double omega;
};

TEST_F(CurveTest, SpeedIsTheFirstWholeTurnCountAboveTheLimit) {
    // clang-format off
    const SpeedCase cases[] = {
        {336, 600, 1, 29.0},        // M2: 696 / 24
        {-24, 600, 2, 29.0},        // M2 the other side of 0: the same 696
        {335, 600, 1, 695.0 / 24},
        {0, 600, 2, 30.0},          // S2 unchanged from one day to the next
        {360, 600, 1, 30.0},        // S2 from 360 to 0
        {-360, 600, 3, 30.0},       // S2 from 0 to 360
        {1, 600, 2, 721.0 / 24},    // S2 one degree apart
        {-1, 600, 2, 719.0 / 24},
        {240, 600, 2, 960.0 / 24},  // 600 itself is not above the limit
        {1, 300, 1, 361.0 / 24},    // K1
        {0, 300, 1, 15.0},
        {335, 300, 0, 335.0 / 24},  // O1: n = 0 is tried first
        {300, 300, 1, 660.0 / 24},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto s = engine::SpeedFromDailyChange(c.delta, c.limit);
        EXPECT_EQ(s.n, c.n) << "delta " << c.delta << " limit " << c.limit;
        EXPECT_DOUBLE_EQ(s.omega, c.omega) << "delta " << c.delta << " limit " << c.limit;
    }
}

// S2 alone: its whole-degree angle moves by 0 or 1 degree a day, so the curve runs at 30 or
// 721/24 degrees an hour. Expected heights use pi / 180; the method's own factor is 3.6e-5
// larger, worth under 1 mm on these phases, while a wrong speed is worth several centimetres.
TEST_F(CurveTest, S2AloneRunsAtThirtyDegreesAnHourOrOneDegreeADayMore) {
    const float g = 40, H = 1;
    UsePort(testing_support::OnlyS2(g, H));
    struct Case {
        int delta;
        double omega;
    };
    for (const Case c : {Case{0, 30.0}, Case{1, 721.0 / 24}}) {
        // The first day of 2025 whose S2 angle changes by delta to the next.
        int doy = 0;
        engine::AnglesAndFactors a, b;
        for (int d = 1; d <= 365 && doy == 0; ++d) {
            a = engine::CalcAnglesAndFactors(2025, d - 1);
            b = engine::CalcAnglesAndFactors(2025, d);
            if (a.S2Angle - b.S2Angle == c.delta) doy = d;
        }
        ASSERT_NE(doy, 0) << "no day with delta " << c.delta;
        const auto date = engine::SplitDate(engine::DateSerial(2025, 1, doy));
        SelectDate(2025, date.month, date.day);
        ASSERT_TRUE(dayTide().ok());
        const auto& s = engine::State();
        for (int r : {1, 37, 100, 149}) {
            const double t = 24 + (r - 1) / 6.0;  // from midnight of the day before
            const double f = a.S2Factor + (b.S2Factor - a.S2Factor) / 24 * t;
            const double expected = H * f * std::cos((a.S2Angle + g - c.omega * t) * std::numbers::pi / 180);
            EXPECT_NEAR(s.DayCurve(2, r), expected, 0.001) << "delta " << c.delta << " row " << r;
            EXPECT_NEAR(s.LayerS2(2, r), expected, 0.001) << "delta " << c.delta << " row " << r;
            EXPECT_EQ(s.LayerM2(2, r), 0.0);
            EXPECT_EQ(s.LayerF4(2, r), 0.0);
            EXPECT_EQ(s.LayerZ0(2, r), 0.0);
        }
    }
}

// A zero semi-diurnal wave leaves the shallow-water terms nothing to act on.
TEST_F(CurveTest, ShallowWaterTermsVanishWithoutASemiDiurnalWave) {
    engine::PortRecord port = testing_support::EmptyPort();
    port.K1Hm = 0.5f;
    port.K1g = 10;
    port.sf4 = 30;
    port.LF4 = 0.5f;
    port.sf6 = 60;
    port.LF6 = 0.25f;
    UsePort(port);
    SelectDate(2025, 5, 1);
    ASSERT_TRUE(dayTide().ok());
    const auto& s = engine::State();
    for (int r = 1; r <= 149; ++r) {
        EXPECT_EQ(s.LayerF4(2, r), 0.0) << r;
        EXPECT_EQ(s.LayerF6(2, r), 0.0) << r;
        EXPECT_EQ(s.DayCurve(2, r), s.LayerK1(2, r)) << r;
    }
}

// Heights worked out step by step from the method's own numbers, apart from this program: the
// radian factor 0.017453925199433, the single reduction of each phase and the summed steps all
// show in the last digits (pi / 180 alone moves these by about a millimetre).
TEST_F(CurveTest, DayCurveMatchesAStepByStepReckoningOfTheMethod) {
    engine::PortRecord port = testing_support::MadeUpPort();
    port.sf4 = 30;
    port.LF4 = 0.03125f;
    port.sf6 = 300;
    port.LF6 = 0.0078125f;
    UsePort(port);
    SelectDate(2025, 6, 15);
    ASSERT_TRUE(dayTide().ok());
    struct Row {
        int row;
        double height;
    };
    for (const Row r :
         {Row{1, 1.1626248342093424}, Row{73, 0.8867710666609924}, Row{149, 1.2967870073107521}})
        EXPECT_NEAR(engine::State().DayCurve(2, r.row), r.height, 1e-12) << "row " << r.row;
}

// ---------------------------------------------------------------------------------------------
// The displayed window

TEST_F(CurveTest, DayWindowIs149RowsFromMidnight) {
    UsePort(testing_support::MadeUpPort());
    SelectDate(2025, 3, 12);
    int16_t record = 0;
    int points = 0;
    engine::State().CurrentPort = 1;
    ASSERT_TRUE(engine::CalcDayTide(record, engine::State().SelectedDayOfYear, points, false).ok());
    const auto& s = engine::State();
    EXPECT_EQ(record, 1);
    EXPECT_EQ(points, 302);
    EXPECT_EQ(s.CurvePoints, 147);
    EXPECT_DOUBLE_EQ(s.DayMeanLevel, 3.0);
    for (int r : {1, 2, 73, 149}) {
        EXPECT_EQ(s.DayCurve(1, r), (r - 1) * (1.0 / 6)) << r;
        EXPECT_EQ(s.LayerO1(1, r), s.DayCurve(1, r)) << r;
    }
    EXPECT_NE(s.DayCurve(2, 149), 0.0);
    EXPECT_EQ(s.DayCurve(1, 150), 0.0);
    EXPECT_EQ(s.DayCurve(2, 150), 0.0);
}

// Summer time: the clock's 00:00 shows the height of 23:00 of the day before.
TEST_F(CurveTest, SummerTimeWindowStartsAnHourEarlierWith152Rows) {
    UsePort(testing_support::MadeUpPort());
    SelectDate(2025, 7, 20);
    auto& s = engine::State();
    ASSERT_TRUE(dayTide(false).ok());
    const engine::CurveTable winter = s.DayCurve;
    const engine::LayerTable winterM2 = s.LayerM2;
    ASSERT_TRUE(dayTide(true).ok());
    EXPECT_EQ(s.CurvePoints, 147);
    EXPECT_EQ(s.DayCurve(1, 1), 0.0);
    EXPECT_NEAR(s.DayCurve(2, 1), heightAt(2025, s.SelectedDayOfYear - 1, 23.0), 1e-9);
    // Summer row r + 6 is the same moment as row r without summer time.
    for (int r = 1; r <= 146; ++r) {
        EXPECT_EQ(s.DayCurve(2, r + 6), winter(2, r)) << r;
        EXPECT_EQ(s.LayerM2(2, r + 6), winterM2(2, r)) << r;
        EXPECT_EQ(s.DayCurve(1, r + 6), (r + 5) * (1.0 / 6)) << r;
    }
    EXPECT_NE(s.DayCurve(2, 152), 0.0);
    EXPECT_EQ(s.DayCurve(2, 153), 0.0);
}

// 1 January: the span starts at midnight of day 0 of the displayed year, the last day of the
// year before continued. Summer time puts 23:00 of that day on row 1, where CalcHeightAtTime
// of day 0 can be compared.
TEST_F(CurveTest, FirstOfJanuaryStartsOnDayZeroOfTheYear) {
    UsePort(testing_support::MadeUpPort());
    SelectDate(2025, 1, 1);
    ASSERT_TRUE(dayTide(true).ok());
    const double lateOnDayZero = engine::State().DayCurve(2, 1);
    EXPECT_NEAR(lateOnDayZero, heightAt(2025, 0, 23.0), 1e-9);
    // 31 December 2024 on its own angles: another basis, the same tide.
    EXPECT_NEAR(lateOnDayZero, heightAt(2024, 366, 23.0), 0.05);
}

// ---------------------------------------------------------------------------------------------
// Month values, user depth, captions and the busy pointer

TEST_F(CurveTest, MonthValuesOfTheSelectedMonthOnly) {
    engine::PortRecord port = testing_support::EmptyPort();
    port.Z0 = 2;
    port.M2Hm = 1;
    port.M2g = 90;
    for (int m = 1; m <= 12; ++m) {
        port.MonthM2Hm[m - 1] = 1.0f + 0.25f * static_cast<float>(m);  // 1.25 .. 4
        port.MonthDZ0[m - 1] = 0.125f * static_cast<float>(m);
    }
    UsePort(port);
    struct Case {
        int month;
        double m2Scale, mean;
    };
    // clang-format off
    const Case cases[] = {
        {1, 1.25, 2.125},
        {6, 2.5, 2.75},
        {12, 4.0, 3.5},
        {0, 1.0, 2.0},   // no month: the record's M2Hm and no correction
        {13, 1.0, 2.0},
    };
    // clang-format on
    // The M2 layer with the record's own amplitude, for the scale.
    auto& s = engine::State();
    SelectDate(2025, 6, 10);
    s.SelectedMonth = 0;
    ASSERT_TRUE(dayTide().ok());
    const engine::LayerTable plain = s.LayerM2;
    for (const auto& c : cases) {
        s.SelectedMonth = c.month;
        ASSERT_TRUE(dayTide().ok());
        EXPECT_DOUBLE_EQ(s.DayMeanLevel, c.mean) << "month " << c.month;
        for (int r : {1, 50, 149}) {
            EXPECT_DOUBLE_EQ(s.LayerZ0(2, r), c.mean) << "month " << c.month;
            EXPECT_NEAR(s.LayerM2(2, r), c.m2Scale * plain(2, r), 1e-12) << "month " << c.month;
            EXPECT_NEAR(s.DayCurve(2, r), s.LayerM2(2, r) + c.mean, 1e-12) << "month " << c.month;
        }
    }
}

struct DepthCase {
    float option;
    bool added;
};

TEST_F(CurveTest, UserDepthAddedUnlessTheOptionIsExactlyOne) {
    const float depth = 2.5f;
    UsePort(testing_support::MadeUpPort(), depth);
    SelectDate(2025, 9, 3);
    auto& s = engine::State();
    s.OutputOption = 1;
    ASSERT_TRUE(dayTide().ok());
    const engine::CurveTable chartDatum = s.DayCurve;
    const engine::LayerTable z0 = s.LayerZ0, m2 = s.LayerM2;
    // clang-format off
    const DepthCase cases[] = {{1.0f, false}, {2.0f, true}, {3.0f, true}, {1.5f, true}, {0.0f, true}, {0.999f, true}};
    // clang-format on
    for (const auto& c : cases) {
        s.OutputOption = c.option;
        s.UserDepth = 0;
        ASSERT_TRUE(dayTide().ok());
        EXPECT_EQ(s.UserDepth, depth) << "option " << c.option;
        for (int r : {1, 80, 149}) {
            EXPECT_NEAR(s.DayCurve(2, r), chartDatum(2, r) + (c.added ? depth : 0.0), 1e-12)
                << "option " << c.option;
            EXPECT_EQ(s.LayerZ0(2, r), z0(2, r)) << "option " << c.option;
            EXPECT_EQ(s.LayerM2(2, r), m2(2, r)) << "option " << c.option;
        }
        int16_t record = 0;
        double time = 12, h = 0, later = 0;
        s.OutputOption = 1;
        ASSERT_TRUE(engine::CalcHeightAtTime(record, 2025, s.SelectedDayOfYear, time, h, later).ok());
        const double h1 = h, later1 = later;
        s.OutputOption = c.option;
        time = 12;
        ASSERT_TRUE(engine::CalcHeightAtTime(record, 2025, s.SelectedDayOfYear, time, h, later).ok());
        EXPECT_NEAR(h, h1 + (c.added ? depth : 0.0), 1e-12) << "option " << c.option;
        EXPECT_NEAR(later, later1 + (c.added ? depth : 0.0), 1e-12) << "option " << c.option;
    }
}

TEST_F(CurveTest, MissingUserDepthCountsAsZero) {
    // Two ports, one depth record.
    UsePorts({testing_support::MadeUpPort(), testing_support::MadeUpPort()}, {2.0f});
    SelectDate(2025, 9, 3);
    auto& s = engine::State();
    s.OutputOption = 2;
    ASSERT_TRUE(dayTide().ok());
    const double withDepth = s.DayCurve(2, 10);
    struct Case {
        const char* what;
        std::string path;
        int16_t port;
    };
    const Case cases[] = {
        {"no file", dir.file("None.DEP"), 1},
        {"record past the end", s.DepthFilePath, 2},
    };
    for (const auto& c : cases) {
        s.DepthFilePath = c.path;
        s.CurrentPort = c.port;
        s.UserDepth = 9;
        ASSERT_TRUE(dayTide().ok()) << c.what;
        EXPECT_EQ(s.UserDepth, 0.0f) << c.what;
        EXPECT_NEAR(s.DayCurve(2, 10), withDepth - 2.0, 1e-12) << c.what;
    }
}

TEST_F(CurveTest, ConstantCaptionsShowTheRecordBeforeTheMonthValues) {
    engine::PortRecord port = testing_support::MadeUpPort();
    port.Z0 = 3.7f;
    port.M2g = 5.6f;
    port.M2Hm = 1.5f;
    port.MonthM2Hm.fill(2.25f);  // used in the computation, not shown
    port.S2g = 359.5f;           // rounds up to 360, shown with three digits
    port.S2Hm = 0.445f;          // 0.4449999928 as a double: shown as its 7 digits, 0.445
    port.K1g = 12;
    port.K1Hm = 0.1f;
    port.O1g = 0;
    port.O1Hm = 0.06f;
    port.sf4 = 45;
    port.LF4 = 0.0234f;
    port.sf6 = 270.4f;
    port.LF6 = 0.005f;
    UsePort(port);
    SelectDate(2025, 4, 2);
    RecordingView view;
    engine::SetDayTideView(&view);
    auto& s = engine::State();
    s.ShowConstants = true;
    ASSERT_TRUE(dayTide().ok());
    ASSERT_EQ(view.captions.size(), 1u);
    const auto& c = view.captions[0];
    EXPECT_EQ(c.lblZ0harm, " (Z0 3.70)");
    EXPECT_EQ(c.lblm2Harm, " (g 006 : Hm 1.50)");
    EXPECT_EQ(c.lblS2Harm, " (g 360 : Hm 0.45)");
    EXPECT_EQ(c.lblK1Harm, " (g 012 : Hm 0.10)");
    EXPECT_EQ(c.lblO1Harm, " (g 000 : Hm 0.06)");
    EXPECT_EQ(c.lblf4Harm, " (f4 045 : F4 0.02)");
    EXPECT_EQ(c.lblf6Harm, " (f6 270 : F6 0.01)");

    testing_support::UseDecimalCommaLocale();
    ASSERT_TRUE(dayTide().ok());
    ASSERT_EQ(view.captions.size(), 2u);
    EXPECT_EQ(view.captions[1].lblm2Harm, " (g 006 : Hm 1,50)");

    s.ShowConstants = false;
    ASSERT_TRUE(dayTide().ok());
    EXPECT_EQ(view.captions.size(), 2u);
    // CalcDayCurve never shows them.
    s.ShowConstants = true;
    ASSERT_TRUE(dayCurve().ok());
    EXPECT_EQ(view.captions.size(), 2u);
}

TEST_F(CurveTest, BusyPointerAroundTheDayMembersOnly) {
    UsePort(testing_support::MadeUpPort());
    SelectDate(2025, 4, 2);
    RecordingView view;
    engine::SetDayTideView(&view);
    using P = DayTideView::Pointer;
    ASSERT_TRUE(dayTide().ok());
    EXPECT_EQ(view.pointers, (std::vector<P>{P::ArrowHourglass, P::Idle}));
    view.pointers.clear();
    ASSERT_TRUE(dayCurve().ok());
    EXPECT_EQ(view.pointers, (std::vector<P>{P::Hourglass, P::Idle}));
    view.pointers.clear();
    int16_t record = 0;
    int points = 0;
    engine::CalcAdjustCurvePort1(record, 100, 0, 0, 0, points);
    engine::TimeHeightSeries series;
    ASSERT_TRUE(engine::CalcDayTideMinutes(1, engine::JulianDay(2, 4, 2025, 0, 0, 0), series).ok());
    EXPECT_TRUE(view.pointers.empty());
    // A record that cannot be read still ends with the default pointer.
    engine::State().AreaFilePath = dir.file("None.hc");
    EXPECT_FALSE(dayTide().ok());
    EXPECT_EQ(view.pointers, (std::vector<P>{P::ArrowHourglass, P::Idle}));
}

// ---------------------------------------------------------------------------------------------
// A day that cannot be computed

// No height is made up: the rows keep their times, every height and contribution is not a
// number, and the status says why.
TEST_F(CurveTest, DayThatCannotBeComputedHoldsNoHeights) {
    engine::PortRecord damaged = testing_support::MadeUpPort();
    damaged.O1Hm = std::numeric_limits<float>::quiet_NaN();
    UsePorts({testing_support::MadeUpPort(), testing_support::MadeUpPort(), damaged}, {0, 1e8f, 0});
    auto& s = engine::State();
    const std::string area = s.AreaFilePath;
    struct Case {
        const char* what;
        std::string path;
        int16_t port;
        int year;
        float option;
        engine::FileStatus status;
    };
    const Case cases[] = {
        {"missing file", dir.file("None.hc"), 1, 2025, 1, engine::FileStatus::Missing},
        {"record past the end", area, 4, 2025, 1, engine::FileStatus::PastEnd},
        {"damaged record", area, 3, 2025, 1, engine::FileStatus::Damaged},
        {"damaged depth that is added", area, 2, 2025, 3, engine::FileStatus::Damaged},
        {"year too far out", area, 1, 3001, 1, engine::FileStatus::Refused},
    };
    for (const auto& c : cases) {
        SelectDate(c.year, 4, 2);
        s.AreaFilePath = c.path;
        s.CurrentPort = c.port;
        s.OutputOption = c.option;
        for (int k = 1; k <= 15; ++k) s.DayEvents(1, k) = 7;
        const auto result = dayTide();
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_FALSE(result.message.empty()) << c.what;
        EXPECT_EQ(s.CurvePoints, 147) << c.what;
        EXPECT_DOUBLE_EQ(s.DayCurve(1, 7), 1.0) << c.what;
        EXPECT_TRUE(std::isnan(s.DayCurve(2, 1))) << c.what;
        EXPECT_TRUE(std::isnan(s.DayCurve(2, 149))) << c.what;
        EXPECT_TRUE(std::isnan(s.DayMeanLevel)) << c.what;
        EXPECT_EQ(s.DayEvents(1, 15), 0.0) << c.what;
        for (auto* layer : s.DayLayers()) EXPECT_TRUE(std::isnan((*layer)(2, 5))) << c.what;

        EXPECT_EQ(dayCurve().status, c.status) << c.what;
        EXPECT_TRUE(std::isnan(s.DayCurve(2, 100))) << c.what;
        double time = 12;
        double h = 0, later = 0;
        int16_t record = 0;
        EXPECT_EQ(engine::CalcHeightAtTime(record, c.year, 92, time, h, later).status, c.status) << c.what;
        EXPECT_TRUE(std::isnan(h) && std::isnan(later)) << c.what;

        engine::CurveTable other;
        EXPECT_EQ(engine::PortDayCurve(engine::DateSerial(c.year, 4, 3), false, other).status, c.status)
            << c.what;
        EXPECT_DOUBLE_EQ(other(1, 7), 1.0) << c.what;
        EXPECT_TRUE(std::isnan(other(2, 1)) && std::isnan(other(2, 149))) << c.what;
    }
    // A damaged depth that the option leaves out does not stop the day.
    SelectDate(2025, 4, 2);
    s.AreaFilePath = area;
    s.CurrentPort = 2;
    s.OutputOption = 1;
    EXPECT_TRUE(dayTide().ok());
    EXPECT_EQ(s.UserDepth, 0.0f);
    EXPECT_TRUE(std::isfinite(s.DayCurve(2, 1)));
}

// ---------------------------------------------------------------------------------------------
// Another day's table beside the displayed day's

// The table of any day is the one CalcDayTide gives when that day is displayed (its month
// values, the user depth when the option adds it, the summer-time window), and computing it
// leaves the displayed day's tables, counts and depth as they were.
TEST_F(CurveTest, AnotherDaysTableIsThatDaysDisplayedTableAndLeavesTheDisplayedDayAlone) {
    engine::PortRecord port = testing_support::MadeUpPort();
    for (int m = 1; m <= 12; ++m) port.MonthDZ0[m - 1] = 0.125f * static_cast<float>(m);
    UsePort(port, 2.5f);
    auto& s = engine::State();
    struct Case {
        int year, month, day;
        bool summer;
        float option;
    } cases[] = {
        {2026, 7, 16, true, 3},   // summer window, depth added
        {2026, 7, 15, false, 2},  // the day before, its own month values
        {2026, 1, 1, false, 1},   // day 0 of the year starts the span; no depth
        {2024, 12, 31, true, 3},  // a leap year's last day
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " summer " << c.summer
                                        << " option " << c.option);
        s.OutputOption = c.option;
        SelectDate(2025, 11, 20);
        ASSERT_TRUE(dayTide(false).ok());
        const engine::CurveTable displayed = s.DayCurve;
        const engine::LayerTable displayedM2 = s.LayerM2;
        const double mean = s.DayMeanLevel;
        s.UserDepth = 7;  // not read back from the file
        s.CurvePoints = 5;

        engine::CurveTable other;
        other(2, 300) = 9;  // rows past the day are cleared
        ASSERT_TRUE(
            engine::PortDayCurve(engine::DateSerial(c.year, c.month, c.day) + 0.75, c.summer, other).ok());
        for (int r = 1; r <= 500; ++r) {
            ASSERT_EQ(s.DayCurve(1, r), displayed(1, r)) << r;
            ASSERT_EQ(s.DayCurve(2, r), displayed(2, r)) << r;
        }
        EXPECT_EQ(s.LayerM2(2, 40), displayedM2(2, 40));
        EXPECT_EQ(s.DayMeanLevel, mean);
        EXPECT_EQ(s.UserDepth, 7.0f);
        EXPECT_EQ(s.CurvePoints, 5);

        SelectDate(c.year, c.month, c.day);
        ASSERT_TRUE(dayTide(c.summer).ok());
        for (int r = 1; r <= 500; ++r) {
            ASSERT_EQ(other(1, r), s.DayCurve(1, r)) << r;
            ASSERT_EQ(other(2, r), s.DayCurve(2, r)) << r;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// CalcDayCurve and the adjustment sites

TEST_F(CurveTest, DayCurveIs147RowsFromMidnightAndTheLastHeight) {
    UsePort(testing_support::MadeUpPort());
    SelectDate(2025, 10, 8);
    auto& s = engine::State();
    for (int k = 1; k <= 15; ++k) s.DayEvents(2, k) = 5;
    int16_t record = 0;
    int points = 0;
    ASSERT_TRUE(engine::CalcDayCurve(record, s.SelectedDayOfYear, 11.5, 4.0, 1.234, points).ok());
    EXPECT_EQ(points, 148);
    EXPECT_EQ(s.CurvePoints, 148);
    EXPECT_EQ(record, 1);
    EXPECT_DOUBLE_EQ(s.DayMeanLevel, 3.0);
    EXPECT_EQ(s.DayEvents(2, 15), 0.0);
    EXPECT_EQ(s.DayCurve(1, 1), 0.0);
    EXPECT_NEAR(s.DayCurve(1, 147), 146.0 / 6, 1e-12);  // 24:20
    EXPECT_EQ(s.DayCurve(1, 148), 99.0);
    EXPECT_EQ(s.DayCurve(2, 148), 1.234);
    EXPECT_EQ(s.DayCurve(2, 149), 0.0);
    // Rows are the heights of CalcHeightAtTime on the same day: 01:00 and 01:03.
    int16_t rec = 0;
    double time = 1.0, h = 0, later = 0;
    ASSERT_TRUE(engine::CalcHeightAtTime(rec, 2025, s.SelectedDayOfYear, time, h, later).ok());
    EXPECT_NEAR(s.DayCurve(2, 7), h, 1e-9);
    // The clock time and the first height change nothing.
    const engine::CurveTable first = s.DayCurve;
    ASSERT_TRUE(engine::CalcDayCurve(record, s.SelectedDayOfYear, 0.0, -50.0, 1.234, points).ok());
    for (int r = 1; r <= 148; ++r) EXPECT_EQ(s.DayCurve(2, r), first(2, r)) << r;
}

TEST_F(CurveTest, AdjustmentSitesReadTheNumbersAtTheStartOfTheirTexts) {
    engine::PortRecord port = testing_support::MadeUpPort();
    port.sf4 = 30;
    port.LF4 = 0.03125f;
    port.sf6 = 300;
    port.LF6 = 0.0078125f;
    UsePort(port, 1.5f);
    SelectDate(2025, 2, 14);
    auto& s = engine::State();
    s.OutputOption = 2;
    ASSERT_TRUE(dayCurve().ok());
    const engine::CurveTable reference = s.DayCurve;
    const engine::LayerTable referenceF4 = s.LayerF4;

    FixedSites sites;
    sites.port1 = sites.mid = sites.port2 = textsOf(port);
    engine::SetAdjustmentSites(&sites);
    s.AdjMeanPort2 = 42;
    struct Site {
        const char* name;
        void (*calc)(int16_t&, int, double, double, double, int&);
        engine::CurveTable* curve;
        engine::LayerSet* layers;
        double* mean;
    };
    const Site siteList[] = {
        {"Intermediate", engine::CalcAdjustCurveIntermediate, &s.AdjCurveMid, &s.AdjLayersMid, &s.AdjMeanMid},
        {"Port1", engine::CalcAdjustCurvePort1, &s.AdjCurvePort1, &s.AdjLayersPort1, &s.AdjMeanPort1},
        {"Port2", engine::CalcAdjustCurvePort2, &s.AdjCurvePort2, &s.AdjLayersPort2, nullptr},
    };
    for (const auto& site : siteList) {
        (*site.curve)(2, 300) = 7;
        s.DayEvents(1, 3) = 7;
        int16_t record = 0;
        int points = 0;
        site.calc(record, s.SelectedDayOfYear, 8.0, 1.0, 2.0, points);
        EXPECT_EQ(points, 148) << site.name;
        EXPECT_EQ(s.CurvePoints, 148) << site.name;
        EXPECT_EQ(record, 1) << site.name;
        EXPECT_EQ(s.DayEvents(1, 3), 0.0) << site.name;
        EXPECT_EQ((*site.curve)(2, 300), 0.0) << site.name;
        for (int r = 2; r <= 147; ++r) {
            EXPECT_EQ((*site.curve)(2, r), reference(2, r)) << site.name << " row " << r;
            EXPECT_EQ((*site.layers)[4](2, r), referenceF4(2, r)) << site.name << " row " << r;
        }
        // Flat ends: a sentinel time with the height of the neighbouring row.
        EXPECT_EQ((*site.curve)(1, 1), -99.0) << site.name;
        EXPECT_EQ((*site.curve)(2, 1), (*site.curve)(2, 2)) << site.name;
        EXPECT_EQ((*site.curve)(1, 148), 99.0) << site.name;
        EXPECT_EQ((*site.curve)(2, 148), (*site.curve)(2, 147)) << site.name;
        if (site.mean) {
            EXPECT_DOUBLE_EQ(*site.mean, 3.0) << site.name;
        }
    }
    EXPECT_EQ(s.AdjMeanPort2, 42.0);  // the second port's mean is not kept
}

TEST_F(CurveTest, AdjustmentSitesWithoutNumbersAreLevelAtTheDepth) {
    UsePort(testing_support::MadeUpPort(), 1.25f);
    SelectDate(2025, 2, 14);
    auto& s = engine::State();
    s.OutputOption = 3;
    FixedSites sites;
    sites.mid.fill("depth");  // no number at the start: 0
    for (const bool registered : {true, false}) {
        engine::SetAdjustmentSites(registered ? &sites : nullptr);
        int16_t record = 0;
        int points = 0;
        engine::CalcAdjustCurveIntermediate(record, s.SelectedDayOfYear, 0, 0, 0, points);
        for (int r : {1, 2, 70, 147, 148}) EXPECT_EQ(s.AdjCurveMid(2, r), 1.25) << registered << " row " << r;
        EXPECT_EQ(s.AdjMeanMid, 0.0);
        double time = 6, h = 0, later = 0;
        engine::CalcHeightAtTimeIntermediate(record, 2025, s.SelectedDayOfYear, time, h, later);
        EXPECT_EQ(h, 1.25);
        EXPECT_EQ(later, 1.25);
    }
}

// ---------------------------------------------------------------------------------------------
// The height at a given time

struct TimeCase {
    double time;       // as passed
    double evaluated;  // where the first height is taken
};

TEST_F(CurveTest, HeightAtTimeMovesMidnightPairsInsideTheDay) {
    UsePort(testing_support::MadeUpPort());
    SelectDate(2025, 8, 1);
    auto& s = engine::State();
    const int day = s.SelectedDayOfYear;
    // clang-format off
    const TimeCase cases[] = {
        {0.0, 1.0 / 60},                  // 00:00 -> 00:01 and 00:04
        {23.9, 23.9 - 1.0 / 6},           // 23:54 -> 23:44 and 23:47
        {23.75, 23.75},                   // 23:45 and 23:48 fit before midnight
        {23.8, 23.8 - 1.0 / 6},           // 23.8 + 0.2 reaches 24: moved
        {12.5, 12.5},
    };
    // clang-format on
    // The minute series of the next day runs from midnight of this one on the same angles.
    engine::TimeHeightSeries minutes;
    ASSERT_TRUE(engine::CalcDayTideMinutes(1, engine::JulianDay(2, 8, 2025, 0, 0, 0), minutes).ok());
    auto minuteHeight = [&](double hours) {
        return minutes[static_cast<size_t>(std::lround(hours * 60))].Height;
    };
    for (const auto& c : cases) {
        int16_t record = 0;
        double time = c.time, h = 0, later = 0;
        ASSERT_TRUE(engine::CalcHeightAtTime(record, 2025, day, time, h, later).ok());
        EXPECT_NEAR(time, c.evaluated + 1.0 / 20, 1e-12) << "time " << c.time;
        EXPECT_NEAR(h, minuteHeight(c.evaluated), 1e-9) << "time " << c.time;
        EXPECT_NEAR(later, minuteHeight(c.evaluated + 1.0 / 20), 1e-9) << "time " << c.time;
    }
    // 23:50 is moved back onto 23:40, row 143 of the day from midnight.
    ASSERT_TRUE(dayCurve().ok());
    EXPECT_NEAR(heightAt(2025, day, 143.0 / 6), s.DayCurve(2, 143), 1e-9);
}

TEST_F(CurveTest, HeightAtTimeUsesTheSelectedMonthAndRefreshesTheDepth) {
    engine::PortRecord port = testing_support::MadeUpPort();
    port.MonthDZ0[7] = 0.5f;  // August
    UsePort(port, 3.0f);
    SelectDate(2025, 8, 1);
    auto& s = engine::State();
    s.OutputOption = 1;
    int16_t record = 0;
    double time = 10, h = 0, later = 0;
    ASSERT_TRUE(engine::CalcHeightAtTime(record, 2025, s.SelectedDayOfYear, time, h, later).ok());
    EXPECT_EQ(s.UserDepth, 3.0f);
    s.SelectedMonth = 7;
    EXPECT_NEAR(heightAt(2025, s.SelectedDayOfYear, 10), h - 0.5, 1e-12);
}

TEST_F(CurveTest, HeightAtTimeIntermediateEqualsTheFileMemberOnTheSameConstants) {
    const engine::PortRecord port = testing_support::MadeUpPort();
    UsePort(port);
    SelectDate(2025, 8, 1);
    FixedSites sites;
    sites.mid = textsOf(port);
    engine::SetAdjustmentSites(&sites);
    for (double t : {0.0, 7.25, 23.9}) {
        int16_t record = 0;
        double t1 = t, h1 = 0, l1 = 0, t2 = t, h2 = 0, l2 = 0;
        ASSERT_TRUE(engine::CalcHeightAtTime(record, 2025, 213, t1, h1, l1).ok());
        engine::CalcHeightAtTimeIntermediate(record, 2025, 213, t2, h2, l2);
        EXPECT_EQ(t1, t2);
        EXPECT_EQ(h1, h2);
        EXPECT_EQ(l1, l2);
    }
}

// ---------------------------------------------------------------------------------------------
// One-minute heights

TEST_F(CurveTest, MinuteSeriesIsThe3001MinutesFromTheMidnightBeforeAndASpare) {
    engine::PortRecord port = testing_support::MadeUpPort();
    port.MonthM2Hm[1] = 2.5f;  // February
    port.MonthDZ0[1] = 0.25f;
    UsePort(port, 4.0f);
    auto& s = engine::State();
    s.OutputOption = 2;  // never in the minute heights
    s.SelectedYear = 1999;
    s.SelectedMonth = 7;
    s.SelectedDayOfYear = 77;
    s.CurvePoints = 55;
    s.DayCurve(2, 1) = 8;
    engine::TimeHeightSeries series{{1, 1}, {2, 2}};
    ASSERT_TRUE(engine::CalcDayTideMinutes(1, engine::JulianDay(20, 2, 2025, 0, 0, 0), series).ok());
    ASSERT_EQ(series.size(), 3002u);
    EXPECT_EQ(series[0].Time, 0.0);
    EXPECT_NEAR(series[1440].Time, 24.0, 1e-9);
    EXPECT_NEAR(series[3000].Time, 50.0, 1e-9);
    EXPECT_EQ(series[3001].Time, 0.0);
    EXPECT_EQ(series[3001].Height, 0.0);
    EXPECT_EQ(s.CurvePoints, 55);
    EXPECT_EQ(s.SelectedDayOfYear, 77);
    EXPECT_EQ(s.DayCurve(2, 1), 8.0);

    // Every tenth minute from 24 h is the displayed day of that date, without the depth.
    s.OutputOption = 1;
    SelectDate(2025, 2, 20);
    ASSERT_TRUE(dayTide().ok());
    for (int r = 1; r <= 149; ++r)
        EXPECT_NEAR(series[static_cast<size_t>(1440 + 10 * (r - 1))].Height, s.DayCurve(2, r), 1e-9) << r;
}

TEST_F(CurveTest, MinuteSeriesOfTheFirstOfJanuaryStartsOnDayZero) {
    UsePort(testing_support::MadeUpPort());
    engine::TimeHeightSeries series;
    ASSERT_TRUE(engine::CalcDayTideMinutes(1, engine::JulianDay(1, 1, 2026, 0, 0, 0), series).ok());
    SelectDate(2026, 1, 1);
    ASSERT_TRUE(dayTide().ok());
    EXPECT_NEAR(series[1440 + 60].Height, engine::State().DayCurve(2, 7), 1e-9);
}

TEST_F(CurveTest, MinuteSeriesThatCannotBeComputedHoldsOnlyTheSpare) {
    engine::PortRecord damaged = testing_support::MadeUpPort();
    damaged.Longitude = 1e30f;
    UsePorts({testing_support::MadeUpPort(), damaged});
    const struct {
        int16_t port;
        int year;
        engine::FileStatus status;
    } cases[] = {{3, 2026, engine::FileStatus::PastEnd},
                 {2, 2026, engine::FileStatus::Damaged},
                 {1, 3500, engine::FileStatus::Refused}};
    for (const auto& c : cases) {
        engine::TimeHeightSeries series{{1, 1}};
        EXPECT_EQ(engine::CalcDayTideMinutes(c.port, engine::JulianDay(1, 1, c.year, 0, 0, 0), series).status,
                  c.status);
        ASSERT_EQ(series.size(), 1u);
        EXPECT_EQ(series[0].Height, 0.0);
    }
}

// ---------------------------------------------------------------------------------------------
// With the shipped data

// The ten-minute day list and the one-minute export find the same high waters of Dover.
TEST_F(CurveTest, MinuteHighWatersAgreeWithTheTenMinuteDayList) {
    auto& s = engine::State();
    s.AreaFilePath = testing_support::SourceDir() + "/data/UK.hc";
    s.DepthFilePath = dir.file("None.DEP");
    s.CurrentPort = 77;
    s.OutputOption = 1;
    for (int day : {1, 15, 28}) {
        SelectDate(2025, 3, day);
        ASSERT_TRUE(dayTide().ok());
        int points = 0;
        int16_t count = 0;
        engine::FindHighLowWaters(points, count);
        engine::TimeHeightSeries series;
        ASSERT_TRUE(engine::CalcDayTideMinutes(77, engine::JulianDay(day, 3, 2025, 0, 0, 0), series).ok());
        double range = 0;
        const auto highs = engine::DayRangeAndHighWaters(series, range);
        // High waters clear of midnight, where each list has its own edge.
        auto inside = [](double t) { return t > 0.25 && t < 23.75; };
        std::vector<double> minuteHighs, tenMinuteHighs;
        for (const auto& hw : highs)
            if (inside(hw.Time)) minuteHighs.push_back(hw.Time);
        for (int k = 1; k <= count; ++k)
            if (s.DayEvents(2, k) > s.DayMeanLevel && inside(s.DayEvents(1, k)))
                tenMinuteHighs.push_back(s.DayEvents(1, k));
        ASSERT_EQ(minuteHighs.size(), tenMinuteHighs.size()) << day;
        ASSERT_FALSE(minuteHighs.empty()) << day;
        for (size_t i = 0; i < minuteHighs.size(); ++i)
            EXPECT_NEAR(minuteHighs[i], tenMinuteHighs[i], 5.0 / 60) << day;
        EXPECT_NEAR(range, s.DayRange, 0.3) << day;  // the minute range also takes the next day's lows
        EXPECT_GT(range, 2.0);                       // Dover: 2 m at neaps and more
    }
}

}  // namespace
