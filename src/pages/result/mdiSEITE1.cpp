#include "mdiSEITE1.h"
#include "PressureOrdinates.h"
#include "ResultTables.h"
#include "calc/Geometry.h"
#include "calc/SingleMath.h"
#include "data/clsDATEN.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include "platform/Format.h"
#include "platform/Yield.h"
#include <algorithm>

namespace {

PageForm::Spec ResultPage()
{
    return {QStringLiteral("mdiSEITE1"), QStringLiteral("mdiESEITE1"), 2, QStringLiteral("VB-Fehler: "),
            QStringLiteral("Drucken von Seite 1"), true};
}

const QString kK = QStringLiteral("K");

int32_t colour(int index)
{
    return LongFromColor(QBColor(index));
}

// What distinguishes the five tables.
struct TableSpec {
    const char* box;                       // title of the error box
    const char* title;                     // caption, or none
    const TableLayout& (*layout)();
    VariantMatrix mdiSEITE1::*head;
    VariantMatrix mdiSEITE1::*body;
    std::unique_ptr<clsTABELLE> mdiSEITE1::*object;
    const char* footnote;                  // shown instead of an empty side's table
};

const TableSpec& tableSpec(int16_t nr)
{
    static const TableSpec specs[] = {
        {"Tabelle: Vertikale Schnitte - linke Seite", "Vertikale Schnitte", VerticalSectionLayout, &mdiSEITE1::KOPFV,
         &mdiSEITE1::TABVL, &mdiSEITE1::TABELLE12, "keine Tremoldrücke"},
        {"Tabelle: Vertikale Schnitte - rechte Seite", nullptr, VerticalSectionLayout, &mdiSEITE1::KOPFV,
         &mdiSEITE1::TABVR, &mdiSEITE1::TABELLE13, "keine Tremoldrücke"},
        {"Tabelle: Horizontale Schnitte - linke Seite", "Horizontale Schnitte", HorizontalSectionLayout,
         &mdiSEITE1::KOPFH, &mdiSEITE1::TABHL, &mdiSEITE1::TABELLE14, "keine horizontalen Schnitte vorhanden"},
        {"Tabelle: Horizontale Schnitte - rechte Seite", nullptr, HorizontalSectionLayout, &mdiSEITE1::KOPFH,
         &mdiSEITE1::TABHR, &mdiSEITE1::TABELLE15, "keine horizontalen Schnitte vorhanden"},
        {"Tabelle: Sohlfläche", "Sohlfläche", BaseLayout, &mdiSEITE1::KOPFS, &mdiSEITE1::TABS, &mdiSEITE1::TABELLE16,
         nullptr},
    };
    return specs[nr - 12];
}

} // namespace

mdiSEITE1::mdiSEITE1(PageHost& host, QWidget* parent) : SectionPage(host, ResultPage(), parent)
{
    // The page area from (13, 30) mm, 248 x 130: the diagram and its legend on the
    // left, the heading strip, the four section tables and the base table on the right.
    addArea(11, QRectF(13, 30, 124, 115), QPointF(-3, 5), false, true);
    addArea(12, QRectF(137, 37, 62, 50), QPointF(0, 5), true, false);
    addArea(13, QRectF(199, 37, 62, 50), QPointF(0, 5), true, false);
    addArea(14, QRectF(137, 87, 62, 50), QPointF(0, 5), true, false);
    addArea(15, QRectF(199, 87, 62, 50), QPointF(0, 5), true, false);
    addArea(16, QRectF(137, 137, 124, 23), QPointF(0, 5), true, false);
    addArea(17, QRectF(137, 30, 124, 7), QPointF(0, 5), false, false);
    addArea(18, QRectF(13, 145, 124, 15), QPointF(0, 5), false, true);
}

mdiSEITE1::~mdiSEITE1() = default;

// ---------------------------------------------------------------- load

