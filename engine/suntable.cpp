#include "engine/suntable.h"

#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/moon.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/sun.h"
#include "engine/timetext.h"

namespace engine {

void ClearSunTable() {
    SharedState& s = State();
    for (int d = 1; d <= 31; ++d)
        for (int col = 1; col <= 8; ++col) {
            s.SunTable(col, d).clear();
            s.SunValues(col, d) = 0;
        }
    s.SunTableYear = s.SunTableMonth = 0;
}

std::string SunDateText(int Year, int Month, int Day) {
    return Str(Day) + FormatDate(DateSerial(Year, Month, Day), "mmm") + " " + Str(Year);
}

void ComputeSunTable(double Latitude, double Longitude, int Year, int Month, bool ApplySummer) {
    SharedState& s = State();
    ClearSunTable();
    const int days = DaysInMonth(Year, Month);
    for (int d = 1; d <= days; ++d) {
        const bool summer = ApplySummer && IsSummerTime(DateSerial(Year, Month, d));
        const SunTimes t = CalcSunTimes(Latitude, Longitude, d, Month, Year, s.PortZoneHours, summer);
        const SunEvent kept[6] = {t.NauticalDawn, t.CivilDawn, t.Sunrise,
                                  t.Sunset,       t.CivilDusk, t.NauticalDusk};
        s.SunTable(1, d) = SunDateText(Year, Month, d);
        s.SunValues(1, d) = d;
        for (int i = 0; i < 6; ++i) {
            s.SunValues(i + 2, d) = kept[i].Occurs ? kept[i].Hours : 0;
            s.SunTable(i + 2, d) = kept[i].Occurs ? HoursToHHMM(kept[i].Hours) : kNoSunEvent;
        }
    }
    s.SunTableYear = Year;
    s.SunTableMonth = Month;
    FillMoonPhases(Year, Month);
}

bool SunEventOccurs(int Col, int Day) { return State().SunTable(Col, Day) != kNoSunEvent; }

int SunTableDays() {
    const SharedState& s = State();
    if (s.SunTableMonth < 1 || s.SunTableMonth > 12 || s.SunTable(1, 1).empty()) return 0;
    return DaysInMonth(s.SunTableYear, s.SunTableMonth);
}

}  // namespace engine
