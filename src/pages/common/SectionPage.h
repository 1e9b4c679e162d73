#pragma once
// What the two pages of a record share beyond the page form: the record's state that
// both read through their views (its ID, designation and comment, the flag of new
// results, the groundwater levels, layers, flow lines and structure outlines), and the
// frames in which both draw their areas: the section diagram on layout row 11, a table
// with its layout, and a heading strip or legend on a millimetre grid. A page whose
// load ended early draws none of its areas, now or later.
#include "PageForm.h"
#include "SectionInput.h"
#include "TableLayout.h"
#include <functional>
#include <memory>
#include <vector>

class clsDATEN;

class SectionPage : public PageForm {
    Q_OBJECT
public:
    using PageForm::PageForm;
    ~SectionPage() override;

    // The load ran to its end: the areas draw.
    bool complete() const { return complete_; }

    // The page's state, filled by the load and read by its drawings.
    bool BONEU = false;   // the record's results are new: the drawings write their layout defaults
    int32_t ID = 0;       // the active record
    SectionInput S;       // levels, layers, flow lines, outlines
    std::shared_ptr<clsDATEN> DATENE1, DATENE2, DATENE3, DATENE4, DATENE5, DATENA1, DATENG0;

protected:
    // True the first time only: a page is built once per form.
    bool firstLoad();
    // The views on E1 to E5, A1 and G0, for the active record.
    void openViews(Guard& g);
    // ID, designation and comment of the active record, and the flag of its results.
    void readRecord(Guard& g);
    // From here the areas draw: the page holds all they need.
    void completed() { complete_ = true; }
    // A column of the section diagram's layout row 11, read in a step of g (0 after an
    // error answered with OK).
    float sectionRow(Guard& g, const char* column) const;

    // What a page adds to the section diagram.
    struct SectionExtras {
        bool pressureScale;   // row 11's defaults carry the pressure scale
        // The x and z lists by which the drawing call widens the fitted axes.
        std::function<void(Guard&, std::vector<float>& x, std::vector<float>& z)> extent;
        // Drawn over the section, with the scale MX of row 11; may be empty.
        std::function<void(Guard&, clsGRAFIK&, float MX)> over;
    };
    // Area 11, guarded by its box: a new GRAFIK11 on the area's target, row 11's defaults
    // while the results are new, the axes fitted to the section and drawn, the section,
    // then the page's additions. The bar goes from 73 to 81.
    void sectionDiagram(int16_t OBJ, float XDL, float YDO, const SectionExtras& extras);
    // A table area nr, guarded by the box of that title: a new table object on the area's
    // target with the area's bar, the layout and thin black lines, then the content.
    void tableArea(int16_t nr, int16_t OBJ, float XDL, float YDO, const QString& box,
                   std::unique_ptr<clsTABELLE>& object, const TableLayout& layout,
                   const std::function<void(Guard&, clsTABELLE&)>& content);
    // A heading strip or legend, area nr, guarded by the box of that title: its layout
    // row's defaults when asked (with the pressure scale 0.5 when asked), a new diagram
    // object on a millimetre grid without axes, then the content.
    void gridArea(int16_t nr, int16_t OBJ, float XDL, float YDO, const QString& box, std::unique_ptr<clsGRAFIK>& d,
                  bool writeRow, bool pressureScale, const std::function<void(Guard&, clsGRAFIK&)>& content);

private:
    // False for an area this page does not draw now: before the load completed it is
    // cleared on screen, and OBJ beyond 0 and 1 draws nothing.
    bool drawing(int16_t nr, int16_t OBJ);
    // The record and diagram number of a new diagram object's layout row, its output
    // object and box; on paper also the box's size, which a picture box gives on screen.
    void placeDiagram(Guard& g, clsGRAFIK& d, int16_t nr, int16_t OBJ, const Target& t) const;

    bool loaded_ = false;
    bool complete_ = false;
};
