// tidedump angles
#include <cstdio>

#include "engine/astro.h"
#include "tidedump.h"

namespace tidedump {

int cmdAngles(const Args& args) {
    if (args.size() != 2) return usage("usage: tidedump angles YEAR DAY");
    const auto year = wholeArg(args[0], 1, 9999);
    if (!year) return usage("angles: YEAR must be a whole number from 1 to 9999");
    const auto day = wholeArg(args[1], -32768, 32767);
    if (!day) return usage("angles: DAY must be a whole number");
    auto r = engine::CalcAnglesAndFactors(static_cast<int>(*year), static_cast<int>(*day));
    std::printf("M2Angle,M2Factor,S2Angle,S2Factor,K1Angle,K1Factor,O1Angle,O1Factor\n");
    std::printf("%d,%s,%d,%s,%d,%s,%d,%s\n", r.M2Angle, num(r.M2Factor).c_str(), r.S2Angle,
                num(r.S2Factor).c_str(), r.K1Angle, num(r.K1Factor).c_str(), r.O1Angle,
                num(r.O1Factor).c_str());
    return 0;
}

}  // namespace tidedump
