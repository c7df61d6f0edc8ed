// The synthesised tones: the WAV layout byte by byte, the thirteen tones of the bank and their
// samples against values computed independently, and what an empty or unknown tone plays.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "recording_audio.h"
#include "sound/sound.h"

namespace {

using sound_test::RecordedSound;

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
uint32_t Read16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
std::string Text4(const std::vector<uint8_t>& b, size_t at) {
  return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}
int Sample(const std::vector<uint8_t>& image, size_t i) {
  return static_cast<int16_t>(Read16(image, 44 + 2 * i));
}

TEST(ToneImage, HeaderOfTheShortestToneIsByteExact) {
  const std::vector<uint8_t> image = sound::ToneImage(50, 10);
  ASSERT_EQ(image.size(), 926u);
  EXPECT_EQ(Text4(image, 0), "RIFF");
  EXPECT_EQ(Read32(image, 4), 918u);
  EXPECT_EQ(Text4(image, 8), "WAVE");
  EXPECT_EQ(Text4(image, 12), "fmt ");
  EXPECT_EQ(Read32(image, 16), 16u);
  EXPECT_EQ(Read16(image, 20), 1u);  // integer PCM
  EXPECT_EQ(Read16(image, 22), 1u);  // mono
  EXPECT_EQ(Read32(image, 24), 44100u);
  EXPECT_EQ(Read32(image, 28), 88200u);
  EXPECT_EQ(Read16(image, 32), 2u);
  EXPECT_EQ(Read16(image, 34), 16u);
  EXPECT_EQ(Text4(image, 36), "data");
  EXPECT_EQ(Read32(image, 40), 882u);
}

// Values from a separate computation (IEEE single-precision step and running angle, double sine,
// truncation). The late samples of the long tones only match when the angle is never wrapped and
// keeps its float rounding: an exact or wrapped phase gives -17485 or -17486 for the last one.
TEST(ToneImage, SamplesMatchAnIndependentComputation) {
  struct Case {
    int hz, ms;
    size_t index;
    int value;
  };
  const Case cases[] = {
      {50, 10, 1, 128},     {50, 10, 220, 17999},     {50, 10, 440, 128},
      {1200, 140, 3, 8832}, {1200, 140, 6173, -3746}, {784, 400, 17639, -7116},
      {523, 600, 1, 1340},  {523, 600, 26000, 17984}, {523, 600, 26459, -16987},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> image = sound::ToneImage(c.hz, c.ms);
    ASSERT_GT(image.size(), 44 + 2 * c.index) << c.hz << "_" << c.ms;
    EXPECT_EQ(Sample(image, c.index), c.value) << c.hz << "_" << c.ms << " sample " << c.index;
  }
}

TEST(ToneImage, NoToneForANonPositiveFrequencyOrDuration) {
  EXPECT_TRUE(sound::ToneImage(0, 100).empty());
  EXPECT_TRUE(sound::ToneImage(-440, 100).empty());
  EXPECT_TRUE(sound::ToneImage(440, 0).empty());
  EXPECT_TRUE(sound::ToneImage(440, -5).empty());
}

TEST(ToneBank, HoldsTheThirteenTonesBuiltInOrder) {
  struct Tone {
    const char* key;
    size_t samples;
  };
  const Tone tones[] = {
      {"50_10", 441},     {"700_80", 3528},   {"900_80", 3528},  {"1200_140", 6174},
      {"1200_60", 2646},  {"392_200", 8820},  {"523_200", 8820}, {"659_200", 8820},
      {"784_400", 17640}, {"880_400", 17640}, {"587_200", 8820}, {"494_200", 8820},
      {"523_600", 26460},
  };
  RecordedSound rec;
  const auto images = rec.audio->Images();
  ASSERT_EQ(images.size(), std::size(tones));
  ASSERT_EQ(rec.s.bank.size(), std::size(tones));
  for (size_t t = 0; t < std::size(tones); ++t) {
    SCOPED_TRACE(tones[t].key);
    const std::vector<uint8_t>& image = images[t];
    ASSERT_EQ(image.size(), 44 + 2 * tones[t].samples);
    EXPECT_EQ(Read32(image, 4), image.size() - 8);
    EXPECT_EQ(Read32(image, 40), 2 * tones[t].samples);
    ASSERT_TRUE(rec.s.bank.count(tones[t].key));
    EXPECT_EQ(rec.s.bank.at(tones[t].key).id, static_cast<int64_t>(t + 1));
    EXPECT_EQ(Sample(image, 0), 0);
    int peak = 0;
    for (size_t i = 0; i < tones[t].samples; ++i) peak = std::max(peak, std::abs(Sample(image, i)));
    EXPECT_LE(peak, 18000);
    EXPECT_GE(peak, 17000);  // every tone reaches near its full amplitude
  }
}

TEST(ToneBank, UnknownKeysPlayNothing) {
  RecordedSound rec;
  sound::PlayTone(rec.s, 51, 10);
  sound::PlayTone(rec.s, 50, 11);
  sound::PlayTone(rec.s, 10, 50);
  sound::PlayToneAndWait(rec.s, 440, 1);
  EXPECT_TRUE(rec.audio->Plays().empty());
  sound::PlayTone(rec.s, 50, 10);
  EXPECT_EQ(rec.Keys(), std::vector<std::string>{"50_10"});
}

// No output at all, an output that does not open, or loads that fail: the bank still has every
// key, each with an empty handle, and every cue is silent.
TEST(ToneBank, WithoutAWorkingOutputEveryToneIsEmptyAndSilent) {
  sound::SoundSystem none;
  EXPECT_FALSE(sound::StartSound(none, nullptr));
  sound::BuildToneBank(none);
  EXPECT_EQ(none.bank.size(), 13u);
  for (const auto& [key, handle] : none.bank) EXPECT_TRUE(handle.Empty()) << key;
  sound::PlayTone(none, 50, 10);

  for (bool opens : {false, true}) {
    SCOPED_TRACE(opens ? "loads fail" : "does not open");
    RecordedSound rec([&](sound_test::RecordingAudio& a) {
      a.opens = opens;
      a.loadsFail = true;
    });
    EXPECT_EQ(rec.s.bank.size(), 13u);
    for (const auto& [key, handle] : rec.s.bank) EXPECT_TRUE(handle.Empty()) << key;
    sound::PlayTone(rec.s, 50, 10);
    sound::PlayTone(rec.s, 1200, 60);
    EXPECT_TRUE(rec.audio->Plays().empty());
  }
}

TEST(ToneBank, MakeToneHandsTheWholeImageToTheOutput) {
  sound_test::RecordingAudio audio;
  audio.Open();
  const platform::SoundHandle handle = sound::MakeTone(audio, 700, 80);
  EXPECT_FALSE(handle.Empty());
  ASSERT_EQ(audio.Images().size(), 1u);
  EXPECT_EQ(audio.Images()[0], sound::ToneImage(700, 80));
  EXPECT_TRUE(sound::MakeTone(audio, 0, 80).Empty());
  EXPECT_EQ(audio.Images().size(), 1u);  // nothing loaded for an impossible tone
}

}  // namespace
