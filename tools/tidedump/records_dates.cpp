// tidedump port / jd / summer
#include <cstdio>
#include <cstdlib>

#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "tidedump.h"

namespace tidedump {

int cmdPort(const Args& args) {
    if (args.size() != 2) return usage("usage: tidedump port AREAFILE N");
    engine::PortRecord r;
    auto result = engine::ReadPortRecord(args[0], std::atol(args[1].c_str()), r);
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
    int y, m, d, hh = 0, mm = 0;
    if (args.size() != 2 || !parseIsoDate(args[0], y, m, d) || std::sscanf(args[1].c_str(), "%d:%d", &hh, &mm) != 2)
        return usage("usage: tidedump jd YYYY-MM-DD HH:MM");
    std::printf("jd\n%s\n", num(engine::JulianDay(d, m, y, hh, mm, 0)).c_str());
    return 0;
}

int cmdSummer(const Args& args) {
    if (args.size() != 1) return usage("usage: tidedump summer YYYY");
    int year = std::atoi(args[0].c_str());
    auto iso = [](double date) {
        auto p = engine::SplitDate(date);
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
        return std::string(buf);
    };
    std::printf("start,end\n%s,%s\n", iso(engine::SummerTimeStart(year)).c_str(),
                iso(engine::SummerTimeEnd(year)).c_str());
    return 0;
}

}  // namespace tidedump
