#include "engine/harmonics.h"

#include <cmath>

#include "engine/astro.h"
#include "engine/calendar.h"
#include "engine/curve.h"

namespace engine {

namespace {

Wave makeWave(int16_t angle0, double factor0, int16_t angle1, double factor1, double g, double H, int limit) {
    Wave w;
    w.base = angle0 + g;
    w.H = H;
    w.f = factor0;
    w.df = (factor1 - factor0) / 24;
    w.omega = SpeedFromDailyChange(angle0 - angle1, limit).omega;
    return w;
}

}  // namespace

Constants ConstantsOf(const PortRecord& r) {
    return {r.Z0, r.M2g, r.M2Hm, r.S2g, r.S2Hm, r.K1g, r.K1Hm, r.O1g, r.O1Hm, r.sf4, r.LF4, r.sf6, r.LF6};
}

double ApplyMonth(const PortRecord& r, int month, Constants& c) {
    if (month < 1 || month > 12) return 0;
    c.M2Hm = r.MonthM2Hm[static_cast<size_t>(month - 1)];
    return r.MonthDZ0[static_cast<size_t>(month - 1)];
}

FourWaves WavesOf(const AnglesAndFactors& a, const AnglesAndFactors& b, const Constants& c) {
    return {makeWave(a.M2Angle, a.M2Factor, b.M2Angle, b.M2Factor, c.M2g, c.M2Hm, kSemiDiurnalSpeedLimit),
            makeWave(a.S2Angle, a.S2Factor, b.S2Angle, b.S2Factor, c.S2g, c.S2Hm, kSemiDiurnalSpeedLimit),
            makeWave(a.K1Angle, a.K1Factor, b.K1Angle, b.K1Factor, c.K1g, c.K1Hm, kDiurnalSpeedLimit),
            makeWave(a.O1Angle, a.O1Factor, b.O1Angle, b.O1Factor, c.O1g, c.O1Hm, kDiurnalSpeedLimit)};
}

Harmonics::Harmonics(const Constants& c, double mean, double addedDepth, bool addDepth, int year,
                     int firstDay)
    : c_(c), mean_(mean), depth_(addedDepth), addDepth_(addDepth) {
    const FourWaves w =
        WavesOf(CalcAnglesAndFactors(year, firstDay), CalcAnglesAndFactors(year, firstDay + 1), c);
    m2_ = w.m2, s2_ = w.s2, k1_ = w.k1, o1_ = w.o1;
}

Step Harmonics::at(double t) const {
    const double pM2 = m2_.phase(t), pS2 = s2_.phase(t), pK1 = k1_.phase(t), pO1 = o1_.phase(t);
    const double aM2 = m2_.amplitude(t), aS2 = s2_.amplitude(t);
    const double aK1 = k1_.amplitude(t), aO1 = o1_.amplitude(t);
    Step s;
    s.M2 = aM2 * std::cos(pM2);
    s.S2 = aS2 * std::cos(pS2);
    s.K1 = aK1 * std::cos(pK1);
    s.O1 = aO1 * std::cos(pO1);
    // The combined semi-diurnal wave, on which the shallow-water terms act.
    const double S = aM2 * std::sin(pM2) + aS2 * std::sin(pS2);
    const double C = s.M2 + s.S2;
    double R, a;
    RectToPolar(S, C, R, a);
    const double R2 = R * R;
    s.F4 = c_.LF4 * R2 * std::cos((c_.sf4 + 2 * a) * kRadiansPerDegree);
    s.F6 = c_.LF6 * (R2 * R) * std::cos((c_.sf6 + 3 * a) * kRadiansPerDegree);
    s.Mean = mean_;
    s.h = s.K1 + s.O1 + C + mean_ + s.F4 + s.F6;
    if (addDepth_) s.h = s.h + depth_;
    return s;
}

FileResult MinuteSeriesHarmonics(const PortRecord& Record, double Date, std::optional<Harmonics>& Sum) {
    Sum.reset();
    const JulianDate jd = JulianDayToDate(Date);
    if (!YearIsComputable(jd.Year)) return YearRefused(jd.Year);
    const int dayOfYear = MonthInfo(jd.Year, jd.Month).DaysBefore + jd.Day;
    Constants c = ConstantsOf(Record);
    const double mean = c.Z0 + ApplyMonth(Record, jd.Month, c);
    Sum.emplace(c, mean, 0, false, jd.Year, dayOfYear - 1);
    return {};
}

const std::vector<double>& MinuteSeriesTimes() {
    static const std::vector<double> times = [] {
        std::vector<double> t;
        forEachStep(1.0 / 60, 50, [&](int, double time) { t.push_back(time); });
        return t;
    }();
    return times;
}

}  // namespace engine
