#include "clsGRAFIK.h"
#include "DrawMath.h"
#include "Markup.h"
#include "clsROTATOR.h"
#include "data/DatenSql.h"
#include "data/clsDATEN.h"
#include "platform/Ado.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include "platform/Format.h"
#include "platform/ScrollBarControl.h"
#include "platform/Variant.h"
#include <cmath>

namespace {

constexpr double kTwipsPerMm = 56.7;
const int32_t kWhite = 0xFFFFFF;

GuardSpec spec(const QString& title, const QString& prefix)
{
    return GuardSpec{title, prefix, MsgButtons::OKCancel, MsgIcon::Exclamation, {}};
}

const QString kPrefix = QStringLiteral("VB-Fehler: ");
const QString kPrefixColon = QStringLiteral("VB-Fehler:");

// The tables an axis size sets: bounds (0, size), range (size), one interval,
// neither grid nor labels.
void resetTables(AxisTables& t, float size)
{
    t.MIN = std::vector<float>{0.0f, size};
    t.DIFF = std::vector<float>{size};
    t.IT = std::vector<float>{1.0f};
    t.GIT = std::vector<float>{0.0f};
    t.ZL = t.GIT;
}

float at(const std::vector<float>& v, int i)
{
    if (i < 0 || i >= int(v.size()))
        throw VbError(VbErr::Subscript);
    return v[std::size_t(i)];
}

int32_t black()
{
    return LongFromColor(QBColor(0));
}

// Font number and vertical offset factor of a mark-up code in the diagram's text.
struct CodeStyle {
    std::optional<int> font;   // nullopt: the previous run's font
    double factor = 0.0;       // times the line height (positive raises)
    bool ofRun = true;         // height of the run, else of the code's own letter
};

CodeStyle styleOf(const MarkupRun& run)
{
    if (run.plain || run.code == QLatin1String("c"))
        return {2, 0.0, true};
    if (run.code == QLatin1String("t"))
        return {4, -0.35, true};
    if (run.code == QLatin1String("h"))
        return {4, 0.25, true};
    if (run.code == QLatin1String("g"))
        return {3, 0.1, false};
    if (run.code == QLatin1String("gt"))
        return {5, -0.35, true};
    if (run.code == QLatin1String("gh"))
        return {5, 0.25, true};
    if (run.code == QLatin1String("s"))
        return {std::nullopt, -0.5, false};
    return {std::nullopt, 0.0, true};
}

} // namespace

clsGRAFIK::clsGRAFIK(Context& ctx) : ctx_(ctx)
{
    // The same statement as the database view's default record, so both pick one row.
    Recordset rs;
    rs.Open(ActiveRecordStatement(ViewFilter{}), ctx_.cnnX, 3, 3);
    if (!rs.Eof())
        EID_ = CLng(rs.Fields(QStringLiteral("ID")).Value());
    rs.Close();
}

OutputObject& clsGRAFIK::obj() const
{
    if (!EOBJEKT_)
        throw VbError(VbErr::ObjectNotSet);
    return *EOBJEKT_;
}

void clsGRAFIK::EOBJEKT(OutputObject* object)
{
    EOBJEKT_ = object;
    if (!object)
        return;
    if (object->kind() != SurfaceKind::Other) {
        pxPerUnit_ = float(MeasureScale(*object).pixelsPerUnitX);
        ELX(Sng(object->Width() / kTwipsPerMm));
        ELY(Sng(object->Height() / kTwipsPerMm));
    }
    SCHRIFTEINSTELLUNGEN();
}

void clsGRAFIK::ELX(float value)
{
    ELX_ = value;
    resetTables(x_, value);
}

void clsGRAFIK::ELY(float value)
{
    ELY_ = value;
    resetTables(y_, value);
}

void clsGRAFIK::EXYIT(float value)
{
    EXYIT_ = CInt(Variant(value));
}

// ---------------------------------------------------------------- line and font settings

void clsGRAFIK::LINIENEINSTELLUNGEN(int16_t& LINIENART, float& LINIENBREITE, int32_t& FARBE)
{
    lineSettings(LINIENART, LINIENBREITE, FARBE);
}

void clsGRAFIK::LINIENEINSTELLUNGEN(const int16_t& LINIENART, const float& LINIENBREITE,
                                    const int32_t& FARBE)
{
    float width = LINIENBREITE;
    int32_t colour = FARBE;
    lineSettings(LINIENART, width, colour);
}

