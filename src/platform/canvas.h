// The drawing surface every board drawer paints through: boxes, circles, lines, text, images
// and anti-aliased vector paths, with a front colour, a drawing mode and a font as state.
// SdlCanvas paints the screen and images; render's RecordingCanvas writes a frame's display list.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Red in the low byte, then green, blue and alpha.
using Color = uint32_t;
constexpr Color RGB(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr Color RGBA(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  return r | (g << 8) | (b << 16) | (a << 24);
}
constexpr uint8_t Red(Color c) { return c & 0xFF; }
constexpr uint8_t Green(Color c) { return (c >> 8) & 0xFF; }
constexpr uint8_t Blue(Color c) { return (c >> 16) & 0xFF; }
constexpr uint8_t Alpha(Color c) { return (c >> 24) & 0xFF; }

enum class DrawMode : int {
  Opaque = 0,           // shapes filled, alpha ignored
  TransparentText = 1,  // text without a background box; shapes as Opaque
  Outline = 4,          // boxes and circles as 1-pixel outlines
  AlphaBlend = 16,      // boxes, circles and lines blended with the colour's alpha
};

// A rectangle of pixels: x..x+w-1, y..y+h-1.
struct Rect {
  int64_t x = 0, y = 0, w = 0, h = 0;
  bool operator==(const Rect&) const = default;
};

struct Font;   // owned by the canvas that loaded it
struct Image;  // owned by the canvas that created it

// Text measurement without drawing state, so a frame can be recorded with the sizes the screen
// will show. A null font is the canvas's fallback face.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual double TextWidth(const Font* font, const std::string& text) const = 0;
  virtual double TextHeight(const Font* font) const = 0;  // the font's line height
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Output: nullptr is the screen's back buffer, else an image. One output open at a time.
  virtual bool BeginDrawing(Image* target) = 0;
  virtual void EndDrawing() = 0;

  virtual void SetFrontColor(Color color) = 0;
  virtual void SetDrawingMode(DrawMode mode) = 0;
  virtual void SetFont(Font* font) = 0;  // nullptr: the fallback font

  // Covers x..x+w-1, y..y+h-1; filled or outlined by the mode.
  virtual void Box(int64_t x, int64_t y, int64_t w, int64_t h) = 0;
  virtual void Box(int64_t x, int64_t y, int64_t w, int64_t h, Color color) = 0;
  virtual void Circle(int64_t cx, int64_t cy, int64_t r) = 0;
  virtual void Circle(int64_t cx, int64_t cy, int64_t r, Color color) = 0;
  // 1-pixel line between two points, front colour.
  virtual void Line(int64_t x1, int64_t y1, int64_t x2, int64_t y2) = 0;
  // 1-pixel line from (x, y) to (x + w - 1, y + h - 1); nothing when w or h is 0.
  virtual void LineExtent(int64_t x, int64_t y, int64_t w, int64_t h) = 0;

  // Text with its top-left corner at (x, y), front colour, current font.
  virtual void DrawText(double x, double y, const std::string& text) = 0;
  virtual double TextWidth(const std::string& text) = 0;
  virtual double TextHeight(const std::string& text) = 0;  // the font's line height

  // Blends the image through its own alpha with its top-left corner at (x, y).
  virtual void DrawImage(Image* image, int64_t x, int64_t y) = 0;

  // Every pixel takes `fill`, alpha included. nullptr when the image cannot be made.
  virtual Image* CreateImage(int64_t w, int64_t h, Color fill) = 0;
  virtual void FreeImage(Image* image) = 0;

  // Anti-aliased vector drawing on an image.
  virtual bool BeginVectorDrawing(Image* target) = 0;
  virtual void EndVectorDrawing() = 0;
  virtual void SetVectorColor(Color rgba) = 0;
  virtual void AddCircle(double cx, double cy, double r) = 0;
  virtual void MoveTo(double x, double y) = 0;
  virtual void AddLineTo(double x, double y) = 0;
  virtual void FillPath() = 0;                // fills and clears the current path
  virtual void StrokePath(double width) = 0;  // round ends and joins; clears the path

  // Drawing only part of a frame. A canvas that keeps its screen's pixels from one present to the
  // next may be asked to repaint just the rectangles that changed: every drawing call is then
  // clipped to `clip` (nullptr: the whole output), and the next present shows only `rects`
  // (count 0: the whole screen). A canvas that does not keep them draws every frame whole.
  virtual bool KeepsFrame() const { return false; }
  virtual void SetClip(const Rect* clip) { (void)clip; }
  virtual void SetPresentRects(const Rect* rects, int count) {
    (void)rects;
    (void)count;
  }

  // Size in points; the pixel em height is round(points x dpi / 72). nullptr when no face loads.
  virtual Font* LoadFont(const std::string& face, int points, bool bold) = 0;
  virtual void FreeFont(Font* font) = 0;
};

}  // namespace platform
