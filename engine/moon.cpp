#include "engine/moon.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/numtext.h"
#include "engine/state.h"

namespace engine {

namespace {

// The middle of each month as a fraction of the year.
constexpr double kMonthFractionCommon[12] = {0.0424375935815675, 0.123205916849712, 0.203974240117857,
                                             0.287480472649328,  0.3709867051808,   0.454492937712271,
                                             0.537999170243743,  0.622874357406878, 0.706380589938349,
                                             0.789886822469821,  0.873393055001292, 0.956899287532764};
constexpr double kMonthFractionLeap[12] = {0.0424375935815675, 0.124574871481376, 0.20534319474952,
                                           0.288849427280992,  0.372355659812463, 0.455861892343935,
                                           0.539368124875406,  0.624243312038541, 0.707749544570013,
                                           0.791255777101484,  0.874762009632956, 0.958268242164428};

constexpr double kPi = 3.14159265358598;  // the astronomical routines' value of pi
constexpr double kDegToRad = kPi / 180;

// Reduction of an angle in degrees above 360 into 0..360; negative angles stay as they are.
double Reduce360(double x) {
    if (x > 360) x = (x / 360 - Fix(x / 360)) * 360;
    return x;
}

// Phase name by the fraction of k. For negative k the fractions are negative and the new and
// full moon names carry one more trailing blank.
std::string PhaseName(double k) {
    double frac = k - Fix(k);
    if (k < 0) {
        if (frac == 0) return "NEW MOON      ";
        if (frac == -0.75) return "FIRST QUARTER";
        if (frac == -0.5) return "FULL MOON     ";
        return "LAST QUARTER ";
    }
    if (frac == 0) return "NEW MOON     ";
    if (frac == 0.25) return "FIRST QUARTER";
    if (frac == 0.5) return "FULL MOON    ";
    return "LAST QUARTER ";
}

double PhaseJulianDay(double k) {
    const double T = k / 1236.85;
    const double T2 = T * T, T3 = T2 * T;
    const double M = Reduce360(359.2242 + 29.10535608 * k - 0.0000333 * T2 - 0.00000347 * T3) * kDegToRad;
    const double Mp = Reduce360(306.0253 + 385.81691806 * k + 0.0107306 * T2 + 0.00001236 * T3) * kDegToRad;
    const double F = Reduce360(21.2964 + 390.67050646 * k - 0.0016528 * T2 - 0.00000239 * T3) * kDegToRad;

    // The T^2 term stands outside the sine here, as in the method's own code.
    double jd = 2415020.75933 + 29.53058868 * k + 0.0001178 * T2 - 0.000000155 * T3 +
                0.00033 * std::sin((166.56 + 132.87 * T) * kDegToRad) - 0.009173 * T2 * kDegToRad;

    const double frac = k - Fix(k);
    if (frac == 0 || frac == 0.5 || frac == -0.5) {
        jd += (0.1734 - 0.000393 * T) * std::sin(M) + 0.0021 * std::sin(2 * M) - 0.4068 * std::sin(Mp) +
              0.0161 * std::sin(2 * Mp) - 0.0004 * std::sin(3 * Mp) + 0.0104 * std::sin(2 * F) -
              0.0051 * std::sin(M + Mp) - 0.0074 * std::sin(M - Mp) + 0.0004 * std::sin(2 * F + M) -
              0.0004 * std::sin(2 * F - M) - 0.0006 * std::sin(2 * F + Mp) + 0.001 * std::sin(2 * F - Mp) +
              0.0005 * std::sin(M + 2 * Mp);
    } else {
        jd += (0.1721 - 0.0004 * T) * std::sin(M) + 0.0021 * std::sin(2 * M) - 0.628 * std::sin(Mp) +
              0.0089 * std::sin(2 * Mp) - 0.0004 * std::sin(3 * Mp) + 0.0079 * std::sin(2 * F) -
              0.0119 * std::sin(M + Mp) - 0.0047 * std::sin(M - Mp) + 0.0003 * std::sin(2 * F + M) -
              0.0004 * std::sin(2 * F - M) - 0.0006 * std::sin(2 * F + Mp) + 0.0021 * std::sin(2 * F - Mp) +
              0.0003 * std::sin(M + 2 * Mp) + 0.0004 * std::sin(M - 2 * Mp) - 0.0003 * std::sin(2 * M - Mp);
        if (frac == 0.25 || frac == -0.75) jd += 0.0028 - 0.0004 * std::cos(M) + 0.0003 * std::cos(Mp);
        else jd += -0.0028 + 0.0004 * std::cos(M) - 0.0003 * std::cos(Mp);
    }
    return jd;
}

// Calendar date of a Julian Day (Gregorian from JD 2299160.5); the day is floored with its
// fraction.
void CalendarDate(double jd, int& day, int& month, int& year) {
    const double Z = Int(jd + 0.5);
    const double G = (jd + 0.5) - Fix(jd + 0.5);
    double A = Z;
    if (Z >= 2299161) {
        double alpha = Int((Z - 1867216.25) / 36524.25);
        A = Z + 1 + alpha - Int(alpha / 4);
    }
    const double B = A + 1524;
    const double C = Int((B - 122.1) / 365.25);
    const double D = Int(365.25 * C);
    const double E = Int((B - D) / 30.6001);
    day = static_cast<int>(Int(B - D - Int(30.6001 * E) + G));
    month = static_cast<int>(E < 14 ? E - 1 : E - 13);
    year = static_cast<int>(month > 2 ? C - 4716 : C - 4715);
}

std::string PhaseLine(int day, int month, int year, const std::string& name) {
    char dd[8];
    std::snprintf(dd, sizeof dd, "%02d", day);
    return "   " + std::string(dd) + " " + EnglishMonthAbbrev(month) + " " + std::to_string(year) +
           "       " + name;
}

}  // namespace

void SwapStrings(std::string& A, std::string& B) { std::swap(A, B); }

std::array<MoonPhase, 4> MoonPhasesOfMonth(int year, int month) {
    double f = 0;
    if (month >= 1 && month <= 12)
        f = IsLeapYear(year) ? kMonthFractionLeap[month - 1] : kMonthFractionCommon[month - 1];
    const double k0 = RoundHalfEven((year + f - 1900) * 12.3685);

    std::array<MoonPhase, 4> phases;
    for (int i = 0; i < 4; ++i) {
        MoonPhase& p = phases[i];
        p.k = k0 + 0.25 * i;
        p.JD = PhaseJulianDay(p.k);
        CalendarDate(p.JD, p.Day, p.Month, p.Year);
        p.Line = PhaseLine(p.Day, p.Month, p.Year, PhaseName(p.k));
    }
    return phases;
}

void CalcMoonPhases() { FillMoonPhases(State().SelectedYear, State().SelectedMonth); }

void FillMoonPhases(int year, int month) {
    SharedState& s = State();
    s.MoonPhaseText.clear();
    s.MoonPhaseCount = 0;
    for (int i = 1; i <= 10; ++i) s.MoonPhaseList[i].clear();

    const auto phases = MoonPhasesOfMonth(year, month);
    double jd[5] = {};
    for (const MoonPhase& p : phases) {
        ++s.MoonPhaseCount;
        s.MoonPhaseList[s.MoonPhaseCount] = p.Line;
        jd[s.MoonPhaseCount] = p.JD;
    }

    // Neighbour exchanges by Julian Day, each pass one place shorter.
    for (int last = s.MoonPhaseCount - 1; last >= 1; --last) {
        for (int i = 1; i <= last; ++i) {
            if (jd[i] > jd[i + 1]) {
                SwapStrings(s.MoonPhaseList[i], s.MoonPhaseList[i + 1]);
                std::swap(jd[i], jd[i + 1]);
            }
        }
    }

    s.MoonPhaseText = "    \r";
    for (int i = 1; i <= s.MoonPhaseCount; ++i) s.MoonPhaseText += s.MoonPhaseList[i] + "\r";
}

}  // namespace engine
