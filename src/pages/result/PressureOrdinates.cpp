#include "PressureOrdinates.h"
#include "calc/Geometry.h"
#include "calc/SingleMath.h"
#include "draw/clsGRAFIK.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Line type and colour of a kind of line; all one pixel wide.
struct Style {
    int16_t type;
    int colour;
};
constexpr Style Hydrostatic{1, 0};
constexpr Style Reference{2, 9};
constexpr Style Actual{0, 9};

// An ordinate: four points from the reference section to the two tips and back.
struct Ordinate {
    SingleArray x, z;
};

Ordinate ordinate(float x1, float z1, float tx1, float tz1, float tx2, float tz2, float x2, float z2)
{
    return {SingleArray{x1, tx1, tx2, x2}, SingleArray{z1, tz1, tz2, z2}};
}

class Ordinates {
public:
    Ordinates(Guard& g, clsGRAFIK& d, const OrdinateInput& in, float MSP, float MX, const Context& ctx)
        : g_(g), d_(d), in_(in), MSP_(MSP), MX_(MX), ctx_(ctx)
    {
    }

    void draw()
    {
        const float xL = float(double(in_.XBLMIN) - 0.5);
        const float xR = float(double(in_.XBRMAX) + 0.5);
        const bool base = hasBase();
        // As many ordinates as the polygons have segments: each moves the bar on, from
        // where the section left it towards where the page takes over.
        const auto n = [](int count) { return std::size_t(std::max(count, 0)); };
        bar_.emplace(ctx_, 81.0f, 89.0f,
                     2 * (n(in_.L.V.MAX) + n(in_.R.V.MAX)) + n(in_.L.H.MAX + 1) + n(in_.R.H.MAX + 1) + (base ? 2 : 0));
        hydrostatic(LeftSide, in_.L.V, in_.section.ZGWLS, xL);
        if (base)
            hydrostaticBase();
        hydrostatic(RightSide, in_.R.V, in_.section.ZGWRS, xR);
        style(Actual);
        actualVertical(in_.L.V, xL);
        actualHorizontal(in_.L.H);
        if (base)
            actualBase();
        actualVertical(in_.R.V, xR);
        actualHorizontal(in_.R.H);
    }

private:
    // The length of w kN/m² in world metres: w / MSP mm at MX m per mm.
    float f(float w) const { return float(double(w) / MSP_ * MX_); }
    float offset(float z, float w) const { return float(double(z) + f(w)); }
    float refLevel(float z, double mm) const { return float(double(z) + mm * MX_); }

    void style(Style s)
    {
        g_.step([&] { d_.LINIENEINSTELLUNGEN(s.type, 0.0f, LongFromColor(QBColor(s.colour))); });
    }
    void polyline(const SingleArray& x, const SingleArray& z, int16_t arrows)
    {
        g_.step([&] { d_.POLYGON(x, z, 0, 0, 0, QString(), 0, arrows); });
    }
    // A hydrostatic ordinate, then its reference piece.
    void hydrostaticPair(const Ordinate& o, const SingleArray& refX, const SingleArray& refZ)
    {
        style(Hydrostatic);
        polyline(o.x, o.z, 0);
        style(Reference);
        polyline(refX, refZ, 0);
        bar_->next();
    }
    void actual(const Ordinate& o)
    {
        polyline(o.x, o.z, 3);
        bar_->next();
    }

    static float pressure(float z, float ZGW) { return float(std::fabs(double(z) - ZGW) * 10.0); }

    // Both sides end in a point, and in different ones: the base has ordinates.
    bool hasBase() const
    {
        const VerticalSections& l = in_.L.V;
        const VerticalSections& r = in_.R.V;
        if (l.MAX < 0 || r.MAX < 0)
            return false;
        return g_.test([&] {
            return Element(l.X, l.MAX) != Element(r.X, r.MAX) || Element(l.Z, l.MAX) != Element(r.Z, r.MAX);
        });
    }
    // The base's reference level: 5 mm below the deeper of the two last points.
    float baseLevel() const
    {
        const float zl = Element(in_.L.V.Z, in_.L.V.MAX);
        const float zr = Element(in_.R.V.Z, in_.R.V.MAX);
        return refLevel(zl < zr ? zr : zl, 5);
    }

