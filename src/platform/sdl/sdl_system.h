// The game's outside world on a Linux desktop: SDL2 for the window, screen, input and dialogs,
// getrandom for the secure source, POSIX for the files, SDL2_mixer for sound.
#pragma once

#include <memory>

#include "platform/system.h"

namespace platform {

// Starts SDL's event and timer facilities; ends them (and the text layer) when destroyed.
std::unique_ptr<System> MakeSdlSystem();

}  // namespace platform
