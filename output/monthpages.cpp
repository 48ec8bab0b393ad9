#include "output/monthpages.h"

#include <algorithm>
#include <cmath>

#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/suntable.h"
#include "output/notes.h"
#include "platform/app.h"
#include "platform/printerpage.h"

using namespace engine;

namespace output {

namespace {

// Each chunk of `size` lines a column, five columns a sheet; the last column as long as its lines.
std::vector<MonthSheet> inColumns(const std::vector<PrintedLine>& lines, size_t size) {
    std::vector<MonthSheet> sheets;
    for (size_t first = 0; first < lines.size(); first += size) {
        if (sheets.empty() || sheets.back().columns.size() == kSheetColumns) sheets.emplace_back();
        const auto begin = lines.begin() + static_cast<std::ptrdiff_t>(first);
        sheets.back().columns.emplace_back(
            begin, begin + static_cast<std::ptrdiff_t>(std::min(size, lines.size() - first)));
    }
    return sheets;
}

std::string yearLine(const SharedState& s, int year) {
    const std::string line = "Year : " + std::to_string(year);
    if (s.OutputOption == 1.0f) return line + " - Heights to Chart Datum";
    if (s.UserDepth != 0)
        return line + " - Heights include user charted depth of " + CStrSingle(s.UserDepth) + " Metres";
    return line;
}

void printColumns(platform::PrinterPage& page, const MonthSheet& sheet, double pageWidth) {
    const double top = page.CurrentY;
    double bottom = top;
    for (size_t c = 0; c < sheet.columns.size(); ++c) {
        page.CurrentY = top;
        for (const PrintedLine& line : sheet.columns[c]) {
            page.SetFontBold(line.bold);
            page.CurrentX = static_cast<double>(c + 1) * pageWidth / 7;
            page.Print(line.text);
        }
        bottom = std::max(bottom, page.CurrentY);
    }
    page.SetFontBold(false);
    page.CurrentY = bottom;  // the notes under the longest column
}

constexpr const char* kSunNotice = "Sun, twilight and moon times computed for the position above.";

}  // namespace

MonthLayout LayOutMonth(const std::vector<std::string>& lines, int firstWeekday) {
    // Each day from its empty line: its day line and its events.
    std::vector<std::vector<std::string>> days;
    for (const std::string& line : lines) {
        const bool empty = Trim(line).empty();
        if (empty || days.empty()) days.emplace_back();
        if (!empty) days.back().push_back(line);
    }
    MonthLayout layout;
    for (size_t k = 0; k < days.size(); ++k) {
        const bool last = k + 1 == days.size();
        if (last ? days[k].size() > kBlockLines : days[k].size() + 1 >= 7) layout.listing = true;
    }

    std::vector<PrintedLine> printed;
    if (layout.listing) {
        for (size_t i = 0; i < lines.size(); ++i)
            printed.push_back({lines[i], i == 0 || Trim(lines[i - 1]).empty()});
        layout.sheets = inColumns(printed, kListingColumnLines);
        return layout;
    }
    // Blocks from Monday: the week's days before the first are empty blocks.
    const int leading = firstWeekday >= 1 && firstWeekday <= 7 ? firstWeekday - 1 : 0;
    printed.resize(static_cast<size_t>(leading * kBlockLines));
    for (const auto& day : days)
        for (size_t i = 0; i < kBlockLines; ++i) printed.push_back({i < day.size() ? day[i] : "", false});
    const size_t column = 7 * kBlockLines;
    printed.resize((printed.size() + column - 1) / column * column);
    for (size_t i = 0; i < printed.size(); i += kBlockLines) printed[i].bold = true;
    layout.sheets = inColumns(printed, column);
    return layout;
}

std::vector<std::string> MonthTimesLines(int year, int month, bool summerSetting, bool longForm) {
    const MonthBasis basis = MonthTimeBasis(year, month, summerSetting);
    std::vector<std::string> lines = {TimesLine(longForm, basis.FirstDayAdjusted)};
    if (basis.ChangeDay != 0)
        lines.push_back(ChangeDayLead(year, month, basis.ChangeDay) + (basis.FirstDayAdjusted
                                                                           ? "WITHOUT SUMMER TIME CORRECTION"
                                                                           : "ADJUSTED FOR SUMMER TIME"));
    return lines;
}

void PrintMonthTable(platform::PrinterPage& page, const std::vector<std::string>& lines, int year,
                     int month) {
    const SharedState& s = State();
    const int firstWeekday = (Weekday(DateSerial(year, month, 1)) + 5) % 7 + 1;  // Monday 1
    const MonthLayout layout = LayOutMonth(lines, firstWeekday);
    const double pageWidth = std::floor(page.PageWidth());
    const double left = pageWidth / 7;
    const std::string title =
        "Port : " + ShownText(s.PortName) + "  " + platform::kProgramCaption + " Months Predictions";

    std::vector<std::string> notes = {kDerivedNote};
    for (const std::string& line :
         MonthTimesLines(year, month, s.UseSummerTime != 0, s.UseSummerTime != 0 || layout.listing))
        notes.push_back(line);
    notes.push_back("");

    for (const MonthSheet& sheet : layout.sheets) {
        page.SetFontSize(9);
        page.SetFontBold(true);
        std::vector<std::string> heading = {title, yearLine(s, year), "", ""};
        if (layout.listing)
            heading.insert(heading.begin() + 1, "(Complex predictions - print is unformated)");
        PrintLines(page, left, std::vector<std::string>(layout.listing ? 1 : 2, ""));
        PrintLines(page, left, heading);
        page.SetFontBold(false);
        printColumns(page, sheet, pageWidth);

        page.SetFontSize(7);
        PrintLines(page, left, notes);
        PrintStandingNotes(page, left, 2, 0);
        page.SetFontSize(9);
        page.NewPage();
    }
}

void PrintSunTable(platform::PrinterPage& page) {
    const SharedState& s = State();
    const bool setting = s.UseSummerTime != 0;
    std::vector<std::string> lines = {
        "", "", "\t" + s.SunPlace + "\t" + s.SunLatText + "\t" + s.SunLongText,
        "", "", "\tDate\t\tSunrise\tSunset\t\tCivil Twilights\t\tNautical Twilights",
        ""};
    const int days = SunTableDays();
    for (int d = 1; d <= days; ++d) {
        lines.push_back("\t" + std::string(d < 10 ? " " : "") + s.SunTable(1, d) + "\t" + s.SunTable(4, d) +
                        "\t" + s.SunTable(5, d) + "\t\t" + s.SunTable(3, d) + "\t" + s.SunTable(6, d) +
                        "\t\t" + s.SunTable(2, d) + "\t" + s.SunTable(7, d));
    }
    lines.insert(lines.end(), 3, "");
    for (int k = 1; k <= std::min(s.MoonPhaseCount, 10); ++k) lines.push_back(s.MoonPhaseList[k] + "\t");
    lines.insert(lines.end(), {"", "", std::string(kDerivedNote) + "\t"});
    std::vector<std::string> times = MonthTimesLines(s.SunTableYear, s.SunTableMonth, setting, setting);
    if (!setting) times[0] += "\t";
    lines.insert(lines.end(), times.begin(), times.end());
    lines.push_back("\t" + std::string(kSunNotice) + "\t" + platform::kProgramCaption +
                    platform::kVersionText);

    page.SetFontSize(9);
    for (const std::string& line : lines) page.Print(line);
    page.NewPage();
}

}  // namespace output
