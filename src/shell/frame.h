// Frame composition and presentation. A frame is first recorded as a display list; one that
// equals the frame on screen is not drawn again, so an idle game costs almost nothing.
#pragma once

#include "platform/canvas.h"
#include "render/board_view.h"
#include "shell/game.h"

namespace shell {

// What the drawers of this frame may read.
render::BoardView ViewOf(const Game& game);

// Every drawer of the board in its order, bottom band last, onto `canvas`.
void ComposeFrame(platform::Canvas& canvas, const render::BoardView& view);

// Applies a changed client size, records the frame, and presents it unless it equals the last
// one presented and nothing forces a redraw (an expose, a resize, a closed dialog). It never
// waits: a frame loop that presented nothing sleeps in SkipFrame itself.
void RenderFrame(Game& game);

// Shows the last presented frame again, as it was: a dialog holds the loop and the window was
// exposed.
void RepaintLastFrame(Game& game);

// The client area changed: new fonts, layout and images at the new size.
void ApplyClientSize(Game& game, int64_t width, int64_t height);

// Chooses the overlays' fitted fonts for the grid of `layout`, measuring their text on `canvas`
// unless they are cached for that grid, and notes the grid they fit. RenderFrame calls it while
// an overlay is open on a grid or fonts they were not fitted to.
void FitOverlayFonts(platform::Canvas& canvas, render::Fonts& fonts, const render::Layout& layout,
                     const rules::GameState& g);

}  // namespace shell
