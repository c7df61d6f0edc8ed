// The frame pipeline on the null platform: a frame equal to the one on screen is not drawn
// again, while a revealed ball, a falling ball's step, a pick, a resize or a closed dialog each
// bring a new present; the overlays' fonts follow the grid.
#include "shell/frame.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/null/null_system.h"
#include "render/colors.h"
#include "render/layout.h"
#include "rules/draw.h"
#include "shell/startup.h"
#include "support/recording_screen.h"
#include "support/scoped_env.h"
#include "support/temp_files.h"

namespace {

class FramePipeline : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing_support::MakeTempDir("frame");
    // Start-up also looks in the data folder: never the real one of whoever runs the tests.
    xdg_.emplace("XDG_DATA_HOME", (dir_ / "xdg").string());
    sys_.files.exeDir = dir_.string() + "/";
    ASSERT_TRUE(shell::OpenGameWindow(game_, host_));
  }
  void TearDown() override {
    shell::Shutdown(game_);
    xdg_.reset();
    testing_support::RemoveTempDir(dir_);
  }
  // Runs one pass of the frame loop and tells whether it presented.
  bool Frame() {
    const int64_t before = sys_.presents;
    EXPECT_TRUE(shell::RunFrame(game_, host_));
    return sys_.presents > before;
  }
  void PickOnCard1(int n) {
    game_.state.cards[1].picked[n] = 1;
    game_.state.cards[1].pickCount += 1;
    rules::RecountNumberCards(game_.state);
  }

  std::filesystem::path dir_;
  std::optional<testing_support::ScopedEnv> xdg_;
  testing_support::RecordingScreen screen_;
  platform::NullSystem sys_{screen_};
  shell::Game game_{sys_};
  shell::ShellHost host_{game_};
};

TEST_F(FramePipeline, AnUnchangedGameIsPresentedOnce) {
  Frame();  // after the welcome box the window must be drawn again
  EXPECT_FALSE(Frame());
  const render::DisplayList shown = game_.frames.shown;
  EXPECT_FALSE(Frame());
  EXPECT_EQ(game_.frames.next, shown) << "the same game records the same list";
  EXPECT_EQ(sys_.skippedFrames, 2);
}

TEST_F(FramePipeline, RevealsFallingBallsAndPicksEachBringAPresent) {
  game_.state.speed = 1;  // slow balls: one reveal, then many animation steps
  Frame();
  EXPECT_FALSE(Frame());
  for (int n = 1; n <= 8; ++n) PickOnCard1(n);
  EXPECT_TRUE(Frame()) << "a pick";
  rules::StartDraw(game_.state, host_);
  EXPECT_TRUE(Frame()) << "the first ball revealed and starting to fall";
  EXPECT_EQ(game_.state.ballsRevealed, 1);
  ASSERT_EQ(game_.balls.ballAnimActive, 1);
  EXPECT_TRUE(Frame()) << "the ball's next step";
  EXPECT_TRUE(Frame()) << "and the one after";
  // Once it has landed and until the next reveal nothing changes.
  while (game_.balls.ballAnimActive) Frame();
  Frame();
  EXPECT_FALSE(Frame());
  PickOnCard1(game_.state.drawSequence[0] == 9 ? 10 : 9);
  EXPECT_TRUE(Frame()) << "a pick during the draw";
}

TEST_F(FramePipeline, ResizeAndClosedDialogForceAPresent) {
  Frame();
  EXPECT_FALSE(Frame());
  sys_.clientWidth = 1280;
  sys_.clientHeight = 780;
  EXPECT_TRUE(Frame());
  EXPECT_EQ(game_.layout.grid, (render::Rect{294, 172, 876, 596}));
  EXPECT_FALSE(Frame());
  host_.ShowMessage("No Numbers Chosen", "text", rules::Buttons::Ok, rules::Icon::None);
  EXPECT_TRUE(Frame()) << "the window must be drawn again after a dialog";
  EXPECT_FALSE(Frame());
  sys_.clientWidth = sys_.clientHeight = 0;  // minimised: the old layout stays
  EXPECT_FALSE(Frame());
  EXPECT_EQ(game_.layout.clientWidth, 1280);
}

// The overlays' fonts are chosen by measuring, so only once an overlay opens on a grid they were
// not fitted to: a resize with both closed measures nothing, and a grid fitted before takes its
// fonts from the cache.
TEST_F(FramePipeline, OverlayFontsAreFittedWhenAnOverlayOpensAndKeptForTheirGrid) {
  const render::Fonts& fonts = game_.fonts;
  auto fittedTo = [&](const render::Rect& grid) {
    return fonts.aboutFont != nullptr && fonts.aboutTitleFont != nullptr &&
           fonts.payoutFont != nullptr && fonts.fittedWidth == grid.w &&
           fonts.fittedHeight == grid.h;
  };
  auto loads = [&] { return screen_.canvas.CallsOf(render::CallKind::LoadFont).size(); };
  sys_.clientWidth = 1280;
  sys_.clientHeight = 780;
  Frame();
  EXPECT_EQ(fonts.aboutFont, nullptr) << "nothing fitted while both overlays are closed";
  sys_.clientWidth = 1600;  // a wider grid with the same fonts
  screen_.canvas.Clear();
  Frame();
  EXPECT_EQ(loads(), 0u) << "a resize at the same font sizes opens no font";

  game_.input.payoutOverlayOpen = 1;
  Frame();
  EXPECT_TRUE(fittedTo(render::Rect{294, 172, 1196, 596}));
  const platform::Font* wide = fonts.payoutFont;
  screen_.canvas.Clear();
  Frame();
  EXPECT_EQ(loads(), 0u) << "a frame at the same size keeps them";

  sys_.clientWidth = 1280;
  Frame();
  EXPECT_TRUE(fittedTo(render::Rect{294, 172, 876, 596}));
  EXPECT_NE(fonts.payoutFont, wide);
  screen_.canvas.Clear();
  sys_.clientWidth = 1600;
  Frame();
  EXPECT_EQ(loads(), 0u) << "back at a grid fitted before";
  EXPECT_EQ(fonts.payoutFont, wide);
  EXPECT_TRUE(fittedTo(render::Rect{294, 172, 1196, 596}));
}

TEST_F(FramePipeline, RepaintShowsTheLastFrameAgainWithoutRecording) {
  Frame();
  const render::DisplayList before = screen_.presented;
  ASSERT_TRUE(sys_.repaint);
  game_.state.balance = 5;  // a change that a repaint must not show
  sys_.repaint();
  EXPECT_EQ(screen_.presented, before);
}

TEST_F(FramePipeline, TheFrameEndsWithTheBottomMarginPainted) {
  Frame();
  std::vector<render::CanvasCall> boxes;
  for (const render::CanvasCall& call : screen_.presented.calls) {
    if (call.kind == render::CallKind::Box) boxes.push_back(call);
  }
  ASSERT_FALSE(boxes.empty());
  const int64_t h = game_.layout.clientHeight, w = game_.layout.clientWidth;
  EXPECT_EQ(boxes.back().ints, (std::array<int64_t, 4>{0, h - 12, w, 12}));
  EXPECT_EQ(boxes.back().color, render::kBackgroundGrey);
}

}  // namespace
