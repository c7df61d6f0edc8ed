// The game's six fonts, sized from the client height, and their reloading after a resize.
// Loads through the Canvas only; knows nothing of files, SDL or fontconfig.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

namespace render {

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

struct Fonts {
  platform::Font* gridNumberFont = nullptr;    // bold, cell numerals
  platform::Font* buttonFont = nullptr;        // regular, button labels, stats and ball numbers
  platform::Font* tabFont = nullptr;           // bold, tab labels
  platform::Font* ballsTitleFont = nullptr;    // bold, the balls panel title
  platform::Font* overlayFont = nullptr;       // regular, overlay text
  platform::Font* overlayTitleFont = nullptr;  // bold, about overlay titles
  FontPointSizes points;                       // what the six were loaded at

  // The overlays' text in sizes fitted to the grid, chosen by measuring it whenever the grid or
  // the fonts change: the overlay sizes above can be too large for what the grid holds. Null
  // until chosen (the overlays then use the overlay fonts); freed and cleared by LoadFonts.
  platform::Font* aboutFont = nullptr;        // regular, the about page's body and footer
  platform::Font* aboutTitleFont = nullptr;   // bold, the about page's two title lines
  platform::Font* payoutFont = nullptr;       // regular, every text of the payout table
  platform::Font* recallFont = nullptr;       // regular, every text of the recall
  int64_t fittedWidth = 0, fittedHeight = 0;  // grid they were chosen for; 0 x 0: not chosen
};

inline constexpr const char* kFontFace = "Segoe UI";

// Grid, balls-title and overlay fonts grow with the window without limit; button and tab
// labels stop growing at 1.28 times the 780-pixel design height; below 0.7 nothing shrinks.
FontPointSizes FontPoints(int64_t clientHeight);

// Frees the fonts that exist, the fitted ones too, then loads the six again in order and leaves
// the fitted ones to be chosen. A font that cannot be loaded stays null; text drawn with it uses
// the canvas's fallback face.
void LoadFonts(platform::Canvas& canvas, Fonts& fonts, int64_t clientHeight);

// Puts `font` in `slot`, freeing what the slot held.
void ReplaceFont(platform::Canvas& canvas, platform::Font*& slot, platform::Font* font);

}  // namespace render
