#pragma once
// Drawing with a user scale, as picture boxes and printed pages draw: a current position,
// a foreground colour, a line width and style, lines, boxes, points and text. Every call is
// also kept in a display list that tests can inspect.

#include <QFont>
#include <QFontMetricsF>
#include <QTransform>
#include <cstdint>
#include <string>
#include <vector>

class QPainter;

namespace platform {

enum class DrawStyle { Solid = 0, Dash = 1, Dot = 2 };

// Colours as the windows give them: red in the low byte (0xFF red, 0xFF00 green, 0xFF0000 blue).
using OleColor = uint32_t;
inline constexpr OleColor kBlack = 0x000000;
inline constexpr OleColor kWhite = 0xFFFFFF;
inline constexpr OleColor kRed = 0x0000FF;
inline constexpr OleColor kGreen = 0x00FF00;
inline constexpr OleColor kBlue = 0xFF0000;
inline constexpr OleColor kGrey = 0x808080;
OleColor Rgb(int red, int green, int blue);

enum class DrawKind { Line, Box, BoxFilled, Point, Text };

struct DrawCommand {
    DrawKind kind = DrawKind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // user coordinates
    OleColor color = 0;
    int width = 1;
    std::string text;
    int style = 0;  // DrawStyle
    // The scale and font in effect when the command was given, so that it can be drawn again.
    bool defaultScale = true;
    double scaleLeft = 0, scaleTop = 0, scaleWidth = 0, scaleHeight = 0;
    double fontSize = 8;
    bool fontBold = false;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // User scale: (x1, y1) at the upper-left corner, (x2, y2) at the lower-right.
    void Scale(double x1, double y1, double x2, double y2);
    // Back to the default scale of the device (twips, origin at the upper left).
    void ScaleDefault();
    double ScaleLeft() const { return left_; }
    double ScaleTop() const { return top_; }
    double ScaleWidth() const;
    double ScaleHeight() const;

    void Line(double x1, double y1, double x2, double y2);  // in the foreground colour
    void Line(double x1, double y1, double x2, double y2, OleColor color);
    void Box(double x1, double y1, double x2, double y2, OleColor color, bool filled);
    void PSet(double x, double y);
    void PSet(double x, double y, OleColor color);
    // Text with its top-left corner at the current position; then the position moves to the
    // start of the next line.
    virtual void Print(const std::string& text);

    double CurrentX = 0, CurrentY = 0;
    OleColor ForeColor = kBlack;
    int DrawWidth = 1;
    DrawStyle Style = DrawStyle::Solid;

    void SetFontSize(double points);
    void SetFontBold(bool bold);
    double FontSize() const { return font_.pointSizeF(); }
    // Extent of a text in user units.
    double TextWidth(const std::string& text) const;
    double TextHeight(const std::string& text = "Ag") const;

protected:
    Canvas();
    // Size of the drawing area in device units (logical pixels, or printer units).
    virtual double deviceWidth() const = 0;
    virtual double deviceHeight() const = 0;
    // Device units per twip for the default scale.
    virtual double deviceUnitsPerTwip() const = 0;
    // Paints one command (already recorded) on the current target.
    virtual void paintCommand(const DrawCommand& c) = 0;
    // Whether lines along the axes are laid on whole device pixels (screens; not paper).
    virtual bool alignsToPixels() const { return false; }
    // Records a command in the display list; the default keeps one list.
    virtual void record(const DrawCommand& c) { commands_.push_back(c); }

    // User to device coordinates, for the current scale or a command's.
    QTransform transform() const;
    QTransform transformFor(const DrawCommand& c) const;
    void paintWith(QPainter& p, const DrawCommand& c) const;
    const QFont& font() const { return font_; }
    // Metrics of a font in device units.
    virtual QFontMetricsF fontMetrics(const QFont& f) const { return QFontMetricsF(f); }
    // Device units per unit of DrawWidth.
    virtual double penScale() const { return 1.0; }

    std::vector<DrawCommand> commands_;

private:
    void emitCommand(DrawCommand c);
    bool defaultScale_ = true;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    QFont font_;
};

}  // namespace platform