void clsGRAFIK::lineSettings(int16_t LINIENART, float& LINIENBREITE, int32_t& FARBE)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("Linieneinstellungen"), QStringLiteral("VB-Fehler ")),
            [&](Guard& g) {
                g.step([&] {
                    LINIENBREITE = LINIENBREITE == 0.0f ? 1.0f : Sng(double(LINIENBREITE) * pxPerUnit_);
                });
                g.step([&] {
                    if (FARBE == 0)
                        FARBE = black();
                });
                g.step([&] { obj().setDrawStyle(LINIENART); });
                g.step([&] { obj().setDrawWidth(LINIENBREITE); });
                g.step([&] { obj().setDrawMode(13); });
                g.step([&] { obj().setForeColor(FARBE); });
            });
}

void clsGRAFIK::SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT,
                                     bool UNTERSTRICHEN, bool KURSIV, int32_t FARBE)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("Schrifteinstellungen"), kPrefixColon), [&](Guard& g) {
        g.step([&] { obj().setFontName(SCHRIFTART.isEmpty() ? QStringLiteral("Arial") : SCHRIFTART); });
        g.step([&] { obj().setFontSize(SCHRIFTGROESSE > 0 ? float(SCHRIFTGROESSE) : 8.0f); });
        g.step([&] { obj().setFontBold(FETT); });
        g.step([&] { obj().setFontItalic(KURSIV); });
        g.step([&] { obj().setFontUnderline(UNTERSTRICHEN); });
        g.step([&] { obj().setForeColor(FARBE > 0 ? FARBE : black()); });
        g.step([&] { buildFontSet(); });
    });
}

void clsGRAFIK::buildFontSet()
{
    const FontSpec& base = obj().Font();
    const int16_t indexSize = CInt(Variant(double(base.Size) / 1.175));
    for (int n = 1; n <= 5; ++n) {
        FontSpec f = base;
        f.Name = (n == 3 || n == 5) ? QStringLiteral("Symbol") : base.Name;
        f.Size = (n == 4 || n == 5) ? float(indexSize) : base.Size;
        fonts_[std::size_t(n)] = f;
    }
}

// ---------------------------------------------------------------- coordinate frame

void clsGRAFIK::KOORDTRANS(float X, float Y, float& XP, float& YP)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("Koordinatentransformation"), kPrefix), [&](Guard& g) {
        g.step([&] {
            const float left = EXDL_ + PANX_ + L_.RL;
            XP = L_.OX == 1 ? Sng(left + double(SngDiv(double(X - EXMOD_) - L_.XMIN, L_.MX)))
                            : Sng(left + double(SngDiv(double(L_.XMAX) - (X - EXMOD_), L_.MX)));
        });
        g.step([&] {
            const float top = EYDO_ + PANY_ + L_.RO;
            YP = L_.OY == 1 ? Sng(top + double(SngDiv(double(L_.YMAX) - (Y - EYMOD_), L_.MY)))
                            : Sng(top + double(SngDiv(double(Y - EYMOD_) - L_.YMIN, L_.MY)));
        });
    });
}

void clsGRAFIK::KOORDTRANSINV(float XP, float YP, float& X, float& Y, int16_t SKTX, int16_t SKTY)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("Inverse Koordinatentransformation"), kPrefix),
            [&](Guard& g) {
                // A zero scale is the inverse of a transform that divides by zero.
                g.step([&] {
                    if (L_.MX == 0.0f)
                        throw VbError(VbErr::DivisionByZero);
                    X = L_.OX == 1 ? Sng(double(XP - EXDL_ - PANX_ - L_.RL) * L_.MX + L_.XMIN)
                                   : Sng(double(EXDL_ + PANX_ + L_.RL - XP) * L_.MX + L_.XMAX);
                });
                g.step([&] {
                    if (L_.MY == 0.0f)
                        throw VbError(VbErr::DivisionByZero);
                    Y = L_.OY == 1 ? Sng(double(EYDO_ + PANY_ + L_.RO - YP) * L_.MY + L_.YMAX)
                                   : Sng(double(YP - EYDO_ - PANY_ - L_.RO) * L_.MY + L_.YMIN);
                });
                g.step([&] { if (SKTX == 1) X = Sng(std::pow(10.0, double(X))); });
                g.step([&] { if (SKTY == 1) Y = Sng(std::pow(10.0, double(Y))); });
                g.step([&] { X = Sng(double(X) + EXMOD_); });
                g.step([&] { Y = Sng(double(Y) + EYMOD_); });
            });
}

// ---------------------------------------------------------------- clipped line

