#include "engine/curve.h"

#include <cmath>
#include <limits>
#include <memory>

#include "engine/astro.h"
#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/harmonics.h"
#include "engine/numtext.h"

namespace engine {

namespace {

constexpr double kTenMinutes = 1.0 / 6;
constexpr double kOneMinute = 1.0 / 60;
constexpr double kThreeMinutes = 1.0 / 20;

// Spans of the members, hours from their time origin.
constexpr double kTwoDays = 50;
constexpr double kOneDay = 24.5;

// Working rows of CalcDayTide copied into the day tables (rows from 1, t = (k - 1) / 6 h
// after the midnight that starts the day before).
constexpr int kWindowFirst = 145, kWindowLast = 293;              // 00:00 to 24:40
constexpr int kSummerWindowFirst = 139, kSummerWindowLast = 290;  // 23:00 the day before to 24:10

constexpr int kDayTidePointCount = 302;  // 301 steps + 1
constexpr int kDayCurvePoints = kDayTideCurvePoints;
constexpr int kSitePointCount = 148;  // 147 steps + the sentinel row
constexpr double kSentinelTime = 99;
constexpr double kNoHeight = std::numeric_limits<double>::quiet_NaN();  // a day that cannot be computed

DayTideView* gView = nullptr;
AdjustmentSites* gSites = nullptr;

void setPointer(DayTideView::Pointer p) {
    if (gView) gView->SetPointer(p);
}

Constants fromTexts(const ConstantTexts& t) {
    return {Val(t[0]), Val(t[1]), Val(t[2]), Val(t[3]),  Val(t[4]),  Val(t[5]), Val(t[6]),
            Val(t[7]), Val(t[8]), Val(t[9]), Val(t[10]), Val(t[11]), Val(t[12])};
}

void putStep(int row, double time, const Step& s, CurveTable& curve,
             const std::array<LayerTable*, 7>& layers) {
    curve(1, row) = time;
    curve(2, row) = s.h;
    const double values[7] = {s.M2, s.S2, s.K1, s.O1, s.F4, s.F6, s.Mean};
    for (size_t i = 0; i < 7; ++i) {
        (*layers[i])(1, row) = time;
        (*layers[i])(2, row) = values[i];
    }
}

void clearCurve(CurveTable& curve) {
    for (int r = 1; r <= 500; ++r) curve(1, r) = curve(2, r) = 0;
}

void clearEvents() {
    auto& ev = State().DayEvents;
    for (int k = 1; k <= 15; ++k) ev(1, k) = ev(2, k) = 0;
}

void clearLayers(const std::array<LayerTable*, 7>& layers) {
    for (auto* l : layers) l->clear();
}

// The displayed day's tables when it cannot be computed, with the usual counts; the caller
// gets the status back.
FileResult uncomputableDay(const FileResult& why, int rows, int curvePoints, int pointCount,
                           int& PointCount) {
    auto& s = State();
    FillUncomputable(s.DayCurve, s.DayLayers(), rows);
    s.DayMeanLevel = kNoHeight;
    s.CurvePoints = curvePoints;
    PointCount = pointCount;
    setPointer(DayTideView::Pointer::Idle);
    return why;
}

std::array<LayerTable*, 7> layersOf(LayerSet& set) {
    return {&set[0], &set[1], &set[2], &set[3], &set[4], &set[5], &set[6]};
}

// Whether heights include the user's charted depth: every option but exactly 1.0.
bool depthAdded() { return State().OutputOption != 1.0f; }

// The current port's charted depth from its depth record: 0 when there is no file or no record
// for the port. A damaged depth, or a file that is there but cannot be read, is never taken as
// 0: its status comes back when the heights would include the depth.
FileResult userDepthOf(float& depth) {
    const auto& s = State();
    DepthRecord d;
    const FileResult r = ReadDepthRecord(s.DepthFilePath, s.CurrentPort, d);
    depth = r.ok() ? d.ChartedDepth : 0.0f;
    if (!depthAdded()) return {};
    if (r.status == FileStatus::Damaged)
        return {r.status, r.message + ". Enter the port's depth again under Configure, Port Notes"};
    // No file, or no record for the port, is a depth of 0; a file that cannot be read is not.
    return r.recordRead() || r.absent() ? FileResult{} : r;
}

// UserDepth refreshed from the current port's depth record.
FileResult readUserDepth() { return userDepthOf(State().UserDepth); }

// The current port's record and user depth, checked, for the file members. The depth is
// refreshed whatever else fails.
FileResult portAndDepth(int year, PortRecord& rec, float& depth) {
    const auto& s = State();
    const FileResult depthRead = userDepthOf(depth);
    if (!YearIsComputable(year)) return YearRefused(year);
    FileResult r = ReadPortRecord(s.AreaFilePath, s.CurrentPort, rec);
    if (!r.ok()) return r;
    return depthRead;
}

FileResult readPortAndDepth(int year, PortRecord& rec) { return portAndDepth(year, rec, State().UserDepth); }

// A record's value as its 7-digit decimal form, as the record's own text shows it.
double shownValue(float v) { return Val(StrSingle(v)); }

DayTideView::ConstantCaptions captionsOf(const PortRecord& r) {
    auto wave = [](float g, float H) {
        return " (g " + Format(shownValue(g), "000") + " : Hm " + Format(shownValue(H), "0.00") + ")";
    };
    DayTideView::ConstantCaptions c;
    c.lblZ0harm = " (Z0 " + Format(shownValue(r.Z0), "0.00") + ")";
    c.lblm2Harm = wave(r.M2g, r.M2Hm);
    c.lblS2Harm = wave(r.S2g, r.S2Hm);
    c.lblK1Harm = wave(r.K1g, r.K1Hm);
    c.lblO1Harm = wave(r.O1g, r.O1Hm);
    c.lblf4Harm =
        " (f4 " + Format(shownValue(r.sf4), "000") + " : F4 " + Format(shownValue(r.LF4), "0.00") + ")";
    c.lblf6Harm =
        " (f6 " + Format(shownValue(r.sf6), "000") + " : F6 " + Format(shownValue(r.LF6), "0.00") + ")";
    return c;
}

// One day from midnight of DayOfYear (147 steps) into curve and layers, with the sentinel
// row 148 = (99, last). Returns the mean level.
double computeOneDay(const Constants& c, double mean, int DayOfYear, CurveTable& curve,
                     const std::array<LayerTable*, 7>& layers, double last) {
    auto& s = State();
    const Harmonics day(c, mean, s.UserDepth, depthAdded(), s.SelectedYear, DayOfYear);
    const int steps =
        forEachStep(kTenMinutes, kOneDay, [&](int k, double t) { putStep(k, t, day.at(t), curve, layers); });
    curve(1, steps + 1) = kSentinelTime;
    curve(2, steps + 1) = last;
    return day.mean();
}

// The adjustment sites: constants from texts, no month values, sentinel rows at both ends.
double computeSite(const ConstantTexts& texts, int16_t& RecordNo, int DayOfYear, int& PointCount,
                   CurveTable& curve, LayerSet& layerSet) {
    auto& s = State();
    clearCurve(curve);
    clearEvents();
    RecordNo = s.CurrentPort;
    (void)readUserDepth();  // the sites show their constants as typed; a damaged depth counts 0
    const Constants c = fromTexts(texts);
    if (!YearIsComputable(s.SelectedYear)) {
        FillUncomputable(curve, layersOf(layerSet), kSitePointCount);
        s.CurvePoints = kSitePointCount;
        PointCount = kSitePointCount;
        return kNoHeight;
    }
    const double mean = c.Z0;
    const double m = computeOneDay(c, mean, DayOfYear, curve, layersOf(layerSet), 0);
    // Flat ends, so that the search finds no turning point on the first or last row.
    curve(1, 1) = -kSentinelTime;
    curve(2, 1) = curve(2, 2);
    curve(2, kSitePointCount) = curve(2, kSitePointCount - 1);
    s.CurvePoints = kSitePointCount;
    PointCount = kSitePointCount;
    return m;
}

ConstantTexts siteTexts(ConstantTexts (AdjustmentSites::*which)() const) {
    return gSites ? (gSites->*which)() : ConstantTexts{};
}

// Height and the height 3 minutes later at Time of Day, with Time adjusted as the method
// wants: 0 becomes 1 minute, and a pair that would reach midnight moves back 10 minutes.
void heightPair(const Constants& c, double mean, int Year, int Day, double& Time, double& Height,
                double& LaterHeight) {
    const Harmonics day(c, mean, State().UserDepth, depthAdded(), Year, Day);
    if (Time == 0) Time = kOneMinute;
    if (Time + 1.0 / 5 >= 24) Time = Time - kTenMinutes;
    Height = day.at(Time).h;
    Time = Time + kThreeMinutes;
    LaterHeight = day.at(Time).h;
}

}  // namespace

FileResult YearRefused(int year) {
    return {FileStatus::Refused, "The year " + std::to_string(year) + " is outside " +
                                     std::to_string(kFirstComputedYear) + " to " +
                                     std::to_string(kLastComputedYear)};
}

void FillUncomputable(CurveTable& curve, const std::array<LayerTable*, 7>& layers, int rows) {
    clearLayers(layers);
    for (int r = 1; r <= rows; ++r) {
        const double t = (r - 1) * kTenMinutes;
        curve(1, r) = t;
        curve(2, r) = kNoHeight;
        for (auto* l : layers) {
            (*l)(1, r) = t;
            (*l)(2, r) = kNoHeight;
        }
    }
}

void SetDayTideView(DayTideView* view) { gView = view; }
void SetAdjustmentSites(AdjustmentSites* sites) { gSites = sites; }

Speed SpeedFromDailyChange(int Delta, int Limit) {
    Speed s;
    while (!(360 * s.n + Delta > Limit)) ++s.n;
    s.omega = (360.0 * s.n + Delta) / 24;
    return s;
}

FileResult ReadCurrentPortDay(int Year, PortRecord& Record, std::optional<double>& ChartedDepth) {
    const FileResult r = readPortAndDepth(Year, Record);
    ChartedDepth = depthAdded() ? std::optional<double>(State().UserDepth) : std::nullopt;
    return r;
}

FileResult CalcDayTide(int16_t& RecordNo, int DayOfYear, int& PointCount, bool SummerTime) {
    auto& s = State();
    const auto layers = s.DayLayers();
    setPointer(DayTideView::Pointer::ArrowHourglass);
    clearCurve(s.DayCurve);
    clearEvents();
    RecordNo = s.CurrentPort;

    PortRecord rec;
    std::optional<double> depth;
    const FileResult read = ReadCurrentPortDay(s.SelectedYear, rec, depth);
    if (!read.ok())
        return uncomputableDay(read, kWindowLast - kWindowFirst + 1, kDayCurvePoints, kDayTidePointCount,
                               PointCount);
    if (s.ShowConstants && gView) gView->ShowConstants(captionsOf(rec));
    double mean = 0;
    // ComputeTideDay's table straight into the day tables, with no copy through a TideDay. The
    // year was checked with the record: the table cannot refuse it.
    (void)DayTideTable(rec, s.SelectedYear, s.SelectedMonth, DayOfYear, SummerTime, depth.value_or(0),
                       depth.has_value(), s.DayCurve, layers, mean);
    PointCount = kDayTidePointCount;
    s.DayMeanLevel = mean;
    s.CurvePoints = kDayCurvePoints;
    setPointer(DayTideView::Pointer::Idle);
    return {};
}

FileResult DayTideTable(const PortRecord& Record, int Year, int Month, int DayOfYear, bool SummerTime,
                        double ChartedDepth, bool AddDepth, CurveTable& Curve,
                        const std::array<LayerTable*, 7>& Layers, double& MeanLevel) {
    if (!YearIsComputable(Year)) return YearRefused(Year);
    Constants c = ConstantsOf(Record);
    const double mean = c.Z0 + ApplyMonth(Record, Month, c);
    // The span starts at the midnight of the day before. Only the displayed window of its 301
    // steps is kept, so only it is evaluated; t still runs through every step.
    const Harmonics day(c, mean, ChartedDepth, AddDepth, Year, DayOfYear - 1);
    const int first = SummerTime ? kSummerWindowFirst : kWindowFirst;
    const int last = SummerTime ? kSummerWindowLast : kWindowLast;
    forEachStep(kTenMinutes, kTwoDays, [&](int k, double t) {
        if (k < first || k > last) return;
        const int row = k - first + 1;
        putStep(row, (row - 1) * kTenMinutes, day.at(t), Curve, Layers);
    });
    MeanLevel = mean;
    return {};
}

FileResult PortDayCurve(double Date, bool SummerTime, CurveTable& Curve) {
    const auto layers = std::make_unique<LayerSet>();
    clearCurve(Curve);
    const int year = DateYear(Date);
    PortRecord rec;
    float depth = 0;
    FileResult r = portAndDepth(year, rec, depth);
    double mean = 0;
    if (r.ok())
        r = DayTideTable(rec, year, DateMonth(Date), engine::DayOfYear(Date), SummerTime, depth, depthAdded(),
                         Curve, layersOf(*layers), mean);
    if (!r.ok()) FillUncomputable(Curve, layersOf(*layers), kWindowLast - kWindowFirst + 1);
    return r;
}

FileResult CalcDayCurve(int16_t& RecordNo, int DayOfYear, double /*ClockTime*/, double /*FirstHeight*/,
                        double LastHeight, int& PointCount) {
    auto& s = State();
    const auto layers = s.DayLayers();
    setPointer(DayTideView::Pointer::Hourglass);
    clearCurve(s.DayCurve);
    clearEvents();
    RecordNo = s.CurrentPort;

    PortRecord rec;
    const FileResult read = readPortAndDepth(s.SelectedYear, rec);
    if (!read.ok())
        return uncomputableDay(read, kSitePointCount, kSitePointCount, kSitePointCount, PointCount);
    Constants c = ConstantsOf(rec);
    const double mean = c.Z0 + ApplyMonth(rec, s.SelectedMonth, c);
    s.DayMeanLevel = computeOneDay(c, mean, DayOfYear, s.DayCurve, layers, LastHeight);
    s.CurvePoints = kSitePointCount;
    PointCount = kSitePointCount;
    setPointer(DayTideView::Pointer::Idle);
    return {};
}

void CalcAdjustCurveIntermediate(int16_t& RecordNo, int DayOfYear, double, double, double, int& PointCount) {
    auto& s = State();
    s.AdjMeanMid = computeSite(siteTexts(&AdjustmentSites::Intermediate), RecordNo, DayOfYear, PointCount,
                               s.AdjCurveMid, s.AdjLayersMid);
}

void CalcAdjustCurvePort1(int16_t& RecordNo, int DayOfYear, double, double, double, int& PointCount) {
    auto& s = State();
    s.AdjMeanPort1 = computeSite(siteTexts(&AdjustmentSites::Port1), RecordNo, DayOfYear, PointCount,
                                 s.AdjCurvePort1, s.AdjLayersPort1);
}

void CalcAdjustCurvePort2(int16_t& RecordNo, int DayOfYear, double, double, double, int& PointCount) {
    auto& s = State();
    computeSite(siteTexts(&AdjustmentSites::Port2), RecordNo, DayOfYear, PointCount, s.AdjCurvePort2,
                s.AdjLayersPort2);
}

FileResult CalcDayTideMinutes(int16_t RecordNo, double Date, TimeHeightSeries& Heights) {
    Heights.assign(1, TimeHeightPair{});
    PortRecord rec;
    const FileResult read = ReadPortRecord(State().AreaFilePath, RecordNo, rec);
    if (!read.ok()) return read;
    return DayTideMinutes(rec, Date, Heights);
}

FileResult DayTideMinutes(const PortRecord& Record, double Date, TimeHeightSeries& Heights) {
    Heights.assign(1, TimeHeightPair{});
    std::optional<Harmonics> day;
    if (FileResult r = MinuteSeriesHarmonics(Record, Date, day); !r.ok()) return r;
    const std::vector<double>& times = MinuteSeriesTimes();
    Heights.reserve(times.size() + 1);
    for (double t : times) {
        Heights.back() = {t, day->at(t).h};
        Heights.emplace_back();
    }
    return {};
}

FileResult CalcHeightAtTime(int16_t& RecordNo, int Year, int Day, double& Time, double& Height,
                            double& LaterHeight) {
    auto& s = State();
    RecordNo = s.CurrentPort;
    PortRecord rec;
    const FileResult read = readPortAndDepth(Year, rec);
    if (!read.ok()) {
        Height = LaterHeight = kNoHeight;
        return read;
    }
    Constants c = ConstantsOf(rec);
    const double mean = c.Z0 + ApplyMonth(rec, s.SelectedMonth, c);
    heightPair(c, mean, Year, Day, Time, Height, LaterHeight);
    return {};
}

void CalcHeightAtTimeIntermediate(int16_t& RecordNo, int Year, int Day, double& Time, double& Height,
                                  double& LaterHeight) {
    RecordNo = State().CurrentPort;
    (void)readUserDepth();  // as the sites: a damaged depth counts 0
    if (!YearIsComputable(Year)) {
        Height = LaterHeight = kNoHeight;
        return;
    }
    const Constants c = fromTexts(siteTexts(&AdjustmentSites::Intermediate));
    heightPair(c, c.Z0, Year, Day, Time, Height, LaterHeight);
}

}  // namespace engine
