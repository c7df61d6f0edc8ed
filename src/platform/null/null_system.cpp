// NullSystem: every service of the seam answered from the caller's script and fields, frames
// handed to the caller's screen. Touches no display, device or clock of the machine.
#include "platform/null/null_system.h"

#include <utility>

#include "platform/audio.h"

namespace platform {
namespace {

// An audio output with no device behind it: it never opens, loads nothing and plays nothing.
class NoDeviceAudio final : public Audio {
 public:
  bool Open() override { return false; }
  SoundHandle Load(const uint8_t*, std::size_t) override { return {}; }
  void Play(SoundHandle) override {}
  void Close() override {}
};

}  // namespace

void NullSystem::Click(int64_t x, int64_t y, int frames, bool right) {
  InputState down;
  down.mouseX = x;
  down.mouseY = y;
  (right ? down.rightDown : down.leftDown) = true;
  for (int i = 0; i < frames; ++i) inputs.push_back(down);
  InputState up;
  up.mouseX = x;
  up.mouseY = y;
  inputs.push_back(up);
}

void NullSystem::TapKey(Key key, int frames, bool shift, bool alt) {
  InputState base;
  if (!inputs.empty()) base = inputs.back();
  base.keyCount = 0;
  InputState down = base;
  down.AddKey(KeyEvent{key, true, false, shift, alt});
  inputs.push_back(down);
  for (int i = 1; i < frames; ++i) inputs.push_back(base);
  InputState up = base;
  up.AddKey(KeyEvent{key, false, false, shift, alt});
  inputs.push_back(up);
}

void NullSystem::QueueDraw(const std::vector<int64_t>& numbers) {
  // The word that the draw's scaling to 1..80 turns into exactly this number.
  for (int64_t v : numbers) {
    words.push_back(static_cast<uint32_t>(((static_cast<uint64_t>(v - 1) << 32) + 79) / 80));
  }
}

MessageAnswer NullSystem::Dismissed(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    case MessageButtons::YesNoCancel:
      return MessageAnswer::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return MessageAnswer::Ok;
}

bool NullSystem::OpenWindow(int64_t width, int64_t height, const std::string&) {
  if (!windowOpens) return false;
  openedWidth = width;
  openedHeight = height;
  if (clientWidth < 0) clientWidth = width;
  if (clientHeight < 0) clientHeight = height;
  windowOpen = true;
  return true;
}

void NullSystem::SetMinimumClientSize(int64_t width, int64_t height) {
  minWidth = width;
  minHeight = height;
}

bool NullSystem::OpenScreen() { return screenOpen_ = screenOpens; }

void NullSystem::CloseWindow() {
  if (windowOpen) windowClosed = true;
  windowOpen = false;
  screenOpen_ = false;
}

void NullSystem::GetClientSize(int64_t& width, int64_t& height) {
  width = windowOpen ? clientWidth : 0;
  height = windowOpen ? clientHeight : 0;
}

Canvas* NullSystem::ScreenCanvas() { return screenOpen_ ? &screen_.Drawing() : nullptr; }

const TextMetrics* NullSystem::ScreenMetrics() {
  return screenOpen_ ? &screen_.Metrics() : nullptr;
}

void NullSystem::Present() {
  screen_.Present();
  ++presents;
  now += frameMs;
}

void NullSystem::SkipFrame(int64_t deadlineMs) {
  ++skippedFrames;
  waits.push_back(deadlineMs);
  if (waitsToDeadline && deadlineMs != kNoDeadline && deadlineMs > now) {
    now = deadlineMs;
  } else {
    now += frameMs;
  }
}

bool NullSystem::TakeRedrawRequest() { return std::exchange(redraw_, false); }

void NullSystem::ToggleFullScreen() {
  if (!fullScreen) {
    windowedWidth_ = clientWidth;
    windowedHeight_ = clientHeight;
    clientWidth = displayWidth;
    clientHeight = displayHeight;
  } else {
    clientWidth = windowedWidth_;
    clientHeight = windowedHeight_;
  }
  fullScreen = !fullScreen;
  redraw_ = true;
}

void NullSystem::SetRepaintHandler(std::function<void()> handler) { repaint = std::move(handler); }

bool NullSystem::DrainEvents() { return std::exchange(closeRequested, false); }

InputState NullSystem::PollInput() {
  if (!inputs.empty()) {
    last_ = inputs.front();
    inputs.pop_front();
  }
  InputState in = last_;
  last_.keyCount = 0;  // a held state repeats the mouse and the two keys, never the key events
  in.spaceReleased = spaceWasDown_ && !in.spaceDown;
  in.escReleased = escWasDown_ && !in.escDown;
  spaceWasDown_ = in.spaceDown;
  escWasDown_ = in.escDown;
  return in;
}

MessageAnswer NullSystem::ShowMessage(const std::string& title, const std::string& text,
                                      MessageButtons buttons, bool warning) {
  ShownDialog d{title, text, buttons, warning, Dismissed(buttons)};
  if (!answers.empty()) {
    d.answer = answers.front();
    answers.pop_front();
  }
  dialogs.push_back(d);
  if (onDialog) onDialog();
  now += dialogHoldMs;
  redraw_ = true;
  return d.answer;
}

std::string NullSystem::AskText(const std::string& title, const std::string& prompt,
                                const std::string&) {
  ShownPrompt p{title, prompt, ""};
  if (!replies.empty()) {
    p.reply = replies.front();
    replies.pop_front();
  }
  prompts.push_back(p);
  if (onDialog) onDialog();
  now += dialogHoldMs;
  redraw_ = true;
  return p.reply;
}

bool NullSystem::ReadSecureWord(uint32_t& word) {
  if (!secureRandom) return false;
  if (!words.empty()) {
    word = words.front();
    words.pop_front();
    return true;
  }
  // splitmix64: repeatable, and varied enough for whole draws.
  uint64_t z = (randomState_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  word = static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
  return true;
}

void NullSystem::SetLostDisplayHook(std::function<bool()> keep) {
  lostDisplayHook = std::move(keep);
}

std::unique_ptr<Audio> NullSystem::MakeAudio() {
  if (!audioOpens) return std::make_unique<NoDeviceAudio>();
  return std::make_unique<SilentAudio>();
}

}  // namespace platform
