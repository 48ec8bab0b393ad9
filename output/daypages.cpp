#include "output/daypages.h"

#include <cmath>

#include "engine/dayview.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/timetext.h"
#include "output/notes.h"
#include "platform/printerpage.h"

using namespace engine;

namespace output {

namespace {
// Rows of the day from 00:00 to 24:00.
constexpr int kDayRows = 145;

// The depth note of the curve page, by the output option; any other option as option 2.
std::vector<std::string> depthLines(const SharedState& s) {
    if (s.OutputOption == 1.0f) return {"Heights shown in Metres to Chart Datum"};
    std::string depth = "User charted depth = " + CStrSingle(s.UserDepth);
    if (s.OutputOption == 3.0f)
        depth += "   Draught = " + CStrSingle(s.Draught) + "   Under keel = " + CStrSingle(s.KeelClearance);
    return {"Heights shown in Metres and include:", depth + " (Metres)"};
}
}  // namespace

CurvePageScale CurvePageScaleFor(double highest, double lowest, double boxHeight, double labelHeight,
                                 double tenthSpacing) {
    // Heights beyond any sea's are held to a bound that the scale's whole numbers can hold.
    constexpr double kBound = 1e6;
    highest = std::min(highest, kBound);
    lowest = std::max(lowest, -kBound);
    CurvePageScale scale;
    scale.shift = lowest < 0 ? static_cast<int>(std::ceil(-lowest)) : 0;
    scale.top = static_cast<int>(Int(highest + scale.shift)) + 1;
    const double perMetre = boxHeight / scale.top;
    if (!(perMetre > 0)) return scale;  // no room on the page: nothing to thin
    const double pitch = 1.25 * labelHeight;
    for (double decade = 1; perMetre * scale.step < pitch; decade *= 10) {
        for (double m : {1.0, 2.0, 5.0}) {
            scale.step = static_cast<int>(m * decade);
            if (perMetre * scale.step >= pitch) break;
        }
    }
    scale.tenths = perMetre / 10 >= tenthSpacing;
    return scale;
}

void PrintTideCurve(platform::PrinterPage& page, const DayCaptions& captions) {
    SharedState& s = State();
    const int points = s.CurvePoints;
    const bool dotted = s.OutputOption == 3.0f;
    const double lower = static_cast<double>(s.Draught) + static_cast<double>(s.KeelClearance);

    page.Print("");
    const double pw = page.ScaleWidth(), ph = page.ScaleHeight();
    page.SetScaleLeft(-pw / 20);
    page.SetScaleTop(-ph / 15);
    const double h = ph / 2, w = 0.9 * pw;

    const HeightRange range = DayHeightRange(s.DayCurve, s.DayCurve, points);
    constexpr double kHalfMillimetre = 1440 / 25.4 / 2;
    const CurvePageScale scale =
        CurvePageScaleFor(range.Highest, range.Lowest, h, page.TextHeight(), kHalfMillimetre);
    const double t = scale.top, vs = h / t, hs = w / 24;
    auto x = [&](double time) { return hs * time; };
    auto y = [&](double height) { return h - 2 - vs * (height + scale.shift); };

    // The day from 00:00 to 24:00; heights that are not numbers draw nothing.
    const int last = std::min(points - 1, kDayRows);
    for (int r = 1; r < last; ++r) {
        const double t1 = s.DayCurve(1, r), h1 = s.DayCurve(2, r), t2 = s.DayCurve(1, r + 1),
                     h2 = s.DayCurve(2, r + 1);
        if (std::isfinite(h1) && std::isfinite(h2)) page.Line(x(t1), y(h1), x(t2), y(h2));
    }
    if (dotted) {
        page.DrawWidth = 5;
        for (int r = 1; r <= last; ++r) {
            const double v = s.DayCurve(2, r) - lower;
            if (std::isfinite(v) && y(v) <= h) page.PSet(x(s.DayCurve(1, r)), y(v));
        }
        page.DrawWidth = 1;
    }

    for (int k = 1; k <= 7; ++k) page.Line(k * w / 8, 0, k * w / 8, h);
    for (int i = 1; i <= 24; ++i) {
        page.Line(i * w / 24, h, i * w / 24, h - h / 128);
        page.Line(i * w / 24, 0, i * w / 24, h / 128);
    }
    for (int k = 1; k <= 7; ++k) {
        page.CurrentX = k * w / 8 - 220;
        page.CurrentY = h + 50;
        page.Print(FormatHourLabel(3 * k));
    }
    // Metre lines every step of true height, the base line always; tenths of a metre on both
    // sides when they lie apart.
    auto labelled = [&](int r) { return (r - scale.shift) % scale.step == 0; };
    for (int r = 0; r <= scale.top - 1; ++r) {
        if (r == 0 || labelled(r)) page.Line(0, h - r * vs, w, h - r * vs);
        if (!scale.tenths) continue;
        for (int m = 1; m <= 10; ++m) {
            const double ym = h - (r + m / 10.0) * vs;
            page.Line(0, ym, w / 256, ym);
            page.Line(w - w / 256, ym, w, ym);
        }
    }
    page.Line(0, 0, w, 0);
    page.Line(w, 0, w, h);
    page.Line(0, h, w, h);
    page.Line(0, 0, 0, h);
    // Labels a little above their lines, clear of the base and top labels.
    const double clearance = 1.25 * page.TextHeight();
    for (int r = scale.top - 1; r >= 1; --r) {
        // The top label hangs 50 below the top line, the others stand 200 above theirs.
        if (!labelled(r) || r * vs < clearance || (scale.top - r) * vs - 250 < clearance) continue;
        page.CurrentX = w / 100;
        page.CurrentY = h - r * vs - 200;
        page.Print(Str(r - scale.shift) + " ");
    }
    page.CurrentX = w / 100;
    page.CurrentY = h - 200;
    page.Print(scale.shift == 0 ? "0" : std::to_string(-scale.shift));
    page.CurrentX = Int(w / 100);
    page.CurrentY = 50;
    page.Print(Str(scale.top - scale.shift) + " Metres");

    FillOutputCurve(s.DayCurve, s.OutputCurve);

    page.SetFontSize(9);
    page.CurrentY = h + 400;
    const double left = page.ScaleLeft();
    std::string port =
        captions.port.size() > 5 ? captions.port.substr(0, 5) + captions.port.substr(6) : captions.port;
    PrintLines(page, left, {port, captions.date});
    PrintLines(page, left, depthLines(s));
    PrintLines(page, left, {"", captions.dayList});
    page.SetFontSize(7);
    PrintLines(page, left, {kDerivedNote, TimesLine(s.UseSummerTime != 0, captions.adjusted), ""});
    PrintStandingNotes(page, left, 1, 1);
    page.SetFontSize(9);
    page.NewPage();
}

void PrintHourlyTable(platform::PrinterPage& page, const DayCaptions& captions) {
    SharedState& s = State();
    FillOutputCurve(s.DayCurve, s.OutputCurve);
    std::vector<std::string> rows(145);
    for (int i = 1; i <= 144; ++i)
        rows[i] = LTrim(HoursToHHMM(s.OutputCurve(1, i))) + "    " + Format(s.OutputCurve(2, i), "#,#0.0;;;");

    page.SetFontSize(9);
    page.SetFontBold(true);
    const double pageWidth = std::floor(page.PageWidth());
    const double tableLeft = pageWidth / 7, columnStep = pageWidth / 5;
    PrintLines(page, tableLeft, {"\r\n", captions.port, captions.date});
    page.Print("");
    page.SetFontBold(false);

    double columnOffset = 0, footerTop = 0;
    auto head = [&](int emptyLines, const char* text) {
        for (int k = 0; k < emptyLines; ++k) page.Print("");
        page.SetFontBold(true);
        PrintLines(page, tableLeft + columnOffset, {text});
        page.SetFontBold(false);
        page.Print("");
    };
    for (int i = 1; i <= 144; ++i) {
        if (i == 1) {
            page.CurrentY = tableLeft / 1.5;
            columnOffset = page.CurrentX;
            head(1, "Time Height");
        } else if (i == 37 || i == 73 || i == 109) {
            if (i == 37) footerTop = page.CurrentY;
            page.CurrentY = tableLeft / 2;
            columnOffset = (i - 1) / 36 * columnStep;
            head(2, "Time  Height");
        }
        PrintLines(page, tableLeft + columnOffset, {rows[i]});
        if (i % 6 == 0) page.Print("");
    }

    page.CurrentY = footerTop;
    page.Print("");
    page.Print("");
    page.SetFontSize(7);
    std::string depth = s.OutputOption == 1.0f ? "Heights shown in Metres to Chart Datum"
                        : s.UserDepth != 0 ? "Heights shown in Metres and include : User entered depth = " +
                                                 CStrSingle(s.UserDepth) + " (Metres)"
                                           : "Heights shown in Metres to Chart Datum.";
    PrintLines(page, tableLeft,
               {depth, "", kDerivedNote, TimesLine(s.UseSummerTime != 0, captions.adjusted), ""});
    PrintStandingNotes(page, tableLeft, 2, 0);
    page.SetFontSize(9);
    page.NewPage();
}

}  // namespace output
