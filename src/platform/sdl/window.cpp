// SDL2 window, renderer and presentation, and the clock. The dialogs live in dialogs.cpp.
#include "platform/sdl/window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <SDL_ttf.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <thread>

#include "platform/sdl/quiet.h"
#include "platform/sdl/sdl_canvas.h"
#include "platform/sdl/session_end.h"
#include "platform/sdl/window_internal.h"
#include "platform/system.h"

namespace platform {

namespace {

// How long the loop rests when waiting for an event fails instead of waiting.
constexpr double kFailedWaitSeconds = 0.1;

double Seconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SleepSeconds(double seconds) {
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Keeps the loop at the display's rate even when presenting returns at once. With a real
// vsync the present has already waited for the refresh, so this rarely sleeps. A timer due
// before the refresh (`until`, seconds) cuts the sleep short and leaves the refresh as it was.
void Pace(Window* w, double until = std::numeric_limits<double>::infinity()) {
  double now = Seconds();
  if (until < w->nextFrame) {
    SleepSeconds(until - now);
    return;
  }
  if (now < w->nextFrame) {
    SleepSeconds(w->nextFrame - now);
    now = w->nextFrame;
  }
  w->nextFrame = std::max(w->nextFrame + w->frameSeconds, now);
  if (w->nextFrame > now + w->frameSeconds) w->nextFrame = now + w->frameSeconds;
}

double ReadXftDpi() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 0;
  double dpi = 0;
  if (const char* resources = XResourceManagerString(display)) {
    XrmInitialize();
    XrmDatabase db = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value;
    if (db && XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
      dpi = std::atof(value.addr);
    }
    if (db) XrmDestroyDatabase(db);
  }
  XCloseDisplay(display);
  return dpi;
}

// The canvas holds textures of the renderer, so it goes first.
void CloseScreen(Window* w) {
  w->canvas.reset();
  if (w->renderer) SDL_DestroyRenderer(w->renderer);
  w->renderer = nullptr;
}

}  // namespace

void InitPlatform() {
  SilenceSdlLog();
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // The session's signals have a watcher of their own (session_end.h), which also sees SIGHUP and
  // reaches the dialogs.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Windows are drawn by SDL's software renderer straight into their framebuffer. Left to
  // choose, SDL would open a GL context just to decide how to show that framebuffer.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER);
  SetQuitWakeups(SDL_WasInit(SDL_INIT_EVENTS) != 0);
}

void ShutdownPlatform() {
  SetQuitWakeups(false);
  CloseDialogWindows();
  if (TTF_WasInit()) TTF_Quit();
  SDL_Quit();
}

double DisplayDpi() {
  static const double dpi = ReadXftDpi();  // the desktop setting does not change while we run
  return dpi;
}

bool StartVideo() {
  // A display that was not there is not probed again: the error box that follows would only
  // repeat the probe, and the toolkits' complaints with it.
  static bool missing = false;
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  if (missing) return false;
  {
    // Without a display the toolkits SDL tries in turn print their complaints to stderr.
    const QuietStderr quiet;
    missing = SDL_InitSubSystem(SDL_INIT_VIDEO) != 0;
  }
  if (missing) return false;
  // Xlib's own handler for a lost display ends the process at once, with the game unsaved.
  CatchLostDisplay();
  // Without a display SDL settles for a driver that shows nothing; a game nobody can see would
  // run on unseen, so treat that as no display at all.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    missing = true;
    return false;
  }
  return true;
}

Window* OpenGameWindow(int64_t width, int64_t height, const std::string& title) {
  if (!StartVideo()) return nullptr;
  SDL_Window* sdl =
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                       static_cast<int>(width), static_cast<int>(height), SDL_WINDOW_RESIZABLE);
  if (!sdl) return nullptr;
  auto* w = new Window;
  w->sdl = sdl;
  double dpi = DisplayDpi();
  w->fontDpi = dpi > 0 ? dpi : 96;
  SDL_DisplayMode mode;
  if (SDL_GetWindowDisplayMode(sdl, &mode) == 0 && mode.refresh_rate > 0) {
    w->frameSeconds = 1.0 / mode.refresh_rate;
  }
  return w;
}

void SetMinimumClientSize(Window* w, int64_t width, int64_t height) {
  SDL_SetWindowMinimumSize(w->sdl, static_cast<int>(width), static_cast<int>(height));
}

