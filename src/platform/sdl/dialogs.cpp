// The message box and the text prompt as small modal windows of their own, drawn with the game's
// fonts through an SdlCanvas on the dialog's own renderer. They block the main thread and touch
// the game window only through its repaint handler, its redraw request and its close request.
#include "platform/dialogs.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_layout.h"
#include "platform/sdl/dialog_probe.h"
#include "platform/sdl/sdl_canvas.h"
#include "platform/sdl/session_end.h"
#include "platform/sdl/window_internal.h"

namespace platform {

namespace {

constexpr char kFontFace[] = "Segoe UI";
constexpr int kFontPoints = 9;
constexpr int kWaitMs = 250;             // an idle dialog wakes this often, to recheck keys
constexpr Uint32 kReleaseWaitMs = 5000;  // the longest an answered dialog waits for its key
constexpr int kMaxFailedWaits = 20;      // the event queue broke: give up rather than spin

constexpr Color kContentFace = RGB(255, 255, 255);
constexpr Color kDialogFace = RGB(240, 240, 240);
constexpr Color kBandLine = RGB(223, 223, 223);
constexpr Color kText = RGB(0, 0, 0);
constexpr Color kButtonFace = RGB(225, 225, 225);
constexpr Color kButtonBorder = RGB(173, 173, 173);
constexpr Color kButtonHot = RGB(229, 241, 251);
constexpr Color kButtonDown = RGB(204, 228, 247);
constexpr Color kAccent = RGB(0, 120, 215);
constexpr Color kAccentDark = RGB(0, 84, 153);
constexpr Color kFieldFace = RGB(255, 255, 255);

std::function<void(const DialogFrame&)>& Probe() {
  static std::function<void(const DialogFrame&)> probe;
  return probe;
}

// One dialog window with its renderer, canvas and font, released in that reverse order.
struct DialogWindow {
  SDL_Window* sdl = nullptr;
  SDL_Renderer* renderer = nullptr;
  std::unique_ptr<SdlCanvas> canvas;
  Font* font = nullptr;
  Uint32 id = 0;

  DialogWindow() = default;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  ~DialogWindow() { Close(); }
  void Close() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
      // Video already shut down and took the window, renderer and textures with it.
      (void)canvas.release();
      renderer = nullptr;
      sdl = nullptr;
      return;
    }
    canvas.reset();
    font = nullptr;
    if (renderer) SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    if (sdl) SDL_DestroyWindow(sdl);
    sdl = nullptr;
  }
};

// The window of the last dialog, hidden, until the next dialog opens or the platform shuts
// down. SDL wakes a waiting loop by sending its newest window a message over a second X
// connection; keeping the window a while lets most such messages arrive while it still exists,
// and the error the server gives for one that comes later is let pass (session_end.h).
std::unique_ptr<DialogWindow>& Retired() {
  static std::unique_ptr<DialogWindow> retired;
  return retired;
}

// A round trip, so the server has taken SDL's wake-up messages to this window before it hides.
void SettleWakeups(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    XSync(info.info.x11.display, False);
  }
}

enum class Opened { Yes, NoWindow, Unseen };

double DialogDpi() {
  const double dpi = DisplayDpi();
  return dpi > 0 && std::isfinite(dpi) ? dpi : 96.0;
}

// Video for the dialog: the game's own when it is up. A driver that shows nothing counts only
// for tests that watch the dialog; nobody else could ever answer it.
Opened PrepareVideo() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    const bool up = Probe() ? SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 : StartVideo();
    if (!up) return Opened::NoWindow;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool unseen =
      !driver || SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0;
  return unseen && !Probe() ? Opened::Unseen : Opened::Yes;
}

// Loads the dialog font on a canvas without a renderer, so the window can open at its size.
struct Measurer {
  SdlCanvas canvas{nullptr, DialogDpi()};
  Font* font = canvas.LoadFont(kFontFace, kFontPoints, false);
  double Width(const std::string& text) {
    canvas.SetFont(font);
    return canvas.TextWidth(text);
  }
  double LineHeight() {
    canvas.SetFont(font);
    return canvas.TextHeight("");
  }
};

bool Showing(Window* parent) {
  return parent && parent->sdl &&
         !(SDL_GetWindowFlags(parent->sdl) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED));
}

