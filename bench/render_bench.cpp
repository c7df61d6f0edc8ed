// Time of one busy board frame drawn through SdlCanvas on SDL's software renderer over an
// in-memory surface, at the design size and at 1440p, plus building one asterisk glyph.
// Draws with stand-in geometry; it exercises the canvas, not the game's drawers.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

#include "platform/sdl/sdl_canvas.h"
#include "render/fonts.h"

namespace {

using platform::Canvas;
using platform::Color;
using platform::DrawMode;
using platform::RGB;
using platform::RGBA;

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

platform::Image* MakeAsterisk(Canvas& canvas, int size, Color color) {
  platform::Image* image = canvas.CreateImage(size, size, RGBA(255, 255, 255, 0));
  if (image == nullptr || !canvas.BeginVectorDrawing(image)) return image;
  const double c = size / 2.0, r = size / 2.0 - 2, l = size / 9.0;
  canvas.SetVectorColor(color);
  canvas.AddCircle(c, c, 0.7 * l);
  canvas.FillPath();
  for (int i = 0; i < 6; ++i) {
    const double dx = r * std::cos(i * M_PI / 6), dy = r * std::sin(i * M_PI / 6);
    canvas.MoveTo(c - dx, c - dy);
    canvas.AddLineTo(c + dx, c + dy);
    canvas.StrokePath(l);
  }
  canvas.EndVectorDrawing();
  return image;
}

void Bevel(Canvas& canvas, int64_t x, int64_t y, int64_t w, int64_t h, Color face, Color light,
           Color dark) {
  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(x, y, w, h, face);
  canvas.Box(x, y, w, 3, light);
  canvas.Box(x, y, 3, h, light);
  canvas.Box(x, y + h - 3, w, 3, dark);
  canvas.Box(x + w - 3, y, 3, h, dark);
  canvas.SetDrawingMode(DrawMode::Outline);
  canvas.Box(x, y, w, h, RGB(0, 0, 0));
}

void CentredText(Canvas& canvas, double x, double y, double w, double h, const std::string& s) {
  canvas.DrawText(x + (w - std::round(canvas.TextWidth(s))) / 2,
                  y + (h - std::round(canvas.TextHeight(s))) / 2, s);
}

struct Board {
  render::Fonts fonts;
  platform::Image* panel = nullptr;
  platform::Image* white = nullptr;
  platform::Image* black = nullptr;
  int64_t width, height;
};

void DrawFrame(Canvas& canvas, const Board& b) {
  const int64_t w = b.width, h = b.height;
  const int64_t gw = w - 294 - 110, gh = h - 184;
  const int64_t bw = (w - 38) / 8;
  if (!canvas.BeginDrawing(nullptr)) return;
  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(0, 0, w, h, RGB(172, 176, 185));
  canvas.Box(0, 0, w, 120, RGB(160, 120, 0));

  canvas.SetFont(b.fonts.buttonFont);
  for (int i = 0; i < 8; ++i) {
    const int64_t x = 12 + i * (bw + 2);
    Bevel(canvas, x, 12, bw, 96, RGB(60, 60, 90), RGB(120, 120, 160), RGB(20, 20, 40));
    canvas.SetDrawingMode(DrawMode::TransparentText);
    canvas.SetFrontColor(RGB(255, 255, 255));
    CentredText(canvas, x, 20, bw, 30, "Button " + std::to_string(i + 1));
    // Appended: g++ 12 at -O3 takes "$" + a temporary string for an overlapping copy.
    std::string price(1, '$');
    price += std::to_string(100 * (i + 1));
    CentredText(canvas, x, 60, bw, 30, price);
  }

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(0, 120, 294, h - 132, RGB(30, 30, 45));
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(RGB(230, 230, 230));
  for (int line = 0; line < 16; ++line) {
    canvas.DrawText(12, 130 + line * 22.5,
                    "Line " + std::to_string(line) + ": $" + std::to_string(1234 * line));
  }

  canvas.SetFont(b.fonts.tabFont);
  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(294, 120, gw, 52, RGB(40, 40, 52));
  for (int t = 0; t < 5; ++t) {
    const int64_t tw = gw / 5, x = 294 + t * tw;
    canvas.SetDrawingMode(DrawMode::Opaque);
    canvas.Box(x + 1, 122, tw - 2, 50, t == 0 ? RGB(255, 215, 0) : RGB(65, 65, 82));
    canvas.SetDrawingMode(DrawMode::TransparentText);
    canvas.SetFrontColor(t == 0 ? RGB(20, 20, 20) : RGB(195, 195, 210));
    CentredText(canvas, x, 120, tw, 52, t == 0 ? "Main" : "Card " + std::to_string(t));
  }

  canvas.SetFont(b.fonts.gridNumberFont);
  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(294, 172, gw, gh, RGB(20, 30, 70));
  const double pw = gw / 10.0, ph = gh / 8.0;
  for (int n = 1; n <= 80; ++n) {
    const int r = (n - 1) / 10, c = (n - 1) % 10;
    const auto x = static_cast<int64_t>(294 + c * pw) + 2,
               y = static_cast<int64_t>(172 + r * ph) + 2;
    const auto cw = static_cast<int64_t>(pw) - 3, ch = static_cast<int64_t>(ph) - 3;
    Bevel(canvas, x, y, cw, ch, RGB(0, 90, 200), RGB(80, 160, 255), RGB(0, 45, 110));
    if (n % 9 == 0) {
      canvas.SetDrawingMode(DrawMode::AlphaBlend);
      canvas.Box(x + 3, y + 3, cw - 6, ch - 6, RGBA(255, 130, 0, 120));
    }
    canvas.SetDrawingMode(DrawMode::TransparentText);
    const std::string label = std::to_string(n);
    const double tx = x + (cw - std::round(canvas.TextWidth(label))) / 2;
    const double ty = y + (ch - std::round(canvas.TextHeight(label))) / 2;
    canvas.SetFrontColor(RGB(0, 0, 0));
    canvas.DrawText(tx + 1, ty + 1, label);
    canvas.SetFrontColor(RGB(255, 255, 255));
    canvas.DrawText(tx, ty, label);
    if (n % 13 == 0) canvas.DrawImage(n % 2 ? b.white : b.black, x + 10, y + 10);
  }

  const int64_t px = w - 110;
  canvas.DrawImage(b.panel, px, 120);
  canvas.SetFont(b.fonts.buttonFont);
  for (int k = 0; k < 20; ++k) {
    const int64_t cx = px + (k % 2 ? 84 : 26), cy = 120 + (h - 132) - 13 - k * 26;
    canvas.SetDrawingMode(DrawMode::Opaque);
    canvas.Circle(cx, cy, 12, k % 3 ? RGB(30, 160, 60) : RGB(200, 30, 30));
    canvas.SetDrawingMode(DrawMode::AlphaBlend);
    canvas.Circle(cx - 4, cy - 4, 4, RGBA(255, 255, 255, 140));
    canvas.SetDrawingMode(DrawMode::TransparentText);
    canvas.SetFrontColor(RGB(255, 255, 255));
    CentredText(canvas, cx - 12, cy - 12, 24, 24, std::to_string(k * 4 + 1));
    canvas.SetDrawingMode(DrawMode::Outline);
    canvas.Circle(cx, cy, 12, RGB(0, 0, 0));
    if (k > 0) {
      canvas.SetFrontColor(RGB(255, 255, 255));
      canvas.Line(px + ((k - 1) % 2 ? 84 : 26), cy + 26, cx, cy);
    }
  }

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(0, h - 12, w, 12, RGB(172, 176, 185));
  canvas.EndDrawing();
}

void BM_BusyFrame(benchmark::State& state) {
  Screen screen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (screen.renderer == nullptr) {
    state.SkipWithError("no software renderer");
    return;
  }
  Canvas& canvas = *screen.canvas;
  Board board;
  board.width = state.range(0);
  board.height = state.range(1);
  render::LoadFonts(canvas, board.fonts, board.height);
  board.white = MakeAsterisk(canvas, 51, RGBA(255, 255, 255, 255));
  board.black = MakeAsterisk(canvas, 51, RGBA(0, 0, 0, 255));
  board.panel = canvas.CreateImage(110, board.height - 132, RGBA(0, 0, 0, 255));
  DrawFrame(canvas, board);  // the first frame rasterises the text; later ones reuse it
  for (auto _ : state) {
    DrawFrame(canvas, board);
    SDL_RenderFlush(screen.renderer);
  }
  state.counters["texts"] = static_cast<double>(screen.canvas->CachedTextCount());
}
BENCHMARK(BM_BusyFrame)->Args({1280, 780})->Args({2560, 1440})->Unit(benchmark::kMillisecond);

// The first frame after a resize: fonts reloaded, so every string is rasterised again.
void BM_FrameAfterResize(benchmark::State& state) {
  Screen screen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (screen.renderer == nullptr) {
    state.SkipWithError("no software renderer");
    return;
  }
  Canvas& canvas = *screen.canvas;
  Board board;
  board.width = state.range(0);
  board.height = state.range(1);
  for (auto _ : state) {
    render::LoadFonts(canvas, board.fonts, board.height);
    DrawFrame(canvas, board);
    SDL_RenderFlush(screen.renderer);
  }
}
BENCHMARK(BM_FrameAfterResize)
    ->Args({1280, 780})
    ->Args({2560, 1440})
    ->Unit(benchmark::kMillisecond);

void BM_AsteriskGlyph(benchmark::State& state) {
  Screen screen(64, 64);
  if (screen.renderer == nullptr) {
    state.SkipWithError("no software renderer");
    return;
  }
  for (auto _ : state) {
    platform::Image* image =
        MakeAsterisk(*screen.canvas, static_cast<int>(state.range(0)), RGBA(255, 255, 255, 255));
    screen.canvas->FreeImage(image);
  }
}
BENCHMARK(BM_AsteriskGlyph)->Arg(51)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
