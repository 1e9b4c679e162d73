// The diagram's axes and scales: SKALEN loads the layout row, fits the axes to the
// data, pans by the scroll bars and draws the axes with their ticks, grid and labels.
#include "clsGRAFIK.h"
#include "clsGRAFIK_Parts.h"
#include "DrawMath.h"
#include "data/clsDATEN.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include "platform/Format.h"
#include "platform/ScrollBarControl.h"
#include "platform/Variant.h"
#include <algorithm>
#include <cmath>

using namespace grafik;

namespace {

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
