#include "engine/calendar.h"

#include "engine/dates.h"
#include "engine/state.h"
#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;

class Calendar : public EngineTest {};

TEST_F(Calendar, DateSerialRollsOver) {
    EXPECT_EQ(DateSerial(1899, 12, 30), 0);
    EXPECT_EQ(DateSerial(2000, 1, 1), 36526);
    EXPECT_EQ(DateSerial(2024, 3, 0), DateSerial(2024, 2, 29));
    EXPECT_EQ(DateSerial(2023, 13, 1), DateSerial(2024, 1, 1));
    EXPECT_EQ(DateSerial(2024, 0, 1), DateSerial(2023, 12, 1));
    EXPECT_EQ(Weekday(DateSerial(2024, 3, 31)), 1);  // a Sunday
    auto p = SplitDate(DateSerial(2024, 3, 5) + TimeSerial(10, 30, 0));
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 20240305);
    EXPECT_EQ(p.hour * 100 + p.minute, 1030);
}

TEST_F(Calendar, IsoDatesAndClockTimesAreReadWhole) {
    struct DateCase {
        const char* text;
        int ymd;
    } dates[] = {
        {"2024-03-05", 20240305}, {"2024-2-29", 20240229}, {"0001-01-01", 10101}, {"2023-02-29", 0},
        {"2024-04-31", 0},        {"2024-13-01", 0},       {"2024-03-05x", 0},    {"2024/03/05", 0},
        {"-2024-03-05", 0},       {"2024-03", 0},          {"20240-01-01", 0},    {"", 0},
    };
    for (auto c : dates) {
        auto p = ReadIsoDate(c.text);
        EXPECT_EQ(p ? p->year * 10000 + p->month * 100 + p->day : 0, c.ymd) << c.text;
    }
    struct ClockCase {
        const char* text;
        int hhmm;
    } clocks[] = {
        {"13:47", 1347}, {"0:05", 5}, {"23:59", 2359}, {"24:00", -1},
        {"12:60", -1},   {"12", -1},  {"12:5:0", -1},  {"+1:00", -1},
    };
    for (auto c : clocks) {
        auto p = ReadClockTime(c.text);
        EXPECT_EQ(p ? p->hour * 100 + p->minute : -1, c.hhmm) << c.text;
    }
}

TEST_F(Calendar, MonthInfo) {
    struct Case {
        int year, month, days, before;
        const char* name;
    } cases[] = {
        {2000, 2, 29, 31, "February"}, {1900, 2, 28, 31, "February"}, {2024, 3, 31, 60, "March"},
        {2023, 3, 31, 59, "March"},    {2023, 1, 31, 0, "January"},   {2023, 12, 31, 334, "December"},
    };
    for (auto c : cases) {
        auto f = MonthInfo(c.year, c.month);
        EXPECT_EQ(f.Days, c.days) << c.year << "-" << c.month;
        EXPECT_EQ(f.DaysBefore, c.before) << c.year << "-" << c.month;
        EXPECT_EQ(f.MonthName, c.name);
    }
    EXPECT_EQ(MonthInfo(2023, 13).Days, 0);
    EXPECT_EQ(MonthInfo(2023, 13).DaysBefore, 365);
}

TEST_F(Calendar, DayOfYearToDate) {
    struct Case {
        int year, doy;
        bool ok;
        const char* name;
        int day;
    } cases[] = {
        {2024, 60, true, "February", 29},  {2023, 60, true, "March", 1}, {2023, 365, true, "December", 31},
        {2024, 366, true, "December", 31}, {2023, 366, false, "", 0},    {2023, 0, false, "", 0},
    };
    for (auto c : cases) {
        State().SelectedYear = c.year;
        State().SelectedDayOfYear = c.doy;
        std::string name;
        int day = 0;
        EXPECT_EQ(DayOfYearToDate(name, day), c.ok) << c.year << " " << c.doy;
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(day, c.day);
    }
}

