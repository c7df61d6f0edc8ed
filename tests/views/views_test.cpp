// Every view a player can reach, recorded whole with the fixed fake metrics (every font 20 px
// high, 10 px a character) and compared line by line with its reference in references/, and
// likewise the calls that make the fonts and the layout's images at each size. A difference
// prints the first lines that moved and leaves the recorded text in the build for a full diff.
// With KENO_WRITE_REFERENCES=1 (make references) the references are written instead.
#include "views/views.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "render/display_list.h"
#include "shell/frame.h"

namespace views_test {
namespace {

namespace fs = std::filesystem;

const fs::path kReferences = KENO_VIEW_REFERENCES;
const fs::path kRecorded = KENO_VIEW_ACTUALS;

bool Rewriting() {
  const char* value = std::getenv("KENO_WRITE_REFERENCES");
  return value != nullptr && *value != '\0' && std::string(value) != "0";
}

bool ReadFile(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return true;
}

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// One line of an edit script: kept (' '), only in the reference ('-'), only recorded ('+').
struct Edit {
  char op;
  std::size_t a, b;  // line indices in the reference and the recording
};

// The shortest edit script between the middles that differ (common ends trimmed first), so a
// call that moved shows as one line out and one line in, not as everything in between.
std::vector<Edit> EditScript(const std::vector<std::string>& x, const std::vector<std::string>& y) {
  std::size_t pre = 0;
  while (pre < x.size() && pre < y.size() && x[pre] == y[pre]) ++pre;
  std::size_t suf = 0;
  while (suf < x.size() - pre && suf < y.size() - pre &&
         x[x.size() - 1 - suf] == y[y.size() - 1 - suf]) {
    ++suf;
  }
  std::vector<Edit> edits;
  for (std::size_t i = 0; i < pre; ++i) edits.push_back({' ', i, i});
  const std::size_t n = x.size() - pre - suf, m = y.size() - pre - suf;
  if (n * m <= 4'000'000) {
    // lcs[i][j]: the longest common run of lines from x[pre + i] and y[pre + j] on.
    std::vector<uint32_t> lcs((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> uint32_t& { return lcs[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;) {
      for (std::size_t j = m; j-- > 0;) {
        at(i, j) =
            x[pre + i] == y[pre + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
      }
    }
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
      if (i < n && j < m && x[pre + i] == y[pre + j]) {
        edits.push_back({' ', pre + i++, pre + j++});
      } else if (j == m || (i < n && at(i + 1, j) >= at(i, j + 1))) {
        edits.push_back({'-', pre + i++, pre + j});
      } else {
        edits.push_back({'+', pre + i, pre + j++});
      }
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) edits.push_back({'-', pre + i, pre});
    for (std::size_t j = 0; j < m; ++j) edits.push_back({'+', pre + n, pre + j});
  }
  for (std::size_t k = 0; k < suf; ++k) {
    edits.push_back({' ', x.size() - suf + k, y.size() - suf + k});
  }
  return edits;
}

// Unified-style hunks of the first differences, three lines of context, at most `limit` lines.
std::string Diff(const std::string& expected, const std::string& actual, std::size_t limit = 40) {
  const std::vector<std::string> x = Lines(expected), y = Lines(actual);
  const std::vector<Edit> edits = EditScript(x, y);
  constexpr std::size_t kContext = 3;
  std::ostringstream out;
  std::size_t printed = 0, changed = 0;
  for (const Edit& e : edits) changed += e.op != ' ' ? 1 : 0;
  std::size_t shownChanges = 0;
  std::size_t k = 0;
  while (k < edits.size() && printed < limit) {
    while (k < edits.size() && edits[k].op == ' ') ++k;
    if (k == edits.size()) break;
    // A hunk: from kContext before this change to kContext after the last change near it.
    const std::size_t first = k >= kContext ? k - kContext : 0;
    std::size_t last = k;
    for (std::size_t j = k; j < edits.size() && j <= last + 2 * kContext; ++j) {
      if (edits[j].op != ' ') last = j;
    }
    const std::size_t end = std::min(edits.size(), last + kContext + 1);
    std::size_t aCount = 0, bCount = 0;
    for (std::size_t j = first; j < end; ++j) {
      aCount += edits[j].op != '+' ? 1 : 0;
      bCount += edits[j].op != '-' ? 1 : 0;
    }
    out << "@@ -" << edits[first].a + 1 << "," << aCount << " +" << edits[first].b + 1 << ","
        << bCount << " @@\n";
    for (std::size_t j = first; j < end && printed < limit; ++j, ++printed) {
      const Edit& e = edits[j];
      out << e.op << (e.op == '+' ? y[e.b] : x[e.a]) << "\n";
      shownChanges += e.op != ' ' ? 1 : 0;
    }
    k = end;
  }
  if (shownChanges < changed) out << "... and " << changed - shownChanges << " more lines differ\n";
  return out.str();
}

void CheckReference(const std::string& name, const std::string& recorded) {
  const fs::path reference = kReferences / (name + ".txt");
  const fs::path written = kRecorded / (name + ".txt");
  if (Rewriting()) {
    WriteFile(reference, recorded);
    return;
  }
  std::string expected;
  const bool found = ReadFile(reference, expected);
  if (found && expected == recorded) {
    fs::remove(written);
    return;
  }
  WriteFile(written, recorded);
  if (!found) {
    ADD_FAILURE() << "no reference " << reference << "; recorded " << written
                  << "\n`make references` writes the references.";
    return;
  }
  ADD_FAILURE() << name << " is not drawn as its reference\n  reference: " << reference
                << "\n  recorded:  " << written << "\n"
                << Diff(expected, recorded)
                << "After an intended change `make references` rewrites the references.";
}

std::string FileName(const views::View& view, const views::Size& size) {
  return std::string(view.name) + "-" + size.tag;
}

std::string LayoutName(const views::Size& size) { return std::string("layout-") + size.tag; }

struct Case {
  const views::View* view;
  const views::Size* size;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.view->name << " at " << c.size->tag; }

std::vector<Case> AllViews() {
  std::vector<Case> cases;
  for (const views::View& view : views::Catalogue()) {
    for (const views::Size& size : views::Sizes()) cases.push_back({&view, &size});
  }
  return cases;
}

std::string TestName(std::string name) {
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

class ViewFrame : public ::testing::TestWithParam<Case> {};

TEST_P(ViewFrame, IsDrawnAsItsReference) {
  const views::View& view = *GetParam().view;
  const views::Size& size = *GetParam().size;
  render::RecordingCanvas canvas;
  views::Scene scene(canvas, size.width, size.height);
  view.setup(scene);
  ASSERT_TRUE(view.shows(scene)) << view.name << " at " << size.tag
                                 << " no longer shows what it is for: " << view.what;
  canvas.Clear();
  shell::ComposeFrame(canvas, scene.View());
  CheckReference(FileName(view, size),
                 "# " + FileName(view, size) + ": " + view.what + "\n" +
                     render::DescribeCalls(canvas.Calls(), views::NamesOf(scene)));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ViewFrame, ::testing::ValuesIn(AllViews()),
                         [](const auto& info) {
                           return TestName(FileName(*info.param.view, *info.param.size));
                         });

// The fonts and the images that follow the client size (asterisks, hit cross, the balls panel
// with its title) as the layout makes them.
}  // namespace
}  // namespace views_test

namespace views {
void PrintTo(const Size& size, std::ostream* os) { *os << size.tag; }
}  // namespace views

namespace views_test {
namespace {

class LayoutImages : public ::testing::TestWithParam<views::Size> {};

TEST_P(LayoutImages, AreMadeAsTheirReference) {
  const views::Size& size = GetParam();
  render::RecordingCanvas canvas;
  views::Scene scene(canvas, size.width, size.height);
  CheckReference(LayoutName(size),
                 "# " + LayoutName(size) + ": the fonts and images made for a client area of " +
                     std::to_string(size.width) + " x " + std::to_string(size.height) + "\n" +
                     render::DescribeCalls(canvas.Calls(), views::NamesOf(scene)));
}

INSTANTIATE_TEST_SUITE_P(Sizes, LayoutImages, ::testing::ValuesIn(views::Sizes()),
                         [](const auto& info) { return TestName(LayoutName(info.param)); });

TEST(ViewReferences, EachBelongsToAViewOrALayout) {
  std::set<std::string> known;
  for (const views::Size& size : views::Sizes()) {
    known.insert(LayoutName(size) + ".txt");
    for (const views::View& view : views::Catalogue()) known.insert(FileName(view, size) + ".txt");
  }
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(kReferences, error)) {
    const std::string file = entry.path().filename().string();
    if (known.count(file) != 0) continue;
    if (Rewriting()) {
      fs::remove(entry.path());
    } else {
      ADD_FAILURE() << entry.path() << " belongs to no view: `make references` removes it";
    }
  }
}

}  // namespace
}  // namespace views_test
