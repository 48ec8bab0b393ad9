// Esc and Enter in each dialog, pressed as the keyboard presses them: Esc is the dialog's
// Cancel or Exit, Enter its O.K. (the picker's OK in the picker, "Search" in the port search
// box); the conditions window has no Cancel and takes neither key.
#include <QCalendarWidget>
#include <cmath>
#include <functional>

#include "adjustment/frmselectport.h"
#include "engine/currentport.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"
#include "platform/controls.h"
#include "portpicker_support.h"
#include "window_support.h"

using namespace engine;
using testing_support::ReadAll;
using namespace platform;

class DialogKeys : public testing_support::WindowTest {
protected:
    // Opens dialog T from `menu`; `prepare` acts in it and names the control that takes `key`.
    // Tells whether the key closed the dialog; a dialog left open is shown to `stillOpen`, then
    // closed by its close box, which runs none of its buttons.
    template <typename T>
    bool press(MenuItem& menu, int key, Qt::KeyboardModifiers modifiers,
               const std::function<QWidget*(T&)>& prepare, const std::function<void(T&)>& stillOpen = {}) {
        bool closed = false, shown = false;
        SetModalRunner([&](Form& f) {
            shown = true;
            T& d = dynamic_cast<T&>(f);
            PressKey(*prepare(d), key, modifiers);
            closed = !IsLoaded<T>();
            if (closed) return;
            if (stillOpen) stillOpen(d);
            d.close();
        });
        menu.Click();
        SetModalRunner({});
        EXPECT_TRUE(shown);
        return closed;
    }
    SettingsRecord stored() {
        SettingsRecord r;
        EXPECT_TRUE(ReadSettingsFile(r).ok());
        return r;
    }
};

