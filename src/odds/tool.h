// The tessaline-odds command line: reads its arguments, prints the tables, runs a simulation or
// prints the game's recall of its last draws, as text or JSON. Output is returned as strings so
// the caller decides where it goes. Reads no file but the recall it is named, and writes none.
#pragma once

#include <string>
#include <vector>

namespace odds {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the run itself went wrong, or the recall file cannot be read
constexpr int kExitBadArgument = 2;

struct ToolRun {
  int exitCode = kExitOk;
  std::string out;  // for stdout
  std::string err;  // for stderr: one line per problem
};

// Runs the tool on the arguments after the program name.
ToolRun RunTool(const std::vector<std::string>& args);

}  // namespace odds
