// RecordingCanvas: appends one CanvasCall per drawing call and measures through its metrics.
// Keeps no pixels; without a resource canvas its fonts and images are bookkeeping only.
#include "render/display_list.h"

#include <algorithm>
#include <cmath>

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

void RecordingCanvas::SetFrontColor(Color color) {
  front_ = color;
  Record(CallKind::SetFrontColor, color);
}

void RecordingCanvas::SetDrawingMode(DrawMode mode) {
  mode_ = mode;
  Record(CallKind::SetDrawingMode, front_);
}

void RecordingCanvas::SetFont(Font* font) {
  font_ = font;
  Record(CallKind::SetFont, front_);
}

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
  return metrics_->TextWidth(font_, text);
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

void Replay(const DisplayList& list, platform::Canvas& target) {
  // Each call carries the state it was recorded under, so the target's state is set from the
  // calls themselves and whatever it held before does not matter.
  Color color = 0;
  DrawMode mode = DrawMode::Opaque;
  const Font* font = nullptr;
  target.SetFrontColor(color);
  target.SetDrawingMode(mode);
  target.SetFont(nullptr);
  auto state = [&](const CanvasCall& c, bool usesFrontColor) {
    if (c.mode != mode) target.SetDrawingMode(mode = c.mode);
    if (c.font != font) target.SetFont(const_cast<Font*>(font = c.font));
    if (usesFrontColor && c.color != color) target.SetFrontColor(color = c.color);
  };
  for (const CanvasCall& c : list.calls) {
    const auto& v = c.ints;
    switch (c.kind) {
      case CallKind::BeginDrawing:
        target.BeginDrawing(const_cast<Image*>(c.image));
        break;
      case CallKind::EndDrawing:
        target.EndDrawing();
        break;
      case CallKind::Box:
        state(c, false);
        target.Box(v[0], v[1], v[2], v[3], c.color);
        break;
      case CallKind::Circle:
        state(c, false);
        target.Circle(v[0], v[1], v[2], c.color);
        break;
      case CallKind::Line:
        state(c, true);
        target.Line(v[0], v[1], v[2], v[3]);
        break;
      case CallKind::LineExtent:
        state(c, true);
        target.LineExtent(v[0], v[1], v[2], v[3]);
        break;
      case CallKind::DrawText:
        state(c, true);
        target.DrawText(c.reals[0], c.reals[1], c.text);
        break;
      case CallKind::DrawImage:
        state(c, false);
        target.DrawImage(const_cast<Image*>(c.image), v[0], v[1]);
        break;
      default:  // state changes travel with the calls; resources and vectors are made elsewhere
        break;
    }
  }
}

}  // namespace render
