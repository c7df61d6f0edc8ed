// Reading the recall file with the game's own decoder, and the two reports of it. Every number
// printed comes from the file as the game would load it; nothing is worked out again here, but
// which picks were hits, from the picks and the numbers drawn.
#include "odds/recall_report.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace odds {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kLastSecondOf9999 = 253'402'300'799;

std::string Joined(const std::vector<int64_t>& values, const char* between) {
  std::string out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += between;
    out += std::to_string(values[i]);
  }
  return out;
}

std::vector<int64_t> Numbers(const rules::RecallDraw& d) {
  return std::vector<int64_t>(d.numbers, d.numbers + rules::kBallsPerDraw);
}

std::vector<int64_t> Picks(const rules::RecallCard& c) {
  std::vector<int64_t> picks;
  for (int n = 1; n <= rules::kNumbers; ++n) {
    if (c.picked[n]) picks.push_back(n);
  }
  return picks;
}

std::vector<int64_t> Hits(const rules::RecallDraw& d, const rules::RecallCard& c) {
  bool drawn[rules::kNumbers + 1] = {};
  for (int64_t n : d.numbers) drawn[n] = true;
  std::vector<int64_t> hits;
  for (int64_t n : Picks(c)) {
    if (drawn[n]) hits.push_back(n);
  }
  return hits;
}

const char* ModeName(int64_t mode) { return mode == rules::GENEROUS ? "GENEROUS" : "CASINO"; }
const char* ModeKey(int64_t mode) { return mode == rules::GENEROUS ? "generous" : "casino"; }

std::string Dollars(int64_t amount) { return "$" + std::to_string(amount); }

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string CardText(const rules::RecallDraw& d, const rules::RecallCard& c) {
  const std::string head = "  card " + std::to_string(c.card) + ": ";
  std::string out = head + "picks " + Joined(Picks(c), " ") + "\n";
  const std::vector<int64_t> hits = Hits(d, c);
  std::string line = std::string(head.size(), ' ');
  if (hits.empty()) {
    line += "no hits";
  } else {
    line += std::to_string(hits.size()) + (hits.size() == 1 ? " hit (" : " hits (") +
            Joined(hits, " ") + ")";
  }
  line += ", bet " + Dollars(c.bet) + ", " + ModeName(c.payMode) + ", won " + Dollars(c.tableWin);
  if (c.progressive > 0) line += ", progressive jackpot " + Dollars(c.progressive);
  if (c.consolation > 0) line += ", consolation " + Dollars(c.consolation);
  return out + line + "\n";
}

std::string CardJson(const rules::RecallDraw& d, const rules::RecallCard& c) {
  return "{\"card\": " + std::to_string(c.card) + ", \"picks\": [" + Joined(Picks(c), ", ") +
         "], \"hits\": [" + Joined(Hits(d, c), ", ") +
         "], \"hitCount\": " + std::to_string(c.hitCount) + ", \"bet\": " + std::to_string(c.bet) +
         ", \"mode\": \"" + ModeKey(c.payMode) + "\", \"tableWin\": " + std::to_string(c.tableWin) +
         ", \"progressive\": " + std::to_string(c.progressive) +
         ", \"consolation\": " + std::to_string(c.consolation) + "}";
}

}  // namespace

RecallRead ReadRecallFile(const std::string& path) {
  RecallRead read;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return read;
  read.status = RecallRead::Status::kUnreadable;
  if (error) {
    read.reason = error.message();
    return read;
  }
  if (fs::is_directory(status)) {
    read.reason = "it is a folder";
    return read;
  }
  if (!fs::is_regular_file(status)) {
    read.reason = "it is not a regular file";
    return read;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    read.reason = std::string("it cannot be opened: ") + std::strerror(errno);
    return read;
  }
  // One byte more than the longest recall is enough to tell that a file is too long.
  std::vector<uint8_t> bytes(rules::kRecallMaxFileSize + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) {
    read.reason = "it could not be read to the end";
    return read;
  }
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  read.problem = rules::DecodeRecall(bytes, read.recall);
  read.status = read.problem == rules::RecallProblem::kNone ? RecallRead::Status::kRead
                                                            : RecallRead::Status::kRefused;
  return read;
}

std::string UtcTime(int64_t seconds, bool iso) {
  if (seconds < 0 || seconds > kLastSecondOf9999) return std::to_string(seconds);
  using namespace std::chrono;
  const sys_seconds time{std::chrono::seconds{seconds}};
  const sys_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  char text[32];
  std::snprintf(
      text, sizeof text,
      iso ? "%04d-%02u-%02uT%02lld:%02lld:%02lldZ" : "%04d-%02u-%02u %02lld:%02lld:%02lld UTC",
      static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
      static_cast<unsigned>(date.day()), static_cast<long long>(clock.hours().count()),
      static_cast<long long>(clock.minutes().count()),
      static_cast<long long>(clock.seconds().count()));
  return text;
}

std::string RecallText(const RecallRead& read, const std::string& path) {
  if (read.status == RecallRead::Status::kMissing) {
    return "No recalled draws: there is no file " + path + "\n";
  }
  const rules::Recall& recall = read.recall;
  if (recall.count == 0) return "No recalled draws in " + path + "\n";
  std::string out = std::to_string(recall.count) +
                    (recall.count == 1 ? " recalled draw in " : " recalled draws in ") + path +
                    ", newest first\n";
  for (int64_t i = 0; i < recall.count; ++i) {
    const rules::RecallDraw& d = rules::RecalledDraw(recall, i);
    out += "\nDraw " + std::to_string(i + 1) + ", ended " + UtcTime(d.endedAt, false) + "\n";
    out += "  numbers drawn, in order: " + Joined(Numbers(d), " ") + "\n";
    for (int64_t c = 0; c < d.cardCount; ++c) out += CardText(d, d.cards[c]);
    out += "  balance after: " + Dollars(d.balanceAfter) + "\n";
  }
  return out;
}

std::string RecallJson(const RecallRead& read, const std::string& path) {
  std::string out = "{\n  \"recall\": {\n";
  out += "    \"file\": " + JsonString(path) + ",\n";
  out += std::string("    \"exists\": ") +
         (read.status == RecallRead::Status::kMissing ? "false" : "true") + ",\n";
  out += "    \"draws\": [";
  const rules::Recall& recall = read.recall;
  for (int64_t i = 0; i < recall.count; ++i) {
    const rules::RecallDraw& d = rules::RecalledDraw(recall, i);
    out += i ? ",\n" : "\n";
    out += "      {\"endedAt\": " + std::to_string(d.endedAt) +
           ", \"endedAtUtc\": " + JsonString(UtcTime(d.endedAt, true)) + ",\n";
    out += "       \"numbers\": [" + Joined(Numbers(d), ", ") + "],\n";
    out += "       \"cards\": [";
    for (int64_t c = 0; c < d.cardCount; ++c) {
      out += c ? ",\n                 " : "";
      out += CardJson(d, d.cards[c]);
    }
    out += "],\n       \"balanceAfter\": " + std::to_string(d.balanceAfter) + "}";
  }
  out += recall.count ? "\n    ]\n" : "]\n";
  out += "  }\n}\n";
  return out;
}

}  // namespace odds
