// The two prizes on top of the pay tables: the progressive pot, grown by every draw with large
// cards and won by a full match of 10 or more spots, and the consolation for big cards that
// caught nothing. The draw calls these; they touch only money, statistics and the notice.
#pragma once

#include <cstdint>

#include "rules/game_state.h"
#include "rules/host.h"

namespace rules {

// Adds the increment for each card of 10+ picks; called once per draw after the stake is taken.
void GrowProgressive(GameState& g);

// Pays the whole pot once, resets it, stops auto-run, shows the card named by jackpotCard and
// announces the win. Called by the evaluation when a 10+ spot card matched all its picks.
void PayProgressive(GameState& g, Host& host);

// Shares the consolation prize among the playing cards when they all hold 7+ picks, cover 15+
// distinct numbers and caught no ball. Returns true when it paid. nowMs stamps the notice.
bool PayConsolation(GameState& g, int64_t nowMs);

}  // namespace rules
