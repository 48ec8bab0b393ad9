#include "output/suncsv.h"

#include "engine/calendar.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/suntable.h"
#include "engine/timetext.h"

using namespace engine;

namespace output {

namespace {
std::string timeField(int col, int day) {
    return SunEventOccurs(col, day) ? HoursToHHMMSS(State().SunValues(col, day)) : kNoSunEvent;
}
}  // namespace

std::vector<std::string> SunHeadingFields(const std::string& place, const std::string& latitude,
                                          const std::string& longitude, bool ApplySummer) {
    const SharedState& s = State();
    const int year = s.SunTableYear, month = s.SunTableMonth;
    std::vector<std::string> heading = {place};
    if (SunTableDays() > 0) {
        const MonthBasis basis = MonthTimeBasis(year, month, ApplySummer);
        heading.push_back(basis.FirstDayAdjusted ? "Time Zone = Summer Time" : "Time Zone = Standard Time");
        if (basis.ChangeDay != 0)
            heading.push_back(ChangeDayLead(year, month, basis.ChangeDay) +
                              (basis.FirstDayAdjusted ? "Standard Time" : "Summer Time"));
    }
    heading.insert(heading.end(), {latitude, longitude});
    return heading;
}

std::vector<std::string> SunColumnNames() {
    return {"Date", "Sunrise", "Sunset", "Civil Dawn", "Civil Dusk", "Nautical Dawn", "Nautical Dusk"};
}

std::vector<std::string> SunDayFields(int day) {
    const SharedState& s = State();
    return {NumericDate(s.SunTableYear, s.SunTableMonth, day),
            timeField(4, day),
            timeField(5, day),
            timeField(3, day),
            timeField(6, day),
            timeField(2, day),
            timeField(7, day)};
}

TextFile SunCsvFile(bool ApplySummer) {
    const SharedState& s = State();
    TextFile file;
    file.AddFields(SunHeadingFields(s.SunPlace, s.SunLatText, s.SunLongText, ApplySummer), ',');
    file.AddFields(SunColumnNames(), ',');
    for (int d = 1; d <= SunTableDays(); ++d) file.AddFields(SunDayFields(d), ',');
    file.AddLine("");
    return file;
}

std::string SunCsvPath(const std::string& chosen) {
    const size_t slash = chosen.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (Trim(std::string_view(chosen).substr(nameStart)).empty()) return "";
    const size_t dot = chosen.find('.', nameStart);
    return (dot == std::string::npos ? chosen : chosen.substr(0, dot)) + ".csv";
}

TextFile SunTextFile() {
    const SharedState& s = State();
    TextFile file;
    file.AddLine("\t" + s.SunPlace + "\t" + s.SunLatText + "\t" + s.SunLongText);
    // Six blanks after the 22 characters before them, as a 14-character print zone would pad.
    file.AddLine("\tDate\t\tSunrise\tSunset\t      Civil Twilights\tNautical Twilights");
    for (int d = 1; d <= SunTableDays(); ++d) {
        std::string line;
        for (int col : {1, 4, 5, 3, 6, 2, 7}) line += "\t" + s.SunTable(col, d);
        file.AddLine(line);
    }
    return file;
}

}  // namespace output
