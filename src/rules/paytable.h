// The two fixed pay tables, the active copy the current mode selects, and the payout lookup.
#pragma once

#include <cstdint>

#include "rules/game_state.h"

namespace rules {

// Fills both fixed tables once at start, then the active one.
void FillPayTables(GameState& g);
// Copies the table of the current mode into the active table; any non-zero mode is CASINO.
void RefreshActivePayTable(GameState& g);
// Swaps GENEROUS and CASINO and asks for a save.
void ToggleMode(GameState& g, int64_t nowMs);
// Dollars paid for a card of `spots` picks with `hits` hits at the current bet and mode, as the
// payout overlay shows it; 0 off the table.
int64_t LookupPayout(const GameState& g, int64_t spots, int64_t hits);
// The same from the fixed table of `mode` at `bet`: what a draw staked at them pays.
int64_t PayoutAt(const GameState& g, int64_t mode, int64_t bet, int64_t spots, int64_t hits);

}  // namespace rules
