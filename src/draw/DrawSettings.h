#pragma once
// The line and font settings the drawing, table and header classes share: the same
// steps everywhere, each class with its own error box (GuardSpec). Fonts 1 to 5 of
// a class's font set are derived from the output object's font for the title mark-up.
#include "platform/ErrorGuard.h"
#include "platform/OutputObject.h"
#include <QString>
#include <array>
#include <cstdint>

// Font 0: the object's font when a text starts; 1 to 5 derived from it (DeriveFontSet).
using FontSet = std::array<FontSpec, 6>;

// Pen of the object: style LINIENART (0 solid, 1 dashed, 2 dotted), width LINIENBREITE in
// scale units converted to pixels (0: one pixel), colour FARBE (0: black), copy-pen mode.
// The converted width and colour are written back. A missing object is error 91 in a step.
void LineSettings(DialogService& dialogs, const GuardSpec& box, OutputObject* object, float pixelsPerUnit,
                  int16_t LINIENART, float& LINIENBREITE, int32_t& FARBE);

// Font of the object ("Arial" when no name, 8 points when the size is below 1, colour 0 or
// less black) and the font set rebuilt from it.
void FontSettings(DialogService& dialogs, const GuardSpec& box, OutputObject* object, FontSet& fonts,
                  const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT, bool UNTERSTRICHEN,
                  bool KURSIV, int32_t FARBE);
