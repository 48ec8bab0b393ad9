#include "engine/boxnumber.h"

#include <optional>
#include <string>

#include "test_support.h"

using namespace engine;
using testing_support::EngineTest;

class BoxNumber : public EngineTest {};

// Each text is wholly one number of its form or nothing: a comma stands for the point, and
// nothing is read up to a stray character.
TEST_F(BoxNumber, WholeTextInItsForm) {
    constexpr auto D = NumberForm::Decimal, W = NumberForm::Whole, La = NumberForm::Latitude,
                   Lo = NumberForm::Longitude;
    const std::optional<double> none;
    struct Case {
        const char* text;
        NumberForm form;
        std::optional<double> value;
    } cases[] = {
        {"2,5", D, 2.5},
        {"2.5", D, 2.5},
        {"-1,5", D, -1.5},
        {",5", D, 0.5},
        {" +3 ", D, 3},
        {"5.", D, 5},
        {"0.1", D, 0.1},
        {"1,234.5", D, none},
        {"2.5.3", D, none},
        {"2,,5", D, none},
        {"1.5abc", D, none},
        {"1e30", D, none},
        {"0x10", D, none},
        {"1_000", D, none},
        {"1 000", D, none},
        {"-", D, none},
        {".", D, none},
        {"abc", D, none},
        {"nan", D, none},
        {"inf", D, none},
        {"--1", D, none},
        {"", D, none},
        {"100000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0"
         "00000000000000000000",
         D, none},
        {"-11", W, -11},
        {"+3", W, 3},
        {"0", W, 0},
        {"5.5", W, none},
        {"5,0", W, none},
        {"abc", W, none},
        {"-", W, none},
        {"", W, none},
        {"50.45.00N", La, 50.75},
        {"50.30s", La, -50.5},
        {" 50,30N ", La, 50.5},
        {"50.30.5N", La, 50 + 30.5 / 60},
        {"54,10.80n", La, 54 + 10.8 / 60},
        {"50.3N", La, 50 + 3 / 60.0},
        {"51", La, none},
        {"51N", La, none},
        {"-51.07.00N", La, none},
        {"50.75N", La, none},
        {"N50.30", La, none},
        {"50.30", La, none},
        {"50.30E", La, none},
        {"50.30.00.00N", La, none},
        {"1234.00N", La, none},
        {"50.300N", La, none},
        {"50..30N", La, none},
        {"001.23.00W", Lo, -(1 + 23 / 60.0)},
        {"1.30.5w", Lo, -(1 + 30.5 / 60)},
        {"000.00.00E", Lo, 0},
        {"179.59E", Lo, 179 + 59 / 60.0},
        {"1.30N", Lo, none},
        {"-50.30E", Lo, none},
    };
    for (const Case& c : cases) {
        const std::optional<double> v = ReadBoxNumber(c.text, c.form);
        ASSERT_EQ(v.has_value(), c.value.has_value()) << c.text;
        if (v) {
            EXPECT_DOUBLE_EQ(*v, *c.value) << c.text;
        }
    }
}

// An empty box stands for a number only where it is given one.
TEST_F(BoxNumber, AnEmptyBoxIsItsGivenNumber) {
    EXPECT_EQ(ReadBoxNumber("  ", NumberForm::Decimal, 0), 0.0);
    EXPECT_EQ(ReadBoxNumber("", NumberForm::Latitude, 0), 0.0);
    EXPECT_EQ(ReadBoxNumber("2,5", NumberForm::Decimal, 0), 2.5);
    EXPECT_EQ(ReadBoxNumber("abc", NumberForm::Decimal, 0), std::nullopt);
}

TEST_F(BoxNumber, RefusalNamesTheBoxAndItsForm) {
    EXPECT_EQ(NumberFormFault("Z0", NumberForm::Decimal), "Z0 must be a number such as 2.5 or -1,5");
    EXPECT_EQ(NumberFormFault("Lat.", NumberForm::Latitude),
              "Lat. must be degrees, a point and minutes with N or S at the end, such as 50.45.00N");
}
