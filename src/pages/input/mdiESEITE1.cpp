#include "mdiESEITE1.h"
#include "InputTables.h"
#include "StripAndLegend.h"
#include "data/clsDATEN.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include "platform/Yield.h"

namespace {

PageForm::Spec InputPage()
{
    return {QStringLiteral("mdiESEITE1"), QStringLiteral("mdiSEITE1"), 1, QStringLiteral("VB-Error: "),
            QStringLiteral("Drucken von Eingabeseite 1"), false};
}

// What distinguishes the six tables.
struct TableSpec {
    const char* box;     // title of the error box
    const char* title;   // caption of a left-side table, or none
    const TableLayout& (*layout)();
    VariantMatrix mdiESEITE1::*head;
    VariantMatrix mdiESEITE1::*body;
    std::unique_ptr<clsTABELLE> mdiESEITE1::*object;
};

const TableSpec& tableSpec(int16_t nr)
{
    static const TableSpec specs[] = {
        {"Tabelle: Schichten - linke Seite", "Schichten", LayerTableLayout, &mdiESEITE1::KOPFZK, &mdiESEITE1::TABSL,
         &mdiESEITE1::TABELLE12},
        {"Tabelle: Schichten - rechte Seite", nullptr, LayerTableLayout, &mdiESEITE1::KOPFZK, &mdiESEITE1::TABSR,
         &mdiESEITE1::TABELLE13},
        {"Tabelle: Bauwerk - linke Seite", "Bauwerk", PointTableLayout, &mdiESEITE1::KOPFZX, &mdiESEITE1::TABBL,
         &mdiESEITE1::TABELLE14},
        {"Tabelle: Bauwerk - rechte Seite", nullptr, PointTableLayout, &mdiESEITE1::KOPFZX, &mdiESEITE1::TABBR,
         &mdiESEITE1::TABELLE15},
        {"Tabelle: Stromlinie - linke Seite", "Stromlinien", PointTableLayout, &mdiESEITE1::KOPFZX,
         &mdiESEITE1::TABSTL, &mdiESEITE1::TABELLE16},
        {"Tabelle: Stromlinie - rechte Seite", nullptr, PointTableLayout, &mdiESEITE1::KOPFZX, &mdiESEITE1::TABSTR,
         &mdiESEITE1::TABELLE17},
    };
    return specs[nr - 12];
}

} // namespace

mdiESEITE1::mdiESEITE1(PageHost& host, QWidget* parent) : SectionPage(host, InputPage(), parent)
{
    // The page area from (15, 30) mm, 240 x 130: the diagram and its legend on the
    // left, the heading strip and the six tables in two columns on the right. Every
    // area prints 3 mm further left and 5 mm lower.
    const QPointF paper(-3, 5);
    addArea(11, QRectF(15, 30, 120, 115), paper, false, true);
    addArea(19, QRectF(15, 145, 120, 15), paper, false, false);
    addArea(18, QRectF(135, 30, 120, 13), paper, false, false);
    addArea(12, QRectF(135, 43, 60, 39), paper, true, false);
    addArea(13, QRectF(195, 43, 60, 39), paper, true, false);
    addArea(14, QRectF(135, 82, 60, 39), paper, true, false);
    addArea(15, QRectF(195, 82, 60, 39), paper, true, false);
    addArea(16, QRectF(135, 121, 60, 39), paper, true, false);
    addArea(17, QRectF(195, 121, 60, 39), paper, true, false);
}

mdiESEITE1::~mdiESEITE1() = default;

// ---------------------------------------------------------------- load

void mdiESEITE1::Form_Load()
{
    if (!firstLoad())
        return;
    Context& ctx = host_.context();
    Guarded(ctx.dlg(), RoutineBox(QStringLiteral("Form_Load")), [&](Guard& g) {
        BOKF = BOKFS = true;
        g.step([&] { progress(5); });
        openViews(g);
        g.step([&] { progress(10); });
        readRecord(g);
        g.step([&] { progress(13); });
        g.step([&] {
            KOPFZK = LayerHead();
            KOPFZX = PointHead();
        });
        ReadSectionInput(g, ctx, *DATENE2, *DATENE3, *DATENE4, *DATENE5, true, S);
        g.step([&] { TABSL = LayerBody(S.L.ZS, S.L.KFS); });
        g.step([&] { TABSR = LayerBody(S.R.ZS, S.R.KFS); });
        g.step([&] { TABSTL = PointBody(S.L.ZST, S.L.XST); });
        g.step([&] { TABSTR = PointBody(S.R.ZST, S.R.XST); });
        g.step([&] { TABBL = PointBody(S.L.ZB, S.L.XB); });
        g.step([&] { TABBR = PointBody(S.R.ZB, S.R.XB); });
        completed();
        g.step([&] { Kopffusszeile(0); });
        g.step([&] { DoEvents(); });
        g.step([&] { progress(70); });
        g.step([&] { BILD11(0, 0, 0); });
        g.step([&] { DoEvents(); });
        g.step([&] { progress(83); });
        const std::pair<int16_t, float> areas[] = {{12, 85}, {13, 87}, {14, 89}, {15, 91},
                                                   {16, 93}, {17, 95}, {18, 96}, {19, 97}};
        for (const auto& [nr, value] : areas) {
            g.step([&] { BILD(nr, 0, 0, 0); });
            g.step([&] { DoEvents(); });
            g.step([&] { progress(value); });
        }
        BONEU = false;   // only the drawings of the load write the layout defaults
    });
}

