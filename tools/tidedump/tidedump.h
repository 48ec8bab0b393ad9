#pragma once
// tidedump: prints the engine's results as CSV for comparison with other tools.

#include <optional>
#include <string>
#include <vector>

#include "engine/dates.h"

namespace tidedump {

using Args = std::vector<std::string>;

// Number text with 17 significant digits and ".", so results compare to the last bit.
std::string num(double v);
// "YYYY-MM-DD" into its parts; false when malformed or not a calendar day.
bool parseIsoDate(const std::string& text, int& year, int& month, int& day);
// A whole-number argument from lo to hi.
std::optional<long> wholeArg(const std::string& text, long lo, long hi);
// A number argument ("." as decimal point) from lo to hi.
std::optional<double> numberArg(const std::string& text, double lo, double hi);
// The value of a "--name VALUE" option, or fallback.
std::string option(const Args& args, const std::string& name, const std::string& fallback);
bool flag(const Args& args, const std::string& name);
int usage(const std::string& message);

int cmdPort(const Args& args);
int cmdJd(const Args& args);
int cmdSummer(const Args& args);
int cmdAngles(const Args& args);
int cmdSun(const Args& args);
int cmdMoon(const Args& args);
int cmdDay(const Args& args);
int cmdMinutes(const Args& args);

}  // namespace tidedump
