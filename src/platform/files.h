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

// Reads a regular file whole into `bytes` (its size is bytes.size()). False, with `bytes`
// emptied, when the file is missing, unreadable, not a regular file, or longer than maxBytes.
bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes,
              std::size_t maxBytes = SIZE_MAX);

// Replaces the file at `path` with `bytes` so that a crash, power cut or full disk leaves either
// the old content or the new, never a mix: a temporary file beside it is written, synced and
// renamed over the target, then the directory is synced. On any failure up to the rename the old
// file is left as it was, the temporary file is removed, and the result is false. A failed sync of
// the directory also gives false: the new content is in place but may not survive a power cut.
bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes);

// Size in bytes of the file at `path`, -1 when there is none.
int64_t FileSize(const std::string& path);

// Removes the file; true when it is gone afterwards (including when it never existed).
bool DeleteFile(const std::string& path);

// Directory of the running executable, ending in '/'; empty when it cannot be found.
std::string ExecutableDir();

// True when new files can be created in `dir`.
bool IsDirWritable(const std::string& dir);

// The game's per-user data directory, ending in '/': $XDG_DATA_HOME/tessaline/ when that is an
// absolute path, else $HOME/.local/share/tessaline/. Created (mode 0700) when missing; empty
// when it cannot be found or created.
std::string XdgDataDir();

// Fault injection for tests of WriteFileAtomic. The hook is asked before each step; for kWrite
// `wanted` is the bytes about to be written and the answer is how many of them go through (fewer
// is a short write, as on a nearly full disk); for the other steps `wanted` is 0. A negative
// answer fails the step as an I/O error would. An empty hook restores normal operation.
enum class WriteStep { kWrite, kSyncFile, kRename, kSyncDir };
using WriteFaultHook = std::function<int64_t(WriteStep step, std::size_t wanted)>;
void SetWriteFaultHook(WriteFaultHook hook);

}  // namespace platform
