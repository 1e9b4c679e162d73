#include "VScrollBar.h"
#include <cmath>

VScrollBar::VScrollBar(const OutputObject& scale, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), scale_(scale)
{
    setTracking(false);
}

void VScrollBar::setGeometry(double left, double top, double width, double height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    const auto px = [](double units, double perUnit) { return int(std::lround(units * perUnit)); };
    const double sx = scale_.pixelsPerUnitX(), sy = scale_.pixelsPerUnitY();
    QScrollBar::setGeometry(px(left - scale_.ScaleLeft(), sx), px(top - scale_.ScaleTop(), sy), px(width, sx),
                            px(height, sy));
}

void VScrollBar::setMin(int value)
{
    quietly([&] { setMinimum(value); });
}

void VScrollBar::setMax(int value)
{
    quietly([&] { setMaximum(value); });
}

void VScrollBar::setLargeChange(int value)
{
    quietly([&] { setPageStep(value); });
}

void VScrollBar::setSmallChange(int value)
{
    quietly([&] { setSingleStep(value); });
}
