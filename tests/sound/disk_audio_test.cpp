// The real output end to end, headless: SDL's "disk" audio driver writes what the mixer sends to
// the device into a file. A draw through the rules, its cues routed to the sound module, must
// leave the 50 Hz hit tick in that file, and nothing but silence with sound off. These run in real
// time: the driver paces the mixer by the wall clock, so cues only land apart in the stream when
// they are played apart.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio.h"
#include "rules/draw.h"
#include "rules/game_state.h"
#include "rules/paytable.h"
#include "sound/sound.h"
#include "support/fake_host.h"
#include "support/scoped_env.h"
#include "support/temp_files.h"
#include "virtual_clock.h"

namespace {

using testing_support::Bytes;

// The rules' cues reach the sound module the way the game routes them.
class SoundHost : public testing_support::FakeHost {
 public:
  explicit SoundHost(sound::SoundSystem& s) : s_(s) {}
  void PlayHitTick() override {
    FakeHost::PlayHitTick();
    sound::PlayTone(s_, sound::kHitTick);
  }
  void StartWinJingle() override {
    FakeHost::StartWinJingle();
    sound::StartWinJingle(s_);
  }
  void StartFanfare() override {
    FakeHost::StartFanfare();
    sound::StartFanfare(s_);
  }

 private:
  sound::SoundSystem& s_;
};

// The left channel of the 16-bit stereo stream the output was opened with.
std::vector<int> LeftChannel(const Bytes& raw) {
  std::vector<int> left;
  for (size_t at = 0; at + 4 <= raw.size(); at += 4) {
    left.push_back(static_cast<int16_t>(raw[at] | (raw[at + 1] << 8)));
  }
  return left;
}

// Places where the 441-sample half sine of the 50 Hz, 10 ms tick sounds alone.
int CountTicks(const std::vector<int>& s) {
  constexpr size_t kLength = 441;
  constexpr int kTolerance = 100;
  const double pi = std::acos(-1.0);
  std::vector<int> tick(kLength);
  for (size_t i = 0; i < kLength; ++i) tick[i] = static_cast<int>(std::sin(pi * i / 441) * 18000);
  int found = 0;
  for (size_t at = 0; at + kLength <= s.size(); ++at) {
    if (std::abs(s[at + 220] - tick[220]) > kTolerance) continue;
    size_t i = 0;
    while (i < kLength && std::abs(s[at + i] - tick[i]) <= kTolerance) ++i;
    if (i < kLength) continue;
    ++found;
    at += kLength - 1;
  }
  return found;
}

class DiskAudio : public ::testing::Test {
 protected:
  std::filesystem::path dir = testing_support::MakeTempDir("keno-disk-audio");
  std::filesystem::path file = dir / "device.raw";
  testing_support::ScopedEnv driver{"SDL_AUDIODRIVER", "disk"};
  testing_support::ScopedEnv output{"SDL_DISKAUDIOFILE", file.string()};

  void TearDown() override { testing_support::RemoveTempDir(dir); }

  // Plays one draw at the fastest speed; balls 1, 3 and 5 hit card 1. Returns what the device
  // received. `letGoFirst`: the idle game has released the device before the draw, which takes
  // it again as the game's frame loop does.
  Bytes PlayDraw(bool soundOn, int& ticksCued, bool letGoFirst = false) {
    sound::SoundSystem s;
    if (!sound::StartSound(s, platform::MakeSystemAudio())) {
      ADD_FAILURE() << "the disk audio driver did not open";
      return {};
    }
    sound::BuildToneBank(s);

    rules::GameState g;
    SoundHost host(s);
    rules::FillPayTables(g);
    for (int n = 1; n <= 6; ++n) g.cards[1].picked[n] = 1;
    g.cards[1].pickCount = 6;
    rules::RecountNumberCards(g);
    rules::UpdateProgressiveEligible(g);
    g.speed = 5;
    g.soundOn = soundOn ? 1 : 0;
    g.secureRandomAvailable = 1;
    host.QueueNumbers(
        {1, 30, 2, 31, 3, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46});

    sound::SetSoundOn(s, g.soundOn != 0);
    if (letGoFirst) {
      sound::UpdateOutput(s, false, host.now + sound::kOutputLingerMs);
      EXPECT_FALSE(s.audio->Holding()) << "the silent game keeps the device";
    }
    rules::StartDraw(g, host);
    if (letGoFirst) sound::UpdateOutput(s, g.drawInProgress != 0, host.now);
    for (int step = 0; step < 64 && g.drawInProgress; ++step) {
      host.Advance(g.ballDelayMs);
      rules::RevealTick(g, host, host.now);
      // The ticks need the ball delay between them in real time, and the last one time to
      // sound; the misses after it need no time.
      constexpr int64_t kLastHit = 5;
      if (g.ballsRevealed <= kLastHit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(g.ballDelayMs));
      }
    }
    EXPECT_EQ(g.drawInProgress, 0);
    std::this_thread::sleep_for(
        std::chrono::milliseconds(200));  // let the mixer drain the last tick
    sound::ShutdownSound(s);              // closes the device, which closes the file

