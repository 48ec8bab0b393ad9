#include "engine/sun.h"

#include <cmath>
#include <numbers>

#include "engine/numtext.h"

namespace engine {

namespace {

// The method's constants, truncated as the almanac gives them; results depend on them at the
// level of seconds, so they are kept rather than replaced by exact values.
constexpr double kDegToRad = 0.0174533;
constexpr double kQuarterTurn = 1.5708;  // 6 h
constexpr double kHalfTurn = 3.14159;
constexpr double kThreeQuarterTurn = 4.71239;  // 18 h
constexpr double kFullTurn = 6.28319;
constexpr double kRadToHours = 3.81972;
constexpr double kOneArcSecond = 0.00000484814;
constexpr double kRightAscensionFactor = 0.91746;  // kept as the method has it (not 0.91764)
constexpr double kDeclinationFactor = 0.39782;

// Cosines of the zenith distance: 108, 102, 96 degrees and 90 degrees 50 minutes.
constexpr double kCosAstro = -0.309017;
constexpr double kCosNautical = -0.207912;
constexpr double kCosCivil = -0.104528;
constexpr double kCosSunrise = -0.0145439;

// The right ascension's quadrant follows L at the true quarter turns; the truncated 1.5708
// and 4.71239 lie just above them and would put RA half a turn off (12 h) in between.
constexpr double kTrueQuarter = std::numbers::pi / 2;
constexpr double kTrueThreeQuarter = 3 * std::numbers::pi / 2;

// Into 0 to turn by whole turns, stepped as the method steps (which gives its last bits for the
// values a day produces); a value many turns out is first brought within one turn by fmod, so
// that no loop runs long.
double intoTurn(double x, double turn) {
    if (!std::isfinite(x)) return x;
    if (std::fabs(x) > 4 * turn) x = std::fmod(x, turn);
    while (x < 0) x += turn;
    while (x >= turn) x -= turn;
    return x;
}

struct PassQuantities {
    double T = 0;               // day number of the pass
    double RightAscension = 0;  // radians
    double Declination = 0;     // radians
};

PassQuantities PreparePass(int dayOfYear, double baseAngle, double w) {
    PassQuantities p;
    p.T = dayOfYear + (baseAngle + w) / kFullTurn;
    double M = 0.017202 * p.T - 0.0574039;
    double L = M + 0.0334405 * std::sin(M) + 0.000349066 * std::sin(2 * M) + 4.93289;
    L = intoTurn(L, kFullTurn);
    double quarters = L / kQuarterTurn;
    if (quarters == Int(quarters)) L += kOneArcSecond;  // keeps tan L finite

    double RA = std::atan(kRightAscensionFactor * std::tan(L));
    if (L > kTrueThreeQuarter) RA += kFullTurn;
    else if (L > kTrueQuarter) RA += kHalfTurn;
    p.RightAscension = RA;
    p.Declination = std::asin(kDeclinationFactor * std::sin(L));
    return p;
}

}  // namespace

int SunDayOfYear(int Day, int Month, int Year) {
    int n1 = static_cast<int>(Int(275.0 * Month / 9));
    int k = static_cast<int>(Int((Month + 9) / 12.0));
    if (Year % 4 != 0) k *= 2;
    return n1 - k + Day - 30;
}

double SunLocalTime(double UtHours, int ZoneHours, bool AddHour) {
    double local = UtHours - ZoneHours;
    if (local > 24) local -= 24;
    else if (local < 0) local += 24;
    return AddHour ? local + 1 : local;
}

std::optional<double> SunEventTime(double CosZenith, double Declination, double LatitudeRad,
                                   double MinusLongitudeRad, double QuarterTurn, int Evening, double FullTurn,
                                   double T, double RightAscension, double ZoneRad) {
    double cosH = (CosZenith - std::sin(Declination) * std::sin(LatitudeRad)) /
                  (std::cos(Declination) * std::cos(LatitudeRad));
    if (std::fabs(cosH) > 1) return std::nullopt;
    // arccos through the arc tangent, as the method writes it; |cosH| = 1 gives atan(+-inf).
    double H = QuarterTurn - std::atan(cosH / std::sqrt(1 - cosH * cosH));
    if (Evening != 1) H = FullTurn - H;
    double localMean = H + RightAscension - 0.0172028 * T - 1.73364;
    double ut = localMean + MinusLongitudeRad - ZoneRad;
    return intoTurn(ut, FullTurn) * kRadToHours;
}

SunTimes CalcSunTimes(double Latitude, double Longitude, int Day, int Month, int Year, int ZoneHours,
                      bool AddHour) {
    const double lat = Latitude * kDegToRad;
    const double w = -Longitude * kDegToRad;
    const int N = SunDayOfYear(Day, Month, Year);

    auto event = [&](const PassQuantities& p, double cosZenith, int evening) {
        SunEvent e;
        auto ut = SunEventTime(cosZenith, p.Declination, lat, w, kQuarterTurn, evening, kFullTurn, p.T,
                               p.RightAscension, 0);
        if (ut) {
            e.Hours = SunLocalTime(*ut, ZoneHours, AddHour);
            e.Occurs = true;
        }
        return e;
    };

    SunTimes s;
    const PassQuantities morning = PreparePass(N, kQuarterTurn, w);
    s.AstroDawn = event(morning, kCosAstro, 0);
    s.NauticalDawn = event(morning, kCosNautical, 0);
    s.CivilDawn = event(morning, kCosCivil, 0);
    s.Sunrise = event(morning, kCosSunrise, 0);

    const PassQuantities evening = PreparePass(N, kThreeQuarterTurn, w);
    s.Sunset = event(evening, kCosSunrise, 1);
    s.CivilDusk = event(evening, kCosCivil, 1);
    s.NauticalDusk = event(evening, kCosNautical, 1);
    s.AstroDusk = event(evening, kCosAstro, 1);
    return s;
}

}  // namespace engine
