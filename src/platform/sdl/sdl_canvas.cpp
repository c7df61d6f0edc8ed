// SdlCanvas: shapes as batched rectangle spans, text as cached textures, vector paths as
// supersampled coverage on a CPU copy of the image. Draws only on the renderer it was given.
#include "platform/sdl/sdl_canvas.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <utility>

#include "platform/canvas_handles.h"
#include "platform/sdl/font_finder.h"

namespace platform {
namespace {

// 128-bit arithmetic keeps extreme int64 coordinates from overflowing in spans and lines.
__extension__ typedef __int128 Wide;

// Lines beyond this are clamped so the 128-bit products in the line stepper cannot overflow.
constexpr int64_t kLineLimit = int64_t{1} << 60;
constexpr int kMaxImageSide = 16384;
constexpr int kMaxFontPixels = 4096;
constexpr std::size_t kMaxCachedTexts = 4096;

// Ids are unique among every canvas's handles, so a cache that outlives a canvas (the frame's
// remembered text widths) never takes a handle of a new one for an old one.
uint64_t NextHandleId() {
  static std::atomic<uint64_t> next{1};
  return next++;
}

constexpr const char* kFallbackFace = "Open Sans";

Wide Abs(Wide v) { return v < 0 ? -v : v; }

Wide FloorDiv(Wide num, Wide den) {  // den > 0
  Wide q = num / den;
  if (num % den != 0 && num < 0) --q;
  return q;
}

// floor(sqrt(v)) for v >= 0.
Wide ISqrt(Wide v) {
  if (v < (Wide{1} << 52)) {  // every circle the board draws: plain doubles are exact enough
    auto s = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
    while (s > 0 && Wide{s} * s > v) --s;
    while (Wide{s + 1} * (s + 1) <= v) ++s;
    return s;
  }
  Wide s = static_cast<Wide>(std::sqrt(static_cast<long double>(v)));
  while (s > 0 && s * s > v) --s;
  while ((s + 1) * (s + 1) <= v) ++s;
  return s;
}

// Where SDL fills for the software renderer (images; screens it is not given), it streams rows
// of 16 pixels or more past the cache, a flat fraction of a microsecond per row: an 85 x 72
// cell face took 15 us. Columns narrower than that are written plainly and take 2 us, so
// mid-sized fills go down in strips; fills this wide or wider stream faster than strips write.
// The screen's own surface is filled directly, in whole spans, faster than either.
constexpr int kStripWidth = 15;
constexpr int kStreamFromWidth = 768;

// Coordinates past int64 saturate: every output is far smaller, so clipping is unchanged.
int64_t Sat(Wide v) {
  constexpr Wide kMax = std::numeric_limits<int64_t>::max();
  return static_cast<int64_t>(std::clamp<Wide>(v, -kMax, kMax));
}

// One row of a fill, sixteen bytes a store: the compiler leaves a plain loop at four.
void FillRow(uint32_t* row, int count, uint32_t pixel) {
  typedef uint32_t Quad __attribute__((vector_size(16)));
  const Quad quad = {pixel, pixel, pixel, pixel};
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    std::memcpy(row + i, &quad, sizeof quad);
    std::memcpy(row + i + 4, &quad, sizeof quad);
  }
  if (i + 4 <= count) {
    std::memcpy(row + i, &quad, sizeof quad);
    i += 4;
  }
  for (; i < count; ++i) row[i] = pixel;
}

// How far back a text looks for the box it sits on; beyond that it is simply blended.
constexpr std::size_t kBackdropSearch = 64;

bool ToPixel(double v, int& out) {
  if (!std::isfinite(v)) return false;
  const double rounded = std::floor(v + 0.5);
  if (rounded < -1e9 || rounded > 1e9) return false;
  out = static_cast<int>(rounded);
  return true;
}

// One piece of a vector path measured by signed distance: negative inside.
struct DistanceShape {
  enum Kind { kDisc, kCapsule, kRing } kind;
  double ax, ay, bx, by;  // disc and ring: centre in a; capsule: the segment a-b
  double r;               // disc radius, ring radius, capsule half width
  double halfWidth;       // ring half width

