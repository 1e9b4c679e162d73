#pragma once
// The runtime's codes for mouse and keyboard events: buttons 1 left, 2 right,
// 4 middle; shift state 1 Shift, 2 Ctrl, 4 Alt; and the character code a key types
// (KeyAscii): printable characters by their code, Enter 13, Backspace 8, Escape 27,
// Ctrl with a letter 1 to 26; and the key's own code (KeyCode).
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

int MouseButtonCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);
// 0 when the key types no character (arrows, Delete, function keys).
int KeyAscii(const QKeyEvent& event);
// Letters and digits by their ASCII codes, Esc 27, Page Up 33, Page Down 34, F1 to
// F12 112 to 123; 0 for other keys.
int KeyCode(const QKeyEvent& event);

// The KeyPress event of a control: calls f with the character code of every key
// typed into the widget before the widget handles it. The hook lives as long as
// the widget.
void OnKeyPress(QWidget* widget, std::function<void(int)> f);
