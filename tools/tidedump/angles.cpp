// tidedump angles
#include "engine/astro.h"
#include "tidedump.h"

namespace tidedump {

int cmdAngles(const Args& args) {
    if (args.size() != 2) return usageOf("angles");
    const auto year = yearArg(args[0]);
    if (!year) return usage("angles: YEAR must be a year from " + computedYears());
    const auto day = wholeArg(args[1], -32768, 32767);
    if (!day) return usage("angles: DAY must be a whole number from -32768 to 32767");
    const auto r = engine::CalcAnglesAndFactors(*year, static_cast<int>(*day));
    Csv csv;
    csv.line("M2Angle", "M2Factor", "S2Angle", "S2Factor", "K1Angle", "K1Factor", "O1Angle", "O1Factor");
    csv.line(r.M2Angle, r.M2Factor, r.S2Angle, r.S2Factor, r.K1Angle, r.K1Factor, r.O1Angle, r.O1Factor);
    return csv.print();
}

}  // namespace tidedump
