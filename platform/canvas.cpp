#include "platform/canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <cmath>

namespace platform {

OleColor Rgb(int red, int green, int blue) {
    return static_cast<OleColor>(red & 0xFF) | (static_cast<OleColor>(green & 0xFF) << 8) |
           (static_cast<OleColor>(blue & 0xFF) << 16);
}

namespace {
QColor toQColor(OleColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
}  // namespace

Canvas::Canvas() : font_("DejaVu Sans") { font_.setPointSizeF(8); }

void Canvas::Scale(double x1, double y1, double x2, double y2) {
    defaultScale_ = false;
    left_ = x1;
    top_ = y1;
    width_ = x2 - x1;
    height_ = y2 - y1;
}

void Canvas::ScaleDefault() {
    defaultScale_ = true;
    left_ = top_ = 0;
}

double Canvas::ScaleWidth() const { return defaultScale_ ? deviceWidth() / deviceUnitsPerTwip() : width_; }
double Canvas::ScaleHeight() const { return defaultScale_ ? deviceHeight() / deviceUnitsPerTwip() : height_; }

QTransform Canvas::transform() const {
    double sw = ScaleWidth(), sh = ScaleHeight();
    double kx = sw != 0 ? deviceWidth() / sw : 1;
    double ky = sh != 0 ? deviceHeight() / sh : 1;
    return QTransform(kx, 0, 0, ky, -left_ * kx, -top_ * ky);
}

QTransform Canvas::transformFor(const DrawCommand& c) const {
    if (c.defaultScale) {
        double k = deviceUnitsPerTwip();
        return QTransform(k, 0, 0, k, 0, 0);
    }
    double kx = c.scaleWidth != 0 ? deviceWidth() / c.scaleWidth : 1;
    double ky = c.scaleHeight != 0 ? deviceHeight() / c.scaleHeight : 1;
    return QTransform(kx, 0, 0, ky, -c.scaleLeft * kx, -c.scaleTop * ky);
}

void Canvas::Line(double x1, double y1, double x2, double y2) { Line(x1, y1, x2, y2, ForeColor); }

void Canvas::Line(double x1, double y1, double x2, double y2, OleColor color) {
    emitCommand({DrawKind::Line, x1, y1, x2, y2, color, DrawWidth, {}});
    CurrentX = x2;
    CurrentY = y2;
}

void Canvas::Box(double x1, double y1, double x2, double y2, OleColor color, bool filled) {
    emitCommand({filled ? DrawKind::BoxFilled : DrawKind::Box, x1, y1, x2, y2, color, DrawWidth, {}});
    CurrentX = x2;
    CurrentY = y2;
}

void Canvas::PSet(double x, double y) { PSet(x, y, ForeColor); }

void Canvas::PSet(double x, double y, OleColor color) {
    emitCommand({DrawKind::Point, x, y, x, y, color, DrawWidth, {}});
    CurrentX = x;
    CurrentY = y;
}

void Canvas::Print(const std::string& text) {
    emitCommand({DrawKind::Text, CurrentX, CurrentY, CurrentX, CurrentY, ForeColor, DrawWidth, text});
    CurrentY += TextHeight(text);
    CurrentX = left_;
}

void Canvas::SetFontSize(double points) { font_.setPointSizeF(points); }
void Canvas::SetFontBold(bool bold) { font_.setBold(bold); }

double Canvas::TextWidth(const std::string& text) const {
    double dev = fontMetrics(font_).horizontalAdvance(QString::fromStdString(text));
    double sw = ScaleWidth();
    return deviceWidth() > 0 ? dev * sw / deviceWidth() : 0;
}

double Canvas::TextHeight(const std::string&) const {
    double dev = fontMetrics(font_).height();
    double sh = ScaleHeight();
    return deviceHeight() > 0 ? dev * sh / deviceHeight() : 0;
}

void Canvas::emitCommand(DrawCommand c) {
    c.style = static_cast<int>(Style);
    c.defaultScale = defaultScale_;
    c.scaleLeft = left_;
    c.scaleTop = top_;
    c.scaleWidth = width_;
    c.scaleHeight = height_;
    c.fontSize = font_.pointSizeF();
    c.fontBold = font_.bold();
    record(c);
    paintCommand(c);
}

void Canvas::paintWith(QPainter& p, const DrawCommand& c) const {
    QTransform t = transformFor(c);
    QPen pen(toQColor(c.color));
    pen.setWidthF(std::max(1, c.width) * penScale());
    pen.setCapStyle(Qt::FlatCap);
    if (c.style == static_cast<int>(DrawStyle::Dash)) pen.setStyle(Qt::DashLine);
    else if (c.style == static_cast<int>(DrawStyle::Dot)) pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (c.kind) {
        case DrawKind::Line: {
            QPointF a = t.map(QPointF(c.x1, c.y1)), b = t.map(QPointF(c.x2, c.y2));
            const bool vertical = a.x() == b.x(), horizontal = a.y() == b.y();
            if (alignsToPixels() && (vertical || horizontal)) {
                // Grid lines and marks: n whole device pixels wide, n the width in device pixels
                // rounded down, so that lines of one width look alike at any scale factor.
                const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
                const qreal n = std::max<qreal>(1, std::floor(std::max(1, c.width) * dpr));
                // Halves round up, so that a line at 0 lies on the first pixel, not before it.
                auto across = [&](qreal v) { return (std::floor(v * dpr - n / 2 + 0.5) + n / 2) / dpr; };
                auto along = [&](qreal v) { return std::floor(v * dpr + 0.5) / dpr; };
                if (vertical) {
                    a = {across(a.x()), along(a.y())};
                    b = {across(b.x()), along(b.y())};
                } else {
                    a = {along(a.x()), across(a.y())};
                    b = {along(b.x()), across(b.y())};
                }
                pen.setWidthF(n / dpr);
                p.setPen(pen);
                p.setRenderHint(QPainter::Antialiasing, false);
            } else {
                p.setRenderHint(QPainter::Antialiasing, true);  // curves
            }
            p.drawLine(a, b);
            break;
        }
        case DrawKind::Box:
        case DrawKind::BoxFilled: {
            QRectF r(t.map(QPointF(c.x1, c.y1)), t.map(QPointF(c.x2, c.y2)));
            r = r.normalized();
            p.setRenderHint(QPainter::Antialiasing, false);
            if (c.kind == DrawKind::BoxFilled) p.fillRect(r, toQColor(c.color));
            else p.drawRect(r);
            break;
        }
        case DrawKind::Point: {
            QPointF at = t.map(QPointF(c.x1, c.y1));
            double s = std::max(1, c.width) * penScale();
            p.setRenderHint(QPainter::Antialiasing, true);  // dotted curves
            p.fillRect(QRectF(at.x() - s / 2, at.y() - s / 2, s, s), toQColor(c.color));
            break;
        }
        case DrawKind::Text: {
            QPointF at = t.map(QPointF(c.x1, c.y1));
            QFont f = font_;
            f.setPointSizeF(c.fontSize);
            f.setBold(c.fontBold);
            p.setFont(f);
            p.drawText(at + QPointF(0, fontMetrics(f).ascent()), QString::fromStdString(c.text));
            break;
        }
    }
}

}  // namespace platform
