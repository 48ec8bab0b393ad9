#pragma once
// Controls with the behaviour the windows rely on:
// - Label: captions break lines at CR LF, CR or LF; Click and DblClick.
// - ListBox: Click also fires when code sets the selection; DblClick; first-letter search.
// - CheckBox (values 0, 1, 2 grey) and OptionButton: Click fires when set in code too.
// - TextBox: a KeyPress hook can drop a key (with a beep, unless turned off) or replace it;
//   text entering by any other way (paste, the middle button's selection, a drop, an input
//   method) goes through it too, and is refused whole when the hook drops any of its
//   characters. LostFocus when another control of the window takes the focus.
// - FileListBox: the files of a folder that match a pattern.
// - Menu entries with visible, enabled and checked states and "&" access keys ("&&" is "&").
// - Timer: Interval, Enabled, and Fire() for tests.
// - UpDown: a spinner of an up and a down arrow that steps a whole Value.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QMenuBar;

namespace platform {

void Beep();
int BeepCount();  // beeps so far (for tests)

// Presses and releases a key as the keyboard does: to `target`, given the focus first, or,
// when `target` is a window, to the control that has its focus. Keys the control does not take
// go on to its window (Esc and Enter to the window's buttons).
void PressKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent, const std::string& caption = "");
    void SetCaption(const std::string& caption);
    const std::string& Caption() const { return caption_; }
    // Grows to fit its text (the caption's natural size).
    void SetAutoSize(bool on);
    // A one-line caption too long for the label (a path) shows its start and end around "…",
    // and whole as the label's tooltip.
    void SetElideMiddle(bool on);
    void SetFontBold(bool on);
    // A field the program fills in: white, in a sunken frame.
    void SetBoxed();
signals:
    void Click();
    void DblClick();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void showCaption();
    std::string caption_;
    bool autoSize_ = false;
    bool elideMiddle_ = false;
};

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(QWidget* parent, const std::string& caption);
    std::string Caption() const { return text().toStdString(); }
};

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent);
    void AddItem(const std::string& item);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return count(); }
    std::string List(int index) const;
    int ListIndex() const { return currentRow(); }
    // Sets the selection; Click fires as when the user picks the line.
    void SetListIndex(int index);
    std::string Text() const;  // the selected line
    void SetItemData(int index, long data);
    long ItemData(int index) const;
signals:
    void Click();
    void DblClick();

protected:
    // Taking the focus selects nothing: a line is chosen only by the user or by code.
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
};

class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    CheckBox(QWidget* parent, const std::string& caption);
    int Value() const;  // 0 unticked, 1 ticked, 2 grey
    void SetValue(int v);
signals:
    void Click();
};

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    OptionButton(QWidget* parent, const std::string& caption);
    bool Value() const { return isChecked(); }
    void SetValue(bool v);
signals:
    void Click();
};

// The key of a KeyPress: the character code (8 for Backspace). Set it to 0 to drop the key
// (the text box beeps, unless told not to), or to another code to type that instead.
using KeyPressHook = std::function<void(int& keyAscii)>;

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent, const std::string& text = "");
    std::string Text() const { return text().toStdString(); }
    void SetText(const std::string& t);
    void SetKeyPress(KeyPressHook hook) { keyPress_ = std::move(hook); }
    // Whether a key the hook drops beeps (the default) or goes silently.
    void SetBeepOnDrop(bool on) { beepOnDrop_ = on; }
    void SetLocked(bool locked) { setReadOnly(locked); }
    // Whether Enter (13) and Ctrl with a letter (1 to 26, Ctrl+V 22) reach the hook too; by
    // default they pass it by. A key the hook keeps then does what it does in any text box.
    // Esc never reaches the hook: it is the window's.
    void SetControlKeys(bool on) { controlKeys_ = on; }
    // Types text key by key as the user would, through the key hook.
    void TypeText(const std::string& text);
signals:
    void Change();
    // The focus has moved to another control of the same window (for a press of the mouse on a
    // button, before its Click); not when only the window stops being the active one.
    void LostFocus();
    // After the double-click has selected the word under the mouse.
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    // The text as the hook makes it, character by character; false when the hook drops one.
    bool filtered(const QString& text, QString& accepted);
    // Inserts the whole filtered text at the cursor, or nothing (with a beep) when the hook drops
    // any of its characters: a pasted "1e30" is not "130".
    bool insertFiltered(const QString& text);
    // The control code a key gives in the control-key mode: 13 for Enter, 1 to 26 for Ctrl with
    // a letter; 0 for any other key.
    static int controlCode(const QKeyEvent& e);
    KeyPressHook keyPress_;
    bool beepOnDrop_ = true;
    bool controlKeys_ = false;
};

