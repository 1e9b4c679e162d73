#include "clsTABELLE.h"
#include "MarkupText.h"
#include "draw/Marks.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Format.h"
#include "platform/Locale.h"
#include "platform/ScrollBarControl.h"
#include "platform/VbError.h"
#include <algorithm>
#include <cmath>

namespace {

const Variant& at(const VariantList& list, int i)
{
    if (i < 0 || i >= int(list.size()))
        throw VbError(VbErr::Subscript);
    return list[std::size_t(i)];
}

bool isOne(const Variant& v)
{
    return IsNumeric(v) && CDbl(v) == 1.0;
}

// Mean, sample deviation and coefficient of variation of the values, summed in
// Single. A mean of 0 has no coefficient of variation: it is "-".
void STATISTIK(const std::vector<float>& values, Variant& mean, Variant& dev, Variant& var)
{
    const auto n = float(values.size());
    float sum = 0, squares = 0;
    for (float v : values) {
        sum += v;
        squares += v * v;
    }
    const float m = sum / n;
    const float spread = squares - n * m * m;
    const float d = spread > 0 && n > 1 ? std::sqrt(spread / (n - 1)) : 0.0f;
    mean = m;
    dev = d;
    var = m == 0 ? Variant("-") : Variant(d / m);
}

} // namespace

clsTABELLE::clsTABELLE(Context& ctx) : OutputBinding(ctx, QStringLiteral("VB-Error"), Measured::Every) {}

void clsTABELLE::ELSB(const VariantList& widths)
{
    ELSB_ = widths;
    const std::size_t n = widths.size();
    ELGIT_.assign(n, Variant());
    ELGITLEER_.assign(std::max<std::size_t>(n, 2) - 1, Variant());
    ELMW_.assign(n, Variant());
}

// ---------------------------------------------------------------- blocks

float clsTABELLE::blockHeight(int rows) const
{
    return 2 * ERZ_ + float(rows - 1) * pitch() + EZH_;
}

float clsTABELLE::width(int column) const
{
    return CSng(at(*ELSB_, column));
}

