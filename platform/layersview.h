#pragma once
// The day picture's layers view, drawn alike by the main window and the adjustment window's
// three sites: the day's curve with its constituent layers over a grid of hours and metres.

#include <array>
#include <functional>
#include <string>

#include "engine/dayview.h"
#include "engine/tables.h"
#include "platform/canvas.h"

// The layers view's background: light grey, on which the yellow O1 shows.
inline constexpr platform::OleColor kLayersBackColor = 0xC0C0C0;

// Whether a segment's ends are numbers: a day that could not be computed draws nothing.
bool Drawable(double x1, double y1, double x2, double y2);

// Verticals every 3 hours from top to bottom, and a line and a label every metre from -1 m to
// the top (fewer when labels a metre apart would run into each other); the top label is
// followed by topUnit.
void DrawDayGrid(platform::Canvas& pic, double top, double bottom, const std::string& topUnit);

// The layers view on its own scale (LayersScale: the top from the curve's highest height, the
// bottom at -2 m), which it sets and returns. For each row in turn: the curve's segment, then
// each layer that `shown` asks for, in the order M2 (blue), S2 (red), K1 (points in the
// foreground colour), O1 (yellow), f4 (green), f6 (magenta), Z0 (red points); heights that are
// not numbers draw nothing. `beforeGrid` draws on the same scale before the grid, " Metres" on
// its top line.
engine::CurveScale DrawLayersDay(platform::Canvas& pic, const engine::CurveTable& curve,
                                 const std::array<const engine::LayerTable*, 7>& layers, int curvePoints,
                                 const std::array<bool, 7>& shown,
                                 const std::function<void(platform::Canvas&)>& beforeGrid = {});
