// The player's game is kept whatever ends it or stands in the save's way: every save goes through
// the one routine, the display's loss saves every finished draw, the notice says when nothing can
// be written, a save that cannot be read outlives the session, and an installed game writes
// nothing under its prefix.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "rules/draw.h"
#include "shell/input.h"
#include "shell/save.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

namespace fs = std::filesystem;
using platform::InputState;
using platform::NullSystem;

bool Root() { return geteuid() == 0; }

// Money in a save: what play cannot change without a top-up.
int64_t Ledger(const rules::GameState& g) {
  return g.balance + g.genBet + g.casBet - g.genWon - g.casWon;
}

class GameKept : public ShellTest {
 protected:
  // Every write fails from now on, as on a full disk.
  void DiskFull() {
    sys_.files.writeFault = [](platform::WriteStep, std::size_t) -> int64_t { return -1; };
  }
  // A player's game beside the executable: the game folder cannot take the save from now on.
  void BlockTheGameFolder() { fs::create_directory(SavePath()); }
  rules::GameState Saved(const fs::path& path) {
    rules::GameState g;
    EXPECT_TRUE(shell::LoadGame(sys_.files, g, path.string())) << path;
    return g;
  }
};

// --- Every occasion saves through the one routine ------------------------------------------

class EveryOccasion;
struct Occasion {
  const char* name;
  std::function<void(EveryOccasion& t)> save;  // makes the game save in its own way
};
void PrintTo(const Occasion& o, std::ostream* os) { *os << o.name; }

class EveryOccasion : public GameKept, public ::testing::WithParamInterface<Occasion> {
 public:
  rules::GameState& State() { return g_; }
  NullSystem& Sys() { return sys_; }
  void RunFrames(int n) { Frames(n); }
  void AnswerNewGame(platform::MessageAnswer answer) {
    sys_.answers.push_back(answer);
    shell::NewGame(game_, host_);
  }
  void DrawOutOfFunds(platform::MessageAnswer answer) {
    rules::SetPick(g_, 1, 5, true);
    g_.balance = 0;
    sys_.answers.push_back(answer);
    rules::StartDraw(g_, host_);
  }
  void ShutDown() {
    EXPECT_TRUE(shell::Shutdown(game_));
    started_ = false;
  }
};

TEST_P(EveryOccasion, FallsBackToTheDataFolderWhenTheGameFolderFails) {
  Start();
  BlockTheGameFolder();
  g_.genWon = 77;  // marks this game
  GetParam().save(*this);
  EXPECT_EQ(Saved(DataSavePath()).genWon, 77);
  EXPECT_TRUE(fs::is_directory(SavePath())) << "what stood in the way is left alone";
  EXPECT_NE(g_.statusTitle, "NOT SAVED");
}

const Occasion kOccasions[] = {
    {"Debounced",
     [](EveryOccasion& t) {
       rules::RequestSave(t.State(), t.Sys().now);
       t.RunFrames(200);
     }},
    {"Esc",
     [](EveryOccasion& t) {
       InputState esc;
       esc.escDown = true;
       t.Sys().inputs.push_back(esc);
       t.Sys().inputs.push_back(InputState{});
       t.RunFrames(2);
     }},
    {"NewGameYes", [](EveryOccasion& t) { t.AnswerNewGame(platform::MessageAnswer::Yes); }},
    {"TopUp", [](EveryOccasion& t) { t.DrawOutOfFunds(platform::MessageAnswer::Yes); }},
    {"OutOfFundsQuit", [](EveryOccasion& t) { t.DrawOutOfFunds(platform::MessageAnswer::No); }},
    {"Shutdown", [](EveryOccasion& t) { t.ShutDown(); }},
    {"LostDisplay",
     [](EveryOccasion& t) {
       ASSERT_TRUE(t.Sys().lostDisplayHook);
       EXPECT_TRUE(t.Sys().lostDisplayHook());
     }},
};

INSTANTIATE_TEST_SUITE_P(Saves, EveryOccasion, ::testing::ValuesIn(kOccasions),
                         [](const ::testing::TestParamInfo<Occasion>& info) {
                           return std::string(info.param.name);
                         });

// --- Nothing can be written ----------------------------------------------------------------

