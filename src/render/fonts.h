// The game's six fonts, sized from the client height, and their reloading after a resize.
// Loads through the Canvas only; knows nothing of files, SDL or fontconfig.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

namespace render {

struct Fonts {
  platform::Font* gridNumberFont = nullptr;    // bold, cell numerals
  platform::Font* buttonFont = nullptr;        // regular, button labels, stats and ball numbers
  platform::Font* tabFont = nullptr;           // bold, tab labels
  platform::Font* ballsTitleFont = nullptr;    // bold, the balls panel title
  platform::Font* overlayFont = nullptr;       // regular, overlay text
  platform::Font* overlayTitleFont = nullptr;  // bold, about overlay titles
};

// Point sizes of the six fonts, in the order of Fonts.
struct FontPointSizes {
  int gridNumber = 0;
  int button = 0;
  int tab = 0;
  int ballsTitle = 0;
  int overlay = 0;
  int overlayTitle = 0;
  bool operator==(const FontPointSizes&) const = default;
};

inline constexpr const char* kFontFace = "Segoe UI";

// Grid, balls-title and overlay fonts grow with the window without limit; button and tab
// labels stop growing at 1.28 times the 780-pixel design height; below 0.7 nothing shrinks.
FontPointSizes FontPoints(int64_t clientHeight);

// Frees the fonts that exist, then loads all six again in order. A font that cannot be
// loaded stays null; text drawn with it uses the canvas's fallback face.
void LoadFonts(platform::Canvas& canvas, Fonts& fonts, int64_t clientHeight);

}  // namespace render
