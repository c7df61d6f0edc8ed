// The platform seam without a display: a screen that records what is presented, scripted input
// and dialog answers, a clock that moves one frame per present or skipped frame, a repeatable
// random source, silent audio and an executable directory of the test's choosing. Start-up, the
// frame loop and input run on it in unit tests.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/system.h"
#include "render/display_list.h"

namespace testing_support {

struct ShownDialog {
  std::string title;
  std::string text;
  platform::MessageButtons buttons = platform::MessageButtons::Ok;
  bool warning = false;
  platform::MessageAnswer answer = platform::MessageAnswer::Ok;
};

// An audio output with no device behind it: it never opens, loads nothing and plays nothing.
class NoDeviceAudio final : public platform::Audio {
 public:
  bool Open() override { return false; }
  platform::SoundHandle Load(const uint8_t*, std::size_t) override { return {}; }
  void Play(platform::SoundHandle) override {}
  void Close() override {}
};

struct ShownPrompt {
  std::string title;
  std::string prompt;
  std::string reply;
};

class HeadlessSystem final : public platform::System {
  // Ahead of `screen`, which records into them: what was replayed since the last present, and
  // the fixed metrics of the fonts made there.
  render::DisplayList replayed_;
  render::FakeMetrics metrics_;

 public:
  // --- What the test sets up ------------------------------------------------------------------
  bool video = true;  // each false makes that start-up step fail
  bool windowOpens = true;
  bool spriteLayer = true;
  bool keyboard = true;
  bool screenOpens = true;
  bool secureRandom = true;
  bool audioOpens = true;  // false: no sound device, the audio output cannot open
  double dpi = 96;
  int64_t clientWidth = -1, clientHeight = -1;  // -1: as the window was opened
  std::string exeDir;                           // where the save file goes; ends in '/'
  int64_t now = 1'000'000;                      // ms
  int64_t frameMs = 16;                         // the clock moves this much per frame
  bool closeRequested = false;                  // the next DrainEvents reports a close request

  // Input for the coming frames: the front state is used by the next poll, then dropped; with
  // the script empty the last state holds (keys then read as still down, never released again).
  std::deque<platform::InputState> inputs;
  // Dialog answers in order; with the script empty a box answers as closing it would (OK, NO or
  // CANCEL), and a prompt is cancelled ("").
  std::deque<platform::MessageAnswer> answers;
  std::deque<std::string> replies;
  int64_t dialogHoldMs = 0;        // the clock runs on while a dialog is open
  std::function<void()> onDialog;  // sees the game while a dialog is open

  // --- What the test reads --------------------------------------------------------------------
  std::vector<ShownDialog> dialogs;
  std::vector<ShownPrompt> prompts;
  // Fonts and images live here; presented frames are replayed on it.
  render::RecordingCanvas screen{replayed_, metrics_};
  render::DisplayList presented;   // the calls of the last frame presented
  int64_t presents = 0;
  int64_t skippedFrames = 0;
  bool windowOpen = false;
  bool windowClosed = false;
  int64_t minWidth = 0, minHeight = 0;
  int64_t openedWidth = 0, openedHeight = 0;
  std::function<void()> repaint;
  std::function<bool()> lostDisplayHook;  // what the game asked to run should the display go

  // Holds the left button down on (x, y) for `frames` frames, then releases it there.
  void Click(int64_t x, int64_t y, int frames = 1, bool right = false) {
    platform::InputState down;
    down.mouseX = x;
    down.mouseY = y;
    (right ? down.rightDown : down.leftDown) = true;
    for (int i = 0; i < frames; ++i) inputs.push_back(down);
    platform::InputState up;
    up.mouseX = x;
    up.mouseY = y;
    inputs.push_back(up);
  }

