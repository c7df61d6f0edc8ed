// The recall-file reader under libFuzzer: any bytes at all, and the same bytes with their checksum
// put right, must read without a crash into either an empty recall or draws inside every range
// the game records, and an accepted file must be exactly the bytes the game would write for those
// draws. Built and run by scripts/run-fuzz.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "rules/game_state.h"
#include "rules/recall.h"

namespace {

void Require(bool ok) {
  if (!ok) __builtin_trap();
}

void RequireInRange(const rules::RecallDraw& d) {
  Require(d.endedAt >= 0 && d.balanceAfter >= 0);
  bool drawn[rules::kNumbers + 1] = {};
  for (int64_t n : d.numbers) {
    Require(n >= 1 && n <= rules::kNumbers && !drawn[n]);
    drawn[n] = true;
  }
  Require(d.cardCount >= 1 && d.cardCount <= rules::kCards);
  for (int64_t i = 0; i < rules::kCards; ++i) {
    const rules::RecallCard& c = d.cards[i];
    if (i >= d.cardCount) {
      Require(c == rules::RecallCard{});
      continue;
    }
    Require(c.card >= 1 && c.card <= rules::kCards);
    Require(i == 0 || c.card > d.cards[i - 1].card);
    int64_t picks = 0, hits = 0;
    Require(c.picked[0] == 0);
    for (int n = 1; n <= rules::kNumbers; ++n) {
      Require(c.picked[n] == 0 || c.picked[n] == 1);
      picks += c.picked[n];
      hits += c.picked[n] && drawn[n] ? 1 : 0;
    }
    Require(picks == c.pickCount && picks >= 1 && picks <= rules::kMaxPicks);
    Require(hits == c.hitCount);
    Require(c.bet >= rules::kMinBet && c.bet <= rules::kMaxBet);
    Require(c.payMode == rules::GENEROUS || c.payMode == rules::CASINO);
    Require(c.tableWin >= 0 && c.progressive >= 0 && c.progressive <= INT32_MAX);
    Require(c.consolation >= 0 && c.consolation <= rules::kConsolationPrize);
  }
}

// One input read as it is.
void Check(std::span<const uint8_t> bytes) {
  rules::Recall recall;
  recall.count = 7;  // a reader that forgets to empty a refused recall shows it
  if (rules::DecodeRecall(bytes, recall) != rules::RecallProblem::kNone) {
    Require(recall.count == 0);
    return;
  }
  Require(recall.count >= 0 && recall.count <= rules::kRecallDraws);
  for (int64_t i = 0; i < recall.count; ++i) RequireInRange(rules::RecalledDraw(recall, i));
  if (bytes.empty()) {
    Require(recall.count == 0);
    return;
  }
  const std::vector<uint8_t> again = rules::EncodeRecall(recall);
  Require(again.size() == bytes.size() && std::equal(again.begin(), again.end(), bytes.begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  Check(bytes);
  // Again with the checksum put right, so that the value checks behind it are reached too.
  if (size >= rules::kRecallHeaderSize) {
    std::vector<uint8_t> sealed(data, data + size);
    const uint32_t crc = rules::Crc32(bytes.subspan(rules::kRecallHeaderSize));
    for (int i = 0; i < 4; ++i) sealed[8 + i] = static_cast<uint8_t>(crc >> (8 * i));
    Check(sealed);
  }
  return 0;
}
