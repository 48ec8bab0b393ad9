#pragma once
// The harmonic sum at the heart of every curve: the four main constituents with their nodal
// factors, the shallow-water terms on the combined semi-diurnal wave and the mean level. Used
// by the curve routines and by the quick search of a day's turning points, which must give
// the same heights to the last bit.

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/astro.h"
#include "engine/recordfile.h"
#include "engine/records.h"

namespace engine {

// The family's degree-to-radian factor. It is not pi / 180 (0.017453292519943): the digits are
// the method's own and are kept so that heights match it to the last bit.
inline constexpr double kRadiansPerDegree = 0.017453925199433;

// The thirteen constants of a computation: heights in metres, phases in degrees, F4 in 1/m
// and F6 in 1/m^2.
struct Constants {
    double Z0 = 0, M2g = 0, M2Hm = 0, S2g = 0, S2Hm = 0, K1g = 0, K1Hm = 0, O1g = 0, O1Hm = 0;
    double sf4 = 0, LF4 = 0, sf6 = 0, LF6 = 0;
};

Constants ConstantsOf(const PortRecord& r);

// The month's M2 amplitude replaces the record's, and returns the month's correction of Z0;
// a month outside 1 to 12 changes nothing and gives 0.
double ApplyMonth(const PortRecord& r, int month, Constants& c);

// One main constituent over the span of a computation.
struct Wave {
    double base = 0;   // A(first day) + g, degrees
    double H = 0;      // amplitude, metres
    double f = 0;      // nodal factor of the first day
    double df = 0;     // change of the factor per hour
    double omega = 0;  // degrees per hour

    // Which way degrees(t) wraps: -1 down by 360, +1 up, 0 not at all.
    int wrap(double t) const { return wrapOf(base - omega * t); }
    // Degrees before the factor to radians: within 0 to 360 once each way only. Far from the
    // origin the phase stays out of range, and the cosine does not mind.
    double degrees(double t) const {
        const double phi = base - omega * t;
        return phi + 360 * wrapOf(phi);
    }
    double phase(double t) const { return degrees(t) * kRadiansPerDegree; }
    double amplitude(double t) const { return H * (f + df * t); }

private:
    static int wrapOf(double phi) { return phi >= 360 ? -1 : (phi < 0 ? 1 : 0); }
};

// The four main constituents over a span, from the angles and factors of its first day and of
// the day after, with the phases and amplitudes of the constants.
struct FourWaves {
    Wave m2, s2, k1, o1;
};
FourWaves WavesOf(const AnglesAndFactors& first, const AnglesAndFactors& next, const Constants& c);

// Height and contributions at one time step, metres.
struct Step {
    double M2 = 0, S2 = 0, K1 = 0, O1 = 0, F4 = 0, F6 = 0, Mean = 0, h = 0;
};

// The harmonic sum of one computation: constants, the month's mean level, the depth to add,
// and the angles and factors of the first day and the day after. t is in hours from the
// midnight that starts the first day.
class Harmonics {
public:
    Harmonics(const Constants& c, double mean, double addedDepth, bool addDepth, int year, int firstDay);

    double mean() const { return mean_; }
    const Constants& constants() const { return c_; }
    const Wave& m2() const { return m2_; }
    const Wave& s2() const { return s2_; }
    const Wave& k1() const { return k1_; }
    const Wave& o1() const { return o1_; }

    Step at(double t) const;

private:
    Constants c_;
    double mean_, depth_;
    bool addDepth_;
    Wave m2_, s2_, k1_, o1_;
};

// The sum of the one-minute series of the day that starts at Julian date Date: t from the
// midnight before that day (day 0 for 1 January), the record's constants with the month values
// of Date's month, no user depth. Fails only for a year outside 1000 to 3000.
FileResult MinuteSeriesHarmonics(const PortRecord& Record, double Date, std::optional<Harmonics>& Sum);

// Steps t from 0 by repeated addition of step while t <= end, calling visit(k, t) for
// k = 1, 2, ...; returns the number of steps. The accumulated sum is the time, as the method
// has it: 300 additions of 1/6 fall just short of 50.
template <typename Visit>
int forEachStep(double step, double end, Visit&& visit) {
    int k = 0;
    for (double t = 0; t <= end; t += step) visit(++k, t);
    return k;
}

// The times of the one-minute series, hours from its first midnight: 0 and each further sum
// of 1/60 h up to 50 h. The summed minutes drift from whole ones, as the method has it.
const std::vector<double>& MinuteSeriesTimes();

}  // namespace engine
