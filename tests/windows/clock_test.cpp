// The clock's moment read on the port's table: the title's "Time Now", the read-out at the load
// and the red line, whatever zone the computer keeps.
#include <filesystem>
#include <string>

#include "engine/calendar.h"
#include "engine/dayview.h"
#include "engine/harmonics.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/timetext.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmtimdat.h"
#include "window_support.h"

using namespace engine;
using namespace platform;

namespace {

// The red line of the read-out at time t in the picture's temporary drawing.
bool RedLineAt(const PictureBox& picture, double t) {
    for (const DrawCommand& c : picture.TemporaryCommands())
        if (c.kind == DrawKind::Line && c.color == kRed && std::abs(c.x1 - t) < 1e-9 && c.x1 == c.x2)
            return true;
    return false;
}

// Whether the picture's temporary drawing holds a red vertical line anywhere.
bool AnyRedLine(const PictureBox& picture) {
    for (const DrawCommand& c : picture.TemporaryCommands())
        if (c.kind == DrawKind::Line && c.color == kRed && c.x1 == c.x2) return true;
    return false;
}

// The height text at `minutes` on the day table of `date` for a port (at the table's row for
// that time, 10 minutes apart), as the harmonic sum gives it at that moment: the span from the
// midnight before the day, an hour earlier when the day's times are adjusted for summer time,
// the month values of the day's month and the user depth as the output option adds it.
std::string heightOnTable(const std::string& areaPath, int port, double date, int minutes) {
    const SharedState& s = State();
    PortRecord record;
    EXPECT_TRUE(ReadPortRecord(areaPath, port, record).ok());
    Constants c = ConstantsOf(record);
    const double mean = c.Z0 + ApplyMonth(record, DateMonth(date), c);
    const Harmonics day(c, mean, s.UserDepth, s.OutputOption != 1.0f, DateYear(date), DayOfYear(date) - 1);
    const bool adjusted = s.ApplySummerTime && IsSummerTime(date);
    const double rowTime = (RowOfTime(minutes / 60.0) - 1) / 6.0;
    return Format(day.at(24 + rowTime - (adjusted ? 1 : 0)).h, "#,#0.0;;;");
}

}  // namespace

class Clock : public testing_support::WindowTest {
protected:
    // The computer's zone and the clock's instant in UTC.
    void setClock(const std::string& zone, double utc) {
        now = utc;
        Env().localOffsetHours = ZoneOffsetHours(zone);
    }
    // The program started on a port with summer time applied or not.
    frmtidewyn& startOn(const std::string& area, int port, bool summerTime) {
        storeSettings([&](SettingsRecord& r) {
            r.AreaPath = programFolder() + "/" + area;
            r.PortIndex = static_cast<float>(port);
            r.SummerTime = summerTime ? -1 : 0;
        });
        return open();
    }
    // The title, the read-out and (unless a redraw after a dialog has cleared it) the red line
    // all at the table's time `minutes`.
    void expectReadOutAt(frmtidewyn& w, int minutes, bool redLine = true) {
        const SharedState& s = State();
        const double t = minutes / 60.0;
        EXPECT_NEAR(s.TimeNowHours, t, 1e-12);
        const int row = RowOfTime(t);
        ASSERT_NEAR(s.DayCurve(1, row), t, 1e-9);
        const std::string height = Format(s.DayCurve(2, row), "#,#0.0;;;");
        const std::string title = w.Caption();
        EXPECT_EQ(title.rfind("Tidewyn Vizoz   (v9.5.0)     [Time Now " + HoursToHHMM(t) +
                                  " : Height = " + height + "M. : ",
                              0),
                  0u)
            << title;
        EXPECT_EQ(w.timeval->Caption(), HoursToHHMM(t));
        EXPECT_EQ(w.hiteval->Caption(), height);
        if (redLine) {
            EXPECT_TRUE(RedLineAt(*w.Picture1, t));
        }
    }
    // A day shown that is not the moment's: the read-out at the table's time `minutes` of the
    // shown day, the title at `momentMinutes` on the current port's table of `momentDay`, and
    // no now-line.
    void expectReadOutOnAnotherDay(frmtidewyn& w, int minutes, const std::string& area, double momentDay,
                                   int momentMinutes) {
        const SharedState& s = State();
        const double t = minutes / 60.0;
        EXPECT_NEAR(s.TimeNowHours, t, 1e-12);
        EXPECT_EQ(w.timeval->Caption(), HoursToHHMM(t));
        EXPECT_EQ(w.hiteval->Caption(), Format(s.DayCurve(2, RowOfTime(t)), "#,#0.0;;;"));
        const std::string title =
            "Tidewyn Vizoz   (v9.5.0)     [Time Now " + HoursToHHMM(momentMinutes / 60.0) + " : Height = " +
            heightOnTable(programFolder() + "/" + area, s.CurrentPort, momentDay, momentMinutes) + "M. : ";
        EXPECT_EQ(w.Caption().rfind(title, 0), 0u) << w.Caption();
        EXPECT_FALSE(AnyRedLine(*w.Picture1));
    }
};

