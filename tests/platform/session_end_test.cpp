// A logout's SIGTERM, a terminal's SIGINT and SIGHUP become one quit request that wakes an event
// wait of any length, and the process lives on to shut down the orderly way. Each case runs in a
// child process of its own, since blocking the signals lasts for the life of a process.
#include "platform/sdl/session_end.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// After GoogleTest: Xlib's macros (None, Bool) would clash with its names.
#include <X11/Xlib.h>

namespace {

// Runs `body` in a child process; its result is the child's exit code, or -1 when a signal ended
// it.
int InChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits for the next event with no deadline that matters; 1 unless it is a quit.
int WaitForQuit() {
  SDL_Event e;
  while (SDL_WaitEventTimeout(&e, 30000)) {
    if (e.type == SDL_QUIT) return 0;
  }
  return 1;
}

TEST(SessionSignals, EachBecomesAQuitThatWakesTheWaitingLoopAndNoneEndsTheProcess) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    EXPECT_EQ(InChild([signal] {
                platform::BlockSessionSignals();
                platform::WatchSessionSignals();
                if (SDL_Init(SDL_INIT_EVENTS) != 0) return 2;
                platform::SetQuitWakeups(true);
                if (platform::QuitRequested()) return 3;
                kill(getpid(), signal);
                const int woken = WaitForQuit();
                if (!platform::QuitRequested()) return 4;
                // A logout may follow its SIGTERM with a SIGHUP: still one orderly shutdown.
                kill(getpid(), SIGHUP);
                kill(getpid(), SIGTERM);
                platform::SetQuitWakeups(false);
                SDL_Quit();
                return woken;
              }),
              0);
  }
}

// Before SDL's events start, or once they have ended, nothing is pushed; the request stands.
TEST(SessionSignals, ASignalBeforeTheEventLoopStartsIsStillSeen) {
  EXPECT_EQ(InChild([] {
              platform::BlockSessionSignals();
              platform::WatchSessionSignals();
              kill(getpid(), SIGTERM);
              for (int i = 0; i < 3000 && !platform::QuitRequested(); ++i) usleep(10000);
              return platform::QuitRequested() ? 0 : 1;
            }),
            0);
}

// SDL wakes its waiting loop with a message to its newest window over a second connection; a
// dialog window destroyed before the server takes it must not end the game. Needs a display:
// tests/e2e/x_errors.sh runs it under Xvfb.
TEST(DisplayErrors, AMessageToAWindowAlreadyGoneDoesNotEndTheProcess) {
  Display* probe = XOpenDisplay(nullptr);
  if (probe == nullptr) GTEST_SKIP() << "no X display";
  XCloseDisplay(probe);
  EXPECT_EQ(InChild([] {
              Display* owner = XOpenDisplay(nullptr);
              Display* sender = XOpenDisplay(nullptr);
              if (owner == nullptr || sender == nullptr) return 2;
              platform::CatchLostDisplay();
              const Window gone =
                  XCreateSimpleWindow(owner, DefaultRootWindow(owner), 0, 0, 10, 10, 0, 0, 0);
              XDestroyWindow(owner, gone);
              XSync(owner, False);
              XEvent message{};
              message.type = ClientMessage;
              message.xclient.window = gone;
              message.xclient.format = 32;
              XSendEvent(sender, gone, False, NoEventMask, &message);
              XSync(sender, False);  // the server's BadWindow arrives here
              return 0;
            }),
            0);
}

}  // namespace