// The frame's texts read in order, one space between calls, so a notice wrapped onto two lines
// still reads as one message.
bool ShowsText(const render::DisplayList& frame, const std::string& text) {
  std::string all;
  for (const render::CanvasCall& c : frame.calls) {
    if (c.kind == render::CallKind::DrawText) all += c.text + " ";
  }
  return all.find(text) != std::string::npos;
}

TEST_F(GameKept, TheStatsPanelSaysWhenTheGameCouldNotBeSavedUntilASaveWorksAgain) {
  Start();
  Frames(2);
  DiskFull();
  rules::RequestSave(g_, sys_.now);
  while (g_.savePending) ASSERT_TRUE(Frame());
  Frame();
  EXPECT_TRUE(ShowsText(game_.frames.shown, "NOT SAVED"));
  EXPECT_TRUE(ShowsText(game_.frames.shown, shell::kNotSavedText));
  EXPECT_TRUE(game_.saves.failing);

  sys_.files.writeFault = {};
  rules::RequestSave(g_, sys_.now);
  while (g_.savePending) ASSERT_TRUE(Frame());
  Frame();
  EXPECT_FALSE(ShowsText(game_.frames.shown, "NOT SAVED")) << "gone before its 5 s were up";
  EXPECT_TRUE(fs::exists(SavePath()));
}

// --- The display goes away ------------------------------------------------------------------

TEST_F(GameKept, ALostDisplayDuringAutoRunKeepsEveryFinishedDraw) {
  Start();
  rules::SetPick(g_, 1, 5, true);
  rules::SetPick(g_, 1, 6, true);
  g_.speed = 5;
  g_.autoRun = 1;
  rules::StartDraw(g_, host_);
  while (g_.runs < 5) ASSERT_TRUE(Frame());
  Frames(3);  // into the next draw: its stake is taken, its balls not all out
  ASSERT_EQ(g_.drawInProgress, 1);
  EXPECT_FALSE(fs::exists(SavePath())) << "auto-run at the fastest speed postpones the save";

  ASSERT_TRUE(sys_.lostDisplayHook);
  EXPECT_TRUE(sys_.lostDisplayHook());
  const rules::GameState saved = Saved(SavePath());
  EXPECT_EQ(saved.genBet, g_.runs + 1) << "every finished draw and the stake of the running one";
  EXPECT_EQ(saved.genWon, g_.genWon);
  EXPECT_EQ(saved.balance, g_.balance);
  EXPECT_EQ(Ledger(saved), 1000);
}

TEST_F(GameKept, ALostDisplayAfterTheLastSaveWritesNothingMore) {
  Start();
  EXPECT_TRUE(shell::Shutdown(game_));
  started_ = false;
  fs::remove(SavePath());
  ASSERT_TRUE(sys_.lostDisplayHook);
  EXPECT_TRUE(sys_.lostDisplayHook()) << "the game was kept";
  EXPECT_FALSE(fs::exists(SavePath()));
}

TEST_F(GameKept, ALostDisplayThatFindsNowhereToSaveSaysTheGameWasNotKept) {
  Start();
  DiskFull();
  ASSERT_TRUE(sys_.lostDisplayHook);
  EXPECT_FALSE(sys_.lostDisplayHook());
}

// --- A save that cannot be read --------------------------------------------------------------

struct UnreadableCase {
  const char* name;
  std::function<bool(const fs::path& save)> spoil;  // false: cannot be set up here
};
void PrintTo(const UnreadableCase& c, std::ostream* os) { *os << c.name; }

class UnreadableSave : public GameKept, public ::testing::WithParamInterface<UnreadableCase> {};

