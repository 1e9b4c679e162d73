#pragma once
// The measurement presets of the presets database, read for one import through database
// views: the layout table (the program title with "_VE1", one row per file layout, keyed
// by AKVK) and the value table ("_VE2", one row per value, keyed by IDK and MNR).
#include "MeasurementImport.h"
#include "platform/Context.h"

// The layout named AKVK, separators with their markers replaced. A key without a row
// gives IDK 0, ZL 0 and empty texts; a read that fails shows the view's box and leaves
// its value empty.
ImportLayout ReadImportLayout(Context& ctx, const QString& AKVK);

// The value rows of the layout into plan.values (by MNR) and plan.n; plan.columns gets
// one entry per value, 0 until the caller maps them. False when a read failed (after
// the view's box).
bool ReadImportValues(Context& ctx, int32_t IDK, ImportPlan& plan);
