// The main window's layout: every text whole, and a window that grows.
#include <QCheckBox>
#include <QLabel>
#include <algorithm>

#include "engine/state.h"
#include "mainwindow/frmtidewyn.h"
#include "text_fit.h"
#include "window_support.h"

using namespace engine;
using namespace platform;

class Layout : public testing_support::WindowTest {
protected:
    // Avonmouth, where the range passes 10 m, with draught, clearance and a user depth that
    // make the read-out line as long as it gets.
    frmtidewyn& openOnAvonmouth() {
        storeSettings([](SettingsRecord& r) {
            r.PortIndex = 43;
            r.Draught = 2.35f;
            r.KeelClearance = 0.75f;
        });
        frmtidewyn& w = open();
        EXPECT_EQ(State().PortName, "Avonmouth");
        State().UserDepth = -12.5;
        w.DrawTideCurve();
        return w;
    }
    // The time of the day's steepest rise or fall, where the rate has two digits before the point.
    static double steepest() {
        const SharedState& s = State();
        int best = 1;
        for (int r = 1; r < s.CurvePoints - 1; ++r)
            if (std::abs(s.DayCurve(2, r + 1) - s.DayCurve(2, r)) >
                std::abs(s.DayCurve(2, best + 1) - s.DayCurve(2, best)))
                best = r;
        return s.DayCurve(1, best);
    }
};

TEST_F(Layout, EveryTextIsWholeInTheCurveAndLayersViews) {
    for (const char* locale : {"en_GB", "de_DE"}) {
        SCOPED_TRACE(locale);
        UseLocale(locale);
        frmtidewyn& w = openOnAvonmouth();
        w.Picture1_MouseMove(0, 0, steepest(), 0);
        EXPECT_NE(w.lblrate->Caption().find("User depth=-12"), std::string::npos) << w.lblrate->Caption();
        EXPECT_EQ(testing_support::TextsCutOff(w), std::vector<std::string>{});
        w.mnumonth_Click();
        EXPECT_TRUE(w.monthspredictions->isVisible());
        EXPECT_EQ(testing_support::TextsCutOff(w), std::vector<std::string>{});

        // The layers view with the port's constants, read at the same time.
        w.mnuLayersShow_Click();
        w.Label1_DblClick();
        w.RecomputeDay();
        w.Picture1_MouseMove(0, 0, steepest(), 0);
        EXPECT_FALSE(w.lblm2Harm->Caption().empty());
        EXPECT_EQ(testing_support::TextsCutOff(w), std::vector<std::string>{});
        restart();
    }
}

TEST_F(Layout, ConstantsOfTenMetresAndMoreFit) {
    frmtidewyn& w = open();
    w.showlevelcontrols();
    w.ShowConstants({" (Z0 10.25)", " (g 359 : Hm 10.25)", " (g 359 : Hm 10.25)", " (g 359 : Hm 10.25)",
                     " (g 359 : Hm 10.25)", " (f4 359 : F4 10.25)", " (f6 359 : F6 10.25)"});
    w.lblHtZ0->SetCaption("-6.804491");
    for (Label* l : {w.lblHtM2, w.lblHtS2, w.lblHtK1, w.lblHtO1, w.lblHtf4, w.lblHtf6, w.lblSumHt})
        l->SetCaption("-10.25");
    w.daystide1->SetCaption("  Predictions\r\n   (Range 12.8M)\r\n\r\n   Time    Ht.\r\n   23:50   13.2\r");
    EXPECT_EQ(testing_support::TextsCutOff(w), std::vector<std::string>{});
}

