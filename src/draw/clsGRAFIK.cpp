#include "clsGRAFIK.h"
#include "DrawMath.h"
#include "DrawSettings.h"
#include "Marks.h"
#include "Markup.h"
#include "ArcClip.h"
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
#include <QScopeGuard>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const int32_t kWhite = 0xFFFFFF;

const QString kPrefix = QStringLiteral("VB-Fehler: ");
const QString kPrefixColon = QStringLiteral("VB-Fehler:");
// The clipped line and the arcs put the number on a line of its own.
const QString kPrefixNumber = QStringLiteral("VB-Fehler: \nFehlerNr. ");

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

// Puts a variable back to its value of the moment when it goes.
template <class T>
class Restored {
public:
    explicit Restored(T& variable) : variable_(variable), saved_(variable) {}
    ~Restored() { variable_ = saved_; }
    Restored(const Restored&) = delete;
    Restored& operator=(const Restored&) = delete;

private:
    T& variable_;
    T saved_;
};

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
    return Required(EOBJEKT_);
}

void clsGRAFIK::EOBJEKT(OutputObject* object)
{
    EOBJEKT_ = object;
    if (!object)
        return;
    if (object->kind() != SurfaceKind::Other) {
        pxPerUnit_ = float(MeasureScale(*object).pixelsPerUnitX);
        ELX(CheckedSng(object->Width() / TwipsPerMm));
        ELY(CheckedSng(object->Height() / TwipsPerMm));
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
    LineSettings(ctx_.dlg(), RoutineBox(QStringLiteral("Linieneinstellungen"), QStringLiteral("VB-Fehler ")), EOBJEKT_,
                 pxPerUnit_, LINIENART, LINIENBREITE, FARBE);
}

void clsGRAFIK::SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT,
                                     bool UNTERSTRICHEN, bool KURSIV, int32_t FARBE)
{
    FontSettings(ctx_.dlg(), RoutineBox(QStringLiteral("Schrifteinstellungen"), kPrefixColon), EOBJEKT_, fonts_,
                 SCHRIFTART, SCHRIFTGROESSE, FETT, UNTERSTRICHEN, KURSIV, FARBE);
}

// ---------------------------------------------------------------- coordinate frame

void clsGRAFIK::KOORDTRANS(float X, float Y, float& XP, float& YP)
{
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Koordinatentransformation"), kPrefix), [&](Guard& g) {
        g.step([&] {
            const float left = EXDL_ + PANX_ + L_.RL;
            XP = L_.OX == 1 ? CheckedSng(left + double(SngDiv(double(X - EXMOD_) - L_.XMIN, L_.MX)))
                            : CheckedSng(left + double(SngDiv(double(L_.XMAX) - (X - EXMOD_), L_.MX)));
        });
        g.step([&] {
            const float top = EYDO_ + PANY_ + L_.RO;
            YP = L_.OY == 1 ? CheckedSng(top + double(SngDiv(double(L_.YMAX) - (Y - EYMOD_), L_.MY)))
                            : CheckedSng(top + double(SngDiv(double(Y - EYMOD_) - L_.YMIN, L_.MY)));
        });
    });
}

void clsGRAFIK::KOORDTRANSINV(float XP, float YP, float& X, float& Y, int16_t SKTX, int16_t SKTY)
{
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Inverse Koordinatentransformation"), kPrefix),
            [&](Guard& g) {
                // A zero scale is the inverse of a transform that divides by zero.
                g.step([&] {
                    if (L_.MX == 0.0f)
                        throw VbError(VbErr::DivisionByZero);
                    X = L_.OX == 1 ? CheckedSng(double(XP - EXDL_ - PANX_ - L_.RL) * L_.MX + L_.XMIN)
                                   : CheckedSng(double(EXDL_ + PANX_ + L_.RL - XP) * L_.MX + L_.XMAX);
                });
                g.step([&] {
                    if (L_.MY == 0.0f)
                        throw VbError(VbErr::DivisionByZero);
                    Y = L_.OY == 1 ? CheckedSng(double(EYDO_ + PANY_ + L_.RO - YP) * L_.MY + L_.YMAX)
                                   : CheckedSng(double(YP - EYDO_ - PANY_ - L_.RO) * L_.MY + L_.YMIN);
                });
                g.step([&] { if (SKTX == 1) X = CheckedSng(std::pow(10.0, double(X))); });
                g.step([&] { if (SKTY == 1) Y = CheckedSng(std::pow(10.0, double(Y))); });
                g.step([&] { X = CheckedSng(double(X) + EXMOD_); });
                g.step([&] { Y = CheckedSng(double(Y) + EYMOD_); });
            });
}

// ---------------------------------------------------------------- clipped line

