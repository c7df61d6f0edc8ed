// keno-tool: the game's own geometry, save format and window title on the command line, for the
// end-to-end scripts, the fuzzer's seeds and the benchmarks, so none of them keeps a copy.
// A developers' tool, built with the tests and never installed; it opens no window.
//   keno-tool title                       the window title
//   keno-tool layout W H                  every rectangle of the board at client size W x H
//   keno-tool save write FILE [NAME=VALUE ...]   a save of a first start with those fields set
//   keno-tool save dump FILE              a save as the game loads it, NAME=VALUE a line
//   keno-tool recall write FILE DRAWS     the recall of DRAWS seeded draws of a first start
//   keno-tool recall dump FILE            a recall as the game loads it, newest first
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/buttons.h"
#include "render/balls_panel.h"
#include "render/card_grid.h"
#include "render/layout.h"
#include "render/tab_strip.h"
#include "rules/draw.h"
#include "rules/game_state.h"
#include "rules/paytable.h"
#include "rules/random.h"
#include "rules/recall.h"
#include "rules/version.h"
#include "shell/save.h"

namespace {

int Usage() {
  std::fputs(
      "usage: keno-tool title\n"
      "       keno-tool layout WIDTH HEIGHT\n"
      "       keno-tool save write FILE [NAME=VALUE ...]\n"
      "       keno-tool save dump FILE\n"
      "       keno-tool recall write FILE DRAWS\n"
      "       keno-tool recall dump FILE\n",
      stderr);
  return 2;
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "keno-tool: %s\n", text.c_str());
  return 1;
}

