// The stats panel, top to bottom, with one running line position.
#include "render/stats_panel.h"

#include <algorithm>
#include <cmath>

#include "render/colors.h"
#include "rules/text.h"

namespace render {
namespace {

constexpr platform::Color kPanel = RGB(192, 192, 192);
constexpr platform::Color kBand = RGB(150, 150, 160);
constexpr platform::Color kTitle = RGB(255, 255, 220);
constexpr platform::Color kSubtitle = RGB(200, 220, 255);
constexpr platform::Color kStripe = RGB(178, 178, 185);
constexpr platform::Color kSeparator = RGB(140, 140, 150);
constexpr platform::Color kCardLabel = RGB(20, 20, 100);
constexpr platform::Color kWinGreen = RGB(0, 100, 0);
constexpr platform::Color kLossRed = RGB(160, 0, 0);
constexpr platform::Color kMoneyGreen = RGB(20, 80, 20);
constexpr platform::Color kGold = RGB(255, 215, 0);

constexpr int64_t kMargin = 12;

// Writes text with a transparent background at whole-pixel line positions.
class Writer {
 public:
  Writer(platform::Canvas& canvas, int64_t left) : canvas_(canvas), left_(left) {}
  void Text(int64_t column, int64_t y, const std::string& text, platform::Color color) {
    canvas_.SetDrawingMode(platform::DrawMode::TransparentText);
    canvas_.SetFrontColor(color);
    canvas_.DrawText(static_cast<double>(left_ + column), static_cast<double>(y), text);
  }
  void Fill(int64_t x, int64_t y, int64_t w, int64_t h, platform::Color color) {
    canvas_.SetDrawingMode(platform::DrawMode::Opaque);
    canvas_.Box(x, y, w, h, color);
  }
  int64_t Width(const std::string& text) { return std::lround(canvas_.TextWidth(text)); }

