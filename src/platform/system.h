// Everything the shell needs of the outside world, behind one seam: the window and its screen,
// polled input, the clocks, the dialogs, the secure random source, the files and the audio output.
// The SDL implementation (platform/sdl) serves the game; the null platform (platform/null) serves
// tests, the picture tool and the benchmarks, so start-up, the frame loop and input run without a
// display.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "platform/audio.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/file_service.h"

namespace platform {

// The keys the game plays with besides SPACE and ESC; each platform maps its own key codes here.
enum class Key : uint8_t {
  kNone,
  kUp,
  kDown,
  kLeft,
  kRight,
  kEnter,
  kTab,
  kDigit0,
  kDigit1,
  kDigit2,
  kDigit3,
  kDigit4,
  kPlus,
  kMinus,
  kLeftBracket,
  kRightBracket,
  kA,
  kC,
  kG,
  kH,
  kM,
  kN,
  kP,
  kR,
  kF1,
  kF11,
  kCount
};

// One press, repeat or release of a key, as the window received it.
struct KeyEvent {
  Key key = Key::kNone;
  bool down = false;    // pressed (or repeated); false: released
  bool repeat = false;  // a repeat of a key held down
  bool shift = false;   // modifiers held at that moment
  bool alt = false;
  bool operator==(const KeyEvent&) const = default;
};

constexpr int kMaxKeyEvents = 16;  // per frame; later ones in the same frame are dropped

// One frame's view of the mouse, SPACE and ESC, and the key events since the last poll.
struct InputState {
  int64_t mouseX = -1, mouseY = -1;  // client coordinates; -1, -1 outside the client area
  bool leftDown = false;             // physical button state, whichever window has the focus
  bool rightDown = false;
  bool spaceDown = false;      // keys read as up while the window lacks the focus
  bool spaceReleased = false;  // down at the previous poll, up now
  bool escDown = false;
  bool escReleased = false;
  std::array<KeyEvent, kMaxKeyEvents> keys{};  // [0, keyCount), in the order they came
  int64_t keyCount = 0;
  // Appends one event; false when this frame has no room left for it.
  bool AddKey(const KeyEvent& event) {
    if (keyCount >= kMaxKeyEvents) return false;
    keys[static_cast<std::size_t>(keyCount++)] = event;
    return true;
  }
  bool operator==(const InputState&) const = default;
};

// A wait that only the next input or window event ends.
constexpr int64_t kNoDeadline = std::numeric_limits<int64_t>::max();

class System {
 public:
  virtual ~System() = default;

  // Start-up, in the order the game calls them. Each false is a start-up failure.
  virtual bool StartVideo() = 0;    // false when no display can show a window
  virtual double DisplayDpi() = 0;  // logical DPI; 0 when it cannot be read
  virtual bool OpenWindow(int64_t width, int64_t height, const std::string& title) = 0;
  virtual void SetMinimumClientSize(int64_t width, int64_t height) = 0;
  virtual bool StartSpriteLayer() = 0;
  virtual bool StartKeyboard() = 0;
  // The screen always covers the whole client area, whatever size it takes later.
  virtual bool OpenScreen() = 0;
  virtual void CloseWindow() = 0;  // also releases the screen and everything made on it

  // The window's client size; 0 x 0 while it is minimised.
  virtual void GetClientSize(int64_t& width, int64_t& height) = 0;

  // The screen: a canvas drawing on its back buffer (null before OpenScreen), the metrics of the
  // fonts loaded on it, and presentation paced to the display's refresh.
  virtual Canvas* ScreenCanvas() = 0;
  virtual const TextMetrics* ScreenMetrics() = 0;
  virtual void Present() = 0;
  // Waits out a frame that needed no new picture, until `deadlineMs` (on the NowMs clock) or the
  // next input or window event, whichever comes first, so an idle game does not wake; a deadline
  // within a refresh waits no longer than the refresh. kNoDeadline: until the event.
  virtual void SkipFrame(int64_t deadlineMs) = 0;
  virtual bool TakeRedrawRequest() = 0;  // true once after an expose, resize or dialog
  // Full screen at the display's size, or back to the window's own size and place.
  virtual void ToggleFullScreen() = 0;
  // Called while a dialog holds the frame loop, whenever the game window must show its last
  // frame again.
  virtual void SetRepaintHandler(std::function<void()> repaint) = 0;

  // Every frame: pending window events (true when the player asked to close the window), then
  // the mouse and keys, then the clock.
  virtual bool DrainEvents() = 0;
  virtual InputState PollInput() = 0;
  virtual int64_t NowMs() = 0;        // monotonic milliseconds
  virtual int64_t UnixSeconds() = 0;  // wall clock: seconds since the epoch, UTC

  // Modal dialogs in front of the game window.
  virtual MessageAnswer ShowMessage(const std::string& title, const std::string& text,
                                    MessageButtons buttons, bool warning) = 0;
  virtual std::string AskText(const std::string& title, const std::string& prompt,
                              const std::string& initial) = 0;

  // The cryptographic random source.
  virtual bool OpenSecureRandom() = 0;
  virtual bool ReadSecureWord(uint32_t& word) = 0;
  virtual void CloseSecureRandom() = 0;

  // The display went away under the game (its server crashed, or the desktop session was killed):
  // `keep` is called once, right before the process ends, since nothing of the display can be
  // released any more. It saves the game and says whether it was kept; it must not touch the
  // display, the window or anything else of this seam. The process then ends with code 0 when
  // the game was kept (or no game had started yet), 1 when it could not be. Null: none.
  virtual void SetLostDisplayHook(std::function<bool()> keep) = 0;

  // The files the game keeps, and where the executable and the data folder are.
  virtual FileService& Files() = 0;
  // The audio output, not yet opened; the sound module owns and opens it.
  virtual std::unique_ptr<Audio> MakeAudio() = 0;
};

}  // namespace platform
