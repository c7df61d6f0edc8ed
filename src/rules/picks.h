// The player's own edits of a card's picks: a click on a cell and the copy of one card to
// another, with the reading of the copy prompt's reply. While a draw runs on a card's stake its
// picks are locked, so a draw can only pay for the picks it was bought with.
#pragma once

#include <cstdint>
#include <string>

#include "rules/game_state.h"

namespace rules {

enum class PickEdit { kChanged, kIgnored, kLocked };

// Adds or removes number n on card c. A new pick of a number already drawn shows as a hit at
// once; a thirteenth pick is ignored without a word. While the card plays a running draw nothing
// changes and the notice says why.
PickEdit TogglePick(GameState& g, int card, int64_t n, int64_t nowMs);

// Adds number n to card c (no check of the 12-pick limit or a running draw). A number already
// drawn shows as a hit at once, so a card filled after a draw reads as that draw would have
// paid it. Both the player's clicks and the auto-picks add their numbers this way.
void AddPick(GameState& g, int card, int64_t n);

// Card `to` takes exactly the picks of card `from`, without hit marks. False, and nothing
// changed, while `to` plays a running draw (the notice says why) or for cards outside 1..4.
bool CopyPicks(GameState& g, int from, int to, int64_t nowMs);

// The copy prompt's reply as a number: blanks and tabs skipped, an optional sign, then decimal
// digits, or hexadecimal after '$', or binary after '%', up to the first other character.
// 0 without digits; values beyond 64 bits stop at the largest.
int64_t ParseCardNumber(const std::string& reply);

// The notice for an edit refused because card c plays the running draw: when the player can
// make it (after this draw, or once auto-run is stopped).
void NoticeCardLocked(GameState& g, int card, int64_t nowMs);

}  // namespace rules