// The computer's zones as the platform reads them, to the minute of the change to summer time
// (01:00 UTC on the last Sunday of March).
TEST_F(Clock, ZoneOffsetsAtAnInstant) {
    const double change = DateSerial(2025, 3, 30) + TimeSerial(1, 0, 0);
    const double minute = TimeSerial(0, 1, 0);
    struct Case {
        const char* zone;
        double utc;
        double hours;
    } cases[] = {
        {"Europe/London", change - minute, 0},
        {"Europe/London", change, 1},
        {"Europe/Paris", change - minute, 1},
        {"Europe/Paris", change, 2},
        {"UTC", change, 0},
        {"Europe/Paris", DateSerial(2025, 10, 26) + TimeSerial(1, 0, 0), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zone << " " << c.utc);
        EXPECT_EQ(ZoneOffsetHours(c.zone)(c.utc), c.hours);
    }
}

// UK ports keep UTC, French ports UTC+1 ("M"); a day adjusted for summer time (the option on,
// between the last Sundays of March and October) is an hour later. The computer's own zone and
// summer time change nothing.
TEST_F(Clock, TimeNowIsTheClocksMomentOnThePortsTable) {
    const double winter = DateSerial(2025, 1, 15) + TimeSerial(12, 0, 0);
    const double summer = DateSerial(2025, 7, 1) + TimeSerial(12, 0, 0);
    struct Case {
        double utc;
        const char* area;
        int port;
        bool summerTime;
        int minutes;  // on the table, worked by hand
    } cases[] = {
        {winter, "UK.hc", 77, false, 12 * 60},     {winter, "UK.hc", 77, true, 12 * 60},
        {winter, "France.hc", 13, false, 13 * 60}, {winter, "France.hc", 13, true, 13 * 60},
        {summer, "UK.hc", 77, false, 12 * 60},     {summer, "UK.hc", 77, true, 13 * 60},
        {summer, "France.hc", 13, false, 13 * 60}, {summer, "France.hc", 13, true, 14 * 60},
    };
    for (const char* zone : {"Europe/London", "Europe/Paris", "UTC"})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << zone << " " << c.area << " " << c.port << " utc " << c.utc
                                            << " summer time " << c.summerTime);
            setClock(zone, c.utc);
            frmtidewyn& w = startOn(c.area, c.port, c.summerTime);
            expectReadOutAt(w, c.minutes);
            EXPECT_TRUE(dialogs->messages.empty());
            restart();
        }
}

