// The recall page: title band with the page indicator, when and balance, the drawn numbers in two
// rows of ten cells, one block a card, and the footer; every row's boxes before its texts, in a
// size chosen to fit the widest page the grid can be asked to hold.
#include "controls/recall_overlay.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "controls/font_fit.h"
#include "rules/recall.h"
#include "rules/text.h"

namespace controls {
namespace {

using platform::Canvas;
using platform::Color;
using platform::DrawMode;
using platform::RGB;

using rules::Joined;

constexpr Color kPanel = RGB(14, 26, 38);
constexpr Color kBorder = RGB(90, 200, 220);
constexpr Color kBand = RGB(22, 62, 82);
constexpr Color kTitle = RGB(255, 255, 255);
constexpr Color kPageColor = RGB(150, 230, 245);
constexpr Color kText = RGB(220, 228, 236);
constexpr Color kLabel = RGB(140, 170, 190);
constexpr Color kCardColor = RGB(255, 215, 0);
constexpr Color kBallCell = RGB(150, 20, 20);  // the drawn cells' red, darker under small text
constexpr Color kPickCell = RGB(40, 50, 90);
constexpr Color kHitCell = RGB(40, 150, 60);
constexpr Color kWinColor = RGB(120, 255, 120);
constexpr Color kNoWinColor = RGB(150, 160, 175);
constexpr Color kCardStripe = RGB(20, 36, 52);
constexpr int64_t kInset = 14;
constexpr int64_t kBorderW = 2;
constexpr int64_t kCellGap = 3;
// Title band, when, two rows of drawn numbers, three rows for each of four cards, footer.
constexpr int64_t kRows = 1 + 1 + 2 + 3 * rules::kCards + 1;
// Band padding 8, footer padding 4, 4 under the band, 6 under the numbers, 6 under each card.
constexpr int64_t kFixed = 8 + 4 + 4 + 6 + 6 * rules::kCards;

constexpr const char* kTitleText = "Recalled draws";
constexpr const char* kDrawnLabel = "Drawn";
constexpr const char* kPicksLabel = "Picks";
constexpr const char* kFooter =
    "Left/Right key or half: newer/older draw.  Click outside to close.";
constexpr const char* kEmptyText = "No finished draws to recall yet.";
constexpr const char* kEmptyFooter = "Click anywhere to close.";
constexpr const char* kCellWidest = "88";

double Width(Canvas& canvas, const std::string& text) { return std::round(canvas.TextWidth(text)); }

const char* ModeName(int64_t mode) { return mode == rules::CASINO ? "CASINO" : "GENEROUS"; }

std::string HitsText(int64_t hits) { return Joined("", hits, hits == 1 ? " hit" : " hits"); }

std::string BalanceText(int64_t balance) {
  return balance < 0 ? Joined("Balance after: -$", -balance) : Joined("Balance after: $", balance);
}

// The cells' geometry in the font on the canvas.
struct Cells {
  int64_t w = 0, pitch = 0, labelW = 0;
};
Cells CellsIn(Canvas& canvas) {
  Cells c;
  const int64_t space = std::lround(Width(canvas, " "));
  c.w = std::lround(Width(canvas, kCellWidest)) + space + 6;
  c.pitch = c.w + kCellGap;
  c.labelW =
      std::lround(std::max(Width(canvas, kDrawnLabel), Width(canvas, kPicksLabel))) + 2 * space;
  return c;
}

// The widest card and result the recall can hold.
rules::RecallCard WidestCard(int64_t progressive, int64_t consolation) {
  rules::RecallCard c;
  c.card = rules::kCards;
  c.pickCount = rules::kMaxPicks;
  c.hitCount = rules::kMaxPicks;
  c.bet = rules::kMaxBet;
  c.payMode = rules::GENEROUS;
  c.tableWin = 9'999'999'999;
  c.progressive = progressive;
  c.consolation = consolation;
  return c;
}

bool PairFits(Canvas& canvas, const std::string& left, const std::string& right, int64_t room) {
  return Width(canvas, left) + Width(canvas, " ") + Width(canvas, right) <=
         static_cast<double>(room);
}

bool PageFits(Canvas& canvas, platform::Font* font, int64_t pw, int64_t ph) {
  canvas.SetFont(font);
  const int64_t th = std::lround(canvas.TextHeight("A"));
  const RecallMetrics m = RecallMetricsFor(ph, th);
  if (m.endY > ph - m.footH || th + 4 > m.footH) return false;
  const int64_t room = pw - 2 * kInset;
  const Cells cells = CellsIn(canvas);
  if (cells.labelW + rules::kMaxPicks * cells.pitch > room) return false;
  if (!PairFits(canvas, kTitleText, RecallPageText(rules::kRecallDraws - 1, rules::kRecallDraws),
                room)) {
    return false;
  }
  if (!PairFits(canvas, "Ended 2088-08-28 28:28:28", BalanceText(-99'999'999'999), room)) {
    return false;
  }
  const rules::RecallCard widest[] = {WidestCard(2'147'483'647, 0), WidestCard(0, 99'999)};
  for (const rules::RecallCard& c : widest) {
    if (!PairFits(canvas, RecallCardText(c), HitsText(c.hitCount), room)) return false;
    if (Width(canvas, RecallResultText(c)) > static_cast<double>(room)) return false;
  }
  for (const char* text : {kFooter, kEmptyText, kEmptyFooter}) {
    if (Width(canvas, text) > static_cast<double>(room)) return false;
  }
  return true;
}

// Text top for a row at y of height h.
double TextTop(int64_t y, int64_t h, int64_t th) { return static_cast<double>(y + (h - th) / 2); }

void DrawCells(Canvas& canvas, int64_t x, int64_t y, int64_t h, const Cells& cells,
               const std::vector<std::pair<int64_t, Color>>& numbers, int64_t th) {
  canvas.SetDrawingMode(DrawMode::Opaque);
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    canvas.Box(x + static_cast<int64_t>(i) * cells.pitch, y + 1, cells.w, h - 2, numbers[i].second);
  }
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kTitle);
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const std::string text = std::to_string(numbers[i].first);
    const double left = static_cast<double>(x + static_cast<int64_t>(i) * cells.pitch) +
                        (static_cast<double>(cells.w) - Width(canvas, text)) / 2;
    canvas.DrawText(left, TextTop(y, h, th), text);
  }
}

void DrawCard(Canvas& canvas, const rules::RecallDraw& d, const rules::RecallCard& c,
              const RecallMetrics& m, const Cells& cells, int64_t px, int64_t pw, int64_t y,
              int64_t th) {
  const int64_t left = px + kInset, right = px + pw - kInset;
  bool drawn[rules::kNumbers + 1] = {};
  for (int64_t n : d.numbers) {
    if (n >= 1 && n <= rules::kNumbers) drawn[n] = true;
  }
  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px + kBorderW, y, pw - 2 * kBorderW, m.lineH, kCardStripe);
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kCardColor);
  canvas.DrawText(static_cast<double>(left), TextTop(y, m.lineH, th), RecallCardText(c));
  const std::string hits = HitsText(c.hitCount);
  canvas.SetFrontColor(c.hitCount > 0 ? kWinColor : kNoWinColor);
  canvas.DrawText(static_cast<double>(right) - Width(canvas, hits), TextTop(y, m.lineH, th), hits);

  const int64_t picksY = y + m.lineH;
  canvas.SetFrontColor(kLabel);
  canvas.DrawText(static_cast<double>(left), TextTop(picksY, m.lineH, th), kPicksLabel);
  std::vector<std::pair<int64_t, Color>> picks;
  for (int n = 1; n <= rules::kNumbers; ++n) {
    if (c.picked[n]) picks.emplace_back(n, drawn[n] ? kHitCell : kPickCell);
  }
  DrawCells(canvas, left + cells.labelW, picksY, m.lineH, cells, picks, th);

  const int64_t resultY = y + 2 * m.lineH;
  const bool paid = c.tableWin + c.progressive + c.consolation > 0;
  canvas.SetFrontColor(paid ? kWinColor : kNoWinColor);
  canvas.DrawText(static_cast<double>(left), TextTop(resultY, m.lineH, th), RecallResultText(c));
}

}  // namespace

