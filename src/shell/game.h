// The one record of a running game: the rules' state, the board's layout, fonts and balls panel,
// the input state, the last presented frame and the shell's own flags, over the platform seam.
// RunGame creates it over the system main made and passes it by reference; nothing here is global,
// so every test starts from a fresh game.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "render/balls_panel.h"
#include "render/display_list.h"
#include "render/fonts.h"
#include "render/layout.h"
#include "rules/game_state.h"
#include "rules/host.h"
#include "shell/save.h"
#include "sound/sound.h"

namespace shell {

// What input remembers from frame to frame, and the flags it sets for the drawers.
struct InputMemory {
  int64_t leftWasDown = 0;
  int64_t rightWasDown = 0;
  int64_t drawButtonHeld = 0;  // pressed on the Draw button of an idle game, not yet resolved
  int64_t drawHoldStart = 0;   // ms
  int64_t drawHoldFired = 0;   // this press has already started auto-run
  int64_t spaceDown = 0;
  int64_t spaceDownTime = 0;  // ms
  int64_t spaceHoldFired = 0;
  int64_t payoutOverlayOpen = 0;
  int64_t aboutOverlayOpen = 0;
  int64_t recallOverlayOpen = 0;
  int64_t recallPage = 0;  // the recalled draw shown, 0 the newest
  // The keyboard: a key acts on its release only if the game saw it go down, so a key pressed
  // or released while a dialog held the loop does nothing afterwards.
  uint64_t keysDown = 0;    // bit per platform::Key, down as the game saw it
  uint64_t keysShift = 0;   // of those, pressed with Shift held
  uint64_t keysAlt = 0;     // of those, pressed with Alt held
  int64_t dialogsSeen = 0;  // Game::dialogsShown when the keys were last read
  int64_t focusCell = 1;    // 1..80, the cell the arrow keys have reached
  int64_t focusShown = 0;   // 0/1: a grid key was used since the last mouse press
};

// The last frame shown and the one being recorded, swapped after each present.
struct FrameRecord {
  render::DisplayList shown;
  render::DisplayList next;
  render::WidthMemo widths;  // the texts the last frame measured, in order
  bool haveShown = false;
  int64_t presents = 0;  // frames actually drawn, for tests and measurements
};

struct Game {
  explicit Game(platform::System& sys) : system(sys) {}
  platform::System& system;
  rules::GameState state;
  render::Layout layout;
  render::Fonts fonts;
  render::BallsPanel balls;
  InputMemory input;
  FrameRecord frames;
  sound::SoundSystem sound;
  SaveSpot saves;  // where the save file goes, chosen at start and moved when a save fails
  int64_t quitRequested = 0;  // never cleared once set
  int64_t dialogsShown = 0;   // boxes and prompts shown so far, so input knows one came between
};

// The rules' view of the outside world, served through the platform seam.
class ShellHost : public rules::Host {
 public:
  explicit ShellHost(Game& game) : game_(game) {}
  rules::Answer ShowMessage(const std::string& title, const std::string& text,
                            rules::Buttons buttons, rules::Icon icon) override;
  std::string AskText(const std::string& title, const std::string& prompt,
                      const std::string& initial) override;
  int64_t NowMs() override;
  int64_t UnixSeconds() override;
  bool SecureRandomWord(uint32_t& word) override;
  void PlayHitTick() override;
  void PlayAutoRunCue() override;
  void StartWinJingle() override;
  void StartFanfare() override;
  void SaveGame() override;
  void DeleteSaveFile() override;
  void StoreRecall() override;
  void ResetBallAnimation() override;
  void StartBallDrop(int64_t ball) override;
  void RequestQuit() override;

 private:
  Game& game_;
};

}  // namespace shell