// A player's $50,000 that start-up cannot read is never overwritten with a first start's $1,000:
// it stays as it was, the session's game goes to the data folder, and the next start finds it.
TEST_P(UnreadableSave, IsKeptAndTheSessionsGameIsFoundNextTime) {
  rules::GameState rich;
  rich.balance = 50000;
  ASSERT_TRUE(shell::SaveGame(sys_.files, rich, SavePath().string()));
  if (!GetParam().spoil(SavePath())) GTEST_SKIP() << "cannot be set up here";
  struct stat before {};
  lstat(SavePath().c_str(), &before);
  const bool wasFile = fs::is_regular_file(SavePath());

  Start();
  EXPECT_EQ(g_.balance, 1000);
  rules::SetPick(g_, 1, 7, true);
  g_.genWon = 77;
  EXPECT_TRUE(shell::Shutdown(game_));
  started_ = false;

  struct stat after {};
  ASSERT_EQ(lstat(SavePath().c_str(), &after), 0);
  EXPECT_EQ(after.st_mode, before.st_mode) << "mode and kind unchanged";
  EXPECT_EQ(after.st_ino, before.st_ino) << "not replaced";
  if (wasFile) {
    chmod(SavePath().c_str(), 0600);
    EXPECT_EQ(Saved(SavePath()).balance, 50000);
    chmod(SavePath().c_str(), before.st_mode & 07777);
  }
  EXPECT_EQ(Saved(DataSavePath()).genWon, 77);

  testing_support::RecordingScreen nextScreen;
  NullSystem next{nextScreen};
  next.files.exeDir = sys_.files.exeDir;
  shell::Game again(next);
  shell::ShellHost nextHost(again);
  ASSERT_TRUE(shell::OpenGameWindow(again, nextHost));
  EXPECT_TRUE(next.dialogs.empty()) << "no greeting: the game was found";
  EXPECT_EQ(again.state.genWon, 77);
  EXPECT_EQ(again.state.cards[1].picked[7], 1);
  shell::Shutdown(again);
}

INSTANTIATE_TEST_SUITE_P(
    Saves, UnreadableSave,
    ::testing::Values(
        UnreadableCase{"WriteOnly",
                       [](const fs::path& p) { return !Root() && chmod(p.c_str(), 0200) == 0; }},
        UnreadableCase{"NoPermissionAtAll",
                       [](const fs::path& p) { return !Root() && chmod(p.c_str(), 0) == 0; }},
        UnreadableCase{"ADirectory",
                       [](const fs::path& p) { return fs::remove(p) && fs::create_directory(p); }}),
    [](const ::testing::TestParamInfo<UnreadableCase>& info) {
      return std::string(info.param.name);
    });

// --- An installed game ------------------------------------------------------------------------

// Every file below `root` with its bytes (a folder as an empty entry).
std::map<std::string, testing_support::Bytes> Tree(const fs::path& root) {
  std::map<std::string, testing_support::Bytes> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    tree[entry.path().string()] = entry.is_regular_file() ? testing_support::ReadBytes(entry.path())
                                                          : testing_support::Bytes{};
  }
  return tree;
}

// Run by root from its install, the game kept its save beside the program, where every later
// player found it. Now it writes nothing under its prefix, not even to tidy up.
TEST_F(GameKept, AnInstalledGameWritesNothingUnderItsPrefixAndLoadsNoOneElsesSave) {
  const fs::path prefix = dir_ / "usr";
  fs::create_directories(prefix / "games");
  fs::create_directories(prefix / "share" / "applications");
  testing_support::WriteBytes(prefix / "share/applications/com.brindlec.tessaline.desktop", {1});
  rules::GameState roots;
  roots.balance = 90000;
  rules::SetPick(roots, 1, 3, true);
  ASSERT_TRUE(shell::SaveGame(sys_.files, roots, (prefix / "games" / "keno_save.dat").string()));
  testing_support::WriteBytes(prefix / "games" / "keno_save.dat.1.0.tmp", {1});
  const bool foreign = Root() && chown((prefix / "games" / "keno_save.dat").c_str(), 0, 0) == 0 &&
                       chown((prefix / "games" / "keno_save.dat").c_str(), 65534, 65534) == 0;
  const auto before = Tree(prefix);

  sys_.files.exeDir = (prefix / "games").string() + "/";
  Start();
  if (foreign) {
    EXPECT_EQ(g_.balance, 1000) << "someone else's save is not loaded";
    EXPECT_EQ(sys_.dialogs.size(), 1u) << "a first start greets";
  }
  rules::SetPick(g_, 2, 9, true);
  rules::StartDraw(g_, host_);
  while (g_.drawInProgress) ASSERT_TRUE(Frame());
  sys_.answers.push_back(platform::MessageAnswer::Yes);
  shell::NewGame(game_, host_);
  EXPECT_TRUE(shell::Shutdown(game_));
  started_ = false;

  EXPECT_EQ(Tree(prefix), before);
  EXPECT_TRUE(fs::exists(DataSavePath()));
}

}  // namespace
}  // namespace shell_test
