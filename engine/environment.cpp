#include "engine/environment.h"

#include <chrono>
#include <ctime>

#include "engine/dates.h"

namespace engine {

namespace {
Environment& instance() {
    static Environment env;
    return env;
}

double systemNow() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           TimeSerial(local.tm_hour, local.tm_min, local.tm_sec);
}
}  // namespace

Environment& Env() { return instance(); }

void ResetEnvironment() { instance() = Environment{}; }

double Now() {
    const auto& clock = instance().now;
    return clock ? clock() : systemNow();
}

}  // namespace engine
