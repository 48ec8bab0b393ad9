#pragma once
// The lines that stand under every printed page: the note on derived data, the time basis,
// the attribution of the harmonic constants, the reproduction notice and the program's line.

#include <array>
#include <string>
#include <vector>

namespace platform {
class PrinterPage;
}

namespace output {

inline constexpr const char* kDerivedNote =
    "All data are derived and should therefore be considered as approximate";

// The time basis of a day's times: adjusted for summer time, or not, in the long form ("Times
// are from", where summer time is switched on) or the short ("Times from").
std::string TimesLine(bool longForm, bool adjusted);

// Where the constants come from and under which licence, what was done to them, and the
// program with the notice that keeps the attribution with every copy.
inline constexpr std::array<const char*, 3> kAttribution = {
    "Tidal constants derived from the Neaps tide database (github.com/openwatersio/tide-database), based on",
    "TICON-4: Hart-Davis, M., Dettmering, D., Seitz, F. (2025), TIdal CONstants based on GESLA-4 sea-level",
    "records, SEANOE, doi.org/10.17882/109129. Licensed CC BY 4.0 (creativecommons.org/licenses/by/4.0).",
};
inline constexpr std::array<const char*, 2> kReproduction = {
    "The constants are reduced to this program's simplified harmonic method and have not been verified by",
    "their publishers in this form. These predictions are no substitute for official tide tables.",
};
// The program and its version, a tab and the notice.
std::string PublisherLine();

// Prints each line at `left`, an empty text an empty line.
void PrintLines(platform::PrinterPage& page, double left, const std::vector<std::string>& lines);

// The attribution, `gap` empty lines, the reproduction notice, `publisherGap` empty lines and the
// program's line, each at `left`.
void PrintStandingNotes(platform::PrinterPage& page, double left, int gap, int publisherGap);

}  // namespace output
