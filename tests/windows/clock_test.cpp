// The clock's moment read on the port's table: the title's "Time Now", the read-out at the load
// and the red line, whatever zone the computer keeps.
#include <filesystem>
#include <string>

#include "engine/dayview.h"
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
// port); the title reads the clock afresh each minute.
TEST_F(Clock, TheReadOutFollowsTheDayAndThePortShown) {
    setClock("Europe/London", DateSerial(2025, 7, 1) + TimeSerial(12, 0, 0));
    frmtidewyn& w = startOn("UK.hc", 77, true);
    expectReadOutAt(w, 13 * 60);

    withModal<Frmtimdat>(w.mnutidedate, [](Frmtimdat& d) {
        d.DTPicker->Pick(DateSerial(2025, 1, 15));
        d.cmdOk->click();
    });
    w.Timer2_Timer();
    {
        SCOPED_TRACE("winter day");
        expectReadOutAt(w, 12 * 60, false);
    }

    now += TimeSerial(0, 25, 0);
    w.Timer2_Timer();
    const SharedState& s = State();
    EXPECT_EQ(w.Caption().rfind("Tidewyn Vizoz   (v9.5.0)     [Time Now 12:25 : Height = " +
                                    Format(s.DayCurve(2, RowOfTime(12 + 25 / 60.0)), "#,#0.0;;;") + "M. : ",
                                0),
              0u)
        << w.Caption();
    EXPECT_EQ(s.TimeNowHours, 12.0);  // the read-out keeps its instant

    now += TimeSerial(0, 5, 0);
    dialogs->fileAnswers.push_back(programFolder() + "/France.hc");
    withModal<frmconfig>(w.mnuArea, [](frmconfig& d) {
        d.txtSearch->TypeText("Brest");
        d.portconfigok->click();
    });
    {
        SCOPED_TRACE("Brest");
        expectReadOutAt(w, 13 * 60 + 30, false);
    }

    now += TimeSerial(0, 10, 0);
    w.mnumonth_Click();
    ASSERT_TRUE(w.monthspredictions->isVisible());
    w.Timer2_Timer();  // the title's next minute
    expectReadOutAt(w, 13 * 60 + 40);
    EXPECT_TRUE(dialogs->messages.empty());
}

// The computer's date opens the window, as the day to show; only the time of day is read on
// the port's table. Just after midnight in Paris, Dover's 23:30 UTC is read on the new day.
TEST_F(Clock, TheWindowOpensOnTheComputersDate) {
    setClock("Europe/Paris", DateSerial(2025, 6, 30) + TimeSerial(23, 30, 0));
    frmtidewyn& w = startOn("UK.hc", 77, false);
    EXPECT_EQ(w.tidedatebox->Caption(), "Date   : 1 July 2025 (Tuesday)");
    expectReadOutAt(w, 23 * 60 + 30);
}
