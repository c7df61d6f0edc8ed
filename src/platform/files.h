// Whole-file reads, crash-safe whole-file writes, and the places the game may keep its files.
// Plain POSIX: no SDL here, so the save-file code builds and is fuzzed without it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace platform {

// What a whole-file read found at a path.
enum class ReadStatus {
  kRead,        // the bytes hold the whole file
  kAbsent,      // nothing there, or a link WriteFileAtomic would replace rather than follow
  kTooLong,     // a regular file longer than the limit; nothing was read
  kUnreadable,  // something is there that cannot be read: no permission, a directory, a device,
                // an I/O error
};

// What a read learnt of the file besides its bytes.
struct FileFacts {
  int64_t modifiedNs = 0;    // last modification, nanoseconds since the epoch
  bool ownedByUser = false;  // belongs to the user the game runs as
};

// The file a replace of `path` writes: the target of a symbolic link to a regular file this user
// owns, so a file the player linked elsewhere keeps being updated there; else `path` itself, so
// any other link is replaced and never followed to a device or someone else's file.
std::string ReplaceTarget(const std::string& path);

// Reads the file at `path` whole into `bytes`, emptied unless the result is kRead. Links are read
// as WriteFileAtomic treats them: followed only to a regular file this user owns. `facts`, when
// given, is filled for every regular file opened (kRead and kTooLong).
ReadStatus ReadFile(const std::string& path, std::vector<uint8_t>& bytes,
                    std::size_t maxBytes = SIZE_MAX, FileFacts* facts = nullptr);

// Replaces the file at ReplaceTarget(path) with `bytes` so that a crash, power cut or full disk
// leaves either the old content or the new, never a mix: a temporary file beside it is written,
// synced and renamed over the target, then the directory is synced. On any failure up to the
// rename the old file is left as it was, the temporary file is removed, and the result is false.
// A failed sync of the directory also gives false: the new content is in place but may not
// survive a power cut. The new file keeps the old one's permissions, always with read and write
// for its owner, so a save can be read back whatever mode the old one had.
bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes);

// Removes the temporary files that WriteFileAtomic leaves beside `path` when the process is
// killed or the disk fills mid-write: only names of its own pattern, only regular files, and
// never one of a live process other than this one.
void RemoveStaleTemporaries(const std::string& path);

// Size in bytes of the file at `path`, -1 when there is none.
int64_t FileSize(const std::string& path);

// Removes the file; true when it is gone afterwards (including when it never existed).
bool DeleteFile(const std::string& path);

// Directory of the running executable, ending in '/'; empty when it cannot be found.
std::string ExecutableDir();

// True when new files can be created in `dir`.
bool IsDirWritable(const std::string& dir);

// The game's per-user data directory, ending in '/': $XDG_DATA_HOME/tessaline/ when that is an
// absolute path, else $HOME/.local/share/tessaline/. With `create`, made (mode 0700) when missing,
// and empty when it cannot be; empty too when there is no home to put it in.
std::string XdgDataDir(bool create = true);

// Fault injection for tests of WriteFileAtomic. The hook is asked before each step; for kWrite
// `wanted` is the bytes about to be written and the answer is how many of them go through (fewer
// is a short write, as on a nearly full disk); for the other steps `wanted` is 0. A negative
// answer fails the step as an I/O error would. An empty hook restores normal operation.
enum class WriteStep { kWrite, kSyncFile, kRename, kSyncDir };
using WriteFaultHook = std::function<int64_t(WriteStep step, std::size_t wanted)>;
void SetWriteFaultHook(WriteFaultHook hook);

}  // namespace platform
