#pragma once
#include <QRect>
#include <cmath>

// The forms were laid out in twips: 15 of them to a pixel of a 96-dpi screen.
inline constexpr int TwipsPerPixel = 15;
// The resolution at which twips and pixels meet (1440 twips to the inch).
inline constexpr double TwipsDpi = 1440.0 / TwipsPerPixel;

// A position or size in twips as whole pixels.
inline int PixelsOfTwips(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}

// A control's place given in twips (left, top, width, height), in pixels.
inline QRect PixelRect(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}
