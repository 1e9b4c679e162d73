#pragma once
// The screenshot of the print-screen key: a picture of a window's contents as they
// show now, also put on the clipboard; and saving a picture as a Windows bitmap file.
#include <QImage>
#include <QString>

class QWidget;

QImage PrintScreen(QWidget& window);
// Saves the picture as a bitmap file. A file of that name is replaced only by a
// complete new one. A folder that does not exist is error 76; a file that cannot be
// written is error 75.
void SaveBitmap(const QImage& image, const QString& path);
