// The balance check before a draw takes its stake: the only guard that keeps play from driving
// the balance below zero. Offers a top-up or a save-and-quit when the balance falls short.
#pragma once

#include <cstdint>

#include "rules/game_state.h"
#include "rules/host.h"

namespace rules {

// True when the draw may take `cost` dollars. When the balance is short it stops auto-run and
// asks the player: YES tops up and saves; any other answer saves, asks the shell to quit and
// returns false.
bool FundsCheck(GameState& g, Host& host, int64_t cost);

}  // namespace rules
