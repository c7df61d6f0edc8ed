// Pay tables: the entries players see most and those easiest to mistype, mode switching, and
// lookups off the table.
#include "rules/paytable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rules_fixture.h"

namespace rules_test {
namespace {

using rules::CASINO;
using rules::GENEROUS;

struct PayoutCase {
  int64_t mode;
  int64_t spots;
  int64_t hits;
  int64_t bet;
  int64_t expected;
};
void PrintTo(const PayoutCase& c, std::ostream* os) {
  *os << (c.mode == CASINO ? "CASINO " : "GENEROUS ") << c.spots << " spots " << c.hits
      << " hits at $" << c.bet;
}

class PayoutLookup : public RulesTest, public ::testing::WithParamInterface<PayoutCase> {};

TEST_P(PayoutLookup, PaysEntryTimesBet) {
  const PayoutCase& c = GetParam();
  g.payMode = c.mode;
  g.betPerCard = c.bet;
  rules::RefreshActivePayTable(g);
  EXPECT_EQ(rules::LookupPayout(g, c.spots, c.hits), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Entries, PayoutLookup,
    ::testing::Values(
        PayoutCase{GENEROUS, 1, 1, 1, 3}, PayoutCase{CASINO, 1, 1, 1, 3},
        PayoutCase{GENEROUS, 1, 0, 1, 0}, PayoutCase{CASINO, 1, 0, 1, 0},
        PayoutCase{GENEROUS, 3, 2, 5, 10}, PayoutCase{CASINO, 3, 2, 5, 5},
        PayoutCase{GENEROUS, 12, 12, 1, 1000000}, PayoutCase{CASINO, 12, 12, 1, 150000},
        PayoutCase{GENEROUS, 12, 12, 10, 10000000}, PayoutCase{CASINO, 10, 7, 1, 132},
        PayoutCase{GENEROUS, 4, 4, 2, 200}, PayoutCase{CASINO, 4, 4, 1, 120},
        PayoutCase{CASINO, 5, 5, 1, 750}, PayoutCase{GENEROUS, 8, 3, 1, 0},
        // Off the table: no spots, too many spots, negative or impossible hit counts.
        PayoutCase{GENEROUS, 0, 0, 1, 0}, PayoutCase{GENEROUS, 13, 1, 1, 0},
        PayoutCase{GENEROUS, -1, 0, 1, 0}, PayoutCase{GENEROUS, 3, -1, 1, 0},
        PayoutCase{GENEROUS, 2, 3, 1, 0}, PayoutCase{CASINO, 11, 12, 10, 0}),
    [](const ::testing::TestParamInfo<PayoutCase>& info) {
      const PayoutCase& c = info.param;
      auto number = [](int64_t v) { return (v < 0 ? "Minus" : "") + std::to_string(v < 0 ? -v : v); };
      return std::string(c.mode == CASINO ? "Casino" : "Generous") + number(c.spots) + "Spots" +
             number(c.hits) + "HitsBet" + number(c.bet);
    });
// clang-format on

// The shape of both tables: nothing pays for 0 hits or for more hits than spots, CASINO pays the
// same or less everywhere except 4 of 4 and 5 of 5, and the top of each row is its largest prize.
TEST_F(RulesTest, TablesKeepTheirShape) {
  for (int spots = 0; spots < rules::kPayTableSize; ++spots) {
    for (int hits = 0; hits < rules::kPayTableSize; ++hits) {
      const int64_t gen = g.payTableGenerous[spots][hits];
      const int64_t cas = g.payTableCasino[spots][hits];
      if (spots == 0 || hits == 0 || hits > spots) {
        EXPECT_EQ(gen, 0) << spots << "/" << hits;
        EXPECT_EQ(cas, 0) << spots << "/" << hits;
        continue;
      }
      const bool casinoPaysMore = (spots == 4 && hits == 4) || (spots == 5 && hits == 5);
      if (casinoPaysMore) {
        EXPECT_GT(cas, gen) << spots << "/" << hits;
      } else {
        EXPECT_LE(cas, gen) << spots << "/" << hits;
      }
      EXPECT_LE(gen, g.payTableGenerous[spots][spots]) << spots << "/" << hits;
      EXPECT_LE(cas, g.payTableCasino[spots][spots]) << spots << "/" << hits;
    }
  }
}

TEST_F(RulesTest, ToggleModeSwapsTheActiveTableAndAsksForASave) {
  rules::ToggleMode(g, 1234);
  EXPECT_EQ(g.payMode, CASINO);
  EXPECT_EQ(std::memcmp(g.payTableActive, g.payTableCasino, sizeof g.payTableActive), 0);
  EXPECT_EQ(g.savePending, 1);
  EXPECT_EQ(g.saveRequestTime, 1234);

  rules::ToggleMode(g, 2000);
  EXPECT_EQ(g.payMode, GENEROUS);
  EXPECT_EQ(std::memcmp(g.payTableActive, g.payTableGenerous, sizeof g.payTableActive), 0);
  EXPECT_EQ(g.saveRequestTime, 2000);
}

// The active table follows the mode loaded from a save, not the one it was filled under.
TEST_F(RulesTest, RefreshFollowsALoadedMode) {
  g.payMode = CASINO;
  rules::RefreshActivePayTable(g);
  EXPECT_EQ(rules::LookupPayout(g, 3, 2), 1);
  g.payMode = GENEROUS;
  rules::RefreshActivePayTable(g);
  EXPECT_EQ(rules::LookupPayout(g, 3, 2), 2);
}

}  // namespace
}  // namespace rules_test
