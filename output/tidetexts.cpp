#include "output/tidetexts.h"

#include <algorithm>
#include <array>
#include <cmath>

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

std::vector<std::pair<std::string, std::string>> MonthBasisFields(int year, int month, bool summerSetting) {
    auto word = [](bool adjusted) { return adjusted ? "Summer Time" : "Standard Time"; };
    const MonthBasis basis = MonthTimeBasis(year, month, summerSetting);
    std::vector<std::pair<std::string, std::string>> fields = {
        {"Times are for :", word(basis.FirstDayAdjusted)}};
    if (basis.ChangeDay != 0)
        fields.emplace_back(ChangeDayText(year, month, basis.ChangeDay) + " :",
                            word(!basis.FirstDayAdjusted));
    return fields;
}

namespace {
std::vector<std::pair<std::string, std::string>> viewBasis() {
    const SharedState& s = State();
    return MonthBasisFields(s.MonthView.Year, s.MonthView.Month, s.UseSummerTime);
}
}  // namespace

std::string MonthTidesCopyText() {
    const SharedState& s = State();
    std::string text;
    for (size_t i = 0; i < s.MonthRowsA.size() && i < s.MonthRowsB.size(); ++i)
        text += Trim(TrimAtNull(s.MonthRowsA[i])) + "\t" + Trim(s.MonthRowsB[i]) + "\r\n";
    for (const auto& [label, word] : viewBasis()) text += label + "\t" + word + "\r\n";
    return text;
}

TextFile MonthTidesFile(char separator) {
    const SharedState& s = State();
    TextFile file;
    auto add = [&](const std::string& a, const std::string& b) {
        if (separator == ',') file.AddFields({a, b}, separator);
        else file.AddLine(a + separator + b);
    };
    for (size_t i = 0; i < s.MonthRowsA.size() && i < s.MonthRowsB.size(); ++i)
        add(s.MonthRowsA[i], s.MonthRowsB[i]);
    for (const auto& [label, word] : viewBasis()) add(label, word);
    return file;
}

char MonthTidesSeparator(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    return name.find(".csv") != std::string_view::npos ? ',' : '\t';
}

std::string MonthTidesDefaultName() {
    const SharedState& s = State();
    std::string port = Trim(TrimAtNull(s.PortName));
    std::replace(port.begin(), port.end(), '/', '_');
    return port + "_" + EnglishMonthAbbrev(s.SelectedMonth) + "_" + std::to_string(s.SelectedYear);
}

TextFile DayTableFile(const std::string& portCaption, const std::string& dateCaption) {
    const SharedState& s = State();
    TextFile file;
    file.AddLine(portCaption);
    file.AddLine(dateCaption);
    for (int i = 1; i <= 144; ++i)
        file.AddLine("\t" + LTrim(HoursToHHMM(s.OutputCurve(1, i))) + "\t" +
                     Format(s.OutputCurve(2, i), "#,##0.00;;;"));
    return file;
}

}  // namespace output