void clsGRAFIK::LINIE(float XP1, float YP1, float XP2, float YP2, std::optional<int32_t> FB, int16_t BOSK)
{
    GuardSpec s = spec(QStringLiteral("LINIE"), QStringLiteral("VB-Fehler: \nFehlerNr. "));
    Guarded(ctx_.dlg(), s, [&](Guard& g) {
        float XL = 0, XR = 0, YO = 0, YU = 0;
        std::optional<std::pair<QPointF, QPointF>> visible;
        g.step([&] {
            if (BOSK == 1) {
                XL = EXDL_; XR = EXDL_ + ELX_; YO = EYDO_; YU = EYDO_ + ELY_;
            } else {
                XL = EXDL_ + L_.RL; XR = EXDL_ + ELX_ - L_.RR;
                YO = EYDO_ + L_.RO; YU = EYDO_ + ELY_ - L_.RU;
            }
        });
        g.step([&] {
            if (XP2 <= XP1) {
                std::swap(XP1, XP2);
                std::swap(YP1, YP2);
            }
        });
        g.step([&] {
            if ((XP1 < XL && XP2 < XL) || (XP1 > XR && XP2 > XR) || (YP1 < YO && YP2 < YO) ||
                (YP1 > YU && YP2 > YU))
                return;
            if (FB) {
                XP1 = std::max(XP1, XL);
                XP2 = std::min(XP2, XR);
                if (YP1 < YP2) {
                    YP1 = std::max(YP1, YO);
                    YP2 = std::min(YP2, YU);
                } else {
                    YP1 = std::min(YP1, YU);
                    YP2 = std::max(YP2, YO);
                }
                visible = {QPointF(XP1, YP1), QPointF(XP2, YP2)};
                return;
            }
            const auto inside = [&](double x, double y) { return x >= XL && x <= XR && y >= YO && y <= YU; };
            if (inside(XP1, YP1) && inside(XP2, YP2)) {
                visible = {QPointF(XP1, YP1), QPointF(XP2, YP2)};
            } else if (XP1 == XP2) {
                const float y1 = std::max(std::min(YP1, YP2), YO);
                const float y2 = std::min(std::max(YP1, YP2), YU);
                visible = {QPointF(XP1, y1), QPointF(XP1, y2)};
            } else if (YP1 == YP2) {
                visible = {QPointF(std::max(XP1, XL), YP1), QPointF(std::min(XP2, XR), YP1)};
            } else {
                // The crossings with the edges and the end points inside, along x.
                std::vector<QPointF> pts;
                if (inside(XP1, YP1))
                    pts.emplace_back(XP1, YP1);
                if (inside(XP2, YP2))
                    pts.emplace_back(XP2, YP2);
                for (float x : {XL, XR}) {
                    if (x < XP1 || x > XP2)
                        continue;
                    const float y = LININT(ctx_.dlg(), XP1, XP2, x, YP1, YP2);
                    if (y >= YO && y <= YU)
                        pts.emplace_back(x, y);
                }
                for (float y : {YO, YU}) {
                    if (y < std::min(YP1, YP2) || y > std::max(YP1, YP2))
                        continue;
                    const float x = LININT(ctx_.dlg(), YP1, YP2, y, XP1, XP2);
                    if (x >= XL && x <= XR)
                        pts.emplace_back(x, y);
                }
                if (pts.size() < 2)
                    return;
                const auto [lo, hi] = std::minmax_element(pts.begin(), pts.end(),
                    [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
                if (lo->x() < hi->x())   // a single corner touch draws nothing
                    visible = {*lo, *hi};
            }
        });
        g.step([&] {
            if (!visible)
                return;
            const auto& [a, b] = *visible;
            if (FB)
                obj().Line(LineFlags::FirstPoint | LineFlags::Colour | LineFlags::FilledBox,
                           a.x(), a.y(), b.x(), b.y(), *FB);
            else
                obj().Line(LineFlags::FirstPoint | LineFlags::Colour, a.x(), a.y(), b.x(), b.y(),
                           obj().ForeColor());
        });
    });
}

// ---------------------------------------------------------------- arrow head

void clsGRAFIK::PFEIL(float XP1, float YP1, float XP2, float YP2)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("Pfeil"), kPrefix), [&](Guard& g) {
        float L = 2.5f;
        const float W = 15.0f * DrawConst::DEG;
        float R = 0, D = 0, Ax = 0, Ay = 0, Bx = 0, By = 0;
        g.step([&] { R = STRECKENWINKEL(XP2, YP2, XP1, YP1); });
        g.step([&] {
            D = Sng(std::sqrt(double(XP2 - XP1) * (XP2 - XP1) + double(YP2 - YP1) * (YP2 - YP1)));
            if (2.0f * L > D)
                L = D / 2.0f;
        });
        g.step([&] {
            Ax = Sng(L * std::cos(double(R + W)));
            Ay = Sng(L * std::sin(double(R + W)));
            Bx = Sng(L * std::cos(double(R - W)));
            By = Sng(L * std::sin(double(R - W)));
        });
        g.step([&] { LINIE(XP2, YP2, XP2 + Ax, YP2 + Ay); });
        g.step([&] { LINIE(XP2, YP2, XP2 + Bx, YP2 + By); });
        g.step([&] { LINIE(XP2 + Ax, YP2 + Ay, XP2 + Bx, YP2 + By); });
    });
}

