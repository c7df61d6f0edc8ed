// Exact hypergeometric odds from an integer Pascal triangle, and the simulation host: silent,
// answers every box OK, saves nothing, and reads the secure source or the seeded generator.
// The simulation drives only its own GameState; the rules code is used as the game uses it.
#include "odds/odds.h"

#include <array>
#include <chrono>
#include <cmath>
#include <string>

#include "platform/random.h"
#include "rules/draw.h"
#include "rules/paytable.h"
#include "rules/picks.h"
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
  const int spots =
      options.spots < 1 ? 1 : (options.spots > rules::kMaxPicks ? rules::kMaxPicks : options.spots);

  rules::GameState g;
  SilentHost host;
  rules::FillPayTables(g);
  g.payMode = options.payMode == rules::GENEROUS ? rules::GENEROUS : rules::CASINO;
  rules::RefreshActivePayTable(g);
  g.betPerCard = g.betSetting = rules::kMinBet;
  // The fake clock moves on by each ball's delay, so the speed setting changes nothing here.
  g.soundOn = 0;
  g.balance = kSimulationBankroll;
  g.progressivePot = options.pot;
  for (int n = 1; n <= spots; ++n) rules::AddPick(g, 1, n);

  if (options.seeded) {
    g.secureRandomAvailable = 0;
    rules::SeedFallbackRandom(g, options.seed);
  } else if (platform::OpenSecureRandom()) {
    g.secureRandomAvailable = 1;
    result.secureSource = true;
  } else {
    // The fake clock starts at 0 every run, so the generator gets the real time as its seed.
    g.secureRandomAvailable = 0;
    rules::SeedFallbackRandom(
        g, static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    result.secureSourceFailed = true;
  }

  const rules::PayTable& active = g.payTableActive;
  result.exactReturn = ExactOdds(active, spots, 0).tableReturn;
  const int64_t betBefore = LifetimeBet(g);
  long double sumSquares = 0;  // of per-draw table wins

  const auto start = std::chrono::steady_clock::now();
  for (int64_t d = 0; d < options.draws; ++d) {
    if (g.balance < g.betPerCard) g.balance += kSimulationBankroll;
    const int64_t wonBefore = LifetimeWon(g);
    rules::StartDraw(g, host);
    if (!g.drawInProgress) break;  // refused: reported through the draw count
    // 20 reveals and the evaluation one delay after the last, as the frame loop would see them.
    while (g.drawInProgress) {
      host.now += g.ballDelayMs;
      rules::RevealTick(g, host, host.now);
    }
    const int64_t win = g.cardWin[1];
    result.tableWon += win;
    sumSquares += static_cast<long double>(win) * static_cast<long double>(win);
    result.hitCounts[g.cards[1].hitCount] += 1;
    const int64_t beside = LifetimeWon(g) - wonBefore - win;
    if (beside > 0) result.progressiveWon += beside;
    result.draws += 1;
  }
  const auto stop = std::chrono::steady_clock::now();
  result.seconds = std::chrono::duration<double>(stop - start).count();
  if (result.secureSource) platform::CloseSecureRandom();

  result.staked = LifetimeBet(g) - betBefore;
  result.progressiveWins = host.progressiveBoxes;
  result.jackpotBoxes = host.jackpotBoxes;
  result.unexpectedDialogs = host.otherBoxes;

  const long double n = static_cast<long double>(result.draws);
  if (result.draws >= 1) result.meanReturn = static_cast<long double>(result.tableWon) / n;
  if (result.draws >= 2) {
    const long double centred = sumSquares - n * result.meanReturn * result.meanReturn;
    result.sampleVariance = centred > 0 ? centred / (n - 1) : 0;
  }
  const long double halfWidth = result.draws >= 2 ? kZ99 * std::sqrt(result.sampleVariance / n) : 0;
  result.low = result.meanReturn - halfWidth;
  result.high = result.meanReturn + halfWidth;
  result.agrees =
      result.draws >= 2 && result.exactReturn >= result.low && result.exactReturn <= result.high;
  return result;
}

}  // namespace odds
