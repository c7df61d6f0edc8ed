// Every text the panels and overlays draw fits where it is drawn, checked as geometry on every
// view of the catalogue at sizes from the smallest window up: each text's box inside its panel
// (the panels end where the bottom band starts), no two texts of one line closer than a space,
// no text covered by what is drawn after it; the balls and the ring slots inside the balls panel
// and apart. Measured three ways: the fixed fake metrics, fake metrics that grow with the font,
// and the real font through the SDL canvas (skipped when no font file is found). Text of one
// fixed size cannot be fitted by its size, so the overlays, whose fonts are chosen by measuring,
// are checked the other two ways only; the payout table at every bet and in both modes, the
// recall and the stats panel's figures also at their widest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "controls/about_overlay.h"
#include "controls/payout_overlay.h"
#include "controls/recall_overlay.h"
#include "controls/sized_metrics.h"
#include "platform/sdl/font_finder.h"
#include "platform/sdl/sdl_canvas.h"
#include "render/balls_panel.h"
#include "render/display_list.h"
#include "render/stats_panel.h"
#include "rules/paytable.h"
#include "views/views.h"

namespace views_test {
namespace {

using render::CallKind;
using render::CanvasCall;

enum class Metrics { kFixedFake, kSizedFake, kRealFont };

const char* NameOf(Metrics m) {
  switch (m) {
    case Metrics::kFixedFake:
      return "FixedFake";
    case Metrics::kSizedFake:
      return "SizedFake";
    case Metrics::kRealFont:
      return "RealFont";
  }
  return "?";
}

// A recorder and the metrics it measures with; the real font's canvas draws nothing, it only
// loads and measures.
struct Measuring {
  explicit Measuring(Metrics kind) {
    if (kind == Metrics::kRealFont) {
      sdl = std::make_unique<platform::SdlCanvas>(nullptr, 96.0);
      metrics = sdl.get();
      canvas = std::make_unique<render::RecordingCanvas>(list, *sdl, sdl.get());
    } else if (kind == Metrics::kSizedFake) {
      metrics = &sized;
      canvas = std::make_unique<render::RecordingCanvas>(list, sized);
      sized.MeasureFontsOf(*canvas);
    } else {
      metrics = &fixed;
      canvas = std::make_unique<render::RecordingCanvas>(list, fixed);
    }
  }
  render::DisplayList list;
  render::FakeMetrics fixed;
  controls_test::SizedFakeMetrics sized;
  std::unique_ptr<platform::SdlCanvas> sdl;
  const platform::TextMetrics* metrics = nullptr;
  std::unique_ptr<render::RecordingCanvas> canvas;
};

struct TextBox {
  std::string text;
  double x, y, w, h;
  double space;  // a space in its font
  std::size_t call;
};

bool Overlap(double a0, double a1, double b0, double b1) { return a0 < b1 && b0 < a1; }

// Bounds of what a later call paints over; false for calls that leave text readable (outlines,
// blends, state).
bool PaintedBounds(const CanvasCall& c, double& x0, double& y0, double& x1, double& y1) {
  const auto& v = c.ints;
  const bool solid =
      c.mode == platform::DrawMode::Opaque || c.mode == platform::DrawMode::TransparentText;
  switch (c.kind) {
    case CallKind::Box:
      if (!solid) return false;
      x0 = v[0], y0 = v[1], x1 = v[0] + v[2], y1 = v[1] + v[3];
      return true;
    case CallKind::Circle:
      if (!solid) return false;
      x0 = v[0] - v[2], y0 = v[1] - v[2], x1 = v[0] + v[2] + 1, y1 = v[1] + v[2] + 1;
      return true;
    case CallKind::Line:
      x0 = std::min(v[0], v[2]), y0 = std::min(v[1], v[3]);
      x1 = std::max(v[0], v[2]) + 1, y1 = std::max(v[1], v[3]) + 1;
      return true;
    case CallKind::LineExtent:
      x0 = v[0], y0 = v[1], x1 = v[0] + std::max<int64_t>(v[2], 1),
      y1 = v[1] + std::max<int64_t>(v[3], 1);
      return v[2] != 0 && v[3] != 0;
    default:
      return false;
  }
}

// The checks every drawer's texts must pass, inside `panel`.
void ExpectTextsFit(const std::vector<CanvasCall>& calls, const platform::TextMetrics& metrics,
                    const render::Rect& panel, const std::string& where) {
  std::vector<TextBox> boxes;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const CanvasCall& c = calls[i];
    if (c.kind != CallKind::DrawText) continue;
    boxes.push_back({c.text, c.reals[0], c.reals[1], std::round(metrics.TextWidth(c.font, c.text)),
                     std::round(metrics.TextHeight(c.font)),
                     std::round(metrics.TextWidth(c.font, " ")), i});
  }
  ASSERT_FALSE(boxes.empty()) << where;
  const double left = static_cast<double>(panel.x), top = static_cast<double>(panel.y);
  const double right = left + static_cast<double>(panel.w);
  const double bottom = top + static_cast<double>(panel.h);
  for (const TextBox& b : boxes) {
    EXPECT_TRUE(b.x >= left && b.x + b.w <= right && b.y >= top && b.y + b.h <= bottom)
        << where << ": \"" << b.text << "\" at " << b.x << "," << b.y << " (" << b.w << " x " << b.h
        << ") leaves the panel " << left << "," << top << " to " << right << "," << bottom;
    for (std::size_t j = b.call + 1; j < calls.size(); ++j) {
      double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
      if (!PaintedBounds(calls[j], x0, y0, x1, y1)) continue;
      EXPECT_FALSE(Overlap(b.x, b.x + b.w, x0, x1) && Overlap(b.y, b.y + b.h, y0, y1))
          << where << ": \"" << b.text << "\" at " << b.x << "," << b.y
          << " is painted over by a later call at " << x0 << "," << y0 << " to " << x1 << "," << y1;
    }
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const TextBox *a = &boxes[i], *b = &boxes[j];
      if (!Overlap(a->y, a->y + a->h, b->y, b->y + b->h)) continue;
      if (b->x < a->x) std::swap(a, b);
      // A text that ends in a space carries its gap with it: the two coloured parts of "3W 5L".
      const double carried = !a->text.empty() && a->text.back() == ' ' ? a->space : 0;
      EXPECT_GE(b->x - (a->x + a->w) + carried, a->space)
          << where << ": \"" << a->text << "\" at " << a->x << "," << a->y << " and \"" << b->text
          << "\" at " << b->x << "," << b->y << " are closer than a space";
    }
  }
}

