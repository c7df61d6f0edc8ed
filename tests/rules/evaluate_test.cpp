// Paying the cards after the 20th ball: wins and losses per card, the statistics, which cue
// plays, and when the "JACKPOT!" box appears and what it says.
#include <gtest/gtest.h>

#include <string>

#include "rules/draw.h"
#include "rules_fixture.h"

namespace rules_test {
namespace {

enum class Cue { None, Jingle, Fanfare };

struct EvalCase {
  const char* name;
  int64_t mode;
  int64_t bet;
  int spots[5];  // per card 1..4; card c picks from 20 * (c - 1) + 1 upwards
  int hits[5];
  int64_t win[5];
  Cue cue;
  int64_t jackpotCard;
  std::string boxText;  // empty: no box
};
void PrintTo(const EvalCase& c, std::ostream* os) { *os << c.name; }

class Evaluation : public RulesTest, public ::testing::WithParamInterface<EvalCase> {};

TEST_P(Evaluation, PaysScoresAndAnnounces) {
  const EvalCase& c = GetParam();
  g.payMode = c.mode;
  g.betPerCard = c.bet;
  rules::RefreshActivePayTable(g);
  for (int card = 1; card <= 4; ++card) {
    PickRange(card, 20 * (card - 1) + 1, c.spots[card]);
    HitFirst(card, c.hits[card]);
  }
  g.autoRun = 1;
  const int64_t balanceBefore = g.balance;

  Evaluate();

  int64_t totalWin = 0;
  for (int card = 1; card <= 4; ++card) {
    SCOPED_TRACE("card " + std::to_string(card));
    const bool playing = c.spots[card] >= 1;
    EXPECT_EQ(g.cardWin[card], c.win[card]);
    EXPECT_EQ(g.cardNet[card], playing ? c.win[card] - c.bet : 0);
    EXPECT_EQ(g.cardWinCount[card], c.win[card] > 0 ? 1 : 0);
    EXPECT_EQ(g.cardLossCount[card], playing && c.win[card] == 0 ? 1 : 0);
    totalWin += c.win[card];
  }
  EXPECT_EQ(g.balance, balanceBefore + totalWin);
  EXPECT_EQ(g.setWon, totalWin);
  EXPECT_EQ(c.mode == rules::CASINO ? g.casWon : g.genWon, totalWin);
  EXPECT_EQ(c.mode == rules::CASINO ? g.genWon : g.casWon, 0);

  EXPECT_EQ(host.fanfares, c.cue == Cue::Fanfare ? 1 : 0);
  EXPECT_EQ(host.winJingles, c.cue == Cue::Jingle ? 1 : 0);
  EXPECT_EQ(g.jackpotCard, c.jackpotCard);
  if (c.boxText.empty()) {
    EXPECT_TRUE(host.dialogs.empty());
    EXPECT_EQ(g.autoRun, 1);
  } else {
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].title, "JACKPOT!");
    EXPECT_EQ(host.dialogs[0].text, c.boxText);
    EXPECT_EQ(host.dialogs[0].buttons, rules::Buttons::Ok);
    EXPECT_EQ(g.autoRun, 0);
    EXPECT_EQ(g.activeTab, c.jackpotCard);
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cards, Evaluation,
    ::testing::Values(
        EvalCase{"EightSpotsNoHits", rules::GENEROUS, 1, {0, 8, 0, 0, 0}, {0, 0, 0, 0, 0},
                 {0, 0, 0, 0, 0}, Cue::None, 0, ""},
        EvalCase{"FourOfFourAtTwoDollars", rules::GENEROUS, 2, {0, 4, 0, 0, 0}, {0, 4, 0, 0, 0},
                 {0, 200, 0, 0, 0}, Cue::Fanfare, 0, ""},
        EvalCase{"ThreeSpotsTwoHitsCasino", rules::CASINO, 1, {0, 0, 3, 0, 0}, {0, 0, 2, 0, 0},
                 {0, 0, 1, 0, 0}, Cue::Jingle, 0, ""},
        EvalCase{"WinLossAndIdleCard", rules::GENEROUS, 1, {0, 8, 3, 0, 2}, {0, 5, 0, 0, 1},
                 {0, 25, 0, 0, 0}, Cue::Jingle, 0, ""},
        // A small full match outranks another card's plain win for the cue.
        EvalCase{"OneSpotFullBesideAPartialWin", rules::GENEROUS, 1, {0, 1, 6, 0, 0},
                 {0, 1, 4, 0, 0}, {0, 3, 15, 0, 0}, Cue::Fanfare, 0, ""},
        EvalCase{"SixSpotFull", rules::GENEROUS, 1, {0, 0, 0, 6, 0}, {0, 0, 0, 6, 0},
                 {0, 0, 0, 1600, 0}, Cue::Fanfare, 3,
                 "Card 3 matched ALL 6 numbers!\n\nPayout: $1600\nAuto-draw has been stopped."},
        EvalCase{"HighestFullCardIsNamed", rules::CASINO, 5, {0, 0, 5, 0, 7}, {0, 0, 5, 0, 7},
                 {0, 0, 3750, 0, 35000}, Cue::Fanfare, 4,
                 "Card 4 matched ALL 7 numbers!\n\nPayout: $35000\nAuto-draw has been stopped."},
        // A 4-spot full match is no jackpot even beside a 5-spot one on a lower card.
        EvalCase{"FourSpotFullAboveFiveSpotFull", rules::GENEROUS, 1, {0, 5, 0, 0, 4},
                 {0, 5, 0, 0, 4}, {0, 450, 0, 0, 100}, Cue::Fanfare, 1,
                 "Card 1 matched ALL 5 numbers!\n\nPayout: $450\nAuto-draw has been stopped."}),
    [](const ::testing::TestParamInfo<EvalCase>& info) { return std::string(info.param.name); });
// clang-format on

// Evaluating twice adds up: the per-card figures describe the whole set, not the last draw.
TEST_F(RulesTest, CardStatisticsAccumulateOverTheSet) {
  PickRange(1, 1, 3);
  HitFirst(1, 3);
  Evaluate();
  g.cards[1].hitCount = 0;
  Evaluate();
  EXPECT_EQ(g.cardWin[1], 0);
  EXPECT_EQ(g.cardNet[1], 42 - 1 - 1);
  EXPECT_EQ(g.cardWinCount[1], 1);
  EXPECT_EQ(g.cardLossCount[1], 1);
  EXPECT_EQ(g.setWon, 42);
}

}  // namespace
}  // namespace rules_test
