// Every timer is "has the time since its stamp reached its threshold", checked once per frame,
// so after a long modal box each fires once and nothing is caught up.
#include "shell/timers.h"

#include "rules/draw.h"

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

}  // namespace shell
