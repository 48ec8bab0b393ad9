#include "platform/forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <map>

#include "platform/app.h"
#include "platform/picturebox.h"

namespace platform {

namespace {
std::map<std::type_index, Form*>& registry() {
    static std::map<std::type_index, Form*> forms;
    return forms;
}
ModalRunner modalRunner;

Qt::CursorShape shapeOf(MousePointer p) {
    switch (p) {
        case MousePointer::Arrow: return Qt::ArrowCursor;
        case MousePointer::Cross: return Qt::CrossCursor;
        case MousePointer::Hourglass: return Qt::WaitCursor;
        case MousePointer::ArrowHourglass: return Qt::BusyCursor;
        default: return Qt::ArrowCursor;
    }
}
}  // namespace

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}
void PlacePixels(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(left, top, width, height);
}
int LeftOf(const QWidget* w) { return ToTwips(w->x()); }
int TopOf(const QWidget* w) { return ToTwips(w->y()); }
int WidthOf(const QWidget* w) { return ToTwips(w->width()); }
int HeightOf(const QWidget* w) { return ToTwips(w->height()); }
void SetLeftOf(QWidget* w, int left) { w->move(ToPixels(left), w->y()); }
void SetTopOf(QWidget* w, int top) { w->move(w->x(), ToPixels(top)); }
void SetWidthOf(QWidget* w, int width) { w->resize(ToPixels(width), w->height()); }
void SetHeightOf(QWidget* w, int height) { w->resize(w->width(), ToPixels(height)); }
void SetPointer(QWidget* w, MousePointer p) {
    if (p == MousePointer::Default) w->unsetCursor();
    else w->setCursor(shapeOf(p));
}

void SetModalRunner(ModalRunner runner) { modalRunner = std::move(runner); }

namespace detail {
Form* findForm(std::type_index type) {
    auto it = registry().find(type);
    return it == registry().end() ? nullptr : it->second;
}
void addForm(std::type_index type, Form* form) { registry()[type] = form; }
void removeForm(Form* form) {
    for (auto it = registry().begin(); it != registry().end(); ++it)
        if (it->second == form) {
            registry().erase(it);
            return;
        }
}
std::vector<Form*> loadedForms() {
    std::vector<Form*> forms;
    for (const auto& [type, form] : registry()) forms.push_back(form);
    return forms;
}
}  // namespace detail

void DestroyAllForms() {
    auto forms = registry();
    registry().clear();
    for (auto& [type, form] : forms) delete form;
}

Form::Form(const std::string& designCaption) : QMainWindow(nullptr) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    surface_ = new PictureBox(this);
    surface_->SetAutoRedraw(true);
    surface_->SetBorder(false);
    surface_->SetBackColor(0xF0F0F0);  // the window colour
    setCentralWidget(surface_);
    surface_->installEventFilter(this);
    connect(surface_, &PictureBox::DblClick, this, [this] { Run([this] { Form_DblClick(); }); });
    setWindowTitle(QString::fromStdString(designCaption));
}

Form::~Form() { detail::removeForm(this); }

QWidget* Form::Client() { return surface_; }

void Form::load() { Form_Load(); }

void Form::Show() {
    if (unloaded_) return;
    show();
    raise();
    activateWindow();
}

void Form::ShowModal(Form* owner) {
    (void)owner;
    if (unloaded_) return;
    modal_ = true;
    setWindowModality(Qt::ApplicationModal);
    QPointer<Form> self(this);
    show();
    raise();
    activateWindow();
    if (modalRunner) {
        modalRunner(*this);
    } else if (self && isVisible()) {
        QEventLoop loop;
        connect(this, &Form::hidden, &loop, &QEventLoop::quit);
        connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (self) {
        self->modal_ = false;
        self->setWindowModality(Qt::NonModal);
        if (self->isVisible()) self->hide();
    }
    if (ProgramEnding()) throw EndProgramRequest{};
}

void Form::Hide() { hide(); }

void Form::Unload() {
    if (unloaded_) return;
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) return;
    unloaded_ = true;
    detail::removeForm(this);
    hide();
    deleteLater();
}

int Form::Left() const { return ToTwips(x()); }
int Form::Top() const { return ToTwips(y()); }
int Form::Width() const { return ToTwips(width()); }
int Form::Height() const { return ToTwips(height()); }
void Form::SetLeft(int twips) { move(ToPixels(twips), y()); }
void Form::SetTop(int twips) { move(x(), ToPixels(twips)); }
void Form::SetWidth(int twips) { resizeTo(ToPixels(twips), height()); }
void Form::SetHeight(int twips) { resizeTo(width(), ToPixels(twips)); }

