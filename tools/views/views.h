// The views a player can reach, each set up at a given client size through the game's own rules
// (picks, draws, timers), seeded so every run shows the same board. The reference tests record
// them and the picture tool renders them, so a reference that changed can be looked at.
// Draws on whatever canvas it is given; knows nothing of SDL.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "render/balls_panel.h"
#include "render/board_view.h"
#include "render/display_list.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"
#include "rules/host.h"
#include "shell/game.h"

namespace views {

struct Size {
  const char* tag;  // "1280x780"
  int64_t width, height;
};

// The smallest window, the opening size and a large screen.
const std::vector<Size>& Sizes();

class Scene;

// The rules' outside world in a scene: a clock moved by hand, every box accepted, no sound and
// no save, and the balls dropping in the scene's own panel.
class SceneHost final : public rules::QuietHost {
 public:
  explicit SceneHost(Scene& scene) : scene_(scene) { now = 1'000'000; }
  void ResetBallAnimation() override;
  void StartBallDrop(int64_t ball) override;

 private:
  Scene& scene_;
};

// One board at one client size: the game record with its pay tables and a seeded draw, and the
// fonts, layout and images made on `canvas` as the game makes them at that size.
class Scene {
 public:
  Scene(platform::Canvas& canvas, int64_t width, int64_t height);
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Clicks on card `card`'s cells: each number not yet picked is toggled on.
  void Pick(int card, const std::vector<int64_t>& numbers);
  // Frames of 16 ms through the frame loop's timers until `done` holds, a minute at most.
  void RunUntil(const std::function<bool()>& done);
  // Whole draws, each run until its balls have landed.
  void PlayDraws(int count);
  // The numbers the next draw will bring, in order, read from a copy of the game, so a view can
  // pick for them or around them. The game itself is left as it was.
  std::array<int64_t, rules::kBallsPerDraw> NextDraw() const;
  // Falling balls in the panel.
  int64_t BallsFalling() const;

  render::BoardView View() const;

  platform::Canvas& canvas;
  rules::GameState state;
  render::Layout layout;
  render::Fonts fonts;
  render::BallsPanel balls;
  shell::InputMemory input;  // the overlay and Draw-button flags input would set
  SceneHost host;
};

struct View {
  const char* name;  // file-name friendly: "card1-picks"
  const char* what;  // what the player sees, one line
  std::function<void(Scene&)> setup;
  // Holds when the scene shows what the view is for, so a change of the rules or of the seed
  // that loses it fails instead of quietly rewriting a reference into another view.
  std::function<bool(const Scene&)> shows;
};

const std::vector<View>& Catalogue();

// The fonts and images of a scene named by their part, for writing its display lists out.
render::HandleNames NamesOf(const Scene& scene);

}  // namespace views
