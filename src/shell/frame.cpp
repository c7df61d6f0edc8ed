// Frame composition: every drawer in its order into a display list, compared with the frame on
// screen, replayed onto the screen only when it differs.
#include "shell/frame.h"

#include <vector>

#include "controls/about_overlay.h"
#include "controls/buttons.h"
#include "controls/payout_overlay.h"
#include "controls/recall_overlay.h"
#include "render/balls_panel.h"
#include "render/card_grid.h"
#include "render/colors.h"
#include "render/damage.h"
#include "render/stats_panel.h"
#include "render/tab_strip.h"

namespace shell {

render::BoardView ViewOf(const Game& game) {
  return render::BoardView{game.state,
                           game.layout,
                           game.fonts,
                           game.balls,
                           game.input.payoutOverlayOpen != 0,
                           game.input.aboutOverlayOpen != 0,
                           game.input.drawButtonHeld != 0,
                           game.input.focusShown ? game.input.focusCell : 0,
                           game.input.recallOverlayOpen != 0,
                           game.input.recallPage};
}

// The drawers keep no rules of their own: they ask the rules for figures and payouts, the layout,
// the card grid and the tab strip for geometry, and render's bevel for every raised face.
void ComposeFrame(platform::Canvas& canvas, const render::BoardView& view) {
  if (!canvas.BeginDrawing(nullptr)) return;
  const render::Layout& l = view.layout;
  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.Box(0, 0, l.clientWidth, render::kTopBandHeight, render::kTopBand);
  controls::DrawButtonFace(canvas, view);
  controls::DrawNewGameButton(canvas, view);
  controls::DrawPayoutButton(canvas, view);
  controls::DrawSpeedButton(canvas, view);
  controls::DrawBetButton(canvas, view);
  controls::DrawSoundButton(canvas, view);
  controls::DrawAutoPickButton(canvas, view);
  controls::DrawAboutButton(canvas, view);
  render::DrawStatsPanel(canvas, view);
  render::DrawTabStrip(canvas, view);
  // Every overlay paints over the whole grid: drawing the grid under it would only cost time.
  if (!view.payoutOverlayOpen && !view.aboutOverlayOpen && !view.recallOverlayOpen) {
    render::DrawCardGrid(canvas, view, l.grid, view.state.activeTab);
  }
  render::DrawBallsPanel(canvas, view);
  controls::DrawPayoutOverlay(canvas, view);
  controls::DrawAboutOverlay(canvas, view);
  controls::DrawRecallOverlay(canvas, view);
  // Nothing of the panels or the grid shows in the bottom margin.
  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.Box(0, l.clientHeight - render::kBottomMargin, l.clientWidth, render::kBottomMargin,
             render::kBackgroundGrey);
  canvas.EndDrawing();
}

void ApplyClientSize(Game& game, int64_t width, int64_t height) {
  game.layout.clientWidth = width;
  game.layout.clientHeight = height;
  if (platform::Canvas* canvas = game.system.ScreenCanvas()) {
    // Fonts first: the balls panel image built by the layout draws its title with them.
    render::LoadFonts(*canvas, game.fonts, height);
    render::ComputeLayout(game.layout, *canvas, game.balls, game.fonts);
  } else {
    render::ComputeLayoutRects(game.layout);
  }
}

void FitOverlayFonts(platform::Canvas& canvas, render::Fonts& fonts, const render::Layout& layout,
                     const rules::GameState& g) {
  const render::Rect& grid = layout.grid;
  if (render::TakeFittedFonts(fonts, grid.w, grid.h)) return;
  // The slots' fonts belong to the cache, which keeps them for their own grid.
  fonts.aboutFont = fonts.aboutTitleFont = fonts.payoutFont = fonts.recallFont = nullptr;
  // Every size turned down is freed at the end, so none of their handles is reused meanwhile.
  std::vector<platform::Font*> refused;
  controls::FitAboutFonts(canvas, fonts, grid, refused);
  controls::FitPayoutFont(canvas, fonts, grid, g, refused);
  controls::FitRecallFont(canvas, fonts, grid, refused);
  for (platform::Font* font : refused) canvas.FreeFont(font);
  render::KeepFittedFonts(canvas, fonts, grid.w, grid.h);
}

namespace {

// No clear first: the top band, the panels, the tab strip, the grid and the bottom band tile the
// whole client area at every size, so every pixel is painted by the frame itself.
void Show(Game& game, const render::DisplayList& list) {
  if (platform::Canvas* canvas = game.system.ScreenCanvas()) render::Replay(list, *canvas);
  game.system.Present();
}

// Draws `next` over `shown`, which the screen holds, only where they differ when the screen
// keeps its pixels; whole otherwise. False when nothing on screen changes.
bool ShowChanges(Game& game, const render::DisplayList& shown, const render::DisplayList& next) {
  platform::Canvas* canvas = game.system.ScreenCanvas();
  std::vector<platform::Rect> rects;
  if (canvas == nullptr || !canvas->KeepsFrame() || !render::FindDamage(shown, next, rects)) {
    Show(game, next);
    return true;
  }
  if (rects.empty()) return false;  // what changed lies outside the client area
  render::ReplayDamage(next, rects, *canvas);
  game.system.Present();
  return true;
}

}  // namespace

void RenderFrame(Game& game) {
  int64_t width = 0, height = 0;
  game.system.GetClientSize(width, height);
  bool forced = game.system.TakeRedrawRequest();
  // A minimised window (0 x 0) keeps the old layout.
  if (width > 0 && height > 0 &&
      (width != game.layout.clientWidth || height != game.layout.clientHeight)) {
    ApplyClientSize(game, width, height);
    forced = true;
  }
  // Fitting measures text, so it waits for an overlay to open on a grid it was not fitted to.
  platform::Canvas* screen = game.system.ScreenCanvas();
  if (screen != nullptr &&
      (game.input.payoutOverlayOpen || game.input.aboutOverlayOpen ||
       game.input.recallOverlayOpen) &&
      (game.fonts.fittedWidth != game.layout.grid.w ||
       game.fonts.fittedHeight != game.layout.grid.h)) {
    FitOverlayFonts(*screen, game.fonts, game.layout, game.state);
  }

  FrameRecord& f = game.frames;
  f.next.calls.clear();
  const platform::TextMetrics* metrics = game.system.ScreenMetrics();
  if (metrics == nullptr) return;  // no screen to draw on
  render::RecordingCanvas recorder(f.next, *metrics, game.system.ScreenCanvas());
  recorder.RememberWidths(f.widths);
  ComposeFrame(recorder, ViewOf(game));

  const bool fromShown = f.haveShown && !forced;
  render::IndexFrame(f.next, *metrics, game.layout.clientWidth, game.layout.clientHeight,
                     fromShown ? &f.shown : nullptr);
  if (fromShown && render::SameCalls(f.shown, f.next)) return;
  const bool drawn =
      forced || !f.haveShown ? (Show(game, f.next), true) : ShowChanges(game, f.shown, f.next);
  std::swap(f.shown, f.next);
  f.haveShown = true;
  if (drawn) ++f.presents;
}

void RepaintLastFrame(Game& game) {
  if (game.frames.haveShown) Show(game, game.frames.shown);
}

}  // namespace shell
