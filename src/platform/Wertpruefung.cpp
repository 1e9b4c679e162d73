#include "Wertpruefung.h"

#include "VbError.h"

#include <cmath>

std::optional<VbDate> DatumOderZeit(const QString& text)
{
    try {
        return CDate(Variant(text));
    } catch (const VbError&) {
        return std::nullopt;
    }
}

Wertfehler Wertpruefung(QString& text, float min, float max, bool ganz, bool datum)
{
    text = Trim(text);
    if (text.isEmpty())
        return Wertfehler::Keiner;
    if (datum)
        return DatumOderZeit(text) ? Wertfehler::Keiner : Wertfehler::KeinDatum;
    // A number beyond the range of a Single cannot be held either: no number here. Nor
    // can one too small for it: a slip like 1E-50 for 1E-05 would be stored as 0.
    float value = 0;
    try {
        const Variant typed(text);
        value = CSng(typed);
        if (value == 0.0f && CDbl(typed) != 0.0)
            return Wertfehler::KeineZahl;
    } catch (const VbError&) {
        return Wertfehler::KeineZahl;
    }
    if (value < min || value > max)
        return Wertfehler::AusserhalbSchranken;
    if (ganz && value != std::floor(value))
        return Wertfehler::KeineGanzeZahl;
    return Wertfehler::Keiner;
}

QString Wertmeldung(Wertfehler fehler, int sprache, float min, float max)
{
    const bool en = sprache == 1;
    switch (fehler) {
    case Wertfehler::KeinDatum:
        return en ? QStringLiteral("Type of value is neither date nor time!")
                  : QStringLiteral("Eingegeber Wert ist kein gültiges Datums- oder Zeitformat!");
    case Wertfehler::KeineZahl:
        return en ? QStringLiteral("Type of value is not numeric!")
                  : QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!");
    case Wertfehler::AusserhalbSchranken:
        return (en ? QStringLiteral("Numeric value out of preset limits:")
                   : QStringLiteral("Zahlenwert außerhalb der vorgegeben Schranken:"))
               + QStringLiteral("\r\nMinimum: ") + CStr(Variant(min)) + QStringLiteral(", Maximum: ")
               + CStr(Variant(max));
    case Wertfehler::KeineGanzeZahl:
        return en ? QStringLiteral("Type of value is not an integer!")
                  : QStringLiteral("Eingegeber Wert ist keine ganze Zahl!");
    case Wertfehler::Keiner:
        break;
    }
    return QString();
}
