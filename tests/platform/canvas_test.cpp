// Pixel checks of SdlCanvas on SDL's software renderer over an in-memory surface: shapes, modes,
// images, vector paths, text and fonts. Needs no display; reads the surface's pixels directly.
#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sdl/font_finder.h"
#include "platform/sdl/sdl_canvas.h"

namespace platform {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr Color kBackground = RGBA(10, 20, 30, 255);
constexpr Color kPaint = RGB(200, 100, 50);  // alpha 0, as the game's colours are

class SdlCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface_, nullptr);
    renderer_ = SDL_CreateSoftwareRenderer(surface_);
    ASSERT_NE(renderer_, nullptr);
    canvas_ = std::make_unique<SdlCanvas>(renderer_, 96.0);
    FillSurface(kBackground);
    ASSERT_TRUE(canvas_->BeginDrawing(nullptr));
  }
  void TearDown() override {
    canvas_.reset();
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (surface_ != nullptr) SDL_FreeSurface(surface_);
  }

  void FillSurface(Color c) {
    SDL_FillRect(surface_, nullptr, SDL_MapRGBA(surface_->format, Red(c), Green(c), Blue(c), 255));
  }

  // The pixel as a Color (alpha included).
  Color At(int x, int y) {
    SDL_RenderFlush(renderer_);
    const auto* row = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch;
    const uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
    return RGBA((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
  }

  std::vector<SDL_Point> Changed() {
    std::vector<SDL_Point> out;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (At(x, y) != kBackground) out.push_back({x, y});
      }
    }
    return out;
  }

  bool Painted(int x, int y, Color c) { return At(x, y) == (c | 0xFF000000u); }

  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<SdlCanvas> canvas_;
};

// Every changed pixel must be expected and vice versa.
void ExpectExactly(const std::vector<SDL_Point>& changed, auto expected) {
  int expectedCount = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) expectedCount += expected(x, y) ? 1 : 0;
  }
  for (const auto& p : changed)
    EXPECT_TRUE(expected(p.x, p.y)) << "stray pixel " << p.x << "," << p.y;
  EXPECT_EQ(static_cast<int>(changed.size()), expectedCount);
}

struct BoxCase {
  const char* name;
  DrawMode mode;
  int64_t x, y, w, h;
  bool outline;
};

