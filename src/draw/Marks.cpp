#include "Marks.h"

void DrawMark(OutputObject& o, int number, double cx, double cy, int32_t c, int32_t fillAfter)
{
    const int step = LineFlags::Colour | LineFlags::FirstPoint | LineFlags::Step;   // 14
    const int cont = LineFlags::Colour | LineFlags::Step;                           // 10
    const auto cross = [&] {
        o.Line(step, cx, cy, -0.75, -0.75, c);
        o.Line(step, cx, cy, -0.75, 0.75, c);
        o.Line(step, cx, cy, 0.75, -0.75, c);
        o.Line(step, cx, cy, 0.75, 0.75, c);
    };
    switch (number) {
    case 0:
        cross();
        break;
    case 1:
        o.Line(step | LineFlags::FilledBox, cx - 0.5, cy - 0.5, 1.0, 1.0, c);
        break;
    case 2:
        o.Line(step | LineFlags::Box, cx - 0.5, cy - 0.5, 1.0, 1.0, c);
        break;
    case 3:
        o.setFillColor(c);
        o.setFillStyle(0);
        o.Circle(CircleFlags::Colour, cx, cy, 0.7, c);
        o.setFillStyle(1);
        o.setFillColor(fillAfter);
        break;
    case 4:
        o.Circle(CircleFlags::Colour, cx, cy, 0.7, c);
        break;
    case 5:
        o.Line(step, cx - 0.7, cy + 0.33, 1.4, 0.0, c);
        o.Line(cont, 0.0, 0.0, -0.7, -1.0, c);
        o.Line(cont, 0.0, 0.0, -0.7, 1.0, c);
        break;
    case 6:
        cross();
        o.Line(step, cx - 0.75, cy, 1.5, 0.0, c);
        o.Line(step, cx, cy - 0.75, 0.0, 1.5, c);
        break;
    default:
        break;
    }
}
