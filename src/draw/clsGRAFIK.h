#pragma once
// The diagram class: one object draws one diagram area of a page on an output
// object (a picture box or the printer page). It maps world coordinates into a box
// in page millimetres through the layout row of table G0 (directions, margins,
// world window, scales), fits axes and scales to the data and draws axes, clipped
// lines and marked-up text. The output object, the box's corner on it and the line and
// font settings are its output binding's. Properties follow the runtime's convention:
// Name() gets, Name(value) lets.
#include "AxisScale.h"
#include "OutputBinding.h"
#include "platform/Variant.h"
#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

struct Context;
class Guard;
class clsDATEN;
class ScrollBarControl;
struct PolylinePoints;

// A Single array with its lower bound, as the point lists of POLYGON come: elements
// LBound to UBound; lower bound -1 holds a base point in element -1. An empty array
// is an uninitialised one (error 9 on its bounds).
class SingleArray {
public:
    SingleArray() = default;
    SingleArray(std::vector<float> values, int lbound = 0) : v_(std::move(values)), lbound_(lbound) {}
    SingleArray(std::initializer_list<float> values) : v_(values) {}
    int LBound() const;
    int UBound() const;
    // Element i; outside the bounds error 9.
    float& operator()(int i);
    float operator()(int i) const;

private:
    std::size_t index(int i) const;

    std::vector<float> v_;
    int lbound_ = 0;
};

class clsGRAFIK : public OutputBinding {
public:
    // Takes the ID of the first active record of E1 on the working copy (0 if none).
    explicit clsGRAFIK(Context& ctx);

    // Record ID and diagram number of the layout row.
    int32_t EID() const { return EID_; }
    void EID(int32_t value) { EID_ = value; }
    int16_t EIDOBJEKT() const { return EIDOBJEKT_; }
    void EIDOBJEKT(int16_t value) { EIDOBJEKT_ = value; }
    ScrollBarControl* EXBALKEN() const { return EXBALKEN_; }
    void EXBALKEN(ScrollBarControl* bar) { EXBALKEN_ = bar; }
    ScrollBarControl* EYBALKEN() const { return EYBALKEN_; }
    void EYBALKEN(ScrollBarControl* bar) { EYBALKEN_ = bar; }

    // The size of the diagram box (mm), whose corner is EXDL, EYDO; setting a size
    // resets that axis's tables. Setting a picture box or the printer as EOBJEKT sets
    // both to the object's size.
    float ELX() const { return ELX_; }
    void ELX(float value);
    float ELY() const { return ELY_; }
    void ELY(float value);

    // Axis modes (0 none, 1/-1 at the bottom/top or left/right edge, beyond: mm off
    // the edge) and scale types (0 linear, 1 logarithmic).
    int16_t EAXEX() const { return EAXEX_; }
    void EAXEX(int16_t value) { EAXEX_ = value; }
    int16_t EAXEY() const { return EAXEY_; }
    void EAXEY(int16_t value) { EAXEY_ = value; }
    int16_t ESKTX() const { return ESKTX_; }
    void ESKTX(int16_t value) { ESKTX_ = value; }
    int16_t ESKTY() const { return ESKTY_; }
    void ESKTY(int16_t value) { ESKTY_ = value; }
    // True: that bound is fitted to the data and written back to the layout row.
    bool EBOXMIN() const { return EBOXMIN_; }
    void EBOXMIN(bool value) { EBOXMIN_ = value; }
    bool EBOXMAX() const { return EBOXMAX_; }
    void EBOXMAX(bool value) { EBOXMAX_ = value; }
    bool EBOYMIN() const { return EBOYMIN_; }
    void EBOYMIN(bool value) { EBOYMIN_ = value; }
    bool EBOYMAX() const { return EBOYMAX_; }
    void EBOYMAX(bool value) { EBOYMAX_ = value; }

