// The real outside world of the rules: SDL dialogs, the system clock and random source,
// and the save file.
#include "platform/random.h"
#include "platform/window.h"
#include "shell/game.h"
#include "shell/save.h"

namespace shell {

rules::Answer ShellHost::ShowMessage(const std::string& title, const std::string& text,
                                     rules::Buttons buttons, rules::Icon icon) {
  platform::MessageButtons set = platform::MessageButtons::Ok;
  if (buttons == rules::Buttons::YesNo) set = platform::MessageButtons::YesNo;
  if (buttons == rules::Buttons::YesNoCancel) set = platform::MessageButtons::YesNoCancel;
  switch (platform::ShowMessageBox(game_.window, title, text, set, icon == rules::Icon::Warning)) {
    case platform::MessageAnswer::Yes: return rules::Answer::Yes;
    case platform::MessageAnswer::No: return rules::Answer::No;
    case platform::MessageAnswer::Cancel: return rules::Answer::Cancel;
    case platform::MessageAnswer::Ok: break;
  }
  return rules::Answer::Ok;
}

// The one-line prompt arrives with card copying; until then every prompt reads as cancelled.
std::string ShellHost::AskText(const std::string&, const std::string&, const std::string&) {
  return {};
}

int64_t ShellHost::NowMs() { return platform::NowMs(); }

bool ShellHost::SecureRandomWord(uint32_t& word) { return platform::ReadSecureWord(word); }

// Sound cues and the balls panel arrive with their own modules; until then they are silent
// and invisible.
void ShellHost::PlayTone(int, int) {}
void ShellHost::StartWinJingle() {}
void ShellHost::StartFanfare() {}
void ShellHost::ResetBallAnimation() {}
void ShellHost::StartBallDrop(int64_t) {}

void ShellHost::SaveGame() { shell::SaveGame(game_.state, game_.savePath); }

void ShellHost::DeleteSaveFile() { shell::DeleteSaveFile(game_.savePath); }

void ShellHost::RequestQuit() { game_.quitRequested = 1; }

}  // namespace shell