void clsGRAFIK::LINIE(float XP1, float YP1, float XP2, float YP2, std::optional<int32_t> FB, int16_t BOSK)
{
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("LINIE"), kPrefixNumber), [&](Guard& g) {
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
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Pfeil"), kPrefix), [&](Guard& g) {
        float L = 2.5f;
        const float W = 15.0f * DrawConst::DEG;
        float R = 0, D = 0, Ax = 0, Ay = 0, Bx = 0, By = 0;
        g.step([&] { R = STRECKENWINKEL(XP2, YP2, XP1, YP1); });
        g.step([&] {
            D = CheckedSng(std::sqrt(double(XP2 - XP1) * (XP2 - XP1) + double(YP2 - YP1) * (YP2 - YP1)));
            if (2.0f * L > D)
                L = D / 2.0f;
        });
        g.step([&] {
            Ax = CheckedSng(L * std::cos(double(R + W)));
            Ay = CheckedSng(L * std::sin(double(R + W)));
            Bx = CheckedSng(L * std::cos(double(R - W)));
            By = CheckedSng(L * std::sin(double(R - W)));
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
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Text"), kPrefix), [&](Guard& g) {
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
                // Font 0 comes back when the run is drawn, or fails.
                const auto baseFont = qScopeGuard([&] { o.setFont(fonts_[0]); });
                const MarkupStyle style = run.code == QLatin1String("s") ? MarkupStyle{std::nullopt, -0.5, false}
                                                                         : MarkupStyleOf(run);
                font = style.font.value_or(font);
                o.setFont(fonts_[std::size_t(font)]);
                const QString heightOf = style.ofRun ? run.text : run.code.left(1);
                const double d = style.factor == 0.0 ? 0.0 : style.factor * o.TextHeight(heightOf);
                const double xs = x0 - d * sa - o.ScaleLeft();
                const double ys = y0 - d * ca - o.ScaleTop();
                if (!run.plain && run.code == QLatin1String("s")) {
                    SYMBOL(CInt(Variant(Val(run.text))), xs + 0.5 * ca, ys);
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
    DrawMark(obj(), number, cx, cy, obj().ForeColor(), kWhite);
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
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Skalen"), kPrefixColon), [&](Guard& g) {
        clsDATEN view(ctx_);
        view.ETABELLE(QStringLiteral("G0"));
        view.ESPIDW(EID_);
        const QString key = QStringLiteral("IDOBJEKT");
        const Variant id(EIDOBJEKT_);
        if (!readRow(g, view, false))
            return;
        g.step([&] {
            for (float& v : xs)
                v = CheckedSng(double(v) - EXMOD_);
            L_.XMIN = CheckedSng(double(L_.XMIN) - EXMOD_);
            L_.XMAX = CheckedSng(double(L_.XMAX) - EXMOD_);
        });
        g.step([&] {
            for (float& v : ys)
                v = CheckedSng(double(v) - EYMOD_);
            L_.YMIN = CheckedSng(double(L_.YMIN) - EYMOD_);
            L_.YMAX = CheckedSng(double(L_.YMAX) - EYMOD_);
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
                L_.YMAX = CheckedSng(L_.YMIN + double(L_.XMAX - L_.XMIN) *
                                            SngDiv(ELY_ - L_.RO - L_.RU, ELX_ - L_.RL - L_.RR));
            });
            g.step([&] { SKALENTEILUNG(0, false, false, ESKTY_, ys, L_.YMIN, L_.YMAX, ty, y_); });
        } else if (EXYIT_ == 2) {
            g.step([&] {
                L_.XMAX = CheckedSng(double(L_.YMAX - L_.YMIN) *
                                  SngDiv(ELX_ - L_.RL - L_.RR, ELY_ - L_.RO - L_.RU) + L_.XMIN);
            });
            g.step([&] { SKALENTEILUNG(0, false, false, ESKTX_, xs, L_.XMIN, L_.XMAX, tx, x_); });
        }
        xTicks_.N = tx.N; xTicks_.NM = tx.NM; xTicks_.G = tx.G; xTicks_.Z = tx.Z;
        yTicks_.N = ty.N; yTicks_.NM = ty.NM; yTicks_.G = ty.G; yTicks_.Z = ty.Z;
        g.step([&] {
            if (EBOXMIN_) view.DVTS(QStringLiteral("XMIN"), CheckedSng(double(L_.XMIN) + EXMOD_), key, id);
            if (EBOXMAX_) view.DVTS(QStringLiteral("XMAX"), CheckedSng(double(L_.XMAX) + EXMOD_), key, id);
            if (EBOYMIN_) view.DVTS(QStringLiteral("YMIN"), CheckedSng(double(L_.YMIN) + EYMOD_), key, id);
            if (EBOYMAX_) view.DVTS(QStringLiteral("YMAX"), CheckedSng(double(L_.YMAX) + EYMOD_), key, id);
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
    pan = bar->Value() == 0 ? 0.0f : CheckedSng(q * (available - needed));
}

void clsGRAFIK::offsetNotes(float right, float bottom)
{
    OutputObject& o = obj();
    // The notes are small; the font and the whole font set, index sizes included, come back.
    const SavedDrawingState keep(&o);
    const Restored keepFonts(fonts_);
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
        p.world = CheckedSng(dir1 ? lo - off : hi + off);
    else
        p.world = CheckedSng(dir1 ? hi - off : lo + off);
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

// ---------------------------------------------------------------- point arrays

int SingleArray::LBound() const
{
    if (v_.empty())
        throw VbError(VbErr::Subscript);
    return lbound_;
}

int SingleArray::UBound() const
{
    return LBound() + int(v_.size()) - 1;
}

std::size_t SingleArray::index(int i) const
{
    if (v_.empty() || i < lbound_ || i > UBound())
        throw VbError(VbErr::Subscript);
    return std::size_t(i - lbound_);
}

float& SingleArray::operator()(int i)
{
    return v_[index(i)];
}

float SingleArray::operator()(int i) const
{
    return v_[index(i)];
}

std::array<float, 4> clsGRAFIK::innerBox() const
{
    return {EXDL_ + L_.RL, EXDL_ + ELX_ - L_.RR, EYDO_ + L_.RO, EYDO_ + ELY_ - L_.RU};
}

// ---------------------------------------------------------------- polylines

// The page points of a POLYGON call and its base point.
struct clsGRAFIK::PagePoints {
    std::vector<float> XP, YP;
    float XA = 0, YA = 0;
    int n = 0;
    float x(int i) const { return at(XP, i); }
    float y(int i) const { return at(YP, i); }
    float mx(int i) const { return (x(i) + x(i + 1)) / 2.0f; }
    float my(int i) const { return (y(i) + y(i + 1)) / 2.0f; }
};

namespace {

// Foreground colours of FARBEN by PSTYP 0..7 (palette numbers).
constexpr std::array<int, 8> kPolygonColours = {1, 2, 3, 4, 5, 10, 9, 0};

// The points a selection S picks from n: 0 none, -1 the first, 1 the last, 2 the
// first and the last, 3 or more every k-th, -2 or less all.
std::vector<int> selectedPoints(int16_t S, int n)
{
    std::vector<int> out;
    if (S == 0)
        return out;
    int k = 1;
    if (S >= 3) {
        k = CInt(Variant(double(n - 1) / double(S - 1)));
        if (k == 0)
            k = 1;
    }
    for (int i = 0; i <= n - 1; i += k) {
        if (S == -1 && i >= 1)
            break;
        const bool jump = S == 1 || (S == 2 && i >= 1);
        if (jump)
            i = n - 1;
        out.push_back(i);
        if (jump)
            break;
    }
    return out;
}

// The label's angle along a segment, upward positive, -90..90 degrees.
int16_t segmentAngle(float xs, float ys, float xe, float ye)
{
    const float dx = xe - xs;
    const float dz = ys - ye;
    if (dx == 0.0f)
        return 90;
    return CInt(Variant(double(float(std::atan(double(dz / dx))) / DrawConst::DEG)));
}

} // namespace

void clsGRAFIK::POLYGON(const SingleArray& X, const SingleArray& Y, int16_t PSIT, int16_t PSTYP,
                        int16_t PNR, QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL, bool FARBEN,
                        const std::optional<std::vector<Variant>>& BOL)
{
    polygon(X, Y, PSIT, PSTYP, PNR, TEXT, LAGETEXT, LAGEPFEIL, FARBEN, BOL);
}

void clsGRAFIK::POLYGON(const SingleArray& X, const SingleArray& Y, int16_t PSIT, int16_t PSTYP,
                        int16_t PNR, const QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL,
                        bool FARBEN, const std::optional<std::vector<Variant>>& BOL)
{
    QString copy = TEXT;
    polygon(X, Y, PSIT, PSTYP, PNR, copy, LAGETEXT, LAGEPFEIL, FARBEN, BOL);
}

void clsGRAFIK::polygon(const SingleArray& X, const SingleArray& Y, int16_t PSIT, int16_t PSTYP,
                        int16_t PNR, QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL, bool FARBEN,
                        const std::optional<std::vector<Variant>>& BOL)
{
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Polygon"), kPrefix), [&](Guard& g) {
        // The colour table changes the fore colour, labels the font.
        const SavedDrawingState keep(EOBJEKT_);
        g.step([&] { obj(); });   // without an output object the first box says so
        // Logarithms on copies: drawing the same arrays again draws the same picture.
        SingleArray x = X, y = Y;
        g.step([&] {
            if (ESKTX_ == 1)
                for (int i = 0; i <= x.UBound(); ++i)
                    x(i) = LOG10(x(i));
        });
        g.step([&] {
            if (ESKTY_ == 1)
                for (int i = 0; i <= x.UBound(); ++i)
                    y(i) = LOG10(y(i));
        });
        g.step([&] {
            if (FARBEN && PSTYP >= 0 && PSTYP <= 7)
                obj().setForeColor(LongFromColor(QBColor(kPolygonColours[std::size_t(PSTYP)])));
        });
        PagePoints P;
        g.step([&] { KOORDTRANS(L_.XMIN + EXMOD_, L_.YMIN + EYMOD_, P.XA, P.YA); });
        g.step([&] {
            const int n = x.UBound() + 1;
            if (n > 32767)
                throw VbError(VbErr::Overflow);
            P.n = n;
            P.XP.assign(std::size_t(std::max(n, 0)), 0.0f);
            P.YP = P.XP;
        });
        // A point that cannot be read ends the list there: no line to a made-up point.
        for (int i = 0; i < P.n; ++i) {
            bool read = false;
            g.step([&] {
                const float xi = x(i), yi = y(i);
                read = true;
                KOORDTRANS(xi, yi, P.XP[std::size_t(i)], P.YP[std::size_t(i)]);
            });
            if (!read) {
                P.n = i;
                P.XP.resize(std::size_t(i));
                P.YP.resize(std::size_t(i));
            }
        }
        polygonLines(g, P, x, y, BOL);
        polygonDecorations(g, P, PSIT, PSTYP, PNR, TEXT, LAGETEXT, LAGEPFEIL);
    });
}

void clsGRAFIK::polygonLines(Guard& g, const PagePoints& P0, const SingleArray& X, const SingleArray& Y,
                             const std::optional<std::vector<Variant>>& BOL)
{
    PagePoints P = P0;
    const int n = P.n;
    const auto line = [&](const std::function<std::array<float, 4>()>& ends) {
        g.step([&] {
            const auto e = ends();
            LINIE(e[0], e[1], e[2], e[3]);
        });
    };
    // A type that closes to the base point takes it from element -1 when there is one.
    const auto basePoint = [&] {
        g.step([&] {
            if (X.LBound() == -1)
                KOORDTRANS(X(-1), Y(-1), P.XA, P.YA);
        });
    };
    // Bar types treat the first and the last point first: they need two points.
    const auto twoPoints = [&] {
        return g.test([&] {
            if (n < 2)
                throw VbError(VbErr::Subscript);
            return true;
        }) && n >= 2;
    };
    // Bars along u with their tops at v; to page: (u, v) or (v, u).
    const auto bars = [&](bool alongX) {
        const auto u = [&](int i) { return alongX ? P.x(i) : P.y(i); };
        const auto v = [&](int i) { return alongX ? P.y(i) : P.x(i); };
        const auto mu = [&](int i) { return (u(i) + u(i + 1)) / 2.0f; };
        const float vA = alongX ? P.YA : P.XA;
        const auto stroke = [&](const std::function<std::array<float, 4>()>& uv) {
            line([&] {
                const auto e = uv();
                return alongX ? e : std::array<float, 4>{e[1], e[0], e[3], e[2]};
            });
        };
        const float uL = u(0) - (u(1) - u(0)) / 2.0f;
        const float uR = u(n - 1) + (u(n - 1) - u(n - 2)) / 2.0f;
        stroke([&] { return std::array<float, 4>{uL, vA, uL, v(0)}; });
        stroke([&] { return std::array<float, 4>{uL, v(0), mu(0), v(0)}; });
        for (int i = 1; i < n - 1; ++i) {
            stroke([&, i] { return std::array<float, 4>{u(i), v(i), mu(i - 1), v(i)}; });
            stroke([&, i] { return std::array<float, 4>{u(i), v(i), mu(i), v(i)}; });
            stroke([&, i] { return std::array<float, 4>{mu(i - 1), v(i - 1), mu(i - 1), v(i)}; });
        }
        stroke([&] { return std::array<float, 4>{mu(n - 2), v(n - 2), mu(n - 2), v(n - 1)}; });
        stroke([&] { return std::array<float, 4>{mu(n - 2), v(n - 1), uR, v(n - 1)}; });
        stroke([&] { return std::array<float, 4>{uR, v(n - 1), uR, vA}; });
    };
    // The steps between the points of a staircase, vertical first.
    const auto stairs = [&] {
        for (int i = 0; i <= n - 2; ++i) {
            line([&, i] { return std::array<float, 4>{P.x(i), P.y(i), P.x(i), P.y(i + 1)}; });
            line([&, i] { return std::array<float, 4>{P.x(i), P.y(i + 1), P.x(i + 1), P.y(i + 1)}; });
        }
    };
    switch (EPTYP_) {
    case 0:
        for (int i = 1; i <= n - 1; ++i) {
            g.step([&, i] {
                if (BOL) {
                    if (i - 1 >= int(BOL->size()))
                        throw VbError(VbErr::Subscript);
                    const Variant& m = (*BOL)[std::size_t(i - 1)];
                    if (!(m.isNumber() && CDbl(m) == 1.0))
                        return;
                }
                LINIE(P.x(i - 1), P.y(i - 1), P.x(i), P.y(i));
            });
        }
        break;
    case 1:
        basePoint();
        if (twoPoints())
            bars(true);
        break;
    case 2:
    case 7:
        basePoint();
        if (twoPoints())
            bars(false);
        break;
    case 3:
        for (int i = 0; i < n; ++i) {
            g.step([&, i] {
                const auto [XL, XR, YO, YU] = innerBox();
                if (P.x(i) > XL && P.x(i) < XR && P.y(i) > YO && P.y(i) < YU)
                    obj().PSet(P.x(i), P.y(i));
            });
        }
        break;
    case 4:
        basePoint();
        line([&] { return std::array<float, 4>{P.XA, P.YA, P.XA, P.y(0)}; });
        line([&] { return std::array<float, 4>{P.XA, P.y(0), P.x(0), P.y(0)}; });
        stairs();
        line([&] { return std::array<float, 4>{P.x(n - 1), P.y(n - 1), P.x(n - 1), P.YA}; });
        break;
    case 5:
        basePoint();
        line([&] { return std::array<float, 4>{P.XA, P.YA, P.x(0), P.YA}; });
        line([&] { return std::array<float, 4>{P.x(0), P.YA, P.x(0), P.y(0)}; });
        for (int i = 0; i <= n - 2; ++i) {
            line([&, i] { return std::array<float, 4>{P.x(i), P.y(i), P.x(i + 1), P.y(i)}; });
            line([&, i] { return std::array<float, 4>{P.x(i + 1), P.y(i), P.x(i + 1), P.y(i + 1)}; });
        }
        line([&] { return std::array<float, 4>{P.x(n - 1), P.y(n - 1), P.XA, P.y(n - 1)}; });
        break;
    case 6:
        basePoint();
        line([&] { return std::array<float, 4>{P.XA, P.YA, P.x(0), P.y(0)}; });
        stairs();
        break;
    case 8:
        basePoint();
        if (!twoPoints())
            break;
        line([&] { return std::array<float, 4>{P.XA, P.y(0), P.x(0), P.y(0)}; });
        line([&] { return std::array<float, 4>{P.x(0), P.y(0), P.x(0), P.my(0)}; });
        line([&] { return std::array<float, 4>{P.x(0), P.my(0), P.x(1), P.my(0)}; });
        for (int i = 1; i < n - 1; ++i) {
            line([&, i] { return std::array<float, 4>{P.x(i), P.my(i - 1), P.x(i), P.y(i)}; });
            line([&, i] { return std::array<float, 4>{P.x(i), P.y(i), P.x(i), P.my(i)}; });
            line([&, i] { return std::array<float, 4>{P.x(i), P.my(i), P.x(i + 1), P.my(i)}; });
        }
        line([&] { return std::array<float, 4>{P.x(n - 1), P.my(n - 2), P.x(n - 1), P.y(n - 1)}; });
        line([&] { return std::array<float, 4>{P.x(n - 1), P.y(n - 1), P.XA, P.y(n - 1)}; });
        break;
    default:
        break;
    }
}

void clsGRAFIK::polygonDecorations(Guard& g, const PagePoints& P, int16_t PSIT, int16_t PSTYP,
                                   int16_t PNR, QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL)
{
    const int n = P.n;
    for (int i : selectedPoints(PSIT, n)) {
        g.step([&, i] {
            const auto [XL, XR, YO, YU] = innerBox();
            if (P.x(i) >= XL && P.x(i) <= XR && P.y(i) >= YO && P.y(i) <= YU && PSTYP >= 0 && PSTYP <= 6)
                SYMBOL(PSTYP, P.x(i), P.y(i));
        });
    }
    for (int i : selectedPoints(PNR, n))
        g.step([&, i] { this->TEXT(P.x(i) + 1.0f, P.y(i) - 1.0f, CStr(Variant(int16_t(i))), 0, 0, 0, 0); });
    if (!TEXT.isEmpty()) {
        g.step([&] {
            struct Place { float x, y; int16_t AL, ARX, ARY; };
            // A label on the segment from point s to s + 1, at its middle and along it.
            const auto along = [&](int s) -> std::optional<Place> {
                if (n < 2)
                    return std::nullopt;
                return Place{(P.x(s) + P.x(s + 1)) / 2.0f, (P.y(s) + P.y(s + 1)) / 2.0f,
                             segmentAngle(P.x(s), P.y(s), P.x(s + 1), P.y(s + 1)), 1, 2};
            };
            const auto at = [&](int i, float dx, int16_t ARX, int16_t ARY) {
                return std::optional<Place>(Place{P.x(i) + dx, P.y(i), 0, ARX, ARY});
            };
            std::optional<Place> p;
            switch (LAGETEXT) {
            case 0: p = along(n - 2); break;
            case 1: p = at(n - 1, 0, 1, 2); break;
            case 2: p = at(n - 1, 0, 1, 0); break;
            case 3: p = at(n - 1, 2, 0, 1); break;
            case 4: p = at(n - 1, -2, 2, 1); break;
            case 5: p = along(0); break;
            case 6: p = at(0, 0, 1, 2); break;
            case 7: p = at(0, 0, 1, 0); break;
            case 8: p = at(0, 2, 0, 1); break;
            case 9: p = at(0, -2, 2, 1); break;
            case 10: p = along((n - 1) / 2); break;
            case 11: p = at(n - 1, -2, 2, 0); break;
            case 12: p = at(n - 1, -2, 2, 2); break;
            case 13: p = at(n - 1, 2, 0, 0); break;
            case 14: p = at(n - 1, 2, 0, 2); break;
            default: break;
            }
            if (p)
                this->TEXT(p->x, p->y, TEXT, 0, p->AL, p->ARX, p->ARY);
        });
    }
    if (n < 2)
        return;
    const auto head = [&](int from, int to) {
        g.step([&] { PFEIL(P.x(from), P.y(from), P.x(to), P.y(to)); });
    };
    switch (LAGEPFEIL) {
    case 1: head(n - 2, n - 1); break;
    case 2: head(1, 0); break;
    case 3: head(n - 2, n - 1); head(1, 0); break;
    case 4: for (int i = 1; i <= n - 1; ++i) head(i - 1, i); break;
    case 5: for (int i = 1; i <= n - 1; ++i) head(i, i - 1); break;
    case 6:
        for (int i = 1; i <= n - 1; ++i) {
            head(i - 1, i);
            head(i, i - 1);
        }
        break;
    default: break;
    }
}

// ---------------------------------------------------------------- engineering symbols

void clsGRAFIK::GELAENDESCHRAFFUR(float X1, float Y1, float H1, int16_t ANS, float BE, int16_t KO)
{
    using namespace DrawConst;
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Geländeschraffur"), kPrefix), [&](Guard& g) {
        float SX = 1, SY = 1, V = 1, G = 0, ux = 0, uy = 0, vx = 0, vy = 0;
        g.step([&] {
            if (KO == 2) {
                SX = L_.MX;
                SY = L_.MY;
            }
            V = L_.OY == 1 ? 1.0f : -1.0f;
        });
        g.step([&] { G = CheckedSng(BE * DEG * double(SngDiv(L_.MX, L_.MY))); });
        g.step([&] {
            ux = CheckedSng(H1 * std::cos(double(G - PI / 4)) * SX);
            uy = CheckedSng(H1 * std::sin(double(G - PI / 4)) * V * SY);
            vx = CheckedSng(-H1 * std::cos(double(G - 3 * PI / 4)) * SX);
            vy = CheckedSng(-H1 * std::sin(double(G - 3 * PI / 4)) * V * SY);
        });
        float px = X1, py = Y1;
        // The point P + a u + b v, and a stroke between two such points.
        const auto point = [&](float a, float b) {
            return std::pair{CheckedSng(px + a * double(ux) + b * double(vx)), CheckedSng(py + a * double(uy) + b * double(vy))};
        };
        const auto stroke = [&](float a, float b, float c, float d) {
            g.step([&] {
                const auto [x1, y1] = point(a, b);
                const auto [x2, y2] = point(c, d);
                POLYGON({x1, x2}, {y1, y2});
            });
        };
        for (int i = 1; i <= ANS; ++i) {
            // In steps of u and v from P: P->P+u, P+u->P+2u, P+u->P+u+v, P+2u->P+2u+v,
            // P+2u+v->P+3u+v, P+2u+v->P+2u+2v.
            stroke(0, 0, 1, 0);
            stroke(1, 0, 2, 0);
            stroke(1, 0, 1, 1);
            stroke(2, 0, 2, 1);
            stroke(2, 1, 3, 1);
            stroke(2, 1, 2, 2);
            g.step([&] {
                px = CheckedSng(px + 2.0 * ux + 2.0 * vx);
                py = CheckedSng(py + 2.0 * uy + 2.0 * vy);
            });
        }
    });
}

void clsGRAFIK::KOTENDREIECK(float X, float Y, float& DH, float RIWI, int16_t GW, int16_t VOLL)
{
    kotendreieck(X, Y, DH, RIWI, GW, VOLL);
}

void clsGRAFIK::KOTENDREIECK(float X, float Y, const float& DH, float RIWI, int16_t GW, int16_t VOLL)
{
    float d = DH;
    kotendreieck(X, Y, d, RIWI, GW, VOLL);
}

void clsGRAFIK::kotendreieck(float X, float Y, float& DH, float RIWI, int16_t GW, int16_t VOLL)
{
    using namespace DrawConst;
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Kotendreieck"), kPrefix), [&](Guard& g) {
        const float R = RIWI * DEG;
        float Tx = 0, Ty = 0;
        // The point at distance l in page direction w from (x, y).
        const auto to = [](float x, float y, double l, double w) {
            return std::pair{CheckedSng(x + l * std::cos(w)), CheckedSng(y + l * std::sin(w))};
        };
        g.step([&] { KOORDTRANS(X, Y, Tx, Ty); });
        g.step([&] { DH = SngDiv(DH, L_.MY); });
        const float d = DH;
        g.step([&] {
            const auto [ax, ay] = to(Tx, Ty, d, R);
            LINIE(Tx, Ty, ax, ay);
        });
        g.step([&] {
            const auto [bx, by] = to(Tx, Ty, d, R - PI);
            LINIE(Tx, Ty, bx, by);
        });
        const double diagonal = d / std::cos(double(PI / 4));
        float Q1x = 0, Q1y = 0, Q2x = 0, Q2y = 0, Q3x = Tx, Q3y = Ty;
        g.step([&] {
            std::tie(Q1x, Q1y) = to(Tx, Ty, diagonal, R + PI + PI / 4);
            LINIE(Tx, Ty, Q1x, Q1y);
        });
        g.step([&] {
            std::tie(Q2x, Q2y) = to(Q1x, Q1y, 2.0 * d * std::tan(double(PI / 4)), R);
            LINIE(Q1x, Q1y, Q2x, Q2y);
        });
        g.step([&] {
            std::tie(Q3x, Q3y) = to(Q2x, Q2y, diagonal, R + PI / 2 + PI / 4);
            LINIE(Q2x, Q2y, Q3x, Q3y);
        });
        Tx = Q3x;
        Ty = Q3y;
        if (GW == 1) {
            for (int i = 2; i <= 3; ++i) {
                g.step([&] {
                    const auto [mx, my] = to(Tx, Ty, ((i - 1) / 2.0) * (d / 2.0), R + PI / 2);
                    const double half = (3.5 - i) * d / 2.0;
                    const auto [ex, ey] = to(mx, my, half, R + PI);
                    const auto [fx, fy] = to(mx, my, -half, R + PI);
                    LINIE(mx, my, ex, ey);
                    LINIE(mx, my, fx, fy);
                });
            }
        }
        if (VOLL > 0) {
            for (int i = 1; i <= 34; ++i) {
                g.step([&] {
                    const double A = (1.0 - i / 70.0) * PI_2;
                    const double l = d / std::sin(A);
                    if (VOLL == 2 || VOLL == 3) {
                        const auto [ex, ey] = to(Tx, Ty, l, R + PI + A);
                        LINIE(Tx, Ty, ex, ey);
                    }
                    if (VOLL == 1 || VOLL == 3) {
                        const auto [ex, ey] = to(Tx, Ty, l, R - A);
                        LINIE(Tx, Ty, ex, ey);
                    }
                });
            }
        }
    });
}