// Centred over the game window when it shows, else on the screen.
void CentrePosition(Window* parent, int w, int h, int& x, int& y) {
  x = y = static_cast<int>(SDL_WINDOWPOS_CENTERED);
  if (!Showing(parent)) return;
  int px = 0, py = 0, pw = 0, ph = 0;
  SDL_GetWindowPosition(parent->sdl, &px, &py);
  SDL_GetWindowSize(parent->sdl, &pw, &ph);
  x = px + (pw - w) / 2;
  y = py + (ph - h) / 2;
  SDL_Rect bounds;
  const int display = SDL_GetWindowDisplayIndex(parent->sdl);
  if (display >= 0 && SDL_GetDisplayUsableBounds(display, &bounds) == 0) {
    x = std::clamp(x, bounds.x, std::max(bounds.x, bounds.x + bounds.w - w));
    y = std::clamp(y, bounds.y, std::max(bounds.y, bounds.y + bounds.h - h));
  }
}

Opened OpenDialogWindow(DialogWindow& d, Window* parent, const std::string& title, int64_t width,
                        int64_t height) {
  Retired().reset();  // a wake-up still on its way to it fails harmlessly
  const int w = static_cast<int>(std::clamp<int64_t>(width, 1, 16384));
  const int h = static_cast<int>(std::clamp<int64_t>(height, 1, 16384));
  int x = 0, y = 0;
  CentrePosition(parent, w, h, x, y);
  d.sdl = SDL_CreateWindow(title.c_str(), x, y, w, h, SDL_WINDOW_HIDDEN);
  if (!d.sdl) return Opened::NoWindow;
  d.id = SDL_GetWindowID(d.sdl);
  // A small picture redrawn only on events: the software renderer straight into the window's
  // framebuffer, as the game window's. Left to choose, SDL would open a GL context first.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  d.renderer = SDL_CreateRenderer(d.sdl, -1, SDL_RENDERER_SOFTWARE);
  if (!d.renderer) d.renderer = SDL_CreateRenderer(d.sdl, -1, 0);
  if (!d.renderer) return Opened::NoWindow;
  d.canvas = std::make_unique<SdlCanvas>(d.renderer, DialogDpi());
  d.font = d.canvas->LoadFont(kFontFace, kFontPoints, false);
  if (!d.font) return Opened::NoWindow;
  if (parent && parent->sdl) SDL_SetWindowModalFor(d.sdl, parent->sdl);
  SDL_ShowWindow(d.sdl);
  SDL_RaiseWindow(d.sdl);
  SDL_SetWindowInputFocus(d.sdl);
  return Opened::Yes;
}

Uint32 EventWindowId(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT:
      return e.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return e.key.windowID;
    case SDL_TEXTINPUT:
      return e.text.windowID;
    case SDL_TEXTEDITING:
      return e.edit.windowID;
    case SDL_MOUSEMOTION:
      return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return e.button.windowID;
    case SDL_MOUSEWHEEL:
      return e.wheel.windowID;
    default:
      return 0;
  }
}

// What every dialog shares with the loop that runs it.
struct DialogState {
  bool dirty = true;      // the picture must be drawn again
  bool answered = false;  // the loop ends, once `heldKey` is up again
  SDL_Scancode heldKey = SDL_SCANCODE_UNKNOWN;

  // A key that answers keeps the dialog until it is released, so the game never sees the
  // release of an Escape or a Space meant for the dialog.
  void AnswerWithKey(SDL_Scancode key) {
    answered = true;
    heldKey = key;
    dirty = true;
  }
  void Answer() {
    answered = true;
    dirty = true;
  }
};

struct DialogHooks {
  std::function<void()> draw;
  std::function<void(const SDL_Event&)> input;  // keys, text, and the dialog's own mouse
  std::function<void()> close;                  // the dialog's close box
  std::function<void()> quit;                   // a signal asked the game to end: answer as closed
};

// Puts back what the game must still see once the dialog is gone: everything but the
// dialog's own events, and a close request made meanwhile.
void RequeueAfterDialog(Uint32 dialogId, bool hasParent, bool closeRequested) {
  SDL_PumpEvents();
  std::vector<SDL_Event> keep;
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    if (e.type == SDL_QUIT) {
      // Without a game window the quit came from closing the dialog, its only window.
      closeRequested = closeRequested || hasParent;
      continue;
    }
    if (EventWindowId(e) == dialogId) continue;
    keep.push_back(e);
  }
  if (closeRequested) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    quit.quit.timestamp = SDL_GetTicks();
    keep.push_back(quit);
  }
  for (auto& kept : keep) SDL_PeepEvents(&kept, 1, SDL_ADDEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
}

