// Input on the null platform at 1280 x 780: the click rules of every board region, the
// Draw-button and SPACE holds on the frame clock, pick edits, the card copy and New Game dialogs (a
// New Game during a draw waits for it to pay), the locks that keep a running draw paying only for
// what it was bought with, and a click on every cell's corners and centre at four sizes.
#include "shell/input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "render/card_grid.h"
#include "rules/picks.h"
#include "shell/save.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

using platform::InputState;

// Button slots at 1280 x 780: x = 12 + slot * 157, 155 wide (the last 157), y 12..107.
constexpr int64_t kButtonY = 50;
int64_t SlotX(int slot, int64_t dx = 10) { return 12 + slot * 157 + dx; }
// The centre of number n's cell on the 876 x 596 grid at (294, 172).
int64_t CellX(int n) { return 294 + ((n - 1) % 10) * 876 / 10 + 40; }
int64_t CellY(int n) { return 172 + ((n - 1) / 10) * 596 / 8 + 35; }
int64_t TabX(int tab) { return 294 + tab * 175 + 80; }
constexpr int64_t kTabY = 140;

class Input : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Start();
  }
  void PickOn(int card, std::initializer_list<int> numbers) {
    for (int n : numbers) rules::SetPick(g_, card, n, true);
  }
  // Feeds polled states one frame each.
  void Feed(std::initializer_list<InputState> states) {
    for (const InputState& s : states) {
      sys_.inputs.push_back(s);
      Frame();
    }
  }
  static InputState Mouse(int64_t x, int64_t y, bool left, bool right = false) {
    InputState s;
    s.mouseX = x;
    s.mouseY = y;
    s.leftDown = left;
    s.rightDown = right;
    return s;
  }
  static InputState Space(bool down) {
    InputState s;
    s.spaceDown = down;
    return s;
  }
  void LeftClick(int64_t x, int64_t y) { Feed({Mouse(x, y, true), Mouse(x, y, false)}); }
  void RightClick(int64_t x, int64_t y) { Feed({Mouse(x, y, false, true), Mouse(x, y, false)}); }
  // Holds SPACE for `ms` on the frame clock, then releases it.
  void HoldSpace(int64_t ms) {
    const int64_t until = sys_.now + ms;
    while (sys_.now < until) Feed({Space(true)});
    Feed({Space(false)});
  }
};

// --- Left clicks ----------------------------------------------------------------------------

struct ClickCase {
  const char* name;
  std::function<void(shell::Game&)> before;
  int64_t x, y;
  std::function<void(const shell::Game&, const platform::NullSystem&)> check;
};

class LeftClickRules : public Input, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(LeftClickRules, ApplyTheirRule) {
  const ClickCase& c = GetParam();
  if (c.before) c.before(game_);
  shell::HandleLeftClick(game_, host_, c.x, c.y);
  c.check(game_, sys_);
}

