#pragma once
// Input records of the calculation tests: groundwater levels, then per side the layers
// as (Z, KF) in running-number order, the flow line and the outline as (X, Z) points.
#include "calc/CalcInput.h"
#include "support/TestSuite.h"
#include <array>
#include <vector>

struct Record {
    float ZGWLS = 0, ZGWRS = 0;
    std::vector<std::array<float, 2>> layersL, layersR;   // (Z, KF)
    std::vector<std::array<float, 2>> flowL, flowR;       // (X, Z)
    std::vector<std::array<float, 2>> outlineL, outlineR; // (X, Z)
};

// The record as the calculation reads it.
CalcInput ToInput(const Record& r);

// Stores the record under the ID as the input window saves it (E1 to E5), active
// when asked, with the A1 row the recalculate command creates.
void StoreRecord(TempProject& p, int id, const Record& r, bool active = true);
// Replaces the record's input rows (E2 to E5), as saving changed input does.
void StoreInput(TempProject& p, int id, const Record& r);

// The worked examples and the cases around them.
namespace Records {
// Levels 0/2; layers 0, 3, 10 (KF 0, 1e-4, 1e-5) on both sides; flow lines
// (0,0)-(0,6) and (4,2)-(4,6); outlines (0,-1)-(0,6) and (4,-1)-(4,6).
Record HeadLossExample();
// Levels -2/0; same layers; flow lines (0,0)-(0,6) and (4,0)-(4,6); outlines from -3.
Record PolygonExample();
Record SymmetricBox();            // levels 0/0, otherwise as the polygon example from -1
Record UnsymmetricConsistent();
Record LinkPermeabilityMismatch();
Record LinkOnRightBoundary();
Record StepAndSlope();
Record StepOnBoundary();
Record NodesAndRightLevel();
Record RoundingHalfEven();
Record LevelsAtOutlineNodes();
Record MinimalAccepted();
// Layers 0, 2, 5 on both sides; base corners at the given depths (left x 0, right x 4).
Record BaseAt(float zLeft, float zRight);
Record VerticalBase();
Record ReversedBase();
Record PointedBase();
Record LinkInImpermeableSection();
Record FlowPointBelowDeepestLayer();
Record ZeroPathLength();
Record ZeroPathLengthEqualLevels();
}
