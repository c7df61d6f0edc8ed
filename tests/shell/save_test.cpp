// The save file: its exact bytes, what a load accepts, rejects and repairs, saving that cannot
// lose the previous game, and a full reset's deletion.
#include "shell/save.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/null/null_system.h"
#include "rules/paytable.h"
#include "support/temp_files.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Bytes;

constexpr std::size_t kBalanceOffset = 8;
constexpr std::size_t kPicksOffset = 48;

rules::GameState FirstStart() {
  rules::GameState g;
  rules::FillPayTables(g);
  rules::ResetSet(g);
  return g;
}

std::size_t PickOffset(int card, int number) {
  return kPicksOffset + static_cast<std::size_t>((card - 1) * 80 + (number - 1));
}

void PutLe32(Bytes& bytes, std::size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void SetPicks(rules::GameState& g, int card, std::initializer_list<int> numbers) {
  for (int n : numbers) g.cards[card].picked[n] = 1;
  g.cards[card].pickCount = static_cast<int64_t>(numbers.size());
}

// A game far from the defaults, so that a loader which leaves the state alone is caught.
rules::GameState PlayedGame() {
  rules::GameState g = FirstStart();
  g.balance = 4321;
  g.genWon = 150;
  g.genBet = 300;
  g.casWon = 75;
  g.casBet = 90;
  g.betPerCard = g.betSetting = 7;
  g.payMode = rules::CASINO;
  g.progressivePot = 31337;
  g.speed = 5;
  g.soundOn = 0;
  SetPicks(g, 1, {1, 2, 3});
  g.cards[1].hit[2] = 1;
  g.cards[1].hitCount = 1;
  return g;
}

void ExpectDefaults(const rules::GameState& g) {
  EXPECT_EQ(g.balance, 1000);
  EXPECT_EQ(g.genWon, 0);
  EXPECT_EQ(g.genBet, 0);
  EXPECT_EQ(g.casWon, 0);
  EXPECT_EQ(g.casBet, 0);
  EXPECT_EQ(g.betPerCard, 1);
  EXPECT_EQ(g.betSetting, 1);
  EXPECT_EQ(g.payMode, rules::GENEROUS);
  EXPECT_EQ(g.progressivePot, 25000);
  EXPECT_EQ(g.speed, 3);
  EXPECT_EQ(g.soundOn, 1);
  for (int c = 1; c <= rules::kCards; ++c) {
    EXPECT_EQ(g.cards[c].pickCount, 0) << "card " << c;
    EXPECT_EQ(g.cards[c].hitCount, 0) << "card " << c;
    for (int n = 1; n <= rules::kNumbers; ++n) {
      ASSERT_EQ(g.cards[c].picked[n], 0) << "card " << c << " number " << n;
      ASSERT_EQ(g.cards[c].hit[n], 0) << "card " << c << " number " << n;
    }
  }
}

class SaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing_support::MakeTempDir("tessaline-save");
    ASSERT_FALSE(dir_.empty());
    path_ = (dir_ / "keno_save.dat").string();
  }
  void TearDown() override { testing_support::RemoveTempDir(dir_); }

  platform::ScriptedFiles files_;  // the machine's files, with the faults a test injects
  fs::path dir_;
  std::string path_;
};

TEST_F(SaveFileTest, FirstStartSavesTheExactFileImage) {
  Bytes expected(372, 0);
  PutLe32(expected, 0, 0x4B454E4F);
  PutLe32(expected, 4, 7);
  PutLe32(expected, 8, 1000);    // balance
  PutLe32(expected, 28, 1);      // bet per card
  PutLe32(expected, 36, 25000);  // progressive pot
  PutLe32(expected, 40, 3);      // speed
  PutLe32(expected, 44, 1);      // sound
  const Bytes tail = {0xDA, 0x2B, 0x45, 0x4B};
  std::copy(tail.begin(), tail.end(), expected.begin() + 368);

  ASSERT_TRUE(shell::SaveGame(files_, FirstStart(), path_));
  const Bytes onDisk = testing_support::ReadBytes(path_);
  EXPECT_EQ(onDisk, expected);
  EXPECT_EQ(Bytes(onDisk.begin(), onDisk.begin() + 4), (Bytes{0x4F, 0x4E, 0x45, 0x4B}));
}