TEST_F(Calendar, MonthNamesComeFromTheLocaleInEveryYear) {
    testing_support::UseDecimalCommaLocale();
    State().SelectedYear = 2023;
    State().SelectedDayOfYear = 350;
    std::string name;
    int day = 0;
    DayOfYearToDate(name, day);
    EXPECT_EQ(name, "Dezember");
    EXPECT_EQ(MonthInfo(2024, 3).MonthName, "März");
}

TEST_F(Calendar, DaysInMonth) {
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 12), 31);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    State().SelectedYear = 2024;
    State().SelectedMonth = 4;
    EXPECT_EQ(DaysInCurrentMonth(), 30);
}

TEST_F(Calendar, JulianDayAndBack) {
    EXPECT_DOUBLE_EQ(JulianDay(1, 1, 2000, 12, 0, 0), 2451545.0);
    EXPECT_DOUBLE_EQ(JulianDay(1, 1, 99, 12, 0, 0), JulianDay(1, 1, 1999, 12, 0, 0));
    EXPECT_DOUBLE_EQ(JulianDay(1, 1, 2016, 0, 0, 0), 2457388.5);
    auto d = JulianDayToDate(2451545.0);
    EXPECT_EQ(d.Year * 10000 + d.Month * 100 + d.Day, 20000101);
    EXPECT_EQ(d.Hour * 10000 + d.Minute * 100 + d.Second, 120000);
    // 10.5 h must come back as 10:30:00, not 10:29:59.
    auto half = JulianDayToDate(JulianDay(4, 7, 2024, 0, 0, 0) + 10.5 / 24);
    EXPECT_EQ(half.Hour * 10000 + half.Minute * 100 + half.Second, 103000);
    // A time that rounds up to midnight carries into the next day.
    auto carry = JulianDayToDate(JulianDay(31, 12, 2023, 23, 59, 59) + 0.9 / 86400);
    EXPECT_EQ(carry.Year * 10000 + carry.Month * 100 + carry.Day, 20240101);
    EXPECT_EQ(carry.Hour + carry.Minute + carry.Second, 0);
    // Before the Gregorian reform the Julian calendar is used: JD 2299160.5 is 15 Oct 1582,
    // the day before it 4 Oct 1582.
    auto julian = JulianDayToDate(2299159.5);
    EXPECT_EQ(julian.Year * 10000 + julian.Month * 100 + julian.Day, 15821004);
}

// Every date of the computed years comes back from its Julian Day, and the days between two
// dates are the calendar's, across the century years the short formula misses (1800, 2100).
TEST_F(Calendar, JulianDayIsTheInverseOfJulianDayToDateInEveryComputedYear) {
    for (int y = 1000; y <= 3000; ++y)
        for (auto [d, m] : {std::pair{1, 1}, {28, 2}, {1, 3}, {31, 12}}) {
            const JulianDate back = JulianDayToDate(JulianDay(d, m, y, 0, 0, 0));
            ASSERT_EQ(back.Year * 10000 + back.Month * 100 + back.Day, y * 10000 + m * 100 + d);
        }
    const struct {
        int d1, m1, y1, d2, m2, y2;
        double days;
    } spans[] = {
        {28, 2, 2100, 1, 3, 2100, 1},      // 2100 has no 29 February
        {1, 1, 2101, 1, 1, 2102, 365},     //
        {28, 2, 1800, 1, 3, 1800, 1},      //
        {4, 10, 1582, 15, 10, 1582, 1},    // the Gregorian reform
        {1, 1, 2000, 1, 1, 3000, 365243},  // 1000 years, 757 of 365 days
    };
    for (const auto& s : spans)
        EXPECT_EQ(JulianDay(s.d2, s.m2, s.y2, 0, 0, 0) - JulianDay(s.d1, s.m1, s.y1, 0, 0, 0), s.days);
    EXPECT_DOUBLE_EQ(JulianDay(1, 1, 2101, 6, 0, 0), 2488434.75);
}

