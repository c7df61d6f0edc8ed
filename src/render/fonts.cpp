// Font sizes from the client height, the six fonts taken from their cache or loaded, and the
// cache of the overlays' fitted fonts. Pure arithmetic plus Canvas calls; no drawing.
#include "render/fonts.h"

#include <algorithm>
#include <array>

namespace render {
namespace {

// Beyond this scale (a window some 39,000 pixels high) point sizes would stop making sense
// and could overflow an int.
constexpr float kMaxScale = 50.0f;

bool Cached(const Fonts& fonts, const platform::Font* font) {
  return std::any_of(fonts.cache.begin(), fonts.cache.end(),
                     [font](const CachedFont& c) { return c.font == font; });
}

bool Fitted(const Fonts& fonts, const platform::Font* font) {
  return std::any_of(
      fonts.fittedCache.begin(), fonts.fittedCache.end(), [font](const FittedFonts& f) {
        return f.about == font || f.aboutTitle == font || f.payout == font || f.recall == font;
      });
}

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
  const int64_t use = ++fonts.uses;
  // A slot's font that neither cache owns came from elsewhere and is this call's to free.
  for (const Slot& slot : slots) {
    if (!Cached(fonts, *slot.font)) ReplaceFont(canvas, *slot.font, nullptr);
    *slot.font = nullptr;
  }
  for (platform::Font** fitted :
       {&fonts.aboutFont, &fonts.aboutTitleFont, &fonts.payoutFont, &fonts.recallFont}) {
    if (!Fitted(fonts, *fitted)) ReplaceFont(canvas, *fitted, nullptr);
    *fitted = nullptr;
  }
  fonts.fittedWidth = fonts.fittedHeight = 0;
  fonts.points = points;
  for (const Slot& slot : slots) {
    auto hit = std::find_if(fonts.cache.begin(), fonts.cache.end(), [&](const CachedFont& c) {
      return c.points == slot.points && c.bold == slot.bold;
    });
    if (hit == fonts.cache.end()) {
      platform::Font* font = canvas.LoadFont(kFontFace, slot.points, slot.bold);
      if (font == nullptr) continue;  // tried again at the next size
      fonts.cache.push_back(CachedFont{slot.points, slot.bold, font, use});
      hit = fonts.cache.end() - 1;
    }
    hit->lastUse = use;
    *slot.font = hit->font;
  }
  // Every font taken now has this call's use, so the oldest are never in a slot.
  while (fonts.cache.size() > kFontCacheSize) {
    auto oldest = std::min_element(
        fonts.cache.begin(), fonts.cache.end(),
        [](const CachedFont& a, const CachedFont& b) { return a.lastUse < b.lastUse; });
    if (oldest->lastUse == use) break;
    canvas.FreeFont(oldest->font);
    fonts.cache.erase(oldest);
  }
}

bool TakeFittedFonts(Fonts& fonts, int64_t gridWidth, int64_t gridHeight) {
  for (FittedFonts& f : fonts.fittedCache) {
    if (f.width != gridWidth || f.height != gridHeight || f.overlayPoints != fonts.points.overlay ||
        f.overlayTitlePoints != fonts.points.overlayTitle) {
      continue;
    }
    f.lastUse = ++fonts.uses;
    fonts.aboutFont = f.about;
    fonts.aboutTitleFont = f.aboutTitle;
    fonts.payoutFont = f.payout;
    fonts.recallFont = f.recall;
    fonts.fittedWidth = gridWidth;
    fonts.fittedHeight = gridHeight;
    return true;
  }
  return false;
}

void KeepFittedFonts(platform::Canvas& canvas, Fonts& fonts, int64_t gridWidth,
                     int64_t gridHeight) {
  const int64_t use = ++fonts.uses;
  fonts.fittedCache.push_back(
      FittedFonts{gridWidth, gridHeight, fonts.points.overlay, fonts.points.overlayTitle,
                  fonts.aboutFont, fonts.aboutTitleFont, fonts.payoutFont, fonts.recallFont, use});
  fonts.fittedWidth = gridWidth;
  fonts.fittedHeight = gridHeight;
  while (fonts.fittedCache.size() > kFittedCacheSize) {
    auto oldest = std::min_element(
        fonts.fittedCache.begin(), fonts.fittedCache.end(),
        [](const FittedFonts& a, const FittedFonts& b) { return a.lastUse < b.lastUse; });
    for (platform::Font* font :
         {oldest->about, oldest->aboutTitle, oldest->payout, oldest->recall}) {
      if (font != nullptr) canvas.FreeFont(font);
    }
    fonts.fittedCache.erase(oldest);
  }
}

void ReplaceFont(platform::Canvas& canvas, platform::Font*& slot, platform::Font* font) {
  if (slot != nullptr && slot != font) canvas.FreeFont(slot);
  slot = font;
}

}  // namespace render
