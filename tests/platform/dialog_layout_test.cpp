// Geometry of the message box and the text prompt with fixed fake text metrics: every code
// point is 7 pixels wide and a line is 16 pixels high (scaled along with the dialog).
#include "platform/dialog_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

double FakeWidth(const std::string& s) {
  double n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 7 : 0;
  return n;
}

struct PromptCase {
  double scale;
  PromptLayout expected;
};

TEST(PromptLayoutTest, FixedRectanglesScaleWithDpi) {
  const PromptCase cases[] = {
      {1.0, {500, 140, {10, 10, 480, 22}, {10, 32, 465, 21}, {210, 67, 80, 25}}},
      {1.25, {625, 175, {13, 13, 600, 28}, {13, 40, 581, 26}, {263, 84, 100, 31}}},
      {1.5, {750, 210, {15, 15, 720, 33}, {15, 48, 698, 32}, {315, 101, 120, 38}}},
      {2.0, {1000, 280, {20, 20, 960, 44}, {20, 64, 930, 42}, {420, 134, 160, 50}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scale);
    const PromptLayout p = LayOutPrompt(c.scale);
    EXPECT_EQ(p.width, c.expected.width);
    EXPECT_EQ(p.height, c.expected.height);
    EXPECT_EQ(p.label, c.expected.label);
    EXPECT_EQ(p.field, c.expected.field);
    EXPECT_EQ(p.ok, c.expected.ok);
  }
  // A DPI that cannot be read must not collapse the dialog.
  EXPECT_EQ(LayOutPrompt(0.0).width, 500);
}

TEST(MessageBoxLayoutTest, LinesSplitAtLineBreaksBelowEachOther) {
  const MessageBoxLayout box = LayOutMessageBox("Keno", "Line one\r\nLine two, longer\n\nEnd",
                                                MessageButtons::Ok, false, 1.0, FakeWidth, 16);
  ASSERT_EQ(box.lines.size(), 4u);
  const char* texts[] = {"Line one", "Line two, longer", "", "End"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(box.lines[i].text, texts[i]);
    EXPECT_EQ(box.lines[i].x, 16);
    EXPECT_EQ(box.lines[i].y, 16 + 16 * i);
  }
  EXPECT_FALSE(box.hasIcon);
  // 16 margin + 4 lines + 16 margin, then the band: 12 + 25 + 12.
  EXPECT_EQ(box.height, 96 + 49);
  EXPECT_EQ(box.buttonBand, (DialogRect{0, 96, box.width, 49}));
  EXPECT_EQ(box.width, 200);  // the narrowest box
  ASSERT_EQ(box.buttons.size(), 1u);
  EXPECT_EQ(box.buttons[0].rect, (DialogRect{108, 108, 80, 25}));
}

TEST(MessageBoxLayoutTest, BoxGrowsWithItsTextAndTitle) {
  const std::string line(60, 'w');  // 420 pixels
  const MessageBoxLayout wide =
      LayOutMessageBox("T", line, MessageButtons::Ok, false, 1.0, FakeWidth, 16);
  EXPECT_EQ(wide.width, 16 + 420 + 16);
  const MessageBoxLayout titled =
      LayOutMessageBox(std::string(70, 't'), "x", MessageButtons::Ok, false, 1.0, FakeWidth, 16);
  EXPECT_GE(titled.width, 70 * 7 + 60);  // the title bar shows the whole title
}

struct ButtonCase {
  MessageButtons buttons;
  std::vector<std::string> labels;
  std::vector<MessageAnswer> answers;
};

TEST(MessageBoxLayoutTest, ButtonSetsSitRightAlignedInTheBandInReadingOrder) {
  const ButtonCase cases[] = {
      {MessageButtons::Ok, {"OK"}, {MessageAnswer::Ok}},
      {MessageButtons::YesNo, {"Yes", "No"}, {MessageAnswer::Yes, MessageAnswer::No}},
      {MessageButtons::YesNoCancel,
       {"Yes", "No", "Cancel"},
       {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel}},
  };
  for (double scale : {1.0, 1.5}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << "scale " << scale << ", " << c.labels.size());
      const MessageBoxLayout box = LayOutMessageBox("New Game", "Start a new game?", c.buttons,
                                                    false, scale, FakeWidth, 16 * scale);
      ASSERT_EQ(box.buttons.size(), c.labels.size());
      const int64_t gap = scale == 1.0 ? 8 : 12;
      for (std::size_t i = 0; i < box.buttons.size(); ++i) {
        const DialogButton& b = box.buttons[i];
        EXPECT_EQ(b.label, c.labels[i]);
        EXPECT_EQ(b.answer, c.answers[i]);
        EXPECT_EQ(b.rect.w, ScaleLength(80, scale));
        EXPECT_EQ(b.rect.h, ScaleLength(25, scale));
        EXPECT_EQ(b.rect.y, box.buttonBand.y + ScaleLength(12, scale));
        if (i > 0) {
          EXPECT_EQ(b.rect.x, box.buttons[i - 1].rect.x + b.rect.w + gap);
        }
      }
      const DialogRect& last = box.buttons.back().rect;
      EXPECT_EQ(last.x + last.w, box.width - ScaleLength(12, scale));
      EXPECT_GE(box.buttons.front().rect.x, ScaleLength(12, scale));
      EXPECT_EQ(box.buttonBand.y + box.buttonBand.h, box.height);
    }
  }
}

