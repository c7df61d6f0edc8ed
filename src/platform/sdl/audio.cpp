// The system's audio output over SDL2_mixer: 44100 Hz, 16-bit, a 512-frame buffer so a tone
// reaches the speaker within about 25 ms, and a mixer channel of its own for every loaded sound.
// Owns the SDL audio subsystem while open; touches no window, font or video state.
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
    open_ = true;
    return true;
  }

  SoundHandle Load(const uint8_t* image, std::size_t size) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || image == nullptr || size == 0 || size > INT32_MAX) return {};
    SDL_RWops* rw = SDL_RWFromConstMem(image, static_cast<int>(size));
    if (rw == nullptr) return {};
    Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);  // decodes into its own buffer, closes rw
    if (chunk == nullptr) return {};
    const int channels = static_cast<int>(chunks_.size()) + 1;
    if (Mix_AllocateChannels(-1) < channels && Mix_AllocateChannels(channels) < channels) {
      Mix_FreeChunk(chunk);
      return {};
    }
    chunks_.push_back(chunk);
    return SoundHandle{channels};  // the handle is its channel + 1
  }

  void Play(SoundHandle sound) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || sound.id < 1 || sound.id > static_cast<int64_t>(chunks_.size())) return;
    // On its own channel a sound still playing starts over; the mixer locks its own thread out.
    Mix_PlayChannel(static_cast<int>(sound.id - 1), chunks_[sound.id - 1], 0);
  }

  void Close() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return;
    Mix_HaltChannel(-1);
    for (Mix_Chunk* chunk : chunks_) Mix_FreeChunk(chunk);
    chunks_.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
  }

 private:
  std::mutex mutex_;  // plays come from the main and the melody thread
  bool open_ = false;
  std::vector<Mix_Chunk*> chunks_;  // handle id - 1 is the index and the mixer channel
};

}  // namespace

std::unique_ptr<Audio> MakeSystemAudio() { return std::make_unique<SdlAudio>(); }

}  // namespace platform