void clsGRAFIK::LASTFLAECHEN(const std::vector<float>& X, const std::vector<float>& Y,
                             const std::array<std::array<float, 2>, 4>& P, int16_t IT)
{
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Lastflächen"), kPrefix), [&](Guard& g) {
        float MSP = 0;
        bool read = false;
        g.step([&] {
            clsDATEN view(ctx_);
            view.ETABELLE(QStringLiteral("G0"));
            view.ESPIDW(EID_);
            const QString key = QStringLiteral("IDOBJEKT");
            const Variant id(EIDOBJEKT_);
            read = view.DTVS(QStringLiteral("MSP"), MSP, key, id);
            if (read && MSP == 0.0f) {
                // The greatest end resultant of both loads together is 15 mm long.
                const auto resultant = [&](std::size_t j) {
                    return CheckedSng(std::hypot(double(P[0][j]) + P[2][j], double(P[1][j]) + P[3][j]) / 15.0);
                };
                const float r0 = resultant(0), r1 = resultant(1);
                MSP = r0 >= r1 ? r0 : r1;
                read = view.DVTS(QStringLiteral("MSP"), MSP, key, id);
            }
        });
        if (!read)
            return;
        g.step([&] { LINIENEINSTELLUNGEN(0, 0.0f, LongFromColor(QBColor(12))); });
        float Ax = 0, Ay = 0, Bx = 0, By = 0;
        g.step([&] { KOORDTRANS(at(X, 0), at(Y, 0), Ax, Ay); });
        g.step([&] { KOORDTRANS(at(X, 1), at(Y, 1), Bx, By); });
        g.step([&] { LINIE(Ax, Ay, Bx, By); });
        // One load on the line from (Ax, Ay) to (Bx, By): its outer line from the
        // ordinates k (upward) and k + 1 (rightward) at both ends, arrows onto the line.
        const auto load = [&](std::size_t k) {
            float A2x = Ax, A2y = Ay, B2x = Bx, B2y = By;
            g.step([&] {
                A2x = CheckedSng(Ax + double(SngDiv(P[k + 1][0], MSP)));
                A2y = CheckedSng(Ay - double(SngDiv(P[k][0], MSP)));
                B2x = CheckedSng(Bx + double(SngDiv(P[k + 1][1], MSP)));
                B2y = CheckedSng(By - double(SngDiv(P[k][1], MSP)));
            });
            for (int i = 0; i <= IT; ++i) {
                g.step([&] {
                    const float f = SngDiv(i, IT);
                    const float Sx = CheckedSng(Ax + double(f) * (Bx - Ax)), Sy = CheckedSng(Ay + double(f) * (By - Ay));
                    const float Ex = CheckedSng(A2x + double(f) * (B2x - A2x)), Ey = CheckedSng(A2y + double(f) * (B2y - A2y));
                    LINIE(Sx, Sy, Ex, Ey);
                    PFEIL(Ex, Ey, Sx, Sy);
                });
            }
            g.step([&] { LINIE(A2x, A2y, B2x, B2y); });
            Ax = A2x; Ay = A2y; Bx = B2x; By = B2y;
        };
        load(0);
        g.step([&] { LINIENEINSTELLUNGEN(0, 0.0f, LongFromColor(QBColor(4))); });
        load(2);
    });
}

