#include "RecordingSurface.h"

RecordingSurface::RecordingSurface(double widthMm, double heightMm, SurfaceKind kind, double dpi)
    : widthMm_(widthMm), heightMm_(heightMm), kind_(kind), dpi_(dpi)
{
}

std::vector<Recorded> RecordingSurface::of(Recorded::Kind kind) const
{
    std::vector<Recorded> out;
    for (const Recorded& r : records)
        if (r.kind == kind)
            out.push_back(r);
    return out;
}

QSizeF RecordingSurface::devicePixels() const
{
    return {widthMm_ * dpi_ / 25.4, heightMm_ * dpi_ / 25.4};
}

Recorded RecordingSurface::make(Recorded::Kind kind, int32_t colour) const
{
    Recorded r;
    r.kind = kind;
    r.colour = colour;
    r.font = Font();
    r.drawStyle = DrawStyle();
    r.drawWidth = DrawWidth();
    r.fillStyle = FillStyle();
    r.fillColor = FillColor();
    return r;
}

void RecordingSurface::renderLine(QPointF a, QPointF b, int32_t colour)
{
    Recorded r = make(Recorded::Line, colour);
    r.p1 = fromDevice(a);
    r.p2 = fromDevice(b);
    records.push_back(r);
}

void RecordingSurface::renderBox(QRectF rect, bool filled, int32_t colour)
{
    Recorded r = make(filled ? Recorded::FilledBox : Recorded::Box, colour);
    r.p1 = fromDevice(rect.topLeft());
    r.p2 = fromDevice(rect.bottomRight());
    records.push_back(r);
}

void RecordingSurface::renderCircle(QPointF centre, double radius, int32_t colour,
                                    std::optional<double> start, std::optional<double> end)
{
    Recorded r = make(start ? Recorded::Arc : Recorded::Circle, colour);
    r.p1 = fromDevice(centre);
    r.radius = radius / pixelsPerUnitX();
    r.start = start.value_or(0.0);
    r.end = end.value_or(0.0);
    records.push_back(r);
}

void RecordingSurface::renderPoint(QPointF p)
{
    Recorded r = make(Recorded::Point, ForeColor());
    r.p1 = fromDevice(p);
    records.push_back(r);
}

void RecordingSurface::renderText(QPointF topLeft, const QString& shown)
{
    Recorded r = make(Recorded::Text, ForeColor());
    r.p1 = fromDevice(topLeft);
    r.text = shown;
    records.push_back(r);
}

void RecordingSurface::renderRotatedText(QPointF anchor, const QString& shown, double angleDeg,
                                         int cellHeightPx)
{
    Recorded r = make(Recorded::RotatedText, ForeColor());
    r.p1 = fromDevice(anchor);
    r.text = shown;
    r.angle = angleDeg;
    r.cellHeightPx = cellHeightPx;
    records.push_back(r);
}

void RecordingSurface::renderClear()
{
    records.push_back(make(Recorded::Clear, BackColor()));
}

double RecordingSurface::measureWidth(const QString& shown) const
{
    return kCharWidthMm * shown.size() * Font().Size / 8.0 * dpi_ / 25.4;
}

double RecordingSurface::measureHeight(const QString&) const
{
    return kCellHeightMm * Font().Size / 8.0 * dpi_ / 25.4;
}
