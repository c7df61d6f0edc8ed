// Shared set-up for the rules tests: a fresh game with its pay tables, a scripted host, and
// helpers to place picks and hits and to play a draw through on the fake clock.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "rules/draw.h"
#include "rules/game_state.h"
#include "rules/paytable.h"
#include "support/fake_host.h"

namespace rules_test {

// What play cannot change without a top-up: stakes leave the balance as lifetime bets, and every
// win (table, consolation, progressive) enters it as lifetime wins.
inline int64_t Ledger(const rules::GameState& g) {
  return g.balance + g.genBet + g.casBet - g.genWon - g.casWon;
}

class RulesTest : public ::testing::Test {
 protected:
  rules::GameState g;
  testing_support::FakeHost host;

  void SetUp() override { rules::FillPayTables(g); }

  void Pick(int card, std::initializer_list<int> numbers) {
    for (int n : numbers) {
      g.cards[card].picked[n] = 1;
      g.cards[card].pickCount += 1;
    }
    g.cardCharged[card] = 1;  // as the draw under evaluation would have; StartDraw sets it anew
    rules::RecountNumberCards(g);
    rules::UpdateProgressiveEligible(g);
  }

  // Picks `count` consecutive numbers from `first` on the card.
  void PickRange(int card, int first, int count) {
    for (int n = first; n < first + count; ++n) {
      g.cards[card].picked[n] = 1;
      g.cards[card].pickCount += 1;
    }
    g.cardCharged[card] = 1;
    rules::RecountNumberCards(g);
    rules::UpdateProgressiveEligible(g);
  }

  // Marks the first `count` picks of the card as hit, as the reveals would have.
  void HitFirst(int card, int count) {
    rules::Card& c = g.cards[card];
    for (int n = 1; n <= rules::kNumbers && count > 0; ++n) {
      if (!c.picked[n]) continue;
      c.hit[n] = 1;
      c.hitCount += 1;
      --count;
    }
  }

  // Makes the next draw reveal `first` in this order, then the highest numbers not among them.
  void ScriptDraw(std::vector<int64_t> first) {
    bool used[rules::kNumbers + 1] = {};
    for (int64_t n : first) used[n] = true;
    for (int n = rules::kNumbers; n >= 1 && first.size() < rules::kBallsPerDraw; --n) {
      if (!used[n]) first.push_back(n);
    }
    g.secureRandomAvailable = 1;
    host.QueueNumbers(first);
  }

  // Evaluates a hand-set draw as though it had been staked at the game's current bet and mode.
  void Evaluate() {
    g.stakeBet = g.betPerCard;
    g.stakeMode = g.payMode;
    rules::EvaluateDraw(g, host);
  }

  // Steps the fake clock one ball delay at a time until the running draw has been evaluated.
  void FinishDraw() {
    for (int step = 0; step < 64 && g.drawInProgress; ++step) {
      host.Advance(g.ballDelayMs);
      rules::RevealTick(g, host, host.now);
    }
    ASSERT_EQ(g.drawInProgress, 0) << "draw did not end";
  }
};

}  // namespace rules_test
