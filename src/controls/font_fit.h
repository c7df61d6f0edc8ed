// Choosing an overlay's font by measuring: the largest size, from the overlay size down, at which
// what the overlay must show fits its panel. Shared by the overlays; draws nothing.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/canvas.h"
#include "render/fonts.h"

namespace controls {

constexpr int kMinFittedPoints = 6;  // the smallest size tried, taken even when nothing fits

// Puts in `slot` the largest regular font of `startPoints` or less for which `fits(font)` holds,
// or the smallest. Every size turned down goes to `refused`, for the caller to free; a font that
// cannot be loaded leaves `slot` as it was.
template <typename Fits>
void FitRegularFont(platform::Canvas& canvas, int startPoints, platform::Font*& slot,
                    std::vector<platform::Font*>& refused, Fits fits) {
  for (int points = std::max(startPoints, kMinFittedPoints); points >= kMinFittedPoints; --points) {
    platform::Font* font = canvas.LoadFont(render::kFontFace, points, false);
    if (font == nullptr) return;  // the overlay font serves instead
    if (points == kMinFittedPoints || fits(font)) {
      render::ReplaceFont(canvas, slot, font);
      return;
    }
    refused.push_back(font);
  }
}

}  // namespace controls