class BoxCoverage : public SdlCanvasTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoxCoverage, PaintsExactlyItsPixels) {
  const BoxCase& c = GetParam();
  canvas_->SetDrawingMode(c.mode);
  canvas_->SetFrontColor(kPaint);
  canvas_->Box(c.x, c.y, c.w, c.h);
  ExpectExactly(Changed(), [&](int64_t x, int64_t y) {
    const bool inside = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
    const bool rim = x == c.x || x == c.x + c.w - 1 || y == c.y || y == c.y + c.h - 1;
    return inside && (!c.outline || rim);
  });
  for (const auto& p : Changed()) EXPECT_TRUE(Painted(p.x, p.y, kPaint));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BoxCoverage,
    ::testing::Values(BoxCase{"Filled", DrawMode::Opaque, 3, 4, 5, 2, false},
                      BoxCase{"TransparentTextFills", DrawMode::TransparentText, 0, 0, 7, 9, false},
                      BoxCase{"Outline", DrawMode::Outline, 5, 6, 10, 8, true},
                      BoxCase{"OutlineOneWide", DrawMode::Outline, 5, 6, 1, 8, true},
                      BoxCase{"OutlineTwoHigh", DrawMode::Outline, 5, 6, 9, 2, true},
                      BoxCase{"ZeroWidth", DrawMode::Opaque, 5, 6, 0, 8, false},
                      BoxCase{"NegativeHeight", DrawMode::Opaque, 5, 6, 4, -3, false},
                      BoxCase{"ClippedAtEdges", DrawMode::Opaque, -3, 40, 10, 20, false},
                      BoxCase{"FarOutside", DrawMode::Outline, INT64_MAX - 5, 2, 4, 4, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SdlCanvasTest, ExplicitColourLeavesFrontColourAlone) {
  canvas_->SetFrontColor(kPaint);
  canvas_->Box(0, 0, 2, 2, RGB(1, 2, 3));
  canvas_->Box(4, 0, 2, 2);
  EXPECT_TRUE(Painted(0, 0, RGB(1, 2, 3)));
  EXPECT_TRUE(Painted(4, 0, kPaint));
}

TEST_F(SdlCanvasTest, AlphaBlendHonoursAlphaAndOtherModesIgnoreIt) {
  canvas_->SetDrawingMode(DrawMode::AlphaBlend);
  canvas_->Box(0, 0, 10, 10, RGBA(255, 255, 255, 0));
  EXPECT_TRUE(Changed().empty());

  canvas_->Box(0, 0, 10, 10, RGBA(200, 100, 50, 255));
  canvas_->SetDrawingMode(DrawMode::Opaque);
  canvas_->Box(20, 0, 10, 10, RGBA(200, 100, 50, 0));
  EXPECT_EQ(At(5, 5), At(25, 5));
  EXPECT_TRUE(Painted(5, 5, kPaint));

  canvas_->SetDrawingMode(DrawMode::AlphaBlend);
  canvas_->Box(40, 0, 10, 10, RGBA(255, 255, 255, 128));
  const Color half = At(45, 5);
  EXPECT_NEAR(Red(half), (255 + 10) / 2, 2);
  EXPECT_NEAR(Blue(half), (255 + 30) / 2, 2);
}

TEST_F(SdlCanvasTest, AlphaBlendAppliesToCirclesAndLines) {
  canvas_->SetDrawingMode(DrawMode::AlphaBlend);
  canvas_->SetFrontColor(RGBA(255, 0, 0, 0));
  canvas_->Circle(20, 20, 6);
  canvas_->Line(0, 40, 60, 40);
  EXPECT_TRUE(Changed().empty());
  canvas_->SetFrontColor(RGBA(255, 255, 255, 128));
  canvas_->Circle(20, 20, 6);
  canvas_->Line(0, 40, 60, 40);
  EXPECT_NEAR(Green(At(20, 20)), (255 + 20) / 2, 2);
  EXPECT_NEAR(Green(At(30, 40)), (255 + 20) / 2, 2);
}

// Blending at every alpha the board uses, against the exact formula: a blend that inverts or
// squares the alpha, or skips a shape, shows at these alphas though it may pass at 128.
enum class Shape { Box, Circle, Line };

class AlphaBlendFormula : public SdlCanvasTest,
                          public ::testing::WithParamInterface<std::tuple<Shape, int>> {};

TEST_P(AlphaBlendFormula, MatchesTheWeightedMean) {
  const auto [shape, alpha] = GetParam();
  const Color source = RGBA(250, 140, 60, static_cast<uint32_t>(alpha));
  canvas_->SetDrawingMode(DrawMode::AlphaBlend);
  canvas_->SetFrontColor(source);
  int x = 0, y = 0;
  switch (shape) {
    case Shape::Box:
      canvas_->Box(10, 10, 20, 20);
      x = 20, y = 20;
      break;
    case Shape::Circle:
      canvas_->Circle(40, 24, 8);
      x = 40, y = 24;
      break;
    case Shape::Line:
      canvas_->Line(0, 40, 63, 40);
      x = 30, y = 40;
      break;
  }
  const Color got = At(x, y);
  auto expected = [a = alpha](int s, int d) { return (s * a + d * (255 - a)) / 255.0; };
  EXPECT_NEAR(Red(got), expected(Red(source), Red(kBackground)), 2);
  EXPECT_NEAR(Green(got), expected(Green(source), Green(kBackground)), 2);
  EXPECT_NEAR(Blue(got), expected(Blue(source), Blue(kBackground)), 2);
  EXPECT_EQ(Alpha(got), 255);
}

std::string BlendCaseName(const ::testing::TestParamInfo<std::tuple<Shape, int>>& info) {
  const char* shapes[] = {"Box", "Circle", "Line"};
  return shapes[static_cast<int>(std::get<0>(info.param))] +
         std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(BoardAlphas, AlphaBlendFormula,
                         ::testing::Combine(::testing::Values(Shape::Box, Shape::Circle,
                                                              Shape::Line),
                                            ::testing::Values(32, 50, 70, 90, 160, 215)),
                         BlendCaseName);

// Pixels of horizontal runs {x0, x1, y} and vertical runs {x, y0, y1}, ends included.
std::vector<SDL_Point> Runs(std::initializer_list<std::array<int, 3>> rows,
                            std::initializer_list<std::array<int, 3>> columns = {}) {
  std::vector<SDL_Point> out;
  for (const auto& r : rows) {
    for (int x = r[0]; x <= r[1]; ++x) out.push_back({x, r[2]});
  }
  for (const auto& c : columns) {
    for (int y = c[1]; y <= c[2]; ++y) out.push_back({c[0], y});
  }
  return out;
}

// n pixels down and to the right from (x, y).
std::vector<SDL_Point> Diagonal(int x, int y, int n) {
  std::vector<SDL_Point> out;
  for (int i = 0; i < n; ++i) out.push_back({x + i, y + i});
  return out;
}

struct LineCase {
  const char* name;
  bool extent;  // LineExtent(a, b, c, d) or Line(a, b, c, d)
  int64_t a, b, c, d;
  std::vector<SDL_Point> pixels;  // all of them, or empty for nothing
};

class LineCoverage : public SdlCanvasTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineCoverage, PaintsExactlyItsPixels) {
  const LineCase& c = GetParam();
  canvas_->SetFrontColor(kPaint);
  if (c.extent) {
    canvas_->LineExtent(c.a, c.b, c.c, c.d);
  } else {
    canvas_->Line(c.a, c.b, c.c, c.d);
  }
  ExpectExactly(Changed(), [&](int x, int y) {
    return std::any_of(c.pixels.begin(), c.pixels.end(),
                       [&](const SDL_Point& p) { return p.x == x && p.y == y; });
  });
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LineCoverage,
    ::testing::Values(
        LineCase{"ExtentZeroWidth", true, 5, 5, 0, 10, {}},
        LineCase{"ExtentZeroHeight", true, 5, 5, 10, 0, {}},
        LineCase{"ExtentHorizontal", true, 2, 3, 4, 1, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
        LineCase{"ExtentVertical", true, 7, 1, 1, 3, {{7, 1}, {7, 2}, {7, 3}}},
        LineCase{"ExtentSinglePixel", true, 9, 9, 1, 1, {{9, 9}}},
        LineCase{"ExtentDiagonal", true, 1, 1, 3, 3, {{1, 1}, {2, 2}, {3, 3}}},
        LineCase{"ExtentNegativeMirrors", true, 6, 2, -3, 1, {{4, 2}, {5, 2}, {6, 2}}},
        LineCase{"PointsIncludeBothEnds", false, 2, 2, 5, 2, {{2, 2}, {3, 2}, {4, 2}, {5, 2}}},
        LineCase{"PointsSame", false, 4, 4, 4, 4, {{4, 4}}},
        // Exact halves round down the screen, whichever end the line starts from.
        LineCase{"Shallow", false, 0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        LineCase{"ShallowReversed", false, 4, 2, 0, 0, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        LineCase{"Steep", false, 1, 0, 2, 3, {{1, 0}, {1, 1}, {2, 2}, {2, 3}}},
        LineCase{"ClippedOnTheLeft", false, -1000, 5, 2, 5, {{0, 5}, {1, 5}, {2, 5}}},
        // The surface is 64 x 48: whatever runs past an edge is cut there, and the part that
        // shows keeps the pixels of the whole line.
        LineCase{"ClippedAtTheTop", false, 5, -1000, 5, 2, Runs({}, {{5, 0, 2}})},
        LineCase{"ClippedOnTheRight", false, 61, 7, 1000, 7, Runs({{61, 63, 7}})},
        LineCase{"ClippedAtTheBottom", false, 9, 45, 9, 1000, Runs({}, {{9, 45, 47}})},
        LineCase{"DiagonalClippedAtTheTop", false, 20, -3, 25, 2, Diagonal(23, 0, 3)},
        LineCase{"DiagonalClippedOnTheRight", false, 60, 10, 70, 20, Diagonal(60, 10, 4)},
        LineCase{"DiagonalClippedAtTheBottom", false, 30, 44, 40, 54, Diagonal(30, 44, 4)},
        // x = 10 + 4 (y + 20) / 22 is 13.6 to 14.5 on the rows that show.
        LineCase{"SteepClippedAtTheTop", false, 10, -20, 14, 2, Runs({}, {{14, 0, 2}})},
        LineCase{"SteepClippedAtTheBottom", false, 40, 40, 44, 60,
                 Runs({}, {{40, 40, 42}, {41, 43, 47}})},
        LineCase{"ShallowClippedOnTheRight", false, 50, 0, 70, 10,
                 Runs({{50, 50, 0},
                       {51, 52, 1},
                       {53, 54, 2},
                       {55, 56, 3},
                       {57, 58, 4},
                       {59, 60, 5},
                       {61, 62, 6},
                       {63, 63, 7}})},
        LineCase{"ShallowClippedAtTheBottom", false, 0, 44, 40, 52,
                 Runs({{0, 2, 44}, {3, 7, 45}, {8, 12, 46}, {13, 17, 47}})},
        LineCase{"ExtentClippedAtTheBottom", true, 3, 46, 1, 10, Runs({}, {{3, 46, 47}})},
        LineCase{"HugeCoordinatesOffScreen", false, INT64_MIN, -5, INT64_MAX, -5, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A long line crossing the whole surface at a slope stays one pixel per column, joined.
TEST_F(SdlCanvasTest, LongSlopedLineIsOnePixelPerColumnAndConnected) {
  canvas_->SetFrontColor(kPaint);
  canvas_->Line(-100, -30, 200, 60);  // slope 0.3, clipped on both sides
  int previous = -1;
  for (int x = 0; x < kWidth; ++x) {
    int count = 0, row = -1;
    for (int y = 0; y < kHeight; ++y) {
      if (At(x, y) != kBackground) ++count, row = y;
    }
    ASSERT_EQ(count, 1) << "column " << x;
    EXPECT_NEAR(row, std::lround(-30 + 0.3 * (x + 100)), 1);
    if (previous >= 0) {
      EXPECT_LE(std::abs(row - previous), 1);
    }
    previous = row;
  }
}

TEST_F(SdlCanvasTest, FilledCircleSpansTwoRadiiPlusOne) {
  canvas_->SetFrontColor(kPaint);
  canvas_->Circle(20, 20, 8);
  const auto changed = Changed();
  for (const auto& p : changed) {
    EXPECT_LE(std::hypot(p.x - 20, p.y - 20), 8.5 + 1e-9) << p.x << "," << p.y;
  }
  EXPECT_TRUE(Painted(12, 20, kPaint) && Painted(28, 20, kPaint));
  EXPECT_TRUE(Painted(20, 12, kPaint) && Painted(20, 28, kPaint));
  EXPECT_NEAR(static_cast<double>(changed.size()), M_PI * 8.5 * 8.5, 12);

  FillSurface(kBackground);
  canvas_->Circle(5, 5, 0);
  ExpectExactly(Changed(), [](int x, int y) { return x == 5 && y == 5; });
  FillSurface(kBackground);
  canvas_->Circle(5, 5, -1);
  EXPECT_TRUE(Changed().empty());
}

TEST_F(SdlCanvasTest, CircleOutlineIsTheRimOfTheFilledCircle) {
  canvas_->SetFrontColor(kPaint);
  canvas_->Circle(20, 20, 9);
  std::vector<std::vector<bool>> disc(kHeight, std::vector<bool>(kWidth));
  for (const auto& p : Changed()) disc[p.y][p.x] = true;

  FillSurface(kBackground);
  canvas_->SetDrawingMode(DrawMode::Outline);
  canvas_->Circle(20, 20, 9);
  auto in = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < kWidth && y < kHeight && disc[y][x];
  };
  ExpectExactly(Changed(), [&](int x, int y) {
    return in(x, y) && !(in(x - 1, y) && in(x + 1, y) && in(x, y - 1) && in(x, y + 1));
  });
  EXPECT_EQ(At(20, 20), kBackground);
}

TEST_F(SdlCanvasTest, ImagesBlendThroughTheirAlpha) {
  Image* clear = canvas_->CreateImage(10, 10, RGBA(255, 255, 255, 0));
  Image* solid = canvas_->CreateImage(4, 3, RGBA(1, 2, 3, 255));
  ASSERT_NE(clear, nullptr);
  ASSERT_NE(solid, nullptr);
  EXPECT_EQ(canvas_->CreateImage(0, 5, kPaint), nullptr);

  // A clear image with an opaque patch: only the patch shows.
  ASSERT_TRUE(canvas_->BeginDrawing(clear));
  canvas_->Box(2, 2, 3, 3, kPaint);
  canvas_->EndDrawing();
  EXPECT_TRUE(Changed().empty()) << "drawing on an image reached the screen";

  ASSERT_TRUE(canvas_->BeginDrawing(nullptr));
  canvas_->DrawImage(clear, 20, 10);
  canvas_->DrawImage(solid, 40, 30);
  ExpectExactly(Changed(), [](int x, int y) {
    return (x >= 22 && x < 25 && y >= 12 && y < 15) || (x >= 40 && x < 44 && y >= 30 && y < 33);
  });
  EXPECT_TRUE(Painted(23, 13, kPaint));
  EXPECT_TRUE(Painted(41, 31, RGB(1, 2, 3)));

  canvas_->FreeImage(clear);
  canvas_->FreeImage(solid);
}

TEST_F(SdlCanvasTest, FreeingTheOpenImageReturnsDrawingToTheScreen) {
  Image* image = canvas_->CreateImage(8, 8, RGBA(0, 0, 0, 255));
  ASSERT_TRUE(canvas_->BeginDrawing(image));
  canvas_->FreeImage(image);
  canvas_->Box(0, 0, 2, 2, kPaint);
  EXPECT_TRUE(Painted(0, 0, kPaint));
}

class VectorTest : public SdlCanvasTest {
 protected:
  // The image's own pixels, alpha included.
  std::vector<Color> ReadImage(Image* image, int w, int h) {
    std::vector<uint32_t> argb(static_cast<std::size_t>(w * h));
    canvas_->EndDrawing();
    EXPECT_TRUE(canvas_->BeginDrawing(image));
    SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, argb.data(), w * 4);
    canvas_->EndDrawing();
    EXPECT_TRUE(canvas_->BeginDrawing(nullptr));
    std::vector<Color> out;
    for (uint32_t p : argb)
      out.push_back(RGBA((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, p >> 24));
    return out;
  }
};

TEST_F(VectorTest, StrokedSegmentIsAntiAliasedAndClearOutside) {
  constexpr int kSide = 32;
  Image* image = canvas_->CreateImage(kSide, kSide, RGBA(255, 255, 255, 0));
  ASSERT_TRUE(canvas_->BeginVectorDrawing(image));
  canvas_->SetVectorColor(RGBA(0, 0, 0, 255));
  canvas_->MoveTo(6.0, 10.3);
  canvas_->AddLineTo(26.0, 21.7);  // sloped, so its edges cross pixels part way
  canvas_->StrokePath(4.0);
  canvas_->EndVectorDrawing();
  const auto pixels = ReadImage(image, kSide, kSide);

  auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * kSide + x)]; };
  EXPECT_EQ(Alpha(at(16, 16)), 255);  // on the centre line
  int partial = 0;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const Color p = at(x, y);
      // Distance from the pixel centre to the segment.
      const double px = x + 0.5 - 6.0, py = y + 0.5 - 10.3, dx = 20.0, dy = 11.4;
      const double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
      const double distance = std::hypot(px - t * dx, py - t * dy);
      if (distance > 2.0 + 0.75) {
        EXPECT_EQ(Alpha(p), 0) << x << "," << y;
      } else if (distance < 2.0 - 0.75) {
        EXPECT_EQ(Alpha(p), 255) << x << "," << y;
      }
      if (Alpha(p) > 0 && Alpha(p) < 255) {
        ++partial;
        // Straight alpha: an edge keeps the stroke's own colour, not the clear pixels' white.
        EXPECT_EQ(p & 0xFFFFFFu, 0u) << x << "," << y;
      }
    }
  }
  EXPECT_GT(partial, 20);
  // The round end reaches past the end point along the segment.
  EXPECT_GT(Alpha(at(4, 9)), 0);
}

TEST_F(VectorTest, FilledDiscAndJoinedStrokeBlendOnce) {
  constexpr int kSide = 24;
  Image* image = canvas_->CreateImage(kSide, kSide, RGBA(255, 255, 255, 0));
  ASSERT_TRUE(canvas_->BeginVectorDrawing(image));
  canvas_->SetVectorColor(RGBA(255, 0, 0, 128));
  canvas_->AddCircle(6.0, 6.0, 4.0);
  canvas_->FillPath();
  // A polyline doubling back: its segments overlap but the path is painted once.
  canvas_->MoveTo(14.0, 16.0);
  canvas_->AddLineTo(22.0, 16.0);
  canvas_->AddLineTo(14.0, 16.0);
  canvas_->StrokePath(3.0);
  canvas_->EndVectorDrawing();
  const auto pixels = ReadImage(image, kSide, kSide);
  auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * kSide + x)]; };

  EXPECT_EQ(Alpha(at(6, 6)), 128);
  EXPECT_EQ(Alpha(at(18, 16)), 128);
  EXPECT_EQ(Alpha(at(6, 12)), 0);
  EXPECT_EQ(Alpha(at(18, 20)), 0);
  double area = 0;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) area += Alpha(at(x, y)) / 128.0;
  }
  EXPECT_NEAR(area, M_PI * 16, 1.0);
}

