// How a desktop session ends the game: a logout's SIGTERM, a terminal's SIGINT or SIGHUP become a
// quit request that the frame loop and the dialogs see, and a display that goes away saves the
// game before the process ends. The SDL side of the platform seam only.
#pragma once

#include <functional>

namespace platform {

// First thing in the process, before any thread starts, so every thread inherits it: SIGTERM,
// SIGINT and SIGHUP are blocked in all of them and left to the watcher, and SIGPIPE is ignored,
// so a display that goes away mid-write reaches the lost-display handler.
void BlockSessionSignals();

// Starts, once per process, the thread that takes those signals. Each one does RequestQuit; no
// file is touched there. Should the thread not start, the signals end the process as before.
void WatchSessionSignals();

// What a signal does: raises the quit request and, while wakeups are on, pushes SDL_QUIT, which
// also wakes an event wait of any length. Any thread may call it.
void RequestQuit();
// True once a quit was requested by a signal; never lowered in the game.
bool QuitRequested();
// Tests only: lowers the request again.
void ClearQuitRequest();

// On from SDL's event start to just before its end: only meanwhile may SDL_QUIT be pushed.
void SetQuitWakeups(bool on);

// Installs the display's I/O error handler, and an error handler that lets a wake-up message sent
// to a window already destroyed pass; called on the main thread once video has started. The
// handler runs `keep` (SetLostDisplayHook) on the main thread and ends the process with 0 when
// the game was kept, 1 when not; any other thread that finds the display gone waits for the main
// thread, the only one that may read the game, to find it too.
void CatchLostDisplay();
void SetLostDisplayHook(std::function<bool()> keep);

}  // namespace platform
