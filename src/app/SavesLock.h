#pragma once
// The lock of a project's saves (beside its database), as every write into the project
// database takes it that another user's save could cross: a save from its last check
// to its rename, an export while it writes a record. Where the lock cannot be had, the
// write says so, once, and goes on without it.
#include "platform/ReplacementLock.h"
#include <QString>
#include <optional>

class DialogService;

class SavesLock {
public:
    // The box of a lock that cannot be had is titled title, names projekt, speaks the
    // language sprache and ends with withoutLock: how the write goes on without it, and
    // what may go unnoticed then.
    SavesLock(DialogService& dlg, int sprache, QString projekt, QString title, QString withoutLock);

    // Takes the lock of the saves of the project database target into lock, waiting
    // while another write holds it: windows repaint meanwhile under the busy pointer,
    // and user input waits. False when an end from outside came meanwhile. Where the
    // lock cannot be had, lock stays empty and the box says so (the first time).
    bool Take(std::optional<ReplacementLock>& lock, const QString& target);

private:
    DialogService& dlg_;
    int sprache_;
    QString projekt_;
    QString title_;
    QString withoutLock_;
    bool told_ = false;
};