// The balls: every circle inside the panel, every ball's face apart from the others.
void ExpectBallsFit(const std::vector<CanvasCall>& calls, const render::Rect& panel,
                    const std::string& where) {
  std::vector<const CanvasCall*> faces;
  for (const CanvasCall& c : calls) {
    if (c.kind != CallKind::Circle) continue;
    const int64_t cx = c.ints[0], cy = c.ints[1], r = c.ints[2];
    EXPECT_TRUE(cx - r >= panel.x && cx + r < panel.x + panel.w && cy - r >= panel.y &&
                cy + r < panel.y + panel.h)
        << where << ": circle at " << cx << "," << cy << " r" << r << " leaves the panel";
    if (c.mode == platform::DrawMode::Opaque) faces.push_back(&c);
  }
  for (std::size_t i = 0; i < faces.size(); ++i) {
    for (std::size_t j = i + 1; j < faces.size(); ++j) {
      const double dx = static_cast<double>(faces[i]->ints[0] - faces[j]->ints[0]);
      const double dy = static_cast<double>(faces[i]->ints[1] - faces[j]->ints[1]);
      EXPECT_GT(std::hypot(dx, dy), static_cast<double>(faces[i]->ints[2] + faces[j]->ints[2]))
          << where << ": balls at " << faces[i]->ints[0] << "," << faces[i]->ints[1] << " and "
          << faces[j]->ints[0] << "," << faces[j]->ints[1] << " overlap";
    }
  }
}

