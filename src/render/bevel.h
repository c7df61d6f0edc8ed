// The raised face every button and every grid cell is drawn with: a flat face, 3-pixel edges
// light at the top and left and dark at the bottom and right, and a black outline.
// Draws through the Canvas only.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

namespace render {

constexpr int64_t kBevelWidth = 3;  // pixels

// The face, then the light top and left edges, the dark bottom and right ones painted over them,
// then the 1-pixel outline. Leaves outline mode and black in force.
void DrawBevelBox(platform::Canvas& canvas, int64_t x, int64_t y, int64_t w, int64_t h,
                  platform::Color face, platform::Color light, platform::Color dark);

}  // namespace render