TEST_F(Layout, AResizeLaysOutTheWindowAgainAndTheExtraHeightGoesToThePicture) {
    frmtidewyn& w = open();
    struct Kept {
        QWidget* control;
        int top;
    };
    std::vector<Kept> below;
    for (QWidget* c : std::initializer_list<QWidget*>{w.pctSpringsStatus, w.lblSprings, w.lblNeap, w.Nextday,
                                                      w.Previousday, w.disclaimer})
        below.push_back({c, c->y()});
    const int pictureHeight = w.Picture1->height();
    const double scaleTop = State().ScaleTop;
    const size_t drawn = w.Picture1->PersistentCommands().size();

    // Nothing is read for a resize: a file that can no longer be read is not noticed.
    SetReadFault([](const std::string&) { return EIO; });
    w.SetWidth(2 * 9720);
    w.SetHeight(w.Height() + 1500);
    QCoreApplication::processEvents();
    ASSERT_EQ(w.Width(), 2 * 9720);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(w.Picture1->PersistentCommands().size(), drawn);
    EXPECT_EQ(State().ScaleTop, scaleTop);

    const int W = w.Width(), m1 = W / 100, m2 = W / 50;
    const int R = LeftOf(w.Picture1) + WidthOf(w.Picture1);
    struct Expected {
        const char* name;
        QWidget* control;
        int left, width = -1, top = -1, height = -1;  // twips; -1: not set by the layout
    };
    const Expected table[] = {
        {"portbox", w.portbox, m1},
        {"tidedatebox", w.tidedatebox, m1},
        {"timelabel", w.timelabel, m1},
        {"hitelabel", w.hitelabel, m1},
        {"daystide1", w.daystide1, m1},
        {"Nextday", w.Nextday, m1},
        {"Previousday", w.Previousday, m1},
        {"timeval", w.timeval, m1 + WidthOf(w.timelabel)},
        {"lblmousestatus", w.lblmousestatus, LeftOf(w.timeval) + WidthOf(w.timeval) + 2 * m1},
        {"lblrate", w.lblrate, LeftOf(w.lblmousestatus), W - LeftOf(w.lblmousestatus) - m1},
        {"hiteval", w.hiteval, LeftOf(w.hitelabel) + WidthOf(w.hitelabel)},
        {"Picture1", w.Picture1, LeftOf(w.daystide1) + WidthOf(w.daystide1), W * 115 / 190},
        {"monthspredictions", w.monthspredictions, R + m2, -1, TopOf(w.tidedatebox),
         TopOf(w.Picture1) + HeightOf(w.Picture1) - TopOf(w.tidedatebox)},
        {"Label1", w.Label1, R, -1, TopOf(w.Picture1) - HeightOf(w.Label1)},
        {"Label3", w.Label3, LeftOf(w.Label1) + WidthOf(w.Label1), -1, TopOf(w.Label1)},
        {"chkZ0", w.chkZ0, R + m2},
        {"chkM2", w.chkM2, R + m2},
        {"chkS2", w.chkS2, R + m2},
        {"chkK1", w.chkK1, R + m2},
        {"chkO1", w.chkO1, R + m2},
        {"chkf4", w.chkf4, R + m2},
        {"chkf6", w.chkf6, R + m2},
        {"lblSum", w.lblSum, R + m2, WidthOf(w.chkf6)},
        {"lblHtZ0", w.lblHtZ0, LeftOf(w.chkZ0) + WidthOf(w.chkZ0)},
        {"lblHtM2", w.lblHtM2, LeftOf(w.chkM2) + WidthOf(w.chkM2)},
        {"lblHtS2", w.lblHtS2, LeftOf(w.lblHtM2)},
        {"lblHtK1", w.lblHtK1, LeftOf(w.lblHtM2)},
        {"lblHtO1", w.lblHtO1, LeftOf(w.lblHtM2)},
        {"lblHtf4", w.lblHtf4, LeftOf(w.lblHtM2)},
        {"lblHtf6", w.lblHtf6, LeftOf(w.lblHtM2)},
        {"lblSumHt", w.lblSumHt, LeftOf(w.lblHtM2), WidthOf(w.lblHtf6)},
        {"lblZ0harm", w.lblZ0harm, R + m2, WidthOf(w.lblHtZ0) + WidthOf(w.chkZ0)},
        {"lblm2Harm", w.lblm2Harm, R + m2, WidthOf(w.lblZ0harm)},
        {"lblS2Harm", w.lblS2Harm, R + m2, WidthOf(w.lblZ0harm)},
        {"lblK1Harm", w.lblK1Harm, R + m2, WidthOf(w.lblZ0harm)},
        {"lblO1Harm", w.lblO1Harm, R + m2, WidthOf(w.lblZ0harm)},
        {"lblf4Harm", w.lblf4Harm, R + m2, WidthOf(w.lblZ0harm)},
        {"lblf6Harm", w.lblf6Harm, R + m2, WidthOf(w.lblZ0harm)},
        {"pctSpringsStatus", w.pctSpringsStatus, LeftOf(w.Picture1), WidthOf(w.Picture1)},
        {"lblSprings", w.lblSprings, LeftOf(w.Picture1)},
        {"lblNeap", w.lblNeap, R - WidthOf(w.lblNeap)},
    };
    // One pixel either way: each value passes through whole pixels once more than its formula.
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        EXPECT_NEAR(e.control->x(), ToPixels(e.left), 1);
        if (e.width >= 0) {
            EXPECT_NEAR(e.control->width(), ToPixels(e.width), 1);
        }
        if (e.top >= 0) {
            EXPECT_NEAR(e.control->y(), ToPixels(e.top), 1);
        }
        if (e.height >= 0) {
            EXPECT_NEAR(e.control->height(), ToPixels(e.height), 1);
        }
    }
    // The picture takes the 100 pixels of extra height, and what stands under it moves down.
    EXPECT_EQ(w.Picture1->height(), pictureHeight + 100);
    for (const Kept& k : below)
        EXPECT_EQ(k.control->y(), k.top + 100) << k.control->metaObject()->className();

    // The hour labels are drawn again under the picture's new place.
    const auto& labels = w.Surface().PersistentCommands();
    auto noon =
        std::find_if(labels.begin(), labels.end(), [](const DrawCommand& c) { return c.text == "12:00"; });
    ASSERT_NE(noon, labels.end());
    EXPECT_NEAR(noon->x1, LeftOf(w.Picture1) + 4 * WidthOf(w.Picture1) / 8.0 - 200, 1e-9);
    EXPECT_NEAR(noon->y1, TopOf(w.Picture1) + HeightOf(w.Picture1) + 5, 1e-9);
    EXPECT_EQ(
        std::count_if(labels.begin(), labels.end(), [](const DrawCommand& c) { return c.text == "12:00"; }),
        1);

    // The design size is the smallest; a month shown in the larger window keeps to the edge of
    // the smaller one.
    SetReadFault({});
    w.mnumonth_Click();
    ASSERT_GT(w.monthspredictions->ListCount(), 10);
    w.SetWidth(6000);
    w.SetHeight(5000);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.width(), ToPixels(9720));
    EXPECT_EQ(w.height(), ToPixels(7400));
    EXPECT_EQ(w.Picture1->height(), pictureHeight);
    EXPECT_EQ(testing_support::TextsCutOff(w), std::vector<std::string>{});
}