// Keys pressed before the dialog appeared were meant for the game: a SPACE tap that stops
// auto-run as the out-of-funds box opens must not answer YES. Such a key, queued or still held
// when the dialog starts, is ignored until it has been released.
class EarlyKeys {
 public:
  EarlyKeys() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
    if (const Uint8* keys = SDL_GetKeyboardState(nullptr)) {
      for (int k = 0; k < SDL_NUM_SCANCODES; ++k) held_[k] = keys[k] != 0;
    }
  }
  // True for an event the dialog must not see.
  bool Swallow(const SDL_Event& e) {
    if (e.type == SDL_TEXTINPUT)
      return std::find(std::begin(held_), std::end(held_), true) != std::end(held_);
    const SDL_Scancode key = e.key.keysym.scancode;
    if (key < 0 || key >= SDL_NUM_SCANCODES || !held_[key]) return false;
    if (e.type == SDL_KEYUP) held_[key] = false;
    return true;
  }

 private:
  bool held_[SDL_NUM_SCANCODES] = {};
};

// Runs the dialog until it is answered. Returns false when the event queue failed and the
// dialog could not be answered.
bool RunModal(Window* parent, DialogWindow& d, DialogState& state, const DialogHooks& hooks) {
  const Uint32 parentId = parent && parent->sdl ? SDL_GetWindowID(parent->sdl) : 0;
  EarlyKeys early;
  bool closeRequested = false;
  bool ok = true;
  int failedWaits = 0;
  Uint32 answeredAt = 0;
  for (;;) {
    // The session is ending: nobody is left to answer, and the game must get on to its save.
    if (QuitRequested()) {
      if (!state.answered) hooks.quit();
      closeRequested = true;
      break;
    }
    if (state.answered) {
      if (answeredAt == 0) answeredAt = SDL_GetTicks();
      const Uint8* keys = SDL_GetKeyboardState(nullptr);
      if (state.heldKey == SDL_SCANCODE_UNKNOWN || !keys || !keys[state.heldKey] ||
          SDL_TICKS_PASSED(SDL_GetTicks(), answeredAt + kReleaseWaitMs)) {
        break;
      }
    }
    bool drawn = false;
    if (state.dirty) {
      state.dirty = false;
      hooks.draw();
      drawn = true;
    }
    if (Probe()) Probe()(DialogFrame{d.sdl, d.renderer, drawn});
    if (drawn) SDL_RenderPresent(d.renderer);

    SDL_Event e;
    const Uint32 waitStart = SDL_GetTicks();
    if (!SDL_WaitEventTimeout(&e, kWaitMs)) {
      // A wait that ends early without an event is an error, not a timeout.
      if (!SDL_TICKS_PASSED(SDL_GetTicks(), waitStart + kWaitMs / 2) &&
          ++failedWaits >= kMaxFailedWaits) {
        ok = false;
        break;
      }
      continue;
    }
    failedWaits = 0;
    bool parentExposed = false;
    do {
      switch (e.type) {
        case SDL_QUIT:
          // With no game window behind it, closing the dialog itself sends this.
          if (parentId != 0) closeRequested = true;
          break;
        case SDL_WINDOWEVENT:
          if (e.window.windowID == d.id) {
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
              if (!state.answered) hooks.close();
            } else {
              if (!state.answered) hooks.input(e);
              state.dirty = true;
            }
          } else if (parentId != 0 && e.window.windowID == parentId) {
            switch (e.window.event) {
              case SDL_WINDOWEVENT_CLOSE:
                closeRequested = true;
                break;
              case SDL_WINDOWEVENT_FOCUS_GAINED:
                // The game takes no input meanwhile: the dialog comes back to the front.
                SDL_RaiseWindow(d.sdl);
                SDL_SetWindowInputFocus(d.sdl);
                break;
              case SDL_WINDOWEVENT_EXPOSED:
              case SDL_WINDOWEVENT_SHOWN:
              case SDL_WINDOWEVENT_RESTORED:
              case SDL_WINDOWEVENT_MAXIMIZED:
              case SDL_WINDOWEVENT_SIZE_CHANGED:
                parentExposed = true;
                break;
              default:
                break;
            }
          }
          break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
        case SDL_TEXTINPUT:
          // Keys belong to the modal dialog whichever window the system sent them to.
          if (!state.answered && !early.Swallow(e)) hooks.input(e);
          break;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
          if (!state.answered && EventWindowId(e) == d.id) hooks.input(e);
          break;
        default:
          break;
      }
    } while (SDL_PollEvent(&e));
    if (parentExposed && parent->repaint) parent->repaint();
  }

  if (Showing(parent)) SDL_SetWindowInputFocus(parent->sdl);
  if (parent) parent->redraw = true;
  SettleWakeups(d.sdl);
  SDL_HideWindow(d.sdl);
  RequeueAfterDialog(d.id, parentId != 0, closeRequested);
  return ok;
}

