// The cues: single tones under the sound setting, the two melodies on their thread, at most one
// melody at a time, muting in the middle of the fanfare, and an orderly end at exit.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "recording_audio.h"
#include "sound/sound.h"

namespace {

using sound_test::RecordedSound;
using sound_test::RecordingAudio;
using sound_test::WaitForMelodyEnd;
using Keys = std::vector<std::string>;

const Keys kWinJingle = {"700_80", "900_80", "1200_140"};
const Keys kPhraseA = {"392_200", "523_200", "659_200", "784_400", "880_400", "784_400"};
const Keys kClosing = {"659_200", "659_200", "587_200", "587_200", "523_200", "494_200", "523_600"};

Keys Fanfare() {
  Keys keys = kPhraseA;
  keys.insert(keys.end(), kPhraseA.begin(), kPhraseA.end());
  keys.insert(keys.end(), kClosing.begin(), kClosing.end());
  return keys;
}

TEST(PlayTone, PlaysOncePerCallOnlyWhileSoundIsOn) {
  RecordedSound rec;
  sound::PlayTone(rec.s, 50, 10);
  sound::PlayTone(rec.s, 50, 10);  // the same tone again: the output restarts it
  sound::SetSoundOn(rec.s, false);
  sound::PlayTone(rec.s, 1200, 60);
  sound::PlayToneAndWait(rec.s, 523, 600);  // muted: returns without playing or sleeping
  sound::SetSoundOn(rec.s, true);
  sound::PlayTone(rec.s, 1200, 60);
  EXPECT_EQ(rec.Keys(), (Keys{"50_10", "50_10", "1200_60"}));
}

TEST(Melody, WinJinglePlaysItsThreeNotesAndCanPlayAgainAfterItEnds) {
  RecordedSound rec;
  ASSERT_TRUE(sound::StartWinJingle(rec.s));
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));
  EXPECT_EQ(rec.Keys(), kWinJingle);

  // The finished thread is collected and a new one takes its place.
  ASSERT_TRUE(sound::StartWinJingle(rec.s));
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));
  Keys twice = kWinJingle;
  twice.insert(twice.end(), kWinJingle.begin(), kWinJingle.end());
  EXPECT_EQ(rec.Keys(), twice);
}

TEST(Melody, RequestsWhileTheFanfarePlaysAreDropped) {
  RecordedSound rec;
  ASSERT_TRUE(sound::StartFanfare(rec.s));
  ASSERT_TRUE(rec.audio->WaitForPlays(1));
  EXPECT_TRUE(sound::MelodyPlaying(rec.s));
  EXPECT_FALSE(sound::StartWinJingle(rec.s));
  EXPECT_FALSE(sound::StartFanfare(rec.s));
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));
  EXPECT_EQ(rec.Keys(), Fanfare());  // whole, once, with no jingle notes in it
}

TEST(Melody, MutingDuringTheFanfareSilencesTheRemainingNotes) {
  sound::SoundSystem* system = nullptr;
  RecordedSound rec([&](RecordingAudio& a) {
    a.onPlay = [&](size_t count) {
      if (count == 3) sound::SetSoundOn(*system, false);  // the player mutes as note 3 sounds
    };
  });
  system = &rec.s;
  ASSERT_TRUE(sound::StartFanfare(rec.s));
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));  // the pauses are still taken, then the thread ends
  EXPECT_EQ(rec.Keys(), (Keys{"392_200", "523_200", "659_200"}));

  sound::SetSoundOn(rec.s, true);  // its state was cleared: the next melody starts
  ASSERT_TRUE(sound::StartWinJingle(rec.s));
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));
  EXPECT_EQ(rec.Keys().size(), 6u);
}

TEST(Melody, AMutedMelodyPlaysNothingAndStillEnds) {
  RecordedSound rec;
  sound::SetSoundOn(rec.s, false);
  ASSERT_TRUE(sound::StartFanfare(rec.s));
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));
  EXPECT_TRUE(rec.audio->Plays().empty());
}

TEST(Melody, OnlyOneOfManySimultaneousRequestsStarts) {
  RecordedSound rec;
  std::atomic<bool> go{false};
  std::atomic<int> started{0};
  std::vector<std::thread> callers;
  for (int i = 0; i < 8; ++i) {
    callers.emplace_back([&, i] {
      while (!go.load()) std::this_thread::yield();
      if (i % 2 ? sound::StartFanfare(rec.s) : sound::StartWinJingle(rec.s)) ++started;
    });
  }
  go.store(true);
  for (std::thread& t : callers) t.join();
  EXPECT_EQ(started.load(), 1);
  sound::ShutdownSound(rec.s);
}

// At exit a running fanfare is ended and its thread collected before the output closes, so no
// note reaches a closed output; nothing starts or plays afterwards.
TEST(Shutdown, EndsARunningMelodyBeforeClosingTheOutput) {
  RecordedSound rec;
  ASSERT_TRUE(sound::StartFanfare(rec.s));
  ASSERT_TRUE(rec.audio->WaitForPlays(1));
  sound::ShutdownSound(rec.s);
  EXPECT_FALSE(sound::MelodyPlaying(rec.s));
  EXPECT_TRUE(rec.audio->Closed());
  const size_t played = rec.audio->Plays().size();
  EXPECT_LT(played, Fanfare().size());

  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(rec.audio->PlaysAfterClose(), 0);
  EXPECT_FALSE(sound::StartWinJingle(rec.s));
  sound::PlayTone(rec.s, 50, 10);
  EXPECT_EQ(rec.audio->Plays().size(), played);
  sound::ShutdownSound(rec.s);  // a second call is harmless
}

// Without an explicit shutdown, destroying the system mid-fanfare must still end and collect the
// thread before the output is freed: a joinable thread left behind would terminate the program.
TEST(Shutdown, ASoundSystemGoingAwayMidMelodyCollectsItsThread) {
  auto output = std::make_unique<RecordingAudio>();
  RecordingAudio* audio = output.get();
  auto s = std::make_unique<sound::SoundSystem>();
  sound::StartSound(*s, std::move(output));
  sound::BuildToneBank(*s);
  ASSERT_TRUE(sound::StartFanfare(*s));
  ASSERT_TRUE(audio->WaitForPlays(1));
  s.reset();
  SUCCEED();
}

}  // namespace
