#include "engine/moon.h"

#include <string>

#include "engine/state.h"
#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;

class MoonPhasesTest : public EngineTest {
protected:
    void run(int year, int month) {
        State().SelectedYear = year;
        State().SelectedMonth = month;
        CalcMoonPhases();
    }
    std::string line(int i) { return State().MoonPhaseList[i]; }
};

// Phase dates checked against astronomy-engine's SearchMoonQuarter (UT).

TEST_F(MoonPhasesTest, MonthWithAllFourPhasesInside) {
    // August 2024: new 4th 11:13, first quarter 12th 15:19, full 19th 18:26, last 26th 09:26.
    run(2024, 8);
    EXPECT_EQ(State().MoonPhaseCount, 4);
    EXPECT_EQ(State().MoonPhaseText,
              "    \r"
              "   04 Aug 2024       NEW MOON     \r"
              "   12 Aug 2024       FIRST QUARTER\r"
              "   19 Aug 2024       FULL MOON    \r"
              "   26 Aug 2024       LAST QUARTER \r");
    EXPECT_EQ(line(1), "   04 Aug 2024       NEW MOON     ");
    EXPECT_EQ(line(4), "   26 Aug 2024       LAST QUARTER ");
}

TEST_F(MoonPhasesTest, PhasesInTheNextMonthCarryTheirOwnDateAndStayLast) {
    struct Case {
        int year, month;
        const char* lines[4];
    } cases[] = {
        // Last quarter on 3 March.
        {2024,
         2,
         {"   09 Feb 2024       NEW MOON     ", "   16 Feb 2024       FIRST QUARTER",
          "   24 Feb 2024       FULL MOON    ", "   03 Mar 2024       LAST QUARTER "}},
        // Full moon and last quarter in January of the next year.
        {2025,
         12,
         {"   20 Dec 2025       NEW MOON     ", "   27 Dec 2025       FIRST QUARTER",
          "   03 Jan 2026       FULL MOON    ", "   10 Jan 2026       LAST QUARTER "}},
        // Single-digit days get a leading 0.
        {2024,
         4,
         {"   08 Apr 2024       NEW MOON     ", "   15 Apr 2024       FIRST QUARTER",
          "   23 Apr 2024       FULL MOON    ", "   01 May 2024       LAST QUARTER "}},
    };
    for (const auto& c : cases) {
        run(c.year, c.month);
        ASSERT_EQ(State().MoonPhaseCount, 4);
        std::string text = "    \r";
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(line(i + 1), c.lines[i]) << c.year << "-" << c.month << " line " << i + 1;
            text += std::string(c.lines[i]) + "\r";
        }
        EXPECT_EQ(State().MoonPhaseText, text);
    }
}

TEST_F(MoonPhasesTest, YearsBefore1900UseTheNegativeLunationNames) {
    // January 1850: new 13th 11:20, first quarter 21st 09:40, full 28th 00:52; last quarter
    // 4 February. New and full moon names carry one more trailing blank.
    run(1850, 1);
    EXPECT_EQ(line(1), "   13 Jan 1850       NEW MOON      ");
    EXPECT_EQ(line(2), "   21 Jan 1850       FIRST QUARTER");
    EXPECT_EQ(line(3), "   28 Jan 1850       FULL MOON     ");
    EXPECT_EQ(line(4), "   04 Feb 1850       LAST QUARTER ");
}

TEST_F(MoonPhasesTest, JulianDaysAreInDateOrderAndNearReference) {
    // 9 February 2024 22:59 UT is JD 2460350.458; the series is good to a few minutes.
    auto phases = MoonPhasesOfMonth(2024, 2);
    EXPECT_NEAR(phases[0].JD, 2460350.458, 5.0 / 1440);
    for (int i = 0; i < 3; ++i) EXPECT_LT(phases[i].JD, phases[i + 1].JD);
    EXPECT_EQ(phases[3].Day * 100 + phases[3].Month, 303);
    EXPECT_EQ(phases[3].Year, 2024);
}

// The month sun table keeps the phases of its own month, whatever month is displayed.
TEST_F(MoonPhasesTest, AnyMonthsPhasesFillTheSameLines) {
    run(2024, 2);
    const std::string february = State().MoonPhaseText;
    run(2024, 3);
    FillMoonPhases(2024, 2);
    EXPECT_EQ(State().MoonPhaseText, february);
    EXPECT_EQ(State().SelectedMonth, 3);
}

TEST_F(MoonPhasesTest, EachCallClearsTheOldLines) {
    State().MoonPhaseList[7] = "stale";
    State().MoonPhaseText = "stale";
    run(2024, 8);
    run(2024, 8);
    EXPECT_EQ(State().MoonPhaseCount, 4);
    EXPECT_EQ(line(7), "");
    EXPECT_EQ(line(5), "");
    EXPECT_EQ(State().MoonPhaseText.substr(0, 5), "    \r");
    EXPECT_EQ(State().MoonPhaseText.size(), 5 + 4 * (34 + 1));
}

TEST_F(MoonPhasesTest, SwapStringsExchanges) {
    std::string a = "a", b = "bb";
    SwapStrings(a, b);
    EXPECT_EQ(a, "bb");
    EXPECT_EQ(b, "a");
}
