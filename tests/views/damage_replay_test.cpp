// Drawing only what changed must show exactly what drawing everything shows. Real frames of a
// game played through draws with balls falling, the two overlays, the heat map, tab changes,
// picks and resizes are each drawn in part over the frame before, on SDL's software renderer in
// memory, and compared pixel by pixel with the same frame drawn whole. Also the damage found
// for small frames made by hand.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/sdl/surface_screen.h"
#include "render/damage.h"
#include "render/display_list.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/draw.h"
#include "rules/game_state.h"
#include "rules/picks.h"
#include "shell/frame.h"
#include "shell/timers.h"
#include "views/views.h"

namespace damage_test {
namespace {

using platform::Rect;
using render::DisplayList;

std::vector<uint32_t> PixelsOf(const SDL_Surface* s) {
  std::vector<uint32_t> out(static_cast<std::size_t>(s->w) * static_cast<std::size_t>(s->h));
  for (int y = 0; y < s->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                        static_cast<std::ptrdiff_t>(y) * s->pitch);
    std::copy(row, row + s->w, out.begin() + static_cast<std::ptrdiff_t>(y) * s->w);
  }
  return out;
}

bool Covers(const std::vector<Rect>& rects, int64_t x, int64_t y) {
  for (const Rect& r : rects) {
    if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) return true;
  }
  return false;
}

// A game on a screen a little larger than its client area, so a resize can shrink it.
class DamageReplayTest : public ::testing::Test {
 protected:
  static constexpr int64_t kScreenWidth = 1280, kScreenHeight = 800;

  // Indexed as the game indexes it: from what it shares with the frame shown, unless whole.
  void Record(DisplayList& list, DisplayList* shown = nullptr) {
    list.calls.clear();
    render::RecordingCanvas recorder(list, screen_.Metrics(), &screen_.Drawing());
    shell::ComposeFrame(recorder, scene_.View());
    render::IndexFrame(list, screen_.Metrics(), scene_.layout.clientWidth,
                       scene_.layout.clientHeight, shown);
  }

  void Resize(int64_t width, int64_t height) {
    platform::Canvas& canvas = screen_.Drawing();
    scene_.layout.clientWidth = width;
    scene_.layout.clientHeight = height;
    render::LoadFonts(canvas, scene_.fonts, height);
    render::ComputeLayout(scene_.layout, canvas, scene_.balls, scene_.fonts);
    shell::FitOverlayFonts(canvas, scene_.fonts, scene_.layout, scene_.state);
  }

  void Tick() {
    scene_.host.now += 16;
    shell::TickTimers(scene_.state, scene_.balls, scene_.host);
  }

  // One random step of play; true when it needs a whole frame, as a resize does.
  bool Step(std::mt19937& rng, std::string& what) {
    rules::GameState& g = scene_.state;
    const int roll = static_cast<int>(rng() % 100);
    if (roll < 50) {
      what = "a frame of time";
      Tick();
    } else if (roll < 62) {
      what = "a draw started";
      if (!g.drawInProgress) rules::StartDraw(g, scene_.host);
      Tick();
    } else if (roll < 69) {
      what = "payout overlay toggled";
      scene_.input.payoutOverlayOpen = scene_.input.payoutOverlayOpen != 0 ? 0 : 1;
    } else if (roll < 76) {
      what = "about overlay toggled";
      scene_.input.aboutOverlayOpen = scene_.input.aboutOverlayOpen != 0 ? 0 : 1;
    } else if (roll < 83) {
      what = "heat map toggled";
      g.heatMapOn = g.heatMapOn != 0 ? 0 : 1;
    } else if (roll < 90) {
      what = "tab changed";
      rules::SelectTab(g, static_cast<int64_t>(rng() % (rules::kCards + 1)));
    } else if (roll < 97) {
      what = "a pick toggled";
      const int card = 1 + static_cast<int>(rng() % rules::kCards);
      rules::TogglePick(g, card, 1 + static_cast<int64_t>(rng() % rules::kNumbers),
                        scene_.host.now);
    } else {
      what = "resized";
      const bool large = scene_.layout.clientWidth == 1280;
      Resize(large ? 1000 : 1280, large ? 752 : 780);
      return true;
    }
    return false;
  }

  platform::SurfaceScreen screen_{kScreenWidth, kScreenHeight, SDL_PIXELFORMAT_RGB888};
  views::Scene scene_{screen_.Drawing(), 1280, 780};
};

