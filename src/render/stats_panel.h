// The money column at the left: each card's picks, hits and last win, each card's result this
// set, the set totals, the balance, the lifetime figures per payout mode, and the jackpot and
// consolation notices. Reads the game record only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/canvas.h"
#include "render/board_view.h"

namespace render {

// "$" and the plain digits: $25000.
std::string FormatAmount(int64_t dollars);
// "+$12", "$0" or "-$35".
std::string FormatSignedAmount(int64_t dollars);

// Line pitch of the panel: (h - 218) / 18, at most th + 2 and at least th.
int64_t StatsRowHeight(int64_t panelHeight, int64_t textHeight);

void DrawStatsPanel(platform::Canvas& canvas, const BoardView& view);

}  // namespace render