TEST_F(VectorTest, VectorDrawingNeedsAnImage) {
  EXPECT_FALSE(canvas_->BeginVectorDrawing(nullptr));
  // Path calls with nothing open are dropped, not drawn at the next opening.
  canvas_->AddCircle(4, 4, 3);
  canvas_->FillPath();
  Image* image = canvas_->CreateImage(8, 8, RGBA(255, 255, 255, 0));
  ASSERT_TRUE(canvas_->BeginVectorDrawing(image));
  canvas_->SetVectorColor(RGBA(0, 0, 0, 255));
  canvas_->StrokePath(2.0);
  canvas_->EndVectorDrawing();
  for (Color p : ReadImage(image, 8, 8)) EXPECT_EQ(Alpha(p), 0);
}

// Text needs an installed face; the game's setup installs Open Sans and DejaVu Sans.
class TextTest : public SdlCanvasTest {
 protected:
  void SetUp() override {
    SdlCanvasTest::SetUp();
    FontFile file;
    if (!ResolveFontFile("Segoe UI", false, file)) GTEST_SKIP() << "no font installed";
  }

  // Rows holding clearly inked pixels of the text's colour.
  int InkRows() {
    int rows = 0;
    for (int y = 0; y < kHeight; ++y) {
      bool ink = false;
      for (int x = 0; x < kWidth; ++x) ink = ink || Green(At(x, y)) > 128;
      rows += ink ? 1 : 0;
    }
    return rows;
  }
};

