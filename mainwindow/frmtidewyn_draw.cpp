// The main window's day picture: the tide curve, the grid, the sun marks, the layers view and
// the springs/neaps bar.
#include <cmath>

#include "engine/dayview.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/layersview.h"

using namespace engine;
using namespace platform;

void frmtidewyn::DrawTideCurve() {
    SharedState& s = State();
    if (s.LayersMode == 1) {
        DrawConstituentLayers();
        return;
    }
    PictureBox& pic = *Picture1;
    pic.SetAutoRedraw(true);
    pic.Cls();
    FillOutputCurve(s.DayCurve, s.OutputCurve);
    std::string draughtText = s.Draught != 0 ? " : Draft=" + CStrSingle(s.Draught) + "M" : "";
    std::string clearanceText =
        s.KeelClearance != 0 ? " : Clearance=" + CStrSingle(s.KeelClearance) + "M" : "";
    std::string userDepthText = s.UserDepth != 0 ? ": User depth=" + CStrSingle(s.UserDepth) + "M" : "";

    // The dotted curve of option 3: the height less the draught and the under-keel clearance.
    const bool dotted = s.OutputOption == 3.0f;
    if (s.OutputOption == 1.0f) s.DepthNote = "Depths to Chart Datum";
    else if (dotted) s.DepthNote = draughtText + clearanceText + userDepthText;
    else s.DepthNote = userDepthText;  // option 2, and any other value drawn as option 2

    const CurveTable& curve = s.DayCurve;
    CurveScale scale = TideCurveScale(curve, curve, s.CurvePoints);
    s.ScaleTop = scale.Top;
    s.ScaleBottom = scale.Bottom;
    pic.Scale(0, scale.Top, 24, scale.Bottom);

    // Heights that are not numbers (a day that could not be computed) draw nothing.
    for (int r = 1; r <= s.CurvePoints - 1; ++r)
        if (Drawable(curve(1, r), curve(2, r), curve(1, r + 1), curve(2, r + 1)))
            pic.Line(curve(1, r), curve(2, r), curve(1, r + 1), curve(2, r + 1));
    if (dotted) {
        double lower = static_cast<double>(s.Draught) + static_cast<double>(s.KeelClearance);
        for (int r = 1; r <= s.CurvePoints; ++r)
            if (std::isfinite(curve(2, r))) pic.PSet(curve(1, r), curve(2, r) - lower);
    }
    DrawDayGrid(pic, scale.Top, scale.Bottom, "M");

    DrawHourLabels();
    DrawSunTimes();
    pic.SetAutoRedraw(false);
    DrawSpringsNeaps();
}

// Hour labels under the picture, on the window's own surface, which holds nothing else:
// cleared first, so that its drawing does not pile up over the days.
void frmtidewyn::DrawHourLabels() {
    PictureBox& surface = Surface();
    surface.Cls();
    static const char* const hours[] = {"03:00", "06:00", "09:00", "12:00", "15:00", "18:00", "21:00 Hours"};
    for (int k = 1; k <= 7; ++k) {
        surface.CurrentX = LeftOf(Picture1) + k * WidthOf(Picture1) / 8.0 - 200;
        surface.CurrentY = TopOf(Picture1) + HeightOf(Picture1) + 5;
        surface.Print(hours[k - 1]);
    }
}

void frmtidewyn::DrawSunTimes() {
    const SharedState& s = State();
    PictureBox& pic = *Picture1;
    const double span = s.ScaleTop - s.ScaleBottom;
    pic.DrawWidth = 2;
    for (auto [time, occurs] :
         {std::pair{s.SunriseTime, sunriseOccurs_}, std::pair{s.SunsetTime, sunsetOccurs_}}) {
        if (!occurs) continue;  // no mark for a sunrise or sunset that does not happen
        for (int k = 0; k <= 48; k += 2)
            pic.Line(time, s.ScaleTop - span * k / 50, time, s.ScaleTop - span * (k + 1) / 50, kGrey);
    }
    pic.DrawWidth = 1;
    if (sunriseOccurs_) {
        pic.CurrentX = s.SunriseTime - 1.5;
        pic.CurrentY = s.ScaleTop;
        pic.Print("Sunrise");
    }
    if (sunsetOccurs_) {
        pic.CurrentX = s.SunsetTime - 1.5;
        pic.CurrentY = s.ScaleTop;
        pic.Print("Sunset");
    }
}

void frmtidewyn::DrawConstituentLayers() {
    SharedState& s = State();
    PictureBox& pic = *Picture1;
    pic.SetAutoRedraw(true);
    pic.Cls();
    std::array<bool, 7> shown{};
    const CheckBox* boxes[7] = {chkM2, chkS2, chkK1, chkO1, chkf4, chkf6, chkZ0};
    for (size_t i = 0; i < 7; ++i) shown[i] = boxes[i]->Value() == 1;
    const auto layers = s.DayLayers();
    const CurveScale scale = DrawLayersDay(
        pic, s.DayCurve, {layers[0], layers[1], layers[2], layers[3], layers[4], layers[5], layers[6]},
        s.CurvePoints, shown);
    s.ScaleTop = scale.Top;
    s.ScaleBottom = scale.Bottom;
    pic.SetAutoRedraw(false);
    DrawSpringsNeaps();
}

void frmtidewyn::DrawSpringsNeaps() {
    SharedState& s = State();
    std::optional<int> diff = SpringNeapRows(s.LayerM2, s.LayerS2, s.CurvePoints);
    if (!diff) {
        s.SpringNeapLag = std::nan("");  // no lag: no springs/neaps wording either
        lblSprings->SetCaption("");
        lblNeap->SetCaption("");
        return;
    }
    s.SpringNeapLag = *diff / 6.0;
    pctSpringsStatus->SetAutoRedraw(true);
    pctSpringsStatus->Cls();
    if (*diff < 36) {
        pctSpringsStatus->Box(0, 0, *diff, 1, kBlack, true);
        lblSprings->SetCaption("Springs");
        lblNeap->SetCaption("Neaps");
    } else {
        pctSpringsStatus->Box(0, 0, *diff - 36, 1, kBlack, true);
        lblSprings->SetCaption("Neaps ");
        lblNeap->SetCaption("Springs ");
    }
    pctSpringsStatus->SetAutoRedraw(false);
}