// 13:00 British Summer Time on 1 July 2025 with the option off, as the program ships: Dover's
// table is in UTC, so the title reads 12:00 and the height at 12:00 UTC, 2.8 m (not 4.1 m, the
// height at 13:00 UTC).
TEST_F(Clock, ABritishSummerAfternoonOnDoverReadsTwelveUtc) {
    setClock("Europe/London", DateSerial(2025, 7, 1) + TimeSerial(12, 0, 0));
    frmtidewyn& w = startOn("UK.hc", 77, false);
    EXPECT_EQ(
        w.Caption().rfind("Tidewyn Vizoz   (v9.5.0)     [Time Now 12:00 : Height = 2.8M. : Rising @ ", 0), 0u)
        << w.Caption();
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 1 July 2025 (Tuesday)");
}

// The read-out's instant is taken at the load, the port dialog's OK and the month view, and
// each table reads it in its own basis (a winter day chosen with the date dialog, a French
// port); the title reads the clock afresh each minute, at the moment on its own day (1 July).
TEST_F(Clock, TheReadOutFollowsTheDayAndThePortShown) {
    setClock("Europe/London", DateSerial(2025, 7, 1) + TimeSerial(12, 0, 0));
    frmtidewyn& w = startOn("UK.hc", 77, true);
    expectReadOutAt(w, 13 * 60);
    const double july1 = DateSerial(2025, 7, 1);
    const auto pick = [&](double date) {
        withModal<Frmtimdat>(w.mnutidedate, [&](Frmtimdat& d) {
            d.DTPicker->Pick(date);
            d.cmdOk->click();
        });
        w.Timer2_Timer();
    };

    pick(DateSerial(2025, 1, 15));
    {
        SCOPED_TRACE("winter day");
        expectReadOutOnAnotherDay(w, 12 * 60, "UK.hc", july1, 13 * 60);
    }

    now += TimeSerial(0, 25, 0);
    w.Timer2_Timer();
    {
        SCOPED_TRACE("25 minutes later");
        // The read-out keeps its instant; the title reads the clock.
        expectReadOutOnAnotherDay(w, 12 * 60, "UK.hc", july1, 13 * 60 + 25);
    }

    now += TimeSerial(0, 5, 0);
    dialogs->fileAnswers.push_back(programFolder() + "/France.hc");
    withModal<frmconfig>(w.mnuArea, [](frmconfig& d) {
        d.txtSearch->TypeText("Brest");
        d.portconfigok->click();
    });
    {
        SCOPED_TRACE("Brest");
        expectReadOutOnAnotherDay(w, 13 * 60 + 30, "France.hc", july1, 14 * 60 + 30);
    }

    now += TimeSerial(0, 10, 0);
    w.mnumonth_Click();
    ASSERT_TRUE(w.monthspredictions->isVisible());
    w.Timer2_Timer();  // the title's next minute
    {
        SCOPED_TRACE("month view");
        expectReadOutOnAnotherDay(w, 13 * 60 + 40, "France.hc", july1, 14 * 60 + 40);
    }

    pick(july1);
    expectReadOutAt(w, 14 * 60 + 40, false);
    EXPECT_TRUE(dialogs->messages.empty());
}

