#pragma once
// Measurement data files as the import reads them: single-byte text in the ANSI code
// page (Windows-1252), as the measuring devices write it, a line ending at a carriage
// return, a carriage return and line feed, or a line feed alone. The file is read in
// pieces and cut into lines as it comes, so that no more than its lines is held.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

// A file's lines are held in memory as text: two bytes a character and some 60 bytes a
// line besides. A bound on the bytes alone would not bound that (a file of empty lines
// needs 24 bytes for each of its bytes): the lines are bounded too, to four for each of
// the 1,048,576 rows a grid holds.
constexpr int64_t MaxMeasurementLines = 4'194'304;

// Cuts bytes into lines as they come, in pieces of any size (a line end split between
// two pieces included); more than maxLines lines are error 7.
class MeasurementLineCutter {
public:
    explicit MeasurementLineCutter(int64_t maxLines = MaxMeasurementLines) : maxLines_(maxLines) {}
    void feed(QByteArrayView bytes);
    // The lines; a final line end adds no empty line.
    std::vector<QString> finish();

private:
    void line(QByteArrayView bytes);

    int64_t maxLines_;
    std::vector<QString> lines_;
    QByteArray pending_;      // the start of a line not yet ended
    bool afterCr_ = false;    // the last byte was a carriage return: a line feed next is part of it
};

// The lines of a file's bytes.
std::vector<QString> MeasurementLines(QByteArrayView bytes);

// The lines of the file at path, read whole. Only a regular file is read: anything else
// (a folder, a named pipe, a device) is error 75 at once, never waited on. A missing
// file is error 53 (76 when its folder is missing too), one without permission error 70,
// one that cannot be read otherwise error 75. A file of more than maxBytes is error 7
// before it is read, one of more than maxLines lines error 7 as soon as they are seen;
// memory that runs out while it is read is error 7 as well.
std::vector<QString> ReadMeasurementFile(const QString& path, int64_t maxBytes,
                                         int64_t maxLines = MaxMeasurementLines);
