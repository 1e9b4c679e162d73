#pragma once
// What the program asks of the operating system about its user and the suite.
#include <QString>
#include <cstdint>

// Login name of the effective user ("" when none can be found); callers upper-case it.
QString UserName();
// Login name of a user id ("" when the password database does not know it).
QString UserNameOf(uint32_t uid);
// The user's full name from the password database, else the login name.
QString UserFullName();
// The suite's settings file: $XDG_CONFIG_HOME (default ~/.config)/KALMARO/KALMARO.ini.
QString SuiteIniPath();
// A setting of the suite, read from that file at every call ("" when absent);
// application "KALMARO" is the file, section and key are its group and key.
QString GetSetting(const QString& app, const QString& section, const QString& key);
