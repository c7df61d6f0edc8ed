// The tessaline-odds command line: bad arguments refused with one line and exit code 2, the
// figures a player reads in the table, JSON, and a seeded simulation that repeats exactly.
#include "odds/tool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

odds::ToolRun Tool(std::vector<std::string> args) { return odds::RunTool(args); }

// The line of the return table for a spot count, e.g. "   10    145.4237 % ...".
std::string ReturnLine(const std::string& out, int spots) {
  std::istringstream lines(out);
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "%5d ", spots);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(prefix) && line.find(" %") != std::string::npos) return line;
  }
  return {};
}

std::string WithoutSpeedLine(const std::string& out) {
  std::istringstream lines(out);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("Speed:")) kept += line + "\n";
  }
  return kept;
}

struct BadCase {
  std::vector<std::string> args;
  const char* mention;  // the error must name what was wrong
};

TEST(ToolArguments, BadArgumentsGiveOneLineAndExitCodeTwo) {
  const std::vector<BadCase> cases = {
      {{"--bogus"}, "--bogus"},
      {{"tables"}, "tables"},
      {{"--json=yes"}, "--json"},
      {{"--simulate"}, "--simulate"},
      {{"--simulate", "0"}, "'0'"},
      {{"--simulate", "-5"}, "'-5'"},
      {{"--simulate", "1e6"}, "'1e6'"},
      {{"--simulate", "12abc"}, "'12abc'"},
      {{"--simulate="}, "''"},
      {{"--simulate", "1000000000001"}, "'1000000000001'"},
      {{"--simulate", "10", "--spots", "13"}, "'13'"},
      {{"--simulate", "10", "--spots", "0"}, "'0'"},
      {{"--simulate", "10", "--mode", "fair"}, "'fair'"},
      {{"--simulate", "10", "--seed", "-1"}, "'-1'"},
      {{"--simulate", "10", "--seed", "18446744073709551616"}, "'18446744073709551616'"},
      {{"--pot", "2147483648"}, "'2147483648'"},
      {{"--pot", "+5"}, "'+5'"},
      {{"--spots", "5"}, "--spots"},
      {{"--seed", "3"}, "--seed"},
      {{"--simulate", "10", "--threads", "0"}, "'0'"},
      {{"--simulate", "10", "--threads", "1025"}, "'1025'"},
      {{"--threads", "2"}, "--threads"},
      {{"--recall"}, "--recall"},
      {{"--recall="}, "--recall"},
      {{"--recall", "f", "--simulate", "10"}, "--simulate"},
      {{"--recall", "f", "--pot", "5"}, "--pot"},
      {{"--recall", "f", "--mode", "casino"}, "--mode"},
      {{"--recall", "f", "--spots", "5"}, "--spots"},
  };
  for (const BadCase& c : cases) {
    const odds::ToolRun run = Tool(c.args);
    SCOPED_TRACE(::testing::PrintToString(c.args));
    EXPECT_EQ(run.exitCode, odds::kExitBadArgument);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, StartsWith("tessaline-odds: "));
    EXPECT_THAT(run.err, HasSubstr(c.mention));
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "exactly one line";
  }
}

