#pragma once
#include <functional>

// Hands control to the message loop once. Windows repaint; user input is held back,
// so that no command can re-enter one that is half done.
void DoEvents();
// Blocks the thread for a fixed pause (the runtime's Sleep), repainting windows first.
void Sleep(int milliseconds);
// For tests: called on every DoEvents (nullptr to remove).
void SetDoEventsHook(std::function<void()> hook);

// The screen's mouse pointer: 0 default, 1 arrow, 11 hourglass.
void SetMousePointer(int pointer);
int MousePointer();
