// The output's sleep: taken while a draw or auto-run may tick, held through a melody and a
// linger after the last expected sound, let go once silent or muted, and the deadline the frame
// loop must wake at to let it go.
#include <gtest/gtest.h>

#include <optional>

#include "recording_audio.h"
#include "sound/sound.h"

namespace {

using sound_test::ClockMode;
using sound_test::RecordedSound;

constexpr int64_t kT = 100'000;  // ms, the frame loop's clock

TEST(Output, IsLetGoOneLingerAfterTheLastExpectedSoundAndTakenAgainAheadOfTheNext) {
  RecordedSound rec;
  sound::UpdateOutput(rec.s, true, kT);  // a draw under way
  EXPECT_EQ(sound::OutputDeadline(rec.s), kT + sound::kOutputLingerMs);
  sound::UpdateOutput(rec.s, false, kT + sound::kOutputLingerMs - 1);
  EXPECT_TRUE(rec.audio->Holding()) << "auto-run's pause between draws keeps it";
  sound::UpdateOutput(rec.s, false, kT + sound::kOutputLingerMs);
  EXPECT_FALSE(rec.audio->Holding());
  EXPECT_EQ(sound::OutputDeadline(rec.s), std::nullopt) << "nothing to wake for";
  sound::UpdateOutput(rec.s, false, kT + 60'000);
  EXPECT_EQ(rec.audio->Suspends(), 1);

  sound::UpdateOutput(rec.s, true, kT + 70'000);  // the next draw: taken before its first tick
  EXPECT_TRUE(rec.audio->Holding());
  EXPECT_EQ(rec.audio->Resumes(), 1);
  sound::PlayTone(rec.s, sound::kHitTick);
  EXPECT_EQ(rec.Keys(), (std::vector<std::string>{"50_10"}));
}

TEST(Output, ASoundWhileLetGoTakesItAgainAndIsHeard) {
  RecordedSound rec;
  sound::UpdateOutput(rec.s, false, kT);
  ASSERT_FALSE(rec.audio->Holding());
  sound::PlayTone(rec.s, sound::kAutoRunCue);
  EXPECT_TRUE(rec.audio->Holding());
  EXPECT_EQ(rec.Keys(), (std::vector<std::string>{"1200_60"}));
}

TEST(Output, MutedItIsLetGoEvenWhileADrawRuns) {
  RecordedSound rec;
  sound::UpdateOutput(rec.s, true, kT);
  sound::SetSoundOn(rec.s, false);
  sound::UpdateOutput(rec.s, true, kT + sound::kOutputLingerMs);
  EXPECT_FALSE(rec.audio->Holding());
  sound::UpdateOutput(rec.s, true, kT + 2 * sound::kOutputLingerMs);
  EXPECT_FALSE(rec.audio->Holding()) << "a muted draw never takes it again";
  EXPECT_EQ(rec.audio->Resumes(), 0);
}

TEST(Output, AMelodyAndASoundStillPlayingKeepIt) {
  RecordedSound rec(ClockMode::Held);
  ASSERT_TRUE(sound::StartFanfare(rec.s));
  sound::UpdateOutput(rec.s, false, kT + 10'000);
  EXPECT_TRUE(rec.audio->Holding()) << "the fanfare plays on";
  EXPECT_EQ(sound::OutputDeadline(rec.s), kT + 10'000 + sound::kOutputLingerMs);
  sound::ShutdownSound(rec.s);  // the melody ends

  RecordedSound tail;
  tail.audio->sounding = true;  // the last tone is still in the device
  sound::UpdateOutput(tail.s, false, kT);
  EXPECT_TRUE(tail.audio->Holding());
  EXPECT_EQ(sound::OutputDeadline(tail.s), kT + sound::kOutputLingerMs) << "it tries again";
  tail.audio->sounding = false;
  sound::UpdateOutput(tail.s, false, kT + sound::kOutputLingerMs);
  EXPECT_FALSE(tail.audio->Holding());
}

}  // namespace
