// tidedump angles
#include "tidedump.h"

namespace tidedump {

int cmdAngles(const Args&) { return usage("angles: not available yet"); }

}  // namespace tidedump
