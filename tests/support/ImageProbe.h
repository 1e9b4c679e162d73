#pragma once
// What a person sees in a rendered image: dark pixels and where they are.
#include <QImage>
#include <QRect>
#include <algorithm>
#include <climits>

inline bool inked(const QImage& img, int x, int y)
{
    return img.rect().contains(x, y) && qGray(img.pixel(x, y)) < 160;
}

// The bounding box of dark pixels in an image region (null when there are none).
inline QRect inkBox(const QImage& img, QRect area = {})
{
    area = area.isNull() ? img.rect() : area.intersected(img.rect());
    int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (inked(img, x, y)) {
                x0 = std::min(x0, x); y0 = std::min(y0, y);
                x1 = std::max(x1, x); y1 = std::max(y1, y);
            }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}
