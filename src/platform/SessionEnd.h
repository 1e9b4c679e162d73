#pragma once
// Turns the ends that the program does not choose itself into calls of one
// handler with the runtime's unload mode: 2 when the desktop session ends (log-off,
// shutdown, hang-up of the terminal: SIGHUP), 3 when the program is told to stop
// from outside (SIGTERM, SIGINT; the task list on the original platform).
// The handler runs on the GUI thread from the event loop, never inside a signal.
#include <functional>

namespace UnloadMode {
constexpr int UserClose = 0;    // the user closed the window
constexpr int Code = 1;         // the program's own unload (menu commands)
constexpr int SessionEnd = 2;   // the desktop session ends
constexpr int TaskKill = 3;     // stopped from outside
}

// Installs the handler (once per process; a second call replaces the handler).
void InstallSessionEndHandler(std::function<void(int mode)> handler);
