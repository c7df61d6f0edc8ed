// The message box and the text prompt as small modal windows of their own, drawn with the game's
// fonts through an SdlCanvas on the dialog's own renderer. Each is a small struct with plain
// functions that draw it and take its events; one modal loop runs either. They block the main
// thread and touch the game window only through its repaint handler, its redraw request and its
// close request.
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

// What the modal loop calls of the dialog it runs, each a line over the dialog's own functions.
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

// One dialog's pass through the modal loop: what the loop learns on the way, beside the dialog's
// own state.
struct ModalRun {
  ModalRun(DialogWindow& d, DialogState& s, const DialogHooks& h, Uint32 parent)
      : dialog(d), state(s), hooks(h), parentId(parent) {}

  DialogWindow& dialog;
  DialogState& state;
  const DialogHooks& hooks;
  Uint32 parentId;              // the game window's, 0 when there is none
  EarlyKeys early;              // taken as the loop starts: keys meant for the game
  bool closeRequested = false;  // the game window was asked to close meanwhile
  bool parentExposed = false;   // the game window must show its last frame again
  Uint32 answeredAt = 0;        // SDL ticks when the answer came; 0 before
  int failedWaits = 0;          // waits in a row that ended early without an event
};

// An answered dialog stays until the key that answered it is up again, so the game never sees
// the release of a key meant for the dialog; a key held for ever stops holding it after a while.
bool AnswerReleased(ModalRun& run) {
  if (run.answeredAt == 0) run.answeredAt = SDL_GetTicks();
  const Uint8* keys = SDL_GetKeyboardState(nullptr);
  return run.state.heldKey == SDL_SCANCODE_UNKNOWN || !keys || !keys[run.state.heldKey] ||
         SDL_TICKS_PASSED(SDL_GetTicks(), run.answeredAt + kReleaseWaitMs);
}

// Draws the picture again when it changed, lets a probe look at it, and shows it.
void ShowPicture(ModalRun& run) {
  bool drawn = false;
  if (run.state.dirty) {
    run.state.dirty = false;
    run.hooks.draw();
    drawn = true;
  }
  if (Probe()) Probe()(DialogFrame{run.dialog.sdl, run.dialog.renderer, drawn});
  if (drawn) SDL_RenderPresent(run.dialog.renderer);
}

// The dialog's own window: its close box, and whatever else may have changed how it shows.
void OnDialogWindowEvent(ModalRun& run, const SDL_Event& e) {
  if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
    if (!run.state.answered) run.hooks.close();
    return;
  }
  if (!run.state.answered) run.hooks.input(e);
  run.state.dirty = true;
}

// The game window behind the dialog takes no input meanwhile, but its close request is kept for
// the game and its picture is shown again whenever it is exposed.
void OnParentWindowEvent(ModalRun& run, const SDL_Event& e) {
  switch (e.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      run.closeRequested = true;
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // The dialog comes back to the front.
      SDL_RaiseWindow(run.dialog.sdl);
      SDL_SetWindowInputFocus(run.dialog.sdl);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      run.parentExposed = true;
      break;
    default:
      break;
  }
}

void Dispatch(ModalRun& run, const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      // With no game window behind it, closing the dialog itself sends this.
      if (run.parentId != 0) run.closeRequested = true;
      break;
    case SDL_WINDOWEVENT:
      if (e.window.windowID == run.dialog.id) {
        OnDialogWindowEvent(run, e);
      } else if (run.parentId != 0 && e.window.windowID == run.parentId) {
        OnParentWindowEvent(run, e);
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
      // Keys belong to the modal dialog whichever window the system sent them to.
      if (!run.state.answered && !run.early.Swallow(e)) run.hooks.input(e);
      break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (!run.state.answered && EventWindowId(e) == run.dialog.id) run.hooks.input(e);
      break;
    default:
      break;
  }
}

enum class Waited { kEvents, kNothing, kBroken };

