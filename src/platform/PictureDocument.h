#pragma once
// A new word-processor document of pictures: an OpenDocument text that holds, for
// each picture, its name in a paragraph and the picture, at the size its resolution
// gives it, in the next. It is written into a new file in the temporary folder,
// which the user saves from the word processor as the document of his choice.
#include <QImage>
#include <QString>
#include <vector>

struct NamedPicture {
    QString name;
    QImage image;
};

// The document's path; a document that cannot be written is error 75.
QString WritePictureDocument(const QString& baseName, const std::vector<NamedPicture>& pictures);
