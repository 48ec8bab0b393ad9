// The semantics of the desktop layer that the windows rely on.
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/localecheck.h"
#include "engine/state.h"
#include "engine/test_support.h"
#include "list_support.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/picturebox.h"

using namespace platform;
using testing_support::ListLines;

TEST(PlatformControls, LabelCaptionsBreakAtCrLfCrAndLf) {
    Label label(nullptr);
    label.SetCaption("  Predictions\r\n   (Range 4.1M)\r\n\r\n07:12   5.3\r18:00   0.9\nend");
    EXPECT_EQ(label.text().toStdString(), "  Predictions\n   (Range 4.1M)\n\n07:12   5.3\n18:00   0.9\nend");
    EXPECT_EQ(label.Caption(), "  Predictions\r\n   (Range 4.1M)\r\n\r\n07:12   5.3\r18:00   0.9\nend");
}

TEST(PlatformControls, ListBoxClickFiresWhenCodeSelects) {
    ListBox list(nullptr);
    for (const char* s : {"Dover", "Deal", "Folkestone"}) list.AddItem(s);
    QSignalSpy clicks(&list, &ListBox::Click);
    list.SetListIndex(2);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.Text(), "Folkestone");
    list.SetListIndex(0);
    EXPECT_EQ(clicks.count(), 2);
    list.Clear();  // clearing is not a click
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.Text(), "");

    // Taking the focus chooses nothing.
    ListBox fresh(nullptr);
    for (const char* name : {"Dover", "Deal"}) fresh.AddItem(name);
    QSignalSpy freshClicks(&fresh, &ListBox::Click);
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fresh));
    fresh.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(fresh.ListIndex(), -1);
    EXPECT_EQ(freshClicks.count(), 0);

    // A mouse click is one Click, on a new line and on the line already selected.
    for (int row : {1, 1, 0}) testing_support::ClickLine(&fresh, row);
    EXPECT_EQ(freshClicks.count(), 3);
    EXPECT_EQ(fresh.ListIndex(), 0);
}

TEST(PlatformControls, CheckAndOptionClicksFireWhenSetInCode) {
    CheckBox check(nullptr, "M2");
    QSignalSpy clicks(&check, &CheckBox::Click);
    check.SetValue(1);
    EXPECT_EQ(check.Value(), 1);
    check.SetValue(1);  // no change, no click
    check.SetValue(2);
    EXPECT_EQ(check.Value(), 2);
    check.SetValue(0);
    EXPECT_EQ(clicks.count(), 3);

    QWidget group;
    OptionButton a(&group, "a"), b(&group, "b");
    QSignalSpy aClicks(&a, &OptionButton::Click), bClicks(&b, &OptionButton::Click);
    b.SetValue(true);
    a.SetValue(true);
    EXPECT_EQ(bClicks.count(), 1);
    EXPECT_EQ(aClicks.count(), 1);
    EXPECT_FALSE(b.Value());
}

TEST(PlatformControls, TextBoxKeyHookDropsBeepsReplacesAndGuardsPaste) {
    TextBox box(nullptr);
    box.SetKeyPress([](int& key) {
        if (key == 'n' || key == 's') key = key - 'a' + 'A';  // hemisphere letters to capitals
        else if (key == 'N' || key == 'S') return;
        else if (!(key >= '0' && key <= '9') && key != '.' && key != 8) key = 0;
    });
    int beeps = BeepCount();
    QTest::keyClicks(&box, "50.3x0n");
    EXPECT_EQ(box.Text(), "50.30N");
    EXPECT_EQ(BeepCount(), beeps + 1);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.Text(), "50.30");

    QApplication::clipboard()->setText("12s");
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), "50.3012S");
    QApplication::clipboard()->setText("1;2s");  // refused whole, not pasted as "12S"
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), "50.3012S");
    EXPECT_EQ(BeepCount(), beeps + 2);
}

