#pragma once
#include <QLocale>
#include <QString>

// The one locale through which every conversion between numbers and text runs.
// Set once at start (from the user's environment); tests set it per case.
void SetProgramLocale(const QLocale& locale);
const QLocale& ProgramLocale();

// Language code of the program: 1 English (locale language "en"), 3 German (all others).
int LanguageOf(const QLocale& locale);
// The locale's decimal separator as text ("," or ".").
QString DecimalSeparatorOf(const QLocale& locale);
// The locale the user's environment asks for (LC_ALL, LC_NUMERIC, LANG).
QLocale SystemLocale();
// A text of the program's own in its language (English or German, as LanguageOf).
QString ProgramText(const char* english, const char* german);
// Loads Qt's own translations (button texts of the standard dialogs) for the
// program's language of the locale (LanguageOf: English, else German); false when
// none is installed. A second call replaces the first.
bool LoadQtTranslations(const QLocale& locale);

// Qt patterns of the runtime's "Short Date" (four-digit year) and "Long Time"
// (without time zone) in a locale; CStr and Format of dates use them.
QString ShortDatePattern(const QLocale& locale);
QString LongTimePattern(const QLocale& locale);
