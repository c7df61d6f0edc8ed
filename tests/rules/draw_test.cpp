// A game from start to evaluation on the fake clock: charging, reveal pace and hit marking,
// auto-run between games, and the money ledger over many games.
#include "rules/draw.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "rules/random.h"
#include "rules_fixture.h"

namespace rules_test {
namespace {

using rules::Answer;

TEST_F(RulesTest, DrawWithNoPicksIsRefusedAndChargesNothing) {
  g.activeTab = 3;
  rules::StartDraw(g, host);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "No Numbers Chosen");
  EXPECT_EQ(host.dialogs[0].text, "Please select numbers on at least one card before drawing.");
  EXPECT_EQ(host.dialogs[0].buttons, rules::Buttons::Ok);
  EXPECT_EQ(g.activeTab, 1);
  EXPECT_EQ(g.drawInProgress, 0);
  EXPECT_EQ(g.balance, rules::kStartingBalance);
  EXPECT_EQ(g.genBet + g.setCost, 0);
}

// A SPACE or Draw-button hold with nothing picked asks for auto-run, then for a draw that is
// refused: the button must not go on saying STOP AUTO with nothing drawing.
TEST_F(RulesTest, ARefusedDrawEndsAutoRun) {
  g.autoRun = 1;
  rules::StartDraw(g, host);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(g.autoRun, 0);
  EXPECT_EQ(g.autoNextPending, 0);
}

TEST_F(RulesTest, StartDrawChargesPlayingCardsAndClearsTheLastGame) {
  Pick(1, {1, 2, 3});
  Pick(4, {10});
  g.betPerCard = 3;
  g.payMode = rules::CASINO;
  g.cards[1].hit[2] = 1;
  g.cards[1].hitCount = 1;
  g.drawn[2] = 1;
  g.cardWin[1] = 50;
  g.statusMessage = "$500/card consolation paid";
  g.activeTab = 2;
  g.heatMapOn = 1;

  rules::StartDraw(g, host);

  EXPECT_EQ(g.drawCost, 6);
  EXPECT_EQ(g.balance, rules::kStartingBalance - 6);
  EXPECT_EQ(g.casBet, 6);
  EXPECT_EQ(g.genBet, 0);
  EXPECT_EQ(g.setCost, 6);
  EXPECT_EQ(g.cardWin[1], 0);
  EXPECT_EQ(g.cards[1].hitCount, 0);
  EXPECT_EQ(g.cards[1].hit[2], 0);
  EXPECT_EQ(g.drawn[2], 0) << "drawn marks must wait for the reveals";
  EXPECT_EQ(g.statusMessage, "$500/card consolation paid") << "a notice keeps its five seconds";
  EXPECT_EQ(g.activeTab, 0);
  EXPECT_EQ(g.heatMapOn, 1) << "the Main tab keeps its heat map";
  EXPECT_EQ(host.ballAnimationResets, 1);
  EXPECT_EQ(g.ballsRevealed, 0);
  EXPECT_EQ(g.drawInProgress, 1);
}

TEST_F(RulesTest, StartDrawIsIgnoredWhileAGameRuns) {
  Pick(1, {1, 2, 3});
  rules::StartDraw(g, host);
  const std::vector<int64_t> sequence(std::begin(g.drawSequence), std::end(g.drawSequence));
  rules::RevealTick(g, host, host.now);
  rules::StartDraw(g, host);
  EXPECT_EQ(g.balance, rules::kStartingBalance - 1);
  EXPECT_EQ(g.ballsRevealed, 1);
  EXPECT_EQ(std::vector<int64_t>(std::begin(g.drawSequence), std::end(g.drawSequence)), sequence);
}

// A ball held by two cards hits both and ticks once; a ball on no card is silent.
TEST_F(RulesTest, RevealMarksHitsOnEveryCardAndTicksOncePerBall) {
  Pick(1, {17, 40});
  Pick(3, {17});
  Pick(2, {5});
  ScriptDraw({17, 60, 5});
  rules::StartDraw(g, host);

  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(g.cards[1].hit[17], 1);
  EXPECT_EQ(g.cards[3].hit[17], 1);
  EXPECT_EQ(g.cards[1].hitCount, 1);
  EXPECT_EQ(g.cards[3].hitCount, 1);
  EXPECT_EQ(g.cards[2].hitCount, 0);
  EXPECT_EQ(g.drawn[17], 1);
  EXPECT_EQ(g.heatCounts[17], 1);
  EXPECT_EQ(host.hitTicks, 1);

  host.Advance(g.ballDelayMs);
  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(host.hitTicks, 1) << "60 is on no card";
  EXPECT_EQ(g.heatCounts[60], 1);

  host.Advance(g.ballDelayMs);
  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(g.cards[2].hitCount, 1);
  EXPECT_EQ(host.hitTicks, 2);
  EXPECT_EQ(host.ballDrops, (std::vector<int64_t>{1, 2, 3}));

  FinishDraw();
  std::vector<int64_t> all(20);
  std::iota(all.begin(), all.end(), 1);
  EXPECT_EQ(host.ballDrops, all);
  EXPECT_EQ(g.cards[1].hitCount, 1) << "40 was not drawn";
}

struct PaceCase {
  int64_t speed;
  int64_t delayMs;
};
void PrintTo(const PaceCase& c, std::ostream* os) { *os << "speed " << c.speed; }

class RevealPace : public RulesTest, public ::testing::WithParamInterface<PaceCase> {};

// The first ball comes on the first frame after the start, each next one exactly one delay
// later, and the evaluation one delay after the 20th ball.
TEST_P(RevealPace, OneBallPerDelayThenEvaluation) {
  const auto [speed, delay] = GetParam();
  Pick(1, {1, 2, 3, 4});
  g.speed = speed;
  host.now = 100000;
  rules::StartDraw(g, host);
  EXPECT_EQ(g.ballDelayMs, delay);

  host.Advance(16);
  rules::RevealTick(g, host, host.now);
  ASSERT_EQ(g.ballsRevealed, 1);
  for (int ball = 2; ball <= 20; ++ball) {
    host.Advance(delay - 1);
    rules::RevealTick(g, host, host.now);
    ASSERT_EQ(g.ballsRevealed, ball - 1) << "ball " << ball << " came early";
    host.Advance(1);
    rules::RevealTick(g, host, host.now);
    ASSERT_EQ(g.ballsRevealed, ball);
  }
  host.Advance(delay - 1);
  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(g.drawInProgress, 1);
  EXPECT_EQ(g.runs, 0);
  host.Advance(1);
  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(g.drawInProgress, 0);
  EXPECT_EQ(g.runs, 1);
  EXPECT_EQ(g.savePending, 1);
  EXPECT_EQ(g.saveRequestTime, host.now);
}

INSTANTIATE_TEST_SUITE_P(Speeds, RevealPace,
                         ::testing::Values(PaceCase{1, 1250}, PaceCase{2, 900}, PaceCase{3, 550},
                                           PaceCase{4, 250}, PaceCase{5, 80}),
                         [](const ::testing::TestParamInfo<PaceCase>& info) {
                           return "Speed" + std::to_string(info.param.speed);
                         });

TEST_F(RulesTest, UnknownSpeedKeepsTheLastDelay) {
  Pick(1, {1});
  g.ballDelayMs = 250;
  g.speed = 9;
  rules::StartDraw(g, host);
  EXPECT_EQ(g.ballDelayMs, 250);
}

// A modal box held for 10 s stalls the frame loop; afterwards one ball follows, not the backlog.
TEST_F(RulesTest, StalledFrameLoopRevealsOneBallNotTheBacklog) {
  Pick(1, {1, 2, 3});
  g.speed = 5;
  rules::StartDraw(g, host);
  rules::RevealTick(g, host, host.now);
  host.Advance(10000);
  rules::RevealTick(g, host, host.now);
  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(g.ballsRevealed, 2);
  host.Advance(79);
  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(g.ballsRevealed, 2);
  host.Advance(1);
  rules::RevealTick(g, host, host.now);
  EXPECT_EQ(g.ballsRevealed, 3);
}

class AutoRun : public RulesTest {
 protected:
  void SetUp() override {
    RulesTest::SetUp();
    Pick(1, {1, 2, 3, 4, 5, 6, 7, 8});
    rules::SeedFallbackRandom(g, 11);
    g.autoRun = 1;
  }
  // Plays the running game to its last ball; the evaluation is one delay away.
  void RevealAllBalls() {
    for (int ball = 0; ball < 20; ++ball) {
      host.Advance(g.ballDelayMs);
      rules::RevealTick(g, host, host.now);
    }
    ASSERT_EQ(g.ballsRevealed, 20);
  }
};

TEST_F(AutoRun, FastSpeedsStartTheNextGameInTheEvaluatingFrame) {
  for (int64_t speed : {4, 5}) {
    g.speed = speed;
    rules::StartDraw(g, host);
    const int64_t runsBefore = g.runs;
    RevealAllBalls();
    host.Advance(g.ballDelayMs);
    rules::RevealTick(g, host, host.now);
    EXPECT_EQ(g.runs, runsBefore + 1);
    EXPECT_EQ(g.drawInProgress, 1) << "speed " << speed;
    EXPECT_EQ(g.ballsRevealed, 0);
    host.Advance(16);
    rules::RevealTick(g, host, host.now);
    EXPECT_EQ(g.ballsRevealed, 1) << "first ball of the chained game on the next frame";
    g.autoRun = 0;
    FinishDraw();
    g.autoRun = 1;
  }
  EXPECT_EQ(g.genBet, 4);
}

TEST_F(AutoRun, SlowSpeedsPauseFifteenHundredMs) {
  g.speed = 3;
  rules::StartDraw(g, host);
  RevealAllBalls();
  host.Advance(g.ballDelayMs);
  rules::RevealTick(g, host, host.now);
  ASSERT_EQ(g.drawInProgress, 0);
  EXPECT_EQ(g.autoNextPending, 1);

  host.Advance(1499);
  rules::AutoRunTick(g, host, host.now);
  EXPECT_EQ(g.drawInProgress, 0);
  host.Advance(1);
  rules::AutoRunTick(g, host, host.now);
  EXPECT_EQ(g.drawInProgress, 1);
  EXPECT_EQ(g.autoNextPending, 0);
  EXPECT_EQ(g.genBet, 2);
}

TEST_F(AutoRun, StoppedDuringThePauseStartsNothing) {
  g.speed = 1;
  rules::StartDraw(g, host);
  RevealAllBalls();
  host.Advance(g.ballDelayMs);
  rules::RevealTick(g, host, host.now);
  g.autoRun = 0;  // the player clicks the Draw button during the pause
  host.Advance(5000);
  rules::AutoRunTick(g, host, host.now);
  EXPECT_EQ(g.drawInProgress, 0);
  EXPECT_EQ(g.autoNextPending, 0);
  EXPECT_EQ(g.genBet, 1);
}

// At speeds 4 and 5 the next draw starts in the frame that announced the consolation: the
// notice still stays up its five seconds.
TEST_F(AutoRun, AConsolationNoticeOutlastsTheNextDraw) {
  rules::ClearCard(g, 1);
  Pick(1, {1, 2, 3, 4, 5, 6, 7});
  Pick(2, {8, 9, 10, 11, 12, 13, 14, 15});
  ScriptDraw({41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60});
  g.speed = 5;
  rules::StartDraw(g, host);
  RevealAllBalls();
  host.Advance(g.ballDelayMs);
  rules::RevealTick(g, host, host.now);
  ASSERT_EQ(g.drawInProgress, 1) << "the next draw has begun";
  EXPECT_EQ(g.statusTitle, "CONSOLATION");
  EXPECT_EQ(g.statusMessage, "$500/card consolation paid");
  EXPECT_EQ(g.statusMessageTime, host.now);
}

// A jackpot box held open for 10 s at speed 5 stops auto-run: nothing starts after it closes.
TEST_F(AutoRun, JackpotBoxHeldOpenStopsTheChain) {
  rules::ClearCard(g, 1);
  Pick(1, {11, 22, 33, 44, 55, 66});
  g.speed = 5;
  ScriptDraw({11, 22, 33, 44, 55, 66});
  host.dialogHoldMs = 10000;
  rules::StartDraw(g, host);
  RevealAllBalls();
  host.Advance(g.ballDelayMs);
  rules::RevealTick(g, host, host.now);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "JACKPOT!");
  EXPECT_EQ(g.autoRun, 0);
  EXPECT_EQ(g.drawInProgress, 0);
  host.Advance(16);
  rules::RevealTick(g, host, host.now);
  rules::AutoRunTick(g, host, host.now);
  EXPECT_EQ(g.drawInProgress, 0);
  EXPECT_EQ(g.runs, 1);
}

