// How soon a tone reaches the audio device after PlayTone: the time until the mixer first hands
// the tone's samples to the device (seen by a post-mix hook), plus one device buffer for those
// samples to play out. The hit tick is meant to be heard within 25 ms of its ball, the first one
// after a silence too, when the device was let go and must be opened again.
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/audio.h"
#include "sound/sound.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

struct Probe {
  std::atomic<bool> armed{false};
  std::atomic<int64_t> heardNs{0};  // when the first non-zero sample was mixed
  std::atomic<int> bufferBytes{0};  // one device buffer
};

void PostMix(void* arg, Uint8* stream, int len) {
  auto& probe = *static_cast<Probe*>(arg);
  probe.bufferBytes.store(len);
  if (!probe.armed.load()) return;
  if (std::any_of(stream, stream + len, [](Uint8 b) { return b != 0; })) {
    probe.heardNs.store(NowNs());
    probe.armed.store(false);
  }
}

// How the device stands when the tick is played.
enum class Before {
  Running,      // a draw under way: the device is taken
  LetGo,        // the game was silent and released it: the tick itself takes it again
  TakenForDraw  // released, then taken again when the draw starts, a frame before its tick
};

void HitTickToDevice(benchmark::State& state, Before before) {
  sound::SoundSystem s;
  if (!sound::StartSound(s, platform::MakeSystemAudio())) {
    state.SkipWithError("no audio output");
    return;
  }
  sound::BuildToneBank(s);
  int rate = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  Probe probe;
  Mix_SetPostMix(PostMix, &probe);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the device is running

  double worstMs = 0;
  int64_t frameClock = 0;  // the frame loop's milliseconds, as UpdateOutput sees them
  for (auto _ : state) {
    if (before != Before::Running) {
      frameClock += 10 * sound::kOutputLingerMs;
      sound::UpdateOutput(s, false, frameClock);  // long silent: the device goes
      if (s.audio->Holding()) {
        state.SkipWithError("the silent game kept the device");
        break;
      }
    }
    if (before == Before::TakenForDraw) {
      sound::UpdateOutput(s, true, frameClock);
      std::this_thread::sleep_for(std::chrono::milliseconds(16));  // one frame to the first ball
    }
    probe.heardNs.store(0);
    const int64_t start = NowNs();
    probe.armed.store(true);
    sound::PlayTone(s, sound::kHitTick);
    while (probe.heardNs.load() == 0 && NowNs() - start < 1'000'000'000) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (probe.heardNs.load() == 0) {
      state.SkipWithError("the tone never reached the mixer");
      break;
    }
    const double bufferSeconds =
        static_cast<double>(probe.bufferBytes.load()) / (2.0 * channels) / rate;
    const double seconds = (probe.heardNs.load() - start) * 1e-9 + bufferSeconds;
    worstMs = std::max(worstMs, seconds * 1000);
    state.SetIterationTime(seconds);
    std::this_thread::sleep_for(std::chrono::milliseconds(37));  // the tick ends; a new phase
  }
  state.counters["worst_ms"] = worstMs;
  state.counters["buffer_frames"] = probe.bufferBytes.load() / (2.0 * channels);
  state.counters["rate_hz"] = rate;
  Mix_SetPostMix(nullptr, nullptr);
  sound::ShutdownSound(s);
}

void BM_HitTickToDevice(benchmark::State& state) { HitTickToDevice(state, Before::Running); }
BENCHMARK(BM_HitTickToDevice)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

void BM_FirstTickAfterSilence(benchmark::State& state) { HitTickToDevice(state, Before::LetGo); }
BENCHMARK(BM_FirstTickAfterSilence)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

void BM_FirstTickOfADrawAfterSilence(benchmark::State& state) {
  HitTickToDevice(state, Before::TakenForDraw);
}
BENCHMARK(BM_FirstTickOfADrawAfterSilence)
    ->UseManualTime()
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
