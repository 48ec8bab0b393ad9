#include "engine/adjustment.h"

#include <cmath>

#include "engine/dates.h"
#include "engine/numtext.h"

namespace engine {

float MeanConstant(float a, float b) { return (a + b) / 2.0f; }

float MeanPhase(float a, float b) {
    // The difference in -180 to 180 (exactly 180 apart it keeps its sign), whatever turns the
    // phases hold.
    const float d = std::remainder(b - a, 360.0f);
    float mean = std::fmod(a + d / 2.0f, 360.0f);
    if (mean < 0.0f) mean += 360.0f;
    return mean >= 360.0f ? 0.0f : mean;
}

PortRecord LocationRecord(const std::string& name, const std::array<float, 13>& constants,
                          const std::string& zoneLetter) {
    PortRecord r;
    r.PortNo = std::string(5, '\0');
    r.PortName = Trim(name);
    r.ZoneLetter = zoneLetter;
    for (size_t i = 0; i < 13; ++i) r.*kPortConstants[i].field = constants[i];
    r.MonthM2Hm.fill(r.M2Hm);
    return r;
}

LocationZone LocationZoneOf(const std::string& port1Letter, const std::string& port2Letter) {
    const std::string& first = port1Letter.empty() ? port2Letter : port1Letter;
    const int hours = ZoneHours(first);
    const bool shared = port1Letter.empty() || port2Letter.empty() || ZoneHours(port2Letter) == hours;
    return {ZoneLetterForHours(hours), shared};
}

bool IsPhaseConstant(size_t i) { return i < 13 && kPortConstants[i].range.hi == kPhaseRange.hi; }

std::array<float, 13> MeanConstants(const PortRecord& a, const PortRecord& b) {
    std::array<float, 13> mean{};
    for (size_t i = 0; i < 13; ++i) {
        const float x = a.*kPortConstants[i].field, y = b.*kPortConstants[i].field;
        mean[i] = IsPhaseConstant(i) ? MeanPhase(x, y) : MeanConstant(x, y);
    }
    return mean;
}

YearDay StepYearDay(YearDay day, int step) {
    auto length = [](int year) { return IsLeapYear(year) ? 366 : 365; };
    day.DayOfYear += step;
    if (day.DayOfYear <= 0) {
        day.Year -= 1;
        day.DayOfYear = length(day.Year);
    } else if (day.DayOfYear > length(day.Year)) {
        day.Year += 1;
        day.DayOfYear = 1;
    }
    return day;
}

double ClockTextHours(std::string_view hhmm) {
    const size_t colon = hhmm.find(':');
    const double minutes = colon == std::string_view::npos ? 0 : Val(hhmm.substr(colon + 1));
    return Val(hhmm.substr(0, colon)) + minutes / 60;
}

int ReadoutRow(double hours) { return CInt(hours * 6) + 1; }

Contributions ContributionsAt(const LayerSet& layers, double mean, int row) {
    Contributions c;
    c.Mean = mean;
    c.Total = mean;
    for (size_t i = 0; i < 6; ++i) {
        c.Terms[i] = layers[i](2, row);
        c.Total += c.Terms[i];
    }
    return c;
}

template <typename F>
void SavedDayInputs::each(SharedState& s, Inputs& in, F f) {
    f(s.CurrentPort, in.CurrentPort);
    f(s.PortName, in.PortName);
    f(s.SelectedYear, in.SelectedYear);
    f(s.SelectedMonth, in.SelectedMonth);
    f(s.SelectedDay, in.SelectedDay);
    f(s.SelectedDayOfYear, in.SelectedDayOfYear);
    f(s.TimeNowHours, in.TimeNowHours);
    f(s.DayCurve, in.DayCurve);
    const auto layers = s.DayLayers();
    for (size_t i = 0; i < 7; ++i) f(*layers[i], in.DayLayers[i]);
    f(s.DayMeanLevel, in.DayMeanLevel);
    f(s.CurvePoints, in.CurvePoints);
    f(s.DayEvents, in.DayEvents);
    f(s.UserDepth, in.UserDepth);
    f(s.ScaleTop, in.ScaleTop);
    f(s.ScaleBottom, in.ScaleBottom);
    f(s.Draught, in.Draught);
    f(s.KeelClearance, in.KeelClearance);
    f(s.OutputOption, in.OutputOption);
    f(s.AreaFilePath, in.AreaFilePath);
    f(s.DepthFileName, in.DepthFileName);
    f(s.DepthFilePath, in.DepthFilePath);
}

SavedDayInputs::SavedDayInputs() {
    each(State(), saved_, [](auto& state, auto& saved) { saved = state; });
}

SavedDayInputs::~SavedDayInputs() {
    each(State(), saved_, [](auto& state, auto& saved) { state = saved; });
}

}  // namespace engine
