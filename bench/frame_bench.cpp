// The game's busiest frame on the null platform over an in-memory SDL surface (SDL's software
// renderer), one core: the Main view of four 12-pick cards in the middle of a draw with balls in
// the air, every button face, heat map off or on, no overlay or either one open. Recording
// (composition into the display list with the real font metrics), the check of an unchanged
// frame, and the replay onto the screen are timed apart, as RenderFrame does them. Also the first
// frame after a resize, indexing a frame for damage, and a frame during a draw drawn only where
// it changed.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "platform/null/null_system.h"
#include "platform/sdl/surface_screen.h"
#include "render/balls_panel.h"
#include "render/board_view.h"
#include "render/damage.h"
#include "render/display_list.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"
#include "rules/paytable.h"
#include "shell/frame.h"

namespace {

// Opens the null platform's window and screen, as start-up does, and gives the screen's canvas.
platform::Canvas& OpenScreen(platform::NullSystem& system, int64_t width, int64_t height) {
  system.OpenWindow(width, height, "frame_bench");
  system.OpenScreen();
  return *system.ScreenCanvas();
}

// Twelve picks on every card, overlapping so the Main view shows asterisks of both kinds; twelve
// balls revealed, the last few still falling; auto-run on.
struct Board {
  rules::GameState state;
  render::Layout layout;
  render::Fonts fonts;
  render::BallsPanel balls;

  Board(platform::Canvas& canvas, int64_t width, int64_t height, bool heatMap) {
    layout.clientWidth = width;
    layout.clientHeight = height;
    render::LoadFonts(canvas, fonts, height);
    render::ComputeLayout(layout, canvas, balls, fonts);
    rules::FillPayTables(state);
    for (int card = 1; card <= rules::kCards; ++card) {
      for (int i = 0; rules::kMaxPicks > state.cards[card].pickCount; ++i) {
        rules::SetPick(state, card, 1 + (card * 7 + i * 5) % rules::kNumbers, true);
      }
    }
    for (int k = 0; k < rules::kBallsPerDraw; ++k) {
      state.drawSequence[k] = 1 + (k * 13) % rules::kNumbers;
      state.heatCounts[state.drawSequence[k]] += 1 + k % 5;
    }
    state.speed = 5;
    state.ballDelayMs = 80;
    for (int k = 1; k <= 12; ++k) {
      const int64_t n = state.drawSequence[k - 1];
      state.drawn[n] = 1;
      for (int card = 1; card <= rules::kCards; ++card) {
        if (state.cards[card].picked[n]) {
          state.cards[card].hit[n] = 1;
          state.cards[card].hitCount += 1;
        }
      }
      state.ballsRevealed = k;
      render::StartBallDrop(balls, layout.ballsPanel.w, layout.ballsPanel.h, k, 80, 0);
      for (int step = 0; step < 5; ++step) render::AnimateBalls(balls);
    }
    state.heatMapOn = heatMap ? 1 : 0;
    state.autoRun = 1;
    state.drawInProgress = 1;
    state.betPerCard = state.betSetting = 10;
  }
};

struct Frame {
  platform::SurfaceScreen screen;
  platform::NullSystem system{screen};
  Board board;
  render::BoardView view;
  render::DisplayList list, shown;

  // Args: width, height, heat map 0/1, overlay 0 none / 1 payout / 2 about.
  explicit Frame(const benchmark::State& s)
      : screen(s.range(0), s.range(1), SDL_PIXELFORMAT_RGB888),
        board(OpenScreen(system, s.range(0), s.range(1)), s.range(0), s.range(1), s.range(2) != 0),
        view{board.state,     board.layout,    board.fonts, board.balls,
             s.range(3) == 1, s.range(3) == 2, false} {
    Record(list);
    Replay();  // the first frame rasterises the text; later ones reuse it
    shown = list;
  }
  void Record(render::DisplayList& into) {
    into.calls.clear();
    render::RecordingCanvas recorder(into, *system.ScreenMetrics(), system.ScreenCanvas());
    shell::ComposeFrame(recorder, view);
  }
  void Replay() {
    render::Replay(list, *system.ScreenCanvas());
    system.Present();
  }
};

void FrameArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "heat", "overlay"});
  for (auto [w, h] : {std::pair{1280, 780}, std::pair{2560, 1440}, std::pair{3840, 2160}}) {
    for (int heat : {0, 1}) b->Args({w, h, heat, 0});
    for (int overlay : {1, 2}) b->Args({w, h, 0, overlay});
  }
  b->Unit(benchmark::kMillisecond);
}

// Composition of the whole frame into the display list.
void BM_Record(benchmark::State& state) {
  Frame f(state);
  for (auto _ : state) f.Record(f.list);
  state.counters["calls"] = static_cast<double>(f.list.calls.size());
}
BENCHMARK(BM_Record)->Apply(FrameArgs);

