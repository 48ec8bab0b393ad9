// tidedump port / jd / summer
#include <cstdio>

#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "tidedump.h"

namespace tidedump {

int cmdPort(const Args& args) {
    if (args.size() != 2) return usage("usage: tidedump port AREAFILE N");
    const auto port = wholeArg(args[1], 1, 32767);
    if (!port) return usage("port: N must be a port number from 1 to 32767");
    engine::PortRecord r;
    auto result = engine::ReadPortRecord(args[0], *port, r);
    if (!result.ok()) {
        std::fprintf(stderr, "tidedump: %s\n", result.message.c_str());
        return 1;
    }
    std::printf("field,value\n");
    std::printf("PortNo,%s\nPortName,%s\n", engine::RTrim(r.PortNo).c_str(), engine::RTrim(r.PortName).c_str());
    auto line = [](const char* name, float v) { std::printf("%s,%s\n", name, num(v).c_str()); };
    line("Latitude", r.Latitude);
    line("Longitude", r.Longitude);
    std::printf("ZoneLetter,%s\n", r.ZoneLetter.c_str());
    line("Z0", r.Z0);
    line("M2g", r.M2g);
    line("M2Hm", r.M2Hm);
    line("S2g", r.S2g);
    line("S2Hm", r.S2Hm);
    line("K1g", r.K1g);
    line("K1Hm", r.K1Hm);
    line("O1g", r.O1g);
    line("O1Hm", r.O1Hm);
    line("sf4", r.sf4);
    line("LF4", r.LF4);
    line("sf6", r.sf6);
    line("LF6", r.LF6);
    for (int m = 0; m < 12; ++m) line(("MonthDZ0" + std::to_string(m + 1)).c_str(), r.MonthDZ0[m]);
    for (int m = 0; m < 12; ++m) line(("MonthM2Hm" + std::to_string(m + 1)).c_str(), r.MonthM2Hm[m]);
    return 0;
}

int cmdJd(const Args& args) {
    int y, m, d;
    const auto clock = args.size() == 2 ? engine::ReadClockTime(args[1]) : std::nullopt;
    if (!clock || !parseIsoDate(args[0], y, m, d)) return usage("usage: tidedump jd YYYY-MM-DD HH:MM");
    std::printf("jd\n%s\n", num(engine::JulianDay(d, m, y, clock->hour, clock->minute, 0)).c_str());
    return 0;
}

int cmdSummer(const Args& args) {
    const auto year = args.size() == 1 ? wholeArg(args[0], 1, 9999) : std::nullopt;
    if (!year) return usage("usage: tidedump summer YYYY");
    auto iso = [](double date) { return engine::FormatDate(date, "yyyy-mm-dd"); };
    std::printf("start,end\n%s,%s\n", iso(engine::SummerTimeStart(static_cast<int>(*year))).c_str(),
                iso(engine::SummerTimeEnd(static_cast<int>(*year))).c_str());
    return 0;
}

}  // namespace tidedump
