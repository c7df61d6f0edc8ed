// The stats panel, top to bottom, from one plan of where each block goes.
#include "render/stats_panel.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

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

namespace {

// A gap or band margin as designed, less the squeeze, but never below `least` (or its own size).
struct Squeeze {
  int64_t by;
  int64_t operator()(int64_t designed, int64_t least = 1) const {
    return std::max(designed - by, std::min(designed, least));
  }
};

constexpr int64_t kMaxSqueeze = 8;  // the widest margin, 9, down to 1

// The news notice keeps its heading clear of its 2-pixel gold line.
NoticeBox NoticeAt(int64_t top, int64_t rowH, int64_t lines, int64_t bottomMargin,
                   int64_t titleLeast, const Squeeze& pad) {
  NoticeBox box;
  box.y = top;
  box.titleY = top + pad(4, titleLeast);
  box.messageY = box.titleY + rowH + pad(2);
  box.h = box.messageY + lines * rowH + pad(bottomMargin) - top;
  return box;
}

StatsPlan PlanWith(int64_t rowH, int64_t squeeze, int64_t th, int64_t messageLines) {
  const Squeeze pad{squeeze};
  StatsPlan p;
  p.rowH = rowH;
  p.squeeze = squeeze;
  p.titleY = pad(7);
  p.subtitleY = p.titleY + th;
  p.topBandH = p.subtitleY + th + pad(5);
  p.headY = p.topBandH + pad(6);
  p.setBandY = p.headY + 5 * rowH + pad(6);
  p.setTitleY = p.setBandY + pad(6);
  p.setSubtitleY = p.setTitleY + th + pad(1);
  p.setBandH = p.setSubtitleY + th + pad(3) - p.setBandY;
  p.setRowsY = p.setBandY + p.setBandH + pad(4);
  p.separatorY = p.setRowsY + 4 * rowH + pad(6);
  p.totalsY = p.separatorY + pad(6);
  p.bandTitleY = pad(9);
  p.bandH = p.bandTitleY + th + pad(5);
  p.balanceBandY = p.totalsY + 4 * rowH + pad(6);
  p.balanceY = p.balanceBandY + p.bandH + pad(4);
  p.lifetimeBandY = p.balanceY + rowH + pad(6);
  p.lifetimeY = p.lifetimeBandY + p.bandH + pad(4);
  p.casY = p.lifetimeY + 2 * rowH + pad(4);
  p.lifetimeEnd = p.casY + 2 * rowH;
  p.jackpot = NoticeAt(p.lifetimeEnd + pad(6), rowH, 1, 4, 1, pad);
  p.noticeAlone = NoticeAt(p.lifetimeEnd + pad(8), rowH, messageLines, 2, 2, pad);
  p.noticeBelow = NoticeAt(p.jackpot.y + p.jackpot.h + pad(8), rowH, messageLines, 2, 2, pad);
  p.end = p.noticeBelow.y + p.noticeBelow.h;
  return p;
}

// Words that run past `width` start a new line; a word wider than the line keeps one to itself.
std::vector<std::string> WrapWords(platform::Canvas& canvas, const std::string& text,
                                   int64_t width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    const std::string longer = line.empty() ? word : line + " " + word;
    if (!line.empty() && std::lround(canvas.TextWidth(longer)) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = longer;
    }
    start = end + 1;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

StatsPlan PlanStatsPanel(int64_t panelHeight, int64_t th, int64_t messageLines) {
  messageLines = std::max<int64_t>(messageLines, 1);
  for (int64_t rowH = th + 2; rowH >= th; --rowH) {
    const StatsPlan plan = PlanWith(rowH, 0, th, messageLines);
    if (plan.end <= panelHeight) return plan;
  }
  for (int64_t squeeze = 1; squeeze <= kMaxSqueeze; ++squeeze) {
    const StatsPlan plan = PlanWith(th, squeeze, th, messageLines);
    if (plan.end <= panelHeight) return plan;
  }
  return PlanWith(th, kMaxSqueeze, th, messageLines);
}

void DrawStatsPanel(platform::Canvas& canvas, const BoardView& view) {
  const rules::GameState& g = view.state;
  const Rect& panel = view.layout.statsPanel;
  const int64_t x = panel.x, w = panel.w;
  Writer out(canvas, x + kMargin);

  out.Fill(x, panel.y, w, panel.h, kPanel);
  canvas.SetFont(view.fonts.buttonFont);
  const int64_t th = std::lround(canvas.TextHeight("M"));
  const std::vector<std::string> message =
      g.statusMessage.empty() ? std::vector<std::string>{}
                              : WrapWords(canvas, g.statusMessage, w - 2 * kMargin);
  const StatsPlan p = PlanStatsPanel(panel.h, th, static_cast<int64_t>(message.size()));
  const int64_t rowH = p.rowH;
  const int64_t top = panel.y;
  // A stripe reaches up to 2 pixels above its row, but never into the text of the row above.
  const int64_t stripeRise = std::clamp<int64_t>(rowH - th, 0, 2);
  auto stripe = [&](int64_t y) { out.Fill(x, y - stripeRise, w, rowH + stripeRise, kStripe); };

  out.Fill(x, top, w, p.topBandH, kBand);
  out.Text(0, top + p.titleY, "CARD STATS", kTitle);
  out.Text(0, top + p.subtitleY, "Bet/Card: " + FormatAmount(g.betPerCard), kSubtitle);

  // Columns stand where designed unless the widest text of the column before would come
  // closer than a space: a wider face than the design's moves them right. Only columns after
  // texts of bounded width move; amounts of any size are not followed by one.
  const int64_t space = out.Width(" ");
  auto after = [&](int64_t designed, int64_t previous, const std::vector<std::string>& texts) {
    int64_t widest = 0;
    for (const std::string& t : texts) widest = std::max(widest, out.Width(t));
    return std::max(designed, previous + widest + space);
  };
  std::vector<std::string> labels = {"Card"}, picks = {"Picks"}, hits = {"Hits"};
  for (int i = 1; i <= rules::kCards; ++i) {
    labels.push_back("Card " + std::to_string(i));
    picks.push_back(std::to_string(g.cards[i].pickCount) + "/12");
    hits.push_back(std::to_string(g.cards[i].hitCount));
  }
  std::vector<std::string> prizes = {"Win"};
  for (int i = 1; i <= rules::kCards; ++i) {
    prizes.push_back(g.cardWin[i] >= 1 ? FormatAmount(g.cardWin[i]) : "-");
  }
  int64_t picksX = after(80, 0, labels);
  int64_t hitsX = after(152, picksX, picks);
  int64_t winX = after(200, hitsX, hits);
  // Prizes too wide for the designed columns close them up, and end at the margin.
  const int64_t inner = w - 2 * kMargin;
  if (winX + after(0, 0, prizes) - space > inner) {
    picksX = after(0, 0, labels);
    hitsX = after(0, picksX, picks);
    winX = std::max(after(0, hitsX, hits), inner - after(0, 0, prizes) + space);
  }

  int64_t y = top + p.headY;
  const platform::Color head = RGB(30, 30, 30);
  out.Text(0, y, labels[0], head);
  out.Text(picksX, y, picks[0], head);
  out.Text(hitsX, y, hits[0], head);
  out.Text(winX, y, "Win", head);
  y += rowH;
  for (int i = 1; i <= rules::kCards; ++i) {
    if (i % 2 == 0) stripe(y);
    out.Text(0, y, labels[i], kCardLabel);
    out.Text(picksX, y, picks[i], RGB(40, 40, 40));
    out.Text(hitsX, y, hits[i], g.cards[i].hitCount >= 1 ? kWinGreen : RGB(60, 60, 60));
    out.Text(winX, y, prizes[i], g.cardWin[i] >= 1 ? kLossRed : RGB(110, 110, 110));
    y += rowH;
  }

  out.Fill(x, top + p.setBandY, w, p.setBandH, kBand);
  out.Text(0, top + p.setTitleY, "THIS SET WIN/LOSS", kTitle);
  out.Text(0, top + p.setSubtitleY, "(per card)", kSubtitle);
  std::vector<std::string> setLabels, nets;
  for (int i = 1; i <= rules::kCards; ++i) {
    setLabels.push_back("Card " + std::to_string(i) + ":");
    nets.push_back(FormatSignedAmount(g.cardNet[i]));
  }
  // Wins and losses end at the right margin, but never start left of column 160.
  std::vector<int64_t> tallyX;
  int64_t netX = after(70, 0, setLabels);
  bool crowded = false;
  for (int i = 1; i <= rules::kCards; ++i) {
    const std::string tally =
        std::to_string(g.cardWinCount[i]) + "W " + std::to_string(g.cardLossCount[i]) + "L";
    tallyX.push_back(std::max<int64_t>(w - 2 * kMargin - out.Width(tally) - 4, 160));
    crowded = crowded || netX + out.Width(nets[i - 1]) + space > tallyX.back();
  }
  // Nets of millions move their column up to the labels, and the tallies up to the margin,
  // rather than run into each other.
  if (crowded) {
    netX = after(0, 0, setLabels);
    for (int64_t& t : tallyX) t = std::max<int64_t>(t + 4, netX);
  }
  y = top + p.setRowsY;
  for (int i = 1; i <= rules::kCards; ++i) {
    if (i % 2 == 0) stripe(y);
    out.Text(0, y, setLabels[i - 1], kCardLabel);
    const int64_t net = g.cardNet[i];
    out.Text(netX, y, nets[i - 1],
             net > 0    ? RGB(20, 100, 20)
             : net == 0 ? RGB(80, 80, 80)
                        : RGB(150, 0, 0));
    const std::string wins = std::to_string(g.cardWinCount[i]) + "W ";
    out.Text(tallyX[i - 1], y, wins, kWinGreen);
    out.Text(tallyX[i - 1] + out.Width(wins), y, std::to_string(g.cardLossCount[i]) + "L",
             kLossRed);
    y += rowH;
  }

  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.SetFrontColor(kSeparator);
  canvas.LineExtent(x + kMargin, top + p.separatorY, w - 24, 1);

  const int64_t totalsX = after(80, 0, {"Wins:", "Costs:", "Profit:", "Runs:"});
  y = top + p.totalsY;
  out.Text(0, y, "Wins:", kWinGreen);
  out.Text(totalsX, y, FormatAmount(g.setWon), kWinGreen);
  y += rowH;
  out.Text(0, y, "Costs:", kLossRed);
  out.Text(totalsX, y, FormatAmount(g.setCost), kLossRed);
  y += rowH;
  const int64_t profit = g.setWon - g.setCost;
  const platform::Color profitColor = profit > 0    ? kWinGreen
                                      : profit == 0 ? RGB(20, 20, 20)
                                                    : kLossRed;
  out.Text(0, y, "Profit:", profitColor);
  out.Text(totalsX, y, FormatSignedAmount(profit), profitColor);
  y += rowH;
  out.Text(0, y, "Runs:", RGB(20, 20, 80));
  out.Text(totalsX, y, std::to_string(g.runs), RGB(20, 20, 80));

  out.Fill(x, top + p.balanceBandY, w, p.bandH, kBand);
  out.Text(0, top + p.balanceBandY + p.bandTitleY, "BALANCE", kTitle);
  out.Text(0, top + p.balanceY, FormatAmount(g.balance), kMoneyGreen);

  out.Fill(x, top + p.lifetimeBandY, w, p.bandH, kBand);
  out.Text(0, top + p.lifetimeBandY + p.bandTitleY, "LIFETIME", kTitle);
  const int64_t lifetimeX = after(90, 0, {"GEN W:", "GEN L:", "CAS W:", "CAS L:"});
  y = top + p.lifetimeY;
  out.Text(0, y, "GEN W:", kWinGreen);
  out.Text(lifetimeX, y, FormatAmount(g.genWon), kMoneyGreen);
  out.Text(0, y + rowH, "GEN L:", kLossRed);
  out.Text(lifetimeX, y + rowH, FormatAmount(g.genBet), kLossRed);
  y = top + p.casY;
  out.Text(0, y, "CAS W:", kWinGreen);
  out.Text(lifetimeX, y, FormatAmount(g.casWon), kMoneyGreen);
  out.Text(0, y + rowH, "CAS L:", kLossRed);
  out.Text(lifetimeX, y + rowH, FormatAmount(g.casBet), kLossRed);

  if (g.progressiveEligible) {
    const NoticeBox& b = p.jackpot;
    out.Fill(x, top + b.y, w, b.h, RGB(40, 30, 10));
    out.Text(0, top + b.titleY, "PROGRESSIVE JACKPOT", kGold);
    out.Text(0, top + b.messageY, FormatAmount(g.progressivePot), kGold);
  }
  if (!message.empty()) {
    // Under the jackpot box when it shows, never over it.
    const NoticeBox& b = g.progressiveEligible ? p.noticeBelow : p.noticeAlone;
    out.Fill(x, top + b.y, w, b.h, RGB(70, 44, 0));
    out.Fill(x, top + b.y, w, 2, kGold);
    out.Text(0, top + b.titleY, g.statusTitle.empty() ? "CONSOLATION" : g.statusTitle, kGold);
    for (std::size_t i = 0; i < message.size(); ++i) {
      out.Text(0, top + b.messageY + static_cast<int64_t>(i) * rowH, message[i],
               RGB(255, 235, 160));
    }
  }
}

}  // namespace render
