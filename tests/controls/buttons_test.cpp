// The eight top-row button faces on a 1280 x 780 board (buttons 155 wide, the last 157), recorded
// with fake metrics: the Draw button's state precedence, every face's palette and label lines,
// the speed and bet bars, the sound disc and the auto-pick title.
#include "controls/buttons.h"

#include <functional>
#include <string>
#include <vector>

#include "controls_fixture.h"
#include "render/bevel.h"

namespace controls_test {
namespace {

using platform::Color;
using platform::DrawMode;
using platform::RGB;
using render::Rect;

using Drawer = std::function<void(platform::Canvas&, const render::BoardView&)>;

struct Line {
  std::string text;
  double top;
  Color color;
};

// The face, light and dark of the bevel are the first, second and fourth boxes.
void ExpectPalette(const std::vector<CanvasCall>& calls, const Rect& r, Color face, Color light,
                   Color dark) {
  const auto boxes = Boxes(calls);
  ASSERT_GE(boxes.size(), 6u);
  EXPECT_EQ(boxes[0].ints, (std::array<int64_t, 4>{r.x, r.y, r.w, r.h}));
  EXPECT_EQ(boxes[0].color, face);
  EXPECT_EQ(boxes[1].color, light);
  EXPECT_EQ(boxes[3].color, dark);
}

// Every line at its top, in its colour, centred on the button (10 px per character).
void ExpectLines(const std::vector<CanvasCall>& calls, const Rect& r,
                 const std::vector<Line>& lines) {
  const auto texts = Texts(calls);
  ASSERT_EQ(texts.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i].text);
    EXPECT_EQ(texts[i].text, lines[i].text);
    EXPECT_EQ(texts[i].reals[1], lines[i].top);
    EXPECT_EQ(texts[i].color, lines[i].color);
    const double width = 10.0 * static_cast<double>(lines[i].text.size());
    EXPECT_EQ(texts[i].reals[0], static_cast<double>(r.x) + (static_cast<double>(r.w) - width) / 2);
    EXPECT_EQ(texts[i].mode, DrawMode::TransparentText);
  }
}

TEST(BevelBox, EdgesThenBlackOutlineWithDarkStripsOverTheLight) {
  render::RecordingCanvas canvas;
  render::DrawBevelBox(canvas, 5, 6, 40, 30, RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3));
  const auto boxes = canvas.CallsOf(CallKind::Box);
  ASSERT_EQ(boxes.size(), 6u);
  const std::array<int64_t, 4> expected[] = {{5, 6, 40, 30}, {5, 6, 40, 3},  {5, 6, 3, 30},
                                             {5, 33, 40, 3}, {42, 6, 3, 30}, {5, 6, 40, 30}};
  const Color colors[] = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(2, 2, 2),
                          RGB(3, 3, 3), RGB(3, 3, 3), RGB(0, 0, 0)};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(boxes[i].ints, expected[i]) << i;
    EXPECT_EQ(boxes[i].color, colors[i]) << i;
    EXPECT_EQ(boxes[i].mode, i < 5 ? DrawMode::Opaque : DrawMode::Outline) << i;
  }
}

TEST(LabelLayouts, ThreeAndTwoLineTopsForA96PixelButton) {
  EXPECT_EQ(controls::ThreeLineTops(12, 96, 20), (std::array<int64_t, 3>{21, 50, 79}));
  EXPECT_EQ(controls::TwoLineTops(12, 96, 20), (std::array<double, 2>{38, 64}));
  // A real-valued middle: an odd height leaves half pixels for the drawing layer.
  EXPECT_EQ(controls::TwoLineTops(0, 95, 17), (std::array<double, 2>{28.5, 51.5}));
  // The gap truncates toward zero, also when the lines do not fit.
  EXPECT_EQ(controls::ThreeLineTops(0, 96, 23), (std::array<int64_t, 3>{6, 35, 64}));
  EXPECT_EQ(controls::ThreeLineTops(0, 96, 34), (std::array<int64_t, 3>{-1, 32, 65}));
}

