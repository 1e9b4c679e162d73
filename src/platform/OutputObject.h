#pragma once
// The output object the drawing and table classes draw on: a page's picture box or
// the printer page. It keeps the state those classes rely on between calls (scale,
// pen, fill, font, current position) and turns every drawing call into device
// pixels; the concrete surfaces only render. Coordinates are in the scale units
// (millimetres on the pages), colours are colour Longs (&H00BBGGRR), font sizes points.
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <optional>

enum class SurfaceKind { PictureBox, Printer, Other };

// Twips per millimetre of a nominal size, as the runtime counts them.
constexpr double TwipsPerMm = 56.7;

// A font description with the properties of the runtime's font object.
struct FontSpec {
    QString Name = QStringLiteral("Arial");
    float Size = 8.0f;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    int16_t Weight = 400;
    bool operator==(const FontSpec&) const = default;
};

// Scale modes: 0 user scale (set by Scale), 1 twips, 3 pixels, 6 millimetres.
namespace ScaleModes {
constexpr int User = 0;
constexpr int Twips = 1;
constexpr int Pixels = 3;
constexpr int Millimetres = 6;
}

// The line flag word: 2 colour given, 4 first point given (else the current
// position), 8 second point relative to the first, 16 box, 32 filled box.
namespace LineFlags {
constexpr int Colour = 2;
constexpr int FirstPoint = 4;
constexpr int Step = 8;
constexpr int Box = 16;
constexpr int FilledBox = 32;
}

// The circle flag word: 2 colour given, 64 start angle given, 128 end angle given.
namespace CircleFlags {
constexpr int Colour = 2;
constexpr int Start = 64;
constexpr int End = 128;
}

class OutputObject {
public:
    virtual ~OutputObject() = default;
    OutputObject(const OutputObject&) = delete;
    OutputObject& operator=(const OutputObject&) = delete;

    virtual SurfaceKind kind() const = 0;
    // The control name, as messages name the object.
    virtual QString Name() const = 0;

    // Scale. Switching the mode to pixels and back leaves the scale as it was.
    int ScaleMode() const { return scaleMode_; }
    void setScaleMode(int mode);
    double ScaleLeft() const { return scaleLeft_; }
    double ScaleTop() const { return scaleTop_; }
    double ScaleWidth() const;
    double ScaleHeight() const;
    // A user scale with (left, top) at the top-left and (right, bottom) at the bottom-right corner.
    void Scale(double left, double top, double right, double bottom);
    // Outer size in twips (TwipsPerMm per millimetre of the nominal size).
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    // Pixels per logical inch down (the device's resolution).
    virtual double pixelsPerInchY() const = 0;

    // Pen.
    int DrawStyle() const { return drawStyle_; }
    void setDrawStyle(int style) { drawStyle_ = style; }
    float DrawWidth() const { return drawWidth_; }
    void setDrawWidth(float pixels);   // drawn rounded to whole pixels, at least 1
    int DrawMode() const { return drawMode_; }
    void setDrawMode(int mode) { drawMode_ = mode; }
    int32_t ForeColor() const { return foreColor_; }
    void setForeColor(int32_t colour) { foreColor_ = colour; }

    // Fill (circles).
    int FillStyle() const { return fillStyle_; }
    void setFillStyle(int style) { fillStyle_ = style; }
    int32_t FillColor() const { return fillColor_; }
    void setFillColor(int32_t colour) { fillColor_ = colour; }
    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t colour) { backColor_ = colour; }

    // Font.
    const FontSpec& Font() const { return font_; }
    void setFont(const FontSpec& font) { font_ = font; }
    QString FontName() const { return font_.Name; }
    void setFontName(const QString& name) { font_.Name = name; }
    float FontSize() const { return font_.Size; }
    void setFontSize(float size) { font_.Size = size; }
    void setFontBold(bool v) { font_.Bold = v; }
    void setFontItalic(bool v) { font_.Italic = v; }
    void setFontUnderline(bool v) { font_.Underline = v; }
    bool FontTransparent() const { return fontTransparent_; }
    void setFontTransparent(bool v) { fontTransparent_ = v; }

    // Text.
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    void setCurrentX(double x) { currentX_ = x; }
    void setCurrentY(double y) { currentY_ = y; }
    double TextWidth(const QString& s) const;
    double TextHeight(const QString& s) const;
    // Prints s with the top-left of its cell at the current position, without a
    // line break; the current position moves to the end of the text.
    void Print(const QString& s);

    // Line with its flag word; the current position ends at the second point. A box
    // outline is drawn in the pen, a filled box filled in the line colour.
    void Line(int flags, double x1, double y1, double x2, double y2, int32_t colour = 0);
    // Circle or arc (angles in radians counter-clockwise from 3 o'clock, each within
    // -2pi..2pi, else error 5). Equal start and end angles draw nothing.
    void Circle(int flags, double x, double y, double radius, int32_t colour = 0,
                double start = 0.0, double end = 0.0);
    // One point in the fore colour, DrawWidth pixels wide.
    void PSet(double x, double y);
    // Text turned by angleDeg (counter-clockwise) about the top-left corner of its cell,
    // in the current font at a cell height in pixels; position in device pixels.
    void TextOutRotated(int px, int py, const QString& s, double angleDeg, int cellHeightPx);
    // Clears to the back colour; the current position goes to (0, 0).
    void Cls();

    // Pixels per scale unit across and down.
    double pixelsPerUnitX() const;
    double pixelsPerUnitY() const;
    // The text as the current font shows it (the "Symbol" face mapped to Unicode).
    QString shownText(const QString& s) const;