TEST_F(TextTest, DrawsInTheFrontColourAndMeasuresGrowingWidth) {
  Font* font = canvas_->LoadFont("Segoe UI", 12, false);
  ASSERT_NE(font, nullptr);
  canvas_->SetFont(font);
  canvas_->SetDrawingMode(DrawMode::TransparentText);
  canvas_->SetFrontColor(RGB(255, 255, 0));
  canvas_->DrawText(2.4, 3.6, "Hi");
  int exact = 0;
  for (const auto& p : Changed()) {
    exact += At(p.x, p.y) == RGBA(255, 255, 0, 255) ? 1 : 0;
    EXPECT_GE(p.x, 2);
    EXPECT_GE(p.y, 4);  // 3.6 rounds to 4
  }
  EXPECT_GT(exact, 5);

  EXPECT_GT(canvas_->TextWidth("Hi"), 0);
  EXPECT_LT(canvas_->TextWidth("Hi"), canvas_->TextWidth("Hiiii"));
  EXPECT_EQ(canvas_->TextWidth(""), 0);
  EXPECT_GT(canvas_->TextHeight("M"), 0);
  EXPECT_EQ(canvas_->TextHeight(""), canvas_->TextHeight("M"));
  canvas_->FreeFont(font);
}

TEST_F(TextTest, NullFontAndFreedFontFallBack) {
  canvas_->SetFrontColor(RGB(255, 255, 255));
  canvas_->SetFont(nullptr);
  canvas_->DrawText(1, 1, "Ok");
  EXPECT_FALSE(Changed().empty());
  EXPECT_GT(canvas_->TextWidth("Ok"), 0);

  Font* font = canvas_->LoadFont("Segoe UI", 20, true);
  ASSERT_NE(font, nullptr);
  canvas_->SetFont(font);
  const double big = canvas_->TextHeight("Ok");
  canvas_->FreeFont(font);
  FillSurface(kBackground);
  canvas_->DrawText(1, 1, "Ok");  // the freed font is no longer used
  EXPECT_FALSE(Changed().empty());
  EXPECT_LT(canvas_->TextHeight("Ok"), big);

  FillSurface(kBackground);
  canvas_->DrawText(1, 1, "");
  EXPECT_TRUE(Changed().empty());
}

