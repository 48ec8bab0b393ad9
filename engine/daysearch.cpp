#include "engine/daysearch.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "engine/astro.h"
#include "engine/curve.h"
#include "engine/harmonics.h"
#include "engine/highlow.h"

namespace engine {

namespace {

// The quick heights turn each wave's cosine and sine on by one minute at a time and take the
// shallow-water terms from powers of the combined wave; fresh cosines start every block.
constexpr int kBlock = 64;
// A minute's rise or fall that the quick heights decide alone, metres: far above their error.
constexpr double kClear = 1e-7;
// The most a quick height may stray from the full sum before the day is searched in full.
constexpr double kAgree = 1e-9;
// Near the direction where the combined wave's angle wraps from 360 to 0 degrees, the quick and
// the full sum may fall on different sides of it: such minutes are summed in full. A share of
// the wave's amplitude.
constexpr double kNearWrap = 1e-9;
// Heights beyond this bound are left to the full search.
constexpr double kLargestHeight = 1e4;
// As the full search: a turning point on the 24 h step counts although the summed minutes fall
// a hair short of it.
constexpr double kSlack = 0.000001;

// The shallow-water terms take (f + n a) kRadiansPerDegree of the combined wave's angle a, which
// VectorAngle gives as (theta + q kQuarterShort) kDegreesPerRadian in its quarter q = 0 to 3 (its
// quarter turns are of its own pi): n (theta + q kQuarterShort) (1 + kAngleExcess) radians
// beside f.
constexpr double kAngleExcess = kDegreesPerRadian * kRadiansPerDegree - 1;
constexpr double kQuarterShort = (kAstroPi - std::numbers::pi) / 2;
constexpr double kTurn = 2 * std::numbers::pi;

// VectorAngle's quarter of the direction (X, Y) = (S, C), 0 to 3 from the C axis towards S.
int quarterOf(double S, double C) {
    if (S > 0) return C > 0 ? 0 : 1;
    if (S < 0) return C < 0 ? 2 : 3;
    return C < 0 ? 2 : 0;
}

// One wave's cosine and sine, turned on by a minute at a time.
struct Rotor {
    double c = 1, s = 0;
    double turnC = 1, turnS = 0;

    void seed(double phase) {
        c = std::cos(phase);
        s = std::sin(phase);
    }
    void turn() {
        const double next = c * turnC - s * turnS;
        s = s * turnC + c * turnS;
        c = next;
    }
};

// cos and sin of an angle below 1e-3, with errors far below the rounding of the sum.
void smallTurn(double x, double& c, double& s) {
    constexpr double kSixth = 1.0 / 6, kTwentyFourth = 1.0 / 24;
    const double x2 = x * x;
    c = 1 - x2 * 0.5 + x2 * x2 * kTwentyFourth;
    s = x - x * x2 * kSixth;
}

// The combined wave's angle theta = arg(C + iS), 0 to 2 pi as VectorAngle has it, followed from
// minute to minute by the small turn between them.
class CombinedAngle {
public:
    double seed(double C, double S) {
        c_ = C;
        s_ = S;
        return theta_ = full(C, S);
    }
    double next(double C, double S) {
        constexpr double kThird = 1.0 / 3, kFifth = 1.0 / 5;
        const double dot = C * c_ + S * s_, cross = S * c_ - C * s_;
        c_ = C;
        s_ = S;
        // About 0.008 a minute; much more only where the wave nearly vanishes.
        if (!(dot > 0 && std::fabs(cross) < kSmallTurn * dot)) return theta_ = full(C, S);
        const double x = cross / dot, x2 = x * x;
        theta_ += x * (1 - x2 * (kThird - x2 * kFifth));
        if (theta_ < 0) theta_ += kTurn;
        else if (theta_ >= kTurn) theta_ -= kTurn;
        return theta_;
    }

private:
    static constexpr double kSmallTurn = 0.02;
    static double full(double C, double S) {
        const double theta = std::atan2(S, C);
        return theta < 0 ? theta + kTurn : theta;
    }
    double theta_ = 0, c_ = 0, s_ = 0;
};

class QuickDay {
public:
    QuickDay(const Harmonics& day, int first, int last)
        : day_(day),
          t_(MinuteSeriesTimes()),
          first_(first),
          quick_(last - first + 1),
          exact_(last - first + 1, std::nan("")),
          doubtful_(last - first + 1, false) {
        const Constants& c = day.constants();
        p4c_ = std::cos(c.sf4 * kRadiansPerDegree);
        p4s_ = std::sin(c.sf4 * kRadiansPerDegree);
        p6c_ = std::cos(c.sf6 * kRadiansPerDegree);
        p6s_ = std::sin(c.sf6 * kRadiansPerDegree);
    }

