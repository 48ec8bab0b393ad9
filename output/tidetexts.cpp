#include "output/tidetexts.h"

#include <array>
#include <filesystem>
#include <utility>
#include <vector>

#include "engine/calendar.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/timetext.h"

using namespace engine;

namespace output {

std::string SpringNeapLabel(double lag) {
    struct Row {
        double to;
        const char* label;
    };
    // Rows from 0 h, each up to and including its bound; a lag on a bound takes the earlier row.
    static constexpr std::array<Row, 14> kRows = {{
        {0.3, "Springs"},
        {1.4, "Springs +1 day"},
        {1.9, "Springs +2 days"},
        {2.5, "Springs +3 days"},
        {3.3, "Neaps -3 days"},
        {4.3, "Neaps -2 days"},
        {5.2, "Neaps -1days"},
        {6.8, "Neaps"},
        {7.7, "Neaps +1 day"},
        {8.5, "Neaps +2 days"},
        {9.3, "Neaps +3 days"},
        {10.2, "Springs -3 days"},
        {10.9, "Springs -2 days"},
        {14, "Springs -1 day"},
    }};
    if (!(lag >= 0)) return "";
    for (const Row& row : kRows)
        if (lag <= row.to) return row.label;
    return "";
}

std::string DayTidesCopyText(bool adjusted) {
    const SharedState& s = State();
    std::string text;
    for (int i = 1; i <= s.DayTextCount; ++i) text += s.DayText[i] + "\r\n";
    text += adjusted ? "(Summer Time)\r\n" : "(Standard Time)\r\n";
    return text + SpringNeapLabel(s.SpringNeapLag) + "\r\n";
}

namespace {
using FieldPair = std::pair<std::string, std::string>;

// The month view's rows, then the time basis of its month: ("Times are for :", the basis of the
// first day) and, in a month whose clock changes, ("From 31 Mar :", the basis from that day).
std::vector<FieldPair> monthTidesRows() {
    const SharedState& s = State();
    std::vector<FieldPair> rows;
    for (size_t i = 0; i < s.MonthRowsA.size() && i < s.MonthRowsB.size(); ++i)
        rows.emplace_back(s.MonthRowsA[i], s.MonthRowsB[i]);
    auto word = [](bool adjusted) { return adjusted ? "Summer Time" : "Standard Time"; };
    const int year = s.MonthView.Year, month = s.MonthView.Month;
    const MonthBasis basis = MonthTimeBasis(year, month, s.UseSummerTime);
    rows.emplace_back("Times are for :", word(basis.FirstDayAdjusted));
    if (basis.ChangeDay != 0)
        rows.emplace_back(ChangeDayText(year, month, basis.ChangeDay) + " :", word(!basis.FirstDayAdjusted));
    return rows;
}
}  // namespace

std::string MonthTidesCopyText() {
    std::string text;
    for (const auto& [a, b] : monthTidesRows()) text += ShownText(a) + "\t" + Trim(b) + "\r\n";
    return text;
}

TextFile MonthTidesFile(char separator) {
    TextFile file;
    for (const auto& [a, b] : monthTidesRows()) {
        if (separator == ',') file.AddFields({a, b}, separator);
        else file.AddLine(a + separator + b);
    }
    return file;
}

char MonthTidesSeparator(const std::string& path) {
    return std::filesystem::path(path).filename().string().find(".csv") != std::string::npos ? ',' : '\t';
}

std::string MonthTidesDefaultName() {
    const SharedState& s = State();
    return PortFileName(s.PortName) + "_" + EnglishMonthAbbrev(s.SelectedMonth) + "_" +
           std::to_string(s.SelectedYear);
}

TextFile DayTableFile(const std::string& portCaption, const std::string& dateCaption) {
    const SharedState& s = State();
    TextFile file;
    file.AddLine(LineText(portCaption));  // the caption holds the port's name as stored
    file.AddLine(dateCaption);
    for (int i = 1; i <= 144; ++i)
        file.AddLine("\t" + LTrim(HoursToHHMM(s.OutputCurve(1, i))) + "\t" +
                     Format(s.OutputCurve(2, i), "#,##0.00;;;"));
    return file;
}

}  // namespace output