TEST_F(Calendar, SummerTimeBoundaries) {
    EXPECT_EQ(SummerTimeStart(2024), DateSerial(2024, 3, 30));
    EXPECT_EQ(SummerTimeEnd(2024), DateSerial(2024, 10, 27));
    struct Case {
        int y, m, d;
        double time;
        bool summer;
    } cases[] = {
        {2024, 3, 30, 0, false},
        {2024, 3, 31, 0, true},
        {2024, 10, 26, 0, true},
        {2024, 10, 27, 0, false},
        {2024, 7, 1, 0, true},
        {2024, 1, 15, 0, false},
        // The decision is made on the calendar day, whatever the clock time.
        {2024, 3, 30, 0.75, false},
        {2024, 10, 27, 0.5, false},
        {2024, 3, 31, 0.99, true},
    };
    for (auto c : cases)
        EXPECT_EQ(IsSummerTime(DateSerial(c.y, c.m, c.d) + c.time), c.summer)
            << c.y << "-" << c.m << "-" << c.d;
}

// A month's time basis: the first day's, and the day the clock changes on within the month.
TEST_F(Calendar, MonthTimeBasis) {
    struct Case {
        int y, m;
        bool setting;
        MonthBasis basis;
    } cases[] = {
        {2025, 3, true, {false, 30}}, {2025, 10, true, {true, 26}}, {2024, 3, true, {false, 31}},
        {2024, 10, true, {true, 27}}, {2025, 4, true, {true, 0}},   {2025, 9, true, {true, 0}},
        {2025, 11, true, {false, 0}}, {2025, 1, true, {false, 0}},  {2025, 3, false, {false, 0}},
        {2025, 7, false, {false, 0}}, {2025, 0, true, {false, 0}},  {2025, 13, true, {false, 0}},
    };
    for (const Case& c : cases) {
        const MonthBasis b = MonthTimeBasis(c.y, c.m, c.setting);
        EXPECT_EQ(b, c.basis) << c.y << "-" << c.m << " " << b.FirstDayAdjusted << " " << b.ChangeDay;
    }
    // Every day of a month follows the day rule the month view uses.
    for (int m = 1; m <= 12; ++m) {
        const MonthBasis b = MonthTimeBasis(2026, m, true);
        for (int d = 1; d <= DaysInMonth(2026, m); ++d) {
            const bool changed = b.ChangeDay != 0 && d >= b.ChangeDay;
            EXPECT_EQ(IsSummerTime(DateSerial(2026, m, d)), b.FirstDayAdjusted != changed) << m << "/" << d;
        }
    }
}

TEST_F(Calendar, TodayLongTextFollowsTheShortDatePattern) {
    Env().utcNow = [] { return DateSerial(2024, 3, 5) + 0.4; };
    Env().localOffsetHours = [](double) { return 0.0; };
    struct Case {
        const char* pattern;
        const char* text;
    } cases[] = {
        {"MM/DD/YYYY", "March 5 2024"},
        {"DD.MM.YYYY", "5 March 2024"},
        {"YYYY.DD.MM", "2024 5 March"},
        {"YYYY-MM-DD", "2024 March 5"},
    };
    for (auto c : cases) {
        State().ShortDateFormat = c.pattern;
        std::string text;
        TodayLongText(text);
        EXPECT_EQ(text, c.text);
    }
    State().ShortDateFormat = "";
    std::string unchanged = "keep";
    TodayLongText(unchanged);
    EXPECT_EQ(unchanged, "keep");
}

TEST_F(Calendar, DayOfYear) {
    EXPECT_EQ(DayOfYear(DateSerial(2024, 1, 1) + 0.7), 1);
    EXPECT_EQ(DayOfYear(DateSerial(2024, 12, 31)), 366);
    EXPECT_EQ(DayOfYear(DateSerial(2023, 3, 1)), 60);
}
