// A Canvas that paints nothing and writes down every call with the state in force, for checking
// drawers' geometry and for keeping a frame as a list of commands to compare with the last one.
// It owns fake fonts and images only; it never touches SDL or any real canvas.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace platform {

enum class CallKind {
  BeginDrawing,
  EndDrawing,
  SetFrontColor,
  SetDrawingMode,
  SetFont,
  Box,  // with or without its own colour: `color` is the colour it paints with
  Circle,
  Line,
  LineExtent,
  DrawText,
  TextWidth,
  TextHeight,
  DrawImage,
  CreateImage,
  FreeImage,
  BeginVectorDrawing,
  EndVectorDrawing,
  SetVectorColor,
  AddCircle,
  MoveTo,
  AddLineTo,
  FillPath,
  StrokePath,
  LoadFont,
  FreeFont,
};

// One call. Arguments go in order into `ints` (x, y, w, h / cx, cy, r / x1, y1, x2, y2; points
// and bold 0/1 for LoadFont) or `reals` (text and vector coordinates, stroke width); unused
// slots stay 0. Set* calls record their argument as the state they put in force.
struct CanvasCall {
  CallKind kind = CallKind::Box;
  std::array<int64_t, 4> ints{};
  std::array<double, 3> reals{};
  std::string text;                  // DrawText, TextWidth, TextHeight; the face for LoadFont
  Color color = 0;                   // the colour used: explicit, else front colour; vector colour
                                     // for vector calls; the fill for CreateImage
  DrawMode mode = DrawMode::Opaque;  // mode in force
  const Font* font = nullptr;     // font in force (null: the fallback); the font for Load/FreeFont
  const Image* output = nullptr;  // open output (null: the screen) or vector drawing target
  const Image* image = nullptr;   // the image argument: drawn, created, freed, targeted

  bool operator==(const CanvasCall&) const = default;
};

// Fake metrics, fixed so tests can compute expected geometry by hand:
//   pixel size  = round(points x dpi / 72); a null font measures as kFallbackPixels
//   TextWidth   = 0.5 x pixel size x number of UTF-8 characters
//   TextHeight  = pixel size, whatever the text ("" included)
class RecordingCanvas final : public Canvas {
 public:
  static constexpr int kFallbackPixels = 16;

  explicit RecordingCanvas(double dpi = 96.0);
  ~RecordingCanvas() override;

  const std::vector<CanvasCall>& Calls() const { return calls_; }
  std::vector<CanvasCall> CallsOf(CallKind kind) const;
  void Clear() { calls_.clear(); }  // forgets calls, keeps fonts, images and drawing state

  // Failure switches, so drawers' fallbacks can be exercised.
  void FailFontLoads(bool fail) { failFonts_ = fail; }
  void FailImages(bool fail) { failImages_ = fail; }
  void FailBeginDrawing(bool fail) { failBegin_ = fail; }

  // What a handle made here was asked for; zero/empty for handles it does not own.
  struct FontInfo {
    std::string face;
    int points = 0;
    bool bold = false;
    int pixelSize = 0;
  };
  FontInfo InfoOf(const Font* font) const;
  std::size_t LiveFonts() const { return fonts_.size(); }
  std::size_t LiveImages() const { return images_.size(); }
  int64_t ImageWidth(const Image* image) const;
  int64_t ImageHeight(const Image* image) const;

  bool BeginDrawing(Image* target) override;
  void EndDrawing() override;

  void SetFrontColor(Color color) override;
  void SetDrawingMode(DrawMode mode) override;
  void SetFont(Font* font) override;

  void Box(int64_t x, int64_t y, int64_t w, int64_t h) override;
  void Box(int64_t x, int64_t y, int64_t w, int64_t h, Color color) override;
  void Circle(int64_t cx, int64_t cy, int64_t r) override;
  void Circle(int64_t cx, int64_t cy, int64_t r, Color color) override;
  void Line(int64_t x1, int64_t y1, int64_t x2, int64_t y2) override;
  void LineExtent(int64_t x, int64_t y, int64_t w, int64_t h) override;

  void DrawText(double x, double y, const std::string& text) override;
  double TextWidth(const std::string& text) override;
  double TextHeight(const std::string& text) override;

  void DrawImage(Image* image, int64_t x, int64_t y) override;
  Image* CreateImage(int64_t w, int64_t h, Color fill) override;
  void FreeImage(Image* image) override;

  bool BeginVectorDrawing(Image* target) override;
  void EndVectorDrawing() override;
  void SetVectorColor(Color rgba) override;
  void AddCircle(double cx, double cy, double r) override;
  void MoveTo(double x, double y) override;
  void AddLineTo(double x, double y) override;
  void FillPath() override;
  void StrokePath(double width) override;

  Font* LoadFont(const std::string& face, int points, bool bold) override;
  void FreeFont(Font* font) override;

 private:
  CanvasCall& Record(CallKind kind, Color color);
  int PixelSizeOf(const Font* font) const;
  bool Owns(const Image* image) const;

  double dpi_;
  std::vector<CanvasCall> calls_;
  Color front_ = 0;
  Color vector_ = 0;
  DrawMode mode_ = DrawMode::Opaque;
  Font* font_ = nullptr;
  Image* output_ = nullptr;
  Image* vectorTarget_ = nullptr;
  uint64_t nextId_ = 1;
  bool failFonts_ = false;
  bool failImages_ = false;
  bool failBegin_ = false;
  std::vector<std::unique_ptr<Font>> fonts_;
  std::vector<std::unique_ptr<Image>> images_;
};

}  // namespace platform
