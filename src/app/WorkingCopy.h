#pragma once
// The per-user working copy of the project database. The run works only on it: it is
// set up from the project database at start (or a copy left by an interrupted run is
// taken over), copied back by a save, compacted in place, and removed at the end of
// the run unless it holds changes that could not be saved. Beside it, a marker names
// the project database it came from, so that it never reaches another project, and a
// lock keeps a second run of the same user away from it. The database itself is
// replaced only by a complete, checked copy; what a cut-short copy leaves is removed.
//
// Several users (or one user on several machines) work on one project, each with a
// working copy of their own. The marker keeps the state of the project database that
// the copy came from or was last saved as: a save that would replace what someone else
// saved since asks first, and an end that would drop work that someone else's save has
// since replaced in the project offers to keep the working copy. Saves of one project
// take turns: each holds the lock beside the project database (SavesLock) from its last
// check to its rename.
#include "OriginMarker.h"
#include "platform/FileOps.h"
#include "platform/FileState.h"
#include "platform/InstanceLock.h"
#include "platform/SessionEnd.h"
#include <QString>
#include <cstdint>
#include <optional>

struct Context;
class Guard;
class VbError;

// The compaction file beside a working copy: its final ".mdb" becomes "TEMP.mdb".
QString KompressionsDatei(const QString& arbeitskopie);
// A file size in MB (10^6 bytes) rounded to one decimal, halves to even.
float GroesseMB(std::uintmax_t bytes);
// How much a compaction saved, in percent of the size before, one decimal.
float ProzentKomprimiert(float before, float after);
// The user as the admin row and the working copies' folders name him: the login name
// in upper case, "UNBEK." when there is none.
QString AktuellerBenutzer();

class WorkingCopy {
public:
    // The working copy's connection is the context's cnnX; its boxes speak the
    // context's language.
    explicit WorkingCopy(Context& ctx) : ctx_(ctx) {}
    WorkingCopy(const WorkingCopy&) = delete;
    WorkingCopy& operator=(const WorkingCopy&) = delete;

    // The working copy: program folder's parent/BENUTZER/<user>/TREMOL.mdb; creates
    // its folders when missing. The user's own folder must be his alone (no link, his,
    // written by nobody else): otherwise error 70 names it and what is wrong. Once
    // checked, the folder is held: where its path shows another folder later (one above
    // renamed, another put in its place), error 70 says so and where the held one lies,
    // and nothing is read or written there.
    QString Path() const;
    // Error 70, as Path() says it, when the working copy's folder is no longer the one
    // held or no longer the user's alone.
    void CheckFolder() const { OwnFolder().Check(); }
    // Whether the working copy's folder is still the one held (or none is held yet).
    bool FolderHere() const { return !own_ || own_->StillThere(); }
    // How an end that could not save leaves the working copy, for the box that offers it:
    // kept and offered at the next start, or, when its folder is no longer where it was,
    // where it lies now.
    QString KeptAtEnd() const;
    // The project database it is copied from and saved back to.
    QString ProjectDatabase() const;

    // The start-up's step: takes the user's lock, removes what cut-short copies left,
    // sets the working copy up (a left-over one is offered, or kept aside when it is
    // no project database or another project's), writes the origin marker and opens
    // cnnX on it. The result is why the program cannot run, when it cannot (whatever
    // failed, and where): the start-up is then to end at once, and a fresh copy it made
    // is removed again. The program never runs without an open working copy.
    std::optional<QString> SetUp();

    // The working copy may hold changes the project database lacks.
    bool Changed() const { return changed_; }
    void MarkChanged() { changed_ = true; }

    enum class SaveResult {
        Saved,       // the project database holds the working copy; the flag is cleared
        Failed,      // the error box told why; everything is as it was
        OtherKept,   // the project was left to someone else's save (kept, or the wait for it given
                     // up): the working copy stays for the next start
    };
    // Copies the working copy over the project database, offering the compaction
    // above 10 MB. When the project database was saved by someone else since the copy
    // was made or last saved, the user chooses between keeping that save and replacing
    // it; a save of it under way elsewhere is waited for first. A wait of more than a few
    // seconds asks whether to go on waiting; giving it up, or an end from outside during
    // the wait, keeps the working copy (OtherKept). Its boxes are titled with title, the
    // compaction's with compactionTitle.
    SaveResult Save(const QString& title, const QString& compactionTitle);
    // Compacts the working copy in place; cnnX stays the same, open object.
    void Compact(const QString& title);

