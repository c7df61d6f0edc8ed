// tessaline-odds --recall: the game's recall file read as the game reads it, and printed newest
// first as text or JSON. Reads only the file it is named; never writes one.
#pragma once

#include <string>

#include "rules/game_state.h"
#include "rules/recall.h"

namespace odds {

// What reading a recall file found.
struct RecallRead {
  enum class Status {
    kRead,        // `recall` holds the file's draws (none for an empty file)
    kMissing,     // no file there: the game has nothing to recall
    kUnreadable,  // something is there that cannot be read; `reason` says what
    kRefused,     // read, and refused as the game refuses it; `problem` says why
  };
  Status status = Status::kMissing;
  rules::Recall recall;
  rules::RecallProblem problem = rules::RecallProblem::kNone;
  std::string reason;
};

RecallRead ReadRecallFile(const std::string& path);

// "2026-01-01 00:17:12 UTC" (text) and "2026-01-01T00:17:12Z" (JSON) for seconds since the epoch;
// outside the years 1970 to 9999 the plain number of seconds.
std::string UtcTime(int64_t seconds, bool iso);

// The draws of a read (kRead or kMissing), newest first.
std::string RecallText(const RecallRead& read, const std::string& path);
std::string RecallJson(const RecallRead& read, const std::string& path);

}  // namespace odds
