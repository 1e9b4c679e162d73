#include "Documents.h"
#include "FileOps.h"
#include "Locale.h"
#include "VbError.h"
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

std::function<bool(const QString&)>& OpenerHook()
{
    static std::function<bool(const QString&)> hook;
    return hook;
}

VbError NoProgram(const QString& shown)
{
    return VbError(VbErr::CannotCreateObject,
                   ProgramText("No program can open the file: ", "Kein Programm kann die Datei öffnen: ") + shown);
}

// The opener runs under a shell of its own, which only waits for it: when the program
// ends, the shell is ended, never the opener or the application it started.
class Opener : public QProcess {
public:
    using QProcess::QProcess;
    ~Opener() override
    {
        disconnect();   // nobody is left to tell
        if (state() != NotRunning) {
            kill();
            waitForFinished();
        }
    }
};

void StartOpener(const QString& target, const QString& shown, const OpenerFailed& failed)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        throw NoProgram(shown);
    auto* opener = new Opener(QCoreApplication::instance());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("xdg-open \"$1\" & wait $!"), QStringLiteral("sh"), target});
    if (!opener->waitForStarted()) {
        delete opener;
        throw NoProgram(shown);
    }
    QObject::connect(opener, &QProcess::finished, opener, [opener, shown, failed](int code, QProcess::ExitStatus how) {
        opener->deleteLater();
        if ((how != QProcess::NormalExit || code != 0) && failed)
            failed(NoProgram(shown));
    });
}

} // namespace

void SetDocumentOpenerHook(std::function<bool(const QString&)> hook)
{
    OpenerHook() = std::move(hook);
}

void OpenWithDesktop(const QUrl& url, const OpenerFailed& failed)
{
    const QString target = url.isLocalFile() && !url.hasFragment() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
    const QString shown = url.isLocalFile() ? url.toLocalFile() : target;
    if (!OpenerHook()) {
        StartOpener(target, shown, failed);
        return;
    }
    if (!OpenerHook()(target))
        throw NoProgram(shown);
}

void OpenDocument(const QString& path, const OpenerFailed& failed)
{
    if (!FileExists(path))
        throw VbError(VbErr::FileNotFound);
    OpenWithDesktop(QUrl::fromLocalFile(path), failed);
}

void OpenHandedOverDocument(const QString& path, const OpenerFailed& failed)
{
    try {
        OpenDocument(path, [path, failed](const VbError& e) {
            QFile::remove(path);
            if (failed)
                failed(e);
        });
    } catch (const VbError&) {
        QFile::remove(path);
        throw;
    }
}
