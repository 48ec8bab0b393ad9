#pragma once
// Astronomical arguments and nodal factors of the four main constituents, and the small vector
// and angle routines that go with them. All angles are in degrees; they become radians only for
// sines and cosines.
//
// Each main constituent stands for its group: the angle and factor of M2 already contain 2N2,
// mu2, N2, nu2, lambda2 and L2; S2 contains T2 and K2; K1 contains pi1, P1, phi1 and J1; O1
// contains 2Q1, sigma1, Q1 and rho1, each member with its own nodal modulation.

#include <cstdint>

namespace engine {

struct AnglesAndFactors {
    int16_t M2Angle = 0;  // whole degrees, 0 to 359
    double M2Factor = 0;
    int16_t S2Angle = 0;  // whole degrees, 0 to 360 (rounded after the wrap, so 360 can occur)
    double S2Factor = 0;
    int16_t K1Angle = 0;  // 0 to 359
    double K1Factor = 0;
    int16_t O1Angle = 0;  // 0 to 359
    double O1Factor = 0;
};

// The years the arguments are computed for: other years are stepped whole years from 1992,
// one step a year, and far years would take as many steps.
inline constexpr int kFirstComputedYear = 1000;
inline constexpr int kLastComputedYear = 3000;
constexpr bool YearIsComputable(long year) { return year >= kFirstComputedYear && year <= kLastComputedYear; }

// The four group angles and factors for day Day of calendar year Year (1 = 1 January). Day 0
// and one past the year's last day are continued by the daily motions, like any other value.
// Start values are held for 1991 to 2000; every other year is stepped whole years from 1992.
// Throws std::out_of_range for a year outside kFirstComputedYear to kLastComputedYear.
AnglesAndFactors CalcAnglesAndFactors(int Year, int Day);

// The astronomical routines' pi, short of the true 3.14159265358979 in the 13th digit; kept so
// that results match to the last bit.
inline constexpr double kAstroPi = 3.14159265358598;

// Degrees per radian of VectorAngle, short of 180 / pi in the 10th digit.
inline constexpr double kDegreesPerRadian = 57.29577951;

// Direction of the vector (X, Y) in degrees, from the Y axis towards the X axis, 0 to 360.
// 0 for the null vector. Degrees come from radians by kDegreesPerRadian, so a quarter turn is
// 89.999999995, not 90.
double VectorAngle(double X, double Y);

// X = Amplitude sin(Angle), Y = Amplitude cos(Angle); Angle in degrees, any value.
void PolarToXY(double Angle, double Amplitude, double& X, double& Y);

// Degrees x 3.14159265358598 / 180 (the routine's own value of pi is kept on purpose).
double DegToRad(double Degrees);

// Amplitude = length of (X, Y); Angle as VectorAngle gives it.
void RectToPolar(double X, double Y, double& Amplitude, double& Angle);

// Brings Angle into 0 to 360 in place by whole turns and returns it. Negative values are raised
// until not below 0; values above 360 are lowered until not above 360, so 720 ends at 360;
// exactly 360 becomes 0. A value too far out to step (beyond a million degrees) is first brought
// within one turn by fmod, keeping that rule; infinity and NaN are left as they are.
double Normalise360(double& Angle);

// Steps of CalcAnglesAndFactors, exposed for the tests.
namespace astro_internal {

// The five astronomical arguments in degrees: the Moon's mean longitude s, the Sun's mean
// longitude h, the lunar perigee p, the Moon's ascending node N and the solar perigee p1.
struct Arguments {
    double s = 0, h = 0, p = 0, N = 0, p1 = 0;
};

// The arguments at the start of 1 January of Year.
Arguments StartArguments(int Year);
// The arguments of day Day of Year: s, h, p and N normalised, p1 left as it comes.
Arguments DayArguments(int Year, int Day);

// Angle written for a group whose vector points at Theta degrees. M2, K1 and O1 round 360 -
// Theta and then wrap (0 to 359); S2 wraps first and then rounds (0 to 360).
int16_t GroupAngleRoundThenWrap(double Theta);
int16_t GroupAngleWrapThenRound(double Theta);

}  // namespace astro_internal

}  // namespace engine
