#pragma once
// The printed pages of the displayed day: the curve page and the table of heights every
// 10 minutes. Both read the day from the shared state and the captions the main window shows.

#include <string>

namespace platform {
class PrinterPage;
}

namespace output {

struct DayCaptions {
    std::string port;       // "Port    : " and the name
    std::string date;       // the date line
    std::string dayList;    // the high and low waters, as the day list shows them
    bool adjusted = false;  // the day's times are adjusted for summer time
};

// The metre scale of the curve page: heights are raised by `shift` whole metres so that the
// lowest lies on or above the base line; the box spans `top` metres of raised height; lines and
// labels stand every `step` metres of true height, tenth ticks only when they lie apart.
struct CurvePageScale {
    int shift = 0;
    int top = 1;
    int step = 1;
    bool tenths = true;
};
// `boxHeight` and `labelHeight` in the same units (twips), `tenthSpacing` the least distance
// between tenth ticks.
CurvePageScale CurvePageScaleFor(double highest, double lowest, double boxHeight, double labelHeight,
                                 double tenthSpacing);

// The curve page; leaves the day's heights in OutputCurve. The document is not ended.
void PrintTideCurve(platform::PrinterPage& page, const DayCaptions& captions);
// The heights every 10 minutes in four columns; refills OutputCurve from the day first.
void PrintHourlyTable(platform::PrinterPage& page, const DayCaptions& captions);

}  // namespace output