TEST_F(DamageReplayTest, PartialFramesEqualWholeOnesOverRandomPlay) {
  ASSERT_TRUE(screen_.Ready());
  platform::Canvas& canvas = screen_.Drawing();
  scene_.Pick(1, {3, 7, 12, 19, 25, 33, 41, 48, 56, 62, 70, 77});
  scene_.Pick(2, {1, 2, 3, 4, 5, 6, 7, 8});
  int partial = 0, byCalls = 0, byTiles = 0;
  int frames = 0;
  for (uint32_t seed : {1u, 2u, 3u}) {
    std::mt19937 rng(seed);
    DisplayList shown, next;
    bool whole = true;
    for (int frame = 0; frame < 120; ++frame, ++frames) {
      std::string what = "the first frame";
      if (frame > 0) whole = Step(rng, what);
      Record(next, whole ? nullptr : &shown);
      std::vector<Rect> rects;
      if (whole) {
        render::Replay(next, canvas);
      } else if (next == shown) {
        // nothing to draw
      } else if (render::FindDamage(shown, next, rects)) {
        if (!rects.empty()) {
          render::ReplayDamage(next, rects, canvas);
          ++partial;
          // Found by matching the calls, or by tiles when too many calls changed.
          ++(next.regions.comparedTo == shown.regions.serial ? byCalls : byTiles);
        }
      } else {
        render::Replay(next, canvas);
      }
      screen_.Present();
      const std::vector<uint32_t> drawn = PixelsOf(screen_.Pixels());
      render::Replay(next, canvas);
      screen_.Present();
      const std::vector<uint32_t> expected = PixelsOf(screen_.Pixels());
      for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(drawn[i], expected[i])
            << "seed " << seed << " frame " << frame << " after " << what << ": pixel "
            << i % kScreenWidth << "," << i / kScreenWidth << " of " << rects.size()
            << " damaged rectangles";
      }
      std::swap(shown, next);
    }
  }
  // Most frames of play change a little: they must have been drawn in part.
  EXPECT_GT(partial, frames / 4);
  EXPECT_GT(byCalls, 0);
  EXPECT_GT(byTiles, 0);
}

// Small frames by hand, with the recorder's fake metrics: every text 20 px high, 10 a character.
struct Frame {
  render::RecordingCanvas canvas;
  Frame() { canvas.BeginDrawing(nullptr); }
  DisplayList Done(int64_t width = 640, int64_t height = 480) {
    canvas.EndDrawing();
    DisplayList list = canvas.List();
    render::IndexFrame(list, render::FakeMetrics{}, width, height);
    return list;
  }
};

DisplayList Board(const std::string& text, int64_t boxX, int64_t boxY) {
  Frame f;
  f.canvas.Box(0, 0, 640, 480, platform::RGB(20, 20, 20));
  f.canvas.SetFrontColor(platform::RGB(255, 255, 255));
  f.canvas.DrawText(100, 100, text);
  f.canvas.Box(boxX, boxY, 10, 10, platform::RGB(200, 0, 0));
  return f.Done();
}

TEST(FindDamage, AnUnchangedFrameHasNone) {
  std::vector<Rect> rects{Rect{1, 2, 3, 4}};
  EXPECT_TRUE(render::FindDamage(Board("12", 50, 50), Board("12", 50, 50), rects));
  EXPECT_TRUE(rects.empty());
}

TEST(FindDamage, AChangedTextDamagesItsOldAndNewBoxesOnly) {
  std::vector<Rect> rects;
  ASSERT_TRUE(render::FindDamage(Board("1234", 500, 400), Board("12", 500, 400), rects));
  for (int64_t x = 100; x < 140; ++x) EXPECT_TRUE(Covers(rects, x, 110)) << x;  // the old box
  EXPECT_FALSE(Covers(rects, 505, 405));                                        // the red box
  EXPECT_FALSE(Covers(rects, 300, 300));
}

TEST(FindDamage, AMovedCallIsDrawnAtBothPlaces) {
  std::vector<Rect> rects;
  ASSERT_TRUE(render::FindDamage(Board("12", 40, 300), Board("12", 560, 440), rects));
  for (int64_t d = 0; d < 10; ++d) {
    EXPECT_TRUE(Covers(rects, 40 + d, 300 + d));
    EXPECT_TRUE(Covers(rects, 560 + d, 440 + d));
  }
  EXPECT_FALSE(Covers(rects, 300, 370));  // between the two: nothing changed there
  EXPECT_FALSE(Covers(rects, 110, 110));  // the text
}

