// Font sizes from the client height and the reload of all six fonts.
// Pure arithmetic plus Canvas calls; no drawing.
#include "render/fonts.h"

#include <algorithm>
#include <array>

namespace render {
namespace {

// Beyond this scale (a window some 39,000 pixels high) point sizes would stop making sense
// and could overflow an int.
constexpr float kMaxScale = 50.0f;

}  // namespace

FontPointSizes FontPoints(int64_t clientHeight) {
  // Single precision on purpose: sizes land on the same whole points as the layout rules.
  float s = static_cast<float>(clientHeight) / 780.0f;
  if (s < 0.7f) s = 0.7f;
  s = std::min(s, kMaxScale);
  const float t = std::min(s, 1.28f);
  return FontPointSizes{
      static_cast<int>(24.0f * s), static_cast<int>(11.0f * t), static_cast<int>(16.0f * t),
      static_cast<int>(14.0f * s), static_cast<int>(12.0f * s), static_cast<int>(13.0f * s),
  };
}

void LoadFonts(platform::Canvas& canvas, Fonts& fonts, int64_t clientHeight) {
  const FontPointSizes points = FontPoints(clientHeight);
  struct Slot {
    platform::Font** font;
    int points;
    bool bold;
  };
  const std::array<Slot, 6> slots = {{
      {&fonts.gridNumberFont, points.gridNumber, true},
      {&fonts.buttonFont, points.button, false},
      {&fonts.tabFont, points.tab, true},
      {&fonts.ballsTitleFont, points.ballsTitle, true},
      {&fonts.overlayFont, points.overlay, false},
      {&fonts.overlayTitleFont, points.overlayTitle, true},
  }};
  for (const Slot& slot : slots) ReplaceFont(canvas, *slot.font, nullptr);
  for (platform::Font** fitted :
       {&fonts.aboutFont, &fonts.aboutTitleFont, &fonts.payoutFont, &fonts.recallFont}) {
    ReplaceFont(canvas, *fitted, nullptr);
  }
  fonts.fittedWidth = fonts.fittedHeight = 0;
  fonts.points = points;
  for (const Slot& slot : slots) *slot.font = canvas.LoadFont(kFontFace, slot.points, slot.bold);
}

void ReplaceFont(platform::Canvas& canvas, platform::Font*& slot, platform::Font* font) {
  if (slot != nullptr && slot != font) canvas.FreeFont(slot);
  slot = font;
}

}  // namespace render