void Retire(std::unique_ptr<DialogWindow> d) {
  if (d && d->sdl) Retired() = std::move(d);
}

void Fill(Canvas& c, const DialogRect& r, Color color) {
  c.SetDrawingMode(DrawMode::Opaque);
  c.Box(r.x, r.y, r.w, r.h, color);
}

void Frame(Canvas& c, const DialogRect& r, Color color) {
  c.SetDrawingMode(DrawMode::Outline);
  c.Box(r.x, r.y, r.w, r.h, color);
  c.SetDrawingMode(DrawMode::Opaque);
}

// A push button: its face shows the mouse over it and the mouse held on it; the default (or
// focused) button wears the accent border.
void DrawButton(Canvas& c, Font* font, const DialogRect& r, const std::string& label, bool focus,
                bool hot, bool down) {
  Fill(c, r, down ? kButtonDown : (hot ? kButtonHot : kButtonFace));
  if (focus || hot || down) {
    const Color edge = down ? kAccentDark : kAccent;
    Frame(c, r, edge);
    if (focus) Frame(c, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, edge);
  } else {
    Frame(c, r, kButtonBorder);
  }
  c.SetFont(font);
  c.SetFrontColor(kText);
  c.SetDrawingMode(DrawMode::TransparentText);
  const double tw = std::round(c.TextWidth(label));
  const double th = std::round(c.TextHeight(label));
  c.DrawText(static_cast<double>(r.x) + std::floor((static_cast<double>(r.w) - tw) / 2),
             static_cast<double>(r.y) + std::floor((static_cast<double>(r.h) - th) / 2), label);
  c.SetDrawingMode(DrawMode::Opaque);
}

// The warning sign: a yellow triangle with rounded corners and a dark "!".
Image* MakeWarningIcon(Canvas& c, int64_t size) {
  Image* icon = c.CreateImage(size, size, RGBA(0, 0, 0, 0));
  if (!icon || !c.BeginVectorDrawing(icon)) return icon;
  const double s = static_cast<double>(size);
  const double round = s * 0.07;
  const double top = round + s * 0.03;
  const double bottom = s - round - s * 0.06;
  c.SetVectorColor(RGBA(250, 190, 20, 255));
  for (int pass = 0; pass < 2; ++pass) {
    c.MoveTo(s / 2, top);
    c.AddLineTo(s - round, bottom);
    c.AddLineTo(round, bottom);
    if (pass == 0) {
      c.FillPath();
    } else {
      c.AddLineTo(s / 2, top);
      c.StrokePath(round * 2);
    }
  }
  c.SetVectorColor(RGBA(40, 40, 40, 255));
  c.MoveTo(s / 2, s * 0.36);
  c.AddLineTo(s / 2, s * 0.62);
  c.StrokePath(s * 0.1);
  c.AddCircle(s / 2, s * 0.76, s * 0.065);
  c.FillPath();
  c.EndVectorDrawing();
  return icon;
}

bool BeginPicture(DialogWindow& d) {
  if (!d.canvas->BeginDrawing(nullptr)) return false;
  SDL_RenderSetClipRect(d.renderer, nullptr);
  return true;
}

void ClipTo(DialogWindow& d, const DialogRect& r) {
  const SDL_Rect clip{static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.w),
                      static_cast<int>(r.h)};
  SDL_RenderSetClipRect(d.renderer, &clip);
}

MessageAnswer Unanswerable(MessageButtons buttons) {
  return DismissAnswer(buttons).value_or(MessageAnswer::No);
}

