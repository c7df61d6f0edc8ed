// A board of a given client size with its layout, fonts and images made on a recording canvas
// with fake metrics (every font 20 px high, 10 px per character), and one drawer's calls.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "render/balls_panel.h"
#include "render/board_view.h"
#include "render/display_list.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"

namespace render_test {

using render::CallKind;
using render::CanvasCall;

class Board {
 public:
  // withImages: the glyphs, hit cross and balls image as ComputeLayout makes them; without, the
  // rectangles alone, as when no image could be made.
  explicit Board(int64_t width = 1280, int64_t height = 780, bool withImages = true) {
    layout.clientWidth = width;
    layout.clientHeight = height;
    render::LoadFonts(canvas, fonts, height);
    if (withImages) {
      render::ComputeLayout(layout, canvas, balls, fonts);
    } else {
      render::ComputeLayoutRects(layout);
    }
    canvas.Clear();
  }

  render::BoardView View() const { return render::BoardView{state, layout, fonts, balls}; }

  // Records one drawer's calls alone.
  template <typename Drawer>
  std::vector<CanvasCall> Record(Drawer drawer) {
    canvas.Clear();
    drawer(canvas, View());
    return canvas.Calls();
  }

  rules::GameState state;
  render::Layout layout;
  render::Fonts fonts;
  render::BallsPanel balls;
  render::RecordingCanvas canvas;
};

inline std::vector<CanvasCall> Of(const std::vector<CanvasCall>& calls, CallKind kind) {
  std::vector<CanvasCall> out;
  for (const CanvasCall& c : calls) {
    if (c.kind == kind) out.push_back(c);
  }
  return out;
}

// The one text call showing `text`; fails the test when there is not exactly one.
inline CanvasCall TextCall(const std::vector<CanvasCall>& calls, const std::string& text) {
  std::vector<CanvasCall> found;
  for (const CanvasCall& c : Of(calls, CallKind::DrawText)) {
    if (c.text == text) found.push_back(c);
  }
  EXPECT_EQ(found.size(), 1u) << "text \"" << text << "\"";
  return found.empty() ? CanvasCall{} : found.front();
}

inline std::array<int64_t, 4> Ints(int64_t a, int64_t b, int64_t c, int64_t d) {
  return {a, b, c, d};
}

}  // namespace render_test
