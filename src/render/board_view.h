// What the drawers of one frame may read, and nothing they may change: the game record, the
// layout and its images, the fonts, the balls panel's animation and the flags of the controls.
#pragma once

#include "render/balls_panel.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"

namespace render {

struct BoardView {
  const rules::GameState& state;
  const Layout& layout;
  const Fonts& fonts;
  const BallsPanel& balls;
  bool payoutOverlayOpen = false;
  bool aboutOverlayOpen = false;
  bool drawButtonHeld = false;  // the Draw button is pressed on an idle game
  int64_t focusCell = 0;        // 1..80: the keyboard's focus ring is on that cell; 0: none
  bool recallOverlayOpen = false;
  int64_t recallPage = 0;  // the recalled draw shown, 0 the newest
};

}  // namespace render
