// Whole-file reads and the atomic write: a write that fails at any step must leave the old file
// as it was and no temporary file behind. Also the executable's and the per-user directories.
#include "platform/files.h"
#include "support/scoped_env.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

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
  void TearDown() override {
    platform::SetWriteFaultHook({});
    testing_support::RemoveTempDir(dir_);
  }


  fs::path dir_;
  std::string path_;
};

TEST_F(FilesTest, ReadFileReadsRegularFilesWithinTheLimitOnly) {
  const Bytes content = {1, 2, 0, 4, 5};
  testing_support::WriteBytes(path_, content);
  Bytes bytes = {9};
  ASSERT_TRUE(platform::ReadFile(path_, bytes, 5));
  EXPECT_EQ(bytes, content);

  EXPECT_FALSE(platform::ReadFile(path_, bytes, 4));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(platform::ReadFile((dir_ / "missing").string(), bytes));
  EXPECT_FALSE(platform::ReadFile(dir_.string(), bytes));

  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(platform::ReadFile(fifo, bytes));  // and does not hang waiting for a writer

  testing_support::WriteBytes(path_, {});
  EXPECT_TRUE(platform::ReadFile(path_, bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST_F(FilesTest, AtomicWriteReplacesTheFileAndKeepsItsPermissions) {
  testing_support::WriteBytes(path_, Bytes(1000, 7));
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  const Bytes content = {4, 3, 2, 1};
  ASSERT_TRUE(platform::WriteFileAtomic(path_, content));
  EXPECT_EQ(testing_support::ReadBytes(path_), content);
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(testing_support::DirEntries(dir_), std::vector<std::string>{"target.dat"});
}

TEST_F(FilesTest, AtomicWriteIntoAMissingDirectoryFails) {
  EXPECT_FALSE(platform::WriteFileAtomic((dir_ / "nowhere" / "f").string(), Bytes{1}));
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
    platform::SetWriteFaultHook([this](platform::WriteStep step, std::size_t wanted) -> int64_t {
      if (step != GetParam().step) return static_cast<int64_t>(wanted);
      return calls_++ == 0 ? GetParam().answer : -1;
    });
  }
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
    EXPECT_FALSE(platform::WriteFileAtomic(path_, fresh));
    platform::SetWriteFaultHook({});

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

TEST_F(FilesTest, FileSizeAndDelete) {
  EXPECT_EQ(platform::FileSize(path_), -1);
  EXPECT_EQ(platform::FileSize(dir_.string()), -1);
  testing_support::WriteBytes(path_, Bytes(5, 0));
  EXPECT_EQ(platform::FileSize(path_), 5);
  EXPECT_TRUE(platform::DeleteFile(path_));
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_TRUE(platform::DeleteFile(path_));  // already gone
  EXPECT_FALSE(platform::DeleteFile(dir_.string()));
}

TEST_F(FilesTest, ExecutableDirHoldsThisTestProgram) {
  const std::string dir = platform::ExecutableDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_TRUE(fs::is_regular_file(dir + "platform_tests"));
}

TEST_F(FilesTest, DirWritable) {
  EXPECT_TRUE(platform::IsDirWritable(dir_.string()));
  EXPECT_FALSE(platform::IsDirWritable((dir_ / "missing").string()));
  EXPECT_FALSE(platform::IsDirWritable(""));
  testing_support::WriteBytes(path_, {});
  EXPECT_FALSE(platform::IsDirWritable(path_));
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

  const std::string got = platform::XdgDataDir();
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

TEST_F(FilesTest, XdgDataDirThatCannotBeCreatedIsEmpty) {
  testing_support::WriteBytes(path_, {});
  const ScopedEnv xdgEnv("XDG_DATA_HOME", path_);  // a file where a directory should be
  EXPECT_EQ(platform::XdgDataDir(), "");
}

}  // namespace
