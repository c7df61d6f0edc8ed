// The six font sizes by client height, LoadFonts' order, faces and weights, the cache that keeps
// the fonts of sizes left, and the fitted fonts kept per grid, checked on a recording canvas.
#include "render/fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

// A window dragged to a new size and back: the old size's fonts are taken again, nothing opened
// twice and nothing freed; a font shared by two slots (20 points bold at 1200) is opened once.
TEST(LoadFonts, ASizeLoadedBeforeIsTakenFromTheCache) {
  RecordingCanvas canvas;
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  const Fonts first = fonts;
  canvas.Clear();
  LoadFonts(canvas, fonts, 1200);
  EXPECT_EQ(canvas.CallsOf(CallKind::LoadFont).size(), 5u);
  EXPECT_EQ(fonts.tabFont, fonts.overlayTitleFont);
  EXPECT_EQ(canvas.InfoOf(fonts.gridNumberFont).points, 36);
  canvas.Clear();
  LoadFonts(canvas, fonts, 780);
  EXPECT_TRUE(canvas.Calls().empty());
  EXPECT_EQ(fonts.gridNumberFont, first.gridNumberFont);
  EXPECT_EQ(fonts.overlayTitleFont, first.overlayTitleFont);
  EXPECT_EQ(canvas.LiveFonts(), 11u);
}

// Many sizes in a row: the cache stays within its size, frees the least recently used fonts,
// never one in a slot, and a font a slot held that the cache does not own is freed.
TEST(LoadFonts, TheCacheFreesTheLeastRecentlyUsedBeyondItsSize) {
  RecordingCanvas canvas;
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  platform::Font* const stray = canvas.LoadFont("Segoe UI", 99, false);
  fonts.buttonFont = stray;
  for (int64_t h = 800; h <= 2000; h += 40) {
    LoadFonts(canvas, fonts, h);
    EXPECT_LE(fonts.cache.size(), kFontCacheSize) << h;
    EXPECT_EQ(canvas.LiveFonts(), fonts.cache.size()) << h;
  }
  const auto freed = canvas.CallsOf(CallKind::FreeFont);
  ASSERT_FALSE(freed.empty());
  EXPECT_EQ(freed.front().font, stray);
  EXPECT_TRUE(std::none_of(fonts.cache.begin(), fonts.cache.end(), [](const CachedFont& c) {
    return c.points == 24 && c.bold;
  })) << "780's grid font, the least recently used, went";
  const FontPointSizes last = FontPoints(2000);
  EXPECT_EQ(canvas.InfoOf(fonts.gridNumberFont).points, last.gridNumber) << "in use, kept";
  EXPECT_EQ(canvas.InfoOf(fonts.buttonFont).points, last.button);
  EXPECT_EQ(canvas.InfoOf(fonts.overlayTitleFont).points, last.overlayTitle);
}

// The overlays' fitted fonts belong to the old grid: kept for it, out of their slots, with the
// grid they fitted forgotten, and found again for that grid at the same overlay sizes only.
TEST(FittedFonts, AreKeptForTheirGridAndForgottenByAReload) {
  RecordingCanvas canvas;
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  EXPECT_FALSE(TakeFittedFonts(fonts, 876, 596));
  fonts.aboutFont = canvas.LoadFont("Segoe UI", 7, false);
  fonts.aboutTitleFont = canvas.LoadFont("Segoe UI", 8, true);
  fonts.payoutFont = canvas.LoadFont("Segoe UI", 9, false);
  KeepFittedFonts(canvas, fonts, 876, 596);
  const Fonts fitted = fonts;
  EXPECT_EQ(fonts.fittedWidth, 876);

  LoadFonts(canvas, fonts, 900);
  EXPECT_EQ(fonts.aboutFont, nullptr);
  EXPECT_EQ(fonts.payoutFont, nullptr);
  EXPECT_EQ(fonts.fittedWidth, 0);
  EXPECT_EQ(fonts.fittedHeight, 0);
  EXPECT_FALSE(TakeFittedFonts(fonts, 876, 596)) << "other overlay sizes";
  LoadFonts(canvas, fonts, 780);
  ASSERT_TRUE(TakeFittedFonts(fonts, 876, 596));
  EXPECT_EQ(fonts.aboutFont, fitted.aboutFont);
  EXPECT_EQ(fonts.aboutTitleFont, fitted.aboutTitleFont);
  EXPECT_EQ(fonts.payoutFont, fitted.payoutFont);
  EXPECT_EQ(fonts.fittedHeight, 596);
  EXPECT_TRUE(canvas.CallsOf(CallKind::FreeFont).empty());
}

TEST(FittedFonts, BeyondTheCacheSizeTheLeastRecentlyUsedSetIsFreed) {
  RecordingCanvas canvas;
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  std::vector<const platform::Font*> firstSet;
  for (int64_t w = 500; w < 500 + static_cast<int64_t>(kFittedCacheSize) + 1; ++w) {
    fonts.aboutFont = canvas.LoadFont("Segoe UI", 7, false);
    fonts.aboutTitleFont = nullptr;  // failed: the overlay font serves
    fonts.payoutFont = canvas.LoadFont("Segoe UI", 9, false);
    if (firstSet.empty()) firstSet = {fonts.aboutFont, fonts.payoutFont};
    KeepFittedFonts(canvas, fonts, w, 400);
  }
  std::vector<const platform::Font*> freed;
  for (const CanvasCall& call : canvas.CallsOf(CallKind::FreeFont)) freed.push_back(call.font);
  EXPECT_EQ(freed, firstSet);
  EXPECT_EQ(fonts.fittedCache.size(), kFittedCacheSize);
  EXPECT_FALSE(TakeFittedFonts(fonts, 500, 400));
  EXPECT_TRUE(TakeFittedFonts(fonts, 501, 400));
}

TEST(LoadFonts, FailedLoadsLeaveNullFonts) {
  RecordingCanvas canvas;
  Fonts fonts;
  LoadFonts(canvas, fonts, 780);
  canvas.FailFontLoads(true);
  LoadFonts(canvas, fonts, 900);
  EXPECT_EQ(fonts.gridNumberFont, nullptr);
  EXPECT_EQ(fonts.overlayTitleFont, nullptr);
  EXPECT_EQ(canvas.LiveFonts(), 6u) << "780's, kept in the cache";
  LoadFonts(canvas, fonts, 780);
  EXPECT_NE(fonts.gridNumberFont, nullptr) << "a cached size needs no load";
}

}  // namespace
}  // namespace render