const ClickCase kLeftClicks[] = {
    {"OpenOverlayOnlyCloses", [](shell::Game& gm) { gm.input.payoutOverlayOpen = 1; }, SlotX(1),
     kButtonY,
     [](const shell::Game& gm, const platform::NullSystem& sys) {
       EXPECT_EQ(gm.input.payoutOverlayOpen, 0);
       EXPECT_TRUE(sys.dialogs.size() == 1u) << "only the welcome box, no New Game box";
     }},
    {"OpenOverlayClosesOnAClickOutsideTheWindow",
     [](shell::Game& gm) { gm.input.aboutOverlayOpen = 1; }, -1, -1,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.aboutOverlayOpen, 0);
     }},
    {"DrawButtonStopsAutoRun",
     [](shell::Game& gm) { gm.state.autoRun = gm.state.autoNextPending = 1; }, SlotX(0), kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.autoRun, 0);
       EXPECT_EQ(gm.state.autoNextPending, 0);
     }},
    {"PayoutOpensItsOverlayClosesAboutStopsAutoRun", [](shell::Game& gm) { gm.state.autoRun = 1; },
     SlotX(2), kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.payoutOverlayOpen, 1);
       EXPECT_EQ(gm.state.autoRun, 0);
     }},
    {"SpeedLeftHalfLowers", [](shell::Game& gm) { gm.state.speed = 3; }, 483 + 77 - 1, kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.speed, 2); }},
    {"SpeedMiddleCountsAsRightHalf", [](shell::Game& gm) { gm.state.speed = 3; }, 483 + 77,
     kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.speed, 4); }},
    {"SpeedStaysAtOne", [](shell::Game& gm) { gm.state.speed = 1; }, SlotX(3), kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.speed, 1); }},
    {"SpeedStaysAtFive", [](shell::Game& gm) { gm.state.speed = 5; }, SlotX(3, 150), kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.speed, 5); }},
    {"BetRightHalfRaisesBoth", nullptr, 640 + 77, kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.betSetting, 2);
       EXPECT_EQ(gm.state.betPerCard, 2);
     }},
    {"BetStaysAtTen", [](shell::Game& gm) { gm.state.betSetting = gm.state.betPerCard = 10; },
     SlotX(4, 150), kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.betPerCard, 10);
     }},
    {"BetStaysAtOne", nullptr, SlotX(4), kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.betPerCard, 1); }},
    {"SoundToggles", nullptr, SlotX(5), kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.soundOn, 0); }},
    {"AutoPickFillsTheActiveCardAndStopsAutoRun",
     [](shell::Game& gm) {
       gm.state.autoRun = 1;
       rules::SelectTab(gm.state, 2);
     },
     SlotX(6), kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.cards[2].pickCount, 8);
       EXPECT_EQ(gm.state.autoRun, 0);
     }},
    {"AboutOpensItsOverlayAndClosesPayout", [](shell::Game& gm) { gm.input.payoutOverlayOpen = 0; },
     1111 + 150, kButtonY,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.aboutOverlayOpen, 1);
       EXPECT_EQ(gm.input.payoutOverlayOpen, 0);
     }},
    {"TabSelects", nullptr, TabX(3), kTabY,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.activeTab, 3); }},
    {"TabStripRemainderIsTheLastTab", nullptr, 294 + 875, kTabY,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.activeTab, 4); }},
    {"CellOnACardTabToggles", [](shell::Game& gm) { rules::SelectTab(gm.state, 2); }, 294 + 790,
     172 + 523,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.cards[2].picked[80], 1);
       EXPECT_EQ(gm.state.cards[2].pickCount, 1);
     }},
    {"CellOnTheMainTabDoesNothing", [](shell::Game& gm) { rules::SelectTab(gm.state, 0); },
     CellX(5), CellY(5),
     [](const shell::Game& gm, const platform::NullSystem&) {
       for (int c = 1; c <= 4; ++c) EXPECT_EQ(gm.state.cards[c].pickCount, 0);
     }},
    {"StatsPanelDoesNothing", nullptr, 100, 400,
     [](const shell::Game& gm, const platform::NullSystem& sys) {
       EXPECT_EQ(gm.state.activeTab, 1);
       EXPECT_EQ(sys.dialogs.size(), 1u);
     }},
};

