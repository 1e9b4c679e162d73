#pragma once
// The test of a value typed into a box or a grid cell: empty is fine; otherwise it must
// be a date or time, or a number in the locale's format within inclusive limits and,
// when asked, whole. The input window and the grid table word their messages alike.
#include "Variant.h"
#include <QString>
#include <optional>

enum class Wertfehler { Keiner, KeinDatum, KeineZahl, AusserhalbSchranken, KeineGanzeZahl };

// A date or time in the program's locale; nullopt for any other text.
std::optional<VbDate> DatumOderZeit(const QString& text);

// Trims text in place, then tests it. A number is one in the locale's format (no group
// separators) that a Single holds: neither beyond its range nor so small that it would
// be held as 0.
Wertfehler Wertpruefung(QString& text, float min, float max, bool ganz, bool datum);

// The message for a fault: English when the language code is 1, German otherwise. The
// limits appear in the general format of a Single.
QString Wertmeldung(Wertfehler fehler, int sprache, float min, float max);
