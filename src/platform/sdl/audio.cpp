// The system's audio output over SDL2_mixer: 44100 Hz, 16-bit, a 512-frame buffer so a tone
// reaches the speaker within about 25 ms, and a mixer channel of its own for every loaded sound.
// The device is closed while the game is silent and opened again for the next sound. Owns the SDL
// audio subsystem while open; touches no window, font or video state.
#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <mutex>
#include <vector>

#include "platform/sdl/quiet.h"

namespace platform {

namespace {

constexpr int kRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 512;

class SdlAudio final : public Audio {
 public:
  ~SdlAudio() override { Close(); }

  bool Open() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_) return true;
    // SDL and its drivers report through SDL_Log, ALSA and others straight to stderr while a
    // device is sought; on a machine without one they always complain.
    SilenceSdlLog();
    const QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, kOutputChannels, kBufferFrames) != 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    Mix_QuerySpec(&deviceFormat_.rate, &deviceFormat_.format, &deviceFormat_.channels);
    open_ = holding_ = true;
    return true;
  }

  SoundHandle Load(const uint8_t* image, std::size_t size) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || image == nullptr || size == 0 || size > INT32_MAX || !TakeDevice()) return {};
    Mix_Chunk* chunk = Decode(image, size);
    if (chunk == nullptr) return {};
    const int channels = static_cast<int>(chunks_.size()) + 1;
    if (Mix_AllocateChannels(-1) < channels && Mix_AllocateChannels(channels) < channels) {
      Mix_FreeChunk(chunk);
      return {};
    }
    chunks_.push_back(chunk);
    images_.emplace_back(image, image + size);
    return SoundHandle{channels};  // the handle is its channel + 1
  }

  void Play(SoundHandle sound) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || sound.id < 1 || sound.id > static_cast<int64_t>(chunks_.size())) return;
    if (!TakeDevice()) return;
    // On its own channel a sound still playing starts over; the mixer locks its own thread out.
    Mix_PlayChannel(static_cast<int>(sound.id - 1), chunks_[sound.id - 1], 0);
  }

  void Close() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return;
    if (holding_) Mix_HaltChannel(-1);
    for (Mix_Chunk* chunk : chunks_) Mix_FreeChunk(chunk);
    chunks_.clear();
    images_.clear();
    if (holding_) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = holding_ = false;
  }

  // The device goes and its thread with it; the audio subsystem stays, so taking it again is a
  // device open and no driver start.
  void Suspend() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!holding_ || Mix_Playing(-1) > 0) return;
    Mix_CloseAudio();
    holding_ = false;
  }

  bool Resume() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ && TakeDevice();
  }

  bool Holding() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return holding_;
  }

 private:
  struct DeviceFormat {
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    bool operator==(const DeviceFormat&) const = default;
  };

  static Mix_Chunk* Decode(const std::vector<uint8_t>& image) {
    return Decode(image.data(), image.size());
  }
  static Mix_Chunk* Decode(const uint8_t* image, std::size_t size) {
    SDL_RWops* rw = SDL_RWFromConstMem(image, static_cast<int>(size));
    if (rw == nullptr) return nullptr;
    return Mix_LoadWAV_RW(rw, 1);  // decodes into its own buffer in the device's format, closes rw
  }

  // Under the lock: the device open again after a Suspend, with a channel for every sound. A
  // device that comes back in another format gets its sounds decoded again from their images.
  bool TakeDevice() {
    if (holding_) return true;
    {
      const QuietStderr quiet;
      if (Mix_OpenAudio(kRate, AUDIO_S16SYS, kOutputChannels, kBufferFrames) != 0) return false;
    }
    const int channels = static_cast<int>(chunks_.size());
    if (channels > 0 && Mix_AllocateChannels(channels) < channels) {
      Mix_CloseAudio();
      return false;
    }
    DeviceFormat now;
    Mix_QuerySpec(&now.rate, &now.format, &now.channels);
    if (!(now == deviceFormat_)) {
      for (std::size_t i = 0; i < chunks_.size(); ++i) {
        Mix_FreeChunk(chunks_[i]);
        chunks_[i] = Decode(images_[i]);
      }
      deviceFormat_ = now;
    }
    holding_ = true;
    return true;
  }

  std::mutex mutex_;  // plays come from the main and the melody thread
  bool open_ = false;
  bool holding_ = false;                      // the device is open: false while suspended
  DeviceFormat deviceFormat_;                 // the device's format the chunks are decoded in
  std::vector<Mix_Chunk*> chunks_;            // handle id - 1 is the index and the mixer channel
  std::vector<std::vector<uint8_t>> images_;  // the WAV image of each chunk, for a new format
};

}  // namespace

std::unique_ptr<Audio> MakeSystemAudio() { return std::make_unique<SdlAudio>(); }

}  // namespace platform
