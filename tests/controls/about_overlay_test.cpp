// The about and rules page with fake metrics (text 20 px high): every text as the player reads
// it, the fonts and colours of each kind of line, the line pitch rule and the heading positions.
#include "controls/about_overlay.h"

#include <string>
#include <vector>

#include "controls_fixture.h"

namespace controls_test {
namespace {

using platform::Color;
using platform::RGB;

const char* const kTitle[] = {"Tessaline by Brindlec 6.40", "About & Rules"};
const char* const kTagline = "Tessaline by Brindlec — fully standalone, no external dependencies.";

struct Section {
  const char* heading;
  std::vector<const char*> lines;
};

const Section kPage[] = {
    {"HOW TO PLAY",
     {"- Pick 1-12 numbers on up to 4 cards. Main tab shows all cards combined.",
      "- Set Bet/Card ($1-$10) and Speed. Click Draw Numbers — 20 balls drawn each round.",
      "- Press SPACE to draw. Hold SPACE or Draw button 1 second to auto-run. Press again to "
      "stop."}},
    {"CELL COLORS",
     {"- Blue=idle, Purple=your pick, Red=drawn, Green=HIT. Yellow X marks every hit cell.",
      "- Main tab: white asterisk = number on 2+ cards. Black asterisk = that number was also "
      "drawn.",
      "- After a draw you may click any cell on any card to add or remove picks."}},
    {"AUTO-PICK & HEAT MAP",
     {"- L-Click Auto-Pick: fills active card with hottest numbers from draw history.",
      "- R-Click Auto-Pick: fills active card with random numbers (same spot count).",
      "- Heat Map: right-click Main tab to toggle. Blue=cold, orange=hot. Dot on tab = active."}},
    {"COPY CARD", {"- Right-click any Card 1-4 tab to copy its picks to another card."}},
    {"WINS, JACKPOTS & PAYOUTS",
     {"- Payout Table: click to view. Right-click button to toggle GENEROUS / CASINO modes.",
      "- Lifetime stats: GEN W/L for Generous mode, CAS W/L for Casino mode.",
      "- Jackpot: all picks on a card drawn — auto-run stops, pop-up shown. 5+ spots = fanfare.",
      "- Progressive: 10-12 spot full match wins the growing pot ($25K seed, +$2/qualifying card).",
      "- Consolation: all cards 7+ picks, 15+ distinct numbers, zero hits = $1,000 free."}},
    {"CONTROLS",
     {"- Speed 1-5: Slowest to Fastest. At Fast & Fastest, no pause between auto-run games.",
      "- Bet/Card $1-$10: click left half = decrease, right half = increase.",
      "- Sound toggles audio. ESC saves and exits. SPACE = draw (hold 1s = auto-run)."}},
    {"NEW GAME",
     {"- YES = clear picks only. NO = full reset to $1,000, all stats wiped. CANCEL = Cancel."}},
    {"BALANCE & STATS",
     {"- Start with $1,000. If balance drops below draw cost, add $1,000 or save-and-quit.",
      "- Stats panel: per-card picks/hits/win, set net W/L, balance, runs, lifetime totals."}},
    {"PERSISTENCE",
     {"- Saves to keno_save.dat: picks, balance, stats, speed, bet, sound, progressive pot.",
      "- Auto-saved after each draw (3-second debounce) and on exit, jackpot, or settings "
      "change."}},
};

class AboutOverlay : public ::testing::Test {
 protected:
  const std::vector<CanvasCall>& Draw() {
    board.aboutOverlayOpen = true;
    return board.Record(controls::DrawAboutOverlay);
  }
  // Grid of the given height (and the design width) at (294, 172).
  void GridHeight(int64_t h) {
    board.Resize(1280, h + 184);
    ASSERT_EQ(board.layout.grid.h, h);
  }
  Board board;
};

TEST(AboutLineHeight, ClampedBetween13And24) {
  const struct {
    int64_t height, lineH;
  } cases[] = {{200, 13}, {552, 13}, {553, 13}, {586, 14}, {596, 14},
               {915, 23}, {916, 24}, {948, 24}, {949, 24}, {2000, 24}};
  for (const auto& c : cases) EXPECT_EQ(controls::AboutLineHeight(c.height), c.lineH) << c.height;
}

TEST_F(AboutOverlay, ClosedDrawsNothing) {
  EXPECT_TRUE(board.Record(controls::DrawAboutOverlay).empty());
}

TEST_F(AboutOverlay, EveryTextAsWrittenInItsFontAndColour) {
  const auto texts = Texts(Draw());
  struct Expected {
    std::string text;
    const platform::Font* font;
    Color color;
  };
  const platform::Font* title = board.fonts.overlayTitleFont;
  const platform::Font* body = board.fonts.overlayFont;
  ASSERT_NE(title, body);
  std::vector<Expected> expected = {{kTitle[0], title, RGB(255, 220, 140)},
                                    {kTitle[1], title, RGB(255, 220, 140)},
                                    {kTagline, body, RGB(255, 255, 200)}};
  for (const Section& s : kPage) {
    expected.push_back({s.heading, body, RGB(160, 220, 255)});
    for (const char* line : s.lines) expected.push_back({line, body, RGB(220, 220, 230)});
  }
  expected.push_back({"Click anywhere to close.", body, RGB(200, 180, 240)});
  ASSERT_EQ(expected.size(), 2u + 33u + 1u);
  ASSERT_EQ(texts.size(), expected.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].text, expected[i].text) << i;
    EXPECT_EQ(texts[i].font, expected[i].font) << i;
    EXPECT_EQ(texts[i].color, expected[i].color) << i;
    EXPECT_EQ(texts[i].reals[0], 294 + 18) << i;
    EXPECT_EQ(texts[i].mode, platform::DrawMode::TransparentText) << i;
  }
}

