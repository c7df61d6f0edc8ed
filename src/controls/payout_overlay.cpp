// The payout table: panel, gold border, header, bet row, twelve striped rows and the footer,
// each full-width band painted over the border where it lies.
#include "controls/payout_overlay.h"

#include <algorithm>
#include <cmath>

#include "rules/text.h"

namespace controls {
namespace {

using platform::Canvas;
using platform::Color;
using platform::DrawMode;
using platform::RGB;

using rules::Joined;

constexpr Color kPanel = RGB(18, 18, 32);
constexpr Color kGold = RGB(255, 215, 0);
constexpr Color kHeaderBand = RGB(40, 40, 65);
constexpr Color kHitsHeading = RGB(160, 195, 255);
constexpr Color kBetBand = RGB(30, 30, 52);
constexpr Color kOddRow = RGB(20, 20, 36);
constexpr Color kEvenRow = RGB(26, 26, 44);
constexpr Color kRowAccent = RGB(70, 70, 100);
constexpr Color kFooterText = RGB(140, 155, 175);
constexpr int64_t kBorder = 2;

double Width(Canvas& canvas, const std::string& text) { return std::round(canvas.TextWidth(text)); }

// Text centred over a column from `left`, `width` wide.
void DrawInColumn(Canvas& canvas, int64_t left, int64_t width, int64_t top,
                  const std::string& text) {
  canvas.DrawText(
      static_cast<double>(left) + (static_cast<double>(width) - Width(canvas, text)) / 2,
      static_cast<double>(top), text);
}

}  // namespace

PayoutMetrics PayoutMetricsFor(int64_t panelWidth, int64_t panelHeight) {
  PayoutMetrics m;
  m.rowH = std::clamp<int64_t>((panelHeight - 26) / 14, 16, 38);
  m.k = std::clamp<int64_t>(m.rowH * 32 / 100, 9, 18);
  m.firstColW = std::max<int64_t>(m.k * 5, 50);
  m.colW = std::max<int64_t>((panelWidth - m.firstColW) / 12, 40);
  return m;
}

PayoutAmountText FormatPayoutAmount(int64_t amount) {
  if (amount < 1) return {"-", RGB(55, 55, 75)};
  if (amount >= 1000000) return {Joined("$", amount / 1000000, "M"), RGB(255, 80, 80)};
  if (amount >= 100000) return {Joined("$", amount / 1000, "K"), RGB(255, 80, 80)};
  if (amount >= 10000) return {Joined("$", amount / 1000, "K"), RGB(255, 140, 50)};
  if (amount >= 1000) return {Joined("$", amount / 1000, "K"), RGB(255, 210, 60)};
  if (amount >= 100) return {Joined("$", amount, ""), RGB(100, 220, 100)};
  return {Joined("$", amount, ""), RGB(170, 170, 210)};
}

void DrawPayoutOverlay(Canvas& canvas, const render::BoardView& view) {
  if (!view.payoutOverlayOpen) return;
  const rules::GameState& g = view.state;
  const render::Rect& panel = view.layout.grid;
  const int64_t px = panel.x, py = panel.y, pw = panel.w, ph = panel.h;
  const PayoutMetrics m = PayoutMetricsFor(pw, ph);
  const int64_t rowH = m.rowH;

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py, pw, ph, kPanel);
  canvas.SetFrontColor(kGold);
  canvas.Box(px, py, pw, kBorder);
  canvas.Box(px, py + ph - kBorder, pw, kBorder);
  canvas.Box(px, py, kBorder, ph);
  canvas.Box(px + pw - kBorder, py, kBorder, ph);
  canvas.Box(px, py, pw, rowH, kHeaderBand);

  canvas.SetFont(view.fonts.overlayFont);
  const int64_t th = std::lround(canvas.TextHeight("A"));
  canvas.SetDrawingMode(DrawMode::TransparentText);
  const int64_t hy = py + (rowH - th) / 2;
  canvas.SetFrontColor(kGold);
  DrawInColumn(canvas, px, m.firstColW, hy, "Picks");
  canvas.SetFrontColor(kHitsHeading);
  for (int64_t h = 1; h <= rules::kMaxPicks; ++h) {
    DrawInColumn(canvas, px + m.firstColW + (h - 1) * m.colW, m.colW, hy, Joined("", h, " hit"));
  }

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py + rowH, pw, rowH, kBetBand);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  const double by = static_cast<double>(py + rowH + (rowH - th) / 2);
  canvas.SetFrontColor(kGold);
  canvas.DrawText(static_cast<double>(px + m.firstColW), by,
                  Joined("Bet/Card: $", g.betPerCard, ""));
  const bool casino = g.payMode == rules::CASINO;
  const std::string caption = casino ? "CASINO payouts" : "GENEROUS payouts";
  canvas.SetFrontColor(casino ? RGB(255, 120, 120) : RGB(120, 255, 120));
  canvas.DrawText(static_cast<double>(px + pw) - Width(canvas, caption) - 10, by, caption);

  for (int64_t p = 1; p <= rules::kMaxPicks; ++p) {
    const int64_t ry = py + 2 * rowH + (p - 1) * rowH;
    canvas.SetDrawingMode(DrawMode::Opaque);
    canvas.Box(px, ry, pw, rowH, p % 2 == 1 ? kOddRow : kEvenRow);
    canvas.Box(px, ry, 3, rowH, kRowAccent);
    const int64_t ty = ry + (rowH - th) / 2;
    canvas.SetDrawingMode(DrawMode::TransparentText);
    canvas.SetFrontColor(kGold);
    DrawInColumn(canvas, px, m.firstColW, ty, std::to_string(p));
    for (int64_t h = 1; h <= p; ++h) {
      const PayoutAmountText cell = FormatPayoutAmount(g.payTableActive[p][h] * g.betPerCard);
      canvas.SetFrontColor(cell.color);
      DrawInColumn(canvas, px + m.firstColW + (h - 1) * m.colW, m.colW, ty, cell.text);
    }
  }

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py + ph - m.footH, pw, m.footH, kHeaderBand);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kFooterText);
  canvas.DrawText(static_cast<double>(px + 8),
                  static_cast<double>(py + ph - m.footH) + static_cast<double>(m.footH - th) / 2,
                  "K=thousands  M=millions.  Click anywhere to close.");
}

}  // namespace controls
