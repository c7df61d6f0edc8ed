// The about and rules page drawn over the grid while it is open: the game's title and nine
// sections of rules and hints. Fixed texts; reads nothing of the game but the grid rectangle.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "render/board_view.h"

namespace controls {

// Line pitch of the page body for a panel ph high: 13..24, sharing out what the title band,
// footer and gaps leave among the page's 33 lines.
int64_t AboutLineHeight(int64_t panelHeight);

// Nothing unless the about overlay is open; then the whole page over the grid rectangle.
void DrawAboutOverlay(platform::Canvas& canvas, const render::BoardView& view);

}  // namespace controls
