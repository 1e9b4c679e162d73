#pragma once
// File and folder work of the main window (the scripting runtime's file-system
// object on the original platform), on std::filesystem. Failures are runtime
// errors with the runtime's numbers: 53 file not found, 70 permission denied,
// 76 path not found.
#include <QString>
#include <cstdint>

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