    // Sums the quick heights; false when they stray from the full sum or are not numbers.
    bool sum() {
        const Wave* waves[4] = {&day_.m2(), &day_.s2(), &day_.k1(), &day_.o1()};
        Rotor rot[4];
        CombinedAngle angle;
        for (size_t i = 0; i < 4; ++i) {
            const double step = -waves[i]->omega * kRadiansPerDegree / 60;
            rot[i].turnC = std::cos(step);
            rot[i].turnS = std::sin(step);
        }
        const int last = first_ + static_cast<int>(quick_.size()) - 1;
        for (int b = first_; b <= last; b += kBlock) {
            const int e = std::min(b + kBlock - 1, last);
            int wrap[4];
            bool wraps[4];
            for (size_t i = 0; i < 4; ++i) {
                rot[i].seed(waves[i]->phase(t_[b]));
                wrap[i] = waves[i]->wrap(t_[b]);
                // The phase falls steadily: the same wrap at both ends is the same throughout.
                wraps[i] = waves[i]->wrap(t_[e]) != wrap[i];
            }
            for (int k = b; k <= e; ++k) {
                if (k > b) {
                    for (size_t i = 0; i < 4; ++i) {
                        if (wraps[i] && waves[i]->wrap(t_[k]) != wrap[i]) {
                            wrap[i] = waves[i]->wrap(t_[k]);
                            rot[i].seed(waves[i]->phase(t_[k]));
                        } else {
                            rot[i].turn();
                        }
                    }
                }
                const double q = quickHeight(t_[k], rot, angle, k == b, doubtful_[index(k)]);
                if (!std::isfinite(q) || std::fabs(q) > kLargestHeight) return false;
                quick_[index(k)] = q;
            }
            if (!agrees(b, e)) return false;
        }
        return true;
    }

    // Whether the quick height of the block's last minute not in doubt is the full sum's.
    bool agrees(int b, int e) {
        while (e > b && doubtful_[index(e)]) --e;
        if (doubtful_[index(e)]) return true;
        return std::fabs(quick_[index(e)] - exact(e)) <= kAgree;
    }

    // The sign of the rise from minute k to minute k + 1.
    int rise(int k) {
        if (!doubtful_[index(k)] && !doubtful_[index(k + 1)]) {
            const double d = quick_[index(k + 1)] - quick_[index(k)];
            if (d > kClear) return 1;
            if (d < -kClear) return -1;
        }
        const double before = exact(k), after = exact(k + 1);
        return (after > before) - (after < before);
    }

    // The full sum at minute k, computed once.
    double exact(int k) {
        double& h = exact_[index(k)];
        if (std::isnan(h)) {
            h = day_.at(t_[k]).h;
            ++summedInFull_;
        }
        return h;
    }
    int summedInFull() const { return summedInFull_; }

private:
    size_t index(int k) const { return static_cast<size_t>(k - first_); }

