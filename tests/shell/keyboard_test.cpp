// The keyboard on the null platform at 1280 x 780: every key of the table against the click it
// stands for, the focus ring's moves and the Enter pick with the click's locks, what acts on the
// press (arrows, repeating) and what on the release, keys around a dialog, full screen, and the
// recall overlay's keys and clicks.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "render/balls_panel.h"
#include "rules/picks.h"
#include "rules/recall.h"
#include "shell/frame.h"
#include "shell/input.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

using platform::InputState;
using platform::Key;
using platform::KeyEvent;

// The centre of number n's cell on the 876 x 596 grid at (294, 172).
int64_t CellX(int n) { return 294 + ((n - 1) % 10) * 876 / 10 + 40; }
int64_t CellY(int n) { return 172 + ((n - 1) / 10) * 596 / 8 + 35; }

class Keyboard : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Start();
    Frame();  // the keys of the welcome box's time are its own
  }
  void RunScript() {
    while (!sys_.inputs.empty()) Frame();
  }
  // Pressed in one frame, released in the next.
  void Tap(Key key, bool shift = false, bool alt = false) {
    sys_.TapKey(key, 1, shift, alt);
    RunScript();
  }
  static InputState With(std::initializer_list<KeyEvent> events) {
    InputState s;
    for (const KeyEvent& e : events) s.AddKey(e);
    return s;
  }
  static KeyEvent Down(Key key, bool repeat = false) { return KeyEvent{key, true, repeat}; }
  static KeyEvent Up(Key key) { return KeyEvent{key, false}; }
  void Feed(const InputState& s) {
    sys_.inputs.push_back(s);
    Frame();
  }
  void Click(int64_t x, int64_t y) {
    sys_.Click(x, y);
    RunScript();
  }
  // One whole draw at Fastest, started with SPACE.
  void PlayDraw() {
    g_.speed = 5;
    InputState space;
    space.spaceDown = true;
    sys_.inputs.push_back(space);
    sys_.inputs.push_back(InputState{});
    RunScript();
    ASSERT_EQ(g_.drawInProgress, 1);
    for (int i = 0; i < 2000 && g_.drawInProgress; ++i) Frame();
    ASSERT_EQ(g_.drawInProgress, 0);
  }
  int64_t ShownFocus() const { return shell::ViewOf(game_).focusCell; }
};

// --- Each key does what its button or click does ---------------------------------------------

struct KeyCase {
  const char* name;
  std::function<void(shell::Game&)> before;
  Key key;
  bool shift;
  std::function<void(const shell::Game&, const platform::NullSystem&)> check;
};

class KeyTable : public Keyboard, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTable, ActsAsItsClick) {
  const KeyCase& c = GetParam();
  sys_.replies.push_back("3");  // for the copy prompt
  if (c.before) c.before(game_);
  Tap(c.key, c.shift);
  c.check(game_, sys_);
}

