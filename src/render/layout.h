// Where everything on the board is drawn and clicked, computed from the client size alone, and the
// images that only change with it: the two asterisk glyphs, the hit cross and the balls panel.
// The shell writes it at start-up and on each new client size (ComputeLayout, or ComputeLayoutRects
// without a screen) and drops its images at shutdown; drawers, input and keno-tool read it.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

namespace render {

struct BallsPanel;
struct Fonts;

struct Rect {
  int64_t x = 0, y = 0, w = 0, h = 0;  // client pixels, origin top-left
  bool operator==(const Rect&) const = default;
};

// x <= px < x + w and y <= py < y + h.
bool PointInRect(const Rect& r, int64_t px, int64_t py);

constexpr int64_t kTopBandHeight = 120;
constexpr int64_t kButtonHeight = 96;
constexpr int64_t kStatsPanelWidth = 294;
constexpr int64_t kBallsPanelWidth = 110;
constexpr int64_t kTabStripHeight = 52;
constexpr int64_t kBottomMargin = 12;
constexpr int64_t kMinGridSide = 200;

struct Layout {
  int64_t clientWidth = 1280;  // client size last applied; provisional until the window opens
  int64_t clientHeight = 780;
  int64_t buttonWidth = 0;     // the first seven top-row buttons
  int64_t gridAreaWidth = 0;   // tab strip and grid, at least 200
  int64_t gridAreaHeight = 0;  // grid, at least 200
  Rect drawButton, newGameButton, payoutButton, speedButton, betButton, soundButton, autoPickButton,
      aboutButton;
  Rect tabStrip, grid, statsPanel, ballsPanel;

  int64_t glyphSize = 0;  // side of both asterisks; 0 while none exist
  platform::Image* whiteAsterisk = nullptr;
  platform::Image* blackAsterisk = nullptr;

  // The yellow cross of a hit cell, drawn once for the grid's content box size.
  platform::Image* hitCross = nullptr;
  int64_t crossBoxW = 0, crossBoxH = 0;        // content box it was drawn for
  int64_t crossOffsetX = 0, crossOffsetY = 0;  // image corner relative to the content box
};

// The eight button rectangles in slot order, Draw Numbers first.
const Rect* ButtonSlot(const Layout& layout, int slot);

// Every rectangle and width from clientWidth and clientHeight; no images.
void ComputeLayoutRects(Layout& layout);

// Side of the asterisk glyphs for a grid of gw x gh: 70 % of the smaller cell pitch, at least 16.
int64_t GlyphSizeFor(int64_t gridWidth, int64_t gridHeight);

// The whole layout for the current client size: rectangles, glyphs, hit cross, and the balls
// panel image when the panel's size changed. Images are made on `canvas`; the balls panel title
// uses the fonts as they are now, so load the fonts for a new size first.
void ComputeLayout(Layout& layout, platform::Canvas& canvas, BallsPanel& balls, const Fonts& fonts);

// Keeps both asterisks at side `size`; nothing for a size of 0 or less or one already made.
void EnsureGlyphs(Layout& layout, platform::Canvas& canvas, int64_t size);

// A twelve-ray asterisk with a solid hub in `color` on a transparent size x size square; null
// for a size below 1. When vector drawing cannot begin the image stays transparent.
platform::Image* MakeAsteriskImage(platform::Canvas& canvas, int64_t size, platform::Color color);

}  // namespace render