// ---------------------------------------------------------------- marked-up text

void clsGRAFIK::TEXT(float X, float Y, QString& TEXT, int16_t KO, int16_t AL, int16_t ARX, int16_t ARY)
{
    textRuns(X, Y, TEXT, KO, AL, ARX, ARY);
}

void clsGRAFIK::TEXT(float X, float Y, const QString& TEXT, int16_t KO, int16_t AL, int16_t ARX,
                     int16_t ARY)
{
    QString copy = TEXT;
    textRuns(X, Y, copy, KO, AL, ARX, ARY);
}

void clsGRAFIK::textRuns(float X, float Y, QString& TEXT, int16_t KO, int16_t AL, int16_t ARX,
                         int16_t ARY)
{
    if (TEXT.isEmpty())
        return;
    Guarded(ctx_.dlg(), spec(QStringLiteral("Text"), kPrefix), [&](Guard& g) {
        float x = X, y = Y;
        double left = 0, right = 0, top = 0, bottom = 0;
        QString measuring;
        double a = 0, W = 0, H = 0;
        g.step([&] {
            if (KO == 1) {
                KOORDTRANS(ESKTX_ == 1 ? LOG10(X) : X, ESKTY_ == 1 ? LOG10(Y) : Y, x, y);
            } else if (KO == 2) {
                x = X + PANX_ + EXDL_;
                y = Y + PANY_ + EYDO_;
            }
        });
        g.step([&] {
            if (KO == 1) {
                left = EXDL_ + L_.RL - 1.0f; right = EXDL_ + ELX_ - L_.RR + 1.0f;
                top = EYDO_ + L_.RO - 1.0f; bottom = EYDO_ + ELY_ - L_.RU + 1.0f;
            } else {
                left = EXDL_ - 1.0f; right = EXDL_ + ELX_ + 1.0f;
                top = EYDO_ - 1.0f; bottom = EYDO_ + ELY_ + 1.0f;
            }
        });
        g.step([&] { measuring = MarkupMeasuringText(TEXT); });
        g.step([&] { a = double(float(AL) * DrawConst::DEG); });
        g.step([&] { fonts_[0] = obj().Font(); });
        g.step([&] {
            if (const auto rewritten = ExponentMarkup(TEXT))
                TEXT = *rewritten;
        });
        g.step([&] {
            W = obj().TextWidth(measuring);
            H = obj().TextHeight(measuring);
        });
        const double ca = std::cos(a), sa = std::sin(a);
        g.step([&] {
            switch (ARX) {
            case 1: left += W * ca / 2; right -= W * ca / 2; break;
            case 2: left += W * ca; break;
            default: right -= W * ca; break;
            }
            switch (ARY) {
            case 1: top += H * ca / 2; bottom -= H * ca / 2; break;
            case 2: top += H * ca; break;
            default: bottom -= H * ca; break;
            }
        });
        bool inside = true;
        g.step([&] { inside = left < x && x < right && top < y && y < bottom; });
        if (!inside)
            return;
        double x0 = x, y0 = y;
        g.step([&] {
            if (ARX == 1) { x0 -= W * ca / 2; y0 += W * sa / 2; }
            if (ARX == 2) { x0 -= W * ca; y0 += W * sa; }
            if (ARY == 1) { x0 -= H * sa / 2; y0 -= H * ca / 2; }
            if (ARY == 2) { x0 -= H * sa; y0 -= H * ca; }
        });
        const MarkupParse parse = ParseMarkup(TEXT);
        int font = 0;
        for (const MarkupRun& run : parse.runs) {
            double w = 0;
            g.step([&] {
                OutputObject& o = obj();
                const CodeStyle style = styleOf(run);
                font = style.font.value_or(font);
                o.setFont(fonts_[std::size_t(font)]);
                const QString heightOf = style.ofRun ? run.text : run.code.left(1);
                const double d = style.factor == 0.0 ? 0.0 : style.factor * o.TextHeight(heightOf);
                const double xs = x0 - d * sa - o.ScaleLeft();
                const double ys = y0 - d * ca - o.ScaleTop();
                if (!run.plain && run.code == QLatin1String("s")) {
                    SYMBOL(int(Val(run.text)), xs + 0.5 * ca, ys);
                } else if (a != 0.0) {
                    const int16_t size = CInt(Variant(o.FontSize()));
                    if (size < 0 || size > 255)
                        throw VbError(VbErr::Overflow);
                    QString text = run.text;
                    ROTLABEL(text, AL, xs, ys, size, o.FontName());
                } else {
                    o.setCurrentX(xs);
                    o.setCurrentY(ys);
                    o.Print(run.text);
                }
                w = o.TextWidth(run.text);
                o.setFont(fonts_[0]);
            });
            if (run.end < TEXT.size()) {
                x0 += w * ca;
                y0 -= w * sa;
            }
        }
        if (parse.error)
            g.report(*parse.error);
    });
}