void clsGRAFIK::SCHNITTKRAFT(float X1, float Y1, float X2, float Y2, float SHHH, int16_t TYP, int16_t SY)
{
    using namespace DrawConst;
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("Schnittkraft"), kPrefix), [&](Guard& g) {
        g.step([&] { LINIENEINSTELLUNGEN(0, 0.2f, LongFromColor(QBColor(2))); });
        float P1x = 0, P1y = 0, P2x = 0, P2y = 0;
        g.step([&] { KOORDTRANS(X1, Y1, P1x, P1y); });
        g.step([&] { KOORDTRANS(X2, Y2, P2x, P2y); });
        g.step([&] { LINIE(P1x, P1y, P2x, P2y); });
        if (SY != 1 || TYP < 1 || TYP > 3)
            return;
        g.step([&] {
            const float R = STRECKENWINKEL(P1x, P1y, P2x, P2y);
            const double H = std::hypot(double(P2x) - P1x, double(P2y) - P1y) / 2.0;
            double Mx = P1x + H * std::cos(R), My = P1y + H * std::sin(R);
            // Across the segment at its middle, or along it 1.25 mm beside it.
            double w = R + PI_2;
            if (TYP != 1) {
                Mx += 1.25 * std::cos(double(R - PI_2));
                My += 1.25 * std::sin(double(R - PI_2));
                w = R;
            }
            const double half = SHHH / 2.0;
            const float Ex = CheckedSng(Mx + half * std::cos(w)), Ey = CheckedSng(My + half * std::sin(w));
            const float Sx = CheckedSng(Mx - half * std::cos(w)), Sy = CheckedSng(My - half * std::sin(w));
            LINIE(Sx, Sy, Ex, Ey);
            PFEIL(Sx, Sy, Ex, Ey);
            PFEIL(Ex, Ey, Sx, Sy);
        });
    });
}

