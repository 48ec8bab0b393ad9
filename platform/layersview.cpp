#include "platform/layersview.h"

#include <cmath>

using namespace engine;
using namespace platform;

bool Drawable(double x1, double y1, double x2, double y2) {
    return std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
}

void DrawDayGrid(Canvas& pic, double top, double bottom, const std::string& topUnit) {
    for (int x = 0; x <= 21; x += 3) pic.Line(x, top, x, bottom);
    for (double h : GridHeights(top, bottom, std::fabs(pic.TextHeight()))) {
        pic.Line(0, h, 24, h);
        pic.CurrentX = 0;
        pic.CurrentY = h;
        pic.Print(std::to_string(static_cast<long long>(h)) + (h == top ? topUnit : ""));
    }
}

CurveScale DrawLayersDay(Canvas& pic, const CurveTable& curve, const std::array<const LayerTable*, 7>& layers,
                         int curvePoints, const std::array<bool, 7>& shown,
                         const std::function<void(Canvas&)>& beforeGrid) {
    const CurveScale scale = LayersScale(curve, curvePoints);
    pic.Scale(0, scale.Top, 24, scale.Bottom);
    struct Look {
        bool points;
        OleColor color;
    };
    const Look looks[7] = {{false, kBlue},        {false, kRed},
                           {true, pic.ForeColor}, {false, Rgb(255, 255, 0)},
                           {false, kGreen},       {false, Rgb(255, 0, 255)},
                           {true, kRed}};
    for (int r = 1; r <= curvePoints - 2; ++r) {
        if (Drawable(curve(1, r), curve(2, r), curve(1, r + 1), curve(2, r + 1)))
            pic.Line(curve(1, r), curve(2, r), curve(1, r + 1), curve(2, r + 1));
        for (size_t i = 0; i < 7; ++i) {
            if (!shown[i]) continue;
            const LayerTable& l = *layers[i];
            if (!Drawable(l(1, r), l(2, r), l(1, r + 1), l(2, r + 1))) continue;
            if (looks[i].points) pic.PSet(l(1, r), l(2, r), looks[i].color);
            else pic.Line(l(1, r), l(2, r), l(1, r + 1), l(2, r + 1), looks[i].color);
        }
    }
    if (beforeGrid) beforeGrid(pic);
    DrawDayGrid(pic, scale.Top, scale.Bottom, " Metres");
    return scale;
}
