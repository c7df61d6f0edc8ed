// Frame composition. A frame that would equal the last presented one is not drawn again: the
// loop only waits out the refresh interval, so an idle game costs almost no CPU.
#include "shell/frame.h"

#include "shell/startup.h"

namespace shell {

// The SDL renderer follows the window's size by itself, so the surface is kept; only the layout
// and the fonts are rebuilt for the new size.
void ApplyClientSize(Game& game, int64_t width, int64_t height) {
  game.layout.clientWidth = width;
  game.layout.clientHeight = height;
  if (platform::Canvas* canvas = platform::ScreenCanvas(game.window)) {
    render::LoadFonts(*canvas, game.fonts, height);
  }
  platform::SetBackgroundColor(game.window, kBackgroundGrey);
}

void RenderFrame(Game& game) {
  int64_t width = 0, height = 0;
  platform::GetClientSize(game.window, width, height);
  bool changed = platform::TakeRedrawRequest(game.window);
  if (width > 0 && height > 0 &&
      (width != game.layout.clientWidth || height != game.layout.clientHeight)) {
    ApplyClientSize(game, width, height);
    changed = true;
  }
  if (!changed) {
    platform::SkipFrame(game.window);
    return;
  }
  platform::ClearScreen(game.window, kBackgroundGrey);
  platform::Flip(game.window);
}

}  // namespace shell
