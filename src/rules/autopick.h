// Filling the active card automatically, with the numbers drawn most often this run (hot) or
// with random numbers; both keep the card's spot count. Input calls these after stopping
// auto-run; they do not wait for a running draw.
#pragma once

#include "rules/game_state.h"
#include "rules/host.h"

namespace rules {

// How many numbers an auto-pick fills card `card` (1..4) with: its picks, 8 when it has none, at
// most 12. The Auto-Pick button shows the same count.
int64_t AutoPickSpots(const GameState& g, int card);

// Replaces the active card's picks with the hottest numbers, the lowest number winning a tie;
// falls back to random picks while nothing has been drawn this run.
void AutoPickHot(GameState& g, Host& host);

// Replaces the active card's picks with distinct random numbers.
void AutoPickRandom(GameState& g, Host& host);

}  // namespace rules
