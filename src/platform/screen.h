// A screen without a window: a canvas frames are drawn on, the metrics of the fonts made there,
// and what presenting a frame means. The null platform shows its frames on one of its caller's
// choosing (a recording for tests, an SDL surface in memory for pictures and benchmarks).
#pragma once

#include "platform/canvas.h"

namespace platform {

class Screen {
 public:
  virtual ~Screen() = default;
  // The canvas that draws on the screen; fonts and images made on it live as long as it does.
  virtual Canvas& Drawing() = 0;
  // What text measures on that canvas, for recording frames with the sizes the screen shows.
  virtual const TextMetrics& Metrics() = 0;
  // The frame drawn since the last present is complete.
  virtual void Present() = 0;
};

}  // namespace platform
