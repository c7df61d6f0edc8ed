// The card grid recorded at 1280 x 780 (grid 876 x 596, content boxes 87 x 74): cell geometry,
// the four cell states in the Main and card views, numerals, crosses and asterisks, the heat
// map's scale and colours, the hit cross drawn on its own and stamped from its image, and the
// hit test walked over every pixel of the grid at four sizes.
#include "render/card_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "board_fixture.h"

namespace render_test {
namespace {

using platform::Color;
using platform::DrawMode;
using platform::RGB;
using render::Rect;

constexpr Color kBlack = RGB(0, 0, 0);
constexpr Color kWhite = RGB(255, 255, 255);
constexpr Color kIdle = RGB(0, 90, 200);
constexpr Color kCrossYellow = RGB(255, 230, 0);
constexpr int64_t kContentW = 87, kContentH = 74;  // trunc(87.6) x trunc(74.5)
constexpr int kN = 5;                              // the number the state cases look at

// The calls of each cell, 1..80, each list starting at the opaque face box that begins it.
std::vector<std::vector<CanvasCall>> SplitCells(const std::vector<CanvasCall>& calls,
                                                const Rect& grid) {
  std::vector<std::vector<CanvasCall>> cells(81);
  int n = 0;
  for (const CanvasCall& c : calls) {
    if (n < 80 && c.kind == CallKind::Box && c.mode == DrawMode::Opaque) {
      const Rect box = render::CellBox(grid, n + 1);
      if (c.ints == Ints(box.x, box.y, box.w, box.h)) ++n;
    }
    if (n >= 1) cells[n].push_back(c);
  }
  EXPECT_EQ(n, 80) << "cells found";
  return cells;
}

// What a cell shows over its frame, in drawing order.
enum class Mark { Shadow, Numeral, BlackNumeral, Cross, WhiteStar, BlackStar, Other };

std::ostream& operator<<(std::ostream& os, Mark m) {
  const char* names[] = {"Shadow",    "Numeral",   "BlackNumeral", "Cross",
                         "WhiteStar", "BlackStar", "Other"};
  return os << names[static_cast<int>(m)];
}

std::vector<Mark> MarksOf(const std::vector<CanvasCall>& cell, const Board& b, int n,
                          Color numeral) {
  const Rect box = render::CellBox(b.layout.grid, n);
  const std::string text = std::to_string(n);
  const int64_t tx = box.x + (kContentW - 10 * static_cast<int64_t>(text.size())) / 2;
  const int64_t ty = box.y + (kContentH - 20) / 2;
  const int64_t starX = box.x + (kContentW - 51) / 2, starY = box.y + (kContentH - 51) / 2;
  std::vector<Mark> marks;
  for (const CanvasCall& c : cell) {
    if (c.kind == CallKind::DrawText) {
      const bool at = c.reals[0] == tx && c.reals[1] == ty;
      const bool below = c.reals[0] == tx + 1 && c.reals[1] == ty + 1;
      Mark m = Mark::Other;
      if (c.text != text || c.mode != DrawMode::TransparentText ||
          c.font != b.fonts.gridNumberFont) {
        m = Mark::Other;
      } else if (below && c.color == kBlack) {
        m = Mark::Shadow;
      } else if (at && c.color == kBlack) {
        m = Mark::BlackNumeral;
      } else if (at && c.color == numeral) {
        m = Mark::Numeral;
      }
      marks.push_back(m);
    } else if (c.kind == CallKind::DrawImage) {
      Mark m = Mark::Other;
      // The cross image reaches 5 pixels past the inset corners: one pixel out of the box here.
      if (c.image == b.layout.hitCross && c.ints[0] == box.x - 1 && c.ints[1] == box.y - 1) {
        m = Mark::Cross;
      } else if (c.ints[0] == starX && c.ints[1] == starY) {
        if (c.image == b.layout.whiteAsterisk) m = Mark::WhiteStar;
        if (c.image == b.layout.blackAsterisk) m = Mark::BlackStar;
      }
      marks.push_back(m);
    } else if (c.kind == CallKind::Line) {
      marks.push_back(Mark::Other);
    }
  }
  return marks;
}

struct CellCase {
  const char* name;
  int64_t tab;
  std::function<void(rules::GameState&)> setup;
  Color face, numeral, topLeft, bottomRight;
  std::vector<Mark> marks;
};

void Pick(rules::GameState& g, std::initializer_list<int> cards) {
  for (int card : cards) rules::SetPick(g, card, kN, true);
}
// Revealed: drawn, and a hit on every card holding it, as the draw marks them.
void Reveal(rules::GameState& g) {
  g.drawn[kN] = 1;
  for (int card = 1; card <= rules::kCards; ++card) {
    if (g.cards[card].picked[kN]) {
      g.cards[card].hit[kN] = 1;
      g.cards[card].hitCount += 1;
    }
  }
}

constexpr Color kHit = RGB(40, 180, 60), kHitLight = RGB(110, 230, 130),
                kHitDark = RGB(15, 100, 30);
constexpr Color kDrawn = RGB(210, 10, 10), kDrawnLight = RGB(255, 100, 100),
                kDrawnDark = RGB(100, 0, 0);
constexpr Color kPicked = RGB(140, 20, 160), kPickedNumeral = RGB(255, 220, 255);
constexpr Color kPickedDark = RGB(70, 0, 85), kPickedLight = RGB(200, 80, 220);
constexpr Color kIdleLight = RGB(80, 160, 255), kIdleDark = RGB(0, 45, 110);

using M = Mark;
const std::vector<Mark> kPlain{M::Shadow, M::Numeral};
const std::vector<Mark> kCrossed{M::Shadow, M::Numeral, M::Cross, M::BlackNumeral};

class CellStates : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellStates, FaceBevelOutlineAndMarks) {
  const CellCase& c = GetParam();
  Board b;
  c.setup(b.state);
  const auto calls = b.Record([&](auto& canvas, const auto& view) {
    render::DrawCardGrid(canvas, view, view.layout.grid, c.tab);
  });
  const auto cell = SplitCells(calls, b.layout.grid)[kN];
  const auto frame = Of(cell, CallKind::Box);
  ASSERT_EQ(frame.size(), 6u);
  const Rect box = render::CellBox(b.layout.grid, kN);
  const int64_t x = box.x, y = box.y, w = box.w, h = box.h;