TEST(ToolArguments, HelpAndBothValueForms) {
  const odds::ToolRun help = Tool({"--simulate", "5", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_THAT(help.out, StartsWith("Usage: tessaline-odds"));
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(Tool({"--pot=30000"}).out, Tool({"--pot", "30000"}).out);
  EXPECT_EQ(Tool({"--mode", "CASINO"}).out, Tool({"--mode=casino"}).out);
}

TEST(ToolTables, ShowTheReturnsOddsAndPotShareOfBothTables) {
  const odds::ToolRun run = Tool({});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  const std::string eight = ReturnLine(run.out, 8);
  EXPECT_THAT(eight, HasSubstr("156.9414 %"));
  EXPECT_THAT(eight, HasSubstr("65.6502 %"));
  EXPECT_THAT(eight, HasSubstr("1 in 230,115"));
  EXPECT_THAT(eight, Not(HasSubstr("at $")));
  const std::string ten = ReturnLine(run.out, 10);
  EXPECT_THAT(ten, HasSubstr("145.4237 %"));
  EXPECT_THAT(ten, HasSubstr("71.9298 %"));
  EXPECT_THAT(ten, HasSubstr("1 in 8,911,711"));
  EXPECT_THAT(ten, HasSubstr("+0.2805 % at $25000"));
  // The probability of each hit count, with what each table pays for it.
  EXPECT_THAT(run.out, HasSubstr("   10  0.0000001122  1 in 8,911,711"));
  EXPECT_THAT(run.out, HasSubstr("$200000    $100000"));
  // The pot's $2 a draw against the lowest and the highest bet.
  EXPECT_THAT(run.out, HasSubstr("+200 % at $1, +20 % at $10."));

  EXPECT_THAT(ReturnLine(Tool({"--pot", "50000"}).out, 10), HasSubstr("+0.5611 % at $50000"));
  const odds::ToolRun casino = Tool({"--mode", "casino"});
  EXPECT_THAT(casino.out, HasSubstr("CASINO"));
  EXPECT_THAT(casino.out, Not(HasSubstr("GENEROUS")));
}

TEST(ToolTables, JsonCarriesTheExactFigures) {
  const odds::ToolRun run = Tool({"--json", "--pot", "30000"});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.out, StartsWith("{\n"));
  EXPECT_THAT(run.out, HasSubstr("\"drawWays\": 3535316142212174320"));
  EXPECT_THAT(run.out, HasSubstr("\"pot\": 30000"));
  EXPECT_THAT(run.out, HasSubstr("{\"mode\": \"generous\""));
  EXPECT_THAT(run.out, HasSubstr("{\"mode\": \"casino\""));
  EXPECT_THAT(run.out, HasSubstr("{\"spots\": 8, \"return\": 1.5694144569643095"));
  EXPECT_THAT(run.out, HasSubstr("{\"hits\": 10, \"ways\": 396704524216, \"probability\": "
                                 "1.12211895134155"));
  EXPECT_THAT(run.out, Not(HasSubstr("nan")));
  EXPECT_THAT(run.out, Not(HasSubstr("inf")));
}

TEST(ToolSimulation, SeededRunRepeatsExactly) {
  const std::vector<std::string> args = {"--simulate", "20000", "--seed", "5",
                                         "--spots",    "3",     "--mode", "casino"};
  const odds::ToolRun first = Tool(args);
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(first.err, "");
  EXPECT_THAT(first.out, HasSubstr("20,000 draws of one 3-spot card"));
  EXPECT_THAT(first.out, HasSubstr("CASINO"));
  EXPECT_THAT(first.out, HasSubstr("seed 5"));
  EXPECT_THAT(first.out, HasSubstr("72.1519 % exact"));
  EXPECT_THAT(first.out, HasSubstr("Verdict: "));
  EXPECT_THAT(first.out, HasSubstr("draws per second"));
  EXPECT_EQ(WithoutSpeedLine(Tool(args).out), WithoutSpeedLine(first.out));

  // Over three chunks and a part, on one thread or on several.
  const std::vector<std::string> chunks = {"--simulate", "200000", "--seed", "5"};
  auto on = [&](const char* threads) {
    std::vector<std::string> withThreads = chunks;
    withThreads.insert(withThreads.end(), {"--threads", threads});
    return Tool(withThreads);
  };
  const odds::ToolRun one = on("1");
  ASSERT_EQ(one.exitCode, 0) << one.err;
  EXPECT_THAT(one.out, HasSubstr(" on 1 thread, "));
  const odds::ToolRun two = on("2");
  EXPECT_THAT(two.out, HasSubstr(" on 2 threads, "));
  EXPECT_EQ(WithoutSpeedLine(two.out), WithoutSpeedLine(one.out));
  EXPECT_EQ(WithoutSpeedLine(on("3").out), WithoutSpeedLine(one.out));

  const odds::ToolRun json = Tool({"--simulate", "1000", "--seed", "5", "--json"});
  ASSERT_EQ(json.exitCode, 0);
  EXPECT_THAT(json.out, HasSubstr("\"draws\": 1000,"));
  EXPECT_THAT(json.out, HasSubstr("\"spots\": 8,"));
  EXPECT_THAT(json.out, HasSubstr("\"source\": \"seeded\",\n    \"seed\": 5,"));
  EXPECT_THAT(json.out, HasSubstr("\"staked\": 1000,"));
  EXPECT_THAT(json.out, HasSubstr("\"exactReturn\": 1.5694144569643095"));
  EXPECT_THAT(json.out, HasSubstr("\"threads\": 1,"));
}

}  // namespace