// ---------------------------------------------------------------- arcs

void clsGRAFIK::KREIS(float XM, float YM, float R, float AL1, float& AL2, int16_t LAGEPFEIL,
                      bool BOKREISP, std::optional<int16_t> KO)
{
    kreis(XM, YM, R, AL1, AL2, LAGEPFEIL, BOKREISP, KO);
}

void clsGRAFIK::KREIS(float XM, float YM, float R, float AL1, const float& AL2, int16_t LAGEPFEIL,
                      bool BOKREISP, std::optional<int16_t> KO)
{
    float al2 = AL2;
    kreis(XM, YM, R, AL1, al2, LAGEPFEIL, BOKREISP, KO);
}

bool clsGRAFIK::ARCPART(float a, float b, float XMP, float YMP, double RP)
{
    const float twoPi = 2.0f * DrawConst::PI;
    // Page angles turn clockwise, the surface's counter-clockwise.
    const auto surfaceAngle = [&](float page) {
        float s = twoPi - page;
        if (s > twoPi)
            s -= twoPi;
        if (s < 0.0f)
            s += twoPi;
        return s;
    };
    const float start = surfaceAngle(a), end = surfaceAngle(b);
    if (start < 0.0f || end < 0.0f) {
        ctx_.dlg().MsgBox(QStringLiteral("Winkel  H1 bzw. H2 < 0"), MsgButtons::OK, MsgIcon::Exclamation,
                          QStringLiteral("KREIS"));
        return false;
    }
    OutputObject& o = obj();
    o.Circle(CircleFlags::Colour | CircleFlags::Start | CircleFlags::End, XMP, YMP, CheckedSng(RP),
             o.ForeColor(), start, end);
    return true;
}

