// The board of 80 numbers in 8 rows of 10: one card's picks and hits, the Main view of all four
// cards with asterisks on shared numbers, and the heat map of the numbers drawn this run. Owns the
// cell geometry that input's hit test, the layout's hit-cross image and keno-tool ask. Changes
// nothing.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "render/board_view.h"
#include "render/layout.h"

namespace render {

// Pitch of one cell: grid width / 10 and height / 8, in single precision.
struct CellPitch {
  float w = 0, h = 0;
};
CellPitch GridPitch(const Rect& grid);

// The painted box of number n (1..80): one pixel wider and higher than the whole pitch, so
// neighbouring cells share their border line. The content box is (x, y, trunc(pitch)).
Rect CellBox(const Rect& grid, int n);

// The number (1..80) drawn at client pixel (px, py), 0 outside the grid: the exact inverse of
// CellBox, for input's hit test. A border pixel two painted boxes share belongs to the cell whose
// content box holds it.
int CellAt(const Rect& grid, int64_t px, int64_t py);

// Where the cross of a content box w x h reaches, relative to the box's corner.
struct CrossExtent {
  int64_t x = 0, y = 0, w = 0, h = 0;
};
CrossExtent HitCrossExtent(int64_t w, int64_t h);

// The yellow X over a hit cell's content box, corner to corner inset by 5 %, each bar eleven
// pixels thick.
void DrawHitCross(platform::Canvas& canvas, int64_t x, int64_t y, int64_t w, int64_t h);

// The heat map's scale for one frame: the hottest count (at least 1), the coldest count above 0
// (0 when nothing was drawn) and the span between them (at least 1).
struct HeatScale {
  int64_t hotCount = 1;
  int64_t coldCount = 0;
  float span = 1;
};
HeatScale ComputeHeatScale(const rules::GameState& g);
// Orange over a heat cell: 0 for a number never drawn, else 32 (coldest) to 215 (hottest).
int64_t HeatAlpha(int64_t count, const HeatScale& scale);

// `source` blended with `alpha` over the opaque `below`, as alpha-blend mode paints it.
platform::Color BlendOver(platform::Color source, int64_t alpha, platform::Color below);

constexpr int64_t kMinFocusRingWidth = 4;  // pixels of white, inside the painted box

// The ring's white width for painted box `box`: a twentieth of its shorter side, at least 4, so
// it reads as well on a large screen.
int64_t FocusRingWidth(const Rect& box);

// The keyboard's focus ring around painted box `box`: white, lined in black on its inside.
void DrawFocusRing(platform::Canvas& canvas, const Rect& box);

// Draws the grid into `rect`: the Main view for tab 0 (the heat map while heatMapOn), else the
// view of card `tab`; last the focus ring on view.focusCell, if any.
void DrawCardGrid(platform::Canvas& canvas, const BoardView& view, const Rect& rect, int64_t tab);

}  // namespace render