TEST_F(SaveFileTest, RoundTripKeepsFieldsAndPicksAndReplacesWhatWasThere) {
  rules::GameState saved = PlayedGame();
  rules::ClearCard(saved, 1);
  SetPicks(saved, 2, {3, 17, 40, 41, 80});
  SetPicks(saved, 4, {1, 5, 9, 13, 22, 30, 44, 51, 60, 66, 71, 79});
  ASSERT_TRUE(shell::SaveGame(files_, saved, path_));

  // The loading game still holds picks and hits of its own; the file's cards replace them.
  rules::GameState loaded = FirstStart();
  SetPicks(loaded, 1, {10, 20});
  SetPicks(loaded, 2, {4});
  loaded.cards[2].hit[4] = 1;
  loaded.cards[2].hitCount = 1;
  ASSERT_TRUE(shell::LoadGame(files_, loaded, path_));

  EXPECT_EQ(loaded.balance, 4321);
  EXPECT_EQ(loaded.genWon, 150);
  EXPECT_EQ(loaded.genBet, 300);
  EXPECT_EQ(loaded.casWon, 75);
  EXPECT_EQ(loaded.casBet, 90);
  EXPECT_EQ(loaded.betPerCard, 7);
  EXPECT_EQ(loaded.betSetting, 7);
  EXPECT_EQ(loaded.payMode, rules::CASINO);
  EXPECT_EQ(loaded.progressivePot, 31337);
  EXPECT_EQ(loaded.speed, 5);
  EXPECT_EQ(loaded.soundOn, 0);
  EXPECT_EQ(loaded.cards[1].pickCount, 0);
  EXPECT_EQ(loaded.cards[2].pickCount, 5);
  EXPECT_EQ(loaded.cards[3].pickCount, 0);
  EXPECT_EQ(loaded.cards[4].pickCount, 12);
  for (int c = 1; c <= rules::kCards; ++c) {
    EXPECT_EQ(loaded.cards[c].hitCount, 0);
    for (int n = 1; n <= rules::kNumbers; ++n) {
      ASSERT_EQ(loaded.cards[c].picked[n], saved.cards[c].picked[n]) << c << "/" << n;
      ASSERT_EQ(loaded.cards[c].hit[n], 0) << c << "/" << n;
    }
  }
}

struct RejectCase {
  const char* name;
  void (*spoil)(Bytes&);
};
void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name; }

class RejectedFileTest : public SaveFileTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(RejectedFileTest, GivesTheDefaults) {
  ASSERT_TRUE(shell::SaveGame(files_, PlayedGame(), path_));
  Bytes bytes = testing_support::ReadBytes(path_);
  GetParam().spoil(bytes);
  testing_support::WriteBytes(path_, bytes);

  rules::GameState g = PlayedGame();
  EXPECT_FALSE(shell::LoadGame(files_, g, path_));
  ExpectDefaults(g);
}

INSTANTIATE_TEST_SUITE_P(
    SaveFile, RejectedFileTest,
    ::testing::Values(RejectCase{"OneByteShort", [](Bytes& b) { b.pop_back(); }},
                      RejectCase{"OneByteLong", [](Bytes& b) { b.push_back(0); }},
                      RejectCase{"Empty", [](Bytes& b) { b.clear(); }},
                      RejectCase{"Version6", [](Bytes& b) { PutLe32(b, 4, 6); }},
                      RejectCase{"WrongMagic", [](Bytes& b) { b[3] = 'X'; }},
                      RejectCase{"BalanceChangedChecksumNot",
                                 [](Bytes& b) { PutLe32(b, kBalanceOffset, 999999); }},
                      RejectCase{"ChecksumTopBitFlipped", [](Bytes& b) { b[371] ^= 0x80; }}),
    [](const ::testing::TestParamInfo<RejectCase>& info) { return std::string(info.param.name); });

TEST_F(SaveFileTest, MissingFileGivesTheDefaults) {
  rules::GameState g = PlayedGame();
  EXPECT_FALSE(shell::LoadGame(files_, g, path_));
  ExpectDefaults(g);
}

