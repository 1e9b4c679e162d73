#pragma once
// The table class: one object draws one table on an output object in millimetres (a
// page's picture box, or the printer page): a head block, a body paged by the area's
// scroll bar, an optional statistics block, a caption above and a note below. The
// output object, the area's offset on it (EXDL, EYDO) and the line and font settings
// are its output binding's. Properties follow the runtime's convention: Name() gets,
// Name(value) lets.
#include "VariantMatrix.h"
#include "draw/OutputBinding.h"
#include "platform/Variant.h"
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct Context;
class ScrollBarControl;

using VariantList = std::vector<Variant>;

class clsTABELLE : public OutputBinding {
public:
    explicit clsTABELLE(Context& ctx);

    // The area's scroll bar, which pages a body that does not fit.
    ScrollBarControl* EYBALKEN() const { return EYBALKEN_; }
    void EYBALKEN(ScrollBarControl* bar) { EYBALKEN_ = bar; }

    // The margins inside the area (mm).
    float ERO() const { return ERO_; }
    void ERO(float value) { ERO_ = value; }
    float ERU() const { return ERU_; }
    void ERU(float value) { ERU_ = value; }
    float ERL() const { return ERL_; }
    void ERL(float value) { ERL_ = value; }
    float ERZ() const { return ERZ_; }
    void ERZ(float value) { ERZ_ = value; }

    // Column widths (mm); setting them re-creates ELGIT and ELMW with one Empty entry
    // per column and ELGITLEER with one per boundary (at least one). Unset: the table
    // cannot be drawn.
    const std::optional<VariantList>& ELSB() const { return ELSB_; }
    void ELSB(const VariantList& widths);
    // Per boundary after column i: 1 a line, 2 a double line, else none.
    const VariantList& ELGIT() const { return ELGIT_; }
    void ELGIT(const VariantList& value) { ELGIT_ = value; }
    // Per boundary: the head rows, from the top, whose cells run across it.
    const VariantList& ELGITLEER() const { return ELGITLEER_; }
    void ELGITLEER(const VariantList& value) { ELGITLEER_ = value; }
    // Per column: alignment 0 left, 1 centred, 2 right, 3 on the decimal sign.
    const VariantList& ELA() const { return ELA_; }
    void ELA(const VariantList& value) { ELA_ = value; }
    // Per column: "" the plain text, "SYMBOL" a point mark, else a Format pattern.
    const VariantList& ELFORMAT() const { return ELFORMAT_; }
    void ELFORMAT(const VariantList& value) { ELFORMAT_ = value; }
    // Per column: 1 computes the column's statistics.
    const VariantList& ELMW() const { return ELMW_; }
    void ELMW(const VariantList& value) { ELMW_ = value; }

    // Row pitch factor and row height (mm); a height of 0 or less becomes the text
    // height of "X" at the next drawing.
    float EZA() const { return EZA_; }
    void EZA(float value) { EZA_ = value; }
    float EZH() const { return EZH_; }
    void EZH(float value) { EZH_ = value; }
    // First and last body row of the last body drawing.
    int16_t EEZ() const { return EEZ_; }
    void EEZ(int16_t value) { EEZ_ = value; }
    int16_t ELZ() const { return ELZ_; }
    void ELZ(int16_t value) { ELZ_ = value; }
    // Head height plus body height of the last drawing.
    float HOEHE() const { return headHeight_ + bodyHeight_; }

    // One block: POSITION 1 the body, 2 the statistics block (written into X's rows 0
    // to 2 for the marked columns), anything else the head. Errors reach the caller;
    // what was drawn stays.
    void TABELLE(VariantMatrix& X, int16_t POSITION = 0);
    // The caption on a line ERZ + 1.5 above the head's frame, from its left edge.
    void TITEL(const Variant& TXT);
    // The note ERZ + 1.5 below the lowest block drawn, 1.5 in from the left edge.
    void FUSSNOTE(const Variant& TXT);

private:
    float left() const { return EXDL_ + ERL_; }
    float top() const { return EYDO_ + ERO_; }
    float pitch() const { return EZH_ * EZA_; }
    float blockHeight(int rows) const;
    float width(int column) const;
    void frame(float y, float height, float width);
    // The lines after columns 0 .. nc-2 that ELGIT asks for, each over the span (top,
    // height) that span(i) gives; none where it gives nothing.
    struct Span { float y1, h; };
    void columnLines(int nc, const std::function<std::optional<Span>(int)>& span);
    void head(const VariantMatrix& X, int nc, int nr, float width);
    void page(int nr, float width);
    void body(const VariantMatrix& X, int nc, float width);
    void statistics(const VariantMatrix& X, int nc, int nr);
    void statisticsBlock(VariantMatrix& X, int nc, int nr, float width);
    // The text of a cell placed by its column's alignment on the line y.
    void cell(int i, float xi, float y, const QString& text);
    void TEXT(double x, double y, const Variant& text, int ah, int av);
    void PUNKTSYMBOL(double x, double y, const Variant& code);

    ScrollBarControl* EYBALKEN_ = nullptr;
    float ERO_ = 2.5f, ERU_ = 2.5f, ERL_ = 2.5f, ERZ_ = 1.5f;
    std::optional<VariantList> ELSB_;
    VariantList ELGIT_, ELGITLEER_, ELA_, ELFORMAT_, ELMW_;
    float EZA_ = 1, EZH_ = 0;
    int16_t EEZ_ = 0, ELZ_ = 0;

    float headHeight_ = 0, bodyHeight_ = 0, statHeight_ = 0;
    // Mean, deviation and variation per drawn column of the last body (Single or "-").
    std::optional<std::vector<Variant>> mean_, dev_, var_;
};
