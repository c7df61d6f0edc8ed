// The about and rules page drawn over the grid while it is open: the game's title and ten
// sections of rules, hints and keys. Fixed texts; reads nothing of the game but the grid rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "render/board_view.h"

namespace controls {

// Measures of the page for a panel ph high, body text th high and title text tt high, in pixels
// from the panel's top.
struct AboutMetrics {
  int64_t title1Y = 0, title2Y = 0;  // the two title lines
  int64_t titleBandH = 0;            // 52 for 20-pixel titles; taller titles take more
  int64_t footerH = 0;               // 28, or 4 more than th
  int64_t lineH = 0;  // body pitch: the room shared among the 38 lines, at most 24, at least th
  int64_t taglineY = 0;
  int64_t lastLineY = 0;  // top of the page's last line
  bool operator==(const AboutMetrics&) const = default;
};

AboutMetrics AboutMetricsFor(int64_t panelHeight, int64_t th, int64_t tt);

// Chooses fonts.aboutFont and fonts.aboutTitleFont for the grid rectangle `panel`, measuring on
// `canvas`: the largest body size from the overlay font's down to 6 points whose lines all fit
// the panel's width within the left inset on both sides and whose 38 lines end above the footer,
// with the title a point larger (as the overlay fonts are) but no larger than the overlay title
// font. When none fits, the smallest. Called when the grid or the fonts change, not every frame.
// The sizes turned down go to `refused`, for the caller to free once every fit is made, so that
// no handle a search let go is reused by a font another search keeps.
void FitAboutFonts(platform::Canvas& canvas, render::Fonts& fonts, const render::Rect& panel,
                   std::vector<platform::Font*>& refused);

// Nothing unless the about overlay is open; then the whole page over the grid rectangle, in the
// fitted fonts where they were chosen, else in the overlay fonts.
void DrawAboutOverlay(platform::Canvas& canvas, const render::BoardView& view);

}  // namespace controls
