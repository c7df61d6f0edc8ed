// Exact hypergeometric odds from an integer Pascal triangle, and the simulation: chunks of draws,
// each a private game record with a silent host, played on every core. The rules code is used as
// the game uses it; only integer tallies leave a chunk, so their sum is the same in any order.
#include "odds/odds.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/random.h"
#include "rules/draw.h"
#include "rules/paytable.h"
#include "rules/picks.h"
#include "rules/prizes.h"
#include "rules/random.h"

namespace odds {
namespace {

constexpr int kMaxN = rules::kNumbers;
constexpr int kMaxK = rules::kBallsPerDraw;
// Far beyond what any run can lose at $1 a draw; topped up again should it ever run low.
constexpr int64_t kSimulationBankroll = int64_t{1} << 50;

using PascalRows = std::array<std::array<uint64_t, kMaxK + 1>, kMaxN + 1>;

// Additions only: every entry up to C(80, 20) fits in 64 bits, so none overflows.
constexpr PascalRows MakePascal() {
  PascalRows rows{};
  for (int n = 0; n <= kMaxN; ++n) {
    rows[n][0] = 1;
    for (int k = 1; k <= kMaxK && k <= n; ++k) rows[n][k] = rows[n - 1][k - 1] + rows[n - 1][k];
  }
  return rows;
}

constexpr PascalRows kPascal = MakePascal();

// Counts the jackpot boxes a run shows; every box is accepted and the secure words are real.
class SilentHost : public rules::QuietHost {
 public:
  int64_t progressiveBoxes = 0;
  int64_t jackpotBoxes = 0;
  int64_t otherBoxes = 0;

  rules::Answer ShowMessage(const std::string& title, const std::string&, rules::Buttons buttons,
                            rules::Icon) override {
    if (title == "PROGRESSIVE JACKPOT HIT!!!") {
      ++progressiveBoxes;
    } else if (title == "JACKPOT!") {
      ++jackpotBoxes;
    } else {
      ++otherBoxes;
    }
    return QuietHost::ShowMessage("", "", buttons, rules::Icon::None);
  }
  bool SecureRandomWord(uint32_t& word) override { return platform::ReadSecureWord(word); }
};

int64_t LifetimeWon(const rules::GameState& g) { return g.genWon + g.casWon; }
int64_t LifetimeBet(const rules::GameState& g) { return g.genBet + g.casBet; }

// A million-dollar win squared, a trillion times over, still fits.
__extension__ typedef unsigned __int128 Wide;

struct Tally {
  int64_t draws = 0;
  int64_t staked = 0;  // from the game's own lifetime figures
  int64_t tableWon = 0;
  Wide tableWonSquares = 0;  // of the per-draw table wins
  int64_t progressiveWins = 0;
  int64_t progressiveWon = 0;
  int64_t jackpotBoxes = 0;
  int64_t otherBoxes = 0;
  int64_t hitCounts[rules::kPayTableSize] = {};

