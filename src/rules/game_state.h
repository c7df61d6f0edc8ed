// The one game record and the small state operations several parts of the game share.
// Plain data and free functions: no SDL, no clock, no files. Time arrives as a millisecond
// stamp from the caller; everything outside the rules is reached through Host.
#pragma once

#include <cstdint>
#include <string>

#include "rules/host.h"

namespace rules {

constexpr int kNumbers = 80;   // board numbers 1..80
constexpr int kCards = 4;      // cards 1..4
constexpr int kMaxPicks = 12;  // picks per card
constexpr int kBallsPerDraw = 20;
constexpr int kDefaultSpotCount = 8;  // auto-pick on an empty card
constexpr int64_t kStartingBalance = 1000;
constexpr int64_t kTopUp = 1000;
constexpr int64_t kMinBet = 1;
constexpr int64_t kMaxBet = 10;
constexpr int64_t kMinSpeed = 1;            // Slowest
constexpr int64_t kMaxSpeed = 5;            // Fastest
constexpr int64_t kDefaultSpeed = 3;        // Medium
constexpr int64_t kFirstUnpausedSpeed = 4;  // from Fast up, auto-run draws follow without a pause
constexpr int32_t kProgressiveSeed = 25000;
constexpr int32_t kProgressiveIncrement = 2;
constexpr int kProgressiveMinSpots = 10;
constexpr int64_t kConsolationPrize = 1000;
constexpr int kConsolationMinPicks = 7;
constexpr int kConsolationMinDistinct = 15;
constexpr int kPayTableSize = 13;  // [spots 0..12][hits 0..12]

enum PayMode : int64_t { GENEROUS = 0, CASINO = 1 };

// A New Game answer: YES clears the picks, NO wipes the whole game.
enum class NewGameChoice : int64_t { kNone = 0, kClearPicks = 1, kFullReset = 2 };

constexpr const char* kNewGameWaitTitle = "NEW GAME";
constexpr const char* kNewGameWaitText = "Starts when this draw ends";

struct Card {
  uint8_t picked[kNumbers + 1] = {};  // [1..80], 0/1
  uint8_t hit[kNumbers + 1] = {};     // [1..80], picked and revealed in the current draw
  int64_t pickCount = 0;              // 0..12, always the number of set picked flags
  int64_t hitCount = 0;               // 0..pickCount
};

using PayTable = int64_t[kPayTableSize][kPayTableSize];

constexpr int kRecallDraws = 10;  // finished draws the game keeps for the player to check

// One card as it played a finished draw.
struct RecallCard {
  int64_t card = 0;                   // 1..4
  uint8_t picked[kNumbers + 1] = {};  // [1..80], 0/1, the card's picks
  int64_t pickCount = 0;              // 1..12, the set picked flags
  int64_t hitCount = 0;               // 0..pickCount: picks among the draw's numbers
  int64_t bet = 0;                    // dollars, kMinBet..kMaxBet, as staked
  int64_t payMode = GENEROUS;         // the table it was paid from
  int64_t tableWin = 0;               // dollars from the pay table at that bet
  int64_t progressive = 0;            // dollars of the progressive pot it won
  int64_t consolation = 0;            // dollars, its share of the consolation prize
  bool operator==(const RecallCard&) const = default;
};

// One finished draw: paid, prizes settled.
struct RecallDraw {
  int64_t endedAt = 0;                  // wall-clock seconds since the epoch, UTC
  int64_t numbers[kBallsPerDraw] = {};  // 1..80, distinct, in the order drawn
  int64_t cardCount = 0;                // 1..4 cards that played it
  RecallCard cards[kCards] = {};        // [0..cardCount), ascending card numbers
  int64_t balanceAfter = 0;             // dollars, once the draw had paid
  bool operator==(const RecallDraw&) const = default;
};

// The last kRecallDraws finished draws, in a ring so that recording one copies only that one;
// rules/recall.h reads them newest first.
struct Recall {
  RecallDraw slots[kRecallDraws] = {};
  int64_t count = 0;  // 0..kRecallDraws
  int64_t next = 0;   // the slot the next draw goes into, 0..kRecallDraws-1
};

// A fresh GameState is a first start: its initialisers are the one statement of what that holds.
struct GameState {
  // Settings (saved).
  int64_t betPerCard = kMinBet;   // dollars per playing card, kMinBet..kMaxBet
  int64_t betSetting = kMinBet;   // the Bet control's working copy; always equals betPerCard
  int64_t speed = kDefaultSpeed;  // kMinSpeed..kMaxSpeed
  int64_t soundOn = 1;            // 0/1
  int64_t payMode = GENEROUS;

  // Money and statistics.
  int64_t balance = kStartingBalance;  // dollars, never below 0 through play
  int32_t progressivePot = kProgressiveSeed;
  int32_t progressiveSeed = kProgressiveSeed;
  int32_t progressiveIncrement = kProgressiveIncrement;
  int64_t genWon = 0, genBet = 0;             // lifetime, GENEROUS mode
  int64_t casWon = 0, casBet = 0;             // lifetime, CASINO mode
  int64_t setWon = 0, setCost = 0, runs = 0;  // this set
  int64_t drawCost = 0;                       // cost of the current or last draw
  int64_t cardWin[kCards + 1] = {};           // [1..4], last draw
  int64_t cardNet[kCards + 1] = {};           // [1..4], this set
  int64_t cardWinCount[kCards + 1] = {};
  int64_t cardLossCount[kCards + 1] = {};
  // What the current or last draw was staked at. Picks of a charged card stay as they are while
  // the draw runs, and the draw pays at its own bet and table, whatever changes meanwhile.
  uint8_t cardCharged[kCards + 1] = {};  // [1..4], the card paid its stake for the draw
  int64_t stakeBet = kMinBet;            // betPerCard when the draw began
  int64_t stakeMode = GENEROUS;          // payMode when the draw began

