#include "engine/astro.h"

#include <cmath>
#include <iterator>
#include <stdexcept>
#include <string>

#include "engine/dates.h"
#include "engine/numtext.h"

namespace engine {

namespace {

constexpr double kPi = kAstroPi;

using astro_internal::Arguments;

// Daily motions, degrees per day.
constexpr Arguments kDailyMotion{13.176396, 0.985647, 0.111404, -0.052954, 0.000047};

// Arguments at the start of 1 January, 1991 to 2000.
constexpr int kFirstTableYear = 1991;
constexpr Arguments kStartTable[] = {
    {100.91, 280.15, 77.11, 299.13, 282.78},   // 1991
    {230.3, 279.91, 117.78, 279.8, 282.8},     // 1992
    {12.86, 280.66, 158.55, 260.42, 282.82},   // 1993
    {142.24, 280.42, 199.21, 241.09, 282.84},  // 1994
    {271.63, 280.18, 239.87, 221.76, 282.85},  // 1995
    {41.01, 279.94, 280.54, 202.44, 282.87},   // 1996
    {183.57, 280.69, 321.31, 183.06, 282.89},  // 1997
    {312.96, 280.45, 1.97, 163.73, 282.9},     // 1998
    {82.34, 280.21, 42.64, 144.4, 282.92},     // 1999
    {211.73, 279.97, 83.3, 125.07, 282.94},    // 2000
};
constexpr int kLastTableYear = kFirstTableYear + static_cast<int>(std::size(kStartTable)) - 1;
// Other years are stepped from this row, never from the nearest one.
constexpr int kSteppingYear = 1992;

double normalised(double angle) { return Normalise360(angle); }

double daysInYear(int year) { return IsLeapYear(year) ? 366.0 : 365.0; }

// Moves every argument by its daily motion times days, forwards or backwards, each then
// normalised.
void stepArguments(Arguments& a, double days, bool forward) {
    auto step = [&](double& value, double motion) {
        value = forward ? value + motion * days : value - motion * days;
        Normalise360(value);
    };
    step(a.s, kDailyMotion.s);
    step(a.h, kDailyMotion.h);
    step(a.p, kDailyMotion.p);
    step(a.N, kDailyMotion.N);
    step(a.p1, kDailyMotion.p1);
}

// Vector sum of the members of one group.
struct GroupSum {
    double X = 0, Y = 0;

