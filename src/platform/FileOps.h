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

// The path as the system takes it. A path with a NUL in it, which the system would cut
// short there and so take for another file, is error 52; a test for a file or folder
// finds none there.
QByteArray NativePath(const QString& path);

bool FileExists(const QString& path);
bool FolderExists(const QString& path);
// Creates the folder when it does not exist (its parent must exist).
void CreateFolder(const QString& path);
// Size of a file in bytes.
std::uintmax_t FileLen(const QString& path);
// Deletes a file (a missing file is error 53).
void DeleteFile(const QString& path);
// Renames a file; the target must not exist.
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
QString PartialName(const QString& target);
// Flushes a file (or a folder's entries) to the disk; error 70 when it cannot.
void SyncFile(const QString& path);
// Puts a complete partial file in place of the target in one step, synced and with
// the target's permissions; on failure the target stays as it was.
void PutInPlace(const QString& partial, const QString& target);
// Removes what interrupted writes to target left beside it: files named as
// PartialName names them (and their journals) and not changed for at least
// minimumAge; never another file.
void RemoveLeftOverPartials(const QString& target, std::chrono::seconds minimumAge = {});
// The program's words for a failed write by its system error (errno).
QString WriteFailureText(int systemError);