void mdiSEITE1::Form_Load()
{
    if (!firstLoad())
        return;
    Context& ctx = host_.context();
    Guarded(ctx.dlg(), RoutineBox(QStringLiteral("Form_Load")), [&](Guard& g) {
        BOKF = BOKFS = true;
        openViews(g);
        g.step([&] {
            DATENA2 = ViewOn(ctx, QStringLiteral("A2"));
            DATENA3 = ViewOn(ctx, QStringLiteral("A3"));
        });
        readRecord(g);
        g.step([&] { Kopffusszeile(0); });
        g.step([&] { DoEvents(); });
        g.step([&] {
            KOPFV = VerticalSectionHead();
            KOPFH = HorizontalSectionHead();
            KOPFS = BaseHead();
        });
        ReadSectionInput(g, ctx, *DATENE2, *DATENE3, *DATENE4, *DATENE5, false, S);
        // The structure's extreme x: the first point's, replaced by every one beyond it.
        g.step([&] {
            XBLMIN = Element(S.L.XB, 0);
            for (float x : S.L.XB)
                XBLMIN = std::min(XBLMIN, x);
        });
        g.step([&] {
            XBRMAX = Element(S.R.XB, 0);
            for (float x : S.R.XB)
                XBRMAX = std::max(XBRMAX, x);
        });
        g.step([&] { DATENA1->DTVS(QStringLiteral("WHL"), L.WH); });
        g.step([&] { DATENA1->DTVS(QStringLiteral("WVL"), L.WV); });
        g.step([&] { DATENA1->DTVS(QStringLiteral("WHR"), R.WH); });
        g.step([&] { DATENA1->DTVS(QStringLiteral("WVR"), R.WV); });
        g.step([&] {
            TABS = VariantMatrix::FromRows({{"Links", Last(S.L.ZB), Last(S.L.XB), L.WH, L.WV},
                                            {"Rechts", Last(S.R.ZB), Last(S.R.XB), R.WH, R.WV}});
        });
        // The result rows grow with the structure: the bar moves on as they are read.
        readVertical(g, LeftSide, L.V, TABVL, 68);
        readVertical(g, RightSide, R.V, TABVR, 69);
        readHorizontal(g, LeftSide, L.H, TABHL, 70);
        readHorizontal(g, RightSide, R.H, TABHR, 71);
        completed();
        g.step([&] { BILD11(0, 0, 0); });
        g.step([&] { DoEvents(); });
        g.step([&] { progress(90); });
        float value = 90;
        for (int16_t nr = 12; nr <= 18; ++nr) {
            g.step([&] { BILD(nr, 0, 0, 0); });
            g.step([&] { DoEvents(); });
            g.step([&] { progress(++value); });
        }
        g.step([&] { progress(100); });
        BONEU = false;   // only the drawings of the load write the layout defaults
    });
}

int16_t mdiSEITE1::readSections(Guard& g, clsDATEN& view, int16_t K, const QString& end, int16_t endValue,
                                const QString& index, std::initializer_list<SectionColumn> columns, float bar)
{
    int16_t MINI = 0, MAXI = 0, AN = 0;
    g.step([&] { view.INDEX(MINI, MAXI, AN, kK, Variant(K), end, Variant(endValue), index); });
    if (AN == 0)
        return -1;
    ProgressSpan column(host_.context(), bar, bar + 1, columns.size());
    g.step([&] {
        if (MAXI < 0)
            throw VbError(VbErr::Subscript);
        for (const SectionColumn& c : columns)
            c.values->assign(std::size_t(MAXI) + 1, 0.0f);
    });
    for (const SectionColumn& c : columns) {
        g.step([&] { view.DTVSF(QLatin1String(c.column), *c.values, kK, Variant(K), end, Variant(c.end), index); });
        column.next();
    }
    return MAXI;
}

