// RecordingCanvas: appends one CanvasCall per drawing call and measures through its metrics.
// Keeps no pixels; without a resource canvas its fonts and images are bookkeeping only.
#include "render/display_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/canvas_handles.h"

namespace render {
namespace {

std::size_t Utf8Length(const std::string& text) {
  // Continuation bytes (10xxxxxx) do not start a character.
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

double FakeMetrics::TextWidth(const Font*, const std::string& text) const {
  return kCharWidth * static_cast<double>(Utf8Length(text));
}

double FakeMetrics::TextHeight(const Font*) const { return kHeight; }

RecordingCanvas::RecordingCanvas(DisplayList& list, const platform::TextMetrics& metrics,
                                 platform::Canvas* resources, double dpi)
    : list_(&list),
      metrics_(&metrics),
      resources_(resources),
      dpi_(dpi > 0 && std::isfinite(dpi) ? dpi : 96.0) {}

RecordingCanvas::RecordingCanvas(double dpi)
    : ownList_(std::make_unique<DisplayList>()),
      ownMetrics_(std::make_unique<FakeMetrics>()),
      list_(ownList_.get()),
      metrics_(ownMetrics_.get()),
      resources_(nullptr),
      dpi_(dpi > 0 && std::isfinite(dpi) ? dpi : 96.0) {}

RecordingCanvas::~RecordingCanvas() = default;

std::vector<CanvasCall> RecordingCanvas::CallsOf(CallKind kind) const {
  std::vector<CanvasCall> out;
  std::copy_if(list_->calls.begin(), list_->calls.end(), std::back_inserter(out),
               [kind](const CanvasCall& call) { return call.kind == kind; });
  return out;
}

CanvasCall& RecordingCanvas::Record(CallKind kind, Color color) {
  CanvasCall& call = list_->calls.emplace_back();
  call.kind = kind;
  call.color = color;
  call.mode = mode_;
  call.font = font_;
  call.fontId = font_ != nullptr ? font_->id : 0;
  call.output = output_;
  call.outputId = output_ != nullptr ? output_->id : 0;
  return call;
}

namespace {

void SetImage(CanvasCall& call, const Image* image) {
  call.image = image;
  call.imageId = image != nullptr ? image->id : 0;
}

void SetVectorTarget(CanvasCall& call, const Image* target) {
  call.output = target;
  call.outputId = target != nullptr ? target->id : 0;
}

void SetFontArgument(CanvasCall& call, const Font* font) {
  call.font = font;
  call.fontId = font != nullptr ? font->id : 0;
}

}  // namespace

RecordingCanvas::FontInfo RecordingCanvas::InfoOf(const Font* font) const {
  for (const auto& owned : fonts_) {
    if (owned.get() == font) return FontInfo{font->face, font->points, font->bold, font->pixelSize};
  }
  return {};
}

bool RecordingCanvas::Owns(const Image* image) const {
  return std::any_of(images_.begin(), images_.end(),
                     [image](const auto& owned) { return owned.get() == image; });
}

int64_t RecordingCanvas::ImageWidth(const Image* image) const {
  return Owns(image) ? image->width : 0;
}

int64_t RecordingCanvas::ImageHeight(const Image* image) const {
  return Owns(image) ? image->height : 0;
}

bool RecordingCanvas::BeginDrawing(Image* target) {
  SetImage(Record(CallKind::BeginDrawing, front_), target);
  if (failBegin_ || (target != nullptr && resources_ == nullptr && !Owns(target))) return false;
  output_ = target;
  return true;
}

void RecordingCanvas::EndDrawing() {
  Record(CallKind::EndDrawing, front_);
  output_ = nullptr;
}

void RecordingCanvas::SetFrontColor(Color color) { front_ = color; }

void RecordingCanvas::SetDrawingMode(DrawMode mode) { mode_ = mode; }

void RecordingCanvas::SetFont(Font* font) { font_ = font; }

void RecordingCanvas::Box(int64_t x, int64_t y, int64_t w, int64_t h) { Box(x, y, w, h, front_); }

void RecordingCanvas::Box(int64_t x, int64_t y, int64_t w, int64_t h, Color color) {
  Record(CallKind::Box, color).ints = {x, y, w, h};
}

void RecordingCanvas::Circle(int64_t cx, int64_t cy, int64_t r) { Circle(cx, cy, r, front_); }

void RecordingCanvas::Circle(int64_t cx, int64_t cy, int64_t r, Color color) {
  Record(CallKind::Circle, color).ints = {cx, cy, r, 0};
}

void RecordingCanvas::Line(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  Record(CallKind::Line, front_).ints = {x1, y1, x2, y2};
}

void RecordingCanvas::LineExtent(int64_t x, int64_t y, int64_t w, int64_t h) {
  Record(CallKind::LineExtent, front_).ints = {x, y, w, h};
}

void RecordingCanvas::DrawText(double x, double y, const std::string& text) {
  CanvasCall& call = Record(CallKind::DrawText, front_);
  call.reals = {x, y, 0.0};
  call.text = text;
}

double RecordingCanvas::TextWidth(const std::string& text) {
  if (memo_ == nullptr) return metrics_->TextWidth(font_, text);
  const uint64_t fontId = font_ != nullptr ? font_->id : 0;
  if (memoNext_ == memo_->widths.size()) memo_->widths.emplace_back();
  WidthMemo::Width& w = memo_->widths[memoNext_++];
  if (w.metrics != metrics_ || w.fontId != fontId || w.text != text) {
    w.metrics = metrics_;
    w.fontId = fontId;
    w.text = text;
    w.width = metrics_->TextWidth(font_, text);
  }
  return w.width;
}

double RecordingCanvas::TextHeight(const std::string&) { return metrics_->TextHeight(font_); }

void RecordingCanvas::DrawImage(Image* image, int64_t x, int64_t y) {
  CanvasCall& call = Record(CallKind::DrawImage, front_);
  call.ints = {x, y, 0, 0};
  SetImage(call, image);
}

Image* RecordingCanvas::CreateImage(int64_t w, int64_t h, Color fill) {
  Record(CallKind::CreateImage, fill).ints = {w, h, 0, 0};
  Image* made = nullptr;
  if (resources_ != nullptr) {
    made = resources_->CreateImage(w, h, fill);
  } else if (!failImages_ && w > 0 && h > 0) {
    auto image = std::make_unique<Image>();
    image->id = nextId_++;
    image->width = w;
    image->height = h;
    made = images_.emplace_back(std::move(image)).get();
  }
  SetImage(list_->calls.back(), made);
  return made;
}

void RecordingCanvas::FreeImage(Image* image) {
  SetImage(Record(CallKind::FreeImage, front_), image);
  if (output_ == image) output_ = nullptr;
  if (vectorTarget_ == image) vectorTarget_ = nullptr;
  if (resources_ != nullptr) return resources_->FreeImage(image);
  std::erase_if(images_, [image](const auto& owned) { return owned.get() == image; });
}

bool RecordingCanvas::BeginVectorDrawing(Image* target) {
  SetImage(Record(CallKind::BeginVectorDrawing, vector_), target);
  if (target == nullptr || vectorTarget_ != nullptr) return false;
  const bool begun = resources_ != nullptr ? resources_->BeginVectorDrawing(target) : Owns(target);
  if (begun) vectorTarget_ = target;
  return begun;
}

void RecordingCanvas::EndVectorDrawing() {
  SetVectorTarget(Record(CallKind::EndVectorDrawing, vector_), vectorTarget_);
  if (resources_ != nullptr && vectorTarget_ != nullptr) resources_->EndVectorDrawing();
  vectorTarget_ = nullptr;
}

void RecordingCanvas::SetVectorColor(Color rgba) {
  vector_ = rgba;
  SetVectorTarget(Record(CallKind::SetVectorColor, rgba), vectorTarget_);
  if (resources_ != nullptr) resources_->SetVectorColor(rgba);
}

void RecordingCanvas::AddCircle(double cx, double cy, double r) {
  CanvasCall& call = Record(CallKind::AddCircle, vector_);
  call.reals = {cx, cy, r};
  SetVectorTarget(call, vectorTarget_);
  if (resources_ != nullptr) resources_->AddCircle(cx, cy, r);
}

void RecordingCanvas::MoveTo(double x, double y) {
  CanvasCall& call = Record(CallKind::MoveTo, vector_);
  call.reals = {x, y, 0.0};
  SetVectorTarget(call, vectorTarget_);
  if (resources_ != nullptr) resources_->MoveTo(x, y);
}

void RecordingCanvas::AddLineTo(double x, double y) {
  CanvasCall& call = Record(CallKind::AddLineTo, vector_);
  call.reals = {x, y, 0.0};
  SetVectorTarget(call, vectorTarget_);
  if (resources_ != nullptr) resources_->AddLineTo(x, y);
}

void RecordingCanvas::FillPath() {
  SetVectorTarget(Record(CallKind::FillPath, vector_), vectorTarget_);
  if (resources_ != nullptr) resources_->FillPath();
}

void RecordingCanvas::StrokePath(double width) {
  CanvasCall& call = Record(CallKind::StrokePath, vector_);
  call.reals = {width, 0.0, 0.0};
  SetVectorTarget(call, vectorTarget_);
  if (resources_ != nullptr) resources_->StrokePath(width);
}

Font* RecordingCanvas::LoadFont(const std::string& face, int points, bool bold) {
  {
    CanvasCall& call = Record(CallKind::LoadFont, front_);
    call.ints = {points, bold ? 1 : 0, 0, 0};
    call.text = face;
  }
  Font* made = nullptr;
  if (resources_ != nullptr) {
    made = resources_->LoadFont(face, points, bold);
  } else if (!failFonts_ && points > 0) {
    auto font = std::make_unique<Font>();
    font->id = nextId_++;
    font->face = face;
    font->points = points;
    font->bold = bold;
    font->pixelSize = static_cast<int>(std::lround(points * dpi_ / 72.0));
    made = fonts_.emplace_back(std::move(font)).get();
  }
  SetFontArgument(list_->calls.back(), made);
  return made;
}

void RecordingCanvas::FreeFont(Font* font) {
  SetFontArgument(Record(CallKind::FreeFont, front_), font);
  if (font_ == font) font_ = nullptr;
  if (resources_ != nullptr) return resources_->FreeFont(font);
  std::erase_if(fonts_, [font](const auto& owned) { return owned.get() == font; });
}

namespace {

// Whole numbers as they are, others to three decimals: enough to see a half pixel move, and
// steady across compilers in the last bits of a sine.
std::string Real(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", v);
  std::string out(text);
  out.erase(out.find_last_not_of('0') + 1);
  if (out.back() == '.') out.pop_back();
  if (out == "-0") out = "0";
  return out;
}

std::string Hex(Color c, bool withAlpha) {
  char text[16];
  if (withAlpha) {
    std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", platform::Red(c), platform::Green(c),
                  platform::Blue(c), platform::Alpha(c));
  } else {
    std::snprintf(text, sizeof text, "#%02X%02X%02X", platform::Red(c), platform::Green(c),
                  platform::Blue(c));
  }
  return text;
}

// The alpha byte is shown where it counts, and wherever it is set, so nothing is hidden.
std::string ColorOf(const CanvasCall& c, bool alphaCounts) {
  return Hex(c.color, alphaCounts || platform::Alpha(c.color) != 0);
}

const char* ModeName(DrawMode mode) {
  switch (mode) {
    case DrawMode::Opaque:
      return "opaque";
    case DrawMode::TransparentText:
      return "transparent-text";
    case DrawMode::Outline:
      return "outline";
    case DrawMode::AlphaBlend:
      return "alpha-blend";
  }
  return "mode?";
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char ch : text) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += ch;
    } else if (static_cast<unsigned char>(ch) < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(ch));
      out += code;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string Weight(int points, bool bold) {
  return std::to_string(points) + "pt " + (bold ? "bold" : "regular");
}

std::string FontName(const Font* font, const HandleNames& names) {
  if (font == nullptr) return "fallback";
  const auto found = names.fonts.find(font);
  if (found == names.fonts.end()) return "unnamed font";
  return found->second + " " + Weight(font->points, font->bold);
}

std::string ImageName(const Image* image, const HandleNames& names) {
  if (image == nullptr) return "none";
  const auto found = names.images.find(image);
  return found != names.images.end() ? found->second : "unnamed image";
}

std::string Point(int64_t x, int64_t y) { return std::to_string(x) + "," + std::to_string(y); }
std::string Extent(int64_t w, int64_t h) { return std::to_string(w) + "x" + std::to_string(h); }

// One line.
std::string Describe(const CanvasCall& c, const HandleNames& names) {
  const auto& v = c.ints;
  const std::string mode = ModeName(c.mode);
  const bool blended = c.mode == DrawMode::AlphaBlend;
  switch (c.kind) {
    case CallKind::BeginDrawing:
      return "begin " + (c.image == nullptr ? std::string("screen") : ImageName(c.image, names));
    case CallKind::EndDrawing:
      return "end";
    case CallKind::Box:
      return "box " + Point(v[0], v[1]) + " " + Extent(v[2], v[3]) + " " + ColorOf(c, blended) +
             " " + mode;
    case CallKind::Circle:
      return "circle " + Point(v[0], v[1]) + " r" + std::to_string(v[2]) + " " +
             ColorOf(c, blended) + " " + mode;
    case CallKind::Line:
      return "line " + Point(v[0], v[1]) + " " + Point(v[2], v[3]) + " " + ColorOf(c, blended) +
             " " + mode;
    case CallKind::LineExtent:
      return "line-extent " + Point(v[0], v[1]) + " " + Extent(v[2], v[3]) + " " +
             ColorOf(c, blended) + " " + mode;
    case CallKind::DrawText:
      return "text " + Real(c.reals[0]) + "," + Real(c.reals[1]) + " " + Quoted(c.text) + " " +
             ColorOf(c, false) + " " + mode + " " + FontName(c.font, names);
    case CallKind::DrawImage:
      return "image " + Point(v[0], v[1]) + " " + ImageName(c.image, names);
    case CallKind::CreateImage:
      return "create-image " + ImageName(c.image, names) + " " + Extent(v[0], v[1]) + " " +
             ColorOf(c, true);
    case CallKind::FreeImage:
      return "free-image " + ImageName(c.image, names);
    case CallKind::BeginVectorDrawing:
      return "vector-begin " + ImageName(c.image, names);
    case CallKind::EndVectorDrawing:
      return "vector-end";
    case CallKind::SetVectorColor:
      return "vector-colour " + ColorOf(c, true);
    case CallKind::AddCircle:
      return "path-circle " + Real(c.reals[0]) + "," + Real(c.reals[1]) + " r" + Real(c.reals[2]);
    case CallKind::MoveTo:
      return "move-to " + Real(c.reals[0]) + "," + Real(c.reals[1]);
    case CallKind::AddLineTo:
      return "line-to " + Real(c.reals[0]) + "," + Real(c.reals[1]);
    case CallKind::FillPath:
      return "fill-path";
    case CallKind::StrokePath:
      return "stroke-path width " + Real(c.reals[0]);
    case CallKind::LoadFont: {
      const auto found = c.font != nullptr ? names.fonts.find(c.font) : names.fonts.end();
      return "load-font " + (found != names.fonts.end() ? found->second : "unnamed font") + " " +
             Weight(static_cast<int>(v[0]), v[1] != 0) + " " + Quoted(c.text);
    }
    case CallKind::FreeFont:
      return "free-font " + FontName(c.font, names);
  }
  return "call?";
}

}  // namespace

std::string DescribeCalls(const std::vector<CanvasCall>& calls, const HandleNames& names) {
  std::string out;
  for (const CanvasCall& c : calls) {
    out += Describe(c, names);
    out += '\n';
  }
  return out;
}

// Each call carries the state it was recorded under, so the target's state is set from the
// calls themselves and whatever it held before does not matter.
Replayer::Replayer(platform::Canvas& target) : target_(target) {
  target_.SetFrontColor(color_);
  target_.SetDrawingMode(mode_);
  target_.SetFont(nullptr);
}

void Replayer::Draw(const CanvasCall& c) {
  auto state = [&](bool usesFrontColor) {
    if (c.mode != mode_) target_.SetDrawingMode(mode_ = c.mode);
    if (c.font != font_) target_.SetFont(const_cast<Font*>(font_ = c.font));
    if (usesFrontColor && c.color != color_) target_.SetFrontColor(color_ = c.color);
  };
  const auto& v = c.ints;
  switch (c.kind) {
    case CallKind::BeginDrawing:
      target_.BeginDrawing(const_cast<Image*>(c.image));
      break;
    case CallKind::EndDrawing:
      target_.EndDrawing();
      break;
    case CallKind::Box:
      state(false);
      target_.Box(v[0], v[1], v[2], v[3], c.color);
      break;
    case CallKind::Circle:
      state(false);
      target_.Circle(v[0], v[1], v[2], c.color);
      break;
    case CallKind::Line:
      state(true);
      target_.Line(v[0], v[1], v[2], v[3]);
      break;
    case CallKind::LineExtent:
      state(true);
      target_.LineExtent(v[0], v[1], v[2], v[3]);
      break;
    case CallKind::DrawText:
      state(true);
      target_.DrawText(c.reals[0], c.reals[1], c.text);
      break;
    case CallKind::DrawImage:
      state(false);
      target_.DrawImage(const_cast<Image*>(c.image), v[0], v[1]);
      break;
    default:  // state changes travel with the calls; resources and vectors are made elsewhere
      break;
  }
}

void Replay(const DisplayList& list, platform::Canvas& target) {
  Replayer replayer(target);
  for (const CanvasCall& c : list.calls) replayer.Draw(c);
}

}  // namespace render
