// The progressive pot (growth per draw, the win and its box) and the consolation prize shared
// among big cards that caught nothing.
#include "rules/prizes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "rules/draw.h"
#include "rules/random.h"
#include "rules_fixture.h"

namespace rules_test {
namespace {

TEST_F(RulesTest, PotGrowsTwoDollarsPerTenSpotCardWhateverTheBetOrMode) {
  PickRange(1, 1, 10);
  PickRange(2, 21, 12);
  PickRange(3, 41, 4);
  g.betPerCard = 10;
  g.payMode = rules::CASINO;
  rules::RefreshActivePayTable(g);
  rules::SeedFallbackRandom(g, 5);
  for (int draw = 1; draw <= 3; ++draw) {
    rules::StartDraw(g, host);
    EXPECT_EQ(g.progressivePot, rules::kProgressiveSeed + 4 * draw);
    FinishDraw();
  }
  rules::ClearCard(g, 1);
  rules::ClearCard(g, 2);
  rules::StartDraw(g, host);
  EXPECT_EQ(g.progressivePot, rules::kProgressiveSeed + 12) << "a 4-spot card adds nothing";
}

// The pot is stored in 32 bits; at its ceiling it stops growing instead of wrapping negative.
TEST_F(RulesTest, PotStopsAtItsCeiling) {
  PickRange(1, 1, 10);
  PickRange(2, 21, 10);
  g.progressivePot = std::numeric_limits<int32_t>::max() - 1;
  rules::GrowProgressive(g);
  EXPECT_EQ(g.progressivePot, std::numeric_limits<int32_t>::max());
}

class Progressive : public RulesTest {
 protected:
  void FullMatch(int card, int first, int spots) {
    PickRange(card, first, spots);
    HitFirst(card, spots);
  }
};

// The whole road: the draw grows the pot, then a full 10-spot match wins it, grown share included.
TEST_F(Progressive, TenSpotFullMatchPaysTableAndPot) {
  PickRange(1, 1, 10);
  ScriptDraw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  g.autoRun = 1;
  g.activeTab = 0;
  const int64_t ledgerBefore = Ledger(g);
  rules::StartDraw(g, host);
  ASSERT_EQ(g.progressivePot, 25002);
  FinishDraw();

  ASSERT_EQ(host.dialogs.size(), 1u) << "no JACKPOT! box beside the progressive one";
  EXPECT_EQ(host.dialogs[0].title, "PROGRESSIVE JACKPOT HIT!!!");
  EXPECT_EQ(host.dialogs[0].text,
            "Card 1 matched ALL 10 numbers!\n\nYou win the PROGRESSIVE JACKPOT of $25002!\n"
            "Total payout this draw: $225002");
  EXPECT_EQ(host.fanfares, 1);
  EXPECT_EQ(g.progressivePot, rules::kProgressiveSeed);
  EXPECT_EQ(g.balance, rules::kStartingBalance - 1 + 225002);
  EXPECT_EQ(g.genWon, 225002);
  EXPECT_EQ(Ledger(g), ledgerBefore);
  EXPECT_EQ(g.setWon, 200000) << "the pot is not part of the set's wins";
  EXPECT_EQ(g.cardWin[1], 200000);
  EXPECT_EQ(g.cardNet[1], 199999);
  EXPECT_EQ(g.autoRun, 0);
  EXPECT_EQ(g.autoNextPending, 0);
  EXPECT_EQ(g.activeTab, 1);
}

TEST_F(Progressive, TwoFullTenSpotCardsWinThePotOnce) {
  FullMatch(1, 1, 10);
  FullMatch(2, 21, 10);
  Evaluate();
  EXPECT_EQ(g.balance, rules::kStartingBalance + 2 * 200000 + 25000);
  EXPECT_EQ(g.genWon, 2 * 200000 + 25000);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].text,
            "Card 2 matched ALL 10 numbers!\n\nYou win the PROGRESSIVE JACKPOT of $25000!\n"
            "Total payout this draw: $225000");
}

