// The real outside world of the rules: dialogs, clock and random source through the platform
// seam, the sound cues, the save and recall files, and the balls panel.
#include "render/balls_panel.h"
#include "shell/game.h"
#include "shell/recall_file.h"
#include "shell/save.h"

namespace shell {

rules::Answer ShellHost::ShowMessage(const std::string& title, const std::string& text,
                                     rules::Buttons buttons, rules::Icon icon) {
  platform::MessageButtons set = platform::MessageButtons::Ok;
  if (buttons == rules::Buttons::YesNo) set = platform::MessageButtons::YesNo;
  if (buttons == rules::Buttons::YesNoCancel) set = platform::MessageButtons::YesNoCancel;
  ++game_.dialogsShown;
  switch (game_.system.ShowMessage(title, text, set, icon == rules::Icon::Warning)) {
    case platform::MessageAnswer::Yes:
      return rules::Answer::Yes;
    case platform::MessageAnswer::No:
      return rules::Answer::No;
    case platform::MessageAnswer::Cancel:
      return rules::Answer::Cancel;
    case platform::MessageAnswer::Ok:
      break;
  }
  return rules::Answer::Ok;
}

std::string ShellHost::AskText(const std::string& title, const std::string& prompt,
                               const std::string& initial) {
  ++game_.dialogsShown;
  return game_.system.AskText(title, prompt, initial);
}

int64_t ShellHost::NowMs() { return game_.system.NowMs(); }

int64_t ShellHost::UnixSeconds() { return game_.system.UnixSeconds(); }

bool ShellHost::SecureRandomWord(uint32_t& word) { return game_.system.ReadSecureWord(word); }

void ShellHost::PlayHitTick() { sound::PlayTone(game_.sound, sound::kHitTick); }

void ShellHost::PlayAutoRunCue() { sound::PlayTone(game_.sound, sound::kAutoRunCue); }

// A melody asked for while another still plays is dropped.
void ShellHost::StartWinJingle() { sound::StartWinJingle(game_.sound); }
void ShellHost::StartFanfare() { sound::StartFanfare(game_.sound); }

void ShellHost::ResetBallAnimation() { render::ResetBallAnimation(game_.balls); }

void ShellHost::StartBallDrop(int64_t ball) {
  const render::Rect& panel = game_.layout.ballsPanel;
  render::StartBallDrop(game_.balls, panel.w, panel.h, ball, game_.state.ballDelayMs,
                        game_.system.NowMs());
}

void ShellHost::SaveGame() {
  shell::SaveGame(game_.system.Files(), game_.state, game_.saves, game_.system.NowMs());
}

void ShellHost::DeleteSaveFile() {
  if (!game_.saves.path.empty()) shell::DeleteSaveFile(game_.system.Files(), game_.saves.path);
}

// Silent on failure: the save's NOT SAVED notice speaks for the game, and the next draw retries.
void ShellHost::StoreRecall() {
  shell::StoreRecall(game_.system.Files(), game_.state.recall, game_.saves);
}

void ShellHost::RequestQuit() { game_.quitRequested = 1; }

}  // namespace shell
