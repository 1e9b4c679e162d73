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

ProgressSpan::ProgressSpan(const Context& ctx, float from, float to, std::size_t parts)
    : ctx_(ctx), from_(from), to_(to), parts_(parts)
{
}

void ProgressSpan::next()
{
    if (done_ >= parts_)
        return;
    ++done_;
    ctx_.progress(from_ + (to_ - from_) * float(double(done_) / double(parts_)));
}
