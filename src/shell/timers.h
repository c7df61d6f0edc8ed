// The per-frame timer step: ball reveals, the balls' drop, auto-run pauses, the debounced save
// and the status line; and the deadline the frame loop may sleep until when nothing changes.
#pragma once

#include <cstdint>

#include "render/balls_panel.h"
#include "rules/game_state.h"
#include "rules/host.h"
#include "shell/game.h"

namespace shell {

constexpr int64_t kSaveDebounceMs = 3000;
constexpr int64_t kStatusMessageMs = 5000;

// Called once per frame before input; reads the clock once. Each timer fires at most once.
void TickTimers(rules::GameState& g, render::BallsPanel& balls, rules::Host& host);

// True while a sound may come at any moment: a draw or auto-run is under way.
bool SoundExpected(const rules::GameState& g);

// When the frame loop must run again though the player does nothing, on the clock of `nowMs`:
// the earliest of TickTimers' timers, SPACE's hold, the sound output's release; `nowMs` while a
// mouse button is held (its release may come without an event); platform::kNoDeadline when
// nothing is on a timer.
int64_t NextDeadline(Game& game, int64_t nowMs);

}  // namespace shell
