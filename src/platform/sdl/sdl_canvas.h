// The Canvas that paints with an SDL_Renderer: the screen's back buffer and render-target images,
// text through SDL_ttf with fontconfig's faces, and CPU-rasterised anti-aliased vector paths.
// It borrows the renderer and never presents, clears the screen or touches the window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/canvas.h"

struct SDL_Rect;
struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;

namespace platform {

// Pixel rules beyond the interface's comments:
// - Circle(cx, cy, r) covers the pixels whose offset (dx, dy) from the centre has
//   dx*dx + dy*dy <= r*r + r, i.e. within about r + 0.5: 2r + 1 pixels across; r = 0 is one
//   pixel, r < 0 nothing. Its outline is the rim of exactly that disc, 1 pixel thick.
// - Lines include both end points. A negative extent runs left or up and covers |w| (|h|)
//   pixels, mirroring the positive case.
// - Text has no background box in any mode (there is no back colour to paint one with), and is
//   drawn opaque in the front colour whatever its alpha. Positions round to the nearest pixel.
// - TextHeight is the font's height, ascent plus descent (TTF_FontHeight), the same whatever
//   the text, "" included. Text with no font loadable at all draws nothing and measures 0.
// - A null font means a fallback face (Open Sans, else DejaVu Sans) at 12 points.
// - Images are ARGB textures blended through straight (not premultiplied) alpha.
// - Vector paths: FillPath fills the union of the circles and the polygons (nonzero winding,
//   each MoveTo subpath closed); StrokePath strokes polylines with round ends and joins, and
//   circles as rings. Coverage is sampled 4 x 4 per pixel and composited source-over.
// - Text drawn whole on the screen's surface is copied from a cached picture of it already
//   blended over what lies under it: one opaque box drawn before it with nothing over it since
//   (known from the calls), or pixels equal to those it was last blended over. The same pixels,
//   without blending them again.
// - Fills on the screen of a software renderer are written straight into its surface, in
//   order with everything SDL draws there.
// - Text textures stay cached while drawn; a string not drawn for kTextKeepFrames screen frames
//   (a frame begins with BeginDrawing(nullptr)) is dropped. A frame begun with a clip set is
//   drawn in part, and the strings it leaves alone are still on the screen: such frames count
//   only towards kTextKeepPartFrames, and the cache is swept only every kTextSweepPartFrames of
//   them.
// The owner destroys the canvas before the renderer, since it holds textures of that renderer.
class SdlCanvas final : public Canvas, public TextMetrics {
 public:
  static constexpr uint64_t kTextKeepFrames = 3;
  static constexpr uint64_t kTextKeepPartFrames = 1800;  // half a minute at 60 frames a second
  static constexpr uint64_t kTextSweepPartFrames = 64;
  static constexpr int kFallbackPoints = 12;

  // `renderer` may be null: then nothing draws and no image is made, but fonts still measure.
  // A dpi that is not positive counts as 96.
  SdlCanvas(SDL_Renderer* renderer, double dpi);
  ~SdlCanvas() override;
  SdlCanvas(const SdlCanvas&) = delete;
  SdlCanvas& operator=(const SdlCanvas&) = delete;

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
  // Measurements of a given font, remembered per font and text: a frame measures the same
  // strings every time it is recorded.
  double TextWidth(const Font* font, const std::string& text) const override;
  double TextHeight(const Font* font) const override;

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

  // The surface a software renderer draws the screen on, when it is not a window's (a window's
  // is found by itself), so fills can be written into it directly. Null: fills go through SDL.
  void UseScreenSurface(SDL_Surface* surface) { givenSurface_ = surface; }

  bool KeepsFrame() const override { return software_; }
  void SetClip(const Rect* clip) override;
  void SetPresentRects(const Rect* rects, int count) override;
  // The rectangles the next present is to show, cleared by the call; 0: the whole screen.
  int TakePresentRects(const SDL_Rect** rects);

  std::size_t CachedTextCount() const { return textCache_.size(); }

