// Dialog geometry and the one-line field's editing. Pure arithmetic over the metrics it is
// handed; no toolkit, no window, no clock.
#include "platform/dialog_layout.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Message box metrics at 96 DPI, after the usual desktop message box.
constexpr int64_t kBoxMargin = 16;
constexpr int64_t kIconSize = 32;
constexpr int64_t kIconGap = 12;
constexpr int64_t kBandPadding = 12;
constexpr int64_t kButtonWidth = 80;
constexpr int64_t kButtonHeight = 25;
constexpr int64_t kButtonGap = 8;
constexpr int64_t kLabelPadding = 12;
constexpr int64_t kMinBoxWidth = 200;
constexpr int64_t kTitleBarAllowance = 96;  // the close box and the title's margins

int64_t Pixels(double width) { return std::max<int64_t>(0, std::llround(width)); }

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

std::size_t NextBoundary(const std::string& s, std::size_t i) {
  if (i >= s.size()) return s.size();
  ++i;
  while (i < s.size() && IsContinuation(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

std::size_t PrevBoundary(const std::string& s, std::size_t i) {
  if (i == 0) return 0;
  --i;
  while (i > 0 && IsContinuation(static_cast<unsigned char>(s[i]))) --i;
  return i;
}

std::size_t CodePoints(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(
      s.begin(), s.end(), [](char c) { return !IsContinuation(static_cast<unsigned char>(c)); }));
}

// The printable code points of `in` before its first line break, at most `limit` of them.
std::string CleanLine(const std::string& in, std::size_t limit) {
  std::string out;
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < in.size() && count < limit) {
    const auto lead = static_cast<unsigned char>(in[i]);
    if (lead == '\n' || lead == '\r') break;
    std::size_t length = 0;
    uint32_t code = 0;
    uint32_t least = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
      least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
      least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
      least = 0x10000;
    }
    bool valid = length > 0 && i + length <= in.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(in[i + k]);
      valid = IsContinuation(next);
      code = (code << 6) | (next & 0x3F);
    }
    valid = valid && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (!valid) {
      ++i;  // a stray byte; what follows it may still be good
      continue;
    }
    const bool control = code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0);
    if (!control) {
      out.append(in, i, length);
      ++count;
    }
    i += length;
  }
  return out;
}

// Greedy wrap of one line; a leading indent stays with the first piece.
void WrapLine(const std::string& line, int64_t maxWidth, const MeasureText& measure,
              std::vector<std::string>& out) {
  std::string rest = line;
  while (Pixels(measure(rest)) > maxWidth) {
    const std::size_t wordStart = rest.find_first_not_of(' ');
    std::size_t cut = std::string::npos;
    if (wordStart != std::string::npos) {
      for (std::size_t i = rest.find(' ', wordStart); i != std::string::npos;
           i = rest.find(' ', i + 1)) {
        if (Pixels(measure(rest.substr(0, i))) > maxWidth) break;
        cut = i;
      }
    }
    if (cut == std::string::npos) {
      // One word wider than the box: break it where it stops fitting, one code point at least.
      cut = NextBoundary(rest, 0);
      for (std::size_t next = NextBoundary(rest, cut); next <= rest.size() && next > cut;
           next = NextBoundary(rest, next)) {
        if (Pixels(measure(rest.substr(0, next))) > maxWidth) break;
        cut = next;
      }
      out.push_back(rest.substr(0, cut));
      rest.erase(0, cut);
    } else {
      std::string piece = rest.substr(0, cut);
      piece.erase(piece.find_last_not_of(' ') + 1);
      out.push_back(piece);
      rest.erase(0, rest.find_first_not_of(' ', cut) == std::string::npos
                        ? rest.size()
                        : rest.find_first_not_of(' ', cut));
    }
    if (rest.empty()) return;
  }
  out.push_back(rest);
}

}  // namespace

bool InDialogRect(const DialogRect& r, int64_t px, int64_t py) {
  return px >= r.x && px < r.x + r.w && py >= r.y && py < r.y + r.h;
}

int64_t ScaleLength(int64_t length, double scale) {
  if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0;
  return std::llround(static_cast<double>(length) * scale);
}

std::vector<std::string> MessageLines(const std::string& text, int64_t maxWidth,
                                      const MeasureText& measure) {
  std::vector<std::string> lines;
  std::string line;
  auto finish = [&] {
    WrapLine(line, maxWidth, measure, lines);
    line.clear();
  };
  for (char c : text) {
    if (c == '\n') {
      finish();
    } else if (c == '\t') {
      line += "    ";
    } else if (c != '\r') {
      line += c;
    }
  }
  finish();
  return lines;
}