    void hydrostatic(int16_t side, const VerticalSections& v, float ZGW, float xS)
    {
        for (int k = 0; k < v.MAX; ++k) {
            g_.step([&] {
                const float z1 = Element(v.Z, k), x1 = Element(v.X, k);
                const float z2 = Element(v.Z, k + 1), x2 = Element(v.X, k + 1);
                const float a = RICHTUNGSWINKEL(z1, x1, z2, x2);
                const SegmentComponents c = SectorComponents(a, pressure(z1, ZGW), pressure(z2, ZGW), side);
                if (!c.horizontal) {
                    hydrostaticPair(ordinate(xS, z1, offset(xS, c.WH1), offset(z1, -c.WV1), offset(xS, c.WH2),
                                             offset(z2, -c.WV2), xS, z2),
                                    {xS, xS}, {z1, z2});
                    return;
                }
                // Flat: 5 mm beside the segment, on the side the ordinates point to.
                const bool before = a < Angle::PI;
                const double mm = (side == LeftSide) == before ? -5.0 : 5.0;
                const float zr = refLevel(std::min(z1, z2), mm);
                hydrostaticPair(ordinate(x1, zr, offset(x1, c.WH1), offset(zr, -c.WV1), offset(x2, c.WH2),
                                         offset(zr, -c.WV2), x2, zr),
                                {x1, x2}, {zr, zr});
            });
        }
    }

    void hydrostaticBase()
    {
        g_.step([&] {
            const VerticalSections& l = in_.L.V;
            const VerticalSections& r = in_.R.V;
            const float xl = Element(l.X, l.MAX), zl = Element(l.Z, l.MAX);
            const float xr = Element(r.X, r.MAX), zr = Element(r.Z, r.MAX);
            const float a = RICHTUNGSWINKEL(zl, xl, zr, xr);
            const float p1 = pressure(zl, in_.section.ZGWLS);
            const float p2 = pressure(zr, in_.section.ZGWRS);
            const float level = baseLevel();
            // A sloped base: the ordinates stand at right angles to it.
            float x1 = xl, x2 = xr;
            if ((a > Angle::PI && a < Angle::PI3_2) || (a > Angle::PI3_2 && a < Angle::PI2)) {
                const double cot = std::cos(double(a)) / std::sin(double(a));
                x1 = float(double(xl) + f(p1) * cot);
                x2 = float(double(xr) + f(p2) * cot);
            }
            hydrostaticPair(ordinate(xl, level, x1, offset(level, p1), x2, offset(level, p2), xr, level),
                            {xl, xr}, {level, level});
        });
    }

    void actualVertical(const VerticalSections& v, float xS)
    {
        for (int k = 0; k < v.MAX; ++k) {
            g_.step([&] {
                const float z1 = Element(v.Z, k), z2 = Element(v.Z, k + 1);
                actual(ordinate(xS, z1, offset(xS, Element(v.WHU, k)), offset(z1, -Element(v.WVU, k)),
                                offset(xS, Element(v.WHO, k + 1)), offset(z2, -Element(v.WVO, k + 1)), xS, z2));
            });
        }
    }

    void actualHorizontal(const HorizontalSections& h)
    {
        for (int m = 0; m <= h.MAX; ++m) {
            g_.step([&] {
                const float z1 = Element(h.Z1, m), z2 = Element(h.Z2, m);
                const float x1 = Element(h.X1, m), x2 = Element(h.X2, m);
                // Pressure pushing down: 5 mm below the deeper end, else above the shallower.
                const float zr = Element(h.WV1, m) < 0 ? refLevel(z1 < z2 ? z2 : z1, 5)
                                                       : refLevel(z1 < z2 ? z1 : z2, -5);
                actual(ordinate(x1, zr, offset(x1, Element(h.WH1, m)), offset(zr, -Element(h.WV1, m)),
                                offset(x2, Element(h.WH2, m)), offset(zr, -Element(h.WV2, m)), x2, zr));
            });
        }
    }

    void actualBase()
    {
        g_.step([&] {
            const float xl = Element(in_.L.V.X, in_.L.V.MAX);
            const float xr = Element(in_.R.V.X, in_.R.V.MAX);
            const float level = baseLevel();
            actual(ordinate(xl, level, offset(xl, in_.L.WH), offset(level, -in_.L.WV), offset(xr, in_.R.WH),
                            offset(level, -in_.R.WV), xr, level));
        });
    }

    Guard& g_;
    clsGRAFIK& d_;
    const OrdinateInput& in_;
    float MSP_, MX_;
    const Context& ctx_;
    std::optional<ProgressSpan> bar_;
};

} // namespace

void DrawPressureOrdinates(Guard& g, clsGRAFIK& d, const OrdinateInput& in, float MSP, float MX, const Context& ctx)
{
    // No scale, no length: nothing to draw rather than a division by 0.
    if (!(MSP > 0))
        return;
    Ordinates(g, d, in, MSP, MX, ctx).draw();
}
