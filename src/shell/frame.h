// Draws and presents one frame, first applying a changed client size.
#pragma once

#include "shell/game.h"

namespace shell {

void RenderFrame(Game& game);
// The window's client area changed: new surface and fonts at the new size.
void ApplyClientSize(Game& game, int64_t width, int64_t height);

}  // namespace shell
