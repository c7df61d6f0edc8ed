// The sound cues: single tones for the caller, the two melodies on a thread of their own, and an
// orderly end of that thread before the output closes. Reads the tone bank, never changes it.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <span>
#include <system_error>

#include "sound/sound.h"

namespace sound {

namespace {

void PlayFromBank(SoundSystem& s, int frequencyHz, int durationMs) {
  if (!s.audio) return;
  const auto tone = s.bank.find(ToneKey(frequencyHz, durationMs));
  if (tone != s.bank.end()) s.audio->Play(tone->second);
}

class SteadyClock final : public MelodyClock {
 public:
  void Sleep(int durationMs) override {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(durationMs), [this] { return stopped_; });
  }
  void Stop() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
    }
    wake_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopped_ = false;  // sticky: a sleep that begins after Stop must not wait either
};

// Sleeps on the melody clock; shutdown cuts the sleep short.
void Pause(SoundSystem& s, int durationMs) {
  if (s.clock) s.clock->Sleep(durationMs);
}

bool Stopping(SoundSystem& s) {
  std::lock_guard<std::mutex> lock(s.melodyMutex);
  return s.stopping;
}

void RunMelody(SoundSystem& s, std::span<const Note> notes) {
  for (const Note& note : notes) {
    if (Stopping(s)) break;
    if (note.frequencyHz == 0) {
      Pause(s, note.durationMs);
    } else {
      PlayToneAndWait(s, note.frequencyHz, note.durationMs);
    }
  }
  s.melodyPlaying.store(false);  // the thread's last touch of the sound system
}

bool StartMelody(SoundSystem& s, std::span<const Note> notes) {
  std::lock_guard<std::mutex> lock(s.melodyMutex);
  if (s.stopping || s.melodyPlaying.load()) return false;
  // The output is taken here, on the caller's thread, rather than at the melody's first note.
  if (s.audio && s.soundOn.load()) s.audio->Resume();
  // A finished melody's thread has nothing left to do but return: joining it is immediate.
  if (s.melody.joinable()) s.melody.join();
  s.melodyPlaying.store(true);
  try {
    s.melody = std::thread(RunMelody, std::ref(s), notes);
  } catch (const std::system_error&) {
    s.melodyPlaying.store(false);
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<MelodyClock> MakeSteadyClock() { return std::make_unique<SteadyClock>(); }

SoundSystem::~SoundSystem() { ShutdownSound(*this); }

bool StartSound(SoundSystem& s, std::unique_ptr<platform::Audio> audio) {
  s.audio = std::move(audio);
  return s.audio && s.audio->Open();
}

void SetSoundOn(SoundSystem& s, bool on) { s.soundOn.store(on); }

void PlayTone(SoundSystem& s, int frequencyHz, int durationMs) {
  if (s.soundOn.load()) PlayFromBank(s, frequencyHz, durationMs);
}

void PlayTone(SoundSystem& s, Note note) { PlayTone(s, note.frequencyHz, note.durationMs); }

void PlayToneAndWait(SoundSystem& s, int frequencyHz, int durationMs) {
  if (!s.soundOn.load()) return;
  PlayFromBank(s, frequencyHz, durationMs);
  Pause(s, durationMs);
}

bool StartWinJingle(SoundSystem& s) { return StartMelody(s, kWinJingle); }

bool StartFanfare(SoundSystem& s) { return StartMelody(s, kFanfare); }

bool MelodyPlaying(const SoundSystem& s) { return s.melodyPlaying.load(); }

void UpdateOutput(SoundSystem& s, bool expectSound, int64_t nowMs) {
  if (!s.audio) return;
  const bool wanted = expectSound && s.soundOn.load();
  // No melody can start behind this check: only the main thread starts them.
  if (wanted || MelodyPlaying(s)) {
    s.outputWantedMs = nowMs;
    if (wanted) s.audio->Resume();
    return;
  }
  if (nowMs - s.outputWantedMs < kOutputLingerMs || !s.audio->Holding()) return;
  s.audio->Suspend();
  if (s.audio->Holding()) s.outputWantedMs = nowMs;  // a sound still plays: try again later
}

std::optional<int64_t> OutputDeadline(SoundSystem& s) {
  if (!s.audio || !s.audio->Holding()) return std::nullopt;
  return s.outputWantedMs + kOutputLingerMs;
}

void ShutdownSound(SoundSystem& s) {
  std::thread melody;
  {
    std::lock_guard<std::mutex> lock(s.melodyMutex);
    s.stopping = true;
    melody = std::move(s.melody);
  }
  // After `stopping` is set: a melody between two notes then sees it, one asleep is woken.
  if (s.clock) s.clock->Stop();
  if (melody.joinable()) melody.join();
  if (s.audio) s.audio->Close();
}

}  // namespace sound
