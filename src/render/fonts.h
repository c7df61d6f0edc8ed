// The game's six fonts, sized from the client height, and their reloading after a resize, with
// a small cache so a size already loaded is never opened again. Loads through the Canvas only;
// knows nothing of files, SDL or fontconfig.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

// A font LoadFonts opened, kept while the cache has room: a window dragged back and forth takes
// the fonts of a size it had again instead of opening their files.
struct CachedFont {
  int points = 0;
  bool bold = false;
  platform::Font* font = nullptr;
  int64_t lastUse = 0;  // the Fonts' use count when last taken
};

// The overlays' fitted fonts for one grid size at one size of the overlay fonts.
struct FittedFonts {
  int64_t width = 0, height = 0;  // the grid
  int overlayPoints = 0, overlayTitlePoints = 0;
  platform::Font* about = nullptr;  // null where the overlay fonts serve
  platform::Font* aboutTitle = nullptr;
  platform::Font* payout = nullptr;
  platform::Font* recall = nullptr;
  int64_t lastUse = 0;
};

constexpr std::size_t kFontCacheSize = 12;   // fonts, the six in use among them
constexpr std::size_t kFittedCacheSize = 4;  // sets of fitted fonts, the one in use among them

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

  // They own every font the slots above hold, whatever LoadFonts and KeepFittedFonts loaded;
  // the canvas frees what is left of them with the screen.
  std::vector<CachedFont> cache;
  std::vector<FittedFonts> fittedCache;
  int64_t uses = 0;  // counts LoadFonts and fitted-font lookups, for least-recently-used order
};

inline constexpr const char* kFontFace = "Segoe UI";

// Grid, balls-title and overlay fonts grow with the window without limit; button and tab
// labels stop growing at 1.28 times the 780-pixel design height; below 0.7 nothing shrinks.
FontPointSizes FontPoints(int64_t clientHeight);

// Puts the six fonts for `clientHeight` in their slots, in order, from the cache or loaded when
// not in it, and leaves the fitted ones to be chosen. Beyond kFontCacheSize the least recently
// used fonts not in a slot are freed; so is a font a slot held that the cache does not own. A
// font that cannot be loaded stays null; text drawn with it uses the canvas's fallback face.
void LoadFonts(platform::Canvas& canvas, Fonts& fonts, int64_t clientHeight);

// Puts the fitted fonts kept for this grid at the current overlay sizes in their slots and notes
// the grid; false when none are kept.
bool TakeFittedFonts(Fonts& fonts, int64_t gridWidth, int64_t gridHeight);
// Keeps the fitted fonts now in their slots as this grid's, noting the grid; beyond
// kFittedCacheSize the least recently used other set is freed.
void KeepFittedFonts(platform::Canvas& canvas, Fonts& fonts, int64_t gridWidth, int64_t gridHeight);

// Puts `font` in `slot`, freeing what the slot held.
void ReplaceFont(platform::Canvas& canvas, platform::Font*& slot, platform::Font* font);

}  // namespace render
