// Secure words scaled to 1..n, with a splitmix64 generator as the fallback. Multiply-and-shift
// scaling needs no division and biases no value by more than n / 2^32.
#include "rules/random.h"

#include <functional>
#include <thread>

namespace rules {
namespace {

constexpr uint64_t kMaxRange = uint64_t{1} << 32;
// A healthy source gives this many repeats in a row with odds near 1e-40 even with 19 of the 80
// numbers taken.
constexpr int kMaxRepeats = 64;

uint64_t SplitMix64(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Maps a 32-bit word onto 1..n; the clamp keeps the promise for any n, however large.
int64_t Scale(uint32_t word, int64_t n) {
  const uint64_t range =
      static_cast<uint64_t>(n) < kMaxRange ? static_cast<uint64_t>(n) : kMaxRange;
  int64_t r = static_cast<int64_t>((word * range) >> 32) + 1;
  if (r < 1) r = 1;
  if (r > n) r = n;
  return r;
}

}  // namespace

void SeedFallbackRandom(GameState& g, uint64_t seed) {
  g.rngState = seed;
  g.rngSeeded = 1;
}

int64_t FallbackRandomNumber(GameState& g, Host& host, int64_t n) {
  if (n <= 1) return 1;
  if (!g.rngSeeded) {
    // Thread identity and the clock differ between runs, which is all the fallback promises.
    const uint64_t thread = std::hash<std::thread::id>{}(std::this_thread::get_id());
    SeedFallbackRandom(g, thread ^ (static_cast<uint64_t>(host.NowMs()) * 0xD6E8FEB86659FD93ull));
  }
  return Scale(static_cast<uint32_t>(SplitMix64(g.rngState) >> 32), n);
}

int64_t RandomNumber(GameState& g, Host& host, int64_t n) {
  if (n <= 1) return 1;
  if (g.secureRandomAvailable) {
    uint32_t word = 0;
    if (host.SecureRandomWord(word)) return Scale(word, n);
  }
  return FallbackRandomNumber(g, host, n);
}

int64_t RandomUnusedNumber(GameState& g, Host& host, const uint8_t (&taken)[kNumbers + 1]) {
  int64_t r = RandomNumber(g, host, kNumbers);
  for (int repeats = 1; taken[r]; ++repeats) {
    r = repeats < kMaxRepeats ? RandomNumber(g, host, kNumbers)
                              : FallbackRandomNumber(g, host, kNumbers);
  }
  return r;
}

}  // namespace rules
