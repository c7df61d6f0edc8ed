// The POSIX files service: whole-file reads and the atomic write, where a write that fails at any
// step (injected through the null platform's files) must leave the old file as it was and no
// temporary file behind. Also the executable's and the per-user directories.
#include "platform/posix_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/null/null_system.h"
#include "support/scoped_env.h"
#include "support/temp_files.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Bytes;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing_support::MakeTempDir("tessaline-files");
    ASSERT_FALSE(dir_.empty());
    path_ = (dir_ / "target.dat").string();
  }
  void TearDown() override { testing_support::RemoveTempDir(dir_); }

  platform::PosixFiles files_;
  fs::path dir_;
  std::string path_;
};

// Root reads and writes whatever the permission bits say; cases that rely on them skip then.
bool Root() { return geteuid() == 0; }

// A regular file of someone else, for root to point links at; empty when not root.
std::string ForeignFile(const fs::path& dir) {
  if (!Root()) return "";
  const std::string path = (dir / "foreign.dat").string();
  testing_support::WriteBytes(path, Bytes(372, 9));
  if (chown(path.c_str(), 65534, 65534) != 0) return "";
  return path;
}

struct ReadCase {
  const char* name;
  // Puts something at `path` (in `dir`); false when this machine cannot set the case up.
  std::function<bool(const fs::path& dir, const std::string& path)> make;
  platform::ReadStatus status;
  Bytes bytes;  // read when kRead
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadFileTest : public FilesTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadFileTest, TellsWhatIsThere) {
  const ReadCase& c = GetParam();
  if (!c.make(dir_, path_)) GTEST_SKIP() << "cannot be set up here";
  Bytes bytes = {9};
  platform::FileFacts facts;
  EXPECT_EQ(files_.ReadFile(path_, bytes, 5, &facts), c.status);
  EXPECT_EQ(bytes, c.status == platform::ReadStatus::kRead ? c.bytes : Bytes{});
  if (c.status == platform::ReadStatus::kRead) {
    EXPECT_TRUE(facts.ownedByUser);
    EXPECT_GT(facts.modifiedNs, 0);
  }
}

const Bytes kFive = {1, 2, 0, 4, 5};
bool Write(const std::string& path, const Bytes& bytes) {
  testing_support::WriteBytes(path, bytes);
  return true;
}
bool Link(const std::string& target, const std::string& path) {
  return symlink(target.c_str(), path.c_str()) == 0;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Files, ReadFileTest,
    ::testing::Values(
        ReadCase{"WithinTheLimit", [](auto, auto& p) { return Write(p, kFive); },
                 platform::ReadStatus::kRead, kFive},
        ReadCase{"Empty", [](auto, auto& p) { return Write(p, {}); },
                 platform::ReadStatus::kRead, {}},
        ReadCase{"LongerThanTheLimit", [](auto, auto& p) { return Write(p, Bytes(6, 1)); },
                 platform::ReadStatus::kTooLong, {}},
        ReadCase{"Missing", [](auto, auto&) { return true; }, platform::ReadStatus::kAbsent, {}},
        ReadCase{"ADirectory", [](auto, auto& p) { return fs::create_directory(p); },
                 platform::ReadStatus::kUnreadable, {}},
        // And it does not hang waiting for a writer.
        ReadCase{"AFifo", [](auto, auto& p) { return mkfifo(p.c_str(), 0600) == 0; },
                 platform::ReadStatus::kUnreadable, {}},
        ReadCase{"NoReadPermission",
                 [](auto, auto& p) { return !Root() && Write(p, kFive) && chmod(p.c_str(), 0200) == 0; },
                 platform::ReadStatus::kUnreadable, {}},
        ReadCase{"LinkToOwnFile",
                 [](const fs::path& d, auto& p) { return Write((d / "t").string(), kFive) && Link("t", p); },
                 platform::ReadStatus::kRead, kFive},
        ReadCase{"LinkToADevice", [](auto, auto& p) { return Link("/dev/zero", p); },
                 platform::ReadStatus::kAbsent, {}},
        ReadCase{"DanglingLink", [](auto, auto& p) { return Link("nowhere", p); },
                 platform::ReadStatus::kAbsent, {}},
        ReadCase{"LinkToSomeoneElsesFile",
                 [](const fs::path& d, auto& p) {
                   const std::string foreign = ForeignFile(d);
                   return !foreign.empty() && Link(foreign, p);
                 },
                 platform::ReadStatus::kAbsent, {}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });
// clang-format on

struct ModeCase {
  mode_t old;  // the replaced file's mode, 0 for no old file
  mode_t now;
};

TEST_F(FilesTest, AtomicWriteKeepsThePermissionsButNeverLosesTheOwnersReadAndWrite) {
  const ModeCase cases[] = {{0640, 0640}, {0600, 0600}, {0444, 0644}, {0200, 0600}, {0000, 0600}};
  const Bytes content = {4, 3, 2, 1};
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.old);
    fs::remove(path_);
    testing_support::WriteBytes(path_, Bytes(1000, 7));
    ASSERT_EQ(chmod(path_.c_str(), c.old), 0);
    ASSERT_TRUE(files_.WriteFileAtomic(path_, content));
    EXPECT_EQ(testing_support::ReadBytes(path_), content);
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.now);
  }
  // A new file under a umask that would shut the owner out.
  fs::remove(path_);
  const mode_t umaskWas = umask(0377);
  const bool written = files_.WriteFileAtomic(path_, content);
  umask(umaskWas);
  ASSERT_TRUE(written);
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0700, 0600u);
  EXPECT_EQ(testing_support::DirEntries(dir_), std::vector<std::string>{"target.dat"});
}