RecallMetrics RecallMetricsFor(int64_t panelHeight, int64_t th) {
  RecallMetrics m;
  // Rows no closer than their text needs, no further apart than twice its height.
  const int64_t shared = (panelHeight - kFixed) / kRows;
  m.lineH = std::max(std::clamp<int64_t>(shared, 14, std::max<int64_t>(2 * th, 14)), th + 4);
  m.bandH = m.lineH + 8;
  m.footH = m.lineH + 4;
  m.whenY = m.bandH + 4;
  m.drawnY = m.whenY + m.lineH;
  m.cardsY = m.drawnY + 2 * m.lineH + 6;
  m.cardH = 3 * m.lineH + 6;
  m.endY = m.cardsY + rules::kCards * m.cardH - 6;
  return m;
}

std::string RecallWhenText(int64_t unixSeconds) {
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm local{};
  char text[32] = {};
  if (localtime_r(&t, &local) == nullptr ||
      std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local) == 0) {
    return "Ended at an unknown time";
  }
  return std::string("Ended ") + text;
}

std::string RecallPageText(int64_t page, int64_t count) {
  return Joined("Draw ", page + 1, "") + Joined(" of ", count, "");
}

std::string RecallCardText(const rules::RecallCard& card) {
  return Joined("Card ", card.card, ": ") + Joined("", card.pickCount, " spots, ") +
         Joined("$", card.bet, " a card, ") + ModeName(card.payMode);
}

