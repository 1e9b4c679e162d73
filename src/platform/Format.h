#pragma once
#include "Variant.h"
#include <QString>

// Number and date formatting with the runtime's format strings: digit placeholders
// "0" and "#", the point (printed as the program locale's decimal separator), thousands
// grouping with ",", "%", exponents "E+00"/"E-00", literal text in quotes or after "\",
// and up to four sections (positive;negative;zero;Null) - e.g. "0", "0.00", "#0.00",
// "####0", "0.00E+00". Numbers are rounded halves away from zero on the digits the
// runtime sees (7 significant for a Single, 15 otherwise); a negative number that
// rounds to zero is shown without its sign. Dates and times take the
// patterns "dd.mm.yyyy", "hh:mm:ss", "h:nn", "AM/PM" and the named "Short Date",
// "Long Date", "Short Time", "Long Time", "General Date". A numeric text is formatted
// as its number; any other text passes unchanged; Null gives "" (or its fourth
// section), Empty counts as 0.
QString Format(const Variant& value, const QString& format);
