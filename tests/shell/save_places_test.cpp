// Where the save lives: which of the saves beside the executable and in the data folder a start
// loads, where the next saves go, what a start clears away, and the save routine's fallback to
// the data folder and its notice when nothing can be written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/null/null_system.h"
#include "rules/paytable.h"
#include "shell/save.h"
#include "support/scoped_env.h"
#include "support/temp_files.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Bytes;
using testing_support::ScopedEnv;

// Root reads and writes whatever the permission bits say, and may give files to other users.
bool Root() { return geteuid() == 0; }

class SavePlaces : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing_support::MakeTempDir("save-places");
    ASSERT_FALSE(dir_.empty());
    game_ = dir_ / "game";
    fs::create_directory(game_);
    xdg_.emplace("XDG_DATA_HOME", (dir_ / "xdg").string());
  }
  void TearDown() override {
    xdg_.reset();
    testing_support::RemoveTempDir(dir_);
  }

  std::string ExeDir() const { return game_.string() + "/"; }
  std::string Beside() const { return (game_ / "keno_save.dat").string(); }
  std::string Data() const { return (dir_ / "xdg" / "tessaline" / "keno_save.dat").string(); }

  // A good save of a game with `balance`, last written `ageSeconds` ago.
  void Put(const std::string& path, int64_t balance, int ageSeconds = 0) {
    fs::create_directories(fs::path(path).parent_path());
    rules::GameState g;
    rules::FillPayTables(g);
    g.balance = balance;
    ASSERT_TRUE(shell::SaveGame(files_, g, path));
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(ageSeconds));
  }
  int64_t BalanceIn(const std::string& path) {
    rules::GameState g;
    return shell::LoadGame(files_, g, path) ? g.balance : -1;
  }

  shell::SaveSpot Open(rules::GameState& g, bool installed = false) {
    rules::FillPayTables(g);
    return shell::OpenSaves(files_, g, ExeDir(), installed);
  }

  platform::ScriptedFiles files_;  // the machine's files, with the faults a test injects
  fs::path dir_;
  fs::path game_;
  std::optional<ScopedEnv> xdg_;
};

enum class Goes { kBeside, kData, kNowhere };

class PlaceCases;