void clsTABELLE::TABELLE(VariantMatrix& X, int16_t POSITION)
{
    OutputObject& o = obj();
    if (!ELSB_) {
        ctx_.dlg().MsgBox(QStringLiteral("Angabe der Spaltenbreiten in Objekt ") + o.Name()
                              + QStringLiteral(" fehlt !"),
                          MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Tabelle"));
        return;
    }
    const int nc = std::min(int(ELSB_->size()), X.columns());
    const int nr = X.rows();
    float W = 0;
    for (int i = 0; i < nc; ++i)
        W += width(i);
    if (EZH_ <= 0)
        EZH_ = float(o.TextHeight(QStringLiteral("X")));
    switch (POSITION) {
    case 1:
        page(nr, W);
        body(X, nc, W);
        statistics(X, nc, nr);
        break;
    case 2:
        statisticsBlock(X, nc, nr, W);
        break;
    default:
        head(X, nc, nr, W);
        break;
    }
}

void clsTABELLE::frame(float y, float height, float W)
{
    OutputObject& o = obj();
    const int flags = LineFlags::FirstPoint | LineFlags::Box;
    o.Line(flags, left(), y, left() + W, y + height);
    o.Line(flags, left() - 0.5, y - 0.5, left() + W + 0.5, y + height + 0.5);
}

void clsTABELLE::columnLines(int nc, const std::function<std::optional<Span>(int)>& span)
{
    if (nc <= 1)
        return;
    OutputObject& o = obj();
    const int flags = LineFlags::FirstPoint | LineFlags::Step;
    float x = left() + width(0);
    for (int i = 0; i <= nc - 2; ++i) {
        const double kind = CDbl(at(ELGIT_, i));
        if (const std::optional<Span> s = span(i)) {
            if (kind >= 1)
                o.Line(flags, x, s->y1, 0, s->h);
            if (kind == 2)
                o.Line(flags, x + 0.5, s->y1, 0, s->h);
        }
        x += width(i + 1);
    }
}

void clsTABELLE::head(const VariantMatrix& X, int nc, int nr, float W)
{
    const float H = blockHeight(nr);
    headHeight_ = H;
    frame(top(), H, W);
    columnLines(nc, [&](int i) -> std::optional<Span> {
        // The line is left out in the first k head rows, whose cells run across it.
        const double k = CDbl(at(ELGITLEER_, i));
        if (k <= 0)
            return Span{top(), H};
        if (k >= nr)
            return std::nullopt;
        const float gap = float(k) * EZH_ + ERZ_ + 1;
        return Span{top() + gap, H - gap};
    });
    for (int j = 0; j < nr; ++j) {
        const float y = top() + ERZ_ + EZH_ + float(j) * pitch();
        float x = left();
        for (int k = 0; k < nc;) {
            float cellWidth = width(k);
            int i = k;
            while (i < nc - 1 && CDbl(at(ELGITLEER_, i)) > j) {
                cellWidth += width(i + 1);
                ++i;
            }
            TEXT(x + cellWidth / 2, y - 1.5, X(k, j), 1, 1);
            x += cellWidth;
            k = i + 1;
        }
    }
}

void clsTABELLE::page(int nr, float W)
{
    const float full = blockHeight(nr);
    ScrollBarControl* bar = EYBALKEN_;
    if (!bar) {
        EEZ_ = 0;
        ELZ_ = int16_t(nr - 1);
        bodyHeight_ = full;
        return;
    }
    OutputObject& o = obj();
    const float H = headHeight_;
    // Index of the last row whose text line stays within the limit (nr - 1 when all do).
    const auto fitting = [&](float firstLine, float limit) {
        int k = 0;
        while (k < nr && firstLine + float(k) * pitch() <= limit)
            ++k;
        return k - 1;
    };
    // The window of v + 1 rows at the bar's position.
    const auto window = [&](int v) {
        const double q = Round(CheckedDiv(bar->Value(), bar->Max() - bar->Min()), 3);
        EEZ_ = std::max<int16_t>(0, CInt(Variant(q * (nr - 1 - v))));
        ELZ_ = int16_t(std::min(EEZ_ + v, nr - 1));
    };
    if (o.kind() == SurfaceKind::PictureBox) {
        const float height = float(o.ScaleHeight());
        const float firstLine = ERO_ + H + ERZ_ + EZH_;
        if (bar->Value() == 0) {
            EEZ_ = 0;
            ELZ_ = int16_t(nr - 1);
            bodyHeight_ = full;
            if (height > bodyHeight_ + H + ERO_ + ERU_) {
                bar->setVisible(false);
                return;
            }
            const float barTop = ERO_ + H + 0.5f;
            bar->setGeometry(ERL_ + W + 1.5f, barTop, 5, height - barTop - ERU_);
            bar->setMin(0);
            bar->setMax(10000);
            bar->setLargeChange(2000);
            bar->setSmallChange(300);
            bar->setVisible(true);
            const int v = fitting(firstLine, height - ERU_);
            ELZ_ = int16_t(v);
            bodyHeight_ = 2 * ERZ_ + float(v) * pitch() + EZH_;
        } else {
            const int v = fitting(firstLine, height - ERU_);
            window(v);
            bodyHeight_ = 2 * ERZ_ + float(v) * pitch() + EZH_;
        }
    } else if (o.kind() == SurfaceKind::Printer) {
        // The rows the bar shows on screen, or all of them when it is hidden.
        EEZ_ = 0;
        ELZ_ = int16_t(nr - 1);
        if (bar->Visible())
            window(fitting(2 * ERZ_ + EZH_, float(bar->Height())));
        bodyHeight_ = 2 * ERZ_ + float(ELZ_ - EEZ_) * pitch() + EZH_;
    }
}

void clsTABELLE::body(const VariantMatrix& X, int nc, float W)
{
    const float y1 = top() + headHeight_ + 0.5f;
    frame(y1, bodyHeight_, W);
    columnLines(nc, [&](int) { return std::optional<Span>(Span{y1, bodyHeight_}); });
    for (int j = EEZ_; j <= ELZ_; ++j) {
        const float y = top() + headHeight_ + ERZ_ + EZH_ + float(j - EEZ_) * pitch();
        float xi = left();
        for (int i = 0; i < nc; ++i) {
            const QString pattern = CStr(at(ELFORMAT_, i));
            const Variant& value = X(i, j);
            if (pattern == QLatin1String("SYMBOL"))
                PUNKTSYMBOL(xi + width(i) / 2, y - EZH_ / 2, value);
            else
                cell(i, xi, y, pattern.isEmpty() ? (value.isNull() ? QString() : CStr(value)) : Format(value, pattern));
            xi += width(i);
        }
    }
}

void clsTABELLE::cell(int i, float xi, float y, const QString& text)
{
    const double alignment = CDbl(at(ELA_, i));
    const float w = width(i);
    if (alignment == 0) {
        TEXT(xi + 1.5, y - 1, text, 0, 1);
    } else if (alignment == 1) {
        TEXT(xi + w / 2, y - 1, text, 1, 1);
    } else if (alignment == 2) {
        TEXT(xi + w - 1.5, y - 1, text, 2, 1);
    } else if (alignment == 3) {
        // The decimal sign of the text stands where the pattern puts its point: at the
        // middle when the point is at the pattern's middle, off it in proportion.
        const QString pattern = CStr(at(ELFORMAT_, i));
        const auto p = text.indexOf(DecimalSeparatorOf(ProgramLocale())) + 1;
        const double w1 = p > 0 ? obj().TextWidth(text.left(p)) : 0.0;
        const auto L = float(pattern.size());
        const auto q = float(pattern.indexOf(QLatin1Char('.')) + 1);
        const float offset = L == 0 ? 0.0f : (w / 2 - 1.5f) * (L / 2 - q) / L;
        TEXT(xi + w / 2 - w1 - offset, y - 1, text, 0, 1);
    }
}

void clsTABELLE::statistics(const VariantMatrix& X, int nc, int nr)
{
    mean_.emplace(std::size_t(nc));
    dev_.emplace(std::size_t(nc));
    var_.emplace(std::size_t(nc));
    for (int i = 0; i < nc; ++i) {
        if (!isOne(at(ELMW_, i)))
            continue;
        std::vector<float> values;
        for (int r = 0; r < nr; ++r) {
            const Variant& v = X(i, r);
            if (CDbl(v) == 0)
                break;
            values.push_back(CSng(v));
        }
        Variant& m = (*mean_)[std::size_t(i)];
        Variant& d = (*dev_)[std::size_t(i)];
        Variant& c = (*var_)[std::size_t(i)];
        // A zero in the column, or no values at all, gives no statistics.
        if (values.empty() || int(values.size()) < nr)
            m = d = c = Variant("-");
        else
            STATISTIK(values, m, d, c);
    }
}

void clsTABELLE::statisticsBlock(VariantMatrix& X, int nc, int nr, float W)
{
    const float S = blockHeight(nr);
    statHeight_ = S;
    const float y1 = top() + headHeight_ + bodyHeight_ + 1;
    frame(y1, S, W);
    columnLines(nc, [&](int) { return std::optional<Span>(Span{y1, S}); });
    for (int i = 0; i < nc; ++i) {
        if (!isOne(at(ELMW_, i)))
            continue;
        if (!mean_)   // no body drawn before
            throw VbError(VbErr::Subscript);
        const std::array<const Variant*, 3> results{&(*mean_)[std::size_t(i)], &(*dev_)[std::size_t(i)],
                                                    &(*var_)[std::size_t(i)]};
        for (int r = 0; r < std::min(nr, 3); ++r)
            X(i, r) = *results[std::size_t(r)];
    }
    for (int j = 0; j < nr; ++j) {
        const float y = y1 - 1 + ERZ_ + EZH_ + float(j) * pitch();
        float xi = left();
        for (int i = 0; i < nc; ++i) {
            cell(i, xi, y, Format(X(i, j), CStr(at(ELFORMAT_, i))));
            xi += width(i);
        }
    }
}

// ---------------------------------------------------------------- texts and marks

void clsTABELLE::TEXT(double x, double y, const Variant& text, int ah, int av)
{
    MarkupText(ctx_.dlg(), obj(), fonts_, x, y, text, ah, av);
}

void clsTABELLE::TITEL(const Variant& TXT)
{
    TEXT(left(), top() - ERZ_ - 1.5, TXT, 0, 2);
}

void clsTABELLE::FUSSNOTE(const Variant& TXT)
{
    TEXT(left() + 1.5, top() + headHeight_ + bodyHeight_ + statHeight_ + ERZ_ + 1.5, TXT, 0, 0);
}

void clsTABELLE::PUNKTSYMBOL(double x, double y, const Variant& code)
{
    // Palette colours of the marks 0 to 7.
    static const int colours[8] = {1, 2, 3, 4, 5, 10, 9, 0};
    if (!IsNumeric(code))
        return;
    const double number = CDbl(code);
    if (number != std::floor(number) || number < 0 || number > 7)
        return;
    OutputObject& o = obj();
    const SavedDrawingState keep(&o);   // the fore colour comes back
    const int n = int(number);
    const int32_t colour = LongFromColor(QBColor(colours[n]));
    o.setForeColor(colour);
    if (n == 7)
        o.PSet(x, y);
    else
        DrawMark(o, n, x, y, colour, LongFromColor(QBColor(0)));
}