TEST(MessageBoxLayoutTest, WideButtonLabelsWidenTheirButtons) {
  const auto wideLabels = [](const std::string& s) { return s == "Cancel" ? 100.0 : 14.0; };
  const MessageBoxLayout box =
      LayOutMessageBox("New Game", "x", MessageButtons::YesNoCancel, false, 1.0, wideLabels, 16);
  EXPECT_EQ(box.buttons[2].rect.w, 100 + 24);
  EXPECT_EQ(box.buttons[0].rect.w, 80);
}

TEST(MessageBoxLayoutTest, WarningIconOnlyWhenAskedWithTheTextBesideIt) {
  const MessageBoxLayout plain =
      LayOutMessageBox("Keno", "One line", MessageButtons::Ok, false, 1.0, FakeWidth, 16);
  EXPECT_FALSE(plain.hasIcon);
  EXPECT_EQ(plain.lines[0].x, 16);

  const MessageBoxLayout warned =
      LayOutMessageBox("Keno", "One line", MessageButtons::Ok, true, 1.0, FakeWidth, 16);
  ASSERT_TRUE(warned.hasIcon);
  EXPECT_EQ(warned.icon, (DialogRect{16, 16, 32, 32}));
  EXPECT_EQ(warned.lines[0].x, 16 + 32 + 12);
  EXPECT_EQ(warned.lines[0].y, 16 + 8);  // one line centred against the icon
  EXPECT_EQ(warned.buttonBand.y, 16 + 32 + 16);

  // Three lines are taller than the icon: the icon centres against them instead.
  const MessageBoxLayout tall =
      LayOutMessageBox("Keno", "a\nb\nc", MessageButtons::Ok, true, 1.0, FakeWidth, 16);
  EXPECT_EQ(tall.lines[0].y, 16);
  EXPECT_EQ(tall.icon.y, 16 + 8);

  const MessageBoxLayout big =
      LayOutMessageBox("Keno", "One line", MessageButtons::Ok, true, 1.5, FakeWidth, 24);
  EXPECT_EQ(big.icon, (DialogRect{24, 24, 48, 48}));
  EXPECT_EQ(big.lines[0].x, 24 + 48 + 18);
}

TEST(MessageBoxLayoutTest, LongLinesWrapAtBlanksKeepingTheirIndent) {
  const int64_t max = 20 * 7;  // twenty characters
  const auto lines = MessageLines(
      "  - one two three four five six seven\n" + std::string(45, 'x') + "\nshort", max, FakeWidth);
  const std::vector<std::string> expected = {"  - one two three",  "four five six seven",
                                             std::string(20, 'x'), std::string(20, 'x'),
                                             std::string(5, 'x'),  "short"};
  EXPECT_EQ(lines, expected);

  // The box wraps at 560 pixels at 96 DPI, and at 840 at 144 DPI.
  std::string longLine;
  for (int i = 0; i < 40; ++i) longLine += "word ";
  for (double scale : {1.0, 1.5}) {
    const MessageBoxLayout box =
        LayOutMessageBox("Keno", longLine, MessageButtons::Ok, false, scale, FakeWidth, 16);
    EXPECT_GT(box.lines.size(), 1u);
    for (const auto& line : box.lines) {
      EXPECT_LE(FakeWidth(line.text), ScaleLength(kMessageMaxTextWidth, scale));
    }
  }
}

TEST(MessageBoxLayoutTest, WrappingNeverSplitsACodePoint) {
  std::string word;
  for (int i = 0; i < 30; ++i) word += "\xC3\xA9";  // é, two bytes each
  const auto lines = MessageLines(word, 10 * 7, FakeWidth);
  ASSERT_EQ(lines.size(), 3u);
  for (const auto& line : lines) EXPECT_EQ(line.size(), 20u);
}

TEST(MessageBoxLayoutTest, EscapeAndTheCloseBoxAnswerPerButtonSet) {
  EXPECT_EQ(DismissAnswer(MessageButtons::Ok), MessageAnswer::Ok);
  EXPECT_EQ(DismissAnswer(MessageButtons::YesNoCancel), MessageAnswer::Cancel);
  EXPECT_EQ(DismissAnswer(MessageButtons::YesNo), std::nullopt);
}

}  // namespace
}  // namespace platform