// What an idle frame costs: record, then find it equal to the frame on screen.
void BM_UnchangedFrame(benchmark::State& state) {
  Frame f(state);
  for (auto _ : state) {
    f.Record(f.list);
    benchmark::DoNotOptimize(f.list == f.shown);
  }
}
BENCHMARK(BM_UnchangedFrame)->Apply(FrameArgs);

// Drawing the recorded frame onto the screen.
void BM_Replay(benchmark::State& state) {
  Frame f(state);
  for (auto _ : state) f.Replay();
  state.counters["texts"] = static_cast<double>(f.screen.Drawing().CachedTextCount());
}
BENCHMARK(BM_Replay)->Apply(FrameArgs);

// Indexing a frame for damage: the bounds of its calls and the calls over each tile.
void BM_IndexFrame(benchmark::State& state) {
  Frame f(state);
  for (auto _ : state) {
    render::IndexFrame(f.list, *f.system.ScreenMetrics(), f.board.layout.clientWidth,
                       f.board.layout.clientHeight);
  }
}
BENCHMARK(BM_IndexFrame)->Apply(FrameArgs);

// The same for a frame during a draw, indexed from the frame on screen as the game does: the
// balls moved a step, everything else is taken over.
void BM_IndexNextFrame(benchmark::State& state) {
  Frame f(state);
  const platform::TextMetrics& metrics = *f.system.ScreenMetrics();
  const int64_t w = f.board.layout.clientWidth, h = f.board.layout.clientHeight;
  render::DisplayList shown, next;
  f.Record(shown);
  render::IndexFrame(shown, metrics, w, h);
  render::AnimateBalls(f.board.balls);
  f.Record(next);
  for (auto _ : state) render::IndexFrame(next, metrics, w, h, &shown);
}
BENCHMARK(BM_IndexNextFrame)->Apply(FrameArgs);

// A frame during a draw drawn only where it changed: the falling balls move a step (and back,
// every other iteration). Finding the damage, replaying it and presenting are timed together.
void BM_DamagedFrame(benchmark::State& state) {
  Frame f(state);
  const platform::TextMetrics& metrics = *f.system.ScreenMetrics();
  const int64_t w = f.board.layout.clientWidth, h = f.board.layout.clientHeight;
  render::DisplayList before, after;
  f.Record(before);
  render::IndexFrame(before, metrics, w, h);
  render::AnimateBalls(f.board.balls);
  f.Record(after);
  render::IndexFrame(after, metrics, w, h, &before);
  platform::Canvas& canvas = *f.system.ScreenCanvas();
  render::Replay(before, canvas);
  std::vector<platform::Rect> rects;
  bool forth = true;
  int64_t area = 0, count = 0, partial = 0, frames = 0;
  for (auto _ : state) {
    const render::DisplayList& from = forth ? before : after;
    const render::DisplayList& to = forth ? after : before;
    if (render::FindDamage(from, to, rects) && !rects.empty()) {
      render::ReplayDamage(to, rects, canvas);
      ++partial;
      for (const platform::Rect& r : rects) area += r.w * r.h;
      count += static_cast<int64_t>(rects.size());
    } else {
      render::Replay(to, canvas);
    }
    f.system.Present();
    forth = !forth;
    ++frames;
  }
  state.counters["rects"] = partial > 0 ? static_cast<double>(count) / partial : 0.0;
  state.counters["damaged%"] =
      partial > 0 ? 100.0 * static_cast<double>(area) / (partial * static_cast<double>(w * h)) : 0;
  state.counters["partial%"] = frames > 0 ? 100.0 * partial / frames : 0;
}
BENCHMARK(BM_DamagedFrame)
    ->ArgNames({"w", "h", "heat", "overlay"})
    ->Args({1280, 780, 0, 0})
    ->Args({2560, 1440, 0, 0})
    ->Args({3840, 2160, 0, 0})
    ->Unit(benchmark::kMillisecond);

// The first frame after a resize: fonts and layout images made again, every string rasterised.
void BM_FrameAfterResize(benchmark::State& state) {
  Frame f(state);
  for (auto _ : state) {
    render::LoadFonts(f.screen.Drawing(), f.board.fonts, f.board.layout.clientHeight);
    render::ComputeLayout(f.board.layout, f.screen.Drawing(), f.board.balls, f.board.fonts);
    f.Record(f.list);
    f.Replay();
  }
}
BENCHMARK(BM_FrameAfterResize)
    ->ArgNames({"w", "h", "heat", "overlay"})
    ->Args({1280, 780, 0, 0})
    ->Args({2560, 1440, 0, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
