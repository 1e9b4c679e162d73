#include "System.h"
#include <QDir>
#include <QSettings>
#include <pwd.h>
#include <unistd.h>

namespace {

const passwd* currentUser()
{
    return getpwuid(geteuid());
}

// The settings file of an application in the user's configuration folder.
QString iniPathOf(const QString& app)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + app + QLatin1Char('/') + app + QStringLiteral(".ini");
}

} // namespace

QString UserName()
{
    if (const passwd* pw = currentUser(); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    for (const char* variable : {"USER", "LOGNAME"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

QString UserNameOf(uint32_t uid)
{
    const passwd* pw = getpwuid(uid_t(uid));
    return pw && pw->pw_name ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

QString UserFullName()
{
    if (const passwd* pw = currentUser(); pw && pw->pw_gecos) {
        // The GECOS field: full name, then office details separated by commas.
        const QString full = QString::fromLocal8Bit(pw->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
        if (!full.isEmpty())
            return full;
    }
    return UserName();
}

QString SuiteIniPath()
{
    return iniPathOf(QStringLiteral("KALMARO"));
}

QString GetSetting(const QString& app, const QString& section, const QString& key)
{
    const QSettings settings(iniPathOf(app), QSettings::IniFormat);
    return settings.value(section + QLatin1Char('/') + key).toString();
}
