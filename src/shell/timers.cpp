// Every timer is "has the time since its stamp reached its threshold", checked once per frame,
// so after a long modal box each fires once and nothing is caught up. The same thresholds give
// the frame loop its next deadline.
#include "shell/timers.h"

#include <algorithm>

#include "rules/draw.h"
#include "shell/input.h"

namespace shell {

void TickTimers(rules::GameState& g, render::BallsPanel& balls, rules::Host& host) {
  const int64_t now = host.NowMs();
  rules::RevealTick(g, host, now);
  if (balls.ballAnimActive && now - balls.lastAnimTime >= render::kBallAnimStepMs) {
    balls.lastAnimTime = now;
    render::AnimateBalls(balls);
  }
  rules::AutoRunTick(g, host, now);
  if (g.savePending && now - g.saveRequestTime >= kSaveDebounceMs) {
    g.savePending = 0;
    host.SaveGame();
  }
  if (!g.statusMessage.empty() && now - g.statusMessageTime >= kStatusMessageMs) {
    g.statusMessage.clear();
  }
  // A New Game waiting for the draw keeps saying so until the draw ends.
  rules::NoticePendingNewGame(g, now);
}

bool SoundExpected(const rules::GameState& g) {
  return g.drawInProgress || g.autoRun || g.autoNextPending;
}

int64_t NextDeadline(Game& game, int64_t nowMs) {
  const rules::GameState& g = game.state;
  const InputMemory& in = game.input;
  if (in.leftWasDown || in.rightWasDown || in.drawButtonHeld) return nowMs;
  int64_t next = platform::kNoDeadline;
  const auto at = [&next](bool set, int64_t due) {
    if (set) next = std::min(next, due);
  };
  at(g.drawInProgress, g.lastBallTime + g.ballDelayMs);
  at(game.balls.ballAnimActive, game.balls.lastAnimTime + render::kBallAnimStepMs);
  at(g.autoNextPending, g.autoNextTime + rules::kAutoRunPauseMs);
  at(g.savePending, g.saveRequestTime + kSaveDebounceMs);
  at(!g.statusMessage.empty(), g.statusMessageTime + kStatusMessageMs);
  at(in.spaceDown && !in.spaceHoldFired, in.spaceDownTime + kHoldMs);
  if (const auto release = sound::OutputDeadline(game.sound)) at(true, *release);
  return next;
}

}  // namespace shell
