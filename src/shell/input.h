// The player's actions: once per frame the polled mouse and keys become game actions: draws,
// auto-run, settings, overlays, pick edits, card copies, a new game, quitting. Every decision is
// made from this frame's polled state and what was remembered from the last ones.
#pragma once

#include <cstdint>

#include "render/layout.h"
#include "rules/host.h"
#include "shell/game.h"

namespace shell {

constexpr int64_t kHoldMs = 1000;  // Draw button or SPACE held this long starts auto-run

enum class SpaceAction { kNone, kTap, kHold };

// Once per frame, after the timers.
void HandleInput(Game& game, rules::Host& host);

// One left press that is not the start of a Draw-button press on an idle game.
void HandleLeftClick(Game& game, rules::Host& host, int64_t mx, int64_t my);
void HandleRightClick(Game& game, rules::Host& host, int64_t mx, int64_t my);

// A tap acts on release within the hold time; a hold acts once, when the hold time is reached.
SpaceAction UpdateSpaceKey(InputMemory& input, bool held, int64_t nowMs);
void CloseOverlays(InputMemory& input);

// The tab under x (0 Main, 1..4 the cards), held to 0..4.
int64_t TabFromX(const render::Layout& layout, int64_t mx);

// The New Game question: YES clears the picks, NO resets everything, CANCEL changes nothing; a
// reset answered during a draw waits until that draw has paid.
void NewGame(Game& game, rules::Host& host);
// Asks where card `source` should be copied to, and copies it there.
void CopyCard(Game& game, rules::Host& host, int source);

}  // namespace shell
