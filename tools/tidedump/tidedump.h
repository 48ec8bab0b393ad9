#pragma once
// tidedump: prints the engine's results as CSV for comparison with other tools.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dates.h"
#include "engine/recordfile.h"

namespace tidedump {

using Args = std::vector<std::string>;

// Number text with 17 significant digits and ".", so results compare to the last bit.
std::string num(double v);
// A text as one CSV field: quoted, with quotes doubled, when it holds a comma, a quote or a line
// break, or begins or ends with a blank (which a reader could trim); as it is otherwise.
std::string csvField(std::string_view text);

// CSV lines kept until the whole result is known: a result holding a number that is not finite
// is refused as a whole instead of printed.
class Csv {
public:
    Csv& field(std::string_view text);
    Csv& field(double v);
    Csv& field(int v);
    Csv& end();
    template <typename... Fields>
    Csv& line(const Fields&... fields) {
        (field(fields), ...);
        return end();
    }
    // Prints the lines and returns 0; after a number that is not finite prints nothing, says so
    // on stderr and returns 1.
    int print() const;

private:
    void separate();
    std::string out_;
    bool lineStarted_ = false;
    bool finite_ = true;
};

// A whole-number argument from lo to hi.
std::optional<long> wholeArg(const std::string& text, long lo, long hi);
// A number argument ("." as decimal point) from lo to hi.
std::optional<double> numberArg(const std::string& text, double lo, double hi);
// A year the engine computes (engine::YearIsComputable).
std::optional<int> yearArg(const std::string& text);
// "YYYY-MM-DD": a calendar day of a year the engine computes.
std::optional<engine::DateParts> dateArg(const std::string& text);
// The computed years as text, for messages: "1000 to 3000".
std::string computedYears();
// N, a port of the area file: from 1 to the file's port count. Otherwise says why on stderr and
// returns the exit status: 1 when the file cannot be read, 2 for N.
int portArg(const std::string& areaPath, const std::string& text, const std::string& command, long& port);
// The value of a "--name VALUE" option, or fallback.
std::string option(const Args& args, const std::string& name, const std::string& fallback);
bool flag(const Args& args, const std::string& name);
// "tidedump: message" on stderr; returns 2, the status of bad arguments.
int usage(const std::string& message);
// The usage line of a command; returns 2.
int usageOf(const std::string& command);
// The reader's or the engine's message on stderr; returns 1.
int failed(const engine::FileResult& result);

int cmdPort(const Args& args);
int cmdJd(const Args& args);
int cmdSummer(const Args& args);
int cmdAngles(const Args& args);
int cmdSun(const Args& args);
int cmdMoon(const Args& args);
int cmdDay(const Args& args);
int cmdMinutes(const Args& args);

}  // namespace tidedump
