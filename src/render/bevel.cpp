// The bevelled box shared by the button faces and the grid cells.
#include "render/bevel.h"

#include "render/colors.h"

namespace render {

void DrawBevelBox(platform::Canvas& canvas, int64_t x, int64_t y, int64_t w, int64_t h,
                  platform::Color face, platform::Color light, platform::Color dark) {
  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.Box(x, y, w, h, face);
  canvas.Box(x, y, w, kBevelWidth, light);
  canvas.Box(x, y, kBevelWidth, h, light);
  canvas.Box(x, y + h - kBevelWidth, w, kBevelWidth, dark);
  canvas.Box(x + w - kBevelWidth, y, kBevelWidth, h, dark);
  canvas.SetDrawingMode(platform::DrawMode::Outline);
  canvas.SetFrontColor(kBlack);
  canvas.Box(x, y, w, h);
}

}  // namespace render
