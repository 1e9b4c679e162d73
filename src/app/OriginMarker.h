#pragma once
// The marker beside a working copy: the project database it was copied from and the
// state of that database it holds (when the copy was made, or when it was last saved
// back), so that a save notices what someone else saved since. A marker of an older
// run names only the project database; its state is then not known. The state's look
// (what stat tells) follows the lines an older version reads, which passes over it. A run
// that ends keeping its working copy by the user's choice says so in the marker, so that
// the next start tells a kept copy from one an interrupted run left.
#include "platform/FileState.h"
#include <QString>
#include <optional>

struct Origin {
    QString projectDb;                 // canonical path; "" when there is no marker
    std::optional<FileState> base;     // the project database's state the copy holds
    bool kept = false;                 // kept at the end of a run, not left by an interruption
};

QString OriginMarker(const QString& copy);
// The marker of a working copy; an empty Origin when there is none, or none that can
// be read as a marker (a link, no regular file, more than a marker holds).
Origin ReadOrigin(const QString& copy);
// Writes the marker as a whole (a complete new file, never through a link at its
// name, or the old one stays); error 70 naming it when it cannot be written.
void WriteOrigin(const QString& copy, const Origin& origin);
void RemoveOrigin(const QString& copy);