const KeyCase kKeys[] = {
    {"ThreeSelectsCard3", nullptr, Key::kDigit3, false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.activeTab, 3); }},
    {"ZeroSelectsMain", nullptr, Key::kDigit0, false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.activeTab, 0); }},
    {"TabStepsPastCard4ToMain", [](shell::Game& gm) { rules::SelectTab(gm.state, 4); }, Key::kTab,
     false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.activeTab, 0); }},
    {"ShiftTabStepsBackFromMainToCard4", [](shell::Game& gm) { rules::SelectTab(gm.state, 0); },
     Key::kTab, true,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.activeTab, 4); }},
    {"PlusRaisesTheBetAndItsControl", nullptr, Key::kPlus, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.betPerCard, 2);
       EXPECT_EQ(gm.state.betSetting, 2);
     }},
    {"PlusStopsAtTen", [](shell::Game& gm) { gm.state.betSetting = gm.state.betPerCard = 10; },
     Key::kPlus, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.betPerCard, 10);
     }},
    {"MinusStopsAtOne", nullptr, Key::kMinus, false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.betPerCard, 1); }},
    {"RightBracketSpeedsUp", nullptr, Key::kRightBracket, false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.speed, 4); }},
    {"LeftBracketStopsAtOne", [](shell::Game& gm) { gm.state.speed = 1; }, Key::kLeftBracket, false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.speed, 1); }},
    {"MTogglesSound", nullptr, Key::kM, false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.soundOn, 0); }},
    {"POpensThePayoutTableClosesAboutStopsAutoRun",
     [](shell::Game& gm) {
       gm.input.aboutOverlayOpen = 1;
       gm.state.autoRun = 1;
     },
     Key::kP, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.payoutOverlayOpen, 1);
       EXPECT_EQ(gm.input.aboutOverlayOpen, 0);
       EXPECT_EQ(gm.state.autoRun, 0);
       EXPECT_EQ(gm.state.payMode, rules::GENEROUS);
     }},
    {"PWhileTheTableIsOpenSwapsTheMode", [](shell::Game& gm) { gm.input.payoutOverlayOpen = 1; },
     Key::kP, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.payoutOverlayOpen, 1);
       EXPECT_EQ(gm.state.payMode, rules::CASINO);
       EXPECT_EQ(gm.state.savePending, 1);
     }},
    {"AFillsTheActiveCardWithHotNumbers",
     [](shell::Game& gm) {
       gm.state.autoRun = 1;
       rules::SelectTab(gm.state, 2);
     },
     Key::kA, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.cards[2].pickCount, 8);
       EXPECT_EQ(gm.state.autoRun, 0);
     }},
    {"AOnTheMainTabGetsTheClicksBox", [](shell::Game& gm) { rules::SelectTab(gm.state, 0); },
     Key::kA, false,
     [](const shell::Game&, const platform::NullSystem& sys) {
       ASSERT_EQ(sys.dialogs.size(), 2u);
       EXPECT_EQ(sys.dialogs[1].title, "Auto-Pick");
       EXPECT_EQ(sys.dialogs[1].text, "Please select a Card 1-4 tab first.");
     }},
    {"RPicksAtRandomAndClosesOverlays",
     [](shell::Game& gm) {
       gm.input.payoutOverlayOpen = 1;
       rules::SelectTab(gm.state, 3);
     },
     Key::kR, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.state.cards[3].pickCount, 8);
       EXPECT_EQ(gm.input.payoutOverlayOpen, 0);
     }},
    {"CCopiesTheActiveCard",
     [](shell::Game& gm) {
       rules::SetPick(gm.state, 2, 17, true);
       rules::SelectTab(gm.state, 2);
     },
     Key::kC, false,
     [](const shell::Game& gm, const platform::NullSystem& sys) {
       ASSERT_EQ(sys.prompts.size(), 1u);
       EXPECT_EQ(sys.prompts[0].title, "Copy Card 2");
       EXPECT_EQ(gm.state.cards[3].picked[17], 1);
       EXPECT_EQ(gm.state.activeTab, 3);
     }},
    {"COnTheMainTabAsksNothing", [](shell::Game& gm) { rules::SelectTab(gm.state, 0); }, Key::kC,
     false,
     [](const shell::Game&, const platform::NullSystem& sys) { EXPECT_TRUE(sys.prompts.empty()); }},
    {"NAsksTheNewGameQuestion", [](shell::Game& gm) { rules::SetPick(gm.state, 1, 5, true); },
     Key::kN, false,
     [](const shell::Game& gm, const platform::NullSystem& sys) {
       ASSERT_EQ(sys.dialogs.size(), 2u);
       EXPECT_EQ(sys.dialogs[1].title, "New Game");
       EXPECT_EQ(gm.state.cards[1].pickCount, 1) << "closed unanswered: CANCEL";
     }},
    {"HTogglesTheMainHeatMap", [](shell::Game& gm) { rules::SelectTab(gm.state, 0); }, Key::kH,
     false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.heatMapOn, 1); }},
    {"HOnACardTabDoesNothing", nullptr, Key::kH, false,
     [](const shell::Game& gm, const platform::NullSystem&) { EXPECT_EQ(gm.state.heatMapOn, 0); }},
    {"F1OpensAboutAndClosesPayout", [](shell::Game& gm) { gm.input.payoutOverlayOpen = 1; },
     Key::kF1, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.aboutOverlayOpen, 1);
       EXPECT_EQ(gm.input.payoutOverlayOpen, 0);
     }},
    {"F1ClosesAboutAgain", [](shell::Game& gm) { gm.input.aboutOverlayOpen = 1; }, Key::kF1, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.aboutOverlayOpen, 0);
     }},
    {"GOpensTheRecallOnItsNewestPage",
     [](shell::Game& gm) {
       gm.input.payoutOverlayOpen = 1;
       gm.input.recallPage = 3;
       gm.state.autoRun = 1;
     },
     Key::kG, false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.recallOverlayOpen, 1);
       EXPECT_EQ(gm.input.recallPage, 0);
       EXPECT_EQ(gm.input.payoutOverlayOpen, 0);
       EXPECT_EQ(gm.state.autoRun, 0);
     }},
    {"GClosesTheRecallAgain", [](shell::Game& gm) { gm.input.recallOverlayOpen = 1; }, Key::kG,
     false,
     [](const shell::Game& gm, const platform::NullSystem&) {
       EXPECT_EQ(gm.input.recallOverlayOpen, 0);
     }},
};

