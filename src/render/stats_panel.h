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

// One notice box, panel-relative: its two text lines, or more when the message wraps.
struct NoticeBox {
  int64_t y = 0, h = 0;
  int64_t titleY = 0;    // the heading line
  int64_t messageY = 0;  // the first message line; further lines follow one rowH apart
};

// Where every block of the panel goes, panel-relative. The room below the lifetime figures holds
// both notices at once, so nothing moves when one comes or goes: rows are th + 2 high where that
// fits and shrink to th, and then every gap and band margin gives up `squeeze` pixels, keeping
// at least 1 (2 between the news notice's gold line and its heading).
struct StatsPlan {
  int64_t rowH = 0;
  int64_t squeeze = 0;
  int64_t titleY = 0, subtitleY = 0, topBandH = 0;  // "CARD STATS" band at the top
  int64_t headY = 0;                                // column heads; card i's row i rows below
  int64_t setBandY = 0, setBandH = 0, setTitleY = 0, setSubtitleY = 0;
  int64_t setRowsY = 0;  // card 1's result; the others one row apart
  int64_t separatorY = 0;
  int64_t totalsY = 0;                // wins, costs, profit and runs, one row apart
  int64_t bandH = 0, bandTitleY = 0;  // the BALANCE and LIFETIME bands; title offset in them
  int64_t balanceBandY = 0, balanceY = 0;
  int64_t lifetimeBandY = 0, lifetimeY = 0, casY = 0;  // GEN W, then CAS W; L one row below each
  int64_t lifetimeEnd = 0;
  NoticeBox jackpot;      // below the lifetime figures
  NoticeBox noticeAlone;  // the news notice without the jackpot box
  NoticeBox noticeBelow;  // the news notice under the jackpot box
  int64_t end = 0;        // bottom of the room both notices take
};

// The plan for a panel `panelHeight` high, text th high and a news message of `messageLines`
// lines (1 when there is none). When nothing fits (a panel shorter than the smallest window
// gives) the tightest plan runs past the bottom.
StatsPlan PlanStatsPanel(int64_t panelHeight, int64_t th, int64_t messageLines);

void DrawStatsPanel(platform::Canvas& canvas, const BoardView& view);

}  // namespace render
