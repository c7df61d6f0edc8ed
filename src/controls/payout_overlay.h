// The payout table drawn over the grid while it is open: what every spot count pays for every
// number of hits at the current bet and payout mode, with thousands and millions abbreviated.
// Reads the active pay table through the board view; changes nothing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/canvas.h"
#include "render/board_view.h"

namespace controls {

// Measures of the table for a panel pw x ph, in pixels.
struct PayoutMetrics {
  int64_t rowH = 0;       // header, bet row and each table row: 16..38
  int64_t footH = 26;     // footer band at the panel bottom
  int64_t k = 0;          // 9..18, sets the width of the spot count column
  int64_t firstColW = 0;  // spot count column, at least 50
  int64_t colW = 0;       // each of the twelve hits columns, at least 40
  bool operator==(const PayoutMetrics&) const = default;
};

PayoutMetrics PayoutMetricsFor(int64_t panelWidth, int64_t panelHeight);

struct PayoutAmountText {
  std::string text;
  platform::Color color;
};

// "-" for nothing; "$" and digits below 1,000; whole thousands with K below a million, whole
// millions with M above (cut, not rounded). The colour warms at 100, 1,000, 10,000 and 100,000.
PayoutAmountText FormatPayoutAmount(int64_t amount);

// Nothing unless the payout overlay is open; then the whole table over the grid rectangle.
void DrawPayoutOverlay(platform::Canvas& canvas, const render::BoardView& view);

}  // namespace controls
