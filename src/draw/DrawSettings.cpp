#include "DrawSettings.h"
#include "Markup.h"
#include "platform/Colors.h"
#include "platform/Variant.h"

namespace {

int32_t black()
{
    return LongFromColor(QBColor(0));
}

} // namespace

void LineSettings(DialogService& dialogs, const GuardSpec& box, OutputObject* object, float pixelsPerUnit,
                  int16_t LINIENART, float& LINIENBREITE, int32_t& FARBE)
{
    Guarded(dialogs, box, [&](Guard& g) {
        g.step([&] {
            LINIENBREITE = LINIENBREITE == 0.0f ? 1.0f : CheckedSng(double(LINIENBREITE) * pixelsPerUnit);
        });
        g.step([&] {
            if (FARBE == 0)
                FARBE = black();
        });
        g.step([&] { Required(object).setDrawStyle(LINIENART); });
        g.step([&] { Required(object).setDrawWidth(LINIENBREITE); });
        g.step([&] { Required(object).setDrawMode(13); });
        g.step([&] { Required(object).setForeColor(FARBE); });
    });
}

void FontSettings(DialogService& dialogs, const GuardSpec& box, OutputObject* object, FontSet& fonts,
                  const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT, bool UNTERSTRICHEN,
                  bool KURSIV, int32_t FARBE)
{
    Guarded(dialogs, box, [&](Guard& g) {
        g.step([&] { Required(object).setFontName(SCHRIFTART.isEmpty() ? QStringLiteral("Arial") : SCHRIFTART); });
        g.step([&] { Required(object).setFontSize(SCHRIFTGROESSE > 0 ? float(SCHRIFTGROESSE) : 8.0f); });
        g.step([&] { Required(object).setFontBold(FETT); });
        g.step([&] { Required(object).setFontItalic(KURSIV); });
        g.step([&] { Required(object).setFontUnderline(UNTERSTRICHEN); });
        g.step([&] { Required(object).setForeColor(FARBE > 0 ? FARBE : black()); });
        g.step([&] { DeriveFontSet(Required(object).Font(), fonts); });
    });
}