    // The end of the run. A copy kept is left on disk and offered at the next start.
    void KeepForNextStart() { Keep(!OutsideUnloadRequested()); }
    // An end without unsaved changes, at which the user can be asked: when someone else
    // saved the project after this run's own save, the saved work may be gone from it,
    // and the user chooses whether to keep the working copy (a box titled title).
    void EndWithoutChanges(const QString& title);
    // An end that nobody could be asked at keeps the changes for the next start, and
    // the copy of a save that someone else's save has replaced since.
    void EndUnasked()
    {
        if (changed_ || ReplacedSinceOwnSave())
            Keep(false);
    }
    // Whether this run holds the user's lock: only then does it own the working copy
    // (and the admin row's entry); a refused second run leaves both alone.
    bool Owned() const { return lock_.Held(); }
    // Closes cnnX and, when owned and not kept, removes the working copy and its marker.
    void Close(Guard& g);
    // Gives the lock up: the last step of the run.
    void Unlock() { lock_.Release(); }

private:
    QString T(const char* english, const char* german) const;
    // Why the working copy cannot be set up, as the start-up's refusal says it.
    QString CannotSetUp(const VbError& cause) const;
    // The project database's state now, when it differs from what the working copy
    // holds of it (nothing when either is not known).
    std::optional<FileState> SavedElsewhere(const QString& projectDb) const;
    std::optional<FileState> ReplacedSinceOwnSave() const;
    // When and by whom a state was saved, as far as known: ": am … von …".
    QString WhenAndWho(const FileState& state) const;
    // Copies the working copy over the project database unless the user keeps what
    // someone else saved there; false when he keeps it.
    bool CopyBack(const QString& copy, const QString& target, const QString& title);
    // Keeps the working copy for the next start; chosen: by the user, rather than for
    // an end that nobody could be asked at.
    void Keep(bool chosen)
    {
        keep_ = true;
        keptByChoice_ = keptByChoice_ || chosen;
    }
    // Removes what writes cut short (kill -9) left: beside the working copy and its
    // marker (held by this run alone) at once, beside the shared project database once
    // they are too old to be another run's save in progress.
    void RemoveLeftOvers(const QString& copy, const QString& projectDb) const;
    // Whether a working copy left on disk is taken up: it is offered unless it is no
    // project database or another project's, which is set aside instead.
    bool Recovered(const QString& copy, const Origin& origin, const QString& projectDb);
    // The name of the project a marker names: its folder's, when that folder exists and
    // its name holds no control characters; nothing otherwise.
    std::optional<QString> ProjectName(const QString& projectDb) const;
    // Moves a left-over working copy (or a link in its place) aside under a name with
    // label and time, unused and fit for the system (a label too long for it gives way
    // to a fixed word).
    QString MoveAside(const QString& copy, const QString& label) const;
    // The working copy and its size in MB, in one step of g: nothing after the step's
    // box when either cannot be had (a save or compaction has nothing to work on then).
    std::optional<std::pair<QString, float>> PathAndSize(Guard& g) const;
    // After a save that replaced the project: nothing of the working copy is left to
    // keep, and the marker holds the state saved. When it cannot be written, the box
    // says that the save succeeded and what the marker's failure means.
    void Saved(const QString& copy, const QString& title);

    // The user's own folder, made and checked at its first use and held from then on.
    const HeldFolder& OwnFolder() const;

    Context& ctx_;
    mutable std::optional<HeldFolder> own_;
    InstanceLock lock_;
    bool changed_ = false;
    bool keep_ = false;
    bool keptByChoice_ = false;
    // The state of the project database the working copy holds: as copied at start, or
    // as this run last saved it.
    std::optional<FileState> base_;
    bool savedThisRun_ = false;
};
