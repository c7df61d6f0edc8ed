// SdlCanvas: shapes as batched rectangle spans, text as cached textures, vector paths as
// supersampled coverage on a CPU copy of the image. Draws only on the renderer it was given.
#include "platform/sdl/sdl_canvas.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
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

// SDL's software fill streams rows of 16 pixels or more past the cache, which costs a flat
// fraction of a microsecond per row: an 85 x 72 cell face took 15 us. Columns narrower than
// that are written plainly and take 2 us, so mid-sized fills go down in strips; fills this wide
// or wider stream faster than strips write.
constexpr int kStripWidth = 15;
constexpr int kStreamFromWidth = 768;

// Collects the rectangles of one shape, clipped to the output, and submits them in one call.
class RectBatch {
 public:
  RectBatch(SDL_Renderer* renderer, bool strips) : renderer_(renderer), strips_(strips) {
    SDL_Rect viewport{0, 0, 0, 0};
    SDL_RenderGetViewport(renderer, &viewport);
    width_ = viewport.w;
    height_ = viewport.h;
  }
  Wide Width() const { return width_; }
  Wide Height() const { return height_; }
  void Add(Wide x, Wide y, Wide w, Wide h) {
    const Wide x0 = std::max<Wide>(x, 0), y0 = std::max<Wide>(y, 0);
    const Wide x1 = std::min<Wide>(x + w, width_), y1 = std::min<Wide>(y + h, height_);
    if (x0 >= x1 || y0 >= y1) return;
    const int left = static_cast<int>(x0), top = static_cast<int>(y0);
    const int width = static_cast<int>(x1 - x0), height = static_cast<int>(y1 - y0);
    if (!strips_ || width <= kStripWidth || width >= kStreamFromWidth) {
      rects_.push_back(SDL_Rect{left, top, width, height});
      return;
    }
    for (int dx = 0; dx < width; dx += kStripWidth) {
      rects_.push_back(SDL_Rect{left + dx, top, std::min(kStripWidth, width - dx), height});
    }
  }
  void Flush() {
    if (!rects_.empty()) {
      SDL_RenderFillRects(renderer_, rects_.data(), static_cast<int>(rects_.size()));
    }
  }

 private:
  SDL_Renderer* renderer_;
  bool strips_;
  Wide width_ = 0;
  Wide height_ = 0;
  std::vector<SDL_Rect> rects_;
};

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

std::size_t SdlCanvas::TextKeyHash::operator()(const TextKey& key) const {
  std::size_t h = std::hash<std::string>{}(key.text);
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
}

SdlCanvas::~SdlCanvas() {
  for (auto& [key, entry] : textCache_) SDL_DestroyTexture(entry.texture);
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
  if (target == nullptr) {
    ++frame_;
    SweepTextCache();
  }
  return true;
}

void SdlCanvas::EndDrawing() {
  if (renderer_ != nullptr && target_ != nullptr) SDL_SetRenderTarget(renderer_, nullptr);
  target_ = nullptr;
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
  SDL_SetRenderDrawBlendMode(renderer_, blend);
  SDL_SetRenderDrawColor(renderer_, Red(color), Green(color), Blue(color), alpha);
  return true;
}

void SdlCanvas::Box(int64_t x, int64_t y, int64_t w, int64_t h) { DrawBox(x, y, w, h, front_); }

void SdlCanvas::Box(int64_t x, int64_t y, int64_t w, int64_t h, Color color) {
  DrawBox(x, y, w, h, color);
}

void SdlCanvas::DrawBox(int64_t x, int64_t y, int64_t w, int64_t h, Color color) {
  if (w <= 0 || h <= 0 || !PrepareShape(color)) return;
  RectBatch batch(renderer_, software_);
  const Wide X = x, Y = y, W = w, H = h;
  if (mode_ == DrawMode::Outline) {
    // Edges never overlap, so each pixel of the rim is painted once.
    batch.Add(X, Y, W, 1);
    if (H > 1) batch.Add(X, Y + H - 1, W, 1);
    if (H > 2) {
      batch.Add(X, Y + 1, 1, H - 2);
      if (W > 1) batch.Add(X + W - 1, Y + 1, 1, H - 2);
    }
  } else {
    batch.Add(X, Y, W, H);
  }
  batch.Flush();
}

void SdlCanvas::Circle(int64_t cx, int64_t cy, int64_t r) { DrawCircle(cx, cy, r, front_); }

void SdlCanvas::Circle(int64_t cx, int64_t cy, int64_t r, Color color) {
  DrawCircle(cx, cy, r, color);
}