// SDL's own box, for when the game's cannot open; it answers as closing it would on failure.
MessageAnswer PlainMessageBox(Window* parent, const std::string& title, const std::string& text,
                              MessageButtons buttons, bool warning) {
  std::string body;  // the box breaks lines at '\n' only
  for (char c : text) {
    if (c != '\r') body += c;
  }
  const int kYes = 1, kNo = 2, kCancel = 3, kOk = 4;
  SDL_MessageBoxButtonData data[3];
  int count = 0;
  auto add = [&](int id, const char* label, Uint32 flags) { data[count++] = {flags, id, label}; };
  switch (buttons) {
    case MessageButtons::Ok:
      add(kOk, "OK",
          SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT);
      break;
    case MessageButtons::YesNo:
      add(kYes, "Yes", SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT);
      add(kNo, "No", 0);
      break;
    case MessageButtons::YesNoCancel:
      add(kYes, "Yes", SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT);
      add(kNo, "No", 0);
      add(kCancel, "Cancel", SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT);
      break;
  }
  SDL_MessageBoxData box = {};
  box.flags = (warning ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION) |
              SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  box.window = parent ? parent->sdl : nullptr;
  box.title = title.c_str();
  box.message = body.c_str();
  box.numbuttons = count;
  box.buttons = data;
  int pressed = -1;
  const int failed = SDL_ShowMessageBox(&box, &pressed);
  if (parent) parent->redraw = true;
  if (failed != 0) {
    // No display at all: the terminal, if any, is the only place left to say it.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
    return Unanswerable(buttons);
  }
  switch (pressed) {
    case kYes:
      return MessageAnswer::Yes;
    case kNo:
      return MessageAnswer::No;
    case kCancel:
      return MessageAnswer::Cancel;
    case kOk:
      return MessageAnswer::Ok;
    default:
      return Unanswerable(buttons);
  }
}

bool IsEnter(SDL_Keycode key) { return key == SDLK_RETURN || key == SDLK_KP_ENTER; }

}  // namespace

void SetDialogProbe(std::function<void(const DialogFrame&)> probe) { Probe() = std::move(probe); }

void CloseDialogWindows() { Retired().reset(); }

