// The diagram's polylines with their marks, numbers, labels and arrow heads, and the
// engineering symbols drawn from them: ground hatching, the water-level triangle, load
// areas and the section-force symbol.
#include "clsGRAFIK.h"
#include "clsGRAFIK_Parts.h"
#include "DrawMath.h"
#include "PolylineStrokes.h"
#include "data/clsDATEN.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include "platform/Variant.h"
#include <algorithm>
#include <cmath>

using namespace grafik;

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

// ---------------------------------------------------------------- polylines

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
        PolylinePoints P;
        g.step([&] { KOORDTRANS(L_.XMIN + EXMOD_, L_.YMIN + EYMOD_, P.XA, P.YA); });
        g.step([&] {
            const int n = x.UBound() + 1;
            if (n > 32767)
                throw VbError(VbErr::Overflow);
            P.XP.assign(std::size_t(std::max(n, 0)), 0.0f);
            P.YP = P.XP;
        });
        // A point that cannot be read ends the list there: no line to a made-up point.
        for (int i = 0; i < P.n(); ++i) {
            bool read = false;
            g.step([&] {
                const float xi = x(i), yi = y(i);
                read = true;
                KOORDTRANS(xi, yi, P.XP[std::size_t(i)], P.YP[std::size_t(i)]);
            });
            if (!read) {
                P.XP.resize(std::size_t(i));
                P.YP.resize(std::size_t(i));
            }
        }
        polygonLines(g, P, x, y, BOL);
        polygonDecorations(g, P, PSIT, PSTYP, PNR, TEXT, LAGETEXT, LAGEPFEIL);
    });
}

void clsGRAFIK::polygonLines(Guard& g, PolylinePoints P, const SingleArray& X, const SingleArray& Y,
                             const std::optional<std::vector<Variant>>& BOL)
{
    // A type that closes to the base point takes it from element -1 when there is one.
    if (ClosesToBasePoint(EPTYP_)) {
        g.step([&] {
            if (X.LBound() == -1)
                KOORDTRANS(X(-1), Y(-1), P.XA, P.YA);
        });
    }
    for (const PolylineStroke& s : PolylineStrokes(EPTYP_, P, BOL)) {
        g.step([&] {
            switch (s.kind) {
            case PolylineStroke::Kind::Line:
                LINIE(s.x1, s.y1, s.x2, s.y2);
                break;
            case PolylineStroke::Kind::Dot: {
                // Only inside the inner box: a dot on its edge is left out.
                const auto [XL, XR, YO, YU] = innerBox();
                if (s.x1 > XL && s.x1 < XR && s.y1 > YO && s.y1 < YU)
                    obj().PSet(s.x1, s.y1);
                break;
            }
            case PolylineStroke::Kind::OutOfRange:
                throw VbError(VbErr::Subscript);
            }
        });
    }
}

void clsGRAFIK::polygonDecorations(Guard& g, const PolylinePoints& P, int16_t PSIT, int16_t PSTYP,
                                   int16_t PNR, QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL)
{
    const int n = P.n();
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
        // Ground beyond the diagram's frame is no part of the drawing: the strokes end at
        // the frame, as every line does.
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
