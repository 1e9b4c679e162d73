#include "DrawMath.h"
#include "platform/DialogService.h"
#include "platform/VbError.h"
#include <cfloat>
#include <cmath>

float LOG10(float V)
{
    if (V > 0.0f)
        return float(std::log(double(V)) / std::log(10.0));
    return 0.0f;
}

float STRECKENWINKEL(float X1, float Y1, float X2, float Y2)
{
    using namespace DrawConst;
    const float dx = X2 - X1;
    const float dy = Y2 - Y1;
    if (dx == 0.0f && dy == 0.0f)
        return 0.0f;
    if (dx == 0.0f)
        return dy > 0.0f ? PI_2 : 3.0f * PI_2;
    if (dy == 0.0f)
        return dx > 0.0f ? 0.0f : PI;
    const float a = float(std::atan(double(dy / dx)));
    if (dx <= 0.0f)
        return a + PI;
    return dy >= 0.0f ? a : a + 2.0f * PI;
}

float MINWERT(float A, float B)
{
    return A >= B ? B : A;
}

float LININT(DialogService& dialogs, float x1, float x2, float x, float y1, float y2)
{
    if (x2 == x1) {
        dialogs.MsgBox(QStringLiteral("Division durch Null!"), MsgButtons::OK, MsgIcon::None,
                       QStringLiteral("LININT"));
        return 0.0f;
    }
    return CheckedSng(double(y2) - double(y2 - y1) * double(x2 - x) / double(x2 - x1));
}