void clsGRAFIK::SYMBOL(int number, double cx, double cy)
{
    OutputObject& o = obj();
    const int32_t c = o.ForeColor();
    const int step = LineFlags::Colour | LineFlags::FirstPoint | LineFlags::Step;   // 14
    const int cont = LineFlags::Colour | LineFlags::Step;                           // 10
    const auto cross = [&] {
        o.Line(step, cx, cy, -0.75, -0.75, c);
        o.Line(step, cx, cy, -0.75, 0.75, c);
        o.Line(step, cx, cy, 0.75, -0.75, c);
        o.Line(step, cx, cy, 0.75, 0.75, c);
    };
    switch (number) {
    case 0:
        cross();
        break;
    case 1:
        o.Line(step | LineFlags::FilledBox, cx - 0.5, cy - 0.5, 1.0, 1.0, c);
        break;
    case 2:
        o.Line(step | LineFlags::Box, cx - 0.5, cy - 0.5, 1.0, 1.0, c);
        break;
    case 3:
        o.setFillColor(c);
        o.setFillStyle(0);
        o.Circle(CircleFlags::Colour, cx, cy, 0.7, c);
        o.setFillStyle(1);
        o.setFillColor(kWhite);
        break;
    case 4:
        o.Circle(CircleFlags::Colour, cx, cy, 0.7, c);
        break;
    case 5:
        o.Line(step, cx - 0.7, cy + 0.33, 1.4, 0.0, c);
        o.Line(cont, 0.0, 0.0, -0.7, -1.0, c);
        o.Line(cont, 0.0, 0.0, -0.7, 1.0, c);
        break;
    case 6:
        cross();
        o.Line(step, cx - 0.75, cy, 1.5, 0.0, c);
        o.Line(step, cx, cy - 0.75, 0.0, 1.5, c);
        break;
    default:
        break;
    }
}

void clsGRAFIK::ROTLABEL(QString& text, int16_t AL, double x, double y, int size, const QString& face)
{
    OutputObject& o = obj();
    o.setCurrentX(x);
    o.setCurrentY(y);
    if (o.FontSize() < 8.25f)
        o.setFontSize(float(size));
    o.setFontName(face);
    o.setFontSize(float(size));
    o.setFontTransparent(true);
    clsROTATOR rotator;
    rotator.Device(o);
    rotator.Angle(AL);
    rotator.Label(text);
}

// ---------------------------------------------------------------- axes and scales

bool clsGRAFIK::readRow(Guard& g, clsDATEN& view, bool scales)
{
    const QString key = QStringLiteral("IDOBJEKT");
    const Variant id(EIDOBJEKT_);
    bool ok = true;
    const auto single = [&](const char* column, float& value) {
        if (ok)
            ok = view.DTVS(QLatin1String(column), value, key, id);
    };
    if (!scales) {
        ok = view.DTVI(QStringLiteral("OX"), L_.OX, key, id) && view.DTVI(QStringLiteral("OY"), L_.OY, key, id);
        single("RL", L_.RL);
        single("RR", L_.RR);
        single("RO", L_.RO);
        single("RU", L_.RU);
        single("XMIN", L_.XMIN);
        single("XMAX", L_.XMAX);
        single("YMIN", L_.YMIN);
        single("YMAX", L_.YMAX);
    } else {
        single("MYMX", L_.MYMX);
        single("MX", L_.MX);
        single("MY", L_.MY);
    }
    if (!ok)
        ShowErrorBox(ctx_.dlg(), g.spec(), VbError(0, QString()));
    return ok;
}