struct DrawStateCase {
  const char* name;
  int64_t autoRun, drawInProgress;
  bool held;
  Color face, light, dark;
  std::vector<const char*> texts;
};

TEST(DrawButton, AutoRunOutranksDrawingWhichOutranksPressed) {
  const Color idle[] = {RGB(40, 80, 190), RGB(80, 130, 240), RGB(15, 40, 110)};
  const Color pressed[] = {RGB(30, 55, 130), RGB(50, 80, 160), RGB(10, 25, 70)};
  const Color drawing[] = {RGB(70, 70, 90), RGB(110, 110, 130), RGB(30, 30, 45)};
  const Color autoRun[] = {RGB(180, 35, 35), RGB(230, 90, 90), RGB(100, 10, 10)};
  const std::vector<const char*> drawTexts = {"Draw Numbers", "Hold 1s = AUTO", "Button or SPACE"};
  const std::vector<const char*> stopTexts = {"STOP AUTO", "click button", "or press SPACE"};
  const DrawStateCase cases[] = {
      {"idle", 0, 0, false, idle[0], idle[1], idle[2], drawTexts},
      {"pressed", 0, 0, true, pressed[0], pressed[1], pressed[2], drawTexts},
      {"drawing", 0, 1, false, drawing[0], drawing[1], drawing[2], {"Drawing..."}},
      {"held while drawing", 0, 1, true, drawing[0], drawing[1], drawing[2], {"Drawing..."}},
      {"auto-run", 1, 0, false, autoRun[0], autoRun[1], autoRun[2], stopTexts},
      {"auto-run drawing", 1, 1, false, autoRun[0], autoRun[1], autoRun[2], stopTexts},
      {"auto-run drawing held", 1, 1, true, autoRun[0], autoRun[1], autoRun[2], stopTexts},
  };
  for (const DrawStateCase& c : cases) {
    SCOPED_TRACE(c.name);
    Board board;
    board.state.autoRun = c.autoRun;
    board.state.drawInProgress = c.drawInProgress;
    board.drawButtonHeld = c.held;
    const auto& calls = board.Record(controls::DrawButtonFace);
    const Rect& r = board.layout.drawButton;
    ExpectPalette(calls, r, c.face, c.light, c.dark);
    // The line colours never change; a lone "Drawing..." keeps the top line's place.
    const double tops[] = {21, 50, 79};
    const Color colors[] = {RGB(255, 255, 255), RGB(180, 210, 255), RGB(140, 180, 230)};
    std::vector<Line> lines;
    for (std::size_t i = 0; i < c.texts.size(); ++i)
      lines.push_back({c.texts[i], tops[i], colors[i]});
    ExpectLines(calls, r, lines);
  }
}

