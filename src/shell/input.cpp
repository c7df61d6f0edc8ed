// Input: press and release edges of the two mouse buttons, the Draw-button and SPACE holds, the
// click rules of each board region, and ESC.
#include "shell/input.h"

#include <string>

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

}  // namespace

void CloseOverlays(InputMemory& input) {
  input.payoutOverlayOpen = 0;
  input.aboutOverlayOpen = 0;
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
  // An open overlay takes the click, wherever it lands (outside the window too).
  if (in.payoutOverlayOpen || in.aboutOverlayOpen) {
    CloseOverlays(in);
    return;
  }
  if (render::PointInRect(l.drawButton, mx, my)) {
    if (g.autoRun) rules::StopAutoRun(g);  // the running draw finishes, no further one follows
  } else if (render::PointInRect(l.newGameButton, mx, my)) {
    NewGame(game, host);
  } else if (render::PointInRect(l.payoutButton, mx, my)) {
    in.aboutOverlayOpen = 0;
    rules::StopAutoRun(g);
    in.payoutOverlayOpen = 1;
  } else if (render::PointInRect(l.speedButton, mx, my)) {
    if (LeftHalf(l.speedButton, mx)) {
      if (g.speed > rules::kMinSpeed) g.speed -= 1;
    } else if (g.speed < rules::kMaxSpeed) {
      g.speed += 1;
    }
  } else if (render::PointInRect(l.betButton, mx, my)) {
    if (LeftHalf(l.betButton, mx)) {
      if (g.betSetting > rules::kMinBet) g.betSetting -= 1;
    } else if (g.betSetting < rules::kMaxBet) {
      g.betSetting += 1;
    }
    g.betPerCard = g.betSetting;
  } else if (render::PointInRect(l.soundButton, mx, my)) {
    g.soundOn = 1 - g.soundOn;
  } else if (render::PointInRect(l.autoPickButton, mx, my)) {
    rules::StopAutoRun(g);
    rules::AutoPickHot(g, host);
  } else if (render::PointInRect(l.aboutButton, mx, my)) {
    in.payoutOverlayOpen = 0;
    rules::StopAutoRun(g);
    in.aboutOverlayOpen = 1;
  } else if (render::PointInRect(l.tabStrip, mx, my)) {
    rules::SelectTab(g, TabFromX(l, mx));
  } else if (g.activeTab >= 1 && g.activeTab <= rules::kCards &&
             render::PointInRect(l.grid, mx, my)) {
    // The grid's own geometry decides, so a click lands in the cell drawn under it.
    const int n = render::CellAt(l.grid, mx, my);
    if (n != 0) rules::TogglePick(g, static_cast<int>(g.activeTab), n, host.NowMs());
  }
}

void HandleRightClick(Game& game, rules::Host& host, int64_t mx, int64_t my) {
  rules::GameState& g = game.state;
  const render::Layout& l = game.layout;
  if (render::PointInRect(l.payoutButton, mx, my)) {
    rules::ToggleMode(g, host.NowMs());
  } else if (render::PointInRect(l.autoPickButton, mx, my)) {
    CloseOverlays(game.input);
    rules::StopAutoRun(g);
    rules::AutoPickRandom(g, host);
  } else if (g.activeTab == 0 && render::PointInRect(l.grid, mx, my)) {
    g.heatMapOn = 1 - g.heatMapOn;
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
  // ESC acts on its release: save, then quit.
  if (now.escReleased) {
    host.SaveGame();
    game.quitRequested = 1;
  }
}

}  // namespace shell
