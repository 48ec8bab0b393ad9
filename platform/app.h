#pragma once
// The program's run: handler dispatch, ending the program, and the environment the engine is
// given (locale facts, clock, folders).

#include <functional>
#include <string>

namespace platform {

// The program's caption, the default title of message boxes.
inline constexpr const char* kProgramCaption = "Tidewyn Vizoz";
inline constexpr const char* kVersionText = "   (v9.5.0)";

// Thrown by EndProgram to stop the running handler; caught by Run.
struct EndProgramRequest {};

// Ends the program at once: the running handler stops, every event loop returns, no window's
// unload handler runs. Also works before the event loop has started.
[[noreturn]] void EndProgram();
bool ProgramEnding();
void ResetProgramEnding();  // for tests

// Runs one event handler. EndProgram stops it and ends the program; any other exception is
// shown to the user in a message box, so no exception leaves a handler.
void Run(const std::function<void()>& handler) noexcept;

// Wraps a handler for a signal connection.
template <typename F>
auto Handler(F f) {
    return [f](auto&&...) { Run(f); };
}

// Some of the libraries under the windows (drawing, fonts) leave the upper halves of the
// processor's vector registers in use, and until something clears them the engine's arithmetic
// runs about ten times slower. Clears them; Run does so before every handler.
void ClearVectorUpperHalves();

// Fills the engine's environment from the desktop: the system locale's facts, the clock, the
// documents, local application-data and program folders (the home folder when one cannot be
// found).
void InitEnvironment();

// The offset from UTC in hours, at a UTC instant (a date value), of a named time zone
// ("Europe/London"), or of the computer's own zone for "".
std::function<double(double)> ZoneOffsetHours(const std::string& zoneId);

// Locale facts of a named Qt locale ("en_GB", "de_DE", "C"); used by InitEnvironment and tests.
void UseLocale(const std::string& name);

}  // namespace platform
