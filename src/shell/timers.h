// The per-frame timer step: ball reveals, auto-run pauses, the debounced save, the status line.
#pragma once

#include "rules/game_state.h"
#include "rules/host.h"

namespace shell {

constexpr int64_t kSaveDebounceMs = 3000;
constexpr int64_t kStatusMessageMs = 5000;

// Called once per frame before input; reads the clock once. Each timer fires at most once.
void TickTimers(rules::GameState& g, rules::Host& host);

}  // namespace shell
