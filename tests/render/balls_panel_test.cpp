// The balls panel: slot geometry at 110 x 648 and on very short panels, the drop's speed and
// landing step, the background image, and the balls drawn landed and falling, recorded with
// th = 20. A landed ball's colour follows the cards as they are now, not as they were drawn.
#include "render/balls_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board_fixture.h"

namespace render_test {
namespace {

using platform::Color;
using platform::DrawMode;
using platform::RGB;
using platform::RGBA;

constexpr Color kOnCard = RGB(40, 180, 60), kOffCard = RGB(210, 10, 10);

struct SlotCase {
  int64_t h;
  int64_t g, r, leftX, rightX;
};

class BallSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(BallSlots, GeometryOfAPanel110Wide) {
  const SlotCase& c = GetParam();
  const render::BallSlots s = render::SlotGeometry(110, c.h);
  EXPECT_EQ(s.slotHeight, c.g);
  EXPECT_EQ(s.radius, c.r);
  EXPECT_EQ(s.leftX, c.leftX);
  EXPECT_EQ(s.rightX, c.rightX);
  EXPECT_EQ(s.centreX, 55);
}

INSTANTIATE_TEST_SUITE_P(Heights, BallSlots,
                         ::testing::Values(SlotCase{648, 26, 12, 26, 84},  // the default window
                                           SlotCase{768, 32, 15, 32, 78},
                                           // From here on (104 / 6) the columns would close in:
                                           // held at 17, centres 38 apart and rings 3 clear.
                                           SlotCase{840, 36, 17, 36, 74},
                                           SlotCase{880, 38, 17, 36, 74},
                                           SlotCase{1308, 59, 17, 36, 74},  // 2560 x 1440
                                           SlotCase{20000, 994, 17, 36, 74},
                                           SlotCase{239, 5, 2, 6, 104},  // 119 / 40 - 1 = 1
                                           SlotCase{200, 4, 2, 6, 104},
                                           SlotCase{120, 0, 2, 6, 104}));

TEST(BallSlots, CentresZigzagUpFromTheBottom) {
  const render::BallSlots s = render::SlotGeometry(110, 648);
  struct Case {
    int64_t k, x, y;
  };
  for (const Case c : {Case{1, 26, 635}, Case{2, 84, 609}, Case{3, 26, 583}, Case{19, 26, 167},
                       Case{20, 84, 141}}) {
    int64_t x = 0, y = 0;
    render::SlotCentre(s, 648, c.k, x, y);
    EXPECT_EQ(x, c.x) << "slot " << c.k;
    EXPECT_EQ(y, c.y) << "slot " << c.k;
  }
}

struct DropCase {
  const char* name;
  int64_t delayMs;
  int64_t slot;
  float speed;
  int64_t landsAfter;  // animation steps
};

class BallDrop : public ::testing::TestWithParam<DropCase> {};

int64_t Falling(const render::BallsPanel& balls) {
  int64_t n = 0;
  for (const render::BallAnim& b : balls.ballAnims) n += b.falling;
  return n;
}

TEST_P(BallDrop, SpeedAndLandingStep) {
  const DropCase& c = GetParam();
  render::BallsPanel balls;
  render::StartBallDrop(balls, 110, 648, c.slot, c.delayMs, 5000);
  const render::BallAnim& b = balls.ballAnims[c.slot];
  EXPECT_EQ(b.falling, 1);
  EXPECT_EQ(b.y, 120.0f);
  EXPECT_EQ(b.targetX, c.slot % 2 == 1 ? 26 : 84);
  EXPECT_FLOAT_EQ(b.speed, c.speed);
  EXPECT_EQ(Falling(balls), 1);
  EXPECT_EQ(balls.ballAnimActive, 1);
  EXPECT_EQ(balls.lastAnimTime, 5000);

  for (int64_t step = 1; step < c.landsAfter; ++step) render::AnimateBalls(balls);
  EXPECT_EQ(b.falling, 1) << "one step before landing";
  EXPECT_LT(b.y, static_cast<float>(b.targetY));
  render::AnimateBalls(balls);
  EXPECT_EQ(b.falling, 0);
  EXPECT_EQ(b.y, static_cast<float>(b.targetY));
  EXPECT_EQ(b.frames, c.landsAfter);
  EXPECT_EQ(Falling(balls), 0);
  EXPECT_EQ(balls.ballAnimActive, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, BallDrop,
    ::testing::Values(
        // 1250 ms is 78.125 steps; slot 1 lies 511 pixels below the start line (635 - 124).
        DropCase{"Speed1Slot1", 1250, 1, 511.0f / 78.125f, 79},
        // 80 ms is 5 steps: 102.2 pixels a step, held at 40.
        DropCase{"Speed5Slot1", 80, 1, 40.0f, 13},
        // 17 / 78.125 is raised to the 2-pixel minimum.
        DropCase{"Speed1Slot20", 1250, 20, 2.0f, 11},
        // A delay under one step counts as one.
        DropCase{"ShortDelay", 5, 2, 40.0f, 13}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BallDrop, AnimationRunsUntilTheLastBallLands) {
  render::BallsPanel balls;
  render::StartBallDrop(balls, 110, 648, 1, 80, 0);
  for (int i = 0; i < 5; ++i) render::AnimateBalls(balls);
  render::StartBallDrop(balls, 110, 648, 2, 80, 80);
  EXPECT_EQ(Falling(balls), 2);
  for (int i = 0; i < 8; ++i) render::AnimateBalls(balls);
  EXPECT_EQ(balls.ballAnims[1].falling, 0);
  EXPECT_EQ(Falling(balls), 1);
  EXPECT_EQ(balls.ballAnimActive, 1) << "ball 2 is still in the air";
  for (int i = 0; i < 5; ++i) render::AnimateBalls(balls);
  EXPECT_EQ(Falling(balls), 0);
  EXPECT_EQ(balls.ballAnimActive, 0);

  render::StartBallDrop(balls, 110, 648, 3, 80, 160);
  render::ResetBallAnimation(balls);
  EXPECT_EQ(balls.ballAnims[3].falling, 0);
  EXPECT_EQ(Falling(balls), 0);
  EXPECT_EQ(balls.ballAnimActive, 0);
}

TEST(BallsPanelImage, CageTitleAndEmptyRings) {
  render::RecordingCanvas canvas;
  render::BallsPanel balls;
  render::Fonts fonts;
  render::BuildBallsPanelImage(balls, canvas, fonts, 0, 648);
  EXPECT_EQ(balls.ballsPanelImage, nullptr);
  EXPECT_TRUE(canvas.Calls().empty());

  render::BuildBallsPanelImage(balls, canvas, fonts, 110, 648);
  ASSERT_NE(balls.ballsPanelImage, nullptr);
  EXPECT_EQ(balls.imageWidth, 110);
  EXPECT_EQ(balls.imageHeight, 648);
  EXPECT_EQ(canvas.CallsOf(CallKind::CreateImage).at(0).color, RGBA(0, 0, 0, 255));
  std::vector<CanvasCall> calls;
  for (const CanvasCall& c : canvas.Calls()) {
    if (c.output == balls.ballsPanelImage) calls.push_back(c);
  }
  const auto boxes = Of(calls, CallKind::Box);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].ints, Ints(0, 0, 110, 648));
  EXPECT_EQ(boxes[0].color, RGB(150, 150, 160));
  EXPECT_EQ(boxes[2].ints, Ints(4, 4, 102, 110));
  EXPECT_EQ(boxes[2].mode, DrawMode::Outline);
  EXPECT_EQ(boxes[2].color, RGB(170, 170, 170));  // the second frame is on top

  const auto bars = Of(calls, CallKind::Line);
  ASSERT_EQ(bars.size(), 5u);
  EXPECT_EQ(bars[0].ints, Ints(29, 4, 29, 114));
  EXPECT_EQ(bars[1].ints, Ints(55, 4, 55, 114));
  EXPECT_EQ(bars[2].ints, Ints(80, 4, 80, 114));
  EXPECT_EQ(bars[3].ints, Ints(4, 40, 106, 40));
  EXPECT_EQ(bars[4].ints, Ints(4, 77, 106, 77));

  const CanvasCall title = TextCall(calls, "BALLS");
  EXPECT_EQ(title.reals[0], 30);
  EXPECT_EQ(title.reals[1], 4);
  const CanvasCall arrow = TextCall(calls, "v v v");
  EXPECT_EQ(arrow.reals[0], 30);
  EXPECT_EQ(arrow.reals[1], 27);  // th + 7
  EXPECT_EQ(arrow.color, RGB(255, 210, 0));

  const auto rings = Of(calls, CallKind::Circle);
  ASSERT_EQ(rings.size(), 20u);
  EXPECT_EQ(rings[0].ints, Ints(26, 635, 12, 0));
  EXPECT_EQ(rings[19].ints, Ints(84, 141, 12, 0));
  for (const CanvasCall& r : rings) {
    EXPECT_EQ(r.mode, DrawMode::Outline);
    EXPECT_EQ(r.color, RGB(38, 38, 48));
  }
}

// A board whose draw has revealed `revealed` balls, none of them falling.
Board& Revealed(Board& b, int64_t revealed) {
  const int64_t numbers[] = {17, 4, 63, 80, 1};
  for (int64_t k = 0; k < revealed; ++k) b.state.drawSequence[k] = numbers[k];
  b.state.ballsRevealed = revealed;
  return b;
}

TEST(BallsPanel, LandedBallTurnsGreenWhenItsNumberIsPickedAfterTheDraw) {
  Board b;
  Revealed(b, 1);
  const int64_t cx = 1170 + 26, cy = 120 + 635;
  auto ball = [&] {
    const auto circles = Of(b.Record(render::DrawBallsPanel), CallKind::Circle);
    EXPECT_EQ(circles.size(), 3u);
    return circles;
  };
  auto circles = ball();
  EXPECT_EQ(circles[0].ints, Ints(cx, cy, 12, 0));
  EXPECT_EQ(circles[0].color, kOffCard);
  EXPECT_EQ(circles[1].ints, Ints(cx - 4, cy - 4, 4, 0));
  EXPECT_EQ(circles[1].color, RGBA(255, 255, 255, 70));
  EXPECT_EQ(circles[1].mode, DrawMode::AlphaBlend);

  rules::SetPick(b.state, 3, 17, true);
  circles = ball();
  EXPECT_EQ(circles[0].color, kOnCard);
  EXPECT_EQ(circles[1].color, RGBA(255, 255, 255, 90));
  EXPECT_EQ(circles[2].ints, Ints(cx, cy, 12, 0));
  EXPECT_EQ(circles[2].color, RGB(65, 65, 65));
  EXPECT_EQ(circles[2].mode, DrawMode::Outline);

  const auto calls = b.Record(render::DrawBallsPanel);
  const CanvasCall number = TextCall(calls, "17");
  EXPECT_EQ(number.reals[0], cx - 10);
  EXPECT_EQ(number.reals[1], cy - 10);
  EXPECT_EQ(number.color, RGB(255, 255, 255));
  EXPECT_EQ(number.font, b.fonts.buttonFont);
  EXPECT_EQ(Of(calls, CallKind::DrawImage).at(0).ints, Ints(1170, 120, 0, 0));
}

// The links run under the balls: all drawn before the first ball, so none crosses a number.
TEST(BallsPanel, LandedBallsAreLinkedInDrawOrderBeneathThem) {
  Board b;
  Revealed(b, 3);
  const auto calls = b.Record(render::DrawBallsPanel);
  const auto links = Of(calls, CallKind::Line);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].ints, Ints(1196, 755, 1254, 729));
  EXPECT_EQ(links[1].ints, Ints(1254, 729, 1196, 703));
  EXPECT_EQ(links[0].color, RGB(45, 45, 58));
  EXPECT_EQ(TextCall(calls, "63").reals[1], 703 - 10);
  std::size_t lastLink = 0, firstBall = calls.size();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].kind == CallKind::Line) lastLink = i;
    if (calls[i].kind == CallKind::Circle) firstBall = std::min(firstBall, i);
  }
  EXPECT_LT(lastLink, firstBall);
}

