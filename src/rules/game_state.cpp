// Shared state operations on the game record.
#include "rules/game_state.h"

#include <cstring>

#include "rules/paytable.h"

namespace rules {

void BookStake(GameState& g, int64_t amount) {
  (g.stakeMode == CASINO ? g.casBet : g.genBet) += amount;
}

void BookWin(GameState& g, int64_t amount) {
  (g.stakeMode == CASINO ? g.casWon : g.genWon) += amount;
}

void RestoreFirstStartSettings(GameState& g) {
  const GameState first;
  g.balance = first.balance;
  g.genWon = first.genWon;
  g.genBet = first.genBet;
  g.casWon = first.casWon;
  g.casBet = first.casBet;
  g.betPerCard = g.betSetting = first.betPerCard;
  g.payMode = first.payMode;
  g.progressivePot = g.progressiveSeed;
  g.speed = first.speed;
  g.soundOn = first.soundOn;
}

void ClearCard(GameState& g, int n) {
  Card& c = g.cards[n];
  for (int k = 1; k <= kNumbers; ++k) {
    if (c.picked[k] && g.numberCardCount[k] > 0) g.numberCardCount[k] -= 1;
  }
  std::memset(c.picked, 0, sizeof c.picked);
  std::memset(c.hit, 0, sizeof c.hit);
  c.pickCount = 0;
  c.hitCount = 0;
}

void SetPick(GameState& g, int card, int64_t n, bool on) {
  if (card < 1 || card > kCards || n < 1 || n > kNumbers) return;
  Card& c = g.cards[card];
  if ((c.picked[n] != 0) == on) return;
  c.picked[n] = on ? 1 : 0;
  c.pickCount += on ? 1 : -1;
  if (on) {
    g.numberCardCount[n] += 1;
  } else if (g.numberCardCount[n] > 0) {
    g.numberCardCount[n] -= 1;
  }
  if (!on && c.hit[n]) {
    c.hit[n] = 0;
    if (c.hitCount > 0) c.hitCount -= 1;
  }
  UpdateProgressiveEligible(g);
}

void SetStatus(GameState& g, const std::string& title, const std::string& text, int64_t nowMs) {
  g.statusTitle = title;
  g.statusMessage = text;
  g.statusMessageTime = nowMs;
}

void RecountNumberCards(GameState& g) {
  for (int n = 1; n <= kNumbers; ++n) {
    uint8_t count = 0;
    for (int c = 1; c <= kCards; ++c) count += g.cards[c].picked[n] ? 1 : 0;
    g.numberCardCount[n] = count;
  }
}

void UpdateProgressiveEligible(GameState& g) {
  g.progressiveEligible = 0;
  for (int c = 1; c <= kCards; ++c) {
    if (g.cards[c].pickCount >= kProgressiveMinSpots) g.progressiveEligible = 1;
  }
}

void SelectTab(GameState& g, int64_t tab) {
  g.activeTab = tab;
  if (tab >= 1 && tab <= kCards) g.heatMapOn = 0;
}

void RequestSave(GameState& g, int64_t nowMs) {
  g.savePending = 1;
  g.saveRequestTime = nowMs;
}

void StopAutoRun(GameState& g) {
  g.autoRun = 0;
  g.autoNextPending = 0;
}

void ResetSet(GameState& g) {
  std::memset(g.drawn, 0, sizeof g.drawn);
  std::memset(g.numberCardCount, 0, sizeof g.numberCardCount);
  g.runs = 0;
  g.drawCost = 0;
  g.setWon = 0;
  g.setCost = 0;
  for (int c = 1; c <= kCards; ++c) {
    ClearCard(g, c);
    g.cardWin[c] = 0;
    g.cardNet[c] = 0;
    g.cardWinCount[c] = 0;
    g.cardLossCount[c] = 0;
  }
  g.progressiveEligible = 0;
}

void FullReset(GameState& g, Host& host) {
  StopAutoRun(g);
  g.pendingNewGame = NewGameChoice::kNone;
  host.DeleteSaveFile();
  g.recall = Recall{};
  host.StoreRecall();
  const int64_t sound = g.soundOn;  // the one setting a full reset leaves as the player set it
  RestoreFirstStartSettings(g);
  g.soundOn = sound;
  ResetSet(g);
  std::memset(g.heatCounts, 0, sizeof g.heatCounts);
  RefreshActivePayTable(g);
  UpdateProgressiveEligible(g);
  SelectTab(g, 1);
}

namespace {

void StartNewGame(GameState& g, Host& host, NewGameChoice choice) {
  g.pendingNewGame = NewGameChoice::kNone;
  if (choice == NewGameChoice::kClearPicks) {
    StopAutoRun(g);
    ResetSet(g);
    host.SaveGame();
    SelectTab(g, 1);
  } else if (choice == NewGameChoice::kFullReset) {
    FullReset(g, host);
  }
}

}  // namespace

void AnswerNewGame(GameState& g, Host& host, NewGameChoice choice, int64_t nowMs) {
  if (choice == NewGameChoice::kNone) return;
  if (!g.drawInProgress) {
    StartNewGame(g, host, choice);
    return;
  }
  // Clearing the cards now would leave the draw they paid for with nothing to pay.
  StopAutoRun(g);
  g.pendingNewGame = choice;
  SetStatus(g, kNewGameWaitTitle, kNewGameWaitText, nowMs);
}

void ApplyPendingNewGame(GameState& g, Host& host) {
  if (g.pendingNewGame == NewGameChoice::kNone) return;
  if (g.statusTitle == kNewGameWaitTitle) {
    g.statusMessage.clear();
    g.statusTitle.clear();
  }
  StartNewGame(g, host, g.pendingNewGame);
}

void NoticePendingNewGame(GameState& g, int64_t nowMs) {
  if (g.pendingNewGame != NewGameChoice::kNone && g.drawInProgress && g.statusMessage.empty()) {
    SetStatus(g, kNewGameWaitTitle, kNewGameWaitText, nowMs);
  }
}

}  // namespace rules