// The twenty ring slots of the panel's image, inside it and apart, the outline's pixel included,
// in two columns side by side: the zigzag.
void ExpectSlotsFit(const render::Rect& panel, const std::string& where) {
  const render::BallSlots s = render::SlotGeometry(panel.w, panel.h);
  EXPECT_GT(s.rightX - s.leftX, 2 * s.radius) << where << ": the columns at " << s.leftX << " and "
                                              << s.rightX << " overlap, r" << s.radius;
  std::vector<std::pair<int64_t, int64_t>> centres;
  for (int64_t k = 1; k <= rules::kBallsPerDraw; ++k) {
    int64_t x = 0, y = 0;
    render::SlotCentre(s, panel.h, k, x, y);
    EXPECT_TRUE(x - s.radius >= 0 && x + s.radius < panel.w &&
                y - s.radius >= render::kCageHeight && y + s.radius < panel.h)
        << where << ": slot " << k << " at " << x << "," << y << " r" << s.radius;
    centres.push_back({x, y});
  }
  for (std::size_t i = 0; i < centres.size(); ++i) {
    for (std::size_t j = i + 1; j < centres.size(); ++j) {
      const double d = std::hypot(static_cast<double>(centres[i].first - centres[j].first),
                                  static_cast<double>(centres[i].second - centres[j].second));
      EXPECT_GT(d, static_cast<double>(2 * s.radius + 1))
          << where << ": slots " << i + 1 << " and " << j + 1 << " touch";
    }
  }
}

// Ten draws of four twelve-spot cards with the largest figures each field can hold: the first a
// progressive jackpot, the second a consolation.
rules::Recall WidestRecall() {
  rules::Recall recall;
  for (int64_t i = 0; i < rules::kRecallDraws; ++i) {
    rules::RecallDraw d;
    d.endedAt = 4'102'444'799;  // 2099-12-31 23:59:59 UTC
    for (int64_t b = 0; b < rules::kBallsPerDraw; ++b) d.numbers[b] = 80 - b;
    d.cardCount = rules::kCards;
    d.balanceAfter = -99'999'999'999;
    for (int64_t k = 0; k < rules::kCards; ++k) {
      rules::RecallCard& c = d.cards[k];
      c.card = k + 1;
      for (int64_t n = 69; n <= 80; ++n) c.picked[n] = 1;
      c.pickCount = c.hitCount = rules::kMaxPicks;
      c.bet = rules::kMaxBet;
      c.payMode = k % 2 == 0 ? rules::GENEROUS : rules::CASINO;
      c.tableWin = 9'999'999'999;
      if (i % 2 == 0) {
        c.progressive = 2'147'483'647;
      } else {
        c.consolation = 99'999;
      }
    }
    recall.slots[i] = d;
  }
  recall.count = rules::kRecallDraws;
  return recall;
}

// The stats panel's figures as wide as a long lucky set makes them: the top prize at $10 with a
// pot of a million on every card, a set net near a million and hundreds of draws won and lost.
void WidenFigures(rules::GameState& g) {
  constexpr int64_t kTopWin = 10'000'000 + 1'000'000;
  for (int i = 1; i <= rules::kCards; ++i) {
    g.cardWin[i] = kTopWin;
    g.cardNet[i] = 999'990;
    g.cardWinCount[i] = 999;
    g.cardLossCount[i] = 999;
  }
  g.setWon = 4 * kTopWin;
  g.setCost = 99'999'990;
}

struct Case {
  Metrics metrics;
  views::Size size;
};

void PrintTo(const Case& c, std::ostream* os) { *os << NameOf(c.metrics) << " at " << c.size.tag; }

