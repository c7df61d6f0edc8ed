// A screen in memory: an SDL software renderer over a surface of its own, with the canvas that
// draws on it. The picture tool and the frame benchmark run the null platform on it, so frames
// are drawn exactly as the window draws them, with no display. Opens no window.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include "platform/screen.h"
#include "platform/sdl/sdl_canvas.h"

namespace platform {

class SurfaceScreen final : public Screen {
 public:
  // A `width` x `height` surface in `pixelFormat` (an SDL_PIXELFORMAT_*), black at first, and
  // its fonts sized for `dpi`.
  SurfaceScreen(int64_t width, int64_t height, uint32_t pixelFormat, double dpi = 96.0);
  ~SurfaceScreen() override;
  SurfaceScreen(const SurfaceScreen&) = delete;
  SurfaceScreen& operator=(const SurfaceScreen&) = delete;

  // False when the surface or its renderer could not be made: then nothing is drawn.
  bool Ready() const { return renderer_ != nullptr; }
  // The pixels drawn so far, complete after Present.
  const SDL_Surface* Pixels() const { return surface_; }

  SdlCanvas& Drawing() override { return *canvas_; }
  const TextMetrics& Metrics() override { return *canvas_; }
  // Finishes every draw still batched in the renderer; the surface then holds the frame.
  void Present() override;

 private:
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<SdlCanvas> canvas_;  // holds textures of the renderer: released before it
};

}  // namespace platform
