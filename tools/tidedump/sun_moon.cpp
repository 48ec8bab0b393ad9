// tidedump sun / moon
#include <cstdio>

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
    const auto lat = numberArg(args[0], -90, 90);
    const auto lon = numberArg(args[1], -180, 180);
    const auto zone = wholeArg(args[3], -12, 12);
    if (!lat || !lon) return usage("sun: LAT must be -90 to 90 and LON -180 to 180 degrees");
    if (!zone) return usage("sun: ZONEHOURS must be a whole number from -12 to 12");
    engine::State().PortZoneHours = static_cast<int>(*zone);
    const auto times = engine::CalcSunTimes(*lat, *lon, d, m, y, summer);
    static const char* const names[8] = {"AstroDawn", "NauticalDawn", "CivilDawn",    "Sunrise",
                                         "Sunset",    "CivilDusk",    "NauticalDusk", "AstroDusk"};
    const auto events = times.Events();
    std::printf("event,hours,occurs\n");
    for (int i = 0; i < 8; ++i)
        std::printf("%s,%s,%d\n", names[i], num(events[i].Hours).c_str(), events[i].Occurs ? 1 : 0);
    return 0;
}

int cmdMoon(const Args& args) {
    const auto year = args.size() == 2 ? wholeArg(args[0], 1, 9999) : std::nullopt;
    const auto month = args.size() == 2 ? wholeArg(args[1], 1, 12) : std::nullopt;
    if (!year || !month) return usage("usage: tidedump moon YYYY MM");
    auto& s = engine::State();
    s.SelectedYear = static_cast<int>(*year);
    s.SelectedMonth = static_cast<int>(*month);
    engine::CalcMoonPhases();
    const auto phases = engine::MoonPhasesOfMonth(s.SelectedYear, s.SelectedMonth);
    std::printf("jd,line\n");
    for (int i = 1; i <= s.MoonPhaseCount; ++i)
        std::printf("%s,\"%s\"\n", num(phases[i - 1].JD).c_str(), s.MoonPhaseList[i].c_str());
    return 0;
}

}  // namespace tidedump