std::optional<int64_t> Number(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

void PrintRect(const std::string& name, const render::Rect& r) {
  std::printf("%s %lld %lld %lld %lld\n", name.c_str(), static_cast<long long>(r.x),
              static_cast<long long>(r.y), static_cast<long long>(r.w),
              static_cast<long long>(r.h));
}

// One line per rectangle, "NAME X Y W H" in client pixels: the layout's own rectangles, the five
// tabs, each number's cell (its content box, inside the shared border), the segments of the Speed
// and Bet/Card bars, and the ring of each slot of the balls panel.
int Layout(int64_t width, int64_t height) {
  render::Layout l;
  l.clientWidth = width;
  l.clientHeight = height;
  render::ComputeLayoutRects(l);
  const char* const buttons[] = {"drawButton", "newGameButton", "payoutButton",   "speedButton",
                                 "betButton",  "soundButton",   "autoPickButton", "aboutButton"};
  for (int slot = 0; slot < static_cast<int>(std::size(buttons)); ++slot) {
    PrintRect(buttons[slot], *render::ButtonSlot(l, slot));
  }
  PrintRect("tabStrip", l.tabStrip);
  PrintRect("grid", l.grid);
  PrintRect("statsPanel", l.statsPanel);
  PrintRect("ballsPanel", l.ballsPanel);

  const int64_t tw = render::TabWidth(l.tabStrip.w);
  for (int tab = 0; tab <= rules::kCards; ++tab) {
    PrintRect("tab" + std::to_string(tab),
              render::Rect{l.tabStrip.x + tab * tw, l.tabStrip.y, tw, l.tabStrip.h});
  }
  for (int n = 1; n <= rules::kNumbers; ++n) {
    const render::Rect box = render::CellBox(l.grid, n);
    PrintRect("cell" + std::to_string(n), render::Rect{box.x, box.y, box.w - 1, box.h - 1});
  }
  for (int64_t i = 0; i < controls::kSpeedSegments; ++i) {
    PrintRect("speedSegment" + std::to_string(i + 1),
              controls::SegmentBox(l.speedButton, controls::kSpeedSegments, i));
  }
  for (int64_t i = 0; i < controls::kBetSegments; ++i) {
    PrintRect("betSegment" + std::to_string(i + 1),
              controls::SegmentBox(l.betButton, controls::kBetSegments, i));
  }
  const render::Rect& panel = l.ballsPanel;
  const render::BallSlots slots = render::SlotGeometry(panel.w, panel.h);
  for (int64_t k = 1; k <= rules::kBallsPerDraw; ++k) {
    int64_t cx = 0, cy = 0;
    render::SlotCentre(slots, panel.h, k, cx, cy);
    PrintRect("ballSlot" + std::to_string(k),
              render::Rect{panel.x + cx - slots.radius, panel.y + cy - slots.radius,
                           2 * slots.radius + 1, 2 * slots.radius + 1});
  }
  return 0;
}

// The ten number fields of a save, by the game record's names, in the order the file holds them;
// the pot is the one 32-bit field.
struct SavedField {
  const char* name;
  int64_t rules::GameState::*wide = nullptr;
  int32_t rules::GameState::*narrow = nullptr;
};
using G = rules::GameState;
constexpr SavedField kFields[] = {
    {"balance", &G::balance}, {"genWon", &G::genWon},
    {"genBet", &G::genBet},   {"casWon", &G::casWon},
    {"casBet", &G::casBet},   {"betPerCard", &G::betPerCard},
    {"payMode", &G::payMode}, {"progressivePot", nullptr, &G::progressivePot},
    {"speed", &G::speed},     {"soundOn", &G::soundOn},
};

int64_t Get(const rules::GameState& g, const SavedField& f) {
  return f.wide != nullptr ? g.*f.wide : g.*f.narrow;
}

bool Set(rules::GameState& g, const SavedField& f, int64_t value) {
  if (f.wide == nullptr) {
    if (value < INT32_MIN || value > INT32_MAX) return false;
    g.*f.narrow = static_cast<int32_t>(value);
    return true;
  }
  g.*f.wide = value;
  // The Bet control's copy follows the bet, as it does when the game loads a save.
  if (f.wide == &G::betPerCard) g.betSetting = value;
  return true;
}

// "cardN=3,11,19": the card's picks; any count, so a file may hold more than the game keeps.
bool SetCard(rules::GameState& g, int card, std::string_view list) {
  rules::ClearCard(g, card);
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::optional<int64_t> n = Number(list.substr(0, comma));
    if (!n || *n < 1 || *n > rules::kNumbers) return false;
    rules::SetPick(g, card, *n, true);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return true;
}

bool SetField(rules::GameState& g, std::string_view name, std::string_view value) {
  for (int card = 1; card <= rules::kCards; ++card) {
    if (name == "card" + std::to_string(card)) return SetCard(g, card, value);
  }
  const std::optional<int64_t> number = Number(value);
  for (const SavedField& f : kFields) {
    if (name == f.name) return number && Set(g, f, *number);
  }
  return false;
}

int WriteSave(const std::string& path, int count, char** settings) {
  rules::GameState g;
  for (int i = 0; i < count; ++i) {
    const std::string_view setting = settings[i];
    const std::size_t equals = setting.find('=');
    if (equals == std::string_view::npos ||
        !SetField(g, setting.substr(0, equals), setting.substr(equals + 1))) {
      return Fail("not a field of the save: " + std::string(setting));
    }
  }
  const shell::SaveImage image = shell::EncodeSave(g);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.data()),
            static_cast<std::streamsize>(image.size()));
  out.close();
  return out ? 0 : Fail("cannot write " + path);
}

int DumpSave(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail("cannot read " + path);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  rules::GameState g;
  if (!shell::DecodeSave(bytes, g)) return Fail(path + " is not a save the game accepts");
  for (const SavedField& f : kFields) {
    std::printf("%s=%lld\n", f.name, static_cast<long long>(Get(g, f)));
  }
  for (int card = 1; card <= rules::kCards; ++card) {
    std::string picks;
    for (int n = 1; n <= rules::kNumbers; ++n) {
      if (!g.cards[card].picked[n]) continue;
      if (!picks.empty()) picks += ',';
      picks += std::to_string(n);
    }
    std::printf("card%d=%s\n", card, picks.c_str());
  }
  return 0;
}

std::string Listed(const int64_t* values, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(values[i]);
  }
  return out;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// Draws played through the rules from a first start with three cards (3, 7 and 10 picks; card 2