void mdiSEITE1::readVertical(Guard& g, int16_t K, VerticalSections& v, VariantMatrix& body, float bar)
{
    // The points with the values above them (OU 0) and below them (OU 1).
    v.MAX = readSections(g, *DATENA2, K, QStringLiteral("OU"), 0, QStringLiteral("I4"),
                         {{"X", 0, &v.X}, {"Z", 0, &v.Z}, {"WH", 0, &v.WHO}, {"WV", 0, &v.WVO},
                          {"WH", 1, &v.WHU}, {"WV", 1, &v.WVU}},
                         bar);
    if (v.MAX >= 0)
        g.step([&] { body = VerticalSectionBody(v); });
}

void mdiSEITE1::readHorizontal(Guard& g, int16_t K, HorizontalSections& h, VariantMatrix& body, float bar)
{
    // Start (I5I 1) and end point (I5I 2) of each section.
    h.MAX = readSections(g, *DATENA3, K, QStringLiteral("I5I"), 1, QStringLiteral("I5"),
                         {{"Z", 1, &h.Z1}, {"X", 1, &h.X1}, {"WH", 1, &h.WH1}, {"WV", 1, &h.WV1},
                          {"Z", 2, &h.Z2}, {"X", 2, &h.X2}, {"WH", 2, &h.WH2}, {"WV", 2, &h.WV2}},
                         bar);
    if (h.MAX >= 0)
        g.step([&] { body = HorizontalSectionBody(h); });
}

// ---------------------------------------------------------------- areas

void mdiSEITE1::BILD(int16_t nr, int16_t OBJ, float XDL, float YDO)
{
    if (nr == 11)
        BILD11(OBJ, XDL, YDO);
    else if (nr >= 12 && nr <= 16)
        table(nr, OBJ, XDL, YDO);
    else if (nr == 17)
        BILD17(OBJ, XDL, YDO);
    else if (nr == 18)
        BILD18(OBJ, XDL, YDO);
}

void mdiSEITE1::BILD11(int16_t OBJ, float XDL, float YDO)
{
    SectionExtras extras;
    extras.pressureScale = true;
    // The axes take in 3.5 m beyond the structure on either side and 2 m below its
    // deeper base corner.
    extras.extent = [this](Guard& g, std::vector<float>& x, std::vector<float>& z) {
        x = {float(float(double(XBLMIN) - 0.5) - 3.0), float(float(double(XBRMAX) + 0.5) + 3.0)};
        z = {sectionRow(g, "YMIN"), 0.0f};
        g.step([&] { z[1] = float(double(std::max(Last(S.L.ZB), Last(S.R.ZB))) + 2.0); });
    };
    extras.over = [this](Guard& g, clsGRAFIK& d, float MX) {
        g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.0f, 0); });
        DrawPressureOrdinates(g, d, {S, L, R, XBLMIN, XBRMAX}, sectionRow(g, "MSP"), MX, host_.context());
    };
    sectionDiagram(OBJ, XDL, YDO, extras);
}

void mdiSEITE1::BILD12(int16_t OBJ, float XDL, float YDO) { table(12, OBJ, XDL, YDO); }
void mdiSEITE1::BILD13(int16_t OBJ, float XDL, float YDO) { table(13, OBJ, XDL, YDO); }
void mdiSEITE1::BILD14(int16_t OBJ, float XDL, float YDO) { table(14, OBJ, XDL, YDO); }
void mdiSEITE1::BILD15(int16_t OBJ, float XDL, float YDO) { table(15, OBJ, XDL, YDO); }
void mdiSEITE1::BILD16(int16_t OBJ, float XDL, float YDO) { table(16, OBJ, XDL, YDO); }

