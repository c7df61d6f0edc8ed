// The balance check before a draw: exact cover, and the out-of-funds box with each answer.
#include "rules/funds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/draw.h"
#include "rules_fixture.h"

namespace rules_test {
namespace {

using rules::Answer;

class Funds : public RulesTest {
 protected:
  void SetUp() override {
    RulesTest::SetUp();
    PickRange(1, 1, 5);
    PickRange(2, 21, 5);
    g.betPerCard = 10;
  }
};

TEST_F(Funds, BalanceEqualToTheCostPlaysDownToZero) {
  g.balance = 20;
  rules::StartDraw(g, host);
  EXPECT_TRUE(host.dialogs.empty());
  EXPECT_EQ(g.balance, 0);
  g.drawInProgress = 0;
  host.answers.push_back(Answer::No);
  rules::StartDraw(g, host);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "Out of Funds!");
}

struct AnswerCase {
  Answer answer;
  bool draws;
  int64_t balanceAfter;
  std::vector<std::string> events;  // host calls, in order
};
void PrintTo(const AnswerCase& c, std::ostream* os) {
  *os << (c.answer == Answer::Yes ? "YES" : "NO");
}

class OutOfFunds : public Funds, public ::testing::WithParamInterface<AnswerCase> {};

// Balance 12 against two $10 cards during auto-run: the box stops auto-run before it shows;
// YES tops up, saves and plays; NO saves, asks to quit and charges nothing.
TEST_P(OutOfFunds, AnswerDecidesTheDraw) {
  const AnswerCase& c = GetParam();
  g.balance = 12;
  g.autoRun = 1;
  g.autoNextPending = 1;
  host.answers.push_back(c.answer);
  host.onDialog = [this](const testing_support::RecordedDialog&) {
    EXPECT_EQ(g.autoRun, 0);
    EXPECT_EQ(g.autoNextPending, 0);
  };

  rules::StartDraw(g, host);

  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "Out of Funds!");
  EXPECT_EQ(host.dialogs[0].text,
            "Balance ($12) is less than the draw cost ($20).\n\n"
            "YES = add $1000 and keep playing.\nNO  = save and quit.");
  EXPECT_EQ(host.dialogs[0].buttons, rules::Buttons::YesNo);
  EXPECT_EQ(g.drawInProgress, c.draws ? 1 : 0);
  EXPECT_EQ(g.balance, c.balanceAfter);
  EXPECT_EQ(g.genBet, c.draws ? 20 : 0);
  EXPECT_EQ(g.autoRun, 0);
  std::vector<std::string> calls;
  for (const std::string& e : host.events) {
    if (e.rfind("dialog:", 0) == 0 || e == "save" || e == "quit") calls.push_back(e);
  }
  EXPECT_EQ(calls, c.events);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OutOfFunds,
    ::testing::Values(AnswerCase{Answer::Yes, true, 992, {"dialog:Out of Funds!", "save"}},
                      AnswerCase{Answer::No, false, 12, {"dialog:Out of Funds!", "save", "quit"}}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) {
      return std::string(info.param.answer == Answer::Yes ? "Yes" : "No");
    });

// The check alone: a refused draw must not have changed the money.
TEST_F(Funds, CheckPassesWithoutAskingWhenCovered) {
  g.balance = 40;
  EXPECT_TRUE(rules::FundsCheck(g, host, 40));
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(g.balance, 40);
}

}  // namespace
}  // namespace rules_test