// The files of a folder whose names match a pattern ("*.hc", without regard to case), listed by
// their real names, sorted without regard to case. Click fires as for any list box.
class FileListBox : public ListBox {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent);
    // Each of these lists the folder again.
    void SetPath(const std::string& folder);
    void SetPattern(const std::string& pattern);
    // Names never listed, as spelt (the work files of the folder).
    void SetHidden(std::vector<std::string> names);
    const std::string& Path() const { return path_; }
    const std::string& Pattern() const { return pattern_; }
    // Lists the folder as it is now. The selected name stays selected while it is there,
    // without a Click.
    void Refresh();
    // The selected name, or "".
    std::string FileName() const { return Text(); }
    // The selected file's path in the folder, or "" when none is selected.
    std::string FilePath() const;

private:
    std::string path_, pattern_ = "*";
    std::vector<std::string> hidden_;
};

// A multi-line text box.
class TextArea : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextArea(QWidget* parent, const std::string& text = "");
    std::string Text() const { return toPlainText().toStdString(); }
    void SetText(const std::string& t) { setPlainText(QString::fromStdString(t)); }
    void SetMaxLength(int n) { maxLength_ = n; }
    int MaxLength() const { return maxLength_; }
signals:
    void Change();

private:
    int maxLength_ = 0;  // 0: no limit
};

// A menu entry: a command or a submenu.
class MenuItem {
public:
    MenuItem() = default;
    explicit MenuItem(QAction* action, QMenu* submenu = nullptr) : action_(action), menu_(submenu) {}
    void SetVisible(bool v);
    bool Visible() const;
    void SetEnabled(bool v);
    bool Enabled() const;
    void SetChecked(bool v);
    bool Checked() const;
    void SetCaption(const std::string& caption);
    std::string Caption() const;
    QAction* Action() const { return action_; }
    QMenu* Submenu() const { return menu_; }
    // Runs the entry's handler as a click would.
    void Click();

private:
    QAction* action_ = nullptr;
    QMenu* menu_ = nullptr;
};

// Builds menus: a caption of "-" is a separator.
MenuItem AddTopMenu(QMenuBar* bar, const std::string& caption, std::function<void()> handler = {});
MenuItem AddSubmenu(const MenuItem& parent, const std::string& caption);
MenuItem AddMenuItem(const MenuItem& parent, const std::string& caption, std::function<void()> handler = {});

// A spinner: an up arrow over a down arrow, and no text. Each click of an arrow, each step of
// its repeat while held, and each Up or Down key steps Value by Increment, but never past Min
// or Max and never round to the other end; an arrow that cannot step is greyed. Change fires
// once for every change of Value, by the arrows or by SetValue. Value starts at 0.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QWidget* parent, int32_t min, int32_t max, int32_t increment = 1);
    int32_t Value() const { return value_; }
    // A value outside Min..Max, or equal to Value, changes nothing and fires nothing.
    void SetValue(int32_t v);
    int32_t Min() const { return min_; }
    int32_t Max() const { return max_; }
    int32_t Increment() const { return increment_; }
    // Clicks an arrow; a greyed one does nothing.
    void ClickUp() { up_->click(); }
    void ClickDown() { down_->click(); }
    QToolButton* UpArrow() const { return up_; }
    QToolButton* DownArrow() const { return down_; }
    QSize sizeHint() const override;
signals:
    void Change();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void step(int direction);
    void showLimits();
    int32_t value_ = 0, min_, max_, increment_;
    QToolButton *up_, *down_;
};

class Timer : public QObject {
    Q_OBJECT
public:
    Timer(QObject* parent, int intervalMs, std::function<void()> handler);
    void SetEnabled(bool on);
    bool Enabled() const { return enabled_; }
    void SetInterval(int ms);
    int Interval() const { return timer_.interval(); }
    void Fire();  // runs the handler as a tick would

    // Tests stop real ticks: timers then fire only through Fire().
    static void SetTicking(bool on);

private:
    void sync();
    QTimer timer_;
    bool enabled_ = true;
    std::function<void()> handler_;
};

}  // namespace platform
