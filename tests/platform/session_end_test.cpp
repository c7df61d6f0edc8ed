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

}  // namespace
