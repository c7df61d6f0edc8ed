// The balls panel: background image, drop animation and the per-frame drawing of the balls.
#include "render/balls_panel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "render/board_view.h"
#include "render/colors.h"
#include "render/fonts.h"

namespace render {
namespace {

constexpr platform::Color kPanelBackground = RGB(150, 150, 160);
constexpr platform::Color kEmptyRing = RGB(38, 38, 48);
constexpr platform::Color kOnCard = RGB(40, 180, 60);
constexpr platform::Color kOffCard = RGB(210, 10, 10);
constexpr platform::Color kOnCardGlint = RGBA(255, 255, 255, 90);
constexpr platform::Color kOffCardGlint = RGBA(255, 255, 255, 70);
constexpr platform::Color kLandedOutline = RGB(65, 65, 65);
constexpr platform::Color kFallingOutline = RGB(255, 255, 60);
constexpr platform::Color kTrail = RGBA(140, 140, 160, 50);
constexpr platform::Color kLink = RGB(45, 45, 58);

double CentredLeft(platform::Canvas& canvas, double centre, const std::string& text) {
  return centre - std::round(canvas.TextWidth(text)) / 2;
}

// The ball face, its glint and its number, without the outline.
void DrawBall(platform::Canvas& canvas, const rules::GameState& g, int64_t cx, int64_t cy,
              int64_t r, int64_t n) {
  const bool onCard = BallOnAnyCard(g, n);
  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.Circle(cx, cy, r, onCard ? kOnCard : kOffCard);
  canvas.SetDrawingMode(platform::DrawMode::AlphaBlend);
  canvas.Circle(cx - r / 3, cy - r / 3, r / 3, onCard ? kOnCardGlint : kOffCardGlint);
  canvas.SetDrawingMode(platform::DrawMode::TransparentText);
  canvas.SetFrontColor(kWhite);
  const std::string text = std::to_string(n);
  const double tw = std::round(canvas.TextWidth(text));
  const double th = std::round(canvas.TextHeight(text));
  canvas.DrawText(static_cast<double>(cx) - tw / 2, static_cast<double>(cy) - th / 2, text);
}

}  // namespace

BallSlots SlotGeometry(int64_t w, int64_t h) {
  BallSlots s;
  s.slotHeight = (h - kCageHeight) / 20;
  // Half a slot, less a pixel; but no wider than keeps the two columns apart with a gap of a
  // few pixels, or a tall panel stacks the zigzag into one column.
  s.radius = std::max<int64_t>(std::min((h - kCageHeight) / 40 - 1, (w - 6) / 6), 2);
  s.leftX = 2 * s.radius + 2;
  s.rightX = w - 2 * s.radius - 2;
  s.centreX = w / 2;
  return s;
}

void SlotCentre(const BallSlots& s, int64_t h, int64_t k, int64_t& x, int64_t& y) {
  y = h - (k - 1) * s.slotHeight - s.slotHeight / 2;
  x = k % 2 == 1 ? s.leftX : s.rightX;
}

void BuildBallsPanelImage(BallsPanel& balls, platform::Canvas& canvas, const Fonts& fonts,
                          int64_t w, int64_t h) {
  if (w < 1 || h < 1) return;
  if (balls.ballsPanelImage != nullptr) canvas.FreeImage(balls.ballsPanelImage);
  balls.ballsPanelImage = canvas.CreateImage(w, h, RGBA(0, 0, 0, 255));
  balls.imageWidth = w;
  balls.imageHeight = h;
  if (balls.ballsPanelImage == nullptr || !canvas.BeginDrawing(balls.ballsPanelImage)) return;

  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.Box(0, 0, w, h, kPanelBackground);
  canvas.SetDrawingMode(platform::DrawMode::Outline);
  canvas.Box(4, 4, w - 8, 110, RGB(155, 155, 155));
  canvas.SetFrontColor(RGB(85, 85, 85));
  for (int64_t j = 1; j <= 3; ++j) {
    const int64_t x = j * (w - 8) / 4 + 4;
    canvas.Line(x, 4, x, 114);
  }
  for (int64_t j = 1; j <= 2; ++j) {
    const int64_t y = 110 * j / 3 + 4;
    canvas.Line(4, y, w - 4, y);
  }
  canvas.Box(4, 4, w - 8, 110, RGB(170, 170, 170));

  canvas.SetFont(fonts.ballsTitleFont);
  canvas.SetDrawingMode(platform::DrawMode::TransparentText);
  const double th = std::round(canvas.TextHeight("M"));
  const double centre = static_cast<double>(w) / 2;
  canvas.SetFrontColor(kBlack);
  canvas.DrawText(CentredLeft(canvas, centre, "BALLS"), 4, "BALLS");
  canvas.SetFrontColor(RGB(255, 210, 0));
  // The arrows stay 4 pixels above the cage's foot, however tall the font.
  const auto cage = static_cast<double>(kCageHeight);
  const double arrowY = th + 7 + th > cage - 4 ? cage - th - 4 : th + 7;
  canvas.DrawText(CentredLeft(canvas, centre, "v v v"), arrowY, "v v v");

  const BallSlots s = SlotGeometry(w, h);
  canvas.SetDrawingMode(platform::DrawMode::Outline);
  for (int64_t k = 1; k <= rules::kBallsPerDraw; ++k) {
    int64_t x = 0, y = 0;
    SlotCentre(s, h, k, x, y);
    canvas.Circle(x, y, s.radius, kEmptyRing);
  }
  canvas.EndDrawing();
}

void ResetBallAnimation(BallsPanel& balls) {
  for (BallAnim& b : balls.ballAnims) b.falling = 0;
  balls.ballAnimActive = 0;
}

void StartBallDrop(BallsPanel& balls, int64_t w, int64_t h, int64_t k, int64_t ballDelayMs,
                   int64_t nowMs) {
  if (k < 1 || k > rules::kBallsPerDraw) return;
  BallAnim& b = balls.ballAnims[k];
  const BallSlots s = SlotGeometry(w, h);
  b.falling = 1;
  b.y = kDropStartY;
  SlotCentre(s, h, k, b.targetX, b.targetY);
  b.frames = 0;
  float steps = static_cast<float>(ballDelayMs) / static_cast<float>(kBallAnimStepMs);
  if (steps < 1) steps = 1;
  b.speed = std::clamp(static_cast<float>(b.targetY - (kCageHeight + 4)) / steps, 2.0f, 40.0f);
  balls.ballAnimActive = 1;
  balls.lastAnimTime = nowMs;
}

void AnimateBalls(BallsPanel& balls) {
  int64_t moving = 0;
  for (int k = 1; k <= rules::kBallsPerDraw; ++k) {
    BallAnim& b = balls.ballAnims[k];
    if (!b.falling) continue;
    b.frames += 1;
    b.y += b.speed > 0.1f ? b.speed : 8.0f;
    if (static_cast<float>(b.targetY) > b.y) {
      ++moving;
    } else {
      b.y = static_cast<float>(b.targetY);
      b.falling = 0;
    }
  }
  if (moving == 0) balls.ballAnimActive = 0;
}

bool BallOnAnyCard(const rules::GameState& g, int64_t n) {
  if (n < 1 || n > rules::kNumbers) return false;
  for (int c = 1; c <= rules::kCards; ++c) {
    if (g.cards[c].picked[n]) return true;
  }
  return false;
}

void DrawBallsPanel(platform::Canvas& canvas, const BoardView& view) {
  const rules::GameState& g = view.state;
  const BallsPanel& balls = view.balls;
  const Rect& panel = view.layout.ballsPanel;
  const int64_t px = panel.x, py = panel.y, w = panel.w, h = panel.h;
  if (balls.ballsPanelImage != nullptr) {
    canvas.DrawImage(balls.ballsPanelImage, px, py);
  } else {
    canvas.SetDrawingMode(platform::DrawMode::Opaque);
    canvas.Box(px, py, w, h, kPanelBackground);
  }
  canvas.SetFont(view.fonts.buttonFont);
  const BallSlots s = SlotGeometry(w, h);
  const int64_t r = s.radius;

  int64_t falling = 0;
  for (int k = 1; k <= rules::kBallsPerDraw; ++k) falling += balls.ballAnims[k].falling ? 1 : 0;
  const int64_t landed = std::clamp<int64_t>(g.ballsRevealed - falling, 0, rules::kBallsPerDraw);
  // The links first, so every ball lies over them and no number is crossed out.
  canvas.SetDrawingMode(platform::DrawMode::Outline);
  canvas.SetFrontColor(kLink);
  for (int64_t k = 2; k <= landed; ++k) {
    int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    SlotCentre(s, h, k - 1, x1, y1);
    SlotCentre(s, h, k, x2, y2);
    canvas.Line(px + x1, py + y1, px + x2, py + y2);
  }
  for (int64_t k = 1; k <= landed; ++k) {
    int64_t cx = 0, cy = 0;
    SlotCentre(s, h, k, cx, cy);
    cx += px;
    cy += py;
    DrawBall(canvas, g, cx, cy, r, g.drawSequence[k - 1]);
    canvas.SetDrawingMode(platform::DrawMode::Outline);
    canvas.Circle(cx, cy, r, kLandedOutline);
  }

  for (int k = 1; k <= rules::kBallsPerDraw; ++k) {
    const BallAnim& b = balls.ballAnims[k];
    if (!b.falling) continue;
    const int64_t by = py + static_cast<int64_t>(b.y);
    const int64_t fall = b.targetY - kCageHeight;
    float p = fall > 0 ? (b.y - kDropStartY) / static_cast<float>(fall) : 1.0f;
    p = std::clamp(p, 0.0f, 1.0f);
    const float e = static_cast<float>(b.targetX - w / 2);
    const float wobble = static_cast<float>(b.frames % 6 - 3);
    // Swings out from the centre line to its column, with a wobble that dies out on landing.
    const int64_t bx = px + w / 2 + static_cast<int64_t>(e * p) +
                       static_cast<int64_t>((1.0f - p) * e * 0.3f * wobble / 3.0f);
    canvas.SetDrawingMode(platform::DrawMode::AlphaBlend);
    for (int64_t j = 3; j >= 1; --j) {
      const int64_t ty = by - j * (s.slotHeight / 3);
      if (ty > py + kCageHeight && r - j >= 1) canvas.Circle(bx, ty, r - j, kTrail);
    }
    DrawBall(canvas, g, bx, by, r, g.drawSequence[k - 1]);
    canvas.SetDrawingMode(platform::DrawMode::Outline);
    canvas.Circle(bx, by, r, kFallingOutline);
  }
}

}  // namespace render
