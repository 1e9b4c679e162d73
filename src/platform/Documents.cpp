#include "Documents.h"
#include "FileOps.h"
#include "VbError.h"
#include <QDesktopServices>
#include <QUrl>

namespace {
std::function<bool(const QString&)>& OpenerHook()
{
    static std::function<bool(const QString&)> hook;
    return hook;
}
} // namespace

void SetDocumentOpenerHook(std::function<bool(const QString&)> hook)
{
    OpenerHook() = std::move(hook);
}

void OpenDocument(const QString& path)
{
    if (!FileExists(path))
        throw VbError(VbErr::FileNotFound);
    const bool accepted = OpenerHook() ? OpenerHook()(path)
                                       : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!accepted)
        throw VbError(VbErr::CannotCreateObject);
}