// Today is 5 March 2024; the main window shows 7 March when the dialog opens.
TEST_F(DialogKeys, DateDialog) {
    const double today = DateSerial(2024, 3, 5), shown = DateSerial(2024, 3, 7),
                 picked = DateSerial(2030, 1, 2);
    struct Case {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool inPicker;
        bool closes;
        double date;  // the main window's date afterwards
    } cases[] = {
        {"Esc in the lists: Cancel", Qt::Key_Escape, Qt::NoModifier, false, true, shown},
        {"Enter in the lists: the list date", Qt::Key_Return, Qt::NoModifier, false, true, today},
        {"keypad Enter in the lists", Qt::Key_Enter, Qt::KeypadModifier, false, true, today},
        {"Enter in the picker: the picker's date", Qt::Key_Return, Qt::NoModifier, true, true, picked},
        {"Esc in the picker: Cancel", Qt::Key_Escape, Qt::NoModifier, true, true, shown},
    };
    frmtidewyn& w = open();
    w.Nextday->click();
    w.Nextday->click();
    for (const Case& c : cases) {
        ASSERT_EQ(std::floor(State().SelectedDate), shown);
        const bool closed =
            press<Frmtimdat>(w.mnutidedate, c.key, c.modifiers, [&](Frmtimdat& d) -> QWidget* {
                d.DTPicker->Pick(picked);
                return c.inPicker ? static_cast<QWidget*>(d.DTPicker) : d.monthlist;
            });
        EXPECT_EQ(closed, c.closes) << c.what;
        EXPECT_EQ(std::floor(State().SelectedDate), c.date) << c.what;
        SetSelectedDate(shown);
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

// Esc in the drop-down calendar closes the calendar only.
TEST_F(DialogKeys, EscInTheDatePickersCalendarClosesOnlyTheCalendar) {
    frmtidewyn& w = open();
    bool dropped = false;
    EXPECT_FALSE(press<Frmtimdat>(
        w.mnutidedate, Qt::Key_Escape, Qt::NoModifier,
        [&](Frmtimdat& d) -> QWidget* {
            d.DTPicker->DropDown();
            dropped = d.DTPicker->DroppedDown();
            return d.DTPicker->calendarWidget()->window();
        },
        [](Frmtimdat& d) { EXPECT_FALSE(d.DTPicker->DroppedDown()); }));
    EXPECT_TRUE(dropped);
}

TEST_F(DialogKeys, PortDialog) {
    frmtidewyn& w = open();
    const std::string before = ReadAll(settingsPath());

    // Esc: Cancel, whatever is selected.
    EXPECT_TRUE(press<frmconfig>(w.mnuPortList, Qt::Key_Escape, Qt::NoModifier, [](frmconfig& d) -> QWidget* {
        d.txtSearch->TypeText("Deal");
        return d.portlist2;
    }));
    EXPECT_EQ(State().CurrentPort, 77);
    EXPECT_EQ(ReadAll(settingsPath()), before);

    // Enter in the search box: the next port holding the text, and the dialog stays open.
    for (auto [key, modifiers] :
         {std::pair{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}}) {
        int first = -1;
        EXPECT_FALSE(press<frmconfig>(
            w.mnuPortList, key, modifiers,
            [&](frmconfig& d) -> QWidget* {
                d.txtSearch->TypeText("port");
                first = d.portlist2->ListIndex();
                return d.txtSearch;
            },
            [&](frmconfig& d) {
                EXPECT_GE(first, 0);
                EXPECT_EQ(d.portlist2->ListIndex(), d.LastFoundIndex);
                EXPECT_GT(d.LastFoundIndex, first);
                EXPECT_NE(d.portlist2->Text().find("port"), std::string::npos);
            }));
    }
    EXPECT_EQ(ReadAll(settingsPath()), before);
    EXPECT_TRUE(dialogs->messages.empty());

    // Enter in the list: OK, for the port selected.
    long deal = 0;
    EXPECT_TRUE(
        press<frmconfig>(w.mnuPortList, Qt::Key_Return, Qt::NoModifier, [&](frmconfig& d) -> QWidget* {
            d.txtSearch->TypeText("Deal");
            deal = d.portlist2->ItemData(d.portlist2->ListIndex());
            return d.portlist2;
        }));
    EXPECT_NE(deal, 77);
    EXPECT_EQ(State().CurrentPort, deal);
    EXPECT_EQ(w.portbox->Caption(), "Port    : " + State().PortName);
    EXPECT_EQ(stored().PortIndex, static_cast<float>(deal));
}

// The port picker, shown as its opener shows it: Esc after a click is "Cancel", which also
// switches the main menus back on.
TEST_F(DialogKeys, PortPickerCancelsOnEsc) {
    frmtidewyn& w = open();
    frmselectport& d = testing_support::OpenPortPicker();
    testing_support::ClickLine(d.portlist, 2);
    w.mnutides.SetEnabled(false);
    PressKey(*d.portlist, Qt::Key_Escape);
    EXPECT_FALSE(IsLoaded<frmselectport>());
    EXPECT_TRUE(w.mnutides.Enabled());
    EXPECT_EQ(State().CurrentPort, 77);
    EXPECT_EQ(w.portbox->Caption(), "Port    : Dover");
}

TEST_F(DialogKeys, DepthDialog) {
    frmtidewyn& w = open();
    // Enter in the depth box is "Enter": it stores, and the dialog stays; in the notes it
    // starts a new line.
    EXPECT_FALSE(press<frmChartdepth>(w.mnuchartdepth, Qt::Key_Return, Qt::NoModifier,
                                      [](frmChartdepth& d) -> QWidget* {
                                          d.depth->SetText("2.5");
                                          d.usernotes->SetText("Bar");
                                          return d.depth;
                                      }));
    DepthRecord r;
    ASSERT_TRUE(ReadDepthRecord(depthPath(), 77, r).ok());
    EXPECT_EQ(r.ChartedDepth, 2.5f);
    EXPECT_EQ(Trim(r.Notes), "Bar");
    EXPECT_EQ(State().UserDepth, 0.0f);  // the close box recomputes nothing

    EXPECT_FALSE(press<frmChartdepth>(
        w.mnuchartdepth, Qt::Key_Return, Qt::NoModifier,
        [](frmChartdepth& d) -> QWidget* {
            d.usernotes->moveCursor(QTextCursor::End);
            return d.usernotes;
        },
        [](frmChartdepth& d) { EXPECT_EQ(d.usernotes->Text(), "Bar\n"); }));

    // Esc is "Exit": the day is recomputed with the depth stored.
    EXPECT_TRUE(press<frmChartdepth>(w.mnuchartdepth, Qt::Key_Escape, Qt::NoModifier,
                                     [](frmChartdepth& d) -> QWidget* { return d.List1; }));
    EXPECT_EQ(State().UserDepth, 2.5f);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(DialogKeys, SettingsDialog) {
    struct Case {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool onOption;  // else on the draught box
        float draught;  // stored afterwards
    } cases[] = {
        {"Esc: Cancel", Qt::Key_Escape, Qt::NoModifier, false, 0.5f},
        {"Enter in the draught box: O.K.", Qt::Key_Return, Qt::NoModifier, false, 1.5f},
        {"keypad Enter on an option: O.K.", Qt::Key_Enter, Qt::KeypadModifier, true, 1.5f},
    };
    frmtidewyn& w = open();
    for (const Case& c : cases) {
        ASSERT_TRUE(UpdateSettingsFile([](SettingsRecord& r) { r.Draught = 0.5f; }).ok());
        EXPECT_TRUE(press<frmoutoptions>(w.mnuoutputoptions, c.key, c.modifiers,
                                         [&](frmoutoptions& d) -> QWidget* {
                                             d.draughttext->SetText("1.5");
                                             return c.onOption ? static_cast<QWidget*>(d.Option2)
                                                               : d.draughttext;
                                         }))
            << c.what;
        EXPECT_EQ(stored().Draught, c.draught) << c.what;
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(DialogKeys, ShowConfigurationClosesOnEscAndOnEnter) {
    frmtidewyn& w = open();
    for (int key : {Qt::Key_Escape, Qt::Key_Return})
        EXPECT_TRUE(press<frmshowconf>(w.Mnushowconfig, key, Qt::NoModifier, [](frmshowconf& d) -> QWidget* {
            return d.confportlist;
        })) << key;
}

// No Cancel, no O.K.: the conditions are neither declined nor accepted by a key.
TEST_F(DialogKeys, ConditionsWindowTakesNeitherEscNorEnter) {
    frmCopyright& start = Get<frmCopyright>();
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        PressKey(*start.List1, key);
        PressKey(start, key);
    }
    EXPECT_FALSE(ProgramEnding());
    EXPECT_TRUE(IsLoaded<frmCopyright>());
    EXPECT_TRUE(start.isVisible());
    EXPECT_FALSE(IsLoaded<frmtidewyn>());
}
