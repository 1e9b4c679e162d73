#include "Documents.h"
#include "FileOps.h"
#include "Locale.h"
#include "VbError.h"
#include <QProcess>
#include <QStandardPaths>

namespace {

std::function<bool(const QString&)>& OpenerHook()
{
    static std::function<bool(const QString&)> hook;
    return hook;
}

// The opener may run as long as the application it started (it does so outside a
// full desktop): a start that has not failed within two seconds has succeeded.
const char* const WatchedOpener =
    "xdg-open \"$1\" >/dev/null 2>&1 & pid=$!; n=0; "
    "while kill -0 $pid 2>/dev/null; do n=$((n+1)); [ $n -gt 20 ] && exit 0; sleep 0.1; done; "
    "wait $pid";

bool DesktopOpens(const QString& target)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    QProcess opener;
    opener.setStandardOutputFile(QProcess::nullDevice());
    opener.setStandardErrorFile(QProcess::nullDevice());
    opener.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromLatin1(WatchedOpener),
                                             QStringLiteral("sh"), target});
    if (!opener.waitForFinished(10000)) {
        opener.kill();
        opener.waitForFinished();
        return false;
    }
    return opener.exitStatus() == QProcess::NormalExit && opener.exitCode() == 0;
}

} // namespace

void SetDocumentOpenerHook(std::function<bool(const QString&)> hook)
{
    OpenerHook() = std::move(hook);
}

void OpenWithDesktop(const QUrl& url)
{
    const QString target = url.isLocalFile() && !url.hasFragment() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
    const bool opened = OpenerHook() ? OpenerHook()(target) : DesktopOpens(target);
    if (!opened)
        throw VbError(VbErr::CannotCreateObject,
                      ProgramText("No program can open the file: ", "Kein Programm kann die Datei öffnen: ")
                          + (url.isLocalFile() ? url.toLocalFile() : target));
}

void OpenDocument(const QString& path)
{
    if (!FileExists(path))
        throw VbError(VbErr::FileNotFound);
    OpenWithDesktop(QUrl::fromLocalFile(path));
}
