#include "SectionPage.h"
#include "LayoutRows.h"
#include "SectionDiagram.h"
#include "data/clsDATEN.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"

SectionPage::~SectionPage() = default;

bool SectionPage::firstLoad()
{
    if (loaded_)
        return false;
    loaded_ = true;
    return true;
}

void SectionPage::openViews(Guard& g)
{
    Context& ctx = host_.context();
    g.step([&] {
        const QString tables[] = {"E1", "E2", "E3", "E4", "E5", "A1", "G0"};
        std::shared_ptr<clsDATEN>* views[] = {&DATENE1, &DATENE2, &DATENE3, &DATENE4, &DATENE5, &DATENA1, &DATENG0};
        for (int i = 0; i < 7; ++i)
            *views[i] = ViewOn(ctx, tables[i]);
    });
}

void SectionPage::readRecord(Guard& g)
{
    g.step([&] { DATENE1->DTVL(QStringLiteral("ID"), ID); });
    g.step([&] { DATENE1->DTVT(QStringLiteral("KEN"), KEN); });
    g.step([&] { DATENE1->DTVT(QStringLiteral("KOM"), KOM); });
    g.step([&] { DATENA1->DTVB(QStringLiteral("BONEU"), BONEU); });
}

float SectionPage::sectionRow(Guard& g, const char* column) const
{
    float value = 0;
    g.step([&] { DATENG0->DTVS(QLatin1String(column), value, QStringLiteral("IDOBJEKT"), Variant(int16_t(11))); });
    return value;
}

bool SectionPage::drawing(int16_t nr, int16_t OBJ)
{
    if (OBJ != 0 && OBJ != 1)
        return false;
    if (complete_)
        return true;
    if (OBJ == 0)
        picBILD(nr).Cls();
    return false;
}

void SectionPage::placeDiagram(Guard& g, clsGRAFIK& d, int16_t nr, int16_t OBJ, const Target& t) const
{
    g.step([&] { d.EID(ID); });
    g.step([&] { d.EIDOBJEKT(nr); });
    g.step([&] { d.EOBJEKT(t.EOBJEKT); });
    g.step([&] { d.EXDL(t.EXDL); });
    g.step([&] { d.EYDO(t.EYDO); });
    if (OBJ == 1) {
        const QRectF mm = areaMm(nr);
        g.step([&] { d.ELX(float(mm.width())); });
        g.step([&] { d.ELY(float(mm.height())); });
    }
}

void SectionPage::sectionDiagram(int16_t OBJ, float XDL, float YDO, const SectionExtras& extras)
{
    if (!drawing(11, OBJ))
        return;
    Context& ctx = host_.context();
    Guarded(ctx.dlg(), RoutineBox(QStringLiteral("Grafik")), [&](Guard& g) {
        Target t{};
        g.step([&] { t = target(11, OBJ, XDL, YDO); });
        g.step([&] {
            GRAFIK11.reset();
            GRAFIK11 = std::make_unique<clsGRAFIK>(ctx);
        });
        if (!GRAFIK11)
            return;
        clsGRAFIK& d = *GRAFIK11;
        if (BONEU)
            WriteSectionLayoutDefaults(g, *DATENG0, extras.pressureScale);
        placeDiagram(g, d, 11, OBJ, t);
        g.step([&] { progress(73); });
        SectionAxisSettings(g, d, BONEU);
        g.step([&] { progress(75); });
        FitSection(g, d, S);

        g.step([&] { progress(77); });
        std::vector<float> x, z;
        extras.extent(g, x, z);
        g.step([&] { d.SCHRIFTEINSTELLUNGEN(); });
        g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.0f, 0); });
        g.step([&] { d.SKALEN(3, x, z); });
        g.step([&] { progress(79); });
        const float MX = sectionRow(g, "MX");
        const float XMIN = sectionRow(g, "XMIN");
        const float XMAX = sectionRow(g, "XMAX");
        DrawSection(g, d, S, MX, XMIN, XMAX, ctx);
        if (extras.over)
            extras.over(g, d, MX);
    });
}

void SectionPage::tableArea(int16_t nr, int16_t OBJ, float XDL, float YDO, const QString& box,
                            std::unique_ptr<clsTABELLE>& object, const TableLayout& layout,
                            const std::function<void(Guard&, clsTABELLE&)>& content)
{
    if (!drawing(nr, OBJ))
        return;
    Context& ctx = host_.context();
    Guarded(ctx.dlg(), RoutineBox(box), [&](Guard& g) {
        Target t{};
        g.step([&] { t = target(nr, OBJ, XDL, YDO); });
        g.step([&] {
            object.reset();   // the previous drawing's object goes, whether or not a new one comes
            object = std::make_unique<clsTABELLE>(ctx);
        });
        if (!object)
            return;
        clsTABELLE& o = *object;
        g.step([&] { o.EOBJEKT(t.EOBJEKT); });
        g.step([&] { o.EXDL(t.EXDL); });
        g.step([&] { o.EYDO(t.EYDO); });
        g.step([&] { o.EYBALKEN(vscBILD(nr)); });
        ApplyLayout(g, o, layout);
        g.step([&] { o.LINIENEINSTELLUNGEN(0, 0.0f, 0); });
        content(g, o);
    });
}

void SectionPage::gridArea(int16_t nr, int16_t OBJ, float XDL, float YDO, const QString& box,
                           std::unique_ptr<clsGRAFIK>& d, bool writeRow, bool pressureScale,
                           const std::function<void(Guard&, clsGRAFIK&)>& content)
{
    if (!drawing(nr, OBJ))
        return;
    Guarded(host_.context().dlg(), RoutineBox(box, QStringLiteral("VB-Fehler: ")), [&](Guard& g) {
        if (writeRow)
            WriteGridLayoutDefaults(g, *DATENG0, nr, pressureScale);
        Target t{};
        g.step([&] { t = target(nr, OBJ, XDL, YDO); });
        g.step([&] {
            d.reset();   // the previous drawing's object goes, whether or not a new one comes
            d = std::make_unique<clsGRAFIK>(host_.context());
        });
        if (!d)
            return;
        placeDiagram(g, *d, nr, OBJ, t);
        g.step([&] { d->EAXEX(0); });
        g.step([&] { d->EAXEY(0); });
        g.step([&] { d->SKALEN(0); });
        content(g, *d);
    });
}
