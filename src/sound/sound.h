// The game's sound: every cue by name, their tones synthesised into WAV images at start and held
// in the tone bank, single tones played on the caller's thread and the two melodies on one melody
// thread. Reaches the device only through platform::Audio; never reads the game record: the shell
// hands over the sound setting with SetSoundOn.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio.h"

namespace sound {

constexpr int kSampleRate = 44100;   // Hz, mono
constexpr int kAmplitude = 18000;    // of 32767
constexpr int kWavHeaderBytes = 44;  // RIFF, fmt and data chunk headers

// One note of a cue: a tone, or a pause of 0 Hz that is waited out whether or not sound is on.
struct Note {
  int frequencyHz;
  int durationMs;
};

// Every cue the game plays, by name. The tone bank is built from kCues below and nothing else: a
// cue left out of it would play silently.
constexpr Note kHitTick{50, 10};       // a revealed ball lies on at least one card
constexpr Note kAutoRunCue{1200, 60};  // auto-run has begun
constexpr Note kWinJingle[] = {{700, 80}, {0, 5}, {900, 80}, {1200, 140}};
constexpr Note kFanfare[] = {
    {392, 200}, {523, 200}, {659, 200}, {784, 400}, {880, 400}, {784, 400}, {0, 100},
    {392, 200}, {523, 200}, {659, 200}, {784, 400}, {880, 400}, {784, 400}, {0, 100},
    {659, 200}, {659, 200}, {587, 200}, {587, 200}, {523, 200}, {494, 200}, {523, 600},
};
// All of them, in the order their tones are first built.
constexpr std::span<const Note> kCues[] = {{&kHitTick, 1}, kWinJingle, {&kAutoRunCue, 1}, kFanfare};

// "frequency_duration", e.g. "523_600".
using ToneBank = std::map<std::string, platform::SoundHandle, std::less<>>;

// What the melody thread waits on between notes. The game's clock really sleeps; a test's keeps
// virtual time, so a melody's rhythm can be checked note by note without waiting it out.
class MelodyClock {
 public:
  virtual ~MelodyClock() = default;
  // On the melody thread: waits durationMs, or less once Stop has been called.
  virtual void Sleep(int durationMs) = 0;
  // At shutdown, from any thread: ends a sleep under way, and every later sleep returns at once.
  virtual void Stop() = 0;
};

// The game's clock: sleeps on the steady clock, so a change of the wall clock cannot stretch or
// cut a note.
std::unique_ptr<MelodyClock> MakeSteadyClock();

struct SoundSystem {
  SoundSystem() = default;
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;
  ~SoundSystem();  // as ShutdownSound

  std::unique_ptr<platform::Audio> audio;  // null until StartSound: everything silent
  ToneBank bank;                           // complete before the first cue, unchanged after
  std::atomic<bool> soundOn{true};         // the shell's copy of the game's setting
  std::atomic<bool> melodyPlaying{false};  // cleared by the melody thread as its last act
  // Replaced, if at all, before the first melody starts; ShutdownSound stops it.
  std::unique_ptr<MelodyClock> clock = MakeSteadyClock();

  // Under melodyMutex: starting a melody (StartWinJingle, StartFanfare) and ShutdownSound write
  // them, and the melody thread reads `stopping` before each note.
  std::mutex melodyMutex;
  bool stopping = false;  // shutdown has begun: no more melodies, no more tones
  std::thread melody;

  int64_t outputWantedMs = 0;  // main thread: when a sound was last to be expected (UpdateOutput)
};

// How long the output stays taken after the last sound was to be expected: the pauses between
// auto-run's draws and a tick's tail in the device must not release it.
constexpr int64_t kOutputLingerMs = 1000;

// The text key of a tone: the frequency and duration in plain decimal joined by "_".
std::string ToneKey(int frequencyHz, int durationMs);

// The whole WAV image of one tone: 16-bit mono PCM at 44100 Hz, 44100 * durationMs / 1000
// samples of sin(angle) * 18000 truncated toward zero, the 32-bit float angle starting at 0 and
// never wrapped. Empty for a frequency or duration that is not positive, or an image too large.
std::vector<uint8_t> ToneImage(int frequencyHz, int durationMs);

// Synthesises the tone and loads it into the output; an empty handle on any failure.
platform::SoundHandle MakeTone(platform::Audio& audio, int frequencyHz, int durationMs);

// Start-up: takes the output and opens it. False when it cannot open (the caller warns once);
// the game then plays silently.
bool StartSound(SoundSystem& s, std::unique_ptr<platform::Audio> audio);

// Start-up, after StartSound: every tone of kCues once, whether or not the output opened.
void BuildToneBank(SoundSystem& s);

// The game's sound setting, from the main thread (each frame or on each toggle). Every tone
// checks it at the moment it would play, so muting silences the rest of a melody at once.
void SetSoundOn(SoundSystem& s, bool on);

// Plays the bank's tone once and returns at once; nothing while muted or for an unknown key.
void PlayTone(SoundSystem& s, int frequencyHz, int durationMs);
void PlayTone(SoundSystem& s, Note note);  // a single-tone cue: kHitTick, kAutoRunCue

// Plays the bank's tone and sleeps its duration on the melody clock; returns at once while
// muted. The sleep ends early at shutdown.
void PlayToneAndWait(SoundSystem& s, int frequencyHz, int durationMs);

// Start a melody on the melody thread and return at once: the three-note win jingle (about
// 305 ms) or the fanfare (5600 ms). False, and nothing started, while a melody still plays.
bool StartWinJingle(SoundSystem& s);
bool StartFanfare(SoundSystem& s);

bool MelodyPlaying(const SoundSystem& s);

// Once a frame from the main thread, at `nowMs`: while sound is on and `expectSound` (a draw or
// auto-run under way) the output is taken ahead of its first tick; once nothing was to be expected
// for kOutputLingerMs, no melody plays and nothing sounds, it is released, so a silent game's
// audio thread sleeps. Muted, it is released too.
void UpdateOutput(SoundSystem& s, bool expectSound, int64_t nowMs);
// When UpdateOutput must run next to release the output; none while nothing is held.
std::optional<int64_t> OutputDeadline(SoundSystem& s);

// Exit: ends a running melody at its next note or within its current sleep, waits for its thread,
// then closes the output. Nothing plays afterwards. Safe to call more than once.
void ShutdownSound(SoundSystem& s);

}  // namespace sound