 private:
  platform::Canvas& canvas_;
  int64_t left_;
};

}  // namespace

std::string FormatAmount(int64_t dollars) { return rules::Joined("$", dollars); }

std::string FormatSignedAmount(int64_t dollars) {
  if (dollars > 0) return rules::Joined("+$", dollars);
  if (dollars == 0) return "$0";
  // Spelled from the digits so the most negative value keeps its sign.
  std::string text("-$");
  text += std::to_string(dollars).substr(1);
  return text;
}

int64_t StatsRowHeight(int64_t panelHeight, int64_t textHeight) {
  int64_t rowH = (panelHeight - 218) / 18;
  if (rowH > textHeight + 2) rowH = textHeight + 2;
  if (rowH < textHeight) rowH = textHeight;
  return rowH;
}

void DrawStatsPanel(platform::Canvas& canvas, const BoardView& view) {
  const rules::GameState& g = view.state;
  const Rect& p = view.layout.statsPanel;
  const int64_t x = p.x, w = p.w;
  Writer out(canvas, x + kMargin);

  out.Fill(x, p.y, w, p.h, kPanel);
  out.Fill(x, p.y, w, 52, kBand);
  canvas.SetFont(view.fonts.buttonFont);
  const int64_t th = std::lround(canvas.TextHeight("M"));
  const int64_t rowH = StatsRowHeight(p.h, th);

  out.Text(0, p.y + 7, "CARD STATS", kTitle);
  out.Text(0, p.y + 27, "Bet/Card: " + FormatAmount(g.betPerCard), kSubtitle);

  int64_t y = p.y + 58;
  const platform::Color head = RGB(30, 30, 30);
  out.Text(0, y, "Card", head);
  out.Text(80, y, "Picks", head);
  out.Text(152, y, "Hits", head);
  out.Text(200, y, "Win", head);
  y += rowH;
  for (int i = 1; i <= rules::kCards; ++i) {
    const rules::Card& card = g.cards[i];
    if (i % 2 == 0) out.Fill(x, y - 2, w, rowH + 2, kStripe);
    out.Text(0, y, "Card " + std::to_string(i), kCardLabel);
    out.Text(80, y, std::to_string(card.pickCount) + "/12", RGB(40, 40, 40));
    out.Text(152, y, std::to_string(card.hitCount),
             card.hitCount >= 1 ? kWinGreen : RGB(60, 60, 60));
    if (g.cardWin[i] >= 1) {
      out.Text(200, y, FormatAmount(g.cardWin[i]), kLossRed);
    } else {
      out.Text(200, y, "-", RGB(110, 110, 110));
    }
    y += rowH;
  }

  y += 6;
  out.Fill(x, y, w, 50, kBand);
  out.Text(0, y + 6, "THIS SET WIN/LOSS", kTitle);
  out.Text(0, y + 27, "(per card)", kSubtitle);
  y += 54;
  for (int i = 1; i <= rules::kCards; ++i) {
    if (i % 2 == 0) out.Fill(x, y - 2, w, rowH + 2, kStripe);
    out.Text(0, y, "Card " + std::to_string(i) + ":", kCardLabel);
    const int64_t net = g.cardNet[i];
    out.Text(70, y, FormatSignedAmount(net),
             net > 0 ? RGB(20, 100, 20) : net == 0 ? RGB(80, 80, 80) : RGB(150, 0, 0));
    // Wins and losses end at the right margin, but never start left of column 160.
    const std::string wins = std::to_string(g.cardWinCount[i]) + "W ";
    const std::string losses = std::to_string(g.cardLossCount[i]) + "L";
    const int64_t right = std::lround(static_cast<double>(x + w - kMargin - out.Width(wins + losses) - 4));
    const int64_t xr = std::max(right, x + kMargin + 160);
    out.Text(xr - (x + kMargin), y, wins, kWinGreen);
    out.Text(xr - (x + kMargin) + out.Width(wins), y, losses, kLossRed);
    y += rowH;
  }

  y += 6;
  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.SetFrontColor(kSeparator);
  canvas.LineExtent(x + kMargin, y, w - 24, 1);
  y += 6;

  out.Text(0, y, "Wins:", kWinGreen);
  out.Text(80, y, FormatAmount(g.setWon), kWinGreen);
  y += rowH;
  out.Text(0, y, "Costs:", kLossRed);
  out.Text(80, y, FormatAmount(g.setCost), kLossRed);
  y += rowH;
  const int64_t profit = g.setWon - g.setCost;
  const platform::Color profitColor =
      profit > 0 ? kWinGreen : profit == 0 ? RGB(20, 20, 20) : kLossRed;
  out.Text(0, y, "Profit:", profitColor);
  out.Text(80, y, FormatSignedAmount(profit), profitColor);
  y += rowH;
  out.Text(0, y, "Runs:", RGB(20, 20, 80));
  out.Text(80, y, std::to_string(g.runs), RGB(20, 20, 80));
  y += rowH + 6;

  out.Fill(x, y, w, 34, kBand);
  out.Text(0, y + 9, "BALANCE", kTitle);
  y += 38;
  out.Text(0, y, FormatAmount(g.balance), kMoneyGreen);
  y += rowH + 6;

  out.Fill(x, y, w, 34, kBand);
  out.Text(0, y + 9, "LIFETIME", kTitle);
  y += 38;
  out.Text(0, y, "GEN W:", kWinGreen);
  out.Text(90, y, FormatAmount(g.genWon), kMoneyGreen);
  y += rowH;
  out.Text(0, y, "GEN L:", kLossRed);
  out.Text(90, y, FormatAmount(g.genBet), kLossRed);
  y += rowH + 4;
  out.Text(0, y, "CAS W:", kWinGreen);
  out.Text(90, y, FormatAmount(g.casWon), kMoneyGreen);
  y += rowH;
  out.Text(0, y, "CAS L:", kLossRed);
  out.Text(90, y, FormatAmount(g.casBet), kLossRed);
  y += rowH;

  if (g.progressiveEligible) {
    // The notice below, if any, starts inside this box: the line position stays put.
    const int64_t top = y + 6;
    out.Fill(x, top, w, 2 * rowH + 10, RGB(40, 30, 10));
    out.Text(0, top + 4, "PROGRESSIVE JACKPOT", kGold);
    out.Text(0, top + rowH + 6, FormatAmount(g.progressivePot), kGold);
  }
  if (!g.statusMessage.empty()) {
    y += 8;
    out.Fill(x, y, w, 2 * rowH + 8, RGB(70, 44, 0));
    out.Fill(x, y, w, 2, kGold);
    out.Text(0, y + 4, g.statusTitle.empty() ? "CONSOLATION" : g.statusTitle, kGold);
    out.Text(0, y + rowH + 6, g.statusMessage, RGB(255, 235, 160));
  }
}

}  // namespace render
