#include "engine/dayview.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/calendar.h"
#include "engine/numtext.h"

namespace engine {

double LowerToWholeMetre(double lowest) {
    if (lowest >= -1 && lowest <= -0.0000001) return -1;
    if (lowest >= -2 && lowest <= -1.00000001) return -2;
    if (lowest >= -3 && lowest <= -2.0000001) return -3;
    if (lowest >= -4 && lowest <= -3.0000001) return -4;
    return lowest;
}

HeightRange DayHeightRange(const CurveTable& drawn, const CurveTable& day, int curvePoints) {
    HeightRange range;
    for (int r = 1; r <= curvePoints - 1; ++r) {
        if (std::isfinite(drawn(2, r)) && drawn(2, r) > range.Highest) range.Highest = drawn(2, r);
        if (std::isfinite(day(2, r)) && day(2, r) < range.Lowest) range.Lowest = day(2, r);
    }
    return range;
}

void FillOutputCurve(const CurveTable& day, CurveTable& output) {
    for (int r = 1; r <= 500; ++r) {
        output(1, r) = day(1, r);
        output(2, r) = day(2, r);
    }
}

CurveScale TideCurveScale(const CurveTable& drawn, const CurveTable& day, int curvePoints) {
    const HeightRange range = DayHeightRange(drawn, day, curvePoints);
    return {Int(range.Highest) + 1, LowerToWholeMetre(range.Lowest)};
}

CurveScale LayersScale(const CurveTable& day, int curvePoints) {
    return {Int(DayHeightRange(day, day, curvePoints).Highest) + 1, -2};
}

std::vector<double> GridHeights(double top, double bottom, double minSpacing) {
    constexpr double kMostLines = 100;
    const double first = std::max(-1.0, std::min(bottom, top));
    const double span = top - first;
    double step = 1;
    for (double decade = 1; step < minSpacing || span / step > kMostLines; decade *= 10) {
        for (double m : {1.0, 2.0, 5.0}) {
            step = m * decade;
            if (step >= minSpacing && span / step <= kMostLines) break;
        }
    }
    std::vector<double> heights;
    if (step == 1) {
        for (double h = -1; h <= top; ++h) heights.push_back(h);
        return heights;
    }
    // Multiples of the step from the lowest line up, clear of the labelled top line.
    for (double h = std::ceil(first / step) * step; h < top - step / 2; h += step) heights.push_back(h);
    heights.push_back(top);
    return heights;
}

namespace {
// Rows before each peak of |contribution|, entries 1 to 10 (0 where none was found).
std::array<int, 12> peakRows(const LayerTable& layer, int curvePoints) {
    std::array<int, 12> list{};
    int count = 0;
    for (int r = 1; r <= curvePoints - 2 && count < 10; ++r) {
        double a = std::fabs(layer(2, r)), b = std::fabs(layer(2, r + 1)), c = std::fabs(layer(2, r + 2));
        if (a <= b && b > c) list[static_cast<size_t>(++count)] = r;
    }
    return list;
}
}  // namespace

std::optional<int> SpringNeapRows(const LayerTable& m2, const LayerTable& s2, int curvePoints) {
    auto sPeaks = peakRows(s2, curvePoints);
    auto mPeaks = peakRows(m2, curvePoints);
    // The reference S2 high: the first listed peak when it is a high, else the second.
    int s = s2(2, sPeaks[1]) > s2(2, sPeaks[2]) ? sPeaks[1] : sPeaks[2];
    for (size_t j = 1; j <= 4; ++j) {
        if (mPeaks[j] > s && m2(2, mPeaks[j]) > m2(2, mPeaks[j + 1])) return mPeaks[j] - s;
    }
    return std::nullopt;
}

namespace {
constexpr long long kMinutesPerDay = 1440;

long long floorDiv(long long a, long long b) { return a / b - (a % b < 0 ? 1 : 0); }

// Whole minutes of the port's standard time since the epoch of date values. Whole
// milliseconds first, so that a time stored as a fraction of a day reads as its minute.
long long standardMinute(double utcInstant, int zoneHours) {
    const double day = std::floor(utcInstant);
    const long long ms = std::llround((utcInstant - day) * 86400000.0);
    return static_cast<long long>(day) * kMinutesPerDay + floorDiv(ms, 60000) - 60LL * zoneHours;
}

TableMoment momentAt(long long minute) {
    const long long day = floorDiv(minute, kMinutesPerDay);
    return {static_cast<double>(day), static_cast<int>(minute - day * kMinutesPerDay)};
}
}  // namespace

TableMoment TableMomentOf(double utcInstant, int zoneHours, bool applySummerTime) {
    const long long minute = standardMinute(utcInstant, zoneHours);
    const bool summer = applySummerTime && IsSummerTime(momentAt(minute).Date);
    return momentAt(minute + (summer ? 60 : 0));
}

int TableClockMinutes(double utcInstant, int zoneHours, bool summerTime) {
    return momentAt(standardMinute(utcInstant, zoneHours) + (summerTime ? 60 : 0)).Minutes;
}

int RowOfTime(double T) { return CInt(T / (1.0 / 6.0)) + 1; }

RiseFall RiseFallAt(const CurveTable& curve, int curvePoints, double T) {
    RiseFall r;
    T = std::clamp(T, 0.0, 24.0);
    r.Row = RowOfTime(T);
    r.Next = r.Row < curvePoints - 2 ? r.Row + 2 : r.Row;
    r.Previous = r.Row > 2 ? r.Row - 1 : r.Row;
    r.Rising = curve(2, r.Row) - curve(2, r.Row + 1) <= 0;
    double timeStep = std::fabs(curve(1, r.Previous) - curve(1, r.Next));
    if (timeStep != 0) {
        r.HasRate = true;
        r.Rate = std::fabs(curve(2, r.Previous) - curve(2, r.Next)) / timeStep;
    }
    return r;
}

}  // namespace engine
