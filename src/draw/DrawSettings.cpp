#include "DrawSettings.h"
#include "platform/Colors.h"
#include "platform/Variant.h"

namespace {

int32_t black()
{
    return LongFromColor(QBColor(0));
}

} // namespace

void BuildFontSet(const FontSpec& base, FontSet& fonts)
{
    const int16_t indexSize = CInt(Variant(double(base.Size) / 1.175));
    for (int n = 1; n <= 5; ++n) {
        FontSpec f = base;
        f.Name = (n == 3 || n == 5) ? QStringLiteral("Symbol") : base.Name;
        f.Size = (n == 4 || n == 5) ? float(indexSize) : base.Size;
        fonts[std::size_t(n)] = f;
    }
}

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
        g.step([&] { BuildFontSet(Required(object).Font(), fonts); });
    });
}