TEST_F(AboutOverlay, HeadingsOfAGrid596High) {
  const auto& calls = Draw();
  const int64_t py = 172;
  EXPECT_EQ(TextCall(calls, kTitle[0]).reals[1], py + 7);
  EXPECT_EQ(TextCall(calls, kTitle[1]).reals[1], py + 30);
  EXPECT_EQ(TextCall(calls, kTagline).reals[1], py + 58);
  const int64_t headingTops[] = {78, 138, 198, 258, 290, 378, 438, 470, 516};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(TextCall(calls, kPage[i].heading).reals[1], py + headingTops[i]) << kPage[i].heading;
  }
  EXPECT_EQ(TextCall(calls, kPage[8].lines.back()).reals[1], py + 544);

  const auto boxes = Boxes(calls);
  ASSERT_EQ(boxes.size(), 7u);
  EXPECT_EQ(boxes[0].ints, (std::array<int64_t, 4>{294, py, 876, 596}));
  EXPECT_EQ(boxes[0].color, RGB(22, 22, 45));
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(boxes[i].color, RGB(180, 140, 230)) << i;
  EXPECT_EQ(boxes[5].ints, (std::array<int64_t, 4>{294, py, 876, 52}));
  EXPECT_EQ(boxes[6].ints, (std::array<int64_t, 4>{294, py + 568, 876, 28}));
  EXPECT_EQ(boxes[6].color, RGB(50, 30, 85));
  EXPECT_EQ(TextCall(calls, "Click anywhere to close.").reals[1], py + 568 + 4);
}

// Where the last rule line ends against the footer: past it on the smallest grid (and drawn
// unclipped, the footer painted over the lines it meets), flush at 916, 33 pixels short at 949.
TEST_F(AboutOverlay, LastLineAgainstTheFooter) {
  const struct {
    int64_t height;
    int64_t lastBottomToFooter;  // footer top minus the last line's bottom
  } cases[] = {{200, -353}, {596, 10}, {916, 0}, {949, 33}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    GridHeight(c.height);
    const auto& calls = Draw();
    const int64_t lineH = controls::AboutLineHeight(c.height);
    const CanvasCall last = TextCall(calls, kPage[8].lines.back());
    const auto boxes = Boxes(calls);
    const int64_t footerTop = boxes.back().ints[1];
    EXPECT_EQ(footerTop, 172 + c.height - 28);
    EXPECT_EQ(static_cast<double>(footerTop) - (last.reals[1] + lineH), c.lastBottomToFooter);
  }
  // The footer band comes after every body line, its text after the band.
  const auto& calls = board.canvas.Calls();
  std::size_t footerBand = 0, lastLine = 0;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].kind == CallKind::Box) footerBand = i;
    if (calls[i].kind == CallKind::DrawText && calls[i].text == kPage[8].lines.back()) lastLine = i;
  }
  EXPECT_LT(lastLine, footerBand);
}

}  // namespace
}  // namespace controls_test
