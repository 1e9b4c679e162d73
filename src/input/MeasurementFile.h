#pragma once
// Measurement data files as the import reads them: single-byte text in the ANSI code
// page (Windows-1252), as the measuring devices write it, a line ending at a carriage
// return, a carriage return and line feed, or a line feed alone.
#include <QByteArrayView>
#include <QString>
#include <vector>

// The lines of a file's bytes. A final line end adds no empty line.
std::vector<QString> MeasurementLines(QByteArrayView bytes);

// The lines of the file at path, read whole. A missing file is error 53 (76 when its
// folder is missing too); one that cannot be opened or read is error 70 (no permission)
// or 75.
std::vector<QString> ReadMeasurementFile(const QString& path);
