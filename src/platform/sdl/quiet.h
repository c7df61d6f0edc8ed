// Keeping the libraries under SDL quiet: the game prints nothing, but SDL logs, and the display
// and sound libraries it loads print straight to stderr while they look for a device.
#pragma once

namespace platform {

// Sends SDL's own log nowhere, for the rest of the run.
void SilenceSdlLog();

// For its lifetime stderr is /dev/null; the game prints nothing of its own that could be lost.
class QuietStderr {
 public:
  QuietStderr();
  ~QuietStderr();
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace platform
