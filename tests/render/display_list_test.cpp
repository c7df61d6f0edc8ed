// The display list: the state each recorded call carries, the fake metrics and handles, equal
// recordings for equal drawing, and replay onto a real canvas.
#include "render/display_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/canvas_handles.h"

namespace render {
namespace {

using platform::RGB;
using platform::RGBA;

TEST(RecordingCanvas, EachCallCarriesTheStateInForce) {
  RecordingCanvas canvas;
  Font* font = canvas.LoadFont("Segoe UI", 24, true);
  Image* image = canvas.CreateImage(10, 20, RGBA(255, 255, 255, 0));
  ASSERT_TRUE(canvas.BeginDrawing(image));
  canvas.SetFrontColor(RGB(1, 2, 3));
  canvas.SetDrawingMode(DrawMode::Outline);
  canvas.SetFont(font);
  canvas.Box(1, 2, 3, 4);
  canvas.Box(5, 6, 7, 8, RGB(9, 9, 9));
  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.DrawText(1.5, 2.5, "80");
  canvas.EndDrawing();
  canvas.Circle(7, 8, 9);

  const auto boxes = canvas.CallsOf(CallKind::Box);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].ints, (std::array<int64_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(boxes[0].color, RGB(1, 2, 3));
  EXPECT_EQ(boxes[0].mode, DrawMode::Outline);
  EXPECT_EQ(boxes[0].font, font);
  EXPECT_EQ(boxes[0].output, image);
  EXPECT_EQ(boxes[1].color, RGB(9, 9, 9));  // its own colour, front colour untouched

  const auto text = canvas.CallsOf(CallKind::DrawText).at(0);
  EXPECT_EQ(text.text, "80");
  EXPECT_EQ(text.reals[0], 1.5);
  EXPECT_EQ(text.reals[1], 2.5);
  EXPECT_EQ(text.color, RGB(1, 2, 3));
  EXPECT_EQ(text.mode, DrawMode::TransparentText);

  const auto circle = canvas.CallsOf(CallKind::Circle).at(0);
  EXPECT_EQ(circle.output, nullptr);  // back on the screen after EndDrawing
  EXPECT_EQ(circle.color, RGB(1, 2, 3));
}

TEST(RecordingCanvas, FakeMetricsAreFixedAndHandlesKnowTheirPixelSize) {
  RecordingCanvas canvas(96.0);
  Font* font = canvas.LoadFont("Segoe UI", 24, true);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(canvas.InfoOf(font).pixelSize, 32);
  EXPECT_TRUE(canvas.InfoOf(font).bold);
  canvas.SetFont(font);
  EXPECT_EQ(canvas.TextWidth("12"), 20.0);
  EXPECT_EQ(canvas.TextWidth("é1"), 20.0);  // characters, not bytes
  EXPECT_EQ(canvas.TextHeight(""), 20.0);
  canvas.SetFont(nullptr);
  EXPECT_EQ(canvas.TextHeight("M"), 20.0);
  EXPECT_EQ(canvas.Calls().size(), 1u);  // the font loaded: neither setting nor measuring is a call
}

// Metrics that count what they are asked and answer with the font's id in the width, so a width
// taken for the wrong font shows.
struct CountingMetrics final : platform::TextMetrics {
  mutable int asked = 0;
  double TextWidth(const Font* font, const std::string& text) const override {
    ++asked;
    return static_cast<double>(text.size()) * 10 + (font != nullptr ? font->id : 0);
  }
  double TextHeight(const Font*) const override { return 20; }
};

// A frame measures nearly what the one before it measured, in the same order: those widths are
// remembered, and anything else (another text, font or metrics, another order) is measured.
TEST(RecordingCanvas, RemembersTheWidthsTheLastFrameMeasured) {
  RecordingCanvas fonts;
  Font* a = fonts.LoadFont("Segoe UI", 10, false);
  Font* b = fonts.LoadFont("Segoe UI", 12, false);
  CountingMetrics metrics, otherMetrics;
  WidthMemo memo;
  struct Ask {
    Font* font;
    std::string text;
  };
  // Measures each text as one frame does; returns how many the metrics were asked.
  const auto frame = [&](const CountingMetrics& m, const std::vector<Ask>& asks) {
    DisplayList list;
    RecordingCanvas recorder(list, m);
    recorder.RememberWidths(memo);
    const int before = m.asked;
    for (const Ask& ask : asks) {
      recorder.SetFont(ask.font);
      EXPECT_EQ(recorder.TextWidth(ask.text), m.TextWidth(ask.font, ask.text)) << ask.text;
      --m.asked;  // the expected value's own question
    }
    return m.asked - before;
  };
  EXPECT_EQ(frame(metrics, {{a, "12"}, {b, "Balance"}, {nullptr, "x"}}), 3);
  EXPECT_EQ(frame(metrics, {{a, "12"}, {b, "Balance"}, {nullptr, "x"}}), 0);
  EXPECT_EQ(frame(metrics, {{a, "13"}, {b, "Balance"}, {nullptr, "x"}}), 1);            // a text
  EXPECT_EQ(frame(metrics, {{b, "13"}, {b, "Balance"}, {nullptr, "x"}}), 1);            // a font
  EXPECT_EQ(frame(metrics, {{b, "Balance"}, {b, "13"}, {nullptr, "x"}}), 2);            // the order
  EXPECT_EQ(frame(metrics, {{b, "Balance"}, {b, "13"}, {nullptr, "x"}, {a, "y"}}), 1);  // one more
  EXPECT_EQ(frame(otherMetrics, {{b, "Balance"}, {b, "13"}}), 2);  // other metrics
}

TEST(RecordingCanvas, FreedFontStopsBeingInForce) {
  RecordingCanvas canvas;
  Font* font = canvas.LoadFont("Segoe UI", 11, false);
  canvas.SetFont(font);
  canvas.FreeFont(font);
  canvas.DrawText(0, 0, "x");
  EXPECT_EQ(canvas.CallsOf(CallKind::DrawText).at(0).font, nullptr);
  EXPECT_EQ(canvas.LiveFonts(), 0u);
}

TEST(RecordingCanvas, SameDrawingGivesEqualRecordsAndClearForgets) {
  RecordingCanvas canvas;
  auto frame = [&canvas](Color c) {
    canvas.BeginDrawing(nullptr);
    canvas.SetFrontColor(c);
    canvas.Box(0, 0, 10, 10);
    canvas.Line(0, 0, 9, 9);
    canvas.EndDrawing();
  };
  // State carries over between frames and is part of each record, so start from a settled one.
  frame(RGB(1, 1, 1));
  canvas.Clear();
  frame(RGB(1, 1, 1));
  const DisplayList first = canvas.List();
  canvas.Clear();
  EXPECT_TRUE(canvas.Calls().empty());
  frame(RGB(1, 1, 1));
  EXPECT_EQ(canvas.List(), first);
  canvas.Clear();
  frame(RGB(1, 1, 2));
  EXPECT_NE(canvas.List(), first);
}

TEST(RecordingCanvas, FailureSwitchesAndBadSizesGiveNoHandles) {
  RecordingCanvas canvas;
  EXPECT_EQ(canvas.CreateImage(0, 5, 0), nullptr);
  EXPECT_EQ(canvas.LoadFont("Segoe UI", 0, false), nullptr);
  canvas.FailFontLoads(true);
  canvas.FailImages(true);
  canvas.FailBeginDrawing(true);
  EXPECT_EQ(canvas.LoadFont("Segoe UI", 12, false), nullptr);
  EXPECT_EQ(canvas.CreateImage(5, 5, 0), nullptr);
  EXPECT_FALSE(canvas.BeginDrawing(nullptr));
  EXPECT_EQ(canvas.CallsOf(CallKind::LoadFont).size(), 2u);  // failed calls are recorded too
}

TEST(RecordingCanvas, VectorCallsRecordTargetColourAndCoordinates) {
  RecordingCanvas canvas;
  Image* image = canvas.CreateImage(51, 51, RGBA(255, 255, 255, 0));
  EXPECT_EQ(canvas.ImageWidth(image), 51);
  EXPECT_FALSE(canvas.BeginVectorDrawing(nullptr));
  ASSERT_TRUE(canvas.BeginVectorDrawing(image));
  canvas.SetVectorColor(RGBA(0, 0, 0, 255));
  canvas.MoveTo(1.5, 2.5);
  canvas.AddLineTo(3.5, 4.5);
  canvas.StrokePath(5.25);
  canvas.EndVectorDrawing();
  const auto stroke = canvas.CallsOf(CallKind::StrokePath).at(0);
  EXPECT_EQ(stroke.reals[0], 5.25);
  EXPECT_EQ(stroke.color, RGBA(0, 0, 0, 255));
  EXPECT_EQ(stroke.output, image);
  EXPECT_EQ(canvas.CallsOf(CallKind::AddLineTo).at(0).reals[1], 4.5);
  canvas.FreeImage(image);
  EXPECT_EQ(canvas.LiveImages(), 0u);
}

}  // namespace
}  // namespace render
