// The debounced save fires on the first frame that is 3000 ms after the latest request, whatever
// the frame length: a frame landing exactly on 3000 ms saves, not the one after it.
#include <gtest/gtest.h>

#include <string>

#include "render/balls_panel.h"
#include "rules/game_state.h"
#include "shell/timers.h"
#include "support/fake_host.h"

namespace {

class SaveDebounce : public ::testing::TestWithParam<int64_t> {};

TEST_P(SaveDebounce, SavesOnTheFrameThatReachesThreeThousandMs) {
  const int64_t frameMs = GetParam();
  rules::GameState g;
  testing_support::FakeHost host;
  render::BallsPanel balls;
  host.now = 50000;
  rules::RequestSave(g, host.now);

  int64_t framesToSave = 0;
  while (host.saves == 0 && framesToSave < 10000) {
    host.Advance(frameMs);
    shell::TickTimers(g, balls, host);
    ++framesToSave;
  }
  EXPECT_EQ(framesToSave * frameMs, 3000);
  EXPECT_EQ(g.savePending, 0);
  host.Advance(frameMs);
  shell::TickTimers(g, balls, host);
  EXPECT_EQ(host.saves, 1) << "one request, one save";
}

INSTANTIATE_TEST_SUITE_P(FrameLengths, SaveDebounce, ::testing::Values(1, 20, 40, 1000, 3000),
                         [](const ::testing::TestParamInfo<int64_t>& info) {
                           return std::to_string(info.param) + "ms";
                         });

TEST(SaveDebounceLatest, ANewRequestAtTwoThousandNineHundredNinetyNineStartsAgain) {
  rules::GameState g;
  testing_support::FakeHost host;
  render::BallsPanel balls;
  rules::RequestSave(g, host.now);
  host.Advance(2999);
  shell::TickTimers(g, balls, host);
  rules::RequestSave(g, host.now);
  host.Advance(2999);
  shell::TickTimers(g, balls, host);
  EXPECT_EQ(host.saves, 0);
  host.Advance(1);
  shell::TickTimers(g, balls, host);
  EXPECT_EQ(host.saves, 1);
}

}  // namespace
