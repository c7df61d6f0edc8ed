// Pick edits by the player and the copy prompt's number reader.
#include "rules/picks.h"

#include <cctype>
#include <limits>

namespace rules {

void NoticeCardLocked(GameState& g, int card, int64_t nowMs) {
  const std::string name = "Card " + std::to_string(card);
  // Under auto-run the card is in play again the moment this draw ends.
  SetStatus(g, "PICKS LOCKED",
            g.autoRun ? "Stop auto-run to change " + name : "Change " + name + " after the draw",
            nowMs);
}

void AddPick(GameState& g, int card, int64_t n) {
  if (card < 1 || card > kCards || n < 1 || n > kNumbers || g.cards[card].picked[n]) return;
  SetPick(g, card, n, true);
  Card& c = g.cards[card];
  if (g.drawn[n]) {
    c.hit[n] = 1;
    c.hitCount += 1;
  }
}

PickEdit TogglePick(GameState& g, int card, int64_t n, int64_t nowMs) {
  if (card < 1 || card > kCards || n < 1 || n > kNumbers) return PickEdit::kIgnored;
  if (CardLocked(g, card)) {
    NoticeCardLocked(g, card, nowMs);
    return PickEdit::kLocked;
  }
  Card& c = g.cards[card];
  if (c.picked[n]) {
    SetPick(g, card, n, false);
    return PickEdit::kChanged;
  }
  if (c.pickCount >= kMaxPicks) return PickEdit::kIgnored;
  AddPick(g, card, n);
  return PickEdit::kChanged;
}

bool CopyPicks(GameState& g, int from, int to, int64_t nowMs) {
  if (from < 1 || from > kCards || to < 1 || to > kCards) return false;
  if (CardLocked(g, to)) {
    NoticeCardLocked(g, to, nowMs);
    return false;
  }
  if (from == to) return true;
  ClearCard(g, to);
  for (int n = 1; n <= kNumbers; ++n) {
    if (g.cards[from].picked[n]) SetPick(g, to, n, true);
  }
  RecountNumberCards(g);
  UpdateProgressiveEligible(g);
  return true;
}

int64_t ParseCardNumber(const std::string& reply) {
  std::size_t i = 0;
  while (i < reply.size() && (reply[i] == ' ' || reply[i] == '\t')) ++i;
  bool negative = false;
  if (i < reply.size() && (reply[i] == '+' || reply[i] == '-')) negative = reply[i++] == '-';
  int base = 10;
  if (i < reply.size() && reply[i] == '$') {
    base = 16;
    ++i;
  } else if (i < reply.size() && reply[i] == '%') {
    base = 2;
    ++i;
  }
  constexpr uint64_t kLimit = std::numeric_limits<int64_t>::max();
  uint64_t value = 0;
  for (; i < reply.size(); ++i) {
    const int c = std::tolower(static_cast<unsigned char>(reply[i]));
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0 || digit >= base) break;
    value = value > (kLimit - digit) / base ? kLimit : value * base + digit;
  }
  const auto magnitude = static_cast<int64_t>(value);
  return negative ? -magnitude : magnitude;
}

}  // namespace rules
