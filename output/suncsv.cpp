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

TextFile SunCsvFile(bool ApplySummer) {
    const SharedState& s = State();
    const int year = s.SunTableYear, month = s.SunTableMonth, days = SunTableDays();
    TextFile file;
    std::vector<std::string> heading = {s.SunPlace};
    if (days > 0) {
        const MonthBasis basis = MonthTimeBasis(year, month, ApplySummer);
        heading.push_back(basis.FirstDayAdjusted ? "Time Zone = Summer Time" : "Time Zone = Standard Time");
        if (basis.ChangeDay != 0)
            heading.push_back(ChangeDayLead(year, month, basis.ChangeDay) +
                              (basis.FirstDayAdjusted ? "Standard Time" : "Summer Time"));
    }
    heading.insert(heading.end(), {s.SunLatText, s.SunLongText});
    file.AddFields(heading, ',');
    file.AddFields(
        {"Date", "Sunrise", "Sunset", "Civil Dawn", "Civil Dusk", "Nautical Dawn", "Nautical Dusk"}, ',');
    for (int d = 1; d <= days; ++d)
        file.AddFields({NumericDate(year, month, d), timeField(4, d), timeField(5, d), timeField(3, d),
                        timeField(6, d), timeField(2, d), timeField(7, d)},
                       ',');
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

}  // namespace output
