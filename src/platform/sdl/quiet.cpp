// SDL's log and stderr, silenced where the libraries below would otherwise speak.
#include "platform/sdl/quiet.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace platform {
namespace {

void DiscardLog(void*, int, SDL_LogPriority, const char*) {}

}  // namespace

void SilenceSdlLog() { SDL_LogSetOutputFunction(DiscardLog, nullptr); }

QuietStderr::QuietStderr() {
  std::fflush(stderr);
  saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
  if (null >= 0) close(null);
}

QuietStderr::~QuietStderr() {
  if (saved_ < 0) return;
  std::fflush(stderr);
  dup2(saved_, STDERR_FILENO);
  close(saved_);
}

}  // namespace platform