  EXPECT_EQ(frame[0].color, c.face);
  // Bevel: top and left, then bottom and right, 3 pixels wide, opaque.
  const std::array<int64_t, 4> bevel[] = {Ints(x, y, w, 3), Ints(x, y, 3, h),
                                          Ints(x, y + h - 3, w, 3), Ints(x + w - 3, y, 3, h)};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(frame[1 + i].ints, bevel[i]) << "bevel " << i;
    EXPECT_EQ(frame[1 + i].mode, DrawMode::Opaque);
    EXPECT_EQ(frame[1 + i].color, i < 2 ? c.topLeft : c.bottomRight) << "bevel " << i;
  }
  EXPECT_EQ(frame[5].ints, Ints(x, y, w, h));
  EXPECT_EQ(frame[5].mode, DrawMode::Outline);
  EXPECT_EQ(frame[5].color, kBlack);
  EXPECT_EQ(MarksOf(cell, b, kN, c.numeral), c.marks);
}

INSTANTIATE_TEST_SUITE_P(
    Views, CellStates,
    ::testing::Values(
        CellCase{"MainIdle", 0, [](auto&) {}, kIdle, kWhite, kIdleLight, kIdleDark, kPlain},
        // Pressed in: dark above and left.
        CellCase{"MainPicked", 0, [](auto& g) { Pick(g, {1}); }, kPicked, kPickedNumeral,
                 kPickedDark, kPickedLight, kPlain},
        CellCase{"MainDrawn", 0, [](auto& g) { Reveal(g); }, kDrawn, kWhite, kDrawnLight,
                 kDrawnDark, kPlain},
        CellCase{"MainHitOnOneCard", 0,
                 [](auto& g) {
                   Pick(g, {2});
                   Reveal(g);
                 },
                 kHit, kWhite, kHitLight, kHitDark, kCrossed},
        CellCase{"MainOnThreeCards",
                 0,
                 [](auto& g) {
                   Pick(g, {1, 2, 4});
                 },
                 kPicked,
                 kPickedNumeral,
                 kPickedDark,
                 kPickedLight,
                 {M::WhiteStar}},
        CellCase{"MainOnTwoCardsDrawn",
                 0,
                 [](auto& g) {
                   Pick(g, {3, 4});
                   Reveal(g);
                 },
                 kHit,
                 kWhite,
                 kHitLight,
                 kHitDark,
                 {M::Cross, M::BlackStar}},
        // The Main view derives its hit from drawn and picked, whatever the cards' flags say.
        CellCase{"MainPickedAfterTheDraw", 0,
                 [](auto& g) {
                   Reveal(g);
                   Pick(g, {1});
                 },
                 kHit, kWhite, kHitLight, kHitDark, kCrossed},
        // A card view shows the card's own hit flag: a pick made after the draw is no hit.
        CellCase{"CardPickedAfterTheDraw", 1,
                 [](auto& g) {
                   Reveal(g);
                   Pick(g, {1});
                 },
                 kDrawn, kWhite, kDrawnLight, kDrawnDark, kPlain},
        CellCase{"CardHit", 3,
                 [](auto& g) {
                   Pick(g, {3});
                   Reveal(g);
                 },
                 kHit, kWhite, kHitLight, kHitDark, kCrossed},
        CellCase{"CardOtherCardsPick", 1, [](auto& g) { Pick(g, {2}); }, kIdle, kWhite, kIdleLight,
                 kIdleDark, kPlain},
        CellCase{"CardOtherCardsHit", 1,
                 [](auto& g) {
                   Pick(g, {2});
                   Reveal(g);
                 },
                 kDrawn, kWhite, kDrawnLight, kDrawnDark, kPlain},
        CellCase{"CardSharedNumberShowsItsNumeral", 1,
                 [](auto& g) {
                   Pick(g, {1, 2});
                 },
                 kPicked, kPickedNumeral, kPickedDark, kPickedLight, kPlain},
        CellCase{"CardNeverShowsTheHeatMap", 2,
                 [](auto& g) {
                   g.heatMapOn = 1;
                   g.heatCounts[kN] = 4;
                   g.heatCounts[kN + 1] = 1;
                   Pick(g, {2});
                 },
                 kPicked, kPickedNumeral, kPickedDark, kPickedLight, kPlain}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CardGrid, CellGeometryAndNumeralPlacement) {
  Board b;
  const auto calls = b.Record([](auto& canvas, const auto& view) {
    render::DrawCardGrid(canvas, view, view.layout.grid, 0);
  });
  const Rect& g = b.layout.grid;
  ASSERT_EQ(g, (Rect{294, 172, 876, 596}));

  EXPECT_EQ(render::CellBox(g, 1), (Rect{294, 172, 88, 75}));
  EXPECT_EQ(render::CellBox(g, 10), (Rect{294 + 788, 172, 88, 75}));
  EXPECT_EQ(render::CellBox(g, 71), (Rect{294, 172 + 521, 88, 75}));
  EXPECT_EQ(render::CellBox(g, 80), (Rect{294 + 788, 172 + 521, 88, 75}));
  // Neighbours share their border line or touch: no gap, and the last ones end at the edges.
  for (int n = 1; n <= 80; ++n) {
    const Rect box = render::CellBox(g, n);
    if (n % 10 != 0) {
      const int64_t step = render::CellBox(g, n + 1).x - box.x;
      EXPECT_TRUE(step == box.w - 1 || step == box.w) << n;
    } else {
      EXPECT_EQ(box.x + box.w, g.x + g.w) << n;
    }
    if (n <= 70) {
      const int64_t step = render::CellBox(g, n + 10).y - box.y;
      EXPECT_TRUE(step == box.h - 1 || step == box.h) << n;
    } else {
      EXPECT_EQ(box.y + box.h, g.y + g.h) << n;
    }
  }

  const auto cells = SplitCells(calls, g);
  for (int n = 1; n <= 80; ++n) {
    EXPECT_EQ(cells[n][0].color, kIdle) << n;
    EXPECT_EQ(MarksOf(cells[n], b, n, kWhite), kPlain) << n;
  }
  // "80" is 20 x 20: (87 - 20) / 2 = 33 and (74 - 20) / 2 = 27, integer halves.
  const auto texts = Of(cells[80], CallKind::DrawText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].color, kBlack);  // the shadow first
  EXPECT_EQ(texts[0].reals[0], 1082 + 33 + 1);
  EXPECT_EQ(texts[0].reals[1], 693 + 27 + 1);
  EXPECT_EQ(texts[1].reals[0], 1082 + 33);
  EXPECT_EQ(texts[1].reals[1], 693 + 27);
  EXPECT_EQ(texts[1].color, kWhite);
}

