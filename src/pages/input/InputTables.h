#pragma once
// The contents of the input-graphic page's six tables: the heads of the layer tables
// and of the point tables (structure outline, flow line), and their bodies from a
// side's lists, one row per point in running-number order.
#include "pages/common/VariantMatrix.h"
#include <vector>

// "z" "k" over "[m]" "[m/s]".
VariantMatrix LayerHead();
// "z" "x" over "[m]" "[m]".
VariantMatrix PointHead();
// Depth and the permeability above it; the first row, the ground surface, has the text
// "GOK" in place of its permeability.
VariantMatrix LayerBody(const std::vector<float>& Z, const std::vector<float>& KF);
// Depth and x of each point.
VariantMatrix PointBody(const std::vector<float>& Z, const std::vector<float>& X);