// Pick bytes are outside the checksum: a changed one is loaded, but only ever as a 0/1 flag,
// and never past twelve picks on a card.
TEST_F(SaveFileTest, PickBytesAreLoadedAsFlagsOfAtMostTwelvePicks) {
  rules::GameState saved = PlayedGame();
  SetPicks(saved, 2, {5});
  ASSERT_TRUE(shell::SaveGame(files_, saved, path_));
  Bytes bytes = testing_support::ReadBytes(path_);
  bytes[PickOffset(3, 40)] = 1;    // a plain changed pick
  bytes[PickOffset(2, 6)] = 0xFF;  // not a 0/1 byte
  for (int n = 1; n <= 80; ++n) bytes[PickOffset(4, n)] = static_cast<uint8_t>(n);  // all 80
  testing_support::WriteBytes(path_, bytes);

  rules::GameState g = FirstStart();
  ASSERT_TRUE(shell::LoadGame(files_, g, path_));
  EXPECT_EQ(g.balance, 4321);
  EXPECT_EQ(g.cards[1].pickCount, 3);
  EXPECT_EQ(g.cards[2].pickCount, 2);
  EXPECT_EQ(g.cards[2].picked[6], 1);
  EXPECT_EQ(g.cards[3].pickCount, 1);
  EXPECT_EQ(g.cards[3].picked[40], 1);
  EXPECT_EQ(g.cards[4].pickCount, 12);
  for (int n = 1; n <= 80; ++n) EXPECT_EQ(g.cards[4].picked[n], n <= 12 ? 1 : 0) << n;
}

struct RepairCase {
  const char* name;
  int64_t rules::GameState::*field;
  int64_t stored;
  int64_t loaded;
};
void PrintTo(const RepairCase& c, std::ostream* os) { *os << c.name; }

class RepairTest : public SaveFileTest, public ::testing::WithParamInterface<RepairCase> {};

TEST_P(RepairTest, ValidFileValueIsBroughtIntoRange) {
  rules::GameState saved = PlayedGame();
  saved.*GetParam().field = GetParam().stored;
  ASSERT_TRUE(shell::SaveGame(files_, saved, path_));

  rules::GameState g = FirstStart();
  ASSERT_TRUE(shell::LoadGame(files_, g, path_));
  EXPECT_EQ(g.*GetParam().field, GetParam().loaded);
  EXPECT_EQ(g.betSetting, g.betPerCard);
}

using GS = rules::GameState;
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    SaveFile, RepairTest,
    ::testing::Values(
        RepairCase{"BalanceZero", &GS::balance, 0, 1000},
        RepairCase{"BalanceNegative", &GS::balance, -40, 1000},
        RepairCase{"BalanceOneKept", &GS::balance, 1, 1},
        RepairCase{"Speed9", &GS::speed, 9, 3},
        RepairCase{"Speed0", &GS::speed, 0, 3},
        RepairCase{"Speed1Kept", &GS::speed, 1, 1},
        RepairCase{"Sound5", &GS::soundOn, 5, 1},
        RepairCase{"SoundNegative", &GS::soundOn, -1, 1},
        RepairCase{"SoundOffKept", &GS::soundOn, 0, 0},
        RepairCase{"PayMode7", &GS::payMode, 7, rules::CASINO},
        RepairCase{"PayModeNegative", &GS::payMode, -2, rules::CASINO},
        RepairCase{"PayModeGenerousKept", &GS::payMode, 0, rules::GENEROUS},
        RepairCase{"Bet0", &GS::betPerCard, 0, 1},
        RepairCase{"Bet11", &GS::betPerCard, 11, 1},
        RepairCase{"Bet10Kept", &GS::betPerCard, 10, 10},
        RepairCase{"GenWonNegative", &GS::genWon, -5, 0},
        RepairCase{"CasBetNegative", &GS::casBet, -5, 0}),
    [](const ::testing::TestParamInfo<RepairCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(SaveFileTest, PotBelowSeedStartsAtTheSeed) {
  rules::GameState saved = PlayedGame();
  saved.progressivePot = 20000;
  ASSERT_TRUE(shell::SaveGame(files_, saved, path_));
  rules::GameState g = FirstStart();
  ASSERT_TRUE(shell::LoadGame(files_, g, path_));
  EXPECT_EQ(g.progressivePot, 25000);
}

// A figure past the 32-bit range must not wrap into a negative (and so reset) balance.
TEST_F(SaveFileTest, OversizedFiguresAreSavedSaturated) {
  rules::GameState saved = PlayedGame();
  saved.balance = 5'000'000'000;
  saved.casWon = 3'000'000'000;
  saved.genBet = -3'000'000'000;
  ASSERT_TRUE(shell::SaveGame(files_, saved, path_));
  const Bytes bytes = testing_support::ReadBytes(path_);
  EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 12), (Bytes{0xFF, 0xFF, 0xFF, 0x7F}));
  EXPECT_EQ(Bytes(bytes.begin() + 16, bytes.begin() + 20), (Bytes{0x00, 0x00, 0x00, 0x80}));

  rules::GameState g = FirstStart();
  ASSERT_TRUE(shell::LoadGame(files_, g, path_));
  EXPECT_EQ(g.balance, 2147483647);
  EXPECT_EQ(g.casWon, 2147483647);
  EXPECT_EQ(g.genBet, 0);
  EXPECT_EQ(g.genWon, 150);
}

