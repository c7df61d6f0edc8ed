// Auto-pick: the spot count kept, hot numbers with ties to the lowest, the random fill while no
// ball has been drawn, and a pick made while a draw is running.
#include "rules/autopick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rules/draw.h"
#include "rules/random.h"
#include "rules_fixture.h"

namespace rules_test {
namespace {

std::vector<int> Picks(const rules::Card& card) {
  std::vector<int> picks;
  for (int n = 1; n <= rules::kNumbers; ++n) {
    if (card.picked[n]) picks.push_back(n);
  }
  return picks;
}

using AutoPickFn = void (*)(rules::GameState&, rules::Host&);

class AutoPick : public RulesTest, public ::testing::WithParamInterface<AutoPickFn> {
 protected:
  void SetUp() override {
    RulesTest::SetUp();
    rules::SeedFallbackRandom(g, 3);
    g.heatCounts[9] = 2;  // some heat, so the hot variant does not fall back to random
  }
};

TEST_P(AutoPick, MainTabIsRefusedAndNothingChanges) {
  Pick(2, {4, 5, 6});
  g.activeTab = 0;
  const rules::GameState before = g;
  GetParam()(g, host);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "Auto-Pick");
  EXPECT_EQ(host.dialogs[0].text, "Please select a Card 1-4 tab first.");
  for (int c = 1; c <= rules::kCards; ++c) EXPECT_EQ(Picks(g.cards[c]), Picks(before.cards[c]));
}

// The card keeps its spot count (8 when empty); hits go with the old picks; the derived counts
// follow the new picks.
TEST_P(AutoPick, KeepsTheSpotCount) {
  for (auto [before, after] : {std::pair{0, 8}, std::pair{3, 3}, std::pair{12, 12}}) {
    SCOPED_TRACE(before);
    rules::ClearCard(g, 2);
    PickRange(2, 60, before);
    HitFirst(2, before);
    rules::SelectTab(g, 2);
    GetParam()(g, host);
    const rules::Card& card = g.cards[2];
    EXPECT_EQ(card.pickCount, after);
    EXPECT_EQ(static_cast<int64_t>(Picks(card).size()), after);
    EXPECT_EQ(card.hitCount, 0);
    for (int n = 1; n <= rules::kNumbers; ++n) {
      EXPECT_EQ(card.hit[n], 0);
      EXPECT_EQ(g.numberCardCount[n], card.picked[n]);
    }
    EXPECT_EQ(g.progressiveEligible, after >= 10 ? 1 : 0);
  }
  EXPECT_TRUE(host.dialogs.empty());
  EXPECT_EQ(g.savePending, 0) << "picks are saved with the next draw";
}

// The card keeps its spot count, so the 10-pick line is crossed only by a flag left stale by some
// other change; either way auto-pick leaves it matching the cards: 9 picks no, 10 picks yes.
TEST_P(AutoPick, LeavesProgressiveEligibilityMatchingTheCards) {
  for (auto [spots, eligible] : {std::pair{9, 0}, std::pair{10, 1}}) {
    SCOPED_TRACE(spots);
    rules::ClearCard(g, 3);
    PickRange(3, 30, spots);
    g.progressiveEligible = 1 - eligible;
    rules::SelectTab(g, 3);
    GetParam()(g, host);
    EXPECT_EQ(g.cards[3].pickCount, spots);
    EXPECT_EQ(g.progressiveEligible, eligible);
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, AutoPick,
                         ::testing::Values(&rules::AutoPickHot, &rules::AutoPickRandom),
                         [](const ::testing::TestParamInfo<AutoPickFn>& info) {
                           return std::string(info.param == &rules::AutoPickHot ? "Hot" : "Random");
                         });

// Before any ball of this run the hot pick has nothing to go on and picks as the random one does.
TEST_F(RulesTest, HotPickWithNoHeatIsTheRandomPick) {
  rules::SelectTab(g, 1);
  rules::SeedFallbackRandom(g, 77);
  rules::AutoPickRandom(g, host);
  const std::vector<int> random = Picks(g.cards[1]);
  rules::ClearCard(g, 1);
  rules::SeedFallbackRandom(g, 77);
  rules::AutoPickHot(g, host);
  EXPECT_EQ(Picks(g.cards[1]), random);
  EXPECT_NE(random, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(RulesTest, HotPickTakesTheHottestAndTiesGoToTheLowest) {
  g.heatCounts[50] = 3;
  g.heatCounts[30] = 2;
  g.heatCounts[20] = 2;
  g.heatCounts[10] = 2;
  g.heatCounts[5] = 1;
  Pick(4, {77, 78, 79});
  rules::SelectTab(g, 4);
  rules::AutoPickHot(g, host);
  EXPECT_EQ(Picks(g.cards[4]), (std::vector<int>{10, 20, 50}));
}

// After one draw every drawn number has heat 1: an empty card takes the 8 lowest drawn ones.
TEST_F(RulesTest, HotPickAfterOneDrawTakesTheLowestDrawnNumbers) {
  Pick(1, {1});
  ScriptDraw({44, 12, 70, 3, 61, 25, 8, 39, 16, 55});
  rules::StartDraw(g, host);
  FinishDraw();
  std::vector<int> drawn(std::begin(g.drawSequence), std::end(g.drawSequence));
  std::sort(drawn.begin(), drawn.end());
  rules::SelectTab(g, 2);
  rules::AutoPickHot(g, host);
  EXPECT_EQ(Picks(g.cards[2]), std::vector<int>(drawn.begin(), drawn.begin() + 8));
}

// Mid-draw, with 5 balls out in the run's first draw, a 12-spot card takes those 5 and the 7
// lowest numbers not yet drawn; the balls still to come are matched against the new picks.
// During a draw the card in play keeps the picks it was bought with; a card sitting the draw out
// can be filled from the balls revealed so far, which show as its hits at once, and the balls
// still to come count for it too.
TEST_F(RulesTest, HotPickDuringADrawSparesTheCardInPlayAndFillsOneSittingOut) {
  PickRange(3, 69, 12);
  ScriptDraw({70, 71, 72, 73, 74, 3, 9});
  rules::StartDraw(g, host);
  for (int ball = 1; ball <= 5; ++ball) {
    host.Advance(g.ballDelayMs);
    rules::RevealTick(g, host, host.now);
  }
  ASSERT_EQ(g.cards[3].hitCount, 5);
  rules::SelectTab(g, 3);
  rules::AutoPickHot(g, host);
  EXPECT_EQ(Picks(g.cards[3]), (std::vector<int>{69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80}));
  EXPECT_EQ(g.cards[3].hitCount, 5);
  EXPECT_EQ(g.statusTitle, "PICKS LOCKED");
  EXPECT_EQ(g.statusMessage, "Change Card 3 after the draw");

  rules::SelectTab(g, 4);
  rules::AutoPickHot(g, host);
  EXPECT_EQ(Picks(g.cards[4]), (std::vector<int>{1, 2, 3, 70, 71, 72, 73, 74}));
  EXPECT_EQ(g.cards[4].hitCount, 5);
  EXPECT_EQ(g.cards[4].hit[70], 1);
  host.Advance(g.ballDelayMs);
  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(g.cards[4].hit[3], 1);
  EXPECT_EQ(g.cards[4].hitCount, 6);
}

// After a draw, auto-picked numbers that were drawn show as hits, as clicked ones do: the card
// reads as green cells and the hits count, not as red cells with 0 hits.
TEST_P(AutoPick, MarksPicksAlreadyDrawnAsHits) {
  Pick(1, {1});
  ScriptDraw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
  rules::StartDraw(g, host);
  FinishDraw();
  rules::SelectTab(g, 2);
  GetParam()(g, host);
  const rules::Card& card = g.cards[2];
  int64_t drawnPicks = 0;
  for (int n = 1; n <= rules::kNumbers; ++n) {
    if (!card.picked[n]) continue;
    EXPECT_EQ(card.hit[n], g.drawn[n]) << "number " << n;
    drawnPicks += g.drawn[n];
  }
  EXPECT_GT(drawnPicks, 0) << "the case needs drawn numbers among the new picks";
  EXPECT_EQ(card.hitCount, drawnPicks);
}

// Under auto-run a card in play is in play again as soon as the draw ends: the notice says what
// lets the player change it.
TEST_F(RulesTest, LockedNoticeUnderAutoRunSaysToStopIt) {
  Pick(2, {5});
  rules::StartDraw(g, host);
  g.autoRun = 1;
  rules::SelectTab(g, 2);
  rules::AutoPickRandom(g, host);
  EXPECT_EQ(g.statusTitle, "PICKS LOCKED");
  EXPECT_EQ(g.statusMessage, "Stop auto-run to change Card 2");
}

// A card filled in the middle of a draw never paid for that draw, so the draw does not pay it,
// nor count it for or against the card; from the next draw on it plays as usual.
TEST_F(RulesTest, CardFilledDuringADrawSitsThatDrawOut) {
  Pick(1, {1});
  ScriptDraw({70, 71, 72, 73, 74, 75, 76, 77});
  rules::StartDraw(g, host);
  ASSERT_EQ(g.drawCost, 1);
  for (int n = 70; n <= 77; ++n) {  // eight numbers the draw is about to reveal
    g.cards[2].picked[n] = 1;
    g.cards[2].pickCount++;
  }
  const int64_t ledger = Ledger(g);
  FinishDraw();
  EXPECT_EQ(g.cardWin[2], 0);
  EXPECT_EQ(g.cardNet[2], 0);
  EXPECT_EQ(g.cardWinCount[2] + g.cardLossCount[2], 0);
  EXPECT_EQ(Ledger(g), ledger);

  ScriptDraw({});
  rules::StartDraw(g, host);
  EXPECT_EQ(g.drawCost, 2);
}

}  // namespace
}  // namespace rules_test
