#include "Pictures.h"
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// A wave-shaped water surface across the given width at height y.
QPainterPath WaterSurface(double width, double y, double amplitude, double length)
{
    QPainterPath path(QPointF(0, y));
    for (double x = 0; x < width; x += length)
        path.quadTo(QPointF(x + length / 2, y - amplitude), QPointF(x + length, y));
    return path;
}

} // namespace

QIcon SuiteIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 4, 4);
    p.setBrush(QColor(0, 128, 255));
    p.drawRect(QRectF(4, 18, 24, 10));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(14, 4, 4, 24));
    return QIcon(pm);
}

QPixmap InstitutionLogo()
{
    QPixmap pm(100, 100);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(6, 6, 88, 88));
    p.setPen(QPen(QColor(0, 96, 192), 5));
    for (int i = 0; i < 3; ++i)
        p.drawPath(WaterSurface(100, 45 + 14 * i, 6, 20));
    p.setPen(QPen(QColor(64, 64, 64), 6));
    p.drawLine(QPointF(50, 14), QPointF(50, 86));
    return pm;
}

QPixmap SheetPileWallPicture()
{
    const int w = 1015, h = 510;
    QPixmap pm(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(200, 225, 245));
    sky.setColorAt(1, QColor(235, 240, 245));
    p.fillRect(0, 0, w, h, sky);
    // Soil below, water above it: higher on the left than on the right.
    p.fillRect(0, 380, w, h - 380, QColor(150, 115, 70));
    p.fillRect(0, 180, w / 2, 200, QColor(60, 120, 190));
    p.fillRect(w / 2, 260, w - w / 2, 120, QColor(60, 120, 190));
    p.setPen(QPen(QColor(255, 255, 255, 160), 3));
    p.drawPath(WaterSurface(w / 2.0, 180, 6, 40));
    p.drawPath(WaterSurface(w / 2.0, 260, 6, 40).translated(w / 2.0, 0));
    // The sheet-pile wall: a steel profile in trapezoidal folds.
    QPolygonF wall;
    for (int i = 0; i <= 8; ++i) {
        const double y = 90 + i * 45;
        wall << QPointF(w / 2.0 - 14 + ((i % 2) ? 18 : 0), y);
    }
    p.setPen(QPen(QColor(70, 70, 80), 22, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(wall);
    // Seepage under the wall.
    p.setPen(QPen(QColor(255, 255, 255), 3, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    QPainterPath flow(QPointF(w / 2.0 - 200, 400));
    flow.cubicTo(QPointF(w / 2.0 - 60, 500), QPointF(w / 2.0 + 60, 500), QPointF(w / 2.0 + 200, 400));
    p.drawPath(flow);
    return pm;
}
