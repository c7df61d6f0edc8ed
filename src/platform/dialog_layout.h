// Geometry and editing of the two modal dialogs, free of any toolkit: where the message box puts
// its lines, icon and buttons, the text prompt's rectangles, and the prompt's one-line field.
// Measures text only through the function it is given; opens no window and draws nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace platform {

// Width of a text in pixels with the dialog's font.
using MeasureText = std::function<double(const std::string&)>;

// Client pixels, origin top-left; covers x..x+w-1, y..y+h-1.
struct DialogRect {
  int64_t x = 0;
  int64_t y = 0;
  int64_t w = 0;
  int64_t h = 0;
  bool operator==(const DialogRect&) const = default;
};
bool InDialogRect(const DialogRect& r, int64_t px, int64_t py);

// A length given at 96 DPI, for a screen of `scale` = DPI / 96; rounded to whole pixels.
int64_t ScaleLength(int64_t length, double scale);

struct DialogButton {
  DialogRect rect;
  std::string label;
  MessageAnswer answer = MessageAnswer::Ok;
};

struct DialogTextLine {
  std::string text;
  int64_t x = 0;  // top-left corner of the line
  int64_t y = 0;
};

struct MessageBoxLayout {
  int64_t width = 0;  // client area, pixels
  int64_t height = 0;
  bool hasIcon = false;
  DialogRect icon;        // the warning sign, when there is one
  DialogRect buttonBand;  // the strip along the bottom that holds the buttons
  std::vector<DialogTextLine> lines;
  std::vector<DialogButton> buttons;  // left to right; the first one is the default
};

// The widest a line of message text may be before it wraps, at 96 DPI.
constexpr int64_t kMessageMaxTextWidth = 560;

// The text as the box shows it: one entry per line, split at "\n", "\r" dropped, tabs as four
// blanks, and lines wider than `maxWidth` pixels wrapped at blanks (inside a word only when
// the word alone is too wide).
std::vector<std::string> MessageLines(const std::string& text, int64_t maxWidth,
                                      const MeasureText& measure);

// The whole box for a screen of `scale` = DPI / 96; `lineHeight` is the font's line height in
// pixels. The title is measured too, so the title bar has room for it.
MessageBoxLayout LayOutMessageBox(const std::string& title, const std::string& text,
                                  MessageButtons buttons, bool warning, double scale,
                                  const MeasureText& measure, double lineHeight);

// The answer of Escape and the close box; none for a YES/NO box, which they leave open.
std::optional<MessageAnswer> DismissAnswer(MessageButtons buttons);

struct PromptLayout {
  int64_t width = 0;  // client area, pixels
  int64_t height = 0;
  DialogRect label;
  DialogRect field;
  DialogRect ok;
};

// 500 x 140 at 96 DPI with the label, field and OK button at their fixed places, all scaled.
PromptLayout LayOutPrompt(double scale);

// The prompt's one-line field: valid UTF-8 without control characters, at most
// kFieldMaxCodePoints code points, and a caret that sits on a code point boundary.
constexpr std::size_t kFieldMaxCodePoints = 256;
struct TextField {
  std::string text;
  std::size_t caret = 0;  // byte offset into text
};
enum class FieldKey { Backspace, Delete, Left, Right, Home, End };

// `initial` cleaned as typed text would be, with the caret after its end.
TextField MakeTextField(const std::string& initial);
// Typed or pasted text goes in at the caret: only its first line, invalid bytes and control
// characters dropped, and only as much as the length limit leaves room for.
void FieldInsert(TextField& field, const std::string& utf8);
void FieldPress(TextField& field, FieldKey key);

// The byte offset of the boundary nearest to `x` pixels from the start of the text.
std::size_t FieldCaretFromX(const TextField& field, double x, const MeasureText& measure);

// How many pixels of the text scroll out at the field's left so that the caret, `caretX`
// pixels from the start of a text `textWidth` wide, stays inside `innerWidth` pixels; starts
// from the last `scroll` so the text does not jump while the caret stays in view.
int64_t FieldScroll(int64_t scroll, int64_t caretX, int64_t textWidth, int64_t innerWidth);

}  // namespace platform