MessageAnswer ShowMessageBox(Window* parent, const std::string& title, const std::string& text,
                             MessageButtons buttons, bool warning) {
  const Opened video = PrepareVideo();
  if (video == Opened::Unseen) return Unanswerable(buttons);
  if (video == Opened::NoWindow) return PlainMessageBox(parent, title, text, buttons, warning);

  const double scale = DialogDpi() / 96.0;
  MessageBoxLayout layout;
  {
    Measurer m;
    if (!m.font) return PlainMessageBox(parent, title, text, buttons, warning);
    layout = LayOutMessageBox(
        title, text, buttons, warning, scale, [&m](const std::string& s) { return m.Width(s); },
        m.LineHeight());
  }
  auto window = std::make_unique<DialogWindow>();
  DialogWindow& d = *window;
  if (OpenDialogWindow(d, parent, title, layout.width, layout.height) != Opened::Yes) {
    return PlainMessageBox(parent, title, text, buttons, warning);
  }
  Canvas& c = *d.canvas;
  Image* icon = layout.hasIcon ? MakeWarningIcon(c, layout.icon.w) : nullptr;

  DialogState state;
  const int count = static_cast<int>(layout.buttons.size());
  int focus = 0;     // the button Enter and Space answer; the first until the player moves it
  int hot = -1;      // under the mouse
  int pressed = -1;  // the mouse went down on it
  MessageAnswer answer = Unanswerable(buttons);
  auto buttonAt = [&](int64_t x, int64_t y) {
    for (int i = 0; i < count; ++i) {
      if (InDialogRect(layout.buttons[i].rect, x, y)) return i;
    }
    return -1;
  };

  DialogHooks hooks;
  hooks.draw = [&] {
    if (!BeginPicture(d)) return;
    Fill(c, {0, 0, layout.width, layout.height}, kContentFace);
    Fill(c, layout.buttonBand, kDialogFace);
    Fill(c, {0, layout.buttonBand.y, layout.width, 1}, kBandLine);
    if (icon) c.DrawImage(icon, layout.icon.x, layout.icon.y);
    c.SetFont(d.font);
    c.SetFrontColor(kText);
    c.SetDrawingMode(DrawMode::TransparentText);
    for (const auto& line : layout.lines) {
      c.DrawText(static_cast<double>(line.x), static_cast<double>(line.y), line.text);
    }
    for (int i = 0; i < count; ++i) {
      const bool down = pressed == i && hot == i;
      DrawButton(c, d.font, layout.buttons[i].rect, layout.buttons[i].label, focus == i, hot == i,
                 down);
    }
    c.EndDrawing();
  };
  hooks.close = [&] {
    if (auto dismissed = DismissAnswer(buttons)) {
      answer = *dismissed;
      state.Answer();
    }
  };
  // As a box that cannot be shown: a YES/NO box, which has no close box, answers No.
  hooks.quit = [&] {
    answer = Unanswerable(buttons);
    state.Answer();
  };
  hooks.input = [&](const SDL_Event& e) {
    switch (e.type) {
      case SDL_KEYDOWN: {
        const SDL_Keycode key = e.key.keysym.sym;
        if (IsEnter(key) || key == SDLK_SPACE) {
          if (!e.key.repeat) {  // a key already held when the box opened answers nothing
            answer = layout.buttons[focus].answer;
            state.AnswerWithKey(e.key.keysym.scancode);
          }
        } else if (key == SDLK_ESCAPE) {
          if (auto dismissed = DismissAnswer(buttons); dismissed && !e.key.repeat) {
            answer = *dismissed;
            state.AnswerWithKey(e.key.keysym.scancode);
          }
        } else if (key == SDLK_TAB || key == SDLK_RIGHT || key == SDLK_DOWN) {
          const bool back = key == SDLK_TAB && (e.key.keysym.mod & KMOD_SHIFT);
          focus = (focus + (back ? count - 1 : 1)) % count;
          state.dirty = true;
        } else if (key == SDLK_LEFT || key == SDLK_UP) {
          focus = (focus + count - 1) % count;
          state.dirty = true;
        }
        break;
      }
      case SDL_MOUSEMOTION: {
        const int now = buttonAt(e.motion.x, e.motion.y);
        if (now != hot) {
          hot = now;
          state.dirty = true;
        }
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) {
          // Focus stays put, so Enter keeps answering the first button unless Tab moved it.
          hot = pressed = buttonAt(e.button.x, e.button.y);
          state.dirty = true;
        }
        break;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) {
          const int at = buttonAt(e.button.x, e.button.y);
          if (pressed >= 0 && at == pressed) {
            answer = layout.buttons[at].answer;
            state.Answer();
          }
          pressed = -1;
          state.dirty = true;
        }
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_LEAVE) hot = -1;
        break;
      default:
        break;
    }
  };
  const bool ran = RunModal(parent, d, state, hooks);
  Retire(std::move(window));
  return ran ? answer : Unanswerable(buttons);
}

