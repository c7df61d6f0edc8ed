// SurfaceScreen: a software renderer on an in-memory surface, and the SdlCanvas over it.
#include "platform/sdl/surface_screen.h"

namespace platform {

SurfaceScreen::SurfaceScreen(int64_t width, int64_t height, uint32_t pixelFormat, double dpi) {
  surface_ = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(width), static_cast<int>(height),
                                            32, pixelFormat);
  renderer_ = surface_ != nullptr ? SDL_CreateSoftwareRenderer(surface_) : nullptr;
  // Without a renderer the canvas still measures text, and draws nothing.
  canvas_ = std::make_unique<SdlCanvas>(renderer_, dpi);
  if (renderer_ != nullptr) canvas_->UseScreenSurface(surface_);
}

SurfaceScreen::~SurfaceScreen() {
  canvas_.reset();
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (surface_ != nullptr) SDL_FreeSurface(surface_);
}

void SurfaceScreen::Present() {
  if (renderer_ != nullptr) SDL_RenderFlush(renderer_);
}

}  // namespace platform
