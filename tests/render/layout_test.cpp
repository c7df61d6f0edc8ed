// The layout's rectangles and clamps by client size, the asterisk glyph size and the vector path
// of one asterisk, and the images the layout keeps across a resize, on a recording canvas.
#include "render/layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "render/balls_panel.h"
#include "render/colors.h"
#include "render/display_list.h"
#include "render/fonts.h"

namespace render {
namespace {

using platform::RGBA;

Layout LayoutFor(int64_t width, int64_t height) {
  Layout l;
  l.clientWidth = width;
  l.clientHeight = height;
  ComputeLayoutRects(l);
  return l;
}

TEST(Layout, DefaultClientSize) {
  const Layout l = LayoutFor(1280, 780);
  EXPECT_EQ(l.buttonWidth, 155);
  const int64_t slotX[] = {12, 169, 326, 483, 640, 797, 954, 1111};
  for (int slot = 0; slot < 8; ++slot) {
    const Rect* r = ButtonSlot(l, slot);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(*r, (Rect{slotX[slot], 12, slot < 7 ? 155 : 157, 96})) << "slot " << slot;
  }
  EXPECT_EQ(ButtonSlot(l, 0), &l.drawButton);
  EXPECT_EQ(ButtonSlot(l, 7), &l.aboutButton);
  EXPECT_EQ(ButtonSlot(l, 8), nullptr);
  EXPECT_EQ(ButtonSlot(l, -1), nullptr);

  EXPECT_EQ(l.gridAreaWidth, 876);
  EXPECT_EQ(l.gridAreaHeight, 596);
  EXPECT_EQ(l.tabStrip, (Rect{294, 120, 876, 52}));
  EXPECT_EQ(l.grid, (Rect{294, 172, 876, 596}));  // x 294 to 1170, y 172 to 768
  EXPECT_EQ(l.statsPanel, (Rect{0, 120, 294, 648}));
  EXPECT_EQ(l.ballsPanel, (Rect{1170, 120, 110, 648}));  // meets the grid's right edge
}

struct WidthCase {
  int64_t width;
  int64_t buttonWidth;
  int64_t aboutWidth;
};

class LayoutWidths : public ::testing::TestWithParam<WidthCase> {};

// The About button takes the remainder of the division by 8 and stops 12 pixels from the edge.
TEST_P(LayoutWidths, LastButtonAbsorbsTheRemainder) {
  const WidthCase& c = GetParam();
  const Layout l = LayoutFor(c.width, 780);
  EXPECT_EQ(l.buttonWidth, c.buttonWidth);
  EXPECT_EQ(l.autoPickButton.w, c.buttonWidth);
  EXPECT_EQ(l.aboutButton.w, c.aboutWidth);
  EXPECT_EQ(l.aboutButton.x, 12 + 7 * (c.buttonWidth + 2));
  EXPECT_EQ(l.aboutButton.x + l.aboutButton.w, c.width - 12);
  EXPECT_EQ(l.grid.x + l.grid.w, l.ballsPanel.x);
}

INSTANTIATE_TEST_SUITE_P(Widths, LayoutWidths,
                         ::testing::Values(WidthCase{1280, 155, 157}, WidthCase{1281, 155, 158},
                                           WidthCase{1282, 155, 159}, WidthCase{1283, 155, 160},
                                           WidthCase{1284, 155, 161}, WidthCase{1285, 155, 162},
                                           WidthCase{1286, 156, 156}));

struct ClampCase {
  int64_t width, height;
  int64_t gridW, gridH;
};

class LayoutClamps : public ::testing::TestWithParam<ClampCase> {};

// Below 604 x 384 the grid keeps 200 pixels a side; the panels still follow the window.
TEST_P(LayoutClamps, GridKeepsItsMinimum) {
  const ClampCase& c = GetParam();
  const Layout l = LayoutFor(c.width, c.height);
  EXPECT_EQ(l.gridAreaWidth, c.gridW);
  EXPECT_EQ(l.gridAreaHeight, c.gridH);
  EXPECT_EQ(l.grid, (Rect{294, 172, c.gridW, c.gridH}));
  EXPECT_EQ(l.tabStrip.w, c.gridW);
  EXPECT_EQ(l.ballsPanel, (Rect{c.width - 110, 120, 110, c.height - 132}));
  EXPECT_EQ(l.statsPanel, (Rect{0, 120, 294, c.height - 132}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, LayoutClamps,
                         ::testing::Values(ClampCase{605, 385, 201, 201},  // just above
                                           ClampCase{604, 384, 200, 200},  // exactly at
                                           ClampCase{603, 383, 200, 200},
                                           ClampCase{500, 780, 200, 596},  // grid over balls
                                           ClampCase{1280, 300, 876, 200},
                                           ClampCase{1, 1, 200, 200}));

TEST(Layout, PointInRectIncludesTheTopLeftEdgeOnly) {
  const Rect r{10, 20, 5, 3};
  EXPECT_TRUE(PointInRect(r, 10, 20));
  EXPECT_TRUE(PointInRect(r, 14, 22));
  EXPECT_FALSE(PointInRect(r, 15, 22));
  EXPECT_FALSE(PointInRect(r, 14, 23));
  EXPECT_FALSE(PointInRect(r, 9, 21));
  EXPECT_FALSE(PointInRect(r, 11, 19));
  EXPECT_FALSE(PointInRect(Rect{10, 20, 0, 3}, 10, 20));
}

TEST(Layout, GlyphSizeIsSeventyPercentOfTheSmallerCell) {
  EXPECT_EQ(GlyphSizeFor(876, 596), 51);  // cells 87 x 74
  EXPECT_EQ(GlyphSizeFor(200, 200), 16);  // 14, raised
  EXPECT_EQ(GlyphSizeFor(1000, 2000), 70);
  EXPECT_EQ(GlyphSizeFor(2000, 800), 70);
}

// The asterisk is one filled hub and six strokes through the centre, 30 degrees apart.
TEST(Asterisk, VectorPathOfOneGlyph) {
  RecordingCanvas canvas;
  const platform::Color color = RGBA(0, 0, 0, 255);
  Image* image = MakeAsteriskImage(canvas, 51, color);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(canvas.ImageWidth(image), 51);
  EXPECT_EQ(canvas.ImageHeight(image), 51);

  const auto& calls = canvas.Calls();
  ASSERT_EQ(calls.size(), 1u + 1 + 1 + 2 + 6 * 3 + 1);
  EXPECT_EQ(calls[0].kind, CallKind::CreateImage);
  EXPECT_EQ(calls[0].color, RGBA(255, 255, 255, 0));  // clear white
  EXPECT_EQ(calls[1].kind, CallKind::BeginVectorDrawing);
  EXPECT_EQ(calls[1].image, image);
  EXPECT_EQ(calls[2].kind, CallKind::SetVectorColor);
  EXPECT_EQ(calls[2].color, color);

  const double c = 25.5, rayLength = 23.5, strokeWidth = 51.0 / 9;
  EXPECT_EQ(calls[3].kind, CallKind::AddCircle);
  EXPECT_DOUBLE_EQ(calls[3].reals[0], c);
  EXPECT_DOUBLE_EQ(calls[3].reals[1], c);
  EXPECT_DOUBLE_EQ(calls[3].reals[2], 0.7 * strokeWidth);
  EXPECT_EQ(calls[4].kind, CallKind::FillPath);

  for (int i = 0; i < 6; ++i) {
    const CanvasCall& from = calls[5 + 3 * i];
    const CanvasCall& to = calls[6 + 3 * i];
    const CanvasCall& stroke = calls[7 + 3 * i];
    ASSERT_EQ(from.kind, CallKind::MoveTo) << i;
    ASSERT_EQ(to.kind, CallKind::AddLineTo) << i;
    ASSERT_EQ(stroke.kind, CallKind::StrokePath) << i;
    EXPECT_NEAR(stroke.reals[0], strokeWidth, 1e-12);
    EXPECT_EQ(stroke.color, color);
    EXPECT_EQ(stroke.output, image);
    // A diameter: both ends rayLength from the centre, on opposite sides.
    const double dx = to.reals[0] - c, dy = to.reals[1] - c;
    EXPECT_NEAR(from.reals[0] - c, -dx, 1e-9);
    EXPECT_NEAR(from.reals[1] - c, -dy, 1e-9);
    EXPECT_NEAR(std::hypot(dx, dy), rayLength, 1e-9);
    EXPECT_NEAR(std::atan2(dy, dx), i * std::numbers::pi / 6, 1e-9) << "stroke " << i;
  }
  EXPECT_EQ(calls.back().kind, CallKind::EndVectorDrawing);
}

TEST(Asterisk, NoImageBelowOnePixelAndAClearOneWithoutVectorDrawing) {
  RecordingCanvas canvas;
  EXPECT_EQ(MakeAsteriskImage(canvas, 0, RGBA(0, 0, 0, 255)), nullptr);
  EXPECT_TRUE(canvas.Calls().empty());

  // Vector drawing refuses a second target while one is open: the glyph stays transparent.
  Image* open = canvas.CreateImage(4, 4, 0);
  ASSERT_TRUE(canvas.BeginVectorDrawing(open));
  canvas.Clear();
  Image* image = MakeAsteriskImage(canvas, 16, RGBA(255, 255, 255, 255));
  EXPECT_NE(image, nullptr);
  EXPECT_TRUE(canvas.CallsOf(CallKind::StrokePath).empty());
  EXPECT_TRUE(canvas.CallsOf(CallKind::FillPath).empty());
}

// A board with fonts and the images ComputeLayout makes, to follow them across resizes.
class LayoutImages : public ::testing::Test {
 protected:
  void Resize(int64_t width, int64_t height) {
    layout_.clientWidth = width;
    layout_.clientHeight = height;
    canvas_.Clear();
    ComputeLayout(layout_, canvas_, balls_, fonts_);
  }
  std::size_t Made() const { return canvas_.CallsOf(CallKind::CreateImage).size(); }

  RecordingCanvas canvas_;
  Layout layout_;
  BallsPanel balls_;
  Fonts fonts_;
};

TEST_F(LayoutImages, GlyphsCrossAndBallsImageFollowTheSize) {
  Resize(1280, 780);
  EXPECT_EQ(layout_.glyphSize, 51);
  ASSERT_NE(layout_.whiteAsterisk, nullptr);
  ASSERT_NE(layout_.blackAsterisk, nullptr);
  EXPECT_EQ(canvas_.ImageWidth(layout_.whiteAsterisk), 51);
  EXPECT_EQ(canvas_.ImageHeight(layout_.blackAsterisk), 51);
  const auto strokes = canvas_.CallsOf(CallKind::StrokePath);
  ASSERT_EQ(strokes.size(), 12u);
  EXPECT_EQ(strokes.front().color, kWhiteAsterisk);
  EXPECT_EQ(strokes.back().color, kBlackAsterisk);
  EXPECT_EQ(layout_.crossBoxW, 87);
  EXPECT_EQ(layout_.crossBoxH, 74);
  EXPECT_EQ(balls_.imageWidth, 110);
  EXPECT_EQ(balls_.imageHeight, 648);
  EXPECT_EQ(Made(), 4u);  // two asterisks, the cross, the balls panel
  EXPECT_EQ(canvas_.LiveImages(), 4u);

  // Taller only: the grid's cells grow, the glyph side is held by the width (87 * 0.7 = 60).
  Resize(1280, 900);
  EXPECT_EQ(layout_.glyphSize, 60);
  EXPECT_EQ(Made(), 4u);
  EXPECT_EQ(canvas_.CallsOf(CallKind::FreeImage).size(), 4u);
  EXPECT_EQ(canvas_.LiveImages(), 4u);
}

TEST_F(LayoutImages, ASizeThatKeepsTheirSidesKeepsTheImages) {
  Resize(1280, 780);
  Image* white = layout_.whiteAsterisk;
  Image* cross = layout_.hitCross;
  Image* balls = balls_.ballsPanelImage;
  Resize(1280, 780);
  EXPECT_EQ(Made(), 0u);
  // One pixel wider: same cells (87.7 x 74.5), same glyphs; the balls panel keeps its size.
  Resize(1281, 780);
  EXPECT_EQ(Made(), 0u);
  EXPECT_TRUE(canvas_.CallsOf(CallKind::FreeImage).empty());
  EXPECT_EQ(layout_.whiteAsterisk, white);
  EXPECT_EQ(layout_.hitCross, cross);
  EXPECT_EQ(balls_.ballsPanelImage, balls);
  // Ten pixels wider: cells 88 wide, so a new cross; the glyph is still held by the 74 rows.
  Resize(1290, 780);
  EXPECT_EQ(layout_.glyphSize, 51);
  EXPECT_EQ(layout_.whiteAsterisk, white);
  EXPECT_EQ(layout_.crossBoxW, 88);
  EXPECT_EQ(Made(), 1u);
}

}  // namespace
}  // namespace render