// Waits a while for an event, then dispatches every event queued. kBroken once the event queue
// has failed too often to go on waiting on it.
Waited WaitAndDispatch(ModalRun& run) {
  SDL_Event e;
  const Uint32 waitStart = SDL_GetTicks();
  if (!SDL_WaitEventTimeout(&e, kWaitMs)) {
    // A wait that ends early without an event is an error, not a timeout.
    if (!SDL_TICKS_PASSED(SDL_GetTicks(), waitStart + kWaitMs / 2) &&
        ++run.failedWaits >= kMaxFailedWaits) {
      return Waited::kBroken;
    }
    return Waited::kNothing;
  }
  run.failedWaits = 0;
  run.parentExposed = false;
  do {
    Dispatch(run, e);
  } while (SDL_PollEvent(&e));
  return Waited::kEvents;
}

// The dialog goes: the game window gets the keyboard back and draws itself again, and finds in
// its queue what it must still see.
void EndModal(Window* parent, ModalRun& run) {
  if (Showing(parent)) SDL_SetWindowInputFocus(parent->sdl);
  if (parent) parent->redraw = true;
  SettleWakeups(run.dialog.sdl);
  SDL_HideWindow(run.dialog.sdl);
  RequeueAfterDialog(run.dialog.id, run.parentId != 0, run.closeRequested);
}

// Runs the dialog until it is answered. Returns false when the event queue failed and the
// dialog could not be answered.
bool RunModal(Window* parent, DialogWindow& d, DialogState& state, const DialogHooks& hooks) {
  ModalRun run(d, state, hooks, parent && parent->sdl ? SDL_GetWindowID(parent->sdl) : 0);
  bool ok = true;
  for (;;) {
    // The session is ending: nobody is left to answer, and the game must get on to its save.
    if (QuitRequested()) {
      if (!state.answered) hooks.quit();
      run.closeRequested = true;
      break;
    }
    if (state.answered && AnswerReleased(run)) break;
    ShowPicture(run);
    const Waited waited = WaitAndDispatch(run);
    if (waited == Waited::kBroken) {
      ok = false;
      break;
    }
    if (waited == Waited::kEvents && run.parentExposed && parent->repaint) parent->repaint();
  }
  EndModal(parent, run);
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

// --- The message box ----------------------------------------------------------------------------

struct MessageBox {
  MessageBoxLayout layout;
  MessageButtons buttons = MessageButtons::Ok;
  Image* icon = nullptr;  // the warning sign on the dialog's canvas; null without one
  int focus = 0;          // the button Enter and Space answer; the first until the player moves it
  int hot = -1;           // under the mouse
  int pressed = -1;       // the mouse went down on it
  MessageAnswer answer = MessageAnswer::Ok;
  DialogState state;
};

int ButtonAt(const MessageBox& box, int64_t x, int64_t y) {
  for (std::size_t i = 0; i < box.layout.buttons.size(); ++i) {
    if (InDialogRect(box.layout.buttons[i].rect, x, y)) return static_cast<int>(i);
  }
  return -1;
}

void DrawMessageBox(const MessageBox& box, DialogWindow& d) {
  if (!BeginPicture(d)) return;
  Canvas& c = *d.canvas;
  const MessageBoxLayout& layout = box.layout;
  Fill(c, {0, 0, layout.width, layout.height}, kContentFace);
  Fill(c, layout.buttonBand, kDialogFace);
  Fill(c, {0, layout.buttonBand.y, layout.width, 1}, kBandLine);
  if (box.icon) c.DrawImage(box.icon, layout.icon.x, layout.icon.y);
  c.SetFont(d.font);
  c.SetFrontColor(kText);
  c.SetDrawingMode(DrawMode::TransparentText);
  for (const auto& line : layout.lines) {
    c.DrawText(static_cast<double>(line.x), static_cast<double>(line.y), line.text);
  }
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const int at = static_cast<int>(i);
    const bool down = box.pressed == at && box.hot == at;
    DrawButton(c, d.font, layout.buttons[i].rect, layout.buttons[i].label, box.focus == at,
               box.hot == at, down);
  }
  c.EndDrawing();
}

