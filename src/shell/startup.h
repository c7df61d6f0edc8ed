// Start-up in its fixed order, the frame loop and the orderly shutdown, over the platform seam.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "rules/game_state.h"
#include "rules/host.h"
#include "rules/version.h"
#include "shell/game.h"

namespace shell {

constexpr const char* kWindowTitle = rules::kGameTitle;

struct WindowSize {
  float dpiScale;               // dpi / 96, 1 when the dpi is unknown
  int64_t width, height;        // client area asked for when the window opens
  int64_t minWidth, minHeight;  // the window cannot shrink below this
};
// Window sizes for a display of `dpi` logical dots per inch (0 or less: unknown).
WindowSize WindowSizeForDpi(double dpi);

// The greeting of a first-time player.
std::string WelcomeText(const rules::GameState& g);

// The whole program over `system`: start-up, frame loop, shutdown. Returns the exit code: 0, or 1
// when the game could not be saved on the way out.
int RunGame(platform::System& system);

// Opens the audio output, warning once when there is none; the game then plays silently.
void StartSoundSystem(Game& game, rules::Host& host);
// Start-up from the window on; false after an error box (nothing saved).
bool OpenGameWindow(Game& game, rules::Host& host);
// One pass of the frame loop; false once the game must end.
bool RunFrame(Game& game, rules::Host& host);
void MainLoop(Game& game, rules::Host& host);
// Saves the game and releases the window; false when the save could be written nowhere.
bool Shutdown(Game& game);

}  // namespace shell
