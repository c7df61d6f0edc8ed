// The recall file of a running game on the null platform: written after every finished draw and
// read at the next start, kept where the save goes, cleared by New Game NO, and a damaged or
// failing file that costs the player nothing: no box, no notice, no change to the save.
#include "shell/recall_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "rules/draw.h"
#include "rules/paytable.h"
#include "rules/random.h"
#include "rules/recall.h"
#include "shell/input.h"
#include "shell/save.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

namespace fs = std::filesystem;
using testing_support::Bytes;

class RecallFile : public ShellTest {
 protected:
  fs::path RecallPath() const { return dir_ / "keno_recall.dat"; }
  fs::path DataRecallPath() const { return dir_ / "xdg" / "tessaline" / "keno_recall.dat"; }

  // One whole draw of card 1 at the fastest speed, through the frame loop.
  void PlayDraw(std::vector<int64_t> first) {
    if (g_.cards[1].pickCount == 0) {
      for (int n : {3, 14, 25}) rules::SetPick(g_, 1, n, true);
    }
    g_.speed = rules::kMaxSpeed;
    sys_.QueueDraw(first);
    rules::StartDraw(g_, host_);
    ASSERT_EQ(g_.drawInProgress, 1);
    for (int i = 0; i < 1000 && g_.drawInProgress; ++i) ASSERT_TRUE(Frame());
    ASSERT_EQ(g_.drawInProgress, 0);
  }

  static rules::Recall Read(const fs::path& path) {
    rules::Recall recall;
    EXPECT_EQ(rules::DecodeRecall(testing_support::ReadBytes(path), recall),
              rules::RecallProblem::kNone)
        << path;
    return recall;
  }

  // What the next run of the game finds at start.
  rules::Recall RecallAtNextStart() {
    testing_support::RecordingScreen screen;
    platform::NullSystem sys(screen);
    sys.files.exeDir = sys_.files.exeDir;
    shell::Game game(sys);
    shell::ShellHost host(game);
    EXPECT_TRUE(shell::OpenGameWindow(game, host));
    const rules::Recall recall = game.state.recall;
    shell::Shutdown(game);
    return recall;
  }
};

TEST_F(RecallFile, EveryFinishedDrawIsWrittenAtOnceAndTheNextStartReadsThemNewestFirst) {
  Start();
  EXPECT_FALSE(fs::exists(RecallPath())) << "nothing to recall yet";
  PlayDraw({3, 14, 40});
  EXPECT_EQ(Read(RecallPath()).count, 1);
  EXPECT_FALSE(fs::exists(SavePath())) << "the save waits for its debounce; the recall does not";
  const int64_t firstEnded = sys_.UnixSeconds();
  sys_.now += 60'000;
  PlayDraw({25, 50});
  const rules::Recall written = Read(RecallPath());
  ASSERT_EQ(written.count, 2);
  EXPECT_EQ(rules::RecalledDraw(written, 0).numbers[0], 25);
  EXPECT_EQ(rules::RecalledDraw(written, 1).numbers[0], 3);
  EXPECT_EQ(rules::RecalledDraw(written, 1).endedAt, firstEnded);
  EXPECT_GE(rules::RecalledDraw(written, 0).endedAt, firstEnded + 60);
  EXPECT_EQ(rules::RecalledDraw(written, 0).balanceAfter, g_.balance);
  shell::Shutdown(game_);
  started_ = false;

  const rules::Recall next = RecallAtNextStart();
  ASSERT_EQ(next.count, 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(rules::RecalledDraw(next, i), rules::RecalledDraw(written, i)) << i;
  }
}

TEST_F(RecallFile, ADrawCutShortByClosingTheWindowIsNotRecalled) {
  Start();
  PlayDraw({3});
  rules::StartDraw(g_, host_);
  Frames(5);
  ASSERT_EQ(g_.drawInProgress, 1);
  sys_.closeRequested = true;
  EXPECT_FALSE(Frame());
  shell::Shutdown(game_);
  started_ = false;
  EXPECT_EQ(Read(RecallPath()).count, 1);
  EXPECT_EQ(RecallAtNextStart().count, 1);
}

TEST_F(RecallFile, NewGameYesKeepsItAndNoRemovesItUntilTheNextDraw) {
  Start();
  PlayDraw({3});
  sys_.answers.push_back(platform::MessageAnswer::Yes);
  shell::NewGame(game_, host_);
  EXPECT_EQ(Read(RecallPath()).count, 1);
  EXPECT_EQ(g_.recall.count, 1);

  PlayDraw({14});
  sys_.answers.push_back(platform::MessageAnswer::No);
  shell::NewGame(game_, host_);
  EXPECT_EQ(g_.recall.count, 0);
  EXPECT_FALSE(fs::exists(RecallPath()));
  PlayDraw({25});
  EXPECT_EQ(Read(RecallPath()).count, 1);
}

