#include "clsADRESSE.h"

QString clsADRESSE::ByLanguage(const char* english, const char* german) const
{
    switch (sprache_()) {
    case 1: return QString::fromUtf8(english);
    case 3: return QString::fromUtf8(german);
    default: return QString();
    }
}

QString clsADRESSE::FIRMA1() const
{
    return ByLanguage("Institute for Groundwater Engineering", "Institut für Grundwasserbau");
}

QString clsADRESSE::FIRMA2() const
{
    return ByLanguage("at the Stratega Engineering Foundation", "an der Stratega Ingenieurstiftung");
}

QString clsADRESSE::PLZ() const
{
    return ByLanguage("D-10000 Musterstadt, Germany", "D-10000 Musterstadt");
}

QString clsADRESSE::STR() const { return QStringLiteral("Am Deich 1"); }
QString clsADRESSE::VORSITZ() const { return QStringLiteral("Prof. Dr.-Ing. A. Beispiel"); }
QString clsADRESSE::TEL() const { return QStringLiteral("+49 100 000000-0"); }
QString clsADRESSE::FAX() const { return QStringLiteral("+49 100 000000-9"); }
QString clsADRESSE::EMAIL() const { return QStringLiteral("info@stratega.example"); }
QString clsADRESSE::URL() const { return QStringLiteral("www.stratega.example"); }
