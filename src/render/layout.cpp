// Layout arithmetic and the images that follow the client size.
#include "render/layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/balls_panel.h"
#include "render/card_grid.h"
#include "render/colors.h"
#include "render/fonts.h"

namespace render {

bool PointInRect(const Rect& r, int64_t px, int64_t py) {
  return px >= r.x && px < r.x + r.w && py >= r.y && py < r.y + r.h;
}

const Rect* ButtonSlot(const Layout& layout, int slot) {
  const Rect* const slots[] = {&layout.drawButton,     &layout.newGameButton, &layout.payoutButton,
                               &layout.speedButton,    &layout.betButton,     &layout.soundButton,
                               &layout.autoPickButton, &layout.aboutButton};
  return slot >= 0 && slot < 8 ? slots[slot] : nullptr;
}

void ComputeLayoutRects(Layout& l) {
  const int64_t W = l.clientWidth, H = l.clientHeight;
  constexpr int64_t kMargin = 12, kGap = 2;
  const int64_t top = (kTopBandHeight - kButtonHeight) / 2;
  l.buttonWidth = (W - 7 * kGap - 2 * kMargin) / 8;
  l.gridAreaWidth = std::max(W - kStatsPanelWidth - kBallsPanelWidth, kMinGridSide);
  l.gridAreaHeight = std::max(H - kTopBandHeight - kTabStripHeight - kBottomMargin, kMinGridSide);
  for (int slot = 0; slot < 7; ++slot) {
    *const_cast<Rect*>(ButtonSlot(l, slot)) =
        Rect{kMargin + slot * (l.buttonWidth + kGap), top, l.buttonWidth, kButtonHeight};
  }
  // The last button runs to the right margin and takes the remainder of the division by 8.
  const int64_t x7 = kMargin + 7 * (l.buttonWidth + kGap);
  l.aboutButton = Rect{x7, top, W - x7 - kMargin, kButtonHeight};
  l.tabStrip = Rect{kStatsPanelWidth, kTopBandHeight, l.gridAreaWidth, kTabStripHeight};
  l.grid =
      Rect{kStatsPanelWidth, kTopBandHeight + kTabStripHeight, l.gridAreaWidth, l.gridAreaHeight};
  l.statsPanel = Rect{0, kTopBandHeight, kStatsPanelWidth, H - kTopBandHeight - kBottomMargin};
  l.ballsPanel = Rect{W - kBallsPanelWidth, kTopBandHeight, kBallsPanelWidth,
                      H - kTopBandHeight - kBottomMargin};
}

int64_t GlyphSizeFor(int64_t gridWidth, int64_t gridHeight) {
  const auto cw10 = static_cast<int64_t>(static_cast<double>(gridWidth) / 10.0);
  const auto ch8 = static_cast<int64_t>(static_cast<double>(gridHeight) / 8.0);
  return std::max<int64_t>(std::min(cw10, ch8) * 70 / 100, 16);
}

platform::Image* MakeAsteriskImage(platform::Canvas& canvas, int64_t size, platform::Color color) {
  if (size < 1) return nullptr;
  platform::Image* image = canvas.CreateImage(size, size, RGBA(255, 255, 255, 0));
  if (image == nullptr || !canvas.BeginVectorDrawing(image)) return image;
  const double c = static_cast<double>(size) / 2;
  const double r = static_cast<double>(size) / 2 - 2;  // ray length from the centre
  const double l = static_cast<double>(size) / 9;      // stroke width
  canvas.SetVectorColor(color);
  canvas.AddCircle(c, c, 0.7 * l);
  canvas.FillPath();
  // Six diameters 30 degrees apart, each stroked on its own: twelve rays.
  for (int i = 0; i < 6; ++i) {
    const double theta = i * std::numbers::pi / 6;
    const double dx = r * std::cos(theta), dy = r * std::sin(theta);
    canvas.MoveTo(c - dx, c - dy);
    canvas.AddLineTo(c + dx, c + dy);
    canvas.StrokePath(l);
  }
  canvas.EndVectorDrawing();
  return image;
}

void EnsureGlyphs(Layout& layout, platform::Canvas& canvas, int64_t size) {
  if (size <= 0) return;
  if (layout.whiteAsterisk != nullptr && layout.glyphSize == size) return;
  if (layout.whiteAsterisk != nullptr) canvas.FreeImage(layout.whiteAsterisk);
  if (layout.blackAsterisk != nullptr) canvas.FreeImage(layout.blackAsterisk);
  layout.whiteAsterisk = MakeAsteriskImage(canvas, size, kWhiteAsterisk);
  layout.blackAsterisk = MakeAsteriskImage(canvas, size, kBlackAsterisk);
  layout.glyphSize = size;
}

namespace {

// The hit cross is the same for every cell of one grid size, so it is drawn once into an image
// and stamped: 44 lines a hit cell would cost more than the rest of the grid.
void EnsureHitCross(Layout& layout, platform::Canvas& canvas) {
  const CellPitch pitch = GridPitch(layout.grid);
  const auto boxW = static_cast<int64_t>(pitch.w), boxH = static_cast<int64_t>(pitch.h);
  if (layout.hitCross != nullptr && layout.crossBoxW == boxW && layout.crossBoxH == boxH) return;
  if (layout.hitCross != nullptr) canvas.FreeImage(layout.hitCross);
  const CrossExtent e = HitCrossExtent(boxW, boxH);
  layout.hitCross = canvas.CreateImage(e.w, e.h, RGBA(0, 0, 0, 0));
  layout.crossBoxW = boxW;
  layout.crossBoxH = boxH;
  layout.crossOffsetX = e.x;
  layout.crossOffsetY = e.y;
  if (layout.hitCross == nullptr || !canvas.BeginDrawing(layout.hitCross)) return;
  DrawHitCross(canvas, -e.x, -e.y, boxW, boxH);
  canvas.EndDrawing();
}

}  // namespace

void ComputeLayout(Layout& layout, platform::Canvas& canvas, BallsPanel& balls,
                   const Fonts& fonts) {
  ComputeLayoutRects(layout);
  EnsureGlyphs(layout, canvas, GlyphSizeFor(layout.gridAreaWidth, layout.gridAreaHeight));
  EnsureHitCross(layout, canvas);
  if (balls.imageWidth != layout.ballsPanel.w || balls.imageHeight != layout.ballsPanel.h) {
    BuildBallsPanelImage(balls, canvas, fonts, layout.ballsPanel.w, layout.ballsPanel.h);
  }
}

}  // namespace render
