// The card grid. Every cell is redrawn each frame from the game record; only the asterisks and
// the hit cross come from images made when the layout changed.
#include "render/card_grid.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "render/bevel.h"
#include "render/colors.h"

namespace render {
namespace {

constexpr platform::Color kCrossYellow = RGB(255, 230, 0);
constexpr platform::Color kHeatOrange = RGB(255, 130, 0);

struct CellColors {
  platform::Color face, numeral, bevelTopLeft, bevelBottomRight;
};
constexpr CellColors kHitColors{RGB(40, 180, 60), kWhite, RGB(110, 230, 130), RGB(15, 100, 30)};
constexpr CellColors kDrawnColors{RGB(210, 10, 10), kWhite, RGB(255, 100, 100), RGB(100, 0, 0)};
// Dark above and light below: a picked cell looks pressed in.
constexpr CellColors kPickedColors{RGB(140, 20, 160), RGB(255, 220, 255), RGB(70, 0, 85),
                                   RGB(200, 80, 220)};
constexpr CellColors kIdleColors{RGB(0, 90, 200), kWhite, RGB(80, 160, 255), RGB(0, 45, 110)};

struct CellFlags {
  bool picked = false, multi = false, drawn = false, hit = false;
};

CellFlags FlagsOf(const rules::GameState& g, int64_t tab, int n) {
  CellFlags f;
  f.drawn = g.drawn[n] != 0;
  if (tab == 0) {
    f.picked = g.numberCardCount[n] >= 1;
    f.multi = g.numberCardCount[n] >= 2;
    f.hit = f.drawn && f.picked;
  } else {
    const rules::Card& card = g.cards[tab];
    f.picked = card.picked[n] != 0;
    f.hit = card.hit[n] != 0;
  }
  return f;
}

const CellColors& ColorsOf(const CellFlags& f) {
  if (f.hit) return kHitColors;
  if (f.drawn) return kDrawnColors;
  if (f.picked) return kPickedColors;
  return kIdleColors;
}

int64_t Round(double v) { return std::lround(v); }

struct Numeral {
  std::string text;
  int64_t x = 0, y = 0;
};

// Centred in the content box, whole pixels.
Numeral PlaceNumeral(platform::Canvas& canvas, const Rect& box, int64_t contentW, int64_t contentH,
                     int n) {
  Numeral num{std::to_string(n)};
  const int64_t tw = Round(canvas.TextWidth(num.text));
  const int64_t th = Round(canvas.TextHeight(num.text));
  num.x = box.x + (contentW - tw) / 2;
  num.y = box.y + (contentH - th) / 2;
  return num;
}

void DrawNumeral(platform::Canvas& canvas, const Numeral& num, platform::Color color) {
  canvas.SetDrawingMode(platform::DrawMode::TransparentText);
  canvas.SetFrontColor(kBlack);
  canvas.DrawText(static_cast<double>(num.x + 1), static_cast<double>(num.y + 1), num.text);
  canvas.SetFrontColor(color);
  canvas.DrawText(static_cast<double>(num.x), static_cast<double>(num.y), num.text);
}

void DrawCellFrame(platform::Canvas& canvas, const Rect& box, platform::Color face,
                   const CellColors& bevel) {
  DrawBevelBox(canvas, box.x, box.y, box.w, box.h, face, bevel.bevelTopLeft,
               bevel.bevelBottomRight);
}

void DrawCross(platform::Canvas& canvas, const Layout& layout, int64_t x, int64_t y, int64_t w,
               int64_t h) {
  if (layout.hitCross != nullptr && layout.crossBoxW == w && layout.crossBoxH == h) {
    canvas.DrawImage(layout.hitCross, x + layout.crossOffsetX, y + layout.crossOffsetY);
  } else {
    DrawHitCross(canvas, x, y, w, h);
  }
}

void DrawNormalCell(platform::Canvas& canvas, const BoardView& view, const Rect& box,
                    int64_t contentW, int64_t contentH, int64_t tab, int n) {
  const CellFlags f = FlagsOf(view.state, tab, n);
  const CellColors& colors = ColorsOf(f);
  DrawCellFrame(canvas, box, colors.face, colors);
  const bool asterisk = tab == 0 && f.multi;
  Numeral num;
  if (!asterisk) {
    num = PlaceNumeral(canvas, box, contentW, contentH, n);
    DrawNumeral(canvas, num, colors.numeral);
  }
  if (f.hit) {
    canvas.SetDrawingMode(platform::DrawMode::Opaque);
    DrawCross(canvas, view.layout, box.x, box.y, contentW, contentH);
    if (!asterisk) {
      canvas.SetDrawingMode(platform::DrawMode::TransparentText);
      canvas.SetFrontColor(kBlack);
      canvas.DrawText(static_cast<double>(num.x), static_cast<double>(num.y), num.text);
    }
  }
  const Layout& l = view.layout;
  if (asterisk && l.whiteAsterisk != nullptr && l.blackAsterisk != nullptr) {
    canvas.DrawImage(f.hit ? l.blackAsterisk : l.whiteAsterisk,
                     box.x + (contentW - l.glyphSize) / 2, box.y + (contentH - l.glyphSize) / 2);
  }
}

void DrawHeatCell(platform::Canvas& canvas, const BoardView& view, const Rect& box,
                  int64_t contentW, int64_t contentH, const HeatScale& scale, int n) {
  // Orange blended over the opaque idle face is one opaque colour: filling with it paints the
  // same pixels as a blend, at the cost of a plain fill.
  const int64_t alpha = HeatAlpha(view.state.heatCounts[n], scale);
  const platform::Color face =
      alpha >= 1 ? BlendOver(kHeatOrange, alpha, kIdleColors.face) : kIdleColors.face;
  DrawCellFrame(canvas, box, face, kIdleColors);
  DrawNumeral(canvas, PlaceNumeral(canvas, box, contentW, contentH, n), kWhite);
}

}  // namespace

CellPitch GridPitch(const Rect& grid) {
  return CellPitch{static_cast<float>(grid.w) / 10.0f, static_cast<float>(grid.h) / 8.0f};
}

namespace {

// Offset of cell `index` along one axis from the grid's edge, in the single precision the pitch
// is held in: the hit test must truncate the very same product.
int64_t CellEdge(float pitch, int index) {
  return static_cast<int64_t>(pitch * static_cast<float>(index));
}

// The last of `count` cells along one axis that starts at or before offset d. Edges step by the
// whole pitch or one more, so this is the cell whose content holds d, or, on a pixel no content
// box holds, the cell whose painted border it is.
int CellIndexAt(float pitch, int count, int64_t d) {
  int index = 0;
  while (index + 1 < count && CellEdge(pitch, index + 1) <= d) ++index;
  return index;
}

}  // namespace

Rect CellBox(const Rect& grid, int n) {
  const CellPitch pitch = GridPitch(grid);
  const int row = (n - 1) / 10, col = (n - 1) % 10;
  return Rect{grid.x + CellEdge(pitch.w, col), grid.y + CellEdge(pitch.h, row),
              static_cast<int64_t>(pitch.w) + 1, static_cast<int64_t>(pitch.h) + 1};
}

int CellAt(const Rect& grid, int64_t px, int64_t py) {
  if (!PointInRect(grid, px, py)) return 0;
  const CellPitch pitch = GridPitch(grid);
  return CellIndexAt(pitch.h, 8, py - grid.y) * 10 + CellIndexAt(pitch.w, 10, px - grid.x) + 1;
}

CrossExtent HitCrossExtent(int64_t w, int64_t h) {
  const int64_t mx = Round(0.05 * static_cast<double>(w));
  const int64_t my = Round(0.05 * static_cast<double>(h));
  return CrossExtent{mx - 5, my - 5, w - 2 * mx + 11, h - 2 * my + 11};
}

void DrawHitCross(platform::Canvas& canvas, int64_t x, int64_t y, int64_t w, int64_t h) {
  const int64_t mx = Round(0.05 * static_cast<double>(w));
  const int64_t my = Round(0.05 * static_cast<double>(h));
  const int64_t x1 = x + mx, y1 = y + my, x2 = x + w - mx, y2 = y + h - my;
  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.SetFrontColor(kCrossYellow);
  for (int64_t i = -5; i <= 5; ++i) {
    canvas.Line(x1, y1 + i, x2, y2 + i);
    canvas.Line(x1 + i, y1, x2 + i, y2);
    canvas.Line(x2, y1 + i, x1, y2 + i);
    canvas.Line(x2 + i, y1, x1 + i, y2);
  }
}

HeatScale ComputeHeatScale(const rules::GameState& g) {
  constexpr int64_t kNone = 2'000'000'000;
  HeatScale s;
  int64_t cold = kNone;
  for (int n = 1; n <= rules::kNumbers; ++n) {
    s.hotCount = std::max(s.hotCount, g.heatCounts[n]);
    if (g.heatCounts[n] > 0) cold = std::min(cold, g.heatCounts[n]);
  }
  s.coldCount = cold == kNone ? 0 : cold;
  s.span = s.hotCount > s.coldCount ? static_cast<float>(s.hotCount - s.coldCount) : 1.0f;
  return s;
}

int64_t HeatAlpha(int64_t count, const HeatScale& scale) {
  if (count == 0) return 0;
  float intensity = static_cast<float>(count - scale.coldCount) / scale.span * 0.85f + 0.15f;
  intensity = std::min(intensity, 1.0f);
  return static_cast<int64_t>(intensity * 215.0f);
}

platform::Color BlendOver(platform::Color source, int64_t alpha, platform::Color below) {
  const int64_t a = std::clamp<int64_t>(alpha, 0, 255);
  auto mix = [a](uint32_t s, uint32_t d) {
    return static_cast<uint32_t>(
        (static_cast<int64_t>(s) * a + static_cast<int64_t>(d) * (255 - a) + 127) / 255);
  };
  return RGB(mix(platform::Red(source), platform::Red(below)),
             mix(platform::Green(source), platform::Green(below)),
             mix(platform::Blue(source), platform::Blue(below)));
}

void DrawCardGrid(platform::Canvas& canvas, const BoardView& view, const Rect& rect, int64_t tab) {
  if (tab < 1 || tab > rules::kCards) tab = 0;
  const bool heat = tab == 0 && view.state.heatMapOn;
  const HeatScale scale = heat ? ComputeHeatScale(view.state) : HeatScale{};
  // No background fill: the painted boxes, one pixel wider than their pitch, tile the whole grid.
  canvas.SetFont(view.fonts.gridNumberFont);
  const CellPitch pitch = GridPitch(rect);
  const auto contentW = static_cast<int64_t>(pitch.w), contentH = static_cast<int64_t>(pitch.h);
  for (int n = 1; n <= rules::kNumbers; ++n) {
    const Rect box = CellBox(rect, n);
    if (heat) {
      DrawHeatCell(canvas, view, box, contentW, contentH, scale, n);
    } else {
      DrawNormalCell(canvas, view, box, contentW, contentH, tab, n);
    }
  }
  if (view.focusCell >= 1 && view.focusCell <= rules::kNumbers) {
    DrawFocusRing(canvas, CellBox(rect, static_cast<int>(view.focusCell)));
  }
}

int64_t FocusRingWidth(const Rect& box) {
  return std::max<int64_t>(kMinFocusRingWidth, std::min(box.w, box.h) / 20);
}

void DrawFocusRing(platform::Canvas& canvas, const Rect& box) {
  // White with a black line inside it: it shows on every face colour, and on the yellow cross.
  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  const int64_t t = FocusRingWidth(box);
  canvas.SetFrontColor(kWhite);
  canvas.Box(box.x, box.y, box.w, t);
  canvas.Box(box.x, box.y + box.h - t, box.w, t);
  canvas.Box(box.x, box.y + t, t, box.h - 2 * t);
  canvas.Box(box.x + box.w - t, box.y + t, t, box.h - 2 * t);
  canvas.SetFrontColor(kBlack);
  canvas.Box(box.x + t, box.y + t, box.w - 2 * t, 1);
  canvas.Box(box.x + t, box.y + box.h - t - 1, box.w - 2 * t, 1);
  canvas.Box(box.x + t, box.y + t + 1, 1, box.h - 2 * t - 2);
  canvas.Box(box.x + box.w - t - 1, box.y + t + 1, 1, box.h - 2 * t - 2);
}

}  // namespace render
