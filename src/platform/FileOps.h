#pragma once
// File and folder work of the main window (the scripting runtime's file-system
// object on the original platform), on std::filesystem. Failures are runtime
// errors with the runtime's numbers: 53 file not found, 70 permission denied,
// 76 path not found.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <sys/types.h>

// The path as the system takes it. A path with a NUL in it, which the system would cut
// short there and so take for another file, is error 52; a test for a file or folder
// finds none there.
QByteArray NativePath(const QString& path);

// Whether a name holds control characters (a tab, a line break, NUL): fit for no file
// name a user is shown or one the program makes.
bool HasControlCharacters(const QString& name);

bool FileExists(const QString& path);
bool FolderExists(const QString& path);
// Creates the folder when it does not exist (its parent must exist). A refusal is
// error 70, a missing parent error 76, each naming the folder.
void CreateFolder(const QString& path);
// Who besides its owner may use a folder that the program makes for all users of the
// suite: in Sharing::Reading the others may only read and pass it (the program folder);
// in Sharing::EachOwnEntries they may add entries but remove only their own (as in a
// folder of per-user folders).
enum class Sharing { Reading, AllEntries, EachOwnEntries };
// In a folder of the user's own that others may write, lets each of them remove or
// rename only his own entries (the sticky bit), so that nobody takes another's folder
// away or puts his own in its place; another user's folder, or one nobody else may
// write, stays as it is. False when others may still rename entries of another there
// (another user's folder without the bit). Error 70 naming the folder when its mode
// cannot be set.
bool KeepEntriesToTheirOwners(const QString& folder);
// Creates a folder for all users of the suite (errors as CreateFolder): it gets what
// its parent grants group and others (reading, writing, passing, the set-group-ID bit;
// in Sharing::Reading no writing) and the parent's group where the user may give it. A
// folder of the user's own that grants less is widened so; another user's is left as it
// is.
void CreateSharedFolder(const QString& path, Sharing sharing);
// A folder held from the moment it was checked, by a handle on it: its path may later
// show another folder (one above it renamed, another put in its place), which must never
// be taken for it.
class HeldFolder {
public:
    HeldFolder(QString path, int handle) : path_(std::move(path)), handle_(handle) {}
    ~HeldFolder();
    HeldFolder(HeldFolder&& other) noexcept : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, -1)) {}
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    HeldFolder& operator=(HeldFolder&&) = delete;

    const QString& path() const { return path_; }
    // Whether its path still shows the held folder.
    bool StillThere() const;
    // Where the held folder lies now, as the system names it; empty when it was removed.
    QString WhereNow() const;
    // Error 70 naming the path when it shows another folder now (or none), saying where
    // the held one lies now; or when the held folder is no longer the user's alone.
    void Check() const;

