#include "BaseLayerCheck.h"
#include <algorithm>
#include <vector>

namespace {

bool OneSectionHolds(const std::vector<float>& ZS, float upper, float lower)
{
    for (std::size_t j = 0; j + 1 < ZS.size(); ++j) {
        if (upper >= ZS[j] && lower <= ZS[j + 1])
            return true;
    }
    return false;
}

}

bool BaseWithinOneLayer(const CalcInput& in)
{
    const float zL = in.L.ZB.back(), xL = in.L.XB.back();
    const float zR = in.R.ZB.back(), xR = in.R.XB.back();
    if (zL == zR && xL == xR)
        return true;
    // Testing one fixed corner against each boundary would let a rising base that
    // crosses a boundary pass.
    const float upper = std::min(zL, zR), lower = std::max(zL, zR);
    return OneSectionHolds(in.L.ZS, upper, lower) || OneSectionHolds(in.R.ZS, upper, lower);
}
