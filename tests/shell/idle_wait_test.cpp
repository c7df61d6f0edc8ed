// The frame loop's sleep: a frame with nothing new waits until the earliest timer is due, or for
// the next event when none is set, and the timers still fire on time when every wait runs to its
// deadline.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "rules/draw.h"
#include "shell/input.h"
#include "shell/timers.h"
#include "shell_fixture.h"

namespace {

using platform::kNoDeadline;

class IdleWait : public shell_test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    sys_.answers.push_back(platform::MessageAnswer::Ok);  // the greeting
    Start();
    // Whatever start-up left on a timer (its first save) runs out first.
    sys_.waitsToDeadline = true;
    for (int i = 0; i < 20 && !Settled(); ++i) Frame();
    ASSERT_TRUE(Settled()) << "a fresh game settles into waiting for the player";
    sys_.waitsToDeadline = false;
    sys_.frameMs = 1;  // so a 16 ms timer is not due by the next frame
  }
  bool Settled() const { return !sys_.waits.empty() && sys_.waits.back() == kNoDeadline; }
  // Frames until one presents nothing, and the deadline that frame waited for.
  int64_t NextWait() {
    const size_t before = sys_.waits.size();
    for (int i = 0; i < 5 && sys_.waits.size() == before; ++i) Frame();
    EXPECT_GT(sys_.waits.size(), before) << "the frame loop never waited";
    return sys_.waits.empty() ? 0 : sys_.waits.back();
  }
  void PickEight() {
    for (int n = 1; n <= 8; ++n) {
      g_.cards[1].picked[n] = 1;
    }
    g_.cards[1].pickCount = 8;
    rules::RecountNumberCards(g_);
  }
};

struct DeadlineCase {
  std::string name;
  // Sets a timer at `t`, the clock now, and gives the deadline it must make.
  std::function<int64_t(shell::Game& game, platform::NullSystem& sys, int64_t t)> set;
};

class Deadlines : public IdleWait, public ::testing::WithParamInterface<DeadlineCase> {};

