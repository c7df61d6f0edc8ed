// Button faces over the shared bevel: label layouts, segment bars and the speaker disc.
// Texts wider than their button stay centred and overflow both edges; nothing is clipped.
#include "controls/buttons.h"

#include <cmath>
#include <iterator>

#include "render/bevel.h"
#include "rules/autopick.h"
#include "rules/text.h"

namespace controls {
namespace {

using platform::Canvas;
using platform::Color;
using platform::DrawMode;
using platform::RGB;
using render::BoardView;
using render::Rect;

using rules::Joined;

constexpr Color kWhite = RGB(255, 255, 255);

struct LabelLine {
  std::string text;  // empty: the line is left out
  Color color;
};

// Draws `text` with its top at `top`, centred over x..x + w - 1 at a real, possibly half-pixel,
// left edge.
void DrawCentred(Canvas& canvas, const Rect& r, double top, const std::string& text) {
  const double tw = std::round(canvas.TextWidth(text));
  canvas.DrawText(static_cast<double>(r.x) + (static_cast<double>(r.w) - tw) / 2, top, text);
}

void DrawLine(Canvas& canvas, const Rect& r, double top, const LabelLine& line) {
  if (line.text.empty()) return;
  canvas.SetFrontColor(line.color);
  DrawCentred(canvas, r, top, line.text);
}

void BeginLabels(Canvas& canvas, const BoardView& view) {
  canvas.SetFont(view.fonts.buttonFont);
  canvas.SetDrawingMode(DrawMode::TransparentText);
}

void DrawBevel(Canvas& canvas, const Rect& r, const ButtonPalette& p) {
  render::DrawBevelBox(canvas, r.x, r.y, r.w, r.h, p.face, p.light, p.dark);
}

void DrawThreeLineLabel(Canvas& canvas, const BoardView& view, const Rect& r, const LabelLine& l1,
                        const LabelLine& l2, const LabelLine& l3) {
  BeginLabels(canvas, view);
  const auto tops = ThreeLineTops(r.y, r.h, LineHeight(canvas));
  DrawLine(canvas, r, static_cast<double>(tops[0]), l1);
  DrawLine(canvas, r, static_cast<double>(tops[1]), l2);
  DrawLine(canvas, r, static_cast<double>(tops[2]), l3);
}

void DrawTwoLineLabel(Canvas& canvas, const BoardView& view, const Rect& r, const LabelLine& l1,
                      const LabelLine& l2) {
  BeginLabels(canvas, view);
  const auto tops = TwoLineTops(r.y, r.h, LineHeight(canvas));
  DrawLine(canvas, r, tops[0], l1);
  DrawLine(canvas, r, tops[1], l2);
}

// The title and the "<" and ">" that mark the decrease and increase halves of Speed and Bet/Card.
void DrawStepperHead(Canvas& canvas, const Rect& r, const std::string& title, Color titleColor,
                     Color arrowColor) {
  const double top = static_cast<double>(r.y + 6);
  canvas.SetFrontColor(titleColor);
  DrawCentred(canvas, r, top, title);
  canvas.SetFrontColor(arrowColor);
  canvas.DrawText(static_cast<double>(r.x + 8), top, "<");
  canvas.DrawText(static_cast<double>(r.x + r.w - 16), top, ">");
}

// The setting's value, centred on the bottom line.
void DrawStepperValue(Canvas& canvas, const Rect& r, const std::string& value, Color color) {
  canvas.SetFrontColor(color);
  DrawCentred(canvas, r, static_cast<double>(r.y + r.h - LineHeight(canvas) - 6), value);
}

// Each box is filled, then outlined; `fillOf(i)` gives segment i's fill.
template <typename FillOf>
void DrawSegmentBar(Canvas& canvas, const Rect& r, int64_t segments, Color outline, FillOf fillOf) {
  for (int64_t i = 0; i < segments; ++i) {
    const Rect box = SegmentBox(r, segments, i);
    canvas.SetDrawingMode(DrawMode::Opaque);
    canvas.Box(box.x, box.y, box.w, box.h, fillOf(i));
    canvas.SetDrawingMode(DrawMode::Outline);
    canvas.Box(box.x, box.y, box.w, box.h, outline);
  }
  canvas.SetDrawingMode(DrawMode::TransparentText);
}

constexpr ButtonPalette kDrawAutoRun{RGB(180, 35, 35), RGB(230, 90, 90), RGB(100, 10, 10)};
constexpr ButtonPalette kDrawDrawing{RGB(70, 70, 90), RGB(110, 110, 130), RGB(30, 30, 45)};
constexpr ButtonPalette kDrawPressed{RGB(30, 55, 130), RGB(50, 80, 160), RGB(10, 25, 70)};
constexpr ButtonPalette kDrawIdle{RGB(40, 80, 190), RGB(80, 130, 240), RGB(15, 40, 110)};
constexpr ButtonPalette kNewGame{RGB(50, 110, 50), RGB(90, 170, 90), RGB(20, 55, 20)};
constexpr ButtonPalette kPayout{RGB(100, 70, 0), RGB(175, 135, 30), RGB(45, 28, 0)};
constexpr ButtonPalette kSpeed{RGB(45, 45, 75), RGB(85, 85, 130), RGB(15, 15, 30)};
constexpr ButtonPalette kBet{RGB(75, 50, 20), RGB(140, 100, 40), RGB(30, 18, 0)};
constexpr ButtonPalette kSoundOn{RGB(35, 95, 35), RGB(80, 170, 80), RGB(10, 50, 10)};
constexpr ButtonPalette kSoundMuted{RGB(95, 35, 35), RGB(170, 80, 80), RGB(50, 10, 10)};
constexpr ButtonPalette kAutoPickCard{RGB(80, 50, 0), RGB(180, 130, 30), RGB(35, 20, 0)};
constexpr ButtonPalette kAutoPickMain{RGB(50, 50, 50), RGB(85, 85, 85), RGB(22, 22, 22)};
constexpr ButtonPalette kAbout{RGB(60, 40, 90), RGB(120, 90, 180), RGB(25, 15, 50)};

constexpr const char* kSpeedNames[] = {"Slowest", "Slow", "Medium", "Fast", "Fastest"};
static_assert(std::size(kSpeedNames) == kSpeedSegments);

// Green for a small bet, through yellow and orange, to red for the largest.
Color BetSegmentColor(int64_t i) {
  if (i <= 2) return RGB(120, 220, 120);
  if (i <= 5) return RGB(255, 220, 80);
  if (i <= 7) return RGB(255, 140, 50);
  return RGB(255, 80, 80);
}

}  // namespace

int64_t LineHeight(Canvas& canvas) { return std::lround(canvas.TextHeight("A")); }

std::array<int64_t, 3> ThreeLineTops(int64_t y, int64_t h, int64_t lineHeight) {
  const int64_t gap = (h - 3 * lineHeight) / 4;
  return {y + gap, y + 2 * gap + lineHeight, y + 3 * gap + 2 * lineHeight};
}

std::array<double, 2> TwoLineTops(int64_t y, int64_t h, int64_t lineHeight) {
  const double middle = static_cast<double>(y) + static_cast<double>(h) / 2;
  return {middle - static_cast<double>(lineHeight) - 2, middle + 4};
}

int64_t SegmentPitch(int64_t w, int64_t segments) { return (w - 16) / segments; }

Rect SegmentBox(const Rect& button, int64_t segments, int64_t i) {
  constexpr int64_t kHeight = 14;
  const int64_t p = SegmentPitch(button.w, segments);
  return Rect{button.x + 8 + i * p + 1, button.y + (button.h - kHeight) / 2 + 2, p - 2, kHeight};
}

std::string AutoPickTitle(const rules::GameState& state) {
  const int64_t tab = state.activeTab;
  if (tab < 1 || tab > rules::kCards) return "Auto-Pick";
  std::string title = Joined("Pick: Card ", tab, " (");
  title += std::to_string(rules::AutoPickSpots(state, static_cast<int>(tab)));
  title += ")";
  return title;
}

void DrawButtonFace(Canvas& canvas, const BoardView& view) {
  const rules::GameState& g = view.state;
  const Rect& r = view.layout.drawButton;
  const ButtonPalette* palette = &kDrawIdle;
  const char* line1 = "Draw Numbers";
  const char* line2 = "Hold 1s = AUTO";
  const char* line3 = "Button or SPACE";
  // Auto-run outranks a running draw, which outranks a press: the press only matters when idle.
  if (g.autoRun != 0) {
    palette = &kDrawAutoRun;
    line1 = "STOP AUTO";
    line2 = "click button";
    line3 = "or press SPACE";
  } else if (g.drawInProgress != 0) {
    palette = &kDrawDrawing;
    line1 = "Drawing...";
    line2 = "";
    line3 = "";
  } else if (view.drawButtonHeld) {
    palette = &kDrawPressed;
  }
  DrawBevel(canvas, r, *palette);
  DrawThreeLineLabel(canvas, view, r, {line1, kWhite}, {line2, RGB(180, 210, 255)},
                     {line3, RGB(140, 180, 230)});
}

void DrawNewGameButton(Canvas& canvas, const BoardView& view) {
  const Rect& r = view.layout.newGameButton;
  DrawBevel(canvas, r, kNewGame);
  DrawTwoLineLabel(canvas, view, r, {"New Game", RGB(220, 255, 220)},
                   {"(Clears Cards)", RGB(180, 230, 180)});
}

void DrawPayoutButton(Canvas& canvas, const BoardView& view) {
  const Rect& r = view.layout.payoutButton;
  DrawBevel(canvas, r, kPayout);
  const bool casino = view.state.payMode == rules::CASINO;
  DrawThreeLineLabel(
      canvas, view, r, {"Payout Table", RGB(255, 225, 120)},
      casino ? LabelLine{"CASINO", RGB(255, 120, 120)} : LabelLine{"GENEROUS", RGB(120, 255, 120)},
      {"right-click: swap", RGB(200, 175, 80)});
}

void DrawSpeedButton(Canvas& canvas, const BoardView& view) {
  const Rect& r = view.layout.speedButton;
  const int64_t speed = view.state.speed;
  DrawBevel(canvas, r, kSpeed);
  BeginLabels(canvas, view);
  DrawStepperHead(canvas, r, "Speed", RGB(220, 230, 255), RGB(180, 180, 220));
  DrawSegmentBar(canvas, r, kSpeedSegments, RGB(20, 20, 35), [speed](int64_t i) {
    return i <= speed - rules::kMinSpeed ? RGB(80, 200, 100) : RGB(40, 40, 60);
  });
  const bool known = speed >= rules::kMinSpeed && speed <= rules::kMaxSpeed;
  DrawStepperValue(canvas, r, known ? kSpeedNames[speed - rules::kMinSpeed] : "",
                   RGB(255, 255, 200));
}

void DrawBetButton(Canvas& canvas, const BoardView& view) {
  const Rect& r = view.layout.betButton;
  const int64_t bet = view.state.betSetting;
  DrawBevel(canvas, r, kBet);
  BeginLabels(canvas, view);
  DrawStepperHead(canvas, r, "Bet/Card", RGB(255, 230, 180), RGB(220, 200, 160));
  DrawSegmentBar(canvas, r, kBetSegments, RGB(25, 18, 5), [bet](int64_t i) {
    return i <= bet - rules::kMinBet ? BetSegmentColor(i) : RGB(50, 35, 15);
  });
  DrawStepperValue(canvas, r, Joined("$", bet, " per Card"), RGB(255, 240, 200));
}

void DrawSoundButton(Canvas& canvas, const BoardView& view) {
  const Rect& r = view.layout.soundButton;
  const bool on = view.state.soundOn != 0;
  DrawBevel(canvas, r, on ? kSoundOn : kSoundMuted);
  BeginLabels(canvas, view);
  constexpr int64_t kRadius = 10;
  const int64_t th = LineHeight(canvas);
  const int64_t gap = (r.h - 2 * th - 2 * kRadius) / 4;
  canvas.SetFrontColor(kWhite);
  DrawCentred(canvas, r, static_cast<double>(r.y + gap), "Sound");

  const int64_t cx = r.x + r.w / 2;
  const int64_t cy = r.y + 2 * gap + th + kRadius;
  canvas.SetDrawingMode(DrawMode::Opaque);
  if (on) {
    canvas.Circle(cx, cy, kRadius, RGB(255, 255, 100));
    canvas.Circle(cx, cy, 5, kWhite);
  } else {
    canvas.Circle(cx, cy, kRadius, RGB(180, 60, 60));
    canvas.SetFrontColor(kWhite);
    canvas.Line(cx - 10, cy - 6, cx + 10, cy + 8);
  }

  canvas.SetDrawingMode(DrawMode::TransparentText);
  canvas.SetFrontColor(on ? RGB(220, 255, 220) : RGB(255, 220, 220));
  DrawCentred(canvas, r, static_cast<double>(r.y + 3 * gap + th + 2 * kRadius),
              on ? "ON" : "MUTED");
}

void DrawAutoPickButton(Canvas& canvas, const BoardView& view) {
  const Rect& r = view.layout.autoPickButton;
  const int64_t tab = view.state.activeTab;
  DrawBevel(canvas, r, tab >= 1 && tab <= rules::kCards ? kAutoPickCard : kAutoPickMain);
  DrawThreeLineLabel(canvas, view, r, {AutoPickTitle(view.state), RGB(255, 215, 0)},
                     {"L-Click: Hot #s", RGB(255, 200, 80)},
                     {"R-Click: Rndm #s", RGB(180, 200, 255)});
}

void DrawAboutButton(Canvas& canvas, const BoardView& view) {
  const Rect& r = view.layout.aboutButton;
  DrawBevel(canvas, r, kAbout);
  DrawTwoLineLabel(canvas, view, r, {"About", RGB(230, 210, 255)}, {"& Rules", RGB(230, 210, 255)});
}

}  // namespace controls
