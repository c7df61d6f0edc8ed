// The strip of five tabs above the grid, Main and Card 1 to Card 4, with the heat-map dot on
// Main. Draws only; the tab width rule here is the one input uses to find the tab under a click.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "render/board_view.h"

namespace render {

// Width of each of the five tabs; the remainder of the division stays strip background.
int64_t TabWidth(int64_t stripWidth);

void DrawTabStrip(platform::Canvas& canvas, const BoardView& view);

}  // namespace render
