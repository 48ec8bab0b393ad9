#include "platform/picturebox.h"

#include <QMouseEvent>
#include <QPainter>

namespace platform {

namespace {
QColor toQColor(OleColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

int buttonOf(Qt::MouseButtons b) {
    int v = 0;
    if (b & Qt::LeftButton) v |= 1;
    if (b & Qt::RightButton) v |= 2;
    if (b & Qt::MiddleButton) v |= 4;
    return v;
}

int shiftOf(Qt::KeyboardModifiers m) {
    int v = 0;
    if (m & Qt::ShiftModifier) v |= 1;
    if (m & Qt::ControlModifier) v |= 2;
    if (m & Qt::AltModifier) v |= 4;
    return v;
}
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    persistent_ = makeImage();
}

// The image's pixels live in a buffer that only grows, so that a window resized again and
// again (a user dragging its edge) allocates nothing after its largest size.
QImage PictureBox::makeImage() const {
    const qreal dpr = devicePixelRatioF();
    const QSize px = QSize(std::max(1, width()), std::max(1, height())) * dpr;
    const size_t bytes = static_cast<size_t>(px.width()) * static_cast<size_t>(px.height()) * 4;
    persistent_ = QImage();  // lets go of the buffer before it may move
    if (pixels_.size() < bytes) pixels_.resize(bytes);
    QImage img(pixels_.data(), px.width(), px.height(), px.width() * 4, QImage::Format_RGB32);
    img.setDevicePixelRatio(dpr);
    img.fill(toQColor(back_));
    return img;
}

void PictureBox::SetBackColor(OleColor color) {
    back_ = color;
    persistent_.fill(toQColor(back_));
    painted_ = 0;
    persistentCmds_.clear();
    tempCmds_.clear();
    update();
}

void PictureBox::SetBorder(bool on) {
    border_ = on;
    update();
}

void PictureBox::Cls() {
    if (autoRedraw_) {
        // The image is kept and filled again: a redraw allocates nothing.
        persistent_.fill(toQColor(back_));
        painted_ = 0;
        persistentCmds_.clear();
    }
    tempCmds_.clear();
    CurrentX = 0;
    CurrentY = 0;
    update();
}

void PictureBox::record(const DrawCommand& c) { (autoRedraw_ ? persistentCmds_ : tempCmds_).push_back(c); }

void PictureBox::paintCommand(const DrawCommand&) { update(); }

void PictureBox::flush() const {
    // A picture resized while hidden, or moved to a screen of another pixel ratio, is painted
    // afresh at its present size.
    const qreal dpr = devicePixelRatioF();
    if (persistent_.devicePixelRatio() != dpr ||
        persistent_.size() != QSize(std::max(1, width()), std::max(1, height())) * dpr) {
        persistent_ = makeImage();
        painted_ = 0;
    }
    if (painted_ >= persistentCmds_.size()) return;
    QPainter p(&persistent_);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (; painted_ < persistentCmds_.size(); ++painted_) paintWith(p, persistentCmds_[painted_]);
}

void PictureBox::paintTemporary(QPainter& p) const {
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const DrawCommand& c : tempCmds_) paintWith(p, c);
    if (border_) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(128, 128, 128), 0));  // one device pixel
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
}

QImage PictureBox::Snapshot() const {
    flush();
    QImage out = persistent_.copy();
    QPainter p(&out);
    paintTemporary(p);
    return out;
}

void PictureBox::paintEvent(QPaintEvent*) {
    flush();
    QPainter p(this);
    p.drawImage(QPointF(0, 0), persistent_);
    paintTemporary(p);
}

void PictureBox::resizeEvent(QResizeEvent*) {
    // Keep what is drawn: the image is painted again from its display list at the new size.
    persistent_ = makeImage();
    painted_ = 0;
}

QPointF PictureBox::ToUser(QPointF pixel) const { return transform().inverted().map(pixel); }
QPointF PictureBox::ToPixel(QPointF user) const { return transform().map(user); }

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    QPointF u = ToUser(e->position());
    emit MouseMove(buttonOf(e->buttons()), shiftOf(e->modifiers()), u.x(), u.y());
}

void PictureBox::mousePressEvent(QMouseEvent* e) {
    QPointF u = ToUser(e->position());
    emit MouseDown(buttonOf(e->button()), shiftOf(e->modifiers()), u.x(), u.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    QPointF u = ToUser(e->position());
    emit MouseUp(buttonOf(e->button()), shiftOf(e->modifiers()), u.x(), u.y());
    if (rect().contains(e->position().toPoint())) emit Click();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* e) {
    emit DblClick();
    QWidget::mouseDoubleClickEvent(e);
}

}  // namespace platform