// The recall follows the save to the data folder, and the next start reads it there.
TEST_F(RecallFile, GoesWhereTheSaveGoes) {
  Start();
  fs::create_directory(SavePath());  // the save cannot be written beside the program any more
  PlayDraw({3});
  Frames(250);  // the debounced save finds the data folder
  ASSERT_TRUE(fs::exists(DataSavePath()));
  PlayDraw({14});
  EXPECT_EQ(Read(DataRecallPath()).count, 2);
  EXPECT_EQ(Read(RecallPath()).count, 1) << "the last written beside the program stays as it was";
  shell::Shutdown(game_);
  started_ = false;
  const rules::Recall next = RecallAtNextStart();
  ASSERT_EQ(next.count, 2);
  EXPECT_EQ(rules::RecalledDraw(next, 0).numbers[0], 14);
}

TEST_F(RecallFile, AFailingWriteSaysNothingAndTheNextDrawWritesEveryDraw) {
  Start();
  Frames(2);
  sys_.files.writeFault = [](platform::WriteStep, std::size_t) -> int64_t { return -1; };
  PlayDraw({3});
  EXPECT_FALSE(fs::exists(RecallPath()));
  EXPECT_TRUE(g_.statusMessage.empty());
  EXPECT_EQ(sys_.dialogs.size(), 1u) << "only the welcome box";
  sys_.files.writeFault = nullptr;
  PlayDraw({14});
  EXPECT_EQ(Read(RecallPath()).count, 2);
}

// --- A damaged recall file ------------------------------------------------------------------

// A good file of three draws, to be spoilt.
Bytes GoodRecall() {
  rules::GameState g;
  rules::FillPayTables(g);
  rules::QuietHost host;
  rules::SeedFallbackRandom(g, 7);
  for (int n : {5, 17, 60}) rules::SetPick(g, 2, n, true);
  for (int n = 1; n <= 10; ++n) rules::SetPick(g, 4, n, true);
  for (int draw = 0; draw < 3; ++draw) {
    host.unixSeconds = 1'767'225'600 + draw;
    rules::StartDraw(g, host);
    while (g.drawInProgress) rules::RevealTick(g, host, host.now += 1000);
  }
  return rules::EncodeRecall(g.recall);
}

constexpr std::size_t kDraw = rules::kRecallHeaderSize + rules::kRecallCountSize;  // first draw
constexpr std::size_t kNumbers = kDraw + 16;
constexpr std::size_t kCardCount = kDraw + 36;
constexpr std::size_t kCard = kDraw + 37;  // its first card: card 2, 3 picks

