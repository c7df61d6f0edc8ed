// Where the draw's numbers come from: the secure source scaled to 1..n, the fallback generator
// when that source is missing or fails, and the draws those numbers make.
#include "rules/random.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "rules/autopick.h"
#include "rules_fixture.h"

namespace rules_test {
namespace {

using testing_support::FakeHost;

// Pearson's statistic over the numbers 1..80, each expected `expected` times.
double ChiSquare(const int64_t (&counts)[rules::kNumbers + 1], double expected) {
  double chi2 = 0;
  for (int n = 1; n <= rules::kNumbers; ++n) {
    const double diff = static_cast<double>(counts[n]) - expected;
    chi2 += diff * diff / expected;
  }
  return chi2;
}
constexpr double kChiSquare99With79Df = 111.14;

class RandomTest : public RulesTest {
 protected:
  void SetUp() override {
    RulesTest::SetUp();
    g.balance = int64_t{1} << 40;  // no funds box in long runs
    PickRange(1, 1, 10);
  }

  void ExpectTwentyDistinctInRange() {
    std::set<int64_t> seen;
    for (int64_t n : g.drawSequence) {
      EXPECT_GE(n, 1);
      EXPECT_LE(n, rules::kNumbers);
      seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 20u);
  }
};

TEST_F(RandomTest, SecureWordScalesOntoOneToN) {
  g.secureRandomAvailable = 1;
  struct Case {
    uint32_t word;
    int64_t n;
    int64_t expected;
  };
  const Case cases[] = {
      {0u, 80, 1},
      {0xFFFFFFFFu, 80, 80},
      {FakeHost::WordFor(40, 80), 80, 40},
      {FakeHost::WordFor(40, 80) - 1, 80, 39},
      {0x80000000u, 2, 2},
      {0x7FFFFFFFu, 2, 1},
  };
  for (const Case& c : cases) {
    host.scriptedWords.push_back(c.word);
    EXPECT_EQ(rules::RandomNumber(g, host, c.n), c.expected) << std::hex << c.word;
  }
  EXPECT_EQ(g.rngSeeded, 0) << "the fallback generator was used although the source delivered";
}

TEST_F(RandomTest, WithoutSecureSourceTheSourceIsNeverRead) {
  g.secureRandomAvailable = 0;
  host.now = 777;
  for (int i = 0; i < 100; ++i) {
    const int64_t r = rules::RandomNumber(g, host, 80);
    ASSERT_GE(r, 1);
    ASSERT_LE(r, 80);
  }
  EXPECT_EQ(host.secureWordsServed + host.secureReadFailures, 0);
  EXPECT_EQ(g.rngSeeded, 1);
}

// A read that fails mid-run costs that call its secure word, not the draw.
TEST_F(RandomTest, SourceFailingMidDrawFallsBackAndTheDrawStillCompletes) {
  g.secureRandomAvailable = 1;
  host.QueueNumbers({5, 17, 33, 71});
  host.failAfterWords = 4;
  rules::StartDraw(g, host);
  ASSERT_EQ(g.drawInProgress, 1);
  EXPECT_EQ(g.drawSequence[0], 5);
  EXPECT_EQ(g.drawSequence[3], 71);
  EXPECT_GT(host.secureReadFailures, 0);
  EXPECT_EQ(g.rngSeeded, 1);
  ExpectTwentyDistinctInRange();
}

// Each failed read is answered by the fallback generator, exactly as if it had been asked alone.
TEST_F(RandomTest, FailedReadIsServedByTheFallbackForThatCall) {
  g.secureRandomAvailable = 1;
  host.QueueNumbers({5});
  host.failAfterWords = 1;
  rules::SeedFallbackRandom(g, 8);
  rules::GameState reference;
  rules::SeedFallbackRandom(reference, 8);
  EXPECT_EQ(rules::RandomNumber(g, host, 80), 5);
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(rules::RandomNumber(g, host, 80), rules::FallbackRandomNumber(reference, host, 80));
  }
}

// A source that keeps "succeeding" with one word must not hang the draw or the auto-pick.
TEST_F(RandomTest, StuckSourceCannotHangTheDrawOrTheAutoPick) {
  g.secureRandomAvailable = 1;
  host.scriptedWords.assign(100000, FakeHost::WordFor(7, 80));
  rules::StartDraw(g, host);
  ASSERT_EQ(g.drawInProgress, 1);
  ExpectTwentyDistinctInRange();

  rules::SelectTab(g, 2);
  rules::AutoPickRandom(g, host);
  EXPECT_EQ(g.cards[2].pickCount, rules::kDefaultSpotCount);
}

TEST_F(RandomTest, SeededFallbackRepeatsItsDraws) {
  auto draw = [this](uint64_t seed) {
    rules::SeedFallbackRandom(g, seed);
    rules::StartDraw(g, host);
    std::vector<int64_t> sequence(std::begin(g.drawSequence), std::end(g.drawSequence));
    FinishDraw();
    return sequence;
  };
  const auto first = draw(42);
  EXPECT_EQ(draw(42), first);
  EXPECT_NE(draw(43), first);
}

// Every draw, from either source, is 20 distinct numbers in 1..80, and after the reveals exactly
// those numbers are marked drawn.
TEST_F(RandomTest, EveryDrawHasTwentyDistinctNumbers) {
  for (int secure = 0; secure <= 1; ++secure) {
    g.secureRandomAvailable = secure;
    rules::SeedFallbackRandom(g, 7);
    for (int d = 0; d < 2000; ++d) {
      rules::StartDraw(g, host);
      ExpectTwentyDistinctInRange();
      FinishDraw();
      int marked = 0;
      for (int n = 1; n <= rules::kNumbers; ++n) marked += g.drawn[n];
      ASSERT_EQ(marked, 20);
      for (int64_t n : g.drawSequence) ASSERT_EQ(g.drawn[n], 1);
      if (HasFailure()) return;
    }
  }
}

// How often each number is drawn, with the seeded fallback generator, passes chi-square at 99%.
TEST_F(RandomTest, DrawnNumbersAreUniform) {
  g.secureRandomAvailable = 0;
  rules::SeedFallbackRandom(g, 20240601);
  constexpr int kDraws = 20000;
  int64_t counts[rules::kNumbers + 1] = {};
  for (int d = 0; d < kDraws; ++d) {
    rules::StartDraw(g, host);
    for (int64_t n : g.drawSequence) ++counts[n];
    FinishDraw();
  }
  EXPECT_LT(ChiSquare(counts, kDraws * 20.0 / rules::kNumbers), kChiSquare99With79Df);
}

// Reveal order matters too: a sorted or skewed sequence would pass the test above but not this.
TEST_F(RandomTest, FirstBallIsUniform) {
  g.secureRandomAvailable = 0;
  rules::SeedFallbackRandom(g, 99);
  constexpr int kDraws = 16000;
  int64_t counts[rules::kNumbers + 1] = {};
  for (int d = 0; d < kDraws; ++d) {
    rules::StartDraw(g, host);
    ++counts[g.drawSequence[0]];
    FinishDraw();
  }
  EXPECT_LT(ChiSquare(counts, kDraws / static_cast<double>(rules::kNumbers)), kChiSquare99With79Df);
}

}  // namespace
}  // namespace rules_test
