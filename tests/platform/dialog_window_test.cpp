// The real dialogs on SDL's offscreen driver, answered by scripted events: the answers of Enter,
// Escape, the close box and clicks per button set, the prompt's editing, what the game window
// sees afterwards, and a look at the pictures. Set KENO_DIALOG_SHOTS to a folder to keep them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_layout.h"
#include "platform/dialogs.h"
#include "platform/sdl/dialog_probe.h"
#include "platform/sdl/session_end.h"
#include "platform/sdl/window_internal.h"

namespace platform {
namespace {

using Step = std::function<void(const DialogFrame&)>;

void PushKey(Uint32 window, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = window;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
  }
}

void PushText(Uint32 window, const std::string& text) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = window;
  SDL_strlcpy(e.text.text, text.c_str(), sizeof(e.text.text));
  SDL_PushEvent(&e);
}

void PushWindowEvent(Uint32 window, Uint8 event) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = window;
  e.window.event = event;
  SDL_PushEvent(&e);
}

void PushMouse(Uint32 window, Uint32 type, int64_t x, int64_t y) {
  SDL_Event e{};
  e.type = type;
  e.button.windowID = window;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = static_cast<Sint32>(x);
  e.button.y = static_cast<Sint32>(y);
  SDL_PushEvent(&e);
}

void PushClick(Uint32 window, const DialogRect& r) {
  PushMouse(window, SDL_MOUSEBUTTONDOWN, r.x + r.w / 2, r.y + r.h / 2);
  PushMouse(window, SDL_MOUSEBUTTONUP, r.x + r.w / 2, r.y + r.h / 2);
}

Uint32 Id(const DialogFrame& f) { return SDL_GetWindowID(f.window); }

// Where the box's buttons are: they sit at fixed offsets from its bottom-right corner whatever
// the text, so a layout with narrow fake labels, moved to the real size, finds them.
DialogRect ButtonRect(int w, int h, MessageButtons buttons, int index) {
  const double scale = (DisplayDpi() > 0 ? DisplayDpi() : 96.0) / 96.0;
  const MessageBoxLayout probe = LayOutMessageBox(
      "", "", buttons, false, scale, [](const std::string&) { return 10.0; }, 16);
  DialogRect r = probe.buttons[index].rect;
  r.x += w - probe.width;
  r.y += h - probe.height;
  return r;
}

DialogRect ButtonRect(const DialogFrame& f, MessageButtons buttons, int index) {
  int w = 0, h = 0;
  SDL_GetWindowSize(f.window, &w, &h);
  return ButtonRect(w, h, buttons, index);
}

PromptLayout PromptRects() { return LayOutPrompt((DisplayDpi() > 0 ? DisplayDpi() : 96.0) / 96.0); }

// Every pixel of a drawn dialog, 0xAARRGGBB.
struct Picture {
  int w = 0, h = 0;
  std::vector<Uint32> pixels;
  Uint32 At(int x, int y) const { return pixels[static_cast<std::size_t>(y * w + x)]; }
  bool AnyIn(const DialogRect& r, const std::function<bool(int, int, int)>& test) const {
    for (int64_t y = r.y; y < r.y + r.h; ++y) {
      for (int64_t x = r.x; x < r.x + r.w; ++x) {
        const Uint32 p = At(static_cast<int>(x), static_cast<int>(y));
        if (test((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)) return true;
      }
    }
    return false;
  }
};

Picture Grab(const DialogFrame& f) {
  Picture p;
  SDL_GetRendererOutputSize(f.renderer, &p.w, &p.h);
  p.pixels.resize(static_cast<std::size_t>(p.w * p.h));
  SDL_RenderReadPixels(f.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, p.pixels.data(), p.w * 4);
  return p;
}

void KeepShot(const Picture& p, const std::string& name) {
  const char* folder = std::getenv("KENO_DIALOG_SHOTS");
  if (!folder || !*folder) return;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Uint32*>(p.pixels.data()), p.w,
                                                      p.h, 32, p.w * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!s) return;
  SDL_SaveBMP(s, (std::string(folder) + "/" + name + ".bmp").c_str());
  SDL_FreeSurface(s);
}

class DialogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // As in the game: a terminating signal ends the process instead of becoming a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SetDialogProbe([this](const DialogFrame& f) { OnPass(f); });
  }
  void TearDown() override {
    SetQuitWakeups(false);
    ClearQuitRequest();
    SetDialogProbe(nullptr);
    if (parent_.sdl) SDL_DestroyWindow(parent_.sdl);
    parent_.sdl = nullptr;
    CloseDialogWindows();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // Each pass of the dialog's loop runs the next step. A dialog left open when the script has
  // run out is a failure; Enter then ends it so the test never hangs.
  void OnPass(const DialogFrame& f) {
    ++passes_;
    if (f.drawn) lastPicture_ = Grab(f);
    if (step_ < script_.size()) {
      script_[step_++](f);
      return;
    }
    ADD_FAILURE() << "the dialog is still open after its script";
    PushKey(Id(f), SDLK_RETURN);
  }

  Window* MakeParent() {
    parent_.sdl = SDL_CreateWindow("game", 0, 0, 640, 480, 0);
    EXPECT_NE(parent_.sdl, nullptr);
    parent_.redraw = false;
    return &parent_;
  }

  std::vector<Step> script_;
  std::size_t step_ = 0;
  int passes_ = 0;
  Picture lastPicture_;
  Window parent_;
};

struct BoxCase {
  const char* name;
  MessageButtons buttons;
  std::vector<Step> script;
  MessageAnswer expected;
};

Step Key(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  return [key, mod](const DialogFrame& f) { PushKey(Id(f), key, mod); };
}
Step CloseBox() {
  return [](const DialogFrame& f) { PushWindowEvent(Id(f), SDL_WINDOWEVENT_CLOSE); };
}
Step Click(MessageButtons buttons, int index) {
  return
      [buttons, index](const DialogFrame& f) { PushClick(Id(f), ButtonRect(f, buttons, index)); };
}

