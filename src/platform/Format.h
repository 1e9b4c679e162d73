#pragma once
#include "Variant.h"
#include <QString>

// Number and date formatting with the runtime's format strings in use:
// "0", "0.0", "0.00", "#0.00", "0.000", "0.00E+00" (halves rounded away from zero,
// decimal separator of the program's locale), and date/time patterns such as
// "dd.mm.yyyy", "hh:mm:ss", "Short Date", "Long Time".
QString Format(const Variant& value, const QString& format);
