// Argument parsing and the text and JSON reports of tessaline-odds. Every bad argument gives one
// line on stderr and exit code 2 before any work starts; the one file read is the recall named.
#include "odds/tool.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "odds/odds.h"
#include "odds/recall_report.h"
#include "rules/paytable.h"

namespace odds {
namespace {

constexpr const char* kProgram = "tessaline-odds";
constexpr int64_t kMaxSimulatedDraws = 1'000'000'000'000;
constexpr int64_t kMaxPot = INT32_MAX;
constexpr int64_t kMaxThreads = 1024;

constexpr const char* kHelp =
    "Usage: tessaline-odds [--pot N] [--mode generous|casino] [--json]\n"
    "       tessaline-odds --simulate N [--spots S] [--mode generous|casino] [--seed X]\n"
    "                      [--pot N] [--threads T] [--json]\n"
    "       tessaline-odds --recall FILE [--json]\n"
    "\n"
    "Without --simulate: the exact return to player of every spot count 1 to 12 for the\n"
    "GENEROUS and CASINO pay tables at a bet of $1, the probability of every hit count, the odds\n"
    "of a full match, and what the progressive pot adds for 10 to 12 spots.\n"
    "\n"
    "  --pot N         progressive pot in dollars, 0 to 2147483647 (default 25000)\n"
    "  --mode M        only the GENEROUS or the CASINO table (default: both)\n"
    "  --simulate N    play N complete draws (1 to 1000000000000) through the game's own rules\n"
    "                  with one card at $1 and compare the return with the exact figure\n"
    "  --spots S       picks on the simulated card, 1 to 12 (default 8: the numbers 1 to S)\n"
    "  --seed X        draw from the seeded general-purpose generator (0 to 2^64-1), so the\n"
    "                  run can be repeated; without it the system's secure source draws\n"
    "  --threads T     play the draws on T threads, 1 to 1024 (default: one per core); a\n"
    "                  seeded run gives the same figures on any number of threads\n"
    "  --recall FILE   the game's last finished draws, newest first, from its recall file\n"
    "                  keno_recall.dat (beside the save): when each ended, the 20 numbers in\n"
    "                  the order drawn, and every card that played with its picks, hits, bet,\n"
    "                  table, win and any progressive jackpot or consolation, then the balance;\n"
    "                  no file there means no recalled draws\n"
    "  --json          machine-readable output\n"
    "  --help          this text\n"
    "\n"
    "Exit status: 0 done, 1 the run failed or the recall file could not be read, 2 a bad\n"
    "argument.\n";

struct Options {
  bool help = false;
  bool json = false;
  int64_t pot = kDefaultPot;
  bool potGiven = false;
  std::optional<int64_t> mode;  // both tables when unset
  std::optional<int64_t> simulate;
  std::optional<int64_t> spots;
  std::optional<uint64_t> seed;
  std::optional<int64_t> threads;  // one per core when unset
  std::optional<std::string> recall;
};

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text;
  if (n > 0) {
    text.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.pop_back();  // the terminator
  }
  va_end(again);
  return text;
}

// --- Arguments ------------------------------------------------------------------------------

// A whole decimal number in lo..hi, nothing before or after it.
template <typename T>
bool ParseWhole(std::string_view text, T lo, T hi, T& value) {
  if (text.empty() || text.front() == '+' || text.front() == '-') return false;
  T parsed{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  if (parsed < lo || parsed > hi) return false;
  value = parsed;
  return true;
}

std::optional<int64_t> ParseMode(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (lower == "generous") return rules::GENEROUS;
  if (lower == "casino") return rules::CASINO;
  return std::nullopt;
}

// Fills `options`; on a bad argument returns the one-line reason.
std::optional<std::string> ParseArguments(const std::vector<std::string>& args, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (arg == "--json") {
      options.json = true;
      continue;
    }
    std::string_view name = arg;
    std::optional<std::string_view> value;
    if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    const bool takesValue = name == "--pot" || name == "--mode" || name == "--simulate" ||
                            name == "--spots" || name == "--seed" || name == "--threads" ||
                            name == "--recall";
    if (!takesValue) {
      if (value) return "option " + std::string(name) + " takes no value";
      if (arg.starts_with("-")) return "unknown option '" + std::string(arg) + "'";
      return "unexpected argument '" + std::string(arg) + "'";
    }
    if (!value) {
      if (i + 1 >= args.size()) return std::string(name) + " needs a value";
      value = args[++i];
    }
    const std::string shown(*value);
    if (name == "--pot") {
      if (!ParseWhole<int64_t>(*value, 0, kMaxPot, options.pot)) {
        return "--pot must be a whole number of dollars from 0 to 2147483647, not '" + shown + "'";
      }
      options.potGiven = true;
    } else if (name == "--recall") {
      if (value->empty()) return "--recall needs the name of a file";
      options.recall = shown;
    } else if (name == "--mode") {
      options.mode = ParseMode(*value);
      if (!options.mode) return "--mode must be generous or casino, not '" + shown + "'";
    } else if (name == "--simulate") {
      int64_t draws = 0;
      if (!ParseWhole<int64_t>(*value, 1, kMaxSimulatedDraws, draws)) {
        return "--simulate must be a number of draws from 1 to 1000000000000, not '" + shown + "'";
      }
      options.simulate = draws;
    } else if (name == "--spots") {
      int64_t spots = 0;
      if (!ParseWhole<int64_t>(*value, 1, rules::kMaxPicks, spots)) {
        return "--spots must be a whole number from 1 to 12, not '" + shown + "'";
      }
      options.spots = spots;
    } else if (name == "--threads") {
      int64_t threads = 0;
      if (!ParseWhole<int64_t>(*value, 1, kMaxThreads, threads)) {
        return "--threads must be a whole number from 1 to 1024, not '" + shown + "'";
      }
      options.threads = threads;
    } else {
      uint64_t seed = 0;
      if (!ParseWhole<uint64_t>(*value, 0, UINT64_MAX, seed)) {
        return "--seed must be a whole number from 0 to 18446744073709551615, not '" + shown + "'";
      }
      options.seed = seed;
    }
  }
  if (!options.help && options.recall) {
    // The recall is what the game did; no table or simulation setting changes it.
    if (options.simulate) return "--simulate does not go with --recall";
    if (options.potGiven) return "--pot does not go with --recall";
    if (options.mode) return "--mode does not go with --recall";
  }
  if (!options.help && !options.simulate) {
    if (options.spots) return "--spots applies only with --simulate";
    if (options.seed) return "--seed applies only with --simulate";
    if (options.threads) return "--threads applies only with --simulate";
  }
  return std::nullopt;
}

// --- Number formatting --------------------------------------------------------------------------

// 1234567 as "1,234,567".
std::string Grouped(uint64_t value) {
  std::string digits = std::to_string(value);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Percent(long double fraction, int decimals) {
  return Format("%.*Lf %%", decimals, fraction * 100);
}

// "1 in 4", "1 in 16.6", "1 in 8,911,711": a whole number unless a tenth still matters.
std::string OneIn(long double n) {
  const long double whole = std::round(n);
  if (n >= 1000 || std::fabs(n - whole) < 0.05L)
    return "1 in " + Grouped(static_cast<uint64_t>(whole));
  return Format("1 in %.1Lf", n);
}

// JSON numbers: enough digits to round-trip a long double; never inf or nan, which JSON lacks.
std::string JsonNumber(long double v) {
  if (!std::isfinite(v)) return "null";
  return Format("%.19Lg", v);
}

const char* ModeName(int64_t mode) { return mode == rules::GENEROUS ? "GENEROUS" : "CASINO"; }
const char* ModeKey(int64_t mode) { return mode == rules::GENEROUS ? "generous" : "casino"; }

// --- Tables -------------------------------------------------------------------------------------

struct Tables {
  rules::GameState game;  // only its two fixed pay tables are read
  std::vector<int64_t> modes;
  const rules::PayTable& Of(int64_t mode) const {
    return mode == rules::GENEROUS ? game.payTableGenerous : game.payTableCasino;
  }
};

std::string TablesText(const Tables& t, int64_t pot) {
  std::string out;
  out += "Tessaline pay tables: what they return to the player\n";
  out += "20 balls are drawn from 80. Returns are dollars back per dollar staked, at a $1 bet;\n";
  out += "over 100 % the table pays out more than it takes in.\n\n";

  std::string header = "spots";
  for (int64_t mode : t.modes) header += Format("  %12s", ModeName(mode));
  header += Format("  %-20s  %s\n", "full match", "progressive pot adds");
  out += header;
  for (int s = 1; s <= rules::kMaxPicks; ++s) {
    std::string line = Format("%5d", s);
    SpotOdds row;
    for (int64_t mode : t.modes) {
      row = ExactOdds(t.Of(mode), s, pot);
      line += Format("  %12s", Percent(row.tableReturn, 4).c_str());
    }
    line += Format("  %-20s", OneIn(row.fullMatchOneIn).c_str());
    if (s >= rules::kProgressiveMinSpots) {
      line += "  +" + Percent(row.progressiveReturn, 4) + " at $" + std::to_string(pot);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
  }
  out += "\nThe progressive pot is won by matching all of 10, 11 or 12 spots, whatever the bet;\n";
  out += "its share of the return is the pot times the odds of a full match, per $1 staked.\n";
  // A lone player wins back every dollar the pot grew by, once a full match finally comes; the
  // growth is the same whatever the bet, so its share is largest at the lowest bet.
  const auto growthPercent = [](int64_t bet) { return rules::kProgressiveIncrement * 100 / bet; };
  out += Format(
      "The pot also grows by $%d on every draw of each 10+ spot card, and the winner takes that\n"
      "growth with the pot, so over a very long run it comes back too: +%lld %% at $%lld, +%lld %% "
      "at $%lld.\n",
      rules::kProgressiveIncrement, static_cast<long long>(growthPercent(rules::kMinBet)),
      static_cast<long long>(rules::kMinBet), static_cast<long long>(growthPercent(rules::kMaxBet)),
      static_cast<long long>(rules::kMaxBet));

  out += "\nProbability of each hit count, and what each table pays for it at $1\n\n";
  std::string head = Format("%5s %5s  %-12s  %-17s", "spots", "hits", "probability", "odds");
  for (int64_t mode : t.modes) head += Format("  %9s", ModeName(mode));
  out += head + "\n";
  for (int s = 1; s <= rules::kMaxPicks; ++s) {
    const SpotOdds row = ExactOdds(t.Of(t.modes.front()), s, pot);
    for (int h = 0; h <= s; ++h) {
      const HitOdds& hit = row.hits[h];
      std::string line =
          Format("%5s %5d  %-12s  %-17s", h == 0 ? std::to_string(s).c_str() : "", h,
                 Format("%.10Lf", hit.probability).c_str(), OneIn(1 / hit.probability).c_str());
      for (int64_t mode : t.modes) {
        const int64_t pay = t.Of(mode)[s][h];
        // Formatted whole: g++ 12 at -O3 takes "$" + a temporary string for an overlapping copy.
        const std::string paid = pay ? Format("$%lld", static_cast<long long>(pay)) : "-";
        line += Format("  %9s", paid.c_str());
      }
      out += line + "\n";
    }
  }
  return out;
}

std::string TablesJson(const Tables& t, int64_t pot) {
  std::string out = "{\n";
  out += "  \"numbers\": 80,\n  \"balls\": 20,\n";
  out += "  \"drawWays\": " + std::to_string(DrawWays()) + ",\n";
  out += "  \"bet\": 1,\n  \"pot\": " + std::to_string(pot) + ",\n";
  out += "  \"potGrowthPerDraw\": " + std::to_string(rules::kProgressiveIncrement) + ",\n";
  out += "  \"tables\": [";
  for (size_t m = 0; m < t.modes.size(); ++m) {
    const int64_t mode = t.modes[m];
    out += m ? ",\n" : "\n";
    out += std::string("    {\"mode\": \"") + ModeKey(mode) + "\", \"spots\": [";
    for (int s = 1; s <= rules::kMaxPicks; ++s) {
      const SpotOdds row = ExactOdds(t.Of(mode), s, pot);
      out += s > 1 ? ",\n" : "\n";
      out += "      {\"spots\": " + std::to_string(s) +
             ", \"return\": " + JsonNumber(row.tableReturn) +
             ", \"fullMatchOneIn\": " + JsonNumber(row.fullMatchOneIn) +
             ", \"progressiveReturn\": " + JsonNumber(row.progressiveReturn) + ",\n";
      out += "       \"hits\": [";
      for (int h = 0; h <= s; ++h) {
        const HitOdds& hit = row.hits[h];
        out += h ? ", " : "";
        out += "{\"hits\": " + std::to_string(h) + ", \"ways\": " + std::to_string(hit.ways) +
               ", \"probability\": " + JsonNumber(hit.probability) +
               ", \"pay\": " + std::to_string(hit.pay) + "}";
      }
      out += "]}";
    }
    out += "\n    ]}";
  }
  out += "\n  ]\n}\n";
  return out;
}

// --- Simulation ---------------------------------------------------------------------------------

long double DrawsPerSecond(const SimulationResult& r) {
  return r.seconds > 0 ? static_cast<long double>(r.draws) / r.seconds : 0;
}

std::string SimulationText(const SimulationOptions& o, const SimulationResult& r) {
  rules::GameState game;
  rules::FillPayTables(game);
  const rules::PayTable& table =
      o.payMode == rules::GENEROUS ? game.payTableGenerous : game.payTableCasino;
  const SpotOdds exact = ExactOdds(table, o.spots, o.pot);

  std::string out;
  out += "Simulated " + Grouped(static_cast<uint64_t>(r.draws)) +
         (r.draws == 1 ? " draw" : " draws") + " of one " + std::to_string(o.spots) +
         "-spot card (the numbers 1 to " + std::to_string(o.spots) + ") at $" +
         std::to_string(rules::kMinBet) + ", " + ModeName(o.payMode) + " table\n";
  if (o.seeded) {
    out += "Random numbers: the seeded general-purpose generator, seed " + std::to_string(o.seed) +
           "\n";
  } else if (r.secureSource) {
    out += "Random numbers: the system's secure source\n";
  } else {
    out += "Random numbers: the secure source would not open; the general-purpose generator drew\n";
  }
  out += Format("\n%5s  %15s  %14s  %14s\n", "hits", "draws", "observed", "exact");
  for (int h = 0; h <= o.spots; ++h) {
    const long double observed =
        r.draws ? static_cast<long double>(r.hitCounts[h]) / static_cast<long double>(r.draws) : 0;
    out +=
        Format("%5d  %15s  %14s  %14s\n", h, Grouped(static_cast<uint64_t>(r.hitCounts[h])).c_str(),
               Percent(observed, 6).c_str(), Percent(exact.hits[h].probability, 6).c_str());
  }
  out += "\nReturn: " + Percent(r.meanReturn, 4) + " observed, " + Percent(r.exactReturn, 4) +
         " exact (the pay table alone)\n";
  if (r.draws >= 2) {
    out += "99 % confidence interval: " + Percent(r.low, 4) + " to " + Percent(r.high, 4) + "\n";
    out += r.agrees ? "Verdict: fair. The exact return lies inside the 99 % interval.\n"
                    : "Verdict: suspect. The exact return lies outside the 99 % interval; a fair "
                      "game does this in 1 run of 100, so run again with more draws.\n";
  } else {
    out += "Verdict: none. One draw gives no confidence interval.\n";
  }
  if (o.spots >= rules::kProgressiveMinSpots) {
    out += "Progressive pot: won " + Grouped(static_cast<uint64_t>(r.progressiveWins)) +
           " times, $" + Grouped(static_cast<uint64_t>(r.progressiveWon)) + " beside the table\n";
  }
  out += Format("Speed: %.2f s on %d %s, %s draws per second\n", r.seconds, r.threads,
                r.threads == 1 ? "thread" : "threads",
                Grouped(static_cast<uint64_t>(std::llround(DrawsPerSecond(r)))).c_str());
  return out;
}

std::string SimulationJson(const SimulationOptions& o, const SimulationResult& r) {
  std::string out = "{\n  \"simulation\": {\n";
  out += "    \"draws\": " + std::to_string(r.draws) + ",\n";
  out += "    \"spots\": " + std::to_string(o.spots) + ",\n";
  out += std::string("    \"mode\": \"") + ModeKey(o.payMode) + "\",\n";
  out += "    \"bet\": " + std::to_string(rules::kMinBet) + ",\n";
  if (o.seeded) {
    out += "    \"source\": \"seeded\",\n    \"seed\": " + std::to_string(o.seed) + ",\n";
  } else {
    out += std::string("    \"source\": \"") + (r.secureSource ? "secure" : "generator") + "\",\n";
  }
  out += "    \"staked\": " + std::to_string(r.staked) + ",\n";
  out += "    \"tableWon\": " + std::to_string(r.tableWon) + ",\n";
  out += "    \"return\": " + JsonNumber(r.meanReturn) + ",\n";
  out += "    \"exactReturn\": " + JsonNumber(r.exactReturn) + ",\n";
  out += "    \"confidence\": 0.99,\n";
  out += "    \"low\": " + JsonNumber(r.draws >= 2 ? r.low : NAN) + ",\n";
  out += "    \"high\": " + JsonNumber(r.draws >= 2 ? r.high : NAN) + ",\n";
  out += std::string("    \"agrees\": ") + (r.agrees ? "true" : "false") + ",\n";
  out += "    \"hitCounts\": [";
  // Appended piece by piece: g++ 12 at -O3 takes "" + a temporary string for an overlapping copy.
  for (int h = 0; h <= o.spots; ++h) {
    if (h) out += ", ";
    out += std::to_string(r.hitCounts[h]);
  }
  out += "],\n";
  out += "    \"progressiveWins\": " + std::to_string(r.progressiveWins) + ",\n";
  out += "    \"progressiveWon\": " + std::to_string(r.progressiveWon) + ",\n";
  out += "    \"threads\": " + std::to_string(r.threads) + ",\n";
  out += Format("    \"seconds\": %.6f,\n", r.seconds);
  out += Format("    \"drawsPerSecond\": %.0Lf\n", DrawsPerSecond(r));
  out += "  }\n}\n";
  return out;
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& args) {
  ToolRun run;
  Options options;
  if (const auto problem = ParseArguments(args, options)) {
    run.exitCode = kExitBadArgument;
    run.err = std::string(kProgram) + ": " + *problem + " (see --help)\n";
    return run;
  }
  if (options.help) {
    run.out = kHelp;
    return run;
  }

  if (options.recall) {
    const RecallRead read = ReadRecallFile(*options.recall);
    if (read.status == RecallRead::Status::kUnreadable) {
      run.exitCode = kExitFailed;
      run.err =
          std::string(kProgram) + ": cannot read " + *options.recall + ": " + read.reason + "\n";
    } else if (read.status == RecallRead::Status::kRefused) {
      run.exitCode = kExitFailed;
      run.err =
          std::string(kProgram) + ": " + *options.recall +
          " is not a recall file the game can read: " + rules::RecallProblemText(read.problem) +
          "\n";
    } else {
      run.out =
          options.json ? RecallJson(read, *options.recall) : RecallText(read, *options.recall);
    }
    return run;
  }

  if (!options.simulate) {
    Tables tables;
    rules::FillPayTables(tables.game);
    if (options.mode) {
      tables.modes = {*options.mode};
    } else {
      tables.modes = {rules::GENEROUS, rules::CASINO};
    }
    run.out = options.json ? TablesJson(tables, options.pot) : TablesText(tables, options.pot);
    return run;
  }

  SimulationOptions sim;
  sim.draws = *options.simulate;
  sim.spots = static_cast<int>(options.spots.value_or(kDefaultSimulatedSpots));
  sim.payMode = options.mode.value_or(rules::GENEROUS);
  sim.seeded = options.seed.has_value();
  sim.seed = options.seed.value_or(0);
  sim.pot = static_cast<int32_t>(options.pot);
  sim.threads = static_cast<int>(options.threads.value_or(0));
  const SimulationResult result = Simulate(sim);

  run.out = options.json ? SimulationJson(sim, result) : SimulationText(sim, result);
  if (result.draws != sim.draws) {
    run.exitCode = kExitFailed;
    run.err += std::string(kProgram) + ": the game refused a draw after " +
               std::to_string(result.draws) + " of " + std::to_string(sim.draws) + "\n";
  }
  if (result.unexpectedDialogs > 0) {
    run.exitCode = kExitFailed;
    run.err += std::string(kProgram) + ": the game opened " +
               std::to_string(result.unexpectedDialogs) + " unexpected message boxes\n";
  }
  return run;
}

}  // namespace odds