void OnMessageBoxKey(MessageBox& box, const SDL_KeyboardEvent& e) {
  const SDL_Keycode key = e.keysym.sym;
  const int count = static_cast<int>(box.layout.buttons.size());
  if (IsEnter(key) || key == SDLK_SPACE) {
    if (!e.repeat) {  // a key already held when the box opened answers nothing
      box.answer = box.layout.buttons[box.focus].answer;
      box.state.AnswerWithKey(e.keysym.scancode);
    }
  } else if (key == SDLK_ESCAPE) {
    if (auto dismissed = DismissAnswer(box.buttons); dismissed && !e.repeat) {
      box.answer = *dismissed;
      box.state.AnswerWithKey(e.keysym.scancode);
    }
  } else if (key == SDLK_TAB || key == SDLK_RIGHT || key == SDLK_DOWN) {
    const bool back = key == SDLK_TAB && (e.keysym.mod & KMOD_SHIFT);
    box.focus = (box.focus + (back ? count - 1 : 1)) % count;
    box.state.dirty = true;
  } else if (key == SDLK_LEFT || key == SDLK_UP) {
    box.focus = (box.focus + count - 1) % count;
    box.state.dirty = true;
  }
}

// Keys, the mouse over the box, and the mouse leaving it.
void OnMessageBoxEvent(MessageBox& box, const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
      OnMessageBoxKey(box, e.key);
      break;
    case SDL_MOUSEMOTION:
      if (const int now = ButtonAt(box, e.motion.x, e.motion.y); now != box.hot) {
        box.hot = now;
        box.state.dirty = true;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT) {
        // Focus stays put, so Enter keeps answering the first button unless Tab moved it.
        box.hot = box.pressed = ButtonAt(box, e.button.x, e.button.y);
        box.state.dirty = true;
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) {
        const int at = ButtonAt(box, e.button.x, e.button.y);
        if (box.pressed >= 0 && at == box.pressed) {
          box.answer = box.layout.buttons[at].answer;
          box.state.Answer();
        }
        box.pressed = -1;
        box.state.dirty = true;
      }
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_LEAVE) box.hot = -1;
      break;
    default:
      break;
  }
}

// The close box answers as Escape does; a YES/NO box has none that answers.
void OnMessageBoxClose(MessageBox& box) {
  if (auto dismissed = DismissAnswer(box.buttons)) {
    box.answer = *dismissed;
    box.state.Answer();
  }
}

// The session ends with the box open: it answers as a box that cannot be shown, so a YES/NO box
// answers No.
void OnMessageBoxQuit(MessageBox& box) {
  box.answer = Unanswerable(box.buttons);
  box.state.Answer();
}

// --- The text prompt ----------------------------------------------------------------------------

struct TextPrompt {
  PromptLayout layout;
  double scale = 1;    // DPI / 96
  DialogRect inner;    // the field's text area, inside its border and padding
  std::string prompt;  // the label above the field
  TextField field;
  int64_t scroll = 0;      // pixels of the field's text scrolled out at its left
  bool accepted = false;   // answered with Enter or OK, not Escape or the close box
  bool okHot = false;      // the mouse is over OK
  bool okPressed = false;  // the mouse went down on OK
  DialogState state;
};

TextPrompt MakeTextPrompt(const std::string& prompt, const std::string& initial, double scale) {
  TextPrompt p;
  p.layout = LayOutPrompt(scale);
  p.scale = scale;
  const int64_t padding = ScaleLength(3, scale);
  const DialogRect& field = p.layout.field;
  p.inner = {field.x + padding, field.y + 1, field.w - 2 * padding, field.h - 2};
  p.prompt = prompt;
  p.field = MakeTextField(initial);
  return p;
}

// Widths of the field's text in the dialog's font.
MeasureText FieldMeasure(const DialogWindow& d) {
  return [&d](const std::string& s) { return d.canvas->TextWidth(d.font, s); };
}

// Scrolls the field's text so that the caret shows; the picture is then drawn to match.
void FollowCaret(TextPrompt& p, const MeasureText& measure) {
  const auto caretX =
      static_cast<int64_t>(std::llround(measure(p.field.text.substr(0, p.field.caret))));
  const auto textWidth = static_cast<int64_t>(std::llround(measure(p.field.text)));
  p.scroll = FieldScroll(p.scroll, caretX, textWidth, p.inner.w);
}

