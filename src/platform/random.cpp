// getrandom(2) behind a 4 KiB buffer per thread, so threads that draw at once share nothing.
#include "platform/random.h"

#include <sys/random.h>

#include <atomic>
#include <cerrno>
#include <cstddef>

namespace platform {
namespace {

constexpr std::size_t kBufferWords = 1024;
thread_local uint32_t buffer[kBufferWords];
thread_local std::size_t next = kBufferWords;  // all used
std::atomic<bool> open = false;

bool Refill() {
  auto* bytes = reinterpret_cast<unsigned char*>(buffer);
  std::size_t got = 0;
  while (got < sizeof buffer) {
    ssize_t n = getrandom(bytes + got, sizeof buffer - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    got += static_cast<std::size_t>(n);
  }
  next = 0;
  return true;
}

}  // namespace

bool OpenSecureRandom() {
  open = Refill();
  return open;
}

bool ReadSecureWord(uint32_t& word) {
  if (!open) return false;
  if (next == kBufferWords && !Refill()) return false;
  word = buffer[next++];
  return true;
}

void CloseSecureRandom() {
  open = false;
  next = kBufferWords;
}

}  // namespace platform
