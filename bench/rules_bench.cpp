// Complete draws per second on one core: StartDraw, 20 reveals and the evaluation of four
// 10-spot cards, with the numbers from the buffered system random source.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/random.h"
#include "rules/draw.h"
#include "rules/game_state.h"
#include "rules/host.h"
#include "rules/paytable.h"
#include "rules/picks.h"

namespace {

// Everything but the random source and the clock is a no-op: the cost measured is the rules'.
class BenchHost : public rules::QuietHost {
 public:
  bool SecureRandomWord(uint32_t& word) override { return platform::ReadSecureWord(word); }
};

void BM_CompleteDraw(benchmark::State& state) {
  rules::GameState g;
  BenchHost host;
  rules::FillPayTables(g);
  g.secureRandomAvailable = platform::OpenSecureRandom() ? 1 : 0;
  if (!g.secureRandomAvailable) state.SkipWithError("no secure random source");
  g.balance = int64_t{1} << 60;
  // The fake clock moves on by each ball's delay, so the speed setting changes nothing here.
  for (int c = 1; c <= rules::kCards; ++c) {
    for (int k = 0; k < 10; ++k) rules::AddPick(g, c, (c - 1) * 20 + 1 + k * 2);
  }

  for (auto _ : state) {
    rules::StartDraw(g, host);
    for (int tick = 0; tick <= rules::kBallsPerDraw; ++tick) {
      host.now += g.ballDelayMs;
      rules::RevealTick(g, host, host.now);
    }
    benchmark::DoNotOptimize(g.balance);
  }
  if (g.drawInProgress) state.SkipWithError("a draw did not finish in 21 ticks");
  state.counters["draws_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  platform::CloseSecureRandom();
}
BENCHMARK(BM_CompleteDraw);

}  // namespace

BENCHMARK_MAIN();
