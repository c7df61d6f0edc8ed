// The game window's record, shared by the window code and the modal dialogs that stand in front
// of it. Only src/platform/sdl sees it; everyone else holds an opaque Window*.
#pragma once

#include <SDL.h>

#include <functional>
#include <memory>

#include "platform/sdl/resize_gate.h"
#include "platform/sdl/sdl_canvas.h"
#include "platform/sdl/window.h"
#include "platform/system.h"

namespace platform {

struct Window {
  SDL_Window* sdl = nullptr;
  SDL_Renderer* renderer = nullptr;
  std::unique_ptr<SdlCanvas> canvas;
  double fontDpi = 96;
  double frameSeconds = 1.0 / 60;  // the display's refresh interval
  double nextFrame = 0;            // when the next frame may be presented, seconds
  bool redraw = true;
  ResizeGate resize;              // the size the game sees lags a drag
  std::function<void()> repaint;  // shows the last frame again while a dialog blocks the loop
  InputState keys;                // key events drained since the last poll (only keys/keyCount)
  bool fullScreen = false;
  bool fullScreenByHand = false;  // no window manager: borderless at the display's bounds
  int windowedX = 0, windowedY = 0, windowedW = 0, windowedH = 0;  // to come back to
};

// Releases the hidden window the last dialog leaves behind; before video shuts down.
void CloseDialogWindows();

}  // namespace platform
