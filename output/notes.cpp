#include "output/notes.h"

#include "platform/app.h"
#include "platform/printerpage.h"

namespace output {

std::string TimesLine(bool longForm, bool adjusted) {
    if (adjusted) return "Times are from midnight local time - ADJUSTED FOR SUMMER TIME";
    return longForm ? "Times are from midnight local time - WITHOUT SUMMER TIME CORRECTION"
                    : "Times from midnight local time - WITHOUT SUMMER TIME CORRECTION";
}

std::string PublisherLine() {
    return std::string(platform::kProgramCaption) + platform::kVersionText +
           "\tCopies of this page must keep the attribution of the tidal constants above.";
}

void PrintLines(platform::PrinterPage& page, double left, std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) {
        page.CurrentX = left;
        page.Print(line);
    }
}

void PrintStandingNotes(platform::PrinterPage& page, double left, int gap, int publisherGap) {
    for (const char* line : kAttribution) PrintLines(page, left, {line});
    for (int k = 0; k < gap; ++k) PrintLines(page, left, {""});
    for (const char* line : kReproduction) PrintLines(page, left, {line});
    for (int k = 0; k < publisherGap; ++k) PrintLines(page, left, {""});
    PrintLines(page, left, {PublisherLine()});
}

}  // namespace output
