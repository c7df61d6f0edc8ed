// The payout table: panel, gold border, header, bet row, twelve striped rows and the footer,
// each full-width band painted over the border where it lies, in a size chosen to fit the grid.
#include "controls/payout_overlay.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/font_fit.h"
#include "rules/paytable.h"
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
constexpr int64_t kAccentW = 3;
constexpr const char* kPicks = "Picks";
constexpr const char* kFooter = "K=thousands  M=millions.  Click anywhere to close.";

double Width(Canvas& canvas, const std::string& text) { return std::round(canvas.TextWidth(text)); }

// Column c of the table, from the panel's left: 0 the spot counts, 1..12 the hits.
struct Column {
  int64_t left, width;
};
Column ColumnOf(const PayoutMetrics& m, int64_t c) {
  return c == 0 ? Column{0, m.firstColW} : Column{m.firstColW + (c - 1) * m.colW, m.colW};
}

// Left edge of `text` centred in column c, from the panel's left.
double CentredIn(Canvas& canvas, const PayoutMetrics& m, int64_t c, const std::string& text) {
  const Column col = ColumnOf(m, c);
  return static_cast<double>(col.left) + (static_cast<double>(col.width) - Width(canvas, text)) / 2;
}

std::string HitsHeading(int64_t h) { return Joined("", h, " hit"); }
std::string BetText(int64_t bet) { return Joined("Bet/Card: $", bet, ""); }
std::string Caption(bool casino) { return casino ? "CASINO payouts" : "GENEROUS payouts"; }

// One text of a row as drawn: its left edge from the panel's left, and its width.
struct Span {
  double left, width;
};

// Inside the panel, in order, a space apart.
bool RowFits(std::vector<Span> row, double space, int64_t pw) {
  std::sort(row.begin(), row.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (row[i].left < 0 || row[i].left + row[i].width > static_cast<double>(pw)) return false;
    if (i > 0 && row[i].left - (row[i - 1].left + row[i - 1].width) < space) return false;
  }
  return true;
}

bool TableFits(Canvas& canvas, platform::Font* font, int64_t pw, int64_t ph,
               const rules::GameState& g) {
  canvas.SetFont(font);
  const int64_t th = std::lround(canvas.TextHeight("A"));
  const PayoutMetrics m = PayoutMetricsFor(pw, ph, th, std::lround(Width(canvas, kPicks)));
  if (th > m.rowH || th > m.footH || 14 * m.rowH > ph - m.footH) return false;
  const double space = Width(canvas, " ");
  auto centred = [&](int64_t c, const std::string& text) {
    return Span{CentredIn(canvas, m, c, text), Width(canvas, text)};
  };

  std::vector<Span> header = {centred(0, kPicks)};
  for (int64_t h = 1; h <= rules::kMaxPicks; ++h) header.push_back(centred(h, HitsHeading(h)));
  if (!RowFits(header, space, pw)) return false;
  for (bool casino : {false, true}) {
    const std::string bet = BetText(rules::kMaxBet), caption = Caption(casino);
    const double captionW = Width(canvas, caption);
    const std::vector<Span> betRow = {{static_cast<double>(m.firstColW), Width(canvas, bet)},
                                      {static_cast<double>(pw - 10) - captionW, captionW}};
    if (!RowFits(betRow, space, pw)) return false;
  }
  for (int64_t mode : {rules::GENEROUS, rules::CASINO}) {
    for (int64_t bet = rules::kMinBet; bet <= rules::kMaxBet; ++bet) {
      for (int64_t p = 1; p <= rules::kMaxPicks; ++p) {
        std::vector<Span> row = {centred(0, std::to_string(p))};
        for (int64_t h = 1; h <= p; ++h) {
          row.push_back(centred(h, FormatPayoutAmount(rules::PayoutAt(g, mode, bet, p, h)).text));
        }
        if (!RowFits(row, space, pw)) return false;
      }
    }
  }
  return Width(canvas, kFooter) + 8 <= static_cast<double>(pw);
}

}  // namespace

