#include "platform/controls.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QResizeEvent>
#include <algorithm>

#include "platform/app.h"

namespace platform {

namespace {
int beeps = 0;
bool ticking = true;

QString captionText(const std::string& caption) {
    QString s = QString::fromStdString(caption);
    s.replace("\r\n", "\n");
    s.replace('\r', '\n');
    return s;
}
}  // namespace

void Beep() {
    ++beeps;
    QApplication::beep();
}

int BeepCount() { return beeps; }

namespace {
// The text a key types, as the keyboard reports it with the key.
QString keyText(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return "\r";
        case Qt::Key_Escape: return QString(QChar(0x1b));
        case Qt::Key_Tab: return "\t";
        case Qt::Key_Backspace: return "\b";
        default: break;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier) || key < Qt::Key_Space ||
        key > Qt::Key_AsciiTilde)
        return {};
    QChar c(key);
    return modifiers & Qt::ShiftModifier ? QString(c) : QString(c.toLower());
}
}  // namespace

void PressKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers) {
    QWidget* receiver = &target;
    if (target.isWindow()) {
        if (QWidget* f = target.focusWidget()) receiver = f;
    } else {
        target.setFocus(Qt::OtherFocusReason);
    }
    const QString text = keyText(key, modifiers);
    // Sent, not posted: the press reaches a shortcut first, then the control, then its parents.
    QPointer<QWidget> alive(receiver);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(receiver, &press);
    if (!alive) return;  // the key deleted its control
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(receiver, &release);
}

// Label

Label::Label(QWidget* parent, const std::string& caption) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetCaption(caption);
}

void Label::SetCaption(const std::string& caption) {
    caption_ = caption;
    showCaption();
    if (autoSize_) adjustSize();
}

void Label::showCaption() {
    const QString text = captionText(caption_);
    if (!elideMiddle_) {
        setText(text);
        return;
    }
    const QString shown = fontMetrics().elidedText(text, Qt::ElideMiddle, contentsRect().width());
    setText(shown);
    setToolTip(shown == text ? QString() : text);
}

void Label::SetElideMiddle(bool on) {
    elideMiddle_ = on;
    if (!on) setToolTip(QString());
    showCaption();
}

void Label::changeEvent(QEvent* e) {
    QLabel::changeEvent(e);
    if (elideMiddle_ && e->type() == QEvent::FontChange) showCaption();
}

void Label::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    if (elideMiddle_) showCaption();
}

void Label::SetAutoSize(bool on) {
    autoSize_ = on;
    if (on) adjustSize();
}

void Label::SetFontBold(bool on) {
    QFont f = font();
    f.setBold(on);
    setFont(f);
}

void Label::SetBoxed() {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setIndent(3);
}

void Label::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) emit Click();
}

void Label::mouseDoubleClickEvent(QMouseEvent* e) {
    QLabel::mouseDoubleClickEvent(e);
    emit DblClick();
}

CommandButton::CommandButton(QWidget* parent, const std::string& caption)
    : QPushButton(QString::fromStdString(caption), parent) {
    setAutoDefault(false);
}

// ListBox

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) emit Click();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { emit DblClick(); });
}

// A press on the line already selected is a click too; a press that selects a line clicks once,
// through the change of row.
void ListBox::mousePressEvent(QMouseEvent* e) {
    const int before = currentRow();
    QListWidget::mousePressEvent(e);
    const QListWidgetItem* pressed = itemAt(e->position().toPoint());
    if (pressed && before >= 0 && row(pressed) == before && currentRow() == before && !signalsBlocked())
        emit Click();
}

void ListBox::focusInEvent(QFocusEvent* e) {
    // The view makes its first line current when it takes the focus without one.
    const bool hadCurrent = currentIndex().isValid();
    const QSignalBlocker quiet(this);
    QListWidget::focusInEvent(e);
    if (!hadCurrent && currentIndex().isValid()) setCurrentRow(-1);
}

void ListBox::AddItem(const std::string& item) { addItem(QString::fromStdString(item)); }

