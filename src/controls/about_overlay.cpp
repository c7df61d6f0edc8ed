// The about page: title band, tagline, ten sections and the footer, one text per line at the
// left inset, in a size chosen to fit the grid: the lines are neither wrapped nor cut.
#include "controls/about_overlay.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "controls/font_fit.h"
#include "rules/version.h"

namespace controls {
namespace {

using platform::Canvas;
using platform::Color;
using platform::DrawMode;
using platform::RGB;

constexpr Color kPanel = RGB(22, 22, 45);
constexpr Color kBorderColor = RGB(180, 140, 230);
constexpr Color kBand = RGB(50, 30, 85);
constexpr Color kTitle = RGB(255, 220, 140);
constexpr Color kTaglineColor = RGB(255, 255, 200);
constexpr Color kHeading = RGB(160, 220, 255);
constexpr Color kRule = RGB(220, 220, 230);
constexpr Color kFooterColor = RGB(200, 180, 240);
constexpr int64_t kInset = 18;
constexpr int64_t kFooterH = 28;

struct Section {
  const char* heading;
  const char* lines[5];  // null after the last line
};

constexpr Section kSections[] = {
    {"HOW TO PLAY",
     {"- Pick 1-12 numbers on up to 4 cards. Main tab shows all cards combined.",
      "- Set Bet/Card ($1-$10) and Speed. Click Draw Numbers \u2014 20 balls drawn each round.",
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
      "- Jackpot: all picks on a card drawn \u2014 auto-run stops, pop-up shown. 5+ spots = "
      "fanfare.",
      "- Progressive: 10-12 spot full match wins the growing pot ($25K seed, +$2/qualifying "
      "card).",
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

constexpr int64_t kSectionCount = static_cast<int64_t>(std::size(kSections));

constexpr int64_t CountBodyLines() {
  int64_t lines = 1;  // the tagline
  for (const Section& section : kSections) {
    lines += 1;
    for (const char* line : section.lines) lines += line != nullptr ? 1 : 0;
  }
  return lines;
}
constexpr int64_t kBodyLines = CountBodyLines();  // the tagline, the headings and the rule lines
// 4 pixels before every heading but the first.
constexpr int64_t kHeadingGaps = 4 * (kSectionCount - 1);

constexpr const char* kTitleLines[] = {rules::kGameTitle, "About & Rules"};
constexpr const char* kTagline =
    "Tessaline by Brindlec \u2014 fully standalone, no external dependencies.";
constexpr const char* kFooterText = "Click anywhere to close.";

int64_t Rounded(double v) { return std::lround(v); }

// Every text of the page stays within the left inset of both edges, and the last line ends
// above the footer.
bool PageFits(Canvas& canvas, platform::Font* body, platform::Font* title, int64_t pw, int64_t ph) {
  const int64_t room = pw - 2 * kInset;
  canvas.SetFont(title);
  const int64_t tt = Rounded(canvas.TextHeight("A"));
  for (const char* line : kTitleLines) {
    if (Rounded(canvas.TextWidth(line)) > room) return false;
  }
  canvas.SetFont(body);
  const int64_t th = Rounded(canvas.TextHeight("A"));
  const AboutMetrics m = AboutMetricsFor(ph, th, tt);
  if (m.lastLineY + th > ph - m.footerH) return false;
  std::vector<const char*> texts = {kTagline, kFooterText};
  for (const Section& section : kSections) {
    texts.push_back(section.heading);
    for (const char* line : section.lines) {
      if (line != nullptr) texts.push_back(line);
    }
  }
  for (const char* text : texts) {
    if (Rounded(canvas.TextWidth(text)) > room) return false;
  }
  return true;
}

}  // namespace

AboutMetrics AboutMetricsFor(int64_t panelHeight, int64_t th, int64_t tt) {
  AboutMetrics m;
  m.title1Y = 7;
  m.title2Y = m.title1Y + tt + 3;
  m.titleBandH = m.title2Y + tt + 2;
  m.footerH = std::max(kFooterH, th + 4);
  // Two 6-pixel gaps (after the title band and after the tagline) and 4 before each heading
  // but the first.
  const int64_t fixed = m.titleBandH + m.footerH + 6 + 6 + kHeadingGaps;
  // The room shared among the lines, at most 24 and never below the text, with no floor of its
  // own: the keyboard's lines must fit the smallest grid, in a smaller font.
  const int64_t shared = (panelHeight - fixed) / kBodyLines;
  m.lineH = std::max(std::min<int64_t>(shared, 24), th);
  m.taglineY = m.titleBandH + 6;
  m.lastLineY = m.taglineY + 6 + kHeadingGaps + (kBodyLines - 1) * m.lineH;
  return m;
}

void FitAboutFonts(Canvas& canvas, render::Fonts& fonts, const render::Rect& panel,
                   std::vector<platform::Font*>& refused) {
  platform::Font *body = nullptr, *title = nullptr;
  for (int points = std::max(fonts.points.overlay, kMinFittedPoints); points >= kMinFittedPoints;
       --points) {
    body = canvas.LoadFont(render::kFontFace, points, false);
    title =
        canvas.LoadFont(render::kFontFace, std::min(fonts.points.overlayTitle, points + 1), true);
    if (body == nullptr || title == nullptr) break;  // the overlay fonts serve instead
    if (points == kMinFittedPoints || PageFits(canvas, body, title, panel.w, panel.h)) {
      render::ReplaceFont(canvas, fonts.aboutFont, body);
      render::ReplaceFont(canvas, fonts.aboutTitleFont, title);
      body = title = nullptr;
      break;
    }
    refused.push_back(body);
    refused.push_back(title);
    body = title = nullptr;
  }
  for (platform::Font* font : {body, title}) {
    if (font != nullptr) refused.push_back(font);
  }
}

void DrawAboutOverlay(Canvas& canvas, const render::BoardView& view) {
  if (!view.aboutOverlayOpen) return;
  const render::Rect& panel = view.layout.grid;
  const int64_t px = panel.x, py = panel.y, pw = panel.w, ph = panel.h;
  const render::Fonts& fonts = view.fonts;
  platform::Font* titleFont =
      fonts.aboutTitleFont != nullptr ? fonts.aboutTitleFont : fonts.overlayTitleFont;
  platform::Font* bodyFont = fonts.aboutFont != nullptr ? fonts.aboutFont : fonts.overlayFont;
  canvas.SetFont(titleFont);
  const int64_t tt = Rounded(canvas.TextHeight("A"));
  canvas.SetFont(bodyFont);
  const int64_t th = Rounded(canvas.TextHeight("A"));
  const AboutMetrics m = AboutMetricsFor(ph, th, tt);
  const double left = static_cast<double>(px + kInset);

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py, pw, ph, kPanel);
  canvas.SetFrontColor(kBorderColor);
  canvas.Box(px, py, pw, 2);
  canvas.Box(px, py + ph - 2, pw, 2);
  canvas.Box(px, py, 2, ph);
  canvas.Box(px + pw - 2, py, 2, ph);
  canvas.Box(px, py, pw, m.titleBandH, kBand);

  canvas.SetFont(titleFont);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kTitle);
  canvas.DrawText(left, static_cast<double>(py + m.title1Y), kTitleLines[0]);
  canvas.DrawText(left, static_cast<double>(py + m.title2Y), kTitleLines[1]);

  canvas.SetFont(bodyFont);
  int64_t y = py + m.taglineY;
  canvas.SetFrontColor(kTaglineColor);
  canvas.DrawText(left, static_cast<double>(y), kTagline);
  const int64_t lineH = m.lineH;
  y += lineH + 6;
  bool first = true;
  for (const Section& section : kSections) {
    if (!first) y += 4;
    first = false;
    canvas.SetFrontColor(kHeading);
    canvas.DrawText(left, static_cast<double>(y), section.heading);
    y += lineH;
    canvas.SetFrontColor(kRule);
    for (const char* line : section.lines) {
      if (line == nullptr) break;
      canvas.DrawText(left, static_cast<double>(y), line);
      y += lineH;
    }
  }

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py + ph - m.footerH, pw, m.footerH, kBand);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kFooterColor);
  canvas.DrawText(
      left, static_cast<double>(py + ph - m.footerH) + static_cast<double>(m.footerH - th) / 2,
      kFooterText);
}

}  // namespace controls