namespace {
// A position box's hook: digits, the point and comma, and N (n made N).
void positionHook(int& key) {
    if (key == 'n') key = 'N';
    else if (!(key >= '0' && key <= '9') && key != '.' && key != ',' && key != 'N' && key != 8) key = 0;
}

// Each text inserted at the end of "1" by one way, and what the box then holds.
void expectFilteredInsertion(TextBox& box, const std::function<void(const QString&)>& insert) {
    struct Case {
        const char* text;
        const char* result;
        int beeps;
    } cases[] = {
        {"2,5n", "12,5N", 0},
        {"1e30", "1", 1},
        {"-50.30N", "1", 1},
        {"abc;E", "1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        box.SetText("1");
        box.setCursorPosition(1);
        const int before = BeepCount();
        insert(QString::fromUtf8(c.text));
        EXPECT_EQ(box.Text(), c.result);
        EXPECT_EQ(BeepCount() - before, c.beeps);
    }
}
}  // namespace

// Text that enters a filtered box by any way but a key goes through its hook, and is refused
// whole when the hook drops any of its characters.
TEST(PlatformControls, TextBoxFiltersPasteDropAndInputMethod) {
    TextBox box(nullptr);
    box.resize(200, 30);
    box.SetKeyPress(positionHook);
    {
        SCOPED_TRACE("clipboard");
        expectFilteredInsertion(box, [&](const QString& t) {
            QApplication::clipboard()->setText(t);
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        });
    }
    {
        SCOPED_TRACE("drop");
        expectFilteredInsertion(box, [&](const QString& t) {
            QMimeData mime;
            mime.setText(t);
            QDragEnterEvent enter(QPoint(190, 15), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&box, &enter);
            QDropEvent drop(QPointF(190, 15), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&box, &drop);
        });
    }
    {
        SCOPED_TRACE("input method");
        expectFilteredInsertion(box, [&](const QString& t) {
            QInputMethodEvent commit;
            commit.setCommitString(t);
            QApplication::sendEvent(&box, &commit);
        });
    }
}

// The selection that the middle button pastes on X11 (run under a virtual X display as its own
// test entry; other platforms have no selection).
TEST(PlatformControls, TextBoxFiltersTheMiddleButtonsSelection) {
    if (!QApplication::clipboard()->supportsSelection()) GTEST_SKIP() << "no selection on this platform";
    QWidget window;
    TextBox box(&window);
    box.resize(200, 30);
    box.SetKeyPress(positionHook);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    expectFilteredInsertion(box, [&](const QString& t) {
        QApplication::clipboard()->setText(t, QClipboard::Selection);
        QTRY_COMPARE(QApplication::clipboard()->text(QClipboard::Selection), t);
        QTest::mouseClick(&box, Qt::MiddleButton, Qt::NoModifier, QPoint(190, 15));
    });
}

// In the control-key mode Enter and the Ctrl letters reach the hook as their codes; what the
// hook keeps does what it does in any box, what it drops beeps. Esc is never the hook's.
TEST(PlatformControls, TextBoxControlKeysReachTheHook) {
    TextBox box(nullptr);
    std::vector<int> heard;
    bool keepControls = false;
    box.SetKeyPress([&](int& key) {
        heard.push_back(key);
        if (key < ' ' && key != 8 && !keepControls) key = 0;
    });
    QSignalSpy entered(&box, &QLineEdit::returnPressed);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_TRUE(heard.empty());  // by default Enter passes the hook by
    EXPECT_EQ(entered.count(), 1);

    box.SetControlKeys(true);
    heard.clear();
    QApplication::clipboard()->setText("12");
    const int beeps = BeepCount();
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_EQ(heard, (std::vector<int>{13, 22}));
    EXPECT_EQ(box.Text(), "");
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(BeepCount(), beeps + 2);

    keepControls = true;
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);  // kept: pastes through the hook
    EXPECT_EQ(box.Text(), "12");
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);  // kept: selects all
    EXPECT_EQ(box.selectedText(), "12");
}

// LostFocus fires when another control of the window takes the focus, not when another window
// does.
TEST(PlatformControls, TextBoxLostFocusWithinItsWindow) {
    QWidget window, other;
    TextBox first(&window), second(&window);
    TextBox elsewhere(&other);
    QSignalSpy lost(&first, &TextBox::LostFocus);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first.setFocus();
    second.setFocus();
    EXPECT_EQ(lost.count(), 1);
    first.setFocus();
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    elsewhere.setFocus();
    EXPECT_EQ(lost.count(), 1);
}

