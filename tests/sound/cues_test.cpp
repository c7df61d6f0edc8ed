// The cues: single tones under the sound setting, the two melodies note by note on the melody
// clock (every start time, and the pauses between notes), at most one melody at a time, muting in
// the middle of the fanfare, and an orderly end at exit. The melodies run on a virtual clock and
// take no real time; only the game's own clock is checked against the steady clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "recording_audio.h"
#include "sound/sound.h"

namespace {

using sound_test::ClockMode;
using sound_test::RecordedSound;
using sound_test::RecordingAudio;
using sound_test::SleepRecord;
using sound_test::Timeline;
using sound_test::WaitForMelodyEnd;
using Keys = std::vector<std::string>;

using Clock = std::chrono::steady_clock;

int64_t MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
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
  EXPECT_TRUE(rec.clock->Sleeps().empty()) << "a single tone never waits";
}

// Each melody as the output hears it: when each tone starts on the melody clock, and how long the
// whole melody keeps its thread. Muted notes are skipped without their wait, but the fixed pauses
// (5 ms in the jingle, 100 ms twice in the fanfare) are taken all the same.
TEST(Melody, EveryNoteStartsOnTimeAndTheMelodyLastsItsLength) {
  struct Case {
    const char* name;
    bool (*start)(sound::SoundSystem&);
    bool soundOn;
    size_t muteAfterPlay;  // the player mutes as this note sounds; 0: never
    Timeline heard;
    int64_t lengthMs;
  };
  const Case cases[] = {
      {"win jingle",
       sound::StartWinJingle,
       true,
       0,
       {{0, "700_80"}, {85, "900_80"}, {165, "1200_140"}},
       305},
      {"fanfare",
       sound::StartFanfare,
       true,
       0,
       {{0, "392_200"},
        {200, "523_200"},
        {400, "659_200"},
        {600, "784_400"},
        {1000, "880_400"},
        {1400, "784_400"},
        {1900, "392_200"},
        {2100, "523_200"},
        {2300, "659_200"},
        {2500, "784_400"},
        {2900, "880_400"},
        {3300, "784_400"},
        {3800, "659_200"},
        {4000, "659_200"},
        {4200, "587_200"},
        {4400, "587_200"},
        {4600, "523_200"},
        {4800, "494_200"},
        {5000, "523_600"}},
       5600},
      // The third note still lasts its 200 ms, then only the two pauses remain.
      {"fanfare muted as its third note sounds",
       sound::StartFanfare,
       true,
       3,
       {{0, "392_200"}, {200, "523_200"}, {400, "659_200"}},
       800},
      {"fanfare muted", sound::StartFanfare, false, 0, {}, 200},
      {"win jingle muted", sound::StartWinJingle, false, 0, {}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sound::SoundSystem* system = nullptr;
    RecordedSound rec([&](RecordingAudio& a) {
      a.onPlay = [&, mute = c.muteAfterPlay](size_t count) {
        if (count == mute) sound::SetSoundOn(*system, false);
      };
    });
    system = &rec.s;
    sound::SetSoundOn(rec.s, c.soundOn);
    ASSERT_TRUE(c.start(rec.s));
    ASSERT_TRUE(WaitForMelodyEnd(rec.s));
    EXPECT_EQ(rec.Played(), c.heard);
    EXPECT_EQ(rec.clock->NowMs(), c.lengthMs);
  }
}

TEST(Melody, AFinishedMelodyMakesWayForTheNext) {
  RecordedSound rec;
  ASSERT_TRUE(sound::StartWinJingle(rec.s));
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));
  // The finished thread is collected and a new one takes its place.
  ASSERT_TRUE(sound::StartWinJingle(rec.s));
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));
  EXPECT_EQ(rec.Played(), (Timeline{{0, "700_80"},
                                    {85, "900_80"},
                                    {165, "1200_140"},
                                    {305, "700_80"},
                                    {390, "900_80"},
                                    {470, "1200_140"}}));
}