void clsGRAFIK::kreis(float XM, float YM, float R, float AL1, float& AL2, int16_t LAGEPFEIL,
                      bool BOKREISP, std::optional<int16_t> KO)
{
    const float twoPi = 2.0f * DrawConst::PI;
    Guarded(ctx_.dlg(), RoutineBox(QStringLiteral("KREIS"), kPrefixNumber), [&](Guard& g) {
        g.step([&] {
            if (AL2 == 0.0f)
                AL2 = twoPi;
        });
        ArcPlace p;
        if (!arcPlacement(g, XM, YM, R, AL1, AL2, KO, p) || p.surroundsInnerBox(innerBox()))
            return;
        // Page angles of the arc's H1 and H2 ends, and the sense from H1 to H2 (-1: down).
        float H1 = 0, H2 = 0, sense = -1.0f;
        bool exchanged = false;
        if (BOKREISP) {
            g.step([&] {
                H1 = pageAngle(AL1);
                H2 = pageAngle(AL2);
            });
            // Without a way from H1 to H2 there are no chords (and no marks).
            if (H1 == H2)
                return;
            sense = H2 > H1 ? 1.0f : -1.0f;
            arcChords(g, p, H1, H2, sense);
        } else {
            exchanged = (L_.OX == 1 && L_.OY == -1) || (L_.OX == -1 && L_.OY == 1);
            g.step([&] {
                H1 = pageAngle(exchanged ? AL2 : AL1);
                H2 = pageAngle(exchanged ? AL1 : AL2);
            });
            if (!arcCurve(g, p, AL1 == 0.0f && AL2 == twoPi, H1, H2))
                return;
        }
        if (LAGEPFEIL > 0)
            arcEndMarks(g, p, LAGEPFEIL, H1, H2, sense, exchanged);
    });
}

