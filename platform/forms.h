#pragma once
// Windows: one instance per window class, created and loaded on first use, reached by its
// class name (Get<frmX>()), unloaded explicitly or by the close box. Geometry is in twips,
// 15 twips to a logical pixel.

#include <QAbstractButton>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

namespace platform {

class PictureBox;

inline constexpr int kTwipsPerPixel = 15;
inline int ToPixels(double twips) {
    return static_cast<int>(twips / kTwipsPerPixel + (twips >= 0 ? 0.5 : -0.5));
}
inline int ToTwips(int pixels) { return pixels * kTwipsPerPixel; }

enum class MousePointer { Default, Arrow, Cross, Hourglass, ArrowHourglass };

// Places a child control; all values in twips, relative to its parent's client area.
void Place(QWidget* w, int left, int top, int width, int height);
// The same in pixels, for windows laid out in pixels.
void PlacePixels(QWidget* w, int left, int top, int width, int height);
int LeftOf(const QWidget* w);
int TopOf(const QWidget* w);
int WidthOf(const QWidget* w);
int HeightOf(const QWidget* w);
void SetLeftOf(QWidget* w, int left);
void SetTopOf(QWidget* w, int top);
void SetWidthOf(QWidget* w, int width);
void SetHeightOf(QWidget* w, int height);
void SetPointer(QWidget* w, MousePointer p);

class Form : public QMainWindow {
    Q_OBJECT
public:
    explicit Form(const std::string& designCaption = "");
    ~Form() override;

    // Shows the window without waiting.
    void Show();
    // Shows the window modal and returns when it has been hidden or unloaded. Other windows'
    // timers keep running meanwhile.
    void ShowModal(Form* owner = nullptr);
    // (Neither shows a window that has been unloaded, by its own load, say.)
    void Hide();
    // Runs Form_Unload (which may cancel), hides the window and deletes it later. The next Get
    // creates and loads a new instance.
    void Unload();
    bool Visible() const { return isVisible(); }
    void SetVisible(bool v) { v ? Show() : Hide(); }
    bool IsModal() const { return modal_; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    void SetWidth(int twips);
    void SetHeight(int twips);
    // Placing the window: centred on the screen's available area (the screen less its panels)
    // or on its owner, and always kept within that area, frame included; a window larger than
    // the area is made smaller.
    void CentreOnScreen();
    void CentreOn(const Form& owner);
    void KeepOnScreen();
    // The screen's available area in twips.
    static int ScreenLeft();
    static int ScreenTop();
    static int ScreenWidth();
    static int ScreenHeight();

    // Whether the user may size the window. A fixed window keeps the size it is given (SetWidth,
    // SetHeight) and has no maximise button. Set before the window is first shown.
    enum class BorderStyle { Sizable, Fixed };
    void SetBorderStyle(BorderStyle style);
    BorderStyle GetBorderStyle() const { return border_; }

    // The keyboard's buttons. Esc presses the cancel button; Enter (either Enter key) presses
    // the focused command button, else the button named for the control that has the focus,
    // else the default button. Each may be none: the key then does nothing.
    void SetCancelButton(QAbstractButton* button);
    void SetDefaultButton(QAbstractButton* button);
    void SetEnterButton(QWidget* control, QAbstractButton* button);

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    void SetMousePointer(MousePointer p);
    MousePointer CurrentPointer() const { return pointer_; }

    // The window's own drawing surface (twips scale) and the parent of its controls.
    PictureBox& Surface() { return *surface_; }
    QWidget* Client();

    // For the registry.
    void load();
    bool unloaded() const { return unloaded_; }

signals:
    void hidden();

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload(bool& cancel) { (void)cancel; }
    virtual void Form_Activate() {}
    // After the size of the window's client area has changed (by the user, a maximise, code, or a
    // menu bar that takes more or less room).
    virtual void Form_Resize() {}

public:
    // A double-click on the window's own surface, outside its controls.
    virtual void Form_DblClick() {}

protected:
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;

private:
    PictureBox* surface_;
    MousePointer pointer_ = MousePointer::Default;
    bool modal_ = false;
    bool unloaded_ = false;

protected:
    // Esc and Enter press the keyboard's buttons.
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Size and place in pixels, frames counted.
    void resizeTo(int widthPixels, int heightPixels);
    QRect availableArea() const;
    QSize frameEdges() const;
    QRect frame() const;
    void placeFrame(const QRect& place);
    BorderStyle border_ = BorderStyle::Sizable;

    QAbstractButton* enterButtonFor(QWidget* focus) const;
    QPointer<QAbstractButton> cancel_, default_;
    std::vector<std::pair<QPointer<QWidget>, QPointer<QAbstractButton>>> enterButtons_;
};

// The hourglass on a window while a piece of work runs; the default pointer again on every way
// out of the scope.
class BusyPointer {
public:
    explicit BusyPointer(Form& form) : form_(form) { form_.SetMousePointer(MousePointer::Hourglass); }
    ~BusyPointer() { form_.SetMousePointer(MousePointer::Default); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Form& form_;
};

// Placement arithmetic in pixels, frames included: `window` moved into `area`, and made smaller
// where it is larger; a window of `size` centred in `area` the same way.
QRect KeptWithin(const QRect& area, const QRect& window);
QRect CentredIn(const QRect& area, const QSize& size);

// How ShowModal waits: a nested event loop in the program, a script in tests.
using ModalRunner = std::function<void(Form&)>;
void SetModalRunner(ModalRunner runner);  // empty: the nested event loop

namespace detail {
Form* findForm(std::type_index type);
void addForm(std::type_index type, Form* form);
void removeForm(Form* form);
std::vector<Form*> loadedForms();
}  // namespace detail

template <typename T>
T& Get() {
    if (Form* f = detail::findForm(typeid(T))) return static_cast<T&>(*f);
    T* f = new T();
    detail::addForm(typeid(T), f);
    f->load();
    return *f;
}

template <typename T>
bool IsLoaded() {
    return detail::findForm(typeid(T)) != nullptr;
}

// The loaded window that implements the interface I, or nothing.
template <typename I>
I* LoadedWith() {
    for (Form* f : detail::loadedForms())
        if (I* i = dynamic_cast<I*>(f)) return i;
    return nullptr;
}

template <typename T>
void UnloadIfLoaded() {
    if (Form* f = detail::findForm(typeid(T))) f->Unload();
}

// Deletes every window at once, without unload handlers (tests, end of program).
void DestroyAllForms();

}  // namespace platform
