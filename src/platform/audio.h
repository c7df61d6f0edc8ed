// The audio output the sound cues play through: open it once, load WAV images from memory, play a
// loaded sound once. Two implementations: the system's (SDL2_mixer, in platform/sdl) and a silent
// one for headless runs. Knows nothing of tones or cues.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

struct SoundHandle {
  int64_t id = 0;  // 0: empty, plays nothing
  bool Empty() const { return id == 0; }
};

class Audio {
 public:
  virtual ~Audio() = default;

  // Opens the output; called once at start. False when there is none: loads then give empty
  // handles and every play does nothing.
  virtual bool Open() = 0;
  // Copies what it needs of a whole WAV image; an empty handle when the image cannot be loaded.
  virtual SoundHandle Load(const uint8_t* image, std::size_t size) = 0;
  // Plays the sound once at full volume, from any thread. A sound that is still sounding starts
  // again from its beginning while other sounds play on. Nothing for an empty handle, or when the
  // output is not open.
  virtual void Play(SoundHandle sound) = 0;
  // Stops every sound and releases the output and the loaded sounds; later plays do nothing.
  virtual void Close() = 0;

  // While the game is silent the device is let go, so nothing of audio wakes: Suspend releases
  // it, keeping the loaded sounds, unless a sound still plays; Resume takes it again ahead of a
  // sound to come (false when it cannot), and a Play while suspended takes it itself. Holding is
  // true while a device is taken. Outputs without a device keep the defaults: nothing is held.
  virtual void Suspend() {}
  virtual bool Resume() { return true; }
  virtual bool Holding() { return false; }
};

// The system's audio output. Its diagnostics never reach stdout or stderr.
std::unique_ptr<Audio> MakeSystemAudio();

// An output that always opens, loads every image and plays nothing.
class SilentAudio final : public Audio {
 public:
  bool Open() override;
  SoundHandle Load(const uint8_t* image, std::size_t size) override;
  void Play(SoundHandle sound) override;
  void Close() override;

 private:
  int64_t loaded_ = 0;
};

}  // namespace platform
