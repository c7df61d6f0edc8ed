// The faces of the eight top-row buttons on render's bevelled box: the shared label layouts, the
// Draw Numbers button's four looks and the seven control buttons showing the current settings.
// Draws through the Canvas from the board view only; keeps no state and changes no game state.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/canvas.h"
#include "render/board_view.h"
#include "render/layout.h"
#include "rules/game_state.h"

namespace controls {

struct ButtonPalette {
  platform::Color face, light, dark;
};

// The label line pitch of the current font: the height of "A" rounded to whole pixels.
int64_t LineHeight(platform::Canvas& canvas);

// Tops of three label lines on a button from y, h high: gap = (h - 3 th) / 4, then line k at
// y + k gap + (k - 1) th.
std::array<int64_t, 3> ThreeLineTops(int64_t y, int64_t h, int64_t lineHeight);

// Tops of two label lines around the middle of a button: y + h/2 - th - 2 and y + h/2 + 4.
std::array<double, 2> TwoLineTops(int64_t y, int64_t h, int64_t lineHeight);

// The Speed bar has a segment per speed, the Bet/Card bar one per dollar of the bet range.
constexpr int64_t kSpeedSegments = rules::kMaxSpeed - rules::kMinSpeed + 1;
constexpr int64_t kBetSegments = rules::kMaxBet - rules::kMinBet + 1;

// Pitch of the boxes of a segment bar of `segments` across a button `w` wide; each box is two
// pixels narrower than the pitch.
int64_t SegmentPitch(int64_t w, int64_t segments);
// Box i (0-based) of a segment bar of `segments` on `button`: 14 pixels high, just below the
// middle, the first 9 pixels in.
render::Rect SegmentBox(const render::Rect& button, int64_t segments, int64_t i);

// Slot 0: blue when idle, darker while pressed, grey while a draw runs, red during auto-run.
void DrawButtonFace(platform::Canvas& canvas, const render::BoardView& view);

// Slots 1 to 7, in slot order.
void DrawNewGameButton(platform::Canvas& canvas, const render::BoardView& view);
void DrawPayoutButton(platform::Canvas& canvas, const render::BoardView& view);
void DrawSpeedButton(platform::Canvas& canvas, const render::BoardView& view);
void DrawBetButton(platform::Canvas& canvas, const render::BoardView& view);
void DrawSoundButton(platform::Canvas& canvas, const render::BoardView& view);
void DrawAutoPickButton(platform::Canvas& canvas, const render::BoardView& view);
void DrawAboutButton(platform::Canvas& canvas, const render::BoardView& view);

// "Pick: Card n (c)" on a card tab, c being the spots an auto-pick will fill; "Auto-Pick" on Main.
std::string AutoPickTitle(const rules::GameState& state);

}  // namespace controls
