// Input: press and release edges of the two mouse buttons, the Draw-button and SPACE holds, the
// click rules of each board region, the keyboard's table of keys, and ESC.
#include "shell/input.h"

#include <algorithm>
#include <string>

#include "render/balls_panel.h"
#include "render/card_grid.h"
#include "render/tab_strip.h"
#include "rules/autopick.h"
#include "rules/draw.h"
#include "rules/paytable.h"
#include "rules/picks.h"

namespace shell {
namespace {

void StartAutoRun(Game& game, rules::Host& host) {
  rules::GameState& g = game.state;
  if (g.autoRun) return;
  g.autoRun = 1;
  host.PlayAutoRunCue();
  if (!g.drawInProgress) rules::StartDraw(g, host);
}

bool LeftHalf(const render::Rect& r, int64_t mx) { return mx < r.x + r.w / 2; }

// --- What a click and a key both do: one owner for each ----------------------------------------

void StepSpeed(rules::GameState& g, int64_t step) {
  if (step < 0 && g.speed > rules::kMinSpeed) g.speed -= 1;
  if (step > 0 && g.speed < rules::kMaxSpeed) g.speed += 1;
}

void StepBet(rules::GameState& g, int64_t step) {
  if (step < 0 && g.betSetting > rules::kMinBet) g.betSetting -= 1;
  if (step > 0 && g.betSetting < rules::kMaxBet) g.betSetting += 1;
  g.betPerCard = g.betSetting;
}

void ToggleSound(rules::GameState& g) { g.soundOn = 1 - g.soundOn; }

void OpenPayout(Game& game) {
  game.input.aboutOverlayOpen = 0;
  game.input.recallOverlayOpen = 0;
  rules::StopAutoRun(game.state);
  game.input.payoutOverlayOpen = 1;
}

void OpenAbout(Game& game) {
  game.input.payoutOverlayOpen = 0;
  game.input.recallOverlayOpen = 0;
  rules::StopAutoRun(game.state);
  game.input.aboutOverlayOpen = 1;
}

// Like the payout table: over the grid, auto-run stopped so the draws it shows stay put.
void OpenRecall(Game& game) {
  game.input.payoutOverlayOpen = 0;
  game.input.aboutOverlayOpen = 0;
  rules::StopAutoRun(game.state);
  game.input.recallOverlayOpen = 1;
  game.input.recallPage = 0;
}

// -1 toward the newest draw, +1 toward the oldest; the ends hold.
void StepRecall(Game& game, int64_t step) {
  const int64_t last = game.state.recall.count - 1;
  game.input.recallPage =
      std::clamp<int64_t>(game.input.recallPage + step, 0, std::max<int64_t>(last, 0));
}

void PickHot(Game& game, rules::Host& host) {
  rules::StopAutoRun(game.state);
  rules::AutoPickHot(game.state, host);
}

void PickRandom(Game& game, rules::Host& host) {
  CloseOverlays(game.input);
  rules::StopAutoRun(game.state);
  rules::AutoPickRandom(game.state, host);
}

// Number n of the active card picked or unpicked; the Main view's cells take no picks.
void PickCell(Game& game, rules::Host& host, int n) {
  rules::GameState& g = game.state;
  if (n != 0 && g.activeTab >= 1 && g.activeTab <= rules::kCards) {
    rules::TogglePick(g, static_cast<int>(g.activeTab), n, host.NowMs());
  }
}

// Only the Main view shows the heat map.
void ToggleHeatMap(rules::GameState& g) {
  if (g.activeTab == 0) g.heatMapOn = 1 - g.heatMapOn;
}

void CopyActiveCard(Game& game, rules::Host& host) {
  const int64_t tab = game.state.activeTab;
  if (tab >= 1 && tab <= rules::kCards) CopyCard(game, host, static_cast<int>(tab));
}

// The top of the balls panel, where the cage hangs.
render::Rect CageRect(const render::Layout& l) {
  return render::Rect{l.ballsPanel.x, l.ballsPanel.y, l.ballsPanel.w,
                      std::min(l.ballsPanel.h, render::kCageHeight)};
}

bool AnyOverlayOpen(const InputMemory& in) {
  return in.payoutOverlayOpen || in.aboutOverlayOpen || in.recallOverlayOpen;
}

// --- The keyboard ------------------------------------------------------------------------------

// The ring shows before it moves: the first grid key only shows where it is. Edges wrap.
void MoveFocus(Game& game, int64_t dx, int64_t dy) {
  InputMemory& in = game.input;
  if (AnyOverlayOpen(in)) return;
  if (!in.focusShown) {
    in.focusShown = 1;
    return;
  }
  const int64_t index = std::clamp<int64_t>(in.focusCell, 1, rules::kNumbers) - 1;
  const int64_t col = (index % 10 + dx + 10) % 10;
  const int64_t row = (index / 10 + dy + 8) % 8;
  in.focusCell = row * 10 + col + 1;
}

void ArrowLeftRight(Game& game, int64_t step) {
  if (game.input.recallOverlayOpen) {
    StepRecall(game, step);
  } else {
    MoveFocus(game, step, 0);
  }
}

void EnterKey(Game& game, rules::Host& host, const platform::KeyEvent& e) {
  InputMemory& in = game.input;
  if (e.alt) {
    game.system.ToggleFullScreen();
  } else if (!AnyOverlayOpen(in)) {
    if (in.focusShown) {
      PickCell(game, host, static_cast<int>(in.focusCell));
    } else {
      in.focusShown = 1;
    }
  }
}

void TabKey(Game& game, bool back) {
  const int64_t tabs = rules::kCards + 1;
  rules::SelectTab(game.state, (game.state.activeTab + (back ? tabs - 1 : 1)) % tabs);
}

struct KeyAction {
  platform::Key key;
  bool onPress;  // arrows act on the press and its repeats; every other key on its release
  void (*act)(Game& game, rules::Host& host, const platform::KeyEvent& e);
};

using platform::Key;
using platform::KeyEvent;

const KeyAction kKeyActions[] = {
    {Key::kUp, true, [](Game& gm, rules::Host&, const KeyEvent&) { MoveFocus(gm, 0, -1); }},
    {Key::kDown, true, [](Game& gm, rules::Host&, const KeyEvent&) { MoveFocus(gm, 0, 1); }},
    {Key::kLeft, true, [](Game& gm, rules::Host&, const KeyEvent&) { ArrowLeftRight(gm, -1); }},
    {Key::kRight, true, [](Game& gm, rules::Host&, const KeyEvent&) { ArrowLeftRight(gm, 1); }},
    {Key::kEnter, false, EnterKey},
    {Key::kTab, false, [](Game& gm, rules::Host&, const KeyEvent& e) { TabKey(gm, e.shift); }},
    {Key::kDigit0, false,
     [](Game& gm, rules::Host&, const KeyEvent&) { rules::SelectTab(gm.state, 0); }},
    {Key::kDigit1, false,
     [](Game& gm, rules::Host&, const KeyEvent&) { rules::SelectTab(gm.state, 1); }},
    {Key::kDigit2, false,
     [](Game& gm, rules::Host&, const KeyEvent&) { rules::SelectTab(gm.state, 2); }},
    {Key::kDigit3, false,
     [](Game& gm, rules::Host&, const KeyEvent&) { rules::SelectTab(gm.state, 3); }},
    {Key::kDigit4, false,
     [](Game& gm, rules::Host&, const KeyEvent&) { rules::SelectTab(gm.state, 4); }},
    {Key::kPlus, false, [](Game& gm, rules::Host&, const KeyEvent&) { StepBet(gm.state, 1); }},
    {Key::kMinus, false, [](Game& gm, rules::Host&, const KeyEvent&) { StepBet(gm.state, -1); }},
    {Key::kLeftBracket, false,
     [](Game& gm, rules::Host&, const KeyEvent&) { StepSpeed(gm.state, -1); }},
    {Key::kRightBracket, false,
     [](Game& gm, rules::Host&, const KeyEvent&) { StepSpeed(gm.state, 1); }},
    {Key::kM, false, [](Game& gm, rules::Host&, const KeyEvent&) { ToggleSound(gm.state); }},
    {Key::kP, false,
     [](Game& gm, rules::Host& host, const KeyEvent&) {
       if (gm.input.payoutOverlayOpen) {
         rules::ToggleMode(gm.state, host.NowMs());
       } else {
         OpenPayout(gm);
       }
     }},
    {Key::kA, false, [](Game& gm, rules::Host& host, const KeyEvent&) { PickHot(gm, host); }},
    {Key::kR, false, [](Game& gm, rules::Host& host, const KeyEvent&) { PickRandom(gm, host); }},
    {Key::kC, false,
     [](Game& gm, rules::Host& host, const KeyEvent&) { CopyActiveCard(gm, host); }},
    {Key::kN, false, [](Game& gm, rules::Host& host, const KeyEvent&) { NewGame(gm, host); }},
    {Key::kH, false, [](Game& gm, rules::Host&, const KeyEvent&) { ToggleHeatMap(gm.state); }},
    {Key::kF1, false,
     [](Game& gm, rules::Host&, const KeyEvent&) {
       if (gm.input.aboutOverlayOpen) {
         CloseOverlays(gm.input);
       } else {
         OpenAbout(gm);
       }
     }},
    {Key::kG, false,
     [](Game& gm, rules::Host&, const KeyEvent&) {
       if (gm.input.recallOverlayOpen) {
         CloseOverlays(gm.input);
       } else {
         OpenRecall(gm);
       }
     }},
    {Key::kF11, false,
     [](Game& gm, rules::Host&, const KeyEvent&) { gm.system.ToggleFullScreen(); }},
};

const KeyAction* ActionOf(Key key) {
  for (const KeyAction& a : kKeyActions) {
    if (a.key == key) return &a;
  }
  return nullptr;
}

uint64_t BitOf(Key key) { return uint64_t{1} << static_cast<unsigned>(key); }

// After a dialog nothing of the keys before it counts: the keys it saw were its own.
bool DialogCameBetween(Game& game) {
  InputMemory& in = game.input;
  if (game.dialogsShown == in.dialogsSeen) return false;
  in.dialogsSeen = game.dialogsShown;
  in.keysDown = in.keysShift = in.keysAlt = 0;
  return true;
}

void HandleKeys(Game& game, rules::Host& host, const platform::InputState& now) {
  InputMemory& in = game.input;
  if (DialogCameBetween(game)) return;
  for (int64_t i = 0; i < now.keyCount && !game.quitRequested; ++i) {
    KeyEvent e = now.keys[static_cast<std::size_t>(i)];
    const KeyAction* action = ActionOf(e.key);
    if (action == nullptr) continue;
    const uint64_t bit = BitOf(e.key);
    bool act = false;
    if (e.down) {
      if (!e.repeat) {
        in.keysDown |= bit;
        in.keysShift = e.shift ? in.keysShift | bit : in.keysShift & ~bit;
        in.keysAlt = e.alt ? in.keysAlt | bit : in.keysAlt & ~bit;
      }
      act = action->onPress && (in.keysDown & bit) != 0;
    } else {
      act = !action->onPress && (in.keysDown & bit) != 0;
      // The modifiers of the press decide: letting go of Shift first still steps back.
      e.shift = (in.keysShift & bit) != 0;
      e.alt = (in.keysAlt & bit) != 0;
      in.keysDown &= ~bit;
    }
    if (act) action->act(game, host, e);
    if (DialogCameBetween(game)) return;
  }
}

}  // namespace

void CloseOverlays(InputMemory& input) {
  input.payoutOverlayOpen = 0;
  input.aboutOverlayOpen = 0;
  input.recallOverlayOpen = 0;
}

int64_t TabFromX(const render::Layout& layout, int64_t mx) {
  const int64_t tw = render::TabWidth(layout.tabStrip.w);
  if (tw <= 0) return 0;
  const int64_t index = (mx - layout.tabStrip.x) / tw;
  return index < 0 ? 0 : index > 4 ? 4 : index;
}

SpaceAction UpdateSpaceKey(InputMemory& in, bool held, int64_t nowMs) {
  SpaceAction action = SpaceAction::kNone;
  if (held) {
    if (!in.spaceDown) {
      in.spaceDown = 1;
      in.spaceDownTime = nowMs;
      in.spaceHoldFired = 0;
    } else if (!in.spaceHoldFired && nowMs - in.spaceDownTime >= kHoldMs) {
      in.spaceHoldFired = 1;
      action = SpaceAction::kHold;
    }
  } else {
    if (in.spaceDown && !in.spaceHoldFired) action = SpaceAction::kTap;
    in.spaceDown = 0;
    in.spaceHoldFired = 0;
  }
  return action;
}

void NewGame(Game& game, rules::Host& host) {
  rules::GameState& g = game.state;
  const rules::Answer answer =
      host.ShowMessage("New Game",
                       "YES    - Clear card selections only.\n"
                       "         (Balance and lifetime stats kept.)\n\n"
                       "NO     - Full wipe: reset balance to $1000, clear all stats.\n\n"
                       "CANCEL - Return to game, change nothing.",
                       rules::Buttons::YesNoCancel, rules::Icon::None);
  if (answer == rules::Answer::Yes) {
    rules::AnswerNewGame(g, host, rules::NewGameChoice::kClearPicks, host.NowMs());
  } else if (answer == rules::Answer::No) {
    rules::AnswerNewGame(g, host, rules::NewGameChoice::kFullReset, host.NowMs());
  }
}

void CopyCard(Game& game, rules::Host& host, int source) {
  rules::GameState& g = game.state;
  const std::string s = std::to_string(source);
  const std::string reply = host.AskText(
      "Copy Card " + s, "Copy Card " + s + "'s picks to which card? (1-4, not " + s + ")", "");
  const int64_t d = rules::ParseCardNumber(reply);
  if (d >= 1 && d <= rules::kCards && d != source) {
    if (rules::CopyPicks(g, source, static_cast<int>(d), host.NowMs())) rules::SelectTab(g, d);
  } else if (!reply.empty()) {
    host.ShowMessage("Copy Card", "Invalid destination.", rules::Buttons::Ok, rules::Icon::None);
  }
}

void HandleLeftClick(Game& game, rules::Host& host, int64_t mx, int64_t my) {
  rules::GameState& g = game.state;
  InputMemory& in = game.input;
  const render::Layout& l = game.layout;
  // The recall steps by halves while it has draws to show; any click elsewhere closes it.
  if (in.recallOverlayOpen && g.recall.count > 0 && render::PointInRect(l.grid, mx, my)) {
    StepRecall(game, LeftHalf(l.grid, mx) ? -1 : 1);
    return;
  }
  // An open overlay takes the click, wherever it lands (outside the window too).
  if (AnyOverlayOpen(in)) {
    CloseOverlays(in);
    return;
  }
  if (render::PointInRect(l.drawButton, mx, my)) {
    if (g.autoRun) rules::StopAutoRun(g);  // the running draw finishes, no further one follows
  } else if (render::PointInRect(l.newGameButton, mx, my)) {
    NewGame(game, host);
  } else if (render::PointInRect(l.payoutButton, mx, my)) {
    OpenPayout(game);
  } else if (render::PointInRect(l.speedButton, mx, my)) {
    StepSpeed(g, LeftHalf(l.speedButton, mx) ? -1 : 1);
  } else if (render::PointInRect(l.betButton, mx, my)) {
    StepBet(g, LeftHalf(l.betButton, mx) ? -1 : 1);
  } else if (render::PointInRect(l.soundButton, mx, my)) {
    ToggleSound(g);
  } else if (render::PointInRect(l.autoPickButton, mx, my)) {
    PickHot(game, host);
  } else if (render::PointInRect(l.aboutButton, mx, my)) {
    OpenAbout(game);
  } else if (render::PointInRect(l.tabStrip, mx, my)) {
    rules::SelectTab(g, TabFromX(l, mx));
  } else if (g.activeTab >= 1 && g.activeTab <= rules::kCards &&
             render::PointInRect(l.grid, mx, my)) {
    // The grid's own geometry decides, so a click lands in the cell drawn under it.
    PickCell(game, host, render::CellAt(l.grid, mx, my));
  } else if (render::PointInRect(CageRect(l), mx, my)) {
    OpenRecall(game);
  }
}

void HandleRightClick(Game& game, rules::Host& host, int64_t mx, int64_t my) {
  rules::GameState& g = game.state;
  const render::Layout& l = game.layout;
  if (render::PointInRect(l.payoutButton, mx, my)) {
    rules::ToggleMode(g, host.NowMs());
  } else if (render::PointInRect(l.autoPickButton, mx, my)) {
    PickRandom(game, host);
  } else if (g.activeTab == 0 && render::PointInRect(l.grid, mx, my)) {
    ToggleHeatMap(g);
  } else if (render::PointInRect(l.tabStrip, mx, my)) {
    const int64_t tab = TabFromX(l, mx);
    if (tab >= 1 && tab <= rules::kCards) CopyCard(game, host, static_cast<int>(tab));
  }
}

void HandleInput(Game& game, rules::Host& host) {
  rules::GameState& g = game.state;
  InputMemory& in = game.input;
  const platform::InputState now = game.system.PollInput();
  const int64_t t = game.system.NowMs();
  const int64_t mx = now.mouseX, my = now.mouseY;

  // The focus ring is the keyboard's: the mouse takes over again with its next press.
  if ((now.leftDown && !in.leftWasDown) || (now.rightDown && !in.rightWasDown)) in.focusShown = 0;
  if (now.leftDown && !in.leftWasDown) {
    if (render::PointInRect(game.layout.drawButton, mx, my) && !g.drawInProgress && !g.autoRun) {
      // A press on the Draw button of an idle game waits: a release draws, a hold starts
      // auto-run. Open overlays stay until then.
      in.drawButtonHeld = 1;
      in.drawHoldStart = t;
      in.drawHoldFired = 0;
    } else {
      in.drawButtonHeld = 0;
      HandleLeftClick(game, host, mx, my);
    }
  }
  if (in.drawButtonHeld && now.leftDown && t - in.drawHoldStart >= kHoldMs && !in.drawHoldFired) {
    in.drawHoldFired = 1;
    in.drawButtonHeld = 0;
    StartAutoRun(game, host);
  }
  // The release is not position-tested: moving off the button does not cancel the draw.
  if (!now.leftDown && in.leftWasDown && in.drawButtonHeld) {
    in.drawButtonHeld = 0;
    if (!in.drawHoldFired) {
      if (g.autoRun) {
        rules::StopAutoRun(g);
      } else if (!g.drawInProgress) {
        CloseOverlays(in);
        rules::StartDraw(g, host);
      }
    }
    in.drawHoldFired = 0;
  }
  if (now.rightDown && !in.rightWasDown) HandleRightClick(game, host, mx, my);
  in.leftWasDown = now.leftDown ? 1 : 0;
  in.rightWasDown = now.rightDown ? 1 : 0;

  switch (UpdateSpaceKey(in, now.spaceDown, t)) {
    case SpaceAction::kTap:
      CloseOverlays(in);
      if (g.autoRun) {
        rules::StopAutoRun(g);
      } else if (!g.drawInProgress) {
        rules::StartDraw(g, host);
      }
      break;
    case SpaceAction::kHold:
      CloseOverlays(in);
      StartAutoRun(game, host);
      break;
    case SpaceAction::kNone:
      break;
  }
  HandleKeys(game, host, now);
  // ESC acts on its release: save, then quit.
  if (now.escReleased) {
    host.SaveGame();
    game.quitRequested = 1;
  }
}

}  // namespace shell
