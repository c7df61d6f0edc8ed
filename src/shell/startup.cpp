// Start-up in its fixed order, the frame loop and the orderly shutdown.
#include "shell/startup.h"

#include "rules/paytable.h"
#include "shell/frame.h"
#include "shell/input.h"
#include "shell/recall_file.h"
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
  platform::System& sys = game.system;
  rules::GameState& g = game.state;
  if (!sys.StartVideo()) {
    StartupError(host, "InitSprite() failed - cannot open screen.");
    return false;
  }
  const WindowSize size = WindowSizeForDpi(sys.DisplayDpi());
  if (!sys.OpenWindow(size.width, size.height, kWindowTitle)) {
    StartupError(host, "InitSprite() failed - cannot open screen.");
    return false;
  }
  sys.SetMinimumClientSize(size.minWidth, size.minHeight);
  sys.GetClientSize(game.layout.clientWidth, game.layout.clientHeight);
  if (!sys.StartSpriteLayer()) {
    StartupError(host, "InitSprite() failed - cannot open screen.");
    return false;
  }
  if (!sys.StartKeyboard()) {
    StartupError(host, "InitKeyboard() failed.");
    return false;
  }
  if (!sys.OpenScreen()) {
    StartupError(host, "OpenWindowedScreen() failed.");
    return false;
  }
  platform::Canvas* screen = sys.ScreenCanvas();
  render::LoadFonts(*screen, game.fonts, game.layout.clientHeight);
  sound::BuildToneBank(game.sound);  // silent handles when the output did not open

  g.secureRandomAvailable = sys.OpenSecureRandom() ? 1 : 0;
  rules::FillPayTables(g);
  rules::ResetSet(g);
  platform::FileService& files = sys.Files();
  const std::string exeDir = files.ExecutableDir();
  game.saves = OpenSaves(files, g, exeDir, IsInstalledLayout(files, exeDir));
  OpenRecall(files, game.saves, g.recall);
  // From here on there is a game to lose: a display that goes away saves it on the way out.
  sys.SetLostDisplayHook([&game] {
    return SaveGame(game.system.Files(), game.state, game.saves, game.system.NowMs());
  });
  sound::SetSoundOn(game.sound, g.soundOn != 0);
  rules::RefreshActivePayTable(g);
  rules::RecountNumberCards(g);
  rules::UpdateProgressiveEligible(g);

  render::ComputeLayout(game.layout, *screen, game.balls, game.fonts);
  // While a dialog holds the loop, an exposed window shows the last frame again.
  sys.SetRepaintHandler([&game] { RepaintLastFrame(game); });
  RenderFrame(game);  // the board is visible before any box is shown
  rules::SelectTab(g, 1);
  if (AnyPicks(g)) {
    rules::SelectTab(g, 0);
  } else {
    host.ShowMessage("Welcome to Keno!", WelcomeText(g), rules::Buttons::Ok, rules::Icon::None);
  }
  return true;
}

bool RunFrame(Game& game, rules::Host& host) {
  if (game.system.DrainEvents()) game.quitRequested = 1;
  if (game.quitRequested) return false;
  // Sound follows the setting within the frame it changes, melodies already playing included.
  sound::SetSoundOn(game.sound, game.state.soundOn != 0);
  TickTimers(game.state, game.balls, host);
  HandleInput(game, host);
  if (game.quitRequested) return false;
  sound::SetSoundOn(game.sound, game.state.soundOn != 0);
  // After input: a draw just started takes the output a frame before its first tick.
  sound::UpdateOutput(game.sound, SoundExpected(game.state), game.system.NowMs());
  const int64_t presents = game.frames.presents;
  RenderFrame(game);
  // Nothing new to show: sleep until the next timer is due or the player does something.
  if (game.frames.presents == presents) {
    game.system.SkipFrame(NextDeadline(game, game.system.NowMs()));
  }
  return true;
}

void MainLoop(Game& game, rules::Host& host) {
  while (RunFrame(game, host)) {
  }
}

bool Shutdown(Game& game) {
  const bool saved = SaveGame(game.system.Files(), game.state, game.saves, game.system.NowMs());
  // A display lost while the window goes has nothing more to save.
  game.system.SetLostDisplayHook([saved] { return saved; });
  // A melody still playing is ended and waited for, so no thread outlives the audio output.
  sound::ShutdownSound(game.sound);
  if (game.state.secureRandomAvailable) game.system.CloseSecureRandom();
  game.system.SetRepaintHandler(nullptr);
  game.fonts = {};  // the screen canvas owns them and frees them with the window
  game.layout.whiteAsterisk = game.layout.blackAsterisk = game.layout.hitCross = nullptr;
  game.balls.ballsPanelImage = nullptr;
  game.system.CloseWindow();
  return saved;
}

void StartSoundSystem(Game& game, rules::Host& host) {
  if (sound::StartSound(game.sound, game.system.MakeAudio())) return;
  host.ShowMessage("Keno",
                   "Warning: Sound system could not be initialized.\r\nSounds will be disabled.",
                   rules::Buttons::Ok, rules::Icon::Warning);
}

int RunGame(platform::System& system) {
  Game game(system);
  ShellHost host(game);
  StartSoundSystem(game, host);
  if (OpenGameWindow(game, host)) {
    MainLoop(game, host);
    // The code tells a session or a script whether the player's game was kept.
    return Shutdown(game) ? 0 : 1;
  }
  // A start-up error ends the program without touching the save file.
  sound::ShutdownSound(game.sound);
  system.CloseWindow();
  return 0;
}

}  // namespace shell
