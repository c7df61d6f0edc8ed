// Exact odds checked against the draw played ball by ball, the full-match odds and the pot's share,
// and simulations through the game's rules that must agree with the exact figures.
#include "odds/odds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "rules/paytable.h"

namespace {

// The hit-count distribution of a card built ball by ball: the k-th ball comes from the 80 - k
// numbers still in the drum, of which spots - h are picks not yet hit.
std::vector<long double> BallByBall(int spots) {
  std::vector<long double> p(spots + 1, 0);
  p[0] = 1;
  for (int k = 0; k < 20; ++k) {
    std::vector<long double> next(spots + 1, 0);
    const long double left = 80 - k;
    for (int h = 0; h <= spots; ++h) {
      const long double hit = (spots - h) / left;
      next[h] += p[h] * (1 - hit);
      if (h < spots) next[h + 1] += p[h] * hit;
    }
    p = next;
  }
  return p;
}

rules::GameState Tables() {
  rules::GameState g;
  rules::FillPayTables(g);
  return g;
}

TEST(Binomial, ExactWhereverTheDrawNeedsIt) {
  struct Case {
    int n, k;
    uint64_t value;
  };
  for (const Case& c : {Case{80, 20, 3535316142212174320u}, Case{80, 60, 3535316142212174320u},
                        Case{70, 10, 396704524216u}, Case{68, 8, 7392009768u}, Case{12, 6, 924u},
                        Case{80, 0, 1u}, Case{0, 0, 1u},
                        // Outside 0..n, or too big for 64 bits: none.
                        Case{5, 6, 0u}, Case{5, -1, 0u}, Case{81, 1, 0u}, Case{80, 40, 0u}}) {
    EXPECT_EQ(odds::Binomial(c.n, c.k), c.value) << "C(" << c.n << ", " << c.k << ")";
  }
  EXPECT_EQ(odds::DrawWays(), 3535316142212174320u);
  // Every draw gives a card some hit count, so the ways add up to all draws.
  for (int spots = 0; spots <= 12; ++spots) {
    uint64_t sum = 0;
    for (int h = 0; h <= spots; ++h) sum += odds::HitWays(spots, h);
    EXPECT_EQ(sum, odds::DrawWays()) << spots << " spots";
  }
}

TEST(ExactOdds, AgreeWithTheDrawPlayedBallByBall) {
  const rules::GameState g = Tables();
  for (const auto* table : {&g.payTableGenerous, &g.payTableCasino}) {
    for (int spots = 1; spots <= rules::kMaxPicks; ++spots) {
      SCOPED_TRACE((table == &g.payTableGenerous ? "GENEROUS " : "CASINO ") +
                   std::to_string(spots) + " spots");
      const odds::SpotOdds row = odds::ExactOdds(*table, spots, 0);
      const std::vector<long double> p = BallByBall(spots);
      long double expected = 0;
      for (int h = 0; h <= spots; ++h) {
        EXPECT_NEAR(row.hits[h].probability, p[h], 1e-17L) << h << " hits";
        EXPECT_EQ(row.hits[h].pay, (*table)[spots][h]);
        expected += p[h] * static_cast<long double>((*table)[spots][h]);
      }
      EXPECT_NEAR(row.tableReturn, expected, 1e-15L);
      EXPECT_EQ(row.spots, spots);
    }
  }
}

// A full match of 10 spots comes once in 8,911,711.18 draws (151499090 / 17 exactly); the pot adds
// its size times that chance, and nothing below 10 spots.
TEST(ExactOdds, FullMatchOddsAndThePotsShare) {
  const rules::GameState g = Tables();
  struct Case {
    int spots;
    long double oneIn;
  };
  for (const Case& c : {Case{1, 4.0L}, Case{9, 23471690.0L / 17}, Case{10, 151499090.0L / 17},
                        Case{11, 1060493630.0L / 17}, Case{12, 24391353490.0L / 51}}) {
    SCOPED_TRACE(c.spots);
    const odds::SpotOdds row = odds::ExactOdds(g.payTableGenerous, c.spots, 40000);
    EXPECT_NEAR(row.fullMatchOneIn / c.oneIn, 1.0L, 1e-15L);
    EXPECT_NEAR(row.progressiveReturn, c.spots >= 10 ? 40000 / c.oneIn : 0, 1e-15L);
  }
  EXPECT_EQ(std::llround(odds::ExactOdds(g.payTableCasino, 10, 0).fullMatchOneIn), 8911711);
}

// --- Simulation through the game's rules ---------------------------------------------------------

struct SimCase {
  const char* name;
  int spots;
  int64_t mode;
  uint64_t seed;
};
void PrintTo(const SimCase& c, std::ostream* os) { *os << c.name; }

class SeededSimulation : public ::testing::TestWithParam<SimCase> {};

// A million seeded draws: the return agrees with the exact one inside its 99 % interval, every hit
// count turns up as often as its odds say, and what the table paid adds up from those counts.
TEST_P(SeededSimulation, MillionDrawsAgreeWithTheExactFigures) {
  const SimCase& c = GetParam();
  const rules::GameState g = Tables();
  const rules::PayTable& table = c.mode == rules::GENEROUS ? g.payTableGenerous : g.payTableCasino;
  odds::SimulationOptions options;
  options.draws = 1'000'000;
  options.spots = c.spots;
  options.payMode = c.mode;
  options.seeded = true;
  options.seed = c.seed;

  const odds::SimulationResult r = odds::Simulate(options);

  ASSERT_EQ(r.draws, options.draws);
  EXPECT_FALSE(r.secureSource);
  EXPECT_EQ(r.unexpectedDialogs, 0);
  EXPECT_EQ(r.staked, options.draws) << "one dollar a draw, taken by the game itself";
  const odds::SpotOdds exact = odds::ExactOdds(table, c.spots, 0);
  EXPECT_EQ(r.exactReturn, exact.tableReturn);
  EXPECT_TRUE(r.agrees) << r.meanReturn << " outside " << r.low << ".." << r.high;
  EXPECT_LT(r.low, r.meanReturn);
  EXPECT_GT(r.high, r.meanReturn);

  int64_t counted = 0;
  int64_t paid = 0;
  for (int h = 0; h <= c.spots; ++h) {
    const long double n = static_cast<long double>(r.draws);
    const long double p = exact.hits[h].probability;
    const long double sd = std::sqrt(n * p * (1 - p));
    EXPECT_NEAR(static_cast<long double>(r.hitCounts[h]), n * p, 5 * sd + 1) << h << " hits";
    counted += r.hitCounts[h];
    paid += r.hitCounts[h] * table[c.spots][h];
  }
  EXPECT_EQ(counted, r.draws);
  EXPECT_EQ(paid, r.tableWon);
  EXPECT_EQ(r.meanReturn, static_cast<long double>(r.tableWon) / r.draws);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cards, SeededSimulation,
    ::testing::Values(SimCase{"EightSpotsGenerous", 8, rules::GENEROUS, 2024},
                      SimCase{"FourSpotsCasino", 4, rules::CASINO, 77},
                      SimCase{"TwelveSpotsCasino", 12, rules::CASINO, 9}),
    [](const ::testing::TestParamInfo<SimCase>& info) { return std::string(info.param.name); });
// clang-format on

// Every figure a seeded run reports, apart from its speed.
void ExpectSameFigures(const odds::SimulationResult& a, const odds::SimulationResult& b) {
  EXPECT_EQ(a.draws, b.draws);
  EXPECT_EQ(a.staked, b.staked);
  EXPECT_EQ(a.tableWon, b.tableWon);
  EXPECT_EQ(a.progressiveWins, b.progressiveWins);
  EXPECT_EQ(a.progressiveWon, b.progressiveWon);
  EXPECT_EQ(a.jackpotBoxes, b.jackpotBoxes);
  EXPECT_EQ(a.unexpectedDialogs, b.unexpectedDialogs);
  for (int h = 0; h < rules::kPayTableSize; ++h) EXPECT_EQ(a.hitCounts[h], b.hitCounts[h]) << h;
  EXPECT_EQ(a.meanReturn, b.meanReturn);
  EXPECT_EQ(a.sampleVariance, b.sampleVariance);
  EXPECT_EQ(a.low, b.low);
  EXPECT_EQ(a.high, b.high);
  EXPECT_EQ(a.agrees, b.agrees);
}

// Chunks go to whichever thread is free, so the threads finish them in any order; the figures
// must still be those of one thread, down to the last bit of the interval.
TEST(Simulation, SeededFiguresDoNotDependOnTheThreads) {
  odds::SimulationOptions options;
  options.draws = 10'500;  // ten whole chunks and a half one
  options.chunkDraws = 1'000;
  options.spots = 6;
  options.seeded = true;
  options.seed = 11;
  options.threads = 1;
  const odds::SimulationResult one = odds::Simulate(options);
  ASSERT_EQ(one.draws, options.draws);
  EXPECT_EQ(one.threads, 1);
  EXPECT_GT(one.jackpotBoxes, 0) << "a full match stops no thread's chunk short";
  for (int threads : {2, 3, 16}) {
    SCOPED_TRACE(threads);
    options.threads = threads;
    const odds::SimulationResult r = odds::Simulate(options);
    EXPECT_EQ(r.threads, threads < 11 ? threads : 11) << "no more threads than chunks";
    ExpectSameFigures(one, r);
  }
}

// One long game's pot grows from the first draw until a full match takes it, whichever chunk that
// match falls in; each chunk's own game began at the starting pot. Seed 1984's first 10-spot full
// match is draw 2132, the 133rd of the fifth chunk of 500.
TEST(Simulation, PotRunsOnFromChunkToChunk) {
  odds::SimulationOptions options;
  options.chunkDraws = 500;
  options.spots = 10;
  options.seeded = true;
  options.seed = 1984;
  options.threads = 1;
  options.draws = 2132;
  EXPECT_EQ(odds::Simulate(options).progressiveWins, 0);

  const int64_t due = options.pot + int64_t{rules::kProgressiveIncrement} * 2133;
  for (int threads : {1, 2, 3}) {
    SCOPED_TRACE(threads);
    options.threads = threads;
    options.draws = 2133;
    const odds::SimulationResult atWin = odds::Simulate(options);
    EXPECT_EQ(atWin.progressiveWins, 1);
    EXPECT_EQ(atWin.progressiveWon, due);
    options.draws = 4000;
    const odds::SimulationResult later = odds::Simulate(options);
    EXPECT_EQ(later.progressiveWins, 1);
    EXPECT_EQ(later.progressiveWon, due) << "the chunks after the win pay nothing more";
  }
}

TEST(Simulation, SameSeedSameDrawsAnotherSeedOthers) {
  odds::SimulationOptions options;
  options.draws = 20'000;
  options.seeded = true;
  options.seed = 7;
  const odds::SimulationResult a = odds::Simulate(options);
  const odds::SimulationResult b = odds::Simulate(options);
  options.seed = 8;
  const odds::SimulationResult c = odds::Simulate(options);
  EXPECT_EQ(a.tableWon, b.tableWon);
  bool sameCounts = true;
  bool otherCounts = false;
  for (int h = 0; h <= options.spots; ++h) {
    sameCounts = sameCounts && a.hitCounts[h] == b.hitCounts[h];
    otherCounts = otherCounts || a.hitCounts[h] != c.hitCounts[h];
  }
  EXPECT_TRUE(sameCounts);
  EXPECT_TRUE(otherCounts);
}

// A full match of 5+ spots opens the game's "JACKPOT!" box and stops auto-run; the run goes on.
TEST(Simulation, JackpotBoxesDoNotStopTheRun) {
  odds::SimulationOptions options;
  options.draws = 100'000;
  options.spots = 5;
  options.seeded = true;
  options.seed = 1;
  const odds::SimulationResult r = odds::Simulate(options);
  EXPECT_EQ(r.draws, options.draws);
  EXPECT_GT(r.jackpotBoxes, 0);
  EXPECT_EQ(r.jackpotBoxes, r.hitCounts[5]);
  EXPECT_EQ(r.unexpectedDialogs, 0);
  EXPECT_EQ(r.progressiveWins, 0);
}

// Each thread reads the secure source on its own while the others do.
TEST(Simulation, WithoutASeedTheSecureSourceDraws) {
  odds::SimulationOptions options;
  options.draws = 20'000;
  options.chunkDraws = 1'000;
  options.threads = 2;
  const odds::SimulationResult r = odds::Simulate(options);
  EXPECT_TRUE(r.secureSource);
  EXPECT_FALSE(r.secureSourceFailed);
  EXPECT_EQ(r.threads, 2);
  EXPECT_EQ(r.draws, options.draws);
  EXPECT_EQ(r.staked, options.draws);
  int64_t counted = 0;
  for (int64_t count : r.hitCounts) counted += count;
  EXPECT_EQ(counted, r.draws);
}

}  // namespace
