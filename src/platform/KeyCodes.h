#pragma once
// Key events in the runtime's terms: KeyCode (letters and digits by their ASCII codes,
// Esc 27, Page Up 33, Page Down 34, F1 to F12 112 to 123; 0 for other keys) and the
// Shift word (1 Shift, 2 Ctrl, 4 Alt, added).
#include <QKeyEvent>

int VbKeyCode(const QKeyEvent& event);
int VbShift(const QKeyEvent& event);
