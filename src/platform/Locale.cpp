#include "Locale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>
#include <memory>
#include <optional>

namespace {
std::optional<QLocale>& programLocale()
{
    static std::optional<QLocale> locale;
    return locale;
}
}

void SetProgramLocale(const QLocale& locale)
{
    programLocale() = locale;
}

const QLocale& ProgramLocale()
{
    auto& locale = programLocale();
    if (!locale)
        locale = SystemLocale();
    return *locale;
}

int LanguageOf(const QLocale& locale)
{
    return locale.name().section(QLatin1Char('_'), 0, 0) == QLatin1String("en") ? 1 : 3;
}

QString DecimalSeparatorOf(const QLocale& locale)
{
    return locale.decimalPoint();
}

QLocale SystemLocale()
{
    return QLocale::system();
}

QString ProgramText(const char* english, const char* german)
{
    return QString::fromUtf8(LanguageOf(ProgramLocale()) == 1 ? english : german);
}

bool LoadQtTranslations(const QLocale& locale)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed)
        QCoreApplication::removeTranslator(installed.get());
    installed.reset();
    auto translator = std::make_unique<QTranslator>();
    const QString language = LanguageOf(locale) == 1 ? QStringLiteral("en") : QStringLiteral("de");
    if (!translator->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

QString ShortDatePattern(const QLocale& locale)
{
    // The runtime's short date shows the year with four digits.
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    if (!pattern.contains(QLatin1String("yyyy")))
        pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return pattern;
}

QString LongTimePattern(const QLocale& locale)
{
    // Qt's long time carries the time zone, which the runtime's long time has not.
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    return locale.timeFormat(QLocale::LongFormat).remove(zone).trimmed();
}
