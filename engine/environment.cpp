#include "engine/environment.h"

#include <cmath>
#include <ctime>

#include "engine/dates.h"

namespace engine {

namespace {
Environment& instance() {
    static Environment env;
    return env;
}

double asDateValue(const std::tm& t) {
    return DateSerial(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) + TimeSerial(t.tm_hour, t.tm_min, t.tm_sec);
}

double systemUtcNow() {
    std::time_t t = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&t, &utc);
    return asDateValue(utc);
}

// The C library's zone: the offset of the local time at that instant.
double systemOffsetHours(double utc) {
    const double seconds = std::round((utc - DateSerial(1970, 1, 1)) * 86400.0);
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    return static_cast<double>(local.tm_gmtoff) / 3600.0;
}
}  // namespace

Environment& Env() { return instance(); }

void ResetEnvironment() { instance() = Environment{}; }

double UtcNow() {
    const auto& clock = instance().utcNow;
    return clock ? clock() : systemUtcNow();
}

double LocalTimeOf(double utc) {
    const auto& offset = instance().localOffsetHours;
    return utc + (offset ? offset(utc) : systemOffsetHours(utc)) / 24.0;
}

double Now() { return LocalTimeOf(UtcNow()); }

}  // namespace engine
