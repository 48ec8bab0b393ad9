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
    persistent_ = makeImage(false);
    temp_ = makeImage(true);
}

QImage PictureBox::makeImage(bool transparent) const {
    qreal dpr = devicePixelRatioF();
    QImage img(QSize(std::max(1, width()), std::max(1, height())) * dpr, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(transparent ? QColor(Qt::transparent) : toQColor(back_));
    return img;
}

void PictureBox::SetBackColor(OleColor color) {
    back_ = color;
    persistent_ = makeImage(false);
    temp_ = makeImage(true);
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
        persistent_ = makeImage(false);
        persistentCmds_.clear();
    }
    temp_ = makeImage(true);
    tempCmds_.clear();
    CurrentX = 0;
    CurrentY = 0;
    update();
}

void PictureBox::record(const DrawCommand& c) { (autoRedraw_ ? persistentCmds_ : tempCmds_).push_back(c); }

void PictureBox::paintCommand(const DrawCommand& c) {
    QImage& target = autoRedraw_ ? persistent_ : temp_;
    QPainter p(&target);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintWith(p, c);
    update();
}

QImage PictureBox::Snapshot() const {
    QImage out = persistent_.copy();
    QPainter p(&out);
    p.drawImage(QPointF(0, 0), temp_);
    if (border_) {
        p.setPen(QColor(128, 128, 128));
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
    return out;
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(QPointF(0, 0), persistent_);
    p.drawImage(QPointF(0, 0), temp_);
    if (border_) {
        p.setPen(QColor(128, 128, 128));
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
}

void PictureBox::render(QImage& target, const std::vector<DrawCommand>& commands) const {
    QPainter p(&target);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const DrawCommand& c : commands) paintWith(p, c);
}

void PictureBox::resizeEvent(QResizeEvent*) {
    // Keep what is drawn: both layers are drawn again at the new size.
    persistent_ = makeImage(false);
    temp_ = makeImage(true);
    render(persistent_, persistentCmds_);
    render(temp_, tempCmds_);
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