    ticksCued = host.hitTicks;
    return testing_support::ReadBytes(file);
  }
};

TEST_F(DiskAudio, ADrawWithHitsSendsItsTicksToTheDevice) {
  int ticksCued = 0;
  const Bytes raw = PlayDraw(true, ticksCued);
  EXPECT_EQ(ticksCued, 3);
  const std::vector<int> left = LeftChannel(raw);
  ASSERT_GT(left.size(), 44100u / 4) << "the device received less than a quarter second";
  int peak = 0;
  for (int v : left) peak = std::max(peak, std::abs(v));
  // No upper bound: on a loaded machine the mixer may start two cued tones in one buffer, and
  // their sum is louder than either. Each tone's own level is checked on its image.
  EXPECT_GE(peak, 17000);
  const int ticks = CountTicks(left);
  EXPECT_GE(ticks, 1);
  EXPECT_LE(ticks, ticksCued);
}

TEST_F(DiskAudio, ADrawAfterTheDeviceWasLetGoStillSendsItsTicks) {
  int ticksCued = 0;
  // Opened again, the disk driver starts its file afresh: all of it comes after the release.
  const Bytes raw = PlayDraw(true, ticksCued, true);
  EXPECT_EQ(ticksCued, 3);
  const int ticks = CountTicks(LeftChannel(raw));
  EXPECT_GE(ticks, 1);
  EXPECT_LE(ticks, ticksCued);
}

TEST_F(DiskAudio, WithSoundOffTheDeviceReceivesOnlySilence) {
  int ticksCued = 0;
  const Bytes raw = PlayDraw(false, ticksCued);
  EXPECT_EQ(ticksCued, 3);  // the rules still cue the ticks; the sound setting silences them
  ASSERT_GT(raw.size(), 4u * 44100 / 4) << "the device received less than a quarter second";
  size_t loud = 0;
  for (uint8_t b : raw) loud += b != 0;
  EXPECT_EQ(loud, 0u);
}

// With no device the output reports failure, and the game still builds its bank and runs every
// cue silently. Whatever the sound libraries below think of a missing card, none of it may reach
// stderr: the game prints nothing.
TEST(SystemAudio, AMissingDeviceFailsQuietlyAndEverythingPlaysSilently) {
  for (const char* driver : {"no-such-driver", "alsa"}) {
    SCOPED_TRACE(driver);
    testing_support::ScopedEnv env{"SDL_AUDIODRIVER", driver};
    sound::SoundSystem s;
    s.clock = std::make_unique<sound_test::VirtualClock>();  // the jingle need not take its time
    ::testing::internal::CaptureStderr();
    const bool opened = sound::StartSound(s, platform::MakeSystemAudio());
    sound::BuildToneBank(s);
    sound::PlayTone(s, 50, 10);
    const bool started = sound::StartWinJingle(s);
    for (int i = 0; i < 400 && sound::MelodyPlaying(s); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    sound::ShutdownSound(s);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(started);
    EXPECT_EQ(s.bank.size(), 13u);
    if (std::string(driver) == "no-such-driver") {
      EXPECT_FALSE(opened);
      for (const auto& [key, handle] : s.bank) EXPECT_TRUE(handle.Empty()) << key;
    }
  }
}

}  // namespace
