// board_pictures: renders whole frames of the game headless, through the same composition,
// display list and canvas as the window, into PNG files for looking at the board.
// Usage: board_pictures OUTPUT_DIR [NAME_FILTER]. Draws are seeded, so pictures are repeatable.
#include <SDL.h>
#include <png.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_canvas.h"
#include "render/balls_panel.h"
#include "render/display_list.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/autopick.h"
#include "rules/draw.h"
#include "rules/paytable.h"
#include "rules/random.h"
#include "shell/frame.h"
#include "shell/game.h"
#include "shell/timers.h"

namespace {

// The rules' outside world for a picture: a clock moved by hand, every box accepted, no sound,
// no save, and the balls panel of the scene.
class PictureHost final : public rules::QuietHost {
 public:
  PictureHost(render::BallsPanel& balls, render::Layout& layout) : balls_(balls), layout_(layout) {
    now = 1'000'000;
  }
  void ResetBallAnimation() override { render::ResetBallAnimation(balls_); }
  void StartBallDrop(int64_t ball) override {
    render::StartBallDrop(balls_, layout_.ballsPanel.w, layout_.ballsPanel.h, ball,
                          stateDelay ? *stateDelay : 550, now);
  }
  const int64_t* stateDelay = nullptr;

 private:
  render::BallsPanel& balls_;
  render::Layout& layout_;
};

// One board at one size: the game record, its layout and images on a software screen.
struct Scene {
  Scene(SDL_Renderer* renderer, int64_t width, int64_t height)
      : canvas(renderer, 96.0), host(balls, layout) {
    layout.clientWidth = width;
    layout.clientHeight = height;
    render::LoadFonts(canvas, fonts, height);
    render::ComputeLayout(layout, canvas, balls, fonts);
    rules::FillPayTables(state);
    rules::SeedFallbackRandom(state, 20261210);
    host.stateDelay = &state.ballDelayMs;
  }
  void Pick(int card, std::initializer_list<int> numbers) {
    for (int n : numbers) {
      if (!state.cards[card].picked[n]) {
        state.cards[card].picked[n] = 1;
        state.cards[card].pickCount += 1;
      }
    }
    rules::RecountNumberCards(state);
    rules::UpdateProgressiveEligible(state);
  }
  // Frames of 16 ms until `done` holds (or a minute has passed).
  void RunUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 60 * 60 && !done(); ++i) {
      host.now += 16;
      shell::TickTimers(state, balls, host);
    }
  }
  void PlayDraws(int count) {
    for (int i = 0; i < count; ++i) {
      rules::StartDraw(state, host);
      RunUntil([this] { return !state.drawInProgress && !balls.ballAnimActive; });
    }
  }

  platform::SdlCanvas canvas;
  rules::GameState state;
  render::Layout layout;
  render::Fonts fonts;
  render::BallsPanel balls;
  shell::InputMemory input;
  PictureHost host;
};

struct Picture {
  const char* name;
  std::function<void(Scene&)> setup;
};

