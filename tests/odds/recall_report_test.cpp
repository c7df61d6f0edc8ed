// tessaline-odds --recall: a known recall file printed as text and as JSON, newest first; no
// file is no recalled draws; a file the game would refuse, or cannot read, is exit code 1.
#include "odds/recall_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "odds/tool.h"
#include "rules/recall.h"
#include "support/temp_files.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

void Push(rules::Recall& recall, const rules::RecallDraw& d) {
  recall.slots[recall.next] = d;
  recall.next = (recall.next + 1) % rules::kRecallDraws;
  recall.count += 1;
}

rules::RecallCard Card(int64_t card, std::vector<int> picks, int64_t hits) {
  rules::RecallCard c;
  c.card = card;
  for (int n : picks) c.picked[n] = 1;
  c.pickCount = static_cast<int64_t>(picks.size());
  c.hitCount = hits;
  c.bet = 1;
  return c;
}

// An older draw where cards 1 and 2 won the consolation, and a newer one where card 3's ten spots
// all came up on the CASINO table at $2, winning the pot.
rules::Recall Known() {
  rules::Recall recall;
  rules::RecallDraw older;
  older.endedAt = 1'767'225'600;  // 2026-01-01 00:00:00 UTC
  for (int i = 0; i < 20; ++i) older.numbers[i] = 80 - i;
  older.cardCount = 2;
  older.cards[0] = Card(1, {1, 2, 3, 4, 5, 6, 7}, 0);
  older.cards[0].consolation = 500;
  older.cards[1] = Card(2, {11, 12, 13, 14, 15, 16, 17, 18}, 0);
  older.cards[1].consolation = 500;
  older.balanceAfter = 1998;
  Push(recall, older);

  rules::RecallDraw newer;
  newer.endedAt = 1'767'312'245;  // 2026-01-02 00:04:05 UTC
  const int numbers[20] = {9, 1, 2, 3, 4, 5, 6, 7, 8, 10, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
  for (int i = 0; i < 20; ++i) newer.numbers[i] = numbers[i];
  newer.cardCount = 1;
  newer.cards[0] = Card(3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10);
  newer.cards[0].bet = 2;
  newer.cards[0].payMode = rules::CASINO;
  newer.cards[0].tableWin = 200000;
  newer.cards[0].progressive = 25010;
  newer.balanceAfter = 227006;
  Push(recall, newer);
  return recall;
}

class RecallReport : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = testing_support::MakeTempDir("odds-recall"); }
  void TearDown() override { testing_support::RemoveTempDir(dir_); }
  std::string Write(const testing_support::Bytes& bytes) {
    const fs::path path = dir_ / "keno_recall.dat";
    testing_support::WriteBytes(path, bytes);
    return path.string();
  }
  static odds::ToolRun Tool(std::vector<std::string> args) { return odds::RunTool(args); }

  fs::path dir_;
};

TEST_F(RecallReport, TextShowsEveryDrawNewestFirst) {
  const std::string path = Write(rules::EncodeRecall(Known()));
  const odds::ToolRun run = Tool({"--recall", path});
  EXPECT_EQ(run.exitCode, odds::kExitOk);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "2 recalled draws in " + path +
                         ", newest first\n"
                         "\n"
                         "Draw 1, ended 2026-01-02 00:04:05 UTC\n"
                         "  numbers drawn, in order: 9 1 2 3 4 5 6 7 8 10 21 22 23 24 25 26 27 28 "
                         "29 30\n"
                         "  card 3: picks 1 2 3 4 5 6 7 8 9 10\n"
                         "          10 hits (1 2 3 4 5 6 7 8 9 10), bet $2, CASINO, won $200000, "
                         "progressive jackpot $25010\n"
                         "  balance after: $227006\n"
                         "\n"
                         "Draw 2, ended 2026-01-01 00:00:00 UTC\n"
                         "  numbers drawn, in order: 80 79 78 77 76 75 74 73 72 71 70 69 68 67 66 "
                         "65 64 63 62 61\n"
                         "  card 1: picks 1 2 3 4 5 6 7\n"
                         "          no hits, bet $1, GENEROUS, won $0, consolation $500\n"
                         "  card 2: picks 11 12 13 14 15 16 17 18\n"
                         "          no hits, bet $1, GENEROUS, won $0, consolation $500\n"
                         "  balance after: $1998\n");
}

