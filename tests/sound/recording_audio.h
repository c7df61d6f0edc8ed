// An audio output for the sound tests: keeps a copy of every loaded image, records every play in
// order from any thread with the time it came, and lets a test wait for plays or act at the
// moment one happens.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio.h"
#include "sound/sound.h"
#include "virtual_clock.h"

namespace sound_test {

class RecordingAudio final : public platform::Audio {
 public:
  bool opens = true;       // what Open answers
  bool loadsFail = false;  // every Load gives an empty handle
  // Runs on the playing thread right after play number `count` (1-based) was recorded.
  std::function<void(size_t count)> onPlay;
  std::function<int64_t()> now;  // stamps each play; 0 without

  bool Open() override {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = holding_ = opens;
    return opens;
  }

  platform::SoundHandle Load(const uint8_t* image, std::size_t size) override {
    std::lock_guard<std::mutex> lock(mutex_);
    images_.emplace_back(image, image + size);
    if (!open_ || loadsFail) return {};
    return platform::SoundHandle{static_cast<int64_t>(images_.size())};
  }

  void Play(platform::SoundHandle sound) override {
    const int64_t at = now ? now() : 0;
    size_t count = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (closed_) ++playsAfterClose_;
      if (!open_ || sound.Empty()) return;
      if (!holding_) ++resumes_;  // a play while suspended takes the device itself
      holding_ = true;
      plays_.push_back(sound.id);
      times_.push_back(at);
      count = plays_.size();
    }
    played_.notify_all();
    if (onPlay) onPlay(count);
  }

  void Close() override {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = holding_ = false;
    closed_ = true;
  }

  // The device as the real output keeps it: let go unless `sounding`, taken again by a play.
  std::atomic<bool> sounding{false};
  void Suspend() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (holding_ && !sounding) ++suspends_, holding_ = false;
  }
  bool Resume() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_ && !holding_) ++resumes_, holding_ = true;
    return open_;
  }
  bool Holding() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return holding_;
  }
  int Suspends() {
    std::lock_guard<std::mutex> lock(mutex_);
    return suspends_;
  }
  int Resumes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return resumes_;
  }

  // Waits (generously) until at least `count` plays were recorded; false if they never came.
  bool WaitForPlays(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return played_.wait_for(lock, std::chrono::seconds(20), [&] { return plays_.size() >= count; });
  }

  std::vector<int64_t> Plays() {
    std::lock_guard<std::mutex> lock(mutex_);
    return plays_;
  }
  std::vector<int64_t> PlayTimes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return times_;
  }
  std::vector<std::vector<uint8_t>> Images() {
    std::lock_guard<std::mutex> lock(mutex_);
    return images_;
  }
  bool Closed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
  }
  int PlaysAfterClose() {
    std::lock_guard<std::mutex> lock(mutex_);
    return playsAfterClose_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable played_;
  bool open_ = false;
  bool closed_ = false;
  bool holding_ = false;
  int suspends_ = 0, resumes_ = 0;
  int playsAfterClose_ = 0;
  std::vector<std::vector<uint8_t>> images_;
  std::vector<int64_t> plays_;
  std::vector<int64_t> times_;  // ms, one per play
};

// The bank keys of the recorded plays, in order ("?" for a handle the bank does not hold).
inline std::vector<std::string> PlayedKeys(const sound::SoundSystem& s, RecordingAudio& audio) {
  std::vector<std::string> keys;
  for (int64_t id : audio.Plays()) {
    std::string key = "?";
    for (const auto& [k, handle] : s.bank) {
      if (handle.id == id) key = k;
    }
    keys.push_back(key);
  }
  return keys;
}

// One tone as it reached the output: when, on the melody clock, and which.
struct Heard {
  int64_t atMs = 0;
  std::string key;
  bool operator==(const Heard&) const = default;
};
inline void PrintTo(const Heard& h, std::ostream* os) { *os << h.key << " at " << h.atMs; }
using Timeline = std::vector<Heard>;

// Polls until no melody plays; false if one still plays after a generous wait. A melody on a
// free-running clock ends within a few scheduler turns.
inline bool WaitForMelodyEnd(const sound::SoundSystem& s) {
  for (int i = 0; i < 20000 && sound::MelodyPlaying(s); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return !sound::MelodyPlaying(s);
}

enum class ClockMode { Free, Held };

// A sound system over a recording output and a virtual melody clock, opened and with its tone
// bank built.
struct RecordedSound {
  sound::SoundSystem s;
  RecordingAudio* audio = nullptr;  // owned by s
  VirtualClock* clock = nullptr;    // owned by s

  explicit RecordedSound(std::function<void(RecordingAudio&)> setUp = {},
                         ClockMode mode = ClockMode::Free) {
    auto melodyClock = std::make_unique<VirtualClock>(mode == ClockMode::Held);
    clock = melodyClock.get();
    s.clock = std::move(melodyClock);
    auto output = std::make_unique<RecordingAudio>();
    audio = output.get();
    audio->now = [c = clock] { return c->NowMs(); };
    if (setUp) setUp(*audio);
    sound::StartSound(s, std::move(output));
    sound::BuildToneBank(s);
  }
  explicit RecordedSound(ClockMode mode) : RecordedSound({}, mode) {}

  std::vector<std::string> Keys() { return PlayedKeys(s, *audio); }
  Timeline Played() {
    const std::vector<std::string> keys = Keys();
    const std::vector<int64_t> times = audio->PlayTimes();
    Timeline heard;
    for (size_t i = 0; i < keys.size(); ++i) heard.push_back({times[i], keys[i]});
    return heard;
  }
};

}  // namespace sound_test
