// PosixFiles: whole reads, atomic replacement, the executable's directory and the per-user data
// directory over plain POSIX calls. Keeps no state between calls but the temporaries' counter.
#include "platform/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

namespace platform {
namespace {

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteAll(int fd, std::span<const uint8_t> bytes, const WriteFaultHook& allow) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t wanted = bytes.size() - done;
    const int64_t allowed = allow(WriteStep::kWrite, wanted);
    if (allowed < 0) return false;
    const std::size_t chunk = std::min(wanted, static_cast<std::size_t>(allowed));
    // A write that moves nothing would spin for ever; a full disk looks like that.
    if (chunk == 0) return false;
    const ssize_t n = write(fd, bytes.data() + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

constexpr char kTemporarySuffix[] = ".tmp";

// A fresh file beside the target, named <target>.<pid>.<n>.tmp: the pid and a counter keep two
// writers apart, and the pid tells a later start whether its writer still lives.
int CreateTemporary(const std::string& path, std::string& tempPath) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath =
        path + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + kTemporarySuffix;
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// The pid in a name of the form <base>.<pid>.<n>.tmp, or -1 when the name has another form.
int64_t TemporaryPid(const std::string& name, const std::string& base) {
  const std::string suffix = kTemporarySuffix;
  if (name.size() <= base.size() + 1 + suffix.size() || name.compare(0, base.size(), base) != 0 ||
      name[base.size()] != '.' ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return -1;
  }
  const std::string middle =
      name.substr(base.size() + 1, name.size() - base.size() - 1 - suffix.size());
  const std::size_t dot = middle.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == middle.size() || dot > 9) return -1;
  for (std::size_t i = 0; i < middle.size(); ++i) {
    if (i != dot && (middle[i] < '0' || middle[i] > '9')) return -1;
  }
  return std::stoll(middle.substr(0, dot));
}

// A writer that is gone, or this very process: at start-up it has written nothing yet, so a file
// with its pid was left by an earlier process that had the same one.
bool WriterGone(int64_t pid) {
  if (pid == getpid()) return true;
  if (pid <= 0 || pid > INT_MAX) return true;
  return kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Read and write for the owner on top of `mode`, so no save is ever written that the game
// cannot read back or replace.
mode_t OwnerCanReadWrite(mode_t mode) { return (mode & 07777) | S_IRUSR | S_IWUSR; }

bool SyncDirectory(const std::string& dir, const WriteFaultHook& allow) {
  if (allow(WriteStep::kSyncDir, 0) < 0) return false;
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  return close(fd) == 0 && synced;
}

bool MakeDirectories(const std::string& dir) {
  for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
    if (pos != dir.size() && dir[pos] != '/') continue;
    const std::string prefix = dir.substr(0, pos);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return IsDirectory(dir);
}

std::string HomeDir() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* entry = getpwuid(getuid());
  if (entry != nullptr && entry->pw_dir != nullptr) return entry->pw_dir;
  return "";
}

std::string TargetOf(const std::string& path) {
  struct stat link;
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  struct stat target;
  if (stat(path.c_str(), &target) != 0 || !S_ISREG(target.st_mode) || target.st_uid != geteuid()) {
    return path;
  }
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string result = resolved;
  std::free(resolved);
  return result;
}

}  // namespace

std::string PosixFiles::ReplaceTarget(const std::string& path) { return TargetOf(path); }

ReadStatus PosixFiles::ReadFile(const std::string& path, std::vector<uint8_t>& bytes,
                                std::size_t maxBytes, FileFacts* facts) {
  bytes.clear();
  struct stat link;
  if (lstat(path.c_str(), &link) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? ReadStatus::kAbsent : ReadStatus::kUnreadable;
  }
  const std::string target = TargetOf(path);
  if (S_ISLNK(link.st_mode) && target == path) return ReadStatus::kAbsent;
  // Non-blocking so that a FIFO planted at the path cannot hang the start-up.
  const int fd = open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW);
  if (fd < 0) return errno == ENOENT ? ReadStatus::kAbsent : ReadStatus::kUnreadable;
  struct stat st;
  ReadStatus status = ReadStatus::kRead;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    status = ReadStatus::kUnreadable;
  } else {
    if (facts != nullptr) {
      facts->modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                          static_cast<int64_t>(st.st_mtim.tv_nsec);
      facts->ownedByUser = st.st_uid == geteuid();
    }
    if (static_cast<uint64_t>(st.st_size) > maxBytes) status = ReadStatus::kTooLong;
  }
  if (status == ReadStatus::kRead) bytes.reserve(static_cast<std::size_t>(st.st_size));
  uint8_t chunk[4096];
  while (status == ReadStatus::kRead) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      status = ReadStatus::kUnreadable;
    } else if (n == 0) {
      break;
    } else if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
      status = ReadStatus::kTooLong;  // grew since fstat
    } else {
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
  }
  close(fd);
  if (status != ReadStatus::kRead) bytes.clear();
  return status;
}