// The box names the highest full card of 5+ spots, even when that card is not the 10-spot one.
TEST_F(Progressive, BoxNamesTheHighestFullCardInCasinoMode) {
  g.payMode = rules::CASINO;
  rules::RefreshActivePayTable(g);
  g.progressivePot = 30000;
  FullMatch(1, 1, 10);
  FullMatch(3, 41, 6);
  Evaluate();
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "PROGRESSIVE JACKPOT HIT!!!");
  EXPECT_EQ(host.dialogs[0].text,
            "Card 3 matched ALL 6 numbers!\n\nYou win the PROGRESSIVE JACKPOT of $30000!\n"
            "Total payout this draw: $31500");
  EXPECT_EQ(g.casWon, 100000 + 1500 + 30000);
  EXPECT_EQ(g.genWon, 0);
  EXPECT_EQ(g.activeTab, 3);
}

// A pot near its ceiling plus a top prize must not print as a negative total.
TEST_F(Progressive, TotalBeyondThirtyTwoBitsIsReportedInFull) {
  g.betPerCard = 10;
  g.progressivePot = std::numeric_limits<int32_t>::max();
  FullMatch(1, 1, 12);
  Evaluate();
  ASSERT_EQ(host.dialogs.size(), 1u);
  const std::string total = std::to_string(int64_t{std::numeric_limits<int32_t>::max()} + 10000000);
  EXPECT_NE(host.dialogs[0].text.find("Total payout this draw: $" + total), std::string::npos)
      << host.dialogs[0].text;
}

// The progressive starts at 10 spots: a 9-spot card neither grows the pot nor wins it, even a full
// match beside an unfinished 10-spot card; 10 spots does both.
struct BoundaryCase {
  const char* name;
  std::vector<std::pair<int, int>> cards;  // [first, count] picks of cards 1, 2, ...
  int fullCard;                            // the card whose picks are drawn first
  int64_t potAfterStart;
  std::string box;  // title of the one box of the draw
  int64_t won;      // table wins plus any pot
  int64_t potAfterDraw;
};
void PrintTo(const BoundaryCase& c, std::ostream* os) { *os << c.name; }

class ProgressiveBoundary : public RulesTest, public ::testing::WithParamInterface<BoundaryCase> {};

TEST_P(ProgressiveBoundary, TenSpotsGrowAndWinThePotNineDoNeither) {
  const BoundaryCase& c = GetParam();
  for (size_t i = 0; i < c.cards.size(); ++i) {
    PickRange(static_cast<int>(i) + 1, c.cards[i].first, c.cards[i].second);
  }
  const auto [first, count] = c.cards[c.fullCard - 1];
  std::vector<int64_t> full;
  for (int n = first; n < first + count; ++n) full.push_back(n);
  ScriptDraw(full);

  rules::StartDraw(g, host);
  EXPECT_EQ(g.progressivePot, c.potAfterStart);
  FinishDraw();

  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, c.box);
  EXPECT_EQ(g.genWon, c.won);
  EXPECT_EQ(g.progressivePot, c.potAfterDraw);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressiveBoundary,
    ::testing::Values(
        BoundaryCase{"NineSpotsFull", {{1, 9}}, 1, 25000, "JACKPOT!", 50000, 25000},
        BoundaryCase{"TenSpotsFull", {{1, 10}}, 1, 25002, "PROGRESSIVE JACKPOT HIT!!!",
                     200000 + 25002, 25000},
        BoundaryCase{"NineFullBesideTenUnfinished", {{21, 10}, {1, 9}}, 2, 25002, "JACKPOT!",
                     50000, 25002}),
    [](const ::testing::TestParamInfo<BoundaryCase>& info) {
      return std::string(info.param.name);
    });
// clang-format on

struct ConsolationCase {
  const char* name;
  std::vector<std::vector<int>> cards;  // picks of cards 1..4 as [first, count] ranges
  int hitCard;                          // a card given one hit (that pays nothing), 0 for none
  std::vector<int64_t> paid;            // cardWin per card 1..4; empty: no consolation
  std::string notice;
};
void PrintTo(const ConsolationCase& c, std::ostream* os) { *os << c.name; }

