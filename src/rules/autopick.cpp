// Auto-pick. The card keeps its spot count (8 when empty); its hit marks go with the old picks,
// new picks already drawn show as hits at once, as a click's do, and balls still to come in a
// running draw are matched against the new ones.
#include "rules/autopick.h"

#include "rules/picks.h"
#include "rules/random.h"

namespace rules {
namespace {

// Shared opening of both variants: refuses on the Main tab, else empties the active card and
// returns how many numbers to choose for it (0 when refused).
int BeginAutoPick(GameState& g, Host& host) {
  if (g.activeTab < 1 || g.activeTab > kCards) {
    host.ShowMessage("Auto-Pick", "Please select a Card 1-4 tab first.", Buttons::Ok, Icon::None);
    return 0;
  }
  const int c = static_cast<int>(g.activeTab);
  if (CardLocked(g, c)) {
    NoticeCardLocked(g, c, host.NowMs());
    return 0;
  }
  const int64_t count = AutoPickSpots(g, c);
  ClearCard(g, c);
  return static_cast<int>(count);
}

void FillRandom(GameState& g, Host& host, int c, int count) {
  while (g.cards[c].pickCount < count)
    AddPick(g, c, RandomUnusedNumber(g, host, g.cards[c].picked));
}

void FillHot(GameState& g, int c, int count) {
  const Card& card = g.cards[c];
  for (int i = 0; i < count; ++i) {
    int best = 0;
    int64_t bestHeat = -1;
    // Strictly greater: among equally hot numbers the lowest one stays chosen.
    for (int k = 1; k <= kNumbers; ++k) {
      if (!card.picked[k] && g.heatCounts[k] > bestHeat) {
        best = k;
        bestHeat = g.heatCounts[k];
      }
    }
    if (best == 0) return;
    AddPick(g, c, best);
  }
}

void Finish(GameState& g) {
  RecountNumberCards(g);
  UpdateProgressiveEligible(g);
}

}  // namespace

int64_t AutoPickSpots(const GameState& g, int card) {
  const int64_t count = g.cards[card].pickCount;
  if (count < 1) return kDefaultSpotCount;
  return count > kMaxPicks ? kMaxPicks : count;
}

void AutoPickHot(GameState& g, Host& host) {
  const int count = BeginAutoPick(g, host);
  if (count == 0) return;
  const int c = static_cast<int>(g.activeTab);
  int64_t totalHeat = 0;
  for (int k = 1; k <= kNumbers; ++k) totalHeat += g.heatCounts[k];
  if (totalHeat == 0) {
    FillRandom(g, host, c, count);
  } else {
    FillHot(g, c, count);
  }
  Finish(g);
}

void AutoPickRandom(GameState& g, Host& host) {
  const int count = BeginAutoPick(g, host);
  if (count == 0) return;
  FillRandom(g, host, static_cast<int>(g.activeTab), count);
  Finish(g);
}

}  // namespace rules