// Over many games with changing picks, bets, modes and speeds, no dollar appears or vanishes:
// balance + lifetime bets - lifetime wins moves only by top-ups, the card nets add up to the set's
// profit, and the balance never goes below zero.
TEST_F(RulesTest, MoneyIsConservedOverManyGames) {
  rules::SeedFallbackRandom(g, 2024);
  g.balance = 60;
  host.answers.assign(100000, Answer::Yes);  // every out-of-funds box tops up
  int64_t expectedLedger = Ledger(g);
  size_t boxesSeen = 0;
  for (int game = 0; game < 5000; ++game) {
    const int64_t dice = rules::FallbackRandomNumber(g, host, 1000);
    if (dice <= 200) {
      const int card = static_cast<int>(rules::FallbackRandomNumber(g, host, 4));
      const int64_t count = rules::FallbackRandomNumber(g, host, 13) - 1;
      rules::ClearCard(g, card);
      while (g.cards[card].pickCount < count) {
        const int64_t n = rules::FallbackRandomNumber(g, host, rules::kNumbers);
        if (g.cards[card].picked[n]) continue;
        g.cards[card].picked[n] = 1;
        g.cards[card].pickCount += 1;
      }
    } else if (dice <= 260) {
      g.betPerCard = rules::FallbackRandomNumber(g, host, 10);
    } else if (dice <= 280) {
      rules::ToggleMode(g, host.now);
    } else if (dice <= 300) {
      g.speed = rules::FallbackRandomNumber(g, host, 5);
    }
    rules::StartDraw(g, host);
    FinishDraw();
    for (; boxesSeen < host.dialogs.size(); ++boxesSeen) {
      if (host.dialogs[boxesSeen].title == "Out of Funds!") expectedLedger += rules::kTopUp;
    }
    ASSERT_EQ(Ledger(g), expectedLedger) << "game " << game;
    ASSERT_GE(g.balance, 0);
    int64_t netSum = 0;
    for (int c = 1; c <= rules::kCards; ++c) netSum += g.cardNet[c];
    ASSERT_EQ(netSum, g.setWon - g.setCost) << "game " << game;
  }
  EXPECT_GT(g.setWon, 0);
  EXPECT_GT(g.genWon, 0);
  EXPECT_GT(g.casWon, 0);
}

}  // namespace
}  // namespace rules_test
