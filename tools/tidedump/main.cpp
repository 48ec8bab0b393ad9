#include <cstdio>
#include <cstdlib>
#include <map>

#include "tidedump.h"

namespace tidedump {

std::string num(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

bool parseIsoDate(const std::string& text, int& year, int& month, int& day) {
    return std::sscanf(text.c_str(), "%d-%d-%d", &year, &month, &day) == 3 && month >= 1 && month <= 12 &&
           day >= 1 && day <= 31;
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
