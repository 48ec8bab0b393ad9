// The group method against a direct sum of its twenty member constituents.
//
// Each group stands for its members by one angle and factor a day, rounded to whole degrees,
// with one speed from the change to the next day. Summing the members one by one, each at its
// own speed from the rates of s, h, p, N and p1 and with its own nodal factor, gives the height
// the method approximates. The whole-degree angles alone allow about 0.9 cm per metre; the
// displayed day lies 24 to 49 hours after the angles' first day, where the rounding of the two
// angles the speed comes from is carried forward too.

#include <cmath>
#include <numbers>

#include "engine/astro.h"
#include "engine/curve.h"
#include "port_fixture.h"

namespace {

using engine::astro_internal::Arguments;

constexpr double kDeg = std::numbers::pi / 180;

// Daily motions of s, h, p, N, p1, degrees per day.
constexpr Arguments kDaily{13.176396, 0.985647, 0.111404, -0.052954, 0.000047};

enum class Nodal { None, M2, L2, K2, K1, J1, O1 };
enum Group { M2, S2, K1, O1 };

struct Member {
    const char* name;
    Group group;
    double r, c;            // amplitude ratio to the main constituent; phase offset, degrees
    int species;            // 2 semi-diurnal, 1 diurnal: the mean sun's hour angle times this
    double s, h, p, p1, k;  // argument = s s + h h + p p + p1 p1 + k, degrees
    Nodal nodal;
};

// clang-format off
const Member kMembers[] = {
    {"2N2",    M2, 0.02534, -30, 2, -4, 2,  2, 0, 0,   Nodal::M2},
    {"mu2",    M2, 0.03057, -30, 2, -4, 4,  0, 0, 0,   Nodal::M2},
    {"N2",     M2, 0.19146, -15, 2, -3, 2,  1, 0, 0,   Nodal::M2},
    {"nu2",    M2, 0.03636, -15, 2, -3, 4, -1, 0, 0,   Nodal::M2},
    {"M2",     M2, 1,         0, 2, -2, 2,  0, 0, 0,   Nodal::M2},
    {"lambda2",M2, 0.00738,  15, 2, -1, 0,  1, 0, 180, Nodal::M2},
    {"L2",     M2, 0.02827,  15, 2, -1, 2, -1, 0, 180, Nodal::L2},
    {"T2",     S2, 0.05861,   0, 2,  0, -1, 0, 1, 0,   Nodal::None},
    {"S2",     S2, 1,         0, 2,  0, 0,  0, 0, 0,   Nodal::None},
    {"K2",     S2, 0.27215,   0, 2,  0, 2,  0, 0, 0,   Nodal::K2},
    {"pi1",    K1, 0.01939,   0, 1,  0, -2, 0, 1, -90, Nodal::None},
    {"P1",     K1, 0.33093,   0, 1,  0, -1, 0, 0, -90, Nodal::None},
    {"K1",     K1, 1,         0, 1,  0, 1,  0, 0, 90,  Nodal::K1},
    {"phi1",   K1, 0.01424,   0, 1,  0, 3,  0, 0, 90,  Nodal::None},
    {"J1",     K1, 0.05591,   0, 1,  1, 1, -1, 0, 90,  Nodal::J1},
    {"2Q1",    O1, 0.02534,   0, 1, -4, 1,  2, 0, -90, Nodal::O1},
    {"sigma1", O1, 0.03056,   0, 1, -4, 3,  0, 0, -90, Nodal::O1},
    {"Q1",     O1, 0.1946,    0, 1, -3, 1,  1, 0, -90, Nodal::O1},
    {"rho1",   O1, 0.03637,   0, 1, -3, 3, -1, 0, -90, Nodal::O1},
    {"O1",     O1, 1,         0, 1, -2, 1,  0, 0, -90, Nodal::O1},
};
// clang-format on

struct FU {
    double f = 1, u = 0;  // factor, degrees
};

FU nodal(Nodal n, double N, double p) {
    const double c1 = std::cos(N * kDeg), c2 = std::cos(2 * N * kDeg), c3 = std::cos(3 * N * kDeg);
    const double s1 = std::sin(N * kDeg), s2 = std::sin(2 * N * kDeg), s3 = std::sin(3 * N * kDeg);
    switch (n) {
        case Nodal::None: return {};
        case Nodal::M2: return {1.0004 - 0.0373 * c1 + 0.0002 * c2, -2.14 * s1};
        case Nodal::K1:
            return {1.006 + 0.115 * c1 - 0.0088 * c2 + 0.0006 * c3, -8.86 * s1 + 0.68 * s2 - 0.07 * s3};
        case Nodal::O1:
            return {1.0089 + 0.1871 * c1 - 0.0147 * c2 + 0.0014 * c3, 10.8 * s1 - 1.34 * s2 + 0.19 * s3};
        case Nodal::J1:
            return {1.0129 + 0.1676 * c1 - 0.017 * c2 + 0.0016 * c3, -12.94 * s1 + 1.34 * s2 - 0.19 * s3};
        case Nodal::K2:
            return {1.0246 + 0.2863 * c1 + 0.0083 * c2 - 0.0015 * c3, -17.74 * s1 + 0.68 * s2 - 0.04 * s3};
        case Nodal::L2: {
            const double P = 2 * p * kDeg, n1 = N * kDeg;
            const double x = -0.25 * std::sin(P) - 0.1102 * std::sin(P - n1) - 0.0156 * std::sin(P - 2 * n1) -
                             0.037 * std::sin(n1);
            const double y = 1 - 0.25 * std::cos(P) - 0.1102 * std::cos(P - n1) -
                             0.0156 * std::cos(P - 2 * n1) - 0.037 * std::cos(n1);
            return {std::hypot(x, y), std::atan2(x, y) / kDeg};
        }
    }
    return {};
}

// Height at clock time hours after midnight of day Day of Year, member by member.
double directSum(const engine::PortRecord& port, int Year, int Day, double hours) {
    const Arguments a0 = engine::astro_internal::DayArguments(Year, Day);
    const double days = hours / 24;
    const double s = a0.s + kDaily.s * days, h = a0.h + kDaily.h * days, p = a0.p + kDaily.p * days;
    const double N = a0.N + kDaily.N * days, p1 = a0.p1 + kDaily.p1 * days;
    const double H[4] = {port.M2Hm, port.S2Hm, port.K1Hm, port.O1Hm};
    const double g[4] = {port.M2g, port.S2g, port.K1g, port.O1g};
    double height = port.Z0;
    for (const auto& m : kMembers) {
        const FU fu = nodal(m.nodal, N, p);
        const double V = m.s * s + m.h * h + m.p * p + m.p1 * p1 + m.k + m.species * 15.0 * hours;
        height += H[m.group] * m.r * fu.f * std::cos((V + fu.u - m.c - g[m.group]) * kDeg);
    }
    return height;
}

class CurveOracleTest : public testing_support::PortTest {};

struct Worst {
    double firstRow = 0;  // 00:00 of the day
    double day = 0;       // every row of the day
};

// Largest differences from the member sum over the rows of the day just computed for Day of
// Year, metres.
Worst worstOfDay(const engine::PortRecord& port, int Year, int Day, int rows) {
    const auto& curve = engine::State().DayCurve;
    Worst w;
    for (int r = 1; r <= rows; ++r) {
        const double d = std::fabs(curve(2, r) - directSum(port, Year, Day, curve(1, r)));
        if (r == 1) w.firstRow = d;
        w.day = std::max(w.day, d);
    }
    return w;
}

// Every fifth day of four years, across leap years, the table's own years and stepped ones.
template <typename Check>
void forTestDays(Check&& check) {
    for (int year : {1995, 2024, 2025, 2026}) {
        const int days = engine::IsLeapYear(year) ? 366 : 365;
        for (int doy = 1; doy <= days; doy += 5) {
            const auto parts = engine::SplitDate(engine::DateSerial(year, 1, doy));
            testing_support::SelectDate(parts.year, parts.month, parts.day);
            check(parts.year, doy);
        }
    }
}

// CalcDayCurve spans the day between the two days of angles: only their whole degrees, the
// speed between them and the members' own motion within the day separate it from the sum.
TEST_F(CurveOracleTest, DayBetweenTheTwoAngleDaysIsWithinOnePointFiveCmPerMetre) {
    const engine::PortRecord port = testing_support::MadeUpPort();
    UsePort(port);
    const double tolerance = 0.015 * port.M2Hm;
    forTestDays([&](int year, int doy) {
        int16_t record = 0;
        int points = 0;
        ASSERT_TRUE(engine::CalcDayCurve(record, doy, 0, 0, 0, points).ok());
        EXPECT_LT(worstOfDay(port, year, doy, 147).day, tolerance) << year << " day " << doy;
    });
}

// CalcDayTide takes its angles from the day before and the day itself, so the displayed day
// runs on beyond them: at 00:00 it stands on the day's own rounded angles, and towards 24:00
// the rounding of both angles is carried forward twice over (up to 1.5 degrees) with the
// members' drift (about 0.6 degrees), about 4.5 cm per metre at the end of the day.
TEST_F(CurveOracleTest, DisplayedDayRunsOnFromTheAnglesOfTheDayBefore) {
    const engine::PortRecord port = testing_support::MadeUpPort();
    UsePort(port);
    forTestDays([&](int year, int doy) {
        int16_t record = 0;
        int points = 0;
        ASSERT_TRUE(engine::CalcDayTide(record, doy, points, false).ok());
        const Worst w = worstOfDay(port, year, doy, 149);
        EXPECT_LT(w.firstRow, 0.015 * port.M2Hm) << year << " day " << doy;
        EXPECT_LT(w.day, 0.05 * port.M2Hm) << year << " day " << doy;
    });
}

}  // namespace
