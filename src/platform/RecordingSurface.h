#pragma once
// A surface that records every primitive instead of rendering it, for exact
// geometry tests. Its text metrics are fixed and independent of installed fonts:
// a text is 0.5 mm per character wide and 3.15 mm high at 8 points, both growing
// with the font size (size / 8). Positions are recorded in scale units.
#include "OutputObject.h"
#include <vector>

struct Recorded {
    enum Kind { Line, Box, FilledBox, Circle, Arc, Point, Text, RotatedText, Clear };
    Kind kind = Line;
    QPointF p1, p2;            // line ends, box corners, circle centre, text anchor
    double radius = 0.0;       // scale units across
    double start = 0.0, end = 0.0;   // arc angles (radians)
    QString text;              // as shown (Symbol face mapped)
    FontSpec font;
    int32_t colour = 0;
    int drawStyle = 0;
    float drawWidth = 1.0f;
    int fillStyle = 1;
    int32_t fillColor = 0;
    double angle = 0.0;        // rotated text, degrees
    int cellHeightPx = 0;      // rotated text
};

class RecordingSurface : public OutputObject {
public:
    static constexpr double kCharWidthMm = 0.5;    // at 8 points
    static constexpr double kCellHeightMm = 3.15;  // at 8 points

    RecordingSurface(double widthMm = 297.0, double heightMm = 210.0,
                     SurfaceKind kind = SurfaceKind::PictureBox, double dpi = 96.0);

    SurfaceKind kind() const override { return kind_; }
    QString Name() const override { return name; }
    double Width() const override { return widthMm_ * TwipsPerMm; }
    double Height() const override { return heightMm_ * TwipsPerMm; }
    double pixelsPerInchY() const override { return dpi_; }

    std::vector<Recorded> records;
    QString name;   // the control name it stands in for
    // Only the records of one kind, in order.
    std::vector<Recorded> of(Recorded::Kind kind) const;

protected:
    QSizeF devicePixels() const override;
    double dpiX() const override { return dpi_; }
    double dpiY() const override { return dpi_; }
    void renderLine(QPointF a, QPointF b, int32_t colour) override;
    void renderBox(QRectF r, bool filled, int32_t colour) override;
    void renderCircle(QPointF centre, double radius, int32_t colour,
                      std::optional<double> start, std::optional<double> end) override;
    void renderPoint(QPointF p) override;
    void renderText(QPointF topLeft, const QString& shown) override;
    void renderRotatedText(QPointF anchor, const QString& shown, double angleDeg,
                           int cellHeightPx) override;
    void renderClear() override;
    double measureWidth(const QString& shown) const override;
    double measureHeight(const QString& shown) const override;

private:
    Recorded make(Recorded::Kind kind, int32_t colour) const;

    double widthMm_, heightMm_;
    SurfaceKind kind_;
    double dpi_;
};
