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
    // The boxes are titled title, name projekt and speak the language sprache. The box
    // of a lock that cannot be had ends with withoutLock: how the write goes on without
    // it, and what may go unnoticed then. The question of a long wait says after its
    // "No: " what giving the write up means (giveUp).
    SavesLock(DialogService& dlg, int sprache, QString projekt, QString title, QString withoutLock, QString giveUp);

    // Takes the lock of the saves of the project database target into lock, waiting
    // while another write holds it: windows repaint meanwhile under the busy pointer,
    // and user input waits. After a few seconds a box says that another save is under
    // way and asks whether to wait on; it closes itself once the lock is taken, and asks
    // again a few seconds after the user chose to wait. False when the write is given up:
    // by the user, or by an end from outside (OutsideUnloadRequested). Where the lock
    // cannot be had, lock stays empty and the box says so (the first time).
    bool Take(std::optional<ReplacementLock>& lock, const QString& target);

private:
    // The question whether to wait on for lock; taken tells whether the box closed
    // itself on taking it. True when the user waits on.
    bool WaitOn(ReplacementLock& lock, bool& taken);
    QString T(const char* english, const char* german) const;

    DialogService& dlg_;
    int sprache_;
    QString projekt_;
    QString title_;
    QString withoutLock_;
    QString giveUp_;
    bool told_ = false;
};
