#include "Markup.h"
#include "platform/SymbolFont.h"
#include "platform/Variant.h"

namespace {

// Mid$(s, start, length), 1-based; a negative length is error 5.
QString Mid(const QString& s, int start, int length)
{
    if (start < 1 || length < 0)
        throw VbError(VbErr::InvalidCall);
    return s.mid(start - 1, length);
}

// InStr(start, s, c), 1-based; 0 when not found.
int InStr(int start, const QString& s, QChar c)
{
    return int(s.indexOf(c, start - 1)) + 1;
}

} // namespace

MarkupParse ParseMarkup(const QString& text)
{
    MarkupParse out;
    const int L = int(text.size());
    int p = 0;
    QString code = QStringLiteral("A");   // "A" marks the start of the text
    try {
        for (;;) {
            MarkupRun run;
            const int P = InStr(p + 1, text, QLatin1Char('{'));
            if (P == 0) {
                run.text = Mid(text, p + 1, L - p);
                p = L;
            } else if (!code.isEmpty() && P > 1) {
                run.text = code == QLatin1String("A") ? text.left(P - 1) : Mid(text, p + 1, P - 1 - p);
                code.clear();
                p = P - 1;
            } else {
                const int Q = InStr(P, text, QLatin1Char('}'));
                const int C = InStr(P, text, QLatin1Char(','));
                if (C == 0) {
                    out.missingComma = true;
                    return out;
                }
                code = Mid(text, P + 1, C - P - 1);
                const int n = CInt(Variant(Mid(text, C + 1, Q - C - 1)));
                run.plain = false;
                run.code = code;
                if (code == QLatin1String("c")) {
                    run.text = AnsiChar(n);
                    p = Q;
                } else {
                    p = std::min(Q + n, L);
                    run.text = Mid(text, Q + 1, p - Q);
                }
            }
            run.end = p;
            out.runs.push_back(run);
            if (p >= L)
                return out;
        }
    } catch (const VbError& e) {
        out.error = e;
    }
    return out;
}

QString MarkupMeasuringText(const QString& text)
{
    QString s = text;
    for (;;) {
        const auto open = s.indexOf(QLatin1Char('{'));
        if (open < 0)
            return s;
        const auto close = s.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            return s;
        s.remove(open, close - open + 1);
    }
}

std::optional<QString> ExponentMarkup(const QString& text)
{
    if (!IsNumeric(Variant(text)) || text.isEmpty())
        return std::nullopt;
    const auto e = text.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    if (e < 0)
        return std::nullopt;
    const int P = int(e) + 1;
    const int L = int(text.size());
    return text.left(P - 1) + QStringLiteral("*10{h,") + CStr(Variant(int32_t(L - P))) +
           QStringLiteral("}") + text.right(L - P);
}

void DeriveFontSet(const FontSpec& base, std::array<FontSpec, 6>& fonts)
{
    const int16_t indexSize = CInt(Variant(double(base.Size) / 1.175));
    for (int n = 1; n <= 5; ++n) {
        FontSpec f = base;
        f.Name = (n == 3 || n == 5) ? QStringLiteral("Symbol") : base.Name;
        f.Size = (n == 4 || n == 5) ? float(indexSize) : base.Size;
        fonts[std::size_t(n)] = f;
    }
}

std::optional<int> MarkupFontNumber(const MarkupRun& run)
{
    if (run.plain || run.code == QLatin1String("c"))
        return 2;
    if (run.code == QLatin1String("g"))
        return 3;
    if (run.code == QLatin1String("t") || run.code == QLatin1String("h"))
        return 4;
    if (run.code == QLatin1String("gt") || run.code == QLatin1String("gh"))
        return 5;
    return std::nullopt;
}

MarkupStyle MarkupStyleOf(const MarkupRun& run)
{
    const std::optional<int> font = MarkupFontNumber(run);
    if (run.code == QLatin1String("t") || run.code == QLatin1String("gt"))
        return {font, -0.35, true};
    if (run.code == QLatin1String("h") || run.code == QLatin1String("gh"))
        return {font, 0.25, true};
    if (run.code == QLatin1String("g"))
        return {font, 0.1, false};
    return {font, 0.0, true};
}