void DrawPromptField(const TextPrompt& p, DialogWindow& d, double lineHeight) {
  Canvas& c = *d.canvas;
  Fill(c, p.layout.field, kFieldFace);
  Frame(c, p.layout.field, kAccent);
  const std::string beforeCaret = p.field.text.substr(0, p.field.caret);
  const auto caretX = static_cast<int64_t>(std::llround(d.canvas->TextWidth(d.font, beforeCaret)));
  const DialogRect& inner = p.inner;
  const double textY =
      static_cast<double>(inner.y) + std::floor((static_cast<double>(inner.h) - lineHeight) / 2);
  ClipTo(d, inner);
  c.SetFrontColor(kText);
  c.SetDrawingMode(DrawMode::TransparentText);
  c.DrawText(static_cast<double>(inner.x - p.scroll), textY, p.field.text);
  c.SetDrawingMode(DrawMode::Opaque);
  const int64_t caretLeft = inner.x + caretX - p.scroll;
  c.Box(caretLeft, static_cast<int64_t>(textY), std::max<int64_t>(1, ScaleLength(1, p.scale)),
        static_cast<int64_t>(lineHeight), kText);
  SDL_RenderSetClipRect(d.renderer, nullptr);
}

void DrawPrompt(const TextPrompt& p, DialogWindow& d) {
  if (!BeginPicture(d)) return;
  Canvas& c = *d.canvas;
  const PromptLayout& layout = p.layout;
  Fill(c, {0, 0, layout.width, layout.height}, kDialogFace);
  c.SetFont(d.font);
  const double lineHeight = std::round(c.TextHeight(""));

  ClipTo(d, layout.label);
  c.SetFrontColor(kText);
  c.SetDrawingMode(DrawMode::TransparentText);
  c.DrawText(static_cast<double>(layout.label.x),
             static_cast<double>(layout.label.y) +
                 std::floor((static_cast<double>(layout.label.h) - lineHeight) / 2),
             p.prompt);
  SDL_RenderSetClipRect(d.renderer, nullptr);

  DrawPromptField(p, d, lineHeight);
  DrawButton(c, d.font, layout.ok, "OK", true, p.okHot, p.okPressed && p.okHot);
  c.EndDrawing();
}

// The field's editing keys, paste, and Enter and Escape, which answer.
void OnPromptKey(TextPrompt& p, const SDL_KeyboardEvent& e) {
  const SDL_Keycode key = e.keysym.sym;
  const Uint16 mod = e.keysym.mod;
  std::optional<FieldKey> edit;
  if (IsEnter(key) || key == SDLK_ESCAPE) {
    if (!e.repeat) {
      p.accepted = IsEnter(key);
      p.state.AnswerWithKey(e.keysym.scancode);
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
  } else if ((key == SDLK_v && (mod & KMOD_CTRL)) || (key == SDLK_INSERT && (mod & KMOD_SHIFT))) {
    if (char* clip = SDL_GetClipboardText()) {
      FieldInsert(p.field, clip);
      SDL_free(clip);
      p.state.dirty = true;
    }
  }
  if (edit) {
    FieldPress(p.field, *edit);
    p.state.dirty = true;
  }
}

// Keys and typed text, the mouse on OK or in the field, and the mouse leaving the prompt.
void OnPromptEvent(TextPrompt& p, const SDL_Event& e, const MeasureText& measure) {
  switch (e.type) {
    case SDL_KEYDOWN:
      OnPromptKey(p, e.key);
      break;
    case SDL_TEXTINPUT:
      FieldInsert(p.field, e.text.text);
      p.state.dirty = true;
      break;
    case SDL_MOUSEMOTION:
      if (const bool now = InDialogRect(p.layout.ok, e.motion.x, e.motion.y); now != p.okHot) {
        p.okHot = now;
        p.state.dirty = true;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button != SDL_BUTTON_LEFT) break;
      if (InDialogRect(p.layout.ok, e.button.x, e.button.y)) {
        p.okPressed = p.okHot = true;
      } else if (InDialogRect(p.layout.field, e.button.x, e.button.y)) {
        p.field.caret = FieldCaretFromX(
            p.field, static_cast<double>(e.button.x - p.inner.x + p.scroll), measure);
      }
      p.state.dirty = true;
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_LEFT) break;
      if (p.okPressed && InDialogRect(p.layout.ok, e.button.x, e.button.y)) {
        p.accepted = true;
        p.state.Answer();
      }
      p.okPressed = false;
      p.state.dirty = true;
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_LEAVE) p.okHot = false;
      break;
    default:
      break;
  }
}