  double Distance(double px, double py) const {
    switch (kind) {
      case kDisc:
        return std::hypot(px - ax, py - ay) - r;
      case kRing:
        return std::fabs(std::hypot(px - ax, py - ay) - r) - halfWidth;
      case kCapsule: {
        const double dx = bx - ax, dy = by - ay;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(px - (ax + t * dx), py - (ay + t * dy)) - r;
      }
    }
    return 1.0;
  }
};

// Nonzero winding of the closed polygons around (px, py).
bool InsidePolygons(const std::vector<std::vector<double>>& polygons, double px, double py) {
  int winding = 0;
  for (const auto& poly : polygons) {
    const std::size_t n = poly.size() / 2;
    for (std::size_t i = 0; i < n; ++i) {
      const double x0 = poly[2 * i], y0 = poly[2 * i + 1];
      const double x1 = poly[2 * ((i + 1) % n)], y1 = poly[2 * ((i + 1) % n) + 1];
      const double side = (x1 - x0) * (py - y0) - (px - x0) * (y1 - y0);
      if (y0 <= py) {
        if (y1 > py && side > 0) ++winding;
      } else if (y1 <= py && side < 0) {
        --winding;
      }
    }
  }
  return winding != 0;
}

// Coverage in 0..1 of every pixel of the box [x0, x1) x [y0, y1), sampled 4 x 4.
std::vector<float> Rasterise(const std::vector<DistanceShape>& shapes,
                             const std::vector<std::vector<double>>& polygons, int64_t x0,
                             int64_t y0, int64_t x1, int64_t y1) {
  constexpr int kGrid = 4;
  // Every sample lies within 0.375 * sqrt(2) of the pixel centre.
  constexpr double kSampleReach = 0.54;
  const int64_t w = x1 - x0, h = y1 - y0;
  std::vector<float> coverage(static_cast<std::size_t>(w * h), 0.0f);
  for (int64_t y = y0; y < y1; ++y) {
    for (int64_t x = x0; x < x1; ++x) {
      const double cx = static_cast<double>(x) + 0.5, cy = static_cast<double>(y) + 0.5;
      double nearest = std::numeric_limits<double>::infinity();
      for (const auto& shape : shapes) nearest = std::min(nearest, shape.Distance(cx, cy));
      float& out = coverage[static_cast<std::size_t>((y - y0) * w + (x - x0))];
      if (nearest <= -kSampleReach) {
        out = 1.0f;
        continue;
      }
      if (nearest >= kSampleReach && polygons.empty()) continue;
      int inside = 0;
      for (int j = 0; j < kGrid; ++j) {
        for (int i = 0; i < kGrid; ++i) {
          const double sx = static_cast<double>(x) + (i + 0.5) / kGrid;
          const double sy = static_cast<double>(y) + (j + 0.5) / kGrid;
          bool hit = false;
          for (const auto& shape : shapes) {
            if (shape.Distance(sx, sy) <= 0) {
              hit = true;
              break;
            }
          }
          if (!hit && !polygons.empty()) hit = InsidePolygons(polygons, sx, sy);
          inside += hit ? 1 : 0;
        }
      }
      out = static_cast<float>(inside) / (kGrid * kGrid);
    }
  }
  return coverage;
}

struct Extent {
  double minX = std::numeric_limits<double>::infinity();
  double minY = std::numeric_limits<double>::infinity();
  double maxX = -std::numeric_limits<double>::infinity();
  double maxY = -std::numeric_limits<double>::infinity();
  void Grow(double x, double y, double reach) {
    minX = std::min(minX, x - reach);
    maxX = std::max(maxX, x + reach);
    minY = std::min(minY, y - reach);
    maxY = std::max(maxY, y + reach);
  }
};

// Source-over with straight alpha, so edges over a clear image keep the path's own colour
// instead of picking up the clear pixels' colour.
void Composite(std::vector<uint32_t>& pixels, int64_t stride, Color color,
               const std::vector<float>& coverage, int64_t x0, int64_t y0, int64_t w, int64_t h) {
  const double alpha = Alpha(color) / 255.0;
  if (alpha <= 0) return;
  const double sr = Red(color), sg = Green(color), sb = Blue(color);
  for (int64_t y = 0; y < h; ++y) {
    for (int64_t x = 0; x < w; ++x) {
      const double sa = alpha * coverage[static_cast<std::size_t>(y * w + x)];
      if (sa <= 0) continue;
      uint32_t& pixel = pixels[static_cast<std::size_t>((y0 + y) * stride + x0 + x)];
      const double da = ((pixel >> 24) & 0xFF) / 255.0;
      const double dr = (pixel >> 16) & 0xFF, dg = (pixel >> 8) & 0xFF, db = pixel & 0xFF;
      const double oa = sa + da * (1 - sa);
      const double keep = da * (1 - sa);
      auto channel = [&](double s, double d) {
        return static_cast<uint32_t>(std::clamp(std::lround((s * sa + d * keep) / oa), 0L, 255L));
      };
      const auto a = static_cast<uint32_t>(std::clamp(std::lround(oa * 255), 0L, 255L));
      pixel = (a << 24) | (channel(sr, dr) << 16) | (channel(sg, dg) << 8) | channel(sb, db);
    }
  }
}

// Rasterises the shapes within their extent, clipped to the image, onto its ARGB pixels.
void Paint(std::vector<uint32_t>& pixels, int64_t width, int64_t height, Color color,
           const std::vector<DistanceShape>& shapes,
           const std::vector<std::vector<double>>& polygons, const Extent& extent) {
  if (shapes.empty() && polygons.empty()) return;
  const auto w = static_cast<double>(width), h = static_cast<double>(height);
  const auto x0 = static_cast<int64_t>(std::clamp(std::floor(extent.minX), 0.0, w));
  const auto y0 = static_cast<int64_t>(std::clamp(std::floor(extent.minY), 0.0, h));
  const auto x1 = static_cast<int64_t>(std::clamp(std::ceil(extent.maxX) + 1, 0.0, w));
  const auto y1 = static_cast<int64_t>(std::clamp(std::ceil(extent.maxY) + 1, 0.0, h));
  if (x0 >= x1 || y0 >= y1) return;
  Composite(pixels, width, color, Rasterise(shapes, polygons, x0, y0, x1, y1), x0, y0, x1 - x0,
            y1 - y0);
}

}  // namespace

std::size_t SdlCanvas::TextKeyHash::operator()(const TextKeyView& key) const {
  std::size_t h = std::hash<std::string_view>{}(key.text);
  h ^= std::hash<uint64_t>{}(key.fontId) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  h ^= std::hash<uint32_t>{}(key.color) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  return h;
}

