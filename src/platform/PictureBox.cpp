#include "PictureBox.h"
#include "Colors.h"
#include "InputCodes.h"
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>

PictureBox::PictureBox(double widthMm, double heightMm, double dpi, QWidget* parent)
    : QWidget(parent), widthMm_(0), heightMm_(0), dpi_(dpi)
{
    if (dpi_ <= 0.0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        dpi_ = screen ? screen->logicalDotsPerInchX() : 96.0;
    }
    setSizeMm(widthMm, heightMm);
    setMouseTracking(true);
}

double PictureBox::Width() const
{
    return widthMm_ * TwipsPerMm;
}

double PictureBox::Height() const
{
    return heightMm_ * TwipsPerMm;
}

void PictureBox::setSizeMm(double widthMm, double heightMm)
{
    widthMm_ = widthMm;
    heightMm_ = heightMm;
    const int w = std::max(1, int(std::lround(widthMm * dpi_ / 25.4)));
    const int h = std::max(1, int(std::lround(heightMm * dpi_ / 25.4)));
    image_ = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = int(std::lround(dpi_ / 0.0254));
    image_.setDotsPerMeterX(dotsPerMeter);
    image_.setDotsPerMeterY(dotsPerMeter);
    image_.fill(ColorFromLong(BackColor()));
    setFixedSize(w, h);
    update();
}

void PictureBox::paint(const std::function<void(QPainter&)>& f)
{
    QPainter p(&image_);
    f(p);
    p.end();
    update();
}

QPaintDevice* PictureBox::metricsDevice() const
{
    return const_cast<QImage*>(&image_);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = fromDevice(event->position());
    emit mouseMove(MouseButtonCode(event->buttons()), ShiftCode(event->modifiers()), float(at.x()), float(at.y()));
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = fromDevice(event->position());
    emit mouseDown(MouseButtonCode(event->button()), ShiftCode(event->modifiers()), float(at.x()), float(at.y()));
}
