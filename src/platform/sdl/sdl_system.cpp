// SdlSystem: the seam's desktop implementation over the window module, the dialogs, the random
// source, the POSIX files, the audio output and the session's end; input is polled here from
// SDL's global mouse and keyboard state.
#include "platform/sdl/sdl_system.h"

#include <SDL.h>

#include <chrono>

#include "platform/posix_files.h"
#include "platform/random.h"
#include "platform/sdl/session_end.h"
#include "platform/sdl/window.h"
#include "platform/sdl/window_internal.h"

namespace platform {
namespace {

class SdlSystem final : public System {
 public:
  SdlSystem() {
    // Before SDL, the audio output or anything else starts a thread that would not inherit it.
    BlockSessionSignals();
    WatchSessionSignals();
    InitPlatform();
  }
  ~SdlSystem() override {
    CloseWindow();
    ShutdownPlatform();
  }

  bool StartVideo() override { return platform::StartVideo(); }
  double DisplayDpi() override { return platform::DisplayDpi(); }
  bool OpenWindow(int64_t width, int64_t height, const std::string& title) override {
    window_ = OpenGameWindow(width, height, title);
    return window_ != nullptr;
  }
  void SetMinimumClientSize(int64_t width, int64_t height) override {
    if (window_) platform::SetMinimumClientSize(window_, width, height);
  }
  bool StartSpriteLayer() override { return platform::StartSpriteLayer(); }
  bool StartKeyboard() override { return platform::StartKeyboard(); }
  bool OpenScreen() override { return window_ != nullptr && platform::OpenScreen(window_); }
  void CloseWindow() override {
    if (window_) CloseGameWindow(window_);
    window_ = nullptr;
  }
  void GetClientSize(int64_t& width, int64_t& height) override {
    width = height = 0;
    if (window_) platform::GetClientSize(window_, width, height);
  }

  Canvas* ScreenCanvas() override {
    return window_ != nullptr ? platform::ScreenCanvas(window_) : nullptr;
  }
  const TextMetrics* ScreenMetrics() override {
    return window_ != nullptr ? window_->canvas.get() : nullptr;
  }
  void Present() override {
    if (window_) Flip(window_);
  }
  void SkipFrame(int64_t deadlineMs) override {
    if (window_) platform::SkipFrame(window_, deadlineMs);
  }
  bool TakeRedrawRequest() override {
    return window_ != nullptr && platform::TakeRedrawRequest(window_);
  }
  void ToggleFullScreen() override { platform::ToggleFullScreen(window_); }
  void SetRepaintHandler(std::function<void()> repaint) override {
    if (window_) platform::SetRepaintHandler(window_, std::move(repaint));
  }

  bool DrainEvents() override { return platform::DrainEvents(window_); }

  InputState PollInput() override {
    InputState in;
    int gx = 0, gy = 0, wx = 0, wy = 0, w = 0, h = 0;
    // Buttons are read from the pointer itself, so they count whichever window has the focus.
    const Uint32 buttons = SDL_GetGlobalMouseState(&gx, &gy);
    in.leftDown = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
    in.rightDown = (buttons & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0;
    if (window_ != nullptr) {
      SDL_GetWindowPosition(window_->sdl, &wx, &wy);
      SDL_GetWindowSize(window_->sdl, &w, &h);
      if (gx >= wx && gx < wx + w && gy >= wy && gy < wy + h) {
        in.mouseX = gx - wx;
        in.mouseY = gy - wy;
      }
    }
    // Keys count only while the game window has the keyboard; coming back, they start from up.
    const bool focused = window_ != nullptr && SDL_GetKeyboardFocus() == window_->sdl;
    bool space = false, esc = false;
    if (focused) {
      const Uint8* keys = SDL_GetKeyboardState(nullptr);
      space = keys[SDL_SCANCODE_SPACE] != 0;
      esc = keys[SDL_SCANCODE_ESCAPE] != 0;
      TakeKeyEvents(window_, in);
    } else {
      spaceWasDown_ = escWasDown_ = false;
      InputState dropped;
      TakeKeyEvents(window_, dropped);
    }
    in.spaceDown = space;
    in.spaceReleased = spaceWasDown_ && !space;
    in.escDown = esc;
    in.escReleased = escWasDown_ && !esc;
    spaceWasDown_ = space;
    escWasDown_ = esc;
    return in;
  }

  int64_t NowMs() override { return platform::NowMs(); }
  int64_t UnixSeconds() override {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(since).count();
  }

  MessageAnswer ShowMessage(const std::string& title, const std::string& text,
                            MessageButtons buttons, bool warning) override {
    return ShowMessageBox(window_, title, text, buttons, warning);
  }
  std::string AskText(const std::string& title, const std::string& prompt,
                      const std::string& initial) override {
    return platform::AskText(window_, title, prompt, initial);
  }

  bool OpenSecureRandom() override { return platform::OpenSecureRandom(); }
  bool ReadSecureWord(uint32_t& word) override { return platform::ReadSecureWord(word); }
  void CloseSecureRandom() override { platform::CloseSecureRandom(); }

  void SetLostDisplayHook(std::function<bool()> keep) override {
    platform::SetLostDisplayHook(std::move(keep));
  }

  FileService& Files() override { return files_; }
  std::unique_ptr<Audio> MakeAudio() override { return MakeSystemAudio(); }

 private:
  Window* window_ = nullptr;
  PosixFiles files_;
  bool spaceWasDown_ = false;
  bool escWasDown_ = false;
};

}  // namespace

std::unique_ptr<System> MakeSdlSystem() { return std::make_unique<SdlSystem>(); }

}  // namespace platform