QRect KeptWithin(const QRect& area, const QRect& window) {
    const QSize size = window.size().boundedTo(area.size());
    const int left = std::clamp(window.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(window.top(), area.top(), area.top() + area.height() - size.height());
    return {QPoint(left, top), size};
}

QRect CentredIn(const QRect& area, const QSize& size) {
    return KeptWithin(area,
                      QRect(area.left() + (area.width() - size.width()) / 2,
                            area.top() + (area.height() - size.height()) / 2, size.width(), size.height()));
}

namespace {
QRect primaryArea() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}
}  // namespace

int Form::ScreenLeft() { return ToTwips(primaryArea().left()); }
int Form::ScreenTop() { return ToTwips(primaryArea().top()); }
int Form::ScreenWidth() { return ToTwips(primaryArea().width()); }
int Form::ScreenHeight() { return ToTwips(primaryArea().height()); }

QRect Form::availableArea() const {
    QScreen* s = screen();
    return s ? s->availableGeometry() : primaryArea();
}

// What the frame adds to the window's size. Until the window is shown its frame is not known:
// the window manager frames it as it framed the windows already shown.
QSize Form::frameEdges() const {
    const QSize own = frameGeometry().size() - size();
    if (isVisible() || !own.isNull()) return own;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && w->windowType() == Qt::Window) {
            const QSize other = w->frameGeometry().size() - w->size();
            if (!other.isNull()) return other;
        }
    return own;
}

QRect Form::frame() const { return {pos(), size() + frameEdges()}; }

// The frame at `place`: the window is made smaller by what it is larger, and moved. A window
// of fixed size keeps its size, as its controls are laid out for it: on a screen too small for
// it, its title bar stays on the screen.
void Form::placeFrame(const QRect& place) {
    const QSize inner = place.size() - frameEdges();
    if (border_ != BorderStyle::Fixed && inner != size()) resizeTo(inner.width(), inner.height());
    move(place.topLeft());
}

void Form::CentreOnScreen() { placeFrame(CentredIn(availableArea(), frame().size())); }

void Form::CentreOn(const Form& owner) {
    const QRect o = owner.frame(), f = frame();
    const QRect centred(o.left() + (o.width() - f.width()) / 2, o.top() + (o.height() - f.height()) / 2,
                        f.width(), f.height());
    placeFrame(KeptWithin(owner.availableArea(), centred));
}

void Form::KeepOnScreen() { placeFrame(KeptWithin(availableArea(), frame())); }

void Form::SetBorderStyle(BorderStyle style) {
    border_ = style;
    if (style == BorderStyle::Fixed) {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowCloseButtonHint);
        setFixedSize(size());
    } else {
        setWindowFlags(Qt::Window);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void Form::resizeTo(int widthPixels, int heightPixels) {
    if (border_ == BorderStyle::Fixed) setFixedSize(widthPixels, heightPixels);
    else resize(widthPixels, heightPixels);
}

void Form::SetCancelButton(QAbstractButton* button) { cancel_ = button; }

void Form::SetDefaultButton(QAbstractButton* button) {
    if (auto* old = qobject_cast<QPushButton*>(default_.data())) old->setDefault(false);
    default_ = button;
    if (auto* b = qobject_cast<QPushButton*>(button)) b->setDefault(true);
}

void Form::SetEnterButton(QWidget* control, QAbstractButton* button) {
    enterButtons_.emplace_back(control, button);
}

QAbstractButton* Form::enterButtonFor(QWidget* focus) const {
    if (auto* b = qobject_cast<QPushButton*>(focus)) return b;
    for (QWidget* w = focus; w && w != this; w = w->parentWidget())
        for (const auto& [control, button] : enterButtons_)
            if (control == w) return button;
    return default_;
}

void Form::keyPressEvent(QKeyEvent* e) {
    const auto mods = e->modifiers() & ~Qt::KeypadModifier;
    QAbstractButton* button = nullptr;
    if (mods == Qt::NoModifier) {
        if (e->key() == Qt::Key_Escape) button = cancel_;
        else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
            button = enterButtonFor(focusWidget());
    }
    if (button && button->isVisible() && button->isEnabled()) {
        e->accept();
        button->click();  // its handler runs as for a click with the mouse
        return;
    }
    QMainWindow::keyPressEvent(e);
}

std::string Form::Caption() const { return windowTitle().toStdString(); }
void Form::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void Form::SetMousePointer(MousePointer p) {
    pointer_ = p;
    SetPointer(this, p);
}

void Form::closeEvent(QCloseEvent* e) {
    e->ignore();
    Run([this] { Unload(); });
}

void Form::hideEvent(QHideEvent* e) {
    QMainWindow::hideEvent(e);
    emit hidden();
}

bool Form::eventFilter(QObject* watched, QEvent* e) {
    if (watched == surface_ && e->type() == QEvent::Resize) Run([this] { Form_Resize(); });
    return QMainWindow::eventFilter(watched, e);
}

bool Form::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Run([this] { Form_Activate(); });
    return QMainWindow::event(e);
}

}  // namespace platform
