#include "engine/highlow.h"

#include <cmath>

#include "engine/calendar.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/timetext.h"

namespace engine {

namespace {

constexpr int kMaxEvents = 15;               // rows of the event table
constexpr double kLateEventHours = 24.0844;  // a last event after this belongs to the next day
constexpr int kMainCurvePoints = 147;

enum class Turn { None, Low, High };

// Strict on both sides, so a flat top or bottom of equal heights is no turning point.
Turn turnAt(double before, double at, double after) {
    if (before > at && at < after) return Turn::Low;
    if (before < at && at > after) return Turn::High;
    return Turn::None;
}

// Whether rows 1 to Points of a curve all hold heights: a day that could not be computed holds
// NaN, and has no events and no range.
bool allFinite(const CurveTable& curve, int Points) {
    for (int r = 1; r <= Points; ++r)
        if (!std::isfinite(curve(2, r))) return false;
    return true;
}

// Turning points of rows 2 to Points - 1 of curve into rows 1.. of ev, at most 15; returns
// how many. Rows after them are left alone.
int16_t findTurns(const CurveTable& curve, int Points, EventTable& ev) {
    int16_t found = 0;
    for (int r = 1; r <= Points - 2 && found < kMaxEvents; ++r) {
        if (turnAt(curve(2, r), curve(2, r + 1), curve(2, r + 2)) == Turn::None) continue;
        ++found;
        ev(1, found) = curve(1, r + 1);
        ev(2, found) = curve(2, r + 1);
    }
    return found;
}

// The events counted of those found: a last one after 24.0844 h is dropped (only the last one
// is looked at).
int16_t keptOf(const EventTable& ev, int16_t found) {
    return found > 0 && ev(1, found) > kLateEventHours ? static_cast<int16_t>(found - 1) : found;
}

// Turning points of rows 2 to Points - 1 of curve into DayEvents, as the day's are counted.
int16_t searchCurve(const CurveTable& curve, int Points) {
    auto& ev = State().DayEvents;
    return keptOf(ev, findTurns(curve, Points, ev));
}

void searchSite(const CurveTable& curve, int& Points, int16_t& Count) {
    Points = Points - 1;
    Count = allFinite(curve, Points) ? searchCurve(curve, Points) : 0;
}

}  // namespace

HighLowWaters DayHighLowWaters(const CurveTable& Curve) {
    constexpr int points = kMainCurvePoints - 1;
    HighLowWaters w;
    if (!allFinite(Curve, points)) return w;
    w.Found = findTurns(Curve, points, w.Events);
    w.Count = keptOf(w.Events, w.Found);
    double highest = -9999, lowest = 9999;
    for (int j = 1; j <= points - 1; ++j) {
        const double h = Curve(2, j);
        if (h > highest) highest = h;
        if (h < lowest) lowest = h;
    }
    w.Range = highest - lowest;
    return w;
}

void FindHighLowWaters(int& Points, int16_t& Count) {
    auto& s = State();
    Points = kMainCurvePoints - 1;
    const HighLowWaters w = DayHighLowWaters(s.DayCurve);
    for (int k = 1; k <= w.Found; ++k) {
        s.DayEvents(1, k) = w.Events(1, k);
        s.DayEvents(2, k) = w.Events(2, k);
    }
    Count = w.Count;
    s.EventCount = Count;
    s.DayRange = w.Range;
}

void FindHighLowWatersIntermediate(int& Points, int16_t& Count) {
    searchSite(State().AdjCurveMid, Points, Count);
}
void FindHighLowWatersPort1(int& Points, int16_t& Count) { searchSite(State().AdjCurvePort1, Points, Count); }
void FindHighLowWatersPort2(int& Points, int16_t& Count) { searchSite(State().AdjCurvePort2, Points, Count); }

std::string ShowDayTides(int Count) {
    auto& s = State();
    for (int i = 1; i <= 200; ++i) s.DayText[i].clear();
    s.DayText[1] = "Port : " + LineText(s.PortName);
    s.DayText[2] = "Date : " + NumericDate(s.SelectedYear, s.SelectedMonth, s.SelectedDay);
    s.DayText[3] = "";
    for (int k = 1; k <= Count; ++k) {
        s.DayEventText(1, k) = HoursToHHMM(s.DayEvents(1, k));
        s.DayEventText(2, k) = Format(s.DayEvents(2, k), "#,#0.0;;;");
    }
    std::string caption = "  Predictions\r\n";
    // A day without heights has no range to show, though DayRange holds 0.
    const bool computed = allFinite(s.DayCurve, kMainCurvePoints - 1);
    caption += "   (Range " + (computed ? Format(s.DayRange, "0.0") + "M" : std::string("n/a")) + ")\r\n\r\n";
    caption += "   Time    Ht.\r\n";
    for (int k = 1; k <= Count; ++k) {
        const std::string& time = s.DayEventText(1, k);
        const std::string& height = s.DayEventText(2, k);
        caption += "   " + time + "   " + height + "\r";
        s.DayText[k + 3] = time + "   " + height;
    }
    s.DayText[Count + 4] = "";
    s.DayTextCount = Count + 4;
    return caption;
}

TimeHeightSeries DayRangeAndHighWaters(const TimeHeightSeries& Series, double& Range) {
    // The 1e-6 h lets a turning point on the 24 h step count although the summed minutes
    // fall a hair short of it.
    constexpr double kSlack = 0.000001;
    TimeHeightSeries highs;
    double highest = -9999.0, lowest = 9999.0;
    bool anyTurn = false;
    for (const auto& p : Series)
        if (!std::isfinite(p.Height)) {
            Range = 0;
            return highs;
        }
    auto take = [&](double h) {
        anyTurn = true;
        if (h > highest) highest = h;
        if (h < lowest) lowest = h;
    };
    // The last element is the spare pair, no minute of the tide: the 50-hour point has no
    // neighbour after it and is never a turning point.
    const long upper = static_cast<long>(Series.size()) - 1;
    for (long i = 1; i <= upper - 3; ++i) {
        const auto& mid = Series[static_cast<size_t>(i + 1)];
        const Turn turn = turnAt(Series[static_cast<size_t>(i)].Height, mid.Height,
                                 Series[static_cast<size_t>(i + 2)].Height);
        const double t = mid.Time + kSlack;
        if (turn == Turn::Low && t > 24.0) {
            take(mid.Height);
        } else if (turn == Turn::High && t > 24.0 && t < 48.0) {
            take(mid.Height);
            highs.push_back({mid.Time - 24.0, mid.Height});
        }
    }
    Range = anyTurn ? highest - lowest : 0;
    return highs;
}

}  // namespace engine
