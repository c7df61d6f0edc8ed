// The payout table overlay with fake metrics (text 20 px high, 10 px per character): the amount
// abbreviations and their colours, the panel metrics at the design size and at the minimum grid,
// and the cells, captions and bands of a drawn table; and with metrics that grow with the font,
// the size chosen so that every row keeps its texts a space apart at every bet.
#include "controls/payout_overlay.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "controls_fixture.h"
#include "sized_metrics.h"

namespace controls_test {
namespace {

using platform::Color;
using platform::DrawMode;
using platform::RGB;

constexpr Color kDim = RGB(55, 55, 75);
constexpr Color kPale = RGB(170, 170, 210);
constexpr Color kGreen = RGB(100, 220, 100);
constexpr Color kYellow = RGB(255, 210, 60);
constexpr Color kOrange = RGB(255, 140, 50);
constexpr Color kRed = RGB(255, 80, 80);
constexpr Color kGold = RGB(255, 215, 0);

TEST(FormatPayoutAmount, CutsToThousandsAndMillionsWhileTheColourStepsEarlier) {
  const struct {
    int64_t amount;
    const char* text;
    Color color;
  } cases[] = {
      {-5, "-", kDim},          {0, "-", kDim},           {1, "$1", kPale},
      {99, "$99", kPale},       {100, "$100", kGreen},    {999, "$999", kGreen},
      {1000, "$1K", kYellow},   {1500, "$1K", kYellow},   {9999, "$9K", kYellow},
      {10000, "$10K", kOrange}, {99999, "$99K", kOrange}, {100000, "$100K", kRed},
      {999999, "$999K", kRed},  {1000000, "$1M", kRed},   {2500000, "$2M", kRed},
  };
  for (const auto& c : cases) {
    const controls::PayoutAmountText got = controls::FormatPayoutAmount(c.amount);
    EXPECT_EQ(got.text, c.text) << c.amount;
    EXPECT_EQ(got.color, c.color) << c.amount;
  }
}

TEST(PayoutMetrics, DesignGridAndMinimumGrid) {
  EXPECT_EQ(controls::PayoutMetricsFor(876, 596, 20, 50),
            (controls::PayoutMetrics{38, 26, 12, 60, 68}));
  EXPECT_EQ(controls::PayoutMetricsFor(200, 200, 20, 50),
            (controls::PayoutMetrics{16, 26, 9, 50, 40}));
  // Between the clamps: rowH 30 gives k 9 (9.6 cut) and the 50-pixel first column.
  EXPECT_EQ(controls::PayoutMetricsFor(650, 446, 20, 50),
            (controls::PayoutMetrics{30, 26, 9, 50, 50}));
}

// Text taller than 38 (or than 22) gets rows and a footer that hold it where the panel has room;
// on a panel without that room the rows stay as they would be.
TEST(PayoutMetrics, RowsAndFooterHoldTallText) {
  // (1256 - 44) / 14 = 86 rows of room: rows of 40, footer 44; k 12, first column 60.
  EXPECT_EQ(controls::PayoutMetricsFor(2156, 1256, 40, 50),
            (controls::PayoutMetrics{40, 44, 12, 60, 174}));
  // (596 - 44) / 14 = 39: rows of 39, one short of the text.
  EXPECT_EQ(controls::PayoutMetricsFor(876, 596, 40, 50),
            (controls::PayoutMetrics{39, 44, 12, 60, 68}));
  EXPECT_EQ(controls::PayoutMetricsFor(200, 200, 40, 50),
            (controls::PayoutMetrics{16, 44, 9, 50, 40}));
  // A heading wider than the first column widens it.
  EXPECT_EQ(controls::PayoutMetricsFor(876, 596, 20, 91),
            (controls::PayoutMetrics{38, 26, 12, 91, 65}));
}

class PayoutOverlay : public ::testing::Test {
 protected:
  // Left edge and top of the text in row p (spots), hits column h; h = 0 is the spots column.
  CanvasCall Cell(const std::vector<CanvasCall>& calls, int64_t p, int64_t h) {
    const controls::PayoutMetrics m = controls::PayoutMetricsFor(grid().w, grid().h, 20, 50);
    const double top = static_cast<double>(grid().y + (p + 1) * m.rowH + (m.rowH - 20) / 2);
    const int64_t left = h == 0 ? grid().x : grid().x + m.firstColW + (h - 1) * m.colW;
    const int64_t width = h == 0 ? m.firstColW : m.colW;
    std::vector<CanvasCall> found;
    for (const CanvasCall& c : Texts(calls)) {
      const double centre = c.reals[0] + 5.0 * static_cast<double>(c.text.size());
      if (c.reals[1] == top && centre == static_cast<double>(left) + width / 2.0) {
        found.push_back(c);
      }
    }
    EXPECT_EQ(found.size(), 1u) << p << " spots, " << h << " hits";
    return found.empty() ? CanvasCall{} : found.front();
  }
  const render::Rect& grid() const { return board.layout.grid; }
  const std::vector<CanvasCall>& Draw() {
    board.payoutOverlayOpen = true;
    return board.Record(controls::DrawPayoutOverlay);
  }

