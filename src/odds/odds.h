// What a pay table really returns: exact odds of every hit count of the 20-from-80 draw, and a
// simulation that plays whole draws through the game's own rules on a fake clock.
// Reads pay tables and runs a private game record; never touches the player's game or save file.
#pragma once

#include <cstdint>

#include "rules/game_state.h"

namespace odds {

constexpr int32_t kDefaultPot = rules::kProgressiveSeed;
constexpr int kDefaultSimulatedSpots = rules::kDefaultSpotCount;
constexpr long double kZ99 = 2.575829303548900384L;  // two-sided 99 % normal quantile

// C(n, k) exactly, for n up to 80 with k or n - k at most 20 (every figure of the draw fits in 64
// bits); 0 when k is outside 0..n or the pair is outside that range.
uint64_t Binomial(int n, int k);

// Ways the 20 balls can fall so that a card of `spots` picks catches `hits` of them.
uint64_t HitWays(int spots, int hits);

// Every way 20 balls can be drawn from 80: C(80, 20).
uint64_t DrawWays();

struct HitOdds {
  uint64_t ways = 0;            // draws giving this hit count
  long double probability = 0;  // ways / DrawWays()
  int64_t pay = 0;              // table entry, dollars for $1
};

struct SpotOdds {
  int spots = 0;                            // 1..12
  HitOdds hits[rules::kPayTableSize] = {};  // [0..spots]
  long double tableReturn = 0;              // expected dollars back per $1 staked
  long double fullMatchOneIn = 0;           // a full match comes once in this many draws
  long double progressiveReturn = 0;        // pot x P(full match) per $1; 0 below 10 spots
};

// Exact odds and return of one row of `table`, with the progressive pot at `pot` dollars.
SpotOdds ExactOdds(const rules::PayTable& table, int spots, int64_t pot);

// Draws per chunk. Each chunk is a game of its own with a generator seeded from the seed and the
// chunk's number, so a seeded run gives the same figures whatever thread plays which chunk.
constexpr int64_t kChunkDraws = int64_t{1} << 16;

struct SimulationOptions {
  int64_t draws = 0;
  int spots = kDefaultSimulatedSpots;  // picks on the one playing card, 1..12
  int64_t payMode = rules::GENEROUS;
  bool seeded = false;  // true: the seeded general-purpose generator
  uint64_t seed = 0;
  int32_t pot = kDefaultPot;         // progressive pot at the first draw
  int threads = 0;                   // threads that play chunks; 0: one per core
  int64_t chunkDraws = kChunkDraws;  // the tool keeps the default; tests use smaller ones
};

struct SimulationResult {
  int64_t draws = 0;                // complete draws played
  bool secureSource = false;        // the draws came from the system's secure source
  bool secureSourceFailed = false;  // it was wanted but would not open: the generator served
  int64_t staked = 0;               // dollars bet, from the game's own lifetime figures
  int64_t tableWon = 0;             // dollars paid by the pay table
  int64_t progressiveWins = 0;
  int64_t progressiveWon = 0;     // dollars paid by the pot, beside the table
  int64_t jackpotBoxes = 0;       // full matches of 5+ spots that stopped the game for a box
  int64_t unexpectedDialogs = 0;  // any other box (none should open)
  int64_t hitCounts[rules::kPayTableSize] = {};  // draws per hit count
  long double meanReturn = 0;                    // table dollars back per $1, over the draws
  long double sampleVariance = 0;                // of the per-draw return
  long double low = 0, high = 0;                 // 99 % confidence interval of the mean
  long double exactReturn = 0;                   // the table's exact return, for comparison
  bool agrees = false;                           // exactReturn lies inside [low, high]
  int threads = 0;                               // threads that played, at most one per chunk
  double seconds = 0;                            // wall time of the draws alone
};

// Plays options.draws complete draws of one card holding the numbers 1..spots, at the lowest bet,
// with no waiting. The balance is kept topped up so no out-of-funds box can open. The pot runs on
// from chunk to chunk as in one long game, so what it pays does not depend on the chunks either.
SimulationResult Simulate(const SimulationOptions& options);

}  // namespace odds
