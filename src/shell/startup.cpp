// Start-up in its fixed order, the frame loop and the orderly shutdown.
#include "shell/startup.h"

#include "platform/random.h"
#include "rules/paytable.h"
#include "shell/frame.h"
#include "shell/save.h"
#include "shell/timers.h"

namespace shell {

WindowSize WindowSizeForDpi(double dpi) {
  WindowSize s{};
  s.dpiScale = dpi > 0 ? static_cast<float>(dpi / 96.0) : 1.0f;
  const auto w0 = static_cast<int64_t>(s.dpiScale * 1000.0f);
  const auto h0 = static_cast<int64_t>(s.dpiScale * 700.0f);
  s.width = w0 + 2;
  s.height = h0 + 52;
  s.minWidth = w0;
  s.minHeight = h0 + 52;
  return s;
}

std::string WelcomeText(const rules::GameState& g) {
  return "Pick 1-12 numbers on one or more cards, then click Draw Numbers.\n\n"
         "  - 20 balls are drawn each round.\n"
         "  - Each active card costs $" +
         std::to_string(g.betPerCard) +
         " per draw.\n"
         "  - Hold Draw button 1 second to start auto-drawing.\n"
         "Current balance: $" +
         std::to_string(g.balance);
}

namespace {

void StartupError(rules::Host& host, const char* text) {
  host.ShowMessage("Error", text, rules::Buttons::Ok, rules::Icon::None);
}

bool AnyPicks(const rules::GameState& g) {
  for (int c = 1; c <= rules::kCards; ++c) {
    if (g.cards[c].pickCount > 0) return true;
  }
  return false;
}

}  // namespace

bool OpenGameWindow(Game& game, rules::Host& host) {
  rules::GameState& g = game.state;
  if (!platform::StartVideo()) {
    StartupError(host, "InitSprite() failed - cannot open screen.");
    return false;
  }
  const WindowSize size = WindowSizeForDpi(platform::DisplayDpi());
  game.dpiScale = size.dpiScale;

  game.window = platform::OpenGameWindow(size.width, size.height, kWindowTitle);
  if (!game.window) {
    StartupError(host, "InitSprite() failed - cannot open screen.");
    return false;
  }
  platform::SetMinimumClientSize(game.window, size.minWidth, size.minHeight);
  platform::GetClientSize(game.window, game.layout.clientWidth, game.layout.clientHeight);

  if (!platform::StartSpriteLayer()) {
    StartupError(host, "InitSprite() failed - cannot open screen.");
    return false;
  }
  if (!platform::StartKeyboard()) {
    StartupError(host, "InitKeyboard() failed.");
    return false;
  }
  if (!platform::OpenScreen(game.window, game.layout.clientWidth, game.layout.clientHeight)) {
    StartupError(host, "OpenWindowedScreen() failed.");
    return false;
  }
  platform::SetBackgroundColor(game.window, kBackgroundGrey);
  render::LoadFonts(*platform::ScreenCanvas(game.window), game.fonts, game.layout.clientHeight);

  game.savePath = ChooseSavePath();
  g.secureRandomAvailable = platform::OpenSecureRandom() ? 1 : 0;
  rules::FillPayTables(g);
  rules::ResetSet(g);
  LoadGame(g, game.savePath);
  rules::RefreshActivePayTable(g);
  rules::RecountNumberCards(g);
  rules::UpdateProgressiveEligible(g);
  if (g.betPerCard < rules::kMinBet || g.betPerCard > rules::kMaxBet) g.betPerCard = 1;
  g.betSetting = g.betPerCard;

  RenderFrame(game);  // the board is visible before any box is shown
  rules::SelectTab(g, 1);
  if (AnyPicks(g)) {
    rules::SelectTab(g, 0);
  } else {
    host.ShowMessage("Welcome to Keno!", WelcomeText(g), rules::Buttons::Ok, rules::Icon::None);
  }
  return true;
}

void MainLoop(Game& game, rules::Host& host) {
  for (;;) {
    if (platform::DrainEvents(game.window)) game.quitRequested = 1;
    if (game.quitRequested) return;
    TickTimers(game.state, host);
    if (game.quitRequested) return;
    RenderFrame(game);
  }
}

void Shutdown(Game& game) {
  SaveGame(game.state, game.savePath);
  if (game.state.secureRandomAvailable) platform::CloseSecureRandom();
  if (game.window) {
    game.fonts = {};  // the screen canvas owns them and frees them with the window
    platform::CloseGameWindow(game.window);
    game.window = nullptr;
  }
}

int RunGame() {
  platform::InitPlatform();
  platform::DeclareDpiAware();
  {
    Game game;
    ShellHost host(game);
    if (OpenGameWindow(game, host)) {
      MainLoop(game, host);
      Shutdown(game);
    } else if (game.window) {
      // A start-up error ends the program without touching the save file.
      platform::CloseGameWindow(game.window);
    }
  }
  platform::ShutdownPlatform();
  return 0;
}

}  // namespace shell
