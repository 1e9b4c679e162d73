#include "Process.h"
#include "FileOps.h"
#include "VbError.h"
#include <QProcess>

void StartDetached(const QString& program)
{
    if (!FileExists(program) || !QProcess::startDetached(program, {}, ParentFolder(program)))
        throw VbError(VbErr::FileNotFound);
}
