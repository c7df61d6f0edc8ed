// Time of the game's own busiest frame, recorded by ComposeFrame and replayed through SdlCanvas
// on SDL's software renderer over an in-memory surface, as RenderFrame does when a frame changed:
// four full cards with a finished draw on the Main tab under the heat map, twenty balls landed,
// the auto-run Draw button and every control face, with no overlay, the payout table or the
// about page open. At the design size and at 1440p.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/about_overlay.h"
#include "controls/buttons.h"
#include "controls/payout_overlay.h"
#include "platform/sdl/sdl_canvas.h"
#include "render/balls_panel.h"
#include "render/board_view.h"
#include "render/display_list.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"
#include "rules/paytable.h"
#include "shell/frame.h"

namespace {

struct Screen {
  SDL_Surface* surface = nullptr;
  SDL_Renderer* renderer = nullptr;
  std::unique_ptr<platform::SdlCanvas> canvas;

  Screen(int w, int h) {
    surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888);
    renderer = surface != nullptr ? SDL_CreateSoftwareRenderer(surface) : nullptr;
    canvas = std::make_unique<platform::SdlCanvas>(renderer, 96.0);
  }
  ~Screen() {
    canvas.reset();
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    if (surface != nullptr) SDL_FreeSurface(surface);
  }
};

struct Board {
  rules::GameState state;
  render::Layout layout;
  render::Fonts fonts;
  render::BallsPanel balls;

  Board(platform::Canvas& canvas, int64_t width, int64_t height) {
    layout.clientWidth = width;
    layout.clientHeight = height;
    render::LoadFonts(canvas, fonts, height);
    render::ComputeLayout(layout, canvas, balls, fonts);
    rules::FillPayTables(state);
    // Twelve picks on every card, overlapping so the Main view shows asterisks of both kinds.
    for (int card = 1; card <= rules::kCards; ++card) {
      for (int i = 0; i < rules::kMaxPicks; ++i) {
        const int n = 1 + (card * 7 + i * 5) % rules::kNumbers;
        if (!state.cards[card].picked[n]) {
          state.cards[card].picked[n] = 1;
          state.cards[card].pickCount += 1;
        }
      }
    }
    for (int k = 0; k < rules::kBallsPerDraw; ++k) {
      const int n = 1 + (k * 13) % rules::kNumbers;
      state.drawSequence[k] = n;
      state.drawn[n] = 1;
      state.heatCounts[n] += 1 + k % 5;
      for (int card = 1; card <= rules::kCards; ++card) {
        if (state.cards[card].picked[n]) {
          state.cards[card].hit[n] = 1;
          state.cards[card].hitCount += 1;
        }
      }
    }
    for (int n = 1; n <= rules::kNumbers; ++n) {
      for (int card = 1; card <= rules::kCards; ++card) {
        state.numberCardCount[n] += state.cards[card].picked[n];
      }
    }
    state.ballsRevealed = rules::kBallsPerDraw;
    state.heatMapOn = 1;
    state.autoRun = 1;
    state.drawInProgress = 1;
    state.betPerCard = state.betSetting = 10;
    for (int64_t k = 1; k <= rules::kBallsPerDraw; ++k) {
      render::StartBallDrop(balls, layout.ballsPanel.w, layout.ballsPanel.h, k, 100, 0);
    }
    for (int step = 0; step < 1000 && balls.ballAnimActive; ++step) render::AnimateBalls(balls);
  }
};

// Args: client width, client height, overlay (0 none, 1 payout table, 2 about page).
void BM_GameFrame(benchmark::State& state) {
  const auto width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  Screen screen(width, height);
  if (screen.renderer == nullptr) {
    state.SkipWithError("no software renderer");
    return;
  }
  platform::SdlCanvas& canvas = *screen.canvas;
  Board board(canvas, width, height);
  const render::BoardView view{board.state,         board.layout,        board.fonts, board.balls,
                               state.range(2) == 1, state.range(2) == 2, false};
  render::DisplayList list;
  auto frame = [&] {
    list.calls.clear();
    render::RecordingCanvas recorder(list, canvas, &canvas);
    shell::ComposeFrame(recorder, view);
    SDL_SetRenderDrawColor(screen.renderer, 172, 176, 185, 255);
    SDL_RenderClear(screen.renderer);
    render::Replay(list, canvas);
    SDL_RenderFlush(screen.renderer);
  };
  frame();  // the first frame rasterises the text; later ones reuse it
  for (auto _ : state) frame();
  state.counters["calls"] = static_cast<double>(list.calls.size());
  state.counters["texts"] = static_cast<double>(canvas.CachedTextCount());
}
BENCHMARK(BM_GameFrame)
    ->ArgNames({"w", "h", "overlay"})
    ->Args({1280, 780, 0})
    ->Args({1280, 780, 1})
    ->Args({1280, 780, 2})
    ->Args({2560, 1440, 0})
    ->Args({2560, 1440, 1})
    ->Args({2560, 1440, 2})
    ->Unit(benchmark::kMillisecond);

// The share of the frame above that the eight button faces and the open overlay take alone.
void BM_ControlsOnly(benchmark::State& state) {
  const auto width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  Screen screen(width, height);
  if (screen.renderer == nullptr) {
    state.SkipWithError("no software renderer");
    return;
  }
  platform::SdlCanvas& canvas = *screen.canvas;
  Board board(canvas, width, height);
  const render::BoardView view{board.state,         board.layout,        board.fonts, board.balls,
                               state.range(2) == 1, state.range(2) == 2, false};
  render::DisplayList list;
  auto frame = [&] {
    list.calls.clear();
    render::RecordingCanvas recorder(list, canvas, &canvas);
    if (!recorder.BeginDrawing(nullptr)) return;
    controls::DrawButtonFace(recorder, view);
    controls::DrawNewGameButton(recorder, view);
    controls::DrawPayoutButton(recorder, view);
    controls::DrawSpeedButton(recorder, view);
    controls::DrawBetButton(recorder, view);
    controls::DrawSoundButton(recorder, view);
    controls::DrawAutoPickButton(recorder, view);
    controls::DrawAboutButton(recorder, view);
    controls::DrawPayoutOverlay(recorder, view);
    controls::DrawAboutOverlay(recorder, view);
    recorder.EndDrawing();
    render::Replay(list, canvas);
    SDL_RenderFlush(screen.renderer);
  };
  frame();
  for (auto _ : state) frame();
  state.counters["calls"] = static_cast<double>(list.calls.size());
}
BENCHMARK(BM_ControlsOnly)
    ->ArgNames({"w", "h", "overlay"})
    ->Args({1280, 780, 0})
    ->Args({1280, 780, 1})
    ->Args({1280, 780, 2})
    ->Args({2560, 1440, 0})
    ->Args({2560, 1440, 1})
    ->Args({2560, 1440, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