SdlCanvas::SdlCanvas(SDL_Renderer* renderer, double dpi)
    : renderer_(renderer),
      dpi_(dpi > 0 && std::isfinite(dpi) ? dpi : 96.0),
      ttfReady_(TTF_Init() == 0) {
  SDL_RendererInfo info;
  if (renderer_ != nullptr && SDL_GetRendererInfo(renderer_, &info) == 0 && info.name != nullptr) {
    software_ = std::string(info.name) == "software";
  }
  UpdateLimits();
  spans_.reserve(256);
  painted_.reserve(1024);
}

SdlCanvas::~SdlCanvas() {
  for (auto& [key, entry] : textCache_) DestroyCached(entry);
  for (auto& image : images_) SDL_DestroyTexture(image->texture);
  for (auto& font : fonts_) TTF_CloseFont(font->ttf);
  if (ttfReady_) TTF_Quit();  // SDL_ttf counts its users, so others keep it open
}

bool SdlCanvas::BeginDrawing(Image* target) {
  if (renderer_ == nullptr) return false;
  if (target != nullptr && target->texture == nullptr) return false;
  if (SDL_SetRenderTarget(renderer_, target != nullptr ? target->texture : nullptr) != 0) {
    return false;
  }
  target_ = target;
  direct_ = nullptr;
  painted_.clear();
  if (target == nullptr) {
    ++frame_;
    if (!clipped_) ++wholeFrame_;
    // A frame drawn in part can only age strings out after half a minute, so walking the whole
    // cache for each of them would be wasted.
    if (!clipped_ || frame_ % kTextSweepPartFrames == 0) SweepTextCache();
    presentRects_.clear();  // a frame shows whole unless it names its parts
    if (software_) {
      SDL_Window* window = SDL_RenderGetWindow(renderer_);
      SDL_Surface* surface = window != nullptr ? SDL_GetWindowSurface(window) : givenSurface_;
      if (surface != nullptr && surface->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(surface)) {
        direct_ = surface;
      }
    }
  }
  UpdateLimits();
  return true;
}

void SdlCanvas::EndDrawing() {
  if (renderer_ != nullptr && target_ != nullptr) SDL_SetRenderTarget(renderer_, nullptr);
  target_ = nullptr;
  // A window's surface may be replaced before the next frame: only a frame writes to it.
  if (direct_ != nullptr && queued_) SDL_RenderFlush(renderer_);
  queued_ = false;
  direct_ = nullptr;
  painted_.clear();
  UpdateLimits();
}

void SdlCanvas::UpdateLimits() {
  outWidth_ = outHeight_ = 0;
  if (target_ != nullptr) {
    outWidth_ = static_cast<int>(target_->width);
    outHeight_ = static_cast<int>(target_->height);
  } else if (renderer_ != nullptr) {
    SDL_Rect viewport{0, 0, 0, 0};
    SDL_RenderGetViewport(renderer_, &viewport);
    outWidth_ = viewport.w;
    outHeight_ = viewport.h;
  }
  limitX0_ = limitY0_ = 0;
  limitX1_ = outWidth_;
  limitY1_ = outHeight_;
  // Images are drawn whole: the clip is for the screen.
  if (clipped_ && target_ == nullptr) {
    limitX0_ = std::clamp(clipX0_, 0, outWidth_);
    limitY0_ = std::clamp(clipY0_, 0, outHeight_);
    limitX1_ = std::clamp(clipX1_, limitX0_, outWidth_);
    limitY1_ = std::clamp(clipY1_, limitY0_, outHeight_);
  }
}

void SdlCanvas::SetClip(const Rect* clip) {
  clipped_ = clip != nullptr;
  if (clipped_) {
    constexpr int64_t kFar = int64_t{1} << 30;
    clipX0_ = static_cast<int>(std::clamp<int64_t>(clip->x, -kFar, kFar));
    clipY0_ = static_cast<int>(std::clamp<int64_t>(clip->y, -kFar, kFar));
    clipX1_ = static_cast<int>(
        std::clamp<int64_t>(clip->x + std::max<int64_t>(clip->w, 0), clipX0_, kFar));
    clipY1_ = static_cast<int>(
        std::clamp<int64_t>(clip->y + std::max<int64_t>(clip->h, 0), clipY0_, kFar));
  }
  UpdateLimits();
}

void SdlCanvas::SetPresentRects(const Rect* rects, int count) {
  presentRects_.clear();
  if (!software_) return;  // a back buffer that is not kept must be shown whole
  for (int i = 0; i < count; ++i) {
    const Rect& r = rects[i];
    const int64_t x0 = std::max<int64_t>(r.x, 0), y0 = std::max<int64_t>(r.y, 0);
    const int64_t x1 = std::min<int64_t>(r.x + r.w, outWidth_);
    const int64_t y1 = std::min<int64_t>(r.y + r.h, outHeight_);
    if (x0 >= x1 || y0 >= y1) continue;
    presentRects_.push_back(SDL_Rect{static_cast<int>(x0), static_cast<int>(y0),
                                     static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)});
  }
  // Asked for a part that turns out empty: one pixel still says "not the whole screen".
  if (count > 0 && presentRects_.empty()) presentRects_.push_back(SDL_Rect{0, 0, 1, 1});
}

int SdlCanvas::TakePresentRects(const SDL_Rect** rects) {
  *rects = presentRects_.data();
  const int count = static_cast<int>(presentRects_.size());
  presentRects_.clear();  // the storage stays valid until the next SetPresentRects
  return count;
}

void SdlCanvas::SetFrontColor(Color color) { front_ = color; }

