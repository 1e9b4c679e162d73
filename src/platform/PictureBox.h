#pragma once
// A page's picture area: a widget that keeps its drawing in an image, so that the
// drawing persists, repaints and can be saved. Its nominal size is in millimetres
// (the page layout); the image has that size at the screen's resolution. Its tooltip
// is the widget's; the pointer's moves and presses over it are reported in its scale
// units.
#include "PainterSurface.h"
#include <QImage>
#include <QWidget>

class PictureBox : public QWidget, public PainterSurface {
    Q_OBJECT

public:
    // dpi 0: the screen's logical resolution.
    PictureBox(double widthMm, double heightMm, double dpi = 0.0, QWidget* parent = nullptr);

    SurfaceKind kind() const override { return SurfaceKind::PictureBox; }
    QString Name() const override { return objectName(); }
    double Width() const override;
    double Height() const override;
    double pixelsPerInchY() const override { return dpi_; }

    // New nominal size; the drawing is cleared.
    void setSizeMm(double widthMm, double heightMm);
    const QImage& Image() const { return image_; }

signals:
    // Button and shift state as the runtime codes them; the position in scale units.
    void mouseMove(int button, int shift, float x, float y);
    // A button went down (its code alone).
    void mouseDown(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QSizeF devicePixels() const override { return image_.size(); }
    double dpiX() const override { return dpi_; }
    double dpiY() const override { return dpi_; }
    void paint(const std::function<void(QPainter&)>& f) override;
    QPaintDevice* metricsDevice() const override;

private:
    double widthMm_, heightMm_, dpi_;
    QImage image_;
};
