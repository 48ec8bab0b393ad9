#include "engine/localecheck.h"

#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/state.h"

namespace engine {

std::string GetLocaleString(long, long lcType) {
    const LocaleFacts& loc = Env().locale;
    switch (lcType) {
        case kLocaleDateSeparator: return loc.dateSeparator;
        case kLocaleShortDate: return loc.shortDatePattern;
        default: return "";
    }
}

DateFormatCheck CheckDateFormat() {
    const LocaleFacts& loc = Env().locale;
    SharedState& s = State();
    s.DateSeparator = GetLocaleString(0, kLocaleDateSeparator);

    DateFormatCheck r;
    const std::string& pattern = loc.shortDatePattern;
    if (pattern.empty()) {
        s.DateSeparator = "/";
        r.FormatText = "DD/MM/YYYY";
    } else {
        // A later separator found replaces an earlier one, as "/", "-", "." are tried in turn.
        bool found = false;
        for (const char* sep : {"/", "-", "."})
            if (pattern.find(sep) != std::string::npos) {
                s.DateSeparator = sep;
                found = true;
            }
        if (found) {
            const std::string& sep = s.DateSeparator;
            bool yearFirst = pattern[0] == 'y' || pattern[0] == 'Y';
            size_t d = pattern.find_first_of("dD");
            size_t m = pattern.find('M');
            bool dayFirst = d != std::string::npos && (m == std::string::npos || d < m);
            std::string dm = dayFirst ? "DD" + sep + "MM" : "MM" + sep + "DD";
            r.FormatText = yearFirst ? "YYYY" + sep + dm : dm + sep + "YYYY";
        }
    }

    double today = Now();
    DateParts p = SplitDate(today);
    r.MonthName = FormatDate(today, "MMMM");
    r.Month = p.month;
    r.Day = p.day;
    r.Year = p.year;
    return r;
}

}  // namespace engine
