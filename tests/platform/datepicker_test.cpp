// The date picker: one date value with its parts, the locale's short date, the range, and the
// drop-down calendar's CloseUp.
#include "platform/datepicker.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>

#include "engine/dates.h"
#include "engine/environment.h"
#include "platform/app.h"

using engine::DateSerial;
using platform::DatePicker;

class DatePickerTest : public ::testing::Test {
protected:
    void SetUp() override { platform::UseLocale("en_GB"); }
    void TearDown() override { engine::ResetEnvironment(); }
};

TEST_F(DatePickerTest, OneDateValueAndItsParts) {
    DatePicker p(nullptr);
    p.SetValue(DateSerial(2024, 2, 29) + 0.75);  // the time of day is dropped
    EXPECT_EQ(p.Value(), DateSerial(2024, 2, 29));
    EXPECT_EQ(p.Day(), 29);
    EXPECT_EQ(p.Month(), 2);
    EXPECT_EQ(p.Year(), 2024);
    EXPECT_EQ(p.text().toStdString(), "29/02/2024");
}

TEST_F(DatePickerTest, ShowsTheLocalesShortDateWithFourDigitYears) {
    struct Case {
        const char* locale;
        const char* text;
    } cases[] = {{"en_GB", "05/03/2024"}, {"de_DE", "05.03.2024"}, {"en_US", "3/5/2024"}};
    for (const Case& c : cases) {
        platform::UseLocale(c.locale);
        DatePicker p(nullptr);
        p.SetValue(DateSerial(2024, 3, 5));
        EXPECT_EQ(p.text().toStdString(), c.text) << c.locale;
    }
}

TEST_F(DatePickerTest, DatesOutsideTheRangeBecomeItsNearerEnd) {
    DatePicker p(nullptr);
    p.SetRange(DateSerial(1901, 1, 1), DateSerial(2099, 12, 31));
    EXPECT_EQ(p.MinDate(), DateSerial(1901, 1, 1));
    EXPECT_EQ(p.MaxDate(), DateSerial(2099, 12, 31));
    p.SetValue(DateSerial(1850, 6, 1));
    EXPECT_EQ(p.Value(), DateSerial(1901, 1, 1));
    p.SetValue(DateSerial(2150, 6, 1));
    EXPECT_EQ(p.Value(), DateSerial(2099, 12, 31));
    p.Pick(DateSerial(2100, 1, 1));  // not offered by the calendar either
    EXPECT_EQ(p.Value(), DateSerial(2099, 12, 31));
}

TEST_F(DatePickerTest, PickingInTheCalendarClosesItAndFiresCloseUpWithTheNewDate) {
    DatePicker p(nullptr);
    p.show();
    p.SetValue(DateSerial(2024, 3, 5));
    std::vector<double> seen;
    QObject::connect(&p, &DatePicker::CloseUp, [&] { seen.push_back(p.Value()); });
    QSignalSpy changes(&p, &DatePicker::Change);
    p.Pick(DateSerial(2024, 6, 15));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], DateSerial(2024, 6, 15));
    EXPECT_FALSE(p.DroppedDown());
    EXPECT_GE(changes.count(), 1);

    // Typing or setting the date is a Change, not a CloseUp.
    p.SetValue(DateSerial(2024, 7, 1));
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(DatePickerTest, ClosingTheCalendarWithoutAPickKeepsTheDate) {
    DatePicker p(nullptr);
    p.show();
    p.SetValue(DateSerial(2024, 3, 5));
    QSignalSpy closeUps(&p, &DatePicker::CloseUp);
    p.DropDown();
    ASSERT_TRUE(p.DroppedDown());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(QApplication::activePopupWidget(), &escape);
    EXPECT_FALSE(p.DroppedDown());
    EXPECT_EQ(closeUps.count(), 1);
    EXPECT_EQ(p.Value(), DateSerial(2024, 3, 5));
}