MessageBoxLayout LayOutMessageBox(const std::string& title, const std::string& text,
                                  MessageButtons buttons, bool warning, double scale,
                                  const MeasureText& measure, double lineHeight) {
  auto s = [scale](int64_t v) { return ScaleLength(v, scale); };
  MessageBoxLayout box;
  const int64_t margin = s(kBoxMargin);
  const int64_t iconSize = warning ? s(kIconSize) : 0;
  const int64_t lineStep = std::max<int64_t>(1, Pixels(lineHeight));

  const std::vector<std::string> lines = MessageLines(text, s(kMessageMaxTextWidth), measure);
  int64_t textWidth = 0;
  for (const auto& line : lines) textWidth = std::max(textWidth, Pixels(measure(line)));
  const int64_t textHeight = lineStep * static_cast<int64_t>(lines.size());
  const int64_t blockHeight = std::max(textHeight, iconSize);
  const int64_t textX = margin + (warning ? iconSize + s(kIconGap) : 0);
  const int64_t textY = margin + (blockHeight - textHeight) / 2;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    box.lines.push_back({lines[i], textX, textY + lineStep * static_cast<int64_t>(i)});
  }
  box.hasIcon = warning;
  if (warning) box.icon = {margin, margin + (blockHeight - iconSize) / 2, iconSize, iconSize};

  struct Label {
    const char* text;
    MessageAnswer answer;
  };
  std::vector<Label> labels;
  switch (buttons) {
    case MessageButtons::Ok:
      labels = {{"OK", MessageAnswer::Ok}};
      break;
    case MessageButtons::YesNo:
      labels = {{"Yes", MessageAnswer::Yes}, {"No", MessageAnswer::No}};
      break;
    case MessageButtons::YesNoCancel:
      labels = {{"Yes", MessageAnswer::Yes},
                {"No", MessageAnswer::No},
                {"Cancel", MessageAnswer::Cancel}};
      break;
  }
  int64_t buttonsWidth = 0;
  for (const auto& label : labels) {
    const int64_t w = std::max(s(kButtonWidth), Pixels(measure(label.text)) + 2 * s(kLabelPadding));
    if (!box.buttons.empty()) buttonsWidth += s(kButtonGap);
    box.buttons.push_back({{buttonsWidth, 0, w, s(kButtonHeight)}, label.text, label.answer});
    buttonsWidth += w;
  }

  const int64_t contentHeight = margin + blockHeight + margin;
  const int64_t bandHeight = 2 * s(kBandPadding) + s(kButtonHeight);
  box.width = std::max({textX + textWidth + margin, buttonsWidth + 2 * s(kBandPadding),
                        s(kMinBoxWidth), Pixels(measure(title)) + s(kTitleBarAllowance)});
  box.height = contentHeight + bandHeight;
  box.buttonBand = {0, contentHeight, box.width, bandHeight};
  // Right-aligned in the band, in reading order.
  const int64_t left = box.width - s(kBandPadding) - buttonsWidth;
  for (auto& button : box.buttons) {
    button.rect.x += left;
    button.rect.y = contentHeight + s(kBandPadding);
  }
  return box;
}

std::optional<MessageAnswer> DismissAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::YesNoCancel:
      return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      break;
  }
  return std::nullopt;
}

PromptLayout LayOutPrompt(double scale) {
  auto r = [scale](int64_t x, int64_t y, int64_t w, int64_t h) {
    return DialogRect{ScaleLength(x, scale), ScaleLength(y, scale), ScaleLength(w, scale),
                      ScaleLength(h, scale)};
  };
  PromptLayout p;
  p.width = ScaleLength(500, scale);
  p.height = ScaleLength(140, scale);
  p.label = r(10, 10, 480, 22);
  p.field = r(10, 32, 465, 21);
  p.ok = r(210, 67, 80, 25);
  return p;
}

TextField MakeTextField(const std::string& initial) {
  TextField field;
  field.text = CleanLine(initial, kFieldMaxCodePoints);
  field.caret = field.text.size();
  return field;
}

void FieldInsert(TextField& field, const std::string& utf8) {
  const std::size_t used = CodePoints(field.text);
  if (used >= kFieldMaxCodePoints) return;
  const std::string clean = CleanLine(utf8, kFieldMaxCodePoints - used);
  field.caret = std::min(field.caret, field.text.size());
  field.text.insert(field.caret, clean);
  field.caret += clean.size();
}

void FieldPress(TextField& field, FieldKey key) {
  std::string& t = field.text;
  field.caret = std::min(field.caret, t.size());
  switch (key) {
    case FieldKey::Backspace: {
      const std::size_t from = PrevBoundary(t, field.caret);
      t.erase(from, field.caret - from);
      field.caret = from;
      break;
    }
    case FieldKey::Delete:
      t.erase(field.caret, NextBoundary(t, field.caret) - field.caret);
      break;
    case FieldKey::Left:
      field.caret = PrevBoundary(t, field.caret);
      break;
    case FieldKey::Right:
      field.caret = NextBoundary(t, field.caret);
      break;
    case FieldKey::Home:
      field.caret = 0;
      break;
    case FieldKey::End:
      field.caret = t.size();
      break;
  }
}

std::size_t FieldCaretFromX(const TextField& field, double x, const MeasureText& measure) {
  std::size_t best = 0;
  double bestWidth = 0;
  for (std::size_t b = NextBoundary(field.text, 0); b > best; b = NextBoundary(field.text, b)) {
    const double width = measure(field.text.substr(0, b));
    if (width > x) {
      return (width - x < x - bestWidth) ? b : best;  // the nearer boundary; ties stay left
    }
    best = b;
    bestWidth = width;
    if (b >= field.text.size()) break;
  }
  return best;
}

int64_t FieldScroll(int64_t scroll, int64_t caretX, int64_t textWidth, int64_t innerWidth) {
  if (innerWidth <= 0) return std::max<int64_t>(0, caretX);
  if (caretX < scroll) scroll = caretX;
  if (caretX >= scroll + innerWidth) scroll = caretX - innerWidth + 1;
  // Once the text is short again, show as much of it as fits; the +1 keeps the caret's column.
  scroll = std::min(scroll, textWidth + 1 - innerWidth);
  return std::max<int64_t>(0, scroll);
}

}  // namespace platform
