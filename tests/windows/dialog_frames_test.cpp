// The dialogs' frames: each keeps its design size and cannot be maximised, except the port
// dialog, which grows with its port list; every window opens within the screen.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <functional>

#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"
#include "window_support.h"

using namespace platform;

namespace {
// The user drags the window's edge out by (dx, dy) pixels.
void drag(Form& f, int dx, int dy) {
    f.resize(f.width() + dx, f.height() + dy);
    QCoreApplication::processEvents();
}

QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }
}  // namespace

class DialogFrames : public testing_support::WindowTest {
protected:
    // Opens dialog T from `menu` and hands it to `check`; then closes it by its close box.
    template <typename T>
    void look(MenuItem& menu, const std::function<void(T&)>& check) {
        withModal<T>(menu, [&](T& d) {
            check(d);
            d.close();
        });
    }
};

TEST_F(DialogFrames, FixedDialogsKeepTheirSizeAndHaveNoMaximiseButton) {
    frmtidewyn& main = open();
    auto expectFixed = [](Form& d) {
        SCOPED_TRACE(d.Caption());
        EXPECT_EQ(d.GetBorderStyle(), Form::BorderStyle::Fixed);
        EXPECT_FALSE(d.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
        const QSize design = d.size();
        drag(d, 120, 80);
        EXPECT_EQ(d.size(), design);
    };
    look<Frmtimdat>(main.mnutidedate, expectFixed);
    look<frmChartdepth>(main.mnuchartdepth, expectFixed);
    look<frmoutoptions>(main.mnuoutputoptions, expectFixed);
    look<frmshowconf>(main.Mnushowconfig, expectFixed);
}

TEST_F(DialogFrames, ConditionsWindowIsFixedToo) {
    frmCopyright& start = Get<frmCopyright>();
    const QSize design = start.size();
    drag(start, 100, 100);
    EXPECT_EQ(start.size(), design);
    EXPECT_FALSE(start.windowFlags() & Qt::WindowMaximizeButtonHint);
}

// The list takes the room the dialog gains; the search button and the column right of the list
// keep to its right edge, OK and Cancel to its foot, the hint below it.
TEST_F(DialogFrames, PortDialogGrowsWithItsList) {
    frmtidewyn& main = open();
    look<frmconfig>(main.mnuPortList, [](frmconfig& d) {
        EXPECT_EQ(d.GetBorderStyle(), Form::BorderStyle::Sizable);
        QCoreApplication::processEvents();
        const QSize design = d.size();
        const QRect list = d.portlist2->geometry();
        const int gapRight = d.Frame1->x() - list.right(), gapBelow = d.lblhint->y() - list.bottom();
        const int okAbove = list.bottom() - d.portconfigok->geometry().bottom();
        const int searchGap = d.cmdSearch->x() - d.txtSearch->geometry().right();

        drag(d, 240, 150);
        EXPECT_EQ(d.portlist2->geometry(), list.adjusted(0, 0, 240, 150));
        EXPECT_EQ(d.txtSearch->width(), list.width() + 240);
        EXPECT_EQ(d.cmdSearch->x() - d.txtSearch->geometry().right(), searchGap);
        for (QWidget* right : {static_cast<QWidget*>(d.Frame1), static_cast<QWidget*>(d.confselectedport),
                               static_cast<QWidget*>(d.portconfigbox), static_cast<QWidget*>(d.portconfigok)})
            EXPECT_EQ(right->x() - d.portlist2->geometry().right(), gapRight);
        EXPECT_EQ(d.portlist2->geometry().bottom() - d.portconfigok->geometry().bottom(), okAbove);
        EXPECT_EQ(d.portconfigcancel->y(), d.portconfigok->y());
        EXPECT_EQ(d.lblhint->y() - d.portlist2->geometry().bottom(), gapBelow);
        EXPECT_EQ(d.lblhint->width(), d.Label1->width());
        for (QWidget* w : d.Client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(d.Client()->rect().contains(w->geometry())) << w->metaObject()->className();
        }

        // Never smaller than designed.
        drag(d, -600, -600);
        EXPECT_EQ(d.size(), design);
        EXPECT_EQ(d.portlist2->geometry(), list);
    });
}

// The main window moved to the screen's corner: its dialogs, centred on it, stay on the screen;
// the manual viewer fills the screen's available area.
TEST_F(DialogFrames, WindowsOpenWithinTheScreen) {
    EXPECT_TRUE(available().contains(Get<frmCopyright>().frameGeometry()));
    frmtidewyn& main = open();
    main.move(available().right() - 100, available().bottom() - 100);
    auto within = [](Form& d) { EXPECT_TRUE(available().contains(d.frameGeometry())) << d.Caption(); };
    look<Frmtimdat>(main.mnutidedate, within);
    look<frmconfig>(main.mnuPortList, within);
    look<frmChartdepth>(main.mnuchartdepth, within);
    look<frmoutoptions>(main.mnuoutputoptions, within);
    look<frmshowconf>(main.Mnushowconfig, within);

    main.mnuHelp.Click();
    frmPDFReader& viewer = Get<frmPDFReader>();
    EXPECT_TRUE(viewer.isMaximized());  // the window manager fits the frame
    EXPECT_EQ(viewer.pos(), available().topLeft());
    EXPECT_EQ(viewer.width(), available().width());
}