void ListBox::RemoveItem(int index) { delete takeItem(index); }

void ListBox::Clear() {
    blockSignals(true);
    clear();
    blockSignals(false);
}

std::string ListBox::List(int index) const {
    QListWidgetItem* it = item(index);
    return it ? it->text().toStdString() : std::string();
}

void ListBox::SetListIndex(int index) { setCurrentRow(index); }

std::string ListBox::Text() const { return List(currentRow()); }

void ListBox::SetItemData(int index, long value) {
    if (QListWidgetItem* it = item(index)) it->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(value));
}

long ListBox::ItemData(int index) const {
    QListWidgetItem* it = item(index);
    return it ? static_cast<long>(it->data(Qt::UserRole).toLongLong()) : 0;
}

// CheckBox and OptionButton

CheckBox::CheckBox(QWidget* parent, const std::string& caption)
    : QCheckBox(QString::fromStdString(caption), parent) {
    connect(this, &QCheckBox::stateChanged, this, [this](int) { emit Click(); });
}

int CheckBox::Value() const {
    switch (checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}

void CheckBox::SetValue(int v) {
    setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    if (v != 2) setTristate(false);
}

OptionButton::OptionButton(QWidget* parent, const std::string& caption)
    : QRadioButton(QString::fromStdString(caption), parent) {
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on) emit Click();
    });
}

void OptionButton::SetValue(bool v) { setChecked(v); }

// TextBox

TextBox::TextBox(QWidget* parent, const std::string& text) : QLineEdit(QString::fromStdString(text), parent) {
    setDragEnabled(false);
    setAcceptDrops(true);  // a drop goes through the key hook like a paste
    connect(this, &QLineEdit::textChanged, this, [this](const QString&) { emit Change(); });
}

void TextBox::SetText(const std::string& t) { setText(QString::fromStdString(t)); }

bool TextBox::filtered(const QString& text, QString& accepted) {
    accepted.clear();
    for (QChar ch : text) {
        int key = ch.unicode();
        if (keyPress_) keyPress_(key);
        if (key == 0 || key == 8) return false;
        accepted += QChar(key);
    }
    return true;
}

bool TextBox::insertFiltered(const QString& text) {
    QString accepted;
    if (!filtered(text, accepted)) {
        if (beepOnDrop_) Beep();
        return false;
    }
    if (!accepted.isEmpty()) insert(accepted);
    return true;
}

void TextBox::TypeText(const std::string& text) {
    for (QChar ch : QString::fromStdString(text)) {
        int key = ch.unicode();
        if (keyPress_) keyPress_(key);
        if (key == 0) {
            if (beepOnDrop_) Beep();
        } else if (key == 8) {
            backspace();
        } else {
            insert(QString(QChar(key)));
        }
    }
}

int TextBox::controlCode(const QKeyEvent& e) {
    if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) return 13;
    const Qt::KeyboardModifiers held =
        e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::ControlModifier && e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z)
        return e.key() - Qt::Key_A + 1;
    return 0;
}

void TextBox::keyPressEvent(QKeyEvent* e) {
    if (controlKeys_ && keyPress_ && !isReadOnly()) {
        if (const int code = controlCode(*e)) {
            int key = code;
            keyPress_(key);
            if (key == 0) {
                if (beepOnDrop_) Beep();
                return;
            }
            if (key != code) {
                if (key >= ' ') insert(QString(QChar(key)));
                return;
            }
            // Kept: the key does what it does in any text box (Ctrl+V pastes through the hook).
        }
    }
    if (e->matches(QKeySequence::Paste)) {
        if (!isReadOnly()) insertFiltered(QApplication::clipboard()->text());
        return;
    }
    if (!keyPress_ || isReadOnly()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (e->key() == Qt::Key_Backspace) {
        int key = 8;
        keyPress_(key);
        if (key != 0) QLineEdit::keyPressEvent(e);
        else if (beepOnDrop_) Beep();
        return;
    }
    QString t = e->text();
    bool printable =
        !t.isEmpty() && t.at(0).isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!printable) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    insertFiltered(t);
}

