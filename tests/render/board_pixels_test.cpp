// A few pixels of the board drawn through the SDL canvas on the software renderer over an
// in-memory surface: the grid's cells cover its whole rectangle at any size, the stamped cross
// looks like the one drawn line by line, heat faces match a real blend, and the asterisk has
// twelve rays.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "platform/sdl/sdl_canvas.h"
#include "render/balls_panel.h"
#include "render/board_view.h"
#include "render/card_grid.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"

namespace {

using platform::Color;
using platform::RGB;
using platform::RGBA;

constexpr Color kMagenta = RGB(255, 0, 255);  // never painted by the grid

class BoardPixels : public ::testing::Test {
 protected:
  void TearDown() override { Close(); }

  // A screen of the client size with the layout, fonts and images made on it.
  void Open(int64_t width, int64_t height) {
    Close();
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(width), static_cast<int>(height),
                                              32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface_, nullptr);
    renderer_ = SDL_CreateSoftwareRenderer(surface_);
    ASSERT_NE(renderer_, nullptr);
    canvas_ = std::make_unique<platform::SdlCanvas>(renderer_, 96.0);
    layout_ = render::Layout{};
    layout_.clientWidth = width;
    layout_.clientHeight = height;
    balls_ = render::BallsPanel{};
    render::LoadFonts(*canvas_, fonts_, height);
    render::ComputeLayout(layout_, *canvas_, balls_, fonts_);
    Fill(kMagenta);
    ASSERT_TRUE(canvas_->BeginDrawing(nullptr));
  }
  void Close() {
    canvas_.reset();  // frees the fonts and images with it
    fonts_ = render::Fonts{};
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (surface_ != nullptr) SDL_FreeSurface(surface_);
    renderer_ = nullptr;
    surface_ = nullptr;
  }

  void Fill(Color c) {
    SDL_FillRect(surface_, nullptr,
                 SDL_MapRGBA(surface_->format, platform::Red(c), platform::Green(c),
                             platform::Blue(c), 255));
  }
  Color At(int64_t x, int64_t y) {
    SDL_RenderFlush(renderer_);
    const auto* row = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch;
    const uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  }
  std::vector<Color> Pixels(const render::Rect& r) {
    std::vector<Color> out;
    for (int64_t y = r.y; y < r.y + r.h; ++y) {
      for (int64_t x = r.x; x < r.x + r.w; ++x) out.push_back(At(x, y));
    }
    return out;
  }
  void DrawGrid(const render::Layout& layout, int64_t tab = 0) {
    const render::BoardView view{state_, layout, fonts_, balls_};
    render::DrawCardGrid(*canvas_, view, layout.grid, tab);
  }

  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<platform::SdlCanvas> canvas_;
  rules::GameState state_;
  render::Layout layout_;
  render::Fonts fonts_;
  render::BallsPanel balls_;
};

// Nothing fills the grid's background: the cells alone must cover every pixel of it.
TEST_F(BoardPixels, CellsCoverTheWholeGridAtAnySize) {
  struct Size {
    int64_t w, h;
  };
  for (const Size s :
       {Size{1280, 780}, Size{604, 384}, Size{1291, 803}, Size{1403, 917}, Size{2560, 1440}}) {
    for (int64_t heat : {0, 1}) {
      SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h) + (heat ? " heat" : ""));
      Open(s.w, s.h);
      state_.heatMapOn = heat;
      state_.heatCounts[7] = 3;
      DrawGrid(layout_);
      const render::Rect& g = layout_.grid;
      int64_t holes = 0;
      for (int64_t y = g.y; y < std::min(g.y + g.h, s.h); ++y) {
        for (int64_t x = g.x; x < std::min(g.x + g.w, s.w); ++x) holes += At(x, y) == kMagenta;
      }
      EXPECT_EQ(holes, 0);
    }
  }
}