TEST(FindDamage, ManyScatteredChangesMergeIntoFewRectanglesThatDoNotOverlap) {
  auto grid = [](platform::Color c) {
    Frame f;
    f.canvas.Box(0, 0, 640, 480, platform::RGB(20, 20, 20));
    for (int64_t i = 0; i < 30; ++i) f.canvas.Box(20 + (i % 6) * 100, 20 + (i / 6) * 40, 8, 8, c);
    return f.Done();
  };
  std::vector<Rect> rects;
  ASSERT_TRUE(
      render::FindDamage(grid(platform::RGB(1, 1, 1)), grid(platform::RGB(2, 2, 2)), rects));
  EXPECT_LE(rects.size(), render::kMaxDamageRects);
  for (int64_t i = 0; i < 30; ++i) {
    EXPECT_TRUE(Covers(rects, 24 + (i % 6) * 100, 24 + (i / 6) * 40)) << i;
  }
  for (std::size_t i = 0; i < rects.size(); ++i) {
    for (std::size_t j = i + 1; j < rects.size(); ++j) {
      const Rect& a = rects[i];
      const Rect& b = rects[j];
      EXPECT_FALSE(a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h);
    }
  }
}

// Board with more red boxes, at (x, y) each, drawn after the first.
DisplayList BoardWith(const std::string& text, std::vector<std::pair<int64_t, int64_t>> boxes) {
  Frame f;
  f.canvas.Box(0, 0, 640, 480, platform::RGB(20, 20, 20));
  f.canvas.SetFrontColor(platform::RGB(255, 255, 255));
  f.canvas.DrawText(100, 100, text);
  for (auto [x, y] : boxes) f.canvas.Box(x, y, 10, 10, platform::RGB(200, 0, 0));
  return f.Done();
}

// A frame indexed from the one shown is matched with it call by call instead of being compared
// tile by tile: the damage must be the same, and the same either way round.
TEST(FindDamage, MatchingCallsFindsWhatTilesFind) {
  struct Case {
    const char* what;
    DisplayList shown, next;
  };
  Case cases[] = {
      {"unchanged", Board("12", 50, 50), Board("12", 50, 50)},
      {"text changed", Board("1234", 500, 400), Board("12", 500, 400)},
      {"box moved", Board("12", 40, 300), Board("12", 560, 440)},
      {"box moved a little", Board("12", 40, 300), Board("12", 44, 301)},
      {"box moved off the screen", Board("12", 40, 300), Board("12", 900, 300)},
      {"box added", BoardWith("12", {{40, 300}}), BoardWith("12", {{40, 300}, {600, 20}})},
      {"box added before", BoardWith("12", {{40, 300}}), BoardWith("12", {{600, 20}, {40, 300}})},
      {"box removed", BoardWith("12", {{40, 300}, {300, 200}, {600, 20}}),
       BoardWith("12", {{40, 300}, {600, 20}})},
      {"boxes added and moved", BoardWith("7", {{10, 10}, {100, 100}, {200, 200}, {300, 300}}),
       BoardWith("7", {{10, 10}, {150, 100}, {200, 200}, {400, 50}, {300, 300}, {5, 400}})},
  };
  for (Case& c : cases) {
    std::vector<Rect> byTiles, byCalls;
    ASSERT_TRUE(render::FindDamage(c.shown, c.next, byTiles)) << c.what;
    render::IndexFrame(c.next, render::FakeMetrics{}, 640, 480, &c.shown);
    ASSERT_EQ(c.next.regions.comparedTo, c.shown.regions.serial) << c.what;
    ASSERT_TRUE(render::FindDamage(c.shown, c.next, byCalls)) << c.what;
    EXPECT_EQ(byCalls, byTiles) << c.what;
    // Either way round: the frame shown may be the one indexed from the other.
    std::vector<Rect> back;
    ASSERT_TRUE(render::FindDamage(c.next, c.shown, back)) << c.what;
    EXPECT_EQ(back, byTiles) << c.what;
    EXPECT_EQ(render::SameCalls(c.shown, c.next), byTiles.empty()) << c.what;
  }
}

