#pragma once
// Turns the ends that the program does not choose itself into calls of one
// handler with the runtime's unload mode: 2 when the desktop session ends (log-off,
// shutdown, hang-up of the terminal: SIGHUP), 3 when the program is told to stop
// from outside (SIGTERM, SIGINT; the task list on the original platform).
// The handler runs on the GUI thread from the event loop, never inside a signal,
// and never under a running command, start-up step or modal dialog: such an unload
// waits until they have returned to the event loop. Meanwhile open modal dialogs
// are closed, so that they return at once.
#include <functional>

namespace UnloadMode {
constexpr int UserClose = 0;    // the user closed the window
constexpr int Code = 1;         // the program's own unload (menu commands)
constexpr int SessionEnd = 2;   // the desktop session ends
constexpr int TaskKill = 3;     // stopped from outside
}

// Installs the handler (once per process; a second call replaces the handler and
// drops an unload still waiting).
void InstallSessionEndHandler(std::function<void(int mode)> handler);

// True while an unload asked for from outside waits for the running work. A
// question closed meanwhile was answered by nobody: it must not lose anything.
bool OutsideUnloadRequested();

// True only from the event loop itself: no command that yields, no start-up step and
// no modal dialog below it.
bool NoCommandRuns();

// While one lives, an unload asked for from outside waits. Commands that yield,
// modal dialogs and the start-up hold one.
class OutsideUnloadDeferral {
public:
    OutsideUnloadDeferral();
    ~OutsideUnloadDeferral();
    OutsideUnloadDeferral(const OutsideUnloadDeferral&) = delete;
    OutsideUnloadDeferral& operator=(const OutsideUnloadDeferral&) = delete;
};
