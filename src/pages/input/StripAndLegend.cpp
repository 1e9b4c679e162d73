#include "StripAndLegend.h"
#include "draw/clsGRAFIK.h"
#include "platform/Colors.h"
#include "platform/ErrorGuard.h"
#include "platform/Format.h"

float LevelShift(float level)
{
    if (level > 100)
        return 3;
    if (level > 10)
        return 2;
    return 0;
}

namespace {

// Texts in mm from the area's top-left corner, not turned; ARX 0 left edge, 2 right
// edge at x; ARY 2 bottom edge, 1 middle at y.
void text(Guard& g, clsGRAFIK& d, float x, float y, const QString& s, int16_t ARX, int16_t ARY)
{
    g.step([&] { d.TEXT(x, y, s, 2, 0, ARX, ARY); });
}

// "z = ", the level ending at numberEnd + its shift, and its unit 1 mm beyond.
void level(Guard& g, clsGRAFIK& d, float left, float numberEnd, float value)
{
    text(g, d, left, 12, QStringLiteral("z = "), 0, 2);
    const float s = LevelShift(value);
    text(g, d, numberEnd + s, 12, Format(Variant(value), QStringLiteral("0.00")), 2, 2);
    text(g, d, numberEnd + 1 + s, 12, QStringLiteral("m"), 0, 2);
}

} // namespace

void DrawHeadingStrip(Guard& g, clsGRAFIK& d, float ZGWLS, float ZGWRS)
{
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QString(), 9, true, false, false, 0); });
    text(g, d, 5, 4, QStringLiteral("Linke Seite"), 0, 2);
    text(g, d, 65, 4, QStringLiteral("Rechte Seite"), 0, 2);
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QString(), 8, true, false, false, 0); });
    text(g, d, 5, 8, QStringLiteral("Tremolspiegelhöhe"), 0, 2);
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QString(), 8, false, false, false, 0); });
    level(g, d, 5, 16, ZGWLS);
    level(g, d, 65, 76, ZGWRS);
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0); });
}

void DrawLegend(Guard& g, clsGRAFIK& d)
{
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QStringLiteral("Arial"), 7, false, false, false, 0); });
    text(g, d, 26, 4, QStringLiteral("Stromlinie"), 0, 1);
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0); });
    g.step([&] { d.LINIENEINSTELLUNGEN(1, 0.0f, LongFromColor(QBColor(2))); });
    g.step([&] { d.POLYGON({11, 23}, {4, 4}); });
    g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.0f, 0); });
}
