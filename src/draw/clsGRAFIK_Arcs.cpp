// The diagram's circles and arcs: placed by their coordinate mode, drawn as chords
// or as arcs clipped at the inner box, with arrow heads and dots at their ends.
#include "clsGRAFIK.h"
#include "clsGRAFIK_Parts.h"
#include "ArcClip.h"
#include "DrawMath.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include <algorithm>
#include <cmath>

using namespace grafik;

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
