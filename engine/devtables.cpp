#include "engine/devtables.h"

#include "engine/astro.h"
#include "engine/calendar.h"
#include "engine/curve.h"
#include "engine/dates.h"
#include "engine/daysearch.h"
#include "engine/harmonics.h"

namespace engine {

namespace {

int daysIn(int year) { return IsLeapYear(year) ? 366 : 365; }

// A day of the tables: its Julian date at 0 h, its year and its day of the year.
struct TableDay {
    double julian;
    int year, dayOfYear;
};

// Every day from 1 January of FirstYear to 31 December of the year after.
std::vector<TableDay> twoYears(int FirstYear) {
    std::vector<TableDay> days;
    double julian = JulianDay(1, 1, FirstYear, 0, 0, 0);
    for (int year : {FirstYear, FirstYear + 1})
        for (int day = 1; day <= daysIn(year); ++day, julian += 1) days.push_back({julian, year, day});
    return days;
}

// The range and the first two high waters of the day starting at Julian date Day.
FileResult computeDay(const PortRecord& record, double Day, TimeHeightSeries& highs, HWYearRow& row) {
    if (FileResult r = QuickDayRangeAndHighWaters(record, Day, row.Range, highs); !r.ok()) return r;
    // A day of the diurnal tide may have no high water at all.
    row.FirstHW = highs.empty() ? -1 : Day + highs[0].Time / 24;
    row.SecondHW = highs.size() < 2 ? -1 : Day + highs[1].Time / 24;
    return {};
}

}  // namespace

FileResult YearHighWaters(const std::string& AreaFile, int16_t RecordNo, int16_t Year,
                          std::vector<HWYearRow>& Rows) {
    Rows.clear();
    for (int year : {int{Year}, Year + 1})
        if (!YearIsComputable(year)) return YearRefused(year);
    PortRecord record;
    if (FileResult r = ReadPortRecord(AreaFile, RecordNo, record); !r.ok()) return r;

    const std::vector<TableDay> days = twoYears(Year);
    std::vector<HWYearRow> rows(days.size());
    TimeHeightSeries highs;
    for (size_t i = 0; i < days.size(); ++i) {
        rows[i].DayNo = static_cast<int16_t>(days[i].dayOfYear);
        rows[i].YearNo = static_cast<int16_t>(days[i].year);
        if (FileResult r = computeDay(record, days[i].julian, highs, rows[i]); !r.ok()) return r;
    }
    Rows = std::move(rows);
    return {};
}

namespace {

void fillValues(FactorsRow& row, int baseYear, int baseDay, int nextYear, int nextDay) {
    const AnglesAndFactors a = CalcAnglesAndFactors(baseYear, baseDay);
    // Speeds and factor changes as the curves take them from the day and the next.
    const FourWaves w = WavesOf(a, CalcAnglesAndFactors(nextYear, nextDay), Constants{});
    row.ma = a.M2Angle, row.mf = a.M2Factor, row.dam = w.m2.omega, row.dfm = w.m2.df;
    row.sa = a.S2Angle, row.sf = a.S2Factor, row.das = w.s2.omega, row.dfs = w.s2.df;
    row.ka = a.K1Angle, row.kf = a.K1Factor, row.dak = w.k1.omega, row.dfk = w.k1.df;
    row.oa = a.O1Angle, row.of = a.O1Factor, row.dao = w.o1.omega, row.dfo = w.o1.df;
}

}  // namespace

std::vector<FactorsRow> FactorsTableFrom(int FirstYear) {
    const std::vector<TableDay> days = twoYears(FirstYear);
    std::vector<FactorsRow> table(days.size());
    for (size_t i = 0; i < days.size(); ++i) {
        const auto [julian, year, day] = days[i];
        FactorsRow& row = table[i];
        row.Julian = julian;
        row.Day = static_cast<int16_t>(day);
        row.Year = static_cast<int16_t>(year);
        // The first row takes 31 December before it as its base day, as the day curve does.
        if (i == 0) fillValues(row, year - 1, daysIn(year - 1), year, 1);
        else fillValues(row, year, day, year, day + 1);
    }
    return table;
}

}  // namespace engine
