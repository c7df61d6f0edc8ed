// Holds a window's new size back while it is being dragged, so the board is laid out and drawn
// at a few of the sizes a drag passes through rather than at every one. Plain arithmetic on the
// millisecond clock; the window module feeds it.
#pragma once

#include <cstdint>

namespace platform {

constexpr int64_t kResizeStepMs = 200;   // during a drag, at most one new size this often
constexpr int64_t kResizeSettleMs = 80;  // a size this long unchanged is shown at once

struct ResizeGate {
  int64_t seenWidth = -1, seenHeight = -1;          // the window's own size, last looked at
  int64_t reportedWidth = -1, reportedHeight = -1;  // what the game was last told
  int64_t lastChangeMs = 0;                         // when the window's size last changed
  int64_t lastReportMs = INT64_MIN / 2;             // when a new size was last told
  bool holding = false;                             // the window's size is not told yet
};

// The size to tell the game at `nowMs` when the window is `width` x `height`: the first change
// after a quiet spell at once, then one every kResizeStepMs while changes keep coming, and the
// last once it has stood kResizeSettleMs.
void GateSize(ResizeGate& gate, int64_t nowMs, int64_t& width, int64_t& height);

// When a size held back is due (ms), or kNoDeadline while nothing is held.
int64_t GateDeadline(const ResizeGate& gate);

}  // namespace platform