std::string RecallResultText(const rules::RecallCard& card) {
  std::string text = Joined("Won $", card.tableWin, "");
  if (card.progressive > 0) text += Joined("  +  jackpot $", card.progressive, "");
  if (card.consolation > 0) text += Joined("  +  consolation $", card.consolation, "");
  return text;
}

void FitRecallFont(Canvas& canvas, render::Fonts& fonts, const render::Rect& panel,
                   std::vector<platform::Font*>& refused) {
  FitRegularFont(canvas, fonts.points.overlay, fonts.recallFont, refused,
                 [&](platform::Font* font) { return PageFits(canvas, font, panel.w, panel.h); });
}

void DrawRecallOverlay(Canvas& canvas, const render::BoardView& view) {
  if (!view.recallOverlayOpen) return;
  const rules::Recall& recall = view.state.recall;
  const render::Rect& panel = view.layout.grid;
  const int64_t px = panel.x, py = panel.y, pw = panel.w, ph = panel.h;
  canvas.SetFont(view.fonts.recallFont != nullptr ? view.fonts.recallFont : view.fonts.overlayFont);
  const int64_t th = std::lround(canvas.TextHeight("A"));
  const RecallMetrics m = RecallMetricsFor(ph, th);
  const int64_t left = px + kInset, right = px + pw - kInset;

  canvas.SetDrawingMode(DrawMode::Opaque);
  canvas.Box(px, py, pw, ph, kPanel);
  canvas.SetFrontColor(kBorder);
  canvas.Box(px, py, pw, kBorderW);
  canvas.Box(px, py + ph - kBorderW, pw, kBorderW);
  canvas.Box(px, py, kBorderW, ph);
  canvas.Box(px + pw - kBorderW, py, kBorderW, ph);
  canvas.Box(px, py, pw, m.bandH, kBand);
  canvas.Box(px, py + ph - m.footH, pw, m.footH, kBand);

  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(kTitle);
  canvas.DrawText(static_cast<double>(left), TextTop(py, m.bandH, th), kTitleText);
  const bool empty = recall.count <= 0;
  canvas.SetFrontColor(kLabel);
  canvas.DrawText(static_cast<double>(left), TextTop(py + ph - m.footH, m.footH, th),
                  empty ? kEmptyFooter : kFooter);
  if (empty) {
    canvas.SetFrontColor(kText);
    canvas.DrawText(static_cast<double>(left), TextTop(py + m.whenY, m.lineH, th), kEmptyText);
    return;
  }

  const int64_t page = std::clamp<int64_t>(view.recallPage, 0, recall.count - 1);
  const rules::RecallDraw& d = rules::RecalledDraw(recall, page);
  const std::string pageText = RecallPageText(page, recall.count);
  canvas.SetFrontColor(kPageColor);
  canvas.DrawText(static_cast<double>(right) - Width(canvas, pageText), TextTop(py, m.bandH, th),
                  pageText);

  const int64_t whenY = py + m.whenY;
  canvas.SetFrontColor(kText);
  canvas.DrawText(static_cast<double>(left), TextTop(whenY, m.lineH, th),
                  RecallWhenText(d.endedAt));
  const std::string balance = BalanceText(d.balanceAfter);
  canvas.DrawText(static_cast<double>(right) - Width(canvas, balance), TextTop(whenY, m.lineH, th),
                  balance);

  const Cells cells = CellsIn(canvas);
  const int64_t drawnY = py + m.drawnY;
  canvas.SetFrontColor(kLabel);
  canvas.DrawText(static_cast<double>(left), TextTop(drawnY, m.lineH, th), kDrawnLabel);
  for (int row = 0; row < 2; ++row) {
    std::vector<std::pair<int64_t, Color>> numbers;
    for (int i = 0; i < rules::kBallsPerDraw / 2; ++i) {
      numbers.emplace_back(d.numbers[row * rules::kBallsPerDraw / 2 + i], kBallCell);
    }
    DrawCells(canvas, left + cells.labelW, drawnY + row * m.lineH, m.lineH, cells, numbers, th);
  }

  const int64_t cards = std::clamp<int64_t>(d.cardCount, 0, rules::kCards);
  for (int64_t k = 0; k < cards; ++k) {
    DrawCard(canvas, d, d.cards[k], m, cells, px, pw, py + m.cardsY + k * m.cardH, th);
  }
}

}  // namespace controls
