#include "SectionDiagram.h"
#include "calc/SingleMath.h"
#include "draw/clsGRAFIK.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"

namespace {

AxisTables makeTables()
{
    std::vector<float> bounds;
    for (int x = -100; x <= -20; x += 10)
        bounds.push_back(float(x));
    for (int x = -19; x <= 20; ++x)
        bounds.push_back(float(x));
    for (int x = 25; x <= 100; x += 5)
        bounds.push_back(float(x));
    // Range, tick intervals, label count.
    static const int rows[42][3] = {
        {1, 1, 1},    {2, 2, 2},    {3, 3, 3},    {4, 4, 4},    {5, 5, 5},    {6, 3, 3},    {8, 4, 2},
        {9, 3, 3},    {10, 5, 1},   {11, 11, 1},  {12, 6, 3},   {13, 13, 1},  {14, 7, 1},   {15, 5, 5},
        {16, 8, 4},   {17, 17, 1},  {18, 9, 3},   {19, 19, 1},  {20, 4, 2},   {21, 7, 1},   {22, 11, 1},
        {23, 23, 1},  {24, 12, 3},  {25, 5, 1},   {26, 13, 1},  {27, 9, 3},   {28, 14, 2},  {30, 6, 3},
        {35, 7, 1},   {40, 8, 2},   {45, 9, 3},   {50, 10, 2},  {60, 12, 3},  {70, 10, 2},  {75, 3, 3},
        {80, 16, 2},  {90, 9, 3},   {100, 10, 2}, {125, 5, 1},  {150, 6, 2},  {175, 7, 1},  {200, 10, 2}};
    std::vector<float> diff, it, git, zl;
    for (const auto& r : rows) {
        diff.push_back(float(r[0]));
        it.push_back(float(r[1]));
        git.push_back(1.0f);
        zl.push_back(float(r[2]));
    }
    return {bounds, diff, it, git, zl};
}

int32_t colour(int index)
{
    return LongFromColor(QBColor(index));
}

void line(Guard& g, clsGRAFIK& d, SingleArray X, SingleArray Y)
{
    g.step([&] { d.POLYGON(X, Y); });
}

// One side's water line, level triangle, hatching and layer boundaries, from the
// diagram's edge at x0; the triangle stands 0.5 m and the hatching hatchIn m inside it.
void side(Guard& g, clsGRAFIK& d, float ZGW, float XGW, const SectionSide& s, float x0, float inward, float hatchIn,
          float MX)
{
    g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.0f, colour(9)); });
    line(g, d, {x0, XGW}, {ZGW, ZGW});
    g.step([&] { d.KOTENDREIECK(float(double(x0) + inward * 0.5), ZGW, float(2.0 * MX), 0.0f, 1, 0); });
    g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.0f, 0); });
    g.step([&] { d.GELAENDESCHRAFFUR(float(double(x0) + inward * hatchIn), Element(s.ZS, 0), 2.0f, 2, 0.0f, 2); });
    for (std::size_t i = 0; i < s.ZS.size(); ++i)
        line(g, d, {x0, Element(s.XS, std::ptrdiff_t(i))}, {s.ZS[i], s.ZS[i]});
}

// The flow line moved one millimetre of drawing sideways, away from the outline it
// may lie on.
SingleArray shifted(const std::vector<float>& x, float by)
{
    std::vector<float> v(x.size());
    for (std::size_t j = 0; j < x.size(); ++j)
        v[j] = float(double(x[j]) + by);
    return SingleArray(v);
}

} // namespace

const AxisTables& SectionAxisTables()
{
    static const AxisTables tables = makeTables();
    return tables;
}

void SectionAxisSettings(Guard& g, clsGRAFIK& d, bool BONEU)
{
    const AxisTables& t = SectionAxisTables();
    g.step([&] { d.EBOXMIN(BONEU); });
    g.step([&] { d.EBOXMAX(BONEU); });
    g.step([&] { d.EAXEX(1); });
    g.step([&] { d.ESKTX(0); });
    g.step([&] {
        d.ELXMIN(t.MIN);
        d.ELXDIFF(t.DIFF);
        d.ELXIT(t.IT);
        d.ELXGIT(t.GIT);
        d.ELXZL(t.ZL);
    });
    g.step([&] { d.ESKZX(QStringLiteral("#0.0")); });
    g.step([&] { d.ETEXTX(QStringLiteral("x [m]")); });
    g.step([&] { d.EBOYMIN(BONEU); });
    g.step([&] { d.EBOYMAX(BONEU); });
    g.step([&] { d.EAXEY(1); });
    g.step([&] { d.ESKTY(0); });
    g.step([&] {
        d.ELYMIN(t.MIN);
        d.ELYDIFF(t.DIFF);
        d.ELYIT(t.IT);
        d.ELYGIT(t.GIT);
        d.ELYZL(t.ZL);
    });
    g.step([&] { d.ETEXTY(QStringLiteral("z [m]")); });
    g.step([&] { d.ESKZY(QStringLiteral("#0.0")); });
    g.step([&] { d.EPTYP(0); });
}

void FitSection(Guard& g, clsGRAFIK& d, const SectionInput& s)
{
    const std::pair<const std::vector<float>*, const std::vector<float>*> data[] = {
        {&s.L.XS, &s.L.ZS}, {&s.R.XS, &s.R.ZS}, {&s.L.XST, &s.L.ZST},
        {&s.R.XST, &s.R.ZST}, {&s.L.XB, &s.L.ZB}, {&s.R.XB, &s.R.ZB}};
    int16_t NR = 1;
    for (const auto& [x, z] : data) {
        g.step([&] { d.SKALEN(NR, *x, *z); });
        NR = 2;
    }
}

void DrawSection(Guard& g, clsGRAFIK& d, const SectionInput& s, float MX, float XMIN, float XMAX, const Context& ctx)
{
    side(g, d, s.ZGWLS, s.XGWLS, s.L, XMIN, 1.0f, 0.5f, MX);
    side(g, d, s.ZGWRS, s.XGWRS, s.R, XMAX, -1.0f, 1.5f, MX);
    g.step([&] { ctx.progress(81); });
    g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.4f, 0); });
    line(g, d, SingleArray(s.L.XB), SingleArray(s.L.ZB));
    line(g, d, SingleArray(s.R.XB), SingleArray(s.R.ZB));
    g.step([&] { d.POLYGON({Element(s.L.XB, 0), Element(s.R.XB, 0)}, {Element(s.L.ZB, 0), Element(s.R.ZB, 0)}); });
    g.step([&] { d.POLYGON({Last(s.L.XB), Last(s.R.XB)}, {Last(s.L.ZB), Last(s.R.ZB)}); });
    g.step([&] { d.LINIENEINSTELLUNGEN(1, 0.0f, colour(2)); });
    g.step([&] { d.POLYGON(shifted(s.L.XST, -MX), SingleArray(s.L.ZST)); });
    g.step([&] { d.POLYGON(shifted(s.R.XST, MX), SingleArray(s.R.ZST)); });
    g.step([&] {
        d.POLYGON({Last(s.L.XST), Last(s.R.XST)},
                  {float(double(Last(s.L.ZST)) + MX), float(double(Last(s.R.ZST)) + MX)});
    });
}
