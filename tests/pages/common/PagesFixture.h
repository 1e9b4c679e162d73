#pragma once
// What the page framework's tests share: a context with scripted dialogs (no
// database), the extent of recorded texts, and a table set up as the result page
// sets up its table of vertical sections.
#include "pages/common/VariantMatrix.h"
#include "pages/common/clsTABELLE.h"
#include "platform/Context.h"
#include "platform/DialogService.h"
#include "platform/RecordingSurface.h"
#include "support/RecordedGeometry.h"
#include <gtest/gtest.h>
#include <memory>

class ScriptedContext {
public:
    ScriptedContext() { ctx.dialogs = dialogs; }
    std::shared_ptr<ScriptedDialogService> dialogs = std::make_shared<ScriptedDialogService>();
    Context ctx;
};

// Width and height of a recorded text on the recording surface's fixed metrics (mm).
inline QSizeF extent(const Recorded& r)
{
    const double scale = r.font.Size / 8.0;
    return {RecordingSurface::kCharWidthMm * scale * r.text.size(), RecordingSurface::kCellHeightMm * scale};
}

inline QPointF centre(const Recorded& r)
{
    const QSizeF e = extent(r);
    return r.p1 + QPointF(e.width() / 2, e.height() / 2);
}

inline double rightEdge(const Recorded& r)
{
    return r.p1.x() + extent(r).width();
}

// The body of a numeric table: column c of row r holds 10 r + c + 0.5 (a text "u" in
// column 2).
inline VariantMatrix NumberRows(int rows, int columns = 5)
{
    VariantMatrix m(columns, rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            m(c, r) = c == 2 ? Variant("u") : Variant(float(10 * r + c) + 0.5f);
    return m;
}

// The result page's left vertical-section table: margins ERO 5, ERZ 0.2, ERL 1, ERU 1,
// widths 9, 9, 6, 13, 13, lines 1, 2, 2, 1, alignments 2, 2, 1, 2, 2, two decimals
// (the third column as text), row height 3.
inline std::unique_ptr<clsTABELLE> SectionTable(Context& ctx, OutputObject& on)
{
    auto t = std::make_unique<clsTABELLE>(ctx);
    t->EOBJEKT(&on);
    t->ERO(5);
    t->ERZ(0.2f);
    t->ERL(1);
    t->ERU(1);
    t->ELSB({9, 9, 6, 13, 13});
    t->ELGIT({1, 2, 2, 1});
    t->ELGITLEER({0, 0, 0, 0});
    t->EZA(1);
    t->ELA({2, 2, 1, 2, 2});
    t->ELFORMAT({"0.00", "0.00", "", "0.00", "0.00"});
    t->EZH(3);
    return t;
}

inline VariantMatrix SectionHead()
{
    return VariantMatrix::FromRows({{"z", "x", "o/u", "wh", "wv"}, {"[m]", "[m]", "", "[kN]", "[kN]"}});
}
