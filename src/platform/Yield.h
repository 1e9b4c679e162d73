#pragma once
#include <qnamespace.h>
#include <functional>

// Hands control to the message loop once. Windows repaint; user input is held back,
// so that no command can re-enter one that is half done, and an unload asked for
// from outside waits until the command has returned to the event loop. Yields in quick
// succession poll the message loop at most every few milliseconds; the others return
// at once.
void DoEvents();
// Blocks the thread for a fixed pause (the runtime's Sleep), repainting windows first.
void Sleep(int milliseconds);
// For tests: called on every DoEvents (nullptr to remove).
void SetDoEventsHook(std::function<void()> hook);

// The screen's mouse pointer: 0 default (no override cursor), 1 arrow, 11 hourglass
// (one override cursor, however often it is set); other values as MousePointerShape.
// Message and input boxes show the arrow while open and restore the pointer after.
void SetMousePointer(int pointer);
int MousePointer();
// The cursor shape of a pointer value of the runtime: 0 default and 1 arrow, 2 cross,
// 3 I-beam, 4 icon (an arrow here), 5 to 9 and 15 sizing, 10 up arrow, 11 hourglass,
// 12 no drop, 13 arrow and hourglass, 14 arrow and question mark; others are error 380.
Qt::CursorShape MousePointerShape(int pointer);
