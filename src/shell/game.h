// The one record of a running game: rules state, window, fonts and shell flags. main creates it
// and passes it by reference; nothing here is global, so every test starts from a fresh game.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"
#include "rules/host.h"

namespace shell {

struct Game {
  rules::GameState state;
  render::Layout layout;
  render::Fonts fonts;
  platform::Window* window = nullptr;  // null until opened, and in tests
  std::string savePath;
  float dpiScale = 1.0f;       // logical DPI / 96, only used to size the window at start
  int64_t quitRequested = 0;   // never cleared once set
  int64_t soundAvailable = 0;  // the audio device opened
};

// The rules' view of the outside world, served by the real platform.
class ShellHost : public rules::Host {
 public:
  explicit ShellHost(Game& game) : game_(game) {}
  rules::Answer ShowMessage(const std::string& title, const std::string& text,
                            rules::Buttons buttons, rules::Icon icon) override;
  std::string AskText(const std::string& title, const std::string& prompt,
                      const std::string& initial) override;
  int64_t NowMs() override;
  bool SecureRandomWord(uint32_t& word) override;
  void PlayTone(int frequencyHz, int durationMs) override;
  void StartWinJingle() override;
  void StartFanfare() override;
  void SaveGame() override;
  void DeleteSaveFile() override;
  void ResetBallAnimation() override;
  void StartBallDrop(int64_t ball) override;
  void RequestQuit() override;

 private:
  Game& game_;
};

}  // namespace shell
