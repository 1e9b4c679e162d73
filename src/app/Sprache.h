#pragma once
// The run's language chooses between a text's English and German form.
#include <QString>

// English for language 1, German for every other.
inline QString Sprachtext(int sprache, const char* english, const char* german)
{
    return QString::fromUtf8(sprache == 1 ? english : german);
}