std::string AskText(Window* parent, const std::string& title, const std::string& prompt,
                    const std::string& initial) {
  if (PrepareVideo() != Opened::Yes) return {};
  const double scale = DialogDpi() / 96.0;
  const PromptLayout layout = LayOutPrompt(scale);
  auto window = std::make_unique<DialogWindow>();
  DialogWindow& d = *window;
  if (OpenDialogWindow(d, parent, title, layout.width, layout.height) != Opened::Yes) return {};
  Canvas& c = *d.canvas;
  auto measure = [&](const std::string& s) {
    c.SetFont(d.font);
    return c.TextWidth(s);
  };
  const int64_t padding = ScaleLength(3, scale);
  const DialogRect inner{layout.field.x + padding, layout.field.y + 1, layout.field.w - 2 * padding,
                         layout.field.h - 2};

  DialogState state;
  TextField field = MakeTextField(initial);
  int64_t scroll = 0;
  bool accepted = false;
  bool okHot = false;
  bool okPressed = false;

  const bool textInputWasOn = SDL_IsTextInputActive();
  SDL_StartTextInput();
  SDL_Rect imeRect{static_cast<int>(layout.field.x), static_cast<int>(layout.field.y),
                   static_cast<int>(layout.field.w), static_cast<int>(layout.field.h)};
  SDL_SetTextInputRect(&imeRect);

  DialogHooks hooks;
  hooks.draw = [&] {
    if (!BeginPicture(d)) return;
    Fill(c, {0, 0, layout.width, layout.height}, kDialogFace);
    c.SetFont(d.font);
    const double lineHeight = std::round(c.TextHeight(""));

    ClipTo(d, layout.label);
    c.SetFrontColor(kText);
    c.SetDrawingMode(DrawMode::TransparentText);
    c.DrawText(static_cast<double>(layout.label.x),
               static_cast<double>(layout.label.y) +
                   std::floor((static_cast<double>(layout.label.h) - lineHeight) / 2),
               prompt);
    SDL_RenderSetClipRect(d.renderer, nullptr);

    Fill(c, layout.field, kFieldFace);
    Frame(c, layout.field, kAccent);
    const auto caretX =
        static_cast<int64_t>(std::llround(measure(field.text.substr(0, field.caret))));
    const auto textWidth = static_cast<int64_t>(std::llround(measure(field.text)));
    scroll = FieldScroll(scroll, caretX, textWidth, inner.w);
    const double textY =
        static_cast<double>(inner.y) + std::floor((static_cast<double>(inner.h) - lineHeight) / 2);
    ClipTo(d, inner);
    c.SetFrontColor(kText);
    c.SetDrawingMode(DrawMode::TransparentText);
    c.DrawText(static_cast<double>(inner.x - scroll), textY, field.text);
    c.SetDrawingMode(DrawMode::Opaque);
    const int64_t caretLeft = inner.x + caretX - scroll;
    c.Box(caretLeft, static_cast<int64_t>(textY), std::max<int64_t>(1, ScaleLength(1, scale)),
          static_cast<int64_t>(lineHeight), kText);
    SDL_RenderSetClipRect(d.renderer, nullptr);

    DrawButton(c, d.font, layout.ok, "OK", true, okHot, okPressed && okHot);
    c.EndDrawing();
  };
  hooks.close = [&] {
    accepted = false;
    state.Answer();
  };
  hooks.quit = hooks.close;
  hooks.input = [&](const SDL_Event& e) {
    switch (e.type) {
      case SDL_KEYDOWN: {
        const SDL_Keycode key = e.key.keysym.sym;
        const Uint16 mod = e.key.keysym.mod;
        std::optional<FieldKey> edit;
        if (IsEnter(key) || key == SDLK_ESCAPE) {
          if (!e.key.repeat) {
            accepted = IsEnter(key);
            state.AnswerWithKey(e.key.keysym.scancode);
          }
        } else if (key == SDLK_BACKSPACE) {
          edit = FieldKey::Backspace;
        } else if (key == SDLK_DELETE || key == SDLK_KP_PERIOD) {
          if (key == SDLK_DELETE || !(mod & KMOD_NUM)) edit = FieldKey::Delete;
        } else if (key == SDLK_LEFT) {
          edit = FieldKey::Left;
        } else if (key == SDLK_RIGHT) {
          edit = FieldKey::Right;
        } else if (key == SDLK_HOME) {
          edit = FieldKey::Home;
        } else if (key == SDLK_END) {
          edit = FieldKey::End;
        } else if ((key == SDLK_v && (mod & KMOD_CTRL)) ||
                   (key == SDLK_INSERT && (mod & KMOD_SHIFT))) {
          if (char* clip = SDL_GetClipboardText()) {
            FieldInsert(field, clip);
            SDL_free(clip);
            state.dirty = true;
          }
        }
        if (edit) {
          FieldPress(field, *edit);
          state.dirty = true;
        }
        break;
      }
      case SDL_TEXTINPUT:
        FieldInsert(field, e.text.text);
        state.dirty = true;
        break;
      case SDL_MOUSEMOTION: {
        const bool now = InDialogRect(layout.ok, e.motion.x, e.motion.y);
        if (now != okHot) {
          okHot = now;
          state.dirty = true;
        }
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT) break;
        if (InDialogRect(layout.ok, e.button.x, e.button.y)) {
          okPressed = okHot = true;
        } else if (InDialogRect(layout.field, e.button.x, e.button.y)) {
          field.caret =
              FieldCaretFromX(field, static_cast<double>(e.button.x - inner.x + scroll), measure);
        }
        state.dirty = true;
        break;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT) break;
        if (okPressed && InDialogRect(layout.ok, e.button.x, e.button.y)) {
          accepted = true;
          state.Answer();
        }
        okPressed = false;
        state.dirty = true;
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_LEAVE) okHot = false;
        break;
      default:
        break;
    }
  };
  const bool ran = RunModal(parent, d, state, hooks);
  Retire(std::move(window));
  if (!textInputWasOn) SDL_StopTextInput();
  return ran && accepted ? field.text : std::string();
}

}  // namespace platform