    double quickHeight(double t, const Rotor (&rot)[4], CombinedAngle& angle, bool fresh,
                       char& doubtful) const {
        const double aM2 = day_.m2().amplitude(t), aS2 = day_.s2().amplitude(t);
        const double aK1 = day_.k1().amplitude(t), aO1 = day_.o1().amplitude(t);
        const double C = aM2 * rot[0].c + aS2 * rot[1].c;
        const double S = aM2 * rot[0].s + aS2 * rot[1].s;
        const double nearWrap = kNearWrap * (std::fabs(aM2) + std::fabs(aS2));
        doubtful = C > -nearWrap && std::fabs(S) < nearWrap;
        // The combined wave Z = C + iS at angle theta from the C axis.
        const double theta = fresh ? angle.seed(C, S) : angle.next(C, S);
        const double z2r = C * C - S * S, z2i = 2 * C * S;
        const double z3r = z2r * C - z2i * S, z3i = z2r * S + z2i * C;
        const Constants& c = day_.constants();
        // The full sum's shallow-water angles beyond 2 theta and 3 theta: 2 excess and 3 excess.
        const double excess = kAngleExcess * theta + (1 + kAngleExcess) * quarterOf(S, C) * kQuarterShort;
        // With Z^2 = R^2 e^(2 i theta), LF4 R^2 cos(sf4 + 2 theta + 2 excess) is
        // LF4 Re(e^(i sf4) Z^2 e^(2 i excess)); F6 likewise with Z^3.
        double ec, es;
        smallTurn(2 * excess, ec, es);
        const double F4 = c.LF4 * ((p4c_ * ec - p4s_ * es) * z2r - (p4c_ * es + p4s_ * ec) * z2i);
        smallTurn(3 * excess, ec, es);
        const double F6 = c.LF6 * ((p6c_ * ec - p6s_ * es) * z3r - (p6c_ * es + p6s_ * ec) * z3i);
        return aK1 * rot[2].c + aO1 * rot[3].c + C + day_.mean() + F4 + F6;
    }

    const Harmonics& day_;
    const std::vector<double>& t_;
    int first_;
    std::vector<double> quick_, exact_;
    std::vector<char> doubtful_;
    double p4c_, p4s_, p6c_, p6s_;
    int summedInFull_ = 0;
};

// The full search reads turning points from the second minute to the last but one whose time
// with the slack lies beyond 24 h, and their neighbours: the first such minute.
int firstTurnMinute() {
    static const int first = [] {
        const std::vector<double>& t = MinuteSeriesTimes();
        int m = 2;
        while (m < static_cast<int>(t.size()) - 1 && !(t[m] + kSlack > 24.0)) ++m;
        return m;
    }();
    return first;
}

void fullSearch(const PortRecord& Record, double Date, double& Range, TimeHeightSeries& HighWaters) {
    TimeHeightSeries series;
    (void)DayTideMinutes(Record, Date, series);  // its year was checked by the caller
    HighWaters = DayRangeAndHighWaters(series, Range);
}

}  // namespace

FileResult QuickDayRangeAndHighWaters(const PortRecord& Record, double Date, double& Range,
                                      TimeHeightSeries& HighWaters, DaySearchCount* Count) {
    Range = 0;
    HighWaters.clear();
    DaySearchCount unused;
    DaySearchCount& count = Count ? *Count : unused;
    count = {};
    std::optional<Harmonics> day;
    if (FileResult r = MinuteSeriesHarmonics(Record, Date, day); !r.ok()) return r;

    const std::vector<double>& t = MinuteSeriesTimes();
    const int last = static_cast<int>(t.size()) - 1;
    const int firstTurn = firstTurnMinute();
    QuickDay quick(*day, firstTurn - 1, last);
    if (!quick.sum()) {
        fullSearch(Record, Date, Range, HighWaters);
        count.fullSearch = true;
        return {};
    }

    double highest = -9999.0, lowest = 9999.0;
    bool anyTurn = false;
    int before = quick.rise(firstTurn - 1);
    for (int m = firstTurn; m <= last - 1; ++m) {
        const int after = quick.rise(m);
        const bool high = before > 0 && after < 0, low = before < 0 && after > 0;
        before = after;
        if (!high && !low) continue;
        if (high && !(t[m] + kSlack < 48.0)) continue;
        const double h = quick.exact(m);
        anyTurn = true;
        highest = std::max(highest, h);
        lowest = std::min(lowest, h);
        if (high) HighWaters.push_back({t[m] - 24.0, h});
    }
    Range = anyTurn ? highest - lowest : 0;
    count.minutesSummedInFull = quick.summedInFull();
    return {};
}

}  // namespace engine