PayoutMetrics PayoutMetricsFor(int64_t panelWidth, int64_t panelHeight, int64_t th,
                               int64_t picksW) {
  PayoutMetrics m;
  m.footH = std::max<int64_t>(26, th + 4);
  const int64_t room = (panelHeight - m.footH) / 14;
  m.rowH = std::clamp<int64_t>(room, 16, 38);
  // Rows never shorter than their text while the panel has room for it.
  if (m.rowH < th) m.rowH = std::max(m.rowH, std::min(th, room));
  m.k = std::clamp<int64_t>(m.rowH * 32 / 100, 9, 18);
  m.firstColW = std::max<int64_t>({m.k * 5, 50, picksW});
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

void FitPayoutFont(Canvas& canvas, render::Fonts& fonts, const render::Rect& panel,
                   const rules::GameState& g, std::vector<platform::Font*>& refused) {
  FitRegularFont(
      canvas, fonts.points.overlay, fonts.payoutFont, refused,
      [&](platform::Font* font) { return TableFits(canvas, font, panel.w, panel.h, g); });
}

void DrawPayoutOverlay(Canvas& canvas, const render::BoardView& view) {
  if (!view.payoutOverlayOpen) return;
  const rules::GameState& g = view.state;
  const render::Rect& panel = view.layout.grid;
  const int64_t px = panel.x, py = panel.y, pw = panel.w, ph = panel.h;
  canvas.SetFont(view.fonts.payoutFont != nullptr ? view.fonts.payoutFont : view.fonts.overlayFont);
  const int64_t th = std::lround(canvas.TextHeight("A"));
  const PayoutMetrics m = PayoutMetricsFor(pw, ph, th, std::lround(Width(canvas, kPicks)));
  const int64_t rowH = m.rowH;
  auto drawInColumn = [&](int64_t c, int64_t top, const std::string& text) {
    canvas.DrawText(static_cast<double>(px) + CentredIn(canvas, m, c, text),
                    static_cast<double>(top), text);
  };

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py, pw, ph, kPanel);
  canvas.SetFrontColor(kGold);
  canvas.Box(px, py, pw, kBorder);
  canvas.Box(px, py + ph - kBorder, pw, kBorder);
  canvas.Box(px, py, kBorder, ph);
  canvas.Box(px + pw - kBorder, py, kBorder, ph);
  canvas.Box(px, py, pw, rowH, kHeaderBand);

  canvas.SetDrawingMode(DrawMode::TransparentText);
  const int64_t hy = py + (rowH - th) / 2;
  canvas.SetFrontColor(kGold);
  drawInColumn(0, hy, kPicks);
  canvas.SetFrontColor(kHitsHeading);
  for (int64_t h = 1; h <= rules::kMaxPicks; ++h) drawInColumn(h, hy, HitsHeading(h));

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py + rowH, pw, rowH, kBetBand);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  const double by = static_cast<double>(py + rowH + (rowH - th) / 2);
  canvas.SetFrontColor(kGold);
  canvas.DrawText(static_cast<double>(px + m.firstColW), by, BetText(g.betPerCard));
  const bool casino = g.payMode == rules::CASINO;
  const std::string caption = Caption(casino);
  canvas.SetFrontColor(casino ? RGB(255, 120, 120) : RGB(120, 255, 120));
  canvas.DrawText(static_cast<double>(px + pw) - Width(canvas, caption) - 10, by, caption);

  for (int64_t p = 1; p <= rules::kMaxPicks; ++p) {
    const int64_t ry = py + 2 * rowH + (p - 1) * rowH;
    canvas.SetDrawingMode(DrawMode::Opaque);
    canvas.Box(px, ry, pw, rowH, p % 2 == 1 ? kOddRow : kEvenRow);
    canvas.Box(px, ry, kAccentW, rowH, kRowAccent);
    const int64_t ty = ry + (rowH - th) / 2;
    canvas.SetDrawingMode(DrawMode::TransparentText);
    canvas.SetFrontColor(kGold);
    drawInColumn(0, ty, std::to_string(p));
    for (int64_t h = 1; h <= p; ++h) {
      const PayoutAmountText cell = FormatPayoutAmount(rules::LookupPayout(g, p, h));
      canvas.SetFrontColor(cell.color);
      drawInColumn(h, ty, cell.text);
    }
  }

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py + ph - m.footH, pw, m.footH, kHeaderBand);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kFooterText);
  canvas.DrawText(static_cast<double>(px + 8),
                  static_cast<double>(py + ph - m.footH) + static_cast<double>(m.footH - th) / 2,
                  kFooter);
}

}  // namespace controls
