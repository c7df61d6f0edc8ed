// A whole game started on the null platform at 1280 x 780 with its save file in a fresh
// directory and its data folder below it, and a host that also records the cues it is asked to
// play.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "platform/null/null_system.h"
#include "shell/game.h"
#include "shell/startup.h"
#include "support/recording_screen.h"
#include "support/scoped_env.h"
#include "support/temp_files.h"

namespace shell_test {

class RecordingHost : public shell::ShellHost {
 public:
  using ShellHost::ShellHost;
  std::vector<std::pair<int, int>> tones;  // (Hz, ms) of each cue, in order
  void PlayHitTick() override {
    tones.emplace_back(sound::kHitTick.frequencyHz, sound::kHitTick.durationMs);
    ShellHost::PlayHitTick();
  }
  void PlayAutoRunCue() override {
    tones.emplace_back(sound::kAutoRunCue.frequencyHz, sound::kAutoRunCue.durationMs);
    ShellHost::PlayAutoRunCue();
  }
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing_support::MakeTempDir("shell");
    // Start-up also looks in the data folder: never the real one of whoever runs the tests.
    xdg_.emplace("XDG_DATA_HOME", (dir_ / "xdg").string());
    sys_.files.exeDir = dir_.string() + "/";
    sys_.clientWidth = 1280;
    sys_.clientHeight = 780;
  }
  void TearDown() override {
    if (started_) shell::Shutdown(game_);
    xdg_.reset();
    testing_support::RemoveTempDir(dir_);
  }
  void Start() {
    ASSERT_TRUE(shell::OpenGameWindow(game_, host_));
    started_ = true;
  }
  // One pass of the frame loop; false once the game has ended.
  bool Frame() { return shell::RunFrame(game_, host_); }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
  }
  std::filesystem::path SavePath() const { return dir_ / "keno_save.dat"; }
  std::filesystem::path DataSavePath() const {
    return dir_ / "xdg" / "tessaline" / "keno_save.dat";
  }

  std::filesystem::path dir_;
  std::optional<testing_support::ScopedEnv> xdg_;
  testing_support::RecordingScreen screen_;
  platform::NullSystem sys_{screen_};
  shell::Game game_{sys_};
  RecordingHost host_{game_};
  rules::GameState& g_ = game_.state;
  bool started_ = false;
};

}  // namespace shell_test