bool clsGRAFIK::ArcPlace::surroundsInnerBox(const std::array<float, 4>& box) const
{
    const auto [XL, XR, YO, YU] = box;
    const auto within = [&](float x, float y) { return std::hypot(double(x) - XMP, double(y) - YMP) <= RP; };
    return XMP >= XL && XMP <= XR && YMP >= YO && YMP <= YU && within(XL, YO) && within(XR, YO) && within(XL, YU)
        && within(XR, YU);
}

bool clsGRAFIK::arcPlacement(Guard& g, float XM, float YM, float R, float AL1, float AL2,
                             std::optional<int16_t> KO, ArcPlace& p)
{
    bool placed = false;
    g.step([&] {
        const int16_t ko = KO.value_or(1);
        if (ko == 1) {
            KOORDTRANS(XM, YM, p.XMP, p.YMP);
            KOORDTRANS(CheckedSng(XM + R * std::cos(double(AL1))), CheckedSng(YM + R * std::sin(double(AL1))), p.P1x, p.P1y);
            KOORDTRANS(CheckedSng(XM + R * std::cos(double(AL2))), CheckedSng(YM + R * std::sin(double(AL2))), p.P2x, p.P2y);
            p.RP = std::hypot(double(p.XMP) - p.P1x, double(p.YMP) - p.P1y);
        } else if (ko == 0 || ko == 2) {
            p.XMP = ko == 0 ? XM : CheckedSng(double(XM) + PANX_ + EXDL_);
            p.YMP = ko == 0 ? YM : CheckedSng(double(YM) + PANY_ + EYDO_);
            p.P1x = CheckedSng(p.XMP + R * std::cos(double(AL1)));
            p.P1y = CheckedSng(p.YMP + R * std::sin(double(AL1)));
            p.P2x = CheckedSng(p.XMP + R * std::cos(double(AL2)));
            p.P2y = CheckedSng(p.YMP + R * std::sin(double(AL2)));
            p.RP = R;
        } else {
            // No coordinate mode of that number: nothing to place the circle by.
            throw VbError(VbErr::InvalidCall);
        }
        placed = true;
    });
    return placed;
}

