#pragma once
// Small helpers shared by the test programs.
#include "platform/Locale.h"
#include "platform/VbError.h"
#include <QLocale>
#include <cstdint>
#include <functional>

// The runtime error number a call raises, 0 when it raises none.
inline int32_t VbErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.number();
    }
    return 0;
}

// The two locales the tests run under.
inline QLocale German() { return QLocale(QLocale::German, QLocale::Germany); }
inline QLocale English() { return QLocale(QLocale::English, QLocale::UnitedStates); }

// Sets the program locale for a scope and restores the previous one.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : saved_(ProgramLocale()) { SetProgramLocale(locale); }
    ~LocaleScope() { SetProgramLocale(saved_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale saved_;
};