TEST_F(SaveFileTest, SaveFailingPartWayKeepsThePreviousFile) {
  ASSERT_TRUE(shell::SaveGame(files_, PlayedGame(), path_));
  const Bytes before = testing_support::ReadBytes(path_);

  // 100 bytes reach the disk, then it is full.
  std::size_t written = 0;
  files_.writeFault = [&written](platform::WriteStep step, std::size_t wanted) -> int64_t {
    if (step != platform::WriteStep::kWrite) return 0;
    if (written >= 100) return -1;
    const std::size_t n = std::min<std::size_t>(wanted, 100 - written);
    written += n;
    return static_cast<int64_t>(n);
  };
  rules::GameState next = PlayedGame();
  next.balance = 1;
  EXPECT_FALSE(shell::SaveGame(files_, next, path_));
  files_.writeFault = {};

  EXPECT_EQ(written, 100u);
  EXPECT_EQ(testing_support::ReadBytes(path_), before);
  EXPECT_EQ(testing_support::DirEntries(dir_), std::vector<std::string>{"keno_save.dat"});
  rules::GameState g = FirstStart();
  EXPECT_TRUE(shell::LoadGame(files_, g, path_));
  EXPECT_EQ(g.balance, 4321);
}

// A process killed at any moment of a save leaves the old file or the new one, whole: a child
// saves two different games over and over and is killed with SIGKILL at a random instant.
TEST_F(SaveFileTest, KillDuringSavesLeavesOneWholeFile) {
  rules::GameState a = PlayedGame();
  rules::GameState b = PlayedGame();
  b.balance = 7;
  b.cards[1].picked[80] = 1;
  b.cards[1].pickCount++;
  const shell::SaveImage imageA = shell::EncodeSave(a);
  const shell::SaveImage imageB = shell::EncodeSave(b);
  ASSERT_TRUE(shell::SaveGame(files_, a, path_));
  std::srand(12345);
  for (int round = 0; round < 20; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) shell::SaveGame(files_, i % 2 ? a : b, path_);
    }
    usleep(200 + std::rand() % 3000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const Bytes bytes = testing_support::ReadBytes(path_);
    ASSERT_EQ(bytes.size(), shell::kSaveFileSize) << "round " << round;
    const bool whole = std::equal(bytes.begin(), bytes.end(), imageA.begin()) ||
                       std::equal(bytes.begin(), bytes.end(), imageB.begin());
    EXPECT_TRUE(whole) << "round " << round;
  }
}

TEST_F(SaveFileTest, DeleteRemovesOnlyANonEmptyFile) {
  shell::DeleteSaveFile(files_, path_);  // none there: nothing happens
  EXPECT_FALSE(fs::exists(path_));

  ASSERT_TRUE(shell::SaveGame(files_, PlayedGame(), path_));
  shell::DeleteSaveFile(files_, path_);
  EXPECT_FALSE(fs::exists(path_));

  testing_support::WriteBytes(path_, {});
  shell::DeleteSaveFile(files_, path_);
  EXPECT_TRUE(fs::exists(path_));
}

// A save the player linked into a synced folder stays linked through a full reset: the file there
// is emptied (a start finds no save), and the next save writes there again.
TEST_F(SaveFileTest, DeleteKeepsALinkToThePlayersOwnFileAndEmptiesThatFile) {
  fs::create_directory(dir_ / "synced");
  const fs::path synced = dir_ / "synced" / "keno_save.dat";
  ASSERT_TRUE(shell::SaveGame(files_, PlayedGame(), synced.string()));
  fs::create_symlink(synced, path_);
  shell::DeleteSaveFile(files_, path_);
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(fs::file_size(synced), 0u);
  rules::GameState g = PlayedGame();
  EXPECT_FALSE(shell::LoadGame(files_, g, path_));
  ExpectDefaults(g);
  ASSERT_TRUE(shell::SaveGame(files_, PlayedGame(), path_));
  EXPECT_EQ(fs::file_size(synced), shell::kSaveFileSize);
}

}  // namespace
