#pragma once
// The pressure polygon of each side: from the groundwater level along the structure
// and the flow line down to the base corner, with a vertex at every layer boundary,
// flow-line point and structure node; and the actual water pressure at each vertex.
#include "CalcInput.h"
#include "SeepagePath.h"
#include <vector>

// A polygon as it is built, point by point.
struct PolygonPoints {
    std::vector<float> X, Z;
    // Appends a point, keeping the list within the Integer range.
    void add(float x, float z);
    std::size_t size() const { return Z.size(); }
};

// The first two passes of KVXPOLYGON. From the level point (when it lies above the flow
// line, with the structure nodes between) along the flow line, with the layer depths
// strictly between its points; a point at a layer depth takes the structure's x there.
PolygonPoints AlongFlowLine(float XGW, float ZGW, const std::vector<float>& XS, const std::vector<float>& ZS,
                            const std::vector<float>& XST, const std::vector<float>& ZST,
                            const std::vector<float>& XB, const std::vector<float>& ZB);
// The structure nodes between and at the points of the first pass; a polygon piece at
// the depth of a horizontal outline segment takes that segment's x values.
PolygonPoints WithStructureNodes(const PolygonPoints& P, const std::vector<float>& XB, const std::vector<float>& ZB);

// Builds one side's polygon (PX, PZ) from the level point (XGW, ZGW), the structure's
// x at the layer depths (XS, ZS), the flow line and the structure outline. A runtime
// error inside carries the label "Neuberechnen/KVXPOLYGON".
void KVXPOLYGON(float XGW, float ZGW, std::vector<float>& PX, std::vector<float>& PZ,
                const std::vector<float>& XS, const std::vector<float>& ZS,
                const std::vector<float>& XST, const std::vector<float>& ZST,
                const std::vector<float>& XB, const std::vector<float>& ZB);

struct PressurePolygons {
    float XGWL = 0, XGWR = 0;                 // structure x at the levels
    std::vector<float> XBSL, XBSR;            // structure x at the layer depths
    std::vector<float> XPL, ZPL, PL;          // left polygon and pressures
    std::vector<float> XPR, ZPR, PR;          // right polygon and pressures
};

// Both polygons of a record's input (pressures not yet set).
PressurePolygons BuildPolygons(const CalcInput& in);

// Pressure (kN/m²) of a vertex at depth z with head loss h, the head measured from
// the left level and rounded to 5 decimals, halves to even.
float VertexPressure(float z, float ZGWLS, float h);

// The pressure at every vertex of both polygons, each vertex's head loss taken from
// the head-loss table in polygon order.
void ComputePressures(PressurePolygons& poly, const SeepagePath& path, float ZGWLS);
