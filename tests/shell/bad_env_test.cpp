// A hostile machine never stops the game, each case with its own fallback: no sound device (one
// warning, then silence), a game directory that cannot hold the save (the per-user data
// directory does), nowhere to save at all (the game still plays), and a window of 1 x 1 pixel.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "rules/draw.h"
#include "shell/save.h"
#include "shell_fixture.h"
#include "support/scoped_env.h"

namespace shell_test {
namespace {

using platform::NullSystem;
using testing_support::ScopedEnv;

// The centre of number n's cell on a card view at 1280 x 780.
int64_t CellX(int n) { return 294 + ((n - 1) % 10) * 876 / 10 + 40; }
int64_t CellY(int n) { return 172 + ((n - 1) / 10) * 596 / 8 + 35; }

// Scripts a SPACE tap, enough frames for a draw at the default speed to end and its save to
// come due, then ESC.
void ScriptDrawThenEsc(NullSystem& sys) {
  platform::InputState space;
  space.spaceDown = true;
  sys.inputs.push_back(space);
  for (int i = 0; i < 1200; ++i) sys.inputs.push_back(platform::InputState{});
  platform::InputState esc;
  esc.escDown = true;
  sys.inputs.push_back(esc);
  sys.inputs.push_back(platform::InputState{});
}

class BadEnvironment : public ShellTest {
 protected:
  // A whole run of the program on `sys` at 1280 x 780, saving where the game's directory says.
  void RunSession(NullSystem& sys, const std::string& exeDir, int exitCode = 0) {
    sys.files.exeDir = exeDir;
    sys.clientWidth = 1280;
    sys.clientHeight = 780;
    ASSERT_EQ(shell::RunGame(sys), exitCode);
    ASSERT_TRUE(sys.inputs.empty()) << "the session ended before its script did";
  }
};

TEST_F(BadEnvironment, NoSoundDeviceWarnsOnceBeforeTheWindowThenPlaysSilently) {
  rules::GameState saved;
  rules::SetPick(saved, 1, 7, true);
  ASSERT_TRUE(shell::SaveGame(sys_.files, saved, SavePath().string()));
  testing_support::RecordingScreen screen;
  NullSystem sys{screen};
  sys.audioOpens = false;
  bool windowOpenAtWarning = true;
  sys.onDialog = [&] {
    if (sys.dialogs.size() == 1) windowOpenAtWarning = sys.windowOpen;
  };
  ScriptDrawThenEsc(sys);
  RunSession(sys, dir_.string() + "/");

  ASSERT_EQ(sys.dialogs.size(), 1u) << "one warning, and no other box in a whole draw";
  EXPECT_EQ(sys.dialogs[0].title, "Keno");
  EXPECT_EQ(sys.dialogs[0].text,
            "Warning: Sound system could not be initialized.\r\nSounds will be disabled.");
  EXPECT_TRUE(sys.dialogs[0].warning);
  EXPECT_FALSE(windowOpenAtWarning);
  rules::GameState after;
  ASSERT_TRUE(shell::LoadGame(sys_.files, after, SavePath().string()));
  EXPECT_EQ(after.genBet, 1) << "the draw was played and saved";
  EXPECT_EQ(after.soundOn, 1) << "the sound setting is the player's, not the device's";
}

TEST_F(BadEnvironment, AGameDirectoryThatCannotHoldTheSaveUsesTheDataDirectory) {
  const std::filesystem::path data = dir_ / "data";
  const ScopedEnv xdg("XDG_DATA_HOME", data.string());
  // Not a directory at all: no write can succeed there, whoever runs the test.
  const std::filesystem::path blocked = dir_ / "game";
  testing_support::WriteBytes(blocked, {});
  const std::string exeDir = blocked.string() + "/";

  testing_support::RecordingScreen firstScreen;
  NullSystem first{firstScreen};
  first.Click(CellX(7), CellY(7));
  ScriptDrawThenEsc(first);
  RunSession(first, exeDir);
  ASSERT_EQ(first.dialogs.size(), 1u);
  EXPECT_EQ(first.dialogs[0].title, "Welcome to Keno!");
  const std::filesystem::path save = data / "tessaline" / "keno_save.dat";
  ASSERT_TRUE(std::filesystem::exists(save));
  EXPECT_EQ(std::filesystem::file_size(save), shell::kSaveFileSize);

  rules::GameState played;
  ASSERT_TRUE(shell::LoadGame(sys_.files, played, save.string()));
  EXPECT_EQ(played.genBet, 1);
  EXPECT_EQ(played.cards[1].picked[7], 1);

  // The next run finds it there: no greeting, the same balance and picks, played on.
  testing_support::RecordingScreen secondScreen;
  NullSystem second{secondScreen};
  ScriptDrawThenEsc(second);
  RunSession(second, exeDir);
  EXPECT_TRUE(second.dialogs.empty());
  rules::GameState again;
  ASSERT_TRUE(shell::LoadGame(sys_.files, again, save.string()));
  EXPECT_EQ(again.genBet, 2);
  EXPECT_EQ(again.balance + again.genBet - again.genWon, rules::kStartingBalance);
  EXPECT_EQ(again.cards[1].picked[7], 1);
}

// No box stops the game over it, and the exit code tells a session or a script that the game
// could not be kept.
TEST_F(BadEnvironment, NowhereToSaveStillPlaysAndEndsWithCodeOne) {
  const std::filesystem::path file = dir_ / "file";
  testing_support::WriteBytes(file, {});
  // A data directory that cannot be made (a file stands in its way), and no usable home.
  const ScopedEnv xdg("XDG_DATA_HOME", (file / "data").string());
  const ScopedEnv home("HOME", (file / "home").string());
  testing_support::RecordingScreen screen;
  NullSystem sys{screen};
  sys.Click(CellX(7), CellY(7));
  ScriptDrawThenEsc(sys);
  RunSession(sys, (file / "game").string() + "/", 1);
  ASSERT_EQ(sys.dialogs.size(), 1u) << "no box";
  EXPECT_EQ(sys.dialogs[0].title, "Welcome to Keno!");
  EXPECT_TRUE(sys.windowClosed);
  EXPECT_EQ(testing_support::DirEntries(dir_), std::vector<std::string>{"file"});
}

TEST_F(BadEnvironment, AOnePixelWindowDrawsOnAndTheBoardComesBackWhenEnlarged) {
  Start();
  Frames(2);
  const render::Layout before = game_.layout;
  const std::size_t images = screen_.canvas.LiveImages(), fonts = screen_.canvas.LiveFonts();
  sys_.Click(CellX(7), CellY(7));
  platform::InputState space;
  space.spaceDown = true;
  sys_.inputs.push_back(space);
  sys_.inputs.push_back(platform::InputState{});
  sys_.QueueDraw({7});
  Frames(6);
  ASSERT_EQ(g_.drawInProgress, 1);

  // Shrunk mid-draw, through both thin shapes, with each overlay open in turn and clicks landing
  // on the single pixel; the draw goes on to its end.
  const int64_t sizes[][2] = {{1, 1}, {1, 780}, {1280, 1}, {603, 383}, {1, 1}};
  int64_t presents = sys_.presents;
  for (const auto& size : sizes) {
    sys_.clientWidth = size[0];
    sys_.clientHeight = size[1];
    for (int overlay = 0; overlay < 3; ++overlay) {
      game_.input.payoutOverlayOpen = overlay == 1;
      game_.input.aboutOverlayOpen = overlay == 2;
      sys_.Click(0, 0);
      sys_.Click(size[0] - 1, size[1] - 1, 1, true);
      ASSERT_TRUE(Frame());
      Frames(20);
    }
    EXPECT_EQ(game_.layout.clientWidth, size[0]);
    EXPECT_EQ(game_.layout.clientHeight, size[1]);
    // The grid keeps its least size, whatever the window.
    EXPECT_GE(game_.layout.grid.w, render::kMinGridSide);
    EXPECT_GE(game_.layout.grid.h, render::kMinGridSide);
    EXPECT_GT(sys_.presents, presents) << size[0] << " x " << size[1] << " is still drawn";
    presents = sys_.presents;
  }
  game_.input.payoutOverlayOpen = game_.input.aboutOverlayOpen = 0;
  while (g_.drawInProgress) ASSERT_TRUE(Frame());
  EXPECT_EQ(g_.runs, 1);
  EXPECT_EQ(g_.cards[1].hit[7], 1);

  sys_.clientWidth = 1280;
  sys_.clientHeight = 780;
  Frames(2);
  const render::Layout& after = game_.layout;
  for (int slot = 0; slot < 8; ++slot) {
    EXPECT_EQ(*render::ButtonSlot(after, slot), *render::ButtonSlot(before, slot)) << slot;
  }
  EXPECT_EQ(after.tabStrip, before.tabStrip);
  EXPECT_EQ(after.grid, before.grid);
  EXPECT_EQ(after.statsPanel, before.statsPanel);
  EXPECT_EQ(after.ballsPanel, before.ballsPanel);
  EXPECT_EQ(after.glyphSize, before.glyphSize);
  EXPECT_NE(after.whiteAsterisk, nullptr);
  EXPECT_NE(game_.balls.ballsPanelImage, nullptr);
  EXPECT_EQ(screen_.canvas.LiveImages(), images) << "no image is left behind by the resizes";
  // Fonts of the sizes passed through stay cached for a return to them, and nothing else does.
  std::set<const platform::Font*> owned;
  for (const render::CachedFont& c : game_.fonts.cache) owned.insert(c.font);
  for (const render::FittedFonts& f : game_.fonts.fittedCache) {
    for (const platform::Font* font : {f.about, f.aboutTitle, f.payout, f.recall}) {
      if (font != nullptr) owned.insert(font);
    }
  }
  EXPECT_GE(screen_.canvas.LiveFonts(), fonts);
  EXPECT_EQ(screen_.canvas.LiveFonts(), owned.size()) << "no font is left behind by the resizes";
  EXPECT_LE(owned.size(), render::kFontCacheSize + 4 * render::kFittedCacheSize);
  // And it plays at full size again: a click on Card 1's tab, then one that picks a number.
  sys_.Click(294 + 876 / 5 + 8, 150);
  sys_.Click(CellX(8), CellY(8));
  Frames(3);
  EXPECT_EQ(g_.cards[1].picked[8], 1);
}

}  // namespace
}  // namespace shell_test
