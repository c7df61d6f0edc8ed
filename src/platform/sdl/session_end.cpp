// Terminating signals into quit requests through one watcher thread, and the Xlib I/O error
// handler that saves the game when the display is gone.
#include "platform/sdl/session_end.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace platform {
namespace {

sigset_t SessionSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

struct QuitState {
  std::atomic<bool> requested{false};
  std::timed_mutex lock;  // held while SDL_QUIT is pushed, so SDL's end cannot overtake a push
  bool wakeups = false;
};

// Never destroyed: the watcher may still wait while the process runs its exit handlers.
QuitState& Quit() {
  static QuitState* state = new QuitState;
  return *state;
}

struct LostDisplay {
  std::function<bool()> keep;
  std::thread::id mainThread;
};

LostDisplay& Lost() {
  static LostDisplay* lost = new LostDisplay;
  return *lost;
}

// Xlib calls this when the connection to the display breaks; returning would end the process
// with nothing saved, so it never returns.
int OnLostDisplay(Display*) {
  LostDisplay& lost = Lost();
  if (std::this_thread::get_id() != lost.mainThread) {
    // Only the main thread may read the game; its next call to the display ends the process.
    for (;;) pause();
  }
  const bool kept = lost.keep ? lost.keep() : true;
  // Nothing of the display can be released any more, and exit handlers would try.
  _exit(kept ? 0 : 1);
}

XErrorHandler& FormerErrorHandler() {
  static XErrorHandler former = nullptr;
  return former;
}

// SDL wakes a waiting event loop by sending a message to its newest window, which may be a
// closed dialog that is destroyed before the server takes the message. The server's BadWindow
// answer to that send is harmless; Xlib's default handler would end the process over it.
int OnXError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  const XErrorHandler former = FormerErrorHandler();
  return former != nullptr ? former(display, error) : 0;
}

}  // namespace

void BlockSessionSignals() {
  const sigset_t set = SessionSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

void WatchSessionSignals() {
  static std::once_flag started;
  std::call_once(started, [] {
    try {
      std::thread([] {
        const sigset_t set = SessionSignals();
        for (;;) {
          int number = 0;
          // A second signal finds the quit already on its way: a logout that sends SIGTERM and
          // then SIGHUP still ends in one orderly shutdown.
          if (sigwait(&set, &number) == 0) RequestQuit();
        }
      }).detach();
    } catch (...) {
      const sigset_t set = SessionSignals();
      pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    }
  });
}

void RequestQuit() {
  QuitState& q = Quit();
  q.requested = true;
  std::lock_guard<std::timed_mutex> hold(q.lock);
  if (!q.wakeups) return;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  quit.quit.timestamp = SDL_GetTicks();
  SDL_PushEvent(&quit);
}

bool QuitRequested() { return Quit().requested; }

void ClearQuitRequest() { Quit().requested = false; }

void SetQuitWakeups(bool on) {
  QuitState& q = Quit();
  // A push that never returns can only be one stuck on a display that is gone; the main thread
  // ends the process on that display soon, so SDL's end need not wait for it.
  const bool held = q.lock.try_lock_for(std::chrono::seconds(2));
  q.wakeups = on;
  if (held) q.lock.unlock();
}

void CatchLostDisplay() {
  Lost().mainThread = std::this_thread::get_id();
  XSetIOErrorHandler(OnLostDisplay);
  const XErrorHandler former = XSetErrorHandler(OnXError);
  if (former != OnXError) FormerErrorHandler() = former;
}

void SetLostDisplayHook(std::function<bool()> keep) { Lost().keep = std::move(keep); }

}  // namespace platform