TEST(Melody, RequestsWhileTheFanfarePlaysAreDropped) {
  RecordedSound rec(ClockMode::Held);
  ASSERT_TRUE(sound::StartFanfare(rec.s));
  ASSERT_TRUE(rec.clock->WaitForSleep(1));  // its first note sounds
  EXPECT_TRUE(sound::MelodyPlaying(rec.s));
  EXPECT_FALSE(sound::StartWinJingle(rec.s));
  EXPECT_FALSE(sound::StartFanfare(rec.s));
  rec.clock->Release();
  ASSERT_TRUE(WaitForMelodyEnd(rec.s));
  // Whole, once, with no jingle notes in it.
  EXPECT_EQ(rec.Keys().size(), 19u);
  EXPECT_EQ(rec.clock->NowMs(), 5600);
}

TEST(Melody, OnlyOneOfManySimultaneousRequestsStarts) {
  RecordedSound rec(ClockMode::Held);  // the winner's melody holds its first note throughout
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

// At exit a running fanfare is ended within the sleep of its first note and its thread collected
// before the output closes, so no note reaches a closed output; nothing starts or plays afterwards.
TEST(Shutdown, CutsTheSleepUnderWayAndEndsTheMelodyBeforeClosingTheOutput) {
  RecordedSound rec(ClockMode::Held);
  ASSERT_TRUE(sound::StartFanfare(rec.s));
  ASSERT_TRUE(rec.clock->WaitForSleep(1));
  sound::ShutdownSound(rec.s);
  EXPECT_FALSE(sound::MelodyPlaying(rec.s));
  EXPECT_TRUE(rec.audio->Closed());
  EXPECT_EQ(rec.Keys(), Keys{"392_200"});
  EXPECT_EQ(rec.clock->Sleeps(), (std::vector<SleepRecord>{{0, 200, true}}));
  EXPECT_EQ(rec.audio->PlaysAfterClose(), 0);

  EXPECT_FALSE(sound::StartWinJingle(rec.s));
  sound::PlayTone(rec.s, 50, 10);
  EXPECT_EQ(rec.audio->Plays().size(), 1u);
  sound::ShutdownSound(rec.s);  // a second call is harmless
}

// Without an explicit shutdown, destroying the system mid-fanfare must still end and collect the
// thread before the output is freed: a joinable thread left behind would terminate the program.
TEST(Shutdown, ASoundSystemGoingAwayMidMelodyCollectsItsThread) {
  auto rec = std::make_unique<RecordedSound>(ClockMode::Held);
  ASSERT_TRUE(sound::StartFanfare(rec->s));
  ASSERT_TRUE(rec->clock->WaitForSleep(1));
  rec.reset();
  SUCCEED();
}

// The game's clock really waits, and Stop ends a wait under way and every later one: a fault here
// shows as a test that takes a minute.
TEST(SteadyClock, SleepsItsLengthUntilStopped) {
  auto clock = sound::MakeSteadyClock();
  const auto start = Clock::now();
  clock->Sleep(20);
  EXPECT_GE(MsSince(start), 20);

  constexpr int kMinute = 60'000;
  std::thread sleeper([&] { clock->Sleep(kMinute); });
  std::this_thread::sleep_for(std::chrono::milliseconds(10));  // asleep by now, most likely
  clock->Stop();
  sleeper.join();
  clock->Sleep(kMinute);
  EXPECT_LT(MsSince(start), kMinute / 2);
}

TEST(SteadyClock, IsTheOneTheGamesMelodiesWaitOn) {
  sound::SoundSystem s;
  sound::StartSound(s, std::make_unique<RecordingAudio>());
  sound::BuildToneBank(s);
  const auto start = Clock::now();
  sound::PlayToneAndWait(s, 50, 10);
  EXPECT_GE(MsSince(start), 10);
}

}  // namespace
