// What the game rules need from the rest of the program: dialogs, sound cues, the save and recall
// files, the balls panel, the clocks and the secure random source. The shell provides the real one,
// tests a scripted fake, and tools and benchmarks start from QuietHost below.
#pragma once

#include <cstdint>
#include <string>

// Each rule has one owner that every user asks: the record, its ranges and a first start's values
// in game_state.h, payouts in paytable.h, the auto-pick count in autopick.h, the title in
// version.h (from debian/changelog); the sound module names the cues played through the host,
// shell/save.h owns the save file's format and rules/recall.h the recall file's.
namespace rules {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Warning };
enum class Answer { Ok, Yes, No, Cancel };

class Host {
 public:
  virtual ~Host() = default;

  // Modal message box; blocks until answered.
  virtual Answer ShowMessage(const std::string& title, const std::string& text, Buttons buttons,
                             Icon icon) = 0;
  // Modal one-line prompt; an empty text when cancelled.
  virtual std::string AskText(const std::string& title, const std::string& prompt,
                              const std::string& initial) = 0;

  virtual int64_t NowMs() = 0;        // monotonic milliseconds
  virtual int64_t UnixSeconds() = 0;  // wall clock: seconds since the epoch, UTC

  // One 32-bit word from the system's cryptographic source; false when the read fails.
  virtual bool SecureRandomWord(uint32_t& word) = 0;

  // The cues; the sound module says what each sounds like. Silent while sound is off.
  virtual void PlayHitTick() = 0;     // a revealed ball lies on at least one card
  virtual void PlayAutoRunCue() = 0;  // auto-run has begun
  virtual void StartWinJingle() = 0;  // ignored while a melody is still playing
  virtual void StartFanfare() = 0;    // ignored while a melody is still playing

  virtual void SaveGame() = 0;        // writes the save file now
  virtual void DeleteSaveFile() = 0;  // part of a full reset
  // Keeps GameState::recall as it now stands, after each finished draw and when it is cleared.
  // A write that fails is dropped without a word: the next draw writes the whole recall again.
  virtual void StoreRecall() = 0;

  virtual void ResetBallAnimation() = 0;         // a new draw empties the balls panel
  virtual void StartBallDrop(int64_t ball) = 0;  // ball 1..20 has just been revealed

  virtual void RequestQuit() = 0;  // the frame loop ends at its next check
};

// A host for running the rules with nobody watching (tools, benchmarks): every box is accepted
// (OK or YES), prompts are cancelled, the clocks are `now` and `unixSeconds` as their owner moves
// them, there is no secure source, and cues, saves, the recall and the balls panel are ignored.
// Override what a run needs.
class QuietHost : public Host {
 public:
  int64_t now = 0;          // ms
  int64_t unixSeconds = 0;  // s since the epoch

  Answer ShowMessage(const std::string&, const std::string&, Buttons buttons, Icon) override {
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
  }
  std::string AskText(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
  int64_t NowMs() override { return now; }
  int64_t UnixSeconds() override { return unixSeconds; }
  bool SecureRandomWord(uint32_t&) override { return false; }
  void PlayHitTick() override {}
  void PlayAutoRunCue() override {}
  void StartWinJingle() override {}
  void StartFanfare() override {}
  void SaveGame() override {}
  void DeleteSaveFile() override {}
  void StoreRecall() override {}
  void ResetBallAnimation() override {}
  void StartBallDrop(int64_t) override {}
  void RequestQuit() override {}
};

}  // namespace rules
