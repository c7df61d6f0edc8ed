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

TEST(Simulation, WithoutASeedTheSecureSourceDraws) {
  odds::SimulationOptions options;
  options.draws = 10'000;
  const odds::SimulationResult r = odds::Simulate(options);
  EXPECT_TRUE(r.secureSource);
  EXPECT_FALSE(r.secureSourceFailed);
  EXPECT_EQ(r.draws, options.draws);
  int64_t counted = 0;
  for (int64_t count : r.hitCounts) counted += count;
  EXPECT_EQ(counted, r.draws);
}

}  // namespace