TEST(ControlButtons, PalettesAndLabelLines) {
  struct Case {
    const char* name;
    Drawer drawer;
    std::function<void(rules::GameState&)> setUp;
    Rect render::Layout::*rect;
    Color face, light, dark;
    std::vector<Line> lines;
  };
  auto none = [](rules::GameState&) {};
  const Case cases[] = {
      {"new game",
       controls::DrawNewGameButton,
       none,
       &render::Layout::newGameButton,
       RGB(50, 110, 50),
       RGB(90, 170, 90),
       RGB(20, 55, 20),
       {{"New Game", 38, RGB(220, 255, 220)}, {"(Clears Cards)", 64, RGB(180, 230, 180)}}},
      {"payout generous",
       controls::DrawPayoutButton,
       none,
       &render::Layout::payoutButton,
       RGB(100, 70, 0),
       RGB(175, 135, 30),
       RGB(45, 28, 0),
       {{"Payout Table", 21, RGB(255, 225, 120)},
        {"GENEROUS", 50, RGB(120, 255, 120)},
        {"right-click: swap", 79, RGB(200, 175, 80)}}},
      {"payout casino",
       controls::DrawPayoutButton,
       [](rules::GameState& g) { g.payMode = rules::CASINO; },
       &render::Layout::payoutButton,
       RGB(100, 70, 0),
       RGB(175, 135, 30),
       RGB(45, 28, 0),
       {{"Payout Table", 21, RGB(255, 225, 120)},
        {"CASINO", 50, RGB(255, 120, 120)},
        {"right-click: swap", 79, RGB(200, 175, 80)}}},
      {"sound on",
       controls::DrawSoundButton,
       none,
       &render::Layout::soundButton,
       RGB(35, 95, 35),
       RGB(80, 170, 80),
       RGB(10, 50, 10),
       {{"Sound", 21, RGB(255, 255, 255)}, {"ON", 79, RGB(220, 255, 220)}}},
      {"sound muted",
       controls::DrawSoundButton,
       [](rules::GameState& g) { g.soundOn = 0; },
       &render::Layout::soundButton,
       RGB(95, 35, 35),
       RGB(170, 80, 80),
       RGB(50, 10, 10),
       {{"Sound", 21, RGB(255, 255, 255)}, {"MUTED", 79, RGB(255, 220, 220)}}},
      {"auto-pick on card 4 with 12 picks",
       controls::DrawAutoPickButton,
       [](rules::GameState& g) {
         g.activeTab = 4;
         g.cards[4].pickCount = 12;
       },
       &render::Layout::autoPickButton,
       RGB(80, 50, 0),
       RGB(180, 130, 30),
       RGB(35, 20, 0),
       {{"Pick: Card 4 (12)", 21, RGB(255, 215, 0)},
        {"L-Click: Hot #s", 50, RGB(255, 200, 80)},
        {"R-Click: Rndm #s", 79, RGB(180, 200, 255)}}},
      {"auto-pick on an empty card 1",
       controls::DrawAutoPickButton,
       [](rules::GameState& g) { g.activeTab = 1; },
       &render::Layout::autoPickButton,
       RGB(80, 50, 0),
       RGB(180, 130, 30),
       RGB(35, 20, 0),
       {{"Pick: Card 1 (8)", 21, RGB(255, 215, 0)},
        {"L-Click: Hot #s", 50, RGB(255, 200, 80)},
        {"R-Click: Rndm #s", 79, RGB(180, 200, 255)}}},
      {"auto-pick on the Main tab",
       controls::DrawAutoPickButton,
       [](rules::GameState& g) { g.cards[2].pickCount = 5; },
       &render::Layout::autoPickButton,
       RGB(50, 50, 50),
       RGB(85, 85, 85),
       RGB(22, 22, 22),
       {{"Auto-Pick", 21, RGB(255, 215, 0)},
        {"L-Click: Hot #s", 50, RGB(255, 200, 80)},
        {"R-Click: Rndm #s", 79, RGB(180, 200, 255)}}},
      {"about",
       controls::DrawAboutButton,
       none,
       &render::Layout::aboutButton,
       RGB(60, 40, 90),
       RGB(120, 90, 180),
       RGB(25, 15, 50),
       {{"About", 38, RGB(230, 210, 255)}, {"& Rules", 64, RGB(230, 210, 255)}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Board board;
    c.setUp(board.state);
    const auto& calls = board.Record(c.drawer);
    const Rect& r = board.layout.*c.rect;
    ExpectPalette(calls, r, c.face, c.light, c.dark);
    ExpectLines(calls, r, c.lines);
    for (const CanvasCall& text : Texts(calls)) EXPECT_EQ(text.font, board.fonts.buttonFont);
  }
}

struct BarCase {
  const char* name;
  Drawer drawer;
  Rect render::Layout::*rect;
  int64_t value;  // speed or bet
  int64_t pitch;
  std::vector<Color> fills;
  Color outline;
  const char* valueText;
};

TEST(ControlButtons, SegmentBarsLightByValueAndBetColoursRunGreenToRed) {
  const Color go = RGB(80, 200, 100), idle = RGB(40, 40, 60);
  const Color green = RGB(120, 220, 120), yellow = RGB(255, 220, 80), orange = RGB(255, 140, 50),
              red = RGB(255, 80, 80), dim = RGB(50, 35, 15);
  const BarCase cases[] = {
      {"speed 1",
       controls::DrawSpeedButton,
       &render::Layout::speedButton,
       1,
       27,
       {go, idle, idle, idle, idle},
       RGB(20, 20, 35),
       "Slowest"},
      {"speed 3",
       controls::DrawSpeedButton,
       &render::Layout::speedButton,
       3,
       27,
       {go, go, go, idle, idle},
       RGB(20, 20, 35),
       "Medium"},
      {"speed 5",
       controls::DrawSpeedButton,
       &render::Layout::speedButton,
       5,
       27,
       {go, go, go, go, go},
       RGB(20, 20, 35),
       "Fastest"},
      {"bet 1",
       controls::DrawBetButton,
       &render::Layout::betButton,
       1,
       13,
       {green, dim, dim, dim, dim, dim, dim, dim, dim, dim},
       RGB(25, 18, 5),
       "$1 per Card"},
      {"bet 7",
       controls::DrawBetButton,
       &render::Layout::betButton,
       7,
       13,
       {green, green, green, yellow, yellow, yellow, orange, dim, dim, dim},
       RGB(25, 18, 5),
       "$7 per Card"},
      {"bet 10",
       controls::DrawBetButton,
       &render::Layout::betButton,
       10,
       13,
       {green, green, green, yellow, yellow, yellow, orange, orange, red, red},
       RGB(25, 18, 5),
       "$10 per Card"},
  };
  for (const BarCase& c : cases) {
    SCOPED_TRACE(c.name);
    Board board;
    board.state.speed = c.value;
    board.state.betSetting = c.value;
    board.state.betPerCard = c.value;
    const auto& calls = board.Record(c.drawer);
    const Rect& r = board.layout.*c.rect;
    ASSERT_EQ(r.w, 155);
    const auto boxes = Boxes(calls);
    // After the six boxes of the bevel: a fill and an outline per segment.
    ASSERT_EQ(boxes.size(), 6 + 2 * c.fills.size());
    for (std::size_t i = 0; i < c.fills.size(); ++i) {
      const CanvasCall& fill = boxes[6 + 2 * i];
      const CanvasCall& outline = boxes[7 + 2 * i];
      const std::array<int64_t, 4> at{r.x + 9 + static_cast<int64_t>(i) * c.pitch, r.y + 43,
                                      c.pitch - 2, 14};
      EXPECT_EQ(fill.ints, at) << i;
      EXPECT_EQ(fill.color, c.fills[i]) << i;
      EXPECT_EQ(fill.mode, DrawMode::Opaque) << i;
      EXPECT_EQ(outline.ints, at) << i;
      EXPECT_EQ(outline.color, c.outline) << i;
      EXPECT_EQ(outline.mode, DrawMode::Outline) << i;
    }
    // The bar's right end: x + 137 for ten segments, x + 142 for five.
    const auto& last = boxes[boxes.size() - 1].ints;
    EXPECT_EQ(last[0] + last[2], r.x + (c.fills.size() == 10 ? 137 : 142));

    const CanvasCall value = TextCall(calls, c.valueText);
    EXPECT_EQ(value.reals[1], r.y + 96 - 20 - 6);
    EXPECT_EQ(value.mode, DrawMode::TransparentText);
    EXPECT_EQ(TextCall(calls, "<").reals[0], r.x + 8);
    EXPECT_EQ(TextCall(calls, ">").reals[0], r.x + r.w - 16);
    EXPECT_EQ(TextCall(calls, "<").reals[1], r.y + 6);
  }
}

TEST(ControlButtons, SegmentPitchFollowsTheButtonWidth) {
  EXPECT_EQ(controls::SegmentPitch(155, 10), 13);
  EXPECT_EQ(controls::SegmentPitch(155, 5), 27);
  EXPECT_EQ(controls::SegmentPitch(120, 10), 10);  // the narrowest window
  EXPECT_EQ(controls::SegmentPitch(120, 5), 20);
}

TEST(ControlButtons, UnknownSpeedShowsNoName) {
  Board board;
  board.state.speed = 6;
  const auto texts = Texts(board.Record(controls::DrawSpeedButton));
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts.back().text, "");
}

TEST(ControlButtons, SoundDiscOrSlashAtTheButtonCentre) {
  Board board;
  const Rect& r = board.layout.soundButton;
  const int64_t cx = r.x + 77, cy = r.y + 48;

  auto on = board.Record(controls::DrawSoundButton);
  auto circles = Of(on, CallKind::Circle);
  ASSERT_EQ(circles.size(), 2u);
  EXPECT_EQ(circles[0].ints, (std::array<int64_t, 4>{cx, cy, 10, 0}));
  EXPECT_EQ(circles[0].color, RGB(255, 255, 100));
  EXPECT_EQ(circles[1].ints, (std::array<int64_t, 4>{cx, cy, 5, 0}));
  EXPECT_EQ(circles[1].color, RGB(255, 255, 255));
  EXPECT_EQ(circles[1].mode, DrawMode::Opaque);
  EXPECT_TRUE(Of(on, CallKind::Line).empty());

  board.state.soundOn = 0;
  auto muted = board.Record(controls::DrawSoundButton);
  circles = Of(muted, CallKind::Circle);
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(circles[0].ints, (std::array<int64_t, 4>{cx, cy, 10, 0}));
  EXPECT_EQ(circles[0].color, RGB(180, 60, 60));
  const auto lines = Of(muted, CallKind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].ints, (std::array<int64_t, 4>{cx - 10, cy - 6, cx + 10, cy + 8}));
  EXPECT_EQ(lines[0].color, RGB(255, 255, 255));
}

