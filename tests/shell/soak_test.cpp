// A long session of the real frame loop on the null platform: thousands of auto-run draws at
// speed 5 started by a SPACE hold, checked for money that appears or vanishes, auto-run that
// stops for no reason, and memory that keeps growing. The clock moves one 80 ms frame per frame,
// the ball delay at speed 5: a ball shows on every frame, so a draw takes 21 frames instead of 105
// at 60 Hz, and every timer still fires, once a frame at most.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "rules/game_state.h"
#include "shell/save.h"
#include "shell_fixture.h"

// g++ says it builds with AddressSanitizer one way, clang another.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KENO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KENO_ASAN 1
#endif

#if defined(KENO_ASAN)
// The sanitizer runtime's own count; g++ ships the runtime without this header.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace shell_test {
namespace {

#if defined(KENO_ASAN)
// Several times slower under the sanitizers; LeakSanitizer checks for leaks at exit.
constexpr int64_t kDraws = 1'000;
std::size_t HeapInUse() { return __sanitizer_get_current_allocated_bytes(); }
#else
constexpr int64_t kDraws = 10'000;
std::size_t HeapInUse() { return mallinfo2().uordblks; }
#endif

// What must stop growing once the first draws have been shown.
struct Footprint {
  std::size_t shownCapacity = 0, nextCapacity = 0;
  std::size_t screenCalls = 0, liveFonts = 0, liveImages = 0;
  std::size_t heap = 0;
};

class Soak : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    sys_.frameMs = 80;
  }

  // Four cards of four and five spots on the generous table, which returns more than it takes:
  // no top-up is ever needed, and the five-spot card brings a jackpot box now and then.
  void SaveStartingGame() {
    rules::GameState g;
    g.speed = 5;
    const int spots[] = {0, 4, 5, 4, 4};
    for (int c = 1; c <= rules::kCards; ++c) {
      for (int i = 0; i < spots[c]; ++i) rules::SetPick(g, c, 1 + (c - 1) * 20 + i * 3, true);
    }
    ASSERT_TRUE(shell::SaveGame(sys_.files, g, SavePath().string()));
  }

  // SPACE held for 1.1 s of frames, then released.
  void HoldSpace() {
    platform::InputState down;
    down.spaceDown = true;
    for (int64_t t = 0; t <= 1100; t += sys_.frameMs) sys_.inputs.push_back(down);
    sys_.inputs.push_back(platform::InputState{});
  }

  int64_t Conserved() const { return g_.balance + g_.genBet + g_.casBet - g_.genWon - g_.casWon; }

  Footprint Measure() const {
    return Footprint{game_.frames.shown.calls.capacity(), game_.frames.next.calls.capacity(),
                     screen_.canvas.Calls().size(),       screen_.canvas.LiveFonts(),
                     screen_.canvas.LiveImages(),         HeapInUse()};
  }

  static bool IsJackpotBox(const platform::ShownDialog& d) {
    return d.title == "JACKPOT!" || d.title == "PROGRESSIVE JACKPOT HIT!!!";
  }
};

TEST_F(Soak, AutoRunAtSpeedFiveKeepsMoneyAndMemorySteady) {
  SaveStartingGame();
  Start();
  ASSERT_EQ(g_.speed, 5);
  ASSERT_TRUE(sys_.dialogs.empty()) << "a game with picks starts without the greeting";

  HoldSpace();
  Footprint settled;
  bool measured = false;
  int64_t restarts = 0;
  std::size_t dialogsSeen = 0;
  const int64_t settleDraws = kDraws / 10;
  const int64_t frameLimit = kDraws * 50;  // a draw takes 21 frames
  int64_t frames = 0;
  while (g_.runs < kDraws && frames < frameLimit) {
    ASSERT_TRUE(Frame()) << "the game ended after " << g_.runs << " draws";
    ++frames;
    // Every box the session shows must be a jackpot's (answered OK).
    for (; dialogsSeen < sys_.dialogs.size(); ++dialogsSeen) {
      ASSERT_TRUE(IsJackpotBox(sys_.dialogs[dialogsSeen]))
          << "draw " << g_.runs << " showed \"" << sys_.dialogs[dialogsSeen].title << "\"";
    }
    if (!g_.autoRun && !g_.drawInProgress && sys_.inputs.empty()) {
      // Auto-run stops for a jackpot box alone; the player then holds SPACE again.
      ASSERT_FALSE(sys_.dialogs.empty()) << "auto-run stopped after " << g_.runs << " draws";
      ASSERT_TRUE(IsJackpotBox(sys_.dialogs.back()));
      ++restarts;
      HoldSpace();
    }
    // The fixture's record of tones is the test's memory, not the game's.
    std::vector<std::pair<int, int>>().swap(host_.tones);
    // Measured where the loop ends too: on the frame that ends a draw and starts the next.
    if (!measured && g_.runs == settleDraws) {
      settled = Measure();
      measured = true;
    }
    if (frames % 4096 == 0) {
      ASSERT_EQ(Conserved(), rules::kStartingBalance) << "after " << g_.runs << " draws";
    }
  }
  ASSERT_EQ(g_.runs, kDraws) << "too few draws in " << frames << " frames";
  ASSERT_TRUE(measured);

  EXPECT_EQ(Conserved(), rules::kStartingBalance);
  // The frame that ended the last draw has already started the next one.
  EXPECT_EQ(g_.genBet, 4 * (kDraws + g_.drawInProgress))
      << "every draw stakes $1 on each of the four cards";
  EXPECT_EQ(g_.casBet + g_.casWon, 0);
  EXPECT_LE(restarts, static_cast<int64_t>(sys_.dialogs.size()));
  EXPECT_TRUE(g_.autoRun || IsJackpotBox(sys_.dialogs.back()));

  const Footprint end = Measure();
  EXPECT_EQ(end.shownCapacity, settled.shownCapacity);
  EXPECT_EQ(end.nextCapacity, settled.nextCapacity);
  EXPECT_EQ(end.liveFonts, settled.liveFonts);
  EXPECT_EQ(end.liveImages, settled.liveImages);
  EXPECT_LE(end.screenCalls, settled.shownCapacity) << "the screen keeps only the frame shown";
  // A few kilobytes of slack for texts whose length differs from draw to draw; a leak of a few
  // bytes per frame would pass it within the first ten thousand frames.
  EXPECT_LE(end.heap, settled.heap + 64 * 1024)
      << "heap in use grew from " << settled.heap << " to " << end.heap << " bytes";

  // The session ends like any other: ESC saves the money as it stands.
  platform::InputState esc;
  esc.escDown = true;
  sys_.inputs = {esc, platform::InputState{}};
  while (Frame()) {
  }
  shell::Shutdown(game_);
  started_ = false;
  rules::GameState saved;
  ASSERT_TRUE(shell::LoadGame(sys_.files, saved, SavePath().string()));
  EXPECT_EQ(saved.balance, g_.balance);
  EXPECT_EQ(saved.balance + saved.genBet - saved.genWon, rules::kStartingBalance);
}

}  // namespace
}  // namespace shell_test