void SdlCanvas::DrawCircle(int64_t cx, int64_t cy, int64_t r, Color color) {
  if (r < 0 || !PrepareShape(color)) return;
  RectBatch batch(renderer_, software_);
  const Wide CX = cx, CY = cy, R = r;
  // Half width of the disc's row at offset dy; -1 outside the disc.
  auto halfWidth = [R](Wide dy) -> Wide {
    if (dy < -R || dy > R) return -1;
    return ISqrt(R * R + R - dy * dy);
  };
  const Wide first = std::max<Wide>(-R, -CY);
  const Wide last = std::min<Wide>(R, batch.Height() - 1 - CY);
  const bool outline = mode_ == DrawMode::Outline;
  for (Wide dy = first; dy <= last; ++dy) {
    const Wide hw = halfWidth(dy);
    if (!outline) {
      batch.Add(CX - hw, CY + dy, 2 * hw + 1, 1);
      continue;
    }
    // The rim: pixels of this row with a vertical or horizontal neighbour outside the disc.
    const Wide inner = std::min(std::min(halfWidth(dy - 1), halfWidth(dy + 1)), hw - 1);
    if (inner < 0) {
      batch.Add(CX - hw, CY + dy, 2 * hw + 1, 1);
    } else {
      batch.Add(CX - hw, CY + dy, hw - inner, 1);
      batch.Add(CX + inner + 1, CY + dy, hw - inner, 1);
    }
  }
  batch.Flush();
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
  RectBatch batch(renderer_, software_);
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
  const Wide limit = (xMajor ? batch.Width() : batch.Height()) - 1;
  const Wide t0 = std::max<Wide>(0, -X1), t1 = std::min<Wide>(major, limit - X1);
  if (t0 > t1) return;
  auto emit = [&](Wide from, Wide to, Wide m) {  // a run of the minor coordinate m
    if (xMajor) {
      batch.Add(X1 + from, Y1 + m, to - from + 1, 1);
    } else {
      batch.Add(Y1 + m, X1 + from, 1, to - from + 1);
    }
  };
  if (major == 0) {
    emit(0, 0, 0);
    batch.Flush();
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
  batch.Flush();
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

  TextKey key{font->id, front_ & 0x00FFFFFFu, text};
  auto it = textCache_.find(key);
  if (it == textCache_.end()) {
    if (textCache_.size() >= kMaxCachedTexts) SweepTextCache();
    const SDL_Color color{Red(front_), Green(front_), Blue(front_), 255};
    SDL_Surface* surface = TTF_RenderUTF8_Blended(font->ttf, text.c_str(), color);
    if (surface == nullptr) return;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, surface);
    const int w = surface->w, h = surface->h;
    SDL_FreeSurface(surface);
    if (texture == nullptr) return;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    it = textCache_.emplace(std::move(key), CachedText{texture, w, h, frame_}).first;
  }
  it->second.lastFrame = frame_;
  const SDL_Rect dst{px, py, it->second.width, it->second.height};
  SDL_RenderCopy(renderer_, it->second.texture, nullptr, &dst);
}

double SdlCanvas::TextWidth(const std::string& text) { return TextWidth(font_, text); }

double SdlCanvas::TextHeight(const std::string&) { return TextHeight(font_); }

double SdlCanvas::TextWidth(const Font* font, const std::string& text) const {
  if (text.empty()) return 0.0;
  font = MeasuringFont(font);
  if (font == nullptr || font->ttf == nullptr) return 0.0;
  TextKey key{font->id, 0, text};
  if (auto it = widthCache_.find(key); it != widthCache_.end()) return it->second;
  int w = 0, h = 0;
  if (TTF_SizeUTF8(font->ttf, text.c_str(), &w, &h) != 0) return 0.0;
  if (widthCache_.size() >= kMaxCachedTexts) widthCache_.clear();
  widthCache_.emplace(std::move(key), w);
  return w;
}

double SdlCanvas::TextHeight(const Font* font) const {
  font = MeasuringFont(font);
  if (font == nullptr || font->ttf == nullptr) return 0.0;
  return TTF_FontHeight(font->ttf);
}

void SdlCanvas::DropCachedText(uint64_t fontId) {
  std::erase_if(widthCache_, [fontId](const auto& item) { return item.first.fontId == fontId; });
  std::erase_if(textCache_, [fontId](const auto& item) {
    if (item.first.fontId != fontId) return false;
    SDL_DestroyTexture(item.second.texture);
    return true;
  });
}

void SdlCanvas::SweepTextCache() {
  const uint64_t now = frame_;
  const bool full = textCache_.size() >= kMaxCachedTexts;
  std::erase_if(textCache_, [now, full](const auto& item) {
    const uint64_t age = now - item.second.lastFrame;
    // A full cache keeps only this frame's strings.
    if (age <= (full ? 0 : kTextKeepFrames)) return false;
    SDL_DestroyTexture(item.second.texture);
    return true;
  });
}

void SdlCanvas::DrawImage(Image* image, int64_t x, int64_t y) {
  if (renderer_ == nullptr || image == nullptr || image->texture == nullptr) return;
  if (image == target_) return;  // a texture cannot be read while it is being drawn on
  if (x < -kMaxImageSide * 65536LL || x > kMaxImageSide * 65536LL) return;
  if (y < -kMaxImageSide * 65536LL || y > kMaxImageSide * 65536LL) return;
  const SDL_Rect dst{static_cast<int>(x), static_cast<int>(y), static_cast<int>(image->width),
                     static_cast<int>(image->height)};
  SDL_RenderCopy(renderer_, image->texture, nullptr, &dst);
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
  image->id = nextId_++;
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
  font->id = nextId_++;
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
