#include "Process.h"
#include "FileOps.h"
#include "Locale.h"
#include "VbError.h"
#include <QFileInfo>
#include <QProcess>

void StartDetached(const QString& program)
{
    const QFileInfo info(program);
    if (!info.isFile())
        throw VbError(VbErr::FileNotFound);
    if (!info.isExecutable())
        throw VbError(VbErr::PermissionDenied,
                      ProgramText("The program is not executable: ", "Das Programm ist nicht ausführbar: ") + program);
    if (!QProcess::startDetached(program, {}, ParentFolder(program)))
        throw VbError(VbErr::FileNotFound,
                      ProgramText("The program cannot be started: ", "Das Programm kann nicht gestartet werden: ") + program);
}
