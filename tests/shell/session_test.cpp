// Whole sessions on the null platform, start-up to exit: what a save file brings back, what a
// short game leaves in it, and how start-up copes with a missing display or sound device.
#include <gtest/gtest.h>

#include "rules/draw.h"
#include "shell/save.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

class Session : public ShellTest {};

TEST_F(Session, ASavedCasinoGameStartsOnTheCasinoTableWithoutTheGreeting) {
  rules::GameState saved;
  saved.payMode = rules::CASINO;
  saved.betPerCard = 4;
  saved.balance = 2345;
  rules::SetPick(saved, 2, 17, true);
  ASSERT_TRUE(shell::SaveGame(sys_.files, saved, SavePath().string()));
  Start();
  EXPECT_EQ(g_.payMode, rules::CASINO);
  EXPECT_EQ(g_.payTableActive[10][7], 132);
  EXPECT_EQ(g_.payTableActive[4][4], 120);
  EXPECT_EQ(g_.betSetting, 4);
  EXPECT_EQ(g_.activeTab, 0);
  EXPECT_EQ(g_.numberCardCount[17], 1);
  EXPECT_TRUE(sys_.dialogs.empty());
}

TEST_F(Session, AFirstStartGreetsOnCardOneAfterShowingTheBoard) {
  sys_.onDialog = [this] { EXPECT_EQ(sys_.presents, 1) << "the board shows before the box"; };
  Start();
  ASSERT_EQ(sys_.dialogs.size(), 1u);
  EXPECT_EQ(sys_.dialogs[0].title, "Welcome to Keno!");
  EXPECT_NE(sys_.dialogs[0].text.find("costs $1 per draw"), std::string::npos);
  EXPECT_EQ(g_.activeTab, 1);
  EXPECT_EQ(sys_.minWidth, 1000);
  EXPECT_EQ(sys_.openedWidth, 1002);
}

TEST_F(Session, PicksADrawAndEscLeaveTheirSave) {
  Start();
  const int numbers[] = {3, 14, 25, 36};
  for (int n : numbers) {  // cells of Card 1 at 1280 x 780
    sys_.Click(294 + ((n - 1) % 10) * 876 / 10 + 40, 172 + ((n - 1) / 10) * 596 / 8 + 35);
  }
  platform::InputState space;
  space.spaceDown = true;
  sys_.inputs.push_back(space);
  sys_.inputs.push_back(platform::InputState{});
  // Two hits of four: $2 back.
  sys_.QueueDraw({3, 14, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57});
  Frames(12);
  ASSERT_EQ(g_.drawInProgress, 1);
  while (g_.drawInProgress) Frame();
  EXPECT_EQ(g_.runs, 1);
  EXPECT_EQ(g_.balance, 1000 - 1 + 2);

  platform::InputState esc;
  esc.escDown = true;
  sys_.inputs.push_back(esc);
  sys_.inputs.push_back(platform::InputState{});
  int frames = 0;
  while (Frame() && frames < 10) ++frames;
  ASSERT_EQ(game_.quitRequested, 1);
  shell::Shutdown(game_);
  started_ = false;

  rules::GameState saved;
  ASSERT_TRUE(shell::LoadGame(sys_.files, saved, SavePath().string()));
  EXPECT_EQ(saved.balance, 1001);
  EXPECT_EQ(saved.genBet, 1);
  EXPECT_EQ(saved.genWon, 2);
  EXPECT_EQ(saved.cards[1].pickCount, 4);
  for (int n : numbers) EXPECT_EQ(saved.cards[1].picked[n], 1) << n;
  EXPECT_TRUE(sys_.windowClosed);
}

TEST_F(Session, NoDisplayEndsWithTheErrorBoxAndNoSave) {
  sys_.video = false;
  EXPECT_EQ(shell::RunGame(sys_), 0);
  ASSERT_EQ(sys_.dialogs.size(), 1u);
  EXPECT_EQ(sys_.dialogs[0].title, "Error");
  EXPECT_EQ(sys_.dialogs[0].text, "InitSprite() failed - cannot open screen.");
  EXPECT_FALSE(std::filesystem::exists(SavePath()));
}

TEST_F(Session, ScreenFailureNamesItsStep) {
  sys_.screenOpens = false;
  EXPECT_EQ(shell::RunGame(sys_), 0);
  EXPECT_EQ(sys_.dialogs.back().text, "OpenWindowedScreen() failed.");
  EXPECT_FALSE(std::filesystem::exists(SavePath()));
}

TEST_F(Session, WindowClosedMidDrawSavesTheStakeButNoWin) {
  Start();
  rules::SetPick(g_, 1, 7, true);
  sys_.QueueDraw({7});
  rules::StartDraw(g_, host_);
  Frames(3);
  sys_.closeRequested = true;
  EXPECT_FALSE(Frame());
  shell::Shutdown(game_);
  started_ = false;
  rules::GameState saved;
  ASSERT_TRUE(shell::LoadGame(sys_.files, saved, SavePath().string()));
  EXPECT_EQ(saved.balance, 999);
  EXPECT_EQ(saved.genWon, 0);
}

}  // namespace
}  // namespace shell_test
