// The copy prompt's reply reader under libFuzzer: any reply at all must read without a crash to
// the number the standard library's own digit reader finds in it, saturated at 64 bits, and the
// copy that follows must only ever reach cards 1..4. Built and run by scripts/run-fuzz.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "rules/game_state.h"
#include "rules/picks.h"

namespace {

void Require(bool ok) {
  if (!ok) __builtin_trap();
}

constexpr int64_t kLargest = std::numeric_limits<int64_t>::max();

// The same reading done another way: blanks, sign and base prefix by hand, the digits by
// std::from_chars, which stops at the first character that is not a digit of the base.
int64_t Expected(const std::string& reply) {
  const char* p = reply.data();
  const char* const end = p + reply.size();
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  int base = 10;
  if (p < end && *p == '$') {
    base = 16;
    ++p;
  } else if (p < end && *p == '%') {
    base = 2;
    ++p;
  }
  uint64_t value = 0;
  // Unsigned, so a second sign is no digit here either.
  const std::from_chars_result r = std::from_chars(p, end, value, base);
  if (r.ec == std::errc::invalid_argument) value = 0;
  int64_t magnitude = kLargest;
  if (r.ec != std::errc::result_out_of_range && value <= static_cast<uint64_t>(kLargest)) {
    magnitude = static_cast<int64_t>(value);
  }
  return negative ? -magnitude : magnitude;
}

// A game with picks on every card, so a copy that reaches a wrong card shows.
rules::GameState WithPicks() {
  rules::GameState g;
  for (int c = 1; c <= rules::kCards; ++c) {
    for (int n = c; n <= rules::kNumbers; n += 11) rules::SetPick(g, c, n, true);
  }
  rules::RecountNumberCards(g);
  return g;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string reply(reinterpret_cast<const char*>(data), size);
  const int64_t d = rules::ParseCardNumber(reply);
  Require(d == Expected(reply));

  // Whatever follows the digits is ignored ('x' is a digit of no base).
  Require(rules::ParseCardNumber(reply + "x9") == d);

  // The copy prompt's rule: a reply names a card only when it reads as 1..4 (not the source).
  rules::GameState g = WithPicks();
  const rules::GameState before = g;
  constexpr int kSource = 2;
  if (d >= 1 && d <= rules::kCards && d != kSource) {
    Require(rules::CopyPicks(g, kSource, static_cast<int>(d), 0));
    for (int n = 1; n <= rules::kNumbers; ++n) {
      Require(g.cards[d].picked[n] == before.cards[kSource].picked[n]);
    }
    Require(g.cards[d].pickCount == before.cards[kSource].pickCount);
  }
  for (int c = 1; c <= rules::kCards; ++c) {
    if (c == d) continue;
    Require(g.cards[c].pickCount == before.cards[c].pickCount);
  }
  return 0;
}
