#include <cstdio>
#include <map>

#include "engine/numtext.h"
#include "tidedump.h"

namespace tidedump {

std::string num(double v) {
    return engine::ExactText(v);
}

bool parseIsoDate(const std::string& text, int& year, int& month, int& day) {
    const auto date = engine::ReadIsoDate(text);
    if (!date) return false;
    year = date->year;
    month = date->month;
    day = date->day;
    return true;
}

std::optional<long> wholeArg(const std::string& text, long lo, long hi) {
    const auto v = engine::ReadWholeNumber(text);
    if (!v || *v < lo || *v > hi) return std::nullopt;
    return v;
}

std::optional<double> numberArg(const std::string& text, double lo, double hi) {
    const auto v = engine::ReadNumber(text);
    if (!v || *v < lo || *v > hi) return std::nullopt;
    return v;
}

std::string option(const Args& args, const std::string& name, const std::string& fallback) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == name) return args[i + 1];
    return fallback;
}

bool flag(const Args& args, const std::string& name) {
    for (const auto& a : args)
        if (a == name) return true;
    return false;
}

int usage(const std::string& message) {
    std::fprintf(stderr, "tidedump: %s\n", message.c_str());
    return 2;
}

}  // namespace tidedump

int main(int argc, char** argv) {
    using namespace tidedump;
    const std::map<std::string, int (*)(const Args&)> commands = {
        {"angles", cmdAngles},
        {"port", cmdPort},
        {"jd", cmdJd},
        {"summer", cmdSummer},
        {"sun", cmdSun},
        {"moon", cmdMoon},
        {"day", cmdDay},
        {"minutes", cmdMinutes},
    };
    if (argc < 2 || !commands.count(argv[1])) {
        std::string names;
        for (const auto& [name, fn] : commands) names += " " + name;
        return usage("usage: tidedump COMMAND ARGS... (commands:" + names + ")");
    }
    Args args(argv + 2, argv + argc);
    return commands.at(argv[1])(args);
}
