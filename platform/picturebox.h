#pragma once
// A picture box: a Canvas on the screen with two layers. While AutoRedraw is on, drawing goes
// to the persistent image, which survives repaints and is cleared by Cls; while it is off,
// drawing is temporary and vanishes at the next Cls (which then brings back the persistent
// image). The temporary layer (cursor lines) is painted over the image from its display list.
// Mouse events arrive in user coordinates.

#include <QImage>
#include <QWidget>

#include "platform/canvas.h"

namespace platform {

class PictureBox : public QWidget, public Canvas {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void SetAutoRedraw(bool on) { autoRedraw_ = on; }
    bool AutoRedraw() const { return autoRedraw_; }
    // Setting the background erases all drawing, persistent and temporary.
    void SetBackColor(OleColor color);
    OleColor BackColor() const { return back_; }
    void SetBorder(bool on);
    void Cls();

    // Display lists of the two layers.
    const std::vector<DrawCommand>& PersistentCommands() const { return persistentCmds_; }
    const std::vector<DrawCommand>& TemporaryCommands() const { return tempCmds_; }
    // The picture as the user sees it.
    QImage Snapshot() const;

    // Mouse position in user coordinates (for tests and the mouse handlers).
    QPointF ToUser(QPointF pixel) const;
    QPointF ToPixel(QPointF user) const;

signals:
    // Button (1 left, 2 right, 4 middle; 0 none), shift state, x and y in the user scale.
    void MouseMove(int button, int shift, double x, double y);
    void MouseDown(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void Click();
    void DblClick();

protected:
    double deviceWidth() const override { return width(); }
    double deviceHeight() const override { return height(); }
    double deviceUnitsPerTwip() const override { return 1.0 / 15.0; }
    bool alignsToPixels() const override { return true; }
    void paintCommand(const DrawCommand& c) override;
    void record(const DrawCommand& c) override;

    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    QImage makeImage() const;
    // Paints the persistent commands not yet in the image, with one painter. Drawing is kept
    // in the display lists and painted when the picture is shown or read.
    void flush() const;
    void paintTemporary(QPainter& p) const;
    bool autoRedraw_ = false;
    bool border_ = true;
    OleColor back_ = kWhite;
    mutable std::vector<uchar> pixels_;
    mutable QImage persistent_;
    mutable size_t painted_ = 0;  // persistent commands already in the image
    std::vector<DrawCommand> persistentCmds_, tempCmds_;
};

}  // namespace platform
