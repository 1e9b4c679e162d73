#include "Context.h"

bool Context::developmentMode() const
{
    return programFolder.contains(QLatin1String("SOURCE"), Qt::CaseInsensitive);
}

void Context::progress(float value) const
{
    if (pgbBERECHNEN)
        pgbBERECHNEN(value);
}
