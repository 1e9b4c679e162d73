#pragma once
// The rendering shared by the surfaces that draw with QPainter (picture box and
// printer): pens from DrawStyle/DrawWidth, fonts from the font description at the
// device's resolution, text cells with their top-left corner at the position.
// Drawing happens in device pixels without a world transform, so pens of one
// pixel and font pixel sizes are exact.
#include "OutputObject.h"
#include <QFont>
#include <functional>

class QPainter;
class QPaintDevice;

// The Qt font for a font description at a resolution: "Arial" resolves to its
// metric twin Liberation Sans, the "Symbol" face to a face with Greek letters;
// the em height is the point size in whole pixels.
QFont ResolveFont(const FontSpec& spec, double dpi);

class PainterSurface : public OutputObject {
protected:
    PainterSurface() = default;
    // Runs f with a painter on the device (opened for the call or kept by the surface).
    virtual void paint(const std::function<void(QPainter&)>& f) = 0;
    virtual QPaintDevice* metricsDevice() const = 0;

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
    QFont currentFont() const;
    void usePen(QPainter& p, int32_t colour) const;
};
