// RecordingCanvas: appends one CanvasCall per call and answers measurements from fake metrics.
// Keeps no pixels; its fonts and images are bookkeeping only.
#include "platform/recording_canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/canvas_handles.h"

namespace platform {
namespace {

std::size_t Utf8Length(const std::string& text) {
  // Continuation bytes (10xxxxxx) do not start a character.
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

RecordingCanvas::RecordingCanvas(double dpi) : dpi_(dpi > 0 && std::isfinite(dpi) ? dpi : 96.0) {}

RecordingCanvas::~RecordingCanvas() = default;

std::vector<CanvasCall> RecordingCanvas::CallsOf(CallKind kind) const {
  std::vector<CanvasCall> out;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
               [kind](const CanvasCall& call) { return call.kind == kind; });
  return out;
}

CanvasCall& RecordingCanvas::Record(CallKind kind, Color color) {
  CanvasCall call;
  call.kind = kind;
  call.color = color;
  call.mode = mode_;
  call.font = font_;
  call.output = output_;
  calls_.push_back(std::move(call));
  return calls_.back();
}

RecordingCanvas::FontInfo RecordingCanvas::InfoOf(const Font* font) const {
  for (const auto& owned : fonts_) {
    if (owned.get() == font) return FontInfo{font->face, font->points, font->bold, font->pixelSize};
  }
  return {};
}

int RecordingCanvas::PixelSizeOf(const Font* font) const {
  return font != nullptr ? font->pixelSize : kFallbackPixels;
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
  Record(CallKind::BeginDrawing, front_).image = target;
  if (failBegin_ || (target != nullptr && !Owns(target))) return false;
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
  Record(CallKind::TextWidth, front_).text = text;
  return 0.5 * PixelSizeOf(font_) * static_cast<double>(Utf8Length(text));
}

double RecordingCanvas::TextHeight(const std::string& text) {
  Record(CallKind::TextHeight, front_).text = text;
  return PixelSizeOf(font_);
}

void RecordingCanvas::DrawImage(Image* image, int64_t x, int64_t y) {
  CanvasCall& call = Record(CallKind::DrawImage, front_);
  call.ints = {x, y, 0, 0};
  call.image = image;
}

Image* RecordingCanvas::CreateImage(int64_t w, int64_t h, Color fill) {
  CanvasCall& call = Record(CallKind::CreateImage, fill);
  call.ints = {w, h, 0, 0};
  if (failImages_ || w <= 0 || h <= 0) return nullptr;
  auto image = std::make_unique<Image>();
  image->id = nextId_++;
  image->width = w;
  image->height = h;
  call.image = image.get();
  images_.push_back(std::move(image));
  return images_.back().get();
}

void RecordingCanvas::FreeImage(Image* image) {
  Record(CallKind::FreeImage, front_).image = image;
  auto it = std::find_if(images_.begin(), images_.end(),
                         [image](const auto& owned) { return owned.get() == image; });
  if (it == images_.end()) return;
  if (output_ == image) output_ = nullptr;
  if (vectorTarget_ == image) vectorTarget_ = nullptr;
  images_.erase(it);
}

bool RecordingCanvas::BeginVectorDrawing(Image* target) {
  Record(CallKind::BeginVectorDrawing, vector_).image = target;
  if (target == nullptr || !Owns(target) || vectorTarget_ != nullptr) return false;
  vectorTarget_ = target;
  return true;
}

void RecordingCanvas::EndVectorDrawing() {
  CanvasCall& call = Record(CallKind::EndVectorDrawing, vector_);
  call.output = vectorTarget_;
  vectorTarget_ = nullptr;
}

void RecordingCanvas::SetVectorColor(Color rgba) {
  vector_ = rgba;
  Record(CallKind::SetVectorColor, rgba).output = vectorTarget_;
}

void RecordingCanvas::AddCircle(double cx, double cy, double r) {
  CanvasCall& call = Record(CallKind::AddCircle, vector_);
  call.reals = {cx, cy, r};
  call.output = vectorTarget_;
}

void RecordingCanvas::MoveTo(double x, double y) {
  CanvasCall& call = Record(CallKind::MoveTo, vector_);
  call.reals = {x, y, 0.0};
  call.output = vectorTarget_;
}

void RecordingCanvas::AddLineTo(double x, double y) {
  CanvasCall& call = Record(CallKind::AddLineTo, vector_);
  call.reals = {x, y, 0.0};
  call.output = vectorTarget_;
}

void RecordingCanvas::FillPath() { Record(CallKind::FillPath, vector_).output = vectorTarget_; }

void RecordingCanvas::StrokePath(double width) {
  CanvasCall& call = Record(CallKind::StrokePath, vector_);
  call.reals = {width, 0.0, 0.0};
  call.output = vectorTarget_;
}

Font* RecordingCanvas::LoadFont(const std::string& face, int points, bool bold) {
  CanvasCall& call = Record(CallKind::LoadFont, front_);
  call.ints = {points, bold ? 1 : 0, 0, 0};
  call.text = face;
  if (failFonts_ || points <= 0) return nullptr;
  auto font = std::make_unique<Font>();
  font->id = nextId_++;
  font->face = face;
  font->points = points;
  font->bold = bold;
  font->pixelSize = static_cast<int>(std::lround(points * dpi_ / 72.0));
  call.font = font.get();
  fonts_.push_back(std::move(font));
  return fonts_.back().get();
}

void RecordingCanvas::FreeFont(Font* font) {
  Record(CallKind::FreeFont, front_).font = font;
  auto it = std::find_if(fonts_.begin(), fonts_.end(),
                         [font](const auto& owned) { return owned.get() == font; });
  if (it == fonts_.end()) return;
  if (font_ == font) font_ = nullptr;
  fonts_.erase(it);
}

}  // namespace platform
