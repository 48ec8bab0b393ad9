// tidedump: the commands, and the argument checks and CSV output they share.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "engine/astro.h"
#include "engine/numtext.h"
#include "tidedump.h"

namespace tidedump {

namespace {

struct Command {
    const char* name;
    int (*run)(const Args&);
    const char* arguments;
};

const Command kCommands[] = {
    {"angles", cmdAngles, "YEAR DAY"},
    {"day", cmdDay, "AREAFILE N YYYY-MM-DD [--summer] [--option 1..3] [--depth METRES]"},
    {"jd", cmdJd, "YYYY-MM-DD HH:MM"},
    {"minutes", cmdMinutes, "AREAFILE N YYYY-MM-DD"},
    {"moon", cmdMoon, "YYYY MM"},
    {"port", cmdPort, "AREAFILE N"},
    {"summer", cmdSummer, "YYYY"},
    {"sun", cmdSun, "LAT LON YYYY-MM-DD ZONEHOURS [--summer]"},
};

const Command* findCommand(const std::string& name) {
    for (const auto& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

// Area files number their ports with 16 bits.
constexpr long kMaxPort = 32767;

}  // namespace

std::string num(double v) { return engine::ExactText(v); }

std::string csvField(std::string_view text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

void Csv::separate() {
    if (lineStarted_) out_ += ',';
    lineStarted_ = true;
}

Csv& Csv::field(std::string_view text) {
    separate();
    out_ += csvField(text);
    return *this;
}

Csv& Csv::field(double v) {
    separate();
    if (!std::isfinite(v)) finite_ = false;
    out_ += num(v);
    return *this;
}

Csv& Csv::field(int v) {
    separate();
    out_ += std::to_string(v);
    return *this;
}

Csv& Csv::end() {
    out_ += '\n';
    lineStarted_ = false;
    return *this;
}

int Csv::print() const {
    if (!finite_) {
        std::fprintf(stderr, "tidedump: the result holds a number that is not finite; nothing is printed\n");
        return 1;
    }
    std::fwrite(out_.data(), 1, out_.size(), stdout);
    return 0;
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

std::optional<int> yearArg(const std::string& text) {
    const auto v = engine::ReadWholeNumber(text);
    if (!v || !engine::YearIsComputable(*v)) return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<engine::DateParts> dateArg(const std::string& text) {
    const auto date = engine::ReadIsoDate(text);
    if (!date || !engine::YearIsComputable(date->year)) return std::nullopt;
    return date;
}

std::string computedYears() {
    return std::to_string(engine::kFirstComputedYear) + " to " + std::to_string(engine::kLastComputedYear);
}

int portArg(const std::string& areaPath, const std::string& text, const std::string& command, long& port) {
    const long count = std::min(engine::PortCount(areaPath), kMaxPort);
    if (count < 1) {
        // Missing, unreadable or shorter than one record: the reader says which.
        engine::PortRecord r;
        const auto result = engine::ReadPortRecord(areaPath, 1, r);
        if (!result.ok()) return failed(result);
    }
    const auto n = wholeArg(text, 1, count);
    if (!n)
        return usage(command + ": N must be a port number from 1 to " + std::to_string(count) +
                     " (the ports of " + std::filesystem::path(areaPath).filename().string() + ")");
    port = *n;
    return 0;
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

int usageOf(const std::string& command) {
    const Command* c = findCommand(command);
    return usage("usage: tidedump " + command + " " + (c ? c->arguments : "..."));
}

int failed(const engine::FileResult& result) {
    std::fprintf(stderr, "tidedump: %s\n", result.message.c_str());
    return 1;
}

}  // namespace tidedump

int main(int argc, char** argv) {
    using namespace tidedump;
    const Command* command = argc < 2 ? nullptr : findCommand(argv[1]);
    if (!command) {
        std::string text = "usage: tidedump COMMAND ARGS...\n";
        for (const auto& c : kCommands) text += std::string("  ") + c.name + " " + c.arguments + "\n";
        text += "Years run from " + computedYears() +
                ", N from 1 to the area file's port count. Exit status 1: a file cannot be read or a record "
                "is damaged; 2: bad arguments.";
        return usage(text);
    }
    return command->run(Args(argv + 2, argv + argc));
}
