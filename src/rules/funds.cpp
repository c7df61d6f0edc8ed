// Out-of-funds box and its two ways out. The state is saved either way, so a player who quits
// here loses nothing and one who tops up keeps the new balance even if the program dies.
#include "rules/funds.h"

#include <string>

namespace rules {

bool FundsCheck(GameState& g, Host& host, int64_t cost) {
  if (g.balance >= cost) return true;
  StopAutoRun(g);
  const Answer answer = host.ShowMessage(
      "Out of Funds!",
      "Balance ($" + std::to_string(g.balance) + ") is less than the draw cost ($" +
          std::to_string(cost) + ").\n\nYES = add $1000 and keep playing.\nNO  = save and quit.",
      Buttons::YesNo, Icon::None);
  if (answer == Answer::Yes) {
    g.balance += kTopUp;
    host.SaveGame();
    return true;
  }
  host.SaveGame();
  host.RequestQuit();
  return false;
}

}  // namespace rules