// A path too long for its label shows its start and end, whole in the tooltip; the caption
// stays the path, and a label wide enough shows it all.
TEST(PlatformControls, LabelElidesALongPathInTheMiddle) {
    const std::string path = "/home/sailor/Documents/TidewynTides/charts/solent/Sample.l20";
    Label label(nullptr);
    label.resize(120, 20);
    label.show();
    label.SetElideMiddle(true);
    label.SetCaption(path);
    const QString shown = label.text();
    EXPECT_LE(label.fontMetrics().horizontalAdvance(shown), label.contentsRect().width());
    EXPECT_TRUE(shown.startsWith("/") && shown.endsWith(".l20") && shown.contains(QChar(0x2026)))
        << shown.toStdString();
    EXPECT_EQ(label.toolTip().toStdString(), path);
    EXPECT_EQ(label.Caption(), path);
    label.resize(label.fontMetrics().horizontalAdvance(QString::fromStdString(path)) + 10, 20);
    EXPECT_EQ(label.text().toStdString(), path);
    EXPECT_TRUE(label.toolTip().isEmpty());
}

// A folder's files by a pattern whatever the case of their names, sorted without regard to
// case, with the names to hide left out; a refresh keeps the selection without a click.
TEST(PlatformControls, FileListBoxListsTheMatchingFiles) {
    testing_support::TempDir folder;
    for (const char* name : {"b.HC", "A.hc", "c.txt", "scratch.hc", "UK.hc.tmp~"})
        std::ofstream(folder.file(name)) << "x";
    std::filesystem::create_directory(folder.file("d.hc"));
    FileListBox list(nullptr);
    QSignalSpy clicks(&list, &ListBox::Click);
    list.SetHidden({"scratch.hc"});
    list.SetPattern("*.hc");
    list.SetPath(folder.path());
    EXPECT_EQ(ListLines(list), (std::vector<std::string>{"A.hc", "b.HC"}));
    list.SetListIndex(1);
    EXPECT_EQ(clicks.count(), 1);
    std::ofstream(folder.file("a0.hc")) << "x";
    list.Refresh();
    EXPECT_EQ(ListLines(list), (std::vector<std::string>{"A.hc", "a0.hc", "b.HC"}));
    EXPECT_EQ(list.FileName(), "b.HC");
    EXPECT_EQ(clicks.count(), 1);
    std::filesystem::remove(folder.file("b.HC"));
    list.Refresh();
    EXPECT_EQ(list.FileName(), "");
}

TEST(PlatformControls, MenusAndTimers) {
    int runs = 0;
    QMenuBar menuBar;
    MenuItem top = AddTopMenu(&menuBar, " &File");
    MenuItem item = AddMenuItem(top, "Copy &Days Sunrise && Sunset Times", [&] { ++runs; });
    item.Click();
    EXPECT_EQ(runs, 1);
    item.SetVisible(false);
    EXPECT_FALSE(item.Visible());
    item.SetChecked(true);
    EXPECT_TRUE(item.Checked());
    EXPECT_EQ(item.Caption(), "Copy &Days Sunrise && Sunset Times");

    int ticks = 0;
    Timer timer(nullptr, 300, [&] { ++ticks; });
    timer.Fire();
    timer.Fire();
    EXPECT_EQ(ticks, 2);
}

