#include "PainterSurface.h"
#include "Colors.h"
#include "SymbolFont.h"
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <numbers>

namespace {

// Dash patterns of the line styles 1 to 4 in millimetres: the cosmetic patterns of
// a 96-dpi screen (dash 18/6 px, dot 3/3, dash-dot 9,6,3,6, dash-dot-dot 9,3,3,3,3,3),
// so that paper and screen look alike.
QVector<qreal> dashPatternMm(int style)
{
    const double px = 25.4 / 96.0;
    switch (style) {
    case 1: return {18 * px, 6 * px};
    case 2: return {3 * px, 3 * px};
    case 3: return {9 * px, 6 * px, 3 * px, 6 * px};
    case 4: return {9 * px, 3 * px, 3 * px, 3 * px, 3 * px, 3 * px};
    default: return {};
    }
}

} // namespace

QFont ResolveFont(const FontSpec& spec, double dpi)
{
    QFont f;
    QStringList families;
    if (IsSymbolFace(spec.Name) || spec.Name.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0)
        families << QStringLiteral("Liberation Sans") << QStringLiteral("Arial");
    else
        families << spec.Name;
    families << QStringLiteral("DejaVu Sans");
    f.setFamilies(families);
    f.setPixelSize(std::max(1, int(std::lround(spec.Size * dpi / 72.0))));
    f.setWeight(QFont::Weight(std::clamp<int>(spec.Bold ? std::max<int>(spec.Weight, 700) : spec.Weight, 1, 1000)));
    f.setItalic(spec.Italic);
    f.setUnderline(spec.Underline);
    f.setStrikeOut(spec.Strikethrough);
    return f;
}

QFont PainterSurface::currentFont() const
{
    return ResolveFont(Font(), dpiY());
}

void PainterSurface::usePen(QPainter& p, int32_t colour) const
{
    const int width = std::max(1, int(std::lround(DrawWidth())));
    QPen pen(ColorFromLong(colour));
    pen.setWidth(width);
    pen.setCosmetic(true);
    if (DrawStyle() == 5) {
        pen.setStyle(Qt::NoPen);
    } else if (width == 1 && DrawStyle() >= 1 && DrawStyle() <= 4) {
        // Styles are drawn solid for wider pens, as the runtime does.
        QVector<qreal> pattern = dashPatternMm(DrawStyle());
        const double pxPerMm = dpiX() / 25.4;
        for (qreal& v : pattern)
            v *= pxPerMm;
        pen.setDashPattern(pattern);
    }
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
    p.setPen(pen);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PainterSurface::renderLine(QPointF a, QPointF b, int32_t colour)
{
    paint([&](QPainter& p) {
        usePen(p, colour);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (a == b)
            p.drawPoint(a);
        else
            p.drawLine(a, b);
    });
}

void PainterSurface::renderBox(QRectF r, bool filled, int32_t colour)
{
    paint([&](QPainter& p) {
        usePen(p, colour);
        p.setBrush(filled ? QBrush(ColorFromLong(colour)) : QBrush(Qt::NoBrush));
        p.drawRect(r);
        p.setBrush(Qt::NoBrush);
    });
}

void PainterSurface::renderCircle(QPointF centre, double radius, int32_t colour,
                                  std::optional<double> start, std::optional<double> end)
{
    paint([&](QPainter& p) {
        usePen(p, colour);
        p.setRenderHint(QPainter::Antialiasing, true);
        const QRectF r(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        if (!start) {
            p.setBrush(FillStyle() == 0 ? QBrush(ColorFromLong(FillColor())) : QBrush(Qt::NoBrush));
            p.drawEllipse(r);
            p.setBrush(Qt::NoBrush);
            return;
        }
        double span = *end - *start;
        if (span < 0)
            span += 2.0 * std::numbers::pi;
        const double toSixteenth = 180.0 / std::numbers::pi * 16.0;
        p.drawArc(r, int(std::lround(*start * toSixteenth)), int(std::lround(span * toSixteenth)));
    });
}

void PainterSurface::renderPoint(QPointF pt)
{
    paint([&](QPainter& p) {
        usePen(p, ForeColor());
        QPen pen = p.pen();
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        p.drawPoint(pt);
    });
}

void PainterSurface::renderText(QPointF topLeft, const QString& shown)
{
    const QFont f = currentFont();
    paint([&](QPainter& p) {
        p.setFont(f);
        const QFontMetricsF fm(f, metricsDevice());
        if (!FontTransparent())
            p.fillRect(QRectF(topLeft, QSizeF(fm.horizontalAdvance(shown), fm.height())),
                       ColorFromLong(BackColor()));
        p.setPen(ColorFromLong(ForeColor()));
        p.drawText(QPointF(topLeft.x(), topLeft.y() + fm.ascent()), shown);
    });
}

void PainterSurface::renderRotatedText(QPointF anchor, const QString& shown, double angleDeg,
                                       int cellHeightPx)
{
    if (cellHeightPx <= 0)
        return;   // a font that cannot be made draws nothing
    // The pixel size whose cell (ascent + descent) is the wanted height.
    QFont f = currentFont();
    f.setPixelSize(100);
    const double cell100 = QFontMetricsF(f, metricsDevice()).height();
    f.setPixelSize(std::max(1, int(std::lround(cellHeightPx * 100.0 / cell100))));
    paint([&](QPainter& p) {
        p.save();
        p.setFont(f);
        p.setPen(ColorFromLong(ForeColor()));
        p.translate(anchor);
        p.rotate(-angleDeg);
        p.drawText(QPointF(0, QFontMetricsF(f, metricsDevice()).ascent()), shown);
        p.restore();
    });
}

void PainterSurface::renderClear()
{
    paint([&](QPainter& p) {
        p.fillRect(QRectF(QPointF(0, 0), devicePixels()), ColorFromLong(BackColor()));
    });
}

double PainterSurface::measureWidth(const QString& shown) const
{
    return QFontMetricsF(currentFont(), metricsDevice()).horizontalAdvance(shown);
}

double PainterSurface::measureHeight(const QString& /*shown*/) const
{
    return QFontMetricsF(currentFont(), metricsDevice()).height();
}