// sits out), on the seeded generator, a minute apart from 2026-01-01 UTC: the same file each time.
int WriteRecall(const std::string& path, int64_t draws) {
  rules::GameState g;
  rules::FillPayTables(g);
  rules::QuietHost host;
  rules::SeedFallbackRandom(g, 20260101);
  for (int n : {3, 14, 25}) rules::SetPick(g, 1, n, true);
  for (int n = 41; n <= 47; ++n) rules::SetPick(g, 3, n, true);
  for (int n = 1; n <= 10; ++n) rules::SetPick(g, 4, n, true);
  for (int64_t draw = 0; draw < draws; ++draw) {
    host.unixSeconds = 1'767'225'600 + 60 * draw;
    rules::StartDraw(g, host);
    while (g.drawInProgress) rules::RevealTick(g, host, host.now += g.ballDelayMs);
  }
  return WriteBytes(path, rules::EncodeRecall(g.recall)) ? 0 : Fail("cannot write " + path);
}

int DumpRecall(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail("cannot read " + path);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  rules::Recall recall;
  const rules::RecallProblem problem = rules::DecodeRecall(bytes, recall);
  if (problem != rules::RecallProblem::kNone) {
    return Fail(path + " is not a recall the game accepts: " + rules::RecallProblemText(problem));
  }
  std::printf("draws=%lld\n", static_cast<long long>(recall.count));
  for (int64_t i = 0; i < recall.count; ++i) {
    const rules::RecallDraw& d = rules::RecalledDraw(recall, i);
    const std::string draw = "draw" + std::to_string(i + 1);
    std::printf("%s.endedAt=%lld\n", draw.c_str(), static_cast<long long>(d.endedAt));
    std::printf("%s.numbers=%s\n", draw.c_str(), Listed(d.numbers, rules::kBallsPerDraw).c_str());
    int64_t cards[rules::kCards] = {};
    for (int64_t c = 0; c < d.cardCount; ++c) cards[c] = d.cards[c].card;
    std::printf("%s.cards=%s\n", draw.c_str(),
                Listed(cards, static_cast<std::size_t>(d.cardCount)).c_str());
    for (int64_t c = 0; c < d.cardCount; ++c) {
      const rules::RecallCard& card = d.cards[c];
      const std::string name = draw + ".card" + std::to_string(card.card);
      std::vector<int64_t> picks;
      for (int n = 1; n <= rules::kNumbers; ++n) {
        if (card.picked[n]) picks.push_back(n);
      }
      std::printf("%s.picks=%s\n", name.c_str(), Listed(picks.data(), picks.size()).c_str());
      const std::pair<const char*, int64_t> fields[] = {
          {"hits", card.hitCount},           {"bet", card.bet},
          {"payMode", card.payMode},         {"tableWin", card.tableWin},
          {"progressive", card.progressive}, {"consolation", card.consolation},
      };
      for (const auto& [field, value] : fields) {
        std::printf("%s.%s=%lld\n", name.c_str(), field, static_cast<long long>(value));
      }
    }
    std::printf("%s.balanceAfter=%lld\n", draw.c_str(), static_cast<long long>(d.balanceAfter));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "title") {
    std::puts(rules::kGameTitle);
    return 0;
  }
  if (args.size() == 3 && args[0] == "layout") {
    const std::optional<int64_t> w = Number(args[1]), h = Number(args[2]);
    if (!w || !h || *w < 1 || *h < 1) return Usage();
    return Layout(*w, *h);
  }
  if (args.size() >= 3 && args[0] == "save" && args[1] == "write") {
    return WriteSave(argv[3], argc - 4, argv + 4);
  }
  if (args.size() == 3 && args[0] == "save" && args[1] == "dump") return DumpSave(argv[3]);
  if (args.size() == 4 && args[0] == "recall" && args[1] == "write") {
    const std::optional<int64_t> draws = Number(args[3]);
    if (!draws || *draws < 0) return Usage();
    return WriteRecall(argv[3], *draws);
  }
  if (args.size() == 3 && args[0] == "recall" && args[1] == "dump") return DumpRecall(argv[3]);
  return Usage();
}