std::vector<Case> Cases() {
  // The smallest window, the opening size, the design size, sizes where the fonts step up, the
  // height from which the balls would stack, and a large screen.
  const views::Size sizes[] = {
      {"1000x752", 1000, 752},   {"1002x752", 1002, 752},   {"1280x780", 1280, 780},
      {"1100x824", 1100, 824},   {"1366x868", 1366, 868},   {"1440x960", 1440, 960},
      {"1680x1050", 1680, 1050}, {"1920x1252", 1920, 1252}, {"2560x1440", 2560, 1440}};
  std::vector<Case> cases;
  for (Metrics m : {Metrics::kFixedFake, Metrics::kSizedFake, Metrics::kRealFont}) {
    for (const views::Size& size : sizes) cases.push_back({m, size});
  }
  return cases;
}

class FitsItsPanel : public ::testing::TestWithParam<Case> {};

TEST_P(FitsItsPanel, EveryViewOfTheCatalogue) {
  const Case& c = GetParam();
  if (c.metrics == Metrics::kRealFont) {
    platform::FontFile file;
    if (!platform::ResolveFontFile(render::kFontFace, false, file)) {
      GTEST_SKIP() << "no font file installed";
    }
  }
  const bool overlays = c.metrics != Metrics::kFixedFake;
  for (const views::View& view : views::Catalogue()) {
    if (HasFailure()) return;  // one view's faults are enough to read
    Measuring m(c.metrics);
    render::RecordingCanvas& canvas = *m.canvas;
    views::Scene scene(canvas, c.size.width, c.size.height);
    view.setup(scene);
    ASSERT_TRUE(view.shows(scene)) << view.name;
    const std::string where = std::string(view.name) + " at " + c.size.tag;
    const render::Layout& l = scene.layout;
    ExpectSlotsFit(l.ballsPanel, where);

    auto record = [&](auto drawer) {
      canvas.Clear();
      drawer(canvas, scene.View());
      return canvas.Calls();
    };
    ExpectTextsFit(record(render::DrawStatsPanel), *m.metrics, l.statsPanel, where + ", stats");
    if (c.metrics == Metrics::kRealFont) {
      // The widest figures a card can show, in the face the player sees: the top prize at the
      // top bet with a grown pot. (The panel's width is fixed, and no fake face is as narrow.)
      const rules::GameState shown = scene.state;
      WidenFigures(scene.state);
      ExpectTextsFit(record(render::DrawStatsPanel), *m.metrics, l.statsPanel,
                     where + ", stats at their widest");
      scene.state = shown;
    }
    const auto balls = record(render::DrawBallsPanel);
    ExpectBallsFit(balls, l.ballsPanel, where + ", balls");
    if (scene.state.ballsRevealed > 0) {
      ExpectTextsFit(balls, *m.metrics, l.ballsPanel, where + ", ball numbers");
    }
    if (!overlays) continue;
    if (scene.input.aboutOverlayOpen) {
      ExpectTextsFit(record(controls::DrawAboutOverlay), *m.metrics, l.grid, where + ", about");
    }
    if (scene.input.recallOverlayOpen) {
      ExpectTextsFit(record(controls::DrawRecallOverlay), *m.metrics, l.grid, where + ", recall");
      // The widest page the recall can hold, whatever the view's draws were.
      scene.state.recall = WidestRecall();
      for (int64_t page : {0, 1}) {
        scene.input.recallPage = page;
        ExpectTextsFit(record(controls::DrawRecallOverlay), *m.metrics, l.grid,
                       where + ", widest recall page " + std::to_string(page + 1));
      }
    }
    if (scene.input.payoutOverlayOpen) {
      for (int64_t mode : {rules::GENEROUS, rules::CASINO}) {
        for (int64_t bet = rules::kMinBet; bet <= rules::kMaxBet; ++bet) {
          scene.state.payMode = mode;
          rules::RefreshActivePayTable(scene.state);
          scene.state.betPerCard = bet;
          ExpectTextsFit(record(controls::DrawPayoutOverlay), *m.metrics, l.grid,
                         where + ", payout " + (mode == rules::CASINO ? "CASINO" : "GENEROUS") +
                             " at $" + std::to_string(bet));
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FitsItsPanel, ::testing::ValuesIn(Cases()), [](const auto& info) {
  return std::string(NameOf(info.param.metrics)) + "_" + info.param.size.tag;
});

}  // namespace
}  // namespace views_test