protected:
    OutputObject() = default;

    // Size of the drawing area in device pixels and the device's resolution.
    virtual QSizeF devicePixels() const = 0;
    virtual double dpiX() const = 0;
    virtual double dpiY() const = 0;

    // Rendering, all in device pixels; text already mapped for display.
    virtual void renderLine(QPointF a, QPointF b, int32_t colour) = 0;
    virtual void renderBox(QRectF r, bool filled, int32_t colour) = 0;
    // Full circle when start == end == nullopt, else the arc from start to end (radians).
    virtual void renderCircle(QPointF centre, double radius, int32_t colour,
                              std::optional<double> start, std::optional<double> end) = 0;
    virtual void renderPoint(QPointF p) = 0;
    virtual void renderText(QPointF topLeft, const QString& shown) = 0;
    virtual void renderRotatedText(QPointF anchor, const QString& shown, double angleDeg,
                                   int cellHeightPx) = 0;
    virtual void renderClear() = 0;
    // Extent of shown text in the current font, in device pixels.
    virtual double measureWidth(const QString& shown) const = 0;
    virtual double measureHeight(const QString& shown) const = 0;

    QPointF toDevice(double x, double y) const;
    QPointF fromDevice(QPointF px) const;

private:
    double unitsPerInch(int mode) const;   // 0 for pixels

    int scaleMode_ = ScaleModes::Millimetres;
    double scaleLeft_ = 0.0, scaleTop_ = 0.0;
    double userWidth_ = 0.0, userHeight_ = 0.0;   // user scale extent (mode 0)
    int drawStyle_ = 0;
    float drawWidth_ = 1.0f;
    int drawMode_ = 13;
    int32_t foreColor_ = 0;
    int fillStyle_ = 1;
    int32_t fillColor_ = 0;
    int32_t backColor_ = 0xFFFFFF;
    FontSpec font_;
    bool fontTransparent_ = true;
    double currentX_ = 0.0, currentY_ = 0.0;
};

// The object a drawing class was given; none set is error 91.
OutputObject& Required(OutputObject* object);

// Keeps the pen (style, width, mode, fore colour) and the font of an output object and
// puts them back when it goes, however the drawing in between ends. The fill and the
// text background are not kept: what changes them leaves them as its own rules say.
// Without an object there is nothing to keep.
class SavedDrawingState {
public:
    explicit SavedDrawingState(OutputObject* object);
    ~SavedDrawingState();
    SavedDrawingState(const SavedDrawingState&) = delete;
    SavedDrawingState& operator=(const SavedDrawingState&) = delete;

private:
    OutputObject* object_;
    int drawStyle_ = 0, drawMode_ = 0;
    float drawWidth_ = 0;
    int32_t foreColor_ = 0;
    FontSpec font_;
};

// The output object's scale as the drawing classes measure it: its origin and the
// units of a scale mode (pixels unless told) per scale unit, found by switching to
// that mode and back (the scale stays as it was).
struct ScaleMeasure {
    double left = 0.0, top = 0.0;
    double pixelsPerUnitX = 0.0, pixelsPerUnitY = 0.0;
};
ScaleMeasure MeasureScale(OutputObject& object, int mode = ScaleModes::Pixels);