  Board board;
};

TEST_F(PayoutOverlay, ClosedDrawsNothing) {
  EXPECT_TRUE(board.Record(controls::DrawPayoutOverlay).empty());
}

TEST_F(PayoutOverlay, CellsShowTheActiveTableTimesTheBet) {
  const struct {
    const char* name;
    int64_t mode, bet, spots, hits;
    const char* text;
    Color color;
  } cases[] = {
      {"generous 12 of 12", rules::GENEROUS, 1, 12, 12, "$1M", kRed},
      {"generous 8 of 8", rules::GENEROUS, 1, 8, 8, "$25K", kOrange},
      {"generous 6 of 4", rules::GENEROUS, 1, 6, 4, "$15", kPale},
      {"generous 8 of 3 pays nothing", rules::GENEROUS, 1, 8, 3, "-", kDim},
      {"casino 10 of 7", rules::CASINO, 1, 10, 7, "$132", kGreen},
      {"bet 10, 9 of 9", rules::GENEROUS, 10, 9, 9, "$500K", kRed},
      {"bet 10, 1 of 1", rules::GENEROUS, 10, 1, 1, "$30", kPale},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    board.SetPayMode(c.mode);
    board.state.betPerCard = c.bet;
    board.state.betSetting = c.bet;
    const auto& calls = Draw();
    const CanvasCall cell = Cell(calls, c.spots, c.hits);
    EXPECT_EQ(cell.text, c.text);
    EXPECT_EQ(cell.color, c.color);
    EXPECT_EQ(cell.font, board.fonts.overlayFont);
    EXPECT_EQ(cell.mode, DrawMode::TransparentText);
  }
}

TEST_F(PayoutOverlay, EachRowShowsItsSpotCountAndExactlyThatManyCells) {
  const auto& calls = Draw();
  const controls::PayoutMetrics m = controls::PayoutMetricsFor(876, 596, 20, 50);
  for (int64_t p = 1; p <= 12; ++p) {
    const double top = static_cast<double>(grid().y + (p + 1) * m.rowH + 9);
    int64_t inRow = 0;
    for (const CanvasCall& c : Texts(calls)) inRow += c.reals[1] == top ? 1 : 0;
    EXPECT_EQ(inRow, p + 1) << p;
    const CanvasCall spots = Cell(calls, p, 0);
    EXPECT_EQ(spots.text, std::to_string(p));
    EXPECT_EQ(spots.color, kGold);
  }
}

// Grid 876 x 596 at (294, 172): header, bet row, rows from py + 76 to py + 532, footer from
// py + 570, and the texts of the header, the bet row and the footer.
TEST_F(PayoutOverlay, BandsAndCaptionsOfTheDesignGrid) {
  const auto& calls = Draw();
  const int64_t px = 294, py = 172;
  const auto boxes = Boxes(calls);
  // Panel, four gold strips, header, bet row, twelve rows with their accent, footer.
  ASSERT_EQ(boxes.size(), 1u + 4 + 1 + 1 + 24 + 1);
  EXPECT_EQ(boxes[0].ints, (std::array<int64_t, 4>{px, py, 876, 596}));
  EXPECT_EQ(boxes[0].color, RGB(18, 18, 32));
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(boxes[i].color, kGold);
  EXPECT_EQ(boxes[2].ints, (std::array<int64_t, 4>{px, py + 594, 876, 2}));
  EXPECT_EQ(boxes[4].ints, (std::array<int64_t, 4>{px + 874, py, 2, 596}));
  EXPECT_EQ(boxes[5].ints, (std::array<int64_t, 4>{px, py, 876, 38}));
  EXPECT_EQ(boxes[5].color, RGB(40, 40, 65));
  EXPECT_EQ(boxes[6].ints, (std::array<int64_t, 4>{px, py + 38, 876, 38}));
  EXPECT_EQ(boxes[6].color, RGB(30, 30, 52));
  for (int64_t p = 1; p <= 12; ++p) {
    const CanvasCall& row = boxes[5 + 2 * p];
    const CanvasCall& accent = boxes[6 + 2 * p];
    EXPECT_EQ(row.ints, (std::array<int64_t, 4>{px, py + 76 + (p - 1) * 38, 876, 38})) << p;
    EXPECT_EQ(row.color, p % 2 ? RGB(20, 20, 36) : RGB(26, 26, 44)) << p;
    EXPECT_EQ(accent.ints, (std::array<int64_t, 4>{px, py + 76 + (p - 1) * 38, 3, 38})) << p;
    EXPECT_EQ(accent.color, RGB(70, 70, 100)) << p;
  }
  EXPECT_EQ(boxes[29].ints[1] + boxes[29].ints[3], py + 532);
  EXPECT_EQ(boxes.back().ints, (std::array<int64_t, 4>{px, py + 570, 876, 26}));
  EXPECT_EQ(boxes.back().color, RGB(40, 40, 65));

  const CanvasCall picks = TextCall(calls, "Picks");
  EXPECT_EQ(picks.reals[0], px + 5);  // 50 px centred in 60
  EXPECT_EQ(picks.reals[1], py + 9);
  EXPECT_EQ(picks.color, kGold);
  const CanvasCall twelve = TextCall(calls, "12 hit");
  EXPECT_EQ(twelve.reals[0], px + 60 + 11 * 68 + 4);
  EXPECT_EQ(twelve.color, RGB(160, 195, 255));
  const CanvasCall bet = TextCall(calls, "Bet/Card: $1");
  EXPECT_EQ(bet.reals[0], px + 60);
  EXPECT_EQ(bet.reals[1], py + 38 + 9);
  const CanvasCall mode = TextCall(calls, "GENEROUS payouts");
  EXPECT_EQ(mode.reals[0], px + 876 - 160 - 10);
  EXPECT_EQ(mode.reals[1], py + 47);
  EXPECT_EQ(mode.color, RGB(120, 255, 120));
  const CanvasCall footer = TextCall(calls, "K=thousands  M=millions.  Click anywhere to close.");
  EXPECT_EQ(footer.reals[0], px + 8);
  EXPECT_EQ(footer.reals[1], py + 570 + 3);
  EXPECT_EQ(footer.color, RGB(140, 155, 175));
  EXPECT_EQ(Texts(calls).back().text, footer.text);

  board.SetPayMode(rules::CASINO);
  const CanvasCall casino = TextCall(Draw(), "CASINO payouts");
  EXPECT_EQ(casino.reals[0], px + 876 - 140 - 10);
  EXPECT_EQ(casino.color, RGB(255, 120, 120));
}

// The smallest grid: rows and columns run past the panel and are not clipped; the footer, drawn
// after them, covers the rows that reach into it.
TEST_F(PayoutOverlay, MinimumGridOverflowsUnclipped) {
  board.Resize(500, 300);
  ASSERT_EQ(grid(), (render::Rect{294, 172, 200, 200}));
  const auto& calls = Draw();
  const int64_t px = 294, py = 172;
  const auto boxes = Boxes(calls);
  const CanvasCall& lastRow = boxes[boxes.size() - 3];
  EXPECT_EQ(lastRow.ints[1] + lastRow.ints[3], py + 224);
  EXPECT_EQ(boxes.back().ints, (std::array<int64_t, 4>{px, py + 174, 200, 26}));
  const CanvasCall cell = Cell(calls, 12, 12);
  EXPECT_EQ(cell.text, "$1M");
  EXPECT_EQ(cell.reals[0], px + 50 + 11 * 40 + 5);  // the column ends at px + 530
  EXPECT_EQ(cell.reals[1], py + 13 * 16 + (16 - 20) / 2);
  // The footer text comes last, over everything.
  EXPECT_EQ(Texts(calls).back().reals[1], py + 174 + 3);
}

// The texts of one row of the drawn table, by their left edge: each gap against a space.
double NarrowestGap(const std::vector<CanvasCall>& texts, const SizedFakeMetrics& metrics,
                    double top, double& space) {
  std::vector<std::pair<double, double>> spans;  // left, right
  for (const CanvasCall& t : texts) {
    if (t.reals[1] != top) continue;
    space = std::round(metrics.TextWidth(t.font, " "));
    spans.push_back({t.reals[0], t.reals[0] + std::round(metrics.TextWidth(t.font, t.text))});
  }
  std::sort(spans.begin(), spans.end());
  double narrowest = 1e9;
  for (std::size_t i = 1; i < spans.size(); ++i) {
    narrowest = std::min(narrowest, spans[i].first - spans[i - 1].second);
  }
  return narrowest;
}

// The size fitted for a grid: a space between the texts of every row at every bet and in both
// modes; and one point larger some row would be closer. 0.625 em a character: "$500K" is 5.
TEST(FitPayoutFont, LargestSizeThatKeepsEveryRowASpaceApart) {
  const struct {
    int64_t gridW, gridH;
    int overlayPoints;
    int fitted;
  } cases[] = {
      // The smallest window, 44-pixel columns: "10 hit" and "11 hit" are 34 wide at 7 points
      // and leave 10 between them (a space is 6); 41 wide at 8 points, they leave 3 (of 7).
      {596, 568, 11, 7},
      // 1280 x 780, 68-pixel columns: the headings are 60 wide at 12 points and leave 8 (of
      // 10), 56 at 11 points and leave 12.
      {876, 596, 12, 11},
      // 172-pixel columns hold 22 points, "Picks" (91) widening the first column.
      {2156, 1256, 22, 22},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.gridW) + " x " + std::to_string(c.gridH));
    rules::GameState g;
    rules::FillPayTables(g);
    render::Layout layout;
    layout.grid = render::Rect{294, 172, c.gridW, c.gridH};
    for (int extra : {0, 1}) {
      SizedRecorder rec;
      render::Fonts fonts;
      fonts.points.overlay = c.overlayPoints;
      std::vector<platform::Font*> refused;
      controls::FitPayoutFont(rec.canvas, fonts, layout.grid, g, refused);
      EXPECT_EQ(refused.size(), static_cast<std::size_t>(c.overlayPoints - c.fitted));
      for (platform::Font* font : refused) rec.canvas.FreeFont(font);
      ASSERT_NE(fonts.payoutFont, nullptr);
      ASSERT_EQ(rec.canvas.InfoOf(fonts.payoutFont).points, c.fitted);
      EXPECT_EQ(rec.canvas.LiveFonts(), 1u);
      if (extra == 1) {
        if (c.fitted == c.overlayPoints) continue;  // nothing larger was wanted
        render::ReplaceFont(rec.canvas, fonts.payoutFont,
                            rec.canvas.LoadFont("Segoe UI", c.fitted + 1, false));
      }
      bool tooClose = false;
      for (int64_t mode : {rules::GENEROUS, rules::CASINO}) {
        for (int64_t bet = rules::kMinBet; bet <= rules::kMaxBet; ++bet) {
          g.payMode = mode;
          rules::RefreshActivePayTable(g);
          g.betPerCard = bet;
          rec.canvas.Clear();
          controls::DrawPayoutOverlay(rec.canvas,
                                      render::BoardView{g, layout, fonts, {}, true, false, false});
          const auto texts = Texts(rec.canvas.Calls());
          std::vector<double> tops;
          for (const CanvasCall& t : texts) tops.push_back(t.reals[1]);
          std::sort(tops.begin(), tops.end());
          tops.erase(std::unique(tops.begin(), tops.end()), tops.end());
          for (double top : tops) {
            double space = 0;
            const double gap = NarrowestGap(texts, rec.metrics, top, space);
            if (extra == 0) {
              EXPECT_GE(gap, space) << "mode " << mode << ", bet " << bet << ", row at " << top;
            }
            tooClose = tooClose || gap < space;
          }
        }
      }
      if (extra == 1) {
        EXPECT_TRUE(tooClose) << "a point larger would fit too";
      }
    }
  }
}

}  // namespace
}  // namespace controls_test
