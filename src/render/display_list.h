// A frame as plain data: every Canvas call with the state in force, its real coordinates and the
// ids of its font and image. Two frames compare exactly, and a recorded frame can be drawn again
// on a real canvas, so an unchanged frame need not be drawn at all.
// Knows nothing of SDL: measurements come from whichever TextMetrics the recorder is given.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace render {

using platform::Color;
using platform::DrawMode;
using platform::Font;
using platform::Image;

enum class CallKind {
  BeginDrawing,
  EndDrawing,
  Box,  // with or without its own colour: `color` is the colour it paints with
  Circle,
  Line,
  LineExtent,
  DrawText,
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
// slots stay 0. Setting the colour, mode or font records nothing: every call carries the state
// it was made under, which is all a replay needs, and a frame is half as many calls.
struct CanvasCall {
  CallKind kind = CallKind::Box;
  std::array<int64_t, 4> ints{};
  std::array<double, 3> reals{};
  std::string text;                  // DrawText; the face for LoadFont
  Color color = 0;                   // the colour used: explicit, else front colour; vector colour
                                     // for vector calls; the fill for CreateImage
  DrawMode mode = DrawMode::Opaque;  // mode in force
  const Font* font = nullptr;     // font in force (null: the fallback); the font for Load/FreeFont
  const Image* output = nullptr;  // open output (null: the screen) or vector drawing target
  const Image* image = nullptr;   // the image argument: drawn, created, freed, targeted
  uint64_t fontId = 0;            // ids of the three handles above, 0 for none
  uint64_t outputId = 0;
  uint64_t imageId = 0;

  // Handles compare by id: a handle freed since (fonts after a resize) may have left a dangling
  // pointer in an old frame, and a new handle may reuse its address.
  bool operator==(const CanvasCall& o) const {
    return kind == o.kind && ints == o.ints && reals == o.reals && color == o.color &&
           mode == o.mode && fontId == o.fontId && outputId == o.outputId && imageId == o.imageId &&
           text == o.text;
  }
};

// Where a recorded frame paints, tile by tile, so the next frame can be compared with it region
// by region (render/damage.h fills it). Not part of what a frame is: lists compare by calls.
struct FrameRegions {
  int64_t width = 0, height = 0;       // the client area indexed; 0 x 0 until indexed
  bool screenOnly = false;             // every call draws on the screen, so a part can be redrawn
  std::vector<platform::Rect> bounds;  // per call, the pixels it may change; empty when none
  std::vector<uint64_t> callHash;      // per call, of everything it says
  uint64_t serial = 0;                 // this indexing, unique in the process; 0 until indexed
  // A frame indexed from another (the frame on screen) is matched with it call by call, equal
  // calls in the same order, as few left over as can be: those lie where the two may differ.
  uint64_t comparedTo = 0;         // that frame's serial; 0 when not matched, and compared by tiles
  std::vector<uint32_t> added;     // calls of this frame that frame has no match for
  std::vector<uint32_t> removed;   // calls of that frame this one has no match for
  bool tiled = false;              // the tile fields below are filled
  int64_t columns = 0, rows = 0;   // tiles across and down
  std::vector<uint64_t> tileHash;  // per tile, of the calls over it in order
  std::vector<uint32_t> tileStart;  // per tile, where its calls begin in tileCalls; one more
  std::vector<uint32_t> tileCalls;  // indices of the calls over each tile, in order
};

struct DisplayList {
  std::vector<CanvasCall> calls;
  FrameRegions regions;
  bool operator==(const DisplayList& o) const { return calls == o.calls; }
};

// Text widths in the order one frame asked for them, kept for the next, which asks for nearly
// the same texts in the same order: most are answered from their own place, without a lookup.
struct WidthMemo {
  struct Width {
    const platform::TextMetrics* metrics = nullptr;
    uint64_t fontId = 0;  // 0: the fallback font
    std::string text;
    double width = 0;
  };
  std::vector<Width> widths;
};

// Fixed metrics for tests, so expected geometry can be worked out by hand: every font, the
// fallback included, is 20 pixels high and 10 pixels wide per character.
class FakeMetrics final : public platform::TextMetrics {
 public:
  static constexpr double kHeight = 20;
  static constexpr double kCharWidth = 10;
  double TextWidth(const Font* font, const std::string& text) const override;
  double TextHeight(const Font* font) const override;
};

// A Canvas that paints nothing and writes every drawing call into a DisplayList. Text is measured
// through the metrics it is given. Fonts, images and vector drawing go to `resources` when one is
// given; otherwise the recorder makes bookkeeping-only handles of its own (tests).
class RecordingCanvas final : public platform::Canvas {
 public:
  RecordingCanvas(DisplayList& list, const platform::TextMetrics& metrics,
                  platform::Canvas* resources = nullptr, double dpi = 96.0);
  // A recorder with its own list and fake metrics.
  explicit RecordingCanvas(double dpi = 96.0);
  ~RecordingCanvas() override;

  const DisplayList& List() const { return *list_; }
  const std::vector<CanvasCall>& Calls() const { return list_->calls; }
  std::vector<CanvasCall> CallsOf(CallKind kind) const;
  void Clear() { list_->calls.clear(); }  // forgets calls, keeps handles and drawing state
  // Text widths are asked of `memo` first, and what this frame asks is kept there for the next.
  void RememberWidths(WidthMemo& memo) {
    memo_ = &memo;
    memoNext_ = 0;
  }

  // Failure switches for the recorder's own handles, so drawers' fallbacks can be exercised.
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
  bool Owns(const Image* image) const;

  std::unique_ptr<DisplayList> ownList_;
  std::unique_ptr<FakeMetrics> ownMetrics_;
  DisplayList* list_;
  const platform::TextMetrics* metrics_;
  platform::Canvas* resources_;
  WidthMemo* memo_ = nullptr;
  std::size_t memoNext_ = 0;  // the place in memo_ of the next width asked
  double dpi_;
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

// What the fonts and images of a list are, for writing it out: a font's role ("gridNumber", to
// which its size and weight are added), an image's part ("whiteAsterisk"). Handles missing here
// are written as unnamed and never looked into, so a freed one is harmless.
struct HandleNames {
  std::map<const Font*, std::string> fonts;
  std::map<const Image*, std::string> images;
};

// The calls as text, one a line with the colour, mode and font it drew with, so two frames can be
// compared by eye and by diff.
std::string DescribeCalls(const std::vector<CanvasCall>& calls, const HandleNames& names);

// Draws calls one by one onto `target` with the state each recorded, setting the target's state
// only where it changes. Calls that make or free resources, or draw vectors, are not part of a
// frame and are skipped.
class Replayer {
 public:
  explicit Replayer(platform::Canvas& target);
  void Draw(const CanvasCall& call);

 private:
  platform::Canvas& target_;
  Color color_ = 0;
  DrawMode mode_ = DrawMode::Opaque;
  const Font* font_ = nullptr;
};

// Draws the frame's calls onto `target` with the state each call recorded.
void Replay(const DisplayList& list, platform::Canvas& target);

}  // namespace render
