#pragma once
// Moon phases: four consecutive phases (new moon, first quarter, full moon, last quarter) from
// the lunation nearest the middle of a month, by the classical mean-phase series with periodic
// corrections (lunation number k counted from 1900). Dates are those of the Julian Ephemeris
// Day of each phase; no time-zone correction is applied.

#include <array>
#include <string>

namespace engine {

struct MoonPhase {
    double k = 0;   // lunation number; its fraction tells the phase
    double JD = 0;  // Julian Ephemeris Day of the phase
    int Day = 0, Month = 0, Year = 0;
    std::string Line;  // "   dd Mon yyyy       NAME"
};

// The four phases for a year and month, in date order. A month outside 1 to 12 starts from
// the lunation nearest the start of the year.
std::array<MoonPhase, 4> MoonPhasesOfMonth(int year, int month);

// Fills MoonPhaseList (places 1 to 4, places 1 to 10 cleared), MoonPhaseCount (4) and
// MoonPhaseText ("    " CR, then each line and CR) for a year and month. Each line carries the
// date of its own phase, so a phase early in the next month is labelled with that month; the
// lines are in date order.
void FillMoonPhases(int year, int month);
// The same for SelectedYear and SelectedMonth.
void CalcMoonPhases();

void SwapStrings(std::string& A, std::string& B);

}  // namespace engine