void GetClientSize(Window* w, int64_t& width, int64_t& height) {
  int cw = 0, ch = 0;
  if (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_MINIMIZED) {
    width = height = 0;
    return;
  }
  SDL_GetWindowSize(w->sdl, &cw, &ch);
  width = cw;
  height = ch;
  GateSize(w->resize, NowMs(), width, height);
}

void CloseGameWindow(Window* w) {
  if (!w) return;
  CloseScreen(w);
  SDL_DestroyWindow(w->sdl);
  delete w;
}

namespace {

// Key codes, not scan codes: '+' and the brackets are where the player's layout puts them.
Key GameKey(SDL_Keycode code) {
  switch (code) {
    case SDLK_UP:
      return Key::kUp;
    case SDLK_DOWN:
      return Key::kDown;
    case SDLK_LEFT:
      return Key::kLeft;
    case SDLK_RIGHT:
      return Key::kRight;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return Key::kEnter;
    case SDLK_TAB:
      return Key::kTab;
    case SDLK_0:
    case SDLK_KP_0:
      return Key::kDigit0;
    case SDLK_1:
    case SDLK_KP_1:
      return Key::kDigit1;
    case SDLK_2:
    case SDLK_KP_2:
      return Key::kDigit2;
    case SDLK_3:
    case SDLK_KP_3:
      return Key::kDigit3;
    case SDLK_4:
    case SDLK_KP_4:
      return Key::kDigit4;
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS:
      return Key::kPlus;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
      return Key::kMinus;
    case SDLK_LEFTBRACKET:
      return Key::kLeftBracket;
    case SDLK_RIGHTBRACKET:
      return Key::kRightBracket;
    case SDLK_a:
      return Key::kA;
    case SDLK_c:
      return Key::kC;
    case SDLK_g:
      return Key::kG;
    case SDLK_h:
      return Key::kH;
    case SDLK_m:
      return Key::kM;
    case SDLK_n:
      return Key::kN;
    case SDLK_p:
      return Key::kP;
    case SDLK_r:
      return Key::kR;
    case SDLK_F1:
      return Key::kF1;
    case SDLK_F11:
      return Key::kF11;
    default:
      return Key::kNone;
  }
}

void KeepKey(Window* w, const SDL_KeyboardEvent& e) {
  if (w == nullptr || e.windowID != SDL_GetWindowID(w->sdl)) return;
  const Key key = GameKey(e.keysym.sym);
  if (key == Key::kNone) return;
  w->keys.AddKey(KeyEvent{key, e.type == SDL_KEYDOWN, e.repeat != 0,
                          (e.keysym.mod & KMOD_SHIFT) != 0, (e.keysym.mod & KMOD_ALT) != 0});
}

}  // namespace

bool DrainEvents(Window* w) {
  // A signal's quit counts even when its SDL_QUIT could not be pushed or a dialog took it.
  if (QuitRequested()) return true;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (e.type == SDL_QUIT) return true;
    if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) KeepKey(w, e.key);
    if (e.type == SDL_WINDOWEVENT) {
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) return true;
      if (w) w->redraw = true;  // exposed, resized, restored: draw it again
    }
  }
  return false;
}

void TakeKeyEvents(Window* w, InputState& in) {
  if (w == nullptr) return;
  in.keys = w->keys.keys;
  in.keyCount = w->keys.keyCount;
  w->keys.keyCount = 0;
}

namespace {

// Full screen is the window manager's to grant. An X server without one (a kiosk, a test
// display) would leave the window as it is while SDL takes it for the display's size.
bool WindowManagerRuns(SDL_Window* sdl) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(sdl, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  Display* display = info.info.x11.display;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool found =
      XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                         &format, &count, &after, &data) == Success &&
      type == XA_WINDOW && count == 1;
  if (data != nullptr) XFree(data);
  return found;
}

}  // namespace