// The spinner steps within its limits, never past them, and tells each change once; code sets
// only a new value within the limits.
TEST(PlatformControls, UpDownStepsWithinItsLimits) {
    QWidget window;
    UpDown spin(&window, -2, 3);
    spin.resize(17, 22);
    window.show();
    QSignalSpy changes(&spin, &UpDown::Change);
    EXPECT_EQ(spin.Value(), 0);

    const struct {
        int32_t set, value;
        int changes;
    } setCases[] = {{2, 2, 1}, {2, 2, 1}, {4, 2, 1}, {-3, 2, 1}, {-2, -2, 2}, {3, 3, 3}};
    for (const auto& c : setCases) {
        spin.SetValue(c.set);
        EXPECT_EQ(spin.Value(), c.value) << c.set;
        EXPECT_EQ(changes.count(), c.changes) << c.set;
    }

    // At Max the up arrow does nothing and is greyed; down steps, and so on to Min.
    spin.ClickUp();
    EXPECT_EQ(spin.Value(), 3);
    EXPECT_EQ(changes.count(), 3);
    EXPECT_FALSE(spin.UpArrow()->isEnabled());
    for (int i = 0; i < 7; ++i) spin.ClickDown();
    EXPECT_EQ(spin.Value(), -2);
    EXPECT_EQ(changes.count(), 8);
    EXPECT_FALSE(spin.DownArrow()->isEnabled());
    EXPECT_TRUE(spin.UpArrow()->isEnabled());

    // The mouse on each arrow and the Up and Down keys: one step each.
    changes.clear();
    QTest::mouseClick(spin.UpArrow(), Qt::LeftButton);
    EXPECT_EQ(spin.Value(), -1);
    QTest::mouseClick(spin.DownArrow(), Qt::LeftButton);
    EXPECT_EQ(spin.Value(), -2);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(spin.Value(), -1);
    EXPECT_EQ(changes.count(), 5);
}

TEST(PlatformDialogs, ScriptedMessageBoxesRecordAndAnswer) {
    ScriptedDialogs dialogs;
    dialogs.messageAnswers.push_back(kNo);
    EXPECT_EQ(MsgBox("Print the curve?", kYesNo), kNo);
    EXPECT_EQ(MsgBox("Done", kOkOnly | kInformation, "Tidewyn"), kOk);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "Tidewyn Vizoz");
    EXPECT_EQ(dialogs.messages[1].title, "Tidewyn");
    EXPECT_EQ(dialogs.messages[1].style & 0x70, kInformation);

    dialogs.fileAnswers.push_back(std::string("/tmp/x.txt"));
    EXPECT_EQ(FileDialog({true, "Save", "/tmp", "", "Tables (*.txt)|*.txt", true}),
              std::optional<std::string>("/tmp/x.txt"));
    EXPECT_EQ(FileDialog({}), std::nullopt);
    EXPECT_EQ(dialogs.fileRequests.size(), 2u);
}

// A box shown to the user is wide enough for its title, whatever its text; the text stays.
TEST(PlatformDialogs, MessageBoxIsWideEnoughForItsTitle) {
    struct Case {
        const char *prompt, *title;
    } cases[] = {
        {"Select a port", "Tidewyn"},
        {"OK", ""},  // the program's caption
        {"The ports of the sea area cannot be read.", "Apologies !!"},
        {"A", "Harmonic constants of the port and of the area file in use"},
    };
    for (const Case& c : cases) {
        int width = 0;
        QString text, title;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            width = box->width();
            text = box->text();
            title = box->windowTitle();
            box->accept();
        });
        MsgBox(c.prompt, kOkOnly | kExclamation, c.title);
        EXPECT_EQ(text.toStdString(), c.prompt);
        EXPECT_GE(width, TitleBarWidth(title.toStdString())) << c.title;
    }
}

TEST(PlatformPicture, PersistentAndTemporaryDrawing) {
    PictureBox pic;
    pic.resize(240, 100);
    pic.Scale(0, 5, 24, -1);
    pic.SetAutoRedraw(true);
    pic.Cls();
    pic.Line(0, 0, 24, 0);
    pic.PSet(12, 2, kRed);
    pic.SetAutoRedraw(false);
    pic.Line(6, 5, 6, -1, kRed);  // a cursor line
    EXPECT_EQ(pic.PersistentCommands().size(), 2u);
    ASSERT_EQ(pic.TemporaryCommands().size(), 1u);
    QPoint cursor = pic.ToPixel({6, 2}).toPoint();
    EXPECT_EQ(pic.Snapshot().pixelColor(cursor), QColor(255, 0, 0));

    pic.Cls();  // with AutoRedraw off: the temporary line goes, the persistent image stays
    EXPECT_TRUE(pic.TemporaryCommands().empty());
    EXPECT_EQ(pic.PersistentCommands().size(), 2u);
    EXPECT_EQ(pic.Snapshot().pixelColor(cursor), QColor(255, 255, 255));
    QPoint axis = pic.ToPixel({12, 0}).toPoint();
    EXPECT_EQ(pic.Snapshot().pixelColor(axis), QColor(0, 0, 0));

    pic.SetAutoRedraw(true);
    pic.Cls();  // with AutoRedraw on: everything goes
    EXPECT_TRUE(pic.PersistentCommands().empty());
    EXPECT_EQ(pic.Snapshot().pixelColor(axis), QColor(255, 255, 255));
}

