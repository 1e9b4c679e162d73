#pragma once
// The result page, page 2 of 2 of the active record: the section with the hydrostatic
// and the actual pressure ordinates (area 11), the tables of the vertical and
// horizontal sections of both sides and of the base corners (12 to 16), the heading
// strip over the tables (17) and the legend (18), with header and footer. The load
// reads the record, its input and its results once and draws every area while it
// advances the start window's bar; printing, the context dialogs, the cross cursor,
// scrolling and the page keys are the shared page form's.
#include "ResultSections.h"
#include "pages/common/SectionPage.h"
#include "pages/common/VariantMatrix.h"
#include "pages/common/clsTABELLE.h"
#include <initializer_list>
#include <memory>

class clsDATEN;

class mdiSEITE1 : public SectionPage {
    Q_OBJECT
public:
    explicit mdiSEITE1(PageHost& host, QWidget* parent = nullptr);
    ~mdiSEITE1() override;

    // Reads the active record and its results and draws the page; once per form. A
    // list of the input without rows ends it after its box: the page then stays with
    // its header and footer and draws nothing else, now or later.
    void Form_Load() override;

    void BILD(int16_t nr, int16_t OBJ, float XDL, float YDO) override;
    // The section diagram with its pressure ordinates.
    void BILD11(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    // The tables: vertical sections left and right, horizontal sections left and
    // right, base corners.
    void BILD12(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD13(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD14(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD15(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD16(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    // The heading strip and the legend.
    void BILD17(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD18(int16_t OBJ = 0, float XDL = 0, float YDO = 0);

    // The page's state beyond the section, filled by the load and read by its drawings.
    float XBLMIN = 0;            // smallest x of the left outline
    float XBRMAX = 0;            // largest x of the right outline
    ResultSide L, R;             // pressure results of the left and the right side
    VariantMatrix KOPFV, KOPFH, KOPFS;                // heads of the three kinds of table
    VariantMatrix TABVL, TABVR, TABHL, TABHR, TABS;   // bodies
    std::shared_ptr<clsDATEN> DATENA2, DATENA3;
    std::unique_ptr<clsGRAFIK> GRAFIK17, GRAFIK18;
    std::unique_ptr<clsTABELLE> TABELLE12, TABELLE13, TABELLE14, TABELLE15, TABELLE16;

private:
    // A column of a side's result rows whose key column `end` holds the value given.
    struct SectionColumn {
        const char* column;
        int16_t end;
        std::vector<float>* values;
    };
    // The side's rows of a result table, indexed by `index` with the key column `end` at
    // endValue: their highest running number (-1 for none), the columns read into arrays
    // that reach from 0 to it.
    // A side's sections, the bar moving from bar to bar + 1 as their columns are read.
    int16_t readSections(Guard& g, clsDATEN& view, int16_t K, const QString& end, int16_t endValue,
                         const QString& index, std::initializer_list<SectionColumn> columns, float bar);
    void readVertical(Guard& g, int16_t K, VerticalSections& v, VariantMatrix& body, float bar);
    void readHorizontal(Guard& g, int16_t K, HorizontalSections& h, VariantMatrix& body, float bar);
    void table(int16_t nr, int16_t OBJ, float XDL, float YDO);
    void strip(Guard& g, clsGRAFIK& d);
    void legend(Guard& g, clsGRAFIK& d);
};