class Consolation : public RulesTest, public ::testing::WithParamInterface<ConsolationCase> {};

TEST_P(Consolation, SharesAThousandAmongBigCardsThatCaughtNothing) {
  const ConsolationCase& c = GetParam();
  for (size_t i = 0; i < c.cards.size(); ++i) {
    if (!c.cards[i].empty()) PickRange(static_cast<int>(i) + 1, c.cards[i][0], c.cards[i][1]);
  }
  if (c.hitCard) HitFirst(c.hitCard, 1);
  g.payMode = rules::CASINO;
  rules::RefreshActivePayTable(g);
  host.now = 4242;
  const int64_t ledgerBefore = Ledger(g);

  Evaluate();

  EXPECT_EQ(Ledger(g), ledgerBefore);
  EXPECT_TRUE(host.dialogs.empty());
  EXPECT_EQ(host.winJingles + host.fanfares, 0);
  if (c.paid.empty()) {
    EXPECT_EQ(g.balance, rules::kStartingBalance);
    EXPECT_TRUE(g.statusMessage.empty());
    EXPECT_EQ(g.savePending, 0);
    return;
  }
  int64_t total = 0;
  for (int card = 1; card <= 4; ++card) {
    SCOPED_TRACE("card " + std::to_string(card));
    const int64_t amount = c.paid[card - 1];
    EXPECT_EQ(g.cardWin[card], amount);
    if (amount == 0) continue;
    EXPECT_EQ(g.cardNet[card], amount - 1);
    EXPECT_EQ(g.cardWinCount[card], 1);
    EXPECT_EQ(g.cardLossCount[card], 1) << "the loss counted before the consolation stays";
    total += amount;
  }
  EXPECT_EQ(total, 1000);
  EXPECT_EQ(g.balance, rules::kStartingBalance + 1000);
  EXPECT_EQ(g.setWon, 1000);
  EXPECT_EQ(g.casWon, 1000);
  EXPECT_EQ(g.statusMessage, c.notice);
  EXPECT_EQ(g.statusMessageTime, 4242);
  EXPECT_EQ(g.savePending, 1);
  EXPECT_EQ(g.saveRequestTime, 4242);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, Consolation,
    ::testing::Values(
        // 7, 8 and 8 picks over 20 distinct numbers: the remainder goes to the first card.
        ConsolationCase{"ThreeCards", {{1, 7}, {5, 8}, {13, 8}}, 0, {334, 333, 333, 0},
                        "$333/card consolation paid"},
        ConsolationCase{"ThreeCardsFromCardTwo", {{}, {1, 7}, {21, 7}, {41, 7}}, 0,
                        {0, 334, 333, 333}, "$333/card consolation paid"},
        ConsolationCase{"TwoCardsExactlyFifteen", {{1, 7}, {8, 8}}, 0, {500, 500, 0, 0},
                        "$500/card consolation paid"},
        ConsolationCase{"FourCards", {{1, 7}, {11, 7}, {21, 12}, {41, 9}}, 0,
                        {250, 250, 250, 250}, "$250/card consolation paid"},
        ConsolationCase{"SameSevenTwice", {{1, 7}, {1, 7}}, 0, {}, ""},
        ConsolationCase{"FourteenDistinct", {{1, 7}, {8, 7}}, 0, {}, ""},
        ConsolationCase{"SixSpotCardSpoilsIt", {{1, 6}, {11, 12}}, 0, {}, ""},
        ConsolationCase{"OneUnpaidHitSpoilsIt", {{1, 8}, {11, 8}}, 2, {}, ""},
        ConsolationCase{"OneBigCardAlone", {{1, 12}}, 0, {}, ""}),
    [](const ::testing::TestParamInfo<ConsolationCase>& info) {
      return std::string(info.param.name);
    });
// clang-format on

}  // namespace
}  // namespace rules_test