INSTANTIATE_TEST_SUITE_P(Keys, KeyTable, ::testing::ValuesIn(kKeys),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Press, repeat, release -------------------------------------------------------------------

TEST_F(Keyboard, ArrowsActOnThePressAndRepeatOthersOnlyOnTheRelease) {
  Feed(With({Down(Key::kRight)}));
  EXPECT_EQ(ShownFocus(), 1) << "the first arrow shows the ring where it is";
  Feed(With({Down(Key::kRight, true), Down(Key::kRight, true)}));
  EXPECT_EQ(ShownFocus(), 3);
  Feed(With({Up(Key::kRight)}));
  EXPECT_EQ(ShownFocus(), 3);

  Feed(With({Down(Key::kPlus)}));
  Feed(With({Down(Key::kPlus, true), Down(Key::kPlus, true)}));
  EXPECT_EQ(g_.betPerCard, 1) << "nothing before the release";
  Feed(With({Up(Key::kPlus)}));
  EXPECT_EQ(g_.betPerCard, 2) << "once on the release, however long the repeats";
}

TEST_F(Keyboard, TheRingWrapsAtEveryEdge) {
  const struct {
    Key key;
    int64_t from, to;
  } moves[] = {{Key::kLeft, 1, 10}, {Key::kRight, 10, 1}, {Key::kUp, 1, 71},    {Key::kDown, 75, 5},
               {Key::kDown, 5, 15}, {Key::kUp, 80, 70},   {Key::kRight, 80, 71}};
  Tap(Key::kDown);  // shows it
  for (const auto& m : moves) {
    game_.input.focusCell = m.from;
    Tap(m.key);
    EXPECT_EQ(ShownFocus(), m.to) << m.from;
  }
}

TEST_F(Keyboard, EnterPicksTheFocusedCellAsAClickAndTheMouseHidesTheRing) {
  rules::SelectTab(g_, 2);
  Tap(Key::kEnter);
  EXPECT_EQ(g_.cards[2].pickCount, 0) << "a hidden ring is shown first, not used";
  EXPECT_EQ(ShownFocus(), 1);
  Tap(Key::kRight);
  Tap(Key::kDown);
  Tap(Key::kEnter);
  EXPECT_EQ(g_.cards[2].picked[12], 1);
  Tap(Key::kEnter);
  EXPECT_EQ(g_.cards[2].picked[12], 0) << "Enter again unpicks";

  for (int n = 1; n <= 12; ++n) rules::SetPick(g_, 2, 40 + n, true);
  Tap(Key::kEnter);
  EXPECT_EQ(g_.cards[2].pickCount, 12) << "a thirteenth pick is ignored, as for a click";

  Click(CellX(60), CellY(60));  // a click anywhere hides the ring, and picks as ever
  EXPECT_EQ(ShownFocus(), 0);
  EXPECT_EQ(g_.cards[2].picked[60], 0);
  Tap(Key::kUp);
  EXPECT_EQ(ShownFocus(), 12) << "shown again where it was";

  rules::SelectTab(g_, 0);
  Tap(Key::kEnter);
  for (int c = 1; c <= rules::kCards; ++c) {
    EXPECT_EQ(g_.cards[c].picked[12], 0) << "the Main view takes no picks";
  }
}

TEST_F(Keyboard, DuringADrawEnterIsRefusedAsAClickIsAndSettingsStillChange) {
  for (int n = 1; n <= 8; ++n) rules::SetPick(g_, 1, n, true);
  sys_.QueueDraw({40, 41, 42});
  PlayDraw();  // leaves 40 drawn; the next draw runs while we press
  InputState space;
  space.spaceDown = true;
  sys_.inputs.push_back(space);
  sys_.inputs.push_back(InputState{});
  RunScript();
  ASSERT_EQ(g_.drawInProgress, 1);

  rules::SelectTab(g_, 1);
  game_.input.focusShown = 1;
  game_.input.focusCell = 9;
  Tap(Key::kEnter);
  EXPECT_EQ(g_.cards[1].picked[9], 0);
  EXPECT_EQ(g_.statusTitle, "PICKS LOCKED");
  EXPECT_EQ(g_.statusMessage, "Change Card 1 after the draw");
  Tap(Key::kRightBracket);
  Tap(Key::kPlus);
  EXPECT_EQ(g_.speed, rules::kMaxSpeed);
  EXPECT_EQ(g_.betPerCard, 2) << "from the next draw on, as a click on Bet/Card";
  ASSERT_EQ(g_.drawInProgress, 1);
}

// --- Keys and dialogs -------------------------------------------------------------------------

TEST_F(Keyboard, AKeyPressedBeforeADialogDoesNothingWhenReleasedAfterIt) {
  Feed(With({Down(Key::kPlus)}));
  InputState space;
  space.spaceDown = true;
  Feed(space);
  Feed(InputState{});  // no picks: the box says so
  ASSERT_EQ(sys_.dialogs.back().title, "No Numbers Chosen");
  Feed(With({Up(Key::kPlus)}));
  EXPECT_EQ(g_.betPerCard, 1);
  Tap(Key::kPlus);
  EXPECT_EQ(g_.betPerCard, 2) << "the next press is the game's again";
}

TEST_F(Keyboard, KeysOfTheFrameAfterTheOneThatOpenedADialogAreDropped) {
  rules::SelectTab(g_, 0);
  // N opens the box; whatever came after it in the same frame was the box's to see.
  Feed(With({Down(Key::kN), Up(Key::kN), Down(Key::kTab), Up(Key::kTab)}));
  ASSERT_EQ(sys_.dialogs.back().title, "New Game");
  EXPECT_EQ(g_.activeTab, 0);
  // A repeat of an arrow held through the box does not move the ring either.
  Feed(With({Down(Key::kDown, true)}));
  EXPECT_EQ(ShownFocus(), 0);
}

// --- Full screen ------------------------------------------------------------------------------

TEST_F(Keyboard, F11AndAltEnterToggleFullScreenAndTheBoardFollows) {
  Tap(Key::kF11);
  Frame();
  EXPECT_TRUE(sys_.fullScreen);
  EXPECT_EQ(game_.layout.clientWidth, 1920);
  EXPECT_EQ(game_.layout.clientHeight, 1080);
  rules::SelectTab(g_, 2);
  game_.input.focusShown = 1;
  Tap(Key::kEnter, false, true);
  Frame();
  EXPECT_FALSE(sys_.fullScreen);
  EXPECT_EQ(game_.layout.clientWidth, 1280);
  EXPECT_EQ(game_.layout.clientHeight, 780);
  EXPECT_EQ(g_.cards[2].pickCount, 0) << "Alt+Enter picks nothing";
}

// --- The recall -------------------------------------------------------------------------------

class Recall : public Keyboard {
 protected:
  void SetUp() override {
    Keyboard::SetUp();
    rules::SetPick(g_, 1, 1, true);
    for (int i = 0; i < 3; ++i) PlayDraw();
    ASSERT_EQ(g_.recall.count, 3);
  }
};

TEST_F(Recall, ArrowsAndHalvesStepThroughTheDrawsAndHoldAtTheEnds) {
  Tap(Key::kG);
  EXPECT_EQ(game_.input.recallPage, 0);
  Tap(Key::kLeft);
  EXPECT_EQ(game_.input.recallPage, 0) << "the newest is the first";
  Tap(Key::kRight);
  Tap(Key::kRight);
  Tap(Key::kRight);
  EXPECT_EQ(game_.input.recallPage, 2) << "the oldest is the last";
  EXPECT_EQ(ShownFocus(), 0) << "the arrows page the recall, not the grid";
  Click(294 + 100, 300);  // the left half
  EXPECT_EQ(game_.input.recallPage, 1);
  Click(294 + 876 - 10, 300);  // the right half
  EXPECT_EQ(game_.input.recallPage, 2);
  EXPECT_EQ(game_.input.recallOverlayOpen, 1);
  Click(100, 400);  // the stats panel: outside
  EXPECT_EQ(game_.input.recallOverlayOpen, 0);
}

TEST_F(Recall, TheCageOpensItAndADrawOrSpaceClosesIt) {
  const render::Rect& balls = game_.layout.ballsPanel;
  Click(balls.x + balls.w / 2, balls.y + render::kCageHeight / 2);
  EXPECT_EQ(game_.input.recallOverlayOpen, 1);
  Click(balls.x + balls.w / 2, balls.y + render::kCageHeight + 40);  // below the cage: closes
  EXPECT_EQ(game_.input.recallOverlayOpen, 0);
  Click(balls.x + balls.w / 2, balls.y + render::kCageHeight + 40);  // and does not open it
  EXPECT_EQ(game_.input.recallOverlayOpen, 0);
  Tap(Key::kG);
  PlayDraw();
  EXPECT_EQ(game_.input.recallOverlayOpen, 0);
  EXPECT_EQ(g_.recall.count, 4);
}

TEST_F(Recall, EscStillSavesAndQuitsWithTheRecallOpen) {
  Tap(Key::kG);
  InputState esc;
  esc.escDown = true;
  sys_.inputs.push_back(esc);
  sys_.inputs.push_back(InputState{});
  while (!sys_.inputs.empty() && Frame()) {
  }
  EXPECT_EQ(game_.quitRequested, 1);
  EXPECT_TRUE(std::filesystem::exists(SavePath()));
}

TEST_F(Keyboard, AnEmptyRecallClosesOnAnyClick) {
  Tap(Key::kG);
  ASSERT_EQ(game_.input.recallOverlayOpen, 1);
  Click(CellX(45), CellY(45));
  EXPECT_EQ(game_.input.recallOverlayOpen, 0);
  EXPECT_EQ(g_.cards[1].pickCount, 0) << "the click only closed it";
}

}  // namespace
}  // namespace shell_test