// The hit test is the exact inverse of the drawn geometry, pixel by pixel: a pixel belongs to the
// cell whose content box holds it, and one that no content box holds to the painted box whose
// border it is. Sizes whose pitches leave different remainders, the odd one included.
struct GridSize {
  int64_t width, height;
};

void PrintTo(const GridSize& s, std::ostream* os) { *os << s.width << " x " << s.height; }

class CellAtWalk : public ::testing::TestWithParam<GridSize> {};

// For each offset from the grid's edge along one axis, the cell the rule above gives it, read
// from CellBox alone; -1 where no cell paints.
std::vector<int> OwnersAlong(const Rect& grid, bool across) {
  const int count = across ? 10 : 8, stride = across ? 1 : 10;
  const render::CellPitch pitch = render::GridPitch(grid);
  const auto content = static_cast<int64_t>(across ? pitch.w : pitch.h);
  std::vector<int> owner(static_cast<std::size_t>(across ? grid.w : grid.h), -1);
  std::vector<int64_t> starts;
  for (int i = 0; i < count; ++i) {
    const Rect box = render::CellBox(grid, 1 + i * stride);
    starts.push_back(across ? box.x - grid.x : box.y - grid.y);
  }
  for (int i = 0; i < count; ++i) {
    for (int64_t d = starts[i]; d < starts[i] + content; ++d) owner.at(d) = i;
  }
  for (int i = 0; i < count; ++i) {
    const auto border = static_cast<std::size_t>(starts[i] + content);  // painted, no content
    if (border < owner.size() && owner[border] == -1) owner[border] = i;
  }
  return owner;
}