// Lines along the axes lie on whole pixels, the edges included, one pixel wide; sloped lines are
// smoothed; a picture sized while hidden is shown at its new size.
TEST(PlatformPicture, GridOnWholePixelsCurvesSmoothed) {
    PictureBox pic;
    pic.SetBorder(false);
    pic.resize(100, 50);
    pic.Scale(0, 10, 10, 0);
    pic.SetAutoRedraw(true);
    pic.Line(0, 10, 0, 0);    // the left edge
    pic.Line(0, 10, 10, 10);  // the top edge
    pic.Line(5, 10, 5, 0);
    QImage shot = pic.Snapshot();
    EXPECT_EQ(shot.pixelColor(0, 25), QColor(0, 0, 0));
    EXPECT_EQ(shot.pixelColor(50, 0), QColor(0, 0, 0));
    EXPECT_EQ(shot.pixelColor(50, 25), QColor(0, 0, 0));
    EXPECT_EQ(shot.pixelColor(49, 25), QColor(255, 255, 255));
    EXPECT_EQ(shot.pixelColor(51, 25), QColor(255, 255, 255));

    pic.Line(6, 1, 9, 8);
    shot = pic.Snapshot();
    bool smoothed = false;
    for (int x = 60; x < 90; ++x)
        for (int y = 5; y < 45; ++y)
            if (QColor c = shot.pixelColor(x, y); c.red() > 0 && c.red() < 255) smoothed = true;
    EXPECT_TRUE(smoothed);

    pic.resize(200, 80);  // hidden: no resize event comes
    EXPECT_EQ(pic.Snapshot().size(), QSize(200, 80));
    EXPECT_EQ(pic.Snapshot().pixelColor(100, 40), QColor(0, 0, 0));
}

TEST(PlatformPicture, UserScaleMapsMouseAndText) {
    PictureBox pic;
    pic.resize(240, 120);
    pic.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pic));
    pic.Scale(0, 5, 24, -1);
    QPointF p = pic.ToUser({120, 60});
    EXPECT_NEAR(p.x(), 12, 1e-9);
    EXPECT_NEAR(p.y(), 2, 1e-9);
    QSignalSpy moves(&pic, &PictureBox::MouseMove);
    QTest::mouseMove(&pic, QPoint(60, 20));
    ASSERT_EQ(moves.count(), 1);
    EXPECT_NEAR(moves[0][2].toDouble(), 6, 1e-9);
    pic.CurrentX = 1;
    pic.CurrentY = 4;
    pic.Print("Sunrise");
    EXPECT_EQ(pic.TemporaryCommands().back().text, "Sunrise");
    EXPECT_NEAR(pic.CurrentX, 0, 1e-9);
    EXPECT_LT(pic.CurrentY, 4);  // next line down (y upwards in this scale)
}

namespace {
int loads = 0, unloads = 0;
bool unloadInLoad = false;
class TestForm : public Form {
public:
    TestForm() : Form("Test") {}
    bool cancelUnload = false;

protected:
    void Form_Load() override {
        ++loads;
        if (unloadInLoad) Unload();
    }
    void Form_Unload(bool& cancel) override {
        ++unloads;
        cancel = cancelUnload;
    }
};
}  // namespace

