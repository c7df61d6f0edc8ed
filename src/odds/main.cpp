// tessaline-odds: what each pay table returns to the player, a simulation that proves it, and the
// game's recall of its last draws.
// Only moves the tool's text to stdout and stderr; everything else lives in odds/tool.h.
#include <cstdio>
#include <string>
#include <vector>

#include "odds/tool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  const odds::ToolRun run = odds::RunTool(args);

  std::fwrite(run.out.data(), 1, run.out.size(), stdout);
  std::fwrite(run.err.data(), 1, run.err.size(), stderr);
  // A full disk or a closed pipe must not pass for a complete table.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("tessaline-odds: could not write the output\n", stderr);
    return odds::kExitFailed;
  }
  return run.exitCode;
}