// The cross stamped from its image paints the same pixels as its 44 lines drawn on the cell.
TEST_F(BoardPixels, StampedCrossEqualsTheDrawnCross) {
  for (int64_t width : {1280, 1291, 604}) {
    SCOPED_TRACE(width);
    Open(width, 780);
    ASSERT_NE(layout_.hitCross, nullptr);
    state_ = rules::GameState{};
    for (int n : {5, 6, 15, 80}) {
      rules::SetPick(state_, 1, n, true);
      state_.drawn[n] = 1;
    }
    rules::SetPick(state_, 2, 6, true);  // a shared number: the black asterisk over the cross
    const render::Rect area{layout_.grid.x, layout_.grid.y, layout_.grid.w, layout_.grid.h};
    DrawGrid(layout_);
    const auto stamped = Pixels(area);
    render::Layout lines = layout_;
    lines.hitCross = nullptr;
    Fill(kMagenta);
    DrawGrid(lines);
    EXPECT_TRUE(Pixels(area) == stamped);
    // And the cross is there: yellow just inside the inset corner of the content box.
    const render::Rect box = render::CellBox(layout_.grid, 5);
    const int64_t x1 = box.x + std::lround(0.05 * static_cast<double>(box.w - 1));
    const int64_t y1 = box.y + std::lround(0.05 * static_cast<double>(box.h - 1));
    EXPECT_EQ(At(x1 + 1, y1 + 1), RGB(255, 230, 0));
  }
}

// Heat faces are an opaque colour worked out in advance; on screen they must match orange really
// blended over idle blue, at the alphas of counts 1, 3 and 5.
TEST_F(BoardPixels, HeatFacesMatchABlendOverIdleBlue) {
  Open(1280, 780);
  state_.heatMapOn = 1;
  state_.heatCounts[1] = 1;
  state_.heatCounts[2] = 3;
  state_.heatCounts[3] = 5;
  DrawGrid(layout_);
  const int alphas[] = {32, 123, 215};
  for (int n = 1; n <= 3; ++n) {
    const render::Rect box = render::CellBox(layout_.grid, n);
    const Color face = At(box.x + 6, box.y + 6);
    canvas_->SetDrawingMode(platform::DrawMode::Opaque);
    canvas_->Box(0, 0, 10, 10, RGB(0, 90, 200));
    canvas_->SetDrawingMode(platform::DrawMode::AlphaBlend);
    canvas_->Box(0, 0, 10, 10, RGBA(255, 130, 0, static_cast<uint32_t>(alphas[n - 1])));
    const Color blended = At(5, 5);
    EXPECT_NEAR(platform::Red(face), platform::Red(blended), 2) << "count of number " << n;
    EXPECT_NEAR(platform::Green(face), platform::Green(blended), 2) << "count of number " << n;
    EXPECT_NEAR(platform::Blue(face), platform::Blue(blended), 2) << "count of number " << n;
  }
}

TEST_F(BoardPixels, AsteriskHasTwelveRaysOnAClearSquare) {
  Open(1280, 780);
  ASSERT_EQ(layout_.glyphSize, 51);
  canvas_->EndDrawing();
  ASSERT_TRUE(canvas_->BeginDrawing(layout_.whiteAsterisk));
  std::vector<uint32_t> argb(51 * 51);
  ASSERT_EQ(SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, argb.data(), 51 * 4),
            0);
  canvas_->EndDrawing();
  auto alpha = [&](int x, int y) { return argb[static_cast<std::size_t>(y * 51 + x)] >> 24; };
  EXPECT_EQ(alpha(25, 25), 255u);  // the hub
  EXPECT_EQ(alpha(0, 0), 0u);
  EXPECT_EQ(alpha(50, 50), 0u);
  EXPECT_EQ(alpha(50, 0), 0u);
  EXPECT_EQ(argb[25 * 51 + 25] & 0xFFFFFFu, 0xFFFFFFu);

  // Round a circle inside the rays' reach: twelve separate inked arcs.
  constexpr int kSteps = 720;
  std::vector<bool> ink;
  for (int step = 0; step < kSteps; ++step) {
    const double angle = 2 * std::numbers::pi * step / kSteps;
    const auto x = static_cast<int>(25.5 + 17 * std::cos(angle));
    const auto y = static_cast<int>(25.5 + 17 * std::sin(angle));
    ink.push_back(alpha(x, y) > 128);
  }
  int arcs = 0;
  for (int step = 0; step < kSteps; ++step) arcs += ink[step] && !ink[(step + kSteps - 1) % kSteps];
  EXPECT_EQ(arcs, 12);
}

}  // namespace
