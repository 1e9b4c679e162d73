// The diagram's drawing primitives: the clipped line, the arrow head, marked-up text
// and the symbols within it.
#include "clsGRAFIK.h"
#include "clsGRAFIK_Parts.h"
#include "DrawMath.h"
#include "Marks.h"
#include "Markup.h"
#include "clsROTATOR.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include "platform/Variant.h"
#include <QScopeGuard>
#include <algorithm>
#include <cmath>

using namespace grafik;

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
                const std::array<float, 4> box = innerBox();
                XL = box[0], XR = box[1], YO = box[2], YU = box[3];
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
                (YP1 > YU && YP2 > YU) || XL > XR || YO > YU)
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