// The clock's moment on the port's tables decides the day the window opens on, whatever day
// the computer's calendar shows, and the title reads the height of that moment on that day's
// curve, also once the user has stepped to another day (where no now-line is drawn). Each case
// is worked by hand from the zone rule: UK ports keep UTC, French ports UTC+1, an hour more on
// a day adjusted for summer time (15 and 16 July 2026 are; January is not).
TEST_F(Clock, TheWindowOpensOnTheMomentsDayAndTheTitleReadsItsCurve) {
    const auto utc = [](int month, int day, int hour, int minute) {
        return DateSerial(2026, month, day) + TimeSerial(hour, minute, 0);
    };
    struct Case {
        const char* zone;  // the computer's
        const char* area;
        int port;
        bool summerTime;
        double utc;
        double date;           // the moment's day on the port's table
        const char* dateLine;  // as the window shows it
        int minutes;           // and its time there
    } cases[] = {
        // clang-format off
        // 00:30 BST on 16 July is 23:30 on Dover's table of 15 July; an hour later it is 16 July.
        {"Europe/London", "UK.hc", 77, false, utc(7, 15, 23, 30), DateSerial(2026, 7, 15), "15 July 2026 (Wednesday)", 23 * 60 + 30},
        {"Europe/London", "UK.hc", 77, false, utc(7, 16, 0, 30),  DateSerial(2026, 7, 16), "16 July 2026 (Thursday)", 30},
        // 00:30 in Paris on 16 July is 22:30 on Dover's table of 15 July.
        {"Europe/Paris", "UK.hc", 77, false, utc(7, 15, 22, 30), DateSerial(2026, 7, 15), "15 July 2026 (Wednesday)", 22 * 60 + 30},
        {"Europe/Paris", "UK.hc", 77, false, utc(7, 16, 0, 10),  DateSerial(2026, 7, 16), "16 July 2026 (Thursday)", 10},
        // 23:30 UTC on 15 January is 00:30 on Brest's table of 16 January.
        {"UTC", "France.hc", 13, false, utc(1, 15, 23, 30), DateSerial(2026, 1, 16), "16 January 2026 (Friday)", 30},
        {"UTC", "France.hc", 13, false, utc(1, 15, 22, 40), DateSerial(2026, 1, 15), "15 January 2026 (Thursday)", 23 * 60 + 40},
        // The summer option on: Brest's adjusted table is UTC+2, Dover's UTC+1.
        {"UTC", "France.hc", 13, true, utc(7, 15, 22, 30), DateSerial(2026, 7, 16), "16 July 2026 (Thursday)", 30},
        {"UTC", "France.hc", 13, true, utc(7, 15, 21, 40), DateSerial(2026, 7, 15), "15 July 2026 (Wednesday)", 23 * 60 + 40},
        {"Europe/London", "UK.hc", 77, true, utc(7, 15, 23, 30), DateSerial(2026, 7, 16), "16 July 2026 (Thursday)", 30},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.zone << " " << c.area << " " << c.port << " " << c.dateLine << " "
                     << HoursToHHMM(c.minutes / 60.0) << " summer time " << c.summerTime);
        setClock(c.zone, c.utc);
        frmtidewyn& w = startOn(c.area, c.port, c.summerTime);
        EXPECT_EQ(w.tidedatebox->Caption(), std::string("Date   : ") + c.dateLine);
        const double day = c.date;
        const std::string title =
            "Tidewyn Vizoz   (v9.5.0)     [Time Now " + HoursToHHMM(c.minutes / 60.0) +
            " : Height = " + heightOnTable(programFolder() + "/" + c.area, c.port, day, c.minutes) + "M. : ";
        EXPECT_EQ(w.Caption().rfind(title, 0), 0u) << w.Caption();
        expectReadOutAt(w, c.minutes);

        // Another day shown, after the moment's day and before it: the title still reads the
        // moment, the now-line is not drawn, and the title leaves the shown day's curve alone.
        for (double shownDay : {day + 1, day - 1}) {
            if (shownDay > day) w.Nextday_Click();
            else {
                w.Previousday_Click();
                w.Previousday_Click();
            }
            ASSERT_EQ(Int(State().SelectedDate), shownDay);
            const CurveTable shown = State().DayCurve;
            w.Timer2_Timer();
            EXPECT_EQ(w.Caption().rfind(title, 0), 0u) << w.Caption();
            EXPECT_FALSE(AnyRedLine(*w.Picture1));
            EXPECT_TRUE(testing_support::SameCurve(State().DayCurve, shown));
            EXPECT_EQ(State().CurvePoints, 147);
        }
        w.Nextday_Click();
        ASSERT_EQ(Int(State().SelectedDate), day);
        expectReadOutAt(w, c.minutes);
        EXPECT_TRUE(dialogs->messages.empty());
        restart();
    }
}