TEST_F(FilesTest, AtomicWriteUpdatesALinkedOwnFileAtItsTargetAndReplacesAnyOtherLink) {
  const Bytes content = {4, 3, 2, 1};
  // The player keeps the save in a synced folder and links it: the link stays, the file changes.
  fs::create_directory(dir_ / "synced");
  const fs::path synced = dir_ / "synced" / "keno_save.dat";
  testing_support::WriteBytes(synced, Bytes(372, 7));
  ASSERT_EQ(chmod(synced.c_str(), 0640), 0);
  ASSERT_TRUE(Link("synced/keno_save.dat", path_));
  ASSERT_TRUE(files_.WriteFileAtomic(path_, content));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(testing_support::ReadBytes(synced), content);
  EXPECT_EQ(fs::status(synced).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(testing_support::DirEntries(dir_ / "synced"),
            std::vector<std::string>{"keno_save.dat"});

  // Links to a device, to nothing, to a folder and to someone else's file are replaced by a file
  // of their own; what they pointed at is left alone.
  fs::create_directory(dir_ / "folder");
  const std::string foreign = ForeignFile(dir_);
  std::vector<std::string> targets = {"/dev/null", (dir_ / "gone").string(),
                                      (dir_ / "folder").string()};
  if (!foreign.empty()) targets.push_back(foreign);
  for (const std::string& target : targets) {
    SCOPED_TRACE(target);
    fs::remove(path_);
    ASSERT_TRUE(Link(target, path_));
    ASSERT_TRUE(files_.WriteFileAtomic(path_, content));
    EXPECT_FALSE(fs::is_symlink(path_));
    EXPECT_EQ(testing_support::ReadBytes(path_), content);
  }
  EXPECT_FALSE(fs::exists(dir_ / "gone"));
  EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
  if (!foreign.empty()) {
    EXPECT_EQ(testing_support::ReadBytes(foreign), Bytes(372, 9));
  }
}

TEST_F(FilesTest, AtomicWriteIntoAMissingDirectoryFails) {
  EXPECT_FALSE(files_.WriteFileAtomic((dir_ / "nowhere" / "f").string(), Bytes{1}));
  EXPECT_TRUE(testing_support::DirEntries(dir_).empty());
}

struct FaultCase {
  const char* name;
  platform::WriteStep step;
  int64_t answer;       // what the hook says at that step (first kWrite call only)
  bool newContentKept;  // the rename already happened
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class AtomicWriteFaultTest : public FilesTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  // Faults only the first time the step comes up; a short write is followed by a full disk.
  void InstallFault() {
    faulty_.writeFault = [this](platform::WriteStep step, std::size_t wanted) -> int64_t {
      if (step != GetParam().step) return static_cast<int64_t>(wanted);
      return calls_++ == 0 ? GetParam().answer : -1;
    };
  }
  platform::ScriptedFiles faulty_;
  int calls_ = 0;
};

TEST_P(AtomicWriteFaultTest, FailureKeepsTheOldFileAndLeavesNoTemporary) {
  const Bytes old(372, 0xAB);
  const Bytes fresh(372, 0x11);
  for (bool oldExists : {true, false}) {
    SCOPED_TRACE(oldExists ? "over an old file" : "no old file");
    fs::remove(path_);
    calls_ = 0;
    if (oldExists) testing_support::WriteBytes(path_, old);
    InstallFault();
    EXPECT_FALSE(faulty_.WriteFileAtomic(path_, fresh));
    faulty_.writeFault = {};

    if (GetParam().newContentKept) {
      EXPECT_EQ(testing_support::ReadBytes(path_), fresh);
    } else if (oldExists) {
      EXPECT_EQ(testing_support::ReadBytes(path_), old);
    } else {
      EXPECT_FALSE(fs::exists(path_));
    }
    const auto entries = testing_support::DirEntries(dir_);
    EXPECT_LE(entries.size(), 1u);
    for (const auto& name : entries) EXPECT_EQ(name, "target.dat");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, AtomicWriteFaultTest,
    ::testing::Values(FaultCase{"WriteFailsAtOnce", platform::WriteStep::kWrite, -1, false},
                      FaultCase{"ShortWriteThenDiskFull", platform::WriteStep::kWrite, 100, false},
                      FaultCase{"NothingWritten", platform::WriteStep::kWrite, 0, false},
                      FaultCase{"SyncFails", platform::WriteStep::kSyncFile, -1, false},
                      FaultCase{"RenameFails", platform::WriteStep::kRename, -1, false},
                      FaultCase{"DirectorySyncFails", platform::WriteStep::kSyncDir, -1, true}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// A test's faults stay with the files service it set them on; the game's own files never see them.
TEST_F(FilesTest, FaultsBelongToTheFilesServiceTheyAreSetOn) {
  platform::ScriptedFiles faulty;
  faulty.writeFault = [](platform::WriteStep, std::size_t) -> int64_t { return -1; };
  EXPECT_FALSE(faulty.WriteFileAtomic(path_, Bytes{1}));
  EXPECT_TRUE(files_.WriteFileAtomic(path_, Bytes{2}));
  EXPECT_EQ(testing_support::ReadBytes(path_), Bytes{2});
}

// A pid that no process has: a child that has ended and been waited for.
pid_t DeadPid() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST_F(FilesTest, StaleTemporariesOfTheSaveAreRemovedAndNothingElse) {
  const std::string dead = std::to_string(DeadPid());
  const std::string self = std::to_string(getpid());
  const std::string live = std::to_string(getppid());
  const std::vector<std::string> stale = {"target.dat." + dead + ".0.tmp",
                                          "target.dat." + dead + ".17.tmp",
                                          "target.dat." + self + ".3.tmp"};
  const std::vector<std::string> kept = {
      "target.dat",                     // the save itself
      "target.dat." + live + ".0.tmp",  // a writer that still runs
      "target.dat.tmp",
      "target.dat." + dead + ".tmp",
      "target.dat." + dead + ".x.tmp",
      "target.dat." + dead + ".0.tmp~",
      "other.dat." + dead + ".0.tmp",
      "target.dat.-1.0.tmp",
      "notes.txt"};
  for (const auto& name : stale) testing_support::WriteBytes(dir_ / name, {1});
  for (const auto& name : kept) testing_support::WriteBytes(dir_ / name, {1});
  // Of the pattern but no regular file: a folder and a link are not the writer's.
  const std::string folder = "target.dat." + dead + ".1.tmp";
  const std::string link = "target.dat." + dead + ".2.tmp";
  fs::create_directory(dir_ / folder);
  ASSERT_TRUE(Link("notes.txt", (dir_ / link).string()));

  files_.RemoveStaleTemporaries(path_);
  std::vector<std::string> left = testing_support::DirEntries(dir_);
  std::vector<std::string> expected = kept;
  expected.push_back(folder);
  expected.push_back(link);
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
}

TEST_F(FilesTest, FileSizeAndDelete) {
  EXPECT_EQ(files_.FileSize(path_), -1);
  EXPECT_EQ(files_.FileSize(dir_.string()), -1);
  testing_support::WriteBytes(path_, Bytes(5, 0));
  EXPECT_EQ(files_.FileSize(path_), 5);
  EXPECT_TRUE(files_.DeleteFile(path_));
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_TRUE(files_.DeleteFile(path_));  // already gone
  EXPECT_FALSE(files_.DeleteFile(dir_.string()));
}

TEST_F(FilesTest, ExecutableDirHoldsThisTestProgram) {
  const std::string dir = files_.ExecutableDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_TRUE(fs::is_regular_file(dir + "platform_tests"));
}

TEST_F(FilesTest, DirWritable) {
  EXPECT_TRUE(files_.IsDirWritable(dir_.string()));
  EXPECT_FALSE(files_.IsDirWritable((dir_ / "missing").string()));
  EXPECT_FALSE(files_.IsDirWritable(""));
  testing_support::WriteBytes(path_, {});
  EXPECT_FALSE(files_.IsDirWritable(path_));
}

using testing_support::ScopedEnv;

struct XdgCase {
  const char* name;
  std::optional<std::string> xdgDataHome;  // relative to the test dir when it does not start '/'
  bool xdgIsAbsolute;
  std::string expected;  // below the test dir; empty means no directory
};
void PrintTo(const XdgCase& c, std::ostream* os) { *os << c.name; }

class XdgDataDirTest : public FilesTest, public ::testing::WithParamInterface<XdgCase> {};

TEST_P(XdgDataDirTest, PicksAndCreatesTheDirectory) {
  const XdgCase& c = GetParam();
  std::optional<std::string> xdg = c.xdgDataHome;
  if (xdg && c.xdgIsAbsolute) xdg = dir_.string() + "/" + *xdg;
  const ScopedEnv xdgEnv("XDG_DATA_HOME", xdg);
  const ScopedEnv homeEnv("HOME", (dir_ / "home").string());

  const std::string got = files_.XdgDataDir(true);
  EXPECT_EQ(got, dir_.string() + "/" + c.expected);
  EXPECT_TRUE(fs::is_directory(got));
}

INSTANTIATE_TEST_SUITE_P(
    Files, XdgDataDirTest,
    ::testing::Values(XdgCase{"FromXdgDataHome", "a/b", true, "a/b/tessaline/"},
                      XdgCase{"TrailingSlash", "a/", true, "a/tessaline/"},
                      XdgCase{"UnsetUsesHome", std::nullopt, false, "home/.local/share/tessaline/"},
                      XdgCase{"EmptyUsesHome", "", false, "home/.local/share/tessaline/"},
                      XdgCase{"RelativeIgnored", "rel/data", false,
                              "home/.local/share/tessaline/"}),
    [](const ::testing::TestParamInfo<XdgCase>& info) { return std::string(info.param.name); });

TEST_F(FilesTest, XdgDataDirIsOnlyNamedWhenNotToBeCreated) {
  const ScopedEnv xdgEnv("XDG_DATA_HOME", (dir_ / "data").string());
  EXPECT_EQ(files_.XdgDataDir(false), (dir_ / "data" / "tessaline").string() + "/");
  EXPECT_FALSE(fs::exists(dir_ / "data"));
}

TEST_F(FilesTest, XdgDataDirThatCannotBeCreatedIsEmpty) {
  testing_support::WriteBytes(path_, {});
  const ScopedEnv xdgEnv("XDG_DATA_HOME", path_);  // a file where a directory should be
  EXPECT_EQ(files_.XdgDataDir(true), "");
}

}  // namespace
