// tidedump sun / moon
#include "engine/moon.h"
#include "engine/state.h"
#include "engine/sun.h"
#include "tidedump.h"

namespace tidedump {

int cmdSun(const Args& args) {
    const bool summer = flag(args, "--summer");
    const size_t positional = args.size() - (summer ? 1 : 0);
    if (positional != 4) return usageOf("sun");
    const auto date = dateArg(args[2]);
    const auto lat = numberArg(args[0], -90, 90);
    const auto lon = numberArg(args[1], -180, 180);
    const auto zone = wholeArg(args[3], -12, 12);
    if (!date) return usage("sun: YYYY-MM-DD must be a calendar day of the years " + computedYears());
    if (!lat || !lon) return usage("sun: LAT must be -90 to 90 and LON -180 to 180 degrees");
    if (!zone) return usage("sun: ZONEHOURS must be a whole number from -12 to 12");
    const auto times =
        engine::CalcSunTimes(*lat, *lon, date->day, date->month, date->year, static_cast<int>(*zone), summer);
    static const char* const names[8] = {"AstroDawn", "NauticalDawn", "CivilDawn",    "Sunrise",
                                         "Sunset",    "CivilDusk",    "NauticalDusk", "AstroDusk"};
    const auto events = times.Events();
    Csv csv;
    csv.line("event", "hours", "occurs");
    for (int i = 0; i < 8; ++i) csv.line(names[i], events[i].Hours, events[i].Occurs ? 1 : 0);
    return csv.print();
}

int cmdMoon(const Args& args) {
    if (args.size() != 2) return usageOf("moon");
    const auto year = yearArg(args[0]);
    const auto month = wholeArg(args[1], 1, 12);
    if (!year) return usage("moon: YYYY must be a year from " + computedYears());
    if (!month) return usage("moon: MM must be a month from 1 to 12");
    auto& s = engine::State();
    s.SelectedYear = *year;
    s.SelectedMonth = static_cast<int>(*month);
    engine::CalcMoonPhases();
    const auto phases = engine::MoonPhasesOfMonth(s.SelectedYear, s.SelectedMonth);
    Csv csv;
    csv.line("jd", "line");
    for (int i = 1; i <= s.MoonPhaseCount; ++i) csv.line(phases[i - 1].JD, s.MoonPhaseList[i]);
    return csv.print();
}

}  // namespace tidedump
