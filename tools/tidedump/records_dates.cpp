// tidedump port / jd / summer
#include <string>
#include <utility>

#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "tidedump.h"

namespace tidedump {

int cmdPort(const Args& args) {
    if (args.size() != 2) return usageOf("port");
    long n = 0;
    if (const int refused = portArg(args[0], args[1], "port", n)) return refused;
    engine::PortRecord r;
    const auto result = engine::ReadPortRecord(args[0], n, r);
    if (!result.ok()) return failed(result);
    // A record text ends at a NUL byte; trailing blanks are padding.
    auto text = [](const std::string& field) { return engine::RTrim(field.substr(0, field.find('\0'))); };
    Csv csv;
    csv.line("field", "value");
    csv.line("PortNo", text(r.PortNo));
    csv.line("PortName", text(r.PortName));
    csv.line("Latitude", r.Latitude);
    csv.line("Longitude", r.Longitude);
    csv.line("ZoneLetter", text(r.ZoneLetter));
    const std::pair<const char*, float> constants[] = {
        {"Z0", r.Z0},   {"M2g", r.M2g},   {"M2Hm", r.M2Hm}, {"S2g", r.S2g},   {"S2Hm", r.S2Hm},
        {"K1g", r.K1g}, {"K1Hm", r.K1Hm}, {"O1g", r.O1g},   {"O1Hm", r.O1Hm}, {"sf4", r.sf4},
        {"LF4", r.LF4}, {"sf6", r.sf6},   {"LF6", r.LF6},
    };
    for (const auto& [name, v] : constants) csv.line(name, v);
    for (int m = 0; m < 12; ++m) csv.line("MonthDZ0" + std::to_string(m + 1), r.MonthDZ0[m]);
    for (int m = 0; m < 12; ++m) csv.line("MonthM2Hm" + std::to_string(m + 1), r.MonthM2Hm[m]);
    return csv.print();
}

int cmdJd(const Args& args) {
    if (args.size() != 2) return usageOf("jd");
    const auto date = dateArg(args[0]);
    const auto clock = engine::ReadClockTime(args[1]);
    if (!date) return usage("jd: YYYY-MM-DD must be a calendar day of the years " + computedYears());
    if (!clock) return usage("jd: HH:MM must be a clock time from 00:00 to 23:59");
    Csv csv;
    csv.line("jd");
    csv.line(engine::JulianDay(date->day, date->month, date->year, clock->hour, clock->minute, 0));
    return csv.print();
}

int cmdSummer(const Args& args) {
    if (args.size() != 1) return usageOf("summer");
    const auto year = yearArg(args[0]);
    if (!year) return usage("summer: YYYY must be a year from " + computedYears());
    auto iso = [](double date) { return engine::FormatDate(date, "yyyy-mm-dd"); };
    Csv csv;
    csv.line("start", "end");
    csv.line(iso(engine::SummerTimeStart(*year)), iso(engine::SummerTimeEnd(*year)));
    return csv.print();
}

}  // namespace tidedump