void ToggleFullScreen(Window* w) {
  if (w == nullptr) return;
  if (!w->fullScreen) {
    SDL_Rect bounds;
    const int index = SDL_GetWindowDisplayIndex(w->sdl);
    if (index < 0 || SDL_GetDisplayBounds(index, &bounds) != 0) return;
    SDL_GetWindowPosition(w->sdl, &w->windowedX, &w->windowedY);
    SDL_GetWindowSize(w->sdl, &w->windowedW, &w->windowedH);
    if (WindowManagerRuns(w->sdl)) {
      if (SDL_SetWindowFullscreen(w->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return;
      w->fullScreenByHand = false;
    } else {
      SDL_SetWindowBordered(w->sdl, SDL_FALSE);
      SDL_SetWindowPosition(w->sdl, bounds.x, bounds.y);
      SDL_SetWindowSize(w->sdl, bounds.w, bounds.h);
      w->fullScreenByHand = true;
    }
    w->fullScreen = true;
  } else {
    if (w->fullScreenByHand) {
      SDL_SetWindowBordered(w->sdl, SDL_TRUE);
    } else if (SDL_SetWindowFullscreen(w->sdl, 0) != 0) {
      return;
    }
    w->fullScreen = w->fullScreenByHand = false;
    // Not every window manager gives the old size and place back by itself.
    SDL_SetWindowSize(w->sdl, w->windowedW, w->windowedH);
    SDL_SetWindowPosition(w->sdl, w->windowedX, w->windowedY);
  }
  w->redraw = true;
}

bool StartSpriteLayer() { return TTF_WasInit() || TTF_Init() == 0; }

bool StartKeyboard() { return SDL_GetKeyboardState(nullptr) != nullptr; }

bool OpenScreen(Window* w) {
  CloseScreen(w);
  // The software renderer: the board is small fills and text, which it draws in about a
  // millisecond, and it starts in a fraction of the time of a GL context (on a desktop without a
  // GPU driver, GL is itself software and costs more memory and CPU). It does not wait for the
  // display's refresh; Flip paces the loop instead.
  w->renderer = SDL_CreateRenderer(w->sdl, -1, SDL_RENDERER_SOFTWARE);
  if (!w->renderer) w->renderer = SDL_CreateRenderer(w->sdl, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!w->renderer) return false;
  // A GL renderer recreates the X window, which loses its minimum-size hint: set it again.
  int minWidth = 0, minHeight = 0;
  SDL_GetWindowMinimumSize(w->sdl, &minWidth, &minHeight);
  if (minWidth > 0 && minHeight > 0) SDL_SetWindowMinimumSize(w->sdl, minWidth, minHeight);
  SDL_SetRenderDrawBlendMode(w->renderer, SDL_BLENDMODE_NONE);
  w->canvas = std::make_unique<SdlCanvas>(w->renderer, w->fontDpi);
  w->redraw = true;
  return true;
}

Canvas* ScreenCanvas(Window* w) { return w->canvas.get(); }

void Flip(Window* w) {
  const SDL_Rect* rects = nullptr;
  const int count = w->canvas ? w->canvas->TakePresentRects(&rects) : 0;
  if (w->renderer && count > 0) {
    // The software renderer draws on the window's surface: only what changed goes out.
    SDL_RenderFlush(w->renderer);
    SDL_UpdateWindowSurfaceRects(w->sdl, rects, count);
  } else if (w->renderer) {
    SDL_RenderPresent(w->renderer);
  }
  Pace(w);
}

void SkipFrame(Window* w, int64_t deadlineMs) {
  deadlineMs = std::min(deadlineMs, GateDeadline(w->resize));  // a size held back is shown
  const int64_t now = NowMs();
  const auto frameMs = static_cast<int64_t>(std::ceil(w->frameSeconds * 1000));
  // Something due now moves every frame; something due within the refresh cuts it short.
  if (deadlineMs <= now) return Pace(w);
  if (deadlineMs - now <= frameMs) return Pace(w, static_cast<double>(deadlineMs) / 1000);
  // Either wait leaves the event for the next drain. A quit from a signal pushes SDL_QUIT, which
  // wakes it; a lost display ends it through the I/O error handler. One millisecond past the
  // deadline, since the clocks' milliseconds may be cut at different points.
  if (deadlineMs == kNoDeadline) {
    // An event queue that fails to wait must not turn the loop into a spin.
    if (SDL_WaitEvent(nullptr) == 0) SleepSeconds(kFailedWaitSeconds);
  } else {
    const int64_t wait = std::min<int64_t>(deadlineMs - now + 1, INT32_MAX);
    SDL_WaitEventTimeout(nullptr, static_cast<int>(wait));
  }
  w->nextFrame = Seconds();
}

void SetRepaintHandler(Window* w, std::function<void()> repaint) {
  if (w) w->repaint = std::move(repaint);
}

bool TakeRedrawRequest(Window* w) {
  // While a drag's size is held back the exposes wait for it: drawing the old layout into the
  // new size would cost a whole frame for nothing.
  if (w->resize.holding) return false;
  bool redraw = w->redraw;
  w->redraw = false;
  return redraw;
}

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace platform
