// The stats panel recorded with th = 20: every line's place and colour where the panel has room
// for its design (rowH 22), the plan that fits both notices into shorter panels, the money
// forms, the wins-and-losses column and its clamp, and the two notices.
#include "render/stats_panel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "board_fixture.h"

namespace render_test {
namespace {

using platform::Color;
using platform::DrawMode;
using platform::RGB;

constexpr Color kTitle = RGB(255, 255, 220), kSubtitle = RGB(200, 220, 255);
constexpr Color kBand = RGB(150, 150, 160), kStripe = RGB(178, 178, 185);
constexpr Color kLabel = RGB(20, 20, 100), kGreen = RGB(0, 100, 0), kRed = RGB(160, 0, 0);
constexpr Color kMoney = RGB(20, 80, 20), kGold = RGB(255, 215, 0);
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

// The text call drawn exactly at (x, y); fails the test when there is not exactly one.
CanvasCall TextAt(const std::vector<CanvasCall>& calls, double x, double y) {
  std::vector<CanvasCall> found;
  for (const CanvasCall& c : Of(calls, CallKind::DrawText)) {
    if (c.reals[0] == x && c.reals[1] == y) found.push_back(c);
  }
  EXPECT_EQ(found.size(), 1u) << "text at " << x << "," << y;
  return found.empty() ? CanvasCall{} : found.front();
}

struct Line {
  std::string text;
  double x, y;
  Color color;
};

// A client 900 high: the panel (768) holds the design and both notices below it.
constexpr int64_t kRoomy = 900;

TEST(StatsPanel, EveryLineAsDesignedWhereThereIsRoom) {
  Board b(1280, kRoomy);
  rules::GameState& g = b.state;
  g.betPerCard = 5;
  g.cards[1].pickCount = 10;
  g.cards[1].hitCount = 3;
  g.cardWin[1] = 250;
  const int64_t nets[] = {0, 12, 0, -35, kMin};
  for (int i = 1; i <= 4; ++i) g.cardNet[i] = nets[i];
  g.setWon = g.setCost = 40;
  g.runs = 7;
  g.balance = 25000;
  g.genWon = 100, g.genBet = 200, g.casWon = 300, g.casBet = 400;
  const auto calls = b.Record(render::DrawStatsPanel);

  // Panel top 120, rowH 22: the card rows from 200, the set rows from 348, totals from 448,
  // the balance at 580, and the lifetime block down to 716 (120 + 222 + 17 x 22), as designed.
  // At 10 pixels a character "Card 1:" fills the 70 before the net column and "Hits" comes within
  // 8 of the win column: both columns stand a space (10) further right, at 80 and 202.
  const Line lines[] = {
      {"CARD STATS", 12, 127, kTitle},
      {"Bet/Card: $5", 12, 147, kSubtitle},
      {"Card", 12, 178, RGB(30, 30, 30)},
      {"Picks", 92, 178, RGB(30, 30, 30)},
      {"Hits", 164, 178, RGB(30, 30, 30)},
      {"Win", 214, 178, RGB(30, 30, 30)},
      {"Card 1", 12, 200, kLabel},
      {"10/12", 92, 200, RGB(40, 40, 40)},
      {"3", 164, 200, kGreen},
      {"$250", 214, 200, kRed},
      {"Card 2", 12, 222, kLabel},
      {"0/12", 92, 222, RGB(40, 40, 40)},  // no picks: hits and win in grey
      {"0", 164, 222, RGB(60, 60, 60)},
      {"-", 214, 222, RGB(110, 110, 110)},
      {"Card 4", 12, 266, kLabel},
      {"THIS SET WIN/LOSS", 12, 300, kTitle},
      {"(per card)", 12, 321, kSubtitle},
      {"Card 1:", 12, 348, kLabel},
      {"+$12", 92, 348, RGB(20, 100, 20)},
      {"$0", 92, 370, RGB(80, 80, 80)},
      {"-$35", 92, 392, RGB(150, 0, 0)},
      {"-$9223372036854775808", 92, 414, RGB(150, 0, 0)},
      {"Card 4:", 12, 414, kLabel},
      {"Wins:", 12, 448, kGreen},
      {"$40", 92, 448, kGreen},
      {"Costs:", 12, 470, kRed},
      {"$40", 92, 470, kRed},
      {"Profit:", 12, 492, RGB(20, 20, 20)},  // won 40, cost 40
      {"$0", 92, 492, RGB(20, 20, 20)},
      {"Runs:", 12, 514, RGB(20, 20, 80)},
      {"7", 92, 514, RGB(20, 20, 80)},
      {"BALANCE", 12, 551, kTitle},
      {"$25000", 12, 580, kMoney},
      {"LIFETIME", 12, 617, kTitle},
      {"GEN W:", 12, 646, kGreen},
      {"$100", 102, 646, kMoney},
      {"GEN L:", 12, 668, kRed},
      {"$200", 102, 668, kRed},
      {"CAS W:", 12, 694, kGreen},
      {"$300", 102, 694, kMoney},
      {"CAS L:", 12, 716, kRed},
      {"$400", 102, 716, kRed},
  };
  for (const Line& l : lines) {
    const CanvasCall c = TextAt(calls, l.x, l.y);
    EXPECT_EQ(c.text, l.text);
    EXPECT_EQ(c.color, l.color) << l.text;
    EXPECT_EQ(c.mode, DrawMode::TransparentText) << l.text;
    EXPECT_EQ(c.font, b.fonts.buttonFont) << l.text;
  }

  const std::vector<std::array<int64_t, 4>> boxes = {
      Ints(0, 120, 294, 768), Ints(0, 120, 294, 52), Ints(0, 220, 294, 24),
      Ints(0, 264, 294, 24),  Ints(0, 294, 294, 50), Ints(0, 368, 294, 24),
      Ints(0, 412, 294, 24),  Ints(0, 542, 294, 34), Ints(0, 608, 294, 34)};
  const Color colors[] = {
      RGB(192, 192, 192), kBand, kStripe, kStripe, kBand, kStripe, kStripe, kBand, kBand};
  const auto drawn = Of(calls, CallKind::Box);
  ASSERT_EQ(drawn.size(), boxes.size());
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(drawn[i].ints, boxes[i]) << "box " << i;
    EXPECT_EQ(drawn[i].color, colors[i]) << "box " << i;
    EXPECT_EQ(drawn[i].mode, DrawMode::Opaque) << "box " << i;
  }
  const auto separator = Of(calls, CallKind::LineExtent);
  ASSERT_EQ(separator.size(), 1u);
  EXPECT_EQ(separator[0].ints, Ints(12, 442, 270, 1));
  EXPECT_EQ(separator[0].color, RGB(140, 140, 150));
}

// Gaps and margins as designed at th = 20, then less the squeeze but not below 1:
//   fixed 7 5 6 6 6 1 3 4 6 6 6 9 5 4 6 9 5 4 4 (102), notices 6 4 2 4 8 4 2 2 (32), the news
//   notice's heading kept 2 below its top; squeeze 1: 84 + 24, squeeze 2: 66 + 19.
// Both notices end 6 th + 22 rowH + those below the panel's top.
TEST(StatsPlan, RowsShrinkFirstThenTheGaps) {
  const struct {
    int64_t height, th, rowH, squeeze, end;
  } cases[] = {
      {768, 20, 22, 0, 120 + 484 + 134},  // room for the design
      {738, 20, 22, 0, 738},              // just
      {737, 20, 21, 0, 120 + 462 + 134},
      {694, 20, 20, 0, 694},
      {693, 20, 20, 1, 120 + 440 + 108},
      {668, 20, 20, 1, 668},
      {667, 20, 20, 2, 120 + 440 + 85},
      {648, 20, 20, 2, 645},              // the 1280 x 780 window
      {620, 18, 18, 1, 108 + 396 + 108},  // the smallest window with 18-pixel text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    const render::StatsPlan p = render::PlanStatsPanel(c.height, c.th, 1);
    EXPECT_EQ(p.rowH, c.rowH);
    EXPECT_EQ(p.squeeze, c.squeeze);
    EXPECT_EQ(p.end, c.end);
  }
}

// Whatever the squeeze, every block follows the one above it without overlap, bands hold their
// text, and the news notice starts below the jackpot box when both show.
TEST(StatsPlan, BlocksFollowEachOtherAtEverySqueeze) {
  for (int64_t height = 300; height <= 800; height += 7) {
    SCOPED_TRACE(height);
    const int64_t th = 20;
    const render::StatsPlan p = render::PlanStatsPanel(height, th, 2);
    const int64_t r = p.rowH;
    EXPECT_GE(r, th);
    EXPECT_LE(p.subtitleY + th, p.topBandH);
    EXPECT_LE(p.topBandH, p.headY);
    EXPECT_LE(p.headY + 5 * r, p.setBandY);
    EXPECT_LE(p.setSubtitleY + th, p.setBandY + p.setBandH);
    EXPECT_LE(p.setBandY + p.setBandH, p.setRowsY);
    EXPECT_LE(p.setRowsY + 4 * r, p.separatorY);
    EXPECT_LT(p.separatorY, p.totalsY);
    EXPECT_LE(p.totalsY + 4 * r, p.balanceBandY);
    EXPECT_LE(p.bandTitleY + th, p.bandH);
    EXPECT_LE(p.balanceBandY + p.bandH, p.balanceY);
    EXPECT_LE(p.balanceY + r, p.lifetimeBandY);
    EXPECT_LE(p.lifetimeBandY + p.bandH, p.lifetimeY);
    EXPECT_LE(p.lifetimeY + 2 * r, p.casY);
    EXPECT_LE(p.lifetimeEnd, p.jackpot.y);
    EXPECT_LE(p.lifetimeEnd, p.noticeAlone.y);
    EXPECT_LE(p.jackpot.y + p.jackpot.h, p.noticeBelow.y);
    for (const render::NoticeBox& n : {p.jackpot, p.noticeAlone, p.noticeBelow}) {
      EXPECT_LE(n.titleY + th, n.messageY);
    }
    EXPECT_GE(p.noticeAlone.titleY, p.noticeAlone.y + 2);  // clear of the gold line
    EXPECT_GE(p.noticeBelow.titleY, p.noticeBelow.y + 2);
    EXPECT_LE(p.jackpot.messageY + th, p.jackpot.y + p.jackpot.h);
    EXPECT_LE(p.noticeBelow.messageY + r + th, p.noticeBelow.y + p.noticeBelow.h);
    EXPECT_EQ(p.end, p.noticeBelow.y + p.noticeBelow.h);
    if (p.squeeze > 0) {
      EXPECT_EQ(r, th) << "gaps give way only once the rows are at th";
    }
    if (p.end > height) {
      EXPECT_EQ(p.squeeze, 8) << "only the tightest plan may run past";
    }
  }
}

// A panel 300 high (client 432), shorter than any window: rows at th and the tightest gaps,
// and the lower lines run on past the panel's bottom edge.
TEST(StatsPanel, ShortPanelRunsPastItsEdge) {
  Board b(1280, 432, false);
  ASSERT_EQ(b.layout.statsPanel.h, 300);
  const auto calls = b.Record(render::DrawStatsPanel);
  EXPECT_EQ(TextCall(calls, "Card 2").reals[1] - TextCall(calls, "Card 1").reals[1], 20);
  EXPECT_GT(TextCall(calls, "CAS L:").reals[1], 120 + 300);
}

TEST(StatsPanel, MoneyForms) {
  EXPECT_EQ(render::FormatAmount(25000), "$25000");
  EXPECT_EQ(render::FormatAmount(0), "$0");
  EXPECT_EQ(render::FormatSignedAmount(12), "+$12");
  EXPECT_EQ(render::FormatSignedAmount(0), "$0");
  EXPECT_EQ(render::FormatSignedAmount(-35), "-$35");
  EXPECT_EQ(render::FormatSignedAmount(kMin), "-$9223372036854775808");
  EXPECT_EQ(render::FormatSignedAmount(std::numeric_limits<int64_t>::max()),
            "+$9223372036854775807");
}

TEST(StatsPanel, ProfitColourFollowsItsSign) {
  struct Case {
    int64_t won, cost;
    std::string text;
    Color color;
  };
  for (const Case& c : {Case{50, 10, "+$40", kGreen}, Case{10, 50, "-$40", kRed},
                        Case{0, 0, "$0", RGB(20, 20, 20)}}) {
    Board b(1280, kRoomy);
    b.state.setWon = c.won;
    b.state.setCost = c.cost;
    const auto calls = b.Record(render::DrawStatsPanel);
    EXPECT_EQ(TextAt(calls, 12, 492).color, c.color) << c.text;
    EXPECT_EQ(TextAt(calls, 92, 492).text, c.text);
    EXPECT_EQ(TextAt(calls, 92, 492).color, c.color) << c.text;
  }
}

// The wins-and-losses text ends 16 pixels from the panel's right edge unless that would start
// it left of x + 172; the losses follow the wins part directly.
TEST(StatsPanel, WinsAndLossesColumnAndItsClamp) {
  struct Case {
    int64_t wins, losses;
    double winsX, lossesX;
  };
  const Case cases[] = {
      {3, 5, 294 - 16 - 50, 228 + 30},               // "3W 5L": 228
      {123, 4567, 294 - 16 - 100, 178 + 50},         // 100 wide: 178
      {1234, 5678, 172, 172 + 60},                   // 110 wide: 168, held at 172
      {123456789012, 210987654321, 172, 172 + 140},  // far too wide: 172
  };
  Board b(1280, kRoomy);
  for (int i = 1; i <= 4; ++i) {
    b.state.cardWinCount[i] = cases[i - 1].wins;
    b.state.cardLossCount[i] = cases[i - 1].losses;
  }
  const auto calls = b.Record(render::DrawStatsPanel);
  for (int i = 1; i <= 4; ++i) {
    const Case& c = cases[i - 1];
    const double y = 348 + 22 * (i - 1);
    const CanvasCall wins = TextAt(calls, c.winsX, y);
    EXPECT_EQ(wins.text, std::to_string(c.wins) + "W ");
    EXPECT_EQ(wins.color, kGreen);
    const CanvasCall losses = TextAt(calls, c.lossesX, y);
    EXPECT_EQ(losses.text, std::to_string(c.losses) + "L");
    EXPECT_EQ(losses.color, kRed);
  }
}

struct NoticeCase {
  const char* name;
  int64_t eligible;
  std::string title, message;
  std::string shownTitle;                 // "" when no notice box
  std::vector<std::string> messageLines;  // as wrapped to the panel's 270-pixel line
};

class StatsNotices : public ::testing::TestWithParam<NoticeCase> {};

// Below the lifetime block (which ends at 738): the jackpot box from 744; the news notice from
// 746, or from 806 below the jackpot box (744 + 54 + 8) when both show, never over it.
TEST_P(StatsNotices, ShowOnlyWhileTheirStateHolds) {
  const NoticeCase& c = GetParam();
  Board b(1280, kRoomy);
  b.state.progressiveEligible = c.eligible;
  b.state.progressivePot = 31234;
  b.state.statusTitle = c.title;
  b.state.statusMessage = c.message;
  const auto calls = b.Record(render::DrawStatsPanel);
  const auto boxes = Of(calls, CallKind::Box);
  std::vector<CanvasCall> notices(boxes.begin() + 9, boxes.end());

  std::size_t next = 0;
  if (c.eligible) {
    ASSERT_GT(notices.size(), next);
    EXPECT_EQ(notices[next].ints, Ints(0, 744, 294, 2 * 22 + 10));
    EXPECT_EQ(notices[next].color, RGB(40, 30, 10));
    ++next;
    EXPECT_EQ(TextAt(calls, 12, 748).text, "PROGRESSIVE JACKPOT");
    EXPECT_EQ(TextAt(calls, 12, 748).color, kGold);
    EXPECT_EQ(TextAt(calls, 12, 772).text, "$31234");
    EXPECT_EQ(TextAt(calls, 12, 772).color, kGold);
  }
  if (!c.shownTitle.empty()) {
    const int64_t top = c.eligible ? 806 : 746;
    const auto lines = static_cast<int64_t>(c.messageLines.size());
    ASSERT_EQ(notices.size(), next + 2);
    EXPECT_EQ(notices[next].ints, Ints(0, top, 294, 4 + 22 + 2 + lines * 22 + 2));
    EXPECT_EQ(notices[next].color, RGB(70, 44, 0));
    EXPECT_EQ(notices[next + 1].ints, Ints(0, top, 294, 2));
    EXPECT_EQ(notices[next + 1].color, kGold);
    next += 2;
    EXPECT_EQ(TextAt(calls, 12, top + 4).text, c.shownTitle);
    EXPECT_EQ(TextAt(calls, 12, top + 4).color, kGold);
    for (int64_t i = 0; i < lines; ++i) {
      const CanvasCall line = TextAt(calls, 12, top + 4 + 22 + 2 + i * 22);
      EXPECT_EQ(line.text, c.messageLines[i]);
      EXPECT_EQ(line.color, RGB(255, 235, 160));
    }
  }
  EXPECT_EQ(notices.size(), next);
  int jackpots = 0;
  for (const CanvasCall& t : Of(calls, CallKind::DrawText)) {
    jackpots += t.text == "PROGRESSIVE JACKPOT" ? 1 : 0;
  }
  EXPECT_EQ(jackpots, c.eligible ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Notices, StatsNotices,
    ::testing::Values(
        NoticeCase{"None", 0, "", "", "", {}}, NoticeCase{"JackpotOnly", 1, "", "", "", {}},
        NoticeCase{"ConsolationByDefault",
                   0,
                   "",
                   "$500/card consolation paid",
                   "CONSOLATION",
                   {"$500/card consolation paid"}},
        NoticeCase{"OwnTitle",
                   0,
                   "PICKS LOCKED",
                   "Card 2 is in play",
                   "PICKS LOCKED",
                   {"Card 2 is in play"}},
        NoticeCase{"BothStacked",
                   1,
                   "CONSOLATION",
                   "$500/card consolation paid",
                   "CONSOLATION",
                   {"$500/card consolation paid"}},
        // 370 pixels: the words that reach past 270 go to a second line, and the box grows.
        NoticeCase{"LongMessageWraps",
                   1,
                   "PICKS LOCKED",
                   "Card 1 is in play until the draw ends",
                   "PICKS LOCKED",
                   {"Card 1 is in play until the", "draw ends"}},
        // A title with no message shows nothing: the message is what clears after 5 s.
        NoticeCase{"TitleWithoutMessage", 0, "PICKS LOCKED", "", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace render_test
