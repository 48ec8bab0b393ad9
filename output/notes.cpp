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

void PrintLines(platform::PrinterPage& page, double left, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        page.CurrentX = left;
        page.Print(line);
    }
}

void PrintStandingNotes(platform::PrinterPage& page, double left, int gap, int publisherGap) {
    std::vector<std::string> lines(kAttribution.begin(), kAttribution.end());
    lines.insert(lines.end(), gap, "");
    lines.insert(lines.end(), kReproduction.begin(), kReproduction.end());
    lines.insert(lines.end(), publisherGap, "");
    lines.push_back(PublisherLine());
    PrintLines(page, left, lines);
}

}  // namespace output