void SdlCanvas::SetDrawingMode(DrawMode mode) {
  switch (mode) {
    case DrawMode::Opaque:
    case DrawMode::TransparentText:
    case DrawMode::Outline:
    case DrawMode::AlphaBlend:
      mode_ = mode;
      break;
    default:
      mode_ = DrawMode::Opaque;  // an unknown value must not leave shapes undrawable
  }
}

void SdlCanvas::SetFont(Font* font) { font_ = font; }

bool SdlCanvas::PrepareShape(Color color) {
  if (renderer_ == nullptr) return false;
  uint8_t alpha = 255;
  SDL_BlendMode blend = SDL_BLENDMODE_NONE;
  if (mode_ == DrawMode::AlphaBlend) {
    alpha = Alpha(color);
    if (alpha == 0) return false;
    // Full alpha writes the colour exactly, as an opaque shape would.
    if (alpha < 255) blend = SDL_BLENDMODE_BLEND;
  }
  blendShape_ = blend != SDL_BLENDMODE_NONE;
  shapeColor_ = color & 0x00FFFFFFu;
  spans_.clear();
  if (direct_ != nullptr && !blendShape_) {
    // As SDL's own fill maps it.
    shapePixel_ = SDL_MapRGBA(direct_->format, Red(color), Green(color), Blue(color), alpha);
    return true;
  }
  SDL_SetRenderDrawBlendMode(renderer_, blend);
  SDL_SetRenderDrawColor(renderer_, Red(color), Green(color), Blue(color), alpha);
  return true;
}

void SdlCanvas::AddSpan(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  x0 = std::max<int64_t>(x0, limitX0_);
  y0 = std::max<int64_t>(y0, limitY0_);
  x1 = std::min<int64_t>(x1, limitX1_);
  y1 = std::min<int64_t>(y1, limitY1_);
  if (x0 >= x1 || y0 >= y1) return;
  spans_.push_back(SDL_Rect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                            static_cast<int>(y1 - y0)});
}

void SdlCanvas::FlushShape() {
  if (spans_.empty()) return;
  if (target_ == nullptr && software_) {
    // Spans of a box's rim or a line each hold one colour; a disc's rows are noted as one.
    if (spans_.size() <= 4 || blendShape_) {
      for (const SDL_Rect& r : spans_)
        Note(r.x, r.y, r.x + r.w, r.y + r.h, !blendShape_, shapeColor_);
    } else {
      int x0 = spans_[0].x, y0 = spans_[0].y, x1 = x0, y1 = y0;
      for (const SDL_Rect& r : spans_) {
        x0 = std::min(x0, r.x);
        y0 = std::min(y0, r.y);
        x1 = std::max(x1, r.x + r.w);
        y1 = std::max(y1, r.y + r.h);
      }
      Note(x0, y0, x1, y1, false, 0);
    }
  }
  if (direct_ != nullptr && !blendShape_) {
    if (queued_) SDL_RenderFlush(renderer_);
    queued_ = false;
    auto* base = static_cast<uint8_t*>(direct_->pixels);
    const uint32_t pixel = shapePixel_;
    for (const SDL_Rect& r : spans_) {
      for (int y = r.y; y < r.y + r.h; ++y) {
        auto* row =
            reinterpret_cast<uint32_t*>(base + static_cast<std::ptrdiff_t>(y) * direct_->pitch);
        FillRow(row + r.x, r.w, pixel);
      }
    }
    return;
  }
  if (software_) {
    // SDL's own fill of the software renderer wants its strips (see kStripWidth).
    strips_.clear();
    for (const SDL_Rect& r : spans_) {
      if (r.w <= kStripWidth || r.w >= kStreamFromWidth) {
        strips_.push_back(r);
        continue;
      }
      for (int dx = 0; dx < r.w; dx += kStripWidth) {
        strips_.push_back(SDL_Rect{r.x + dx, r.y, std::min(kStripWidth, r.w - dx), r.h});
      }
    }
    SDL_RenderFillRects(renderer_, strips_.data(), static_cast<int>(strips_.size()));
  } else {
    SDL_RenderFillRects(renderer_, spans_.data(), static_cast<int>(spans_.size()));
  }
  QueueDrawn();
}

void SdlCanvas::Note(int x0, int y0, int x1, int y1, bool opaqueBox, Color color) {
  if (x0 >= x1 || y0 >= y1) return;
  painted_.push_back(Painted{x0, y0, x1, y1, opaqueBox, color});
}

// The colour every pixel of the box holds when the last call that painted any of it was one
// opaque box covering it all.
bool SdlCanvas::UniformUnder(int x0, int y0, int x1, int y1, Color& color) const {
  const std::size_t n = painted_.size();
  for (std::size_t k = 0; k < n && k < kBackdropSearch; ++k) {
    const Painted& p = painted_[n - 1 - k];
    if (p.x1 <= x0 || p.x0 >= x1 || p.y1 <= y0 || p.y0 >= y1) continue;
    if (!p.opaqueBox || p.x0 > x0 || p.y0 > y0 || p.x1 < x1 || p.y1 < y1) return false;
    color = p.color;
    return true;
  }
  return false;
}

void SdlCanvas::Box(int64_t x, int64_t y, int64_t w, int64_t h) { DrawBox(x, y, w, h, front_); }

void SdlCanvas::Box(int64_t x, int64_t y, int64_t w, int64_t h, Color color) {
  DrawBox(x, y, w, h, color);
}

