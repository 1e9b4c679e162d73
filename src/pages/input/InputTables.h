#pragma once
// The input-graphic page's six tables: the heads of the layer tables and of the point
// tables (structure outline, flow line), their bodies from a side's lists, one row per
// point in running-number order, and the two layouts.
#include "pages/common/TableLayout.h"
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

// Layers: from 5 mm in, z 13 mm with two decimals and k 20 mm as "0.00E+00", both
// right-aligned with a line between them, rows 3.5 mm high.
const TableLayout& LayerTableLayout();
// Structure outline and flow line: z and x, 13 mm each, two decimals.
const TableLayout& PointTableLayout();