void PutLe(Bytes& b, std::size_t at, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// The checksum put right again, so that only the value under test can be refused.
void Reseal(Bytes& b) {
  PutLe(b, 8, rules::Crc32({b.data() + rules::kRecallHeaderSize, b.size() - 12}), 4);
}

struct Damage {
  const char* name;
  std::function<void(Bytes&)> spoil;
  rules::RecallProblem problem;
};
void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

// Changes one byte and reseals.
std::function<void(Bytes&)> Value(std::size_t at, uint8_t value) {
  return [at, value](Bytes& b) {
    b[at] = value;
    Reseal(b);
  };
}

using P = rules::RecallProblem;
const Damage kDamages[] = {
    {"Short", [](Bytes& b) { b.pop_back(); }, P::kShort},
    {"OnlyAHeader", [](Bytes& b) { b.resize(10); }, P::kShort},
    {"Long", [](Bytes& b) { b.push_back(0); }, P::kLong},
    {"FarTooLong", [](Bytes& b) { b.resize(rules::kRecallMaxFileSize + 1); }, P::kLong},
    {"BadMagic", [](Bytes& b) { b[0] ^= 0x20; }, P::kBadMagic},
    {"ASaveFile",
     [](Bytes& b) {
       const shell::SaveImage save = shell::EncodeSave(rules::GameState{});
       b.assign(save.begin(), save.end());
     },
     P::kBadMagic},
    {"BadVersion", [](Bytes& b) { b[4] = 2; }, P::kBadVersion},
    {"BadChecksum", [](Bytes& b) { b[kNumbers + 5] ^= 1; }, P::kBadChecksum},
    {"TooManyDraws",
     [](Bytes& b) {
       b[12] = 11;
       b.resize(kDraw + 11 * rules::kRecallDrawSize);
       Reseal(b);
     },
     P::kBadValue},
    {"NumberZero", Value(kNumbers, 0), P::kBadValue},
    {"Number81", Value(kNumbers + 19, 81), P::kBadValue},
    {"RepeatedNumber",
     [](Bytes& b) {
       b[kNumbers + 1] = b[kNumbers];
       Reseal(b);
     },
     P::kBadValue},
    {"NoCards", Value(kCardCount, 0), P::kBadValue},
    {"FiveCards", Value(kCardCount, 5), P::kBadValue},
    {"CardZero", Value(kCard, 0), P::kBadValue},
    {"CardFive", Value(kCard, 5), P::kBadValue},
    {"CardsOutOfOrder", Value(kCard + rules::kRecallCardSize, 1), P::kBadValue},
    {"ThirteenPicks", Value(kCard + 1, 13), P::kBadValue},
    {"PickCountBeyondItsList", Value(kCard + 1, 4), P::kBadValue},
    {"PickOutOfRange", Value(kCard + 2 + 2, 81), P::kBadValue},
    {"RepeatedPick", Value(kCard + 2 + 1, 5), P::kBadValue},
    {"MoreHitsThanPicks", Value(kCard + 14, 4), P::kBadValue},
    {"BetZero", Value(kCard + 15, 0), P::kBadValue},
    {"BetEleven", Value(kCard + 15, 11), P::kBadValue},
    {"ModeTwo", Value(kCard + 16, 2), P::kBadValue},
    {"NegativeWin", Value(kCard + 17 + 7, 0x80), P::kBadValue},
    {"AnUnusedCardSlotNotEmpty", Value(kCard + 4 * rules::kRecallCardSize - 1, 1), P::kBadValue},
};

class DamagedRecall : public RecallFile, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedRecall, GivesAnEmptyRecallAndLeavesTheSaveAsItWas) {
  Bytes bytes = GoodRecall();
  rules::Recall check;
  ASSERT_EQ(rules::DecodeRecall(bytes, check), P::kNone);
  ASSERT_EQ(check.count, 3);
  GetParam().spoil(bytes);
  EXPECT_EQ(rules::DecodeRecall(bytes, check), GetParam().problem);
  EXPECT_EQ(check.count, 0);

  rules::GameState saved;
  saved.balance = 4321;
  rules::SetPick(saved, 3, 9, true);
  ASSERT_TRUE(shell::SaveGame(sys_.files, saved, SavePath().string()));
  const Bytes save = testing_support::ReadBytes(SavePath());
  testing_support::WriteBytes(RecallPath(), bytes);
  Start();
  EXPECT_EQ(g_.recall.count, 0);
  EXPECT_EQ(g_.balance, 4321) << "the save is loaded all the same";
  EXPECT_TRUE(sys_.dialogs.empty());
  EXPECT_TRUE(g_.statusMessage.empty());
  Frames(3);
  EXPECT_EQ(testing_support::ReadBytes(SavePath()), save);
  EXPECT_EQ(testing_support::ReadBytes(RecallPath()), bytes) << "replaced only by the next draw";
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedRecall, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(RecallFile, ADamagedFileIsReplacedByTheNextDraw) {
  Bytes bytes = GoodRecall();
  bytes[kNumbers] = 0;
  testing_support::WriteBytes(RecallPath(), bytes);
  Start();
  PlayDraw({3});
  EXPECT_EQ(Read(RecallPath()).count, 1);
}

TEST_F(RecallFile, AnotherUsersRecallIsNotShown) {
  testing_support::WriteBytes(RecallPath(), GoodRecall());
  if (geteuid() != 0 || chown(RecallPath().c_str(), 65534, 65534) != 0) {
    GTEST_SKIP() << "only root can give a file away";
  }
  rules::Recall recall;
  EXPECT_EQ(shell::LoadRecall(sys_.files, RecallPath().string(), recall), P::kNone);
  EXPECT_EQ(recall.count, 0);
}

TEST_F(RecallFile, AFolderInItsPlaceIsLeftAloneAndTheGamePlaysOn) {
  fs::create_directory(RecallPath());
  Start();
  PlayDraw({3});
  Frames(250);
  EXPECT_TRUE(fs::is_directory(RecallPath()));
  EXPECT_TRUE(fs::exists(SavePath()));
  EXPECT_EQ(g_.recall.count, 1);
  EXPECT_TRUE(g_.statusMessage.empty());
}

}  // namespace
}  // namespace shell_test