struct PlaceCase {
  const char* name;
  // Lays out the folders; false when this machine cannot set the case up.
  std::function<bool(PlaceCases& t)> setUp;
  bool installed;
  int64_t loadedBalance;  // 1000: the defaults
  Goes goes;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class PlaceCases : public SavePlaces, public ::testing::WithParamInterface<PlaceCase> {
 public:
  // The cases' set-up reaches the fixture's file functions through these.
  using SavePlaces::Beside;
  using SavePlaces::Data;
  using SavePlaces::Put;
  fs::path Game() const { return game_; }
};

TEST_P(PlaceCases, LoadTheNewestGoodSaveAndSaveWhereNothingIsLost) {
  const PlaceCase& c = GetParam();
  if (!c.setUp(*this)) GTEST_SKIP() << "cannot be set up here";
  // What the start must neither replace nor remove, whatever happens next.
  std::vector<std::pair<std::string, Bytes>> before;
  for (const std::string& path : {Beside(), Data()}) {
    if (fs::is_regular_file(path)) before.emplace_back(path, testing_support::ReadBytes(path));
  }

  rules::GameState g;
  const shell::SaveSpot spot = Open(g, c.installed);
  EXPECT_EQ(g.balance, c.loadedBalance);
  const std::string expected = c.goes == Goes::kBeside ? Beside()
                               : c.goes == Goes::kData ? Data()
                                                       : "";
  EXPECT_EQ(spot.path, expected);
  EXPECT_FALSE(spot.failing);

  g.balance = 4242;
  rules::GameState saving = g;
  shell::SaveSpot to = spot;
  EXPECT_EQ(shell::SaveGame(files_, saving, to, 0), c.goes != Goes::kNowhere);
  if (c.goes != Goes::kNowhere) {
    EXPECT_EQ(BalanceIn(expected), 4242);
  }
  for (const auto& [path, bytes] : before) {
    if (path == expected) continue;
    EXPECT_EQ(testing_support::ReadBytes(path), bytes) << path << " was changed";
  }
}

// clang-format off
const PlaceCase kPlaceCases[] = {
    {"NothingAnywhereSavesBeside", [](SavePlaces&) { return true; }, false, 1000, Goes::kBeside},
    {"BesideOnly", [](PlaceCases& t) { t.Put(t.Beside(), 5000); return true; }, false, 5000,
     Goes::kBeside},
    // The game moved to the data folder once; it stays there even when its folder is writable again.
    {"DataNewerStaysInData",
     [](PlaceCases& t) { t.Put(t.Beside(), 5000, 100); t.Put(t.Data(), 7000, 10); return true; },
     false, 7000, Goes::kData},
    {"BesideNewer",
     [](PlaceCases& t) { t.Put(t.Beside(), 5000, 10); t.Put(t.Data(), 7000, 100); return true; },
     false, 5000, Goes::kBeside},
    {"DirectoryBesideIsKept", [](PlaceCases& t) { return fs::create_directory(t.Beside()); },
     false, 1000, Goes::kData},
    {"DirectoryBesideAndTheGameInData",
     [](PlaceCases& t) { t.Put(t.Data(), 7000); return fs::create_directory(t.Beside()); },
     false, 7000, Goes::kData},
    {"WriteOnlySaveBesideIsKept",
     [](PlaceCases& t) {
       t.Put(t.Beside(), 50000);
       return !Root() && chmod(t.Beside().c_str(), 0200) == 0;
     },
     false, 1000, Goes::kData},
    {"UnreadableSaveBesideIsKept",
     [](PlaceCases& t) {
       t.Put(t.Beside(), 50000);
       return !Root() && chmod(t.Beside().c_str(), 0) == 0;
     },
     false, 1000, Goes::kData},
    {"SomeoneElsesSaveBesideIsKept",
     [](PlaceCases& t) {
       t.Put(t.Beside(), 50000);
       return Root() && chown(t.Beside().c_str(), 65534, 65534) == 0;
     },
     false, 1000, Goes::kData},
    // Read and found invalid: replaced, as the game always did.
    {"ShortFileBesideIsReplaced",
     [](PlaceCases& t) { testing_support::WriteBytes(t.Beside(), Bytes(371, 1)); return true; },
     false, 1000, Goes::kBeside},
    {"LongFileBesideIsReplaced",
     [](PlaceCases& t) { testing_support::WriteBytes(t.Beside(), Bytes(4000, 1)); return true; },
     false, 1000, Goes::kBeside},
    {"GameFolderThatIsAFile",
     [](PlaceCases& t) {
       fs::remove(t.Game());
       testing_support::WriteBytes(t.Game(), {});
       return true;
     },
     false, 1000, Goes::kData},
    {"DataUnreadableSavesBeside",
     [](PlaceCases& t) { return fs::create_directories(t.Data()); }, false, 1000, Goes::kBeside},
    {"InstalledSavesInData", [](SavePlaces&) { return true; }, true, 1000, Goes::kData},
    // An earlier version kept the save beside the installed program: the player's own is loaded.
    {"InstalledLoadsTheOwnSaveBesideIt", [](PlaceCases& t) { t.Put(t.Beside(), 5000); return true; },
     true, 5000, Goes::kData},
    {"InstalledIgnoresSomeoneElsesSaveBesideIt",
     [](PlaceCases& t) {
       t.Put(t.Beside(), 50000);
       return Root() && chown(t.Beside().c_str(), 65534, 65534) == 0;
     },
     true, 1000, Goes::kData},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Folders, PlaceCases, ::testing::ValuesIn(kPlaceCases),
                         [](const ::testing::TestParamInfo<PlaceCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(SavePlaces, AStartCreatesNoDataFolderItDoesNotNeed) {
  rules::GameState g;
  const shell::SaveSpot spot = Open(g);
  EXPECT_EQ(spot.path, Beside());
  EXPECT_EQ(spot.dataPath, Data());
  EXPECT_FALSE(fs::exists(dir_ / "xdg"));
}

TEST_F(SavePlaces, AnInstalledGameWithNoHomeHasNowhereToSaveRatherThanItsPrefix) {
  const ScopedEnv noXdg("XDG_DATA_HOME", std::nullopt);
  const ScopedEnv home("HOME", "relative");
  rules::GameState g;
  shell::SaveSpot spot = Open(g, true);
  EXPECT_EQ(spot.path, "");
  EXPECT_FALSE(shell::SaveGame(files_, g, spot, 0));
  EXPECT_EQ(testing_support::DirEntries(game_), std::vector<std::string>{});
}

// A pid that no process has: a child that has ended and been waited for.
pid_t DeadPid() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

// Of the save and of the recall beside it.
TEST_F(SavePlaces, AStartClearsWhatKilledSavesLeftInItsOwnFoldersOnly) {
  const std::string pid = std::to_string(DeadPid());
  const std::string leftovers[] = {"keno_save.dat." + pid + ".4.tmp",
                                   "keno_recall.dat." + pid + ".2.tmp"};
  fs::create_directories(fs::path(Data()).parent_path());
  for (const fs::path& folder : {game_, fs::path(Data()).parent_path()}) {
    for (const std::string& leftover : leftovers) {
      testing_support::WriteBytes(folder / leftover, Bytes(100, 1));
    }
  }
  rules::GameState g;
  Open(g, true);
  for (const std::string& leftover : leftovers) {
    EXPECT_TRUE(fs::exists(game_ / leftover)) << "an install's folder is never written";
    EXPECT_FALSE(fs::exists(fs::path(Data()).parent_path() / leftover)) << leftover;
  }
  Open(g, false);
  for (const std::string& leftover : leftovers) EXPECT_FALSE(fs::exists(game_ / leftover));
}

struct LayoutCase {
  const char* name;
  const char* exeFolder;    // below the test's prefix
  const char* desktopFile;  // below the test's prefix; null for none
  bool installed;
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class InstalledLayout : public SavePlaces, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(InstalledLayout, IsReadFromTheFoldersAroundTheExecutable) {
  const LayoutCase& c = GetParam();
  const fs::path prefix = dir_ / "usr";
  fs::create_directories(prefix / c.exeFolder);
  if (c.desktopFile != nullptr) {
    fs::create_directories((prefix / c.desktopFile).parent_path());
    testing_support::WriteBytes(prefix / c.desktopFile, {});
  }
  EXPECT_EQ(shell::IsInstalledLayout(files_, (prefix / c.exeFolder).string() + "/"), c.installed);
  EXPECT_EQ(shell::IsInstalledLayout(files_, (prefix / c.exeFolder).string()), c.installed);
}

constexpr const char* kDesktop = "share/applications/com.brindlec.tessaline.desktop";
INSTANTIATE_TEST_SUITE_P(
    Layouts, InstalledLayout,
    ::testing::Values(LayoutCase{"Bin", "bin", kDesktop, true},
                      LayoutCase{"Games", "games", kDesktop, true},
                      LayoutCase{"BinWithoutTheMenuEntry", "bin", nullptr, false},
                      LayoutCase{"AnotherAppsMenuEntry", "bin",
                                 "share/applications/org.example.other.desktop", false},
                      LayoutCase{"BuildFolder", "build", kDesktop, false},
                      LayoutCase{"NestedBin", "opt/bin", kDesktop, false}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// --- The save routine -----------------------------------------------------------------------

class SaveRoutine : public SavePlaces {
 protected:
  void SetUp() override {
    SavePlaces::SetUp();
    rules::FillPayTables(g_);
    spot_.path = Beside();
    spot_.dataPath = Data();
  }
  // Every write fails from now on, as on a full disk.
  void DiskFull() {
    files_.writeFault = [](platform::WriteStep, std::size_t) -> int64_t { return -1; };
  }
  rules::GameState g_;
  shell::SaveSpot spot_;
};

TEST_F(SaveRoutine, ASaveThatCannotGoBesideGoesToTheDataFolderFromThenOn) {
  fs::create_directory(Beside());  // nothing can be renamed over it
  g_.balance = 4242;
  EXPECT_TRUE(shell::SaveGame(files_, g_, spot_, 0));
  EXPECT_EQ(spot_.path, Data());
  EXPECT_EQ(BalanceIn(Data()), 4242);
  EXPECT_TRUE(g_.statusMessage.empty());

  fs::remove(Beside());  // the folder could take it again, but the newer game is in the data folder
  g_.balance = 4343;
  EXPECT_TRUE(shell::SaveGame(files_, g_, spot_, 0));
  EXPECT_FALSE(fs::exists(Beside()));
  EXPECT_EQ(BalanceIn(Data()), 4343);
}

TEST_F(SaveRoutine, WrittenNowhereItTellsOnceAndASuccessEndsTheWarning) {
  DiskFull();
  EXPECT_FALSE(shell::SaveGame(files_, g_, spot_, 1000));
  EXPECT_EQ(spot_.path, Beside()) << "tried again where it goes, next time";
  EXPECT_TRUE(spot_.failing);
  EXPECT_EQ(g_.statusTitle, "NOT SAVED");
  EXPECT_EQ(g_.statusMessage, shell::kNotSavedText);
  EXPECT_EQ(g_.statusMessageTime, 1000);

  g_.statusMessage.clear();  // the notice has run its time
  EXPECT_FALSE(shell::SaveGame(files_, g_, spot_, 2000));
  EXPECT_TRUE(g_.statusMessage.empty()) << "told once, not at every save";

  rules::SetStatus(g_, "NOT SAVED", shell::kNotSavedText, 3000);
  files_.writeFault = {};
  EXPECT_TRUE(shell::SaveGame(files_, g_, spot_, 4000));
  EXPECT_FALSE(spot_.failing);
  EXPECT_TRUE(g_.statusMessage.empty()) << "the warning goes with the first success";
  EXPECT_EQ(BalanceIn(Beside()), 1000);

  DiskFull();
  EXPECT_FALSE(shell::SaveGame(files_, g_, spot_, 5000));
  EXPECT_EQ(g_.statusTitle, "NOT SAVED") << "a new failure after a success is told again";
}

TEST_F(SaveRoutine, ASuccessLeavesAnyOtherNoticeAlone) {
  DiskFull();
  shell::SaveGame(files_, g_, spot_, 0);
  files_.writeFault = {};
  rules::SetStatus(g_, "PICKS LOCKED", "Card 1 is in play until the draw ends", 10);
  EXPECT_TRUE(shell::SaveGame(files_, g_, spot_, 20));
  EXPECT_EQ(g_.statusTitle, "PICKS LOCKED");
  EXPECT_FALSE(g_.statusMessage.empty());
}

TEST_F(SaveRoutine, TheDataFolderIsMadeWhenTheFirstSaveGoesThere) {
  spot_.path = Data();
  EXPECT_TRUE(shell::SaveGame(files_, g_, spot_, 0));
  EXPECT_EQ(BalanceIn(Data()), 1000);
}

}  // namespace
