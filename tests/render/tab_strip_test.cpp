// The tab strip recorded at strip widths 876 and 200: tab faces and edges, the active tab's
// deeper bottom edge, centred labels, and the heat-map dot on Main only while heatMapOn is set.
#include "render/tab_strip.h"

#include <gtest/gtest.h>

#include <string>

#include "board_fixture.h"

namespace render_test {
namespace {

using platform::Color;
using platform::DrawMode;
using platform::RGB;
using platform::RGBA;

struct TabCase {
  const char* name;
  int64_t clientWidth;
  int64_t activeTab;
  int64_t heatMapOn;
  int64_t tabWidth;
  // With the heat map on: the Main label's left edge, and the dot's and glint's centres.
  double mainLabelX;
  int64_t dotX, glintX;
};

class TabStrip : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabStrip, FacesEdgesLabelsAndDot) {
  const TabCase& c = GetParam();
  Board b(c.clientWidth, 780, false);
  b.state.activeTab = c.activeTab;
  b.state.heatMapOn = c.heatMapOn;
  const auto calls = b.Record(render::DrawTabStrip);
  const int64_t tw = c.tabWidth, y = 120;
  ASSERT_EQ(render::TabWidth(b.layout.tabStrip.w), tw);

  const auto boxes = Of(calls, CallKind::Box);
  ASSERT_EQ(boxes.size(), 1u + 5 * 5);
  EXPECT_EQ(boxes[0].ints, Ints(294, y, b.layout.tabStrip.w, 52));
  EXPECT_EQ(boxes[0].color, RGB(40, 40, 52));

  const char* labels[] = {"Main", "Card 1", "Card 2", "Card 3", "Card 4"};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(labels[i]);
    const bool active = i == c.activeTab;
    const int64_t xi = 294 + i * tw;
    const Color face = active ? RGB(255, 215, 0) : RGB(65, 65, 82);
    const Color light = active ? RGB(255, 255, 170) : RGB(95, 95, 110);
    const Color dark = active ? RGB(170, 145, 0) : RGB(28, 28, 38);
    const auto* tab = &boxes[1 + 5 * i];
    EXPECT_EQ(tab[0].ints, Ints(xi + 1, y + 2, tw - 2, 50));
    EXPECT_EQ(tab[0].color, face);
    EXPECT_EQ(tab[1].ints, Ints(xi + 1, y + 2, tw - 2, 2));
    EXPECT_EQ(tab[2].ints, Ints(xi + 1, y + 2, 2, 50));
    EXPECT_EQ(tab[1].color, light);
    EXPECT_EQ(tab[2].color, light);
    // Only the active tab's bottom edge is 4 pixels deep.
    EXPECT_EQ(tab[3].ints,
              active ? Ints(xi + 1, y + 48, tw - 2, 4) : Ints(xi + 1, y + 50, tw - 2, 2));
    EXPECT_EQ(tab[4].ints, Ints(xi + tw - 3, y + 2, 2, 50));
    EXPECT_EQ(tab[3].color, dark);
    EXPECT_EQ(tab[4].color, dark);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(tab[k].mode, DrawMode::Opaque);

    const CanvasCall label = TextCall(calls, labels[i]);
    EXPECT_EQ(label.color, active ? RGB(20, 20, 20) : RGB(195, 195, 210));
    EXPECT_EQ(label.mode, DrawMode::TransparentText);
    EXPECT_EQ(label.font, b.fonts.tabFont);
    EXPECT_EQ(label.reals[1], y + 16.0);  // (52 - 20) / 2
    const double lw = 10.0 * static_cast<double>(std::string(labels[i]).size());
    const double centred = static_cast<double>(xi) + (static_cast<double>(tw) - lw) / 2;
    EXPECT_EQ(label.reals[0], i == 0 && c.heatMapOn ? c.mainLabelX : centred);
  }

  const auto circles = Of(calls, CallKind::Circle);
  if (!c.heatMapOn) {
    EXPECT_TRUE(circles.empty());
    return;
  }
  ASSERT_EQ(circles.size(), 2u);
  EXPECT_EQ(circles[0].ints, Ints(c.dotX, y + 26, 6, 0));
  EXPECT_EQ(circles[0].color, RGB(255, 120, 0));
  EXPECT_EQ(circles[0].mode, DrawMode::Opaque);
  EXPECT_EQ(circles[1].ints, Ints(c.glintX, y + 24, 3, 0));
  EXPECT_EQ(circles[1].color, RGBA(255, 220, 100, 160));
  EXPECT_EQ(circles[1].mode, DrawMode::AlphaBlend);
}

// "Main" is 40 wide: at tw 175 the label starts at 294 + 67.5 - 10 and the dot's whole-pixel
// half gives 294 + 67 + 40 + 4; at tw 40 nothing is left over to centre in.
INSTANTIATE_TEST_SUITE_P(
    Widths, TabStrip,
    ::testing::Values(TabCase{"Wide", 1280, 0, 0, 175, 0, 0, 0},
                      TabCase{"WideCard3Active", 1280, 3, 0, 175, 0, 0, 0},
                      TabCase{"WideHeatMap", 1280, 0, 1, 175, 351.5, 405, 403},
                      // The dot follows heatMapOn alone and stays on the Main tab.
                      TabCase{"WideHeatMapCard2Active", 1280, 2, 1, 175, 351.5, 405, 403},
                      TabCase{"Narrowest", 500, 1, 0, 40, 0, 0, 0},
                      TabCase{"NarrowestHeatMap", 500, 0, 1, 40, 284, 338, 336}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TabStrip, WidthLeavesTheRemainderToTheStrip) {
  EXPECT_EQ(render::TabWidth(876), 175);  // tabs at 294 .. 1169, one pixel left over
  EXPECT_EQ(render::TabWidth(879), 175);
  EXPECT_EQ(render::TabWidth(880), 176);
  EXPECT_EQ(render::TabWidth(200), 40);
}

}  // namespace
}  // namespace render_test