// The same over random edits: boxes of colours of their own (no two calls alike, so the tiles
// tell exactly which calls differ) inserted, removed and moved.
TEST(FindDamage, MatchingCallsFindsWhatTilesFindAfterRandomEdits) {
  std::mt19937 rng(7);
  uint32_t colour = 1;
  struct Box {
    int64_t x, y;
    platform::Color c;
  };
  const auto fresh = [&] {
    return Box{static_cast<int64_t>(rng() % 620), static_cast<int64_t>(rng() % 460), colour++};
  };
  const auto draw = [](const std::vector<Box>& boxes) {
    Frame f;
    for (const Box& b : boxes) f.canvas.Box(b.x, b.y, 12, 12, b.c);
    return f.Done();
  };
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<Box> boxes;
    for (int i = 0; i < 40; ++i) boxes.push_back(fresh());
    DisplayList shown = draw(boxes);
    const int edits = 1 + static_cast<int>(rng() % 12);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = rng() % boxes.size();
      switch (rng() % 3) {
        case 0:
          boxes.insert(boxes.begin() + static_cast<std::ptrdiff_t>(at), fresh());
          break;
        case 1:
          boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(at));
          break;
        default:
          boxes[at] = fresh();
          break;
      }
    }
    DisplayList next = draw(boxes);
    std::vector<Rect> byTiles, byCalls;
    const bool tiles = render::FindDamage(shown, next, byTiles);
    render::IndexFrame(next, render::FakeMetrics{}, 640, 480, &shown);
    ASSERT_EQ(next.regions.comparedTo, shown.regions.serial) << "trial " << trial;
    ASSERT_EQ(render::FindDamage(shown, next, byCalls), tiles) << "trial " << trial;
    EXPECT_EQ(byCalls, byTiles) << "trial " << trial;
    EXPECT_LE(next.regions.added.size() + next.regions.removed.size(), 2u * edits)
        << "trial " << trial << ": more calls left unmatched than were edited";
  }
}

// Frames too different to match are compared by tiles, the frame shown, matched before, tiled
// for it; the damage is found all the same.
TEST(FindDamage, FramesTooDifferentToMatchAreComparedByTiles) {
  std::vector<std::pair<int64_t, int64_t>> before, after;
  for (int64_t i = 0; i < 300; ++i) {
    before.emplace_back(20 + (i % 30) * 20, 200 + (i / 30) * 20);
    after.emplace_back(21 + (i % 30) * 20, 200 + (i / 30) * 20);
  }
  DisplayList first = BoardWith("12", before);
  DisplayList second = BoardWith("12", before);
  render::IndexFrame(second, render::FakeMetrics{}, 640, 480, &first);
  ASSERT_EQ(second.regions.comparedTo, first.regions.serial);
  ASSERT_FALSE(second.regions.tiled);
  DisplayList third = BoardWith("34", after);
  render::IndexFrame(third, render::FakeMetrics{}, 640, 480, &second);
  EXPECT_EQ(third.regions.comparedTo, 0u);
  EXPECT_TRUE(second.regions.tiled);
  std::vector<Rect> rects;
  ASSERT_TRUE(render::FindDamage(second, third, rects));
  EXPECT_TRUE(Covers(rects, 110, 110));  // the text
  EXPECT_TRUE(Covers(rects, 25, 205));   // a box
  EXPECT_FALSE(Covers(rects, 300, 20));  // nothing there changed
  EXPECT_FALSE(render::SameCalls(second, third));
}

TEST(FindDamage, WholeFramesWhereAPartCannotDo) {
  std::vector<Rect> rects;
  // Most of the screen changed.
  Frame dark, light;
  dark.canvas.Box(0, 0, 640, 480, platform::RGB(0, 0, 0));
  light.canvas.Box(0, 0, 640, 480, platform::RGB(9, 9, 9));
  EXPECT_FALSE(render::FindDamage(dark.Done(), light.Done(), rects));
  // Another size.
  Frame small, large;
  EXPECT_FALSE(render::FindDamage(small.Done(640, 480), large.Done(800, 600), rects));
  // A frame that draws on an image changes what a call on the screen shows, unseen by its bounds.
  Frame plain, imaging;
  platform::Image* image = imaging.canvas.CreateImage(8, 8, platform::RGB(1, 2, 3));
  imaging.canvas.EndDrawing();
  imaging.canvas.BeginDrawing(image);
  imaging.canvas.Box(0, 0, 4, 4, platform::RGB(5, 5, 5));
  imaging.canvas.EndDrawing();
  imaging.canvas.BeginDrawing(nullptr);
  imaging.canvas.DrawImage(image, 10, 10);
  EXPECT_FALSE(render::FindDamage(plain.Done(), imaging.Done(), rects));
}

}  // namespace
}  // namespace damage_test
