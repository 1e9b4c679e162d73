#include "Colors.h"

#include "VbError.h"

QColor QBColor(int index)
{
    static constexpr int rgb[16][3] = {
        {0, 0, 0},     {0, 0, 128},     {0, 128, 0},     {0, 128, 128},
        {128, 0, 0},   {128, 0, 128},   {128, 128, 0},   {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},   {0, 255, 0},     {0, 255, 255},
        {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255},
    };
    if (index < 0 || index > 15)
        throw VbError(VbErr::InvalidCall);
    return QColor(rgb[index][0], rgb[index][1], rgb[index][2]);
}

QColor ColorFromLong(int32_t bgr)
{
    const auto v = static_cast<uint32_t>(bgr);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

int32_t LongFromColor(const QColor& color)
{
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8)
                                | (static_cast<uint32_t>(color.blue()) << 16));
}
