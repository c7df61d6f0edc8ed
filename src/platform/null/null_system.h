// The null platform: the whole seam without a display, for tests, the picture tool and the
// benchmarks. Input and dialog answers come from a script, the clock moves one frame per present
// or skipped frame, the random source repeats, the audio is silent, files are the machine's own
// in a folder of the caller's choosing with write faults on its say, and frames go to a screen
// the caller hands it. Sees no SDL and nothing above the platform interfaces.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix_files.h"
#include "platform/screen.h"
#include "platform/system.h"

namespace platform {

struct ShownDialog {
  std::string title;
  std::string text;
  MessageButtons buttons = MessageButtons::Ok;
  bool warning = false;
  MessageAnswer answer = MessageAnswer::Ok;
};

struct ShownPrompt {
  std::string title;
  std::string prompt;
  std::string reply;
};

// The machine's own files in a folder of the test's choosing, with faults injected into atomic
// writes when the test says: the executable's directory is whatever the test sets.
class ScriptedFiles final : public PosixFiles {
 public:
  std::string exeDir;         // ends in '/'; empty: unknown
  WriteFaultHook writeFault;  // asked before each step of an atomic write; empty: no faults

  std::string ExecutableDir() override { return exeDir; }

 protected:
  int64_t AllowWriteStep(WriteStep step, std::size_t wanted) override {
    return writeFault ? writeFault(step, wanted) : static_cast<int64_t>(wanted);
  }
};

class NullSystem final : public System {
 public:
  // Frames are drawn on `screen`, which must outlive the system.
  explicit NullSystem(Screen& screen) : screen_(screen) {}

  // --- What the caller sets up -----------------------------------------------------------------
  bool video = true;  // each false makes that start-up step fail
  bool windowOpens = true;
  bool spriteLayer = true;
  bool keyboard = true;
  bool screenOpens = true;
  bool secureRandom = true;
  bool audioOpens = true;  // false: no sound device, the audio output cannot open
  double dpi = 96;
  int64_t clientWidth = -1, clientHeight = -1;  // -1: as the window was opened
  int64_t now = 1'000'000;                      // ms
  int64_t frameMs = 16;                         // the clock moves this much per frame
  // A skipped frame whose wait has a deadline moves the clock to it, as an idle wait would,
  // rather than by one frame; a wait with none still moves one frame.
  bool waitsToDeadline = false;
  int64_t wallClockAtZero = 1'767'225'600;  // s since the epoch when `now` is 0: 2026-01-01
  bool closeRequested = false;              // the next DrainEvents reports a close request
  int64_t displayWidth = 1920, displayHeight = 1080;  // what full screen covers
  bool fullScreen = false;
  ScriptedFiles files;  // the save goes to files.exeDir

  // Input for the coming frames: the front state is used by the next poll, then dropped; with
  // the script empty the last state holds (keys then read as still down, never released again).
  std::deque<InputState> inputs;
  // Dialog answers in order; with the script empty a box answers as closing it would (OK, NO or
  // CANCEL), and a prompt is cancelled ("").
  std::deque<MessageAnswer> answers;
  std::deque<std::string> replies;
  int64_t dialogHoldMs = 0;        // the clock runs on while a dialog is open
  std::function<void()> onDialog;  // sees the game while a dialog is open
  std::deque<uint32_t> words;      // secure words served before the generated ones

  // --- What the caller reads -------------------------------------------------------------------
  std::vector<ShownDialog> dialogs;
  std::vector<ShownPrompt> prompts;
  int64_t presents = 0;
  int64_t skippedFrames = 0;
  std::vector<int64_t> waits;  // the deadline of every skipped frame, kNoDeadline for none
  bool windowOpen = false;
  bool windowClosed = false;
  int64_t minWidth = 0, minHeight = 0;
  int64_t openedWidth = 0, openedHeight = 0;
  std::function<void()> repaint;
  std::function<bool()> lostDisplayHook;  // what the game asked to run should the display go

  // Holds the left (or right) button down on (x, y) for `frames` frames, then releases it there.
  void Click(int64_t x, int64_t y, int frames = 1, bool right = false);
  // Presses `key` (with `shift`) for one frame, holds it `frames` - 1 more, then releases it;
  // the mouse stays where the last scripted state left it.
  void TapKey(Key key, int frames = 1, bool shift = false, bool alt = false);
  // Makes the next draw reveal these numbers first, in this order.
  void QueueDraw(const std::vector<int64_t>& numbers);
  // The answer of a box whose script has run out: as closing it would.
  static MessageAnswer Dismissed(MessageButtons buttons);

  // --- The seam --------------------------------------------------------------------------------
  bool StartVideo() override { return video; }
  double DisplayDpi() override { return dpi; }
  bool OpenWindow(int64_t width, int64_t height, const std::string& title) override;
  void SetMinimumClientSize(int64_t width, int64_t height) override;
  bool StartSpriteLayer() override { return spriteLayer; }
  bool StartKeyboard() override { return keyboard; }
  bool OpenScreen() override;
  void CloseWindow() override;
  void GetClientSize(int64_t& width, int64_t& height) override;

  Canvas* ScreenCanvas() override;
  const TextMetrics* ScreenMetrics() override;
  void Present() override;
  void SkipFrame(int64_t deadlineMs) override;
  bool TakeRedrawRequest() override;
  void ToggleFullScreen() override;
  void SetRepaintHandler(std::function<void()> handler) override;

  bool DrainEvents() override;
  InputState PollInput() override;
  int64_t NowMs() override { return now; }
  // Moves with `now`, so that draws a few seconds apart end at different times.
  int64_t UnixSeconds() override { return wallClockAtZero + now / 1000; }

  MessageAnswer ShowMessage(const std::string& title, const std::string& text,
                            MessageButtons buttons, bool warning) override;
  std::string AskText(const std::string& title, const std::string& prompt,
                      const std::string& initial) override;

  bool OpenSecureRandom() override { return secureRandom; }
  bool ReadSecureWord(uint32_t& word) override;
  void CloseSecureRandom() override {}

  void SetLostDisplayHook(std::function<bool()> keep) override;

  FileService& Files() override { return files; }
  std::unique_ptr<Audio> MakeAudio() override;

 private:
  Screen& screen_;
  bool screenOpen_ = false;
  bool redraw_ = true;
  InputState last_;
  bool spaceWasDown_ = false;
  bool escWasDown_ = false;
  int64_t windowedWidth_ = 0, windowedHeight_ = 0;
  uint64_t randomState_ = 0x5EED;
};

}  // namespace platform
