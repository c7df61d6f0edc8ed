// The tessaline-odds command line: reads its arguments, prints the tables or runs a simulation,
// as text or JSON. Output is returned as strings so the caller decides where it goes.
// Touches no file and no saved game.
#pragma once

#include <string>
#include <vector>

namespace odds {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the run itself went wrong
constexpr int kExitBadArgument = 2;

struct ToolRun {
  int exitCode = kExitOk;
  std::string out;  // for stdout
  std::string err;  // for stderr: one line per problem
};

// Runs the tool on the arguments after the program name.
ToolRun RunTool(const std::vector<std::string>& args);

}  // namespace odds