TEST_F(RecallReport, JsonCarriesTheSameDraws) {
  rules::Recall one;
  Push(one, rules::RecalledDraw(Known(), 0));
  const std::string path = Write(rules::EncodeRecall(one));
  const odds::ToolRun run = Tool({"--recall=" + path, "--json"});
  EXPECT_EQ(run.exitCode, odds::kExitOk);
  EXPECT_EQ(run.out,
            "{\n"
            "  \"recall\": {\n"
            "    \"file\": \"" +
                path +
                "\",\n"
                "    \"exists\": true,\n"
                "    \"draws\": [\n"
                "      {\"endedAt\": 1767312245, \"endedAtUtc\": \"2026-01-02T00:04:05Z\",\n"
                "       \"numbers\": [9, 1, 2, 3, 4, 5, 6, 7, 8, 10, 21, 22, 23, 24, 25, 26, 27, "
                "28, 29, 30],\n"
                "       \"cards\": [{\"card\": 3, \"picks\": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10], "
                "\"hits\": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10], \"hitCount\": 10, \"bet\": 2, "
                "\"mode\": \"casino\", \"tableWin\": 200000, \"progressive\": 25010, "
                "\"consolation\": 0}],\n"
                "       \"balanceAfter\": 227006}\n"
                "    ]\n"
                "  }\n"
                "}\n");
}

TEST_F(RecallReport, NoFileOrAnEmptyOneIsNoRecalledDraws) {
  const std::string missing = (dir_ / "keno_recall.dat").string();
  odds::ToolRun run = Tool({"--recall", missing});
  EXPECT_EQ(run.exitCode, odds::kExitOk);
  EXPECT_EQ(run.out, "No recalled draws: there is no file " + missing + "\n");
  run = Tool({"--recall", missing, "--json"});
  EXPECT_THAT(run.out, HasSubstr("\"exists\": false,\n    \"draws\": []\n"));

  for (const testing_support::Bytes& empty :
       {testing_support::Bytes{}, rules::EncodeRecall(rules::Recall{})}) {
    const std::string path = Write(empty);
    run = Tool({"--recall", path});
    EXPECT_EQ(run.exitCode, odds::kExitOk);
    EXPECT_EQ(run.out, "No recalled draws in " + path + "\n");
  }
}

TEST_F(RecallReport, AFileTheGameWouldRefuseOrCannotBeReadFails) {
  testing_support::Bytes damaged = rules::EncodeRecall(Known());
  damaged[40] ^= 1;
  const std::string path = Write(damaged);
  odds::ToolRun run = Tool({"--recall", path, "--json"});
  EXPECT_EQ(run.exitCode, odds::kExitFailed);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "tessaline-odds: " + path +
                         " is not a recall file the game can read: damaged: its checksum does "
                         "not match\n");

  run = Tool({"--recall", dir_.string()});
  EXPECT_EQ(run.exitCode, odds::kExitFailed);
  EXPECT_EQ(run.err, "tessaline-odds: cannot read " + dir_.string() + ": it is a folder\n");
}

TEST(RecallTime, IsUtcWithinTheCalendarsRange) {
  EXPECT_EQ(odds::UtcTime(0, false), "1970-01-01 00:00:00 UTC");
  EXPECT_EQ(odds::UtcTime(951'782'400, true), "2000-02-29T00:00:00Z");
  EXPECT_EQ(odds::UtcTime(253'402'300'799, true), "9999-12-31T23:59:59Z");
  EXPECT_EQ(odds::UtcTime(253'402'300'800, true), "253402300800");
}

}  // namespace