  // Board and draw.
  Card cards[kCards + 1];  // [1..4]
  int64_t activeTab = 0;   // 0 = Main, 1..4 = card tabs
  int64_t heatMapOn = 0;
  int64_t heatCounts[kNumbers + 1] = {};       // reveals per number this run
  uint8_t numberCardCount[kNumbers + 1] = {};  // cards holding each number, 0..4
  int64_t progressiveEligible = 0;             // some card has 10+ picks
  int64_t drawSequence[kBallsPerDraw] = {};    // reveal order
  uint8_t drawn[kNumbers + 1] = {};            // revealed in the current or last draw
  int64_t ballsRevealed = 0;                   // 0..20
  int64_t drawInProgress = 0;
  int64_t ballDelayMs = 550;
  int64_t lastBallTime = 0;     // ms
  int64_t jackpotCard = 0;      // 0 = none
  int64_t progressivePaid = 0;  // dollars the last evaluated draw's progressive pot paid; 0 none
  // A New Game answered while a draw ran: it starts once that draw has paid.
  NewGameChoice pendingNewGame = NewGameChoice::kNone;

  // Auto-run, saving and messages.
  int64_t autoRun = 0;
  int64_t autoNextPending = 0;
  int64_t autoNextTime = 0;  // ms
  int64_t savePending = 0;
  int64_t saveRequestTime = 0;  // ms
  std::string statusMessage;
  std::string statusTitle;        // heading of the notice: what kind of news it is
  int64_t statusMessageTime = 0;  // ms
  int64_t secureRandomAvailable = 0;

  // Fallback pseudo-random generator, seeded on first use.
  uint64_t rngState = 0;
  int64_t rngSeeded = 0;

  // The last finished draws, kept for the player across runs (shell/recall_file.h).
  Recall recall;

  // Pay tables.
  PayTable payTableGenerous = {};
  PayTable payTableCasino = {};
  PayTable payTableActive = {};
};

// Spots a card plays in the current draw: its picks if it paid its stake when the draw began,
// else 0, so a card filled in the middle of a draw is not paid for a game it never bought.
inline int64_t PlayingSpots(const GameState& g, int card) {
  return g.cardCharged[card] ? g.cards[card].pickCount : 0;
}

// True while a draw runs on the card's stake: its picks must not change until the draw ends.
inline bool CardLocked(const GameState& g, int card) {
  return g.drawInProgress && card >= 1 && card <= kCards && g.cardCharged[card];
}

// The lifetime figures of the mode the draw was staked in (stakeMode): its stake, and every dollar
// it pays, table wins and prizes alike.
void BookStake(GameState& g, int64_t amount);
void BookWin(GameState& g, int64_t amount);

// The saved figures and settings (balance, lifetime figures, bet, payout mode, pot, speed, sound)
// back to a first start's, the pot at its seed. Cards, the set and the heat stay as they are.
void RestoreFirstStartSettings(GameState& g);

// Clears card n's picks and hits.
void ClearCard(GameState& g, int n);
// Sets or clears one pick of a card and keeps its counts right: pickCount, hitCount (a removed
// pick takes its hit mark along), the number's card count and progressive eligibility. No hit is
// marked for a new pick; no check against the 12-pick limit or a running draw. Out-of-range
// cards and numbers change nothing.
void SetPick(GameState& g, int card, int64_t n, bool on);
// Shows a one-line notice in the stats panel under `title`; it clears itself 5 s later.
void SetStatus(GameState& g, const std::string& title, const std::string& text, int64_t nowMs);
void RecountNumberCards(GameState& g);
void UpdateProgressiveEligible(GameState& g);
// Selecting a card tab hides the heat map, which belongs to the Main tab.
void SelectTab(GameState& g, int64_t tab);
// Asks for a save 3000 ms after the latest request (the frame loop performs it).
void RequestSave(GameState& g, int64_t nowMs);
// Starts a new set: picks, marks and this set's statistics go; money, settings and heat stay.
void ResetSet(GameState& g);
// Back to a first start: money, lifetime figures and settings (but sound) reset, save file and
// recall gone.
void FullReset(GameState& g, Host& host);
// Stops auto-run, including a pause already waiting for the next game.
void StopAutoRun(GameState& g);

// The New Game box answered YES (kClearPicks: auto-run stops, the set resets, the game is saved
// at once, Card 1 shows) or NO (kFullReset). With no draw running it happens now; during a draw it
// waits, so the draw pays as staked, with auto-run stopped at once and the stats panel's notice
// saying so. A later answer replaces a waiting one, whichever it was.
void AnswerNewGame(GameState& g, Host& host, NewGameChoice choice, int64_t nowMs);
// Called by the draw once it has been evaluated (its boxes answered): a waiting New Game starts.
void ApplyPendingNewGame(GameState& g, Host& host);
// Each frame while the notice is empty: a New Game still waiting says so again.
void NoticePendingNewGame(GameState& g, int64_t nowMs);

}  // namespace rules