    // Axis tables: allowed bounds, ranges, interval, grid and label counts per range.
    const AxisTable& ELXMIN() const { return x_.MIN; }
    void ELXMIN(const AxisTable& t) { x_.MIN = t; }
    const AxisTable& ELYMIN() const { return y_.MIN; }
    void ELYMIN(const AxisTable& t) { y_.MIN = t; }
    const AxisTable& ELXDIFF() const { return x_.DIFF; }
    void ELXDIFF(const AxisTable& t) { x_.DIFF = t; }
    const AxisTable& ELYDIFF() const { return y_.DIFF; }
    void ELYDIFF(const AxisTable& t) { y_.DIFF = t; }
    const AxisTable& ELXIT() const { return x_.IT; }
    void ELXIT(const AxisTable& t) { x_.IT = t; }
    const AxisTable& ELYIT() const { return y_.IT; }
    void ELYIT(const AxisTable& t) { y_.IT = t; }
    // Setting the grid counts also sets the label counts.
    const AxisTable& ELXGIT() const { return x_.GIT; }
    void ELXGIT(const AxisTable& t) { x_.GIT = t; x_.ZL = t; }
    const AxisTable& ELYGIT() const { return y_.GIT; }
    void ELYGIT(const AxisTable& t) { y_.GIT = t; y_.ZL = t; }
    const AxisTable& ELXZL() const { return x_.ZL; }
    void ELXZL(const AxisTable& t) { x_.ZL = t; }
    const AxisTable& ELYZL() const { return y_.ZL; }
    void ELYZL(const AxisTable& t) { y_.ZL = t; }

    // Axis titles (mark-up allowed) and number patterns of the tick labels.
    QString ETEXTX() const { return ETEXTX_; }
    void ETEXTX(const QString& value) { ETEXTX_ = value; }
    QString ETEXTY() const { return ETEXTY_; }
    void ETEXTY(const QString& value) { ETEXTY_ = value; }
    QString ESKZX() const { return ESKZX_; }
    void ESKZX(const QString& value) { ESKZX_ = value; }
    QString ESKZY() const { return ESKZY_; }
    void ESKZY(const QString& value) { ESKZY_ = value; }
    // Equal-scale mode 0, 1 (y range from x) or 2 (x range from y), held whole.
    float EXYIT() const { return float(EXYIT_); }
    void EXYIT(float value);
    // Offsets subtracted from world x and y before scaling.
    float EXMOD() const { return EXMOD_; }
    void EXMOD(float value) { EXMOD_ = value; }
    float EYMOD() const { return EYMOD_; }
    void EYMOD(float value) { EYMOD_ = value; }
    int16_t EPTYP() const { return EPTYP_; }
    void EPTYP(int16_t value) { EPTYP_ = value; }

