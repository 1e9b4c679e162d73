#pragma once
// Seepage head loss along the flow path: down the left flow line, along the link
// between the two flow lines' last points, up the right flow line. The layers act in
// series (Darcy): one equivalent permeability, one seepage velocity, and every piece
// of the path loses head in proportion to its length over its permeability.
#include "CalcInput.h"
#include <vector>

// Subdivides a flow line at the layer depths and the structure nodes (ZT, XT) and
// gives each sub-segment the permeability of the layer section holding it (KT, the
// sub-segment ending at each point; KT(0) = 0). Returns the sum of length over
// permeability of the sub-segments with a permeability other than 0. A runtime error
// inside carries the label "Neuberechnen/PHILINIE".
float PHILINIE(std::vector<float>& ZT, std::vector<float>& XT, std::vector<float>& KT,
               const std::vector<float>& ZS, const std::vector<float>& KFS,
               const std::vector<float>& ZST, const std::vector<float>& XST,
               const std::vector<float>& ZB, const std::vector<float>& XB);

// The steps of PHILINIE that meet the flow line with the outline and the layers.
// Second subdivision: inserts into each piece of the list (TZ, TX) the structure nodes
// strictly inside it, in outline order, of those before the first node not above the
// piece's lower end; not a node whose outline segment from the previous node is vertical.
void SplitAtNodes(std::vector<float>& ZT, std::vector<float>& XT, const std::vector<float>& TZ,
                  const std::vector<float>& TX, const std::vector<float>& ZB, const std::vector<float>& XB);
// Gives each sub-segment of (ZT, XT) the permeability of the last layer section
// holding it (KT) and returns the sum of length over permeability.
float PermeabilitiesAndSum(std::vector<float>& KT, const std::vector<float>& ZT, const std::vector<float>& XT,
                           const std::vector<float>& ZS, const std::vector<float>& KFS);

struct SeepagePath {
    float LGES = 0, HDIFF = 0, GRAD = 0;       // path length, head difference, gradient
    std::vector<float> ZTL, XTL, KTL;           // subdivided left flow line
    std::vector<float> ZTR, XTR, KTR;           // subdivided right flow line
    float SUML = 0, SUMR = 0;                   // PHILINIE's sums of each side
    float KLINK = 0;                            // permeability of the link
    float SLK = 0, KEQ = 0, VF = 0;             // total resistance, equivalent permeability, velocity
    std::vector<float> DHV, ZDHV;               // head-loss table: cumulative loss and depth, in path order
    int NDHL = 0, NDHR = 0;                     // table entries of the left and right base corner
};

// The whole flow path of a record's input.
SeepagePath ComputeSeepagePath(const CalcInput& in);
