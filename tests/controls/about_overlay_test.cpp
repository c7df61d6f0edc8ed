// The about and rules page with fake metrics (text 20 px high): every text as the player reads
// it, the fonts and colours of each kind of line, the page's measures and heading positions; and
// with metrics that grow with the font, the size chosen to fit the grid.
#include "controls/about_overlay.h"

#include <string>
#include <vector>

#include "controls_fixture.h"
#include "sized_metrics.h"

namespace controls_test {
namespace {

using platform::Color;
using platform::RGB;

const char* const kTitle[] = {"Tessaline by Brindlec " KENO_VERSION, "About & Rules"};
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
    {"KEYBOARD",
     {"- Arrow keys move the focus ring on the grid; Enter picks or unpicks. 0 = Main, 1-4 = "
      "cards.",
      "- Tab / Shift+Tab step through the tabs. + and - bet, [ and ] speed, M sound, H heat map.",
      "- P payout table (P again swaps the mode). A / R auto-pick hot / random. C copy, N new "
      "game.",
      "- G or a click on the cage: last 10 draws (Left/Right pages). F1 this page. F11 full "
      "screen."}},
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

// The pitch shares out what the title band (52 for 20-pixel titles), the footer (28) and the
// gaps (48) leave among 38 lines, at most 24, but never less than the text is high.
TEST(AboutMetrics, PitchAtMost24AndNeverBelowTheText) {
  const struct {
    int64_t height, th, tt, lineH, titleBandH, footerH;
  } cases[] = {
      {200, 13, 20, 13, 52, 28},  {568, 9, 20, 11, 52, 28},   {622, 13, 20, 13, 52, 28},
      {660, 13, 20, 14, 52, 28},  {1039, 13, 20, 23, 52, 28}, {1040, 13, 20, 24, 52, 28},
      {2000, 13, 20, 24, 52, 28}, {596, 20, 20, 20, 52, 28},  // raised to the text
      {650, 13, 15, 14, 42, 28},                              // smaller titles, smaller band
      {2000, 30, 32, 30, 76, 34},                             // tall text: taller footer too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    const controls::AboutMetrics m = controls::AboutMetricsFor(c.height, c.th, c.tt);
    EXPECT_EQ(m.lineH, c.lineH);
    EXPECT_EQ(m.titleBandH, c.titleBandH);
    EXPECT_EQ(m.footerH, c.footerH);
    EXPECT_EQ(m.title1Y, 7);
    EXPECT_EQ(m.title2Y, 7 + c.tt + 3);
    EXPECT_EQ(m.taglineY, c.titleBandH + 6);
    EXPECT_EQ(m.lastLineY, c.titleBandH + 6 + 6 + 36 + 37 * c.lineH);
  }
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
  ASSERT_EQ(expected.size(), 2u + 38u + 1u);
  ASSERT_EQ(texts.size(), expected.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].text, expected[i].text) << i;
    EXPECT_EQ(texts[i].font, expected[i].font) << i;
    EXPECT_EQ(texts[i].color, expected[i].color) << i;
    EXPECT_EQ(texts[i].reals[0], 294 + 18) << i;
    EXPECT_EQ(texts[i].mode, platform::DrawMode::TransparentText) << i;
  }
}

// Grid 888 high, where 20-pixel text takes the pitch the page's room gives: (888 - 128) / 38.
TEST_F(AboutOverlay, HeadingsOfAGrid888High) {
  GridHeight(888);
  const auto& calls = Draw();
  const int64_t py = 172;
  EXPECT_EQ(TextCall(calls, kTitle[0]).reals[1], py + 7);
  EXPECT_EQ(TextCall(calls, kTitle[1]).reals[1], py + 30);
  EXPECT_EQ(TextCall(calls, kTagline).reals[1], py + 58);
  const int64_t headingTops[] = {84, 168, 252, 336, 380, 504, 588, 632, 696, 760};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(TextCall(calls, kPage[i].heading).reals[1], py + headingTops[i]) << kPage[i].heading;
  }
  EXPECT_EQ(TextCall(calls, kPage[9].lines.back()).reals[1], py + 840);

  const auto boxes = Boxes(calls);
  ASSERT_EQ(boxes.size(), 7u);
  EXPECT_EQ(boxes[0].ints, (std::array<int64_t, 4>{294, py, 876, 888}));
  EXPECT_EQ(boxes[0].color, RGB(22, 22, 45));
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(boxes[i].color, RGB(180, 140, 230)) << i;
  EXPECT_EQ(boxes[5].ints, (std::array<int64_t, 4>{294, py, 876, 52}));
  EXPECT_EQ(boxes[6].ints, (std::array<int64_t, 4>{294, py + 860, 876, 28}));
  EXPECT_EQ(boxes[6].color, RGB(50, 30, 85));
  EXPECT_EQ(TextCall(calls, "Click anywhere to close.").reals[1], py + 860 + 4);
}