TEST_F(TextTest, PointsScaleByDpiToThePixelEm) {
  // Capital H stands about 0.70 to 0.73 em tall in Segoe UI, Open Sans and DejaVu Sans.
  struct Case {
    double dpi;
    int points;
    double em;
  };
  for (const Case c : {Case{96, 24, 32}, Case{72, 24, 24}, Case{96, 12, 16}, Case{144, 12, 24}}) {
    SdlCanvas canvas(renderer_, c.dpi);
    Font* font = canvas.LoadFont("Segoe UI", c.points, false);
    ASSERT_NE(font, nullptr);
    FillSurface(RGBA(0, 0, 0, 255));
    canvas.SetFont(font);
    canvas.SetFrontColor(RGB(255, 255, 255));
    canvas.DrawText(2, 0, "H");
    const int cap = InkRows();
    EXPECT_NEAR(cap / 0.715, c.em, 1.6) << c.points << " pt at " << c.dpi << " dpi, cap " << cap;
    EXPECT_GE(canvas.TextHeight("H"), c.em) << "line height below the em";
    EXPECT_LE(canvas.TextHeight("H"), c.em * 1.45);
  }
}

// The size that reaches the font engine, read back through the canvas's own measurements and
// compared with the same file opened here at the expected pixel size: round(points x dpi / 72).
TEST_F(TextTest, PointSizeReachesTheFontEngineRounded) {
  struct Case {
    int points;
    double dpi;
    int pixels;
  };
  FontFile file;
  ASSERT_TRUE(ResolveFontFile("Segoe UI", false, file));
  ASSERT_EQ(TTF_Init(), 0);
  const std::string sample = "Numbers 0123456789 $25000 KENO";
  auto measure = [&](int pixels, int& width, int& height) {
    TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), pixels, file.index);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(TTF_SizeUTF8(font, sample.c_str(), &width, nullptr), 0);
    height = TTF_FontHeight(font);
    TTF_CloseFont(font);
  };
  for (const Case c :
       {Case{11, 96, 15}, Case{13, 96, 17}, Case{7, 96, 9}, Case{9, 120, 15}, Case{24, 120, 40}}) {
    SCOPED_TRACE(std::to_string(c.points) + " pt at " + std::to_string(c.dpi) + " dpi");
    int width = 0, height = 0, smaller = 0, larger = 0, unused = 0;
    measure(c.pixels, width, height);
    measure(c.pixels - 1, smaller, unused);
    measure(c.pixels + 1, larger, unused);
    ASSERT_LT(smaller, width) << "the sample must tell neighbouring sizes apart";
    ASSERT_LT(width, larger);

    SdlCanvas canvas(renderer_, c.dpi);
    Font* font = canvas.LoadFont("Segoe UI", c.points, false);
    ASSERT_NE(font, nullptr);
    canvas.SetFont(font);
    EXPECT_EQ(canvas.TextWidth(sample), width);
    EXPECT_EQ(canvas.TextHeight(sample), height);
    canvas.FreeFont(font);
  }
  TTF_Quit();
}