void SdlCanvas::DrawBox(int64_t x, int64_t y, int64_t w, int64_t h, Color color) {
  if (w <= 0 || h <= 0 || !PrepareShape(color)) return;
  const Wide X = x, Y = y, W = w, H = h;
  auto add = [this](Wide ax, Wide ay, Wide aw, Wide ah) {
    AddSpan(Sat(ax), Sat(ay), Sat(ax + aw), Sat(ay + ah));
  };
  if (mode_ == DrawMode::Outline) {
    // Edges never overlap, so each pixel of the rim is painted once.
    add(X, Y, W, 1);
    if (H > 1) add(X, Y + H - 1, W, 1);
    if (H > 2) {
      add(X, Y + 1, 1, H - 2);
      if (W > 1) add(X + W - 1, Y + 1, 1, H - 2);
    }
  } else {
    add(X, Y, W, H);
  }
  FlushShape();
}

void SdlCanvas::Circle(int64_t cx, int64_t cy, int64_t r) { DrawCircle(cx, cy, r, front_); }

void SdlCanvas::Circle(int64_t cx, int64_t cy, int64_t r, Color color) {
  DrawCircle(cx, cy, r, color);
}

void SdlCanvas::DrawCircle(int64_t cx, int64_t cy, int64_t r, Color color) {
  if (r < 0 || !PrepareShape(color)) return;
  const Wide CX = cx, CY = cy, R = r;
  auto add = [this](Wide ax, Wide ay, Wide aw, Wide ah) {
    AddSpan(Sat(ax), Sat(ay), Sat(ax + aw), Sat(ay + ah));
  };
  // Half width of the disc's row at offset dy; -1 outside the disc.
  auto halfWidth = [R](Wide dy) -> Wide {
    if (dy < -R || dy > R) return -1;
    return ISqrt(R * R + R - dy * dy);
  };
  const Wide first = std::max<Wide>(-R, Wide{limitY0_} - CY);
  const Wide last = std::min<Wide>(R, Wide{limitY1_} - 1 - CY);
  const bool outline = mode_ == DrawMode::Outline;
  for (Wide dy = first; dy <= last; ++dy) {
    const Wide hw = halfWidth(dy);
    if (!outline) {
      add(CX - hw, CY + dy, 2 * hw + 1, 1);
      continue;
    }
    // The rim: pixels of this row with a vertical or horizontal neighbour outside the disc.
    const Wide inner = std::min(std::min(halfWidth(dy - 1), halfWidth(dy + 1)), hw - 1);
    if (inner < 0) {
      add(CX - hw, CY + dy, 2 * hw + 1, 1);
    } else {
      add(CX - hw, CY + dy, hw - inner, 1);
      add(CX + inner + 1, CY + dy, hw - inner, 1);
    }
  }
  FlushShape();
}

void SdlCanvas::Line(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  DrawLine(x1, y1, x2, y2, front_);
}

void SdlCanvas::LineExtent(int64_t x, int64_t y, int64_t w, int64_t h) {
  if (w == 0 || h == 0) return;
  const int64_t cx = std::clamp(x, -kLineLimit, kLineLimit);
  const int64_t cy = std::clamp(y, -kLineLimit, kLineLimit);
  const int64_t cw = std::clamp(w, -kLineLimit, kLineLimit);
  const int64_t ch = std::clamp(h, -kLineLimit, kLineLimit);
  DrawLine(cx, cy, cw > 0 ? cx + cw - 1 : cx + cw + 1, ch > 0 ? cy + ch - 1 : cy + ch + 1, front_);
}

void SdlCanvas::DrawLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, Color color) {
  if (!PrepareShape(color)) return;
  Wide X1 = std::clamp(x1, -kLineLimit, kLineLimit), Y1 = std::clamp(y1, -kLineLimit, kLineLimit);
  Wide X2 = std::clamp(x2, -kLineLimit, kLineLimit), Y2 = std::clamp(y2, -kLineLimit, kLineLimit);
  const bool xMajor = Abs(X2 - X1) >= Abs(Y2 - Y1);
  // Step along the major axis in increasing order, so a line and its reverse share pixels.
  if ((xMajor && X2 < X1) || (!xMajor && Y2 < Y1)) {
    std::swap(X1, X2);
    std::swap(Y1, Y2);
  }
  if (!xMajor) {  // walk y as if it were x
    std::swap(X1, Y1);
    std::swap(X2, Y2);
  }
  const Wide major = X2 - X1, minor = Y2 - Y1;  // major >= |minor|
  const Wide limit = Wide{xMajor ? outWidth_ : outHeight_} - 1;
  const Wide t0 = std::max<Wide>(0, -X1), t1 = std::min<Wide>(major, limit - X1);
  if (t0 > t1) return;
  auto emit = [&](Wide from, Wide to, Wide m) {  // a run of the minor coordinate m
    if (xMajor) {
      AddSpan(Sat(X1 + from), Sat(Y1 + m), Sat(X1 + to + 1), Sat(Y1 + m + 1));
    } else {
      AddSpan(Sat(Y1 + m), Sat(X1 + from), Sat(Y1 + m + 1), Sat(X1 + to + 1));
    }
  };
  if (major == 0) {
    emit(0, 0, 0);
    FlushShape();
    return;
  }
  // minor offset at t is floor((2 t minor + major) / (2 major)): the nearest pixel,
  // exact halves towards the larger coordinate.
  const Wide den = 2 * major;
  Wide num = 2 * t0 * minor + major;
  Wide q = FloorDiv(num, den);
  Wide rem = num - q * den;
  Wide runStart = t0, runMinor = q;
  for (Wide t = t0 + 1; t <= t1; ++t) {
    rem += 2 * minor;
    if (rem >= den) {
      rem -= den;
      ++q;
    } else if (rem < 0) {
      rem += den;
      --q;
    }
    if (q != runMinor) {
      emit(runStart, t - 1, runMinor);
      runStart = t;
      runMinor = q;
    }
  }
  emit(runStart, t1, runMinor);
  FlushShape();
}

