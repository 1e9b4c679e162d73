#pragma once
// The input of one calculation run as read from the record: per side the soil
// layers, the flow line and the structure outline, each in running-number order.
#include <vector>

struct SideInput {
    std::vector<float> ZS, KFS;    // layer boundary depths; permeability of the section above
    std::vector<float> ZST, XST;   // flow line, from its top down to the base corner
    std::vector<float> ZB, XB;     // structure outline, from the top down to the base corner
};

struct CalcInput {
    float ZGWLS = 0, ZGWRS = 0;    // groundwater levels left and right
    SideInput L, R;
};
