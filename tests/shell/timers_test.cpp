// The per-frame timer step driven by a fake clock: debounced saves, the status line, and a
// whole draw played through the frame loop's timers.
#include "shell/timers.h"

#include <gtest/gtest.h>

#include "rules/draw.h"
#include "rules/paytable.h"
#include "support/fake_host.h"

namespace {

struct TimersTest : ::testing::Test {
  rules::GameState g;
  testing_support::FakeHost host;
  render::BallsPanel balls;
  void SetUp() override {
    rules::FillPayTables(g);
    host.now = 100000;
  }
  // One frame every 16 ms for `ms` milliseconds.
  void RunFrames(int64_t ms) {
    for (int64_t t = 0; t < ms; t += 16) {
      host.Advance(16);
      shell::TickTimers(g, balls, host);
    }
  }
};

TEST_F(TimersTest, ThreeRequestsWithinThreeSecondsGiveOneSaveAfterTheLast) {
  for (int i = 0; i < 3; ++i) {
    rules::ToggleMode(g, host.now);
    RunFrames(1000);
  }
  EXPECT_EQ(host.saves, 0);
  RunFrames(1984);  // 2992 ms after the last request
  EXPECT_EQ(host.saves, 0);
  RunFrames(16);
  EXPECT_EQ(host.saves, 1);
  RunFrames(5000);
  EXPECT_EQ(host.saves, 1);
}

TEST_F(TimersTest, StatusLineClearsFiveSecondsAfterItWasSet) {
  g.statusMessage = "$500/card consolation paid";
  g.statusMessageTime = host.now;
  host.Advance(4999);
  shell::TickTimers(g, balls, host);
  EXPECT_FALSE(g.statusMessage.empty());
  host.Advance(1);
  shell::TickTimers(g, balls, host);
  EXPECT_TRUE(g.statusMessage.empty());
}

TEST_F(TimersTest, ADrawPlaysThroughToItsEvaluationAndIsSavedAfterwards) {
  for (int n = 1; n <= 8; ++n) {
    g.cards[1].picked[n] = 1;
  }
  g.cards[1].pickCount = 8;
  g.speed = 5;  // 80 ms a ball
  rules::StartDraw(g, host);
  ASSERT_EQ(g.drawInProgress, 1);
  EXPECT_EQ(g.balance, 999);

  shell::TickTimers(g, balls, host);  // the first ball comes on the very next frame
  EXPECT_EQ(g.ballsRevealed, 1);
  RunFrames(21 * 80);
  EXPECT_EQ(g.drawInProgress, 0);
  EXPECT_EQ(g.runs, 1);
  EXPECT_EQ(g.balance, 999 + g.cardWin[1]);
  EXPECT_EQ(host.saves, 0);
  RunFrames(3000);
  EXPECT_EQ(host.saves, 1);
}

}  // namespace