void TextBox::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // The control that takes the focus has it already.
    const QWidget* next = QApplication::focusWidget();
    if (next && next != this && next->window() == window()) emit LostFocus();
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QLineEdit::mouseDoubleClickEvent(e);
    emit DblClick();
}

void TextBox::contextMenuEvent(QContextMenuEvent* e) {
    // The standard menu's paste would pass the key hook by; offer a guarded one instead.
    QMenu* menu = createStandardContextMenu();
    for (QAction* a : menu->actions()) {
        if (a->text().contains("Paste")) {
            disconnect(a, nullptr, nullptr, nullptr);
            connect(a, &QAction::triggered, this,
                    [this] { insertFiltered(QApplication::clipboard()->text()); });
        }
    }
    menu->exec(e->globalPos());
    delete menu;
}

void TextBox::mouseReleaseEvent(QMouseEvent* e) {
    // The middle button pastes the selection where the press put the cursor.
    if (e->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) insertFiltered(QApplication::clipboard()->text(QClipboard::Selection));
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void TextBox::dropEvent(QDropEvent* e) {
    if (isReadOnly() || !e->mimeData()->hasText()) {
        e->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(e->position().toPoint()));
    if (insertFiltered(e->mimeData()->text())) {
        e->acceptProposedAction();
        setFocus(Qt::MouseFocusReason);
    } else {
        e->ignore();
    }
}

void TextBox::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    QString accepted;
    const bool kept = filtered(e->commitString(), accepted);
    if (!kept && beepOnDrop_) Beep();
    QInputMethodEvent copy(e->preeditString(), e->attributes());
    copy.setCommitString(kept ? accepted : QString(), e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&copy);
}

// FileListBox

FileListBox::FileListBox(QWidget* parent) : ListBox(parent) {}

void FileListBox::SetPath(const std::string& folder) {
    path_ = folder;
    Refresh();
}

void FileListBox::SetPattern(const std::string& pattern) {
    pattern_ = pattern;
    Refresh();
}

void FileListBox::SetHidden(std::vector<std::string> names) {
    hidden_ = std::move(names);
    Refresh();
}

std::string FileListBox::FilePath() const {
    const std::string name = FileName();
    return name.empty() ? std::string() : path_ + "/" + name;
}

void FileListBox::Refresh() {
    const QString selected = currentItem() ? currentItem()->text() : QString();
    QStringList names;
    if (!path_.empty()) {
        // Name filters match without regard to case unless told otherwise.
        const QDir dir(QString::fromStdString(path_));
        names = dir.entryList({QString::fromStdString(pattern_)}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    }
    const QSignalBlocker quiet(this);
    clear();
    for (const QString& name : names) {
        if (std::find(hidden_.begin(), hidden_.end(), name.toStdString()) != hidden_.end()) continue;
        addItem(name);
        if (name == selected) setCurrentRow(count() - 1);
    }
}

TextArea::TextArea(QWidget* parent, const std::string& text)
    : QPlainTextEdit(QString::fromStdString(text), parent) {
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (maxLength_ > 0 && toPlainText().size() > maxLength_) {
            QString t = toPlainText().left(maxLength_);
            blockSignals(true);
            setPlainText(t);
            moveCursor(QTextCursor::End);
            blockSignals(false);
            Beep();
        }
        emit Change();
    });
}

// Menus

void MenuItem::SetVisible(bool v) {
    if (action_) action_->setVisible(v);
}
bool MenuItem::Visible() const { return action_ && action_->isVisible(); }
void MenuItem::SetEnabled(bool v) {
    if (action_) action_->setEnabled(v);
}
bool MenuItem::Enabled() const { return action_ && action_->isEnabled(); }
void MenuItem::SetChecked(bool v) {
    if (!action_) return;
    action_->setCheckable(true);
    action_->setChecked(v);
}
bool MenuItem::Checked() const { return action_ && action_->isChecked(); }
void MenuItem::SetCaption(const std::string& caption) {
    if (action_) action_->setText(QString::fromStdString(caption));
}
std::string MenuItem::Caption() const { return action_ ? action_->text().toStdString() : std::string(); }
void MenuItem::Click() {
    if (action_ && !menu_) action_->trigger();
}