// Text positions round to the nearest pixel: x + 0.49 draws as x, x + 0.5 as x + 1, and the
// same down the screen.
TEST_F(TextTest, FractionalPositionsRoundToTheNearestPixel) {
  Font* font = canvas_->LoadFont("Segoe UI", 13, false);
  ASSERT_NE(font, nullptr);
  canvas_->SetFont(font);
  canvas_->SetDrawingMode(DrawMode::TransparentText);
  canvas_->SetFrontColor(RGB(255, 255, 255));
  auto draw = [&](double x, double y) {
    FillSurface(kBackground);
    canvas_->DrawText(x, y, "H");
    std::vector<Color> pixels;
    for (int py = 0; py < kHeight; ++py) {
      for (int px = 0; px < kWidth; ++px) pixels.push_back(At(px, py));
    }
    return pixels;
  };
  // The picture moved by (dx, dy), background where it moved in from.
  auto shifted = [](const std::vector<Color>& from, int dx, int dy) {
    std::vector<Color> out(from.size(), kBackground);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int sx = x - dx, sy = y - dy;
        if (sx >= 0 && sy >= 0 && sx < kWidth && sy < kHeight) {
          out[static_cast<std::size_t>(y * kWidth + x)] =
              from[static_cast<std::size_t>(sy * kWidth + sx)];
        }
      }
    }
    return out;
  };
  const auto whole = draw(10, 10);
  ASSERT_NE(whole, shifted(whole, 1, 0)) << "nothing drawn";
  EXPECT_EQ(draw(10.49, 10), whole);
  EXPECT_EQ(draw(10.5, 10), shifted(whole, 1, 0));
  EXPECT_EQ(draw(9.51, 10), whole);
  EXPECT_EQ(draw(10, 10.49), whole);
  EXPECT_EQ(draw(10, 10.5), shifted(whole, 0, 1));
  EXPECT_EQ(draw(10, 9.5), whole);
}

// (x, y) is the top-left corner of the text's line box: all ink lies within TextHeight below y,
// and the capital's top in its upper third, not on a baseline at y.
TEST_F(TextTest, InkLiesInTheLineBelowTheTopLeftCorner) {
  for (int points : {9, 13, 16}) {
    SCOPED_TRACE(std::to_string(points) + " pt");
    Font* font = canvas_->LoadFont("Segoe UI", points, false);
    ASSERT_NE(font, nullptr);
    canvas_->SetFont(font);
    canvas_->SetFrontColor(RGB(255, 255, 255));
    FillSurface(kBackground);
    constexpr int kTop = 12;
    canvas_->DrawText(4, kTop, "Hg");
    const auto height = static_cast<int>(std::lround(canvas_->TextHeight("Hg")));
    ASSERT_LE(kTop + height, kHeight);
    int first = kHeight, last = -1;
    for (const auto& p : Changed()) {
      first = std::min(first, p.y);
      last = std::max(last, p.y);
    }
    ASSERT_GE(last, 0) << "nothing drawn";
    EXPECT_GE(first, kTop);
    EXPECT_LT(last, kTop + height);
    EXPECT_LT(first, kTop + height / 3.0) << "the H starts " << first - kTop << " below y";
    EXPECT_GT(last, kTop + height / 2) << "the g's tail reaches the lower half";
    canvas_->FreeFont(font);
  }
}

TEST_F(TextTest, UnknownFaceFallsBackAndBadSizesFail) {
  EXPECT_NE(canvas_->LoadFont("No Such Face Anywhere", 12, false), nullptr);
  EXPECT_NE(canvas_->LoadFont("No Such Face Anywhere", 12, true), nullptr);
  EXPECT_EQ(canvas_->LoadFont("Segoe UI", 0, false), nullptr);
  EXPECT_EQ(canvas_->LoadFont("Segoe UI", -3, false), nullptr);
}

TEST_F(TextTest, BoldIsWiderThanRegular) {
  Font* regular = canvas_->LoadFont("Segoe UI", 16, false);
  Font* bold = canvas_->LoadFont("Segoe UI", 16, true);
  ASSERT_NE(regular, nullptr);
  ASSERT_NE(bold, nullptr);
  canvas_->SetFont(regular);
  const double narrow = canvas_->TextWidth("Numbers 12345");
  canvas_->SetFont(bold);
  EXPECT_GT(canvas_->TextWidth("Numbers 12345"), narrow);
}

TEST_F(TextTest, TextTexturesAreReusedThenDroppedWhenUnused) {
  Font* font = canvas_->LoadFont("Segoe UI", 12, false);
  ASSERT_NE(font, nullptr);
  canvas_->SetFont(font);
  canvas_->SetFrontColor(RGB(255, 255, 255));
  canvas_->DrawText(0, 0, "42");
  canvas_->DrawText(10, 10, "42");
  EXPECT_EQ(canvas_->CachedTextCount(), 1u);
  canvas_->SetFrontColor(RGB(0, 0, 0));
  canvas_->DrawText(0, 0, "42");
  EXPECT_EQ(canvas_->CachedTextCount(), 2u);

  // The white one stays in use every frame; the black one is drawn no more.
  for (uint64_t frame = 0; frame <= SdlCanvas::kTextKeepFrames; ++frame) {
    canvas_->EndDrawing();
    ASSERT_TRUE(canvas_->BeginDrawing(nullptr));
    canvas_->SetFrontColor(RGB(255, 255, 255));
    canvas_->DrawText(0, 0, "42");
  }
  EXPECT_EQ(canvas_->CachedTextCount(), 1u);

  // A font freed and another loaded (perhaps at the same address) must not reuse its text.
  canvas_->FreeFont(font);
  EXPECT_EQ(canvas_->CachedTextCount(), 0u);
}

