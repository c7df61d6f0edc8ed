// The load clean-up at its edges: the last good speed stays, the first bad one is reset, and a pot
// below the seed (even by one dollar) is raised to the seed while the seed itself stays.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "rules/game_state.h"
#include "rules/paytable.h"
#include "shell/save.h"

namespace {

struct CleanupCase {
  const char* name;
  int64_t speed;
  int32_t pot;
  int64_t loadedSpeed;
  int32_t loadedPot;
};
void PrintTo(const CleanupCase& c, std::ostream* os) { *os << c.name; }

class SaveCleanup : public ::testing::TestWithParam<CleanupCase> {};

TEST_P(SaveCleanup, BringsSpeedAndPotIntoRange) {
  const CleanupCase& c = GetParam();
  rules::GameState saved;
  rules::FillPayTables(saved);
  saved.speed = c.speed;
  saved.progressivePot = c.pot;
  const shell::SaveImage image = shell::EncodeSave(saved);

  rules::GameState g;
  rules::FillPayTables(g);
  g.speed = 2;  // a loader that skipped the field would leave these
  g.progressivePot = 99999;
  ASSERT_TRUE(shell::DecodeSave(image, g)) << "the file itself is good";
  EXPECT_EQ(g.speed, c.loadedSpeed);
  EXPECT_EQ(g.progressivePot, c.loadedPot);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Edges, SaveCleanup,
    ::testing::Values(
        CleanupCase{"Speed5Kept", 5, 25000, 5, 25000},
        CleanupCase{"Speed6Reset", 6, 25000, 3, 25000},
        CleanupCase{"PotOneBelowSeedRaised", 3, 24999, 3, 25000},
        CleanupCase{"PotOneAboveSeedKept", 3, 25001, 3, 25001}),
    [](const ::testing::TestParamInfo<CleanupCase>& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
