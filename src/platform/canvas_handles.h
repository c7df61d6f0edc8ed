// What a Font and an Image handle hold, shared by the canvases in this folder so each type has
// one definition. Included only by canvas implementations; drawers see the handles as opaque.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Texture;
struct _TTF_Font;

namespace platform {

struct Font {
  uint64_t id = 0;   // unique for the process's lifetime, so caches never confuse a reused address
  std::string face;  // as asked for by the caller
  int points = 0;
  bool bold = false;
  int pixelSize = 0;         // em height in pixels
  _TTF_Font* ttf = nullptr;  // null for fonts that only measure
};

struct Image {
  uint64_t id = 0;
  int64_t width = 0;               // pixels
  int64_t height = 0;              // pixels
  SDL_Texture* texture = nullptr;  // null for images that are only recorded
};

}  // namespace platform