TEST_F(TextTest, FramesDrawnInPartKeepTheTextTheyLeaveOnScreen) {
  Font* font = canvas_->LoadFont("Segoe UI", 12, false);
  ASSERT_NE(font, nullptr);
  canvas_->SetFont(font);
  canvas_->DrawText(0, 0, "left alone");
  const Rect part{0, 30, 10, 10};
  auto partFrames = [&](uint64_t count) {
    for (uint64_t frame = 0; frame < count; ++frame) {
      canvas_->EndDrawing();
      canvas_->SetClip(&part);
      ASSERT_TRUE(canvas_->BeginDrawing(nullptr));
      canvas_->DrawText(0, 30, "redrawn");
      canvas_->SetClip(nullptr);
    }
  };
  partFrames(SdlCanvas::kTextKeepFrames + 5);
  EXPECT_EQ(canvas_->CachedTextCount(), 2u);
  // Only so long, so a game drawn in part for ever still lets old strings go.
  partFrames(SdlCanvas::kTextKeepPartFrames + SdlCanvas::kTextSweepPartFrames);
  EXPECT_EQ(canvas_->CachedTextCount(), 1u);
}

TEST(SdlCanvasWithoutRenderer, DrawsNothingAndStillMeasures) {
  SdlCanvas canvas(nullptr, 0.0);
  EXPECT_FALSE(canvas.BeginDrawing(nullptr));
  EXPECT_EQ(canvas.CreateImage(4, 4, 0), nullptr);
  canvas.Box(0, 0, 4, 4);
  canvas.Circle(2, 2, 2);
  canvas.Line(0, 0, 3, 3);
  canvas.DrawText(0, 0, "x");
  canvas.DrawImage(nullptr, 0, 0);
  EXPECT_FALSE(canvas.BeginVectorDrawing(nullptr));
  FontFile file;
  if (ResolveFontFile("Segoe UI", false, file)) {
    Font* font = canvas.LoadFont("Segoe UI", 12, false);
    ASSERT_NE(font, nullptr);
    canvas.SetFont(font);
    EXPECT_GT(canvas.TextWidth("abc"), 0);
  }
}

TEST(FontFinder, MatchesInstalledFamiliesOnly) {
  FontFile file;
  EXPECT_FALSE(FindFontFile("No Such Face Anywhere", false, file));
  if (!FindFontFile("DejaVu Sans", true, file)) GTEST_SKIP() << "DejaVu Sans not installed";
  EXPECT_EQ(file.family, "DejaVu Sans");
  EXPECT_TRUE(file.bold);
  EXPECT_FALSE(file.path.empty());

  // Substitutes come in the stated order: Open Sans before DejaVu Sans.
  ASSERT_TRUE(ResolveFontFile("No Such Face Anywhere", false, file));
  FontFile openSans;
  EXPECT_EQ(file.family, FindFontFile("Open Sans", false, openSans) ? "Open Sans" : "DejaVu Sans");
  EXPECT_FALSE(file.bold);
}

// A surface of its own with a canvas over it, written into directly (as the game's screen is) or
// only through SDL's renderer.
struct Screen {
  SDL_Surface* surface = nullptr;
  SDL_Renderer* renderer = nullptr;
  std::unique_ptr<SdlCanvas> canvas;
  Screen(uint32_t format, bool direct) {
    surface = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, format);
    renderer = surface != nullptr ? SDL_CreateSoftwareRenderer(surface) : nullptr;
    canvas = std::make_unique<SdlCanvas>(renderer, 96.0);
    if (direct) canvas->UseScreenSurface(surface);
  }
  ~Screen() {
    canvas.reset();
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    if (surface != nullptr) SDL_FreeSurface(surface);
  }
  std::vector<uint32_t> Pixels() {
    SDL_RenderFlush(renderer);
    std::vector<uint32_t> out;
    for (int y = 0; y < kHeight; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(
          static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
      out.insert(out.end(), row, row + kWidth);
    }
    return out;
  }
};

// Shapes of every mode, and text on a plain box, half off it, over its own shadow, on a blended
// box and on an image, drawn over three frames so cached and pre-blended text is used too.
void DrawMixedFrames(Canvas& c) {
  Font* font = c.LoadFont("Segoe UI", 11, false);
  Image* image = c.CreateImage(12, 10, RGBA(90, 160, 30, 255));
  for (int frame = 0; frame < 3; ++frame) {
    c.BeginDrawing(nullptr);
    c.SetFont(font);
    c.SetDrawingMode(DrawMode::Opaque);
    c.Box(0, 0, kWidth, kHeight, RGB(30, 40, 50));
    c.Box(2, 2, 30, 16, RGB(200, 200, 210));
    c.SetFrontColor(RGB(10, 10, 120));
    c.DrawText(4, 2, "12");
    c.DrawText(24, 2, "34");  // runs off its box
    c.Box(34, 2, 28, 16, RGB(0, 90, 0));
    c.SetFrontColor(frame == 1 ? RGB(150, 0, 0) : RGB(0, 0, 0));
    c.DrawText(37, 3, "56");
    c.SetFrontColor(RGB(255, 255, 255));
    c.DrawText(36, 2, "56");  // over its shadow
    c.SetDrawingMode(DrawMode::AlphaBlend);
    c.Box(2, 20, 28, 14, RGBA(255, 0, 0, 120));
    c.DrawText(4, 20, "78");
    c.SetDrawingMode(DrawMode::Outline);
    c.Box(34, 20, 28, 14, RGB(250, 250, 0));
    c.Circle(10, 40, 6, RGB(0, 200, 255));
    c.SetDrawingMode(DrawMode::Opaque);
    c.Box(35, 21, 26, 12, frame == 1 ? RGB(60, 0, 60) : RGB(200, 200, 210));
    c.SetFrontColor(RGB(10, 10, 120));
    c.DrawText(37, 20, "12");  // the first text again, over another colour on one frame
    c.Circle(24, 40, 5, RGB(255, 128, 0));
    c.Line(0, 47, 63, 36);
    c.LineExtent(40, 36, 20, 1);
    c.DrawImage(image, 44, 37);
    c.DrawText(44, 34, "9");
    c.EndDrawing();
  }
}