TEST_P(CellAtWalk, EveryPixelOfTheGridBelongsToTheCellDrawnThere) {
  render::Layout layout;
  layout.clientWidth = GetParam().width;
  layout.clientHeight = GetParam().height;
  render::ComputeLayoutRects(layout);
  const Rect& g = layout.grid;
  const std::vector<int> columns = OwnersAlong(g, true);
  const std::vector<int> rows = OwnersAlong(g, false);
  ASSERT_EQ(std::count(columns.begin(), columns.end(), -1), 0) << "a column no cell paints";
  ASSERT_EQ(std::count(rows.begin(), rows.end(), -1), 0) << "a row no cell paints";

  int64_t misses = 0;
  for (int64_t y = 0; y < g.h; ++y) {
    for (int64_t x = 0; x < g.w; ++x) {
      const int want = rows[y] * 10 + columns[x] + 1;
      const int got = render::CellAt(g, g.x + x, g.y + y);
      if (got != want && ++misses <= 5) {
        ADD_FAILURE() << "(" << g.x + x << ", " << g.y + y << ") is in " << want << ", not " << got;
      }
    }
  }
  EXPECT_EQ(misses, 0);
  // Just outside the grid, on every side: no number.
  for (const auto& [x, y] : std::vector<std::pair<int64_t, int64_t>>{
           {g.x - 1, g.y}, {g.x, g.y - 1}, {g.x + g.w, g.y}, {g.x, g.y + g.h}}) {
    EXPECT_EQ(render::CellAt(g, x, y), 0) << "(" << x << ", " << y << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, CellAtWalk,
                         ::testing::Values(GridSize{1000, 752}, GridSize{1280, 780},
                                           GridSize{2560, 1440}, GridSize{1013, 761}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

// The line set of a cross, sorted so two drawings compare regardless of order.
std::vector<std::array<int64_t, 4>> SortedLines(const std::vector<CanvasCall>& calls,
                                                int64_t dx = 0, int64_t dy = 0) {
  std::vector<std::array<int64_t, 4>> lines;
  for (const CanvasCall& c : Of(calls, CallKind::Line)) {
    lines.push_back(Ints(c.ints[0] + dx, c.ints[1] + dy, c.ints[2] + dx, c.ints[3] + dy));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST(HitCross, FortyFourYellowLinesInsetByFivePercent) {
  render::RecordingCanvas canvas;
  render::DrawHitCross(canvas, 100, 200, 87, 74);
  const auto lines = canvas.CallsOf(CallKind::Line);
  ASSERT_EQ(lines.size(), 44u);
  for (const CanvasCall& c : lines) {
    EXPECT_EQ(c.color, kCrossYellow);
    EXPECT_EQ(c.mode, DrawMode::Opaque);
  }
  // Insets round(4.35) = 4 and round(3.7) = 4: corners (104, 204) and (183, 270).
  std::vector<std::array<int64_t, 4>> expected;
  for (int64_t i = -5; i <= 5; ++i) {
    expected.push_back(Ints(104, 204 + i, 183, 270 + i));
    expected.push_back(Ints(104 + i, 204, 183 + i, 270));
    expected.push_back(Ints(183, 204 + i, 104, 270 + i));
    expected.push_back(Ints(183 + i, 204, 104 + i, 270));
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(SortedLines(canvas.Calls()), expected);
}

// The grid stamps one image of the cross; stamped where it is, it must hold exactly the lines
// the cross would draw on the cell, all of them inside the image.
TEST(HitCross, StampedImageHoldsTheCellsCross) {
  render::RecordingCanvas canvas;
  render::Layout layout;
  render::Fonts fonts;
  render::BallsPanel balls;
  render::ComputeLayout(layout, canvas, balls, fonts);
  ASSERT_NE(layout.hitCross, nullptr);
  std::vector<CanvasCall> inImage;
  for (const CanvasCall& c : canvas.Calls()) {
    if (c.output == layout.hitCross) inImage.push_back(c);
  }
  const int64_t w = canvas.ImageWidth(layout.hitCross), h = canvas.ImageHeight(layout.hitCross);
  const auto imageLines = SortedLines(inImage);
  ASSERT_EQ(imageLines.size(), 44u);
  int64_t minX = w, minY = h, maxX = 0, maxY = 0;
  for (const auto& l : imageLines) {
    minX = std::min({minX, l[0], l[2]});
    maxX = std::max({maxX, l[0], l[2]});
    minY = std::min({minY, l[1], l[3]});
    maxY = std::max({maxY, l[1], l[3]});
  }
  EXPECT_EQ(minX, 0);
  EXPECT_EQ(minY, 0);
  EXPECT_EQ(maxX, w - 1) << "the image is no wider than the cross";
  EXPECT_EQ(maxY, h - 1);

  Board b;
  Pick(b.state, {1});
  Reveal(b.state);
  const auto calls = b.Record(
      [](auto& c, const auto& view) { render::DrawCardGrid(c, view, view.layout.grid, 0); });
  const auto stamps = Of(calls, CallKind::DrawImage);
  ASSERT_EQ(stamps.size(), 1u);
  EXPECT_EQ(stamps[0].image, b.layout.hitCross);
  EXPECT_TRUE(Of(calls, CallKind::Line).empty());
  const Rect box = render::CellBox(b.layout.grid, kN);
  render::RecordingCanvas direct;
  render::DrawHitCross(direct, box.x, box.y, kContentW, kContentH);
  EXPECT_EQ(SortedLines(inImage, stamps[0].ints[0], stamps[0].ints[1]),
            SortedLines(direct.Calls()));
}

// Without images the cross is drawn as lines and shared numbers show neither numeral nor star.
TEST(CardGrid, WithoutImagesCrossesAreLinesAndStarsAreLeftOut) {
  Board b(1280, 780, false);
  Pick(b.state, {1});
  Reveal(b.state);
  rules::SetPick(b.state, 1, 9, true);
  rules::SetPick(b.state, 2, 9, true);
  const auto calls = b.Record(
      [](auto& c, const auto& view) { render::DrawCardGrid(c, view, view.layout.grid, 0); });
  const auto cells = SplitCells(calls, b.layout.grid);
  EXPECT_TRUE(Of(calls, CallKind::DrawImage).empty());
  const Rect box = render::CellBox(b.layout.grid, kN);
  render::RecordingCanvas direct;
  render::DrawHitCross(direct, box.x, box.y, kContentW, kContentH);
  EXPECT_EQ(SortedLines(cells[kN]), SortedLines(direct.Calls()));
  EXPECT_TRUE(Of(cells[9], CallKind::DrawText).empty());
  EXPECT_EQ(cells[9][0].color, kPicked);
}

struct HeatCase {
  const char* name;
  std::vector<std::pair<int, int64_t>> counts;  // number, times drawn; the rest 0
  std::vector<std::pair<int, int64_t>> alphas;  // number, expected orange alpha
};

class HeatMap : public ::testing::TestWithParam<HeatCase> {};

// Orange over idle blue at alpha a, exactly: (s a + d (255 - a)) / 255 per channel.
Color Blended(int64_t a) {
  auto mix = [a](double s, double d) { return (s * a + d * (255 - a)) / 255; };
  return RGB(static_cast<uint32_t>(std::lround(mix(255, 0))),
             static_cast<uint32_t>(std::lround(mix(130, 90))),
             static_cast<uint32_t>(std::lround(mix(0, 200))));
}

TEST_P(HeatMap, AlphaFollowsTheCountsAndTintsTheFace) {
  const HeatCase& c = GetParam();
  Board b;
  b.state.heatMapOn = 1;
  for (const auto& [n, count] : c.counts) b.state.heatCounts[n] = count;
  const render::HeatScale scale = render::ComputeHeatScale(b.state);
  for (const auto& [n, alpha] : c.alphas) {
    EXPECT_EQ(render::HeatAlpha(b.state.heatCounts[n], scale), alpha) << "number " << n;
  }

  // Picks, draws and hits never show on the heat map.
  for (int n : {1, 2, 3}) {
    rules::SetPick(b.state, 1, n, true);
    rules::SetPick(b.state, 2, n, true);
    b.state.drawn[n] = 1;
  }
  const auto calls = b.Record([](auto& canvas, const auto& view) {
    render::DrawCardGrid(canvas, view, view.layout.grid, 0);
  });
  EXPECT_TRUE(Of(calls, CallKind::DrawImage).empty());
  EXPECT_TRUE(Of(calls, CallKind::Line).empty());
  const auto cells = SplitCells(calls, b.layout.grid);
  for (const auto& [n, alpha] : c.alphas) {
    const Color face = cells[n][0].color;
    const Color want = alpha == 0 ? kIdle : Blended(alpha);
    EXPECT_NEAR(platform::Red(face), platform::Red(want), 1) << "number " << n;
    EXPECT_NEAR(platform::Green(face), platform::Green(want), 1) << "number " << n;
    EXPECT_NEAR(platform::Blue(face), platform::Blue(want), 1) << "number " << n;
    const auto frame = Of(cells[n], CallKind::Box);
    ASSERT_EQ(frame.size(), 6u);
    EXPECT_EQ(frame[1].color, kIdleLight);
    EXPECT_EQ(frame[3].color, kIdleDark);
    EXPECT_EQ(MarksOf(cells[n], b, n, kWhite), kPlain) << "number " << n;
  }
}

std::vector<std::pair<int, int64_t>> OneDraw() {
  std::vector<std::pair<int, int64_t>> counts;
  for (int n = 1; n <= 80; n += 4) counts.emplace_back(n, 1);
  return counts;
}

INSTANTIATE_TEST_SUITE_P(
    Counts, HeatMap,
    ::testing::Values(
        HeatCase{"NothingDrawn", {}, {{1, 0}, {2, 0}, {80, 0}}},
        // coldCount = hotCount = 1, span 1: the lowest alpha for all twenty.
        HeatCase{"OneDraw", OneDraw(), {{1, 32}, {77, 32}, {2, 0}, {3, 0}}},
        // 3 is (3 - 1) / 4 * 0.85 + 0.15 = 0.575 of 215.
        HeatCase{"OneToFive", {{1, 1}, {2, 5}, {3, 3}}, {{1, 32}, {2, 215}, {3, 123}, {4, 0}}},
        // The scale starts at the coldest drawn count, not at 0.
        HeatCase{"FarFromZero",
                 {{1, 1000}, {2, 1004}, {3, 1002}},
                 {{1, 32}, {2, 215}, {3, 123}, {5, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace render_test