  // --- The seam -------------------------------------------------------------------------------
  void DeclareDpiAware() override {}
  bool StartVideo() override { return video; }
  double DisplayDpi() override { return dpi; }
  bool OpenWindow(int64_t width, int64_t height, const std::string&) override {
    if (!windowOpens) return false;
    openedWidth = width;
    openedHeight = height;
    if (clientWidth < 0) clientWidth = width;
    if (clientHeight < 0) clientHeight = height;
    windowOpen = true;
    return true;
  }
  void SetMinimumClientSize(int64_t width, int64_t height) override {
    minWidth = width;
    minHeight = height;
  }
  bool StartSpriteLayer() override { return spriteLayer; }
  bool StartKeyboard() override { return keyboard; }
  bool OpenScreen(int64_t, int64_t) override { return screenOpen_ = screenOpens; }
  void SetBackgroundColor(platform::Color) override {}
  void CloseWindow() override {
    if (windowOpen) windowClosed = true;
    windowOpen = false;
    screenOpen_ = false;
  }
  void GetClientSize(int64_t& width, int64_t& height) override {
    width = windowOpen ? clientWidth : 0;
    height = windowOpen ? clientHeight : 0;
  }

  platform::Canvas* ScreenCanvas() override { return screenOpen_ ? &screen : nullptr; }
  const platform::TextMetrics* ScreenMetrics() override {
    return screenOpen_ ? &metrics_ : nullptr;
  }
  void Present() override {
    // The calls replayed since the last present, handed over without a copy; the screen then
    // forgets them, so a long session does not pile up every frame it ever showed.
    std::swap(presented.calls, replayed_.calls);
    replayed_.calls.clear();
    ++presents;
    now += frameMs;
  }
  void SkipFrame(bool) override {
    ++skippedFrames;
    now += frameMs;
  }
  bool TakeRedrawRequest() override { return std::exchange(redraw_, false); }
  void SetRepaintHandler(std::function<void()> handler) override { repaint = std::move(handler); }

  bool DrainEvents() override { return std::exchange(closeRequested, false); }
  platform::InputState PollInput() override {
    if (!inputs.empty()) {
      last_ = inputs.front();
      inputs.pop_front();
    }
    platform::InputState in = last_;
    in.spaceReleased = spaceWasDown_ && !in.spaceDown;
    in.escReleased = escWasDown_ && !in.escDown;
    spaceWasDown_ = in.spaceDown;
    escWasDown_ = in.escDown;
    return in;
  }
  int64_t NowMs() override { return now; }

  platform::MessageAnswer ShowMessage(const std::string& title, const std::string& text,
                                      platform::MessageButtons buttons, bool warning) override {
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
  std::string AskText(const std::string& title, const std::string& prompt,
                      const std::string&) override {
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

  // Makes the next draw reveal these numbers first, in this order.
  void QueueDraw(const std::vector<int64_t>& numbers) {
    for (int64_t v : numbers) {
      words.push_back(static_cast<uint32_t>(((static_cast<uint64_t>(v - 1) << 32) + 79) / 80));
    }
  }
  std::deque<uint32_t> words;  // served before the generated ones

  bool OpenSecureRandom() override { return secureRandom; }
  bool ReadSecureWord(uint32_t& word) override {
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
  void CloseSecureRandom() override {}

  void SetLostDisplayHook(std::function<bool()> keep) override {
    lostDisplayHook = std::move(keep);
  }

  std::string ExecutableDir() override { return exeDir; }
  std::unique_ptr<platform::Audio> MakeAudio() override {
    if (!audioOpens) return std::make_unique<NoDeviceAudio>();
    return std::make_unique<platform::SilentAudio>();
  }

  static platform::MessageAnswer Dismissed(platform::MessageButtons buttons) {
    switch (buttons) {
      case platform::MessageButtons::YesNo:
        return platform::MessageAnswer::No;
      case platform::MessageButtons::YesNoCancel:
        return platform::MessageAnswer::Cancel;
      case platform::MessageButtons::Ok:
        break;
    }
    return platform::MessageAnswer::Ok;
  }

 private:
  bool screenOpen_ = false;
  bool redraw_ = true;
  platform::InputState last_;
  bool spaceWasDown_ = false;
  bool escWasDown_ = false;
  uint64_t randomState_ = 0x5EED;
};

}  // namespace testing_support