TEST(SdlCanvasDirect, WritesTheSamePixelsAsDrawingThroughSdl) {
  FontFile file;
  if (!ResolveFontFile("Segoe UI", false, file)) GTEST_SKIP() << "no font installed";
  for (uint32_t format : {SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_RGB888}) {
    Screen direct(format, true), plain(format, false);
    ASSERT_NE(direct.renderer, nullptr);
    DrawMixedFrames(*direct.canvas);
    DrawMixedFrames(*plain.canvas);
    const auto a = direct.Pixels(), b = plain.Pixels();
    for (std::size_t i = 0; i < a.size(); ++i) {
      ASSERT_EQ(a[i], b[i]) << SDL_GetPixelFormatName(format) << " pixel " << i % kWidth << ","
                            << i / kWidth;
    }
  }
}

// Each kind of call drawn clipped changes inside the clip what it changes unclipped, and
// nothing outside it.
TEST(SdlCanvasClip, LimitsEveryCallToTheClip) {
  FontFile file;
  const bool haveFont = ResolveFontFile("Segoe UI", false, file);
  const Rect clip{9, 7, 21, 13};
  struct Case {
    const char* name;
    std::function<void(Canvas&, Image*)> draw;
  };
  const std::vector<Case> cases = {
      {"box", [](Canvas& c, Image*) { c.Box(3, 3, 40, 30, RGB(200, 0, 0)); }},
      {"outline",
       [](Canvas& c, Image*) {
         c.SetDrawingMode(DrawMode::Outline);
         c.Box(5, 5, 20, 20, RGB(0, 200, 0));
       }},
      {"blended",
       [](Canvas& c, Image*) {
         c.SetDrawingMode(DrawMode::AlphaBlend);
         c.Box(0, 0, 30, 30, RGBA(0, 0, 250, 100));
       }},
      {"circle", [](Canvas& c, Image*) { c.Circle(20, 12, 9, RGB(0, 200, 200)); }},
      {"line",
       [](Canvas& c, Image*) {
         c.SetFrontColor(RGB(250, 250, 250));
         c.Line(0, 0, 40, 30);
       }},
      {"image", [](Canvas& c, Image* image) { c.DrawImage(image, 4, 4); }},
      {"text",
       [haveFont](Canvas& c, Image*) {
         if (!haveFont) return;
         c.SetFont(c.LoadFont("Segoe UI", 14, true));
         c.SetFrontColor(RGB(255, 255, 0));
         c.DrawText(6, 4, "8888");
       }},
  };
  for (bool direct : {true, false}) {
    for (const Case& k : cases) {
      Screen whole(SDL_PIXELFORMAT_RGB888, direct), part(SDL_PIXELFORMAT_RGB888, direct);
      ASSERT_NE(whole.renderer, nullptr);
      for (Screen* s : {&whole, &part}) {
        Image* image = s->canvas->CreateImage(30, 20, RGBA(250, 100, 0, 160));
        s->canvas->BeginDrawing(nullptr);
        s->canvas->Box(0, 0, kWidth, kHeight, kBackground);
        if (s == &part) s->canvas->SetClip(&clip);
        k.draw(*s->canvas, image);
        s->canvas->SetClip(nullptr);
        s->canvas->EndDrawing();
      }
      const auto a = whole.Pixels(), b = part.Pixels(), before = [] {
        Screen blank(SDL_PIXELFORMAT_RGB888, false);
        blank.canvas->BeginDrawing(nullptr);
        blank.canvas->Box(0, 0, kWidth, kHeight, kBackground);
        return blank.Pixels();
      }();
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          const bool inside =
              x >= clip.x && x < clip.x + clip.w && y >= clip.y && y < clip.y + clip.h;
          const std::size_t i = static_cast<std::size_t>(y * kWidth + x);
          ASSERT_EQ(b[i], inside ? a[i] : before[i])
              << k.name << (direct ? " direct" : " through SDL") << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(SdlCanvasPresent, NamesOnlyRectanglesOnTheScreenAndForgetsThemWhenTaken) {
  Screen screen(SDL_PIXELFORMAT_RGB888, true);
  ASSERT_NE(screen.renderer, nullptr);
  SdlCanvas& c = *screen.canvas;
  EXPECT_TRUE(c.KeepsFrame());
  const SDL_Rect* rects = nullptr;
  EXPECT_EQ(c.TakePresentRects(&rects), 0);  // nothing asked: the whole screen
  const Rect asked[] = {{-5, -5, 10, 10}, {60, 40, 10, 10}, {100, 100, 5, 5}, {3, 4, 0, 9}};
  c.SetPresentRects(asked, 4);
  ASSERT_EQ(c.TakePresentRects(&rects), 2);
  EXPECT_EQ(rects[0].x, 0);
  EXPECT_EQ(rects[0].w, 5);
  EXPECT_EQ(rects[1].w, kWidth - 60);
  EXPECT_EQ(rects[1].h, kHeight - 40);
  EXPECT_EQ(c.TakePresentRects(&rects), 0);
  // A part wholly off the screen still presents a part, not the whole screen.
  c.SetPresentRects(&asked[2], 1);
  EXPECT_EQ(c.TakePresentRects(&rects), 1);
  // A frame drawn whole after a part was named shows whole.
  c.SetPresentRects(asked, 2);
  c.BeginDrawing(nullptr);
  EXPECT_EQ(c.TakePresentRects(&rects), 0);
}

}  // namespace
}  // namespace platform
