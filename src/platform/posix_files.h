// The files service on POSIX: whole reads that never hang on a FIFO, atomic replacement through
// a synced temporary file and a rename, the executable's directory from /proc, and the XDG data
// directory. Reports failures as results and never prints. The game gets it from the SDL system;
// nothing outside src/platform includes this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_service.h"

namespace platform {

// The steps of an atomic write, in order, for the faults a test injects into them.
enum class WriteStep { kWrite, kSyncFile, kRename, kSyncDir };
// Asked before each step; for kWrite `wanted` is the bytes about to be written and the answer is
// how many of them go through (fewer is a short write, as on a nearly full disk); for the other
// steps `wanted` is 0. A negative answer fails the step as an I/O error would.
using WriteFaultHook = std::function<int64_t(WriteStep step, std::size_t wanted)>;

class PosixFiles : public FileService {
 public:
  std::string ReplaceTarget(const std::string& path) override;
  ReadStatus ReadFile(const std::string& path, std::vector<uint8_t>& bytes, std::size_t maxBytes,
                      FileFacts* facts) override;
  // A temporary file beside the target is written, synced and renamed over it, then the
  // directory is synced; a failed sync of the directory gives false with the new content in
  // place.
  bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) override;
  // Only names of the temporary files' own pattern, only regular files.
  void RemoveStaleTemporaries(const std::string& path) override;
  int64_t FileSize(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  std::string ExecutableDir() override;
  bool IsDirWritable(const std::string& dir) override;
  std::string XdgDataDir(bool create) override;

 protected:
  // How much of a step of WriteFileAtomic may go through, as WriteFaultHook answers: the game's
  // files let everything through; the null platform's fail steps on a test's say.
  virtual int64_t AllowWriteStep(WriteStep step, std::size_t wanted);
};

}  // namespace platform
