// Draw, reveal and evaluation of one game, and the auto-run chain between games.
// Money moves only here and in prizes/funds, always together with the lifetime figures.
#include "rules/draw.h"

#include <cstring>
#include <string>

#include "rules/funds.h"
#include "rules/paytable.h"
#include "rules/prizes.h"
#include "rules/random.h"
#include "rules/recall.h"

namespace rules {
namespace {

bool AnyCardPlaying(const GameState& g) {
  for (int c = 1; c <= kCards; ++c) {
    if (g.cards[c].pickCount >= 1) return true;
  }
  return false;
}

void DrawSequence(GameState& g, Host& host) {
  for (int d = 0; d < kBallsPerDraw; ++d) {
    const int64_t r = RandomUnusedNumber(g, host, g.drawn);
    g.drawn[r] = 1;
    g.drawSequence[d] = r;
  }
  // The flags come back one by one as the balls are revealed.
  std::memset(g.drawn, 0, sizeof g.drawn);
}

void RevealBall(GameState& g, Host& host) {
  const int64_t n = g.drawSequence[g.ballsRevealed];
  g.drawn[n] = 1;
  g.heatCounts[n] += 1;
  g.ballsRevealed += 1;
  bool anyHit = false;
  for (int c = 1; c <= kCards; ++c) {
    Card& card = g.cards[c];
    if (!card.picked[n]) continue;
    card.hit[n] = 1;
    card.hitCount += 1;
    anyHit = true;
  }
  // One tick per ball, however many cards it hits.
  if (anyHit) host.PlayHitTick();
  host.StartBallDrop(g.ballsRevealed);
}

void EndGame(GameState& g, Host& host, int64_t nowMs) {
  g.drawInProgress = 0;
  g.runs += 1;
  EvaluateDraw(g, host);
  // Paid, its boxes answered, its prizes settled: the draw is finished and joins the recall.
  RecordDraw(g, g.recall, host.UnixSeconds());
  host.StoreRecall();
  RequestSave(g, nowMs);
  // The draw has paid as staked: a New Game answered meanwhile starts now, and stops auto-run.
  ApplyPendingNewGame(g, host);
  if (!g.autoRun) return;
  if (g.speed >= kFirstUnpausedSpeed && g.speed <= kMaxSpeed) {
    StartDraw(g, host);
  } else {
    g.autoNextPending = 1;
    g.autoNextTime = nowMs;
  }
}

}  // namespace

int64_t BallDelayForSpeed(int64_t speed) {
  constexpr int64_t kDelayMs[kMaxSpeed - kMinSpeed + 1] = {1250, 900, 550, 250, 80};
  return speed >= kMinSpeed && speed <= kMaxSpeed ? kDelayMs[speed - kMinSpeed] : 0;
}

void StartDraw(GameState& g, Host& host) {
  if (g.drawInProgress) return;
  SelectTab(g, 0);
  if (!AnyCardPlaying(g)) {
    host.ShowMessage("No Numbers Chosen",
                     "Please select numbers on at least one card before drawing.", Buttons::Ok,
                     Icon::None);
    // A hold that asked for auto-run with nothing to draw must not leave it on, drawing nothing.
    StopAutoRun(g);
    SelectTab(g, 1);
    return;
  }

  g.drawCost = 0;
  for (int c = 1; c <= kCards; ++c) {
    g.cardWin[c] = 0;
    g.cardCharged[c] = g.cards[c].pickCount >= 1 ? 1 : 0;
    if (g.cardCharged[c]) g.drawCost += g.betPerCard;
  }
  if (!FundsCheck(g, host, g.drawCost)) return;

  g.stakeBet = g.betPerCard;
  g.stakeMode = g.payMode;
  g.balance -= g.drawCost;
  g.setCost += g.drawCost;
  BookStake(g, g.drawCost);
  GrowProgressive(g);

  std::memset(g.drawn, 0, sizeof g.drawn);
  for (int c = 1; c <= kCards; ++c) {
    g.cards[c].hitCount = 0;
    std::memset(g.cards[c].hit, 0, sizeof g.cards[c].hit);
  }
  g.ballsRevealed = 0;
  host.ResetBallAnimation();
  DrawSequence(g, host);

  if (const int64_t delay = BallDelayForSpeed(g.speed); delay > 0) g.ballDelayMs = delay;
  // A notice keeps its full time whatever starts meanwhile: at speeds 4 and 5 the next draw
  // begins in the very frame a consolation is announced.
  g.drawInProgress = 1;
  // Read the clock only now: the funds box may have held the game for a while.
  g.lastBallTime = host.NowMs() - g.ballDelayMs - 1;
}

void RevealTick(GameState& g, Host& host, int64_t nowMs) {
  if (!g.drawInProgress || nowMs - g.lastBallTime < g.ballDelayMs) return;
  g.lastBallTime = nowMs;
  if (g.ballsRevealed >= kBallsPerDraw) {
    EndGame(g, host, nowMs);
  } else {
    RevealBall(g, host);
  }
}

void AutoRunTick(GameState& g, Host& host, int64_t nowMs) {
  if (!g.autoNextPending || nowMs - g.autoNextTime < kAutoRunPauseMs) return;
  g.autoNextPending = 0;
  if (g.autoRun) StartDraw(g, host);
}

void EvaluateDraw(GameState& g, Host& host) {
  g.jackpotCard = 0;
  g.progressivePaid = 0;
  bool anyWin = false;
  bool anyFullMatch = false;
  bool progressiveHit = false;

  for (int i = 1; i <= kCards; ++i) {
    const int64_t s = PlayingSpots(g, i);
    const int64_t h = g.cards[i].hitCount;
    // Paid at the bet and on the table the draw was staked at, and booked to that mode.
    g.cardWin[i] = PayoutAt(g, g.stakeMode, g.stakeBet, s, h);
    BookWin(g, g.cardWin[i]);
    g.setWon += g.cardWin[i];
    g.balance += g.cardWin[i];
    if (s >= 1) {
      g.cardNet[i] += g.cardWin[i] - g.stakeBet;
      if (g.cardWin[i] >= 1) g.cardWinCount[i] += 1;
    }
    if (g.cardWin[i] >= 1) {
      anyWin = true;
    } else if (s >= 1) {
      g.cardLossCount[i] += 1;
    }
    if (s >= 1 && h == s) {
      anyFullMatch = true;
      if (s >= 5) g.jackpotCard = i;
      if (s >= kProgressiveMinSpots) progressiveHit = true;
    }
  }

  if (anyFullMatch) {
    host.StartFanfare();
  } else if (anyWin) {
    host.StartWinJingle();
  }

  if (progressiveHit) {
    g.progressivePaid = g.progressivePot;  // the payout resets the pot to its seed
    PayProgressive(g, host);
  } else if (g.jackpotCard >= 1) {
    StopAutoRun(g);
    SelectTab(g, g.jackpotCard);
    host.ShowMessage("JACKPOT!",
                     "Card " + std::to_string(g.jackpotCard) + " matched ALL " +
                         std::to_string(g.cards[g.jackpotCard].pickCount) +
                         " numbers!\n\nPayout: $" + std::to_string(g.cardWin[g.jackpotCard]) +
                         "\nAuto-draw has been stopped.",
                     Buttons::Ok, Icon::None);
  }

  if (!anyWin) PayConsolation(g, host.NowMs());
}

}  // namespace rules
