// The shared operations on the game record: tabs, set and full resets, derived counts.
#include <gtest/gtest.h>

#include "rules/game_state.h"
#include "rules/paytable.h"
#include "support/fake_host.h"

namespace {

void Pick(rules::GameState& g, int card, std::initializer_list<int> numbers) {
  for (int n : numbers) {
    g.cards[card].picked[n] = 1;
    g.cards[card].pickCount++;
  }
}

TEST(SelectTab, CardTabsHideTheHeatMapMainKeepsIt) {
  rules::GameState g;
  g.heatMapOn = 1;
  rules::SelectTab(g, 0);
  EXPECT_EQ(g.heatMapOn, 1);
  rules::SelectTab(g, 2);
  EXPECT_EQ(g.activeTab, 2);
  EXPECT_EQ(g.heatMapOn, 0);
}

TEST(DerivedCounts, NumberCardsAndProgressiveEligibility) {
  rules::GameState g;
  Pick(g, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  Pick(g, 3, {5, 80});
  rules::RecountNumberCards(g);
  rules::UpdateProgressiveEligible(g);
  EXPECT_EQ(g.numberCardCount[5], 2);
  EXPECT_EQ(g.numberCardCount[80], 1);
  EXPECT_EQ(g.numberCardCount[11], 0);
  EXPECT_EQ(g.progressiveEligible, 1);

  g.cards[1].picked[10] = 0;  // nine picks left: no card reaches ten
  g.cards[1].pickCount--;
  rules::UpdateProgressiveEligible(g);
  EXPECT_EQ(g.progressiveEligible, 0);
}

// A game in the middle of a session: money, settings, statistics and marks all non-default.
rules::GameState PlayedGame() {
  rules::GameState g;
  rules::FillPayTables(g);
  g.balance = 4321;
  g.genWon = 11, g.genBet = 22, g.casWon = 33, g.casBet = 44;
  g.progressivePot = 25600;
  g.payMode = rules::CASINO;
  rules::RefreshActivePayTable(g);
  g.speed = 5;
  g.betPerCard = g.betSetting = 7;
  g.soundOn = 0;
  g.heatCounts[17] = 3;
  g.runs = 9, g.setWon = 50, g.setCost = 60, g.drawCost = 14;
  Pick(g, 2, {17, 18, 19, 20, 21, 22, 23, 24, 25, 26});
  g.cards[2].hit[17] = 1;
  g.cards[2].hitCount = 1;
  g.drawn[17] = 1;
  g.cardWin[2] = 5, g.cardNet[2] = -3, g.cardWinCount[2] = 1, g.cardLossCount[2] = 2;
  g.autoRun = 1;
  g.autoNextPending = 1;
  rules::RecountNumberCards(g);
  rules::UpdateProgressiveEligible(g);
  return g;
}

TEST(ResetSet, ClearsTheSetKeepsMoneySettingsAndHeat) {
  rules::GameState g = PlayedGame();
  rules::ResetSet(g);
  EXPECT_EQ(g.cards[2].pickCount, 0);
  EXPECT_EQ(g.cards[2].picked[17], 0);
  EXPECT_EQ(g.cards[2].hit[17], 0);
  EXPECT_EQ(g.drawn[17], 0);
  EXPECT_EQ(g.numberCardCount[17], 0);
  EXPECT_EQ(g.runs + g.setWon + g.setCost + g.drawCost, 0);
  EXPECT_EQ(g.cardWin[2] + g.cardNet[2] + g.cardWinCount[2] + g.cardLossCount[2], 0);
  EXPECT_EQ(g.progressiveEligible, 0);

  EXPECT_EQ(g.balance, 4321);
  EXPECT_EQ(g.genWon + g.genBet + g.casWon + g.casBet, 110);
  EXPECT_EQ(g.progressivePot, 25600);
  EXPECT_EQ(g.payMode, rules::CASINO);
  EXPECT_EQ(g.speed, 5);
  EXPECT_EQ(g.betPerCard, 7);
  EXPECT_EQ(g.soundOn, 0);
  EXPECT_EQ(g.heatCounts[17], 3);
}

TEST(FullReset, BackToFirstStartButSoundAndSaveFileGone) {
  rules::GameState g = PlayedGame();
  g.activeTab = 0;
  testing_support::FakeHost host;
  rules::FullReset(g, host);
  EXPECT_EQ(host.saveFileDeletes, 1);
  EXPECT_EQ(g.autoRun, 0);
  EXPECT_EQ(g.autoNextPending, 0);
  EXPECT_EQ(g.balance, 1000);
  EXPECT_EQ(g.genWon + g.genBet + g.casWon + g.casBet, 0);
  EXPECT_EQ(g.betPerCard, 1);
  EXPECT_EQ(g.betSetting, 1);
  EXPECT_EQ(g.payMode, rules::GENEROUS);
  EXPECT_EQ(g.payTableActive[12][12], 1000000);  // the active table follows the mode
  EXPECT_EQ(g.progressivePot, 25000);
  EXPECT_EQ(g.speed, 3);
  EXPECT_EQ(g.heatCounts[17], 0);
  EXPECT_EQ(g.cards[2].pickCount, 0);
  EXPECT_EQ(g.activeTab, 1);
  EXPECT_EQ(g.soundOn, 0);
}

}  // namespace