MenuItem AddTopMenu(QMenuBar* bar, const std::string& caption, std::function<void()> handler) {
    QMenu* m = bar->addMenu(QString::fromStdString(caption));
    // A click on a top menu opens it: its handler runs as it opens.
    if (handler) QObject::connect(m, &QMenu::aboutToShow, m, [handler] { Run(handler); });
    return MenuItem(m->menuAction(), m);
}

MenuItem AddSubmenu(const MenuItem& parent, const std::string& caption) {
    QMenu* m = parent.Submenu()->addMenu(QString::fromStdString(caption));
    return MenuItem(m->menuAction(), m);
}

MenuItem AddMenuItem(const MenuItem& parent, const std::string& caption, std::function<void()> handler) {
    if (caption == "-") return MenuItem(parent.Submenu()->addSeparator());
    QAction* a = parent.Submenu()->addAction(QString::fromStdString(caption));
    if (handler) QObject::connect(a, &QAction::triggered, a, [handler](bool) { Run(handler); });
    return MenuItem(a);
}

// UpDown

UpDown::UpDown(QWidget* parent, int32_t min, int32_t max, int32_t increment)
    : QWidget(parent),
      min_(min),
      max_(max),
      increment_(increment),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    setFocusPolicy(Qt::StrongFocus);
    const std::pair<QToolButton*, int> arrows[] = {{up_, 1}, {down_, -1}};
    for (const auto& [arrow, direction] : arrows) {
        arrow->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        // Pressed comes with the press and with each repeat while the arrow is held, never
        // with the release.
        connect(arrow, &QToolButton::pressed, this, [this, d = direction] { step(d); });
    }
    showLimits();
}

QSize UpDown::sizeHint() const { return {17, 22}; }

void UpDown::SetValue(int32_t v) {
    if (v < min_ || v > max_ || v == value_) return;
    value_ = v;
    showLimits();
    emit Change();
}

void UpDown::step(int direction) {
    const int64_t next = static_cast<int64_t>(value_) + static_cast<int64_t>(direction) * increment_;
    if (next < min_ || next > max_) return;
    SetValue(static_cast<int32_t>(next));
}

void UpDown::showLimits() {
    up_->setEnabled(static_cast<int64_t>(value_) + increment_ <= max_);
    down_->setEnabled(static_cast<int64_t>(value_) - increment_ >= min_);
}

void UpDown::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Up) step(1);
    else if (e->key() == Qt::Key_Down) step(-1);
    else QWidget::keyPressEvent(e);  // Esc, Enter and the rest go on to the window
}

void UpDown::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // A margin round the arrows for the focus frame.
    const QRect r = rect().adjusted(1, 1, -1, -1);
    const int half = r.height() / 2;
    up_->setGeometry(r.left(), r.top(), r.width(), half);
    down_->setGeometry(r.left(), r.top() + half, r.width(), r.height() - half);
}

void UpDown::paintEvent(QPaintEvent*) {
    if (!hasFocus()) return;
    // A frame in the highlight colour, as a text box with the focus has.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Highlight));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// Timer

Timer::Timer(QObject* parent, int intervalMs, std::function<void()> handler)
    : QObject(parent), handler_(std::move(handler)) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Fire(); });
    sync();
}

void Timer::SetEnabled(bool on) {
    enabled_ = on;
    sync();
}

void Timer::SetInterval(int ms) {
    timer_.setInterval(ms);
    sync();
}

void Timer::Fire() {
    if (handler_) Run(handler_);
}

void Timer::SetTicking(bool on) { ticking = on; }

void Timer::sync() {
    if (enabled_ && ticking && timer_.interval() > 0) timer_.start();
    else timer_.stop();
}

}  // namespace platform