Font* SdlCanvas::ActiveFont() { return const_cast<Font*>(MeasuringFont(font_)); }

const Font* SdlCanvas::MeasuringFont(const Font* font) const {
  if (font != nullptr) return font;
  if (!fallbackTried_) {
    fallbackTried_ = true;
    fallback_ = OpenFont(kFallbackFace, kFallbackPoints, false);
  }
  return fallback_;
}

void SdlCanvas::DrawText(double x, double y, const std::string& text) {
  if (renderer_ == nullptr || text.empty()) return;
  Font* font = ActiveFont();
  if (font == nullptr || font->ttf == nullptr) return;
  int px = 0, py = 0;
  if (!ToPixel(x, px) || !ToPixel(y, py)) return;

  auto it = textCache_.find(TextKeyView{font->id, front_ & 0x00FFFFFFu, text});
  if (it == textCache_.end()) {
    TextKey key{font->id, front_ & 0x00FFFFFFu, text};
    if (textCache_.size() >= kMaxCachedTexts) SweepTextCache();
    const SDL_Color color{Red(front_), Green(front_), Blue(front_), 255};
    SDL_Surface* surface = TTF_RenderUTF8_Blended(font->ttf, text.c_str(), color);
    if (surface == nullptr) return;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, surface);
    const int w = surface->w, h = surface->h;
    SDL_FreeSurface(surface);
    if (texture == nullptr) return;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    it = textCache_
             .emplace(std::move(key), CachedText{texture, w, h, frame_, wholeFrame_, {}, 0, {}})
             .first;
  }
  CachedText& cached = it->second;
  cached.lastFrame = frame_;
  cached.lastWhole = wholeFrame_;
  const int w = cached.width, h = cached.height;
  // Only a text drawn whole, straight onto the screen's surface, is pre-blended.
  const bool whole = px >= limitX0_ && py >= limitY0_ && px + w <= limitX1_ && py + h <= limitY1_;
  if (!whole || direct_ == nullptr) {
    CopyTexture(cached.texture, px, py, w, h);
    return;
  }
  Color under = 0;
  const bool uniform = UniformUnder(px, py, px + w, py + h, under);
  const uint32_t format = direct_->format->format;
  auto* base = static_cast<uint8_t*>(direct_->pixels);
  auto row = [&](int y) {
    return reinterpret_cast<uint32_t*>(base +
                                       static_cast<std::ptrdiff_t>(py + y) * direct_->pitch) +
           px;
  };
  const auto width = static_cast<std::size_t>(w);
  const std::size_t rowBytes = width * 4;
  if (queued_) SDL_RenderFlush(renderer_);
  queued_ = false;
  // Over anything else the pixels under it are compared, so a backdrop of its own is recognised.
  auto sameUnder = [&](const Backdrop& over) {
    for (int y = 0; y < h; ++y) {
      if (std::memcmp(row(y), over.under.data() + static_cast<std::size_t>(y) * width, rowBytes)) {
        return false;
      }
    }
    return true;
  };
  auto copyOver = [&](const Backdrop& over) {
    for (int y = 0; y < h; ++y) {
      std::memcpy(row(y), over.pixels.data() + static_cast<std::size_t>(y) * width, rowBytes);
    }
    Note(px, py, px + w, py + h, false, 0);
  };
  Backdrop* slot = nullptr;
  if (uniform) {
    for (const Backdrop& over : cached.over) {
      if (!over.pixels.empty() && over.format == format && over.color == under) {
        return copyOver(over);
      }
    }
    slot = &cached.over[static_cast<std::size_t>(cached.nextOver)];
    cached.nextOver = (cached.nextOver + 1) % kBackdrops;
  } else {
    Backdrop& over = cached.shaped;
    if (!over.pixels.empty() && over.format == format && sameUnder(over)) return copyOver(over);
    // One picture over pixels of its own: a string drawn over several in one frame keeps the
    // first, and the others are blended as they come.
    if (over.madeFrame == frame_ && !over.pixels.empty()) {
      CopyTexture(cached.texture, px, py, w, h);
      return;
    }
    slot = &over;
    slot->under.resize(width * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
      std::memcpy(slot->under.data() + static_cast<std::size_t>(y) * width, row(y), rowBytes);
    }
  }
  // First time over this backdrop: blend it here, and keep the pixels as they came out.
  slot->color = under;
  slot->format = format;
  slot->madeFrame = frame_;
  CopyTexture(cached.texture, px, py, w, h);
  SDL_RenderFlush(renderer_);
  queued_ = false;
  slot->pixels.resize(width * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    std::memcpy(slot->pixels.data() + static_cast<std::size_t>(y) * width, row(y), rowBytes);
  }
}

