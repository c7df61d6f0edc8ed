// A board of a given client size recorded with fake metrics (every font 20 px high, 10 px per
// character), and lookups into the recorded display list.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/board_view.h"
#include "render/display_list.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"
#include "rules/paytable.h"

namespace controls_test {

using render::CallKind;
using render::CanvasCall;

class Board {
 public:
  explicit Board(int64_t width = 1280, int64_t height = 780) { Resize(width, height); }

  void Resize(int64_t width, int64_t height) {
    layout.clientWidth = width;
    layout.clientHeight = height;
    render::ComputeLayoutRects(layout);
    render::LoadFonts(canvas, fonts, height);
  }

  render::BoardView View() const {
    return render::BoardView{
        state, layout, fonts, balls, payoutOverlayOpen, aboutOverlayOpen, drawButtonHeld};
  }

  // Records one drawer's calls alone.
  template <typename Drawer>
  const std::vector<CanvasCall>& Record(Drawer drawer) {
    canvas.Clear();
    drawer(canvas, View());
    return canvas.Calls();
  }

  void SetPayMode(int64_t mode) {
    state.payMode = mode;
    rules::RefreshActivePayTable(state);
  }

  rules::GameState state = [] {
    rules::GameState g;
    rules::FillPayTables(g);
    return g;
  }();
  render::Layout layout;
  render::Fonts fonts;
  render::BallsPanel balls;
  bool payoutOverlayOpen = false;
  bool aboutOverlayOpen = false;
  bool drawButtonHeld = false;
  render::RecordingCanvas canvas;
};

inline std::vector<CanvasCall> Of(const std::vector<CanvasCall>& calls, CallKind kind) {
  std::vector<CanvasCall> out;
  for (const CanvasCall& c : calls) {
    if (c.kind == kind) out.push_back(c);
  }
  return out;
}

inline std::vector<CanvasCall> Texts(const std::vector<CanvasCall>& calls) {
  return Of(calls, CallKind::DrawText);
}

inline std::vector<CanvasCall> Boxes(const std::vector<CanvasCall>& calls) {
  return Of(calls, CallKind::Box);
}

// The one text call showing `text`; fails the test when there is not exactly one.
inline CanvasCall TextCall(const std::vector<CanvasCall>& calls, const std::string& text) {
  std::vector<CanvasCall> found;
  for (const CanvasCall& c : Texts(calls)) {
    if (c.text == text) found.push_back(c);
  }
  EXPECT_EQ(found.size(), 1u) << "text \"" << text << "\"";
  return found.empty() ? CanvasCall{} : found.front();
}

}  // namespace controls_test
