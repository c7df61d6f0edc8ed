// A melody clock for the sound tests: time is a number the clock keeps, and every sleep is
// recorded. Running free, a sleep passes at once and moves the time on by its length, so a whole
// melody takes no real time; held, a sleep waits until the test lets the time run or stops it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <vector>

#include "sound/sound.h"

namespace sound_test {

struct SleepRecord {
  int64_t startMs = 0;
  int durationMs = 0;
  bool cutShort = false;  // Stop ended it before its time
  bool operator==(const SleepRecord&) const = default;
};
inline void PrintTo(const SleepRecord& r, std::ostream* os) {
  *os << r.durationMs << " ms from " << r.startMs << (r.cutShort ? ", cut short" : "");
}

class VirtualClock final : public sound::MelodyClock {
 public:
  explicit VirtualClock(bool held = false) : held_(held) {}

  void Sleep(int durationMs) override {
    std::unique_lock<std::mutex> lock(mutex_);
    const int64_t end = now_ + durationMs;
    sleeps_.push_back({now_, durationMs, false});
    const size_t mine = sleeps_.size() - 1;
    asleep_ = true;
    sleepEnd_ = end;
    changed_.notify_all();
    if (!held_ && !stopped_) now_ = end;
    // A held sleep nobody ends gives up after a generous while, so a shutdown that forgets the
    // clock fails its test instead of hanging it.
    const bool ended =
        changed_.wait_for(lock, std::chrono::seconds(20), [&] { return stopped_ || now_ >= end; });
    sleeps_[mine].cutShort = ended && now_ < end;
    asleep_ = false;
    changed_.notify_all();
  }

  void Stop() override {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

  int64_t NowMs() {
    std::lock_guard<std::mutex> lock(mutex_);
    return now_;
  }

  std::vector<SleepRecord> Sleeps() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sleeps_;
  }

  // Held: waits (generously) until `count` sleeps have begun and the last one still waits.
  bool WaitForSleep(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20),
                             [&] { return sleeps_.size() >= count && asleep_; });
  }

  // Held no more: the sleep under way ends at its time, and every later one passes at once.
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = false;
    if (asleep_ && now_ < sleepEnd_) now_ = sleepEnd_;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool held_;
  bool stopped_ = false;
  bool asleep_ = false;
  int64_t now_ = 0;  // ms since the clock was made
  int64_t sleepEnd_ = 0;
  std::vector<SleepRecord> sleeps_;
};

}  // namespace sound_test
