// Window sizing from the display DPI and the greeting of a first-time player.
#include "shell/startup.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowSizeForDpi, SizesScaleWithTheDisplay) {
  struct Case {
    double dpi;
    int64_t width, height, minWidth, minHeight;
  };
  const Case cases[] = {
      {96, 1002, 752, 1000, 752},    {120, 1252, 927, 1250, 927},
      {144, 1502, 1102, 1500, 1102}, {0, 1002, 752, 1000, 752},  // unknown DPI reads as 96
      {-5, 1002, 752, 1000, 752},                                // and so does nonsense
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const shell::WindowSize s = shell::WindowSizeForDpi(c.dpi);
    EXPECT_EQ(s.width, c.width);
    EXPECT_EQ(s.height, c.height);
    EXPECT_EQ(s.minWidth, c.minWidth);
    EXPECT_EQ(s.minHeight, c.minHeight);
  }
}

TEST(WelcomeText, StatesCostPerCardAndBalance) {
  rules::GameState g;
  EXPECT_EQ(shell::WelcomeText(g),
            "Pick 1-12 numbers on one or more cards, then click Draw Numbers.\n\n"
            "  - 20 balls are drawn each round.\n"
            "  - Each active card costs $1 per draw.\n"
            "  - Hold Draw button 1 second to start auto-drawing.\n"
            "Current balance: $1000");
  g.betPerCard = 7;
  g.balance = 12345678901;
  const std::string text = shell::WelcomeText(g);
  EXPECT_NE(text.find("costs $7 per draw"), std::string::npos);
  EXPECT_NE(text.find("balance: $12345678901"), std::string::npos);
}

}  // namespace