TEST(BallsPanel, WithoutItsImageThePanelIsFilled) {
  Board b(1280, 780, false);
  const auto calls = b.Record(render::DrawBallsPanel);
  EXPECT_TRUE(Of(calls, CallKind::DrawImage).empty());
  const auto boxes = Of(calls, CallKind::Box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].ints, Ints(1170, 120, 110, 648));
  EXPECT_EQ(boxes[0].color, RGB(150, 150, 160));
}

struct FallingCase {
  const char* name;
  float y;
  int64_t frames;
  int64_t bx;  // screen x of the ball
  bool trail;  // all three trail circles, else none
};

class FallingBall : public ::testing::TestWithParam<FallingCase> {};

// Ball 2 (right column, 29 pixels right of the centre line, slot centre y 609) in the air while
// ball 1 has landed.
TEST_P(FallingBall, SwingsOutWithAWobbleAndATrail) {
  const FallingCase& c = GetParam();
  Board b;
  Revealed(b, 2);
  render::StartBallDrop(b.balls, 110, 648, 2, 550, 0);
  b.balls.ballAnims[2].y = c.y;
  b.balls.ballAnims[2].frames = c.frames;
  const auto calls = b.Record(render::DrawBallsPanel);
  const int64_t by = 120 + static_cast<int64_t>(c.y);

  EXPECT_EQ(Of(calls, CallKind::Line).size(), 0u) << "one landed ball has no link";
  // Landed balls first (ball 1: face, glint, outline), then the falling ones.
  const auto circles = Of(calls, CallKind::Circle);
  ASSERT_GE(circles.size(), 3u);
  EXPECT_EQ(circles[0].ints, Ints(1196, 755, 12, 0));
  std::vector<CanvasCall> trail, ball;
  for (std::size_t i = 3; i < circles.size(); ++i) {
    (circles[i].color == RGBA(140, 140, 160, 50) ? trail : ball).push_back(circles[i]);
  }
  ASSERT_EQ(ball.size(), 3u);
  EXPECT_EQ(ball[0].ints, Ints(c.bx, by, 12, 0));
  EXPECT_EQ(ball[0].color, kOffCard);
  EXPECT_EQ(ball[2].ints, Ints(c.bx, by, 12, 0));
  EXPECT_EQ(ball[2].color, RGB(255, 255, 60));
  EXPECT_EQ(ball[2].mode, DrawMode::Outline);
  EXPECT_EQ(TextCall(calls, "4").reals[0], c.bx - 5);

  if (!c.trail) {
    EXPECT_TRUE(trail.empty());
    return;
  }
  // g / 3 = 8 pixels apart, radii 9, 10, 11 going down to the ball.
  ASSERT_EQ(trail.size(), 3u);
  EXPECT_EQ(trail[0].ints, Ints(c.bx, by - 24, 9, 0));
  EXPECT_EQ(trail[1].ints, Ints(c.bx, by - 16, 10, 0));
  EXPECT_EQ(trail[2].ints, Ints(c.bx, by - 8, 11, 0));
  for (const CanvasCall& t : trail) EXPECT_EQ(t.mode, DrawMode::AlphaBlend);
}

// At y 300 the ball is 180 / 489 of the way: trunc(29 x 0.368) = 10 pixels out, plus the
// wobble trunc(0.632 x 29 x 0.3 x wobble / 3), wobble = frames mod 6 - 3, cut toward zero.
INSTANTIATE_TEST_SUITE_P(
    Frames, FallingBall,
    ::testing::Values(FallingCase{"WobbleRight", 300.0f, 4, 1170 + 55 + 10 + 1, true},
                      FallingCase{"WobbleLeft", 300.0f, 6, 1170 + 55 + 10 - 5, true},
                      FallingCase{"NoWobble", 300.0f, 3, 1170 + 55 + 10, true},
                      // Just below the cage: 5 / 489 of the way, 0 out, wobble -2 gives -5; the
                      // trail would reach into the cage, so none is drawn.
                      FallingCase{"LeavingTheCage", 125.0f, 1, 1170 + 55 + 0 - 5, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace render_test