TEST_P(Deadlines, TheWaitEndsWhenTheEarliestTimerIsDue) {
  const int64_t expected = GetParam().set(game_, sys_, sys_.now);
  EXPECT_EQ(NextWait(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Timers, Deadlines,
    ::testing::Values(DeadlineCase{"NothingSet", [](shell::Game&, platform::NullSystem&,
                                                    int64_t) { return kNoDeadline; }},
                      DeadlineCase{"DebouncedSave",
                                   [](shell::Game& game, platform::NullSystem&, int64_t t) {
                                     rules::RequestSave(game.state, t);
                                     return t + shell::kSaveDebounceMs;
                                   }},
                      DeadlineCase{"Notice",
                                   [](shell::Game& game, platform::NullSystem&, int64_t t) {
                                     rules::SetStatus(game.state, "Consolation", "$1000 paid",
                                                      t - 1000);
                                     return t - 1000 + shell::kStatusMessageMs;
                                   }},
                      DeadlineCase{"NoticeBeforeSave",
                                   [](shell::Game& game, platform::NullSystem&, int64_t t) {
                                     rules::RequestSave(game.state, t);
                                     rules::SetStatus(game.state, "Consolation", "$1000 paid",
                                                      t - 4000);
                                     return t + 1000;
                                   }},
                      DeadlineCase{"AutoRunPause",
                                   [](shell::Game& game, platform::NullSystem&, int64_t t) {
                                     game.state.autoRun = 1;
                                     game.state.autoNextPending = 1;
                                     game.state.autoNextTime = t;
                                     return t + rules::kAutoRunPauseMs;
                                   }},
                      DeadlineCase{"NextBall",
                                   [](shell::Game& game, platform::NullSystem&, int64_t t) {
                                     game.state.drawInProgress = 1;
                                     game.state.ballsRevealed = 3;
                                     game.state.ballDelayMs = rules::BallDelayForSpeed(1);
                                     game.state.lastBallTime = t;
                                     return t + rules::BallDelayForSpeed(1);
                                   }},
                      DeadlineCase{"BallDropStep",
                                   [](shell::Game& game, platform::NullSystem&, int64_t t) {
                                     game.balls.ballAnimActive = 1;
                                     game.balls.lastAnimTime = t;
                                     return t + render::kBallAnimStepMs;
                                   }},
                      DeadlineCase{"SpaceHold",
                                   [](shell::Game&, platform::NullSystem& sys, int64_t t) {
                                     platform::InputState held;
                                     held.spaceDown = true;
                                     sys.inputs.push_back(held);  // read by the next frame, at t
                                     return t + shell::kHoldMs;
                                   }},
                      DeadlineCase{"MouseButtonHeld",
                                   [](shell::Game&, platform::NullSystem& sys, int64_t t) {
                                     // Off the window: no click, and its release may bring no
                                     // event, so every frame looks again.
                                     platform::InputState held;
                                     held.leftDown = true;
                                     sys.inputs.push_back(held);
                                     return t;
                                   }}),
    [](const ::testing::TestParamInfo<DeadlineCase>& info) { return info.param.name; });

TEST_F(IdleWait, TimersFireOnTimeWhenEveryWaitRunsToItsDeadline) {
  sys_.waitsToDeadline = true;
  const int64_t t = sys_.now;
  rules::SetStatus(g_, "Consolation", "$1000 paid", t);
  rules::RequestSave(g_, t);
  int64_t saved = 0, cleared = 0;
  const size_t waitsBefore = sys_.waits.size();
  for (int i = 0; i < 10 && (saved == 0 || cleared == 0); ++i) {
    const int64_t frameTime = sys_.now;  // what this frame's timers read
    Frame();
    if (saved == 0 && !g_.savePending) saved = frameTime;
    if (cleared == 0 && g_.statusMessage.empty()) cleared = frameTime;
  }
  EXPECT_EQ(saved, t + shell::kSaveDebounceMs);
  EXPECT_EQ(cleared, t + shell::kStatusMessageMs);
  EXPECT_TRUE(std::filesystem::exists(SavePath()));
  EXPECT_LE(sys_.waits.size() - waitsBefore, 4u) << "the loop slept; it did not look every frame";
  EXPECT_EQ(NextWait(), kNoDeadline) << "with both done, nothing is left on a timer";
}

TEST_F(IdleWait, AnAutoRunPlaysThroughOnItsDeadlines) {
  sys_.waitsToDeadline = true;
  PickEight();
  g_.speed = 3;  // paused between draws
  g_.autoRun = 1;
  rules::StartDraw(g_, host_);
  std::vector<int64_t> reveals;  // the time each ball was revealed at
  int64_t lastRevealed = g_.ballsRevealed, nextStart = 0;
  for (int i = 0; i < 5000 && reveals.size() < 21; ++i) {
    const int64_t frameTime = sys_.now;
    Frame();
    if (g_.ballsRevealed != lastRevealed && g_.ballsRevealed > 0) reveals.push_back(frameTime);
    lastRevealed = g_.ballsRevealed;
    if (nextStart == 0 && g_.runs == 1 && g_.drawInProgress) nextStart = frameTime;
  }
  ASSERT_EQ(reveals.size(), 21u) << "twenty balls, then the next draw's first";
  const int64_t delay = rules::BallDelayForSpeed(3);
  for (size_t i = 1; i < 20; ++i) {
    EXPECT_EQ(reveals[i] - reveals[i - 1], delay) << "ball " << i + 1;
  }
  // The draw ends one delay after its last ball; the pause runs from there.
  EXPECT_EQ(nextStart, reveals[19] + delay + rules::kAutoRunPauseMs);
  EXPECT_LE(reveals[20] - nextStart, sys_.frameMs) << "the next draw's first ball, a frame on";
}

}  // namespace