    // A member of amplitude a (nodal factor times ratio) at phase u + argument - c degrees.
    void add(double a, double phase) {
        double x, y;
        PolarToXY(normalised(phase), a, x, y);
        X += x;
        Y += y;
    }
    double factor() const { return std::sqrt(X * X + Y * Y); }
    double theta() const { return VectorAngle(X, Y); }
};

}  // namespace

double DegToRad(double Degrees) { return Degrees * kPi / 180; }

double Normalise360(double& Angle) {
    // Far out, a turn at a time takes long, and a step of 360 is at last lost in rounding so
    // that the loops below would never end: such values are first brought within a turn.
    constexpr double kFarOut = 1e6;
    if (!std::isfinite(Angle)) return Angle;
    if (Angle > kFarOut) {
        Angle = std::fmod(Angle, 360);
        if (Angle == 0) Angle = 360;  // a multiple of 360 above 360 ends at 360
        return Angle;
    }
    if (Angle < -kFarOut) Angle = std::fmod(Angle, 360);
    if (Angle < 0) {
        while (Angle < 0) Angle += 360;
    } else if (Angle > 360) {
        while (Angle > 360) Angle -= 360;
    } else if (Angle == 360) {
        Angle = 0;
    }
    return Angle;
}

double VectorAngle(double X, double Y) {
    double radians = 0;
    if (X > 0) {
        if (Y > 0) radians = std::atan(X / Y);
        else if (Y < 0) radians = std::atan(std::fabs(Y / X)) + kPi / 2;
        else radians = kPi / 2;
    } else if (X < 0) {
        if (Y > 0) radians = std::atan(std::fabs(Y / X)) + 3 * kPi / 2;
        else if (Y < 0) radians = std::atan(std::fabs(X / Y)) + kPi;
        else radians = 3 * kPi / 2;
    } else {
        if (Y < 0) radians = kPi;
        // Y > 0 points along the Y axis; the null vector also gives 0.
    }
    return radians * kDegreesPerRadian;
}

void PolarToXY(double Angle, double Amplitude, double& X, double& Y) {
    double radians = Angle * 2 / 360 * kPi;
    X = Amplitude * std::sin(radians);
    Y = Amplitude * std::cos(radians);
}

void RectToPolar(double X, double Y, double& Amplitude, double& Angle) {
    Amplitude = std::sqrt(Y * Y + X * X);
    Angle = VectorAngle(X, Y);
}

namespace astro_internal {

Arguments StartArguments(int Year) {
    if (Year >= kFirstTableYear && Year <= kLastTableYear) return kStartTable[Year - kFirstTableYear];
    Arguments a = kStartTable[kSteppingYear - kFirstTableYear];
    for (int counter = kSteppingYear; counter < Year; ++counter) stepArguments(a, daysInYear(counter), true);
    for (int counter = kSteppingYear; counter > Year; --counter)
        stepArguments(a, daysInYear(counter - 1), false);
    return a;
}

Arguments DayArguments(int Year, int Day) {
    Arguments a = StartArguments(Year);
    double days = Day - 1;
    a.s = normalised(a.s + kDailyMotion.s * days);
    a.h = normalised(a.h + kDailyMotion.h * days);
    a.p = normalised(a.p + kDailyMotion.p * days);
    a.N = normalised(a.N + kDailyMotion.N * days);
    a.p1 = a.p1 + kDailyMotion.p1 * days;  // not normalised
    return a;
}

int16_t GroupAngleRoundThenWrap(double Theta) {
    double angle = CInt(360 - Theta);
    return static_cast<int16_t>(Normalise360(angle));
}

int16_t GroupAngleWrapThenRound(double Theta) {
    double angle = 360 - Theta;
    return CInt(Normalise360(angle));
}

}  // namespace astro_internal

AnglesAndFactors CalcAnglesAndFactors(int Year, int Day) {
    if (!YearIsComputable(Year))
        throw std::out_of_range("The year " + std::to_string(Year) + " is outside " +
                                std::to_string(kFirstComputedYear) + " to " +
                                std::to_string(kLastComputedYear));
    const Arguments a = astro_internal::DayArguments(Year, Day);
    const double s = a.s, h = a.h, p = a.p, p1 = a.p1;

    // Node terms, each sine and cosine taken once.
    const double rN = DegToRad(a.N);
    const double r2N = DegToRad(normalised(2 * a.N));
    const double r3N = DegToRad(normalised(3 * a.N));
    const double r2p = DegToRad(normalised(2 * p));
    const double r2pN = DegToRad(normalised(2 * p - a.N));
    const double r2p2N = DegToRad(normalised(2 * p - 2 * a.N));
    const double sinN = std::sin(rN), cosN = std::cos(rN);
    const double sin2N = std::sin(r2N), cos2N = std::cos(r2N);
    const double sin3N = std::sin(r3N), cos3N = std::cos(r3N);

    // L2: the angle and length of (x, y); the length is x / sin(u), taken directly only where
    // that quotient is 0 / 0.
    const double xL2 =
        -0.25 * std::sin(r2p) - 0.1102 * std::sin(r2pN) - 0.0156 * std::sin(r2p2N) - 0.037 * sinN;
    const double yL2 =
        1 - 0.25 * std::cos(r2p) - 0.1102 * std::cos(r2pN) - 0.0156 * std::cos(r2p2N) - 0.037 * cosN;
    const double uL2 = VectorAngle(xL2, yL2);
    const double sinUL2 = std::sin(DegToRad(uL2));
    const double fL2 = sinUL2 != 0 ? xL2 / sinUL2 : std::sqrt(xL2 * xL2 + yL2 * yL2);

    // Nodal angles (degrees) and factors.
    const double uM2 = -2.14 * sinN;
    const double uO1 = 10.8 * sinN - 1.34 * sin2N + 0.19 * sin3N;
    const double uK1 = -8.86 * sinN + 0.68 * sin2N - 0.07 * sin3N;
    const double uJ1 = -12.94 * sinN + 1.34 * sin2N - 0.19 * sin3N;
    const double uK2 = -17.74 * sinN + 0.68 * sin2N - 0.04 * sin3N;
    const double fO1 = 1.0089 + 0.1871 * cosN - 0.0147 * cos2N + 0.0014 * cos3N;
    const double fK1 = 1.006 + 0.115 * cosN - 0.0088 * cos2N + 0.0006 * cos3N;
    const double fJ1 = 1.0129 + 0.1676 * cosN - 0.017 * cos2N + 0.0016 * cos3N;
    const double fM2 = 1.0004 - 0.0373 * cosN + 0.0002 * cos2N;
    const double fK2 = 1.0246 + 0.2863 * cosN + 0.0083 * cos2N - 0.0015 * cos3N;

    // Each member: amplitude f x r, phase u + argument - c (c is 0 outside the M2 group).
    // Members without nodal terms have f = 1 and u = 0.
    GroupSum m2;
    m2.add(fM2 * 0.02534, uM2 + (2 * h - 4 * s + 2 * p) + 30);  // 2N2, c = -30
    m2.add(fM2 * 0.03057, uM2 + (4 * h - 4 * s) + 30);          // mu2, c = -30
    m2.add(fM2 * 0.19146, uM2 + (2 * h - 3 * s + p) + 15);      // N2, c = -15
    m2.add(fM2 * 0.03636, uM2 + (4 * h - 3 * s - p) + 15);      // nu2, c = -15
    m2.add(fM2, uM2 + (2 * h - 2 * s));                         // M2
    m2.add(fM2 * 0.00738, uM2 + (-s + p + 180) - 15);           // lambda2, c = 15
    m2.add(fL2 * 0.02827, uL2 + (2 * h - s - p + 180) - 15);    // L2, c = 15

    GroupSum s2;
    s2.add(0.05861, p1 - h);             // T2
    s2.add(1, 0);                        // S2
    s2.add(fK2 * 0.27215, uK2 + 2 * h);  // K2

    GroupSum k1;
    k1.add(0.01939, p1 - 2 * h - 90);               // pi1
    k1.add(0.33093, -h - 90);                       // P1
    k1.add(fK1, uK1 + (h + 90));                    // K1
    k1.add(0.01424, 3 * h + 90);                    // phi1
    k1.add(fJ1 * 0.05591, uJ1 + (h + s - p + 90));  // J1

    GroupSum o1;
    o1.add(fO1 * 0.02534, uO1 + (h - 4 * s + 2 * p - 90));  // 2Q1
    o1.add(fO1 * 0.03056, uO1 + (3 * h - 4 * s - 90));      // sigma1
    o1.add(fO1 * 0.1946, uO1 + (h - 3 * s + p - 90));       // Q1
    o1.add(fO1 * 0.03637, uO1 + (3 * h - 3 * s - p - 90));  // rho1
    o1.add(fO1, uO1 + (h - 2 * s - 90));                    // O1

    using astro_internal::GroupAngleRoundThenWrap;
    using astro_internal::GroupAngleWrapThenRound;
    AnglesAndFactors r;
    r.M2Angle = GroupAngleRoundThenWrap(m2.theta());
    r.M2Factor = m2.factor();
    r.S2Angle = GroupAngleWrapThenRound(s2.theta());
    r.S2Factor = s2.factor();
    r.K1Angle = GroupAngleRoundThenWrap(k1.theta());
    r.K1Factor = k1.factor();
    r.O1Angle = GroupAngleRoundThenWrap(o1.theta());
    r.O1Factor = o1.factor();
    return r;
}

}  // namespace engine
