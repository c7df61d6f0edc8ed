// The per-frame timer step: ball reveals, the balls' drop, auto-run pauses, the debounced save
// and the status line.
#pragma once

#include "render/balls_panel.h"
#include "rules/game_state.h"
#include "rules/host.h"

namespace shell {

constexpr int64_t kSaveDebounceMs = 3000;
constexpr int64_t kStatusMessageMs = 5000;

// Called once per frame before input; reads the clock once. Each timer fires at most once.
void TickTimers(rules::GameState& g, render::BallsPanel& balls, rules::Host& host);

}  // namespace shell
