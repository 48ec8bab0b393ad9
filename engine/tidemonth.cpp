#include "engine/tidemonth.h"

#include <memory>

#include "engine/astro.h"
#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/numtext.h"
#include "engine/tideday.h"
#include "engine/timetext.h"

namespace engine {

FileResult ComputeMonthTides(const PortRecord& Record, int Year, int Month, bool ApplySummerTime,
                             std::optional<double> ChartedDepth, MonthTides& Tides) {
    Tides = {Year, Month, {}};
    if (!YearIsComputable(Year)) return YearRefused(Year);
    const double first = DateSerial(Year, Month, 1);
    const int days = DaysInMonth(Year, Month);
    Tides.Days.reserve(static_cast<size_t>(days));
    const auto day = std::make_unique<TideDay>();
    for (int n = 1; n <= days; ++n) {
        const double date = first + (n - 1);
        const bool summer = ApplySummerTime && IsSummerTime(date);
        if (FileResult r = ComputeTideDay(Record, date, summer, ChartedDepth, *day); !r.ok()) {
            Tides.Days.clear();
            return r;
        }
        Tides.Days.push_back({date, summer, day->Waters});
    }
    return {};
}

std::vector<MonthDayTexts> MonthTideTexts(const MonthTides& Tides) {
    const std::string abbrev = MonthAbbrev(Tides.Year, Tides.Month);
    std::vector<MonthDayTexts> texts;
    for (size_t i = 0; i < Tides.Days.size(); ++i) {
        const MonthDayTides& d = Tides.Days[i];
        MonthDayTexts t;
        t.Day = std::to_string(i + 1) + " " + abbrev;
        t.Weekday = "(" + LeftChars(FormatDate(d.Date, "dddd"), 3) + ")";
        for (int k = 1; k <= d.Waters.Count; ++k)
            t.Tides.emplace_back(LTrim(HoursToHHMM(d.Waters.Events(1, k))),
                                 Format(d.Waters.Events(2, k), "0.00"));
        texts.push_back(std::move(t));
    }
    return texts;
}

std::vector<std::string> MonthTideLines(const std::vector<std::string>& RowsA,
                                        const std::vector<std::string>& RowsB) {
    std::vector<std::string> lines;
    bool heading = false;
    for (size_t i = 1; i < RowsA.size() && i < RowsB.size(); ++i) {
        const std::string& a = RowsA[i];
        const std::string& b = RowsB[i];
        if (a.empty() && b.empty()) {
            lines.push_back("  ");
            heading = true;
        } else {
            lines.push_back(a + (heading ? " " : "   ") + b);
            heading = false;
        }
    }
    return lines;
}

}  // namespace engine
