// The resize gate's arithmetic: no SDL, no clock of its own.
#include "platform/sdl/resize_gate.h"

#include <algorithm>

#include "platform/system.h"

namespace platform {

void GateSize(ResizeGate& gate, int64_t nowMs, int64_t& width, int64_t& height) {
  if (width != gate.seenWidth || height != gate.seenHeight) {
    gate.seenWidth = width;
    gate.seenHeight = height;
    gate.lastChangeMs = nowMs;
  }
  const bool same = width == gate.reportedWidth && height == gate.reportedHeight;
  if (same || nowMs - gate.lastChangeMs >= kResizeSettleMs ||
      nowMs - gate.lastReportMs >= kResizeStepMs) {
    if (!same) gate.lastReportMs = nowMs;
    gate.reportedWidth = width;
    gate.reportedHeight = height;
    gate.holding = false;
    return;
  }
  gate.holding = true;
  width = gate.reportedWidth;
  height = gate.reportedHeight;
}

int64_t GateDeadline(const ResizeGate& gate) {
  if (!gate.holding) return kNoDeadline;
  return std::min(gate.lastChangeMs + kResizeSettleMs, gate.lastReportMs + kResizeStepMs);
}

}  // namespace platform
