// Start-up, the frame loop and shutdown of the game.
#pragma once

#include <cstdint>
#include <string>

#include "rules/game_state.h"
#include "rules/host.h"
#include "shell/game.h"

namespace shell {

constexpr const char* kWindowTitle = "Tessaline by Brindlec 6.40";
constexpr platform::Color kBackgroundGrey = platform::RGB(172, 176, 185);

struct WindowSize {
  float dpiScale;       // dpi / 96, 1 when the dpi is unknown
  int64_t width, height;        // client area asked for when the window opens
  int64_t minWidth, minHeight;  // the window cannot shrink below this
};
// Window sizes for a display of `dpi` logical dots per inch (0 or less: unknown).
WindowSize WindowSizeForDpi(double dpi);

// The greeting of a first-time player.
std::string WelcomeText(const rules::GameState& g);

// The whole program: start-up, frame loop, shutdown. Returns the process exit code.
int RunGame();

// Steps of start-up after the game record exists; false after an error box.
bool OpenGameWindow(Game& game, rules::Host& host);
void MainLoop(Game& game, rules::Host& host);
void Shutdown(Game& game);

}  // namespace shell
