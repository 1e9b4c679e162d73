#pragma once
// Small helpers shared by the test programs.
#include "platform/Locale.h"
#include "platform/VbError.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <source_location>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utility>

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

// Runs the event loop until a condition holds; false when it still fails after the
// time given (ms), which is meant to be generous.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Runs an action once from the event loop after the time given (ms), unless the scope it
// is made in ended first: an action that refers to the scope's locals never outlives them.
class ScopedSingleShot {
public:
    ScopedSingleShot(int ms, const std::function<void()>& action)
    {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, action);
        timer_.start(ms);
    }

private:
    QTimer timer_;
};

// Makes a call that is to return by itself, while it runs the event loop, and returns its
// result. Should it still run after the time given (ms, meant to be generous), the test
// fails saying so (at the line that made the call), and release is called from the event
// loop, again every tenth of a second, until the call returns: a fault fails its test, it
// never hangs the program.
template <class Call>
auto WithDeadline(const char* what, Call&& call, const std::function<void()>& release, int timeoutMs = 15000,
                  const std::source_location where = std::source_location::current())
{
    QTimer deadline;
    bool passed = false;
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        if (!passed) {
            ADD_FAILURE_AT(where.file_name(), int(where.line())) << what << " still runs after " << timeoutMs << " ms";
            passed = true;
            deadline.setInterval(100);
        }
        release();
    });
    deadline.start(timeoutMs);
    return std::forward<Call>(call)();
}

// Types a text into a widget with a key event per character, as a keyboard would;
// a character no key of its own types (a NUL) comes as an unknown key with that text.
inline void TypeKeys(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The bytes of a file ("" when it cannot be read).
inline QByteArray BytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The permission bits of an entry itself (a link's own, not its target's).
inline mode_t ModeOf(const QString& path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// Sets a file's or folder's permission bits, set-ID and sticky bits included.
inline void SetMode(const QString& path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
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

// Stands in for the desktop's opener (xdg-open) on the PATH for a scope: it notes
// what it is asked to open, then runs the given shell lines (by default it ends well).
class FakeDesktopOpener {
public:
    explicit FakeDesktopOpener(const char* then = "exit 0") : oldPath_(qgetenv("PATH"))
    {
        QFile script(dir_.filePath(QStringLiteral("xdg-open")));
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/opened\"\n");
        script.write(then);
        script.write("\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(dir_.path()) + ':' + oldPath_);
    }
    ~FakeDesktopOpener() { qputenv("PATH", oldPath_); }
    FakeDesktopOpener(const FakeDesktopOpener&) = delete;
    FakeDesktopOpener& operator=(const FakeDesktopOpener&) = delete;

    QStringList opened() const
    {
        QFile log(dir_.filePath(QStringLiteral("opened")));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir dir_;
    QByteArray oldPath_;
};
