#pragma once
// The forms were laid out in twips: 15 of them to a pixel of a 96-dpi screen.
#include <QRect>

inline constexpr int TwipsPerPixel = 15;

// A control's place given in twips (left, top, width, height), in pixels.
inline QRect PixelRect(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}
