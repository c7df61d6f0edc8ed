// Progressive pot and consolation prize. Both go to balance and the lifetime won figure of the
// mode the draw was staked in, so balance + lifetime bets - lifetime wins is unchanged by them.
#include "rules/prizes.h"

#include <limits>
#include <string>

#include "rules/text.h"

namespace rules {

void GrowProgressive(GameState& g) {
  int64_t qualifying = 0;
  for (int c = 1; c <= kCards; ++c) {
    if (g.cards[c].pickCount >= kProgressiveMinSpots) ++qualifying;
  }
  if (qualifying < 1) return;
  // The pot is 32-bit on disk; stopping at its ceiling beats wrapping to a negative jackpot.
  const int64_t grown = int64_t{g.progressivePot} + int64_t{g.progressiveIncrement} * qualifying;
  constexpr int64_t kCeiling = std::numeric_limits<int32_t>::max();
  g.progressivePot = static_cast<int32_t>(grown > kCeiling ? kCeiling : grown);
}

void PayProgressive(GameState& g, Host& host) {
  const int64_t pot = g.progressivePot;
  g.balance += pot;
  BookWin(g, pot);
  // Kept in 64 bits: a pot near its ceiling plus a big table win must not print as negative.
  const int64_t total = pot + g.cardWin[g.jackpotCard];
  g.progressivePot = g.progressiveSeed;
  StopAutoRun(g);
  SelectTab(g, g.jackpotCard);
  host.ShowMessage("PROGRESSIVE JACKPOT HIT!!!",
                   "Card " + std::to_string(g.jackpotCard) + " matched ALL " +
                       std::to_string(g.cards[g.jackpotCard].pickCount) +
                       " numbers!\n\nYou win the PROGRESSIVE JACKPOT of $" + std::to_string(pot) +
                       "!\nTotal payout this draw: $" + std::to_string(total),
                   Buttons::Ok, Icon::None);
}

bool PayConsolation(GameState& g, int64_t nowMs) {
  int64_t playing = 0;
  int64_t totalHits = 0;
  bool allBig = true;
  for (int c = 1; c <= kCards; ++c) {
    const int64_t spots = PlayingSpots(g, c);
    if (spots < 1) continue;
    totalHits += g.cards[c].hitCount;
    ++playing;
    if (spots < kConsolationMinPicks) allBig = false;
  }
  if (playing < 1 || !allBig || totalHits != 0) return false;

  int distinct = 0;
  for (int n = 1; n <= kNumbers; ++n) {
    for (int c = 1; c <= kCards; ++c) {
      if (PlayingSpots(g, c) >= 1 && g.cards[c].picked[n]) {
        ++distinct;
        break;
      }
    }
  }
  if (distinct < kConsolationMinDistinct) return false;

  const int64_t share = kConsolationPrize / playing;
  int64_t remainder = kConsolationPrize - playing * share;
  for (int c = 1; c <= kCards; ++c) {
    if (PlayingSpots(g, c) < kConsolationMinPicks) continue;
    int64_t amount = share;
    if (remainder > 0) {
      ++amount;
      --remainder;
    }
    g.cardWin[c] += amount;
    g.cardNet[c] += amount;
    g.cardWinCount[c] += 1;
    g.balance += amount;
    g.setWon += amount;
    BookWin(g, amount);
  }
  SetStatus(g, "CONSOLATION", Joined("$", share, "/card consolation paid"), nowMs);
  RequestSave(g, nowMs);
  return true;
}

}  // namespace rules
