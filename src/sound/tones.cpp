// Tone synthesis and the tone bank: the tones of every cue written sample by sample into WAV images
// and loaded into the audio output once at start. Plays nothing and starts no thread.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "sound/sound.h"

namespace sound {

namespace {

void PutText(uint8_t* at, const char (&text)[5]) { std::memcpy(at, text, 4); }

void Put16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::string ToneKey(int frequencyHz, int durationMs) {
  return std::to_string(frequencyHz) + "_" + std::to_string(durationMs);
}

std::vector<uint8_t> ToneImage(int frequencyHz, int durationMs) {
  if (frequencyHz <= 0 || durationMs <= 0) return {};
  const int64_t samples = int64_t{kSampleRate} * durationMs / 1000;
  const int64_t size = kWavHeaderBytes + 2 * samples;
  if (size > int64_t{UINT32_MAX}) return {};  // the RIFF size field would overflow

  std::vector<uint8_t> image;
  try {
    image.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return {};
  }
  uint8_t* p = image.data();
  constexpr uint32_t kChannels = 1;
  constexpr uint32_t kBits = 16;
  PutText(p + 0, "RIFF");
  Put32(p + 4, static_cast<uint32_t>(size - 8));
  PutText(p + 8, "WAVE");
  PutText(p + 12, "fmt ");
  Put32(p + 16, 16);
  Put16(p + 20, 1);  // integer PCM
  Put16(p + 22, kChannels);
  Put32(p + 24, kSampleRate);
  Put32(p + 28, kChannels * kSampleRate * kBits / 8);
  Put16(p + 32, kChannels * kBits / 8);
  Put16(p + 34, kBits);
  PutText(p + 36, "data");
  Put32(p + 40, static_cast<uint32_t>(2 * samples));

  // The step and the running angle are 32-bit floats and the angle is never wrapped: the tones'
  // exact samples, rounding drift included, depend on it.
  constexpr float kTwoPi = 6.2831855f;
  const auto step = static_cast<float>(static_cast<double>(kTwoPi) /
                                       (static_cast<double>(kSampleRate) / frequencyHz));
  float angle = 0.0f;
  for (int64_t i = 0; i < samples; ++i) {
    const auto sample = static_cast<int16_t>(std::sin(static_cast<double>(angle)) * kAmplitude);
    Put16(p + kWavHeaderBytes + 2 * i, static_cast<uint16_t>(sample));
    angle = angle + step;
  }
  return image;
}

platform::SoundHandle MakeTone(platform::Audio& audio, int frequencyHz, int durationMs) {
  const std::vector<uint8_t> image = ToneImage(frequencyHz, durationMs);
  if (image.empty()) return {};
  return audio.Load(image.data(), image.size());
}

void BuildToneBank(SoundSystem& s) {
  for (std::span<const Note> cue : kCues) {
    for (const Note& note : cue) {
      if (note.frequencyHz == 0) continue;  // a pause
      const std::string key = ToneKey(note.frequencyHz, note.durationMs);
      if (s.bank.contains(key)) continue;  // a tone several notes share is made once
      s.bank[key] =
          s.audio ? MakeTone(*s.audio, note.frequencyHz, note.durationMs) : platform::SoundHandle{};
    }
  }
}

}  // namespace sound