TEST(ControlButtons, AutoPickTitleCountsTheActiveCardsSpots) {
  rules::GameState g;
  const struct {
    int64_t tab, picks;
    const char* title;
  } cases[] = {
      {4, 12, "Pick: Card 4 (12)"}, {1, 0, "Pick: Card 1 (8)"}, {3, 5, "Pick: Card 3 (5)"},
      {2, 0, "Pick: Card 2 (8)"},   {0, 7, "Auto-Pick"},        {5, 7, "Auto-Pick"},
      {-1, 7, "Auto-Pick"},
  };
  for (const auto& c : cases) {
    g = rules::GameState{};
    if (c.tab >= 1 && c.tab <= 4) g.cards[c.tab].pickCount = c.picks;
    g.cards[1].pickCount = c.tab == 1 ? c.picks : 9;  // another card's count must not leak in
    g.activeTab = c.tab;
    EXPECT_EQ(controls::AutoPickTitle(g), c.title) << c.tab;
  }
}

// At the narrowest window the buttons are 120 wide and a big label font is wider still: each
// line stays centred and runs past both edges.
TEST(ControlButtons, LabelsWiderThanTheButtonStayCentredAndOverflow) {
  Board board(1000, 752);
  ASSERT_EQ(board.layout.buttonWidth, 120);
  board.state.activeTab = 4;
  board.state.cards[4].pickCount = 12;
  const Rect& r = board.layout.autoPickButton;
  const CanvasCall title =
      TextCall(board.Record(controls::DrawAutoPickButton), "Pick: Card 4 (12)");
  EXPECT_EQ(title.reals[0], static_cast<double>(r.x) - 25);  // 170 px over a 120 px button
  const CanvasCall rndm = TextCall(board.Record(controls::DrawAutoPickButton), "R-Click: Rndm #s");
  EXPECT_EQ(rndm.reals[0], static_cast<double>(r.x) - 20);
}

}  // namespace
}  // namespace controls_test
