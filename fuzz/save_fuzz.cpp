// The save-file loader under libFuzzer: any bytes at all must load without a crash into either
// the first-start values or a game inside every range, and an accepted game must save and load
// back unchanged. Built and run by scripts/run-fuzz.
#include <cstddef>
#include <cstdint>
#include <span>

#include "rules/game_state.h"
#include "shell/save.h"

namespace {

void Require(bool ok) {
  if (!ok) __builtin_trap();
}

// A game in mid-play, so that a loader that forgets to reset something shows it.
rules::GameState Played() {
  rules::GameState g;
  g.balance = 777;
  g.genWon = g.genBet = g.casWon = g.casBet = 55;
  g.betPerCard = g.betSetting = 4;
  g.payMode = rules::CASINO;
  g.progressivePot = 40000;
  g.speed = 1;
  g.soundOn = 0;
  for (int c = 1; c <= rules::kCards; ++c) {
    for (int n = c; n <= rules::kNumbers; n += 9) {
      g.cards[c].picked[n] = 1;
      g.cards[c].hit[n] = 1;
    }
    g.cards[c].pickCount = g.cards[c].hitCount = 9;
  }
  g.activeTab = 3;
  g.heatCounts[17] = 5;
  return g;
}

bool IsFirstStart(const rules::GameState& g) {
  bool noPicks = true;
  for (int c = 1; c <= rules::kCards; ++c) noPicks = noPicks && g.cards[c].pickCount == 0;
  return g.balance == 1000 && g.genWon == 0 && g.genBet == 0 && g.casWon == 0 && g.casBet == 0 &&
         g.betPerCard == 1 && g.payMode == rules::GENEROUS && g.progressivePot == 25000 &&
         g.speed == 3 && g.soundOn == 1 && noPicks;
}

void RequireInRange(const rules::GameState& g) {
  Require(g.balance >= 1);
  Require(g.genWon >= 0 && g.genBet >= 0 && g.casWon >= 0 && g.casBet >= 0);
  Require(g.betPerCard >= 1 && g.betPerCard <= 10 && g.betSetting == g.betPerCard);
  Require(g.payMode == rules::GENEROUS || g.payMode == rules::CASINO);
  Require(g.progressivePot >= g.progressiveSeed);
  Require(g.speed >= 1 && g.speed <= 5);
  Require(g.soundOn == 0 || g.soundOn == 1);
  for (int c = 1; c <= rules::kCards; ++c) {
    const rules::Card& card = g.cards[c];
    int64_t picks = 0;
    for (int n = 1; n <= rules::kNumbers; ++n) {
      Require(card.picked[n] == 0 || card.picked[n] == 1);
      Require(card.hit[n] == 0);
      picks += card.picked[n];
    }
    Require(card.pickCount == picks && picks <= rules::kMaxPicks && card.hitCount == 0);
  }
  // Nothing outside the saved fields and the cards is touched.
  Require(g.activeTab == 3 && g.heatCounts[17] == 5);
}

bool SameSavedGame(const rules::GameState& a, const rules::GameState& b) {
  bool same = a.balance == b.balance && a.genWon == b.genWon && a.genBet == b.genBet &&
              a.casWon == b.casWon && a.casBet == b.casBet && a.betPerCard == b.betPerCard &&
              a.payMode == b.payMode && a.progressivePot == b.progressivePot &&
              a.speed == b.speed && a.soundOn == b.soundOn;
  for (int c = 1; c <= rules::kCards; ++c) {
    for (int n = 1; n <= rules::kNumbers; ++n) {
      same = same && a.cards[c].picked[n] == b.cards[c].picked[n];
    }
  }
  return same;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  rules::GameState g = Played();
  const bool accepted = shell::DecodeSave(std::span<const uint8_t>(data, size), g);
  Require(accepted ? size == shell::kSaveFileSize : IsFirstStart(g));
  RequireInRange(g);

  if (accepted) {
    const shell::SaveImage image = shell::EncodeSave(g);
    rules::GameState again = Played();
    Require(shell::DecodeSave(image, again));
    Require(SameSavedGame(g, again));
  }
  return 0;
}