// Copies a texture's whole picture to (x, y), clipped, with its own blend mode.
void SdlCanvas::CopyTexture(SDL_Texture* texture, int x, int y, int w, int h) {
  if (target_ == nullptr && software_) {
    Note(std::max(x, limitX0_), std::max(y, limitY0_), std::min(x + w, limitX1_),
         std::min(y + h, limitY1_), false, 0);
  }
  const SDL_Rect dst{x, y, w, h};
  if (x >= limitX0_ && y >= limitY0_ && x + w <= limitX1_ && y + h <= limitY1_) {
    SDL_RenderCopy(renderer_, texture, nullptr, &dst);
  } else {
    const int x0 = std::max(x, limitX0_), y0 = std::max(y, limitY0_);
    const int x1 = std::min(x + w, limitX1_), y1 = std::min(y + h, limitY1_);
    if (x0 >= x1 || y0 >= y1) return;
    const SDL_Rect src{x0 - x, y0 - y, x1 - x0, y1 - y0};
    const SDL_Rect part{x0, y0, x1 - x0, y1 - y0};
    SDL_RenderCopy(renderer_, texture, &src, &part);
  }
  QueueDrawn();
}

double SdlCanvas::TextWidth(const std::string& text) { return TextWidth(font_, text); }

double SdlCanvas::TextHeight(const std::string&) { return TextHeight(font_); }

double SdlCanvas::TextWidth(const Font* font, const std::string& text) const {
  if (text.empty()) return 0.0;
  font = MeasuringFont(font);
  if (font == nullptr || font->ttf == nullptr) return 0.0;
  if (auto it = widthCache_.find(TextKeyView{font->id, 0, text}); it != widthCache_.end()) {
    return it->second;
  }
  int w = 0, h = 0;
  if (TTF_SizeUTF8(font->ttf, text.c_str(), &w, &h) != 0) return 0.0;
  if (widthCache_.size() >= kMaxCachedTexts) widthCache_.clear();
  widthCache_.emplace(TextKey{font->id, 0, text}, w);
  return w;
}

double SdlCanvas::TextHeight(const Font* font) const {
  font = MeasuringFont(font);
  if (font == nullptr || font->ttf == nullptr) return 0.0;
  return TTF_FontHeight(font->ttf);
}

void SdlCanvas::DestroyCached(const CachedText& cached) { SDL_DestroyTexture(cached.texture); }

void SdlCanvas::DropCachedText(uint64_t fontId) {
  std::erase_if(widthCache_, [fontId](const auto& item) { return item.first.fontId == fontId; });
  std::erase_if(textCache_, [fontId](const auto& item) {
    if (item.first.fontId != fontId) return false;
    DestroyCached(item.second);
    return true;
  });
}

void SdlCanvas::SweepTextCache() {
  const uint64_t now = frame_, whole = wholeFrame_;
  const bool full = textCache_.size() >= kMaxCachedTexts;
  std::erase_if(textCache_, [now, whole, full](const auto& item) {
    const uint64_t age = now - item.second.lastFrame;
    // A full cache keeps only this frame's strings.
    if (full ? age == 0
             : whole - item.second.lastWhole <= kTextKeepFrames && age <= kTextKeepPartFrames) {
      return false;
    }
    DestroyCached(item.second);
    return true;
  });
}

void SdlCanvas::DrawImage(Image* image, int64_t x, int64_t y) {
  if (renderer_ == nullptr || image == nullptr || image->texture == nullptr) return;
  if (image == target_) return;  // a texture cannot be read while it is being drawn on
  if (x < -kMaxImageSide * 65536LL || x > kMaxImageSide * 65536LL) return;
  if (y < -kMaxImageSide * 65536LL || y > kMaxImageSide * 65536LL) return;
  CopyTexture(image->texture, static_cast<int>(x), static_cast<int>(y),
              static_cast<int>(image->width), static_cast<int>(image->height));
}

Image* SdlCanvas::CreateImage(int64_t w, int64_t h, Color fill) {
  if (renderer_ == nullptr || w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) {
    return nullptr;
  }
  SDL_Texture* texture =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                        static_cast<int>(w), static_cast<int>(h));
  if (texture == nullptr) return nullptr;
  // Nothing drawn on an image lowers its alpha, so an image made opaque stays opaque and is
  // copied without the cost of blending every pixel.
  SDL_SetTextureBlendMode(texture, Alpha(fill) == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
  SDL_Texture* previous = SDL_GetRenderTarget(renderer_);
  if (SDL_SetRenderTarget(renderer_, texture) != 0) {
    SDL_DestroyTexture(texture);
    return nullptr;
  }
  // No blending: the fill's alpha is stored as it is, so a zero alpha makes a clear image.
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(renderer_, Red(fill), Green(fill), Blue(fill), Alpha(fill));
  SDL_RenderClear(renderer_);
  SDL_SetRenderTarget(renderer_, previous);

  auto image = std::make_unique<Image>();
  image->id = NextHandleId();
  image->width = w;
  image->height = h;
  image->texture = texture;
  images_.push_back(std::move(image));
  return images_.back().get();
}

void SdlCanvas::FreeImage(Image* image) {
  auto it = std::find_if(images_.begin(), images_.end(),
                         [image](const auto& owned) { return owned.get() == image; });
  if (it == images_.end()) return;
  if (target_ == image) EndDrawing();
  if (vectorTarget_ == image) {
    vectorTarget_ = nullptr;
    ClearPath();
  }
  SDL_DestroyTexture(image->texture);
  images_.erase(it);
}

