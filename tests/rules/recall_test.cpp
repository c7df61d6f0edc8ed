// The recall of finished draws: what a draw leaves in it (the cards that played, as staked, with
// their table wins and prizes), the last ten kept newest first, a full reset clearing it, and
// the file image read back as written.
#include "rules/recall.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/draw.h"
#include "rules_fixture.h"

namespace rules_test {
namespace {

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

class Recall : public RulesTest {
 protected:
  // Plays one whole draw through StartDraw, ending at wall-clock `endedAt`.
  void Play(int64_t endedAt, std::vector<int64_t> first = {}) {
    ScriptDraw(std::move(first));
    rules::StartDraw(g, host);
    ASSERT_EQ(g.drawInProgress, 1);
    host.unixSeconds = endedAt;
    FinishDraw();
  }
  void PickOn(int card, std::initializer_list<int> numbers) {
    for (int n : numbers) rules::SetPick(g, card, n, true);
  }
};

TEST_F(Recall, KeepsTheLastTenDrawsNewestFirst) {
  PickOn(1, {1, 2, 3});
  std::vector<std::vector<int64_t>> sequences;
  for (int draw = 1; draw <= 11; ++draw) {
    Play(1000 + draw, {draw, draw + 20});
    sequences.emplace_back(g.drawSequence, g.drawSequence + rules::kBallsPerDraw);
    EXPECT_EQ(g.recall.count, std::min(draw, rules::kRecallDraws));
    EXPECT_EQ(host.recallStores, draw) << "kept after every finished draw";
  }
  for (int i = 0; i < rules::kRecallDraws; ++i) {
    const rules::RecallDraw& d = rules::RecalledDraw(g.recall, i);
    EXPECT_EQ(d.endedAt, 1011 - i) << i;
    EXPECT_EQ(Numbers(d), sequences[10 - i]) << i;
  }
  EXPECT_EQ(rules::RecalledDraw(g.recall, 9).endedAt, 1002) << "the first draw was pushed out";
}

// Cards 1 and 3 play; card 2 is filled while the draw runs and sits it out; card 4 is empty. The
// bet and mode changed mid-draw count from the next draw, and the recall says what was staked.
TEST_F(Recall, RecordsTheCardsThatPlayedAsStaked) {
  PickOn(1, {5, 17, 60, 61});
  PickOn(3, {17, 40});
  g.betPerCard = g.betSetting = 2;
  ScriptDraw({17, 60, 5});
  rules::StartDraw(g, host);
  PickOn(2, {5, 17});
  g.betPerCard = g.betSetting = 9;
  g.payMode = rules::CASINO;
  rules::RefreshActivePayTable(g);
  host.unixSeconds = 1'767'300'000;
  FinishDraw();

  ASSERT_EQ(g.recall.count, 1);
  const rules::RecallDraw& d = rules::RecalledDraw(g.recall, 0);
  EXPECT_EQ(d.endedAt, 1'767'300'000);
  EXPECT_EQ(Numbers(d), std::vector<int64_t>(g.drawSequence, g.drawSequence + 20));
  EXPECT_EQ(d.numbers[0], 17);
  EXPECT_EQ(d.balanceAfter, g.balance);
  EXPECT_EQ(d.balanceAfter, 1000 - 4 + 2 * 10) << "4 spots, 3 hits, at $2";
  ASSERT_EQ(d.cardCount, 2);
  const rules::RecallCard& one = d.cards[0];
  EXPECT_EQ(one.card, 1);
  EXPECT_EQ(Picks(one), (std::vector<int64_t>{5, 17, 60, 61}));
  EXPECT_EQ(one.pickCount, 4);
  EXPECT_EQ(one.hitCount, 3);
  EXPECT_EQ(one.bet, 2);
  EXPECT_EQ(one.payMode, rules::GENEROUS);
  EXPECT_EQ(one.tableWin, 20);
  EXPECT_EQ(one.progressive, 0);
  EXPECT_EQ(one.consolation, 0);
  const rules::RecallCard& three = d.cards[1];
  EXPECT_EQ(three.card, 3);
  EXPECT_EQ(Picks(three), (std::vector<int64_t>{17, 40}));
  EXPECT_EQ(three.hitCount, 1);
  EXPECT_EQ(three.tableWin, 0) << "a 2-spot card needs both";
}

// A 10-spot full match wins the pot; a higher-numbered 5-spot full match names the box but did
// not win the pot, so the recall gives the pot to the card that won it.
TEST_F(Recall, RecordsTheProgressiveOnTheCardThatWonIt) {
  PickRange(1, 1, 10);
  PickRange(2, 11, 5);
  g.progressivePot = 30000;
  Play(5000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  const rules::RecallDraw& d = rules::RecalledDraw(g.recall, 0);
  ASSERT_EQ(d.cardCount, 2);
  EXPECT_EQ(d.cards[0].tableWin, 200000);
  EXPECT_EQ(d.cards[0].progressive, 30002) << "the pot as the draw grew it";
  EXPECT_EQ(d.cards[1].tableWin, 450);
  EXPECT_EQ(d.cards[1].progressive, 0);
  EXPECT_EQ(d.balanceAfter, 1000 - 2 + 200000 + 30002 + 450);

  Play(5001);  // no full match: the next draw pays no pot
  EXPECT_EQ(rules::RecalledDraw(g.recall, 0).cards[0].progressive, 0);
}

TEST_F(Recall, RecordsTheConsolationBesideTheTableWin) {
  PickRange(1, 1, 7);
  PickRange(2, 8, 8);
  PickRange(3, 16, 8);
  Play(6000, {});  // ScriptDraw fills with 80 downwards: no card is hit
  const rules::RecallDraw& d = rules::RecalledDraw(g.recall, 0);
  ASSERT_EQ(d.cardCount, 3);
  const int64_t shares[] = {334, 333, 333};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(d.cards[i].tableWin, 0) << i;
    EXPECT_EQ(d.cards[i].consolation, shares[i]) << i;
    EXPECT_EQ(d.cards[i].hitCount, 0) << i;
  }
  EXPECT_EQ(d.balanceAfter, 1000 - 3 + 1000);
}

TEST_F(Recall, NewGameNoClearsItAndYesKeepsIt) {
  PickOn(1, {1, 2});
  Play(7000);
  rules::AnswerNewGame(g, host, rules::NewGameChoice::kClearPicks, host.now);
  EXPECT_EQ(g.recall.count, 1);
  PickOn(1, {1, 2});
  Play(7001);
  const int stores = host.recallStores;
  rules::AnswerNewGame(g, host, rules::NewGameChoice::kFullReset, host.now);
  EXPECT_EQ(g.recall.count, 0);
  EXPECT_EQ(host.recallStores, stores + 1) << "the emptied recall is kept too";
}

// --- The file image ---------------------------------------------------------------------------

TEST(RecallCrc, IsTheCrc32OfZipAndPng) {
  const std::string check = "123456789";
  EXPECT_EQ(rules::Crc32({reinterpret_cast<const uint8_t*>(check.data()), check.size()}),
            0xCBF43926u);
}

TEST_F(Recall, FileImageReadsBackAsWrittenAfterTheRingWrapsAround) {
  PickRange(1, 1, 10);
  PickRange(4, 60, 12);
  g.betPerCard = g.betSetting = 10;
  // Draws of both modes, one that pays the pot, and more than the recall holds.
  for (int draw = 1; draw <= 13; ++draw) {
    if (draw == 7) g.payMode = rules::CASINO;
    if (draw == 9) {
      Play(1'800'000'000 + draw, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    } else {
      Play(1'800'000'000 + draw, {draw + 30, draw + 50, draw + 10});
    }
  }
  const std::vector<uint8_t> bytes = rules::EncodeRecall(g.recall);
  ASSERT_EQ(bytes.size(), rules::kRecallMaxFileSize);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "KRCL");
  EXPECT_EQ(bytes[4], 1) << "version";
  EXPECT_EQ(bytes[12], 10) << "draws";

  rules::Recall read;
  ASSERT_EQ(rules::DecodeRecall(bytes, read), rules::RecallProblem::kNone);
  ASSERT_EQ(read.count, 10);
  bool sawPot = false;
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(rules::RecalledDraw(read, i), rules::RecalledDraw(g.recall, i)) << i;
    sawPot = sawPot || rules::RecalledDraw(read, i).cards[0].progressive > 0;
  }
  EXPECT_TRUE(sawPot);
  EXPECT_EQ(rules::EncodeRecall(read), bytes);
}

TEST(RecallFile, EmptyRecallAndEmptyFileMeanNoDraws) {
  const std::vector<uint8_t> empty = rules::EncodeRecall(rules::Recall{});
  EXPECT_EQ(empty.size(), rules::kRecallHeaderSize + rules::kRecallCountSize);
  rules::Recall read;
  read.count = 3;
  EXPECT_EQ(rules::DecodeRecall(empty, read), rules::RecallProblem::kNone);
  EXPECT_EQ(read.count, 0);
  read.count = 3;
  EXPECT_EQ(rules::DecodeRecall({}, read), rules::RecallProblem::kNone);
  EXPECT_EQ(read.count, 0);
}

}  // namespace
}  // namespace rules_test