void clsGRAFIK::SKALEN(int16_t NR, const std::optional<std::vector<float>>& X,
                       const std::optional<std::vector<float>>& Y)
{
    std::vector<float> xs = X.value_or(std::vector<float>{0.0f});
    std::vector<float> ys = Y.value_or(std::vector<float>{0.0f});
    Guarded(ctx_.dlg(), spec(QStringLiteral("Skalen"), kPrefixColon), [&](Guard& g) {
        clsDATEN view(ctx_);
        view.ETABELLE(QStringLiteral("G0"));
        view.ESPIDW(EID_);
        const QString key = QStringLiteral("IDOBJEKT");
        const Variant id(EIDOBJEKT_);
        if (!readRow(g, view, false))
            return;
        g.step([&] {
            for (float& v : xs)
                v = Sng(double(v) - EXMOD_);
            L_.XMIN = Sng(double(L_.XMIN) - EXMOD_);
            L_.XMAX = Sng(double(L_.XMAX) - EXMOD_);
        });
        g.step([&] {
            for (float& v : ys)
                v = Sng(double(v) - EYMOD_);
            L_.YMIN = Sng(double(L_.YMIN) - EYMOD_);
            L_.YMAX = Sng(double(L_.YMAX) - EYMOD_);
        });
        AxisTicks tx = xTicks_, ty = yTicks_;
        tx.T.clear(); tx.P.clear();
        ty.T.clear(); ty.P.clear();
        if (x_.MIN)
            g.step([&] { SKALENTEILUNG(NR, EBOXMIN_, EBOXMAX_, ESKTX_, xs, L_.XMIN, L_.XMAX, tx, x_); });
        if (y_.MIN)
            g.step([&] { SKALENTEILUNG(NR, EBOYMIN_, EBOYMAX_, ESKTY_, ys, L_.YMIN, L_.YMAX, ty, y_); });
        if (EXYIT_ == 1) {
            g.step([&] {
                L_.YMAX = Sng(L_.YMIN + double(L_.XMAX - L_.XMIN) *
                                            SngDiv(ELY_ - L_.RO - L_.RU, ELX_ - L_.RL - L_.RR));
            });
            g.step([&] { SKALENTEILUNG(0, false, false, ESKTY_, ys, L_.YMIN, L_.YMAX, ty, y_); });
        } else if (EXYIT_ == 2) {
            g.step([&] {
                L_.XMAX = Sng(double(L_.YMAX - L_.YMIN) *
                                  SngDiv(ELX_ - L_.RL - L_.RR, ELY_ - L_.RO - L_.RU) + L_.XMIN);
            });
            g.step([&] { SKALENTEILUNG(0, false, false, ESKTX_, xs, L_.XMIN, L_.XMAX, tx, x_); });
        }
        xTicks_.N = tx.N; xTicks_.NM = tx.NM; xTicks_.G = tx.G; xTicks_.Z = tx.Z;
        yTicks_.N = ty.N; yTicks_.NM = ty.NM; yTicks_.G = ty.G; yTicks_.Z = ty.Z;
        g.step([&] {
            if (EBOXMIN_) view.DVTS(QStringLiteral("XMIN"), Sng(double(L_.XMIN) + EXMOD_), key, id);
            if (EBOXMAX_) view.DVTS(QStringLiteral("XMAX"), Sng(double(L_.XMAX) + EXMOD_), key, id);
            if (EBOYMIN_) view.DVTS(QStringLiteral("YMIN"), Sng(double(L_.YMIN) + EYMOD_), key, id);
            if (EBOYMAX_) view.DVTS(QStringLiteral("YMAX"), Sng(double(L_.YMAX) + EYMOD_), key, id);
        });
        if (NR == 1 || NR == 2)
            return;
        g.step([&] {
            if (ESKTX_ == 1) { L_.XMIN = LOG10(L_.XMIN); L_.XMAX = LOG10(L_.XMAX); }
            if (ESKTY_ == 1) { L_.YMIN = LOG10(L_.YMIN); L_.YMAX = LOG10(L_.YMAX); }
        });
        if (!readRow(g, view, true))
            return;
        if (L_.MX == 0.0f || L_.MY == 0.0f) {
            g.step([&] {
                MASSSTAEBE(L_.XMIN, L_.XMAX, L_.YMIN, L_.YMAX, ELX_, ELY_, L_.RL, L_.RR, L_.RU, L_.RO,
                           L_.MYMX, L_.MX, L_.MY);
            });
            g.step([&] {
                view.DVTS(QStringLiteral("MX"), L_.MX, key, id);
                view.DVTS(QStringLiteral("MY"), L_.MY, key, id);
            });
        }
        g.step([&] { scrollBar(EXBALKEN_, true); });
        g.step([&] { scrollBar(EYBALKEN_, false); });
        if ((EXBALKEN_ && EXBALKEN_->Visible()) || (EYBALKEN_ && EYBALKEN_->Visible()))
            return;
        float XP1 = 0, YP1 = 0, XP2 = 0, YP2 = 0;
        KOORDTRANS(L_.XMIN + EXMOD_, L_.YMIN + EYMOD_, XP1, YP1);
        KOORDTRANS(L_.XMAX + EXMOD_, L_.YMAX + EYMOD_, XP2, YP2);
        g.step([&] { offsetNotes(std::max(XP1, XP2), std::max(YP1, YP2)); });
        if (EAXEX_ != 0)
            axis(g, true, tx, XP1, YP1, XP2, YP2);
        if (EAXEY_ != 0)
            axis(g, false, ty, XP1, YP1, XP2, YP2);
    });
}

