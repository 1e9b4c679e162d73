#pragma once
// The runtime's colours: the 16-colour palette and colour values held as Long
// (&H00BBGGRR: red in the low byte).
#include <QColor>
#include <cstdint>

// Palette colour 0 (black) to 15 (white); any other index is error 5.
QColor QBColor(int index);
QColor ColorFromLong(int32_t bgr);
int32_t LongFromColor(const QColor& color);
