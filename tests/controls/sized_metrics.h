// Fake metrics that grow with the font, for text that is fitted to a panel by its size: the
// fixed fake metrics' 20 pixels high and 10 a character at a 16-pixel em (12 points at 96 dpi),
// in proportion at every other size. Fonts are read from the recorder that made them.
#pragma once

#include <algorithm>
#include <string>

#include "render/display_list.h"

namespace controls_test {

class SizedFakeMetrics final : public platform::TextMetrics {
 public:
  // The recorder whose fonts are measured; made after the metrics it is given.
  void MeasureFontsOf(const render::RecordingCanvas& canvas) { canvas_ = &canvas; }

  double TextWidth(const platform::Font* font, const std::string& text) const override {
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return 0.625 * Em(font) * static_cast<double>(chars);
  }
  double TextHeight(const platform::Font* font) const override { return 1.25 * Em(font); }

 private:
  double Em(const platform::Font* font) const {
    const int pixels = canvas_ != nullptr && font != nullptr ? canvas_->InfoOf(font).pixelSize : 0;
    return pixels > 0 ? pixels : 16;
  }
  const render::RecordingCanvas* canvas_ = nullptr;
};

// A recorder measuring with SizedFakeMetrics, with its own list.
struct SizedRecorder {
  SizedRecorder() { metrics.MeasureFontsOf(canvas); }
  render::DisplayList list;
  SizedFakeMetrics metrics;
  render::RecordingCanvas canvas{list, metrics};
};

}  // namespace controls_test
