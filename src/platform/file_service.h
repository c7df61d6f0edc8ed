// The files the game keeps, as the seam hands them out: whole-file reads, crash-safe whole-file
// replacement, and the places the game may keep its save. The POSIX implementation serves the
// game (posix_files.h); the null platform's adds write faults for tests.
// An interface only: no OS header here, so the save code builds and is fuzzed without one.
#pragma once

#include <cstddef>
#include <cstdint>
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

class FileService {
 public:
  virtual ~FileService() = default;

  // The file a replace of `path` writes: the target of a symbolic link to a regular file this
  // user owns, so a file the player linked elsewhere keeps being updated there; else `path`
  // itself, so any other link is replaced and never followed to a device or someone else's file.
  virtual std::string ReplaceTarget(const std::string& path) = 0;

  // Reads the file at `path` whole into `bytes`, emptied unless the result is kRead; a file
  // longer than `maxBytes` is not read. Links are read as WriteFileAtomic treats them: followed
  // only to a regular file this user owns. `facts`, when given, is filled for every regular file
  // opened (kRead and kTooLong).
  virtual ReadStatus ReadFile(const std::string& path, std::vector<uint8_t>& bytes,
                              std::size_t maxBytes, FileFacts* facts) = 0;

  // Replaces the file at ReplaceTarget(path) with `bytes` so that a crash, power cut or full disk
  // leaves either the old content or the new, never a mix. On any failure before the new content
  // is in place the old file is left as it was, nothing else is left behind, and the result is
  // false. False too when the new content is in place but may not survive a power cut. The new
  // file keeps the old one's permissions, always with read and write for its owner, so a save
  // can be read back whatever mode the old one had.
  virtual bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) = 0;

  // Removes what WriteFileAtomic leaves beside `path` when the process is killed or the disk
  // fills mid-write: only its own temporary files, and never one of a live process other than
  // this one.
  virtual void RemoveStaleTemporaries(const std::string& path) = 0;

  // Size in bytes of the regular file at `path`, -1 when there is none.
  virtual int64_t FileSize(const std::string& path) = 0;

  // Removes the file; true when it is gone afterwards (including when it never existed).
  virtual bool DeleteFile(const std::string& path) = 0;

  // Directory of the running executable, ending in '/'; empty when it cannot be found.
  virtual std::string ExecutableDir() = 0;

  // True when new files can be created in `dir`.
  virtual bool IsDirWritable(const std::string& dir) = 0;

  // The game's per-user data directory, ending in '/': $XDG_DATA_HOME/tessaline/ when that is
  // an absolute path, else $HOME/.local/share/tessaline/. With `create`, made (mode 0700) when
  // missing, and empty when it cannot be; empty too when there is no home to put it in.
  virtual std::string XdgDataDir(bool create) = 0;
};

}  // namespace platform
