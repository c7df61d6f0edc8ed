// The six font sizes by client height, and LoadFonts' free-then-load order, faces and weights,
// and the fitted fonts it lets go, checked on a recording canvas.
#include "render/fonts.h"

#include <gtest/gtest.h>

#include "render/display_list.h"

namespace render {
namespace {

struct SizeCase {
  int64_t clientHeight;
  FontPointSizes points;
};

class FontSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FontSizes, FollowTheClientHeight) {
  EXPECT_EQ(FontPoints(GetParam().clientHeight), GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(
    Heights, FontSizes,
    ::testing::Values(SizeCase{780, {24, 11, 16, 14, 12, 13}},  // the design height
                      SizeCase{400, {16, 7, 11, 9, 8, 9}},      // raised to the 0.7 floor
                      SizeCase{0, {16, 7, 11, 9, 8, 9}},
                      SizeCase{1200, {36, 14, 20, 21, 18, 20}},  // labels capped, others grow
                      SizeCase{998, {30, 14, 20, 17, 15, 16}},   // s = 1.2797, just under the cap
                      SizeCase{int64_t{1} << 50, {1200, 14, 20, 700, 600, 650}}));

TEST(LoadFonts, LoadsSixSegoeFontsInOrderWithTheirWeights) {
  RecordingCanvas canvas(96.0);
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  const auto loads = canvas.CallsOf(CallKind::LoadFont);
  ASSERT_EQ(loads.size(), 6u);
  const int points[] = {24, 11, 16, 14, 12, 13};
  const bool bold[] = {true, false, true, true, false, true};
  platform::Font* const loaded[] = {fonts.gridNumberFont, fonts.buttonFont,
                                    fonts.tabFont,        fonts.ballsTitleFont,
                                    fonts.overlayFont,    fonts.overlayTitleFont};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(loads[i].text, "Segoe UI");
    EXPECT_EQ(loads[i].ints[0], points[i]) << i;
    EXPECT_EQ(loads[i].ints[1], bold[i] ? 1 : 0) << i;
    EXPECT_EQ(loads[i].font, loaded[i]) << i;
  }
  EXPECT_EQ(canvas.InfoOf(fonts.gridNumberFont).pixelSize, 32);
  EXPECT_TRUE(canvas.CallsOf(CallKind::FreeFont).empty());
}

TEST(LoadFonts, ReloadFreesEveryOldFontFirstAndSkipsMissingOnes) {
  RecordingCanvas canvas;
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  const Fonts old = fonts;
  fonts.tabFont = nullptr;  // as if it had failed to load
  canvas.Clear();

  LoadFonts(canvas, fonts, 1200);
  const auto& calls = canvas.Calls();
  ASSERT_EQ(calls.size(), 11u);
  const platform::Font* const freed[] = {old.gridNumberFont, old.buttonFont, old.ballsTitleFont,
                                         old.overlayFont, old.overlayTitleFont};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(calls[i].kind, CallKind::FreeFont) << i;
    EXPECT_EQ(calls[i].font, freed[i]) << i;
  }
  for (int i = 5; i < 11; ++i) EXPECT_EQ(calls[i].kind, CallKind::LoadFont) << i;
  EXPECT_EQ(calls[5].ints[0], 36);
  EXPECT_EQ(canvas.LiveFonts(), 7u);  // six new ones plus the old tab font the caller dropped
}

// The overlays' fitted fonts belong to the old size: freed with the six and left to be chosen
// again, with the grid they fitted forgotten.
TEST(LoadFonts, ReloadFreesTheFittedFontsAndForgetsTheirGrid) {
  RecordingCanvas canvas;
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  fonts.aboutFont = canvas.LoadFont("Segoe UI", 7, false);
  fonts.aboutTitleFont = canvas.LoadFont("Segoe UI", 8, true);
  fonts.payoutFont = canvas.LoadFont("Segoe UI", 9, false);
  fonts.fittedWidth = 876;
  fonts.fittedHeight = 596;
  const Fonts old = fonts;
  canvas.Clear();

  LoadFonts(canvas, fonts, 900);
  const auto freed = canvas.CallsOf(CallKind::FreeFont);
  ASSERT_EQ(freed.size(), 9u);
  EXPECT_EQ(freed[6].font, old.aboutFont);
  EXPECT_EQ(freed[7].font, old.aboutTitleFont);
  EXPECT_EQ(freed[8].font, old.payoutFont);
  EXPECT_EQ(fonts.aboutFont, nullptr);
  EXPECT_EQ(fonts.aboutTitleFont, nullptr);
  EXPECT_EQ(fonts.payoutFont, nullptr);
  EXPECT_EQ(fonts.fittedWidth, 0);
  EXPECT_EQ(fonts.fittedHeight, 0);
  EXPECT_EQ(fonts.points, FontPoints(900));
  EXPECT_EQ(canvas.LiveFonts(), 6u);
}

TEST(LoadFonts, FailedLoadsLeaveNullFonts) {
  RecordingCanvas canvas;
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  canvas.FailFontLoads(true);
  LoadFonts(canvas, fonts, 900);
  EXPECT_EQ(fonts.gridNumberFont, nullptr);
  EXPECT_EQ(fonts.overlayTitleFont, nullptr);
  EXPECT_EQ(canvas.LiveFonts(), 0u);
}

}  // namespace
}  // namespace render
