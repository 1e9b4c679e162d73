#pragma once
// The input-graphic page, page 1 of 2 of the active record: the section with the
// layers, groundwater levels, flow lines and structure (area 11), the tables of the
// layers, the structure outline and the flow line of both sides (12 to 17), the
// heading strip with the groundwater levels (18) and the legend (19), with header and
// footer. The load reads the record's input once and draws every area while it
// advances the start window's bar; printing, the context dialogs, the cross cursor,
// scrolling and the page keys are the shared page form's.
#include "pages/common/SectionPage.h"
#include "pages/common/VariantMatrix.h"
#include "pages/common/clsTABELLE.h"
#include <memory>

class mdiESEITE1 : public SectionPage {
    Q_OBJECT
public:
    explicit mdiESEITE1(PageHost& host, QWidget* parent = nullptr);
    ~mdiESEITE1() override;

    // Reads the active record's input and draws the page; once per form. A list without
    // rows ends it after its box: the page then stays empty and draws none of its
    // areas, now or later.
    void Form_Load() override;

    void BILD(int16_t nr, int16_t OBJ, float XDL, float YDO) override;
    // The section diagram.
    void BILD11(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    // The tables: layers left and right, structure left and right, flow line left and
    // right.
    void BILD12(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD13(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD14(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD15(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD16(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD17(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    // The heading strip and the legend.
    void BILD18(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD19(int16_t OBJ = 0, float XDL = 0, float YDO = 0);

    // The tables' contents, filled by the load.
    VariantMatrix KOPFZK, KOPFZX;                               // heads of the layer and the point tables
    VariantMatrix TABSL, TABSR, TABBL, TABBR, TABSTL, TABSTR;   // bodies
    std::unique_ptr<clsGRAFIK> GRAFIK18, GRAFIK19;
    std::unique_ptr<clsTABELLE> TABELLE12, TABELLE13, TABELLE14, TABELLE15, TABELLE16, TABELLE17;

private:
    void table(int16_t nr, int16_t OBJ, float XDL, float YDO);
};
