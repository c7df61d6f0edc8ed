// Tab faces with their bevel edges, centred labels, and the heat-map marker.
#include "render/tab_strip.h"

#include <cmath>

#include "render/colors.h"
#include "render/layout.h"

namespace render {
namespace {

constexpr platform::Color kStripBackground = RGB(40, 40, 52);
constexpr platform::Color kHeatDot = RGB(255, 120, 0);
constexpr platform::Color kHeatGlint = RGBA(255, 220, 100, 160);

struct TabColors {
  platform::Color face, label, highlight, shadow;
};
constexpr TabColors kActive{RGB(255, 215, 0), RGB(20, 20, 20), RGB(255, 255, 170),
                            RGB(170, 145, 0)};
constexpr TabColors kInactive{RGB(65, 65, 82), RGB(195, 195, 210), RGB(95, 95, 110),
                              RGB(28, 28, 38)};

constexpr const char* kLabels[] = {"Main", "Card 1", "Card 2", "Card 3", "Card 4"};

}  // namespace

int64_t TabWidth(int64_t stripWidth) { return stripWidth / 5; }

void DrawTabStrip(platform::Canvas& canvas, const BoardView& view) {
  const Rect& s = view.layout.tabStrip;
  const int64_t tw = TabWidth(s.w);
  constexpr int64_t stripH = kTabStripHeight;
  canvas.SetDrawingMode(platform::DrawMode::Opaque);
  canvas.Box(s.x, s.y, s.w, stripH, kStripBackground);
  canvas.SetFont(view.fonts.tabFont);
  for (int i = 0; i < 5; ++i) {
    const TabColors& c = i == view.state.activeTab ? kActive : kInactive;
    const int64_t xi = s.x + i * tw;
    canvas.SetDrawingMode(platform::DrawMode::Opaque);
    // Each tab stands 2 pixels below the strip's top and reaches its foot.
    canvas.Box(xi + 1, s.y + 2, tw - 2, stripH - 2, c.face);
    canvas.Box(xi + 1, s.y + 2, tw - 2, 2, c.highlight);
    canvas.Box(xi + 1, s.y + 2, 2, stripH - 2, c.highlight);
    if (i == view.state.activeTab) {
      canvas.Box(xi + 1, s.y + stripH - 4, tw - 2, 4, c.shadow);
    } else {
      canvas.Box(xi + 1, s.y + stripH - 2, tw - 2, 2, c.shadow);
    }
    canvas.Box(xi + tw - 3, s.y + 2, 2, stripH - 2, c.shadow);

    canvas.SetDrawingMode(platform::DrawMode::TransparentText);
    canvas.SetFrontColor(c.label);
    const double lw = std::round(canvas.TextWidth(kLabels[i]));
    const double lh = std::round(canvas.TextHeight(kLabels[i]));
    const double ty = static_cast<double>(s.y) + (static_cast<double>(stripH) - lh) / 2;
    if (i == 0 && view.state.heatMapOn) {
      canvas.DrawText(static_cast<double>(xi) + (static_cast<double>(tw) - lw) / 2 - 10, ty,
                      kLabels[i]);
      // The dot sits just right of the label, placed with whole-pixel halves.
      const int64_t left = xi + (tw - static_cast<int64_t>(lw)) / 2 + static_cast<int64_t>(lw);
      canvas.SetDrawingMode(platform::DrawMode::Opaque);
      canvas.Circle(left + 4, s.y + stripH / 2, 6, kHeatDot);
      canvas.SetDrawingMode(platform::DrawMode::AlphaBlend);
      canvas.Circle(left + 2, s.y + stripH / 2 - 2, 3, kHeatGlint);
    } else {
      canvas.DrawText(static_cast<double>(xi) + (static_cast<double>(tw) - lw) / 2, ty, kLabels[i]);
    }
  }
}

}  // namespace render
