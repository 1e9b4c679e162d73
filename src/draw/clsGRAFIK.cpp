// The diagram object: construction, the box taken from a measured output object, the
// axis tables its size sets, and the transformation between world coordinates and page
// millimetres.
#include "clsGRAFIK.h"
#include "clsGRAFIK_Parts.h"
#include "data/DatenSql.h"
#include "platform/Ado.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include "platform/Variant.h"
#include <algorithm>
#include <cmath>

using namespace grafik;

namespace {

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

} // namespace

clsGRAFIK::clsGRAFIK(Context& ctx) : OutputBinding(ctx, QStringLiteral("VB-Fehler"), Measured::PageSurfaces)
{
    // The same statement as the database view's default record, so both pick one row.
    Recordset rs;
    rs.Open(ActiveRecordStatement(ViewFilter{}), ctx_.cnnX, 3, 3);
    if (!rs.Eof())
        EID_ = CLng(rs.Fields(QStringLiteral("ID")).Value());
    rs.Close();
}

void clsGRAFIK::onMeasured(OutputObject& object)
{
    ELX(CheckedSng(object.Width() / TwipsPerMm));
    ELY(CheckedSng(object.Height() / TwipsPerMm));
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

std::array<float, 4> clsGRAFIK::innerBox() const
{
    float XL = EXDL_ + L_.RL, XR = EXDL_ + ELX_ - L_.RR, YO = EYDO_ + L_.RO, YU = EYDO_ + ELY_ - L_.RU;
    // Once the axes have their scales, the diagram's frame (its world window on the
    // page) bounds the drawing too: with equal scales, or ranges chosen narrower than
    // the section, the frame is smaller than the box.
    if (L_.MX != 0.0f && L_.MY != 0.0f) {
        const double left = double(EXDL_) + PANX_ + L_.RL;
        const double top = double(EYDO_) + PANY_ + L_.RO;
        const double width = (double(L_.XMAX) - L_.XMIN) / L_.MX;
        const double height = (double(L_.YMAX) - L_.YMIN) / L_.MY;
        XL = std::max(XL, float(left + std::min(width, 0.0)));
        XR = std::min(XR, float(left + std::max(width, 0.0)));
        YO = std::max(YO, float(top + std::min(height, 0.0)));
        YU = std::min(YU, float(top + std::max(height, 0.0)));
    }
    return {XL, XR, YO, YU};
}
