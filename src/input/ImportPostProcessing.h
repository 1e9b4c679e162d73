#pragma once
// The clean-up of the texts a measurement data import has placed in a table, before the
// table is refreshed. In this order, over the rows from the import's first row to the
// last: prefixes and suffixes cut; dates and times rebuilt from the file's patterns as
// "dd.mm.yy" and "hh:mm:ss"; a leading decimal sign given its zero; a foreign decimal
// sign replaced by the locale's; factors applied. Free of windows, like the reading.
#include "MeasurementImport.h"
#include <functional>

// Shows a message of the post-processing (button OK). A date or time pattern that lacks
// a part is reported this way, and only its step is left out.
using ImportNotice = std::function<void(const QString& text)>;

void PostProcessImport(const ImportPlan& plan, int startRow, ImportTable& table, const ImportNotice& tell);
