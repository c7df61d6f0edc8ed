// A few pixels of the faces and overlays drawn through the SDL canvas on the software renderer
// over an in-memory surface: the bevel's corners, the muted speaker's slash, and overlay text
// running on past the panel instead of being clipped.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "controls/about_overlay.h"
#include "controls/buttons.h"
#include "platform/sdl/sdl_canvas.h"
#include "render/bevel.h"
#include "render/board_view.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"

namespace {

using platform::Color;
using platform::RGB;

class FacePixels : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, 1280, 780, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface_, nullptr);
    renderer_ = SDL_CreateSoftwareRenderer(surface_);
    ASSERT_NE(renderer_, nullptr);
    canvas_ = std::make_unique<platform::SdlCanvas>(renderer_, 96.0);
    SDL_FillRect(surface_, nullptr, SDL_MapRGBA(surface_->format, 0, 0, 0, 255));
    Resize(1280, 780);
    ASSERT_TRUE(canvas_->BeginDrawing(nullptr));
  }
  void TearDown() override {
    for (platform::Font* f : {fonts_.gridNumberFont, fonts_.buttonFont, fonts_.tabFont,
                              fonts_.ballsTitleFont, fonts_.overlayFont, fonts_.overlayTitleFont}) {
      if (f != nullptr) canvas_->FreeFont(f);
    }
    canvas_.reset();
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (surface_ != nullptr) SDL_FreeSurface(surface_);
  }
  void Resize(int64_t w, int64_t h) {
    layout_.clientWidth = w;
    layout_.clientHeight = h;
    render::ComputeLayoutRects(layout_);
    render::LoadFonts(*canvas_, fonts_, h);
  }
  render::BoardView View(bool aboutOpen = false) const {
    return render::BoardView{state_, layout_, fonts_, balls_, false, aboutOpen, false};
  }
  Color At(int x, int y) {
    SDL_RenderFlush(renderer_);
    const auto* row = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch;
    const uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  }
  // Pixels other than the black the surface started with, within x0..x1-1, y0..y1-1.
  int Painted(int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) n += At(x, y) != RGB(0, 0, 0) ? 1 : 0;
    }
    return n;
  }

  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<platform::SdlCanvas> canvas_;
  rules::GameState state_;
  render::Layout layout_;
  render::Fonts fonts_;
  render::BallsPanel balls_;
};

TEST_F(FacePixels, BevelIsLightOnlyAtTheTopLeftCorner) {
  const Color face = RGB(40, 80, 190), light = RGB(80, 130, 240), dark = RGB(15, 40, 110);
  render::DrawBevelBox(*canvas_, 10, 10, 30, 20, face, light, dark);
  EXPECT_EQ(At(10, 10), RGB(0, 0, 0));  // the outline
  EXPECT_EQ(At(39, 29), RGB(0, 0, 0));
  EXPECT_EQ(At(11, 11), light);
  EXPECT_EQ(At(20, 12), light);
  EXPECT_EQ(At(38, 11), dark);  // top-right corner
  EXPECT_EQ(At(11, 28), dark);  // bottom-left corner
  EXPECT_EQ(At(38, 28), dark);
  EXPECT_EQ(At(13, 13), face);
  EXPECT_EQ(At(36, 26), face);
  EXPECT_EQ(At(40, 20), RGB(0, 0, 0)) << "nothing outside the box";
}

TEST_F(FacePixels, MutedSpeakerIsARedDiscWithAWhiteSlash) {
  state_.soundOn = 0;
  controls::DrawSoundButton(*canvas_, View());
  const render::Rect& r = layout_.soundButton;
  const int th = static_cast<int>(std::lround(canvas_->TextHeight(fonts_.buttonFont)));
  const int gap = (96 - 2 * th - 20) / 4;
  const int cx = static_cast<int>(r.x + r.w / 2), cy = static_cast<int>(r.y) + 2 * gap + th + 10;
  EXPECT_EQ(At(cx, cy + 1), RGB(255, 255, 255));  // the middle of the slash
  EXPECT_EQ(At(cx - 10, cy - 6), RGB(255, 255, 255));
  EXPECT_EQ(At(cx, cy - 8), RGB(180, 60, 60));
  EXPECT_EQ(At(cx + 2, cy + 8), RGB(180, 60, 60));
}

TEST_F(FacePixels, LabelsAreDrawnInsideTheDrawButton) {
  controls::DrawButtonFace(*canvas_, View());
  const render::Rect& r = layout_.drawButton;
  int white = 0;
  for (int y = static_cast<int>(r.y) + 3; y < r.y + 40; ++y) {
    for (int x = static_cast<int>(r.x) + 3; x < r.x + r.w - 3; ++x) {
      const Color c = At(x, y);
      white += platform::Red(c) > 200 && platform::Green(c) > 200 && platform::Blue(c) > 200;
    }
  }
  EXPECT_GT(white, 40) << "\"Draw Numbers\" in white on the top line";
}

// On the smallest grid the page runs below the panel and its long lines past its right edge.
TEST_F(FacePixels, AboutPageRunsPastTheSmallestPanelUnclipped) {
  Resize(500, 384);
  ASSERT_EQ(layout_.grid, (render::Rect{294, 172, 200, 200}));
  controls::DrawAboutOverlay(*canvas_, View(true));
  EXPECT_EQ(At(300, 300), RGB(22, 22, 45));
  EXPECT_GT(Painted(294, 380, 494, 700), 500) << "lines below the panel";
  EXPECT_GT(Painted(500, 180, 1000, 372), 500) << "lines past the right edge";
  EXPECT_EQ(Painted(0, 0, 294, 780), 0) << "nothing left of the panel";
}

}  // namespace
