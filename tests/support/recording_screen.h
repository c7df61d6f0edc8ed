// The null platform's screen in unit tests: a recording canvas with the fixed fake metrics (every
// font 20 px high, 10 px a character), where the game's fonts and images live, and the calls of
// the last frame presented. Paints nothing.
#pragma once

#include <utility>

#include "platform/screen.h"
#include "render/display_list.h"

namespace testing_support {

class RecordingScreen final : public platform::Screen {
  // Ahead of `canvas`, which records into them: what was replayed since the last present, and
  // the metrics of the fonts made there.
  render::DisplayList replayed_;
  render::FakeMetrics metrics_;

 public:
  render::RecordingCanvas canvas{replayed_, metrics_};
  render::DisplayList presented;  // the calls of the last frame presented

  platform::Canvas& Drawing() override { return canvas; }
  const platform::TextMetrics& Metrics() override { return metrics_; }
  void Present() override {
    // The calls replayed since the last present, handed over without a copy; the screen then
    // forgets them, so a long session does not pile up every frame it ever showed.
    std::swap(presented.calls, replayed_.calls);
    replayed_.calls.clear();
  }
};

}  // namespace testing_support
