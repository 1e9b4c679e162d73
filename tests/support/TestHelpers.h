#pragma once
// Small helpers shared by the test programs.
#include "platform/Locale.h"
#include "platform/VbError.h"
#include <QLocale>
#include <csignal>
#include <cstdint>
#include <functional>
#include <sys/resource.h>

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

// Lets no file of this process grow past a size for a scope, as a full disk would:
// a write beyond it fails (SIGXFSZ is ignored meanwhile, so the process lives on).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*oldHandler_)(int);
    rlimit saved_{};
};
