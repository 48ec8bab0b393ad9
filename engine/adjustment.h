#pragma once
// What the harmonic adjustment window computes besides its sites' curves: the intermediate
// location's starting constants, its day steps, its read-out of contributions, and the shared
// inputs that its computations set, given back to the main window afterwards.

#include <array>
#include <string>
#include <string_view>

#include "engine/records.h"
#include "engine/state.h"
#include "engine/tables.h"

namespace engine {

// The mean of two constants, in single precision.
float MeanConstant(float a, float b);
// The mean of two phases in degrees, the short way round: d = b - a brought into -180 to 180,
// a + d / 2 brought into 0 <= mean < 360 (350 and 10 give 0; phases within 0 to 360 and at
// most 180 apart keep their plain mean).
float MeanPhase(float a, float b);
// The thirteen constants of a location halfway between two ports, in record order
// (kPortConstants): the phases by MeanPhase, the others by MeanConstant.
std::array<float, 13> MeanConstants(const PortRecord& a, const PortRecord& b);
// The intermediate location as a port record: its name and constants in record order, its
// time-zone letter, M2Hm in every month and no monthly Z0 corrections; no port number or
// position, so that those fields hold zero bytes.
PortRecord LocationRecord(const std::string& name, const std::array<float, 13>& constants,
                          const std::string& zoneLetter);
// The time zone a location between two ports is stored with, from the ports' letters as
// ZoneHours reads them: their zone when they share one, otherwise Port 1's. A port that was not
// read (an empty letter) does not count.
struct LocationZone {
    std::string Letter;  // a capital letter, "L" for 0 hours
    bool Shared = true;
};
LocationZone LocationZoneOf(const std::string& port1Letter, const std::string& port2Letter);
// Whether constant i of kPortConstants is a phase.
bool IsPhaseConstant(size_t i);

// A day of a year, 1 = 1 January.
struct YearDay {
    int Year = 0;
    int DayOfYear = 0;
    bool operator==(const YearDay&) const = default;
};
// One day later (step 1) or earlier (step -1), across the ends of the year.
YearDay StepYearDay(YearDay day, int step);

// The time of an "hh:mm" text in decimal hours: the numbers before and after the ":".
double ClockTextHours(std::string_view hhmm);

// The row of the sites' tables nearest to a time of day: hours × 6, halves to even, plus 1
// (00:00 is row 1, 12:00 row 73, 00:25 row 3).
int ReadoutRow(double hours);

// What each term adds to a site's height at one row of its layers: the mean level standing for
// the Z0 layer, the six constituents in the order M2, S2, K1, O1, f4, f6, and their total.
struct Contributions {
    double Mean = 0;
    std::array<double, 6> Terms{};
    double Total = 0;
};
Contributions ContributionsAt(const LayerSet& layers, double mean, int row);

// The shared inputs of a day's computation and drawing, as they stand when it is made; all of
// them are given back when it ends, on every way out. The adjustment window computes its sites
// inside one, so that the main window finds its own port, day and tables again.
class SavedDayInputs {
public:
    SavedDayInputs();
    ~SavedDayInputs();
    SavedDayInputs(const SavedDayInputs&) = delete;
    SavedDayInputs& operator=(const SavedDayInputs&) = delete;

private:
    struct Inputs {
        int16_t CurrentPort;
        std::string PortName;
        int SelectedYear, SelectedMonth, SelectedDay, SelectedDayOfYear;
        double TimeNowHours;
        CurveTable DayCurve;
        std::array<LayerTable, 7> DayLayers;
        double DayMeanLevel;
        int CurvePoints;
        EventTable DayEvents;
        float UserDepth;
        double ScaleTop, ScaleBottom;
        float Draught, KeelClearance, OutputOption;
        std::string AreaFilePath, DepthFileName, DepthFilePath;
    };
    // Calls f(state field, saved field) for each input.
    template <typename F>
    static void each(SharedState& s, Inputs& in, F f);
    Inputs saved_{};
};

}  // namespace engine
