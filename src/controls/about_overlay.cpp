// The about page: title band, tagline, nine sections and the footer, one text per line at the
// left inset; long lines run on past the panel rather than being wrapped or cut.
#include "controls/about_overlay.h"

#include <algorithm>
#include <cmath>
#include <string>

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
constexpr Color kTagline = RGB(255, 255, 200);
constexpr Color kHeading = RGB(160, 220, 255);
constexpr Color kRule = RGB(220, 220, 230);
constexpr Color kFooterText = RGB(200, 180, 240);
constexpr int64_t kInset = 18;
constexpr int64_t kTitleBandH = 52;
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
};

}  // namespace

int64_t AboutLineHeight(int64_t panelHeight) {
  return std::clamp<int64_t>((panelHeight - 124) / 33, 13, 24);
}

void DrawAboutOverlay(Canvas& canvas, const render::BoardView& view) {
  if (!view.aboutOverlayOpen) return;
  const render::Rect& panel = view.layout.grid;
  const int64_t px = panel.x, py = panel.y, pw = panel.w, ph = panel.h;
  const int64_t lineH = AboutLineHeight(ph);
  const double left = static_cast<double>(px + kInset);

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py, pw, ph, kPanel);
  canvas.SetFrontColor(kBorderColor);
  canvas.Box(px, py, pw, 2);
  canvas.Box(px, py + ph - 2, pw, 2);
  canvas.Box(px, py, 2, ph);
  canvas.Box(px + pw - 2, py, 2, ph);
  canvas.Box(px, py, pw, kTitleBandH, kBand);

  canvas.SetFont(view.fonts.overlayTitleFont);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kTitle);
  canvas.DrawText(left, static_cast<double>(py + 7), "Tessaline by Brindlec 6.40");
  canvas.DrawText(left, static_cast<double>(py + 30), "About & Rules");

  canvas.SetFont(view.fonts.overlayFont);
  int64_t y = py + kTitleBandH + 6;
  canvas.SetFrontColor(kTagline);
  canvas.DrawText(left, static_cast<double>(y),
                  "Tessaline by Brindlec \u2014 fully standalone, no external dependencies.");
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
  canvas.Box(px, py + ph - kFooterH, pw, kFooterH, kBand);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kFooterText);
  const double th = std::round(canvas.TextHeight("A"));
  canvas.DrawText(
      left, static_cast<double>(py + ph - kFooterH) + (static_cast<double>(kFooterH) - th) / 2,
      "Click anywhere to close.");
}

}  // namespace controls