private:
    QString path_;
    int handle_ = -1;
};
// Creates a folder of the user's own (errors as CreateFolder) and holds it: whatever the
// folder above grants and the file-creation mask leaves open, nobody else may write in
// it. One that exists is taken only as such a folder: no link, the user's own, and
// written by nobody else; anything else may hold what another user put there and is
// refused with error 70, naming the folder, what is wrong and, when the user may not
// remove it himself, who may; nothing in it changed.
HeldFolder CreateOwnFolder(const QString& path);
// Writes a whole file in a folder of the user's own without following a link at its
// name: the content goes into a new file beside it (never one that exists, nor a link's
// file), is synced and takes the name in one step. Error 70 names the file.
void WriteOwnFile(const QString& path, const QByteArray& content);
// The content of a file, read without following a link at its name and only up to
// maxBytes: nothing when there is no such file, it is a link or no regular file, it
// cannot be read or it holds more.
std::optional<QByteArray> ReadOwnFile(const QString& path, qint64 maxBytes);
// What the others may do with a file made for all users of the suite, as far as its
// folder grants them: read and write it (a database), or read it and, where its owner
// may, run it (a file of the program folder).
enum class FileSharing { ReadWrite, ReadRun };
// Gives a file those permissions its folder grants group and others, and the folder's
// group where the user may give it.
void ShareLikeFolder(const QString& file, FileSharing sharing);
// Whether the effective user may write an existing file or folder, read it, or run it.
bool MayWrite(const QString& path);
bool MayRead(const QString& path);
bool MayRun(const QString& path);
// The program's error number for a failed file operation by its system error (errno):
// 70 when it was refused, missing (53 for a file, 76 for a folder) when the file or a
// folder on its way is not there, 75 for any other failure.
int32_t FileErrorNumber(int systemError, int32_t missing);
// Makes a new file at path, open for reading and writing: never one that exists, nor
// through a link planted at its name. -1, with the cause in errno, when it cannot.
int CreateNewFile(const QString& path, mode_t mode);
// Opens the file at path for reading and writing, or makes it when there is none: never
// through a link at its name, nor waiting on a pipe there. A file made here bears mode
// and, where the user may give it, group from the moment it has its name. -1, with the
// cause in errno (ENXIO for an entry that is no plain file), when it cannot.
int OpenOrMakeFile(const QString& path, mode_t mode, std::optional<gid_t> group = std::nullopt);
// An advisory lock (flock) taken on an open file without waiting: Failed leaves the
// cause in errno.
enum class LockAttempt { Taken, HeldElsewhere, Failed };
LockAttempt TryExclusiveLock(int fd);
// Size of a file in bytes.
std::uintmax_t FileLen(const QString& path);
// Deletes a file (a missing file is error 53).
void DeleteFile(const QString& path);
// Renames a file, or a link itself; the target must not exist, not even as a link.
// Errors name the file concerned.
void MoveFile(const QString& from, const QString& to);
// The folder that holds a file or folder, without a trailing separator.
QString ParentFolder(const QString& path);
// The root of the mounted volume that holds a path: what the drive was on the
// original platform. The root folder where no volume is found for the path.
QString DriveName(const QString& path);
// The roots of the mounted volumes that are ready, in order.
QStringList Drives();
// The name of a file or folder without the part from its last point on.
QString BaseName(const QString& path);
// The folders inside a folder, ordered by name without regard to case, hidden ones
// left out; a folder that cannot be read has none.
QStringList SubFolders(const QString& path);
// Whether two paths name the same existing file, links followed.
bool SameFile(const QString& a, const QString& b);

// A file the user cares about is replaced only by a complete copy: written under a
// name beside it that no other writer (of this process or another) uses, synced, and
// renamed over it.
//
// The file a replacement of target writes: target itself or, when it is a symbolic
// link, the file the link names (followed to its end as the system follows it), so that
// the link stays; named from the folder it really lies in, links among the folders
// above resolved.
QString LinkedFile(const QString& target);
// The same, when the user may replace it: an existing file the user may not write is
// refused with error 70 naming it.
QString FileToReplace(const QString& target);
// The temporary name beside the file to replace.
QString PartialName(const QString& target);
// Makes the temporary file beside the file to replace (as FileToReplace finds it), empty
// and the user's alone, without following a link planted under its name. A failure names
// the file to replace and its cause: error 70 when refused, 76 when its folder is
// missing, 75 otherwise.
QString NewPartial(const QString& target);
// Flushes a file (or a folder's entries) to the disk; error 70 when it cannot.
void SyncFile(const QString& path);
// For tests: called with every file or folder flushed to the disk (nullptr to remove).
void SetSyncHook(std::function<void(const QString& path)> hook);
// Puts a complete partial file in place of the file to replace in one step, synced and
// with that file's permissions and group; on failure it stays as it was.
void PutInPlace(const QString& partial, const QString& target);
// How long a partial file may belong to a write still in progress: in a folder that
// others write too (a shared project folder, any folder printed into), a younger one
// may be another run's.
inline constexpr std::chrono::seconds WriteInProgress = std::chrono::hours(1);
// Removes what interrupted writes to target left beside the file to replace: entries
// named as PartialName names them (and their journals) whose own age (a link's, not
// its target's) is at least minimumAge; never another file.
void RemoveLeftOverPartials(const QString& target, std::chrono::seconds minimumAge = WriteInProgress);
// The program's words for a failed write by its system error (errno).
QString WriteFailureText(int systemError);
