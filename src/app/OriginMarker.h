#pragma once
// The marker beside a working copy: the project database it was copied from and the
// state of that database it holds (when the copy was made, or when it was last saved
// back), so that a save notices what someone else saved since. A marker of an older
// run names only the project database; its state is then not known. The state's look
// (what stat tells) follows the lines an older version reads, which passes over it.
#include "platform/FileState.h"
#include <QString>
#include <optional>

struct Origin {
    QString projectDb;                 // canonical path; "" when there is no marker
    std::optional<FileState> base;     // the project database's state the copy holds
};

QString OriginMarker(const QString& copy);
// The marker of a working copy; an empty Origin when there is none.
Origin ReadOrigin(const QString& copy);
// Writes the marker as a whole (a complete new file or the old one); error 70 when it
// cannot be written.
void WriteOrigin(const QString& copy, const Origin& origin);
void RemoveOrigin(const QString& copy);