float clsGRAFIK::pageAngle(float al) const
{
    using DrawConst::PI;
    const float twoPi = 2.0f * PI;
    float h = 0;
    if (L_.OX == 1 && L_.OY == 1)
        h = twoPi - al;
    else if (L_.OX == 1 && L_.OY == -1)
        h = al;
    else if (L_.OX == -1 && L_.OY == 1)
        h = PI + al;
    else
        h = PI - al;
    return h > twoPi ? h - twoPi : h;
}

void clsGRAFIK::arcChords(Guard& g, const ArcPlace& p, float H1, float H2, float sense)
{
    const auto onCircle = [&](double w) {
        return std::pair{CheckedSng(p.XMP + p.RP * std::cos(w)), CheckedSng(p.YMP + p.RP * std::sin(w))};
    };
    const double step = sense * 10.0 * DrawConst::DEG;
    // Chord k from H1 + (k-1) step; the last one ends at H2 (a rest below a millionth
    // of a radian is Single rounding, not a chord).
    const int chords = std::max(1, int(std::ceil((double(H2) - H1) / step - 1e-6)));
    for (int k = 1; k <= chords; ++k) {
        g.step([&] {
            const auto [ax, ay] = onCircle(H1 + (k - 1) * step);
            const auto [bx, by] = onCircle(k == chords ? double(H2) : H1 + k * step);
            LINIE(ax, ay, bx, by);
        });
    }
}

bool clsGRAFIK::arcCurve(Guard& g, const ArcPlace& p, bool fullCircle, float H1, float H2)
{
    const auto [XL, XR, YO, YU] = innerBox();
    const float XMP = p.XMP, YMP = p.YMP;
    const double RP = p.RP;
    if (!(XMP + RP > XL && XMP - RP < XR && YMP + RP >= YO && YMP - RP <= YU))
        return false;
    bool ended = false;
    if (XMP - RP >= XL && XMP + RP <= XR && YMP - RP >= YO && YMP + RP <= YU) {
        g.step([&] {
            if (fullCircle) {
                OutputObject& o = obj();
                o.Circle(CircleFlags::Colour, XMP, YMP, CheckedSng(RP), o.ForeColor());
            } else {
                ended = !ARCPART(H1, H2, XMP, YMP, RP);
            }
        });
        return !ended;
    }
    g.step([&] {
        const ArcCrossings c = ArcBoxCrossings(XMP, YMP, CheckedSng(RP), XL, XR, YO, YU);
        if (c.points.size() % 2 == 1) {
            ctx_.dlg().MsgBox(QStringLiteral("Ungerade Anzahl von Schnittpunkten des Kreises mit den Grenzen"),
                              MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Bogen"));
            ended = true;
            return;
        }
        for (const ArcSpan& piece : ArcPieces(c, XMP, YMP))
            for (const ArcSpan& part : ArcOverlap(piece, H1, H2))
                if (!ARCPART(part.start, part.end, XMP, YMP, RP)) {
                    ended = true;
                    return;
                }
    });
    return !ended;
}

void clsGRAFIK::arcEndMarks(Guard& g, const ArcPlace& p, int16_t LAGEPFEIL, float H1, float H2, float sense,
                            bool exchanged)
{
    float a = 2.5f, G1 = 0, G2 = 0;
    g.step([&] {
        const double L = std::fabs(double(H1) - H2) * p.RP;
        if (2.0 * a > L)
            a = CheckedSng(L / 2.0);
        G1 = CheckedSng(H1 + sense * double(SngDiv(a, p.RP)));
        G2 = CheckedSng(H2 - sense * double(SngDiv(a, p.RP)));
    });
    // The dots are filled in the line colour; afterwards the fill is the default again.
    g.step([&] {
        OutputObject& o = obj();
        o.setFillColor(o.ForeColor());
        o.setFillStyle(0);
    });
    // The arc's H1 end lies at P2 where the table turned the angles round.
    const float T1x = exchanged ? p.P2x : p.P1x, T1y = exchanged ? p.P2y : p.P1y;
    const float T2x = exchanged ? p.P1x : p.P2x, T2y = exchanged ? p.P1y : p.P2y;
    const auto head = [&](float Tx, float Ty, float G) {
        g.step([&] {
            const double Cx = p.XMP + p.RP * std::cos(double(G)), Cy = p.YMP + p.RP * std::sin(double(G));
            const double w = a * std::tan(15.0 * double(DrawConst::DEG));
            const float B1x = CheckedSng(Cx - w * std::cos(double(G))), B1y = CheckedSng(Cy - w * std::sin(double(G)));
            const float B2x = CheckedSng(Cx + w * std::cos(double(G))), B2y = CheckedSng(Cy + w * std::sin(double(G)));
            LINIE(Tx, Ty, B1x, B1y);
            LINIE(B1x, B1y, B2x, B2y);
            LINIE(B2x, B2y, Tx, Ty);
        });
    };
    const auto dot = [&](float Tx, float Ty) {
        g.step([&] {
            OutputObject& o = obj();
            o.Circle(CircleFlags::Colour, Tx, Ty, 0.5, o.ForeColor());
        });
    };
    switch (LAGEPFEIL) {
    case 1: head(T2x, T2y, G2); break;
    case 2: head(T1x, T1y, G1); break;
    case 3: head(T2x, T2y, G2); head(T1x, T1y, G1); break;
    case 4: dot(T1x, T1y); head(T2x, T2y, G2); break;
    case 5: head(T1x, T1y, G1); dot(T2x, T2y); break;
    default: break;
    }
    g.step([&] {
        OutputObject& o = obj();
        o.setFillStyle(1);
        o.setFillColor(kWhite);
    });
}
