// tidedump angles
#include <cstdio>
#include <cstdlib>

#include "engine/astro.h"
#include "tidedump.h"

namespace tidedump {

int cmdAngles(const Args& args) {
    if (args.size() != 2) return usage("usage: tidedump angles YEAR DAY");
    char* end = nullptr;
    long year = std::strtol(args[0].c_str(), &end, 10);
    if (end == args[0].c_str() || *end) return usage("angles: YEAR must be a whole number");
    long day = std::strtol(args[1].c_str(), &end, 10);
    if (end == args[1].c_str() || *end) return usage("angles: DAY must be a whole number");
    auto r = engine::CalcAnglesAndFactors(static_cast<int>(year), static_cast<int>(day));
    std::printf("M2Angle,M2Factor,S2Angle,S2Factor,K1Angle,K1Factor,O1Angle,O1Factor\n");
    std::printf("%d,%s,%d,%s,%d,%s,%d,%s\n", r.M2Angle, num(r.M2Factor).c_str(), r.S2Angle,
                num(r.S2Factor).c_str(), r.K1Angle, num(r.K1Factor).c_str(), r.O1Angle,
                num(r.O1Factor).c_str());
    return 0;
}

}  // namespace tidedump
