#include "TitleLine.h"

#include "draw/Markup.h"

namespace {

// The shift of a run across its line, as a share of its own height (positive raises).
double shiftOf(const MarkupRun& run)
{
    if (run.plain)
        return 0.0;
    if (run.code == QLatin1String("h") || run.code == QLatin1String("gh"))
        return 0.25;
    if (run.code == QLatin1String("t") || run.code == QLatin1String("gt"))
        return -0.35;
    return 0.0;
}

} // namespace

void DrawTitleLine(OutputObject& picture, std::array<FontSpec, 6>& fonts, double x, double y,
                   const Variant& text, int ARX, int ARY)
{
    fonts[0] = picture.Font();
    const QString s = text.isNull() || text.isEmpty() ? QString() : CStr(text);
    const QString measured = MarkupMeasuringText(s);
    const double W = picture.TextWidth(measured);
    const double H = picture.TextHeight(measured);
    double x0 = x, y0 = y;
    if (ARX == 1)
        x0 -= W / 2;
    else if (ARX == 2)
        x0 -= W;
    if (ARY == 1)
        y0 -= H / 2;
    else if (ARY == 2)
        y0 -= H;

    const MarkupParse parse = ParseMarkup(s);
    int font = 0;
    for (const MarkupRun& run : parse.runs) {
        font = MarkupFontNumber(run).value_or(font);
        picture.setFont(fonts[size_t(font)]);
        const double d = shiftOf(run) * picture.TextHeight(run.text);
        picture.setCurrentX(x0 - picture.ScaleLeft());
        picture.setCurrentY(y0 - d - picture.ScaleTop());
        picture.Print(run.text);
        const double w = picture.TextWidth(run.text);
        picture.setFont(fonts[0]);
        if (run.end < s.size())
            x0 += w;
    }
    if (parse.error)
        throw *parse.error;
}

QString PlainTitle(const QString& text)
{
    QString plain;
    for (const MarkupRun& run : ParseMarkup(text).runs)
        plain += run.text;
    return plain;
}
