// The text prompt's one-line field: edits by code point over multi-byte UTF-8, what typing and
// pasting let in, the caret placed by a click, and the scroll that keeps the caret in view.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "platform/dialog_layout.h"

namespace platform {
namespace {

using Edit = std::variant<FieldKey, std::string>;  // a key, or text typed or pasted

struct FieldCase {
  const char* name;
  std::string initial;
  std::vector<Edit> edits;
  std::string text;
  std::size_t caret;
};

const std::string kE = "\xC3\xA9";             // é, 2 bytes
const std::string kEuro = "\xE2\x82\xAC";      // €, 3 bytes
const std::string kFace = "\xF0\x9F\x98\x80";  // 😀, 4 bytes

TEST(TextFieldTest, EditsMoveAndEraseWholeCodePoints) {
  using K = FieldKey;
  const FieldCase cases[] = {
      {"typed into empty", "", {std::string("3")}, "3", 1},
      {"caret starts after initial", "12", {std::string("3")}, "123", 3},
      {"backspace at end", "abc", {K::Backspace}, "ab", 2},
      {"backspace at start does nothing", "abc", {K::Home, K::Backspace}, "abc", 0},
      {"delete at start", "abc", {K::Home, K::Delete}, "bc", 0},
      {"delete at end does nothing", "abc", {K::Delete}, "abc", 3},
      {"insert in the middle", "abc", {K::Left, K::Left, std::string("X")}, "aXbc", 2},
      {"left stops at start", "ab", {K::Left, K::Left, K::Left, std::string(">")}, ">ab", 1},
      {"right stops at end", "ab", {K::Home, K::Right, K::Right, K::Right}, "ab", 2},
      {"end after home", "ab", {K::Home, K::End, std::string("!")}, "ab!", 3},
      {"backspace over two bytes", "a" + kE + "b", {K::Left, K::Backspace}, "ab", 1},
      {"delete over three bytes", kEuro + "1", {K::Home, K::Delete}, "1", 0},
      {"left over four bytes", "x" + kFace, {K::Left, std::string("y")}, "xy" + kFace, 2},
      {"right over four bytes", kFace + kE, {K::Home, K::Right}, kFace + kE, 4},
      {"typed multi-byte", "", {kE, kEuro, K::Left, K::Backspace}, kEuro, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextField field = MakeTextField(c.initial);
    EXPECT_EQ(field.caret, c.initial.size());
    for (const Edit& edit : c.edits) {
      if (const auto* key = std::get_if<FieldKey>(&edit)) {
        FieldPress(field, *key);
      } else {
        FieldInsert(field, std::get<std::string>(edit));
      }
    }
    EXPECT_EQ(field.text, c.text);
    EXPECT_EQ(field.caret, c.caret);
  }
}

struct InsertCase {
  const char* name;
  std::string pasted;
  std::string kept;
};

TEST(TextFieldTest, OnlyTheFirstLineOfPrintableValidTextGoesIn) {
  const InsertCase cases[] = {
      {"first line of a paste", "45\n67", "45"},
      {"windows line break", "8\r\n9", "8"},
      {"control characters",
       std::string("a\tb\x01"
                   "c\x7F"),
       "abc"},
      {"C1 controls",
       "a\xC2\x85"
       "b",
       "ab"},
      {"stray and truncated bytes", "\xFF\xFEok\xC3", "ok"},
      {"overlong encoding",
       "\xC0\xAF"
       "1",
       "1"},
      {"surrogate half",
       "\xED\xA0\x80"
       "2",
       "2"},
      {"beyond U+10FFFF",
       "\xF4\x90\x80\x80"
       "3",
       "3"},
      {"valid multi-byte kept", kE + kEuro + kFace, kE + kEuro + kFace},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextField field = MakeTextField("");
    FieldInsert(field, c.pasted);
    EXPECT_EQ(field.text, c.kept);
    EXPECT_EQ(field.caret, c.kept.size());
    EXPECT_EQ(MakeTextField(c.pasted).text, c.kept);
  }
}

TEST(TextFieldTest, LengthIsCappedInCodePoints) {
  TextField field = MakeTextField(std::string(300, 'x'));
  EXPECT_EQ(field.text.size(), kFieldMaxCodePoints);
  FieldInsert(field, "y");
  EXPECT_EQ(field.text.size(), kFieldMaxCodePoints);

  std::string accents;
  for (int i = 0; i < 300; ++i) accents += kE;
  TextField wide = MakeTextField("ab");
  FieldPress(wide, FieldKey::Home);
  FieldInsert(wide, accents);
  EXPECT_EQ(wide.text.size(), 2 * (kFieldMaxCodePoints - 2) + 2);
  EXPECT_EQ(wide.caret, 2 * (kFieldMaxCodePoints - 2));
  EXPECT_EQ(wide.text.substr(wide.caret), "ab");
}

double FakeWidth(const std::string& s) {
  double n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 7 : 0;
  return n;
}

TEST(TextFieldTest, ClickPutsTheCaretOnTheNearestBoundary) {
  const TextField field = MakeTextField("a" + kE + "bc");  // boundaries at 0, 7, 14, 21, 28 px
  const struct {
    double x;
    std::size_t caret;
  } cases[] = {{-5, 0}, {0, 0}, {3, 0}, {4, 1}, {10, 1}, {11, 3}, {27, 5}, {500, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(FieldCaretFromX(field, c.x, FakeWidth), c.caret);
  }
  EXPECT_EQ(FieldCaretFromX(MakeTextField(""), 40, FakeWidth), 0u);
}

TEST(TextFieldTest, ScrollKeepsTheCaretInView) {
  const struct {
    const char* name;
    int64_t scroll, caretX, textWidth, inner, expected;
  } cases[] = {
      {"short text never scrolls", 0, 50, 50, 100, 0},
      {"caret past the right edge", 0, 150, 150, 100, 51},
      {"caret back past the left edge", 51, 20, 150, 100, 20},
      {"caret still in view stays put", 51, 100, 150, 100, 51},
      {"text shrank below the width", 51, 60, 60, 100, 0},
      {"text shrank but still wide", 80, 120, 120, 100, 21},
      {"no room at all", 0, 30, 40, 0, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int64_t scroll = FieldScroll(c.scroll, c.caretX, c.textWidth, c.inner);
    EXPECT_EQ(scroll, c.expected);
    if (c.inner > 0) {
      EXPECT_GE(c.caretX - scroll, 0);
      EXPECT_LT(c.caretX - scroll, c.inner);
    }
  }
}

}  // namespace
}  // namespace platform