    // Loads the layout row, fits the axes to the data series (omitted: the single
    // value 0), writes fitted bounds and computed scales back and, unless NR is 1 or
    // 2, draws the axes.
    void SKALEN(int16_t NR = 0, const std::optional<std::vector<float>>& X = std::nullopt,
                const std::optional<std::vector<float>>& Y = std::nullopt);
    // Marked-up text at (X, Y): KO 1 world, 2 mm in the box, else page mm; AL angle
    // in degrees; ARX/ARY alignment 0 start, 1 middle, 2 end. The variant on a
    // variable receives the exponent rewrite.
    void TEXT(float X, float Y, QString& TEXT, int16_t KO = 0, int16_t AL = 0, int16_t ARX = 0,
              int16_t ARY = 0);
    void TEXT(float X, float Y, const QString& TEXT, int16_t KO = 0, int16_t AL = 0,
              int16_t ARX = 0, int16_t ARY = 0);
    // Arrow head at (XP2, YP2) pointing away from (XP1, YP1), page mm.
    void PFEIL(float XP1, float YP1, float XP2, float YP2);
    // The world points X, Y drawn by EPTYP (polyline, bars, dots, staircases), then
    // marks (PSIT, PSTYP), point numbers (PNR), the label TEXT at LAGETEXT and arrow
    // heads (LAGEPFEIL). FARBEN: colour from PSTYP. BOL: mask of the polyline's
    // segments (drawn where the element is the number 1). The caller's points are
    // never changed; the variant on a variable receives the label's exponent rewrite.
    void POLYGON(const SingleArray& X, const SingleArray& Y, int16_t PSIT, int16_t PSTYP, int16_t PNR,
                 QString& TEXT, int16_t LAGETEXT = 0, int16_t LAGEPFEIL = 0, bool FARBEN = false,
                 const std::optional<std::vector<Variant>>& BOL = std::nullopt);
    void POLYGON(const SingleArray& X, const SingleArray& Y, int16_t PSIT = 0, int16_t PSTYP = 0,
                 int16_t PNR = 0, const QString& TEXT = QString(), int16_t LAGETEXT = 0,
                 int16_t LAGEPFEIL = 0, bool FARBEN = false,
                 const std::optional<std::vector<Variant>>& BOL = std::nullopt);
    // Circle or arc about (XM, YM) with radius R from AL1 to AL2 (radians; AL2 0 is a
    // full turn, written back as 2pi), cut at the inner box; LAGEPFEIL: arrow heads and
    // dots at the ends; BOKREISP: 10-degree chords instead of arcs; KO: 0 page mm,
    // 1 world (omitted), 2 mm in the box.
    void KREIS(float XM, float YM, float R, float AL1, float& AL2, int16_t LAGEPFEIL = 0,
               bool BOKREISP = false, std::optional<int16_t> KO = std::nullopt);
    void KREIS(float XM, float YM, float R, float AL1 = 0.0f, const float& AL2 = 0.0f,
               int16_t LAGEPFEIL = 0, bool BOKREISP = false, std::optional<int16_t> KO = std::nullopt);
    // Ground hatching from world (X1, Y1): ANS repetitions of strokes H1 long (mm with
    // KO 2) at 45 degrees either side of the slope BE (degrees), cut at the world window.
    void GELAENDESCHRAFFUR(float X1, float Y1, float H1, int16_t ANS, float BE, int16_t KO = 0);
    // Water-level triangle at world (X, Y), DH high in world y units (written back in
    // mm), turned by RIWI degrees; GW 1 adds the level lines, VOLL 1-3 fills halves.
    void KOTENDREIECK(float X, float Y, float& DH, float RIWI, int16_t GW, int16_t VOLL);
    void KOTENDREIECK(float X, float Y, const float& DH, float RIWI, int16_t GW, int16_t VOLL);
    // Two stacked load areas on the world segment X(0..1), Y(0..1): P[k][j] upward
    // (k 0, 2) and rightward (k 1, 3) ordinates at end j, IT intervals between the
    // load arrows; the pressure scale MSP of the layout row is computed when 0.
    void LASTFLAECHEN(const std::vector<float>& X, const std::vector<float>& Y,
                      const std::array<std::array<float, 2>, 4>& P, int16_t IT);
    // The world segment (X1, Y1)-(X2, Y2) in green with, for SY 1, a double arrow
    // SHHH mm long across it (TYP 1) or beside and along it (TYP 2, 3).
    void SCHNITTKRAFT(float X1, float Y1, float X2, float Y2, float SHHH, int16_t TYP, int16_t SY);
    // World to page mm and back.
    void KOORDTRANS(float X, float Y, float& XP, float& YP);
    void KOORDTRANSINV(float XP, float YP, float& X, float& Y, int16_t SKTX = 0, int16_t SKTY = 0);
    // The part of a segment (page mm) inside the inner box within the diagram's frame
    // (BOSK 1: the whole diagram box);
    // with FB the clamped points span a filled box in colour FB.
    void LINIE(float XP1, float YP1, float XP2, float YP2, std::optional<int32_t> FB = std::nullopt,
               int16_t BOSK = 0);

