// tidedump sun / moon
#include <cstdio>
#include <cstdlib>

#include "engine/moon.h"
#include "engine/state.h"
#include "engine/sun.h"
#include "tidedump.h"

namespace tidedump {

int cmdSun(const Args& args) {
    int y, m, d;
    bool summer = flag(args, "--summer");
    size_t positional = args.size() - (summer ? 1 : 0);
    if (positional != 4 || !parseIsoDate(args[2], y, m, d))
        return usage("usage: tidedump sun LAT LON YYYY-MM-DD ZONEHOURS [--summer]");
    double lat = std::atof(args[0].c_str());
    double lon = std::atof(args[1].c_str());
    engine::State().PortZoneHours = std::atoi(args[3].c_str());
    const auto times = engine::CalcSunTimes(lat, lon, d, m, y, summer);
    static const char* const names[8] = {"AstroDawn", "NauticalDawn", "CivilDawn",    "Sunrise",
                                         "Sunset",    "CivilDusk",    "NauticalDusk", "AstroDusk"};
    const auto events = times.Events();
    std::printf("event,hours,occurs\n");
    for (int i = 0; i < 8; ++i)
        std::printf("%s,%s,%d\n", names[i], num(events[i].Hours).c_str(), events[i].Occurs ? 1 : 0);
    return 0;
}

int cmdMoon(const Args& args) {
    if (args.size() != 2) return usage("usage: tidedump moon YYYY MM");
    auto& s = engine::State();
    s.SelectedYear = std::atoi(args[0].c_str());
    s.SelectedMonth = std::atoi(args[1].c_str());
    engine::CalcMoonPhases();
    const auto phases = engine::MoonPhasesOfMonth(s.SelectedYear, s.SelectedMonth);
    std::printf("jd,line\n");
    for (int i = 1; i <= s.MoonPhaseCount; ++i)
        std::printf("%s,\"%s\"\n", num(phases[i - 1].JD).c_str(), s.MoonPhaseList[i].c_str());
    return 0;
}

}  // namespace tidedump