 private:
  struct TextKey {
    uint64_t fontId;
    Color color;
    std::string text;
    bool operator==(const TextKey&) const = default;
  };
  // A key looked up without copying its text.
  struct TextKeyView {
    uint64_t fontId;
    Color color;
    std::string_view text;
  };
  static TextKeyView View(const TextKey& k) { return TextKeyView{k.fontId, k.color, k.text}; }
  static TextKeyView View(const TextKeyView& k) { return k; }
  struct TextKeyHash {
    using is_transparent = void;
    std::size_t operator()(const TextKeyView& key) const;
    std::size_t operator()(const TextKey& key) const { return (*this)(View(key)); }
  };
  struct TextKeyEqual {
    using is_transparent = void;
    bool operator()(const auto& a, const auto& b) const {
      const TextKeyView x = View(a), y = View(b);
      return x.fontId == y.fontId && x.color == y.color && x.text == y.text;
    }
  };
  static constexpr int kBackdrops = 4;
  // A text's pixels as blended over one backdrop, in the screen surface's format: one opaque
  // colour, or the very pixels that were under it.
  struct Backdrop {
    Color color = 0;  // of an opaque box
    uint32_t format = 0;
    uint64_t madeFrame = 0;
    std::vector<uint32_t> under;   // else the pixels; row-major, the text's width a row
    std::vector<uint32_t> pixels;  // the text blended over it, likewise
  };
  struct CachedText {
    SDL_Texture* texture;
    int width;
    int height;
    uint64_t lastFrame;  // any screen frame
    uint64_t lastWhole;  // counted in whole frames
    // The text pre-blended over a few opaque colours, replaced in turn, and over one backdrop
    // of other pixels.
    std::array<Backdrop, kBackdrops> over{};
    int nextOver = 0;
    Backdrop shaped;
  };
  // What one drawing call on the screen covered in this frame, for finding the colour under
  // a text.
  struct Painted {
    int x0, y0, x1, y1;  // pixels, end exclusive
    bool opaqueBox;      // a filled box of one colour
    Color color;         // its colour, alpha aside
  };
  struct PathPoint {
    double x, y;
  };
  struct PathCircle {
    double cx, cy, r;
  };

  bool PrepareShape(Color color);
  void AddSpan(int64_t x0, int64_t y0, int64_t x1, int64_t y1);  // end exclusive
  void FlushShape();
  void Note(int x0, int y0, int x1, int y1, bool opaqueBox, Color color);
  bool UniformUnder(int x0, int y0, int x1, int y1, Color& color) const;
  void UpdateLimits();
  void QueueDrawn() { queued_ = true; }
  void CopyTexture(SDL_Texture* texture, int x, int y, int w, int h);
  void DrawBox(int64_t x, int64_t y, int64_t w, int64_t h, Color color);
  void DrawCircle(int64_t cx, int64_t cy, int64_t r, Color color);
  void DrawLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, Color color);
  Font* ActiveFont();
  const Font* MeasuringFont(const Font* font) const;
  static void DestroyCached(const CachedText& cached);
  void DropCachedText(uint64_t fontId);
  void SweepTextCache();
  void ClearPath();
  Font* OpenFont(const std::string& face, int points, bool bold) const;

  SDL_Renderer* renderer_;
  double dpi_;
  bool ttfReady_;
  bool software_ = false;  // SDL's software renderer: its pixels stay put between presents
  Color front_ = 0;
  DrawMode mode_ = DrawMode::Opaque;
  Font* font_ = nullptr;
  Image* target_ = nullptr;
  uint64_t frame_ = 0;
  uint64_t wholeFrame_ = 0;

  // The output's size, read when it changes rather than per shape, and the part drawn on.
  int outWidth_ = 0, outHeight_ = 0;
  bool clipped_ = false;
  int clipX0_ = 0, clipY0_ = 0, clipX1_ = 0, clipY1_ = 0;
  int limitX0_ = 0, limitY0_ = 0, limitX1_ = 0, limitY1_ = 0;
  SDL_Surface* givenSurface_ = nullptr;
  SDL_Surface* direct_ = nullptr;  // the screen's surface while a frame is drawn on it
  bool queued_ = false;            // SDL may hold draws not yet written to the surface
  bool blendShape_ = false;
  uint32_t shapePixel_ = 0;       // the fill as the direct surface stores it
  Color shapeColor_ = 0;          // the fill's colour, alpha aside
  std::vector<SDL_Rect> spans_;   // the current shape's rectangles, kept between shapes
  std::vector<SDL_Rect> strips_;  // the same cut for SDL's own fill
  std::vector<Painted> painted_;
  std::vector<SDL_Rect> presentRects_;

  mutable std::vector<std::unique_ptr<Font>> fonts_;
  std::vector<std::unique_ptr<Image>> images_;
  mutable Font* fallback_ = nullptr;
  mutable bool fallbackTried_ = false;
  std::unordered_map<TextKey, CachedText, TextKeyHash, TextKeyEqual> textCache_;
  // Colour unused.
  mutable std::unordered_map<TextKey, double, TextKeyHash, TextKeyEqual> widthCache_;

  Image* vectorTarget_ = nullptr;
  std::vector<uint32_t> vectorPixels_;  // ARGB, straight alpha, row-major
  Color vectorColor_ = 0;
  std::vector<std::vector<PathPoint>> subpaths_;
  std::vector<PathCircle> circles_;
};

}  // namespace platform
