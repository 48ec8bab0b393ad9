#pragma once
// The harmonic day curve by the simplified harmonic method: M2, S2, K1 and O1 with their
// nodal factors, the f4/F4 and f6/F6 shallow-water terms on the combined M2 + S2 wave, and the
// mean level Z0 with the month's correction. Heights in metres, times in decimal hours of the
// port's zone; the summer-time shift of CalcDayTide is the only change of clock.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/recordfile.h"
#include "engine/state.h"

namespace engine {

// CurvePoints of the displayed day's table.
inline constexpr int kDayTideCurvePoints = 147;

// What the main window shows while the day is computed: the engine draws nothing itself.
class DayTideView {
public:
    enum class Pointer { ArrowHourglass, Hourglass, Idle };
    struct ConstantCaptions {
        std::string lblZ0harm, lblm2Harm, lblS2Harm, lblK1Harm, lblO1Harm, lblf4Harm, lblf6Harm;
    };
    virtual ~DayTideView() = default;
    // ArrowHourglass or Hourglass while computing; Idle: the default pointer on the window and
    // the cross on the curve picture.
    virtual void SetPointer(Pointer p) = 0;
    virtual void ShowConstants(const ConstantCaptions& captions) = 0;
};
// The view that CalcDayTide and CalcDayCurve report to; none by default.
void SetDayTideView(DayTideView* view);

// The thirteen constants of an adjustment site as texts, in the order Z0, M2g, M2Hm, S2g,
// S2Hm, K1g, K1Hm, O1g, O1Hm, sf4, LF4, sf6, LF6; each is read as the number at its start.
using ConstantTexts = std::array<std::string, 13>;
class AdjustmentSites {
public:
    virtual ~AdjustmentSites() = default;
    virtual ConstantTexts Port1() const = 0;         // the labels P1Z0 .. P1LF6
    virtual ConstantTexts Intermediate() const = 0;  // the text boxes txtZ0 .. txtLF6
    virtual ConstantTexts Port2() const = 0;         // the labels P2Z0 .. P2LF6
};
// The adjustment window registers itself here; none by default (all constants read as 0).
void SetAdjustmentSites(AdjustmentSites* sites);

// The displayed day for CurrentPort and DayOfYear of SelectedYear: heights at 10-minute steps
// into DayCurve (149 rows, 152 in summer time, whose row 1 is 23:00 of the day before) and the
// seven layer tables; CurvePoints 147, PointCount 302. RecordNo is set to CurrentPort. A day
// that cannot be computed (an area record that cannot be read or is damaged, a year outside
// 1000 to 3000, a damaged user depth that the output option adds) keeps the rows' times with
// heights and contributions that are not a number, and returns the status; a missing user
// depth counts as 0.
FileResult CalcDayTide(int16_t& RecordNo, int DayOfYear, int& PointCount, bool SummerTime);

// The current port's record and charted depth for a day of Year as CalcDayTide reads them:
// UserDepth refreshed from the depth record, and the depth to add unless the output option is
// exactly 1. The status is CalcDayTide's: a year outside 1000 to 3000, then the record's, then a
// damaged user depth's when it is added.
FileResult ReadCurrentPortDay(int Year, PortRecord& Record, std::optional<double>& ChartedDepth);

// One day's 10-minute table of a port record, the displayed day's computation from its inputs:
// rows 1 to 149 from 00:00 of DayOfYear of Year, or with SummerTime rows 1 to 152 from 23:00 of
// the day before (00:00 on the summer clock), row r at time (r - 1) / 6 h; the record's month
// values of Month; ChartedDepth added to every height when AddDepth. Writes those rows of Curve
// and of the seven Layers (M2, S2, K1, O1, f4, f6, Z0) and no others, and MeanLevel (Z0 with the
// month's correction). A year outside 1000 to 3000 is refused and nothing is written.
FileResult DayTideTable(const PortRecord& Record, int Year, int Month, int DayOfYear, bool SummerTime,
                        double ChartedDepth, bool AddDepth, CurveTable& Curve,
                        const std::array<LayerTable*, 7>& Layers, double& MeanLevel);

// The current port's table of the day of Date (a date value) into Curve alone, as CalcDayTide
// computes the displayed day (record and user depth read afresh, the output option), leaving
// the shared state as it was. Rows past the day's are 0. A day that cannot be computed keeps
// the times of its 149 rows with heights that are not a number, and returns the status.
FileResult PortDayCurve(double Date, bool SummerTime, CurveTable& Curve);

// The same curve from midnight of DayOfYear, 147 rows and row 148 = (99, LastHeight);
// CurvePoints and PointCount 148. ClockTime and FirstHeight have no effect. A day that cannot
// be computed is treated as in CalcDayTide.
FileResult CalcDayCurve(int16_t& RecordNo, int DayOfYear, double ClockTime, double FirstHeight,
                        double LastHeight, int& PointCount);

// The three adjustment sites, from the constants the adjustment window shows (no month
// values): AdjCurveMid / AdjLayersMid / AdjMeanMid, AdjCurvePort1 / ..., AdjCurvePort2.
void CalcAdjustCurveIntermediate(int16_t& RecordNo, int DayOfYear, double ClockTime, double FirstHeight,
                                 double LastHeight, int& PointCount);
void CalcAdjustCurvePort1(int16_t& RecordNo, int DayOfYear, double ClockTime, double FirstHeight,
                          double LastHeight, int& PointCount);
void CalcAdjustCurvePort2(int16_t& RecordNo, int DayOfYear, double ClockTime, double FirstHeight,
                          double LastHeight, int& PointCount);

// One-minute heights of record RecordNo from the midnight before Date (a Julian day number)
// over 50 hours, without the user depth; the series ends with one spare (0, 0) element.
// Leaves CurvePoints, SelectedDayOfYear and DayCurve alone. A record that cannot be read or is
// damaged, or a year outside 1000 to 3000, leaves only the spare element.
FileResult CalcDayTideMinutes(int16_t RecordNo, double Date, TimeHeightSeries& Heights);
// The same from a record already read; fails only for a year outside 1000 to 3000.
FileResult DayTideMinutes(const PortRecord& Record, double Date, TimeHeightSeries& Heights);

// The refusal of a year that the engine does not compute.
FileResult YearRefused(int year);

// A day that cannot be computed: the first `rows` rows keep their times, 10 minutes apart, with
// heights and contributions that are not a number, so that nothing downstream reads as a result
// (no curve, no high or low waters, "n/a" in the read-outs). The layers are cleared first.
void FillUncomputable(CurveTable& curve, const std::array<LayerTable*, 7>& layers, int rows);

// The height at Time (hours after midnight of Day of Year) and 3 minutes later; Time is
// adjusted (0 -> 1 minute, moved back 10 minutes near midnight) and returns the time of the
// second evaluation. A day that cannot be computed (as in CalcDayTide) gives heights that are
// not a number and leaves Time alone.
FileResult CalcHeightAtTime(int16_t& RecordNo, int Year, int Day, double& Time, double& Height,
                            double& LaterHeight);
void CalcHeightAtTimeIntermediate(int16_t& RecordNo, int Year, int Day, double& Time, double& Height,
                                  double& LaterHeight);

struct Speed {
    int n = 0;         // whole turns added to the daily change
    double omega = 0;  // degrees per hour
};
// The speed of a constituent from its daily angle change Delta = A(day) - A(day + 1) in whole
// degrees: the smallest n >= 0 with 360 n + Delta > Limit (600 for M2 and S2, 300 for K1 and
// O1), and omega = (360 n + Delta) / 24.
Speed SpeedFromDailyChange(int Delta, int Limit);
// The limits, degrees per day: above them lies the whole daily advance of a semi-diurnal (about
// 696) or diurnal (about 361 and 335) constituent.
inline constexpr int kSemiDiurnalSpeedLimit = 600;
inline constexpr int kDiurnalSpeedLimit = 300;

}  // namespace engine
