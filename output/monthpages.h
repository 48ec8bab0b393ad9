#pragma once
// The printed pages of a month: the month's high and low waters as a calendar of weeks or, when
// a day holds too many lines for a calendar block, as a listing; and the month's sun and
// twilight times with its moon phases.

#include <string>
#include <vector>

namespace platform {
class PrinterPage;
}

namespace output {

struct PrintedLine {
    std::string text;
    bool bold = false;
};
// Up to five columns a sheet, each printed from the top of the table down.
struct MonthSheet {
    std::vector<std::vector<PrintedLine>> columns;
};
struct MonthLayout {
    bool listing = false;
    std::vector<MonthSheet> sheets;
};

// Lines of a calendar day block, of a listing column, and columns on a sheet.
inline constexpr int kBlockLines = 8, kListingColumnLines = 57, kSheetColumns = 5;

// Lays out the month view's lines (each day an empty line, its day line and its events) for a
// month whose first day is `firstWeekday` (1 Monday to 7 Sunday). The calendar puts each day in
// a block of 8 lines, seven blocks a column from Monday to Sunday; a day before the last with
// five events or more, or a last day that overflows its block, makes it a listing of the lines
// as they stand, 57 a column. Every line is kept: what five columns do not hold goes on the
// next sheet.
MonthLayout LayOutMonth(const std::vector<std::string>& lines, int firstWeekday);

// The time basis lines of a month's page: the summer-time line for the month's first day and,
// where the clock changes within the month, the day from which the other basis holds.
// `longForm` chooses "Times are from" for the unadjusted line where the setting is off.
std::vector<std::string> MonthTimesLines(int year, int month, bool summerSetting, bool longForm);

// The month tide table of `year` and `month` from the month view's lines after its headings,
// each sheet with its heading and notes. The document is not ended.
void PrintMonthTable(platform::PrinterPage& page, const std::vector<std::string>& lines, int year, int month);

// The month sun table of SunTableYear and SunTableMonth with the moon phases kept with it. The
// document is not ended.
void PrintSunTable(platform::PrinterPage& page);

}  // namespace output