// The close box, or the session ending: the prompt answers nothing.
void CancelPrompt(TextPrompt& p) {
  p.accepted = false;
  p.state.Answer();
}

}  // namespace

void SetDialogProbe(std::function<void(const DialogFrame&)> probe) { Probe() = std::move(probe); }

void CloseDialogWindows() { Retired().reset(); }

MessageAnswer ShowMessageBox(Window* parent, const std::string& title, const std::string& text,
                             MessageButtons buttons, bool warning) {
  const Opened video = PrepareVideo();
  if (video == Opened::Unseen) return Unanswerable(buttons);
  if (video == Opened::NoWindow) return PlainMessageBox(parent, title, text, buttons, warning);

  MessageBox box;
  box.buttons = buttons;
  box.answer = Unanswerable(buttons);
  {
    Measurer m;
    if (!m.font) return PlainMessageBox(parent, title, text, buttons, warning);
    box.layout = LayOutMessageBox(
        title, text, buttons, warning, DialogDpi() / 96.0,
        [&m](const std::string& s) { return m.Width(s); }, m.LineHeight());
  }
  auto window = std::make_unique<DialogWindow>();
  DialogWindow& d = *window;
  if (OpenDialogWindow(d, parent, title, box.layout.width, box.layout.height) != Opened::Yes) {
    return PlainMessageBox(parent, title, text, buttons, warning);
  }
  if (box.layout.hasIcon) box.icon = MakeWarningIcon(*d.canvas, box.layout.icon.w);

  const DialogHooks hooks{[&] { DrawMessageBox(box, d); },
                          [&](const SDL_Event& e) { OnMessageBoxEvent(box, e); },
                          [&] { OnMessageBoxClose(box); }, [&] { OnMessageBoxQuit(box); }};
  const bool ran = RunModal(parent, d, box.state, hooks);
  Retire(std::move(window));
  return ran ? box.answer : Unanswerable(buttons);
}

std::string AskText(Window* parent, const std::string& title, const std::string& prompt,
                    const std::string& initial) {
  if (PrepareVideo() != Opened::Yes) return {};
  TextPrompt p = MakeTextPrompt(prompt, initial, DialogDpi() / 96.0);
  auto window = std::make_unique<DialogWindow>();
  DialogWindow& d = *window;
  if (OpenDialogWindow(d, parent, title, p.layout.width, p.layout.height) != Opened::Yes) return {};

  const bool textInputWasOn = SDL_IsTextInputActive();
  SDL_StartTextInput();
  SDL_Rect imeRect{static_cast<int>(p.layout.field.x), static_cast<int>(p.layout.field.y),
                   static_cast<int>(p.layout.field.w), static_cast<int>(p.layout.field.h)};
  SDL_SetTextInputRect(&imeRect);

  const MeasureText measure = FieldMeasure(d);
  const DialogHooks hooks{[&] {
                            FollowCaret(p, measure);
                            DrawPrompt(p, d);
                          },
                          [&](const SDL_Event& e) { OnPromptEvent(p, e, measure); },
                          [&] { CancelPrompt(p); }, [&] { CancelPrompt(p); }};
  const bool ran = RunModal(parent, d, p.state, hooks);
  Retire(std::move(window));
  if (!textInputWasOn) SDL_StopTextInput();
  return ran && p.accepted ? p.field.text : std::string();
}

}  // namespace platform