  void Add(const Tally& o) {
    draws += o.draws;
    staked += o.staked;
    tableWon += o.tableWon;
    tableWonSquares += o.tableWonSquares;
    progressiveWins += o.progressiveWins;
    progressiveWon += o.progressiveWon;
    jackpotBoxes += o.jackpotBoxes;
    otherBoxes += o.otherBoxes;
    for (int h = 0; h < rules::kPayTableSize; ++h) hitCounts[h] += o.hitCounts[h];
  }
};

// The first progressive win of a chunk. The chunk's pot began at the run's starting pot, while one
// long game's would have grown since; after the win both start again from the seed.
struct FirstPotWin {
  int64_t chunk = 0;
  int64_t draw = 0;      // within the chunk, from 0
  int64_t paid = 0;      // what the chunk's own pot paid
  int32_t potAfter = 0;  // the chunk's pot after its last draw
};

// One thread's share, apart from the others' so that no cache line is written by two threads.
struct alignas(64) Worker {
  Tally tally;
  std::vector<FirstPotWin> potWins;
};

struct Plan {
  SimulationOptions options;  // spots and chunk size already in range
  int64_t chunks = 0;
  bool secure = false;  // the secure source draws; otherwise chunk seeds come from `seed`
  uint64_t seed = 0;
};

uint64_t Mix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Distinct for every chunk of one seed, and far apart in the generator's sequence.
uint64_t ChunkSeed(uint64_t seed, int64_t chunk) {
  return Mix(seed + Mix(static_cast<uint64_t>(chunk) + 0x9E3779B97F4A7C15ull));
}

int64_t ChunkDrawCount(const Plan& plan, int64_t chunk) {
  const int64_t first = chunk * plan.options.chunkDraws;
  return std::min(plan.options.chunkDraws, plan.options.draws - first);
}

// A fresh game at the lowest bet with one card holding the numbers 1..spots.
rules::GameState SimulatedGame(const SimulationOptions& o) {
  rules::GameState g;
  rules::FillPayTables(g);
  g.payMode = o.payMode == rules::GENEROUS ? rules::GENEROUS : rules::CASINO;
  rules::RefreshActivePayTable(g);
  g.betPerCard = g.betSetting = rules::kMinBet;
  // The fake clock moves on by each ball's delay, so the speed setting changes nothing here.
  g.soundOn = 0;
  g.balance = kSimulationBankroll;
  g.progressivePot = o.pot;
  for (int n = 1; n <= o.spots; ++n) rules::AddPick(g, 1, n);
  return g;
}

void PlayChunk(const Plan& plan, int64_t chunk, Worker& worker, std::atomic<bool>& refused) {
  rules::GameState g = SimulatedGame(plan.options);
  SilentHost host;
  if (plan.secure) {
    g.secureRandomAvailable = 1;
  } else {
    g.secureRandomAvailable = 0;
    rules::SeedFallbackRandom(g, ChunkSeed(plan.seed, chunk));
  }

  Tally t;
  FirstPotWin potWin{chunk, -1, 0, 0};
  const int64_t betBefore = LifetimeBet(g);
  const int64_t draws = ChunkDrawCount(plan, chunk);
  while (t.draws < draws) {
    if (g.balance < g.betPerCard) g.balance += kSimulationBankroll;
    const int64_t wonBefore = LifetimeWon(g);
    const int64_t potBoxesBefore = host.progressiveBoxes;
    rules::StartDraw(g, host);
    if (!g.drawInProgress) {  // refused: reported through the draw count
      refused.store(true, std::memory_order_relaxed);
      break;
    }
    // 20 reveals and the evaluation one delay after the last, as the frame loop would see them.
    while (g.drawInProgress) {
      host.now += g.ballDelayMs;
      rules::RevealTick(g, host, host.now);
    }
    const int64_t win = g.cardWin[1];
    t.tableWon += win;
    t.tableWonSquares += static_cast<Wide>(win) * static_cast<Wide>(win);
    t.hitCounts[g.cards[1].hitCount] += 1;
    const int64_t beside = LifetimeWon(g) - wonBefore - win;
    if (beside > 0) t.progressiveWon += beside;
    if (host.progressiveBoxes > potBoxesBefore && potWin.draw < 0) {
      potWin.draw = t.draws;
      potWin.paid = beside;
    }
    t.draws += 1;
  }
  t.staked = LifetimeBet(g) - betBefore;
  t.progressiveWins = host.progressiveBoxes;
  t.jackpotBoxes = host.jackpotBoxes;
  t.otherBoxes = host.otherBoxes;
  worker.tally.Add(t);
  if (potWin.draw >= 0) {
    potWin.potAfter = g.progressivePot;
    worker.potWins.push_back(potWin);
  }
}

// The pot after `draws` more draws without a win, grown by the game's own rule.
int32_t Grown(rules::GameState& g, int32_t pot, int64_t draws) {
  g.progressivePot = pot;
  for (int64_t d = 0; d < draws; ++d) rules::GrowProgressive(g);
  return g.progressivePot;
}

// What one long game's pot would have paid beyond what the chunks' pots paid: every chunk began
// at the starting pot, so each chunk's first win is paid again from the pot that game held then.
int64_t PotCarriedOver(const Plan& plan, std::vector<FirstPotWin> wins) {
  std::sort(wins.begin(), wins.end(),
            [](const FirstPotWin& a, const FirstPotWin& b) { return a.chunk < b.chunk; });
  rules::GameState g = SimulatedGame(plan.options);
  int32_t pot = plan.options.pot;  // one long game's pot as chunk k begins
  int64_t k = 0;
  int64_t extra = 0;
  for (const FirstPotWin& win : wins) {
    for (; k < win.chunk; ++k) pot = Grown(g, pot, ChunkDrawCount(plan, k));
    extra += int64_t{Grown(g, pot, win.draw + 1)} - win.paid;
    pot = win.potAfter;
    k = win.chunk + 1;
  }
  return extra;
}

int ThreadCount(const SimulationOptions& o, int64_t chunks) {
  int64_t n = o.threads > 0 ? o.threads : static_cast<int64_t>(std::thread::hardware_concurrency());
  if (n > chunks) n = chunks;
  return n < 1 ? 1 : static_cast<int>(n);
}

}  // namespace

uint64_t Binomial(int n, int k) {
  if (n < 0 || n > kMaxN || k < 0 || k > n) return 0;
  if (k > kMaxK) k = n - k;
  if (k > kMaxK) return 0;
  return kPascal[n][k];
}

uint64_t HitWays(int spots, int hits) {
  if (spots < 0 || spots > kMaxN || hits < 0 || hits > spots || hits > kMaxK) return 0;
  return Binomial(spots, hits) * Binomial(kMaxN - spots, kMaxK - hits);
}

uint64_t DrawWays() { return Binomial(kMaxN, kMaxK); }

SpotOdds ExactOdds(const rules::PayTable& table, int spots, int64_t pot) {
  SpotOdds row;
  if (spots < 1 || spots > rules::kMaxPicks) return row;
  row.spots = spots;
  const long double all = static_cast<long double>(DrawWays());
  // Each term and the sum stay below 2^64, where long double holds whole numbers exactly.
  long double paidWays = 0;
  for (int h = 0; h <= spots; ++h) {
    HitOdds& hit = row.hits[h];
    hit.ways = HitWays(spots, h);
    hit.probability = static_cast<long double>(hit.ways) / all;
    hit.pay = table[spots][h];
    paidWays += static_cast<long double>(hit.pay) * static_cast<long double>(hit.ways);
  }
  row.tableReturn = paidWays / all;
  row.fullMatchOneIn = all / static_cast<long double>(row.hits[spots].ways);
  if (spots >= rules::kProgressiveMinSpots) {
    row.progressiveReturn = static_cast<long double>(pot) * row.hits[spots].probability;
  }
  return row;
}

SimulationResult Simulate(const SimulationOptions& options) {
  SimulationResult result;
  Plan plan;
  plan.options = options;
  SimulationOptions& o = plan.options;
  o.spots = std::clamp(o.spots, 1, rules::kMaxPicks);
  if (o.draws < 0) o.draws = 0;
  if (o.chunkDraws < 1) o.chunkDraws = kChunkDraws;
  plan.chunks = o.draws / o.chunkDraws + (o.draws % o.chunkDraws ? 1 : 0);

  if (o.seeded) {
    plan.seed = o.seed;
  } else if (platform::OpenSecureRandom()) {
    plan.secure = true;
    result.secureSource = true;
  } else {
    // The fake clock starts at 0 every run, so the generator gets the real time as its seed.
    plan.seed = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    result.secureSourceFailed = true;
  }
  result.exactReturn = ExactOdds(SimulatedGame(o).payTableActive, o.spots, 0).tableReturn;

  const auto start = std::chrono::steady_clock::now();
  std::vector<Worker> workers(static_cast<size_t>(ThreadCount(o, plan.chunks)));
  std::atomic<int64_t> nextChunk{0};
  std::atomic<bool> refused{false};
  const auto work = [&](Worker& worker) {
    for (;;) {
      const int64_t chunk = nextChunk.fetch_add(1, std::memory_order_relaxed);
      if (chunk >= plan.chunks || refused.load(std::memory_order_relaxed)) return;
      PlayChunk(plan, chunk, worker, refused);
    }
  };
  std::vector<std::thread> helpers;
  for (size_t i = 1; i < workers.size(); ++i) {
    try {
      helpers.emplace_back(work, std::ref(workers[i]));
    } catch (const std::system_error&) {
      break;  // fewer threads: the chunks still all get played
    }
  }
  work(workers[0]);
  for (std::thread& helper : helpers) helper.join();
  result.threads = static_cast<int>(helpers.size()) + 1;

  Tally total;
  std::vector<FirstPotWin> potWins;
  for (const Worker& worker : workers) {
    total.Add(worker.tally);
    potWins.insert(potWins.end(), worker.potWins.begin(), worker.potWins.end());
  }
  total.progressiveWon += PotCarriedOver(plan, std::move(potWins));
  const auto stop = std::chrono::steady_clock::now();
  result.seconds = std::chrono::duration<double>(stop - start).count();
  if (plan.secure) platform::CloseSecureRandom();

  result.draws = total.draws;
  result.staked = total.staked;
  result.tableWon = total.tableWon;
  result.progressiveWins = total.progressiveWins;
  result.progressiveWon = total.progressiveWon;
  result.jackpotBoxes = total.jackpotBoxes;
  result.unexpectedDialogs = total.otherBoxes;
  for (int h = 0; h < rules::kPayTableSize; ++h) result.hitCounts[h] = total.hitCounts[h];

  const long double n = static_cast<long double>(result.draws);
  if (result.draws >= 1) result.meanReturn = static_cast<long double>(result.tableWon) / n;
  if (result.draws >= 2) {
    // n * sum of squares - sum^2, exact in 128 bits and never negative, so nothing cancels.
    const Wide draws = static_cast<Wide>(result.draws);
    const Wide won = static_cast<Wide>(result.tableWon);
    const Wide centred = draws * total.tableWonSquares - won * won;
    result.sampleVariance = static_cast<long double>(centred) / (n * (n - 1));
  }
  const long double halfWidth = result.draws >= 2 ? kZ99 * std::sqrt(result.sampleVariance / n) : 0;
  result.low = result.meanReturn - halfWidth;
  result.high = result.meanReturn + halfWidth;
  result.agrees =
      result.draws >= 2 && result.exactReturn >= result.low && result.exactReturn <= result.high;
  return result;
}

}  // namespace odds