// ---------------------------------------------------------------- areas

void mdiESEITE1::BILD(int16_t nr, int16_t OBJ, float XDL, float YDO)
{
    if (nr == 11)
        BILD11(OBJ, XDL, YDO);
    else if (nr >= 12 && nr <= 17)
        table(nr, OBJ, XDL, YDO);
    else if (nr == 18)
        BILD18(OBJ, XDL, YDO);
    else if (nr == 19)
        BILD19(OBJ, XDL, YDO);
}

void mdiESEITE1::BILD11(int16_t OBJ, float XDL, float YDO)
{
    SectionExtras extras;
    extras.pressureScale = false;
    // The axes take in 3 m more on either side of the fitted x range, and the right
    // structure's depths.
    extras.extent = [this](Guard& g, std::vector<float>& x, std::vector<float>& z) {
        const float XMIN = sectionRow(g, "XMIN");
        const float XMAX = sectionRow(g, "XMAX");
        x = {float(double(XMIN) - 3.0), float(double(XMAX) + 3.0)};
        z = S.R.ZB;
    };
    sectionDiagram(OBJ, XDL, YDO, extras);
}

void mdiESEITE1::BILD12(int16_t OBJ, float XDL, float YDO) { table(12, OBJ, XDL, YDO); }
void mdiESEITE1::BILD13(int16_t OBJ, float XDL, float YDO) { table(13, OBJ, XDL, YDO); }
void mdiESEITE1::BILD14(int16_t OBJ, float XDL, float YDO) { table(14, OBJ, XDL, YDO); }
void mdiESEITE1::BILD15(int16_t OBJ, float XDL, float YDO) { table(15, OBJ, XDL, YDO); }
void mdiESEITE1::BILD16(int16_t OBJ, float XDL, float YDO) { table(16, OBJ, XDL, YDO); }
void mdiESEITE1::BILD17(int16_t OBJ, float XDL, float YDO) { table(17, OBJ, XDL, YDO); }

void mdiESEITE1::table(int16_t nr, int16_t OBJ, float XDL, float YDO)
{
    const TableSpec& spec = tableSpec(nr);
    tableArea(nr, OBJ, XDL, YDO, QString::fromUtf8(spec.box), this->*spec.object, spec.layout(),
              [&](Guard& g, clsTABELLE& o) {
                  if (spec.title) {
                      g.step([&] { o.SCHRIFTEINSTELLUNGEN(QString(), 8, true, false, false, 0); });
                      g.step([&] { o.TITEL(QString::fromUtf8(spec.title)); });
                  }
                  g.step([&] { o.SCHRIFTEINSTELLUNGEN(QString(), 8, false, false, false, 0); });
                  g.step([&] { o.TABELLE(this->*spec.head, 0); });
                  g.step([&] { o.TABELLE(this->*spec.body, 1); });
              });
}

// The strip writes its row only while the results are new, the legend at every drawing;
// both rows carry the pressure scale 0.5.
void mdiESEITE1::BILD18(int16_t OBJ, float XDL, float YDO)
{
    gridArea(18, OBJ, XDL, YDO, QStringLiteral("Seite 1 - Tabellenüberschriften"), GRAFIK18, BONEU, true,
             [this](Guard& g, clsGRAFIK& d) { DrawHeadingStrip(g, d, S.ZGWLS, S.ZGWRS); });
}

void mdiESEITE1::BILD19(int16_t OBJ, float XDL, float YDO)
{
    gridArea(19, OBJ, XDL, YDO, QStringLiteral("Seite 1 - Allgemeine Angaben"), GRAFIK19, true, true,
             [](Guard& g, clsGRAFIK& d) { DrawLegend(g, d); });
}