void clsGRAFIK::scrollBar(ScrollBarControl* bar, bool horizontal)
{
    if (!bar)
        return;
    OutputObject& o = obj();
    const double available = horizontal ? double(ELX_) * 1.01 - L_.RL - L_.RR
                                        : double(ELY_) * 1.01 - L_.RO - L_.RU;
    const double needed = horizontal ? SngDiv(L_.XMAX - L_.XMIN, L_.MX) : SngDiv(L_.YMAX - L_.YMIN, L_.MY);
    float& pan = horizontal ? PANX_ : PANY_;
    if (o.kind() == SurfaceKind::PictureBox) {
        if (available > needed) {
            bar->setValue(0);
            bar->setVisible(false);
        } else {
            if (horizontal)
                bar->setGeometry(0.0, o.ScaleHeight() - 5.0, o.ScaleWidth() - 5.0, 5.0);
            else
                bar->setGeometry(o.ScaleWidth() - 5.0, 0.0, 5.0, o.ScaleHeight() - 5.0);
            bar->setMin(0);
            bar->setMax(10000);
            bar->setLargeChange(CInt(Variant((1.0 - CheckedDiv(needed - available, needed)) * 10000.0)));
            bar->setSmallChange(CInt(Variant(bar->LargeChange() / 50.0)));
            bar->setVisible(true);
        }
    } else if (o.kind() != SurfaceKind::Printer) {
        return;
    }
    // The pan range is what the drawing exceeds the room between the margins by.
    const double q = Round(bar->Value() / 10000.0, 3);
    pan = bar->Value() == 0 ? 0.0f : Sng(q * (available - needed));
}

void clsGRAFIK::offsetNotes(float right, float bottom)
{
    OutputObject& o = obj();
    const float size = o.FontSize();
    const std::array<FontSpec, 6> saved = fonts_;
    o.setFontSize(7.0f);
    for (int n = 1; n <= 5; ++n)
        fonts_[std::size_t(n)].Size = o.FontSize();
    const auto direction = [](int16_t v) { return v == 1 || v == -1; };
    if (direction(L_.OX) && direction(L_.OY)) {
        if (EYMOD_ != 0.0f)
            TEXT(right - 0.5f, bottom - 0.5f, QStringLiteral("y = y' + ") + Format(Variant(EYMOD_), QStringLiteral("#0.00")),
                 0, 0, 2, 2);
        const float d = EYMOD_ != 0.0f ? 3.5f : 0.0f;
        if (EXMOD_ != 0.0f)
            TEXT(right - 0.5f, bottom - d, QStringLiteral("x = x' + ") + Format(Variant(EXMOD_), QStringLiteral("#0.00")),
                 0, 0, 2, 2);
    }
    o.setFontSize(size);
    // The whole font set comes back, index sizes included.
    fonts_ = saved;
}

