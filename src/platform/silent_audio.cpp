// The audio output that plays nothing, for headless runs: no device, no SDL.
#include "platform/audio.h"

namespace platform {

bool SilentAudio::Open() { return true; }

SoundHandle SilentAudio::Load(const uint8_t* image, std::size_t size) {
  if (image == nullptr || size == 0) return {};
  return SoundHandle{++loaded_};
}

void SilentAudio::Play(SoundHandle) {}

void SilentAudio::Close() {}

}  // namespace platform