TEST_F(DialogWindowTest, MessageBoxAnswersPerButtonSet) {
  using B = MessageButtons;
  using A = MessageAnswer;
  const BoxCase cases[] = {
      {"OK: Enter", B::Ok, {Key(SDLK_RETURN)}, A::Ok},
      {"OK: Escape", B::Ok, {Key(SDLK_ESCAPE)}, A::Ok},
      {"OK: close box", B::Ok, {CloseBox()}, A::Ok},
      {"OK: click", B::Ok, {Click(B::Ok, 0)}, A::Ok},
      {"YES/NO: Enter is Yes", B::YesNo, {Key(SDLK_RETURN)}, A::Yes},
      {"YES/NO: keypad Enter is Yes", B::YesNo, {Key(SDLK_KP_ENTER)}, A::Yes},
      // Escape and the close box leave it open; only a button answers.
      {"YES/NO: Escape and close do nothing",
       B::YesNo,
       {Key(SDLK_ESCAPE), CloseBox(), Click(B::YesNo, 1)},
       A::No},
      {"YES/NO: click Yes", B::YesNo, {Click(B::YesNo, 0)}, A::Yes},
      {"YES/NO/CANCEL: Enter is Yes", B::YesNoCancel, {Key(SDLK_RETURN)}, A::Yes},
      {"YES/NO/CANCEL: Escape", B::YesNoCancel, {Key(SDLK_ESCAPE)}, A::Cancel},
      {"YES/NO/CANCEL: close box", B::YesNoCancel, {CloseBox()}, A::Cancel},
      {"YES/NO/CANCEL: click No", B::YesNoCancel, {Click(B::YesNoCancel, 1)}, A::No},
      {"YES/NO/CANCEL: click Cancel", B::YesNoCancel, {Click(B::YesNoCancel, 2)}, A::Cancel},
      {"YES/NO/CANCEL: Tab moves Enter to No",
       B::YesNoCancel,
       {Key(SDLK_TAB), Key(SDLK_RETURN)},
       A::No},
      {"YES/NO/CANCEL: Shift+Tab wraps to Cancel",
       B::YesNoCancel,
       {Key(SDLK_TAB, KMOD_LSHIFT), Key(SDLK_SPACE)},
       A::Cancel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    script_ = c.script;
    step_ = 0;
    EXPECT_EQ(ShowMessageBox(nullptr, "Test", "Question?", c.buttons, false), c.expected);
    EXPECT_EQ(step_, c.script.size());
  }
}

TEST_F(DialogWindowTest, APressReleasedOffTheButtonAnswersNothing) {
  script_ = {[](const DialogFrame& f) {
               const DialogRect no = ButtonRect(f, MessageButtons::YesNo, 1);
               PushMouse(Id(f), SDL_MOUSEBUTTONDOWN, no.x + 2, no.y + 2);
               PushMouse(Id(f), SDL_MOUSEBUTTONUP, 2, 2);
             },
             Key(SDLK_RETURN)};
  EXPECT_EQ(ShowMessageBox(nullptr, "Out of Funds!", "x", MessageButtons::YesNo, false),
            MessageAnswer::Yes);
  EXPECT_EQ(step_, 2u);
}

TEST_F(DialogWindowTest, AKeyPressedBeforeTheBoxOpensAnswersNothing) {
  // SPACE pressed for the game (a tap that stops auto-run) just as the out-of-funds box opens.
  PushKey(0, SDLK_SPACE);
  script_ = {[](const DialogFrame&) {}, Click(MessageButtons::YesNo, 1)};
  EXPECT_EQ(ShowMessageBox(nullptr, "Out of Funds!", "x", MessageButtons::YesNo, false),
            MessageAnswer::No);
  EXPECT_EQ(step_, 2u);

  // Pressed once the box shows, the same key answers.
  script_ = {Key(SDLK_SPACE)};
  step_ = 0;
  EXPECT_EQ(ShowMessageBox(nullptr, "Out of Funds!", "x", MessageButtons::YesNo, false),
            MessageAnswer::Yes);
}

struct PromptCase {
  const char* name;
  std::string initial;
  std::vector<Step> script;
  std::string expected;
};

Step Type(const std::string& text) {
  return [text](const DialogFrame& f) { PushText(Id(f), text); };
}
Step ClickOk() {
  return [](const DialogFrame& f) { PushClick(Id(f), PromptRects().ok); };
}

TEST_F(DialogWindowTest, PromptReturnsTheFieldOnEnterOrOkAndNothingOnEscapeOrClose) {
  const PromptCase cases[] = {
      {"typed then Enter", "", {Type("3"), Key(SDLK_RETURN)}, "3"},
      {"initial kept", "42", {Key(SDLK_KP_ENTER)}, "42"},
      {"edited then OK",
       "12",
       {Key(SDLK_BACKSPACE), Type("\xC3\xA9"), Key(SDLK_HOME), Key(SDLK_DELETE), ClickOk()},
       "\xC3\xA9"},
      {"arrows and End",
       "ac",
       {Key(SDLK_LEFT), Type("b"), Key(SDLK_END), Type("d"), Key(SDLK_RETURN)},
       "abcd"},
      {"Escape", "abc", {Type("x"), Key(SDLK_ESCAPE)}, ""},
      {"close box", "abc", {CloseBox()}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    script_ = c.script;
    step_ = 0;
    EXPECT_EQ(AskText(nullptr, "Copy Card 1", "Copy to card:", c.initial), c.expected);
    EXPECT_EQ(step_, c.script.size());
  }
}

TEST_F(DialogWindowTest, PromptPastesTheFirstLineWithCtrlV) {
  ASSERT_EQ(SDL_SetClipboardText("45\n67"), 0);
  script_ = {Key(SDLK_v, KMOD_LCTRL), Key(SDLK_RETURN)};
  EXPECT_EQ(AskText(nullptr, "Copy Card 1", "Copy to card:", "1"), "145");
}

TEST_F(DialogWindowTest, PromptWindowHasItsFixedSize) {
  script_ = {[](const DialogFrame& f) {
               int w = 0, h = 0;
               SDL_GetWindowSize(f.window, &w, &h);
               EXPECT_EQ(w, PromptRects().width);
               EXPECT_EQ(h, PromptRects().height);
               EXPECT_STREQ(SDL_GetWindowTitle(f.window), "Copy Card 2");
             },
             Key(SDLK_ESCAPE)};
  EXPECT_EQ(AskText(nullptr, "Copy Card 2", "Copy to card:", ""), "");
}

TEST_F(DialogWindowTest, GameWindowRepaintsWhileBlockedAndRedrawsAfter) {
  Window* parent = MakeParent();
  int repaints = 0;
  parent->repaint = [&repaints] { ++repaints; };
  const Uint32 parentId = SDL_GetWindowID(parent->sdl);
  script_ = {[parentId](const DialogFrame&) { PushWindowEvent(parentId, SDL_WINDOWEVENT_EXPOSED); },
             Key(SDLK_RETURN)};
  EXPECT_EQ(ShowMessageBox(parent, "JACKPOT!", "x", MessageButtons::Ok, false), MessageAnswer::Ok);
  EXPECT_EQ(repaints, 1);
  EXPECT_TRUE(TakeRedrawRequest(parent));
}

TEST_F(DialogWindowTest, CloseRequestDuringADialogReachesTheGameAfterwards) {
  Window* parent = MakeParent();
  const Uint32 parentId = SDL_GetWindowID(parent->sdl);
  script_ = {[parentId](const DialogFrame&) { PushWindowEvent(parentId, SDL_WINDOWEVENT_CLOSE); },
             Key(SDLK_ESCAPE)};
  EXPECT_EQ(AskText(parent, "Copy Card 1", "Copy to card:", "2"), "");
  EXPECT_TRUE(DrainEvents(parent));
}

TEST_F(DialogWindowTest, ClosingTheDialogItselfIsNoCloseRequestForTheGame) {
  Window* parent = MakeParent();
  script_ = {CloseBox()};
  EXPECT_EQ(ShowMessageBox(parent, "New Game", "x", MessageButtons::YesNoCancel, false),
            MessageAnswer::Cancel);
  EXPECT_FALSE(DrainEvents(parent));

  // Without a game window the dialog is the last window, and its close box also brings a quit.
  script_ = {[](const DialogFrame& f) {
    PushWindowEvent(Id(f), SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }};
  step_ = 0;
  EXPECT_EQ(ShowMessageBox(nullptr, "Keno", "x", MessageButtons::Ok, true), MessageAnswer::Ok);
  EXPECT_FALSE(DrainEvents(nullptr));
}

// A logout while a box is open: the box answers as closing it would, the YES/NO box (which has no
// close box) NO, the prompt nothing, and the game's loop sees the quit afterwards.
TEST_F(DialogWindowTest, ASessionEndingAnswersEveryDialogAsClosingItWould) {
  SetQuitWakeups(true);
  Window* parent = MakeParent();
  const Step logout = [](const DialogFrame&) { RequestQuit(); };
  const std::pair<MessageButtons, MessageAnswer> boxes[] = {
      {MessageButtons::Ok, MessageAnswer::Ok},
      {MessageButtons::YesNo, MessageAnswer::No},
      {MessageButtons::YesNoCancel, MessageAnswer::Cancel}};
  for (const auto& [buttons, answer] : boxes) {
    SCOPED_TRACE(static_cast<int>(buttons));
    ClearQuitRequest();
    script_ = {logout};
    step_ = 0;
    EXPECT_EQ(ShowMessageBox(parent, "Box", "x", buttons, false), answer);
    EXPECT_TRUE(DrainEvents(parent));
  }
  ClearQuitRequest();
  script_ = {Type("3"), logout};
  step_ = 0;
  EXPECT_EQ(AskText(parent, "Copy Card 1", "Copy to card:", ""), "");
  EXPECT_TRUE(DrainEvents(parent));
  // A quit already asked for when a box opens answers it before any pass: with no script left,
  // a pass would fail the test.
  script_ = {};
  step_ = 0;
  EXPECT_EQ(ShowMessageBox(nullptr, "Welcome to Keno!", "x", MessageButtons::Ok, false),
            MessageAnswer::Ok);
}

TEST_F(DialogWindowTest, NobodyCanAnswerADialogOnAnInvisibleDriver) {
  const std::string driver = SDL_GetCurrentVideoDriver();
  if (driver != "offscreen" && driver != "dummy") GTEST_SKIP() << "a visible display";
  SetDialogProbe(nullptr);
  EXPECT_EQ(ShowMessageBox(nullptr, "Keno", "x", MessageButtons::Ok, true), MessageAnswer::Ok);
  EXPECT_EQ(ShowMessageBox(nullptr, "Out of Funds!", "x", MessageButtons::YesNo, false),
            MessageAnswer::No);
  EXPECT_EQ(ShowMessageBox(nullptr, "New Game", "x", MessageButtons::YesNoCancel, false),
            MessageAnswer::Cancel);
  EXPECT_EQ(AskText(nullptr, "Copy Card 1", "Copy to card:", "3"), "");
}

bool Dark(int r, int g, int b) { return r < 96 && g < 96 && b < 96; }
bool Yellow(int r, int g, int b) { return r > 200 && g > 150 && b < 100; }

TEST_F(DialogWindowTest, PicturesShowTheTextAndTheIconOnlyWhenAsked) {
  struct Shot {
    const char* file;
    const char* title;
    std::string text;
    MessageButtons buttons;
    bool warning;
  };
  const Shot shots[] = {
      {"welcome", "Welcome to Keno!",
       "Pick 1-12 numbers on one or more cards, then click Draw Numbers.\n\n  - 20 balls are "
       "drawn each round.\n  - Each active card costs $1 per draw.\n  - Hold Draw button 1 "
       "second to start auto-drawing.\nCurrent balance: $1000",
       MessageButtons::Ok, false},
      {"sound_warning", "Keno",
       "Warning: Sound system could not be initialized.\r\nSounds will be disabled.",
       MessageButtons::Ok, true},
      {"new_game", "New Game",
       "YES    - Clear card selections only.\n         (Balance and lifetime stats kept.)\n\nNO   "
       "  - Full wipe: reset balance to $1000, clear all stats.\n\nCANCEL - Return to game, "
       "change nothing.",
       MessageButtons::YesNoCancel, false},
      {"out_of_funds", "Out of Funds!",
       "Balance ($12) is less than the draw cost ($20).\n\nYES = add $1000 and keep "
       "playing.\nNO  = save and quit.",
       MessageButtons::YesNo, false},
  };
  const double scale = (DisplayDpi() > 0 ? DisplayDpi() : 96.0) / 96.0;
  for (const auto& s : shots) {
    SCOPED_TRACE(s.file);
    script_ = {Key(SDLK_RETURN)};
    step_ = 0;
    lastPicture_ = {};
    ShowMessageBox(nullptr, s.title, s.text, s.buttons, s.warning);
    const Picture& p = lastPicture_;
    ASSERT_GT(p.w, 0);
    KeepShot(p, s.file);
    const int64_t margin = ScaleLength(16, scale);
    const int64_t icon = ScaleLength(32, scale);
    const DialogRect iconArea{margin, margin, icon, icon};
    EXPECT_EQ(p.AnyIn(iconArea, Yellow), s.warning);
    const DialogRect firstLine{margin + (s.warning ? icon + ScaleLength(12, scale) : 0), margin,
                               ScaleLength(100, scale), icon};
    EXPECT_TRUE(p.AnyIn(firstLine, Dark)) << "no text drawn";
    EXPECT_TRUE(p.AnyIn(ButtonRect(p.w, p.h, s.buttons, 0), Dark)) << "no button label";
  }

  script_ = {Type("3"), Key(SDLK_RETURN)};
  step_ = 0;
  lastPicture_ = {};
  EXPECT_EQ(AskText(nullptr, "Copy Card 1", "Copy Card 1's picks to which card? (1-4, not 1)", ""),
            "3");
  KeepShot(lastPicture_, "copy_card");
  const PromptLayout rects = PromptRects();
  EXPECT_TRUE(lastPicture_.AnyIn(rects.label, Dark)) << "no prompt drawn";
  EXPECT_TRUE(lastPicture_.AnyIn(rects.field, Dark)) << "no typed text or caret";
  EXPECT_TRUE(lastPicture_.AnyIn(rects.ok, Dark)) << "no OK label";
}

}  // namespace
}  // namespace platform