namespace {

// Where an axis lies: its world coordinate across it, the side its ticks and labels
// go to, and the labels' vertical alignment.
struct AxisPlace {
    float world = 0;
    float D = 1;
    int16_t ARY = 0;
};

// Mode 1: along the edge where the bounds' low end lies on the page for a
// direction of 1 (the bottom for x axes, the left for y axes), -1: the opposite
// edge; beyond: that many mm off the edge. dir1: the direction (OY or OX) is 1.
AxisPlace placeAxis(int16_t mode, bool dir1, float lo, float hi, float unit, bool xAxis)
{
    AxisPlace p;
    const double off = double(mode) * unit;
    if (mode == 1)
        p.world = dir1 ? lo : hi;
    else if (mode == -1)
        p.world = dir1 ? hi : lo;
    else if (mode > 1)
        p.world = Sng(dir1 ? lo - off : hi + off);
    else
        p.world = Sng(dir1 ? hi - off : lo + off);
    const bool near = mode >= 1;
    p.D = (near == xAxis) ? 1.0f : -1.0f;
    p.ARY = (near == xAxis) ? 0 : 2;
    return p;
}

} // namespace

void clsGRAFIK::axis(Guard& g, bool xAxis, const AxisTicks& t, float XP1, float YP1, float XP2,
                     float YP2)
{
    // Positions along the axis and across it; a y axis swaps the page's x and y.
    AxisPlace place;
    g.step([&] {
        place = xAxis ? placeAxis(EAXEX_, L_.OY == 1, L_.YMIN, L_.YMAX, L_.MY, true)
                      : placeAxis(EAXEY_, L_.OX == 1, L_.XMIN, L_.XMAX, L_.MX, false);
    });
    const auto toPage = [&](float along) {
        float px = 0, py = 0;
        if (xAxis)
            KOORDTRANS(along + EXMOD_, place.world + EYMOD_, px, py);
        else
            KOORDTRANS(place.world + EXMOD_, along + EYMOD_, px, py);
        return xAxis ? std::pair{px, py} : std::pair{py, px};
    };
    const auto stroke = [&](float along1, float across1, float along2, float across2) {
        if (xAxis)
            LINIE(along1, across1, along2, across2, std::nullopt, 1);
        else
            LINIE(across1, along1, across2, along2, std::nullopt, 1);
    };
    const auto label = [&](float along, float across, const QString& text) {
        if (xAxis)
            TEXT(along, across, text, 0, 0, 1, place.ARY);
        else
            TEXT(across, along, text, 0, 90, 1, place.ARY);
    };
    const float along1 = xAxis ? XP1 : YP1, along2 = xAxis ? XP2 : YP2;
    const float across1 = xAxis ? YP1 : XP1, across2 = xAxis ? YP2 : XP2;
    const QString& pattern = xAxis ? ESKZX_ : ESKZY_;
    const bool linear = (xAxis ? ESKTX_ : ESKTY_) == 0;
    const float axisAcross = toPage(xAxis ? L_.XMIN : L_.YMIN).second;
    const float labelAcross = axisAcross + 2.0f * place.D;
    int g1 = 0, l = 0, k = 0, m = 0;
    for (int i = 0; i <= t.N; ++i) {
        g.step([&] {
            stroke(along1, axisAcross, along2, axisAcross);
            const float Ti = at(t.T, i);
            const QString text = Format(Variant(Ti), pattern);
            const auto [tickAlong, tickAcross] = toPage(Ti);
            stroke(tickAlong, tickAcross, tickAlong, tickAcross + 1.5f * place.D);
            if (linear) {
                if (i == g1 && t.G != 0) {
                    stroke(tickAlong, across1, tickAlong, across2);
                    g1 = CInt(Variant(g1 + double(t.N) / t.G));
                }
                if (i == l && t.Z != 0) {
                    label(tickAlong, labelAcross, text);
                    l = CInt(Variant(l + double(t.N) / t.Z));
                }
                return;
            }
            if (k <= t.NM && t.G != 0) {
                const float gridAlong = toPage(at(t.P, k)).first;
                stroke(gridAlong, across1, gridAlong, across2);
                ++k;
            }
            if (m <= t.NM && t.Z != 0 && t.Z == t.G) {
                const float P = at(t.P, m);
                QString value = Format(Variant(std::pow(10.0, double(P))), pattern);
                if (value.endsWith(QLatin1Char('.')))
                    value.chop(1);
                label(toPage(P).first, labelAcross, value);
                ++m;
            }
        });
    }
    g.step([&] {
        const float lift = (t.Z <= 1 && linear) ? 2.0f : 6.0f;
        label((along1 + along2) / 2.0f, axisAcross + lift * place.D, xAxis ? ETEXTX_ : ETEXTY_);
    });
}