void mdiSEITE1::table(int16_t nr, int16_t OBJ, float XDL, float YDO)
{
    const TableSpec& spec = tableSpec(nr);
    tableArea(nr, OBJ, XDL, YDO, QString::fromUtf8(spec.box), this->*spec.object, spec.layout(),
              [&](Guard& g, clsTABELLE& o) {
                  if (spec.title)
                      g.step([&] { o.SCHRIFTEINSTELLUNGEN(QString(), 8, true, false, false, 0); });
                  // A structure whose outlines end in one point has no base: nothing, not even the title.
                  if (nr == 16
                      && g.test([&] { return Last(S.L.XB) == Last(S.R.XB) && Last(S.L.ZB) == Last(S.R.ZB); }))
                      return;
                  if (spec.title)
                      g.step([&] { o.TITEL(QString::fromUtf8(spec.title)); });
                  g.step([&] { o.SCHRIFTEINSTELLUNGEN(QString(), 7, false, false, false, 0); });
                  const int16_t marker =
                      nr == 12 ? L.V.MAX : nr == 13 ? R.V.MAX : nr == 14 ? L.H.MAX : nr == 15 ? R.H.MAX : 0;
                  if (marker == -1) {
                      g.step([&] { o.FUSSNOTE(QString::fromUtf8(spec.footnote)); });
                      return;
                  }
                  g.step([&] { o.TABELLE(this->*spec.head, 0); });
                  g.step([&] { o.TABELLE(this->*spec.body, 1); });
              });
}

// The strip's row carries a pressure scale of its own, the legend's does not.
void mdiSEITE1::BILD17(int16_t OBJ, float XDL, float YDO)
{
    gridArea(17, OBJ, XDL, YDO, QStringLiteral("Seite 1 - Tabellenüberschriften"), GRAFIK17, BONEU, true,
             [this](Guard& g, clsGRAFIK& d) { strip(g, d); });
}

void mdiSEITE1::BILD18(int16_t OBJ, float XDL, float YDO)
{
    gridArea(18, OBJ, XDL, YDO, QStringLiteral("Seite 1 - Allgemeine Angaben"), GRAFIK18, BONEU, false,
             [this](Guard& g, clsGRAFIK& d) { legend(g, d); });
}

void mdiSEITE1::strip(Guard& g, clsGRAFIK& d)
{
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QString(), 9, true, false, false, 0); });
    g.step([&] { d.TEXT(1, 4, QStringLiteral("Linke Seite"), 2, 0, 0, 1); });
    g.step([&] { d.TEXT(61, 4, QStringLiteral("Rechte Seite"), 2, 0, 0, 1); });
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0); });
}

void mdiSEITE1::legend(Guard& g, clsGRAFIK& d)
{
    const auto sample = [&](float y, int16_t type, int sampleColour) {
        g.step([&] { d.LINIENEINSTELLUNGEN(type, 0.0f, colour(sampleColour)); });
        g.step([&] { d.POLYGON({11, 23}, {y, y}); });
        g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.0f, 0); });
    };
    const auto text = [&](float y, const char* s) {
        g.step([&] { d.TEXT(26, y, QString::fromUtf8(s), 2, 0, 0, 1); });
    };
    g.step([&] { d.SCHRIFTEINSTELLUNGEN(QStringLiteral("Arial"), 7, false, false, false, 0); });
    text(1, "Stromlinie");
    sample(1, 1, 2);
    text(4, "Hydrostatischer Tremola");
    sample(4, 1, 0);
    text(7, "Tatsächlicher Tremola");
    // The pressure that 10 mm of ordinate stand for, beside a 10 mm bar.
    const float MSP = sectionRow(g, "MSP");
    g.step([&] {
        d.TEXT(70, 7, Format(Variant(float(MSP * 10.0f)), QStringLiteral("#0.00")) + QStringLiteral(" kN/m²"), 2, 0, 0, 1);
    });
    g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.0f, colour(9)); });
    g.step([&] { d.POLYGON({11, 23}, {7, 7}); });
    g.step([&] { d.POLYGON({58, 58}, {6, 7.5f}); });
    g.step([&] { d.POLYGON({58, 68}, {7, 7}, 0, 0, 0, QString(), 0, 1); });
    g.step([&] { d.LINIENEINSTELLUNGEN(0, 0.0f, 0); });
    text(10, "Bezugsschnitte");
    sample(10, 2, 9);
}
