#pragma once
// A report that comes from outside every command (the desktop's opener failing long
// after the command that started it) is told only when no command runs: inside a
// command's yield, or while a command's modal dialog is open, its box would hold that
// command's transaction and the working copy's lock until it is answered.
#include <functional>

// Runs tell at once when no command runs, otherwise from the event loop as soon as none
// does. Reports are told in the order they came, one at a time.
void TellWhenNoCommandRuns(std::function<void()> tell);
// How many reports wait.
int ReportsWaiting();
