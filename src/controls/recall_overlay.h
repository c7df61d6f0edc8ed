// The recall drawn over the grid while it is open: one finished draw a page, newest first, with
// when it ended, its twenty numbers in the order drawn, every card that played it (picks, hits,
// bet, payout mode, win, jackpot or consolation) and the balance after it. Reads the recall and
// the grid rectangle; drawing changes nothing, fitting sets the recall font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "render/board_view.h"
#include "rules/game_state.h"

namespace controls {

// Rows of a page for a panel ph high and text th high, in pixels from the panel's top.
struct RecallMetrics {
  int64_t lineH = 0;   // row pitch: the room shared among the page's rows, at least th + 4
  int64_t bandH = 0;   // title band
  int64_t footH = 0;   // footer band at the panel bottom
  int64_t whenY = 0;   // when it ended and the balance after
  int64_t drawnY = 0;  // first of the two rows of drawn numbers
  int64_t cardsY = 0;  // first card's block
  int64_t cardH = 0;   // one card's block: header, picks, result and a gap
  int64_t endY = 0;    // bottom of the last card's block
  bool operator==(const RecallMetrics&) const = default;
};

RecallMetrics RecallMetricsFor(int64_t panelHeight, int64_t th);

// "Ended 2026-12-10 14:35:02", in local time.
std::string RecallWhenText(int64_t unixSeconds);
// "Draw 1 of 7": the page indicator, 0 the newest.
std::string RecallPageText(int64_t page, int64_t count);
// "Card 2: 8 spots, $5 a card, CASINO".
std::string RecallCardText(const rules::RecallCard& card);
// "Won $40", with "  +  jackpot $25000" or "  +  consolation $250" where it paid one.
std::string RecallResultText(const rules::RecallCard& card);

// Chooses fonts.recallFont for the grid rectangle `panel`, measuring on `canvas`: the largest
// size from the overlay font's down to 6 points in which the widest page the recall can hold
// keeps its texts a space apart inside the panel and its rows above the footer. When none fits,
// the smallest. The sizes turned down go to `refused`, for the caller to free.
void FitRecallFont(platform::Canvas& canvas, render::Fonts& fonts, const render::Rect& panel,
                   std::vector<platform::Font*>& refused);

// Nothing unless the recall overlay is open; then page view.recallPage of the recall (the last
// page when it is beyond it), or a line saying there is nothing to recall yet.
void DrawRecallOverlay(platform::Canvas& canvas, const render::BoardView& view);

}  // namespace controls