INSTANTIATE_TEST_SUITE_P(Regions, LeftClickRules, ::testing::ValuesIn(kLeftClicks),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Right clicks ---------------------------------------------------------------------------

TEST_F(Input, RightClicksSwapModeToggleHeatMapAndLeaveOverlaysOpen) {
  game_.input.payoutOverlayOpen = 1;
  shell::HandleRightClick(game_, host_, SlotX(2), kButtonY);
  EXPECT_EQ(g_.payMode, rules::CASINO);
  EXPECT_EQ(g_.payTableActive[10][7], 132);
  EXPECT_EQ(g_.savePending, 1);
  EXPECT_EQ(game_.input.payoutOverlayOpen, 1) << "the open table shows the other mode";

  rules::SelectTab(g_, 0);
  shell::HandleRightClick(game_, host_, CellX(40), CellY(40));
  EXPECT_EQ(g_.heatMapOn, 1);
  shell::HandleRightClick(game_, host_, TabX(0), kTabY);  // the Main tab itself: nothing
  EXPECT_EQ(g_.heatMapOn, 1);
  EXPECT_TRUE(sys_.prompts.empty());
  rules::SelectTab(g_, 1);
  shell::HandleRightClick(game_, host_, CellX(40), CellY(40));  // card view: nothing
  EXPECT_EQ(g_.heatMapOn, 0);  // selecting the card tab already hid it
}

TEST_F(Input, RightClickOnAutoPickClosesOverlaysAndPicksAtRandom) {
  rules::SelectTab(g_, 3);
  PickOn(3, {1, 2, 3});
  game_.input.aboutOverlayOpen = 1;
  g_.autoRun = 1;
  shell::HandleRightClick(game_, host_, SlotX(6), kButtonY);
  EXPECT_EQ(game_.input.aboutOverlayOpen, 0);
  EXPECT_EQ(g_.autoRun, 0);
  EXPECT_EQ(g_.cards[3].pickCount, 3);
}

// --- Copy card ------------------------------------------------------------------------------

struct CopyCase {
  const char* reply;
  int64_t copiedTo;  // 0: nothing copied
  bool invalidBox;
};

class CopyReplies : public Input, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyReplies, CopyOrComplain) {
  const CopyCase& c = GetParam();
  PickOn(2, {5, 17, 33});
  PickOn(3, {1, 2});
  sys_.replies.push_back(c.reply);
  RightClick(TabX(2), kTabY);
  ASSERT_EQ(sys_.prompts.size(), 1u);
  EXPECT_EQ(sys_.prompts[0].title, "Copy Card 2");
  EXPECT_EQ(sys_.prompts[0].prompt, "Copy Card 2's picks to which card? (1-4, not 2)");
  if (c.copiedTo != 0) {
    const rules::Card& to = g_.cards[c.copiedTo];
    EXPECT_EQ(to.pickCount, 3);
    EXPECT_TRUE(to.picked[5] && to.picked[17] && to.picked[33] && !to.picked[1]);
    EXPECT_EQ(g_.activeTab, c.copiedTo);
    EXPECT_EQ(g_.numberCardCount[17], 2);
  } else {
    EXPECT_EQ(g_.cards[3].pickCount, 2);
    EXPECT_EQ(g_.activeTab, 1);
  }
  const bool boxed = sys_.dialogs.size() == 2 && sys_.dialogs[1].title == "Copy Card" &&
                     sys_.dialogs[1].text == "Invalid destination.";
  EXPECT_EQ(boxed, c.invalidBox);
}

INSTANTIATE_TEST_SUITE_P(Replies, CopyReplies,
                         ::testing::Values(CopyCase{"3", 3, false}, CopyCase{" +3", 3, false},
                                           CopyCase{"$3", 3, false}, CopyCase{"%11", 3, false},
                                           CopyCase{"4x", 4, false}, CopyCase{"abc", 0, true},
                                           CopyCase{"2", 0, true}, CopyCase{"7", 0, true},
                                           CopyCase{"-3", 0, true}, CopyCase{"", 0, false}));

