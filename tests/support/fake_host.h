// A scripted stand-in for the shell behind rules::Host: a clock the test advances, dialogs
// answered from a script and recorded, every cue and side effect recorded in order, and a secure
// word source that can be on, off or start failing after a set number of words.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "rules/host.h"

namespace testing_support {

struct RecordedDialog {
  std::string title;
  std::string text;
  rules::Buttons buttons = rules::Buttons::Ok;
  rules::Icon icon = rules::Icon::None;
  rules::Answer answer = rules::Answer::Ok;
};

struct RecordedPrompt {
  std::string title;
  std::string prompt;
  std::string initial;
  std::string reply;
};

class FakeHost : public rules::Host {
 public:
  enum class Secure { On, Off };

  // --- Clock -----------------------------------------------------------------------------------
  int64_t now = 0;  // ms
  void Advance(int64_t ms) { now += ms; }
  int64_t NowMs() override { return now; }
  int64_t unixSeconds = 1'767'225'600;  // wall clock, s since the epoch
  int64_t UnixSeconds() override { return unixSeconds; }

  // --- Dialogs ---------------------------------------------------------------------------------
  // Answers are taken in order. With the script empty an OK box answers Ok, a YES/NO box No and a
  // YES/NO/CANCEL box Cancel (as closing it would), and unscriptedAnswers counts the occasion.
  std::deque<rules::Answer> answers;
  std::deque<std::string> textReplies;  // empty script: the prompt is cancelled ("")
  int64_t dialogHoldMs = 0;             // the clock runs on while a dialog is open
  std::function<void(const RecordedDialog&)> onDialog;  // sees the game as the box opens
  std::vector<RecordedDialog> dialogs;
  std::vector<RecordedPrompt> prompts;
  int unscriptedAnswers = 0;

  rules::Answer ShowMessage(const std::string& title, const std::string& text,
                            rules::Buttons buttons, rules::Icon icon) override {
    RecordedDialog d{title, text, buttons, icon, DefaultAnswer(buttons)};
    if (!answers.empty()) {
      d.answer = answers.front();
      answers.pop_front();
    } else {
      ++unscriptedAnswers;
    }
    if (onDialog) onDialog(d);
    now += dialogHoldMs;
    dialogs.push_back(d);
    Log("dialog:" + title);
    return d.answer;
  }

  std::string AskText(const std::string& title, const std::string& prompt,
                      const std::string& initial) override {
    RecordedPrompt p{title, prompt, initial, ""};
    if (!textReplies.empty()) {
      p.reply = textReplies.front();
      textReplies.pop_front();
    }
    now += dialogHoldMs;
    prompts.push_back(p);
    Log("prompt:" + title);
    return p.reply;
  }

  // --- Secure random source --------------------------------------------------------------------
  // Scripted words are served first; after them, words from a fixed generator while the source
  // is On. failAfterWords >= 0 makes every read fail once that many words have been served.
  Secure secure = Secure::On;
  std::deque<uint32_t> scriptedWords;
  int64_t failAfterWords = -1;
  int64_t secureWordsServed = 0;
  int64_t secureReadFailures = 0;
  uint64_t secureGeneratorState = 0x5EED;

  bool SecureRandomWord(uint32_t& word) override {
    if (secure == Secure::Off || (failAfterWords >= 0 && secureWordsServed >= failAfterWords)) {
      ++secureReadFailures;
      return false;
    }
    if (!scriptedWords.empty()) {
      word = scriptedWords.front();
      scriptedWords.pop_front();
    } else {
      word = static_cast<uint32_t>(NextGenerated() >> 32);
    }
    ++secureWordsServed;
    return true;
  }

  // The smallest word that RandomNumber(n) maps to `value` (1..n).
  static uint32_t WordFor(int64_t value, int64_t n) {
    const uint64_t scaled = (static_cast<uint64_t>(value - 1) << 32) + static_cast<uint64_t>(n) - 1;
    return static_cast<uint32_t>(scaled / static_cast<uint64_t>(n));
  }
  // Queues words so the next RandomNumber(n) calls return these values in order.
  void QueueNumbers(const std::vector<int64_t>& values, int64_t n = 80) {
    for (int64_t v : values) scriptedWords.push_back(WordFor(v, n));
  }

  // --- Sound, save, balls panel, quit ----------------------------------------------------------
  int hitTicks = 0;
  int autoRunCues = 0;
  int winJingles = 0;
  int fanfares = 0;
  int saves = 0;
  int saveFileDeletes = 0;
  int recallStores = 0;
  int ballAnimationResets = 0;
  std::vector<int64_t> ballDrops;
  int quitRequests = 0;
  // Every call above, in order, e.g. "hit-tick", "fanfare", "dialog:JACKPOT!", "save", "quit".
  std::vector<std::string> events;

  void PlayHitTick() override {
    ++hitTicks;
    Log("hit-tick");
  }
  void PlayAutoRunCue() override {
    ++autoRunCues;
    Log("auto-run-cue");
  }
  void StartWinJingle() override {
    ++winJingles;
    Log("jingle");
  }
  void StartFanfare() override {
    ++fanfares;
    Log("fanfare");
  }
  void SaveGame() override {
    ++saves;
    Log("save");
  }
  void DeleteSaveFile() override {
    ++saveFileDeletes;
    Log("delete-save");
  }
  void StoreRecall() override {
    ++recallStores;
    Log("store-recall");
  }
  void ResetBallAnimation() override {
    ++ballAnimationResets;
    Log("reset-balls");
  }
  void StartBallDrop(int64_t ball) override {
    ballDrops.push_back(ball);
    Log("ball:" + std::to_string(ball));
  }
  void RequestQuit() override {
    ++quitRequests;
    Log("quit");
  }

  // Forgets what was recorded so far; the script, clock and source settings stay.
  void ClearRecords() {
    dialogs.clear();
    prompts.clear();
    ballDrops.clear();
    events.clear();
    unscriptedAnswers = hitTicks = autoRunCues = winJingles = fanfares = saves = saveFileDeletes =
        recallStores = 0;
    ballAnimationResets = quitRequests = 0;
  }

 private:
  static rules::Answer DefaultAnswer(rules::Buttons buttons) {
    switch (buttons) {
      case rules::Buttons::YesNo:
        return rules::Answer::No;
      case rules::Buttons::YesNoCancel:
        return rules::Answer::Cancel;
      case rules::Buttons::Ok:
        break;
    }
    return rules::Answer::Ok;
  }

  uint64_t NextGenerated() {
    uint64_t z = (secureGeneratorState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  void Log(std::string event) { events.push_back(std::move(event)); }
};

}  // namespace testing_support
