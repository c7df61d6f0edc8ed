// Recording finished draws into the recall's ring, and its file image: encoded field by field at
// fixed offsets, decoded with every value checked, so a hand-made or damaged file is refused
// whole rather than shown to the player as something the game did.
#include "rules/recall.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "rules/paytable.h"

namespace rules {
namespace {

// Offsets within one draw and one card slot.
constexpr std::size_t kEndedAt = 0;
constexpr std::size_t kBalanceAfter = 8;
constexpr std::size_t kNumbersAt = 16;
constexpr std::size_t kCardCount = kNumbersAt + kBallsPerDraw;  // 36
constexpr std::size_t kCardsAt = kCardCount + 1;                // 37
static_assert(kCardsAt + kCards * kRecallCardSize == kRecallDrawSize);

constexpr std::size_t kCardNumber = 0;
constexpr std::size_t kPickCount = 1;
constexpr std::size_t kPicksAt = 2;
constexpr std::size_t kHitCount = kPicksAt + kMaxPicks;  // 14
constexpr std::size_t kBet = 15;
constexpr std::size_t kPayMode = 16;
constexpr std::size_t kTableWin = 17;
constexpr std::size_t kProgressive = 25;
constexpr std::size_t kConsolation = 33;
static_assert(kConsolation + 8 == kRecallCardSize);

constexpr std::size_t kCountAt = kRecallHeaderSize;
constexpr std::size_t kDrawsAt = kCountAt + kRecallCountSize;

void PutLe(uint8_t* out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t GetLe(const uint8_t* in, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
  return value;
}

int64_t GetI64(const uint8_t* in) { return static_cast<int64_t>(GetLe(in, 8)); }

// A small field out of its byte's range is written as 255, which no reader accepts, rather than
// wrapped into a value that looks right.
uint8_t Byte(int64_t value) { return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255)); }

// The file lists a card's picks in ascending order, zero-filled to twelve.
void EncodeCard(const RecallCard& c, uint8_t* out) {
  out[kCardNumber] = Byte(c.card);
  out[kPickCount] = Byte(c.pickCount);
  int listed = 0;
  for (int n = 1; n <= kNumbers && listed < kMaxPicks; ++n) {
    if (c.picked[n]) out[kPicksAt + listed++] = static_cast<uint8_t>(n);
  }
  out[kHitCount] = Byte(c.hitCount);
  out[kBet] = Byte(c.bet);
  out[kPayMode] = Byte(c.payMode);
  PutLe(out + kTableWin, static_cast<uint64_t>(c.tableWin), 8);
  PutLe(out + kProgressive, static_cast<uint64_t>(c.progressive), 8);
  PutLe(out + kConsolation, static_cast<uint64_t>(c.consolation), 8);
}

void EncodeDraw(const RecallDraw& d, uint8_t* out) {
  PutLe(out + kEndedAt, static_cast<uint64_t>(d.endedAt), 8);
  PutLe(out + kBalanceAfter, static_cast<uint64_t>(d.balanceAfter), 8);
  for (int i = 0; i < kBallsPerDraw; ++i) out[kNumbersAt + i] = Byte(d.numbers[i]);
  out[kCardCount] = Byte(d.cardCount);
  const int64_t cards = std::clamp<int64_t>(d.cardCount, 0, kCards);
  for (int64_t i = 0; i < cards; ++i) EncodeCard(d.cards[i], out + kCardsAt + i * kRecallCardSize);
}

bool InRange(int64_t value, int64_t lo, int64_t hi) { return value >= lo && value <= hi; }

// One card slot in use; `drawn` flags the draw's numbers.
bool DecodeCard(const uint8_t* in, const bool (&drawn)[kNumbers + 1], RecallCard& c) {
  c.card = in[kCardNumber];
  c.pickCount = in[kPickCount];
  c.hitCount = in[kHitCount];
  c.bet = in[kBet];
  c.payMode = in[kPayMode];
  c.tableWin = GetI64(in + kTableWin);
  c.progressive = GetI64(in + kProgressive);
  c.consolation = GetI64(in + kConsolation);
  if (!InRange(c.card, 1, kCards) || !InRange(c.pickCount, 1, kMaxPicks) ||
      !InRange(c.bet, kMinBet, kMaxBet) || (c.payMode != GENEROUS && c.payMode != CASINO) ||
      c.tableWin < 0 || !InRange(c.progressive, 0, std::numeric_limits<int32_t>::max()) ||
      !InRange(c.consolation, 0, kConsolationPrize)) {
    return false;
  }
  int64_t hits = 0;
  int last = 0;
  for (int i = 0; i < kMaxPicks; ++i) {
    const uint8_t n = in[kPicksAt + i];
    if (i >= c.pickCount) {
      if (n != 0) return false;
      continue;
    }
    // Ascending, as the game lists them, so each pick appears once.
    if (n <= last || n > kNumbers) return false;
    last = n;
    c.picked[n] = 1;
    hits += drawn[n] ? 1 : 0;
  }
  return c.hitCount == hits;
}

bool DecodeDraw(const uint8_t* in, RecallDraw& d) {
  d.endedAt = GetI64(in + kEndedAt);
  d.balanceAfter = GetI64(in + kBalanceAfter);
  if (d.endedAt < 0 || d.balanceAfter < 0) return false;
  bool drawn[kNumbers + 1] = {};
  for (int i = 0; i < kBallsPerDraw; ++i) {
    const uint8_t n = in[kNumbersAt + i];
    if (n < 1 || n > kNumbers || drawn[n]) return false;
    drawn[n] = true;
    d.numbers[i] = n;
  }
  d.cardCount = in[kCardCount];
  if (!InRange(d.cardCount, 1, kCards)) return false;
  for (int64_t i = 0; i < kCards; ++i) {
    const uint8_t* slot = in + kCardsAt + i * kRecallCardSize;
    if (i >= d.cardCount) {
      // Unused slots are zero, so every accepted file is exactly what the game would write.
      if (std::any_of(slot, slot + kRecallCardSize, [](uint8_t b) { return b != 0; })) {
        return false;
      }
      continue;
    }
    if (!DecodeCard(slot, drawn, d.cards[i])) return false;
    if (i > 0 && d.cards[i].card <= d.cards[i - 1].card) return false;
  }
  return true;
}

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

void RecordDraw(const GameState& g, Recall& recall, int64_t endedAt) {
  // Written field by field over the slot's old draw rather than cleared first: the odds
  // program's simulation records millions of draws a second.
  RecallDraw& d = recall.slots[recall.next];
  const int64_t oldCards = d.cardCount;
  d.endedAt = endedAt;
  static_assert(sizeof d.numbers == sizeof g.drawSequence);
  std::memcpy(d.numbers, g.drawSequence, sizeof d.numbers);

  // The pot is paid once; the highest-numbered full match of 10+ spots took it.
  int progressiveCard = 0;
  for (int c = 1; c <= kCards && g.progressivePaid > 0; ++c) {
    const int64_t spots = PlayingSpots(g, c);
    if (spots >= kProgressiveMinSpots && g.cards[c].hitCount == spots) progressiveCard = c;
  }

  const int64_t mode = g.stakeMode == GENEROUS ? GENEROUS : CASINO;
  d.cardCount = 0;
  for (int c = 1; c <= kCards; ++c) {
    const int64_t spots = PlayingSpots(g, c);
    if (spots < 1) continue;  // sat the draw out
    const Card& card = g.cards[c];
    RecallCard& r = d.cards[d.cardCount++];
    r.card = c;
    std::memcpy(r.picked, card.picked, sizeof r.picked);
    r.pickCount = spots;
    r.hitCount = card.hitCount;
    r.bet = g.stakeBet;
    r.payMode = mode;
    r.tableWin = PayoutAt(g, mode, g.stakeBet, spots, card.hitCount);
    // cardWin holds the table's win and any consolation share on top of it.
    r.consolation = g.cardWin[c] - r.tableWin;
    r.progressive = c == progressiveCard ? g.progressivePaid : 0;
  }
  // Slots the old draw used and this one does not go back to empty.
  for (int64_t i = d.cardCount; i < oldCards; ++i) d.cards[i] = RecallCard{};
  d.balanceAfter = g.balance;

  if (++recall.next == kRecallDraws) recall.next = 0;
  if (recall.count < kRecallDraws) recall.count += 1;
}

const RecallDraw& RecalledDraw(const Recall& recall, int64_t i) {
  return recall.slots[(recall.next - 1 - i + 2 * kRecallDraws) % kRecallDraws];
}

const char* RecallProblemText(RecallProblem problem) {
  switch (problem) {
    case RecallProblem::kNone:
      return "accepted";
    case RecallProblem::kShort:
      return "too short";
    case RecallProblem::kLong:
      return "too long";
    case RecallProblem::kBadMagic:
      return "not a recall file";
    case RecallProblem::kBadVersion:
      return "a version this game does not read";
    case RecallProblem::kBadChecksum:
      return "damaged: its checksum does not match";
    case RecallProblem::kBadValue:
      return "holds a value the game cannot have recorded";
  }
  return "refused";
}

std::vector<uint8_t> EncodeRecall(const Recall& recall) {
  const int64_t count = std::clamp<int64_t>(recall.count, 0, kRecallDraws);
  std::vector<uint8_t> bytes(kDrawsAt + static_cast<std::size_t>(count) * kRecallDrawSize, 0);
  PutLe(&bytes[0], kRecallMagic, 4);
  PutLe(&bytes[4], kRecallVersion, 4);
  PutLe(&bytes[kCountAt], static_cast<uint64_t>(count), 4);
  for (int64_t i = 0; i < count; ++i) {
    EncodeDraw(RecalledDraw(recall, i), &bytes[kDrawsAt + i * kRecallDrawSize]);
  }
  const std::span<const uint8_t> body(bytes.begin() + kRecallHeaderSize, bytes.end());
  PutLe(&bytes[8], Crc32(body), 4);
  return bytes;
}

RecallProblem DecodeRecall(std::span<const uint8_t> bytes, Recall& recall) {
  recall = Recall{};
  if (bytes.empty()) return RecallProblem::kNone;
  if (bytes.size() < kDrawsAt) return RecallProblem::kShort;
  if (GetLe(&bytes[0], 4) != kRecallMagic) return RecallProblem::kBadMagic;
  if (GetLe(&bytes[4], 4) != kRecallVersion) return RecallProblem::kBadVersion;
  const uint64_t count = GetLe(&bytes[kCountAt], 4);
  if (count > kRecallDraws) return RecallProblem::kBadValue;
  const std::size_t size = kDrawsAt + count * kRecallDrawSize;
  if (bytes.size() < size) return RecallProblem::kShort;
  if (bytes.size() > size) return RecallProblem::kLong;
  if (Crc32(bytes.subspan(kRecallHeaderSize)) != GetLe(&bytes[8], 4)) {
    return RecallProblem::kBadChecksum;
  }
  Recall read;
  // The file holds the newest first; the ring's newest is the slot before `next`.
  for (uint64_t i = 0; i < count; ++i) {
    RecallDraw& d = read.slots[count - 1 - i];
    if (!DecodeDraw(&bytes[kDrawsAt + i * kRecallDrawSize], d)) return RecallProblem::kBadValue;
  }
  read.count = static_cast<int64_t>(count);
  read.next = read.count % kRecallDraws;
  recall = read;
  return RecallProblem::kNone;
}

uint32_t Crc32(std::span<const uint8_t> bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

}  // namespace rules