bool SdlCanvas::BeginVectorDrawing(Image* target) {
  if (renderer_ == nullptr || target == nullptr || target->texture == nullptr) return false;
  if (vectorTarget_ != nullptr) return false;
  vectorPixels_.assign(static_cast<std::size_t>(target->width * target->height), 0);
  SDL_Texture* previous = SDL_GetRenderTarget(renderer_);
  if (SDL_SetRenderTarget(renderer_, target->texture) != 0) return false;
  const int read = SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                        vectorPixels_.data(), static_cast<int>(target->width * 4));
  SDL_SetRenderTarget(renderer_, previous);
  if (read != 0) return false;
  vectorTarget_ = target;
  ClearPath();
  return true;
}

void SdlCanvas::EndVectorDrawing() {
  if (vectorTarget_ == nullptr) return;
  SDL_UpdateTexture(vectorTarget_->texture, nullptr, vectorPixels_.data(),
                    static_cast<int>(vectorTarget_->width * 4));
  vectorTarget_ = nullptr;
  ClearPath();
}

void SdlCanvas::SetVectorColor(Color rgba) { vectorColor_ = rgba; }

void SdlCanvas::AddCircle(double cx, double cy, double r) {
  if (std::isfinite(cx) && std::isfinite(cy) && std::isfinite(r) && r > 0) {
    circles_.push_back(PathCircle{cx, cy, r});
  }
}

void SdlCanvas::MoveTo(double x, double y) {
  if (std::isfinite(x) && std::isfinite(y)) subpaths_.push_back({PathPoint{x, y}});
}

void SdlCanvas::AddLineTo(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (subpaths_.empty()) {
    subpaths_.push_back({PathPoint{x, y}});  // a line with no start begins where it is
  } else {
    subpaths_.back().push_back(PathPoint{x, y});
  }
}

void SdlCanvas::ClearPath() {
  subpaths_.clear();
  circles_.clear();
}

void SdlCanvas::FillPath() {
  if (vectorTarget_ == nullptr) return ClearPath();
  std::vector<DistanceShape> shapes;
  std::vector<std::vector<double>> polygons;
  Extent extent;
  for (const auto& c : circles_) {
    shapes.push_back(DistanceShape{DistanceShape::kDisc, c.cx, c.cy, 0, 0, c.r, 0});
    extent.Grow(c.cx, c.cy, c.r);
  }
  for (const auto& sub : subpaths_) {
    if (sub.size() < 3) continue;  // no area to fill
    std::vector<double> poly;
    for (const auto& p : sub) {
      poly.push_back(p.x);
      poly.push_back(p.y);
      extent.Grow(p.x, p.y, 0);
    }
    polygons.push_back(std::move(poly));
  }
  Paint(vectorPixels_, vectorTarget_->width, vectorTarget_->height, vectorColor_, shapes, polygons,
        extent);
  ClearPath();
}

void SdlCanvas::StrokePath(double width) {
  if (vectorTarget_ == nullptr || !std::isfinite(width) || width <= 0) return ClearPath();
  const double half = width / 2;
  std::vector<DistanceShape> shapes;
  Extent extent;
  for (const auto& c : circles_) {
    shapes.push_back(DistanceShape{DistanceShape::kRing, c.cx, c.cy, 0, 0, c.r, half});
    extent.Grow(c.cx, c.cy, c.r + half);
  }
  // Capsules give round ends, and where two meet their union is the round join.
  for (const auto& sub : subpaths_) {
    for (std::size_t i = 1; i < sub.size(); ++i) {
      const auto& a = sub[i - 1];
      const auto& b = sub[i];
      shapes.push_back(DistanceShape{DistanceShape::kCapsule, a.x, a.y, b.x, b.y, half, 0});
      extent.Grow(a.x, a.y, half);
      extent.Grow(b.x, b.y, half);
    }
  }
  Paint(vectorPixels_, vectorTarget_->width, vectorTarget_->height, vectorColor_, shapes, {},
        extent);
  ClearPath();
}

Font* SdlCanvas::OpenFont(const std::string& face, int points, bool bold) const {
  if (!ttfReady_ || points <= 0) return nullptr;
  const double pixels = std::round(points * dpi_ / 72.0);
  const int size = static_cast<int>(std::clamp(pixels, 1.0, static_cast<double>(kMaxFontPixels)));
  FontFile file;
  if (!ResolveFontFile(face, bold, file)) return nullptr;
  TTF_Font* ttf = TTF_OpenFontIndex(file.path.c_str(), size, file.index);
  if (ttf == nullptr) return nullptr;
  if (bold && !file.bold) TTF_SetFontStyle(ttf, TTF_STYLE_BOLD);  // no bold face installed

  auto font = std::make_unique<Font>();
  font->id = NextHandleId();
  font->face = face;
  font->points = points;
  font->bold = bold;
  font->pixelSize = size;
  font->ttf = ttf;
  fonts_.push_back(std::move(font));
  return fonts_.back().get();
}

Font* SdlCanvas::LoadFont(const std::string& face, int points, bool bold) {
  return OpenFont(face, points, bold);
}

void SdlCanvas::FreeFont(Font* font) {
  if (font == nullptr || font == fallback_) return;
  auto it = std::find_if(fonts_.begin(), fonts_.end(),
                         [font](const auto& owned) { return owned.get() == font; });
  if (it == fonts_.end()) return;
  DropCachedText(font->id);
  if (font_ == font) font_ = nullptr;
  TTF_CloseFont(font->ttf);
  fonts_.erase(it);
}

}  // namespace platform
