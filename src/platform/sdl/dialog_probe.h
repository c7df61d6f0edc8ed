// A test-only view into the dialogs' event loops: tests feed them scripted events and take
// pictures of them without a display. The game never sets it.
#pragma once

#include <SDL.h>

#include <functional>

namespace platform {

struct DialogFrame {
  SDL_Window* window = nullptr;      // the dialog's own window
  SDL_Renderer* renderer = nullptr;  // its picture, drawn and not yet presented
  bool drawn = false;                // the picture was drawn again on this pass
};

// Called on every pass of a dialog's loop, before it waits for events. While a probe is set,
// dialogs also open on video drivers that show nothing (offscreen, dummy). Empty: no probe.
void SetDialogProbe(std::function<void(const DialogFrame&)> probe);

}  // namespace platform
