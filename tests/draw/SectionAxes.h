#pragma once
// The axis settings of the pages' section diagram (row 11): fitted bounds, the
// 65 allowed bounds and 42 allowed ranges with their counts, "#0.0" labels.
#include "draw/clsGRAFIK.h"
#include <vector>

inline std::vector<float> seq(float from, float to, float step)
{
    std::vector<float> v;
    for (float x = from; x <= to + 1e-4f; x += step)
        v.push_back(x);
    return v;
}

inline AxisTables sectionTables()
{
    AxisTables t;
    std::vector<float> bounds = seq(-100, -20, 10);
    for (float v : seq(-19, 20, 1)) bounds.push_back(v);
    for (float v : seq(25, 100, 5)) bounds.push_back(v);
    t.MIN = bounds;
    const float rows[42][3] = {
        {1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}, {6, 3, 3}, {8, 4, 2}, {9, 3, 3},
        {10, 5, 1}, {11, 11, 1}, {12, 6, 3}, {13, 13, 1}, {14, 7, 1}, {15, 5, 5}, {16, 8, 4},
        {17, 17, 1}, {18, 9, 3}, {19, 19, 1}, {20, 4, 2}, {21, 7, 1}, {22, 11, 1}, {23, 23, 1},
        {24, 12, 3}, {25, 5, 1}, {26, 13, 1}, {27, 9, 3}, {28, 14, 2}, {30, 6, 3}, {35, 7, 1},
        {40, 8, 2}, {45, 9, 3}, {50, 10, 2}, {60, 12, 3}, {70, 10, 2}, {75, 3, 3}, {80, 16, 2},
        {90, 9, 3}, {100, 10, 2}, {125, 5, 1}, {150, 6, 2}, {175, 7, 1}, {200, 10, 2}};
    std::vector<float> diff, it, git, zl;
    for (const auto& r : rows) {
        diff.push_back(r[0]);
        it.push_back(r[1]);
        git.push_back(1);
        zl.push_back(r[2]);
    }
    t.DIFF = diff;
    t.IT = it;
    t.GIT = git;
    t.ZL = zl;
    return t;
}

inline void SetSectionAxes(clsGRAFIK& g)
{
    const AxisTables t = sectionTables();
    g.EBOXMIN(true); g.EBOXMAX(true); g.EBOYMIN(true); g.EBOYMAX(true);
    g.ELXMIN(t.MIN); g.ELXDIFF(t.DIFF); g.ELXIT(t.IT); g.ELXGIT(t.GIT); g.ELXZL(t.ZL);
    g.ELYMIN(t.MIN); g.ELYDIFF(t.DIFF); g.ELYIT(t.IT); g.ELYGIT(t.GIT); g.ELYZL(t.ZL);
    g.ESKZX("#0.0"); g.ESKZY("#0.0");
    g.ETEXTX("x [m]"); g.ETEXTY("z [m]");
}