    // The layout values loaded by SKALEN.
    struct Layout {
        int16_t OX = 0, OY = 0;
        float RL = 0, RR = 0, RO = 0, RU = 0;
        float XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0;
        float MYMX = 0, MX = 0, MY = 0;
    };
    const Layout& layout() const { return L_; }
    float PANX() const { return PANX_; }
    float PANY() const { return PANY_; }
    // The tick, grid and label counts SKALEN left for each axis.
    const AxisTicks& xCounts() const { return xTicks_; }
    const AxisTicks& yCounts() const { return yTicks_; }

private:
    void onMeasured(OutputObject& object) override;
    void textRuns(float X, float Y, QString& TEXT, int16_t KO, int16_t AL, int16_t ARX, int16_t ARY);
    // A drawn symbol (point mark) 0..6 around C in page mm, never turned.
    void SYMBOL(int number, double cx, double cy);
    // One run of text turned by AL degrees, through the rotated-text class.
    void ROTLABEL(QString& text, int16_t AL, double x, double y, int size, const QString& face);
    // POLYGON's parts: the lines of one drawing type and the decorations, on the
    // page points; each stroke one step of the guard.
    void polygon(const SingleArray& X, const SingleArray& Y, int16_t PSIT, int16_t PSTYP, int16_t PNR,
                 QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL, bool FARBEN,
                 const std::optional<std::vector<Variant>>& BOL);
    void polygonLines(Guard& g, PolylinePoints P, const SingleArray& X, const SingleArray& Y,
                      const std::optional<std::vector<Variant>>& BOL);
    void polygonDecorations(Guard& g, const PolylinePoints& P, int16_t PSIT, int16_t PSTYP, int16_t PNR,
                            QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL);
    void kotendreieck(float X, float Y, float& DH, float RIWI, int16_t GW, int16_t VOLL);
    // KREIS's parts: where the circle lies on the page, its chords or its clipped arc,
    // and the marks at its ends.
    void kreis(float XM, float YM, float R, float AL1, float& AL2, int16_t LAGEPFEIL, bool BOKREISP,
               std::optional<int16_t> KO);
    struct ArcPlace {
        float XMP = 0, YMP = 0;             // centre (page mm)
        float P1x = 0, P1y = 0, P2x = 0, P2y = 0;   // the ends at AL1 and AL2
        double RP = 0;                      // radius (page mm)
        // A circle round the whole inner box has nothing inside it.
        bool surroundsInnerBox(const std::array<float, 4>& box) const;
    };
    // Centre, radius and ends by the coordinate mode KO; false after its box.
    bool arcPlacement(Guard& g, float XM, float YM, float R, float AL1, float AL2, std::optional<int16_t> KO,
                      ArcPlace& p);
    // A world angle as a page angle for the axes' directions.
    float pageAngle(float al) const;
    // Chords of 10 degrees from H1 to H2 in the sense given (1 up, -1 down).
    void arcChords(Guard& g, const ArcPlace& p, float H1, float H2, float sense);
    // The circle or the arc from H1 down to H2, clipped at the inner box; false when
    // nothing of it lies inside or a message ended KREIS.
    bool arcCurve(Guard& g, const ArcPlace& p, bool fullCircle, float H1, float H2);
    // Arrow heads and dots at the ends (LAGEPFEIL 1 to 5).
    void arcEndMarks(Guard& g, const ArcPlace& p, int16_t LAGEPFEIL, float H1, float H2, float sense,
                     bool exchanged);
    // One arc from page angle a down to page angle b; false when the angles cannot
    // be drawn (message shown, KREIS ends).
    bool ARCPART(float a, float b, float XMP, float YMP, double RP);
    // The inner box, cut to the diagram's frame (its world window on the page) once the
    // axes have their scales: left, right, top, bottom (page mm).
    std::array<float, 4> innerBox() const;
    // SKALEN's parts.
    bool readRow(Guard& g, clsDATEN& view, bool scales);
    void scrollBar(ScrollBarControl* bar, bool horizontal);
    void offsetNotes(float right, float bottom);
    void axis(Guard& g, bool xAxis, const AxisTicks& t, float XP1, float YP1, float XP2, float YP2);

    int32_t EID_ = 0;
    int16_t EIDOBJEKT_ = 11;
    ScrollBarControl* EXBALKEN_ = nullptr;
    ScrollBarControl* EYBALKEN_ = nullptr;
    float ELX_ = 0, ELY_ = 0;
    int16_t EAXEX_ = 1, EAXEY_ = 1, ESKTX_ = 0, ESKTY_ = 0;
    bool EBOXMIN_ = false, EBOXMAX_ = false, EBOYMIN_ = false, EBOYMAX_ = false;
    AxisTables x_, y_;
    QString ETEXTX_, ETEXTY_;
    QString ESKZX_ = QStringLiteral("####0"), ESKZY_ = QStringLiteral("####0");
    int16_t EXYIT_ = 0;
    float EXMOD_ = 0, EYMOD_ = 0;
    int16_t EPTYP_ = 0;

    Layout L_;
    float PANX_ = 0, PANY_ = 0;
    AxisTicks xTicks_, yTicks_;
};
