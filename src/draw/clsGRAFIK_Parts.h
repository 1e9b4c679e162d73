#pragma once
// What the source files of the diagram class share: the prefixes of its error boxes,
// the background colour of the marks and a checked element of a Single list.
#include "platform/VbError.h"
#include <QString>
#include <cstdint>
#include <vector>

namespace grafik {

inline const QString kPrefix = QStringLiteral("VB-Fehler: ");
inline const QString kPrefixColon = QStringLiteral("VB-Fehler:");
// The clipped line and the arcs put the number on a line of its own.
inline const QString kPrefixNumber = QStringLiteral("VB-Fehler: \nFehlerNr. ");

inline constexpr int32_t kWhite = 0xFFFFFF;

// Element i of v; outside it error 9.
inline float at(const std::vector<float>& v, int i)
{
    if (i < 0 || i >= int(v.size()))
        throw VbError(VbErr::Subscript);
    return v[std::size_t(i)];
}

} // namespace grafik
