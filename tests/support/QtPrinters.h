#pragma once
// A QString in a failed assertion is printed as its text, not as the bytes of the object.
// Every test program takes this header first (tests/CMakeLists.txt), so that the
// printer is found wherever a QString is compared, inside pairs and lists too.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