// Where the last rule line's text (20 high) ends against the footer: past it on grids too short
// for that text (drawn unclipped, the footer painted over the lines it meets), flush at 888; at
// 1040 the 24-pixel pitch fills the page and the text ends 4 short, at 1073 another 33 free.
TEST_F(AboutOverlay, LastLineAgainstTheFooter) {
  const struct {
    int64_t height;
    int64_t lastBottomToFooter;  // footer top minus the last line's bottom
  } cases[] = {{200, -688}, {596, -292}, {888, 0}, {1040, 4}, {1073, 37}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    GridHeight(c.height);
    const auto& calls = Draw();
    const CanvasCall last = TextCall(calls, kPage[9].lines.back());
    const auto boxes = Boxes(calls);
    const int64_t footerTop = boxes.back().ints[1];
    EXPECT_EQ(footerTop, 172 + c.height - 28);
    EXPECT_EQ(static_cast<double>(footerTop) - (last.reals[1] + 20), c.lastBottomToFooter);
  }
  // The footer band comes after every body line, its text after the band.
  const auto& calls = board.canvas.Calls();
  std::size_t footerBand = 0, lastLine = 0;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].kind == CallKind::Box) footerBand = i;
    if (calls[i].kind == CallKind::DrawText && calls[i].text == kPage[9].lines.back()) lastLine = i;
  }
  EXPECT_LT(lastLine, footerBand);
}

// With text that grows with its font: the largest body size whose page fits, the title a point
// larger, both drawn; a point larger would not fit. (Text 1.25 em high, 0.625 em a character.)
TEST(FitAboutFonts, LargestSizeThatFitsTheGrid) {
  const struct {
    int64_t gridW, gridH;
    int overlayPoints, titlePoints;  // as LoadFonts sized them
    int body, title;                 // as fitted
  } cases[] = {
      // 568 high: 38 lines 11 pixels high (7 points, a 9-pixel em) fit, 14 high (8 points) not.
      {598, 568, 11, 12, 7, 8},
      // 1256 high: at 18 points (30-pixel text, 32-pixel titles) the page ends 42 pixels below
      // the footer's top; at 17 (28 and 30) it fits.
      {2156, 1256, 22, 24, 17, 18},
      // Room for the overlay fonts as they are.
      {2000, 1500, 12, 13, 12, 13},
      // Narrow: the widest line, 93 characters, must fit 600 - 36 pixels: 5.625 a character.
      {600, 1500, 12, 13, 7, 8},
      // Nothing fits 400 - 36 pixels: the smallest size.
      {400, 1500, 12, 13, 6, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.gridW) + " x " + std::to_string(c.gridH));
    SizedRecorder rec;
    render::Fonts fonts;
    fonts.points.overlay = c.overlayPoints;
    fonts.points.overlayTitle = c.titlePoints;
    const render::Rect grid{294, 172, c.gridW, c.gridH};
    std::vector<platform::Font*> refused;
    controls::FitAboutFonts(rec.canvas, fonts, grid, refused);
    EXPECT_EQ(refused.size(), static_cast<std::size_t>(2 * (c.overlayPoints - c.body)))
        << "every size tried and turned down, body and title";
    for (platform::Font* font : refused) rec.canvas.FreeFont(font);
    ASSERT_NE(fonts.aboutFont, nullptr);
    ASSERT_NE(fonts.aboutTitleFont, nullptr);
    EXPECT_EQ(rec.canvas.InfoOf(fonts.aboutFont).points, c.body);
    EXPECT_FALSE(rec.canvas.InfoOf(fonts.aboutFont).bold);
    EXPECT_EQ(rec.canvas.InfoOf(fonts.aboutTitleFont).points, c.title);
    EXPECT_TRUE(rec.canvas.InfoOf(fonts.aboutTitleFont).bold);
    EXPECT_EQ(rec.canvas.LiveFonts(), 2u);

    render::Layout layout;
    layout.grid = grid;
    rules::GameState state;
    rec.canvas.Clear();
    controls::DrawAboutOverlay(rec.canvas,
                               render::BoardView{state, layout, fonts, {}, false, true, false});
    for (const CanvasCall& t : Texts(rec.canvas.Calls())) {
      const bool title = t.text == kTitle[0] || t.text == kTitle[1];
      EXPECT_EQ(t.font, title ? fonts.aboutTitleFont : fonts.aboutFont) << t.text;
    }
  }
}

// Fonts that cannot be loaded leave the fitted ones unset, so the page keeps the overlay fonts.
TEST(FitAboutFonts, FailedLoadsKeepTheOverlayFonts) {
  render::RecordingCanvas canvas;
  render::Fonts fonts;
  fonts.points.overlay = 12;
  fonts.points.overlayTitle = 13;
  canvas.FailFontLoads(true);
  std::vector<platform::Font*> refused;
  controls::FitAboutFonts(canvas, fonts, render::Rect{294, 172, 876, 596}, refused);
  EXPECT_EQ(fonts.aboutFont, nullptr);
  EXPECT_EQ(fonts.aboutTitleFont, nullptr);
  EXPECT_TRUE(refused.empty());
  EXPECT_EQ(canvas.LiveFonts(), 0u);
}

}  // namespace
}  // namespace controls_test
