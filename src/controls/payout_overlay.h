// The payout table drawn over the grid while it is open: what every spot count pays for every
// number of hits at the current bet and payout mode, with thousands and millions abbreviated.
// Every amount is the rules' payout lookup; drawing changes nothing, fitting sets the payout font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "render/board_view.h"
#include "rules/game_state.h"

namespace controls {

// Measures of the table for a panel pw x ph, text th high and a "Picks" heading picksW wide, in
// pixels.
struct PayoutMetrics {
  int64_t rowH = 0;       // header, bet row and each table row: 16..38, or th where it has room
  int64_t footH = 26;     // footer band at the panel bottom: 26, or 4 more than th
  int64_t k = 0;          // 9..18, sets the width of the spot count column
  int64_t firstColW = 0;  // spot count column, at least 50 and as wide as its heading
  int64_t colW = 0;       // each of the twelve hits columns, at least 40
  bool operator==(const PayoutMetrics&) const = default;
};

PayoutMetrics PayoutMetricsFor(int64_t panelWidth, int64_t panelHeight, int64_t th, int64_t picksW);

struct PayoutAmountText {
  std::string text;
  platform::Color color;
};

// "-" for nothing; "$" and digits below 1,000; whole thousands with K below a million, whole
// millions with M above (cut, not rounded). The colour warms at 100, 1,000, 10,000 and 100,000.
PayoutAmountText FormatPayoutAmount(int64_t amount);

// Chooses fonts.payoutFont for the grid rectangle `panel`, measuring on `canvas`: the largest
// size from the overlay font's down to 6 points in which every row, at every bet and in both
// modes, keeps a space between its texts and stays inside the panel, and every text fits its
// row's height. When none fits, the smallest. Called when the grid or the fonts change. The
// sizes turned down go to `refused`, for the caller to free once every fit is made.
void FitPayoutFont(platform::Canvas& canvas, render::Fonts& fonts, const render::Rect& panel,
                   const rules::GameState& g, std::vector<platform::Font*>& refused);

// Nothing unless the payout overlay is open; then the whole table over the grid rectangle, in
// the fitted font where it was chosen, else in the overlay font.
void DrawPayoutOverlay(platform::Canvas& canvas, const render::BoardView& view);

}  // namespace controls
