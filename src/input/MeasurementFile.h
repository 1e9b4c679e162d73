#pragma once
// Measurement data files as the import reads them: single-byte text in the ANSI code
// page (Windows-1252), as the measuring devices write it, a line ending at a carriage
// return, a carriage return and line feed, or a line feed alone.
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

// The lines of a file's bytes. A final line end adds no empty line.
std::vector<QString> MeasurementLines(QByteArrayView bytes);

// The lines of the file at path, read whole. Only a regular file is read: anything else
// (a folder, a named pipe, a device) is error 75 at once, never waited on. A missing
// file is error 53 (76 when its folder is missing too), one without permission error 70,
// one that cannot be read otherwise error 75. A file of more than maxBytes is error 7
// before it is read.
std::vector<QString> ReadMeasurementFile(const QString& path, int64_t maxBytes);
