#pragma once
// Characters in the "Symbol" face and in the ANSI code page (Windows-1252), mapped
// to Unicode. The Symbol face is not installed here: its text is drawn in a face
// with Greek letters after this mapping, so "a" in Symbol shows as alpha.
#include <QByteArrayView>
#include <QString>

// True for the face name "Symbol" (any case).
bool IsSymbolFace(const QString& faceName);
// Maps each character (as its ANSI byte) through the Symbol face's encoding.
QString SymbolToUnicode(const QString& s);
// The character with the given ANSI code; a code outside 0..255 is error 5.
QString AnsiChar(int code);
// Bytes in the ANSI code page as text (the single-byte text of files from Windows).
QString AnsiText(QByteArrayView bytes);