const std::vector<Picture>& Pictures() {
  static const std::vector<Picture> pictures = {
      {"empty-board",
       [](Scene& s) { rules::SelectTab(s.state, 1); }},
      {"main-mid-draw",
       [](Scene& s) {
         s.Pick(1, {3, 7, 12, 18, 22, 35, 41, 56});
         s.Pick(2, {7, 12, 19, 28, 35, 44, 63, 70, 77, 80});
         s.Pick(3, {1, 7, 12, 22, 50, 51, 52});
         s.state.speed = 5;
         rules::StartDraw(s.state, s.host);
         s.RunUntil([&s] { return s.state.ballsRevealed >= 9; });
       }},
      {"heat-map",
       [](Scene& s) {
         s.Pick(1, {5, 10, 15, 20, 25, 30, 35, 40});
         s.state.speed = 5;
         s.PlayDraws(6);
         s.state.heatMapOn = 1;
         rules::SelectTab(s.state, 0);
       }},
      {"card-after-draw",
       [](Scene& s) {
         s.Pick(2, {2, 9, 14, 23, 31, 38, 47, 55, 60, 66, 71, 79});
         s.Pick(1, {4, 8, 15, 16, 23, 42});
         s.state.speed = 5;
         s.PlayDraws(3);
         rules::SelectTab(s.state, 2);
       }},
      // The top-row faces in each state: pressed with sound muted, the slowest speed, the top
      // bet and CASINO on the Main tab; a draw running on card 4's tab; auto-run.
      {"buttons-pressed",
       [](Scene& s) {
         s.input.drawButtonHeld = 1;
         s.state.soundOn = 0;
         s.state.speed = 1;
         s.state.betSetting = s.state.betPerCard = 10;
         s.state.payMode = rules::CASINO;
         rules::RefreshActivePayTable(s.state);
       }},
      {"buttons-drawing",
       [](Scene& s) {
         s.Pick(4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
         s.state.speed = 5;
         s.state.betSetting = s.state.betPerCard = 7;
         rules::StartDraw(s.state, s.host);
         s.RunUntil([&s] { return s.state.ballsRevealed >= 4; });
         rules::SelectTab(s.state, 4);  // the draw started on Main
       }},
      {"buttons-auto-run",
       [](Scene& s) {
         s.Pick(1, {10, 20, 30, 40, 50});
         s.state.speed = 4;
         rules::StartDraw(s.state, s.host);
         s.state.autoRun = 1;
         s.RunUntil([&s] { return s.state.ballsRevealed >= 6; });
       }},
      {"payout-generous",
       [](Scene& s) { s.input.payoutOverlayOpen = 1; }},
      {"payout-casino-bet10",
       [](Scene& s) {
         s.state.payMode = rules::CASINO;
         rules::RefreshActivePayTable(s.state);
         s.state.betSetting = s.state.betPerCard = 10;
         s.input.payoutOverlayOpen = 1;
       }},
      {"about-generous",
       [](Scene& s) { s.input.aboutOverlayOpen = 1; }},
      {"about-casino",
       [](Scene& s) {
         s.state.payMode = rules::CASINO;
         rules::RefreshActivePayTable(s.state);
         s.input.aboutOverlayOpen = 1;
       }},
  };
  return pictures;
}

bool WritePng(const std::string& path, SDL_Surface* surface) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = png != nullptr && info != nullptr && setjmp(png_jmpbuf(png)) == 0;
  if (ok) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface->w),
                 static_cast<png_uint_32>(surface->h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(surface->w) * 3);
    for (int y = 0; y < surface->h; ++y) {
      const auto* pixels = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                             y * surface->pitch);
      for (int x = 0; x < surface->w; ++x) {
        row[x * 3 + 0] = static_cast<png_byte>(pixels[x] >> 16);
        row[x * 3 + 1] = static_cast<png_byte>(pixels[x] >> 8);
        row[x * 3 + 2] = static_cast<png_byte>(pixels[x]);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(png != nullptr ? &png : nullptr, info != nullptr ? &info : nullptr);
  return std::fclose(file) == 0 && ok;
}

bool Render(const Picture& picture, int64_t width, int64_t height, const std::string& path) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(width),
                                                        static_cast<int>(height), 32,
                                                        SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return false;
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
  bool ok = renderer != nullptr;
  if (ok) {
    {
      Scene scene(renderer, width, height);
      picture.setup(scene);
      const render::BoardView view{scene.state,
                                   scene.layout,
                                   scene.fonts,
                                   scene.balls,
                                   scene.input.payoutOverlayOpen != 0,
                                   scene.input.aboutOverlayOpen != 0,
                                   scene.input.drawButtonHeld != 0};
      render::DisplayList list;
      render::RecordingCanvas recorder(list, scene.canvas, &scene.canvas);
      shell::ComposeFrame(recorder, view);
      SDL_SetRenderDrawColor(renderer, 172, 176, 185, 255);
      SDL_RenderClear(renderer);
      render::Replay(list, scene.canvas);
      SDL_RenderFlush(renderer);
      ok = WritePng(path, surface);
    }
    SDL_DestroyRenderer(renderer);
  }
  SDL_FreeSurface(surface);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: board_pictures OUTPUT_DIR [NAME_FILTER]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::string filter = argc > 2 ? argv[2] : "";
  struct Size {
    const char* tag;
    int64_t w, h;
  };
  const Size sizes[] = {{"1280x780", 1280, 780}, {"min-1000x752", 1000, 752},
                        {"2560x1440", 2560, 1440}};
  int failures = 0;
  for (const Picture& picture : Pictures()) {
    if (!filter.empty() && std::string(picture.name).find(filter) == std::string::npos) continue;
    for (const Size& size : sizes) {
      const std::string path = dir + "/" + picture.name + "-" + size.tag + ".png";
      if (Render(picture, size.w, size.h, path)) {
        std::printf("%s\n", path.c_str());
      } else {
        std::fprintf(stderr, "board_pictures: could not write %s\n", path.c_str());
        ++failures;
      }
    }
  }
  return failures == 0 ? 0 : 1;
}