TEST(PlatformForms, OneInstancePerClassLoadedOnFirstUse) {
    loads = unloads = 0;
    TestForm& a = Get<TestForm>();
    TestForm& b = Get<TestForm>();
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(IsLoaded<TestForm>());
    a.cancelUnload = true;
    a.Unload();
    EXPECT_TRUE(IsLoaded<TestForm>());
    a.cancelUnload = false;
    a.Unload();
    EXPECT_FALSE(IsLoaded<TestForm>());
    EXPECT_EQ(unloads, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Get<TestForm>();
    EXPECT_EQ(loads, 2);
    DestroyAllForms();
    EXPECT_FALSE(IsLoaded<TestForm>());
}

TEST(PlatformForms, ShowModalWaitsForTheRunnerAndTheHandlerGoesOn) {
    TestForm& dialog = Get<TestForm>();
    std::vector<std::string> order;
    SetModalRunner([&](Form& f) {
        order.push_back(f.Visible() && f.IsModal() ? "shown modal" : "not shown");
        f.Hide();
    });
    dialog.ShowModal();
    order.push_back("after");
    SetModalRunner({});
    EXPECT_EQ(order, (std::vector<std::string>{"shown modal", "after"}));
    EXPECT_FALSE(dialog.Visible());
    DestroyAllForms();

    // A window that unloads itself in its load is not shown.
    unloadInLoad = true;
    SetModalRunner([&](Form&) { order.push_back("shown"); });
    TestForm& gone = Get<TestForm>();
    gone.ShowModal();
    gone.Show();
    unloadInLoad = false;
    SetModalRunner({});
    EXPECT_FALSE(gone.Visible());
    EXPECT_FALSE(IsLoaded<TestForm>());
    EXPECT_EQ(order.size(), 2u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(PlatformForms, EndProgramStopsTheHandler) {
    ResetProgramEnding();
    bool after = false;
    platform::Run([&] {
        EndProgram();
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_TRUE(ProgramEnding());
    ResetProgramEnding();

    ScriptedDialogs dialogs;
    platform::Run([] { throw std::out_of_range("table index (2, 501) out of range"); });
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].prompt.find("out of range"), std::string::npos);
}

namespace {
class OwnerForm : public Form {
public:
    OwnerForm() : Form("Owner") {}
};
}  // namespace

// Placed in twips; the test screen is wider than high (test_main), and so are the windows.
TEST(PlatformForms, CentredOnTheScreenAndOnTheOwner) {
    ASSERT_NE(Form::ScreenWidth(), Form::ScreenHeight());
    TestForm& f = Get<TestForm>();
    f.SetWidth(400 * kTwipsPerPixel);
    f.SetHeight(300 * kTwipsPerPixel);
    f.CentreOnScreen();
    EXPECT_EQ(f.Left(), (Form::ScreenWidth() - f.Width()) / 2);
    EXPECT_EQ(f.Top(), (Form::ScreenHeight() - f.Height()) / 2);

    OwnerForm& owner = Get<OwnerForm>();
    owner.SetLeft(50 * kTwipsPerPixel);
    owner.SetTop(40 * kTwipsPerPixel);
    owner.SetWidth(600 * kTwipsPerPixel);
    owner.SetHeight(450 * kTwipsPerPixel);
    f.CentreOn(owner);
    EXPECT_EQ(f.Left(), 150 * kTwipsPerPixel);
    EXPECT_EQ(f.Top(), 115 * kTwipsPerPixel);

    // An owner near the screen's corner: the dialog stays on the screen.
    owner.SetLeft(800 * kTwipsPerPixel);
    owner.SetTop(600 * kTwipsPerPixel);
    f.CentreOn(owner);
    EXPECT_EQ(f.Left() + f.Width(), Form::ScreenLeft() + Form::ScreenWidth());
    EXPECT_EQ(f.Top() + f.Height(), Form::ScreenTop() + Form::ScreenHeight());

    // A window larger than the screen is made the screen's size.
    f.SetWidth(Form::ScreenWidth() + 300 * kTwipsPerPixel);
    f.CentreOnScreen();
    EXPECT_EQ(f.Width(), Form::ScreenWidth());
    EXPECT_EQ(f.Left(), Form::ScreenLeft());
    EXPECT_EQ(f.Height(), 300 * kTwipsPerPixel);
    DestroyAllForms();
}

// Placement within a screen's available area, which may start right of or below the screen's
// corner (a panel at the left or top) or left of the primary screen (a second screen).
TEST(PlatformForms, PlacementKeepsWindowsWithinTheAvailableArea) {
    const QRect panelled(100, 30, 1180, 770), leftScreen(-1280, 0, 1280, 1024);
    struct Case {
        QRect area, window, kept;
    } kept[] = {
        {panelled, {300, 200, 400, 300}, {300, 200, 400, 300}},    // already within: unchanged
        {panelled, {0, 0, 400, 300}, {100, 30, 400, 300}},         // under the panels
        {panelled, {1000, 700, 400, 300}, {880, 500, 400, 300}},   // past the right and the foot
        {panelled, {50, 10, 1400, 900}, {100, 30, 1180, 770}},     // larger: made the area's size
        {panelled, {900, 100, 1400, 200}, {100, 100, 1180, 200}},  // wider only
        {leftScreen, {-100, 900, 400, 300}, {-400, 724, 400, 300}},
    };
    for (const Case& c : kept)
        EXPECT_EQ(KeptWithin(c.area, c.window), c.kept) << c.window.x() << "," << c.window.y();

    EXPECT_EQ(CentredIn(panelled, {400, 300}), QRect(490, 265, 400, 300));
    EXPECT_EQ(CentredIn(leftScreen, {400, 300}), QRect(-840, 362, 400, 300));
    EXPECT_EQ(CentredIn(panelled, {1400, 600}), QRect(100, 115, 1180, 600));
}

// A fixed window takes the sizes the program gives it and none that the user drags.
TEST(PlatformForms, FixedWindowKeepsTheSizeItIsGiven) {
    TestForm& f = Get<TestForm>();
    f.SetBorderStyle(Form::BorderStyle::Fixed);
    f.SetWidth(400 * kTwipsPerPixel);
    f.SetHeight(300 * kTwipsPerPixel);
    f.Show();
    f.resize(500, 400);
    EXPECT_EQ(f.size(), QSize(400, 300));
    EXPECT_EQ(f.Width(), 400 * kTwipsPerPixel);
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowCloseButtonHint);

    // On a screen too small for it, it keeps its size (its controls are laid out for it) and
    // its corner, with the title bar, stays on the screen.
    f.SetHeight(Form::ScreenHeight() + 200 * kTwipsPerPixel);
    f.CentreOnScreen();
    EXPECT_EQ(f.Height(), Form::ScreenHeight() + 200 * kTwipsPerPixel);
    EXPECT_EQ(f.Top(), Form::ScreenTop());
    EXPECT_EQ(f.Width(), 400 * kTwipsPerPixel);
    DestroyAllForms();

    TestForm& g = Get<TestForm>();
    g.SetWidth(400 * kTwipsPerPixel);
    g.Show();
    g.resize(500, 400);
    EXPECT_EQ(g.size(), QSize(500, 400));
    DestroyAllForms();
}

// The date-format check over the short-date patterns of real locales.
TEST(PlatformLocale, DateFormatCheckOverLocales) {
    struct Case {
        const char* locale;
        const char* pattern;
        const char* separator;
    } cases[] = {
        {"en_GB", "DD/MM/YYYY", "/"}, {"en_US", "MM/DD/YYYY", "/"}, {"de_DE", "DD.MM.YYYY", "."},
        {"sv_SE", "YYYY-MM-DD", "-"}, {"C", "DD/MM/YYYY", "/"},     {"nl_NL", "DD-MM-YYYY", "-"},
        {"ja_JP", "YYYY/MM/DD", "/"}, {"fr_FR", "DD/MM/YYYY", "/"},
    };
    engine::Env().utcNow = [] { return engine::DateSerial(2024, 3, 5); };
    engine::Env().localOffsetHours = [](double) { return 0.0; };
    for (auto c : cases) {
        UseLocale(c.locale);
        engine::DateFormatCheck r = engine::CheckDateFormat();
        EXPECT_EQ(r.FormatText, c.pattern) << c.locale << " " << engine::Env().locale.shortDatePattern;
        EXPECT_EQ(engine::State().DateSeparator, c.separator) << c.locale;
        EXPECT_EQ(r.Month, 3);
        EXPECT_EQ(r.Year, 2024);
    }
    engine::Env().locale.shortDatePattern = "d MMM yyyy";  // no separator of the three
    EXPECT_EQ(engine::CheckDateFormat().FormatText, "");
    engine::ResetEnvironment();
}
