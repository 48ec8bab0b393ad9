#pragma once
// Sun and twilight times by the almanac sunrise method (mean anomaly, true longitude, right
// ascension, declination, local hour angle), worked in radians with the method's own truncated
// constants, once for the morning events and once for the evening events.

#include <array>
#include <optional>

namespace engine {

// One event of the day: the local clock time in decimal hours, or, when the sun does not reach
// the event's zenith distance that day (polar day or night, no astronomical dusk in a northern
// June), Occurs false and Hours 0.
struct SunEvent {
    double Hours = 0;
    bool Occurs = false;
};

struct SunTimes {
    SunEvent AstroDawn, NauticalDawn, CivilDawn, Sunrise, Sunset, CivilDusk, NauticalDusk, AstroDusk;

    // The eight events in the order above.
    std::array<SunEvent, 8> Events() const {
        return {AstroDawn, NauticalDawn, CivilDawn, Sunrise, Sunset, CivilDusk, NauticalDusk, AstroDusk};
    }
};

// The eight sun times of a day in the local time of a zone (ZoneHours as a port's zone letter
// gives them: local time is universal time less ZoneHours): Latitude and Longitude in decimal
// degrees, north and east positive. AddHour adds the summer-time hour after the times have been
// brought into 0..24, so an evening time can come out above 24 (23.6 gives 24.6). Only the
// 4-year leap rule is used for the day of the year, so 2100 counts as a leap year.
SunTimes CalcSunTimes(double Latitude, double Longitude, int Day, int Month, int Year, int ZoneHours,
                      bool AddHour);

// One event in hours of universal time (0 <= h < 24) from the quantities of a pass, all in
// radians; nothing when |cos H| > 1. Evening is 1 for the evening events, anything else counts
// as morning. QuarterTurn and FullTurn are the method's 1.5708 and 6.28319; T is the day
// number of the pass.
std::optional<double> SunEventTime(double CosZenith, double Declination, double LatitudeRad,
                                   double MinusLongitudeRad, double QuarterTurn, int Evening, double FullTurn,
                                   double T, double RightAscension, double ZoneRad);

// Day of the year as the sun method counts it (4-year leap rule only).
int SunDayOfYear(int Day, int Month, int Year);

// A universal time in hours turned into local time: less the zone hours, brought into 0..24 by
// one step each way (exactly 24 stays 24), then plus one hour when AddHour.
double SunLocalTime(double UtHours, int ZoneHours, bool AddHour);

}  // namespace engine