bool PosixFiles::WriteFileAtomic(const std::string& linkOrPath, std::span<const uint8_t> bytes) {
  const WriteFaultHook allow = [this](WriteStep step, std::size_t wanted) {
    return AllowWriteStep(step, wanted);
  };
  const std::string path = TargetOf(linkOrPath);
  std::string tempPath;
  const int fd = CreateTemporary(path, tempPath);
  if (fd < 0) return false;

  // Keep the permissions the player may have given the old file (a new one has the umask's).
  struct stat old;
  bool ok = true;
  if ((lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) || fstat(fd, &old) == 0) {
    ok = fchmod(fd, OwnerCanReadWrite(old.st_mode)) == 0;
  }
  ok = ok && WriteAll(fd, bytes, allow);
  ok = ok && allow(WriteStep::kSyncFile, 0) >= 0 && fsync(fd) == 0;
  // close can be the first to report a failed write on some file systems.
  ok = (close(fd) == 0) && ok;
  ok = ok && allow(WriteStep::kRename, 0) >= 0 && rename(tempPath.c_str(), path.c_str()) == 0;
  if (!ok) {
    unlink(tempPath.c_str());
    return false;
  }
  return SyncDirectory(DirectoryOf(path), allow);
}

void PosixFiles::RemoveStaleTemporaries(const std::string& path) {
  const std::string dir = DirectoryOf(path);
  const std::string base = BaseName(path);
  DIR* listing = opendir(dir.c_str());
  if (listing == nullptr) return;
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    const int64_t pid = TemporaryPid(name, base);
    if (pid < 0 || !WriterGone(pid)) continue;
    struct stat st;
    const std::string full = dir + "/" + name;
    if (lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) stale.push_back(full);
  }
  closedir(listing);
  for (const std::string& file : stale) unlink(file.c_str());
}

int64_t PosixFiles::FileSize(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool PosixFiles::DeleteFile(const std::string& path) {
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::string PosixFiles::ExecutableDir() {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", target.data(), target.size());
    if (n < 0) return "";
    if (static_cast<std::size_t>(n) < target.size()) {
      target.resize(static_cast<std::size_t>(n));
      break;
    }
    target.resize(target.size() * 2);  // may have been cut short
  }
  const std::size_t slash = target.rfind('/');
  if (slash == std::string::npos) return "";
  return target.substr(0, slash + 1);
}

bool PosixFiles::IsDirWritable(const std::string& dir) {
  return !dir.empty() && IsDirectory(dir) && access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string PosixFiles::XdgDataDir(bool create) {
  std::string base;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  // Relative values are invalid by the XDG rules and would depend on the working directory.
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    const std::string home = HomeDir();
    if (home.empty() || home[0] != '/') return "";
    base = home + "/.local/share";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string dir = (base == "/" ? "" : base) + "/tessaline";
  if (create && !MakeDirectories(dir)) return "";
  return dir + "/";
}

int64_t PosixFiles::AllowWriteStep(WriteStep, std::size_t wanted) {
  return static_cast<int64_t>(wanted);
}

}  // namespace platform
