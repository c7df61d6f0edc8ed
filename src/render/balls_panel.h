// The balls panel at the right: a cage with its title, twenty ring slots zigzagging upward, and
// the balls of the current draw dropping from the cage into their slots. The background is an
// image rebuilt only when the panel's size changes; the drop advances on a kBallAnimStepMs timer.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "rules/game_state.h"

namespace render {

struct BoardView;
struct Fonts;

constexpr int64_t kBallAnimStepMs = 16;
constexpr int64_t kCageHeight = 120;
constexpr float kDropStartY = static_cast<float>(kCageHeight);  // a ball leaves the cage's foot

struct BallAnim {
  int64_t falling = 0;    // 0/1: still dropping
  float y = kDropStartY;  // centre, panel-relative
  int64_t targetY = 0;    // centre of its slot, panel-relative
  int64_t targetX = 0;    // centre of its slot's column, panel-relative
  int64_t frames = 0;     // animation steps taken
  float speed = 0;        // pixels per step
};

struct BallsPanel {
  BallAnim ballAnims[rules::kBallsPerDraw + 1];  // [1..20], slot k holds ball k of the draw
  int64_t ballAnimActive = 0;                    // 0/1: the animation step must run
  int64_t lastAnimTime = 0;                      // ms
  platform::Image* ballsPanelImage = nullptr;
  int64_t imageWidth = 0, imageHeight = 0;  // size the image was built for
};

// Geometry of a panel w x h, panel-relative.
struct BallSlots {
  int64_t slotHeight = 0;  // g
  int64_t radius = 0;      // half a slot less 1, at most (w - 6) / 6, at least 2
  int64_t leftX = 0, rightX = 0, centreX = 0;
};
BallSlots SlotGeometry(int64_t w, int64_t h);
// Centre of slot k (1..20): odd slots in the left column, even in the right, from the bottom up.
void SlotCentre(const BallSlots& s, int64_t h, int64_t k, int64_t& x, int64_t& y);

// Frees the old background and draws the cage, title and empty rings at w x h; nothing for a
// size below 1.
void BuildBallsPanelImage(BallsPanel& balls, platform::Canvas& canvas, const Fonts& fonts,
                          int64_t w, int64_t h);

// A new draw empties the panel.
void ResetBallAnimation(BallsPanel& balls);

// Ball k has just been revealed: it starts dropping toward slot k of a panel w x h, at a speed
// that lands it in about one ball delay.
void StartBallDrop(BallsPanel& balls, int64_t w, int64_t h, int64_t k, int64_t ballDelayMs,
                   int64_t nowMs);

// One kBallAnimStepMs step of every falling ball.
void AnimateBalls(BallsPanel& balls);

// True when any card holds number n.
bool BallOnAnyCard(const rules::GameState& g, int64_t n);

void DrawBallsPanel(platform::Canvas& canvas, const BoardView& view);

}  // namespace render