TEST(ParseCardNumber, ReadsSignsBasesAndStopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(rules::ParseCardNumber("\t 12abc"), 12);
  EXPECT_EQ(rules::ParseCardNumber("$fF"), 255);
  EXPECT_EQ(rules::ParseCardNumber("%102"), 2);
  EXPECT_EQ(rules::ParseCardNumber("-$"), 0);
  EXPECT_EQ(rules::ParseCardNumber("99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(rules::ParseCardNumber("-99999999999999999999999"), -INT64_MAX);
}

// --- New Game -------------------------------------------------------------------------------

TEST_F(Input, NewGameYesClearsPicksKeepsMoneyAndSavesAtOnce) {
  PickOn(1, {1, 2, 3});
  g_.balance = 777;
  g_.autoRun = 1;
  rules::SelectTab(g_, 3);
  sys_.answers.push_back(platform::MessageAnswer::Yes);
  shell::HandleLeftClick(game_, host_, SlotX(1), kButtonY);
  ASSERT_EQ(sys_.dialogs.back().title, "New Game");
  EXPECT_EQ(sys_.dialogs.back().buttons, platform::MessageButtons::YesNoCancel);
  EXPECT_EQ(sys_.dialogs.back().text,
            "YES    - Clear card selections only.\n"
            "         (Balance and lifetime stats kept.)\n\n"
            "NO     - Full wipe: reset balance to $1000, clear all stats.\n\n"
            "CANCEL - Return to game, change nothing.");
  EXPECT_EQ(g_.cards[1].pickCount, 0);
  EXPECT_EQ(g_.autoRun, 0);
  EXPECT_EQ(g_.activeTab, 1);
  rules::GameState saved;
  ASSERT_TRUE(shell::LoadGame(sys_.files, saved, SavePath().string()));
  EXPECT_EQ(saved.balance, 777);
}

TEST_F(Input, NewGameNoWipesEverythingAndDeletesTheSave) {
  g_.balance = 50;
  g_.genBet = 900;
  shell::SaveGame(sys_.files, g_, SavePath().string());
  sys_.answers.push_back(platform::MessageAnswer::No);
  shell::HandleLeftClick(game_, host_, SlotX(1), kButtonY);
  EXPECT_EQ(g_.balance, 1000);
  EXPECT_EQ(g_.genBet, 0);
  EXPECT_FALSE(std::filesystem::exists(SavePath()));
}

TEST_F(Input, NewGameCancelChangesNothing) {
  PickOn(1, {1, 2, 3});
  shell::HandleLeftClick(game_, host_, SlotX(1), kButtonY);  // unanswered: closed, CANCEL
  EXPECT_EQ(g_.cards[1].pickCount, 3);
  EXPECT_FALSE(std::filesystem::exists(SavePath()));
}

// A New Game answered during a draw lets that draw pay as staked, then starts.
class NewGameDuringADraw : public Input {
 protected:
  // Card 1 plays one spot, drawn first: the draw pays 3 at the default bet.
  void StartDraw() {
    PickOn(1, {40});
    sys_.QueueDraw({40});
    Feed({Space(true), Space(false)});
    ASSERT_EQ(g_.drawInProgress, 1);
    Frames(10);
  }
  void Answer(platform::MessageAnswer answer) {
    sys_.answers.push_back(answer);
    LeftClick(SlotX(1), kButtonY);
  }
  void FinishDraw() {
    while (g_.drawInProgress) Frame();
  }
};

TEST_F(NewGameDuringADraw, YesWaitsForTheDrawToPayThenClearsThePicksAndSaves) {
  StartDraw();
  Answer(platform::MessageAnswer::Yes);
  EXPECT_EQ(g_.cards[1].pickCount, 1) << "the cards that paid for the draw keep their picks";
  EXPECT_EQ(g_.statusTitle, "NEW GAME");
  EXPECT_EQ(g_.statusMessage, "Starts when this draw ends");
  // The draw takes about 11 s at the default speed; the notice outlasts its usual 5 s.
  for (int i = 0; i < 450; ++i) Frame();
  ASSERT_EQ(g_.drawInProgress, 1);
  EXPECT_EQ(g_.statusTitle, "NEW GAME");
  EXPECT_FALSE(std::filesystem::exists(SavePath()));

  FinishDraw();
  EXPECT_EQ(g_.runs, 0) << "a new set";
  EXPECT_EQ(g_.balance, 1000 - 1 + 3) << "paid as staked";
  EXPECT_EQ(g_.genWon, 3);
  EXPECT_EQ(g_.cards[1].pickCount, 0);
  EXPECT_EQ(g_.activeTab, 1);
  EXPECT_TRUE(g_.statusMessage.empty());
  rules::GameState saved;
  ASSERT_TRUE(shell::LoadGame(sys_.files, saved, SavePath().string()))
      << "saved at once, as YES always is";
  EXPECT_EQ(saved.balance, 1002);
  EXPECT_EQ(saved.cards[1].pickCount, 0);
}

TEST_F(NewGameDuringADraw, NoWaitsForTheDrawThenWipesTheGame) {
  shell::SaveGame(sys_.files, g_, SavePath().string());
  StartDraw();
  Answer(platform::MessageAnswer::No);
  EXPECT_EQ(g_.genBet, 1);
  EXPECT_TRUE(std::filesystem::exists(SavePath())) << "nothing is wiped before the draw ends";
  FinishDraw();
  EXPECT_EQ(g_.balance, 1000);
  EXPECT_EQ(g_.genBet, 0);
  EXPECT_EQ(g_.genWon, 0);
  EXPECT_EQ(g_.cards[1].pickCount, 0);
  EXPECT_FALSE(std::filesystem::exists(SavePath()));
}

TEST_F(NewGameDuringADraw, AutoRunStopsAtOnceAndNoDrawFollows) {
  PickOn(1, {40});
  const int64_t start = sys_.now;
  while (!g_.autoRun && sys_.now - start < 2000) Feed({Space(true)});
  Feed({Space(false)});
  ASSERT_EQ(g_.drawInProgress, 1);
  Answer(platform::MessageAnswer::Yes);
  EXPECT_EQ(g_.autoRun, 0);
  FinishDraw();
  Frames(200);
  EXPECT_EQ(g_.drawInProgress, 0);
  EXPECT_EQ(g_.genBet, 1) << "one draw only";
}

// The later answer stands: a player who asked for a full wipe and then only for new cards keeps
// their money. CANCEL changes nothing, a waiting answer included.
struct SecondAnswerCase {
  const char* name;
  platform::MessageAnswer first, second;
  int64_t balance, genBet;
};
void PrintTo(const SecondAnswerCase& c, std::ostream* os) { *os << c.name; }

class SecondAnswer : public NewGameDuringADraw,
                     public ::testing::WithParamInterface<SecondAnswerCase> {};

TEST_P(SecondAnswer, ReplacesTheFirst) {
  const SecondAnswerCase& c = GetParam();
  StartDraw();
  Answer(c.first);
  Answer(c.second);
  FinishDraw();
  EXPECT_EQ(g_.balance, c.balance);
  EXPECT_EQ(g_.genBet, c.genBet);
  EXPECT_EQ(g_.cards[1].pickCount, 0);
}

using platform::MessageAnswer;
INSTANTIATE_TEST_SUITE_P(
    Answers, SecondAnswer,
    ::testing::Values(
        SecondAnswerCase{"YesThenNo", MessageAnswer::Yes, MessageAnswer::No, 1000, 0},
        SecondAnswerCase{"NoThenYes", MessageAnswer::No, MessageAnswer::Yes, 1002, 1},
        SecondAnswerCase{"YesThenCancel", MessageAnswer::Yes, MessageAnswer::Cancel, 1002, 1},
        SecondAnswerCase{"NoThenCancel", MessageAnswer::No, MessageAnswer::Cancel, 1000, 0}),
    [](const ::testing::TestParamInfo<SecondAnswerCase>& info) {
      return std::string(info.param.name);
    });

// --- Holds and taps on the frame clock ------------------------------------------------------

TEST_F(Input, SpaceHeldUnderASecondDrawsOnceOnRelease) {
  PickOn(1, {1, 2, 3});
  HoldSpace(900);
  EXPECT_EQ(g_.drawInProgress, 1);
  EXPECT_EQ(g_.autoRun, 0);
  EXPECT_TRUE(host_.tones.empty() || host_.tones[0].first == 50) << "no auto-run cue";
}

TEST_F(Input, SpaceHeldASecondStartsAutoRunAtTheMarkAndATapStopsIt) {
  PickOn(1, {1, 2, 3});
  game_.input.payoutOverlayOpen = 1;
  const int64_t start = sys_.now;
  while (!g_.autoRun && sys_.now - start < 2000) Feed({Space(true)});
  EXPECT_EQ(g_.autoRun, 1);
  EXPECT_GE(sys_.now - start, 1000);
  EXPECT_LE(sys_.now - start, 1000 + 2 * sys_.frameMs);
  EXPECT_EQ(g_.drawInProgress, 1);
  EXPECT_EQ(game_.input.payoutOverlayOpen, 0);
  ASSERT_FALSE(host_.tones.empty());
  EXPECT_EQ(host_.tones[0], (std::pair<int, int>{1200, 60}));
  Feed({Space(true), Space(false)});  // the release after a hold does nothing
  EXPECT_EQ(g_.autoRun, 1);
  Feed({Space(true), Space(false)});  // a tap stops auto-run; the running draw finishes
  EXPECT_EQ(g_.autoRun, 0);
}

TEST_F(Input, DrawButtonClickDrawsAndClosesOverlaysOnRelease) {
  PickOn(1, {1, 2, 3});
  game_.input.aboutOverlayOpen = 1;
  Feed({Mouse(SlotX(0), kButtonY, true)});
  EXPECT_EQ(game_.input.drawButtonHeld, 1);
  EXPECT_EQ(game_.input.aboutOverlayOpen, 1) << "the press alone changes nothing";
  EXPECT_EQ(g_.drawInProgress, 0);
  Feed({Mouse(600, 600, false)});  // released elsewhere: still a click on the button
  EXPECT_EQ(g_.drawInProgress, 1);
  EXPECT_EQ(game_.input.aboutOverlayOpen, 0);
  EXPECT_EQ(game_.input.drawButtonHeld, 0);
}

TEST_F(Input, DrawButtonHeldASecondStartsAutoRunAndTheNextClickStopsIt) {
  PickOn(1, {1, 2, 3});
  const int64_t start = sys_.now;
  while (!g_.autoRun && sys_.now - start < 2000) Feed({Mouse(SlotX(0), kButtonY, true)});
  EXPECT_EQ(g_.autoRun, 1);
  EXPECT_GE(sys_.now - start, 1000);
  EXPECT_EQ(game_.input.drawButtonHeld, 0);
  Feed({Mouse(SlotX(0), kButtonY, true), Mouse(SlotX(0), kButtonY, false)});
  EXPECT_EQ(g_.autoRun, 1) << "releasing after the hold starts nothing more";
  LeftClick(SlotX(0), kButtonY);
  EXPECT_EQ(g_.autoRun, 0);
  EXPECT_EQ(g_.drawInProgress, 1) << "the running draw finishes";
}

TEST_F(Input, EscActsOnReleaseSavingFirst) {
  InputState esc;
  esc.escDown = true;
  sys_.inputs.push_back(esc);
  EXPECT_TRUE(Frame());
  EXPECT_FALSE(std::filesystem::exists(SavePath()));
  sys_.inputs.push_back(InputState{});
  EXPECT_FALSE(Frame());
  EXPECT_EQ(game_.quitRequested, 1);
  EXPECT_TRUE(std::filesystem::exists(SavePath()));
}

// --- Picks ----------------------------------------------------------------------------------

TEST_F(Input, AThirteenthPickIsIgnoredAndAPickAfterADrawShowsAsAHit) {
  rules::SelectTab(g_, 1);
  for (int n = 1; n <= 12; ++n) LeftClick(CellX(n), CellY(n));
  EXPECT_EQ(g_.cards[1].pickCount, 12);
  LeftClick(CellX(13), CellY(13));
  EXPECT_EQ(g_.cards[1].pickCount, 12);
  EXPECT_EQ(g_.cards[1].picked[13], 0);
  LeftClick(CellX(12), CellY(12));
  EXPECT_EQ(g_.cards[1].pickCount, 11);

  sys_.QueueDraw({40, 41});
  Feed({Space(true), Space(false)});
  while (g_.drawInProgress) Frame();
  rules::SelectTab(g_, 1);
  LeftClick(CellX(40), CellY(40));
  EXPECT_EQ(g_.cards[1].hit[40], 1);
  const int64_t hits = g_.cards[1].hitCount;
  LeftClick(CellX(40), CellY(40));
  EXPECT_EQ(g_.cards[1].hitCount, hits - 1);
}

// --- A running draw pays only for what it was bought with -----------------------------------

TEST_F(Input, MidDrawEditsOfACardInPlayChangeNothing) {
  PickOn(1, {1, 2, 3, 4, 5, 6, 7, 8});
  PickOn(2, {70});
  sys_.QueueDraw({40, 41, 42});
  Feed({Space(true), Space(false)});
  ASSERT_EQ(g_.drawInProgress, 1);
  while (g_.ballsRevealed < 3) Frame();

  rules::SelectTab(g_, 1);
  LeftClick(CellX(40), CellY(40));  // a number already drawn
  LeftClick(CellX(1), CellY(1));    // a pick that missed
  EXPECT_EQ(g_.cards[1].pickCount, 8);
  EXPECT_EQ(g_.cards[1].picked[40], 0);
  EXPECT_EQ(g_.statusTitle, "PICKS LOCKED");
  EXPECT_EQ(g_.statusMessage, "Change Card 1 after the draw");

  sys_.replies.push_back("1");
  RightClick(TabX(2), kTabY);  // copy card 2 onto card 1
  EXPECT_EQ(g_.cards[1].pickCount, 8);
  shell::HandleLeftClick(game_, host_, SlotX(6), kButtonY);  // hot auto-pick onto card 1
  EXPECT_EQ(g_.cards[1].picked[1], 1);
  EXPECT_EQ(g_.cards[1].pickCount, 8);

  rules::SelectTab(g_, 3);  // card 3 sits this draw out and stays editable
  LeftClick(CellX(9), CellY(9));
  EXPECT_EQ(g_.cards[3].pickCount, 1);

  while (g_.drawInProgress) Frame();
  rules::SelectTab(g_, 1);
  LeftClick(CellX(1), CellY(1));  // unlocked once the draw is over
  EXPECT_EQ(g_.cards[1].pickCount, 7);
}

TEST_F(Input, MidDrawBetAndModeChangesApplyFromTheNextDraw) {
  PickOn(1, {40});  // one spot, drawn first: 3 x the staked bet in either table
  sys_.QueueDraw({40});
  Feed({Space(true), Space(false)});
  ASSERT_EQ(g_.drawInProgress, 1);
  LeftClick(640 + 100, kButtonY);  // bet 2
  RightClick(SlotX(2), kButtonY);  // CASINO
  EXPECT_EQ(g_.betPerCard, 2);
  EXPECT_EQ(g_.payMode, rules::CASINO);
  while (g_.drawInProgress) Frame();
  EXPECT_EQ(g_.cardWin[1], 3);
  EXPECT_EQ(g_.genBet, 1);
  EXPECT_EQ(g_.genWon, 3);
  EXPECT_EQ(g_.casBet, 0);
  EXPECT_EQ(g_.casWon, 0);
  EXPECT_EQ(g_.cardNet[1], 2);
  EXPECT_EQ(g_.balance, 1000 - 1 + 3);

  sys_.QueueDraw({40});
  Feed({Space(true), Space(false)});
  while (g_.drawInProgress) Frame();
  EXPECT_EQ(g_.casBet, 2);
  EXPECT_EQ(g_.casWon, 6);
  EXPECT_EQ(g_.balance + g_.genBet + g_.casBet - g_.genWon - g_.casWon, 1000);
}

// --- The cells walked: corners and centre of every content box pick that box's number ---------

struct WalkSize {
  int64_t width, height;
};

void PrintTo(const WalkSize& s, std::ostream* os) { *os << s.width << " x " << s.height; }

class CellWalk : public ShellTest, public ::testing::WithParamInterface<WalkSize> {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    sys_.clientWidth = GetParam().width;
    sys_.clientHeight = GetParam().height;
    Start();
  }
};

TEST_P(CellWalk, CornersAndCentreOfEveryCellPickItsNumber) {
  ASSERT_EQ(game_.layout.clientWidth, GetParam().width);
  ASSERT_EQ(game_.layout.clientHeight, GetParam().height);
  rules::SelectTab(g_, 1);
  const render::Rect& grid = game_.layout.grid;
  const render::CellPitch pitch = render::GridPitch(grid);
  const auto cw = static_cast<int64_t>(pitch.w), ch = static_cast<int64_t>(pitch.h);
  std::vector<std::string> misses;
  for (int n = 1; n <= 80; ++n) {
    const render::Rect box = render::CellBox(grid, n);
    const int64_t points[5][2] = {{box.x, box.y},
                                  {box.x + cw - 1, box.y},
                                  {box.x, box.y + ch - 1},
                                  {box.x + cw - 1, box.y + ch - 1},
                                  {box.x + cw / 2, box.y + ch / 2}};
    for (const auto& p : points) {
      shell::HandleLeftClick(game_, host_, p[0], p[1]);
      const rules::Card& card = g_.cards[1];
      if (card.pickCount != 1 || !card.picked[n]) {
        int got = 0;
        for (int m = 1; m <= 80; ++m) got = card.picked[m] ? m : got;
        misses.push_back("(" + std::to_string(p[0]) + ", " + std::to_string(p[1]) + ") of " +
                         std::to_string(n) + " picked " + std::to_string(got));
      }
      shell::HandleLeftClick(game_, host_, p[0], p[1]);  // the same point takes it back
      ASSERT_EQ(card.pickCount, 0);
    }
  }
  std::string first;
  for (std::size_t i = 0; i < misses.size() && i < 12; ++i) first += "\n  " + misses[i];
  EXPECT_TRUE(misses.empty()) << misses.size() << " of 400 clicks missed their cell:" << first;
}

INSTANTIATE_TEST_SUITE_P(Sizes, CellWalk,
                         ::testing::Values(WalkSize{1000, 752}, WalkSize{1280, 780},
                                           WalkSize{2560, 1440}, WalkSize{1013, 761}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace shell_test
